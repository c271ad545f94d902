#include "astro/PoleCoor.h"

#include "astro/Triangulation.h"
#include "core/Log.h"

#include <cmath>

int PoleSideOf(double ax, double ay, double bx, double by, double px, double py) {
    const double ux = bx - ax, uy = by - ay;
    const double vx = px - ax, vy = py - ay;
    const double cross = ux * vy - uy * vx;
    const double scale = std::hypot(ux, uy) * std::hypot(vx, vy);
    if (!(scale > 0) || std::abs(cross) <= 1e-9 * scale)
        return 0;
    return cross > 0 ? 1 : -1;
}

int CalcPoleCOOR(double ax, double ay, double bap, double bx, double by, double abp, double& outX,
                 double& outY, double refX, double refY) {
    return CalcPoleCOOR(ax, ay, bap, bx, by, abp, outX, outY, refX, refY, 0);
}

namespace {

// The pole of the two stars, chosen as CalcPoleCOOR chooses; kind says why there is none.
PoleCandidates::Kind ChoosePole(double ax, double ay, double bap, double bx, double by, double abp,
                                double& outX, double& outY, double refX, double refY, int side) {
    outX = 0.0;
    outY = 0.0;
    const PoleCandidates c = TrianglePoleCandidates(ax, ay, bap, bx, by, abp);
    switch (c.kind) {
    case PoleCandidates::Two: {
        const int side1 = PoleSideOf(ax, ay, bx, by, c.x1, c.y1);
        const int side2 = PoleSideOf(ax, ay, bx, by, c.x2, c.y2);
        if (side != 0 && side1 != side2 && (side1 == side || side2 == side)) {
            const bool first = side1 == side;
            outX = first ? c.x1 : c.x2;
            outY = first ? c.y1 : c.y2;
            break;
        }
        const double e1 = (c.x1 - refX) * (c.x1 - refX) + (c.y1 - refY) * (c.y1 - refY);
        const double e2 = (c.x2 - refX) * (c.x2 - refX) + (c.y2 - refY) * (c.y2 - refY);
        if (e1 < e2) {
            outX = c.x1;
            outY = c.y1;
        } else {
            outX = c.x2;
            outY = c.y2;
        }
        break;
    }
    case PoleCandidates::One:
        outX = c.x1;
        outY = c.y1;
        break;
    default:
        break;
    }
    return c.kind;
}

} // namespace

int CalcPoleCOOR(double ax, double ay, double bap, double bx, double by, double abp, double& outX,
                 double& outY, double refX, double refY, int side) {
    switch (ChoosePole(ax, ay, bap, bx, by, abp, outX, outY, refX, refY, side)) {
    case PoleCandidates::Two:
    case PoleCandidates::One:
        return 1;
    case PoleCandidates::Invalid:
        WriteLog("Error", "CalcPoleCOOR - Calculate pole failed as invalid value.");
        return -1;
    case PoleCandidates::NoSolution:
        WriteLog("Error", "CalcPoleCOOR - Calculate pole failed.");
        return -1;
    case PoleCandidates::NotANumber:
        break;
    }
    return -1;
}

bool PoleOfStars(double ax, double ay, double bap, double bx, double by, double abp, double& outX,
                 double& outY, double refX, double refY, int side) {
    const PoleCandidates::Kind kind =
        ChoosePole(ax, ay, bap, bx, by, abp, outX, outY, refX, refY, side);
    return kind == PoleCandidates::Two || kind == PoleCandidates::One;
}
