// The live read-out of the monitor mode: how far the RA axis is off the pole and
// which way to turn each screw, smoothed over about a second so the digits hold
// still.
//
// Usage (the window, once per tracked frame; guidance may read the same values):
//   AlignmentReadoutSmoother smoother;            // one per monitor run
//   smoother.Reset();                            // when the monitor starts
//   const AlignmentReadout& r = smoother.Add(secondsNow, frameError, arcsecPerPixel);
//   if (r.valid) ... r.totalArcsec, r.altArcsec (> 0: raise), r.azArcsec (> 0: east),
//                    r.altitude, r.azimuth, r.band, r.arcsecPerPixel
//
// The time is any steady clock in seconds, given by the caller (nothing here reads
// a clock). Each figure is the median of the frames of the last second, so one
// frame measured astray does not move it; a gap of more than a second starts afresh.
#pragma once

#include "astro/SkyInImage.h"

#include <deque>

enum class AltitudeAdvice { None, Raise, Lower };
enum class AzimuthAdvice { None, East, West };
// The band the error lies in: under 30", under 1', above.
enum class AlignmentBand { Within30, Within60, Above };

struct AlignmentReadout {
    bool valid = false;        // no frame with an error yet: nothing to show
    double totalArcsec = 0;    // distance between axis and pole
    double altArcsec = 0;      // > 0: the pole is higher than the axis, raise
    double azArcsec = 0;       // > 0: the pole lies east of the axis, turn east
    double arcsecPerPixel = 0; // live plate scale
    AltitudeAdvice altitude = AltitudeAdvice::None;
    AzimuthAdvice azimuth = AzimuthAdvice::None;
    AlignmentBand band = AlignmentBand::Above;
};

// Below this a component needs no turn (arcseconds).
inline constexpr double kNoTurnArcsec = 0.5;

AltitudeAdvice AltitudeAdviceOf(double altArcsec);
AzimuthAdvice AzimuthAdviceOf(double azArcsec);
AlignmentBand BandOf(double totalArcsec);

class AlignmentReadoutSmoother {
public:
    explicit AlignmentReadoutSmoother(double windowSeconds = 1.0) : window_(windowSeconds) {}

    void Reset();
    const AlignmentReadout& Add(double seconds, const AltAzError& error, double arcsecPerPixel);
    const AlignmentReadout& Current() const { return current_; }

private:
    struct Sample {
        double t, alt, az, scale;
    };
    double window_;
    static double Median(const std::deque<Sample>& samples, double Sample::*field);
    std::deque<Sample> samples_;
    AlignmentReadout current_;
};
