#include "astro/SkyOfDate.h"
#include "astro/MaskPole.h"
#include "astro/StarData.h"
#include "astro/Triangulation.h"
#include "unit/astro/LogCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct PlanePoint {
    double x, y;
};

// The pole as the program places it: triangle A-B-P from the angles at A and B,
// the mirror solution chosen by the angle D-B-P, as for the template.
PlanePoint TriangulatedPole(const TemplateOfDate& t, double bap, double abp, double dbp) {
    const PoleCandidates c =
        TrianglePoleCandidates(t.a.xArcsec, t.a.yArcsec, bap, t.b.xArcsec, t.b.yArcsec, abp);
    EXPECT_EQ(c.kind, PoleCandidates::Two);
    PlanePoint p{};
    PickPoleCandidate(c.x1, c.y1, c.x2, c.y2, t.d.xArcsec, t.d.yArcsec, t.b.xArcsec, t.b.yArcsec,
                      dbp, p.x, p.y);
    return p;
}

// Polar distance (arcsec) of a star the way a site sees it: ERFA's route to observed
// hour angle and declination (no refraction), which turns about the pole of date.
double ObservedPolarDistanceArcsec(const CatalogueStar& s, const UtcMoment& m, double latDeg) {
    double utc1 = 0, utc2 = 0;
    eraDtf2d("UTC", m.year, m.month, m.day, m.hour, m.minute, m.second, &utc1, &utc2);
    const double dec = s.decDeg * ERFA_DD2R;
    double aob, zob, hob, dob, rob, eo;
    const int status = eraAtco13(
        s.raDeg * ERFA_DD2R, dec, s.pmRaCosDecMasYr * ERFA_DMAS2R / std::cos(dec),
        s.pmDecMasYr * ERFA_DMAS2R, s.parallaxMas / 1000.0, 0.0, utc1, utc2, 0.0, 0.0,
        latDeg * ERFA_DD2R, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.55, &aob, &zob, &hob, &dob, &rob, &eo);
    EXPECT_GE(status, 0);
    return (ERFA_DPI / 2 - std::abs(dob)) * ERFA_DR2AS;
}

double PlaneRadiusAsPolarDistance(const StarOfDate& s) {
    return std::atan(std::hypot(s.xArcsec, s.yArcsec) / ERFA_DR2AS) * ERFA_DR2AS;
}

const char* Name(SkyHemisphere h) {
    return h == SkyHemisphere::South ? "south" : "north";
}

} // namespace

// Over the years the program will be used, the pole triangulated from A and B with
// the module's angles is the pole the sky turns around: the stars' polar distances
// agree with an independent observed-place computation, and the triangulated point
// is the plane's origin.
TEST(SkyOfDateTest, TriangulatedPoleIsThePoleOfDate) {
    for (const SkyHemisphere h : {SkyHemisphere::North, SkyHemisphere::South})
        for (int year = 2016; year <= 2035; ++year) {
            const UtcMoment m{year, 1 + (year * 5) % 12, 1 + (year * 7) % 28, (year * 3) % 24, 17,
                              30.5};
            SCOPED_TRACE(std::string(Name(h)) + " " + std::to_string(year));
            const std::optional<SkyOfDate> sky = SkyOfDate::At(m);
            ASSERT_TRUE(sky);
            const TemplateOfDate t = sky->Template(h);
            const PlanePoint p = TriangulatedPole(t, t.bap, t.abp, t.dbp);
            EXPECT_LT(std::hypot(p.x, p.y), 1.0);

            const TemplateCatalogueStars& cat = TemplateStarsOf(h);
            const double lat = h == SkyHemisphere::South ? -35.0 : 48.0;
            // Diurnal aberration (at most 0.32") separates observed from CIRS places.
            EXPECT_NEAR(PlaneRadiusAsPolarDistance(t.a), ObservedPolarDistanceArcsec(cat.a, m, lat),
                        0.4);
            EXPECT_NEAR(PlaneRadiusAsPolarDistance(t.b), ObservedPolarDistanceArcsec(cat.b, m, lat),
                        0.4);
            EXPECT_NEAR(PlaneRadiusAsPolarDistance(t.d), ObservedPolarDistanceArcsec(cat.d, m, lat),
                        0.4);
        }
}

