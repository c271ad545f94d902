#include "zorcam-sim/TemplateGeometry.h"
#include "zorcam-sim/MountModel.h"
#include "zorcam-sim/SimConfig.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zorcamsim;

namespace {

struct PoleCase {
    Hemisphere hemisphere;
    int year;
    double poleX, poleY, distanceFromB;
};

class TemplatePoleTest : public ::testing::TestWithParam<PoleCase> {};

// The pole the application's triangulation publishes for the built-in templates,
// given to two decimals.
TEST_P(TemplatePoleTest, MatchesPublishedPole) {
    const PoleCase& c = GetParam();
    const TemplatePattern p = GetTemplatePattern(c.hemisphere, c.year);
    EXPECT_NEAR(p.poleX, c.poleX, 0.0051);
    EXPECT_NEAR(p.poleY, c.poleY, 0.0051);
    EXPECT_NEAR(std::hypot(p.poleX - p.stars[0].x, p.poleY - p.stars[0].y), c.distanceFromB,
                0.0051);
}

INSTANTIATE_TEST_SUITE_P(
    Templates, TemplatePoleTest,
    ::testing::Values(PoleCase{Hemisphere::North, 2016, 393.71, 321.58, 78.67},
                      PoleCase{Hemisphere::North, 2024, 397.22, 325.55, 74.51},
                      PoleCase{Hemisphere::South, 2016, 283.04, 396.16, 131.07},
                      PoleCase{Hemisphere::South, 2024, 281.46, 401.20, 134.80}));

TEST(TemplateGeometry, StarsArePoleStarFirstThenAAndD) {
    const TemplatePattern north = GetTemplatePattern(Hemisphere::North, 2020);
    ASSERT_GE(north.stars.size(), 6u);
    EXPECT_EQ(north.stars[0].label, "B");
    EXPECT_EQ(north.stars[1].label, "A");
    EXPECT_EQ(north.stars[2].label, "D");
    EXPECT_DOUBLE_EQ(north.stars[1].x, 445);
    EXPECT_DOUBLE_EQ(north.stars[2].y, 495);
    for (const Hemisphere h : {Hemisphere::North, Hemisphere::South}) {
        const TemplatePattern p = GetTemplatePattern(h, 2024);
        for (std::size_t i = 1; i < p.stars.size(); ++i)
            EXPECT_GT(p.stars[i].magnitude, p.stars[0].magnitude) << "the pole star is brightest";
    }
}

TEST(TemplateGeometry, PoleKeepsTheYearsAngles) {
    for (const Hemisphere h : {Hemisphere::North, Hemisphere::South})
        for (int year = 2016; year <= 2024; ++year) {
            const TemplatePattern p = GetTemplatePattern(h, year);
            const TemplateStar& b = p.stars[0];
            const TemplateStar& a = p.stars[1];
            auto angle = [](double ox, double oy, double ux, double uy, double vx, double vy) {
                const double a1 = std::atan2(uy - oy, ux - ox), a2 = std::atan2(vy - oy, vx - ox);
                double d = std::abs(a1 - a2) * 180.0 / M_PI;
                return d > 180 ? 360 - d : d;
            };
            EXPECT_NEAR(angle(a.x, a.y, b.x, b.y, p.poleX, p.poleY), p.angles.bap, 1e-9) << year;
            EXPECT_NEAR(angle(b.x, b.y, a.x, a.y, p.poleX, p.poleY), p.angles.abp, 1e-9) << year;
        }
}

TEST(TemplateGeometry, TriangulationFailsWithoutATriangle) {
    EXPECT_FALSE(TriangulatePole({1, 1}, {1, 1}, {5, 5}, {10, 20, 30}));
    EXPECT_FALSE(TriangulatePole({0, 0}, {10, 0}, {5, 5}, {100, 80, 30}));
}

TEST(TemplateGeometry, DataSetSwitchesOnTheTwentyThirdOfNovember) {
    struct Case {
        int y, m, d, set;
    };
    for (const Case& c : {Case{2016, 11, 22, 2016}, Case{2016, 11, 23, 2017},
                          Case{2019, 5, 1, 2019}, Case{2023, 11, 22, 2023},
                          Case{2023, 11, 23, 2024}, Case{2030, 1, 1, 2024}, Case{2001, 7, 7, 2016}})
        EXPECT_EQ(DataSetYearForDate(c.y, c.m, c.d), c.set) << c.y << "-" << c.m << "-" << c.d;
}

TEST(MountModel, RefractionFollowsBennett) {
    EXPECT_NEAR(RefractionArcmin(39.9, 101, 10), 1.189011, 1e-6);
    EXPECT_NEAR(RefractionArcmin(0, 101, 10), 34.477534, 1e-6);
    EXPECT_NEAR(RefractionArcmin(39.9, 101.3, 0), 1.189011 * 1.039709, 1e-5);
    EXPECT_DOUBLE_EQ(RefractionArcmin(90, 101, 10), 0.0);
}

TEST(MountModel, SkyTurnsCounterClockwiseInTheNorth) {
    const double quarterDay = SIDEREAL_DAY_SECONDS / 4;
    EXPECT_NEAR(SkyTurnDeg(Hemisphere::North, 10, quarterDay), 10 - 90, 1e-9);
    EXPECT_NEAR(SkyTurnDeg(Hemisphere::South, 10, quarterDay), 10 + 90, 1e-9);
    EXPECT_DOUBLE_EQ(SkyTurnDeg(Hemisphere::North, 5, 0), 5);
}

struct BadValue {
    const char* ini;
    const char* what;
};

TEST(SimConfigParse, OutOfRangeValuesKeepTheirDefaults) {
    const SimConfig defaults;
    for (const BadValue& c :
         {BadValue{"[mount]\naltErrArcmin=601\n", "alt"}, BadValue{"[mount]\naxisX=1280\n", "axis"},
          BadValue{"[mount]\nrollDeg=abc\n", "roll"}, BadValue{"[sky]\npsfSigmaPx=0\n", "psf"},
          BadValue{"[sky]\nhemisphere=east\n", "hemisphere"},
          BadValue{"[sky]\ndate=2024/06/01\n", "date"},
          BadValue{"[sensor]\nhotPixels=2.5\n", "hot"},
          BadValue{"[faults]\nframeSize=big\n", "size"},
          // Numbers beyond an int are refused, not wrapped into range.
          BadValue{"[faults]\nframeSize=4294967297x480\n", "wrapping size"},
          BadValue{"[sky]\ndate=4294969320-06-01\n", "wrapping year"},
          BadValue{"[faults]\nrefuseGain=1e300\n", "huge gain"}}) {
        SimConfig cfg;
        std::vector<std::string> warnings;
        ASSERT_TRUE(ParseSimConfig(c.ini, cfg, warnings)) << c.what;
        EXPECT_EQ(warnings.size(), 1u) << c.what;
        EXPECT_EQ(cfg.mount.altErrArcmin, defaults.mount.altErrArcmin) << c.what;
        EXPECT_EQ(cfg.mount.axisX, defaults.mount.axisX) << c.what;
        EXPECT_EQ(cfg.mount.rollDeg, defaults.mount.rollDeg) << c.what;
        EXPECT_EQ(cfg.render, defaults.render) << c.what;
        EXPECT_EQ(cfg.sky.hemisphere, defaults.sky.hemisphere) << c.what;
        EXPECT_EQ(cfg.sky.date, defaults.sky.date) << c.what;
        EXPECT_EQ(cfg.faults.frameWidth, 0) << c.what;
    }
}

TEST(SimConfigParse, ReadsListsAndNumbersWhateverTheLocale) {
    SimConfig cfg;
    std::vector<std::string> warnings;
    ASSERT_TRUE(ParseSimConfig("[camera]\nids = B-CAM , ZENITHWAND-X,ZENITHWAND-Y\n"
                               "[mount]\nraAngleDeg=+12.5\n[faults]\nrefuseGain=90, 100\n"
                               "getIdFail=0\nframeSize=640x480\n",
                               cfg, warnings));
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(cfg.camera.ids, (std::vector<std::string>{"B-CAM", "ZENITHWAND-X", "ZENITHWAND-Y"}));
    EXPECT_DOUBLE_EQ(cfg.mount.raAngleDeg, 12.5);
    EXPECT_EQ(cfg.faults.refusedGains, (std::vector<int>{90, 100}));
    EXPECT_EQ(cfg.faults.getIdFailIndexes, (std::vector<int>{0}));
    EXPECT_EQ(cfg.faults.frameWidth, 640);
    EXPECT_EQ(cfg.faults.frameHeight, 480);
}

} // namespace
