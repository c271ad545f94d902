#include "astro/SkyInImage.h"

#include "astro/Angles.h"

#include <cmath>

double MeridianRaDeg(double earthRotationDeg, double eastLongitudeDeg) {
    return DegreesInTurn(earthRotationDeg + eastLongitudeDeg);
}

SkyOfMoment SkyOfMomentAt(const SkyOfDate& sky, SkyHemisphere hemisphere, double eastLongitudeDeg) {
    const TemplateOfDate t = sky.Template(hemisphere);
    SkyOfMoment m;
    m.aX = t.a.xArcsec;
    m.aY = t.a.yArcsec;
    m.bX = t.b.xArcsec;
    m.bY = t.b.yArcsec;
    m.meridianRaDeg = MeridianRaDeg(sky.EarthRotationDeg(), eastLongitudeDeg);
    m.hemisphere = hemisphere;
    return m;
}

std::optional<SkyOfMoment> SkyOfMomentAdvanced(const SkyOfMoment& sky, const UtcMoment& moment,
                                               double eastLongitudeDeg) {
    const std::optional<double> era = SkyOfDate::EarthRotationDegAt(moment);
    if (!era)
        return std::nullopt;
    SkyOfMoment m = sky;
    m.meridianRaDeg = MeridianRaDeg(*era, eastLongitudeDeg);
    return m;
}

std::optional<SkyInImage> SkyInImage::From(const SkyOfMoment& sky, double ax, double ay, double bx,
                                           double by) {
    const double imageDx = bx - ax;
    const double imageDy = by - ay;
    const double planeDx = sky.bX - sky.aX;
    const double planeDy = sky.bY - sky.aY;
    const double imageLength = std::hypot(imageDx, imageDy);
    const double planeLength = std::hypot(planeDx, planeDy);
    if (!(imageLength > 1e-9) || !(planeLength > 1e-9) || !std::isfinite(imageLength))
        return std::nullopt;

    SkyInImage s;
    s.arcsecPerPx_ = planeLength / imageLength;
    // The sky is seen unmirrored: one turn takes the plane into the image.
    const double turn = std::atan2(imageDy, imageDx) - std::atan2(planeDy, planeDx);
    s.turnDeg_ = std::remainder(turn * ERFA_DR2D, 360.0);

    // The meridian in the plane (SkyOfDate.h: RA 0 along +x, growing clockwise on
    // the screen in the north, counter-clockwise in the south).
    const double ra = sky.meridianRaDeg * ERFA_DD2R;
    const bool south = sky.hemisphere == SkyHemisphere::South;
    const double px = std::cos(ra);
    const double py = south ? -std::sin(ra) : std::sin(ra);
    s.zenithX_ = px * std::cos(turn) - py * std::sin(turn);
    s.zenithY_ = px * std::sin(turn) + py * std::cos(turn);
    // East: the zenith direction turned a quarter clockwise on the screen in the
    // north (facing north, east is on the right), counter-clockwise in the south.
    if (south) {
        s.eastX_ = s.zenithY_;
        s.eastY_ = -s.zenithX_;
    } else {
        s.eastX_ = -s.zenithY_;
        s.eastY_ = s.zenithX_;
    }
    return s;
}

AltAzError SkyInImage::ErrorOf(double poleX, double poleY, double axisX, double axisY) const {
    const double dx = (poleX - axisX) * arcsecPerPx_;
    const double dy = (poleY - axisY) * arcsecPerPx_;
    AltAzError e;
    e.totalArcsec = std::hypot(dx, dy);
    e.altArcsec = dx * zenithX_ + dy * zenithY_;
    e.azArcsec = dx * eastX_ + dy * eastY_;
    return e;
}

cv::Point2d SkyInImage::RefractionShiftPx(double refractionArcmin) const {
    const double px = refractionArcmin * 60.0 / arcsecPerPx_;
    return {-zenithX_ * px, -zenithY_ * px};
}
