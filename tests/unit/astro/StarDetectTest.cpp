// All the stars of a frame: where they are, what is left out, in which order.
#include "astro/StarDetect.h"
#include "astro/Centroid.h"
#include "unit/astro/LogCapture.h"
#include "unit/astro/StarFrames.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(StarDetectTest, FindsEachStarOnceBrightestFirstWithTheCentroidOfAPick) {
    LogCapture log;
    std::mt19937 rng(4);
    cv::Mat frame = NoisySky(1280, 960, 20, 2, rng);
    struct Star {
        double x, y, peak;
    };
    const Star stars[] = {
        {300.3, 200.7, 400}, // saturated: one star, not a plateau of peaks
        {900.6, 700.2, 120}, {640.0, 480.5, 60},
        {100.2, 850.8, 25},  {1000.4, 100.1, 12}, // faint, still 5 noise levels up
        {5.0, 500.0, 200},                        // too near the edge for a centroid: left out
        {655.0, 480.5, 30}, // 15 px beside a brighter one: found at its own place
    };
    for (const Star& s : stars)
        AddStar(frame, s.x, s.y, s.peak, 1.5);
    frame.at<uchar>(50, 50) = 255; // hot pixels: gone in the median
    frame.at<uchar>(800, 1200) = 255;

    const std::vector<DetectedStar> found = DetectStars(frame);
    ASSERT_EQ(found.size(), 6u);
    for (std::size_t i = 1; i < found.size(); ++i)
        EXPECT_GE(found[i - 1].flux, found[i].flux);
    EXPECT_NEAR(found[0].x, 300.3, 0.3);
    EXPECT_NEAR(found[0].y, 200.7, 0.3);
    for (const Star& s : stars) {
        if (s.x < 10)
            continue;
        const auto it = std::find_if(found.begin(), found.end(), [&](const DetectedStar& d) {
            return std::hypot(d.x - s.x, d.y - s.y) < 1.0;
        });
        ASSERT_NE(it, found.end()) << s.x << "," << s.y;
        // The centroid a double-click on it measures, when it is bright enough for
        // one and alone in its window.
        double px = 0, py = 0;
        if ((s.x < 600 || s.x > 700) && s.peak >= 60) {
            ASSERT_EQ(GetPreciseStarPos(frame, s.x, s.y, px, py), 1);
            EXPECT_DOUBLE_EQ(it->x, px);
            EXPECT_DOUBLE_EQ(it->y, py);
        }
    }

    StarDetectOptions few;
    few.maxStars = 2;
    EXPECT_EQ(DetectStars(frame, few).size(), 2u);
    EXPECT_TRUE(DetectStars(cv::Mat()).empty());
    EXPECT_TRUE(DetectStars(cv::Mat(960, 1280, CV_8UC3, cv::Scalar::all(0))).empty());
    EXPECT_TRUE(DetectStars(cv::Mat(960, 1280, CV_8UC1, cv::Scalar(255))).empty());
    EXPECT_TRUE(log.Lines().empty());
}

} // namespace
