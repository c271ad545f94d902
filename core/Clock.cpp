#include "core/Clock.h"

#include <cmath>

double SystemClock::Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QDateTime SystemClock::Utc() const {
    return QDateTime::currentDateTimeUtc();
}

ScaledClock::ScaledClock(const QDateTime& startUtc, double rate)
    : startUtc_(startUtc.toUTC()), rate_(std::isfinite(rate) && rate >= 0 ? rate : 1.0),
      startReal_(std::chrono::steady_clock::now()) {}

double ScaledClock::Seconds() const {
    const double real =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - startReal_).count();
    return real * rate_ + advanced_.load();
}

QDateTime ScaledClock::Utc() const {
    return startUtc_.addMSecs(static_cast<qint64>(std::llround(Seconds() * 1000.0)));
}

void ScaledClock::Advance(double seconds) {
    if (!(seconds > 0) || !std::isfinite(seconds))
        return;
    double now = advanced_.load();
    while (!advanced_.compare_exchange_weak(now, now + seconds)) {
    }
}
