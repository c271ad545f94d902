#include "astro/PoleCoor.h"

#include "core/Log.h"
#include "astro/Triangulation.h"

int CalcPoleCOOR(double ax, double ay, double bap, double bx, double by, double abp, double& outX,
                 double& outY, double refX, double refY) {
    outX = 0.0;
    outY = 0.0;
    const PoleCandidates c = TrianglePoleCandidates(ax, ay, bap, bx, by, abp);
    switch (c.kind) {
    case PoleCandidates::Two: {
        const double e1 = (c.x1 - refX) * (c.x1 - refX) + (c.y1 - refY) * (c.y1 - refY);
        const double e2 = (c.x2 - refX) * (c.x2 - refX) + (c.y2 - refY) * (c.y2 - refY);
        if (e1 < e2) {
            outX = c.x1;
            outY = c.y1;
        } else {
            outX = c.x2;
            outY = c.y2;
        }
        return 1;
    }
    case PoleCandidates::One:
        outX = c.x1;
        outY = c.y1;
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
