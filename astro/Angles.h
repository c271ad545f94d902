// Angles in degrees: their radians, and a direction folded into one turn.
//
// Usage:
//   double r = Radians(30.0);              // 0.5235...
//   double a = DegreesInTurn(-30.0);       // 330: always in [0, 360); NaN stays NaN
//   double d = std::arg(z) / kDeg;         // degrees of a complex number's angle
#pragma once

#include <cmath>
#include <numbers>

inline constexpr double kDeg = std::numbers::pi / 180.0; // one degree in radians

inline double Radians(double degrees) {
    return degrees * std::numbers::pi * (1.0 / 180.0);
}

// The same direction as `degrees` within [0, 360). A value a hair below a whole number
// of turns, which the subtraction rounds up to 360, gives 0.
inline double DegreesInTurn(double degrees) {
    const double a = degrees - 360.0 * std::floor(degrees / 360.0);
    return a >= 360.0 ? 0.0 : a;
}
