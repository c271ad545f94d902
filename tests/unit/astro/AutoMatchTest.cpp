// The automatic template match on synthetic skies: the right pole star and turn on
// random skies of both hemispheres, and no match when the pole star is not in the
// frame. The skies come from SyntheticSky.h; a catalogue's star list can be put in
// place of TemplateSkyList without changing the tests.
#include "astro/AutoMatch.h"
#include "astro/StarDetect.h"
#include "unit/astro/LogCapture.h"
#include "unit/astro/SkyMatching.h"
#include "unit/astro/SyntheticSky.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace {

struct HemisphereCase {
    const char* hemisphere;
    unsigned seed;
};

class AutoMatchSkies : public ::testing::TestWithParam<HemisphereCase> {};

// 100 random skies: sky turn, camera roll, misalignment, scale, noise and field stars.
TEST_P(AutoMatchSkies, FindsThePoleStarAndTheTurnOnRandomSkies) {
    LogCapture log;
    const HemisphereCase& c = GetParam();
    std::mt19937 rng(c.seed);
    int right = 0;
    double worstTurn = 0;
    for (int i = 0; i < 100; ++i) {
        const SkyList sky = TemplateSkyList(c.hemisphere, rng);
        const SkyView view = RandomView(rng);
        const cv::Mat frame = RenderSky(sky, view, rng);
        const AutoMatchResult r = MatchFrame(frame, sky.pattern);
        const cv::Point2d truth = view.PoleStar(sky);
        const bool ok = r.found && std::hypot(r.poleStarX - truth.x, r.poleStarY - truth.y) < 2.0 &&
                        TurnError(r.angleDeg, view.turnDeg) < 1.0 &&
                        TurnError(r.barValue, view.turnDeg) <= 1.0;
        right += ok ? 1 : 0;
        if (r.found)
            worstTurn = std::max(worstTurn, TurnError(r.angleDeg, view.turnDeg));
        EXPECT_TRUE(ok) << "sky " << i << ": truth (" << truth.x << "," << truth.y << ") turn "
                        << view.turnDeg << "; " << Account(r);
    }
    std::printf("[ figures  ] %s: %d of 100 skies matched, worst turn error %.3f deg\n",
                c.hemisphere, right, worstTurn);
}

// The same skies moved so that the pole star lies outside the frame: never a match.
TEST_P(AutoMatchSkies, RefusesWhenThePoleStarIsOutsideTheFrame) {
    LogCapture log;
    const HemisphereCase& c = GetParam();
    std::mt19937 rng(c.seed + 1000);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    int refused = 0;
    for (int i = 0; i < 100; ++i) {
        const SkyList sky = TemplateSkyList(c.hemisphere, rng);
        SkyView view = RandomView(rng);
        PutPoleStarOutside(view, sky, i % 4, 20 + 280 * u(rng));
        const cv::Mat frame = RenderSky(sky, view, rng);
        const AutoMatchResult r = MatchFrame(frame, sky.pattern);
        refused += r.found ? 0 : 1;
        EXPECT_FALSE(r.found) << "sky " << i << ": " << Account(r);
    }
    std::printf("[ figures  ] %s: %d of 100 frames without the pole star refused\n", c.hemisphere,
                refused);
}

INSTANTIATE_TEST_SUITE_P(Hemispheres, AutoMatchSkies,
                         ::testing::Values(HemisphereCase{"N", 11}, HemisphereCase{"S", 23}),
                         [](const auto& info) { return std::string(info.param.hemisphere); });

