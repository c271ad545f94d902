// The RA axis from stars followed over a turn, on synthetic skies of both
// hemispheres: the centre to half a pixel after 40 degrees, whether the axis is
// turned slowly or in steps, either way, with a satellite crossing the field.
#include "astro/AxisFit.h"
#include "astro/StarDetect.h"
#include "unit/astro/LogCapture.h"
#include "unit/astro/SyntheticSky.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include <cmath>
#include <cstdio>

namespace {

// The view after the RA axis has turned by `turn` degrees about (ax, ay).
SkyView Turned(SkyView v, double ax, double ay, double turn) {
    const double c = std::cos(turn * M_PI / 180), s = std::sin(turn * M_PI / 180);
    const double x = v.poleX - ax, y = v.poleY - ay;
    v.poleX = ax + x * c - y * s;
    v.poleY = ay + x * s + y * c;
    v.turnDeg += turn;
    return v;
}

struct AxisCase {
    const char* what;
    const char* hemisphere;
    double step;    // degrees per frame
    double total;   // degrees turned
    bool satellite; // a bright dot crossing the field in a straight line
};

TEST(AxisFitTest, CentreWithinHalfAPixelAfterAFortyDegreeTurn) {
    LogCapture log;
    const AxisCase cases[] = {
        {"north, slowly", "N", 1.0, 40, false},
        {"south, slowly", "S", 1.0, 40, false},
        {"north, in steps of 10 degrees", "N", 10.0, 40, false},
        {"south, the other way in steps of 5", "S", -5.0, -40, false},
        {"north, with a satellite", "N", 2.0, 40, true},
    };
    unsigned seed = 5;
    for (const AxisCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::mt19937 rng(++seed);
        const SkyList sky = TemplateSkyList(c.hemisphere, rng);
        const SkyView start = RandomView(rng);
        std::uniform_real_distribution<double> u(-1.0, 1.0);
        const double ax = 640 + 60 * u(rng) + 0.37, ay = 480 + 60 * u(rng) + 0.61;

        AxisFollower follower;
        const int frames = int(std::lround(c.total / c.step)) + 1;
        for (int f = 0; f < frames; ++f) {
            const SkyView view = Turned(start, ax, ay, f * c.step);
            cv::Mat frame = RenderSky(sky, view, rng);
            if (c.satellite) {
                const double x = 100 + f * 45.0, y = 200 + f * 20.0;
                cv::circle(frame, cv::Point(int(x), int(y)), 2, cv::Scalar(250), -1);
            }
            EXPECT_TRUE(follower.AddFrame(DetectStars(frame))) << "frame " << f;
        }
        EXPECT_NEAR(follower.TurnDeg(), c.total, 0.1);
        const AxisFitResult r = follower.Fit();
        ASSERT_TRUE(r.ok);
        const double error = std::hypot(r.centreX - ax, r.centreY - ay);
        EXPECT_LT(error, 0.5) << "centre (" << r.centreX << "," << r.centreY << ") truth (" << ax
                              << "," << ay << ")";
        std::printf("[ figures  ] %s: centre error %.3f px, %d points in %d tracks, %d dropped, "
                    "rms %.3f px\n",
                    c.what, error, r.points, r.tracks, r.rejected, r.rmsPx);
        // The three positions belong to one star on its circle, spread over the turn.
        for (const auto& p : r.star)
            EXPECT_NEAR(std::hypot(p[0] - ax, p[1] - ay), r.radius, 1.0);
        const double chord = std::hypot(r.star[2][0] - r.star[0][0], r.star[2][1] - r.star[0][1]);
        EXPECT_GT(chord, r.radius * 0.5);
    }
}

// Without a turn there is no centre to fit; frames of another sky are not tied.
TEST(AxisFitTest, NoFitWithoutATurnAndNoTieToAnotherSky) {
    LogCapture log;
    std::mt19937 rng(3);
    const SkyList sky = TemplateSkyList("N", rng);
    const SkyView start = RandomView(rng);
    AxisFollower follower;
    for (int f = 0; f < 4; ++f)
        follower.AddFrame(DetectStars(RenderSky(sky, Turned(start, 640, 480, f * 1.0), rng)));
    EXPECT_NEAR(follower.TurnDeg(), 3.0, 0.1);
    EXPECT_FALSE(follower.Fit().ok);

    const SkyList other = TemplateSkyList("S", rng);
    SkyView far = start;
    far.poleX += 3000; // nothing of the first sky in view: only the other's field stars
    const int taken = follower.FramesTaken();
    EXPECT_FALSE(follower.AddFrame(DetectStars(RenderSky(other, far, rng))));
    EXPECT_EQ(follower.FramesTaken(), taken);
    EXPECT_FALSE(AxisFollower().Fit().ok);
}

} // namespace
