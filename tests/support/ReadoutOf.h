// A settled read-out of the monitor mode with the given altitude and azimuth parts,
// for tests of what is built on the read-out (screws, records, motors).
#pragma once

#include "astro/AlignmentReadout.h"

#include <cmath>

inline AlignmentReadout ReadoutOf(double altArcsec, double azArcsec) {
    AlignmentReadout r;
    r.valid = true;
    r.altArcsec = altArcsec;
    r.azArcsec = azArcsec;
    r.totalArcsec = std::hypot(altArcsec, azArcsec);
    return r;
}
