#include "astro/Triangulation.h"

#include "astro/Angles.h"

#include <cmath>

PoleCandidates TrianglePoleCandidates(double ax, double ay, double bap, double bx, double by,
                                      double abp) {
    PoleCandidates c;
    const double sA = std::sin(Radians(bap));
    const double sB = std::sin(Radians(abp));
    const double sP = std::sin(Radians(180 - bap - abp));
    if (sP == 0 || bx == ax) {
        c.kind = PoleCandidates::Invalid;
        return c;
    }

    // Law of sines: r1 = |BP|, r2 = |AP|. P lies on both circles |P - A| = r2 and
    // |P - B| = r1, hence on the line 2 dx x + 2 dy y = K.
    const double ab = std::sqrt((ax - bx) * (ax - bx) + (ay - by) * (ay - by));
    const double r1 = ab / sP * sA;
    const double r2 = ab / sP * sB;
    const double dx = bx - ax;
    const double dy = by - ay;
    const double k = r2 * r2 - r1 * r1 + bx * bx - ax * ax + by * by - ay * ay;
    const double qa = (dy / dx) * (dy / dx) + 1;
    const double qb = (2 * ax - k / dx) * (dy / dx) - 2 * ay;
    const double qc = (ax - k / (2 * dx)) * (ax - k / (2 * dx)) + ay * ay - r2 * r2;
    const double disc = qb * qb - 4 * qa * qc;

    if (disc > 0) {
        c.kind = PoleCandidates::Two;
        c.y1 = (std::sqrt(disc) - qb) / (2 * qa);
        c.y2 = (-std::sqrt(disc) - qb) / (2 * qa);
        c.x1 = (k - 2 * c.y1 * dy) / (2 * dx);
        c.x2 = (k - 2 * c.y2 * dy) / (2 * dx);
    } else if (disc == 0) {
        c.kind = PoleCandidates::One;
        c.y1 = -qb / (2 * qa);
        c.x1 = (k - 2 * c.y1 * dy) / (2 * dx);
    } else if (disc < 0) {
        c.kind = PoleCandidates::NoSolution;
        return c;
    } else {
        c.kind = PoleCandidates::NotANumber;
        return c;
    }
    // Infinite input can leave an infinite discriminant and non-numeric candidates;
    // such a pole is no position at all.
    if (!std::isfinite(c.x1) || !std::isfinite(c.y1) || !std::isfinite(c.x2) ||
        !std::isfinite(c.y2)) {
        c = PoleCandidates{};
        c.kind = PoleCandidates::NotANumber;
    }
    return c;
}
