#include "camera/FrameWatch.h"

#include <algorithm>
#include <cmath>

FrameWatch::Clock::duration FrameWatch::Limit(double exposureUs) {
    const double exposure = std::isfinite(exposureUs) && exposureUs > 0 ? exposureUs : 0.0;
    // Capped far beyond any exposure a camera takes, so the duration cannot overflow.
    const double threeExposuresUs = std::min(3.0 * exposure, 1e13);
    const auto three = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double, std::micro>(threeExposuresUs));
    return std::max<Clock::duration>(three, std::chrono::seconds(2));
}

void FrameWatch::Start(Clock::time_point now, std::uint64_t framesReceived) {
    running_ = true;
    lost_ = false;
    frames_ = framesReceived;
    lastFrame_ = now;
}

void FrameWatch::Stop() {
    running_ = false;
    lost_ = false;
}

FrameWatch::Change FrameWatch::Check(Clock::time_point now, std::uint64_t framesReceived,
                                     double exposureUs) {
    if (!running_)
        return Change::None;
    if (framesReceived != frames_) {
        frames_ = framesReceived;
        lastFrame_ = now;
        if (lost_) {
            lost_ = false;
            return Change::Back;
        }
        return Change::None;
    }
    if (!lost_ && now - lastFrame_ >= Limit(exposureUs)) {
        lost_ = true;
        return Change::Lost;
    }
    return Change::None;
}
