// The monitor mode's read-out, without widgets: the tracker's error of each frame
// in, the text below the close-up, what the sound guidance hears and what is to be
// logged out.
//
// Usage (the window owns one; once per tracked frame, on the user-interface thread):
//   MonitorReadout monitor;
//   monitor.SetSite(MonitorSite{siteSet, SkyHemisphere::South});  // what is known now
//   monitor.SetLook(MonitorLook{words, noSiteLine, night});       // language and style
//   monitor.Reset();                                 // a new monitor run, or none
//   const MonitorUpdate u = monitor.Update(clock.Seconds(), poleError, arcsecPerPixel);
//   label->setText(u.text);
//   guidance.Update(u.guidance);
//   if (!u.logLine.isEmpty()) WriteLog("Info", u.logLine);
//
// The moment is any steady clock in seconds, given by the caller (nothing here reads
// a clock); the figures are smoothed over about a second (AlignmentReadout.h).
// Without the site the zenith is unknown: the text gives the total error and one
// line saying why the directions are missing, and the guidance hears nothing. The
// azimuth's arrows follow the pole the user faces (the sky chosen in the wizard).
// The plate scale is logged once per run.
#pragma once

#include "astro/AlignmentReadout.h"
#include "astro/SkyOfDate.h"
#include "display/AlignmentReadoutText.h"
#include "guidance/GuidanceInput.h"

#include <QString>

struct MonitorSite {
    bool known = false;                          // the user has given the site
    SkyHemisphere facing = SkyHemisphere::North; // the pole the wizard aligns on
};

// Whether the pole chosen for the alignment and the site's hemisphere disagree (a
// site on the equator agrees with both; an unknown site with everything).
enum class SiteSkyMismatch { None, SiteSouthSkyNorth, SiteNorthSkySouth };
SiteSkyMismatch SiteSkyMismatchOf(bool siteKnown, double latitudeDeg, SkyHemisphere facing);

struct MonitorLook {
    ReadoutWords words{QStringLiteral("Error"),     QStringLiteral("Altitude"),
                       QStringLiteral("Azimuth"),   QStringLiteral("raise"),
                       QStringLiteral("lower"),     QStringLiteral("turn east"),
                       QStringLiteral("turn west"), QStringLiteral("Scale")};
    QString noSite = QStringLiteral("No directions: the site is not set.");
    bool night = false; // the night style's reds
};

struct MonitorUpdate {
    AlignmentReadout readout; // the smoothed figures (altitude and azimuth 0 without a site)
    QString text;             // rich text for the label; empty while there is nothing
    GuidanceInput guidance;   // what the sound guidance hears
    QString logLine;          // a line for the log, or empty
};

class MonitorReadout {
public:
    void SetSite(const MonitorSite& site) { site_ = site; }
    void SetLook(const MonitorLook& look) { look_ = look; }
    const MonitorSite& Site() const { return site_; }

    // Forgets the smoothing and the logged plate scale.
    void Reset();
    MonitorUpdate Update(double seconds, const AltAzError& poleError, double arcsecPerPixel);
    // The last update's figures (invalid after Reset).
    const AlignmentReadout& Current() const { return current_; }

private:
    AlignmentReadoutSmoother smoother_;
    AlignmentReadout current_;
    MonitorSite site_;
    MonitorLook look_;
    bool scaleLogged_ = false;
};
