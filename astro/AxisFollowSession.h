// The automatic axis session: the stars followed frame by frame while the user
// turns the RA axis, and the axis fitted once the turn is large enough.
//
// Usage (the window's timer, every AxisFollowSession::kIntervalMs):
//   AxisFollowSession session(sky);                 // SkyTurn.h: the pole and the rate
//   const AxisFollowSession::Step s = session.AddFrame(frame, frameSeconds);
//   show(s.turnedDeg);                              // degrees so far, not signed
//   if (s.fit) ... s.fit->centreX, s.fit->star[0..2]  // done: the axis
//
// Each frame's stars are found and refined (StarDetect.h, StarRefine.h) and handed
// to an AxisFollower with the frame's moment; from kAxisTurnDeg on every frame tries
// the fit, and the first fit that holds ends the session (later frames add nothing).
#pragma once

#include "astro/AxisFit.h"
#include "astro/SkyTurn.h"

#include <opencv2/core/mat.hpp>

#include <optional>

class AxisFollowSession {
public:
    static constexpr int kIntervalMs = 150;    // a frame looked at this often
    static constexpr double kAxisTurnDeg = 30; // the turn after which the axis is fitted

    explicit AxisFollowSession(const SkyTurn& sky, const AxisFitOptions& options = {});

    struct Step {
        double turnedDeg = 0;             // the RA axis's turn so far, not signed
        std::optional<AxisFitResult> fit; // the axis, once found
    };
    // The frame taken at `seconds` (UTC seconds: the sky turns by them).
    Step AddFrame(const cv::Mat& frame, double seconds);

    bool Done() const { return done_.has_value(); }

private:
    AxisFollower follower_;
    std::optional<AxisFitResult> done_;
};
