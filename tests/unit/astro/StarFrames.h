// Synthetic 8-bit star frames for the centroiding tests and benchmarks.
#pragma once

#include <opencv2/core.hpp>

#include <algorithm>
#include <cmath>
#include <random>

// Adds a Gaussian star (peak above the frame, sigma in pixels) centred at (x, y),
// saturating at 255.
inline void AddStar(cv::Mat& frame, double x, double y, double peak, double sigma) {
    const int r = static_cast<int>(std::ceil(4 * sigma));
    const int x0 = std::max(0, static_cast<int>(x) - r);
    const int x1 = std::min(frame.cols - 1, static_cast<int>(x) + r);
    const int y0 = std::max(0, static_cast<int>(y) - r);
    const int y1 = std::min(frame.rows - 1, static_cast<int>(y) + r);
    for (int row = y0; row <= y1; ++row) {
        for (int col = x0; col <= x1; ++col) {
            const double d2 = (col - x) * (col - x) + (row - y) * (row - y);
            const double v = frame.at<uchar>(row, col) + peak * std::exp(-d2 / (2 * sigma * sigma));
            frame.at<uchar>(row, col) = static_cast<uchar>(std::min(255.0, std::round(v)));
        }
    }
}

// A sky: background with noise, and nothing else.
inline cv::Mat NoisySky(int width, int height, double background, double noise, std::mt19937& rng) {
    cv::Mat frame(height, width, CV_8UC1);
    std::normal_distribution<double> n(background, noise);
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col)
            frame.at<uchar>(row, col) =
                static_cast<uchar>(std::clamp(std::lround(n(rng)), 0L, 255L));
    }
    return frame;
}
