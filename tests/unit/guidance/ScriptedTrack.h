// A scripted session at the mount, eight frames a second (exact binary steps): the
// altitude is turned from 5' low through the axis to a 1' overshoot and back, the mount
// settles, a knock throws the azimuth 1.5' west of the pole, and it is turned back
// through a small overshoot until it settles again.
#pragma once

#include "guidance/GuidanceInput.h"

#include <algorithm>
#include <cmath>

namespace scripted {

constexpr double kStep = 0.125;
constexpr double kEnd = 32.0;

// Linear from a at t0 to b at t1, held outside.
inline double Ramp(double t, double t0, double t1, double a, double b) {
    const double f = std::clamp((t - t0) / (t1 - t0), 0.0, 1.0);
    return a + f * (b - a);
}

inline GuidanceInput At(double t) {
    GuidanceInput in;
    in.valid = true;
    // Altitude: 300" up to go, turned at 40"/s to a 60" overshoot, held, turned back.
    in.altArcsec = t < 13.0 ? Ramp(t, 0.0, 9.0, 300.0, -60.0) : Ramp(t, 13.0, 17.0, -60.0, 0.0);
    // Azimuth: knocked 90" at 20 s, turned at 40"/s to a 40" overshoot, turned back.
    in.azArcsec = 0.0;
    if (t >= 20.0)
        in.azArcsec =
            t < 27.0 ? Ramp(t, 21.0, 24.25, 90.0, -40.0) : Ramp(t, 27.0, 29.0, -40.0, 0.0);
    in.totalArcsec = std::hypot(in.altArcsec, in.azArcsec);
    return in;
}

} // namespace scripted
