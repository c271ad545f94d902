// The simulator's catalogue sky against the program's own sky of date: two
// computations on different ERFA routes (observed places here, CIRS places there)
// must place the same triangle about the true pole.
#include "zorcam-sim/CatalogueSky.h"
#include "astro/SkyOfDate.h"
#include "zorcam-sim/SimConfig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

namespace {

using zorcamsim::CatalogueSky;
using zorcamsim::Hemisphere;
using zorcamsim::SkyStar;

const SkyStar& Labelled(const CatalogueSky& sky, const std::string& label) {
    for (const SkyStar& s : sky.Stars())
        if (s.label == label)
            return s;
    throw std::runtime_error("no star " + label);
}

// The angle at V between P1 and P2, degrees.
double Angle(const SkyStar& v, double p1x, double p1y, double p2x, double p2y) {
    return PlaneAngleDeg(v.dxArcsec, v.dyArcsec, p1x, p1y, p2x, p2y);
}

double PositionAngleDeg(const SkyStar& s) {
    return std::atan2(s.dyArcsec, s.dxArcsec) * 180.0 / 3.14159265358979323846;
}

} // namespace

TEST(CatalogueSkyTest, TriangleAboutThePoleAgreesWithTheSkyOfDate) {
    struct Case {
        Hemisphere hemisphere;
        zorcamsim::UtcTime moment;
    };
    const Case cases[] = {
        {Hemisphere::North, {2019, 8, 14, 3, 0, 0}},  {Hemisphere::South, {2019, 8, 14, 3, 0, 0}},
        {Hemisphere::North, {2026, 12, 10, 0, 0, 0}}, {Hemisphere::South, {2026, 12, 10, 0, 0, 0}},
        {Hemisphere::North, {2030, 6, 1, 22, 0, 0}},  {Hemisphere::South, {2030, 6, 1, 22, 0, 0}},
    };
    for (const Case& c : cases) {
        const bool south = c.hemisphere == Hemisphere::South;
        SCOPED_TRACE(std::string(south ? "south " : "north ") + std::to_string(c.moment.year));
        const CatalogueSky sky(c.hemisphere, c.moment, 45.0);
        ASSERT_TRUE(sky.Valid());
        ASSERT_GE(sky.Stars().size(), 150u);
        EXPECT_EQ(sky.Stars()[0].label, "B");
        const SkyStar& a = Labelled(sky, "A");
        const SkyStar& b = Labelled(sky, "B");
        const SkyStar& d = Labelled(sky, "D");

        const zorcamsim::UtcTime& m = c.moment;
        const TemplateOfDate t =
            SkyOfDate::At({m.year, m.month, m.day, m.hour, m.minute, m.second})
                ->Template(south ? SkyHemisphere::South : SkyHemisphere::North);
        // Diurnal aberration (under 0.32") is all that separates the two: a few
        // thousandths of a degree at these distances from the pole.
        EXPECT_NEAR(Angle(a, b.dxArcsec, b.dyArcsec, 0, 0), t.bap, 0.01);
        EXPECT_NEAR(Angle(b, a.dxArcsec, a.dyArcsec, 0, 0), t.abp, 0.01);
        EXPECT_NEAR(Angle(b, d.dxArcsec, d.dyArcsec, 0, 0), t.dbp, 0.01);
        EXPECT_NEAR(std::hypot(b.dxArcsec, b.dyArcsec), std::hypot(t.b.xArcsec, t.b.yArcsec), 0.4);
    }
}

// An hour later the sky has turned by 15.04 degrees: counter-clockwise on the screen
// in the north, clockwise in the south, as the mount model turns it.
TEST(CatalogueSkyTest, SkyTurnsWithTheHourAngle) {
    for (const Hemisphere h : {Hemisphere::North, Hemisphere::South}) {
        const CatalogueSky early(h, {2026, 12, 10, 20, 0, 0}, 45.0);
        const CatalogueSky late(h, {2026, 12, 10, 21, 0, 0}, 45.0);
        const double turn = std::remainder(
            PositionAngleDeg(Labelled(late, "B")) - PositionAngleDeg(Labelled(early, "B")), 360.0);
        EXPECT_NEAR(turn, h == Hemisphere::North ? -15.041 : 15.041, 0.01);
    }
}

TEST(CatalogueSkyTest, InvalidMomentGivesNoSky) {
    const CatalogueSky sky(Hemisphere::North, {2026, 2, 30, 0, 0, 0}, 45.0);
    EXPECT_FALSE(sky.Valid());
    EXPECT_TRUE(sky.Stars().empty());
}

TEST(CatalogueSkyTest, ModelAndTimeSettings) {
    struct Case {
        const char* ini;
        const char* model;
        const char* time;
        bool warned;
    };
    const Case cases[] = {
        {"", "template", "00:00:00", false},
        {"[sky]\nmodel = catalogue\ntime = 21:30:05\n", "catalogue", "21:30:05", false},
        {"[sky]\nmodel = stars\n", "template", "00:00:00", true},
        {"[sky]\ntime = 24:00:00\n", "template", "00:00:00", true},
        {"[sky]\ntime = 12:00\n", "template", "00:00:00", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini);
        zorcamsim::SimConfig config;
        std::vector<std::string> warnings;
        ASSERT_TRUE(zorcamsim::ParseSimConfig(c.ini, config, warnings));
        EXPECT_EQ(config.sky.model, c.model);
        EXPECT_EQ(config.sky.time, c.time);
        EXPECT_EQ(!warnings.empty(), c.warned);
    }
}
