// One frame of tracking: stars measured around their seeds (the seed standing in
// for a lost star), the refraction correction along the zenith direction, the pole
// nearer the axis centre, and the close-up only when the pole was found.
#include "astro/Tracker.h"
#include "astro/PoleCoor.h"
#include "astro/Refraction.h"
#include "astro/StarRefine.h"
#include "unit/astro/CentroidOracle.h"
#include "unit/astro/LogCapture.h"
#include "unit/astro/StarFrames.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// North template, 2016 angles; A and B where the template has them.
constexpr double kBap = 12.4543449046107, kAbp = 18.4713634052194;
constexpr double kAX = 445.3, kAY = 218.6, kBX = 400.2, kBY = 399.7;

cv::Mat Sky(bool withA, bool withB) {
    cv::Mat frame(960, 1280, CV_8UC1, cv::Scalar(0));
    if (withA)
        AddStar(frame, kAX, kAY, 160, 1.6);
    if (withB)
        AddStar(frame, kBX, kBY, 200, 1.8);
    return frame;
}

TrackerInputs Inputs() {
    TrackerInputs in;
    in.aSeedX = kAX + 4;
    in.aSeedY = kAY - 3;
    in.bSeedX = kBX - 5;
    in.bSeedY = kBY + 2;
    in.axisX = 400;
    in.axisY = 320;
    in.angleBAP = kBap;
    in.angleABP = kAbp;
    in.latitude = 39.9;
    in.temperature = 0;
    return in;
}

// The star as the whole-frame centroiding measures it.
cv::Point2d Measured(const cv::Mat& frame, double seedX, double seedY) {
    double x = 0, y = 0;
    EXPECT_EQ(OraclePreciseStarPos(frame, seedX, seedY, x, y), 1);
    return {x, y};
}

