#include "astro/CloseUp.h"

#include "astro/NightColours.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// Marks reach at most 10 magnified pixels (plus anti-aliasing) from their centres.
// The square is drawn with this margin around it, so no mark that shows in the
// square is ever cut by the edge of the image it is drawn on.
constexpr int kMargin = 16;

// Positions beyond this (frame pixels) are far outside any square; keeping them
// there keeps the integer arithmetic below in range.
constexpr double kFarAway = 1.0e6;

double Tame(double v) {
    if (std::isnan(v))
        return -kFarAway;
    return std::clamp(v, -kFarAway, kFarAway);
}

// trunc(5 v + k): a frame coordinate plus an offset in magnified pixels.
int Mag(double v, int k) {
    return static_cast<int>(std::trunc(kCloseUpScale * Tame(v) + k));
}

int FloorDiv5(int v) {
    // Frame column whose bilinear sample feeds magnified column v first:
    // floor((v + 0.5) / 5 - 0.5) = floor((v - 2) / 5).
    const int n = v - 2;
    return n >= 0 ? n / kCloseUpScale : -((-n + kCloseUpScale - 1) / kCloseUpScale);
}

// True when a mark of the given reach about (x, y) (local pixels) touches the image.
bool Touches(const cv::Mat& image, int x, int y, int reach) {
    return x + reach >= 0 && y + reach >= 0 && x - reach < image.cols && y - reach < image.rows;
}

} // namespace

CloseUpColours CloseUpColoursFor(bool mono) {
    if (mono)
        return {cv::Scalar(255, 248, 248), cv::Scalar(255, 248, 248)};
    return {cv::Scalar(0, 0, 255), cv::Scalar(0, 255, 0)};
}

CloseUpColours CloseUpNightColours() {
    return {kNightAxis, kNightPole, true};
}

cv::Point CloseUpOrigin(double axisX, double axisY) {
    // trunc(5 v - 100) wherever the square lies inside the magnified frame; near the
    // left and top border this keeps the axis centre at (100, 100) all the same.
    return {Mag(axisX, 0) - kCloseUpHalf, Mag(axisY, 0) - kCloseUpHalf};
}

void DrawCloseUpMarks(cv::Mat& image, cv::Point origin, double axisX, double axisY, double poleX,
                      double poleY, const CloseUpColours& colours) {
    const auto cx = [&](double v, int k) { return Mag(v, k) - origin.x; };
    const auto cy = [&](double v, int k) { return Mag(v, k) - origin.y; };
    const auto line = [&](int x1, int y1, int x2, int y2, const cv::Scalar& colour) {
        cv::line(image, {x1, y1}, {x2, y2}, colour, 1, cv::LINE_8);
    };

    // Axis mark: a dot, a ring of radius 7 and four ticks between 5 and 10 pixels out.
    const int X = cx(axisX, 0), Y = cy(axisY, 0);
    if (Touches(image, X, Y, 12)) {
        const cv::Scalar& a = colours.axis;
        cv::circle(image, {X, Y}, 1, a, cv::FILLED, cv::LINE_AA);
        cv::circle(image, {X, Y}, 7, a, 1, cv::LINE_AA);
        line(cx(axisX, -10), Y, cx(axisX, -5), Y, a);
        line(cx(axisX, 10), Y, cx(axisX, 5), Y, a);
        line(X, cy(axisY, -10), X, cy(axisY, -5), a);
        line(X, cy(axisY, 10), X, cy(axisY, 5), a);
    }

    // Pole mark: a dot, a cross of +-10 and corner brackets of the square +-8.
    const int U = cx(poleX, 0), V = cy(poleY, 0);
    if (Touches(image, U, V, 12)) {
        const cv::Scalar& p = colours.pole;
        cv::circle(image, {U, V}, 2, p, cv::FILLED, cv::LINE_AA);
        line(cx(poleX, -10), V, cx(poleX, 10), V, p);
        line(U, cy(poleY, -10), U, cy(poleY, 10), p);
        const int l = cx(poleX, -8), r = cx(poleX, 8), t = cy(poleY, -8), b = cy(poleY, 8);
        line(l, t, l, cy(poleY, -4), p);
        line(l, t, cx(poleX, -4), t, p);
        line(r, t, r, cy(poleY, -4), p);
        line(r, t, cx(poleX, 4), t, p);
        line(r, b, r, cy(poleY, 4), p);
        line(r, b, cx(poleX, 4), b, p);
        line(l, b, l, cy(poleY, 4), p);
        line(l, b, cx(poleX, -4), b, p);
    }
}

