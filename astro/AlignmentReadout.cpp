#include "astro/AlignmentReadout.h"

#include <cmath>

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

    double alt = 0, az = 0, scale = 0;
    for (const Sample& s : samples_) {
        alt += s.alt;
        az += s.az;
        scale += s.scale;
    }
    const double n = static_cast<double>(samples_.size());
    current_.valid = true;
    current_.altArcsec = alt / n;
    current_.azArcsec = az / n;
    current_.arcsecPerPixel = scale / n;
    current_.totalArcsec = std::hypot(current_.altArcsec, current_.azArcsec);
    current_.altitude = AltitudeAdviceOf(current_.altArcsec);
    current_.azimuth = AzimuthAdviceOf(current_.azArcsec);
    current_.band = BandOf(current_.totalArcsec);
    return current_;
}
