#include "astro/StarRefine.h"

#include "astro/Median.h"

#include <opencv2/core.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr int kMaxIterations = 30;
constexpr double kConvergedPx = 1e-4;
// A pixel this many noise levels above all eight neighbours is a hot pixel or a
// cosmic hit, not part of a star (a star's light spreads over its neighbours).
constexpr double kSpikeSigmas = 6.0;

} // namespace

std::optional<cv::Point2d> RefineStarCentre(const cv::Mat& frame, double x, double y,
                                            const StarRefineOptions& o) {
    if (frame.empty() || frame.type() != CV_8UC1 || frame.dims != 2 || !std::isfinite(x) ||
        !std::isfinite(y) || o.halfWindow < 2 || o.ringWidth < 1 || !(o.weightSigmaPx > 0))
        return std::nullopt;
    const int outer = o.halfWindow + o.ringWidth;
    if (x < outer + 1 || y < outer + 1 || x > frame.cols - outer - 2 || y > frame.rows - outer - 2)
        return std::nullopt;
    const int cx = static_cast<int>(std::lround(x));
    const int cy = static_cast<int>(std::lround(y));

    // The sky: median and spread (median absolute deviation) of the ring.
    std::vector<double> ring;
    ring.reserve(static_cast<std::size_t>((2 * outer + 1) * (2 * outer + 1)));
    for (int dy = -outer; dy <= outer; ++dy) {
        const uchar* row = frame.ptr<uchar>(cy + dy);
        for (int dx = -outer; dx <= outer; ++dx)
            if (std::max(std::abs(dx), std::abs(dy)) > o.halfWindow)
                ring.push_back(row[cx + dx]);
    }
    const double sky = MedianOf(ring);
    for (double& v : ring)
        v = std::abs(v - sky);
    // 1.4826 MAD is the standard deviation of Gaussian noise; an 8-bit sky that is
    // all one value still has the quantisation's spread.
    const double noise = std::max(1.4826 * MedianOf(ring), 0.29);

    // The window above the sky, lone spikes replaced by the median of their neighbours.
    const int side = 2 * o.halfWindow + 1;
    cv::Mat signal(side, side, CV_64F);
    for (int dy = -o.halfWindow; dy <= o.halfWindow; ++dy)
        for (int dx = -o.halfWindow; dx <= o.halfWindow; ++dx) {
            const int px = cx + dx;
            const int py = cy + dy;
            const double v = frame.at<uchar>(py, px);
            std::array<double, 8> around{};
            int k = 0;
            for (int ny = -1; ny <= 1; ++ny)
                for (int nx = -1; nx <= 1; ++nx)
                    if (nx != 0 || ny != 0)
                        around[static_cast<std::size_t>(k++)] = frame.at<uchar>(py + ny, px + nx);
            const double brightest = *std::max_element(around.begin(), around.end());
            double value = v;
            if (v > brightest + kSpikeSigmas * noise) {
                std::nth_element(around.begin(), around.begin() + 4, around.end());
                value = around[4];
            }
            signal.at<double>(dy + o.halfWindow, dx + o.halfWindow) = value - sky;
        }

    // The Gaussian-weighted centroid, iterated: for a star of Gaussian shape the step
    // of twice the weighted first moment lands on its centre.
    const double inv2s2 = 1.0 / (2.0 * o.weightSigmaPx * o.weightSigmaPx);
    double ex = x;
    double ey = y;
    for (int it = 0; it < kMaxIterations; ++it) {
        double sw = 0, sx = 0, sy = 0, sww = 0;
        for (int dy = -o.halfWindow; dy <= o.halfWindow; ++dy)
            for (int dx = -o.halfWindow; dx <= o.halfWindow; ++dx) {
                const double rx = cx + dx - ex;
                const double ry = cy + dy - ey;
                const double w = std::exp(-(rx * rx + ry * ry) * inv2s2);
                const double s = signal.at<double>(dy + o.halfWindow, dx + o.halfWindow);
                sw += w * s;
                sx += w * s * rx;
                sy += w * s * ry;
                sww += w * w;
            }
        // The weighted sum against its noise (the noise of each pixel alike).
        if (!(sw > o.minSnr * noise * std::sqrt(sww)))
            return std::nullopt;
        const double stepX = 2.0 * sx / sw;
        const double stepY = 2.0 * sy / sw;
        ex += stepX;
        ey += stepY;
        if (std::hypot(ex - x, ey - y) > o.maxShiftPx)
            return std::nullopt;
        if (std::hypot(stepX, stepY) < kConvergedPx)
            break;
    }
    return cv::Point2d(ex, ey);
}

std::vector<DetectedStar> RefinedStars(const cv::Mat& frame, std::vector<DetectedStar> stars,
                                       const StarRefineOptions& options) {
    for (DetectedStar& s : stars)
        if (const auto c = RefineStarCentre(frame, s.x, s.y, options)) {
            s.x = c->x;
            s.y = c->y;
        }
    return stars;
}
