// The refined star measurement against stars placed at known sub-pixel positions:
// bright, faint on a bright sky (where the pick's centroid falls back to a whole
// pixel), saturated, and beside a hot pixel; and what it refuses.
#include "astro/StarRefine.h"
#include "astro/Centroid.h"

#include "StarFrames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

struct Errors {
    double meanX = 0, meanY = 0, rms = 0;
    int missed = 0;
};

struct StarCase {
    const char* name;
    double peak, sigma, background, noise;
    double hotPixelDx; // a hot pixel this far right of the star (0: none)
    double maxRmsPx, maxBiasPx;
};

// Measures `count` stars at random sub-pixel places with `measure`.
template <typename Measure> Errors Measured(const StarCase& c, int count, Measure measure) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> frac(0.0, 1.0);
    Errors e;
    double sum2 = 0;
    int n = 0;
    for (int i = 0; i < count; ++i) {
        cv::Mat frame = NoisySky(64, 64, c.background, c.noise, rng);
        const double x = 31.0 + frac(rng);
        const double y = 30.0 + frac(rng);
        AddStar(frame, x, y, c.peak, c.sigma);
        if (c.hotPixelDx != 0)
            frame.at<uchar>(static_cast<int>(y), static_cast<int>(x + c.hotPixelDx)) = 255;
        double mx = 0, my = 0;
        if (!measure(frame, std::round(x), std::round(y), mx, my)) {
            ++e.missed;
            continue;
        }
        e.meanX += mx - x;
        e.meanY += my - y;
        sum2 += (mx - x) * (mx - x) + (my - y) * (my - y);
        ++n;
    }
    if (n > 0) {
        e.meanX /= n;
        e.meanY /= n;
        e.rms = std::sqrt(sum2 / n);
    }
    return e;
}

bool Refined(const cv::Mat& f, double x, double y, double& ox, double& oy) {
    const auto c = RefineStarCentre(f, x, y);
    if (!c)
        return false;
    ox = c->x;
    oy = c->y;
    return true;
}

bool Picked(const cv::Mat& f, double x, double y, double& ox, double& oy) {
    return GetPreciseStarPos(f, x, y, ox, oy) == 1;
}

TEST(StarRefine, FindsStarsToAFewHundredthsOfAPixel) {
    const StarCase cases[] = {
        {"bright", 120, 1.5, 20, 2, 0, 0.03, 0.01},
        {"faint on a bright sky", 30, 1.5, 60, 3, 0, 0.15, 0.04},
        {"saturated core", 900, 1.5, 20, 2, 0, 0.03, 0.01},
        {"narrow (pixel phase)", 100, 0.9, 15, 2, 0, 0.08, 0.02},
        {"hot pixel beside it", 80, 1.5, 20, 2, 3, 0.04, 0.02},
    };
    for (const StarCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Errors e = Measured(c, 200, Refined);
        EXPECT_EQ(e.missed, 0);
        EXPECT_LT(e.rms, c.maxRmsPx);
        EXPECT_LT(std::abs(e.meanX), c.maxBiasPx);
        EXPECT_LT(std::abs(e.meanY), c.maxBiasPx);
    }
}

// The fault it mends: on a bright sky the pick's centroid finds no star above its
// ratio and keeps the brightest pixel, up to half a pixel off.
TEST(StarRefine, MeasuresTheFaintStarThePickOnlyLocatesToAPixel) {
    const StarCase faint{"faint on a bright sky", 30, 1.5, 60, 3, 0, 0, 0};
    const Errors picked = Measured(faint, 200, Picked);
    const Errors refined = Measured(faint, 200, Refined);
    EXPECT_GT(picked.rms, 0.3);
    EXPECT_LT(refined.rms, picked.rms / 2.5);
}

TEST(StarRefine, RefusesWhatIsNoStar) {
    std::mt19937 rng(3);
    const cv::Mat sky = NoisySky(64, 64, 40, 3, rng);
    cv::Mat star = sky.clone();
    AddStar(star, 20.3, 20.6, 100, 1.5);
    AddStar(star, 60.2, 32.0, 100, 1.5);
    const struct {
        const char* what;
        cv::Mat frame;
        double x, y;
    } cases[] = {
        {"empty sky", sky, 32, 32},
        {"no frame", cv::Mat(), 32, 32},
        {"colour frame", cv::Mat(64, 64, CV_8UC3, cv::Scalar::all(50)), 32, 32},
        {"too near the edge", star, 60, 32},
        {"not a number", star, std::nan(""), 20},
        {"star far from the rough place", star, 26, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(RefineStarCentre(c.frame, c.x, c.y).has_value());
    }
    EXPECT_TRUE(RefineStarCentre(star, 21, 21).has_value());
}

} // namespace
