#include "astro/AlignmentReadout.h"

#include <gtest/gtest.h>

namespace {

AltAzError Error(double alt, double az) {
    AltAzError e;
    e.altArcsec = alt;
    e.azArcsec = az;
    e.totalArcsec = std::hypot(alt, az);
    return e;
}

TEST(AlignmentReadoutTest, AdviceAndBandFollowTheSigns) {
    struct Case {
        double alt, az;
        AltitudeAdvice altitude;
        AzimuthAdvice azimuth;
        AlignmentBand band;
    };
    const Case cases[] = {
        {20, 0, AltitudeAdvice::Raise, AzimuthAdvice::None, AlignmentBand::Within30},
        {-20, 25, AltitudeAdvice::Lower, AzimuthAdvice::East, AlignmentBand::Within60},
        {0.2, -90, AltitudeAdvice::None, AzimuthAdvice::West, AlignmentBand::Above},
        {29.9, 0, AltitudeAdvice::Raise, AzimuthAdvice::None, AlignmentBand::Within30},
        {0, -60, AltitudeAdvice::None, AzimuthAdvice::West, AlignmentBand::Above},
    };
    for (const Case& c : cases) {
        AlignmentReadoutSmoother s;
        const AlignmentReadout& r = s.Add(10.0, Error(c.alt, c.az), 30.5);
        EXPECT_TRUE(r.valid);
        EXPECT_EQ(r.altitude, c.altitude) << c.alt;
        EXPECT_EQ(r.azimuth, c.azimuth) << c.az;
        EXPECT_EQ(r.band, c.band) << c.alt << " " << c.az;
        EXPECT_DOUBLE_EQ(r.arcsecPerPixel, 30.5);
    }
}

TEST(AlignmentReadoutTest, MedianOfTheLastSecondAndAFreshStartAfterAGap) {
    AlignmentReadoutSmoother s;
    EXPECT_FALSE(s.Current().valid);
    // Frames at 10 per second, jittering by +-10" around (100, -50).
    for (int i = 0; i < 30; ++i)
        s.Add(i * 0.1, Error(100 + (i % 2 ? 10 : -10), -50 + (i % 2 ? -10 : 10)), 30);
    EXPECT_NEAR(s.Current().altArcsec, 100, 10.01);
    EXPECT_NEAR(s.Current().azArcsec, -50, 10.01);
    // One frame astray does not move the figures.
    s.Add(2.95, Error(900, 900), 30);
    EXPECT_NEAR(s.Current().altArcsec, 100, 10.01);
    EXPECT_NEAR(s.Current().azArcsec, -50, 10.01);
    // The screw turned: within a second the read-out has followed.
    for (int i = 30; i < 41; ++i)
        s.Add(i * 0.1, Error(10, 5), 30);
    EXPECT_NEAR(s.Current().altArcsec, 10, 1e-9);
    EXPECT_NEAR(s.Current().totalArcsec, std::hypot(10, 5), 1e-9);
    // After a pause the first frame stands alone; a clock going back likewise.
    s.Add(20.0, Error(-3, 4), 30);
    EXPECT_DOUBLE_EQ(s.Current().altArcsec, -3);
    s.Add(19.5, Error(7, 0), 30);
    EXPECT_DOUBLE_EQ(s.Current().altArcsec, 7);
    // Nothing that is not a number gets in.
    s.Add(19.6, Error(NAN, 0), 30);
    EXPECT_DOUBLE_EQ(s.Current().altArcsec, 7);
    s.Reset();
    EXPECT_FALSE(s.Current().valid);
}

} // namespace
