#include "astro/Centroid.h"
#include "unit/astro/CentroidOracle.h"
#include "unit/astro/LogCapture.h"
#include "unit/astro/StarFrames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace {

struct Measured {
    int result;
    double x;
    double y;
};

Measured Precise(const cv::Mat& frame, double x, double y) {
    Measured m{};
    m.result = GetPreciseStarPos(frame, x, y, m.x, m.y);
    return m;
}

Measured Oracle(const cv::Mat& frame, double x, double y) {
    Measured m{};
    m.result = OraclePreciseStarPos(frame, x, y, m.x, m.y);
    return m;
}

// Same result and bit-identical outputs as the whole-frame computation.
void ExpectSameAsOracle(const cv::Mat& frame, double x, double y) {
    SCOPED_TRACE("rough position (" + std::to_string(x) + ", " + std::to_string(y) + ")");
    const Measured ours = Precise(frame, x, y);
    const Measured oracle = Oracle(frame, x, y);
    EXPECT_EQ(ours.result, oracle.result);
    EXPECT_EQ(ours.x, oracle.x);
    EXPECT_EQ(ours.y, oracle.y);

    double gx = 0, gy = 0, ox = 0, oy = 0;
    EXPECT_EQ(GetGravityCenter(frame, x, y, gx, gy), OracleGravityCenter(frame, x, y, ox, oy));
    EXPECT_EQ(gx, ox);
    EXPECT_EQ(gy, oy);
}

class CentroidTest : public ::testing::Test {
protected:
    LogCapture log;
    std::mt19937 rng{20240523};

    bool Logged(const QString& level, const QString& text) const {
        for (const LogLine& line : log.Lines()) {
            if (line.level == level && line.text == text)
                return true;
        }
        return false;
    }
};

TEST_F(CentroidTest, AgreesWithWholeFrameFilterOnRandomSkies) {
    for (int frameNo = 0; frameNo < 6; ++frameNo) {
        cv::Mat frame = NoisySky(160, 120, 25 + 10 * frameNo, 3 + frameNo, rng);
        std::uniform_real_distribution<double> px(0, 160), py(0, 120), peak(20, 300),
            sigma(0.6, 3.0);
        for (int s = 0; s < 8; ++s)
            AddStar(frame, px(rng), py(rng), peak(rng), sigma(rng));
        // Hot pixels the median removes.
        for (int h = 0; h < 20; ++h)
            frame.at<uchar>(static_cast<int>(py(rng)), static_cast<int>(px(rng))) = 255;

        std::uniform_real_distribution<double> qx(-5, 165), qy(-5, 125);
        for (int q = 0; q < 40; ++q)
            ExpectSameAsOracle(frame, qx(rng), qy(rng));
    }
}

TEST_F(CentroidTest, AgreesWithWholeFrameFilterAtEveryEdgeAndCorner) {
    const int w = 120, h = 90;
    // Stars on the frame's edges and corners, each searched from windows flush
    // with that edge and from windows just inside it.
    const double starX[] = {0, 3, 60, w - 4.0, w - 1.0};
    const double starY[] = {0, 2, 45, h - 3.0, h - 1.0};
    for (double sx : starX) {
        for (double sy : starY) {
            cv::Mat frame = NoisySky(w, h, 30, 4, rng);
            AddStar(frame, sx, sy, 180, 1.5);
            for (double qx : {20.0, 20.9, sx, sx + 7, w - 20.0, w - 20.5}) {
                for (double qy : {20.0, 21.5, sy, sy - 6, h - 20.0, h - 20.2})
                    ExpectSameAsOracle(frame, qx, qy);
            }
        }
    }
}

