#include "unit/astro/CentroidOracle.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cmath>

namespace {
bool Window(const cv::Mat& image, double x, double y, int side, cv::Rect& rect) {
    const double l = std::trunc(x - side / 2);
    const double t = std::trunc(y - side / 2);
    if (!(l >= 0 && t >= 0 && l + side <= image.cols && t + side <= image.rows))
        return false;
    rect = cv::Rect(static_cast<int>(l), static_cast<int>(t), side, side);
    return true;
}
} // namespace

int OracleGravityCenter(const cv::Mat& image, double x, double y, double& outX, double& outY) {
    outX = x;
    outY = y;
    cv::Rect rect;
    if (image.empty() || !Window(image, x, y, 20, rect))
        return -1;
    cv::Mat filtered;
    cv::medianBlur(image, filtered, 3);
    const cv::Mat window = filtered(rect).clone();
    double maxVal = 0;
    cv::minMaxLoc(window, nullptr, &maxVal);
    cv::Scalar mean, stddev;
    cv::meanStdDev(window, mean, stddev);
    if (maxVal / mean[0] < 2.5)
        return -1;
    const double thr = mean[0] + 0.3 * (maxVal - mean[0]);
    cv::Mat thresholded;
    cv::add(window, cv::Scalar::all(-thr), thresholded);
    const cv::Moments m = cv::moments(thresholded, false);
    if (m.m00 == 0)
        return -1;
    outX = rect.x + m.m10 / m.m00;
    outY = rect.y + m.m01 / m.m00;
    return 1;
}

int OraclePreciseStarPos(const cv::Mat& image, double x, double y, double& outX, double& outY) {
    outX = x;
    outY = y;
    cv::Rect rect;
    if (image.empty() || !Window(image, x, y, 40, rect))
        return -1;
    cv::Mat filtered;
    cv::medianBlur(image, filtered, 3);
    const cv::Mat window = filtered(rect).clone();
    if (static_cast<float>(cv::mean(window)[0]) == 0.0f)
        return -1;
    cv::Point maxLoc;
    cv::minMaxLoc(window, nullptr, nullptr, nullptr, &maxLoc);
    const double px = rect.x + maxLoc.x;
    const double py = rect.y + maxLoc.y;
    if (OracleGravityCenter(image, px, py, outX, outY) != 1) {
        outX = px;
        outY = py;
    }
    return 1;
}
