// The compiled-in pictures keep the geometry and colours the program relies on:
// template rings where the star data puts them, at half opacity on a transparent
// background; legend icons and indicators in the colours of their style.

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

QImage loadResource(const char* name) {
    QImage image(QStringLiteral(":/") + QString::fromLatin1(name));
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Channel-wise comparison with a tolerance, reporting the pixel on failure.
::testing::AssertionResult pixelNear(const QImage& image, int x, int y, const QColor& expected,
                                     int tolerance) {
    const QColor got = image.pixelColor(x, y);
    const int diffs[] = {got.red() - expected.red(), got.green() - expected.green(),
                         got.blue() - expected.blue(), got.alpha() - expected.alpha()};
    for (int d : diffs)
        if (std::abs(d) > tolerance)
            return ::testing::AssertionFailure()
                   << "pixel (" << x << ", " << y << ") is rgba(" << got.red() << ", "
                   << got.green() << ", " << got.blue() << ", " << got.alpha()
                   << "), expected rgba(" << expected.red() << ", " << expected.green() << ", "
                   << expected.blue() << ", " << expected.alpha() << ")";
    return ::testing::AssertionSuccess();
}

int alphaAt(const QImage& image, int x, int y) {
    return qAlpha(image.pixel(x, y));
}

const QColor kRingInside(249, 249, 255, 128);
const QColor kRingEdge(34, 42, 74, 128);
const QColor kBand(219, 227, 187, 128);
constexpr int kColourTolerance = 6;

struct RingCase {
    const char* resource;
    int x, y, radius;
};

// Ring centres and outer radii of both templates.
const std::vector<RingCase> kRings = {
    {"North_Mask_hollow", 445, 217, 12}, {"North_Mask_hollow", 648, 494, 12},
    {"North_Mask_hollow", 281, 699, 12}, {"North_Mask_hollow", 400, 399, 15},
    {"North_Mask_hollow", 58, 448, 15},  {"North_Mask_hollow", 608, 697, 15},
    {"South_Mask_hollow", 400, 336, 20}, {"South_Mask_hollow", 444, 134, 20},
    {"South_Mask_hollow", 625, 54, 20},  {"South_Mask_hollow", 564, 433, 20},
    {"South_Mask_hollow", 227, 404, 16}, {"South_Mask_hollow", 228, 562, 16},
    {"South_Mask_hollow", 295, 411, 14},
};

TEST(TemplateImages, SizesAndTransparentBackground) {
    struct Case {
        const char* name;
        int width, height;
    };
    for (const Case& c :
         {Case{"North_Mask_hollow", 800, 800}, Case{"South_Mask_hollow", 800, 674}}) {
        SCOPED_TRACE(c.name);
        const QImage image = loadResource(c.name);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), c.width);
        EXPECT_EQ(image.height(), c.height);
        EXPECT_TRUE(image.hasAlphaChannel());
        EXPECT_EQ(alphaAt(image, 0, 0), 0);
        EXPECT_EQ(alphaAt(image, c.width - 1, c.height - 1), 0);
        EXPECT_EQ(alphaAt(image, c.width / 2 + 60, c.height / 2 - 60), 0);
        // Every mark is see-through: nothing exceeds about half opacity.
        int maxAlpha = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                maxAlpha = std::max(maxAlpha, alphaAt(image, x, y));
        EXPECT_GE(maxAlpha, 120);
        EXPECT_LE(maxAlpha, 136);
    }
}

TEST(TemplateImages, RingsSitOnTheirCentresWithTheirRadius) {
    for (const RingCase& r : kRings) {
        SCOPED_TRACE(std::string(r.resource) + " ring at " + std::to_string(r.x) + "," +
                     std::to_string(r.y));
        const QImage image = loadResource(r.resource);
        ASSERT_FALSE(image.isNull());
        // Hollow: the centre and most of the inside are clear.
        EXPECT_EQ(alphaAt(image, r.x, r.y), 0);
        EXPECT_EQ(alphaAt(image, r.x + r.radius - 5, r.y), 0);
        // Near-white inside of the ring, on all four sides.
        EXPECT_TRUE(pixelNear(image, r.x + r.radius - 2, r.y, kRingInside, kColourTolerance));
        EXPECT_TRUE(pixelNear(image, r.x - r.radius + 2, r.y, kRingInside, kColourTolerance));
        EXPECT_TRUE(pixelNear(image, r.x, r.y + r.radius - 2, kRingInside, kColourTolerance));
        EXPECT_TRUE(pixelNear(image, r.x, r.y - r.radius + 2, kRingInside, kColourTolerance));
        // Dark blue-grey outer edge.
        EXPECT_TRUE(pixelNear(image, r.x + r.radius - 1, r.y, kRingEdge, kColourTolerance));
        EXPECT_TRUE(pixelNear(image, r.x, r.y - r.radius + 1, kRingEdge, kColourTolerance));
        // Nothing beyond the outer radius.
        EXPECT_EQ(alphaAt(image, r.x + r.radius + 1, r.y), 0);
        EXPECT_EQ(alphaAt(image, r.x, r.y - r.radius - 1), 0);
    }
}

