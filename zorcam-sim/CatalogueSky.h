// The real sky around a celestial pole at a UTC moment: the catalogue stars at
// their observed places (ERFA's route from ICRS to observed hour angle and
// declination, without refraction: the mount model adds its own).
//
// Usage:
//   CatalogueSky sky(Hemisphere::North, {2026, 12, 10, 21, 30, 0.0}, 48.0);
//   if (sky.Valid()) sky.Stars();   // template stars labelled "A", "B", "D"
//
// The stars are placed as the camera sees them with the zenith at the top of the
// image (the mount model's "up"): the gnomonic projection about the true pole of
// date, the meridian above the pole toward -y, west to the left in the north and to
// the right in the south. The site lies on the Greenwich meridian (a longitude
// would only turn the sky as the time of day does) at the given latitude.
#pragma once

#include "zorcam-sim/SkyModel.h"

namespace zorcamsim {

struct UtcTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    double second = 0;
};

class CatalogueSky : public SkyModel {
public:
    CatalogueSky(Hemisphere hemisphere, const UtcTime& moment, double latitudeDeg);

    Hemisphere GetHemisphere() const override { return hemisphere_; }
    const std::vector<SkyStar>& Stars() const override { return stars_; }
    // False when ERFA refused the moment (then there are no stars).
    bool Valid() const { return valid_; }

private:
    Hemisphere hemisphere_;
    bool valid_ = false;
    std::vector<SkyStar> stars_;
};

} // namespace zorcamsim
