// The conversion of camera frames of any size, depth and mosaic into the program's
// 1280 x 960 8-bit frame at the templates' scale.
#include "zorcam-indi/FrameConverter.h"

#include "astro/StarDetect.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <cmath>
#include <vector>

using zorcamindi::ConversionSettings;
using zorcamindi::FrameConverter;
using zorcamindi::RawFrame;

namespace {

constexpr int W = FrameConverter::kWidth;
constexpr int H = FrameConverter::kHeight;

// A sensor image: background `sky` with noise of sky / 10, one Gaussian star of
// peak `peak` above it at (sx, sy).
cv::Mat Sensor(int w, int h, int depth, double sky, double peak, double sx, double sy,
               double sigma) {
    cv::Mat img(h, w, CV_64F);
    cv::RNG rng(12345);
    rng.fill(img, cv::RNG::NORMAL, sky, sky / 10);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double r2 = (x - sx) * (x - sx) + (y - sy) * (y - sy);
            img.at<double>(y, x) += peak * std::exp(-r2 / (2 * sigma * sigma));
        }
    cv::Mat out;
    img.convertTo(out, depth);
    return out;
}

RawFrame Raw(const cv::Mat& m, const std::string& bayer = {}) {
    RawFrame r;
    r.width = m.cols;
    r.height = m.rows;
    r.bitsPerPixel = m.depth() == CV_8U ? 8 : 16;
    r.data = m.data;
    r.bayer = bayer;
    return r;
}

// Intensity-weighted centre of the pixels above half of the frame's maximum.
cv::Point2d Centroid(const std::vector<unsigned char>& frame) {
    const cv::Mat m(H, W, CV_8UC1, const_cast<unsigned char*>(frame.data()));
    double maxV = 0;
    cv::minMaxLoc(m, nullptr, &maxV);
    double sx = 0, sy = 0, s = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const double v = m.at<unsigned char>(y, x);
            if (v > maxV / 2) {
                sx += v * x;
                sy += v * y;
                s += v;
            }
        }
    return {sx / s, sy / s};
}

TEST(FrameConverter, ScaleFollowsPixelSizeAndFocalLengthWithinItsLimits) {
    struct Case {
        double pixelUm, focalMm;
        double native, factor, delivered;
    };
    const Case cases[] = {
        {3.76, 25.0, 31.0223, 1.01712, 30.5}, // near the template scale
        {2.9, 50.0, 11.9634, 0.392243, 30.5}, // long lens: shrunk
        {5.2, 8.0, 134.072, 2.0, 67.036},     // wide lens: enlarged at most twice
        {0.0, 25.0, 0.0, 1.0, 0.0},           // pixel size unknown: own scale
        {3.76, 0.0, 0.0, 1.0, 0.0},           // focal length unknown: own scale
    };
    for (const Case& c : cases) {
        ConversionSettings s;
        s.pixelSizeUm = c.pixelUm;
        s.focalLengthMm = c.focalMm;
        const FrameConverter conv(s);
        EXPECT_NEAR(conv.NativeArcsecPerPixel(), c.native, 1e-3) << c.pixelUm << "/" << c.focalMm;
        EXPECT_NEAR(conv.Factor(), c.factor, 1e-5) << c.pixelUm << "/" << c.focalMm;
        EXPECT_NEAR(conv.DeliveredArcsecPerPixel(), c.delivered, 1e-3);
    }
}

// A star at a known offset from the sensor's centre lands at that offset times the
// factor from the output's centre; smaller sensors are centred on black.
TEST(FrameConverter, PlacesStarsAtTheTemplateScaleAndPadsSmallSensors) {
    struct Case {
        int w, h, depth;
        double pixelUm, focalMm;
        double dx, dy; // star offset from the sensor's centre, sensor pixels
        bool padded;
    };
    const Case cases[] = {
        {3000, 2000, CV_16U, 2.9, 20.0, 200, -150, false},  // 29.9"/px 16 bit
        {1280, 960, CV_8U, 3.75, 25.0, 0, 0, false},        // 30.9"/px 8 bit
        {640, 480, CV_16U, 5.2, 70.0, 100, 50, true},       // 15.3"/px: half size, margin
        {4000, 3000, CV_16U, 3.76, 12.0, -300, 200, false}, // 64.6"/px: enlarged by 2
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        const double cx = (c.w - 1) / 2.0, cy = (c.h - 1) / 2.0;
        const double peak = c.depth == CV_8U ? 200 : 40000;
        const cv::Mat sensor =
            Sensor(c.w, c.h, c.depth, peak / 10, peak, cx + c.dx, cy + c.dy, 2.0);
        ConversionSettings s;
        s.pixelSizeUm = c.pixelUm;
        s.focalLengthMm = c.focalMm;
        FrameConverter conv(s);
        std::vector<unsigned char> out(FrameConverter::kOutputBytes, 77);
        ASSERT_TRUE(conv.Convert(Raw(sensor), out.data()));

        const double f = conv.Factor();
        const cv::Point2d star = Centroid(out);
        EXPECT_NEAR(star.x, (W - 1) / 2.0 + c.dx * f, 1.0);
        EXPECT_NEAR(star.y, (H - 1) / 2.0 + c.dy * f, 1.0);
        const cv::Mat m(H, W, CV_8UC1, out.data());
        EXPECT_EQ(cv::sum(m(cv::Rect(0, 0, 20, 20)))[0] == 0, c.padded);
        EXPECT_EQ(cv::sum(m(cv::Rect(W - 20, H - 20, 20, 20)))[0] == 0, c.padded);
        EXPECT_GT(cv::sum(m(cv::Rect(W / 2 + 40, H / 2, 20, 20)))[0], 0); // background shows
    }
}

