// What the automatic-match tests share over a synthetic sky (SyntheticSky.h): the
// match of a rendered frame, the turn error, a view with the pole star pushed out of
// the frame, and a readable account of a result for failure messages.
//
//   const AutoMatchResult r = MatchFrame(RenderSky(sky, view, rng), sky.pattern);
//   EXPECT_LT(TurnError(r.angleDeg, view.turnDeg), 1.0) << Account(r);
//   PutPoleStarOutside(view, sky, i % 4, 20 + 280 * u(rng));
#pragma once

#include "astro/AutoMatch.h"
#include "astro/StarDetect.h"
#include "unit/astro/SyntheticSky.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>

// The difference of two turns, degrees in [0, 180].
inline double TurnError(double a, double b) {
    double d = std::fmod(std::abs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

inline AutoMatchResult MatchFrame(const cv::Mat& frame, const TemplatePattern& pattern) {
    AutoMatchOptions opt;
    opt.frameWidth = frame.cols;
    opt.frameHeight = frame.rows;
    return MatchTemplate(DetectStars(frame), pattern, opt);
}

// Moves the view so that the pole star lies `beyond` pixels past one edge of the
// 1280 x 960 frame: 0 left, 1 right, 2 top, 3 bottom.
inline void PutPoleStarOutside(SkyView& view, const SkyList& sky, int edge, double beyond) {
    const cv::Point2d b = view.PoleStar(sky);
    switch (edge) {
    case 0:
        view.poleX += -beyond - b.x;
        break;
    case 1:
        view.poleX += 1279 + beyond - b.x;
        break;
    case 2:
        view.poleY += -beyond - b.y;
        break;
    default:
        view.poleY += 959 + beyond - b.y;
        break;
    }
}

inline std::string Account(const AutoMatchResult& r) {
    std::ostringstream s;
    s << "found " << r.found << " refusal " << int(r.refusal) << " pole star (" << r.poleStarX
      << "," << r.poleStarY << ") turn " << r.angleDeg << " matched " << r.matched << "/"
      << r.expected << " score " << r.score << " runner-up " << r.runnerUpScore;
    return s.str();
}
