#include "SimLibrary.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <numeric>
#include <thread>

namespace {

constexpr double kDeg = M_PI / 180.0;

class SimSky : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(lib.loaded) << lib.error; }

    // Connects with the configuration and returns the first frame.
    std::vector<unsigned char> FirstFrame(const std::string& ini, double exposureUs = 50000,
                                          int gain = 50) {
        cfg_ = std::make_unique<SimConfigFile>(ini);
        const ZorcamHandle h = lib.Connect(exposureUs, gain);
        EXPECT_NE(h, 0u);
        return h ? lib.NextFrame(h) : std::vector<unsigned char>{};
    }

    SimLibrary& lib = SimLibrary::Get();
    std::unique_ptr<SimConfigFile> cfg_;
};

// (x, y) turned about (cx, cy) by the angle, clockwise on the screen.
void Turn(double x, double y, double cx, double cy, double deg, double& ox, double& oy) {
    const double c = std::cos(deg * kDeg), s = std::sin(deg * kDeg);
    ox = cx + (x - cx) * c - (y - cy) * s;
    oy = cy + (x - cx) * s + (y - cy) * c;
}

double Mean(const std::vector<unsigned char>& f) {
    return std::accumulate(f.begin(), f.end(), 0.0) / f.size();
}

TEST_F(SimSky, SameSeedGivesTheSameFrames) {
    auto frames = [&](const char* seed) {
        SimConfigFile cfg(std::string("[camera]\nthrottle=0\n[sky]\ntimeScale=0\nseed=") + seed +
                          "\n");
        const ZorcamHandle h = lib.Connect();
        return std::make_pair(lib.NextFrame(h), lib.NextFrame(h));
    };
    const auto a = frames("11");
    const auto b = frames("11");
    const auto c = frames("12");
    ASSERT_FALSE(a.first.empty());
    EXPECT_TRUE(a.first == b.first);
    EXPECT_TRUE(a.second == b.second);
    EXPECT_FALSE(a.first == a.second) << "noise differs from frame to frame";
    EXPECT_FALSE(a.first == c.first) << "another seed, another sky";
}

TEST_F(SimSky, BrightnessFollowsExposureAndGain) {
    struct Shot {
        double exposureUs;
        int gain;
    };
    const Shot shots[] = {{50000, 50}, {100000, 50}, {200000, 50}, {200000, 90}};
    double lastMean = 0, lastPeak = 0;
    for (const Shot& s : shots) {
        const auto frame =
            FirstFrame(std::string(kFrozenSky) + "[sensor]\nhotPixels=0\n", s.exposureUs, s.gain);
        ASSERT_FALSE(frame.empty());
        const ZorcamSimTruth t = lib.Truth();
        double peakSum = 0;
        for (const ZorcamSimStar& star : lib.Stars())
            if (star.label[0] == 'A' || star.label[0] == 'D')
                peakSum += frame[std::lround(star.y) * 1280 + std::lround(star.x)];
        const double mean = Mean(frame);
        EXPECT_GT(mean, lastMean) << s.exposureUs << " us, gain " << s.gain;
        EXPECT_GT(peakSum, lastPeak) << s.exposureUs << " us, gain " << s.gain;
        EXPECT_EQ(t.exposureUs, s.exposureUs);
        lastMean = mean;
        lastPeak = peakSum;
        cfg_.reset();
    }
}

TEST_F(SimSky, LongExposuresSaturateThePoleStar) {
    const auto frame = FirstFrame(kFrozenSky, 1000000, 100);
    ASSERT_FALSE(frame.empty());
    const ZorcamSimTruth t = lib.Truth();
    EXPECT_EQ(frame[std::lround(t.starBY) * 1280 + std::lround(t.starBX)], 255);
}

