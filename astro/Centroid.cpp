#include "astro/Centroid.h"

#include "core/Log.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kStarWindow = 40;     // search window of GetPreciseStarPos
constexpr int kCentroidWindow = 20; // centroid window of GetGravityCenter

bool HasImage(const cv::Mat& image) {
    return !image.empty() && image.type() == CV_8UC1 && image.dims == 2;
}

// The window's top-left corner for a position: the position minus half the side,
// truncated toward zero. False when the side x side window does not lie inside the
// frame; NaN, infinite and huge positions fail here, before any conversion to int.
bool WindowInFrame(const cv::Mat& image, double x, double y, int side, int& left, int& top) {
    const double l = std::trunc(x - side / 2);
    const double t = std::trunc(y - side / 2);
    const bool inside = image.cols > 0 && image.rows > 0 && l >= 0.0 && t >= 0.0 &&
                        l + side <= image.cols && t + side <= image.rows;
    if (!inside)
        return false;
    left = static_cast<int>(l);
    top = static_cast<int>(t);
    return true;
}

// The side x side window at (left, top) of the frame's 3x3 median (border
// replicated). Only the window grown by one pixel on each side, clipped to the
// frame, is filtered: its outer ring is wrong where it was clipped away from a
// neighbour, but that ring lies outside the window, and at the frame's own edges the
// median replicates the same border pixels the whole-frame median does.
cv::Mat MedianWindow(const cv::Mat& image, int left, int top, int side, cv::Mat& work) {
    const int x0 = std::max(left - 1, 0);
    const int y0 = std::max(top - 1, 0);
    const int x1 = std::min(left + side + 1, image.cols);
    const int y1 = std::min(top + side + 1, image.rows);
    cv::medianBlur(image(cv::Rect(x0, y0, x1 - x0, y1 - y0)), work, 3);
    return work(cv::Rect(left - x0, top - y0, side, side));
}

} // namespace

int GetGravityCenter(const cv::Mat& image, double x, double y, double& outX, double& outY) {
    outX = x;
    outY = y;
    if (!HasImage(image))
        return -1;
    int left = 0;
    int top = 0;
    if (!WindowInFrame(image, x, y, kCentroidWindow, left, top)) {
        WriteLog("Error", "GetGravityCenter - Out of Whole FOV");
        return -1;
    }

    cv::Mat work;
    const cv::Mat window = MedianWindow(image, left, top, kCentroidWindow, work);
    double maxVal = 0.0;
    cv::minMaxLoc(window, nullptr, &maxVal);
    const double mean = cv::mean(window)[0];
    // A black window gives 0 / 0: no star either.
    if (!(maxVal / mean >= 2.5))
        return -1;

    // Subtracting the threshold saturates at 0 and rounds the threshold to the
    // nearest integer, ties to even, as an 8-bit saturating add of its negation does.
    const double thr = mean + 0.3 * (maxVal - mean);
    const int t = static_cast<int>(std::lrint(thr));
    long long m00 = 0;
    long long m10 = 0;
    long long m01 = 0;
    for (int row = 0; row < kCentroidWindow; ++row) {
        const uchar* p = window.ptr<uchar>(row);
        long long rowSum = 0;
        for (int col = 0; col < kCentroidWindow; ++col) {
            const int v = p[col] > t ? p[col] - t : 0;
            rowSum += v;
            m10 += static_cast<long long>(col) * v;
        }
        m00 += rowSum;
        m01 += static_cast<long long>(row) * rowSum;
    }
    // Nothing above the rounded threshold: no centroid to take.
    if (m00 == 0)
        return -1;

    outX = left + static_cast<double>(m10) / static_cast<double>(m00);
    outY = top + static_cast<double>(m01) / static_cast<double>(m00);
    return 1;
}

int GetPreciseStarPos(const cv::Mat& image, double x, double y, double& outX, double& outY) {
    outX = x;
    outY = y;
    if (!HasImage(image))
        return -1;
    int left = 0;
    int top = 0;
    if (!WindowInFrame(image, x, y, kStarWindow, left, top)) {
        WriteLog("Error", "GetPreciseStarPos - Out of Whole FOV");
        return -1;
    }

    cv::Mat work;
    const cv::Mat window = MedianWindow(image, left, top, kStarWindow, work);
    const float mean = static_cast<float>(cv::mean(window)[0]);
    if (mean == 0.0f) {
        WriteLog("Warnning", "GetPreciseStarPos - No Star in the ROI Area.");
        return -1;
    }

    // The first maximum in row-major order: topmost, then leftmost.
    cv::Point maxLoc;
    cv::minMaxLoc(window, nullptr, nullptr, nullptr, &maxLoc);
    const double px = left + maxLoc.x;
    const double py = top + maxLoc.y;
    if (GetGravityCenter(image, px, py, outX, outY) != 1) {
        outX = px;
        outY = py;
    }
    return 1;
}
