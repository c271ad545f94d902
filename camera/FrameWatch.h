// Notices a camera that stops delivering frames while live mode runs.
//
// Usage (user-interface thread, from a timer a few times a second):
//   FrameWatch watch;
//   watch.Start(now);                                  // live mode begins
//   switch (watch.Check(now, framesReceived, exposureUs)) {
//   case FrameWatch::Change::Lost: ...   // show "no frames", log it once
//   case FrameWatch::Change::Back: ...   // frames again: take the message away
//   case FrameWatch::Change::None: break;
//   }
//   watch.Stop();                                      // disconnected
//
// A camera counts as lost when no frame came for three exposures or 2 s, whichever
// is longer; the wait is counted from the last frame, or from Start before the first.
// framesReceived is any counter the capture loop raises with every frame.
#pragma once

#include <chrono>
#include <cstdint>

class FrameWatch {
public:
    using Clock = std::chrono::steady_clock;
    enum class Change { None, Lost, Back };

    // How long without a frame counts as lost, for an exposure in microseconds.
    static Clock::duration Limit(double exposureUs);

    void Start(Clock::time_point now, std::uint64_t framesReceived = 0);
    void Stop();
    Change Check(Clock::time_point now, std::uint64_t framesReceived, double exposureUs);

    bool Running() const { return running_; }
    bool Lost() const { return lost_; }

private:
    bool running_ = false;
    bool lost_ = false;
    std::uint64_t frames_ = 0;
    Clock::time_point lastFrame_{};
};
