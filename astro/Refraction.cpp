#include "astro/Refraction.h"

#include <cmath>

double RefractionArcmin(double h, double P, double T) {
    constexpr double kHalfPi = 1.5707963267948966;
    constexpr double kDegree = 0.017453292519943295;
    // cot(h + 7.31 / (h + 4.4)) arc-minutes; the cotangent turns negative only just
    // below the zenith.
    double r = std::tan(kHalfPi - (h + 7.31 / (h + 4.4)) * kDegree);
    if (r < 0)
        r = 0;
    double f = 1.0;
    if (273 + T != 0)
        f = (283 / (273 + T)) * static_cast<double>(P * (1.0L / 101.0L));
    return r * f;
}

int CorrectRefraction(double value, double h, double P, double T, double& out) {
    out = value - RefractionArcmin(h, P, T);
    return 1;
}