// The turn as the bar shows it, and the refusals, on exact star lists.
TEST(AutoMatchTest, TurnsAndRefusalsOnExactStarLists) {
    LogCapture log;
    const TemplatePattern north = PatternOf("N");
    auto listAt = [&](double turn, double x, double y) {
        SkyView v;
        v.turnDeg = turn;
        std::vector<DetectedStar> stars;
        for (const TemplatePattern::Star& s : north.stars) {
            const cv::Point2d p = v.Place({s.x - north.stars[0].x, s.y - north.stars[0].y, 0});
            stars.push_back({p.x - 640 + x, p.y - 480 + y, 100, 100});
        }
        return stars;
    };
    struct Case {
        const char* what;
        double turn;
        int bar;
    };
    const Case cases[] = {
        {"no turn", 0.0, 0},
        {"just under a whole turn", 359.6, 0},
        {"a half degree rounds up", 12.5, 13},
        {"a quarter turn", 90.2, 90},
        {"nearly whole", 358.4, 358},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const AutoMatchResult r = MatchTemplate(listAt(c.turn, 640, 480), north);
        ASSERT_TRUE(r.found);
        EXPECT_NEAR(TurnError(r.angleDeg, c.turn), 0.0, 1e-6);
        EXPECT_EQ(r.barValue, c.bar);
        EXPECT_NEAR(r.poleStarX, 640, 1e-9);
        EXPECT_NEAR(r.poleStarY, 480, 1e-9);
        EXPECT_EQ(r.matched, int(north.stars.size()) - 1);
        // The template pole lands where the rotation bar's own computation puts it.
        const double t = c.turn * M_PI / 180;
        const double px = north.poleX - north.stars[0].x, py = north.poleY - north.stars[0].y;
        EXPECT_NEAR(r.poleX, 640 + px * std::cos(t) - py * std::sin(t), 1e-6);
        EXPECT_NEAR(r.poleY, 480 + px * std::sin(t) + py * std::cos(t), 1e-6);
    }

    // A smaller camera's frame centred on black: only the stars of its sky part are
    // there, and the match looks for the template's stars there alone.
    {
        const cv::Rect sky(300, 330, 530, 370); // hides the template star at the bottom
        std::vector<DetectedStar> seen;
        for (const DetectedStar& s : listAt(30, 640, 480))
            if (sky.contains(cv::Point(static_cast<int>(s.x), static_cast<int>(s.y))))
                seen.push_back(s);
        ASSERT_LT(seen.size(), north.stars.size()) << "the region must hide a star";
        AutoMatchOptions whole;
        whole.frameWidth = 1280;
        whole.frameHeight = 960;
        AutoMatchOptions part = whole;
        part.frameLeft = sky.x;
        part.frameTop = sky.y;
        part.frameWidth = sky.width;
        part.frameHeight = sky.height;
        const AutoMatchResult inPart = MatchTemplate(seen, north, part);
        const AutoMatchResult inWhole = MatchTemplate(seen, north, whole);
        EXPECT_GT(inWhole.expected, inWhole.matched); // it looked into the black margin
        ASSERT_TRUE(inPart.found) << Account(inPart);
        EXPECT_EQ(inPart.expected, inPart.matched);
        EXPECT_NEAR(inPart.poleStarX, 640, 1e-9);
    }

    // Too few stars, a pattern of other distances, and two copies of the template.
    EXPECT_EQ(MatchTemplate({}, north).refusal, AutoMatchResult::Refusal::TooFewStars);
    std::vector<DetectedStar> scaled = listAt(30, 640, 480);
    for (DetectedStar& s : scaled) {
        s.x = 640 + (s.x - 640) * 1.2;
        s.y = 480 + (s.y - 480) * 1.2;
    }
    EXPECT_EQ(MatchTemplate(scaled, north).refusal, AutoMatchResult::Refusal::NoFit);
    std::vector<DetectedStar> twice = listAt(30, 300, 300);
    const std::vector<DetectedStar> other = listAt(30, 1000, 700);
    twice.insert(twice.end(), other.begin(), other.end());
    const AutoMatchResult r = MatchTemplate(twice, north);
    EXPECT_FALSE(r.found);
    EXPECT_EQ(r.refusal, AutoMatchResult::Refusal::Ambiguous);
}

} // namespace
