// Position texts under the close-up and in the status bar, and the magnifier's centre.

#include "display/Readouts.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(Readouts, PositionTextIsTruncatedTowardZero) {
    const struct {
        double x, y;
        const char* text;
    } cases[] = {
        {640.7, 479.2, "(640,479)"},
        {-12.6, 35.1, "(-12,35)"},
        {99.99, 0.0, "(99,0)"},
        {-0.4, -0.9, "(0,0)"},
        {0, 0, "(0,0)"},
        {1279.999, 959.5, "(1279,959)"},
        {-1234.5, 12345.9, "(-1234,12345)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PositionReadout(c.x, c.y).toStdString(), c.text);
}

TEST(Readouts, MouseText) {
    EXPECT_EQ(MousePositionText(5.7, 950.2).toStdString(), "X:5 Y:950");
    EXPECT_EQ(MousePositionText(640, 480).toStdString(), "X:640 Y:480");
}

TEST(Readouts, NonFiniteValuesAreWrittenNotConverted) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(PositionReadout(nan, 3.5).toStdString(), "(nan,3)");
}

TEST(Readouts, MagnifierCentreStaysThirtyPixelsInside) {
    const struct {
        double x, y, cx, cy;
    } cases[] = {
        {5.7, 950.2, 30, 930}, {1270, 12, 1250, 30}, {640.5, 480.25, 640.5, 480.25},
        {30, 930, 30, 930},    {-100, -100, 30, 30}, {1250.1, 929.9, 1250, 929.9},
    };
    for (const auto& c : cases) {
        const QPointF p = MagnifierCenter(c.x, c.y);
        EXPECT_DOUBLE_EQ(p.x(), c.cx) << c.x;
        EXPECT_DOUBLE_EQ(p.y(), c.cy) << c.y;
    }
}

} // namespace
