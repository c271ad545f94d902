#include "astro/SkyInImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

// The truth of a synthetic frame: the camera's plane of the moment laid into the
// image at a plate scale, turned by the camera's roll, with the pole at a point.
struct Frame {
    double poleX = 640, poleY = 480;
    double rollDeg = 0; // clockwise on the screen
    double arcsecPerPx = 30.5;

    cv::Point2d ToImage(double planeX, double planeY) const {
        const double r = rollDeg * ERFA_DD2R;
        const double x = planeX / arcsecPerPx, y = planeY / arcsecPerPx;
        return {poleX + x * std::cos(r) - y * std::sin(r),
                poleY + x * std::sin(r) + y * std::cos(r)};
    }
    void ToPlane(cv::Point2d p, double& planeX, double& planeY) const {
        const double r = -rollDeg * ERFA_DD2R;
        const double x = (p.x - poleX) * arcsecPerPx, y = (p.y - poleY) * arcsecPerPx;
        planeX = x * std::cos(r) - y * std::sin(r);
        planeY = x * std::sin(r) + y * std::cos(r);
    }
};

struct Site {
    double latDeg; // signed: south negative
    double eastLonDeg;
    UtcMoment moment;
    SkyHemisphere hemisphere() const {
        return latDeg < 0 ? SkyHemisphere::South : SkyHemisphere::North;
    }
};

// Observed azimuth and altitude (radians) of an image point, by ERFA's CIRS to
// observed route without refraction: the independent judge.
void AzAlt(const Site& site, const Frame& f, cv::Point2d p, double& az, double& alt) {
    double x = 0, y = 0;
    f.ToPlane(p, x, y);
    // Inverse of the gnomonic plane about the pole (north: RA from +x clockwise).
    const double r = std::hypot(x, y) / ERFA_DR2AS;
    const bool south = site.hemisphere() == SkyHemisphere::South;
    const double dec = south ? -std::atan2(1.0, r) : std::atan2(1.0, r);
    const double ra = south ? std::atan2(-y, x) : std::atan2(y, x);
    double utc1 = 0, utc2 = 0;
    const UtcMoment& m = site.moment;
    ASSERT_GE(eraDtf2d("UTC", m.year, m.month, m.day, m.hour, m.minute, m.second, &utc1, &utc2), 0);
    double aob, zob, hob, dob, rob;
    ASSERT_GE(eraAtio13(ra, dec, utc1, utc2, 0.0, site.eastLonDeg * ERFA_DD2R,
                        site.latDeg * ERFA_DD2R, 0.0, 0.0, 0.0, 0.0, 10.0, 0.5, 0.55, &aob, &zob,
                        &hob, &dob, &rob),
              0);
    az = aob;
    alt = ERFA_DPI / 2 - zob;
}

// What ERFA says about the frame: the altitude and east gradients (arcsec of sky per
// pixel) from two points 1' above and beside the pole.
struct Judge {
    double altGradX, altGradY;   // altitude gained per pixel moved
    double eastGradX, eastGradY; // eastward arc gained per pixel moved
};

Judge JudgeOf(const Site& site, const Frame& f) {
    const double k = 60.0 / f.arcsecPerPx; // pixels in 1'
    const cv::Point2d pole(f.poleX, f.poleY);
    double az0, alt0, azU, altU, azR, altR;
    AzAlt(site, f, pole, az0, alt0);
    AzAlt(site, f, pole + cv::Point2d(0, -k), azU, altU);
    AzAlt(site, f, pole + cv::Point2d(k, 0), azR, altR);
    // Azimuth counts from north through east: facing the south pole east is the
    // smaller azimuth, so the arc toward the east has the sign of the hemisphere.
    const double east = site.latDeg < 0 ? -1.0 : 1.0;
    auto arc = [](double a) { return std::remainder(a, 2 * ERFA_DPI) * ERFA_DR2AS; };
    Judge j{};
    j.altGradX = arc(altR - alt0) / k;
    j.altGradY = -arc(altU - alt0) / k;
    j.eastGradX = east * arc(azR - az0) * std::cos(alt0) / k;
    j.eastGradY = -east * arc(azU - az0) * std::cos(alt0) / k;
    return j;
}

std::optional<SkyInImage> Measure(const Site& site, const Frame& f) {
    const std::optional<SkyOfDate> sky = SkyOfDate::At(site.moment);
    if (!sky)
        return std::nullopt;
    const SkyOfMoment m = SkyOfMomentAt(*sky, site.hemisphere(), site.eastLonDeg);
    const cv::Point2d a = f.ToImage(m.aX, m.aY);
    const cv::Point2d b = f.ToImage(m.bX, m.bY);
    return SkyInImage::From(m, a.x, a.y, b.x, b.y);
}

