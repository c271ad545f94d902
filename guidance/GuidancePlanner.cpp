#include "guidance/GuidancePlanner.h"

#include <algorithm>
#include <cmath>

namespace {

// The other axis takes over once its error is this much larger than the advised one's.
constexpr double kAxisSwitchRatio = 1.25;
// Leaving the band after settling needs this much more than the band (no flapping).
constexpr double kUnsettleFactor = 1.2;

} // namespace

GuidancePlanner::GuidancePlanner(const GuidanceParams& params) : params_(params) {}

void GuidancePlanner::Reset() {
    *this = GuidancePlanner(params_);
}

GuidanceTone GuidancePlanner::ToneFor(double totalArcsec) const {
    const double band = std::max(params_.bandArcsec, 1e-3);
    const double far = std::max(params_.farArcsec, band * 1.001);
    double f = 0.0; // 0 at the band, 1 far out
    if (std::isfinite(totalArcsec) && totalArcsec > band)
        f = std::min(1.0, std::log(totalArcsec / band) / std::log(far / band));
    else if (!std::isfinite(totalArcsec))
        f = 1.0;
    GuidanceTone tone;
    tone.intervalMs =
        params_.fastestIntervalMs + f * (params_.slowestIntervalMs - params_.fastestIntervalMs);
    tone.pitchHz = params_.highPitchHz + f * (params_.lowPitchHz - params_.highPitchHz);
    return tone;
}

void GuidancePlanner::Quantize(double arcsec, int& amount, bool& minutes) {
    const double a = std::min(std::fabs(arcsec), 1e6);
    const int tens = std::max(10, static_cast<int>(std::lround(a / 10.0)) * 10);
    minutes = tens >= 60; // "60 seconds" is said as "1 arcminute"
    amount = minutes ? std::max(1, static_cast<int>(std::lround(a / 60.0))) : tens;
}

std::optional<GuidanceAdvice> GuidancePlanner::NewAdvice(const GuidanceInput& in) {
    if (settled_) {
        if (spoken_ && spoken_->kind == GuidanceAdvice::Kind::Aligned)
            return std::nullopt;
        return GuidanceAdvice{};
    }
    if (in.totalArcsec <= params_.bandArcsec)
        return std::nullopt; // settling: nothing new to say until it holds
    const double alt = std::fabs(in.altArcsec);
    const double az = std::fabs(in.azArcsec);
    if (!axis_)
        axis_ = alt >= az ? GuidanceAxis::Altitude : GuidanceAxis::Azimuth;
    else if (*axis_ == GuidanceAxis::Altitude && az > kAxisSwitchRatio * alt)
        axis_ = GuidanceAxis::Azimuth;
    else if (*axis_ == GuidanceAxis::Azimuth && alt > kAxisSwitchRatio * az)
        axis_ = GuidanceAxis::Altitude;

    const double value = *axis_ == GuidanceAxis::Altitude ? in.altArcsec : in.azArcsec;
    GuidanceAdvice advice;
    advice.kind = GuidanceAdvice::Kind::Move;
    advice.axis = *axis_;
    advice.direction = value >= 0.0 ? 1 : -1;
    Quantize(value, advice.amount, advice.minutes);

    // The same instruction again, with the same or a new amount, is worth saying once the
    // user has done half of what was said (the error has come that much closer) or when
    // the error has grown well past it; not when it wobbles across a rounding edge or
    // drifts a little.
    if (spoken_ && spoken_->kind == GuidanceAdvice::Kind::Move && spoken_->axis == advice.axis &&
        spoken_->direction == advice.direction) {
        const double said = spoken_->AmountArcsec();
        const double step = spoken_->minutes ? 60.0 : 10.0;
        const double now = std::fabs(value);
        const bool done = std::fabs(spokenValue_) - now >= 0.5 * said;
        const bool grown = now > said + std::max(step, 0.5 * said);
        if (!done && !grown)
            return std::nullopt;
    }
    advisedValue_ = value;
    return advice;
}

GuidanceEvents GuidancePlanner::Update(double t, const GuidanceInput& in) {
    GuidanceEvents ev;
    if (!in.valid || !std::isfinite(in.totalArcsec) || !std::isfinite(in.altArcsec) ||
        !std::isfinite(in.azArcsec)) {
        inBandSince_.reset();
        lastBeepT_.reset();
        return ev;
    }

    // Settling: inside the band for the settle time; leaving it well undoes that.
    if (in.totalArcsec <= params_.bandArcsec) {
        if (!inBandSince_)
            inBandSince_ = t;
        if (!settled_ && t - *inBandSince_ >= params_.settleSeconds) {
            settled_ = true;
            ev.chord = true;
        }
    } else {
        inBandSince_.reset();
        if (settled_ && in.totalArcsec > kUnsettleFactor * params_.bandArcsec)
            settled_ = false;
    }

    // The parking-sensor tone, silent once settled.
    if (!settled_) {
        const GuidanceTone tone = ToneFor(in.totalArcsec);
        if (!lastBeepT_ || (t - *lastBeepT_) * 1000.0 >= tone.intervalMs - 1e-6) {
            ev.beep = true;
            ev.beepPitchHz = tone.pitchHz;
            ev.beepMs = params_.beepMs;
            lastBeepT_ = t;
        }
    } else {
        lastBeepT_.reset();
    }

    // "Aligned" goes with the chord, after half a gap at least.
    const std::optional<GuidanceAdvice> wanted = NewAdvice(in);
    const bool aligned = wanted && wanted->kind == GuidanceAdvice::Kind::Aligned;
    const double gap = aligned ? params_.speechGapSeconds / 2 : params_.speechGapSeconds;
    if (wanted && (!lastSpeechT_ || t - *lastSpeechT_ >= gap)) {
        ev.speak = wanted;
        spoken_ = wanted;
        spokenValue_ = advisedValue_;
        lastSpeechT_ = t;
    }
    return ev;
}