TEST_F(CentroidTest, AgreesWithWholeFrameFilterOnUnusualWindows) {
    struct Case {
        const char* name;
        cv::Mat frame;
        double x, y;
    };
    cv::Mat plateau = NoisySky(100, 100, 20, 2, rng);
    plateau(cv::Rect(46, 51, 6, 5)).setTo(255);
    cv::Mat black = cv::Mat::zeros(100, 100, CV_8UC1);
    cv::Mat twoStars = NoisySky(100, 100, 20, 2, rng);
    AddStar(twoStars, 45, 50, 150, 1.2);
    AddStar(twoStars, 52, 47, 90, 1.2);
    cv::Mat saturatedEdge = NoisySky(100, 100, 20, 2, rng);
    saturatedEdge(cv::Rect(95, 0, 5, 4)).setTo(255);

    const Case cases[] = {
        {"saturated plateau", plateau, 50, 50},
        {"black window", black, 50, 50},
        {"two stars in one window", twoStars, 50, 50},
        {"saturated corner", saturatedEdge, 80, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectSameAsOracle(c.frame, c.x, c.y);
    }
}

TEST_F(CentroidTest, WindowBoundsFollowTruncationTowardZero) {
    cv::Mat frame = NoisySky(200, 100, 20, 2, rng);
    AddStar(frame, 20, 50, 150, 1.2);
    AddStar(frame, 180, 50, 150, 1.2);
    struct Case {
        double x, y;
        int result;
    };
    const Case cases[] = {
        {19.5, 50, 1},   // left = trunc(-0.5) = 0
        {18.9, 50, -1},  // left = -1
        {180, 50, 1},    // left + 40 = width
        {180.99, 50, 1}, // still left = 160
        {181, 50, -1},   // one pixel beyond the right edge
        {100, 80, 1},    // bottom edge touched
        {100, 81, -1},   {100, 19.5, 1}, {100, 18.9, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("x = " + std::to_string(c.x) + ", y = " + std::to_string(c.y));
        log.Clear();
        const Measured m = Precise(frame, c.x, c.y);
        EXPECT_EQ(m.result, c.result);
        EXPECT_EQ(Logged("Error", "GetPreciseStarPos - Out of Whole FOV"), c.result == -1);
        if (c.result == -1) {
            EXPECT_EQ(m.x, c.x);
            EXPECT_EQ(m.y, c.y);
        }
    }
}

TEST_F(CentroidTest, NonNumericOrHugePositionsAreOutsideTheFrame) {
    const cv::Mat frame = NoisySky(100, 100, 20, 2, rng);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double cases[][2] = {{nan, 50},   {50, nan},    {inf, 50}, {50, -inf},
                               {1e300, 50}, {50, -1e300}, {3e9, 50}, {50, -3e9}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c[0]) + ", " + std::to_string(c[1]));
        log.Clear();
        double x = 0, y = 0;
        EXPECT_EQ(GetPreciseStarPos(frame, c[0], c[1], x, y), -1);
        EXPECT_TRUE(Logged("Error", "GetPreciseStarPos - Out of Whole FOV"));
        EXPECT_TRUE(x == c[0] || (std::isnan(x) && std::isnan(c[0])));
        EXPECT_TRUE(y == c[1] || (std::isnan(y) && std::isnan(c[1])));

        EXPECT_EQ(GetGravityCenter(frame, c[0], c[1], x, y), -1);
        EXPECT_TRUE(Logged("Error", "GetGravityCenter - Out of Whole FOV"));
    }
}

