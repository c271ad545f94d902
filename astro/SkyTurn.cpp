#include "astro/SkyTurn.h"

#include <cmath>
#include <complex>

namespace {

using Complex = std::complex<double>;

constexpr double kSiderealDaySeconds = 86164.0905;

Complex Of(const cv::Point2d& p) {
    return {p.x, p.y};
}

cv::Point2d Point(const Complex& c) {
    return {c.real(), c.imag()};
}

Complex Turn(double deg) {
    return std::polar(1.0, deg * ERFA_DD2R);
}

} // namespace

double SiderealDegPerSecond(SkyHemisphere hemisphere) {
    const double rate = 360.0 / kSiderealDaySeconds;
    return hemisphere == SkyHemisphere::North ? -rate : rate;
}

cv::Point2d SkyTurn::TakeOut(const cv::Point2d& p, const cv::Point2d& pole, double skyTurnDeg) {
    return Point(Of(pole) + Turn(-skyTurnDeg) * (Of(p) - Of(pole)));
}

AxisCircle CircleThrough(const cv::Point2d& a, const cv::Point2d& b, const cv::Point2d& c) {
    // Relative to a, so large coordinates lose nothing.
    const double bx = b.x - a.x, by = b.y - a.y;
    const double cx = c.x - a.x, cy = c.y - a.y;
    const double d = 2.0 * (bx * cy - by * cx);
    const double scale = (bx * bx + by * by) * (cx * cx + cy * cy);
    AxisCircle r;
    if (!(std::abs(d) > 1e-12 * std::sqrt(scale)) || !std::isfinite(d))
        return r;
    const double b2 = bx * bx + by * by;
    const double c2 = cx * cx + cy * cy;
    const double ux = (cy * b2 - by * c2) / d;
    const double uy = (bx * c2 - cx * b2) / d;
    r.x = a.x + ux;
    r.y = a.y + uy;
    r.radius = std::hypot(ux, uy);
    r.ok = std::isfinite(r.x) && std::isfinite(r.y);
    return r;
}

AxisCircle AxisFromPicks(const std::array<TimedPoint, 3>& picks, const SkyTurn& sky) {
    const cv::Point2d p[3] = {
        {picks[0].x, picks[0].y}, {picks[1].x, picks[1].y}, {picks[2].x, picks[2].y}};
    AxisCircle axis = CircleThrough(p[0], p[1], p[2]);
    if (!axis.ok || sky.degPerSecond == 0)
        return axis;
    const Complex pole0(sky.poleX, sky.poleY);
    // Fixed point: the axis gives each position's RA turn and so the pole's place
    // then; the sky's turn taken out about it gives the positions of a still sky,
    // whose circle gives the axis again. Each round shrinks the error by about
    // σ/θ, a hundredth or less.
    cv::Point2d q[3] = {p[0], p[1], p[2]};
    for (int round = 0; round < 50; ++round) {
        const Complex a(axis.x, axis.y);
        const Complex first = Of(q[0]) - a;
        for (int i = 1; i < 3; ++i) {
            const Complex raTurn = (Of(q[i]) - a) / first; // R(θ) times a near-1 length
            const Complex pole = a + raTurn / std::abs(raTurn) * (pole0 - a);
            const double sigma = sky.degPerSecond * (picks[i].seconds - picks[0].seconds);
            q[i] = SkyTurn::TakeOut(p[i], Point(pole), sigma);
        }
        const AxisCircle next = CircleThrough(q[0], q[1], q[2]);
        if (!next.ok)
            return next;
        const double moved = std::hypot(next.x - axis.x, next.y - axis.y);
        axis = next;
        if (moved < 1e-9)
            break;
    }
    return axis;
}