void RenderCloseUp(const cv::Mat& frame, double axisX, double axisY, double poleX, double poleY,
                   const CloseUpColours& colours, cv::Mat& crop) {
    // Working image: the square and its margin, in magnified pixels from "work" on.
    thread_local cv::Mat canvas;
    thread_local cv::Mat magnified;
    constexpr int kSide = kCloseUpSide + 2 * kMargin;
    canvas.create(kSide, kSide, CV_8UC3);
    canvas.setTo(cv::Scalar::all(0));

    const cv::Point origin = CloseUpOrigin(axisX, axisY);
    const cv::Point work(origin.x - kMargin, origin.y - kMargin);

    // The part of the working image that lies inside the magnified frame.
    const cv::Rect inside = cv::Rect(work.x, work.y, kSide, kSide) &
                            cv::Rect(0, 0, frame.cols * kCloseUpScale, frame.rows * kCloseUpScale);
    if (!frame.empty() && frame.type() == CV_8UC1 && inside.area() > 0) {
        // Every frame pixel the inside samples: for magnified column d the columns
        // floor((d + 0.5) / 5 - 0.5) and the next, clipped to the frame. Magnifying
        // just these by exactly 5 gives the very pixels of the whole magnification.
        const int x0 = std::max(0, FloorDiv5(inside.x));
        const int y0 = std::max(0, FloorDiv5(inside.y));
        const int x1 = std::min(frame.cols - 1, FloorDiv5(inside.x + inside.width - 1) + 1);
        const int y1 = std::min(frame.rows - 1, FloorDiv5(inside.y + inside.height - 1) + 1);
        const cv::Rect source(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
        cv::resize(frame(source), magnified,
                   cv::Size(source.width * kCloseUpScale, source.height * kCloseUpScale), 0, 0,
                   cv::INTER_LINEAR);
        const cv::Rect from = inside - cv::Point(x0 * kCloseUpScale, y0 * kCloseUpScale);
        cv::Mat to = canvas(inside - work);
        if (colours.redImage)
            GreyToRedRamp(magnified(from), to);
        else
            cv::cvtColor(magnified(from), to, cv::COLOR_GRAY2BGR);
    }

    DrawCloseUpMarks(canvas, work, axisX, axisY, poleX, poleY, colours);

    crop.create(kCloseUpSide, kCloseUpSide, CV_8UC3);
    canvas(cv::Rect(kMargin, kMargin, kCloseUpSide, kCloseUpSide)).copyTo(crop);
}

void DrawGuides(cv::Mat& image, double centreX, double centreY, double scale, double arrowLength,
                const CloseUpGuides& guides) {
    if (!guides.show || !(guides.arcsecPerPx > 0) || !std::isfinite(guides.arcsecPerPx) ||
        !(scale > 0) || image.empty())
        return;
    // Neither green nor red: those are the pole's and the axis's marks.
    const cv::Scalar ringColour[] = {guides.night  ? kNightGuide30
                                     : guides.mono ? cv::Scalar(255, 248, 248)
                                                   : cv::Scalar(255, 220, 120), // 30": light blue
                                     guides.night  ? kNightGuide60
                                     : guides.mono ? cv::Scalar(200, 195, 195)
                                                   : cv::Scalar(0, 200, 255), // 1': amber
                                     guides.night  ? kNightGuide300
                                     : guides.mono ? cv::Scalar(150, 145, 145)
                                                   : cv::Scalar(0, 120, 255)}; // 5': orange
    const cv::Point centre(cvRound(centreX), cvRound(centreY));
    for (int i = 0; i < 3; ++i) {
        const double radius = kGuideRingsArcsec[i] / guides.arcsecPerPx * scale;
        if (radius >= 2 && radius < 1e5)
            cv::circle(image, centre, cvRound(radius), ringColour[i], 1, cv::LINE_AA);
    }
    const double length = std::hypot(guides.zenithX, guides.zenithY);
    if (!(length > 0.5) || !std::isfinite(length))
        return;
    const cv::Scalar arrowColour = guides.night  ? kNightGuideArrow
                                   : guides.mono ? cv::Scalar(255, 248, 248)
                                                 : cv::Scalar(140, 255, 255); // pale yellow
    const cv::Point tip(cvRound(centreX + guides.zenithX / length * arrowLength),
                        cvRound(centreY + guides.zenithY / length * arrowLength));
    cv::arrowedLine(image, centre, tip, arrowColour, 1, cv::LINE_AA, 0, 0.3);
    cv::putText(image, "Z",
                cv::Point(cvRound(centreX + guides.zenithX / length * (arrowLength + 9)) - 4,
                          cvRound(centreY + guides.zenithY / length * (arrowLength + 9)) + 4),
                cv::FONT_HERSHEY_PLAIN, 0.8, arrowColour, 1, cv::LINE_AA);
}

void RenderCloseUp(const cv::Mat& frame, double axisX, double axisY, double poleX, double poleY,
                   const CloseUpColours& colours, const CloseUpGuides& guides, cv::Mat& crop) {
    RenderCloseUp(frame, axisX, axisY, poleX, poleY, colours, crop);
    DrawGuides(crop, kCloseUpHalf, kCloseUpHalf, kCloseUpScale, 30, guides);
}
