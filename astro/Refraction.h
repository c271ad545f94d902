// Atmospheric refraction taken off a frame's vertical coordinate.
//
// Usage:
//   double y;
//   CorrectRefraction(starY, latitude, pressureKPa, temperatureC, y);   // always 1
//
// The refraction in arc-minutes for altitude h (degrees; the tracker passes the
// observer's latitude, the pole's altitude), scaled by (P / 101)(283 / (273 + T)),
// is subtracted from the coordinate as it is.
#pragma once

int CorrectRefraction(double value, double h, double P, double T, double& out);
