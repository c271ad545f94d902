#include "astro/MaskPole.h"

#include "core/Log.h"
#include "astro/NumberText.h"
#include "astro/Triangulation.h"

#include <cmath>

int CalcMaskPole(double aX, double aY, double bap, double bX, double bY, double abp, double& outPX,
                 double& outPY, double dX, double dY, double dbp) {
    const PoleCandidates c = TrianglePoleCandidates(aX, aY, bap, bX, bY, abp);
    double x = 0.0;
    double y = 0.0;
    switch (c.kind) {
    case PoleCandidates::Two:
        PickPoleCandidate(c.x1, c.y1, c.x2, c.y2, dX, dY, bX, bY, dbp, x, y);
        break;
    case PoleCandidates::One:
        x = c.x1;
        y = c.y1;
        break;
    case PoleCandidates::Invalid:
        WriteLog("Error", "invalid points, can not calculate pole.");
        outPX = outPY = 0.0;
        return -1;
    case PoleCandidates::NoSolution:
        WriteLog("Error", "did not calculate the appropriate pole");
        outPX = outPY = 0.0;
        return -1;
    case PoleCandidates::NotANumber:
        outPX = outPY = 0.0;
        return -1;
    }
    WriteLog("Info", "calculated P[" + FixedNumberText(x) + "," + FixedNumberText(y) + "]");
    outPX = x;
    outPY = y;
    return 1;
}

void PickPoleCandidate(double x1, double y1, double x2, double y2, double dX, double dY, double bX,
                       double bY, double dbp, double& outX, double& outY) {
    const double w = std::hypot(dX - bX, dY - bY);
    const auto angleAtB = [&](double px, double py) {
        const double d = std::hypot(px - bX, py - bY);
        const double f = std::hypot(dX - px, dY - py);
        return std::acos((w * w + d * d - f * f) / (2 * w * d)) * (180.0 / 3.141592653589793);
    };
    const double e1 = std::fabs(angleAtB(x1, y1) - dbp);
    const double e2 = std::fabs(angleAtB(x2, y2) - dbp);
    if (e1 < e2) {
        outX = x1;
        outY = y1;
    } else {
        outX = x2;
        outY = y2;
    }
}

int CalcTemplatePole(const QString& hemisphere, STARDATA& record) {
    const int r = CalcMaskPole(record.aX, record.aY, record.bap, record.bX, record.bY, record.abp,
                               record.poleX, record.poleY, record.dX, record.dY, record.dbp);
    if (r != 1) {
        WriteLog("Error", hemisphere == QLatin1String("S")
                              ? QStringLiteral("Failed to calculate the south pole.")
                              : QStringLiteral("Failed to calculate the north pole."));
    }
    return r;
}