TEST(SkyInImageTest, ZenithAndSplitAgreeWithErfaForRandomSitesMomentsAndRolls) {
    std::mt19937 rng(20261210);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    double worstDirDeg = 0, worstAltArcsec = 0, worstAzArcsec = 0, worstScale = 0;
    for (int i = 0; i < 200; ++i) {
        const double lat = (15 + 60 * unit(rng)) * (i % 2 ? -1 : 1);
        const Site site{lat, -180 + 360 * unit(rng),
                        UtcMoment{2020 + int(10 * unit(rng)), 1 + int(12 * unit(rng)),
                                  1 + int(28 * unit(rng)), int(24 * unit(rng)), int(60 * unit(rng)),
                                  60 * unit(rng) * 0.999}};
        Frame f;
        f.rollDeg = -180 + 360 * unit(rng);
        f.arcsecPerPx = 15 + 30 * unit(rng);
        f.poleX = 300 + 600 * unit(rng);
        f.poleY = 200 + 500 * unit(rng);
        SCOPED_TRACE(testing::Message() << "case " << i << " lat " << site.latDeg << " lon "
                                        << site.eastLonDeg << " roll " << f.rollDeg);

        const std::optional<SkyInImage> s = Measure(site, f);
        ASSERT_TRUE(s);
        worstScale = std::max(worstScale, std::abs(s->ArcsecPerPixel() - f.arcsecPerPx));
        const Judge j = JudgeOf(site, f);

        const double dirDeg = std::abs(std::remainder(std::atan2(s->ZenithY(), s->ZenithX()) -
                                                          std::atan2(j.altGradY, j.altGradX),
                                                      2 * ERFA_DPI) *
                                       ERFA_DR2D);
        worstDirDeg = std::max(worstDirDeg, dirDeg);

        // The RA axis somewhere within 10' of the pole.
        const double reach = 600.0 / f.arcsecPerPx;
        const double axisX = f.poleX + reach * (2 * unit(rng) - 1);
        const double axisY = f.poleY + reach * (2 * unit(rng) - 1);
        const AltAzError e = s->ErrorOf(f.poleX, f.poleY, axisX, axisY);
        // The pole against the axis: what the axis must gain to reach it.
        const double dx = f.poleX - axisX, dy = f.poleY - axisY;
        const double alt = j.altGradX * dx + j.altGradY * dy;
        const double east = j.eastGradX * dx + j.eastGradY * dy;
        worstAltArcsec = std::max(worstAltArcsec, std::abs(e.altArcsec - alt));
        worstAzArcsec = std::max(worstAzArcsec, std::abs(e.azArcsec - east));
    }
    RecordProperty("worst_zenith_direction_deg", std::to_string(worstDirDeg));
    RecordProperty("worst_altitude_arcsec", std::to_string(worstAltArcsec));
    RecordProperty("worst_azimuth_arcsec", std::to_string(worstAzArcsec));
    std::printf(
        "worst zenith direction %.4f deg, altitude %.3f\", azimuth %.3f\", scale %.2e\"/px\n",
        worstDirDeg, worstAltArcsec, worstAzArcsec, worstScale);
    EXPECT_LT(worstDirDeg, 0.5);
    EXPECT_LT(worstAltArcsec, 1.0);
    EXPECT_LT(worstAzArcsec, 1.0);
    EXPECT_LT(worstScale, 1e-6);
}

