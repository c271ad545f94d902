#include "zorcam-indi/FrameConverter.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zorcamindi {

namespace {

constexpr double kArcsecPerRadian = 206264.806;

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
    histogram_.assign(levels, 0);
    if (in.bitsPerPixel == 8)
        Count<unsigned char>(img, histogram_);
    else
        Count<unsigned short>(img, histogram_);
    const long long total = static_cast<long long>(img.rows) * img.cols;
    const int black = Percentile(histogram_, total, settings_.blackPercentile);
    // White: the brightest 2 x 2 block's dimmest pixel, so a lone hot pixel does not
    // set it but a star (several pixels wide) does.
    cv::erode(img, eroded_, cv::Mat::ones(2, 2, CV_8U));
    double brightest = 0;
    cv::minMaxLoc(eroded_, nullptr, &brightest);
    const int white = std::max(black + 1, static_cast<int>(brightest));
    lastBlack_ = black;
    lastWhite_ = white;

    lut_.resize(levels);
    const double scale = 255.0 / (white - black);
    for (int v = 0; v < levels; ++v) {
        const double mapped = (v - black) * scale;
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