TEST_F(SimSky, RenderedStarsSitWhereTruthSays) {
    // Several turns of the sky put the stars at many sub-pixel positions.
    for (const char* angle : {"0", "13.7", "101.3", "-47.9"}) {
        const auto frame = FirstFrame(std::string(kFrozenSky) + "skyAngleDeg=" + angle +
                                      "\n[sensor]\nnoise=0\nhotPixels=0\n");
        ASSERT_FALSE(frame.empty());
        int checked = 0;
        for (const ZorcamSimStar& s : lib.Stars()) {
            if (!s.label[0] || s.x < 10 || s.y < 10 || s.x > 1269 || s.y > 949)
                continue;
            double cx = 0, cy = 0;
            ASSERT_TRUE(MeasureCentroid(frame, s.x, s.y, 7, cx, cy)) << s.label;
            EXPECT_NEAR(cx, s.x, 0.1) << s.label << " at sky angle " << angle;
            EXPECT_NEAR(cy, s.y, 0.1) << s.label << " at sky angle " << angle;
            ++checked;
        }
        EXPECT_GE(checked, 4) << angle;
        cfg_.reset();
    }
}

TEST_F(SimSky, NoisyPoleStarStillMeasuresOnTruth) {
    const auto frame = FirstFrame(std::string(kFrozenSky) + "[sensor]\nhotPixels=0\n");
    ASSERT_FALSE(frame.empty());
    const ZorcamSimTruth t = lib.Truth();
    double cx = 0, cy = 0;
    ASSERT_TRUE(MeasureCentroid(frame, t.starBX, t.starBY, 6, cx, cy));
    EXPECT_NEAR(cx, t.starBX, 0.1);
    EXPECT_NEAR(cy, t.starBY, 0.1);
}

TEST_F(SimSky, RaTurnRotatesTheImageAboutTheAxis) {
    const std::string base = std::string(kFrozenSky) + "[sensor]\nnoise=0\nhotPixels=0\n[mount]\n"
                                                       "axisX=600.5\naxisY=470.25\nrollDeg=20\n";
    ASSERT_FALSE(FirstFrame(base + "raAngleDeg=0\n").empty());
    const ZorcamSimTruth before = lib.Truth();
    const auto starsBefore = lib.Stars();
    cfg_.reset();
    const auto frame = FirstFrame(base + "raAngleDeg=37\n");
    ASSERT_FALSE(frame.empty());
    const ZorcamSimTruth after = lib.Truth();
    const auto starsAfter = lib.Stars();
    EXPECT_DOUBLE_EQ(after.axisX, 600.5);
    EXPECT_DOUBLE_EQ(after.axisY, 470.25);
    double x, y;
    Turn(before.poleX, before.poleY, 600.5, 470.25, 37, x, y);
    EXPECT_NEAR(after.poleX, x, 1e-9);
    EXPECT_NEAR(after.poleY, y, 1e-9);
    ASSERT_EQ(starsBefore.size(), starsAfter.size());
    for (std::size_t i = 0; i < starsBefore.size(); ++i) {
        Turn(starsBefore[i].x, starsBefore[i].y, 600.5, 470.25, 37, x, y);
        EXPECT_NEAR(starsAfter[i].x, x, 1e-9) << i;
        EXPECT_NEAR(starsAfter[i].y, y, 1e-9) << i;
    }
    // And the rendered pole star is there.
    Turn(before.starBX, before.starBY, 600.5, 470.25, 37, x, y);
    double cx = 0, cy = 0;
    ASSERT_TRUE(MeasureCentroid(frame, x, y, 7, cx, cy));
    EXPECT_NEAR(cx, x, 0.1);
    EXPECT_NEAR(cy, y, 0.1);
}

struct PoleCase {
    double roll, ra, alt, az;
};

