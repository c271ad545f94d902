// The automatic template match and axis fit on the real stars about the poles (the
// catalogue star list placed for random moments of 2026 to 2030): the right pole star
// and turn on random skies of both hemispheres, refusals with the pole star outside
// the frame, and the axis centre after a 40 degree turn.
#include "astro/AutoMatch.h"
#include "astro/AxisFit.h"
#include "astro/StarDetect.h"
#include "unit/astro/CatalogueSkyList.h"
#include "unit/astro/LogCapture.h"
#include "unit/astro/SkyMatching.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace {

UtcMoment RandomMoment(std::mt19937& rng) {
    std::uniform_int_distribution<int> year(2026, 2030), month(1, 12), day(1, 28), hour(0, 23);
    return {year(rng), month(rng), day(rng), hour(rng), 0, 0.0};
}

class AutoCatalogue : public ::testing::TestWithParam<const char*> {};

// The template's stars of the moment lie on catalogue stars: A, B and D on theirs
// (under a pixel), each further ring's centre on a real star within the match
// radius with room to spare (the drawn rings of the south sit up to 3.4 px off).
TEST_P(AutoCatalogue, TemplateStarsLieOnCatalogueStars) {
    LogCapture log;
    const SkyList sky = CatalogueSkyList(GetParam(), {2026, 12, 10, 21, 30, 0.0});
    const TemplatePattern& t = sky.pattern;
    for (std::size_t i = 0; i < t.stars.size(); ++i) {
        double nearest = 1e9;
        for (const SkyListStar& s : sky.stars)
            nearest = std::min(nearest, std::hypot(s.dx - (t.stars[i].x - t.poleX),
                                                   s.dy - (t.stars[i].y - t.poleY)));
        std::printf("[ figures  ] %s template star %zu: %.2f px from a catalogue star\n",
                    GetParam(), i, nearest);
        EXPECT_LT(nearest, i < 3 ? 1.0 : AutoMatchOptions().matchRadiusPx - 0.5)
            << "template star " << i;
    }
}

// 100 random skies: moment, sky turn, camera roll, misalignment, scale and noise.
TEST_P(AutoCatalogue, FindsThePoleStarAndTheTurnOnRandomSkies) {
    LogCapture log;
    std::mt19937 rng(GetParam()[0] == 'N' ? 101 : 202);
    int right = 0;
    double worstTurn = 0;
    for (int i = 0; i < 100; ++i) {
        const SkyList sky = CatalogueSkyList(GetParam(), RandomMoment(rng));
        const SkyView view = RandomView(rng);
        const AutoMatchResult r = MatchFrame(RenderSky(sky, view, rng), sky.pattern);
        const cv::Point2d truth = view.PoleStar(sky);
        const bool ok = r.found && std::hypot(r.poleStarX - truth.x, r.poleStarY - truth.y) < 2.0 &&
                        TurnError(r.angleDeg, view.turnDeg) < 1.0;
        right += ok ? 1 : 0;
        if (r.found)
            worstTurn = std::max(worstTurn, TurnError(r.angleDeg, view.turnDeg));
        EXPECT_TRUE(ok) << "sky " << i << ": truth (" << truth.x << "," << truth.y << ") turn "
                        << view.turnDeg << "; " << Account(r);
    }
    std::printf("[ figures  ] catalogue %s: %d of 100 skies matched, worst turn error %.3f deg\n",
                GetParam(), right, worstTurn);
}

// The same kind of skies with the pole star 20 to 300 px beyond an edge: no match.
TEST_P(AutoCatalogue, RefusesWhenThePoleStarIsOutsideTheFrame) {
    LogCapture log;
    std::mt19937 rng(GetParam()[0] == 'N' ? 303 : 404);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    int refused = 0;
    for (int i = 0; i < 100; ++i) {
        const SkyList sky = CatalogueSkyList(GetParam(), RandomMoment(rng));
        SkyView view = RandomView(rng);
        PutPoleStarOutside(view, sky, i % 4, 20 + 280 * u(rng));
        const AutoMatchResult r = MatchFrame(RenderSky(sky, view, rng), sky.pattern);
        refused += r.found ? 0 : 1;
        EXPECT_FALSE(r.found) << "sky " << i << ": " << Account(r);
    }
    std::printf("[ figures  ] catalogue %s: %d of 100 frames without the pole star refused\n",
                GetParam(), refused);
}

// The RA axis turned 40 degrees in 2 degree steps about a point near the centre.
TEST_P(AutoCatalogue, AxisCentreWithinHalfAPixelAfterAFortyDegreeTurn) {
    LogCapture log;
    std::mt19937 rng(GetParam()[0] == 'N' ? 505 : 606);
    const SkyList sky = CatalogueSkyList(GetParam(), RandomMoment(rng));
    const SkyView start = RandomView(rng);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    const double ax = 640 + 60 * u(rng) + 0.37, ay = 480 + 60 * u(rng) + 0.61;
    AxisFollower follower;
    for (int f = 0; f <= 20; ++f) {
        SkyView v = start;
        const double turn = 2.0 * f, c = std::cos(turn * M_PI / 180),
                     s = std::sin(turn * M_PI / 180);
        v.poleX = ax + (start.poleX - ax) * c - (start.poleY - ay) * s;
        v.poleY = ay + (start.poleX - ax) * s + (start.poleY - ay) * c;
        v.turnDeg += turn;
        EXPECT_TRUE(follower.AddFrame(DetectStars(RenderSky(sky, v, rng)))) << "frame " << f;
    }
    EXPECT_NEAR(follower.TurnDeg(), 40.0, 0.1);
    const AxisFitResult r = follower.Fit();
    ASSERT_TRUE(r.ok);
    const double error = std::hypot(r.centreX - ax, r.centreY - ay);
    EXPECT_LT(error, 0.5) << "centre (" << r.centreX << "," << r.centreY << ") truth (" << ax << ","
                          << ay << ")";
    std::printf("[ figures  ] catalogue %s: axis centre error %.3f px after 40 deg, %d points in "
                "%d tracks, rms %.3f px\n",
                GetParam(), error, r.points, r.tracks, r.rmsPx);
}

INSTANTIATE_TEST_SUITE_P(Hemispheres, AutoCatalogue, ::testing::Values("N", "S"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
