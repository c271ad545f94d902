#include "astro/Tracker.h"

#include "astro/Centroid.h"
#include "astro/PoleCoor.h"
#include "astro/Refraction.h"
#include "astro/StarRefine.h"

namespace {

// One reference star: measured around its seed, the seed itself when lost.
bool MeasureStar(const cv::Mat& frame, double seedX, double seedY, double& x, double& y) {
    if (GetPreciseStarPos(frame, seedX, seedY, x, y) != 1) {
        x = seedX;
        y = seedY;
        return false;
    }
    return true;
}

} // namespace

double PressureInKPa(double pressure, int unit) {
    return unit == 1 ? pressure * 0.1 : pressure;
}

TrackerResult TrackFrame(const cv::Mat& frame, const TrackerInputs& in, cv::Mat& crop) {
    TrackerResult r;
    const bool aFound = MeasureStar(frame, in.aSeedX, in.aSeedY, r.aX, r.aY);
    const bool bFound = MeasureStar(frame, in.bSeedX, in.bSeedY, r.bX, r.bY);
    // The finest places of both stars for the figures of the alignment error; the
    // marks and positions shown follow the stars as measured above.
    cv::Point2d fineA(r.aX, r.aY);
    cv::Point2d fineB(r.bX, r.bY);
    if (aFound && bFound) {
        const auto a = RefineStarCentre(frame, r.aX, r.aY);
        const auto b = RefineStarCentre(frame, r.bX, r.bY);
        if (a && b) {
            fineA = *a;
            fineB = *b;
            r.refined = true;
        }
    }

    std::optional<SkyInImage> sky;
    if (in.skyKnown)
        sky = SkyInImage::From(in.sky, fineA.x, fineA.y, fineB.x, fineB.y);
    if (sky) {
        r.skyFound = true;
        r.arcsecPerPixel = sky->ArcsecPerPixel();
        r.zenithX = sky->ZenithX();
        r.zenithY = sky->ZenithY();
        if (in.refractionOn) {
            // Refraction raises the stars toward the zenith: take them back down.
            const cv::Point2d shift = sky->RefractionShiftPx(RefractionArcmin(
                in.latitude, PressureInKPa(in.pressure, in.pressureUnit), in.temperature));
            r.refractionShiftX = shift.x;
            r.refractionShiftY = shift.y;
            if (aFound) {
                r.aX += shift.x;
                r.aY += shift.y;
                fineA += shift;
            }
            if (bFound) {
                r.bX += shift.x;
                r.bY += shift.y;
                fineB += shift;
            }
        }
    }

    double px = 0, py = 0;
    if (CalcPoleCOOR(r.aX, r.aY, in.angleBAP, r.bX, r.bY, in.angleABP, px, py, in.axisX, in.axisY,
                     in.poleSide) != 1)
        return r;
    r.poleFound = true;
    r.poleX = px;
    r.poleY = py;
    r.finePoleX = px;
    r.finePoleY = py;
    // The pole from the finest places where it can be had; else the frame's own stands.
    double fineX = 0, fineY = 0;
    if (r.refined && PoleOfStars(fineA.x, fineA.y, in.angleBAP, fineB.x, fineB.y, in.angleABP,
                                 fineX, fineY, in.axisX, in.axisY, in.poleSide)) {
        r.finePoleX = fineX;
        r.finePoleY = fineY;
    } else {
        r.refined = false;
    }
    if (sky) {
        r.errorFound = true;
        r.error = sky->ErrorOf(r.finePoleX, r.finePoleY, in.axisX, in.axisY);
    }
    CloseUpGuides guides;
    guides.show = sky.has_value() && in.guides;
    guides.arcsecPerPx = r.arcsecPerPixel;
    guides.zenithX = r.zenithX;
    guides.zenithY = r.zenithY;
    guides.mono = in.mono;
    guides.night = in.night;
    RenderCloseUp(frame, in.axisX, in.axisY, px, py,
                  in.night ? CloseUpNightColours() : CloseUpColoursFor(in.mono), guides, crop);
    return r;
}
