// Clocks for tests whose sky stands still.
//
// Usage:
//   form.UseClock(ClockHeldAt(QDate(2026, 12, 10)));   // 00:00 UTC of the date, held
//   auto c = std::make_shared<HeldMomentClock>(moment, 20.0);
//   c->Advance(10);                                   // ten seconds pass at once
//
// A HeldMomentClock keeps its UTC moment while its seconds run (at `rate` times real
// time, moved on at once by Advance): a sky that does not turn, seen by a program whose
// pacing (the read-out's smoothing, the guidance) goes on.
#pragma once

#include "core/Clock.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <memory>

class HeldMomentClock : public Clock {
public:
    HeldMomentClock(const QDateTime& utc, double rate) : utc_(utc.toUTC()), seconds_(utc, rate) {}
    double Seconds() const override { return seconds_.Seconds(); }
    QDateTime Utc() const override { return utc_; }
    void Advance(double seconds) { seconds_.Advance(seconds); }

private:
    QDateTime utc_;
    ScaledClock seconds_;
};

inline std::shared_ptr<HeldMomentClock> ClockHeldAt(const QDate& date, double rate = 1.0) {
    return std::make_shared<HeldMomentClock>(QDateTime(date, QTime(0, 0), Qt::UTC), rate);
}
