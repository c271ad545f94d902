// The RA axis from stars followed over a turn, on synthetic skies of both
// hemispheres: the centre to half a pixel after 40 degrees, whether the axis is
// turned slowly or in steps, either way, with a satellite crossing the field.
#include "astro/AxisFit.h"
#include "astro/AxisFollowSession.h"
#include "astro/StarDetect.h"
#include "unit/astro/LogCapture.h"
#include "unit/astro/SyntheticSky.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include <cmath>
#include <cstdio>
#include <optional>

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

// On a turning sky each frame's stars have also turned about the pole: the follower
// takes that turn out (given the pole's place in the first frame, a few pixels off
// as a template places it) and finds the axis alone; left in, it pulls the centre
// toward the pole.
TEST(AxisFitTest, OnATurningSkyTheCentreIsTheAxisAlone) {
    LogCapture log;
    struct Case {
        const char* what;
        const char* hemisphere;
        double rateTimes; // the sky's rate in sidereal rates
        double seconds;   // the whole turn of 40 degrees
        double minBiasPx; // at least this far off with the sky's turn left in
    };
    const Case cases[] = {
        {"north, sidereal, three minutes", "N", 1, 180, 0.7},
        {"south, sidereal, five minutes", "S", 1, 300, 1.0},
        {"north, ten times, two minutes", "N", 10, 120, 5.0},
    };
    unsigned seed = 40;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::mt19937 rng(++seed);
        const SkyList sky = TemplateSkyList(c.hemisphere, rng);
        SkyView start = RandomView(rng);
        // The pole 1.5 degrees from the axis.
        const double ax = start.poleX - 150.3, ay = start.poleY + 80.6;
        const SkyHemisphere h =
            c.hemisphere[0] == 'S' ? SkyHemisphere::South : SkyHemisphere::North;
        const double rate = c.rateTimes * SiderealDegPerSecond(h);

        AxisFollower mended;
        mended.SetSkyTurn({start.poleX + 2.0, start.poleY - 1.5, rate});
        AxisFollower still;
        const int frames = 41;
        for (int f = 0; f < frames; ++f) {
            const double t = c.seconds * f / (frames - 1);
            SkyView view = Turned(start, ax, ay, f * 1.0);
            view.turnDeg += rate * t; // the sky about its pole, wherever it is
            const std::vector<DetectedStar> stars = DetectStars(RenderSky(sky, view, rng));
            EXPECT_TRUE(mended.AddFrame(stars, 1000.0 + t)) << "frame " << f;
            still.AddFrame(stars, 1000.0 + t);
        }
        EXPECT_NEAR(mended.TurnDeg(), 40.0, 0.1);
        const AxisFitResult m = mended.Fit();
        const AxisFitResult s = still.Fit();
        ASSERT_TRUE(m.ok);
        ASSERT_TRUE(s.ok);
        const double error = std::hypot(m.centreX - ax, m.centreY - ay);
        const double bias = std::hypot(s.centreX - ax, s.centreY - ay);
        // The pole given 2.5 px off moves the points by 2.5 px times the sky's turn.
        const double skyTurnRad = std::abs(rate * c.seconds) * M_PI / 180.0;
        EXPECT_LT(error, 0.15 + 2.5 * skyTurnRad);
        EXPECT_GT(bias, c.minBiasPx);
        std::printf("[ figures  ] %s: centre %.3f px off with the sky's turn taken out, %.3f px "
                    "with it left in\n",
                    c.what, error, bias);
    }
}

// The session: no axis before the turn reaches 30 degrees, the axis at the first
// frame past it, and nothing changes after that.
TEST(AxisFitTest, TheSessionFitsOnceTheTurnPassesThirtyDegrees) {
    LogCapture log;
    std::mt19937 rng(77);
    const SkyList sky = TemplateSkyList("S", rng);
    const SkyView start = RandomView(rng);
    const double ax = start.poleX + 90.2, ay = start.poleY - 60.7;
    const double rate = SiderealDegPerSecond(SkyHemisphere::South);
    AxisFollowSession session({start.poleX, start.poleY, rate});
    std::optional<AxisFitResult> found;
    double turnedAtFit = 0;
    for (int f = 0; f <= 24; ++f) {
        const double t = 5.0 * f; // a frame every 5 s, the axis 1.5 degrees on each time
        SkyView view = Turned(start, ax, ay, -1.5 * f);
        view.turnDeg += rate * t;
        const AxisFollowSession::Step step = session.AddFrame(RenderSky(sky, view, rng), t);
        if (!found) {
            EXPECT_NEAR(step.turnedDeg, 1.5 * f, 0.1) << "frame " << f;
            if (step.fit) {
                found = step.fit;
                turnedAtFit = 1.5 * f;
            }
        } else {
            ASSERT_TRUE(step.fit);
            EXPECT_EQ(step.fit->centreX, found->centreX);
            EXPECT_EQ(step.turnedDeg, std::abs(found->turnDeg));
        }
    }
    ASSERT_TRUE(found);
    EXPECT_TRUE(session.Done());
    EXPECT_DOUBLE_EQ(turnedAtFit, 30.0);
    EXPECT_LT(std::hypot(found->centreX - ax, found->centreY - ay), 0.5);
}

} // namespace
