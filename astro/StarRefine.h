// The finest position of one star the frame allows, for the figures that must be
// exact to a few hundredths of a pixel (the live alignment error, the axis from a
// turn): the sky background and its noise are taken from a ring around the star,
// lone hot pixels are set aside, and the centre is found by a Gaussian-weighted
// centroid iterated until it stands still. A faint star on a bright sky, for which
// the pick's centroid falls back to its brightest pixel, is measured as well as its
// light allows, and a saturated core is weighed like any other.
//
// Usage:
//   if (const auto c = RefineStarCentre(frame, roughX, roughY)) {
//       // c->x, c->y: frame pixels, pixel centres at whole numbers (as GetGravityCenter)
//   }
//   follower.AddFrame(RefinedStars(frame, DetectStars(frame)));  // every star it can
//
// The rough position must lie within a few pixels of the star (the pick's or the
// tracker's measurement). Nothing (std::nullopt) when the frame is not 8-bit
// single-channel, the star's surroundings leave the frame, the star stands less than
// `minSnr` noise levels above the sky, or the centre runs away from the rough
// position. The routine keeps no state, writes no log lines and only reads the frame.
#pragma once

#include "astro/StarDetect.h"

#include <opencv2/core/types.hpp>

#include <optional>
#include <vector>

namespace cv {
class Mat;
}

struct StarRefineOptions {
    double weightSigmaPx = 2.0; // width of the Gaussian weight, pixels
    int halfWindow = 7;         // the centroid's window: (2h+1) x (2h+1) pixels
    int ringWidth = 3;          // the background ring just outside that window, pixels
    double minSnr = 5.0;        // weighted signal against its noise
    double maxShiftPx = 3.0;    // the centre may move this far from the rough position
};

std::optional<cv::Point2d> RefineStarCentre(const cv::Mat& frame, double x, double y,
                                            const StarRefineOptions& options = {});

// The stars with each position replaced by its refined one where that can be had.
std::vector<DetectedStar> RefinedStars(const cv::Mat& frame, std::vector<DetectedStar> stars,
                                       const StarRefineOptions& options = {});
