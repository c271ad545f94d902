#include "display/MonitorReadout.h"

void MonitorReadout::Reset() {
    smoother_.Reset();
    current_ = AlignmentReadout{};
    scaleLogged_ = false;
}

MonitorUpdate MonitorReadout::Update(double seconds, const AltAzError& poleError,
                                     double arcsecPerPixel) {
    MonitorUpdate u;
    AlignmentReadout r = smoother_.Add(seconds, poleError, arcsecPerPixel);
    if (!site_.known) {
        // The split into altitude and azimuth rests on the zenith of the site.
        r.altArcsec = 0;
        r.azArcsec = 0;
        r.altitude = AltitudeAdvice::None;
        r.azimuth = AzimuthAdvice::None;
    }
    current_ = r;
    u.readout = r;
    ReadoutSky sky;
    sky.south = site_.facing == SkyHemisphere::South;
    sky.directions = site_.known;
    sky.noDirections = look_.noSite;
    u.text = look_.night ? AlignmentReadoutHtml(r, look_.words, sky, kNightReadoutText, true)
                         : AlignmentReadoutHtml(r, look_.words, sky);
    if (r.valid && site_.known)
        u.guidance = GuidanceInput{true, r.totalArcsec, r.altArcsec, r.azArcsec};
    if (!scaleLogged_ && arcsecPerPixel > 0) {
        u.logLine = QStringLiteral("Plate scale %1 arcsec/px from the reference stars")
                        .arg(arcsecPerPixel, 0, 'f', 2);
        scaleLogged_ = true;
    }
    return u;
}

SiteSkyMismatch SiteSkyMismatchOf(bool siteKnown, double latitudeDeg, SkyHemisphere facing) {
    if (!siteKnown)
        return SiteSkyMismatch::None;
    if (latitudeDeg < 0 && facing == SkyHemisphere::North)
        return SiteSkyMismatch::SiteSouthSkyNorth;
    if (latitudeDeg > 0 && facing == SkyHemisphere::South)
        return SiteSkyMismatch::SiteNorthSkySouth;
    return SiteSkyMismatch::None;
}