// Which way the hints point, with the axis 2' from the pole in each direction the
// judge (ERFA) names.
TEST(SkyInImageTest, HintSignsFollowWhereThePoleLiesAgainstTheAxis) {
    struct Case {
        const char* what;
        double latDeg;
        double towardAlt, towardEast; // where the pole lies seen from the axis
        int altSign, azSign;          // + raise / east
    };
    const Case cases[] = {
        {"north, pole above", 48, 1, 0, 1, 0},  {"north, pole below", 48, -1, 0, -1, 0},
        {"north, pole east", 48, 0, 1, 0, 1},   {"north, pole west", 48, 0, -1, 0, -1},
        {"south, pole above", -33, 1, 0, 1, 0}, {"south, pole below", -33, -1, 0, -1, 0},
        {"south, pole east", -33, 0, 1, 0, 1},  {"south, pole west", -33, 0, -1, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Site site{c.latDeg, 11.5, UtcMoment{2026, 12, 10, 21, 30, 0}};
        Frame f;
        f.rollDeg = 73;
        const std::optional<SkyInImage> s = Measure(site, f);
        ASSERT_TRUE(s);
        const Judge j = JudgeOf(site, f);
        // Image step per arcsecond toward the altitude / east, from the judge's gradients.
        const double det = j.altGradX * j.eastGradY - j.altGradY * j.eastGradX;
        const double upX = j.eastGradY / det, upY = -j.eastGradX / det;
        const double eastX = -j.altGradY / det, eastY = j.altGradX / det;
        const double arc = 120;
        const double axisX = f.poleX - arc * (c.towardAlt * upX + c.towardEast * eastX);
        const double axisY = f.poleY - arc * (c.towardAlt * upY + c.towardEast * eastY);
        const AltAzError e = s->ErrorOf(f.poleX, f.poleY, axisX, axisY);
        EXPECT_NEAR(e.totalArcsec, arc, 1.0);
        EXPECT_NEAR(e.altArcsec, c.altSign * arc, 1.0);
        EXPECT_NEAR(e.azArcsec, c.azSign * arc, 1.0);
    }
}

TEST(SkyInImageTest, RefractionShiftMovesStarsAwayFromTheZenithInPixels) {
    const Site site{40, -75, UtcMoment{2025, 3, 1, 4, 0, 0}};
    Frame f;
    f.rollDeg = -131;
    f.arcsecPerPx = 20;
    const std::optional<SkyInImage> s = Measure(site, f);
    ASSERT_TRUE(s);
    const cv::Point2d shift = s->RefractionShiftPx(1.2); // 72" = 3.6 px
    EXPECT_NEAR(std::hypot(shift.x, shift.y), 3.6, 1e-9);
    EXPECT_NEAR(shift.x * s->ZenithX() + shift.y * s->ZenithY(), -3.6, 1e-9);
}

TEST(SkyInImageTest, CoincidentStarsGiveNothing) {
    SkyOfMoment m;
    m.aX = 100;
    m.bX = 200;
    EXPECT_FALSE(SkyInImage::From(m, 5, 5, 5, 5));
    m.bX = 100;
    EXPECT_FALSE(SkyInImage::From(m, 5, 5, 9, 5));
    EXPECT_DOUBLE_EQ(MeridianRaDeg(350, 20), 10);
    EXPECT_DOUBLE_EQ(MeridianRaDeg(10, -20), 350);
}

// The sky of a frame: the meridian of the frame's moment, from the Earth rotation
// angle written out from its definition (IERS conventions: 0.7790572732640 +
// 1.00273781191135448 turns per UT day since J2000.0, 2000-01-01 12:00), and the
// stars left as they were.
TEST(SkyInImageTest, SkyAdvancedToAMomentTurnsByTheEarthRotationAngle) {
    struct Case {
        UtcMoment moment;
        double eastLonDeg;
        int jdDay; // Julian day number of the date (noon)
    };
    const Case cases[] = {
        {{2000, 1, 1, 12, 0, 0.0}, 0.0, 2451545},       // the epoch itself: 280.46°
        {{2026, 12, 10, 21, 30, 0.0}, 116.3, 2461385},  // east of Greenwich
        {{2026, 12, 10, 21, 30, 15.5}, -75.0, 2461385}, // fifteen seconds later, west
        {{2025, 3, 1, 4, 0, 0.0}, -179.9, 2460736},
        {{2031, 6, 21, 23, 59, 59.0}, 179.9, 2463039},
    };
    SkyOfMoment stars;
    stars.aX = 1234.5;
    stars.aY = -678.25;
    stars.bX = 11.0;
    stars.bY = 2400.0;
    stars.meridianRaDeg = 42.0; // of some other moment: replaced
    stars.hemisphere = SkyHemisphere::South;
    for (const Case& c : cases) {
        const UtcMoment& m = c.moment;
        SCOPED_TRACE(::testing::Message() << m.year << "-" << m.month << "-" << m.day << " "
                                          << m.hour << ":" << m.minute << ":" << m.second);
        const double daysSinceJ2000 =
            (c.jdDay - 2451545) + (m.hour - 12) / 24.0 + m.minute / 1440.0 + m.second / 86400.0;
        const double turns = 0.7790572732640 + 1.00273781191135448 * daysSinceJ2000;
        double expected = std::fmod((turns - std::floor(turns)) * 360.0 + c.eastLonDeg, 360.0);
        if (expected < 0)
            expected += 360.0;

        const std::optional<SkyOfMoment> s = SkyOfMomentAdvanced(stars, m, c.eastLonDeg);
        ASSERT_TRUE(s);
        // 1e-6° is 0.004" of turn: far below anything the read-out shows.
        EXPECT_NEAR(std::remainder(s->meridianRaDeg - expected, 360.0), 0.0, 1e-6);
        EXPECT_GE(s->meridianRaDeg, 0.0);
        EXPECT_LT(s->meridianRaDeg, 360.0);
        EXPECT_EQ(s->aX, stars.aX);
        EXPECT_EQ(s->bY, stars.bY);
        EXPECT_EQ(s->hemisphere, SkyHemisphere::South);
    }
    // The moment's own sky agrees with the advanced one to the same precision.
    const UtcMoment later{2026, 12, 10, 21, 30, 15.5};
    const std::optional<SkyOfDate> own = SkyOfDate::At(later);
    ASSERT_TRUE(own);
    EXPECT_NEAR(std::remainder(SkyOfMomentAdvanced(stars, later, -75.0)->meridianRaDeg -
                                   SkyOfMomentAt(*own, SkyHemisphere::South, -75.0).meridianRaDeg,
                               360.0),
                0.0, 1e-9);
    EXPECT_FALSE(SkyOfMomentAdvanced(stars, {2026, 2, 30, 0, 0, 0.0}, 0.0));
}

} // namespace
