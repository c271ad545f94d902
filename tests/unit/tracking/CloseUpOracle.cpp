#include "unit/tracking/CloseUpOracle.h"

#include <opencv2/imgproc.hpp>

#include <cmath>

namespace {
int C(double v, int k) {
    return static_cast<int>(std::trunc(5 * v + k));
}
} // namespace

void OracleDrawMarks(cv::Mat& img, cv::Point s, double cx, double cy, double px, double py,
                     const CloseUpColours& colours) {
    const cv::Scalar a = colours.axis, p = colours.pole;
    const int X = C(cx, 0) + s.x, Y = C(cy, 0) + s.y;
    cv::circle(img, {X, Y}, 1, a, -1, cv::LINE_AA);
    cv::circle(img, {X, Y}, 7, a, 1, cv::LINE_AA);
    cv::line(img, {C(cx, -10) + s.x, Y}, {C(cx, -5) + s.x, Y}, a, 1, 8);
    cv::line(img, {C(cx, 10) + s.x, Y}, {C(cx, 5) + s.x, Y}, a, 1, 8);
    cv::line(img, {X, C(cy, -10) + s.y}, {X, C(cy, -5) + s.y}, a, 1, 8);
    cv::line(img, {X, C(cy, 10) + s.y}, {X, C(cy, 5) + s.y}, a, 1, 8);

    const int U = C(px, 0) + s.x, V = C(py, 0) + s.y;
    auto P = [&](int kx, int ky) { return cv::Point(C(px, kx) + s.x, C(py, ky) + s.y); };
    cv::circle(img, {U, V}, 2, p, -1, cv::LINE_AA);
    cv::line(img, {C(px, -10) + s.x, V}, {C(px, 10) + s.x, V}, p, 1, 8);
    cv::line(img, {U, C(py, -10) + s.y}, {U, C(py, 10) + s.y}, p, 1, 8);
    cv::line(img, P(-8, -8), P(-8, -4), p, 1, 8);
    cv::line(img, P(-8, -8), P(-4, -8), p, 1, 8);
    cv::line(img, P(8, -8), P(8, -4), p, 1, 8);
    cv::line(img, P(8, -8), P(4, -8), p, 1, 8);
    cv::line(img, P(8, 8), P(8, 4), p, 1, 8);
    cv::line(img, P(8, 8), P(4, 8), p, 1, 8);
    cv::line(img, P(-8, 8), P(-8, 4), p, 1, 8);
    cv::line(img, P(-8, 8), P(-4, 8), p, 1, 8);
}

void OracleCloseUp(const cv::Mat& frame, double axisX, double axisY, double poleX, double poleY,
                   const CloseUpColours& colours, cv::Mat& zoomGray, cv::Mat& zoomColor,
                   cv::Mat& crop) {
    cv::resize(frame, zoomGray, cv::Size(frame.cols * 5, frame.rows * 5), 0, 0, cv::INTER_LINEAR);
    cv::cvtColor(zoomGray, zoomColor, cv::COLOR_GRAY2BGR);
    OracleDrawMarks(zoomColor, {0, 0}, axisX, axisY, poleX, poleY, colours);
    zoomColor(cv::Rect(C(axisX, -100), C(axisY, -100), 200, 200)).copyTo(crop);
}
