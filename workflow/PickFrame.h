// The frame a star pick measures on, safe to read on the user-interface thread.
//
// Usage:
//   cv::Mat copy;
//   GetPreciseStarPos(PickFrame(copy), x, y, sx, sy);
//   const double taken = PickFrameUtcSeconds(form.WindowClock());   // the frame's moment
//
// While a capture loop runs it rewrites g_frameImage between its hand-overs, so a
// handler that reads it directly could see half of two frames. The live view keeps
// the frame of its last hand-over apart (stretched when the stretch is on), so a
// pick measures on that copy. With no loop running g_frameImage itself is used.
#pragma once

#include "app/Mystructs.h"
#include "core/Clock.h"
#include "display/LiveView.h"

#include <opencv2/core.hpp>

inline const cv::Mat& PickFrame(cv::Mat& copy) {
    if (!g_threadRunning)
        return g_frameImage;
    CopyLastShownFrame(copy);
    return copy;
}

// The moment of the frame PickFrame measures on (Clock::UtcSeconds): when the
// camera delivered it, or now when no loop runs. The sky turns by it.
inline double PickFrameUtcSeconds(const Clock& clock) {
    if (!g_threadRunning || LastShownFrameUtcSeconds() == 0)
        return clock.UtcSeconds();
    return LastShownFrameUtcSeconds();
}