// Black and white levels come from the frame: the background sits just above black
// and the star's core is white, whatever the depth or the offset of the data; a lone
// hot pixel brighter than the star does not dim the star.
TEST(FrameConverter, StretchesTheFramesOwnLevelsTo8Bits) {
    struct Case {
        int depth;
        double sky, peak;
        double hot; // a lone pixel's value, 0 = none
    };
    const Case cases[] = {{CV_16U, 1000, 3000, 0},
                          {CV_16U, 20000, 20000, 65535},
                          {CV_8U, 20, 60, 0},
                          {CV_8U, 20, 60, 255}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sky << " " << c.hot);
        cv::Mat sensor = Sensor(1280, 960, c.depth, c.sky, c.peak, 400, 300, 3.0);
        if (c.hot > 0) {
            if (c.depth == CV_8U)
                sensor.at<unsigned char>(700, 900) = static_cast<unsigned char>(c.hot);
            else
                sensor.at<unsigned short>(700, 900) = static_cast<unsigned short>(c.hot);
        }
        FrameConverter conv;
        std::vector<unsigned char> out(FrameConverter::kOutputBytes);
        ASSERT_TRUE(conv.Convert(Raw(sensor), out.data()));
        const cv::Mat m(H, W, CV_8UC1, out.data());
        double core = 0;
        cv::minMaxLoc(m(cv::Rect(397, 297, 7, 7)), nullptr, &core);
        EXPECT_GE(core, 250) << conv.LastWhite();
        const double background = cv::mean(m(cv::Rect(800, 400, 300, 200)))[0];
        EXPECT_GT(background, 5);
        EXPECT_LT(background, 60);
        EXPECT_LT(conv.LastBlack(), c.sky);
        EXPECT_GT(conv.LastWhite(), c.sky + c.peak / 2);
    }
}

