// The alignment marks drawn over the live frame, on a plain blue-green-red image.
//
// Usage:
//   OverlayMarks marks;                       // everything off
//   marks.mono = IsMonoStyle(g_uiStyle);      // "Mono" exactly; any other word: colours
//   marks.night = IsNightStyle(g_uiStyle);    // "Night": red shades (astro/NightColours.h)
//   marks.showAxisMark = true;
//   marks.cirCenterX = 640.4; marks.cirCenterY = 480.9;
//   DrawOverlays(displayImage, marks);        // CV_8UC3, drawn in place, clipped at the edges
//
// Each mark is placed at the truncation toward zero of its position plus the
// mark's offsets. A mark whose position is not a finite number far inside the
// integer range (a failed geometry yields infinities or NaNs) is left out.
#pragma once

#include <QString>
#include <opencv2/core.hpp>

// Colours in the image's byte order (blue, green, red).
inline const cv::Scalar kGhostWhite(255, 248, 248);
inline const cv::Scalar kDarkGrey(169, 169, 169);
inline const cv::Scalar kGreen(0, 255, 0);
inline const cv::Scalar kRed(0, 0, 255);

// True only for the exact word "Mono": every other word (empty, "mono") means Color.
bool IsMonoStyle(const QString& style);

struct OverlayMarks {
    bool mono = false;      // Mono style: pole, axis and circle in ghost white
    bool night = false;     // Night style: every mark in its red shade (wins over mono)
    double ringAngle = 0.0; // degrees; turns the expected pole-star ring

    bool showEptNStar = false; // ring at the expected pole-star position
    double eptNStarX = 0, eptNStarY = 0;

    bool showAxisMark = false;   // RA-axis centre mark
    bool showAxisCircle = false; // circle through the picked star positions
    double cirCenterX = 0, cirCenterY = 0;
    int cirRadius = 0;

    bool monitorPole = false; // pole mark of the monitor mode
    double polarPosX = 0, polarPosY = 0;

    // Monitor mode with a known sky: rings of 30", 1', 5' about the axis centre and
    // a short arrow toward the zenith (CloseUp.h), at the live plate scale.
    bool showGuides = false;
    double arcsecPerPx = 0;
    double zenithX = 0, zenithY = 0;

    bool showRefStarA = false; // reference star A: cross and thin box
    double refStarAX = 0, refStarAY = 0;
    bool showRefStarB = false; // reference star B: cross and box twice as thick
    double refStarBX = 0, refStarBY = 0;
};

// Draws the marks whose flags are set, in this order: ring, axis mark, axis
// circle, guides, pole mark, star A, star B. image must be CV_8UC3; anything else is left alone.
void DrawOverlays(cv::Mat& image, const OverlayMarks& marks);
