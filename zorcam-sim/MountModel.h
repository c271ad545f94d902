// Where the mount puts the sky in the image.
//
// Usage:
//   FrameGeometry g = PlaceMount(mount, refraction, SkyTurnDeg(Hemisphere::North,
//                                                               sky.skyAngleDeg, simSeconds));
//   Point2 p = g.Place(star);   // image pixels of a sky star
//
// The RA axis is seen at a fixed image point. The true pole lies away from it by the
// misalignment: altitude along the image's "up", azimuth along its "right", both
// turned by the camera roll plus the RA turn angle (clockwise positive). Refraction,
// when on, raises everything toward the zenith (the same "up"). The stars circle the
// apparent pole at the sidereal rate: counter-clockwise on the screen in the north,
// clockwise in the south. Turning the RA axis by t turns the whole image about the
// axis point by t.
#pragma once

#include "zorcam-sim/SimConfig.h"
#include "zorcam-sim/SkyModel.h"
#include "zorcam-sim/TemplateGeometry.h"

namespace zorcamsim {

inline constexpr double SIDEREAL_DAY_SECONDS = 86164.0905;

struct FrameGeometry {
    Point2 axis;             // RA axis, image pixels
    Point2 truePole;         // true celestial pole, image pixels
    Point2 apparentPole;     // the pole the stars circle (true pole raised by refraction)
    double imageTurnDeg = 0; // camera roll + RA turn, degrees clockwise
    double skyTurnDeg = 0;   // turn of the sky pattern in the image, degrees clockwise
    double pxPerArcsec = 0;
    double refractionArcmin = 0;

    Point2 Place(const SkyStar& star) const;
};

// Turn of the sky about the pole after simSeconds of simulated time.
double SkyTurnDeg(Hemisphere hemisphere, double skyAngleDeg, double simSeconds);

// Refraction of the pole in arcminutes (Bennett, with pressure and temperature).
double RefractionArcmin(double altitudeDeg, double pressureKPa, double temperatureC);
// The same by ERFA's refraction constants (A tan z + B tan³ z) at the true altitude, for
// a relative humidity of 0.5 and a wavelength of 0.55 µm.
double ErfaRefractionArcmin(double altitudeDeg, double pressureKPa, double temperatureC);

FrameGeometry PlaceMount(const MountParams& mount, const RefractionParams& refraction,
                         double skyTurnDeg);

// Point p turned about centre c by the angle, clockwise on the screen.
Point2 TurnAbout(Point2 p, Point2 c, double degrees);

} // namespace zorcamsim
