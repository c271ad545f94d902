#include "zorcam-indi/FrameConverter.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zorcamindi {

namespace {

constexpr double kArcsecPerRadian = 206264.806;
constexpr double kPeakNoises = 8;  // a star's peak stands this many noise levels over the sky
constexpr double kLeastSpan = 12;  // white lies at least this many noise levels over black
constexpr double kBrightShare = 8; // the brightest stars are within this factor of the brightest
constexpr double kSoftNoises = 16;
constexpr double kPointSpread = 0.2; // neighbours below this share of a peak: single-pixel stars
constexpr double kSoftenSigma = 0.8; // the Gaussian that spreads them, output pixels // the stretch
                                     // is linear up to about this many noise levels

// The smallest value v with at least `percentile` % of the pixels at or below it.
int Percentile(const std::vector<int>& histogram, long long total, double percentile) {
    const long long wanted =
        std::max<long long>(1, static_cast<long long>(std::ceil(total * percentile / 100.0)));
    long long seen = 0;
    for (std::size_t v = 0; v < histogram.size(); ++v) {
        seen += histogram[v];
        if (seen >= wanted)
            return static_cast<int>(v);
    }
    return static_cast<int>(histogram.size()) - 1;
}

// The same, between whole values: where within its value's share of the pixels
// the percentile falls (so a narrow spread of whole values is measured finely).
double FinePercentile(const std::vector<int>& histogram, long long total, double percentile) {
    const double wanted = total * percentile / 100.0;
    long long seen = 0;
    for (std::size_t v = 0; v < histogram.size(); ++v) {
        if (histogram[v] > 0 && seen + histogram[v] >= wanted)
            return static_cast<double>(v) - 0.5 + (wanted - seen) / histogram[v];
        seen += histogram[v];
    }
    return static_cast<double>(histogram.size()) - 1;
}

// Luminance of each 2 x 2 cell of a mosaic, weighted as OpenCV's grey conversion.
template <typename T>
void CellLuminance(const cv::Mat& mosaic, const std::string& pattern, cv::Mat& out) {
    out.create(mosaic.rows / 2, mosaic.cols / 2, mosaic.type());
    double w[4] = {};
    for (int i = 0; i < 4; ++i)
        w[i] = pattern[i] == 'R' ? 0.299 : pattern[i] == 'B' ? 0.114 : 0.587 / 2;
    for (int y = 0; y < out.rows; ++y) {
        const T* r0 = mosaic.ptr<T>(2 * y);
        const T* r1 = mosaic.ptr<T>(2 * y + 1);
        T* dst = out.ptr<T>(y);
        for (int x = 0; x < out.cols; ++x)
            dst[x] = static_cast<T>(w[0] * r0[2 * x] + w[1] * r0[2 * x + 1] + w[2] * r1[2 * x] +
                                    w[3] * r1[2 * x + 1] + 0.5);
    }
}

// The mean of each 2 x 2 block.
template <typename T> void Halve(const cv::Mat& in, cv::Mat& out) {
    out.create(in.rows / 2, in.cols / 2, in.type());
    for (int y = 0; y < out.rows; ++y) {
        const T* r0 = in.ptr<T>(2 * y);
        const T* r1 = in.ptr<T>(2 * y + 1);
        T* dst = out.ptr<T>(y);
        for (int x = 0; x < out.cols; ++x)
            dst[x] = static_cast<T>((static_cast<unsigned>(r0[2 * x]) + r0[2 * x + 1] + r1[2 * x] +
                                     r1[2 * x + 1] + 2) >>
                                    2);
    }
}

template <typename T> void Count(const cv::Mat& img, std::vector<int>& histogram) {
    for (int y = 0; y < img.rows; ++y) {
        const T* row = img.ptr<T>(y);
        for (int x = 0; x < img.cols; ++x)
            ++histogram[row[x]];
    }
}

// The peaks of the brightest stars: local maxima above `floor`, brightest first,
// one for each star (a peak within kStarRadius pixels of a brighter one is the
// same star), at most `most` of them.
constexpr int kStarRadius = 3;

// `spread`: how much of a peak's height above `sky` its four neighbours keep, the
// middle value of the stars found (1 when none is found): near 0 for stars that
// fall on single pixels.
template <typename T>
std::vector<int> Peaks(const cv::Mat& img, int floor, std::size_t most, int sky, double& spread) {
    struct Peak {
        int value, x, y;
    };
    std::vector<Peak> found;
    for (int y = 1; y + 1 < img.rows; ++y) {
        const T* above = img.ptr<T>(y - 1);
        const T* row = img.ptr<T>(y);
        const T* below = img.ptr<T>(y + 1);
        for (int x = 1; x + 1 < img.cols; ++x) {
            const T v = row[x];
            if (v <= floor)
                continue;
            // Strictly above the earlier neighbours, not below the later ones: one
            // peak for a flat top.
            if (v > row[x - 1] && v > above[x - 1] && v > above[x] && v > above[x + 1] &&
                v >= row[x + 1] && v >= below[x - 1] && v >= below[x] && v >= below[x + 1])
                found.push_back({v, x, y});
            if (found.size() > 20000) // a frame of noise: the brightest ones are enough
                break;
        }
    }
    std::sort(found.begin(), found.end(),
              [](const Peak& a, const Peak& b) { return a.value > b.value; });
    std::vector<Peak> stars;
    for (const Peak& p : found) {
        if (stars.size() >= most)
            break;
        const bool near = std::any_of(stars.begin(), stars.end(), [&](const Peak& q) {
            return std::abs(q.x - p.x) <= kStarRadius && std::abs(q.y - p.y) <= kStarRadius;
        });
        if (!near)
            stars.push_back(p);
    }
    std::vector<int> values;
    std::vector<double> spreads;
    for (const Peak& p : stars) {
        values.push_back(p.value);
        const double neighbours =
            (static_cast<double>(img.ptr<T>(p.y)[p.x - 1]) + img.ptr<T>(p.y)[p.x + 1] +
             img.ptr<T>(p.y - 1)[p.x] + img.ptr<T>(p.y + 1)[p.x]) /
            4;
        spreads.push_back((neighbours - sky) / std::max(1, p.value - sky));
    }
    std::sort(spreads.begin(), spreads.end());
    spread = spreads.empty() ? 1.0 : spreads[spreads.size() / 2];
    return values;
}

template <typename T>
void Map(const cv::Mat& img, const std::vector<unsigned char>& lut, unsigned char* out,
         int stride) {
    for (int y = 0; y < img.rows; ++y) {
        const T* row = img.ptr<T>(y);
        unsigned char* dst = out + static_cast<std::ptrdiff_t>(y) * stride;
        for (int x = 0; x < img.cols; ++x)
            dst[x] = lut[row[x]];
    }
}

} // namespace

