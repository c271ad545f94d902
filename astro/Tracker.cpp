#include "astro/Tracker.h"

#include "astro/Centroid.h"
#include "astro/PoleCoor.h"
#include "astro/Refraction.h"

namespace {

// One reference star: measured around its seed, the seed itself when lost; a
// star that was found has its vertical coordinate corrected when asked.
void MeasureStar(const cv::Mat& frame, double seedX, double seedY, const TrackerInputs& in,
                 double& x, double& y) {
    if (GetPreciseStarPos(frame, seedX, seedY, x, y) != 1) {
        x = seedX;
        y = seedY;
        return;
    }
    if (in.refractionOn) {
        double corrected = y;
        CorrectRefraction(y, in.latitude, PressureInKPa(in.pressure, in.pressureUnit),
                          in.temperature, corrected);
        y = corrected;
    }
}

} // namespace

double PressureInKPa(double pressure, int unit) {
    return unit == 1 ? pressure * 0.1 : pressure;
}

TrackerResult TrackFrame(const cv::Mat& frame, const TrackerInputs& in, cv::Mat& crop) {
    TrackerResult r;
    MeasureStar(frame, in.aSeedX, in.aSeedY, in, r.aX, r.aY);
    MeasureStar(frame, in.bSeedX, in.bSeedY, in, r.bX, r.bY);

    double px = 0, py = 0;
    if (CalcPoleCOOR(r.aX, r.aY, in.angleBAP, r.bX, r.bY, in.angleABP, px, py, in.axisX, in.axisY,
                     in.poleSide) != 1)
        return r;
    r.poleFound = true;
    r.poleX = px;
    r.poleY = py;
    RenderCloseUp(frame, in.axisX, in.axisY, px, py, CloseUpColoursFor(in.mono), crop);
    return r;
}
