// Atmospheric refraction at an altitude.
//
// Usage:
//   const double arcmin = RefractionArcmin(latitude, pressureKPa, temperatureC);
//   double y;
//   CorrectRefraction(starY, latitude, pressureKPa, temperatureC, y);   // always 1
//
// The tracker moves each reference star by RefractionArcmin, in pixels at the live
// plate scale, away from the zenith (SkyInImage.h). CorrectRefraction is the older
// form, kept for callers that take the arc-minutes off one coordinate as they are.
//
// The refraction in arc-minutes for altitude h (degrees; the tracker passes the
// observer's latitude, the pole's altitude), scaled by (P / 101)(283 / (273 + T)),
// is subtracted from the coordinate as it is.
#pragma once

int CorrectRefraction(double value, double h, double P, double T, double& out);

// The refraction in arc-minutes at altitude h (degrees), for P in kPa and T in °C:
// Bennett's cot(h + 7.31 / (h + 4.4)), not below 0, times (P / 101)(283 / (273 + T))
// (the factor 1 when 273 + T is 0).
double RefractionArcmin(double h, double P, double T);
