// The sky's own turn about the pole, taken out of star positions measured while the
// RA axis is turned, so that the circle fitted through them is the RA axis alone.
//
// Usage:
//   // the pole's place in the image when the first position was taken (the template
//   // on the pole star), and the sky's turn rate in the image
//   const SkyTurn sky{poleX, poleY, SiderealDegPerSecond(SkyHemisphere::North)};
//   // three picks of one star, each with its frame's moment in seconds (UTC)
//   const AxisCircle c = AxisFromPicks({{{x1, y1, t1}, {x2, y2, t2}, {x3, y3, t3}}}, sky);
//   if (c.ok) ... c.x, c.y, c.radius
//   // a star at `p` in a frame taken `dt` seconds after the first, with the pole then
//   // at `poleNow`, where it would lie had the sky stood still:
//   const cv::Point2d q = SkyTurn::TakeOut(p, poleNow, sky.degPerSecond * dt);
//
// A star measured at time t after the first position lies at
//   p = A + R(θ)(P0 − A) + R(θ + σ)(s − P0),   σ = rate · t,
// with A the axis, P0 the pole and s the star at the first position, θ the RA axis's
// turn and R the clockwise turn on the screen: the RA axis turns everything about A,
// the sky turns its stars about the pole, wherever the axis has carried the pole.
// Turning p back by σ about the pole of that moment leaves A + R(θ)(s − A), a
// circle about the axis. The pole's place need not be exact: an error of d pixels
// moves the taken-out positions by d·σ (under 0.03 px for 3 px over two minutes).
//
// Seen from below and unmirrored (as the camera sees it) the northern sky turns
// counter-clockwise on the screen, the southern clockwise, 360° per sidereal day.
#pragma once

#include "astro/SkyOfDate.h"

#include <opencv2/core/types.hpp>

#include <array>

// Degrees per second, clockwise on the screen positive.
double SiderealDegPerSecond(SkyHemisphere hemisphere);

struct SkyTurn {
    double poleX = 0; // the pole in the image at the first position
    double poleY = 0;
    double degPerSecond = 0; // 0: the sky stands still (nothing is taken out)

    // `p` turned back by `skyTurnDeg` about `pole`.
    static cv::Point2d TakeOut(const cv::Point2d& p, const cv::Point2d& pole, double skyTurnDeg);
};

struct TimedPoint {
    double x = 0;
    double y = 0;
    double seconds = 0; // any steady scale; only differences count
};

struct AxisCircle {
    bool ok = false; // false: the positions lie on a line (or are not numbers)
    double x = 0;
    double y = 0;
    double radius = 0;
};

// The circle through three positions.
AxisCircle CircleThrough(const cv::Point2d& a, const cv::Point2d& b, const cv::Point2d& c);

// The RA axis from three positions of one star with the sky's turn taken out; with
// a still sky exactly CircleThrough the three. The radius is that of the star's
// circle about the axis (its first position's distance from the centre).
AxisCircle AxisFromPicks(const std::array<TimedPoint, 3>& picks, const SkyTurn& sky);