TEST(TemplateImages, SouthernQuadrilateralBandsJoinTheRingsAndStopShort) {
    const QImage image = loadResource("South_Mask_hollow");
    ASSERT_FALSE(image.isNull());
    struct Corner {
        int x, y;
    };
    const Corner corners[] = {{400, 336}, {444, 134}, {625, 54}, {564, 433}};
    constexpr double kRadius = 20;
    for (int i = 0; i < 4; ++i) {
        const Corner a = corners[i], b = corners[(i + 1) % 4];
        SCOPED_TRACE("band " + std::to_string(i));
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        const double ux = (b.x - a.x) / length, uy = (b.y - a.y) / length;
        auto at = [&](double along, double across, int* px, int* py) {
            *px = static_cast<int>(std::lround(a.x + ux * along - uy * across));
            *py = static_cast<int>(std::lround(a.y + uy * along + ux * across));
        };
        int x, y;
        // Pale yellow-green at half opacity along the middle of the band.
        for (double f : {0.3, 0.5, 0.7}) {
            at(length * f, 0, &x, &y);
            EXPECT_TRUE(pixelNear(image, x, y, kBand, kColourTolerance));
        }
        // About 6 px wide: clear 6 px to either side of the middle line.
        at(length / 2, 6, &x, &y);
        EXPECT_EQ(alphaAt(image, x, y), 0);
        at(length / 2, -6, &x, &y);
        EXPECT_EQ(alphaAt(image, x, y), 0);
        // Stops short of both rings: clear just outside each ring on the band's line.
        at(kRadius + 1.5, 0, &x, &y);
        EXPECT_EQ(alphaAt(image, x, y), 0);
        at(length - kRadius - 1.5, 0, &x, &y);
        EXPECT_EQ(alphaAt(image, x, y), 0);
    }
    // The radius-16 rings of stars A and D are not joined.
    EXPECT_EQ(alphaAt(image, 227, 483), 0);
}

