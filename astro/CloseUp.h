// The pole close-up: a 200x200 square of the frame magnified 5x (bilinear) around
// the RA-axis centre, with the axis mark and the pole mark drawn on it.
//
// Usage (once per frame in monitor mode, after the pole has been found):
//   cv::Mat crop(200, 200, CV_8UC3);                       // allocated once
//   RenderCloseUp(frame, axisX, axisY, poleX, poleY, CloseUpColoursFor(mono), crop);
//
// The square is the one whose top-left corner is (trunc(5 axisX) - 100,
// trunc(5 axisY) - 100) in the 5x magnified frame (that is trunc(5 v - 100) while
// the square lies inside), so the axis centre always lands at (100, 100). Only the frame pixels
// that square samples are magnified; the result equals the same square cut from a magnification of
// the whole frame with the marks drawn on it. Where the square reaches beyond the magnified frame
// (an axis centre within 20 frame pixels of the border) it is padded with black, and the marks are
// still drawn whole, so the axis mark stays at (100, 100).
#pragma once

#include <opencv2/core.hpp>

inline constexpr int kCloseUpSide = 200; // pixels of the close-up square
inline constexpr int kCloseUpScale = 5;  // magnification
inline constexpr int kCloseUpHalf = 100; // the axis centre's place in the square

// Blue-green-red colours of the two marks.
struct CloseUpColours {
    cv::Scalar axis;
    cv::Scalar pole;
    bool redImage = false; // the magnified frame on a red ramp (red = grey) instead of grey
};

// "Mono" style: both marks (255, 248, 248); any other style: axis red, pole green.
CloseUpColours CloseUpColoursFor(bool mono);
// "Night" style: the marks in their night shades on a red ramp (astro/NightColours.h).
CloseUpColours CloseUpNightColours();

// Top-left corner of the square in magnified pixels: trunc(5 v) - 100 per axis.
cv::Point CloseUpOrigin(double axisX, double axisY);

// Draws the axis mark (centre axisX, axisY) and the pole mark (poleX, poleY), both
// given in frame pixels, on an image that holds the magnified frame from the
// magnified point "origin" on (image pixel (0, 0) is magnified pixel origin).
void DrawCloseUpMarks(cv::Mat& image, cv::Point origin, double axisX, double axisY, double poleX,
                      double poleY, const CloseUpColours& colours);

// Fills crop (made 200x200 CV_8UC3 when it is not) with the close-up of an 8-bit
// single-channel frame. An empty frame gives a black square with the marks.
void RenderCloseUp(const cv::Mat& frame, double axisX, double axisY, double poleX, double poleY,
                   const CloseUpColours& colours, cv::Mat& crop);

// The scale guides of the monitor mode: rings of 30", 1' and 5' about the axis
// mark and a short arrow from it toward the zenith.
struct CloseUpGuides {
    bool show = false;
    double arcsecPerPx = 0;          // live plate scale of the frame
    double zenithX = 0, zenithY = 0; // unit vector toward the zenith, image axes
    bool mono = false;               // "Mono" style: ghost white
    bool night = false;              // "Night" style: red shades (wins over mono)
};

inline constexpr double kGuideRingsArcsec[] = {30.0, 60.0, 300.0};

// Draws the guides on an image at "scale" image pixels per frame pixel, centred
// on (centreX, centreY) image pixels; arrowLength in image pixels. Nothing when
// the guides are off or the scale is not a positive number.
void DrawGuides(cv::Mat& image, double centreX, double centreY, double scale, double arrowLength,
                const CloseUpGuides& guides);

// As above, then the guides about the axis mark at (100, 100).
void RenderCloseUp(const cv::Mat& frame, double axisX, double axisY, double poleX, double poleY,
                   const CloseUpColours& colours, const CloseUpGuides& guides, cv::Mat& crop);
