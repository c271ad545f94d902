// Atmospheric refraction at an altitude.
//
// Usage:
//   AirConditions air;                          // 101 kPa, 10 °C, 50 %, 0.55 µm
//   air.pressureKPa = StandardPressureKPa(2400); // 75.6 kPa at 2400 m
//   const double arcmin = RefractionArcminOf(RefractionModel::Erfa, poleAltitudeDeg, air);
//   double y;
//   CorrectRefraction(starY, latitude, pressureKPa, temperatureC, y);   // always 1
//
// The tracker moves each reference star by the refraction at the pole's altitude
// (the site's latitude without its sign), in pixels at the live plate scale, away
// from the zenith (SkyInImage.h). The default model is ERFA's refraction constants
// (A tan z + B tan³ z for pressure, temperature, humidity and wavelength), applied to
// the true zenith distance as ERFA's observed places apply them. The older formula
// (Bennett's, scaled for pressure and temperature only) stays for comparison; it is
// 2" to 4" higher at 20° to 60° altitude. CorrectRefraction is its oldest form, kept
// for callers that take the arc-minutes off one coordinate as they are.
#pragma once

#include <QString>

enum class RefractionModel { Erfa, Formula };

// The settings word of a model ("erfa", "formula") and back; an unknown word is ERFA.
QString RefractionModelWord(RefractionModel model);
RefractionModel RefractionModelOfWord(const QString& word);

struct AirConditions {
    double pressureKPa = 101.0;
    double temperatureC = 10.0;
    double humidity = 0.5;      // relative, 0...1
    double wavelengthUm = 0.55; // effective wavelength of the camera, micrometres
};

// The pressure of the standard atmosphere at an elevation (metres above sea level), kPa:
// 101.325 at 0 m, 89.9 at 1000 m, 75.6 at 2400 m, 54.0 at 5000 m.
double StandardPressureKPa(double elevationM);

// The refraction of a star at true (unrefracted) altitude h, degrees, in arc-minutes, by
// ERFA's constants for the air; 0 for no air. Below about 3° it keeps the value there.
double ErfaRefractionArcmin(double h, const AirConditions& air);

// The refraction by the chosen model; Formula uses only pressure and temperature.
double RefractionArcminOf(RefractionModel model, double h, const AirConditions& air);

int CorrectRefraction(double value, double h, double P, double T, double& out);

// The refraction in arc-minutes at altitude h (degrees), for P in kPa and T in °C:
// Bennett's cot(h + 7.31 / (h + 4.4)), not below 0, times (P / 101)(283 / (273 + T))
// (the factor 1 when 273 + T is 0).
double RefractionArcmin(double h, double P, double T);
