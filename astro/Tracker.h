// One frame of the monitor mode's reference-star tracking, without threads or
// windows: both reference stars measured around their seeds, optionally corrected
// for refraction, the pole triangulated from them and, when it was found, the pole
// close-up rendered, with the axis error split into altitude and azimuth.
//
// With the sky of the moment given (in.skyKnown, SkyInImage.h), the two measured
// stars give the live plate scale and the zenith direction; the refraction
// correction then moves each star that was found by the refraction at the pole's
// altitude, in pixels at that scale, away from the zenith, so the pole found is
// the true pole. Without the sky there is no correction and no error.
//
// The error, the plate scale and the zenith come from the finest places of the two
// stars (StarRefine.h), which a faint star on a bright sky needs: the pick's centroid
// keeps such a star's brightest pixel, half a pixel off, and half a pixel is 15".
// Where either star cannot be refined they come from the places as measured.
//
// Usage (the capture thread, once per frame):
//   TrackerInputs in;                 // a snapshot of the seeds, axis centre, ...
//   const TrackerResult r = TrackFrame(frame, in, crop);
//   // r.aX ... r.bY always hold the stars (the seed for a star that was lost);
//   // when r.poleFound, (r.poleX, r.poleY) is the pole and crop the new close-up.
#pragma once

#include "astro/CloseUp.h"
#include "astro/SkyInImage.h"

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
    bool night = false;     // close-up in the "Night" style's red shades (wins over mono)
    bool skyKnown = false;  // sky below set: plate scale, zenith, error, refraction
    SkyOfMoment sky;        // template stars of the moment and the site's meridian
    bool guides = true;     // rings and zenith arrow in the close-up (with the sky)
};

struct TrackerResult {
    double aX = 0, aY = 0; // star A as measured (or its seed when lost)
    double bX = 0, bY = 0; // star B likewise
    bool poleFound = false;
    double poleX = 0, poleY = 0; // valid when poleFound
    bool skyFound = false;       // plate scale and zenith below are valid
    double arcsecPerPixel = 0;
    double zenithX = 0, zenithY = 0;                   // unit vector toward the zenith, image axes
    double refractionShiftX = 0, refractionShiftY = 0; // pixels added to found stars
    bool refined = false; // both stars refined and a pole from them: finePole is theirs
    double finePoleX = 0, finePoleY = 0; // the pole from the finest places (valid when poleFound)
    bool errorFound = false;             // poleFound and skyFound: the error below is valid
    AltAzError error;                    // the pole from the finest places against the axis centre
};

// The pressure in kPa: hPa (unit 1) times 0.1, otherwise unchanged.
double PressureInKPa(double pressure, int unit);

// Tracks one 8-bit single-channel frame. When the pole is found, crop receives
// the 200x200 close-up about the axis centre (CloseUp.h); otherwise it is untouched.
TrackerResult TrackFrame(const cv::Mat& frame, const TrackerInputs& in, cv::Mat& crop);
