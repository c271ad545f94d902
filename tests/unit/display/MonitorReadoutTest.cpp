#include "display/MonitorReadout.h"

#include <gtest/gtest.h>

namespace {

AltAzError ErrorOf(double alt, double az) {
    return AltAzError{std::hypot(alt, az), alt, az};
}

// What the read-out says and what the guidance hears, for a site known or not and
// for either pole: the azimuth's arrow points the way east lies behind the mount.
TEST(MonitorReadoutTest, DirectionsFollowTheSiteAndThePoleFaced) {
    struct Case {
        const char* what;
        bool known;
        SkyHemisphere facing;
        double alt, az;
        const char* azLine; // expected in the text; nullptr: no azimuth line
        bool heard;
    };
    const Case cases[] = {
        {"north, pole east", true, SkyHemisphere::North, -45, 70, "Azimuth +1′ 10″ → turn east",
         true},
        {"north, pole west", true, SkyHemisphere::North, 20, -70, "Azimuth −1′ 10″ ← turn west",
         true},
        {"south, pole east: east is on the left", true, SkyHemisphere::South, -45, 70,
         "Azimuth +1′ 10″ ← turn east", true},
        {"south, pole west", true, SkyHemisphere::South, 20, -70, "Azimuth −1′ 10″ → turn west",
         true},
        {"no site", false, SkyHemisphere::North, -45, 70, nullptr, false},
        {"no site, south", false, SkyHemisphere::South, 20, -70, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MonitorReadout m;
        m.SetSite(MonitorSite{c.known, c.facing});
        MonitorLook look;
        look.noSite = QStringLiteral("No site given.");
        m.SetLook(look);
        const MonitorUpdate u = m.Update(100.0, ErrorOf(c.alt, c.az), 30.49);
        const QString total = QString::fromUtf8("Error ") + ArcText(std::hypot(c.alt, c.az));
        EXPECT_TRUE(u.text.contains(total)) << u.text.toStdString();
        EXPECT_TRUE(u.text.contains(QString::fromUtf8("Scale 30.5″/px")));
        if (c.azLine) {
            EXPECT_TRUE(u.text.contains(QString::fromUtf8(c.azLine))) << u.text.toStdString();
            EXPECT_FALSE(u.text.contains(QStringLiteral("No site given.")));
        } else {
            EXPECT_FALSE(u.text.contains(QStringLiteral("Azimuth")));
            EXPECT_FALSE(u.text.contains(QStringLiteral("Altitude")));
            EXPECT_TRUE(u.text.contains(QStringLiteral("No site given.")));
        }
        EXPECT_EQ(u.guidance.valid, c.heard);
        if (c.heard) {
            EXPECT_DOUBLE_EQ(u.guidance.altArcsec, c.alt);
            EXPECT_DOUBLE_EQ(u.guidance.azArcsec, c.az);
        }
        EXPECT_TRUE(m.Current().valid);
        EXPECT_EQ(m.Current().azimuth == AzimuthAdvice::None, !c.known);
    }
}

TEST(MonitorReadoutTest, SmoothsOverASecondLogsTheScaleOncePerRunAndStartsAfresh) {
    MonitorReadout m;
    m.SetSite(MonitorSite{true, SkyHemisphere::North});
    const MonitorUpdate first = m.Update(10.0, ErrorOf(100, 0), 30.0);
    EXPECT_EQ(first.logLine,
              QStringLiteral("Plate scale 30.00 arcsec/px from the reference stars"));
    m.Update(10.2, ErrorOf(102, 0), 30.0);
    // One frame astray does not move the median of the last second.
    const MonitorUpdate third = m.Update(10.4, ErrorOf(900, 0), 30.0);
    EXPECT_TRUE(third.logLine.isEmpty());
    EXPECT_NEAR(third.readout.altArcsec, 102, 1e-9);

    m.Reset();
    EXPECT_FALSE(m.Current().valid);
    const MonitorUpdate again = m.Update(10.6, ErrorOf(-40, 0), 30.1);
    EXPECT_NEAR(again.readout.altArcsec, -40, 1e-9); // nothing of the run before
    EXPECT_FALSE(again.logLine.isEmpty());
}

TEST(MonitorReadoutTest, TheSkyChosenAgainstTheSitesHemisphere) {
    struct Case {
        bool known;
        double latitude;
        SkyHemisphere facing;
        SiteSkyMismatch expected;
    };
    const Case cases[] = {
        {true, 40, SkyHemisphere::North, SiteSkyMismatch::None},
        {true, -33.9, SkyHemisphere::South, SiteSkyMismatch::None},
        {true, -33.9, SkyHemisphere::North, SiteSkyMismatch::SiteSouthSkyNorth},
        {true, 40, SkyHemisphere::South, SiteSkyMismatch::SiteNorthSkySouth},
        {true, 0, SkyHemisphere::South, SiteSkyMismatch::None},
        {false, -33.9, SkyHemisphere::North, SiteSkyMismatch::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SiteSkyMismatchOf(c.known, c.latitude, c.facing), c.expected) << c.latitude;
}

} // namespace
