#include "astro/Refraction.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <cmath>

QString RefractionModelWord(RefractionModel model) {
    return model == RefractionModel::Formula ? QStringLiteral("formula") : QStringLiteral("erfa");
}

RefractionModel RefractionModelOfWord(const QString& word) {
    return word.trimmed().compare(QLatin1String("formula"), Qt::CaseInsensitive) == 0
               ? RefractionModel::Formula
               : RefractionModel::Erfa;
}

double StandardPressureKPa(double elevationM) {
    if (!std::isfinite(elevationM))
        return 101.325;
    // The troposphere of the standard atmosphere: 6.5 K per km from 288.15 K.
    const double h = std::clamp(elevationM, -500.0, 11000.0);
    return 101.325 * std::pow(1.0 - 2.25577e-5 * h, 5.25588);
}

double ErfaRefractionArcmin(double h, const AirConditions& air) {
    if (!std::isfinite(h) || !(air.pressureKPa > 0))
        return 0.0;
    double refa = 0, refb = 0;
    eraRefco(air.pressureKPa * 10.0, air.temperatureC, std::clamp(air.humidity, 0.0, 1.0),
             air.wavelengthUm, &refa, &refb);
    // As ERFA's observed places apply it: from the true zenith distance, with one
    // Newton step of A tan z + B tan³ z; the altitude not below ERFA's own floor.
    const double cosZ = std::max(std::sin(std::clamp(h, -90.0, 90.0) * ERFA_DD2R), 0.05);
    const double sinZ = std::sqrt(std::max(1.0 - cosZ * cosZ, 1e-12));
    const double tz = sinZ / cosZ;
    const double w = refb * tz * tz;
    const double del = (refa + w) * tz / (1.0 + (refa + 3.0 * w) / (cosZ * cosZ));
    return del * ERFA_DR2AS / 60.0;
}

double RefractionArcminOf(RefractionModel model, double h, const AirConditions& air) {
    if (model == RefractionModel::Formula)
        return RefractionArcmin(h, air.pressureKPa, air.temperatureC);
    return ErfaRefractionArcmin(h, air);
}

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