// The dated data follow the mean pole: placed with the table's angles, the pole
// misses the pole of date by its nutation and aberration (15 to 34 arcsec on the
// table's own dates), and by ever more after its last set as precession goes on.
TEST(SkyOfDateTest, DatedDataMissThePoleOfDateByWhatTheyLeaveOut) {
    struct Case {
        SkyHemisphere hemisphere;
        UtcMoment moment;
        double tableMissArcsec; // pole from the table's angles against the pole of date
    };
    const Case cases[] = {
        {SkyHemisphere::North, {2016, 5, 23, 0, 0, 0}, 23.4},
        {SkyHemisphere::South, {2016, 5, 23, 0, 0, 0}, 16.5},
        {SkyHemisphere::North, {2024, 5, 23, 0, 0, 0}, 23.8},
        {SkyHemisphere::South, {2024, 5, 23, 0, 0, 0}, 16.2},
        {SkyHemisphere::North, {2026, 12, 10, 0, 0, 0}, 73.1},
        {SkyHemisphere::South, {2026, 12, 10, 0, 0, 0}, 32.3},
        {SkyHemisphere::North, {2030, 6, 1, 0, 0, 0}, 106.0},
    };
    LogCapture log;
    for (const Case& c : cases) {
        const UtcMoment& m = c.moment;
        SCOPED_TRACE(std::string(Name(c.hemisphere)) + " " + std::to_string(m.year));
        const char* letter = c.hemisphere == SkyHemisphere::South ? "S" : "N";
        STARDATA table = StarDataStartValues(letter);
        LoadStarData(letter, table, QDate(m.year, m.month, m.day));
        const TemplateOfDate t = SkyOfDate::At(m)->Template(c.hemisphere);

        const PlanePoint p = TriangulatedPole(t, table.bap, table.abp, table.dbp);
        EXPECT_NEAR(std::hypot(p.x, p.y), c.tableMissArcsec, 0.5);
        // The triangle is the table's, only its apex moved: the angles differ by
        // about the miss over the distances from A and B to the pole.
        const double abArcsec = std::hypot(t.a.xArcsec - t.b.xArcsec, t.a.yArcsec - t.b.yArcsec);
        EXPECT_NEAR(abArcsec, 5700, 40); // A-B as the template draws it (30.5"/px)
        for (const double d : {t.bap - table.bap, t.abp - table.abp, t.dbp - table.dbp})
            EXPECT_LT(std::abs(d), 3.0 * c.tableMissArcsec / 1000.0 * ERFA_DR2D);
        const std::string tag = std::string(Name(c.hemisphere)) + "_" + std::to_string(m.year);
        ::testing::Test::RecordProperty(tag + "_dBAP_deg", std::to_string(t.bap - table.bap));
        ::testing::Test::RecordProperty(tag + "_dABP_deg", std::to_string(t.abp - table.abp));
        ::testing::Test::RecordProperty(tag + "_dDBP_deg", std::to_string(t.dbp - table.dbp));
    }
}

// The camera's plane keeps the handedness of the template pictures, so the template
// stars keep the template's order around B and their separations at its scale.
TEST(SkyOfDateTest, PlaneMatchesTheTemplatePictures) {
    LogCapture log;
    for (const SkyHemisphere h : {SkyHemisphere::North, SkyHemisphere::South}) {
        SCOPED_TRACE(Name(h));
        const char* letter = h == SkyHemisphere::South ? "S" : "N";
        STARDATA tpl = StarDataStartValues(letter);
        LoadStarData(letter, tpl, QDate(2024, 5, 23));
        const TemplateOfDate t = SkyOfDate::At({2024, 5, 23, 0, 0, 0})->Template(h);
        auto cross = [](double ax, double ay, double bx, double by, double dx, double dy) {
            return (ax - bx) * (dy - by) - (ay - by) * (dx - bx);
        };
        const double sky =
            cross(t.a.xArcsec, t.a.yArcsec, t.b.xArcsec, t.b.yArcsec, t.d.xArcsec, t.d.yArcsec);
        const double picture = cross(tpl.aX, tpl.aY, tpl.bX, tpl.bY, tpl.dX, tpl.dY);
        EXPECT_GT(sky * picture, 0.0);
        const double scale = std::hypot(t.d.xArcsec - t.b.xArcsec, t.d.yArcsec - t.b.yArcsec) /
                             std::hypot(tpl.dX - tpl.bX, tpl.dY - tpl.bY);
        EXPECT_NEAR(scale, 30.5, 0.3);
    }
}

TEST(SkyOfDateTest, InvalidMomentsGiveNoSky) {
    const UtcMoment invalid[] = {{2026, 2, 30, 0, 0, 0},
                                 {2026, 13, 1, 0, 0, 0},
                                 {2026, 12, 10, 24, 0, 0},
                                 {2026, 12, 10, 12, 60, 0}};
    for (const UtcMoment& m : invalid)
        EXPECT_FALSE(SkyOfDate::At(m))
            << m.year << "-" << m.month << "-" << m.day << " " << m.hour << ":" << m.minute;
    // A leap second is a moment of its own.
    EXPECT_TRUE(SkyOfDate::At({2016, 12, 31, 23, 59, 60.5}));
}

TEST(SkyOfDateTest, PlaneAngleIsUnsignedAndSymmetric) {
    struct Case {
        double vx, vy, p1x, p1y, p2x, p2y, deg;
    };
    const Case cases[] = {
        {0, 0, 1, 0, 0, 1, 90}, {0, 0, 0, 1, 1, 0, 90},  {1, 1, 2, 1, 0, 1, 180},
        {1, 1, 2, 2, 3, 3, 0},  {0, 0, 1, 0, 1, -1, 45}, {5, 5, 5, 5, 6, 6, 0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(PlaneAngleDeg(c.vx, c.vy, c.p1x, c.p1y, c.p2x, c.p2y), c.deg, 1e-12);
}