TEST(LegendIcons, MarksInTheColourOfTheirStyle) {
    const QColor ghostWhite(248, 248, 255);
    struct Case {
        const char* name;
        QColor colour;
        bool pole;
    };
    const Case cases[] = {
        {"PoleIcon_mono", ghostWhite, true},
        {"PoleIcon_color", QColor(0, 255, 0), true},
        {"AxisIcon_mono", ghostWhite, false},
        {"AxisIcon_color", QColor(252, 0, 0), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = loadResource(c.name);
        ASSERT_FALSE(image.isNull());
        ASSERT_EQ(image.size(), QSize(25, 25));
        EXPECT_EQ(alphaAt(image, 0, 0), 0);
        EXPECT_EQ(alphaAt(image, 24, 24), 0);
        EXPECT_TRUE(pixelNear(image, 12, 12, c.colour, 0)); // centre mark
        if (c.pole) {
            // Cross 21 px wide and high, corner brackets with 5-px arms.
            EXPECT_TRUE(pixelNear(image, 2, 12, c.colour, 0));
            EXPECT_TRUE(pixelNear(image, 22, 12, c.colour, 0));
            EXPECT_TRUE(pixelNear(image, 12, 2, c.colour, 0));
            EXPECT_EQ(alphaAt(image, 1, 12), 0);
            EXPECT_EQ(alphaAt(image, 23, 12), 0);
            EXPECT_TRUE(pixelNear(image, 5, 1, c.colour, 0));
            EXPECT_TRUE(pixelNear(image, 1, 5, c.colour, 0));
            EXPECT_EQ(alphaAt(image, 6, 1), 0);
            EXPECT_TRUE(pixelNear(image, 23, 23, c.colour, 0));
        } else {
            // Ring of radius 7 with a clear gap inside and ticks outside.
            EXPECT_TRUE(pixelNear(image, 19, 12, c.colour, 40));
            EXPECT_TRUE(pixelNear(image, 12, 5, c.colour, 40));
            EXPECT_EQ(alphaAt(image, 16, 12), 0);
            EXPECT_TRUE(pixelNear(image, 22, 12, c.colour, 0));
            EXPECT_TRUE(pixelNear(image, 12, 23, c.colour, 0));
        }
    }
}

TEST(Indicators, SpheresWithTheirMarkInTheColourOfTheirStyle) {
    enum Hue { LightGrey, DarkGrey, Green, RedOrange };
    struct Case {
        const char* name;
        Hue hue;
        bool recorded;
    };
    const Case cases[] = {
        {"Img_lighton_mono", LightGrey, true},
        {"Img_lightoff_mono", DarkGrey, false},
        {"Img_lighton_color", Green, true},
        {"Img_lightoff_color", RedOrange, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = loadResource(c.name);
        ASSERT_FALSE(image.isNull());
        ASSERT_EQ(image.size(), QSize(512, 512));
        EXPECT_EQ(alphaAt(image, 0, 0), 0);
        EXPECT_EQ(alphaAt(image, 511, 0), 0);
        EXPECT_EQ(alphaAt(image, 256, 4), 0); // sphere edge lies inside the picture
        // The sphere's body below the mark is opaque and has the style's hue.
        const QColor body = image.pixelColor(256, 440);
        EXPECT_EQ(body.alpha(), 255);
        switch (c.hue) {
        case LightGrey:
            EXPECT_NEAR(body.red(), body.blue(), 16);
            EXPECT_GT(body.lightness(), 130);
            break;
        case DarkGrey:
            EXPECT_NEAR(body.red(), body.blue(), 16);
            EXPECT_LT(body.lightness(), 110);
            break;
        case Green:
            EXPECT_GT(body.green(), body.red() + 40);
            EXPECT_GT(body.green(), body.blue() + 40);
            break;
        case RedOrange:
            EXPECT_GT(body.red(), body.green() + 40);
            EXPECT_GT(body.green(), body.blue());
            break;
        }
        // White mark: the check's corner, or the cross's centre.
        const QPoint mark = c.recorded ? QPoint(226, 338) : QPoint(256, 256);
        EXPECT_TRUE(pixelNear(image, mark.x(), mark.y(), QColor(255, 255, 255), 0));
        // A check mark leaves the centre-left of the sphere unmarked; a cross the
        // middle of the left side.
        const QColor side = image.pixelColor(c.recorded ? 300 : 120, c.recorded ? 330 : 256);
        EXPECT_NE(side, QColor(255, 255, 255));
    }
}

TEST(RotateArrow, ClockwiseArrowFromLowerLeftPointingRight) {
    const QImage image = loadResource("Image_rotateDirect");
    ASSERT_FALSE(image.isNull());
    ASSERT_EQ(image.size(), QSize(377, 220));
    EXPECT_TRUE(pixelNear(image, 36, 196, QColor(255, 255, 255), 0)); // tail, lower left
    EXPECT_TRUE(pixelNear(image, 250, 56, QColor(255, 255, 255), 0)); // shaft, top
    EXPECT_TRUE(pixelNear(image, 340, 56, QColor(255, 255, 255), 0)); // head, right
    EXPECT_EQ(alphaAt(image, 20, 20), 0);                             // nothing upper left
    EXPECT_EQ(alphaAt(image, 350, 200), 0);                           // nothing lower right
    EXPECT_EQ(alphaAt(image, 370, 56), 0); // the tip ends inside the picture
}

TEST(Branding, LogoAndApplicationIconHaveTheirSizesAndTransparency) {
    struct Case {
        const char* name;
        QSize size;
    };
    for (const Case& c : {Case{"Image_logo", {192, 48}}, Case{"zenithwand", {256, 256}}}) {
        SCOPED_TRACE(c.name);
        const QImage image = loadResource(c.name);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), c.size);
        EXPECT_EQ(alphaAt(image, 0, 0), 0);
        EXPECT_EQ(alphaAt(image, c.size.width() - 1, c.size.height() - 1), 0);
        int solid = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                solid += alphaAt(image, x, y) > 200 ? 1 : 0;
        EXPECT_GT(solid, image.width() * image.height() / 20);
    }
}

} // namespace
