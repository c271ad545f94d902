// The RA axis from three positions of a star on a turning sky: the positions are
// made by turning a sky about its pole and then the whole view about the axis, one
// rotation matrix after the other, and the axis found must be the axis alone.
#include "astro/SkyTurn.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace {

constexpr double kDeg = M_PI / 180.0;

// `p` turned by `deg` clockwise on the screen (y down) about `c`.
cv::Point2d TurnedAbout(const cv::Point2d& p, const cv::Point2d& c, double deg) {
    const cv::Matx22d r(std::cos(deg * kDeg), -std::sin(deg * kDeg), std::sin(deg * kDeg),
                        std::cos(deg * kDeg));
    const cv::Vec2d v = r * cv::Vec2d(p.x - c.x, p.y - c.y);
    return {c.x + v[0], c.y + v[1]};
}

struct Mount {
    cv::Point2d axis;
    cv::Point2d pole; // where the pole is in the image before the RA axis turns
    double skyDegPerSecond;

    // Where a star first seen at `star` is after `seconds` with the RA axis turned by
    // `raDeg`: the sky turns it about the pole, the mount the view about the axis.
    cv::Point2d Seen(const cv::Point2d& star, double seconds, double raDeg) const {
        return TurnedAbout(TurnedAbout(star, pole, skyDegPerSecond * seconds), axis, raDeg);
    }
};

struct PickCase {
    const char* what;
    SkyHemisphere hemisphere;
    double rateTimes; // the sky's rate in sidereal rates
    double poleOffPx; // the pole's distance from the axis
    double turnDeg;   // the RA axis's turn from the first pick to the third
    double seconds;   // from the first pick to the third
    double minBiasPx; // at least this far off with the sky's turn left in
};

// A person's pace: picks a minute or two apart, half a turn of the axis.
TEST(SkyTurnTest, ThreePicksGiveTheAxisAloneOnATurningSky) {
    const PickCase cases[] = {
        {"north, 1 degree off, two minutes", SkyHemisphere::North, 1, 118, 180, 120, 0.2},
        {"south, 2 degrees off, four minutes", SkyHemisphere::South, 1, 236, 120, 240, 1.0},
        {"north, 30' off, a slow person", SkyHemisphere::North, 1, 59, 90, 600, 1.0},
        {"south, 10 times the rate", SkyHemisphere::South, 10, 118, 180, 120, 2.5},
        {"north, turned the other way", SkyHemisphere::North, 1, 177, -150, 90, 0.2},
    };
    for (const PickCase& c : cases) {
        SCOPED_TRACE(c.what);
        const cv::Point2d axis(652.3, 471.8);
        const double poleDir = 35 * kDeg;
        const Mount m{axis, axis + c.poleOffPx * cv::Point2d(std::cos(poleDir), std::sin(poleDir)),
                      c.rateTimes * SiderealDegPerSecond(c.hemisphere)};
        const cv::Point2d star(m.pole.x - 140.0, m.pole.y + 95.0);
        std::array<TimedPoint, 3> picks;
        // The second pick a little later than half way, as a person takes it.
        const double when[3] = {0.0, 0.55 * c.seconds, c.seconds};
        const double turn[3] = {0.0, 0.5 * c.turnDeg, c.turnDeg};
        const double start = 5000.0; // the clock's seconds at the first pick
        for (int i = 0; i < 3; ++i) {
            const cv::Point2d p = m.Seen(star, when[i], turn[i]);
            picks[i] = {p.x, p.y, start + when[i]};
        }

        const AxisCircle still = AxisFromPicks(picks, {m.pole.x, m.pole.y, 0.0});
        const AxisCircle mended = AxisFromPicks(picks, {m.pole.x, m.pole.y, m.skyDegPerSecond});
        ASSERT_TRUE(still.ok);
        ASSERT_TRUE(mended.ok);
        const double bias = std::hypot(still.x - axis.x, still.y - axis.y);
        EXPECT_GT(bias, c.minBiasPx);
        EXPECT_NEAR(mended.x, axis.x, 1e-6);
        EXPECT_NEAR(mended.y, axis.y, 1e-6);
        EXPECT_NEAR(mended.radius, std::hypot(star.x - axis.x, star.y - axis.y), 1e-6);
        std::printf("[ figures  ] %s: the axis %.4f px off with the sky's turn left in\n", c.what,
                    bias);

        // The pole's place known to 3 px only: the axis stays within 3 px times the
        // sky's turn (in radians), 0.03 px over two minutes.
        const AxisCircle rough =
            AxisFromPicks(picks, {m.pole.x + 2.1, m.pole.y - 2.1, m.skyDegPerSecond});
        ASSERT_TRUE(rough.ok);
        const double skyTurnRad = std::abs(m.skyDegPerSecond * c.seconds) * kDeg;
        EXPECT_LT(std::hypot(rough.x - axis.x, rough.y - axis.y), 3.0 * skyTurnRad);
    }
}

// The northern sky turns counter-clockwise on the screen (its stars seen from below),
// the southern clockwise, once a sidereal day.
TEST(SkyTurnTest, TheSkyTurnsOnceASiderealDayEachHemisphereItsWay) {
    EXPECT_NEAR(SiderealDegPerSecond(SkyHemisphere::North) * 86164.0905, -360.0, 1e-9);
    EXPECT_NEAR(SiderealDegPerSecond(SkyHemisphere::South) * 86164.0905, 360.0, 1e-9);
    // A quarter day clockwise takes (1, 0) from the pole to (0, 1) (y down).
    const cv::Point2d p = SkyTurn::TakeOut({11, 20}, {10, 20}, -90.0);
    EXPECT_NEAR(p.x, 10, 1e-12);
    EXPECT_NEAR(p.y, 21, 1e-12);
}

TEST(SkyTurnTest, PositionsOnALineGiveNoAxis) {
    EXPECT_FALSE(CircleThrough({0, 0}, {1, 1}, {2, 2}).ok);
    EXPECT_FALSE(CircleThrough({5, 5}, {5, 5}, {9, 1}).ok);
    const std::array<TimedPoint, 3> line{{{0, 0, 0}, {10, 0, 30}, {20, 0, 60}}};
    EXPECT_FALSE(AxisFromPicks(line, {5, 5, SiderealDegPerSecond(SkyHemisphere::North)}).ok);
    const AxisCircle c = CircleThrough({1000, 0}, {0, 1000}, {-1000, 0});
    ASSERT_TRUE(c.ok);
    EXPECT_NEAR(c.x, 0, 1e-9);
    EXPECT_NEAR(c.y, 0, 1e-9);
    EXPECT_NEAR(c.radius, 1000, 1e-9);
}

} // namespace
