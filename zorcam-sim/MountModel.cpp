#include "zorcam-sim/MountModel.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <cmath>

namespace zorcamsim {
namespace {
constexpr double kDegToRad = 3.14159265358979323846 / 180.0;
}

Point2 TurnAbout(Point2 p, Point2 c, double degrees) {
    const double cs = std::cos(degrees * kDegToRad);
    const double sn = std::sin(degrees * kDegToRad);
    const double x = p.x - c.x;
    const double y = p.y - c.y;
    return {c.x + x * cs - y * sn, c.y + x * sn + y * cs};
}

double SkyTurnDeg(Hemisphere hemisphere, double skyAngleDeg, double simSeconds) {
    const double turned = 360.0 * std::fmod(simSeconds / SIDEREAL_DAY_SECONDS, 1.0);
    return hemisphere == Hemisphere::North ? skyAngleDeg - turned : skyAngleDeg + turned;
}

double RefractionArcmin(double altitudeDeg, double pressureKPa, double temperatureC) {
    const double h = altitudeDeg;
    const double r = 1.0 / std::tan((h + 7.31 / (h + 4.4)) * kDegToRad);
    const double factor = (pressureKPa / 101.0) * (283.0 / (273.0 + temperatureC));
    return std::max(0.0, r) * factor;
}

double ErfaRefractionArcmin(double altitudeDeg, double pressureKPa, double temperatureC) {
    double refa = 0, refb = 0;
    eraRefco(pressureKPa * 10.0, temperatureC, 0.5, 0.55, &refa, &refb);
    // The zenith distance as observed, found from the true one by iterating
    // z_obs = z - (A tan z_obs + B tan³ z_obs).
    const double z = (90.0 - altitudeDeg) * kDegToRad;
    double zObs = z;
    for (int i = 0; i < 20; ++i) {
        const double t = std::tan(zObs);
        zObs = z - (refa * t + refb * t * t * t);
    }
    return std::max(0.0, (z - zObs) / kDegToRad * 60.0);
}

FrameGeometry PlaceMount(const MountParams& mount, const RefractionParams& refraction,
                         double skyTurnDeg) {
    FrameGeometry g;
    g.axis = {mount.axisX, mount.axisY};
    g.imageTurnDeg = mount.rollDeg + mount.raAngleDeg;
    g.skyTurnDeg = g.imageTurnDeg + skyTurnDeg;
    g.pxPerArcsec = 1.0 / mount.arcsecPerPixel;
    const double pxPerArcmin = 60.0 * g.pxPerArcsec;

    // Before the turn: altitude is up (-y), azimuth is right (+x).
    const Point2 offset{g.axis.x + mount.azErrArcmin * pxPerArcmin,
                        g.axis.y - mount.altErrArcmin * pxPerArcmin};
    g.truePole = TurnAbout(offset, g.axis, g.imageTurnDeg);

    const double poleAltitudeDeg = std::abs(refraction.latitudeDeg);
    g.refractionArcmin =
        !refraction.enabled ? 0.0
        : refraction.erfa
            ? ErfaRefractionArcmin(poleAltitudeDeg, refraction.pressureKPa, refraction.temperatureC)
            : RefractionArcmin(poleAltitudeDeg, refraction.pressureKPa, refraction.temperatureC);
    const Point2 lift =
        TurnAbout({0.0, -g.refractionArcmin * pxPerArcmin}, {0.0, 0.0}, g.imageTurnDeg);
    g.apparentPole = {g.truePole.x + lift.x, g.truePole.y + lift.y};
    return g;
}

Point2 FrameGeometry::Place(const SkyStar& star) const {
    const Point2 local{apparentPole.x + star.dxArcsec * pxPerArcsec,
                       apparentPole.y + star.dyArcsec * pxPerArcsec};
    return TurnAbout(local, apparentPole, skyTurnDeg);
}

} // namespace zorcamsim