int BayerToGreyCode(const std::string& pattern) {
    // OpenCV names a mosaic by the second row's second and third pixels.
    if (pattern == "RGGB")
        return cv::COLOR_BayerBG2GRAY;
    if (pattern == "BGGR")
        return cv::COLOR_BayerRG2GRAY;
    if (pattern == "GRBG")
        return cv::COLOR_BayerGB2GRAY;
    if (pattern == "GBRG")
        return cv::COLOR_BayerGR2GRAY;
    return -1;
}

FrameConverter::FrameConverter(const ConversionSettings& settings) : settings_(settings) {}

double FrameConverter::NativeArcsecPerPixel() const {
    if (!(settings_.pixelSizeUm > 0) || !(settings_.focalLengthMm > 0))
        return 0;
    return kArcsecPerRadian * settings_.pixelSizeUm * 1e-3 / settings_.focalLengthMm;
}

double FrameConverter::Factor() const {
    const double native = NativeArcsecPerPixel();
    if (native <= 0 || !(settings_.targetArcsecPerPixel > 0))
        return 1.0;
    return std::clamp(native / settings_.targetArcsecPerPixel, settings_.minFactor,
                      settings_.maxFactor);
}

double FrameConverter::DeliveredArcsecPerPixel() const {
    const double native = NativeArcsecPerPixel();
    return native > 0 ? native / Factor() : 0;
}

