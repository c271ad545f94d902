#include "astro/Geometry.h"
#include "unit/astro/LogCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const QString kStraightLine = "Point in a straight line,Can not calculate center of cricle.";

TEST(RotatePointTest, TurnsClockwiseOnTheScreenAboutTheCentre) {
    struct Case {
        double angle, px, py, cx, cy, x, y;
    };
    const Case cases[] = {
        {90, 10, 0, 0, 0, 0, 10},
        {-90, 10, 0, 0, 0, 0, -10},
        {180, 5, 5, 3, 4, 1, 3},
        {45, 400, 300, 400, 400, 400 + 100 / std::sqrt(2.0), 400 - 100 / std::sqrt(2.0)},
        {360, 12.5, -7.25, 1, 2, 12.5, -7.25},
        {0, 123.456, -78.9, 400, 337, 123.456, -78.9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        double x = 0, y = 0;
        RotatePoint(c.angle, c.px, c.py, c.cx, c.cy, x, y);
        EXPECT_NEAR(x, c.x, 1e-9);
        EXPECT_NEAR(y, c.y, 1e-9);
    }
}

TEST(CalcCircleCenterTest, CentreRadiusAndLogLine) {
    struct Case {
        double x1, y1, x2, y2, x3, y3;
        double cx, cy;
        int radius;
        const char* logText;
    };
    const Case cases[] = {
        {0, 0, 10, 10, 20, 0, 10, 0, 10, "center of cricle (10,0)"},
        {99.99, 0, 0, 99.99, -99.99, 0, 0, 0, 99, nullptr},    // radius 99.99 -> 99
        {640.5, 480.25, 700, 520, 610, 560, 0, 0, 0, nullptr}, // checked by distance
        {0.5, 0, 0, 0.25, -0.5, 0, 0, -0.375, 0, "center of cricle (0,-0.375)"}, // no "-0"
    };
    for (const Case& c : cases) {
        LogCapture log;
        double cx = -1, cy = -1;
        int r = -1;
        ASSERT_EQ(CalcCircleCenter(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, cx, cy, r), 1);
        // The centre is equally far from the three points.
        const double d1 = std::hypot(cx - c.x1, cy - c.y1);
        EXPECT_NEAR(std::hypot(cx - c.x2, cy - c.y2), d1, 1e-9);
        EXPECT_NEAR(std::hypot(cx - c.x3, cy - c.y3), d1, 1e-9);
        EXPECT_EQ(r, static_cast<int>(d1));
        if (c.logText) {
            EXPECT_NEAR(cx, c.cx, 1e-12);
            EXPECT_NEAR(cy, c.cy, 1e-12);
            EXPECT_EQ(r, c.radius);
            ASSERT_EQ(log.Lines().size(), 1u);
            EXPECT_EQ(log.Lines()[0].level, "Info");
            EXPECT_EQ(log.Lines()[0].text, c.logText);
        } else if (c.radius) {
            EXPECT_EQ(r, c.radius);
        }
    }
}

TEST(CalcCircleCenterTest, DegenerateInputLeavesOutputsUntouched) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        double x1, y1, x2, y2, x3, y3;
        bool logged;
    };
    const Case cases[] = {
        {"first two at one height", 0, 0, 10, 0, 5, 5, false},
        {"last two at one height", 5, 5, 0, 0, 10, 0, false},
        {"collinear", 0, 0, 5, 5, 10, 10, true},
        {"all at one height", 0, 5, 3, 5, 7, 5, true},
        {"non-numeric", nan, 0, 10, 10, 20, 0, false},
        {"radius beyond any int", 0, 0, 1, 1e-10, 2, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        double cx = 7, cy = 8;
        int r = 9;
        EXPECT_EQ(CalcCircleCenter(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, cx, cy, r), -1);
        EXPECT_EQ(cx, 7);
        EXPECT_EQ(cy, 8);
        EXPECT_EQ(r, 9);
        const auto lines = log.Lines();
        if (c.logged) {
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_EQ(lines[0].level, "Error");
            EXPECT_EQ(lines[0].text, kStraightLine);
        } else {
            EXPECT_TRUE(lines.empty());
        }
    }
}

} // namespace