TEST_F(SimSky, AltitudeAndAzimuthMoveTheTruePole) {
    const double pxPerArcmin = 60.0 / 30.5;
    for (const PoleCase& c : {PoleCase{0, 0, 0, 0}, PoleCase{0, 0, 10, 0}, PoleCase{0, 0, 0, -25},
                              PoleCase{30, 0, 10, 5}, PoleCase{30, 45, -12, 7}}) {
        const std::string ini = std::string(kFrozenSky) + "[mount]\naxisX=640\naxisY=480\n" +
                                "rollDeg=" + std::to_string(c.roll) +
                                "\nraAngleDeg=" + std::to_string(c.ra) +
                                "\naltErrArcmin=" + std::to_string(c.alt) +
                                "\nazErrArcmin=" + std::to_string(c.az) + "\n";
        SimConfigFile cfg(ini);
        const ZorcamSimTruth t = lib.Truth();
        // Altitude up, azimuth right, then the whole picture turned by roll + RA.
        double x, y;
        Turn(640 + c.az * pxPerArcmin, 480 - c.alt * pxPerArcmin, 640, 480, c.roll + c.ra, x, y);
        EXPECT_NEAR(t.truePoleX, x, 1e-9) << c.roll << " " << c.ra << " " << c.alt << " " << c.az;
        EXPECT_NEAR(t.truePoleY, y, 1e-9) << c.roll << " " << c.ra << " " << c.alt << " " << c.az;
        EXPECT_DOUBLE_EQ(t.poleX, t.truePoleX) << "no refraction by default";
        EXPECT_DOUBLE_EQ(t.altErrArcmin, c.alt);
        EXPECT_DOUBLE_EQ(t.azErrArcmin, c.az);
    }
}

TEST_F(SimSky, PoleAndStarsKeepTheTemplateTriangle) {
    // In the image, the angles of triangle A-B-pole are the data set's, whatever the
    // turn, roll, misalignment and hemisphere.
    struct Case {
        const char* hemisphere;
        double bap, abp;
    };
    for (const Case& c : {Case{"N", 10.0666795664832, 16.0264870766803},
                          Case{"S", 17.4617242637224, 6.9803173794411}}) {
        SimConfigFile cfg(std::string(kFrozenSky) + "hemisphere=" + c.hemisphere +
                          "\nskyAngleDeg=77\n[mount]\nrollDeg=-15\nraAngleDeg=200\n");
        const ZorcamSimTruth t = lib.Truth();
        EXPECT_EQ(t.dataSetYear, 2024);
        EXPECT_EQ(t.hemisphere, c.hemisphere[0]);
        auto angle = [](double ox, double oy, double ux, double uy, double vx, double vy) {
            double d = std::abs(std::atan2(uy - oy, ux - ox) - std::atan2(vy - oy, vx - ox)) / kDeg;
            return d > 180 ? 360 - d : d;
        };
        EXPECT_NEAR(angle(t.starAX, t.starAY, t.starBX, t.starBY, t.poleX, t.poleY), c.bap, 1e-9);
        EXPECT_NEAR(angle(t.starBX, t.starBY, t.starAX, t.starAY, t.poleX, t.poleY), c.abp, 1e-9);
    }
}

TEST_F(SimSky, SkyTurnsAboutThePoleAtTheSiderealRate) {
    // The turn is bracketed by clock readings around the two calls: a slow or loaded
    // machine only widens the bracket. At this scale the sky needs 20 s for half a
    // turn, so the angle measured in (-180, 180] is the whole turn.
    SimConfigFile cfg("[camera]\nthrottle=0\n[sky]\ntimeScale=2000\ndate=2024-06-01\n");
    using Clock = std::chrono::steady_clock;
    const double degPerSec = 360.0 * 2000 / 86164.0905;
    const auto outerStart = Clock::now();
    const auto first = lib.Stars();
    const auto innerStart = Clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto innerEnd = Clock::now();
    const auto later = lib.Stars();
    const auto outerEnd = Clock::now();
    const ZorcamSimTruth t = lib.Truth();

    auto angleOf = [&](const ZorcamSimStar& s) { return std::atan2(s.y - t.poleY, s.x - t.poleX); };
    const double turned = std::remainder((angleOf(later[0]) - angleOf(first[0])) / kDeg, 360.0);
    const double outer = std::chrono::duration<double>(outerEnd - outerStart).count();
    const double inner = std::chrono::duration<double>(innerEnd - innerStart).count();
    ASSERT_LT(turned, 0.0) << "counter-clockwise in the north";
    EXPECT_LE(-turned, degPerSec * outer + 1e-6);
    EXPECT_GE(-turned, degPerSec * inner - 1e-6);
    for (std::size_t i = 0; i < first.size(); ++i) {
        double x, y;
        Turn(first[i].x, first[i].y, t.poleX, t.poleY, turned, x, y);
        EXPECT_NEAR(later[i].x, x, 1e-6) << i;
        EXPECT_NEAR(later[i].y, y, 1e-6) << i;
    }
}

