#include "display/Overlays.h"

#include "astro/CloseUp.h"
#include "astro/NightColours.h"

#include <opencv2/imgproc.hpp>

#include <cmath>

namespace {

constexpr int kLine8 = cv::LINE_8;
constexpr int kLineAA = cv::LINE_AA;

// Positions beyond this lie far outside any frame; they (and NaNs) are not drawn,
// which also keeps the truncation to int defined.
constexpr double kMaxCoordinate = 1.0e7;

bool Drawable(double x, double y) {
    return std::fabs(x) < kMaxCoordinate && std::fabs(y) < kMaxCoordinate;
}

// trunc(v + offset) as the pixel coordinate of a mark point.
int At(double v, double offset) {
    return static_cast<int>(v + offset);
}

cv::Point P(double x, double dx, double y, double dy) {
    return {At(x, dx), At(y, dy)};
}

void Line(cv::Mat& img, cv::Point a, cv::Point b, const cv::Scalar& colour, int thickness = 1) {
    cv::line(img, a, b, colour, thickness, kLine8, 0);
}

void DrawRing(cv::Mat& img, double x, double y, double ringAngle, const cv::Scalar& colour) {
    Line(img, P(x, -3, y, 0), P(x, 3, y, 0), colour);
    Line(img, P(x, 0, y, -3), P(x, 0, y, 3), colour);
    const cv::Point c = P(x, 0, y, 0);
    for (double turn : {18.0, 108.0, 198.0, 288.0})
        cv::ellipse(img, c, cv::Size(10, 10), ringAngle + turn, 0, 54, colour, 1, kLineAA, 0);
}

void DrawAxisMark(cv::Mat& img, double x, double y, const cv::Scalar& colour) {
    const cv::Point c = P(x, 0, y, 0);
    cv::circle(img, c, 1, colour, -1, kLineAA, 0);
    cv::circle(img, c, 3, colour, 1, kLineAA, 0);
    Line(img, P(x, -5, y, 0), P(x, -3, y, 0), colour);
    Line(img, P(x, 5, y, 0), P(x, 3, y, 0), colour);
    Line(img, P(x, 0, y, -5), P(x, 0, y, -3), colour);
    Line(img, P(x, 0, y, 5), P(x, 0, y, 3), colour);
}

void DrawPoleMark(cv::Mat& img, double x, double y, const cv::Scalar& colour) {
    Line(img, P(x, -5, y, 0), P(x, 5, y, 0), colour);
    Line(img, P(x, 0, y, -5), P(x, 0, y, 5), colour);
    // Corner brackets of a 9 x 9 square, arms of two pixels.
    for (int sx : {-1, 1}) {
        for (int sy : {-1, 1}) {
            const cv::Point corner = P(x, 4 * sx, y, 4 * sy);
            Line(img, corner, P(x, 4 * sx, y, 2 * sy), colour);
            Line(img, corner, P(x, 2 * sx, y, 4 * sy), colour);
        }
    }
}

void DrawRefStar(cv::Mat& img, double x, double y, int boxThickness, const cv::Scalar& cross,
                 const cv::Scalar& box) {
    Line(img, P(x, -5, y, 0), P(x, 5, y, 0), cross);
    Line(img, P(x, 0, y, -5), P(x, 0, y, 5), cross);
    cv::rectangle(img, P(x, -20, y, -20), P(x, 20, y, 20), box, boxThickness, kLine8, 0);
}

} // namespace

bool IsMonoStyle(const QString& style) {
    return style == QLatin1String("Mono");
}

void DrawOverlays(cv::Mat& image, const OverlayMarks& m) {
    if (image.empty() || image.type() != CV_8UC3)
        return;
    const cv::Scalar poleColour = m.night ? kNightPole : m.mono ? kGhostWhite : kGreen;
    const cv::Scalar axisColour = m.night ? kNightAxis : m.mono ? kGhostWhite : kRed;
    const cv::Scalar circleColour = m.night ? kNightPole : m.mono ? kGhostWhite : kGreen;
    const cv::Scalar ringColour = m.night ? kNightRing : kGhostWhite;
    const cv::Scalar starCross = m.night ? kNightRefStar : kGhostWhite;
    const cv::Scalar starBox = m.night ? kNightRefStarBox : kDarkGrey;

    if (m.showEptNStar && Drawable(m.eptNStarX, m.eptNStarY) && std::isfinite(m.ringAngle))
        DrawRing(image, m.eptNStarX, m.eptNStarY, m.ringAngle, ringColour);
    const bool centreDrawable = Drawable(m.cirCenterX, m.cirCenterY);
    if (m.showAxisMark && centreDrawable)
        DrawAxisMark(image, m.cirCenterX, m.cirCenterY, axisColour);
    if (m.showAxisCircle && centreDrawable && m.cirRadius >= 0)
        cv::circle(image, P(m.cirCenterX, 0, m.cirCenterY, 0), m.cirRadius, circleColour, 1,
                   kLineAA, 0);
    if (m.showGuides && centreDrawable) {
        CloseUpGuides guides;
        guides.show = true;
        guides.arcsecPerPx = m.arcsecPerPx;
        guides.zenithX = m.zenithX;
        guides.zenithY = m.zenithY;
        guides.mono = m.mono;
        guides.night = m.night;
        DrawGuides(image, m.cirCenterX, m.cirCenterY, 1.0, 40, guides);
    }
    if (m.monitorPole && Drawable(m.polarPosX, m.polarPosY))
        DrawPoleMark(image, m.polarPosX, m.polarPosY, poleColour);
    if (m.showRefStarA && Drawable(m.refStarAX, m.refStarAY))
        DrawRefStar(image, m.refStarAX, m.refStarAY, 1, starCross, starBox);
    if (m.showRefStarB && Drawable(m.refStarBX, m.refStarBY))
        DrawRefStar(image, m.refStarBX, m.refStarBY, 2, starCross, starBox);
}