TEST_F(CentroidTest, NoImageFailsSilently) {
    double x = 0, y = 0;
    EXPECT_EQ(GetPreciseStarPos(cv::Mat(), 50, 60, x, y), -1);
    EXPECT_EQ(x, 50);
    EXPECT_EQ(y, 60);
    EXPECT_EQ(GetGravityCenter(cv::Mat(), 50, 60, x, y), -1);
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(CentroidTest, IsolatedPixelIsFilteredAway) {
    // On a black sky nothing is left: no star.
    cv::Mat black = cv::Mat::zeros(100, 100, CV_8UC1);
    black.at<uchar>(50, 50) = 255;
    Measured m = Precise(black, 50, 50);
    EXPECT_EQ(m.result, -1);
    EXPECT_EQ(m.x, 50);
    EXPECT_TRUE(Logged("Warnning", "GetPreciseStarPos - No Star in the ROI Area."));

    // On a flat sky with one brighter patch, the pixel is gone and the window's
    // brightest remaining pixel (no star) is returned as it is.
    cv::Mat flat(100, 100, CV_8UC1, cv::Scalar(30));
    flat(cv::Rect(60, 40, 3, 3)).setTo(40);
    flat.at<uchar>(50, 50) = 255;
    m = Precise(flat, 50, 50);
    EXPECT_EQ(m.result, 1);
    EXPECT_EQ(m.x, 61);
    EXPECT_EQ(m.y, 40);
}

TEST_F(CentroidTest, SaturatedPlateauCentroidCoversThePlateau) {
    cv::Mat frame(100, 100, CV_8UC1, cv::Scalar(20));
    frame(cv::Rect(45, 48, 7, 5)).setTo(255); // centre (48, 50)
    const Measured m = Precise(frame, 52, 47);
    EXPECT_EQ(m.result, 1);
    EXPECT_DOUBLE_EQ(m.x, 48);
    EXPECT_DOUBLE_EQ(m.y, 50);
}

TEST_F(CentroidTest, FaintStarJustBelowTheStarTestGivesItsBrightestPixel) {
    // A 3x3 block on a flat sky survives the median as a plus of five pixels; in
    // the 20x20 window max / mean crosses 2.5 between peaks 101 and 102.
    struct Case {
        int peak;
        double x, y;
    };
    const Case cases[] = {
        {101, 50, 49}, // 101 / 40.7625 < 2.5: the plus's first (top) pixel
        {102, 50, 50}, // 102 / 40.775 >= 2.5: the centroid, the plus's centre
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.peak);
        cv::Mat frame(100, 100, CV_8UC1, cv::Scalar(40));
        frame(cv::Rect(49, 49, 3, 3)).setTo(c.peak);
        const Measured m = Precise(frame, 55, 45);
        EXPECT_EQ(m.result, 1);
        EXPECT_EQ(m.x, c.x);
        EXPECT_EQ(m.y, c.y);
        ExpectSameAsOracle(frame, 55, 45);
    }
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(CentroidTest, StarNearTheEdgeGivesItsBrightestPixel) {
    cv::Mat frame = NoisySky(200, 100, 20, 2, rng);
    AddStar(frame, 5, 50, 200, 1.0);
    const Measured m = Precise(frame, 25, 50);
    EXPECT_EQ(m.result, 1);
    EXPECT_EQ(m.x, 5);
    EXPECT_EQ(m.y, 50);
    EXPECT_TRUE(Logged("Error", "GetGravityCenter - Out of Whole FOV"));
}

TEST_F(CentroidTest, BrighterOfTwoStarsWins) {
    cv::Mat frame = NoisySky(200, 100, 20, 2, rng);
    AddStar(frame, 85.3, 42.6, 90, 1.3);
    AddStar(frame, 108.4, 57.2, 200, 1.3);
    const Measured m = Precise(frame, 97, 50);
    EXPECT_EQ(m.result, 1);
    EXPECT_NEAR(m.x, 108.4, 0.3);
    EXPECT_NEAR(m.y, 57.2, 0.3);
}

TEST_F(CentroidTest, NothingAboveTheRoundedThresholdIsNoCentroid) {
    // Zeros with a band of ones seven columns wide: around the band's first pixel
    // the 20x20 window has mean 0.35 and max 1, passing the star test, but the
    // threshold 0.545 rounds to 1 and leaves nothing. The brightest pixel stands.
    cv::Mat frame = cv::Mat::zeros(100, 100, CV_8UC1);
    frame(cv::Rect(50, 0, 7, 100)).setTo(1);
    double x = 0, y = 0;
    EXPECT_EQ(GetGravityCenter(frame, 50, 30, x, y), -1);
    EXPECT_EQ(x, 50);
    EXPECT_EQ(y, 30);

    const Measured m = Precise(frame, 60, 50);
    EXPECT_EQ(m.result, 1);
    EXPECT_EQ(m.x, 50);
    EXPECT_EQ(m.y, 30);
    ExpectSameAsOracle(frame, 60, 50);
}

TEST_F(CentroidTest, FullSizeFrameMatchesOracle) {
    cv::Mat frame = NoisySky(1280, 960, 30, 5, rng);
    const double stars[][2] = {{640.3, 480.7}, {3.2, 4.1}, {1277.5, 957.9}, {20.4, 940.2}};
    for (const auto& s : stars)
        AddStar(frame, s[0], s[1], 160, 1.6);
    for (const auto& s : stars) {
        ExpectSameAsOracle(frame, s[0], s[1]);
        ExpectSameAsOracle(frame, s[0] + 12, s[1] - 9);
    }
}

} // namespace
