// The marks drawn over the live frame: where they land (truncated toward zero,
// clipped at the frame edge), their colours in both styles, and the ring's arcs.

#include "display/Overlays.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

using Bgr = cv::Vec3b;

const Bgr kBlack(0, 0, 0);
const Bgr kGhost(255, 248, 248);
const Bgr kGrey(169, 169, 169);
const Bgr kGreenPx(0, 255, 0);
const Bgr kRedPx(0, 0, 255);

cv::Mat Blank() {
    return cv::Mat(960, 1280, CV_8UC3, cv::Scalar::all(0));
}

Bgr At(const cv::Mat& img, int x, int y) {
    return img.at<Bgr>(y, x);
}

// Brightest value of any channel in the 3 x 3 neighbourhood of (x, y).
int PeakNear(const cv::Mat& img, int x, int y) {
    int peak = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const Bgr p = At(img, x + dx, y + dy);
            peak = std::max({peak, int(p[0]), int(p[1]), int(p[2])});
        }
    return peak;
}

// An anti-aliased pixel: the colour scaled by its coverage (more than half here).
bool SameHue(const Bgr& p, const Bgr& colour) {
    const int peak = std::max({int(p[0]), int(p[1]), int(p[2])});
    if (peak < 128)
        return false;
    const double k = peak / 255.0;
    for (int i = 0; i < 3; ++i)
        if (std::abs(p[i] - colour[i] * k) > 3.0)
            return false;
    return true;
}

// Number of pixels of the given colour in row y between x0 and x1.
int CountInRow(const cv::Mat& img, int y, int x0, int x1, const Bgr& colour) {
    int n = 0;
    for (int x = x0; x <= x1; ++x)
        n += At(img, x, y) == colour;
    return n;
}

TEST(Overlays, StyleWordIsMonoOnlyWhenExact) {
    const struct {
        const char* word;
        bool mono;
    } cases[] = {{"Mono", true},  {"Color", false}, {"", false},    {"mono", false},
                 {"MONO", false}, {"Mono ", false}, {"Dark", false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsMonoStyle(QString::fromLatin1(c.word)), c.mono) << c.word;
}

TEST(Overlays, NoFlagLeavesTheFrameUntouched) {
    cv::Mat img = Blank();
    cv::randu(img, 0, 256);
    const cv::Mat before = img.clone();
    OverlayMarks m;
    m.cirCenterX = m.cirCenterY = 400;
    m.cirRadius = 30;
    m.polarPosX = m.polarPosY = m.refStarAX = m.refStarAY = m.refStarBX = m.refStarBY = 500;
    m.eptNStarX = m.eptNStarY = 600;
    DrawOverlays(img, m);
    EXPECT_EQ(cv::norm(img, before, cv::NORM_INF), 0.0);
}

// The style-dependent marks in both styles, and the fixed colours of the rest.
TEST(Overlays, ColoursFollowTheStyle) {
    const struct {
        bool mono;
        Bgr pole, axis, circle;
    } cases[] = {{false, kGreenPx, kRedPx, kGreenPx}, {true, kGhost, kGhost, kGhost}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mono ? "Mono" : "Color");
        cv::Mat img = Blank();
        OverlayMarks m;
        m.mono = c.mono;
        m.showAxisMark = m.showAxisCircle = m.monitorPole = true;
        m.showRefStarA = m.showRefStarB = true;
        m.cirCenterX = 300;
        m.cirCenterY = 300;
        m.cirRadius = 100;
        m.polarPosX = 700;
        m.polarPosY = 300;
        m.refStarAX = 500;
        m.refStarAY = 600;
        m.refStarBX = 800;
        m.refStarBY = 600;
        DrawOverlays(img, m);
        EXPECT_EQ(At(img, 296, 300), c.axis);              // left tick of the axis mark
        EXPECT_EQ(At(img, 300, 304), c.axis);              // lower tick
        EXPECT_EQ(At(img, 300, 300), c.axis);              // filled centre
        EXPECT_EQ(At(img, 703, 300), c.pole);              // pole cross
        EXPECT_EQ(At(img, 696, 297), c.pole);              // top-left bracket
        EXPECT_TRUE(SameHue(At(img, 400, 300), c.circle)); // anti-aliased axis circle, radius 100
        // The reference-star crosses stay ghost white and the boxes dark grey.
        EXPECT_EQ(At(img, 503, 600), kGhost);
        EXPECT_EQ(At(img, 800, 597), kGhost);
        EXPECT_EQ(At(img, 480, 610), kGrey);
        EXPECT_EQ(At(img, 780, 610), kGrey);
    }
}

