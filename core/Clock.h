// The program's one clock: the window owns one and hands it to everything that
// needs the time (the read-out's smoothing, the guidance's pacing, the tracker's sky
// of the moment, the times of the frames the axis is fitted from).
//
// Usage:
//   SystemClock clock;                       // the real time (the default)
//   const double t = clock.Seconds();        // a steady scale, for intervals
//   const QDateTime utc = clock.Utc();       // the UTC moment, for the sky of date
//
//   // In tests: a clock that runs `rate` times faster than real time from a chosen
//   // moment, and can be moved on at once (a person who waits).
//   ScaledClock fast(QDateTime(QDate(2024, 5, 23), QTime(0, 0), Qt::UTC), 20.0);
//   fast.Advance(10.0);                      // ten seconds pass at once
//
// Seconds() and Utc() always move together: Utc() is the start moment plus the
// seconds passed. Both may be read from any thread.
#pragma once

#include <QDateTime>

#include <atomic>
#include <chrono>

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds on a steady scale (never goes back); only differences mean anything.
    virtual double Seconds() const = 0;
    // The UTC moment now.
    virtual QDateTime Utc() const = 0;
    // The same moment in seconds since 1970 UTC (to the millisecond): the time the
    // sky turns by, for the moments of frames.
    double UtcSeconds() const { return static_cast<double>(Utc().toMSecsSinceEpoch()) / 1000.0; }
};

// The real time: the steady clock for intervals, the system's UTC for moments.
class SystemClock : public Clock {
public:
    double Seconds() const override;
    QDateTime Utc() const override;
};

// A clock that runs `rate` times as fast as real time from `startUtc`, and that a
// test can move on at once.
class ScaledClock : public Clock {
public:
    ScaledClock(const QDateTime& startUtc, double rate);
    double Seconds() const override;
    QDateTime Utc() const override;
    // Moves the clock on by `seconds` (of this clock) at once; negative values are ignored.
    void Advance(double seconds);
    double Rate() const { return rate_; }

private:
    QDateTime startUtc_;
    double rate_;
    std::chrono::steady_clock::time_point startReal_;
    std::atomic<double> advanced_{0.0};
};
