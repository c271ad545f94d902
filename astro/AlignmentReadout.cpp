#include "astro/AlignmentReadout.h"

#include "astro/Median.h"

#include <algorithm>
#include <cmath>
#include <vector>

AltitudeAdvice AltitudeAdviceOf(double altArcsec) {
    if (!(std::abs(altArcsec) >= kNoTurnArcsec))
        return AltitudeAdvice::None;
    return altArcsec > 0 ? AltitudeAdvice::Raise : AltitudeAdvice::Lower;
}

AzimuthAdvice AzimuthAdviceOf(double azArcsec) {
    if (!(std::abs(azArcsec) >= kNoTurnArcsec))
        return AzimuthAdvice::None;
    return azArcsec > 0 ? AzimuthAdvice::East : AzimuthAdvice::West;
}

AlignmentBand BandOf(double totalArcsec) {
    if (totalArcsec < 30.0)
        return AlignmentBand::Within30;
    if (totalArcsec < 60.0)
        return AlignmentBand::Within60;
    return AlignmentBand::Above; // NaN too
}

double AlignmentReadoutSmoother::Median(const std::deque<Sample>& samples, double Sample::*field) {
    std::vector<double> v;
    v.reserve(samples.size());
    for (const Sample& s : samples)
        v.push_back(s.*field);
    return MedianOf(v);
}

void AlignmentReadoutSmoother::Reset() {
    samples_.clear();
    current_ = AlignmentReadout{};
}

const AlignmentReadout& AlignmentReadoutSmoother::Add(double seconds, const AltAzError& error,
                                                      double arcsecPerPixel) {
    if (!std::isfinite(seconds) || !std::isfinite(error.altArcsec) ||
        !std::isfinite(error.azArcsec) || !std::isfinite(arcsecPerPixel))
        return current_;
    // A clock that went back, or a long gap: the old frames say nothing now.
    if (!samples_.empty() && (seconds < samples_.back().t || seconds - samples_.back().t > window_))
        samples_.clear();
    samples_.push_back({seconds, error.altArcsec, error.azArcsec, arcsecPerPixel});
    while (samples_.size() > 1 && samples_.front().t <= seconds - window_)
        samples_.pop_front();

    current_.valid = true;
    current_.altArcsec = Median(samples_, &Sample::alt);
    current_.azArcsec = Median(samples_, &Sample::az);
    current_.arcsecPerPixel = Median(samples_, &Sample::scale);
    current_.totalArcsec = std::hypot(current_.altArcsec, current_.azArcsec);
    current_.altitude = AltitudeAdviceOf(current_.altArcsec);
    current_.azimuth = AzimuthAdviceOf(current_.azArcsec);
    current_.band = BandOf(current_.totalArcsec);
    return current_;
}
