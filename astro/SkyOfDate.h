// The sky of date: apparent places of catalogue stars for a UTC moment, and the
// template angles that tie the true celestial pole to the template stars.
//
// Usage:
//   const UtcMoment now{2026, 12, 10, 21, 30, 0.0};
//   if (const std::optional<SkyOfDate> sky = SkyOfDate::At(now)) {
//       const TemplateOfDate t = sky->Template(SkyHemisphere::North);
//       // t.bap, t.abp, t.dbp replace the dated data's angles; t.a, t.b, t.d are the
//       // stars' apparent places and their positions in the camera's plane.
//       const StarOfDate s = sky->Place(someCatalogueStar, SkyHemisphere::North);
//   }
//
// Apparent places are CIRS places (about the true pole of date, the pole the sky
// turns around): proper motion, parallax, light deflection, annual aberration,
// precession and nutation, all by ERFA. The moment is always an argument (no
// clock is read here), so the same moment gives the same sky.
//
// The plane is the camera's view of the sky near the pole: the gnomonic projection
// about the true pole, seen from below (x to the right, y downward, as on the
// screen), with the CIRS right ascension 0 along +x. In the north the right
// ascension grows clockwise on the screen, in the south counter-clockwise. The
// sky then turns about the origin by the hour angle: a later addition (plate
// scale, the zenith's direction, refraction along it) starts from
// EarthRotationDeg() and the site's longitude.
#pragma once

#include <erfa.h>
#include <erfam.h>

#include <optional>

enum class SkyHemisphere { North, South };

// A UTC calendar moment (seconds may carry fractions).
struct UtcMoment {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    double second = 0.0;
};

// A star as a catalogue gives it: ICRS at epoch J2000.0.
struct CatalogueStar {
    const char* name;
    double raDeg;
    double decDeg;
    double pmRaCosDecMasYr; // proper motion in right ascension times cos(dec), mas/yr
    double pmDecMasYr;      // mas/yr
    double parallaxMas;
    double radialVelocityKms; // 0 when the catalogue has none
};

// One hemisphere's template stars: B the pole star, A and D the two others.
struct TemplateCatalogueStars {
    CatalogueStar a;
    CatalogueStar b;
    CatalogueStar d;
};

// The committed star table (see TemplateStarCatalogue.cpp for its source).
const TemplateCatalogueStars& TemplateStarsOf(SkyHemisphere hemisphere);

struct StarOfDate {
    double raDeg = 0;   // CIRS right ascension
    double decDeg = 0;  // CIRS declination
    double xArcsec = 0; // the camera's plane about the true pole (see above)
    double yArcsec = 0;
};

// The template triangle of the moment; angles in degrees, 0...180, as the dated
// data gives them: bap at A between B and P, abp at B between A and P, dbp at B
// between D and P (P the true pole, the plane's origin).
struct TemplateOfDate {
    StarOfDate a;
    StarOfDate b;
    StarOfDate d;
    double bap = 0;
    double abp = 0;
    double dbp = 0;
};

class SkyOfDate {
public:
    // The sky at a UTC moment; nothing when the moment is not a valid date.
    static std::optional<SkyOfDate> At(const UtcMoment& moment);

    StarOfDate Place(const CatalogueStar& star, SkyHemisphere hemisphere) const;
    TemplateOfDate Template(SkyHemisphere hemisphere) const;

    // The Earth rotation angle of the moment (degrees, 0...360): the CIRS right
    // ascension on the Greenwich meridian.
    double EarthRotationDeg() const { return earthRotationDeg_; }
    // The same angle for any moment, without the stars' places (cheap enough for
    // every frame); nothing when the moment is not a valid date.
    static std::optional<double> EarthRotationDegAt(const UtcMoment& moment);
    // Terrestrial Time of the moment as a two-part Julian date.
    double TtJd1() const { return tt1_; }
    double TtJd2() const { return tt2_; }

private:
    SkyOfDate() = default;
    double tt1_ = 0;
    double tt2_ = 0;
    double earthRotationDeg_ = 0;
    eraASTROM astrom_{}; // the star-independent parameters of the moment
};

// The angle at vertex V between the directions to P1 and P2, degrees 0...180.
double PlaneAngleDeg(double vx, double vy, double p1x, double p1y, double p2x, double p2y);
