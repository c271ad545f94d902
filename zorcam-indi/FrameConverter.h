// Turns one camera frame of any size (8 or 16 bit, mono or Bayer) into the
// 1280 x 960 8-bit grey frame the program works on, at the star templates' scale.
//
// Usage:
//   ConversionSettings s;
//   s.pixelSizeUm = 3.76;  s.focalLengthMm = 25;     // from the device and the lens
//   FrameConverter conv(s);
//   RawFrame raw{width, height, 16, data, "RGGB"};   // "" for a mono sensor
//   std::vector<unsigned char> out(FrameConverter::kOutputBytes);
//   if (conv.Convert(raw, out.data())) ...           // false: the frame is unusable
//
// The steps: the part of the sensor that will be seen is cut from the middle of
// the frame; a Bayer mosaic is turned into grey (luminance); the result is resampled
// by Factor() so that one output pixel covers TargetArcsecPerPixel(), from the
// sensor's pixel size and the lens's focal length; it is centred in the output and
// the margin is black where the sensor is smaller; stars that fall on single pixels
// (most of a peak's light in one pixel) are spread by a Gaussian of 0.8 pixels, as
// the star detection and the templates expect them; finally the frame's own levels
// are stretched to 0..255: black is a low percentile of its pixels (just below the
// sky background), white the middle peak of the few brightest stars (not a lone hot
// pixel, and steady wherever a star falls on the pixel grid), at least 12 noise
// levels above black so that the sky never turns white. The stretch is linear near
// the sky (a noise level spans a level or two, so faint and single-pixel stars
// stand out) and logarithmic towards white, so bright stars keep their order.
// Without a pixel size or a focal length the frame keeps its own scale.
// Not thread-safe: one converter per thread (it reuses its working buffers).
#pragma once

#include <opencv2/core.hpp>

#include <string>
#include <vector>

namespace zorcamindi {

struct RawFrame {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 16; // 8 or 16 (unsigned)
    const void* data = nullptr;
    std::string bayer; // "RGGB", "BGGR", "GRBG", "GBRG" (colour of the top-left 2 x 2), "" = mono
};

struct ConversionSettings {
    double pixelSizeUm = 0;   // sensor pixel pitch; 0 = unknown
    double focalLengthMm = 0; // lens; 0 = unknown
    double targetArcsecPerPixel = 30.5;
    double minFactor = 1.0 / 16;  // resampling limits: below and above them the
    double maxFactor = 2.0;       // image keeps the nearest reachable scale
    double blackPercentile = 1.0; // % of pixels at or below black
    bool softenPointStars = true; // spread stars that fall on single pixels
};

class FrameConverter {
public:
    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 960;
    static constexpr int kOutputBytes = kWidth * kHeight;

    explicit FrameConverter(const ConversionSettings& settings = {});

    const ConversionSettings& Settings() const { return settings_; }
    // The sensor's own scale in arcseconds per pixel, 0 when unknown.
    double NativeArcsecPerPixel() const;
    // The resampling factor (output pixels per sensor pixel).
    double Factor() const;
    // The scale of the output frame, 0 when unknown.
    double DeliveredArcsecPerPixel() const;

    // Writes kOutputBytes bytes to out. False (out untouched) for a frame without
    // data, of a size below 2 x 2, of another bit depth, or of an unknown mosaic.
    bool Convert(const RawFrame& in, unsigned char* out);

    // Black and white levels used for the last frame (in the input's units).
    int LastBlack() const { return lastBlack_; }
    int LastWhite() const { return lastWhite_; }
    // The part of the last output frame that shows the sensor (the rest is black).
    cv::Rect LastSky() const { return lastSky_; }

private:
    ConversionSettings settings_;
    cv::Mat grey_;
    cv::Mat halved_[2];
    cv::Mat resampled_;
    cv::Mat softened_;
    std::vector<int> histogram_;
    std::vector<unsigned char> lut_;
    int lastBlack_ = 0;
    int lastWhite_ = 0;
    cv::Rect lastSky_;
};

// OpenCV's colour-conversion code to grey for a mosaic named by its top-left 2 x 2
// ("RGGB" ...), -1 for an unknown name.
int BayerToGreyCode(const std::string& pattern);

} // namespace zorcamindi