// On a clock of the test's own the sky turns by exactly the clock's seconds (times
// the time scale), not at all while that clock stands, and goes on from where it
// stands when the real time is given back.
TEST_F(SimSky, TheSkyRunsOnTheClockItIsGiven) {
    SimConfigFile cfg("[camera]\nthrottle=0\n[sky]\ntimeScale=2\nhemisphere=S\ndate=2024-06-01\n");
    ASSERT_NE(lib.UseClock, nullptr);
    double now = 1000.0;
    auto seconds = [](void* c) { return *static_cast<double*>(c); };
    ASSERT_EQ(lib.UseClock(seconds, &now), 0);
    const auto first = lib.Stars();
    const ZorcamSimTruth t = lib.Truth();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto still = lib.Stars();
    now += 30.0; // sixty simulated seconds: a quarter degree, clockwise in the south
    const auto later = lib.Stars();
    const auto realFrom = std::chrono::steady_clock::now();
    ASSERT_EQ(lib.UseClock(nullptr, nullptr), 0);
    const auto back = lib.Stars();
    const double realSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - realFrom).count();

    auto angleOf = [&](const ZorcamSimStar& s) { return std::atan2(s.y - t.poleY, s.x - t.poleX); };
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(still[i].x, first[i].x) << i;
        double x, y;
        Turn(first[i].x, first[i].y, t.poleX, t.poleY, 360.0 * 60.0 / 86164.0905, x, y);
        EXPECT_NEAR(later[i].x, x, 1e-6) << i;
        EXPECT_NEAR(later[i].y, y, 1e-6) << i;
    }
    // Back on the real time it goes on from there: at twice the real rate for no more
    // than the real seconds that passed around the hand-back.
    const double onwards = std::remainder((angleOf(back[0]) - angleOf(later[0])) / kDeg, 360.0);
    EXPECT_LE(std::abs(onwards), 2 * 360.0 / 86164.0905 * realSeconds + 1e-6);
}

TEST_F(SimSky, TimeScaleZeroFreezesTheSky) {
    SimConfigFile cfg(kFrozenSky);
    const auto a = lib.Stars();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto b = lib.Stars();
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        EXPECT_EQ(a[i].x, b[i].x) << i;
}

TEST_F(SimSky, RefractionRaisesTheApparentPoleTowardTheZenith) {
    SimConfigFile cfg(std::string(kFrozenSky) +
                      "[mount]\nrollDeg=90\n[refraction]\nenabled=1\nlatitudeDeg=39.9\n"
                      "pressureKPa=101\ntemperatureC=10\n");
    const ZorcamSimTruth t = lib.Truth();
    EXPECT_NEAR(t.refractionArcmin, 1.189011, 1e-6);
    // Roll 90: the image's "up" points to the right on the screen.
    const double px = 1.189011 * 60.0 / 30.5;
    EXPECT_NEAR(t.poleX - t.truePoleX, px, 1e-5);
    EXPECT_NEAR(t.poleY - t.truePoleY, 0.0, 1e-9);
}

} // namespace
