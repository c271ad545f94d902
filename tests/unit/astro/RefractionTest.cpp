#include "astro/Refraction.h"

#include <erfa.h>
#include <erfam.h>

#include <gtest/gtest.h>

namespace {

TEST(CorrectRefractionTest, SubtractsBennettRefractionScaledForAir) {
    struct Case {
        double h, P, T, out;
    };
    const Case cases[] = {
        {39.9, 101, 10, 498.810989},
        {45, 101, 10, 499.005152},
        {0, 101, 10, 465.522466},
        {39.9, 101.3, 0, 498.763774},
        {39.9, 55, -273, 498.810989}, // 273 + T = 0: no pressure or
                                      // temperature factor
        {90, 101, 10, 500},           // the cotangent is negative there: no correction
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.h);
        double out = 0;
        EXPECT_EQ(CorrectRefraction(500, c.h, c.P, c.T, out), 1);
        EXPECT_NEAR(out, c.out, 5e-7);
    }
}

} // namespace

namespace {

// ERFA's observed place of a star near the pole, seen from a site, with the air and
// without: the difference of the zenith distances is the refraction at the star's
// true altitude.
struct ObservedRefraction {
    double trueAltitudeDeg = 0;
    double arcsec = 0;
};

ObservedRefraction ErfaObservedRefraction(double latitudeDeg, double elevationM,
                                          const AirConditions& air) {
    const double ra = 37.95 * ERFA_DD2R;
    const double dec = (latitudeDeg >= 0 ? 89.26 : -88.95) * ERFA_DD2R;
    const double utc1 = 2461000.5, utc2 = 0.25; // 2025-11-20 06:00 UTC
    auto zenithDistance = [&](double pressureHpa) {
        double aob, zob, hob, dob, rob, eo;
        EXPECT_EQ(eraAtco13(ra, dec, 0, 0, 0, 0, utc1, utc2, 69.0, 12.3 * ERFA_DD2R,
                            latitudeDeg * ERFA_DD2R, elevationM, 0, 0, pressureHpa,
                            air.temperatureC, air.humidity, air.wavelengthUm, &aob, &zob, &hob,
                            &dob, &rob, &eo),
                  0);
        return zob;
    };
    const double vacuum = zenithDistance(0.0);
    const double refracted = zenithDistance(air.pressureKPa * 10.0);
    return {90.0 - vacuum * ERFA_DR2D, (vacuum - refracted) * ERFA_DR2AS};
}

TEST(ErfaRefractionTest, MatchesErfaObservedPlacesAt20To60Degrees) {
    struct Case {
        double latitude, elevationM;
        AirConditions air;
    };
    const Case cases[] = {
        {20, 0, {101.3, 25, 0.8, 0.55}},    {-20, 0, {101.3, 25, 0.8, 0.55}},
        {35, 300, {97.8, 10, 0.5, 0.55}},   {-35, 1100, {88.6, 5, 0.3, 0.65}},
        {40, 2400, {75.6, 0, 0.2, 0.55}},   {48, 0, {102.5, -15, 0.9, 0.45}},
        {60, 0, {101.0, -5, 0.5, 0.55}},    {-60, 4500, {57.7, -20, 0.1, 0.55}},
        {-45, 5400, {50.0, -25, 0.0, 0.8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.latitude);
        const ObservedRefraction truth = ErfaObservedRefraction(c.latitude, c.elevationM, c.air);
        ASSERT_GT(truth.trueAltitudeDeg, 18.0);
        ASSERT_LT(truth.trueAltitudeDeg, 62.0);
        EXPECT_NEAR(ErfaRefractionArcmin(truth.trueAltitudeDeg, c.air) * 60.0, truth.arcsec, 0.5);
        EXPECT_NEAR(RefractionArcminOf(RefractionModel::Erfa, truth.trueAltitudeDeg, c.air) * 60.0,
                    truth.arcsec, 0.5);
    }
}

TEST(ErfaRefractionTest, TheOlderFormulaStaysReachableAndLiesAFewArcsecondsHigh) {
    const AirConditions air{101.0, 10.0, 0.5, 0.55};
    for (const double h : {20.0, 30.0, 40.0, 50.0, 60.0}) {
        SCOPED_TRACE(h);
        const double formula = RefractionArcminOf(RefractionModel::Formula, h, air) * 60.0;
        const double erfa = RefractionArcminOf(RefractionModel::Erfa, h, air) * 60.0;
        EXPECT_DOUBLE_EQ(formula, RefractionArcmin(h, 101.0, 10.0) * 60.0);
        EXPECT_GT(formula - erfa, 0.5);
        EXPECT_LT(formula - erfa, 5.0);
    }
    EXPECT_EQ(RefractionModelOfWord(QStringLiteral("Formula")), RefractionModel::Formula);
    EXPECT_EQ(RefractionModelOfWord(QStringLiteral("")), RefractionModel::Erfa);
    EXPECT_EQ(RefractionModelOfWord(RefractionModelWord(RefractionModel::Formula)),
              RefractionModel::Formula);
}

TEST(ErfaRefractionTest, StandardPressureFollowsTheElevation) {
    struct Case {
        double elevationM, kPa;
    };
    const Case cases[] = {{0, 101.325}, {1000, 89.88}, {2400, 75.62}, {5000, 54.02}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.elevationM);
        EXPECT_NEAR(StandardPressureKPa(c.elevationM), c.kPa, 0.02);
    }
    // A thinner air bends less, in proportion.
    AirConditions sea{StandardPressureKPa(0), 10, 0.5, 0.55};
    AirConditions high = sea;
    high.pressureKPa = StandardPressureKPa(2400);
    EXPECT_NEAR(ErfaRefractionArcmin(40, high) / ErfaRefractionArcmin(40, sea),
                high.pressureKPa / sea.pressureKPa, 0.01);
    EXPECT_EQ(ErfaRefractionArcmin(40, AirConditions{0, 10, 0.5, 0.55}), 0.0);
}

} // namespace
