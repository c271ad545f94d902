// One frame of the monitor mode's reference-star tracking, without threads or
// windows: both reference stars measured around their seeds, optionally corrected
// for refraction, the pole triangulated from them and, when it was found, the pole
// close-up rendered.
//
// Usage (the capture thread, once per frame):
//   TrackerInputs in;                 // a snapshot of the seeds, axis centre, ...
//   const TrackerResult r = TrackFrame(frame, in, crop);
//   // r.aX ... r.bY always hold the stars (the seed for a star that was lost);
//   // when r.poleFound, (r.poleX, r.poleY) is the pole and crop the new close-up.
#pragma once

#include "astro/CloseUp.h"

#include <opencv2/core.hpp>

struct TrackerInputs {
    double aSeedX = 0, aSeedY = 0; // star A's seed, frame pixels
    double bSeedX = 0, bSeedY = 0; // star B's (the pole star's) seed
    double axisX = 0, axisY = 0;   // RA-axis centre, frame pixels
    double angleBAP = 0;           // template angle at A between B and P, degrees
    double angleABP = 0;           // template angle at B between A and P, degrees
    int poleSide = 0;              // side of A-B the pole lies on (PoleSideOf), 0 unknown
    bool refractionOn = false;
    double latitude = 0;    // degrees: the altitude of the pole
    double pressure = 0;    // in the unit below
    int pressureUnit = 0;   // 0 kPa, 1 hPa
    double temperature = 0; // degrees Celsius
    bool mono = false;      // close-up marks in the "Mono" style's colours
};

struct TrackerResult {
    double aX = 0, aY = 0; // star A as measured (or its seed when lost)
    double bX = 0, bY = 0; // star B likewise
    bool poleFound = false;
    double poleX = 0, poleY = 0; // valid when poleFound
};

// The pressure in kPa: hPa (unit 1) times 0.1, otherwise unchanged.
double PressureInKPa(double pressure, int unit);

// Tracks one 8-bit single-channel frame. When the pole is found, crop receives
// the 200x200 close-up about the axis centre (CloseUp.h); otherwise it is untouched.
TrackerResult TrackFrame(const cv::Mat& frame, const TrackerInputs& in, cv::Mat& crop);
