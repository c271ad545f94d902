// The frame a star pick measures on, safe to read on the user-interface thread.
//
// Usage:
//   cv::Mat copy;
//   GetPreciseStarPos(PickFrame(copy), x, y, sx, sy);
//
// While a capture loop runs it rewrites g_frameImage between its hand-overs, so a
// handler that reads it directly could see half of two frames. The live view keeps
// the frame of its last hand-over apart; without the stretch that is exactly the
// content of g_frameImage, so a pick measures on that copy. With no loop running
// (or with the developer stretch on) g_frameImage itself is used.
#pragma once

#include "app/Mystructs.h"
#include "display/LiveView.h"

#include <opencv2/core.hpp>

inline const cv::Mat& PickFrame(cv::Mat& copy) {
    if (!g_threadRunning || g_stretchOn)
        return g_frameImage;
    CopyLastReceivedFrame(copy);
    return copy;
}
