// All the stars of a camera frame: a threshold over the sky background, one peak
// per star, and the same sub-pixel centroid a star pick measures.
//
// Usage:
//   const std::vector<DetectedStar> stars = DetectStars(frame);   // brightest first
//   for (const DetectedStar& s : stars) ... s.x, s.y (frame pixels), s.flux
//
// The frame is an 8-bit single-channel image; anything else gives no stars. The
// background and its noise come from the median and the spread of the 3x3-median
// filtered frame (hot pixels and single noisy pixels do not survive that filter),
// a star is a local maximum standing `sigmas` noise levels above the background,
// and each is measured with GetGravityCenter around its brightest pixel (its
// brightest pixel is kept when that centroid fails). Stars closer together than
// `minSeparationPx` count once, the brighter one. The routine keeps no state, writes
// no log lines and only reads the frame.
#pragma once

#include <opencv2/core/mat.hpp>

#include <vector>

struct DetectedStar {
    double x = 0; // frame pixels, whole numbers at pixel centres
    double y = 0;
    double flux = 0; // summed signal above the background in a 5x5 box, ADU
    int peak = 0;    // brightest pixel of the filtered frame, ADU
};

struct StarDetectOptions {
    double sigmas = 5.0;          // detection threshold above the background, in noise levels
    double minSignalAdu = 6.0;    // and at least this far above it
    double minSeparationPx = 4.0; // peaks this close belong to one star
    int maxStars = 250;           // only the brightest this many are kept (0: all)
    int edgePx = 10;              // stars this near the frame edge are left out
};

std::vector<DetectedStar> DetectStars(const cv::Mat& frame, const StarDetectOptions& options = {});
