#include "astro/AxisFollowSession.h"

#include "astro/StarDetect.h"
#include "astro/StarRefine.h"

#include <cmath>

AxisFollowSession::AxisFollowSession(const SkyTurn& sky, const AxisFitOptions& options)
    : follower_(options) {
    follower_.SetSkyTurn(sky);
}

AxisFollowSession::Step AxisFollowSession::AddFrame(const cv::Mat& frame, double seconds) {
    Step step;
    if (!done_) {
        follower_.AddFrame(RefinedStars(frame, DetectStars(frame)), seconds);
        if (std::abs(follower_.TurnDeg()) >= kAxisTurnDeg) {
            const AxisFitResult fit = follower_.Fit();
            if (fit.ok)
                done_ = fit;
        }
    }
    step.turnedDeg = done_ ? std::abs(done_->turnDeg) : std::abs(follower_.TurnDeg());
    step.fit = done_;
    return step;
}
