// The device gain for a gain preset of the program (50, 70, 90, 100), from the
// range the driver reports.
//
// Usage:
//   double g = DeviceGain(70, s.gainMin, s.gainMax);   // 120 for a 0..600 range
//
// Drivers do not say what their gain unit is; the range tells what it most likely
// is. A span above 100 steps is taken as tenths of a decibel (the usual unit of
// astronomy CMOS cameras): the presets then amplify by the same factor on every
// such camera, 0.3 dB per preset point above 30 (50: +6 dB, 70: +12 dB, 90: +18 dB,
// 100: +21 dB over the camera's lowest gain), kept within the range. A smaller span
// (a percentage, or a plain multiplier) takes the preset's share of the range.
#pragma once

namespace zorcamindi {

double DeviceGain(double preset, double min, double max);

// The preset whose device gain lies nearest to `gain` (for showing a device's own
// gain in preset terms); the inverse of DeviceGain within the range.
double PresetForGain(double gain, double min, double max);

} // namespace zorcamindi
