#include "astro/Geometry.h"

#include "astro/Angles.h"
#include "astro/NumberText.h"
#include "core/Log.h"

#include <climits>
#include <cmath>

void RotatePoint(double angle, double px, double py, double cx, double cy, double& outX,
                 double& outY) {
    const double s = std::sin(Radians(angle));
    const double c = std::cos(Radians(angle));
    outX = cx + (px - cx) * c + (cy - py) * s;
    outY = cy + (px - cx) * s - (cy - py) * c;
}

int CalcCircleCenter(double x1, double y1, double x2, double y2, double x3, double y3, double& outX,
                     double& outY, int& outRadius) {
    const QString straightLine =
        QStringLiteral("Point in a straight line,Can not calculate center of cricle.");
    if (y1 == y2 && y2 == y3) {
        WriteLog("Error", straightLine);
        return -1;
    }
    if (y1 == y2 || y2 == y3)
        return -1;
    const double k1 = (x1 - x2) / (y1 - y2);
    const double k2 = (x2 - x3) / (y2 - y3);
    if (k1 == k2) {
        WriteLog("Error", straightLine);
        return -1;
    }

    const double a1 = 2 * (x1 - x2);
    const double b1 = 2 * (y1 - y2);
    const double c1 = x1 * x1 + y1 * y1 - x2 * x2 - y2 * y2;
    const double a2 = 2 * (x2 - x3);
    const double b2 = 2 * (y2 - y3);
    const double c2 = x2 * x2 + y2 * y2 - x3 * x3 - y3 * y3;
    if (b1 * a2 == b2 * a1)
        return -1;

    const double d = b1 * a2 - b2 * a1;
    const double cx = (b1 * c2 - b2 * c1) / d;
    const double cy = (a2 * c1 - a1 * c2) / d;
    const double r = std::trunc(std::sqrt((cx - x1) * (cx - x1) + (cy - y1) * (cy - y1)));
    // Non-numeric input, or a radius beyond any int: no usable circle.
    if (!std::isfinite(cx) || !std::isfinite(cy) || !(r <= INT_MAX))
        return -1;

    outX = cx;
    outY = cy;
    outRadius = static_cast<int>(r);
    WriteLog("Info",
             "center of cricle (" + GeneralNumberText(cx) + "," + GeneralNumberText(cy) + ")");
    return 1;
}