// A dark sky of single-pixel stars, as a sensor of 30"/px draws them: the sky
// stays dark and a faint star stands out of it by the detector's minimum; the
// white level comes from the brightest stars, steady as the brightest moves on
// the pixel grid of a resampled frame.
TEST(FrameConverter, KeepsFaintAndSinglePixelStarsVisibleOnADarkSky) {
    struct Case {
        double pixelUm, focalMm; // the resampling
        int faintX, faintY;      // a faint star's place in the output
    };
    const Case cases[] = {{3.76, 25.4, 700, 500},  // 30.5"/px: kept as it is
                          {3.76, 33.9, 700, 500}}; // 22.9"/px: resampled by 0.75
    for (const Case& c : cases) {
        SCOPED_TRACE(c.focalMm);
        ConversionSettings settings;
        settings.pixelSizeUm = c.pixelUm;
        settings.focalLengthMm = c.focalMm;
        FrameConverter conv(settings);
        const double f = conv.Factor();
        const int w = static_cast<int>(std::ceil(W / f)), h = static_cast<int>(std::ceil(H / f));
        std::vector<int> whites;
        int detected = 0;
        for (int phase = 0; phase < 4; ++phase) {
            cv::Mat sky(h, w, CV_64F);
            cv::RNG rng(777);
            rng.fill(sky, cv::RNG::NORMAL, 1000, 10);
            // Thirty stars of 2 % to 4 times the sky, and a brightest one that moves.
            for (int i = 0; i < 30; ++i)
                sky.at<double>(rng.uniform(20, h - 20), rng.uniform(20, w - 20)) +=
                    rng.uniform(20.0, 4000.0);
            sky.at<double>(h / 3, w / 3 + phase) += 30000;
            // Faint: a 2 x 2 star of 12 noise levels, so that resampling keeps it whole.
            const int fx = static_cast<int>((c.faintX - (W - w * f) / 2) / f);
            const int fy = static_cast<int>((c.faintY - (H - h * f) / 2) / f);
            sky(cv::Rect(fx, fy, 2, 2)) += 120;
            cv::Mat sensor;
            sky.convertTo(sensor, CV_16U);
            std::vector<unsigned char> out(FrameConverter::kOutputBytes);
            ASSERT_TRUE(conv.Convert(Raw(sensor), out.data()));
            whites.push_back(conv.LastWhite());
            detected +=
                static_cast<int>(DetectStars(cv::Mat(H, W, CV_8UC1, out.data()).clone()).size());

            const cv::Mat m(H, W, CV_8UC1, out.data());
            EXPECT_LT(cv::countNonZero(m >= 250), W * H / 1000) << "the sky turned white";
            const cv::Mat around = m(cv::Rect(c.faintX - 20, c.faintY - 20, 40, 40)).clone();
            cv::Mat sorted;
            cv::sort(around.reshape(1, 1), sorted, cv::SORT_ASCENDING);
            const int median = sorted.at<unsigned char>(0, sorted.cols / 2);
            EXPECT_LT(median, 60);
            double faint = 0;
            cv::minMaxLoc(m(cv::Rect(c.faintX - 2, c.faintY - 2, 5, 5)), nullptr, &faint);
            EXPECT_GE(faint - median, 6) << "phase " << phase;
        }
        // Every star of the frame that stands well above the noise is found by the
        // program's star detection (a lone pixel would not survive its noise filter).
        EXPECT_GE(detected, 4 * 26) << "of 4 x 31 stars";
        const auto [lo, hi] = std::minmax_element(whites.begin(), whites.end());
        EXPECT_LT(*hi - *lo, 0.1 * (*hi - 1000)) << "white moved from " << *lo << " to " << *hi;
    }
}

// Each mosaic order gives the luminance of a uniformly red scene; the wrong order
// would take the red pixels for blue or green.
TEST(FrameConverter, TurnsEachBayerMosaicIntoLuminance) {
    const struct {
        const char* pattern;
        int redX, redY; // red pixel inside each 2 x 2 cell
    } cases[] = {{"RGGB", 0, 0}, {"GRBG", 1, 0}, {"GBRG", 0, 1}, {"BGGR", 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        cv::Mat sensor(960, 1280, CV_16U, cv::Scalar(0));
        for (int y = c.redY; y < 960; y += 2)
            for (int x = c.redX; x < 1280; x += 2)
                sensor.at<unsigned short>(y, x) = 10000;
        // Grey patches (all colours alike): a bright one and a black one to stretch
        // against, and one of the red scene's luminance (red weighs 0.299) to compare.
        sensor(cv::Rect(0, 0, 100, 100)).setTo(20000);
        sensor(cv::Rect(200, 0, 200, 100)).setTo(0);
        sensor(cv::Rect(500, 0, 200, 100)).setTo(2990);
        FrameConverter conv;
        std::vector<unsigned char> out(FrameConverter::kOutputBytes);
        ASSERT_TRUE(conv.Convert(Raw(sensor, c.pattern), out.data()));
        EXPECT_NEAR(out[480 * W + 640], out[50 * W + 600], 2);
        EXPECT_LT(out[480 * W + 640], out[50 * W + 50]);
    }
}

TEST(FrameConverter, RefusesFramesItCannotRead) {
    const cv::Mat ok(10, 10, CV_16U, cv::Scalar(5));
    struct Case {
        RawFrame raw;
        const char* why;
    };
    RawFrame noData = Raw(ok);
    noData.data = nullptr;
    RawFrame tiny = Raw(ok);
    tiny.width = 1;
    RawFrame deep = Raw(ok);
    deep.bitsPerPixel = 32;
    const Case cases[] = {{noData, "no data"},
                          {tiny, "narrower than 2"},
                          {deep, "32 bits"},
                          {Raw(ok, "RGBG"), "unknown mosaic"}};
    for (const Case& c : cases) {
        FrameConverter conv;
        std::vector<unsigned char> out(FrameConverter::kOutputBytes, 9);
        EXPECT_FALSE(conv.Convert(c.raw, out.data())) << c.why;
        EXPECT_EQ(out[0], 9) << c.why;
    }
}

} // namespace
