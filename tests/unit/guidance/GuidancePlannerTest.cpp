// The guidance planner: the parking-sensor tone, the amounts as spoken, the settling and
// the choice of the axis to advise.
#include "guidance/GuidancePlanner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

GuidanceInput Error(double alt, double az, bool valid = true) {
    return GuidanceInput{valid, std::hypot(alt, az), alt, az};
}

TEST(GuidancePlanner, ToneIsFasterAndHigherAsTheErrorShrinks) {
    const GuidancePlanner planner;
    const GuidanceParams& p = planner.Params();
    struct Case {
        double arcsec;
        double intervalMs;
        double pitchHz;
    } cases[] = {
        {5000.0, p.slowestIntervalMs, p.lowPitchHz}, // far out: held at the slow end
        {1200.0, p.slowestIntervalMs, p.lowPitchHz},
        {30.0, p.fastestIntervalMs, p.highPitchHz}, // at the band
        {3.0, p.fastestIntervalMs, p.highPitchHz},
        {std::sqrt(1200.0 * 30.0), (p.slowestIntervalMs + p.fastestIntervalMs) / 2,
         (p.lowPitchHz + p.highPitchHz) / 2}, // the geometric middle is the middle
    };
    for (const Case& c : cases) {
        const GuidanceTone t = planner.ToneFor(c.arcsec);
        EXPECT_NEAR(t.intervalMs, c.intervalMs, 1e-6) << c.arcsec;
        EXPECT_NEAR(t.pitchHz, c.pitchHz, 1e-6) << c.arcsec;
    }
    GuidanceTone previous = planner.ToneFor(1200.0);
    for (double e = 1100.0; e > 30.0; e *= 0.9) {
        const GuidanceTone t = planner.ToneFor(e);
        EXPECT_LT(t.intervalMs, previous.intervalMs) << e;
        EXPECT_GT(t.pitchHz, previous.pitchHz) << e;
        previous = t;
    }
    const GuidanceTone nan = planner.ToneFor(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(nan.intervalMs, p.slowestIntervalMs);
}

TEST(GuidancePlanner, AmountsAreWholeArcminutesOrTensOfArcseconds) {
    struct Case {
        double arcsec;
        int amount;
        bool minutes;
    } cases[] = {
        {-3.0, 10, false}, {14.9, 10, false}, {44.0, 40, false}, {-45.0, 50, false},
        {54.9, 50, false}, {55.0, 1, true},   {59.9, 1, true},   {60.0, 1, true},
        {89.0, 1, true},   {90.0, 2, true},   {-150.0, 3, true}, {7200.0, 120, true},
    };
    for (const Case& c : cases) {
        int amount = 0;
        bool minutes = false;
        GuidancePlanner::Quantize(c.arcsec, amount, minutes);
        EXPECT_EQ(amount, c.amount) << c.arcsec;
        EXPECT_EQ(minutes, c.minutes) << c.arcsec;
    }
}

TEST(GuidancePlanner, SettlesOnlyAfterTwoSecondsInsideTheBandAndThenFallsSilent) {
    GuidancePlanner planner;
    int chords = 0;
    double settledAt = -1.0;
    bool beepAfterSettle = false;
    // In the band at t = 1; a wobble out at t = 2 starts the count again.
    for (double t = 0.0; t <= 8.0; t += 0.125) {
        const double e = t < 1.0 ? 120.0 : (t >= 2.0 && t < 2.25 ? 40.0 : 10.0);
        const GuidanceEvents ev = planner.Update(t, Error(e, 0.0));
        if (ev.chord) {
            ++chords;
            settledAt = t;
        }
        if (settledAt >= 0.0 && t > settledAt && ev.beep)
            beepAfterSettle = true;
    }
    EXPECT_EQ(chords, 1);
    EXPECT_DOUBLE_EQ(settledAt, 4.25);
    EXPECT_FALSE(beepAfterSettle);

    // A slip just past the band keeps it settled; a real one undoes it.
    EXPECT_FALSE(planner.Update(8.125, Error(33.0, 0.0)).beep);
    EXPECT_TRUE(planner.Settled());
    EXPECT_TRUE(planner.Update(8.25, Error(45.0, 0.0)).beep);
    EXPECT_FALSE(planner.Settled());
}

TEST(GuidancePlanner, InvalidInputPlaysNothingAndRestartsTheSettling) {
    GuidancePlanner planner;
    EXPECT_TRUE(planner.Update(0.0, Error(10.0, 0.0)).beep);
    for (double t = 0.125; t < 5.0; t += 0.125) {
        const GuidanceEvents ev = planner.Update(t, Error(10.0, 0.0, /*valid=*/t < 1.5));
        if (t >= 1.5) {
            EXPECT_FALSE(ev.beep || ev.chord || ev.speak) << t;
        }
    }
    EXPECT_FALSE(planner.Settled());
    const GuidanceInput nan{true, std::numeric_limits<double>::quiet_NaN(), 1.0, 1.0};
    const GuidanceEvents ev = planner.Update(5.0, nan);
    EXPECT_FALSE(ev.beep || ev.chord || ev.speak);
}

TEST(GuidancePlanner, AdvisesTheLargerAxisAndKeepsItUntilTheOtherIsClearlyLarger) {
    GuidanceParams params;
    params.speechGapSeconds = 0.0; // every change is said at once
    GuidancePlanner planner(params);
    struct Step {
        double alt, az;
        bool speaks;
        GuidanceAxis axis;
        int direction;
    } steps[] = {
        {200.0, -150.0, true, GuidanceAxis::Altitude, 1},
        {150.0, -170.0, false, GuidanceAxis::Altitude, 1}, // az larger, not clearly
        {120.0, -170.0, true, GuidanceAxis::Azimuth, -1},  // now clearly: 1.42 x
        {140.0, -160.0, false, GuidanceAxis::Azimuth, -1}, // back and forth: stays
        {-170.0, -125.0, true, GuidanceAxis::Altitude, -1},
    };
    double t = 0.0;
    for (const Step& s : steps) {
        const GuidanceEvents ev = planner.Update(t += 1.0, Error(s.alt, s.az));
        ASSERT_EQ(ev.speak.has_value(), s.speaks) << t;
        if (ev.speak) {
            EXPECT_EQ(ev.speak->axis, s.axis) << t;
            EXPECT_EQ(ev.speak->direction, s.direction) << t;
        }
    }
}

} // namespace
