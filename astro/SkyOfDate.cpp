#include "astro/SkyOfDate.h"

#include <cmath>

namespace {

constexpr double kMasToRad = ERFA_DMAS2R;

// Gnomonic projection about the true pole, seen from below (see the header).
void ToPlane(double ra, double dec, SkyHemisphere hemisphere, double& x, double& y) {
    const double z = hemisphere == SkyHemisphere::South ? -std::sin(dec) : std::sin(dec);
    const double scale = std::cos(dec) / z * ERFA_DR2AS;
    x = scale * std::cos(ra);
    y = (hemisphere == SkyHemisphere::South ? -scale : scale) * std::sin(ra);
}

} // namespace

double PlaneAngleDeg(double vx, double vy, double p1x, double p1y, double p2x, double p2y) {
    const double ux = p1x - vx;
    const double uy = p1y - vy;
    const double wx = p2x - vx;
    const double wy = p2y - vy;
    return std::atan2(std::abs(ux * wy - uy * wx), ux * wx + uy * wy) * ERFA_DR2D;
}

std::optional<double> SkyOfDate::EarthRotationDegAt(const UtcMoment& m) {
    double utc1 = 0;
    double utc2 = 0;
    if (eraDtf2d("UTC", m.year, m.month, m.day, m.hour, m.minute, m.second, &utc1, &utc2) < 0)
        return std::nullopt;
    // UT1 taken as UTC, as in At().
    return eraEra00(utc1, utc2) * ERFA_DR2D;
}

std::optional<SkyOfDate> SkyOfDate::At(const UtcMoment& m) {
    double utc1 = 0;
    double utc2 = 0;
    if (eraDtf2d("UTC", m.year, m.month, m.day, m.hour, m.minute, m.second, &utc1, &utc2) < 0)
        return std::nullopt;
    double tai1 = 0;
    double tai2 = 0;
    if (eraUtctai(utc1, utc2, &tai1, &tai2) < 0)
        return std::nullopt;
    SkyOfDate sky;
    eraTaitt(tai1, tai2, &sky.tt1_, &sky.tt2_);
    // TDB differs from TT by under 2 ms: nothing at this precision. UT1 is taken as
    // UTC (under 0.9 s): it turns the sky about the pole and moves no star against it.
    double eo = 0;
    eraApci13(sky.tt1_, sky.tt2_, &sky.astrom_, &eo);
    sky.earthRotationDeg_ = eraEra00(utc1, utc2) * ERFA_DR2D;
    return sky;
}

StarOfDate SkyOfDate::Place(const CatalogueStar& star, SkyHemisphere hemisphere) const {
    const double dec = star.decDeg * ERFA_DD2R;
    const double pmRa = star.pmRaCosDecMasYr * kMasToRad / std::cos(dec);
    double ri = 0;
    double di = 0;
    eraAtciq(star.raDeg * ERFA_DD2R, dec, pmRa, star.pmDecMasYr * kMasToRad,
             star.parallaxMas / 1000.0, star.radialVelocityKms, const_cast<eraASTROM*>(&astrom_),
             &ri, &di);
    StarOfDate s;
    s.raDeg = eraAnp(ri) * ERFA_DR2D;
    s.decDeg = di * ERFA_DR2D;
    ToPlane(ri, di, hemisphere, s.xArcsec, s.yArcsec);
    return s;
}

TemplateOfDate SkyOfDate::Template(SkyHemisphere hemisphere) const {
    const TemplateCatalogueStars& stars = TemplateStarsOf(hemisphere);
    TemplateOfDate t;
    t.a = Place(stars.a, hemisphere);
    t.b = Place(stars.b, hemisphere);
    t.d = Place(stars.d, hemisphere);
    // The pole is the plane's origin.
    t.bap = PlaneAngleDeg(t.a.xArcsec, t.a.yArcsec, t.b.xArcsec, t.b.yArcsec, 0, 0);
    t.abp = PlaneAngleDeg(t.b.xArcsec, t.b.yArcsec, t.a.xArcsec, t.a.yArcsec, 0, 0);
    t.dbp = PlaneAngleDeg(t.b.xArcsec, t.b.yArcsec, t.d.xArcsec, t.d.yArcsec, 0, 0);
    return t;
}
