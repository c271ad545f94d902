// Sub-pixel star positions in an 8-bit, single-channel camera frame.
//
// Usage:
//   double sx, sy;
//   if (GetPreciseStarPos(frame, roughX, roughY, sx, sy) == 1) {
//       // (sx, sy): the centroid of the brightest star in the 40x40 window around
//       // the rough position, or that star's brightest pixel when it is too faint
//       // (or too near the frame edge) for a centroid.
//   }
//
// Both routines write their outputs on every path (the input position on failure),
// return 1 or -1, treat an empty image (or one that is not 8-bit single-channel) as
// no image, log their failures, keep no state and only read the frame; the
// caller keeps the frame unchanged during the call. The numbers equal those of a
// 3x3 median filter over the whole frame (border pixels replicated), but only the
// windows that are used are filtered.
#pragma once

#include <opencv2/core/mat.hpp>

// Intensity-weighted centroid in the 20x20 window around (x, y), the brightest
// pixel of a star. -1 when there is no image, the window leaves the frame, or the
// window holds no star (max / mean < 2.5, or nothing above the threshold).
int GetGravityCenter(const cv::Mat& image, double x, double y, double& outX, double& outY);

// The star nearest the rough position (x, y): -1 when there is no image, the 40x40
// window leaves the frame or is completely black; otherwise 1 with the centroid of
// the window's brightest pixel or, when that fails, the brightest pixel itself.
int GetPreciseStarPos(const cv::Mat& image, double x, double y, double& outX, double& outY);
