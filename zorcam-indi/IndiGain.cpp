#include "zorcam-indi/IndiGain.h"

#include <algorithm>
#include <cmath>

namespace zorcamindi {

namespace {

constexpr double kDecibelSpan = 100;   // spans above this are tenths of a decibel
constexpr double kDbPerPoint = 0.3;    // amplification per preset point
constexpr double kPresetAtLowest = 30; // the preset that would mean the lowest gain

bool Decibels(double min, double max) {
    return max - min > kDecibelSpan;
}

} // namespace

double DeviceGain(double preset, double min, double max) {
    if (!(max > min))
        return min;
    const double p = std::clamp(preset, 0.0, 100.0);
    const double g = Decibels(min, max) ? min + 10 * kDbPerPoint * (p - kPresetAtLowest)
                                        : min + (max - min) * p / 100.0;
    return std::clamp(std::round(g * 1000) / 1000, min, max);
}

double PresetForGain(double gain, double min, double max) {
    if (!(max > min))
        return 0;
    const double g = std::clamp(gain, min, max);
    const double p = Decibels(min, max) ? kPresetAtLowest + (g - min) / (10 * kDbPerPoint)
                                        : (g - min) * 100.0 / (max - min);
    return std::clamp(p, 0.0, 100.0);
}

} // namespace zorcamindi