bool FrameConverter::Convert(const RawFrame& in, unsigned char* out) {
    if (!in.data || !out || in.width < 2 || in.height < 2)
        return false;
    if (in.bitsPerPixel != 8 && in.bitsPerPixel != 16)
        return false;
    const bool mosaic = !in.bayer.empty();
    const int bayerCode = mosaic ? BayerToGreyCode(in.bayer) : 0;
    if (bayerCode < 0)
        return false;

    const cv::Mat sensor(in.height, in.width, in.bitsPerPixel == 8 ? CV_8UC1 : CV_16UC1,
                         const_cast<void*>(in.data));

    // Only the middle of the sensor that fills the output is worked on.
    const double f = Factor();
    const int visibleW = std::min(kWidth, std::max(1, static_cast<int>(std::lround(in.width * f))));
    const int visibleH =
        std::min(kHeight, std::max(1, static_cast<int>(std::lround(in.height * f))));
    int cropW = std::min(in.width, static_cast<int>(std::ceil(visibleW / f)));
    int cropH = std::min(in.height, static_cast<int>(std::ceil(visibleH / f)));
    int cropX = (in.width - cropW) / 2;
    int cropY = (in.height - cropH) / 2;
    if (mosaic) { // the cut starts on a whole 2 x 2 cell, so the mosaic keeps its order
        cropX &= ~1;
        cropY &= ~1;
        cropW = std::max(2, cropW & ~1);
        cropH = std::max(2, cropH & ~1);
    }
    const cv::Mat crop = sensor(cv::Rect(cropX, cropY, cropW, cropH));

    // A mosaic that is shrunk to half or less anyway is read one 2 x 2 cell per pixel.
    cv::Mat grey = crop;
    double remaining = f;
    if (mosaic && f <= 0.5) {
        if (in.bitsPerPixel == 8)
            CellLuminance<unsigned char>(crop, in.bayer, grey_);
        else
            CellLuminance<unsigned short>(crop, in.bayer, grey_);
        grey = grey_;
        remaining = f * 2;
    } else if (mosaic) {
        cv::cvtColor(crop, grey_, bayerCode);
        grey = grey_;
    }
    // Halving by 2 x 2 means while the factor allows, then a bilinear step for the
    // rest (at most a factor of 2 either way, where bilinear sampling loses nothing).
    while (remaining <= 0.5 && grey.cols / 2 >= visibleW && grey.rows / 2 >= visibleH) {
        cv::Mat& target = grey.data == halved_[0].data ? halved_[1] : halved_[0];
        if (in.bitsPerPixel == 8)
            Halve<unsigned char>(grey, target);
        else
            Halve<unsigned short>(grey, target);
        grey = target;
        remaining *= 2;
    }

    cv::Mat img = grey;
    if (grey.cols != visibleW || grey.rows != visibleH) {
        cv::resize(grey, resampled_, cv::Size(visibleW, visibleH), 0, 0, cv::INTER_LINEAR);
        img = resampled_;
    }

    // Levels of this frame.
    const int levels = in.bitsPerPixel == 8 ? 256 : 65536;
    const long long total = static_cast<long long>(img.rows) * img.cols;
    int black = 0, sky = 0, floor = 0;
    double noise = 1, spread = 1;
    std::vector<int> peaks;
    const auto measure = [&] {
        histogram_.assign(levels, 0);
        if (in.bitsPerPixel == 8)
            Count<unsigned char>(img, histogram_);
        else
            Count<unsigned short>(img, histogram_);
        black = Percentile(histogram_, total, settings_.blackPercentile);
        // The sky's level and noise: its median and the spread below it (one
        // standard deviation of a normal distribution below the median).
        sky = Percentile(histogram_, total, 50.0);
        noise = std::max(0.5, FinePercentile(histogram_, total, 50.0) -
                                  FinePercentile(histogram_, total, 15.87));
        // White: the peak of the brightest stars, the middle one of the few brightest
        // (so that a lone hot pixel does not set it, nor where one star's light falls
        // on the pixel grid), and never less than kLeastSpan noise levels over black.
        floor = sky + static_cast<int>(std::ceil(kPeakNoises * noise));
        peaks = in.bitsPerPixel == 8 ? Peaks<unsigned char>(img, floor, 7, sky, spread)
                                     : Peaks<unsigned short>(img, floor, 7, sky, spread);
    };
    measure();
    // Stars that fall on single pixels (a short lens, a sharp sky) are spread over
    // a few pixels, as the star detection and the templates know them; a lone
    // pixel would not survive their noise filter.
    if (settings_.softenPointStars && peaks.size() >= 2 && spread < kPointSpread) {
        cv::GaussianBlur(img, softened_, cv::Size(5, 5), kSoftenSigma);
        img = softened_;
        measure();
    }
    // Peaks far below the brightest one are faint stars or noise, not the few
    // brightest stars.
    std::size_t bright = 0;
    while (bright < peaks.size() && (peaks[bright] - sky) * kBrightShare >= peaks.front() - sky)
        ++bright;
    const int least = black + static_cast<int>(std::ceil(kLeastSpan * noise));
    const int starWhite = bright > 0 ? peaks[bright / 2] : 0;
    const int white = std::min(levels - 1, std::max({least, black + 1, starWhite}));
    lastBlack_ = black;
    lastWhite_ = white;
    lastSky_ = cv::Rect((kWidth - img.cols) / 2, (kHeight - img.rows) / 2, img.cols, img.rows);

    // Linear near the sky, logarithmic towards white (an inverse hyperbolic sine):
    // a noise level of the sky spans a level or two of the output, so faint stars
    // stand out of it, while the bright stars keep their order below white.
    lut_.resize(levels);
    const double soft = kSoftNoises * noise;
    const double top = std::asinh((white - black) / soft);
    for (int v = 0; v < levels; ++v) {
        const double mapped = v <= black ? 0.0 : 255.0 * std::asinh((v - black) / soft) / top;
        lut_[v] = static_cast<unsigned char>(std::clamp(mapped + 0.5, 0.0, 255.0));
    }

    std::memset(out, 0, kOutputBytes);
    unsigned char* origin = out + static_cast<std::ptrdiff_t>((kHeight - img.rows) / 2) * kWidth +
                            (kWidth - img.cols) / 2;
    if (in.bitsPerPixel == 8)
        Map<unsigned char>(img, lut_, origin, kWidth);
    else
        Map<unsigned short>(img, lut_, origin, kWidth);
    return true;
}

} // namespace zorcamindi