TEST(Overlays, PoleMarkShape) {
    cv::Mat img = Blank();
    OverlayMarks m;
    m.monitorPole = true;
    m.polarPosX = 100;
    m.polarPosY = 100;
    DrawOverlays(img, m);
    // Cross from -5 to +5.
    EXPECT_EQ(CountInRow(img, 100, 90, 110, kGreenPx), 11);
    EXPECT_EQ(At(img, 94, 100), kBlack);
    // Corner brackets with arms of two pixels at the corners of the 9 x 9 square.
    for (int sx : {-1, 1})
        for (int sy : {-1, 1}) {
            const int cx = 100 + 4 * sx, cy = 100 + 4 * sy;
            EXPECT_EQ(At(img, cx, cy), kGreenPx);
            EXPECT_EQ(At(img, cx, cy - 2 * sy), kGreenPx);
            EXPECT_EQ(At(img, cx - 2 * sx, cy), kGreenPx);
            EXPECT_EQ(At(img, cx, cy - 3 * sy), kBlack);
            EXPECT_EQ(At(img, cx - 3 * sx, cy), kBlack);
        }
}

// Positions become pixels by truncation toward zero, not by rounding or flooring.
TEST(Overlays, PositionsAreTruncatedTowardZero) {
    cv::Mat img = Blank();
    OverlayMarks m;
    m.monitorPole = true;
    m.polarPosX = 100.9;
    m.polarPosY = 200.9;
    DrawOverlays(img, m);
    EXPECT_EQ(At(img, 95, 200), kGreenPx);  // trunc(95.9)
    EXPECT_EQ(At(img, 105, 200), kGreenPx); // trunc(105.9)
    EXPECT_EQ(At(img, 106, 200), kBlack);
    EXPECT_EQ(At(img, 100, 201), kGreenPx); // vertical line at trunc(100.9)
    EXPECT_EQ(At(img, 101, 203), kBlack);

    // Near zero: trunc(-0.5) is 0, so the vertical line stays in column 0.
    cv::Mat edge = Blank();
    m.polarPosX = -0.5;
    m.polarPosY = 50.5;
    DrawOverlays(edge, m);
    EXPECT_EQ(At(edge, 0, 46), kGreenPx);
    EXPECT_EQ(At(edge, 0, 55), kGreenPx);
    EXPECT_EQ(At(edge, 4, 50), kGreenPx); // trunc(4.5)
    EXPECT_EQ(At(edge, 5, 50), kBlack);
}

// A mark at the frame edge is clipped where it leaves the frame, never moved inside.
TEST(Overlays, MarksAtTheEdgeAreClippedNotShifted) {
    cv::Mat img = Blank();
    OverlayMarks m;
    m.showRefStarA = true;
    m.refStarAX = 5;
    m.refStarAY = 5;
    m.showAxisMark = true;
    m.cirCenterX = 1279;
    m.cirCenterY = 959;
    DrawOverlays(img, m);
    EXPECT_EQ(At(img, 25, 10), kGrey); // right side of the box at x + 20
    EXPECT_EQ(At(img, 10, 25), kGrey); // bottom side at y + 20
    EXPECT_EQ(At(img, 24, 10), kBlack);
    EXPECT_EQ(At(img, 0, 5), kGhost); // the cross runs off the left edge
    EXPECT_EQ(At(img, 10, 5), kGhost);
    EXPECT_EQ(At(img, 1274, 959), kRedPx); // left tick of the corner axis mark
    EXPECT_EQ(At(img, 1279, 954), kRedPx); // upper tick
}

