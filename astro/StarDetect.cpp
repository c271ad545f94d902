#include "astro/StarDetect.h"

#include "astro/Centroid.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// A centroid further than this from the star's brightest pixel belongs to a neighbour.
constexpr double kOwnStarPx = 2.0;

// Median and spread (median absolute deviation scaled to a Gaussian sigma) of an
// 8-bit image, from its histogram.
void BackgroundLevel(const cv::Mat& image, double& median, double& sigma) {
    std::array<long long, 256> hist{};
    for (int row = 0; row < image.rows; ++row) {
        const uchar* p = image.ptr<uchar>(row);
        for (int col = 0; col < image.cols; ++col)
            ++hist[p[col]];
    }
    const long long total = static_cast<long long>(image.rows) * image.cols;
    auto quantile = [&](const std::array<long long, 256>& h, long long rank) {
        long long seen = 0;
        for (int v = 0; v < 256; ++v) {
            seen += h[v];
            if (seen > rank)
                return v;
        }
        return 255;
    };
    const int med = quantile(hist, total / 2);
    std::array<long long, 256> dev{};
    for (int v = 0; v < 256; ++v)
        dev[std::abs(v - med)] += hist[v];
    const int mad = quantile(dev, total / 2);
    median = med;
    // An 8-bit MAD of 0 (a very quiet sky) still leaves one count of quantisation noise.
    sigma = std::max(1.4826 * mad, 0.5);
}

// Centroid of the 5x5 pixels around a peak above the background (the peak itself
// when nothing stands above it).
void LocalCentroid(const cv::Mat& filtered, int x, int y, double background, double& outX,
                   double& outY) {
    double m00 = 0, m10 = 0, m01 = 0;
    for (int row = std::max(0, y - 2); row <= std::min(filtered.rows - 1, y + 2); ++row)
        for (int col = std::max(0, x - 2); col <= std::min(filtered.cols - 1, x + 2); ++col) {
            const double v = std::max(0.0, filtered.at<uchar>(row, col) - background);
            m00 += v;
            m10 += v * col;
            m01 += v * row;
        }
    outX = m00 > 0 ? m10 / m00 : x;
    outY = m00 > 0 ? m01 / m00 : y;
}

} // namespace

std::vector<DetectedStar> DetectStars(const cv::Mat& frame, const StarDetectOptions& options) {
    std::vector<DetectedStar> stars;
    if (frame.empty() || frame.type() != CV_8UC1 || frame.dims != 2)
        return stars;

    cv::Mat filtered;
    cv::medianBlur(frame, filtered, 3);
    double background = 0;
    double sigma = 0;
    BackgroundLevel(filtered, background, sigma);
    const double threshold = background + std::max(options.sigmas * sigma, options.minSignalAdu);
    if (threshold >= 255)
        return stars;

    // Local maxima above the threshold: pixels equal to the 5x5 maximum around them.
    cv::Mat dilated;
    cv::dilate(filtered, dilated, cv::Mat::ones(5, 5, CV_8U));
    cv::Mat peaks = (filtered == dilated) & (filtered > threshold);
    const int edge = std::max(options.edgePx, 10); // the centroid's window must fit
    if (frame.cols <= 2 * edge || frame.rows <= 2 * edge)
        return stars;
    std::vector<cv::Point> points;
    cv::findNonZero(peaks(cv::Rect(edge, edge, frame.cols - 2 * edge, frame.rows - 2 * edge)),
                    points);

    struct Peak {
        int x, y, value;
        double flux;
    };
    std::vector<Peak> found;
    found.reserve(points.size());
    for (const cv::Point& p : points) {
        const int x = p.x + edge;
        const int y = p.y + edge;
        double flux = 0;
        for (int row = y - 2; row <= y + 2; ++row) {
            const uchar* q = filtered.ptr<uchar>(row);
            for (int col = x - 2; col <= x + 2; ++col)
                flux += std::max(0.0, q[col] - background);
        }
        found.push_back({x, y, filtered.at<uchar>(y, x), flux});
    }
    // Brightest first; a plateau (a saturated star) or a close pair yields one star.
    std::sort(found.begin(), found.end(), [](const Peak& a, const Peak& b) {
        return a.flux != b.flux ? a.flux > b.flux : (a.y != b.y ? a.y < b.y : a.x < b.x);
    });
    const double minSep2 = options.minSeparationPx * options.minSeparationPx;
    std::vector<Peak> kept;
    for (const Peak& p : found) {
        const bool near = std::any_of(kept.begin(), kept.end(), [&](const Peak& k) {
            const double dx = k.x - p.x, dy = k.y - p.y;
            return dx * dx + dy * dy < minSep2;
        });
        if (near)
            continue;
        kept.push_back(p);
        if (options.maxStars > 0 && static_cast<int>(kept.size()) >= options.maxStars)
            break;
    }

    stars.reserve(kept.size());
    for (const Peak& p : kept) {
        DetectedStar s;
        // The pick's centroid; where a brighter neighbour inside its window pulls it
        // away from this star, the star's own few pixels instead.
        if (GetGravityCenter(frame, p.x, p.y, s.x, s.y) != 1 ||
            std::hypot(s.x - p.x, s.y - p.y) > kOwnStarPx)
            LocalCentroid(filtered, p.x, p.y, background, s.x, s.y);
        const bool twice = std::any_of(stars.begin(), stars.end(), [&](const DetectedStar& k) {
            const double dx = k.x - s.x, dy = k.y - s.y;
            return dx * dx + dy * dy < minSep2;
        });
        if (twice)
            continue;
        s.flux = p.flux;
        s.peak = p.value;
        stars.push_back(s);
    }
    return stars;
}
