// How the sky of a moment lies in the live image, and how far and which way the
// RA axis is off the pole.
//
// Usage (once per frame in monitor mode):
//   const SkyOfMoment sky = SkyOfMomentAt(*SkyOfDate::At(moment), SkyHemisphere::North,
//                                         eastLongitudeDeg);
//   // a frame taken later: the same stars, the meridian of the frame's moment
//   const SkyOfMoment now = *SkyOfMomentAdvanced(sky, frameMoment, eastLongitudeDeg);
//   if (const std::optional<SkyInImage> s = SkyInImage::From(sky, ax, ay, bx, by)) {
//       s->ArcsecPerPixel();                       // live plate scale, e.g. 30.5
//       s->ZenithX(), s->ZenithY();                // unit vector: pole toward zenith
//       const AltAzError e = s->ErrorOf(poleX, poleY, axisX, axisY);
//       // e.altArcsec > 0: raise the altitude; e.azArcsec > 0: turn east.
//       const cv::Point2d lift = s->RefractionShiftPx(refractionArcmin);
//       // add lift to a measured star: it moves away from the zenith.
//   }
//
// Star A and B are the template's star A and the pole star, measured in the image
// (pixels, y downward) and placed in the camera's plane of the moment (SkyOfDate.h,
// arcseconds). Their distance gives the plate scale, their direction the turn of
// the sky in the image. The meridian (the hour circle from the pole toward the
// zenith) has the CIRS right ascension of the Earth rotation angle plus the site's
// east longitude; its direction in the plane, turned into the image, is the zenith
// direction. The moment is always an argument: nothing here reads a clock.
//
// Azimuth "east" is as seen facing the pole from behind the mount: to the right of
// the zenith direction in the north, to its left in the south.
#pragma once

#include "astro/SkyOfDate.h"

#include <opencv2/core/types.hpp>

#include <optional>

// The template stars of a moment and the meridian of a site.
struct SkyOfMoment {
    double aX = 0, aY = 0;    // star A in the camera's plane, arcseconds
    double bX = 0, bY = 0;    // star B (the pole star)
    double meridianRaDeg = 0; // CIRS right ascension of the site's meridian
    SkyHemisphere hemisphere = SkyHemisphere::North;
};

// The CIRS right ascension of the meridian: Earth rotation angle plus east
// longitude, 0...360.
double MeridianRaDeg(double earthRotationDeg, double eastLongitudeDeg);

SkyOfMoment SkyOfMomentAt(const SkyOfDate& sky, SkyHemisphere hemisphere, double eastLongitudeDeg);

// The sky advanced to a later (or earlier) moment at a site: the template stars of
// `sky` (a moment within days; against the pole they move by well under an
// arcsecond a day) with the meridian of `moment` at `eastLongitudeDeg`. The sky
// turns about the pole by the Earth rotation angle; the stars' places are not
// computed again. Nothing when the moment is not a valid date.
std::optional<SkyOfMoment> SkyOfMomentAdvanced(const SkyOfMoment& sky, const UtcMoment& moment,
                                               double eastLongitudeDeg);

// The RA axis against the pole, on the sky.
struct AltAzError {
    double totalArcsec = 0; // distance between pole and axis
    double altArcsec = 0;   // along the zenith direction: > 0 the pole is higher (raise)
    double azArcsec = 0;    // across it, arc on the sky: > 0 the pole is east (turn east)
};

class SkyInImage {
public:
    // Nothing when the two stars coincide in the image or in the plane.
    static std::optional<SkyInImage> From(const SkyOfMoment& sky, double ax, double ay, double bx,
                                          double by);

    double ArcsecPerPixel() const { return arcsecPerPx_; }
    // Turn of the plane in the image, degrees, clockwise on the screen.
    double TurnDeg() const { return turnDeg_; }
    // Unit vector in the image from the pole toward the zenith.
    double ZenithX() const { return zenithX_; }
    double ZenithY() const { return zenithY_; }
    // Unit vector in the image toward the east (see the header's note).
    double EastX() const { return eastX_; }
    double EastY() const { return eastY_; }

    AltAzError ErrorOf(double poleX, double poleY, double axisX, double axisY) const;

    // The shift in pixels that takes a star raised by the refraction (arcminutes)
    // back down: away from the zenith, scaled by the live plate scale.
    cv::Point2d RefractionShiftPx(double refractionArcmin) const;

private:
    SkyInImage() = default;
    double arcsecPerPx_ = 0;
    double turnDeg_ = 0;
    double zenithX_ = 0, zenithY_ = -1;
    double eastX_ = 1, eastY_ = 0;
};
