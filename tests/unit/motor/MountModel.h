// A mount whose screws a motor turns, for the motor's tests: the pole's error in the
// read-out's sense, and what a travel of the controller's axes does to it, with the
// true scale, sense and slack of each axis (which the program only believes it knows).
#pragma once

#include "astro/AlignmentReadout.h"
#include "motor/MotorAxes.h"
#include "support/ReadoutOf.h"

#include <cmath>

struct MountModelAxis {
    double mmPerArcsec = 0.001;
    int sense = 1;
    double backlashArcsec = 0;
    int lastSense = 0;
    double slackLeft = 0; // arcseconds of travel still taken by the slack

    // The pole's move (arcseconds raised or turned east) for `mm` of travel.
    double Move(double mm) {
        if (mm == 0)
            return 0;
        const int s = mm > 0 ? 1 : -1;
        double arcsec = std::abs(mm) / mmPerArcsec;
        if (lastSense != 0 && s != lastSense)
            slackLeft = backlashArcsec;
        lastSense = s;
        const double taken = std::min(slackLeft, arcsec);
        slackLeft -= taken;
        arcsec -= taken;
        return s * sense * arcsec;
    }
};

struct MountModel {
    double altArcsec = 0; // the read-out: > 0 asks to raise
    double azArcsec = 0;
    MountModelAxis alt, az;

    void Travel(double altMm, double azMm) {
        altArcsec -= alt.Move(altMm);
        azArcsec -= az.Move(azMm);
    }
    AlignmentReadout Readout() const { return ReadoutOf(altArcsec, azArcsec); }
};