TEST(TrackerTest, StarsPoleAndCloseUp) {
    struct Case {
        const char* name;
        bool withA;
        bool aFound;
    };
    const Case cases[] = {{"both stars", true, true}, {"star A lost", false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const cv::Mat frame = Sky(c.withA, true);
        const TrackerInputs in = Inputs();
        cv::Mat crop;
        const TrackerResult r = TrackFrame(frame, in, crop);

        const cv::Point2d b = Measured(frame, in.bSeedX, in.bSeedY);
        const cv::Point2d a =
            c.aFound ? Measured(frame, in.aSeedX, in.aSeedY) : cv::Point2d(in.aSeedX, in.aSeedY);
        EXPECT_EQ(r.aX, a.x);
        EXPECT_EQ(r.aY, a.y);
        EXPECT_EQ(r.bX, b.x);
        EXPECT_EQ(r.bY, b.y);
        if (c.aFound) {
            EXPECT_NEAR(r.aX, kAX, 0.05);
            EXPECT_NEAR(r.aY, kAY, 0.05);
        }

        double px = 0, py = 0;
        ASSERT_EQ(CalcPoleCOOR(a.x, a.y, kBap, b.x, b.y, kAbp, px, py, 400, 320), 1);
        ASSERT_TRUE(r.poleFound);
        EXPECT_EQ(r.poleX, px);
        EXPECT_EQ(r.poleY, py);
        EXPECT_EQ(crop.size(), cv::Size(200, 200));
    }
}

TEST(TrackerTest, PoleNearerTheAxisCentreWins) {
    const cv::Mat frame = Sky(true, true);
    // The two mirror solutions lie near (393.7, 321.6) and (442.1, 333.5).
    struct Case {
        double axisX, axisY, poleX, poleY;
    };
    const Case cases[] = {{400, 320, 393.7, 321.6}, {440, 335, 442.1, 333.5}};
    for (const Case& c : cases) {
        TrackerInputs in = Inputs();
        in.axisX = c.axisX;
        in.axisY = c.axisY;
        cv::Mat crop;
        const TrackerResult r = TrackFrame(frame, in, crop);
        ASSERT_TRUE(r.poleFound);
        EXPECT_NEAR(r.poleX, c.poleX, 0.5);
        EXPECT_NEAR(r.poleY, c.poleY, 0.5);
    }
}

// The sky of a moment that lies in the frame as the template does, 30.5" per pixel,
// turned by turnDeg, with the zenith toward the meridian's direction.
SkyOfMoment SkyLikeTheFrame(double turnDeg, double meridianRaDeg) {
    const double t = -turnDeg * 3.14159265358979323846 / 180.0;
    auto plane = [t](double x, double y, double& px, double& py) {
        px = 30.5 * (x * std::cos(t) - y * std::sin(t));
        py = 30.5 * (x * std::sin(t) + y * std::cos(t));
    };
    SkyOfMoment m;
    plane(kAX, kAY, m.aX, m.aY);
    plane(kBX, kBY, m.bX, m.bY);
    m.meridianRaDeg = meridianRaDeg;
    return m;
}

TEST(TrackerTest, RefractionMovesFoundStarsAwayFromTheZenithByThePlateScale) {
    struct Case {
        const char* name;
        bool on;
        bool sky;
        int unit;
        double pressure;
        bool withA;
        double turnDeg, meridianRaDeg;
        double zenithX, zenithY; // where the zenith lies in the frame
    };
    const Case cases[] = {
        {"off", false, true, 0, 101.3, true, 0, 270, 0, -1},
        {"zenith up, kPa", true, true, 0, 101.3, true, 0, 270, 0, -1},
        {"zenith right, hPa 1013 is 101.3 kPa", true, true, 1, 1013.0, true, 0, 0, 1, 0},
        {"sky turned: zenith left", true, true, 0, 101.3, true, 90, 0, 0, 1},
        {"a lost star keeps its seed", true, true, 1, 1013.0, false, 0, 270, 0, -1},
        {"no sky: no correction", true, false, 0, 101.3, true, 0, 270, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const cv::Mat frame = Sky(c.withA, true);
        TrackerInputs in = Inputs();
        in.refractionOn = c.on;
        in.pressureUnit = c.unit;
        in.pressure = c.pressure;
        in.skyKnown = c.sky;
        in.sky = SkyLikeTheFrame(c.turnDeg, c.meridianRaDeg);
        cv::Mat crop;
        const TrackerResult r = TrackFrame(frame, in, crop);

        const cv::Point2d b = Measured(frame, in.bSeedX, in.bSeedY);
        const cv::Point2d a =
            c.withA ? Measured(frame, in.aSeedX, in.aSeedY) : cv::Point2d(in.aSeedX, in.aSeedY);
        EXPECT_EQ(r.skyFound, c.sky);
        if (c.sky) {
            // The measured stars (or a seed) lie a little off the sky's places.
            EXPECT_NEAR(r.zenithX, c.zenithX, 0.02);
            EXPECT_NEAR(r.zenithY, c.zenithY, 0.02);
        }
        // 1.2362' at 39.9 degrees, 101.3 kPa and 0 C: 74.17" or 2.43 pixels.
        const double px =
            c.on && c.sky ? RefractionArcmin(39.9, 101.3, 0) * 60 / r.arcsecPerPixel : 0.0;
        EXPECT_NEAR(r.bX, b.x - r.zenithX * px, 1e-6);
        EXPECT_NEAR(r.bY, b.y - r.zenithY * px, 1e-6);
        const double aPx = c.withA ? px : 0.0;
        EXPECT_NEAR(r.aX, a.x - r.zenithX * aPx, 1e-6);
        EXPECT_NEAR(r.aY, a.y - r.zenithY * aPx, 1e-6);
        if (c.on && c.sky) {
            EXPECT_NEAR(px, 2.43, c.withA ? 0.02 : 0.1);
        }
    }
}

TEST(TrackerTest, ErrorOfThePoleAgainstTheAxisWithTheSky) {
    const cv::Mat frame = Sky(true, true);
    TrackerInputs in = Inputs();
    in.skyKnown = true;
    in.sky = SkyLikeTheFrame(0, 270); // zenith up, east right
    cv::Mat crop;
    const TrackerResult r = TrackFrame(frame, in, crop);
    ASSERT_TRUE(r.poleFound);
    ASSERT_TRUE(r.errorFound);
    EXPECT_NEAR(r.arcsecPerPixel, 30.5, 0.05);
    // The error is that of the pole from the stars' finest places, a fraction of a
    // pixel from the pole as shown.
    ASSERT_TRUE(r.refined);
    EXPECT_LT(std::hypot(r.finePoleX - r.poleX, r.finePoleY - r.poleY), 0.5);
    EXPECT_NEAR(r.error.altArcsec, (in.axisY - r.finePoleY) * r.arcsecPerPixel, 0.05);
    EXPECT_NEAR(r.error.azArcsec, (r.finePoleX - in.axisX) * r.arcsecPerPixel, 0.05);

    in.skyKnown = false;
    EXPECT_FALSE(TrackFrame(frame, in, crop).errorFound);
}

// With the angle at A zero, the pole lies on star B and the two circles of the
// triangulation only touch: whether they meet is decided by the last bits of the
// places, so of two places of the same stars one may give a pole and the other not.
// When the finest places give none, the error comes from the frame's own pole (never
// from (0, 0)), and no failure is logged, for the frame's pole was found.
TEST(TrackerTest, ErrorFromTheFramesPoleWhenTheFinestPlacesGiveNone) {
    TrackerInputs in = Inputs();
    in.angleBAP = 0;
    in.skyKnown = true;
    in.sky = SkyLikeTheFrame(0, 270); // zenith up, east right
    // A frame on which the measured places give a pole and the finest ones do not.
    cv::Mat frame;
    bool found = false;
    for (int i = 0; i < 400 && !found; ++i) {
        frame = cv::Mat(960, 1280, CV_8UC1, cv::Scalar(0));
        AddStar(frame, kAX + 0.013 * i, kAY, 160, 1.6);
        AddStar(frame, kBX, kBY + 0.007 * i, 200, 1.8);
        const cv::Point2d a = Measured(frame, in.aSeedX, in.aSeedY);
        const cv::Point2d b = Measured(frame, in.bSeedX, in.bSeedY);
        const auto fineA = RefineStarCentre(frame, a.x, a.y);
        const auto fineB = RefineStarCentre(frame, b.x, b.y);
        double x = 0, y = 0;
        found = fineA && fineB &&
                PoleOfStars(a.x, a.y, 0, b.x, b.y, kAbp, x, y, in.axisX, in.axisY, 0) &&
                !PoleOfStars(fineA->x, fineA->y, 0, fineB->x, fineB->y, kAbp, x, y, in.axisX,
                             in.axisY, 0);
    }
    ASSERT_TRUE(found);

    LogCapture log;
    cv::Mat crop;
    const TrackerResult r = TrackFrame(frame, in, crop);
    ASSERT_TRUE(r.poleFound);
    EXPECT_NEAR(r.poleX, r.bX, 0.01); // the pole on B
    EXPECT_NEAR(r.poleY, r.bY, 0.01);
    EXPECT_FALSE(r.refined);
    EXPECT_EQ(r.finePoleX, r.poleX);
    EXPECT_EQ(r.finePoleY, r.poleY);
    // The stars stand a few pixels from where the sky puts them, which turns the
    // error by a hair; from (0, 0) it would be off by thousands of arcseconds.
    ASSERT_TRUE(r.errorFound);
    EXPECT_NEAR(r.error.altArcsec, (in.axisY - r.poleY) * r.arcsecPerPixel, 0.5);
    EXPECT_NEAR(r.error.azArcsec, (r.poleX - in.axisX) * r.arcsecPerPixel, 0.5);
    for (const LogLine& line : log.Lines())
        EXPECT_FALSE(line.text.startsWith(QStringLiteral("CalcPoleCOOR")))
            << line.text.toStdString();
}

TEST(TrackerTest, PoleThatCannotBeComputedLeavesTheCloseUpAlone) {
    struct Case {
        const char* name;
        double bap, abp;
        double aSeedX;
    };
    const Case cases[] = {
        {"no triangle", 100, 80, kAX},
        {"A straight above B", kBap, kAbp, kBX}, // A lost: its seed has B's x
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const cv::Mat frame = Sky(false, true);
        TrackerInputs in = Inputs();
        in.angleBAP = c.bap;
        in.angleABP = c.abp;
        in.aSeedX = c.aSeedX;
        // A lost star keeps its seed; B is measured where it is, so put the
        // seed of A exactly above the measured B for the second case.
        if (c.aSeedX == kBX)
            in.aSeedX = Measured(frame, in.bSeedX, in.bSeedY).x;
        cv::Mat crop(200, 200, CV_8UC3, cv::Scalar(1, 2, 3));
        const cv::Mat before = crop.clone();
        const TrackerResult r = TrackFrame(frame, in, crop);
        EXPECT_FALSE(r.poleFound);
        EXPECT_EQ(cv::norm(crop, before, cv::NORM_INF), 0);
        EXPECT_EQ(crop.at<cv::Vec3b>(100, 100), cv::Vec3b(1, 2, 3));
    }
}

} // namespace
