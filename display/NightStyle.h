// The night style's colour rules: dim reds on black for windows, pictures and the
// live image, with green and blue never above kNightMaxGreenBlue (astro/NightColours.h).
//
// Usage:
//   if (IsNightStyle(g_uiStyle)) ...                       // the exact word "Night"
//   MapToRedRamp(greyFrame, displayImage);                 // grey v -> (B, G, R) = (0, 0, v)
//   QColor text = NightColour(QColor(0xF8, 0xF8, 0xFF));   // a day colour's night shade
//   widget->setStyleSheet(NightStyleSheet(dayStyleSheet));  // every colour in it turned red
//   QImage icon = NightImage(dayIcon);                     // a picture in red shades
//   QImage mask = TintImage(templatePicture, QColor(210, 0, 0));
//   QApplication::setPalette(NightPalette());
//
// None of these touch the frame itself: the red ramp is made at display time, so
// centroiding and the saved BMP see the camera's grey values.
#pragma once

#include "astro/NightColours.h"

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QString>
#include <opencv2/core.hpp>

// True only for the exact word "Night".
bool IsNightStyle(const QString& style);

// A cv::Scalar of astro/NightColours.h (blue, green, red) as a QColor.
QColor QColorOf(const cv::Scalar& bgr);

// An 8-bit grey (1 channel) or blue-green-red (3 channels) image as blue-green-red
// on a red ramp: red = the grey value (for colour input its luminance), green =
// blue = 0. Other image types leave out untouched and return false.
bool MapToRedRamp(const cv::Mat& in, cv::Mat& out);

// The night shade of a colour: red = the mean of its largest channel and its
// luminance, times kNightRedGain; green = blue = 0; alpha kept. White text turns
// into a dim red, dark grey into near black.
inline constexpr double kNightRedGain = 0.8;
QColor NightColour(const QColor& day);

// A style sheet with every colour it names (#rgb, #rrggbb, #aarrggbb, rgb(),
// rgba() and the named colours such as "lightgrey") replaced by its night shade.
// "transparent" and everything else stay as written.
QString NightStyleSheet(const QString& dayStyleSheet);

// A picture with every pixel replaced by its night shade, alpha kept.
QImage NightImage(const QImage& day);

// A picture drawn in one colour: each pixel takes colour scaled by the pixel's
// brightness relative to the brightest pixel of the picture, alpha kept. Marks and
// icons keep their shape and take the mark's night colour.
QImage TintImage(const QImage& picture, const QColor& colour);

// The windows' palette in the night style: near-black surfaces, dim red text.
QPalette NightPalette();