TEST(Overlays, StarBBoxIsTwiceAsThickAsStarA) {
    cv::Mat img = Blank();
    OverlayMarks m;
    m.showRefStarA = m.showRefStarB = true;
    m.refStarAX = 300;
    m.refStarAY = 300;
    m.refStarBX = 700;
    m.refStarBY = 300;
    DrawOverlays(img, m);
    // Across the left side of each box, away from the cross.
    const int widthA = CountInRow(img, 310, 270, 290, kGrey);
    const int widthB = CountInRow(img, 310, 670, 690, kGrey);
    // Thickness 1 is one pixel; OpenCV's thickness 2 covers two to three.
    EXPECT_EQ(widthA, 1);
    EXPECT_GE(widthB, 2 * widthA);
    EXPECT_LE(widthB, 3);
    EXPECT_EQ(At(img, 280, 310), kGrey); // A's side exactly at x - 20
}

double Rad(double deg) {
    return deg * std::numbers::pi / 180.0;
}

// Brightness on the ring (radius 10) at an angle, clockwise on the screen from +x.
int RingAt(const cv::Mat& img, double cx, double cy, double deg) {
    return PeakNear(img, int(std::lround(cx + 10 * std::cos(Rad(deg)))),
                    int(std::lround(cy + 10 * std::sin(Rad(deg)))));
}
int RingExact(const cv::Mat& img, double cx, double cy, double deg) {
    const Bgr p = At(img, int(std::lround(cx + 10 * std::cos(Rad(deg)))),
                     int(std::lround(cy + 10 * std::sin(Rad(deg)))));
    return std::max({int(p[0]), int(p[1]), int(p[2])});
}

TEST(Overlays, RingArcsAndTheirTurn) {
    const struct {
        double ringAngle;
        double arcStart; // first arc: [arcStart, arcStart + 54]
    } cases[] = {{0, 18}, {10, 28}, {36, 54}, {70, 88}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ringAngle);
        cv::Mat img = Blank();
        OverlayMarks m;
        m.showEptNStar = true;
        m.eptNStarX = 400;
        m.eptNStarY = 300;
        m.ringAngle = c.ringAngle;
        m.mono = false; // the ring is ghost white in both styles
        DrawOverlays(img, m);
        for (int k = 0; k < 4; ++k) {
            const double start = c.arcStart + 90 * k;
            EXPECT_GT(RingAt(img, 400, 300, start + 27), 120) << "arc middle " << start + 27;
            EXPECT_GT(RingAt(img, 400, 300, start + 5), 60) << "arc start " << start + 5;
            EXPECT_GT(RingAt(img, 400, 300, start + 49), 60) << "arc end " << start + 49;
            EXPECT_EQ(RingExact(img, 400, 300, start + 72), 0) << "gap " << start + 72;
        }
        // The small cross at the centre, +-3, 8-connected.
        EXPECT_EQ(At(img, 397, 300), kGhost);
        EXPECT_EQ(At(img, 400, 303), kGhost);
        EXPECT_EQ(At(img, 396, 300), kBlack);
    }
}

TEST(Overlays, NonFinitePositionsDrawNothingOfTheirMark) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    cv::Mat img = Blank();
    OverlayMarks m;
    m.monitorPole = m.showAxisMark = m.showAxisCircle = m.showEptNStar = true;
    m.polarPosX = nan;
    m.polarPosY = 10;
    m.cirCenterX = inf;
    m.cirCenterY = 5;
    m.cirRadius = 3;
    m.eptNStarX = 1e300;
    m.showRefStarA = true; // a finite mark still appears
    m.refStarAX = 100;
    m.refStarAY = 100;
    DrawOverlays(img, m);
    cv::Mat expected = Blank();
    OverlayMarks only;
    only.showRefStarA = true;
    only.refStarAX = 100;
    only.refStarAY = 100;
    DrawOverlays(expected, only);
    EXPECT_EQ(cv::norm(img, expected, cv::NORM_INF), 0.0);
}

} // namespace
