// The one clock: the real time, and the test clock that runs faster and can be moved on.
#include "core/Clock.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <chrono>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

namespace {

const QDateTime kStart(QDate(2024, 5, 23), QTime(21, 30), Qt::UTC);

TEST(ClockTest, TheSystemClockIsSteadyAndItsMomentIsNow) {
    SystemClock clock;
    const QDateTime before = QDateTime::currentDateTimeUtc();
    const double a = clock.Seconds();
    const QDateTime utc = clock.Utc();
    const double b = clock.Seconds();
    EXPECT_LE(a, b);
    EXPECT_EQ(utc.timeSpec(), Qt::UTC);
    EXPECT_GE(utc, before);
    EXPECT_LE(utc, QDateTime::currentDateTimeUtc());
}

// A clock at rate r shows r seconds for every real one: judged between two real
// readings taken around it, so a loaded machine cannot make it fail.
TEST(ClockTest, AScaledClockRunsAtItsRateFromItsStartMoment) {
    for (const double rate : {0.0, 1.0, 20.0, 500.0}) {
        SCOPED_TRACE(rate);
        SystemClock real;
        const double realBefore = real.Seconds();
        ScaledClock clock(kStart, rate);
        const double realAfterStart = real.Seconds();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const double realBeforeRead = real.Seconds();
        const double s = clock.Seconds();
        const double realAfterRead = real.Seconds();
        EXPECT_GE(s, rate * (realBeforeRead - realAfterStart) - 1e-9);
        EXPECT_LE(s, rate * (realAfterRead - realBefore) + 1e-9);
        EXPECT_DOUBLE_EQ(clock.Rate(), rate);
        // The moment is the start plus the seconds (to the millisecond).
        const qint64 ms = kStart.msecsTo(clock.Utc());
        EXPECT_GE(ms, static_cast<qint64>(std::floor(s * 1000.0)));
        EXPECT_LE(ms, static_cast<qint64>(std::ceil(clock.Seconds() * 1000.0)));
    }
}

TEST(ClockTest, AdvanceMovesSecondsAndMomentTogetherAndNeverBack) {
    ScaledClock clock(kStart, 0.0); // only Advance moves it
    clock.Advance(20.0);
    clock.Advance(-5.0); // ignored
    clock.Advance(std::numeric_limits<double>::quiet_NaN());
    clock.Advance(std::numeric_limits<double>::infinity());
    EXPECT_DOUBLE_EQ(clock.Seconds(), 20.0);
    EXPECT_EQ(clock.Utc(), kStart.addSecs(20));
    EXPECT_DOUBLE_EQ(clock.UtcSeconds(), kStart.toSecsSinceEpoch() + 20.0);
    clock.Advance(0.25);
    EXPECT_EQ(clock.Utc(), kStart.addMSecs(20250));
}

TEST(ClockTest, AdvancesFromManyThreadsAreAllKept) {
    ScaledClock clock(kStart, 0.0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&clock] {
            for (int i = 0; i < 1000; ++i)
                clock.Advance(0.5);
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_DOUBLE_EQ(clock.Seconds(), 2000.0);
}

TEST(ClockTest, AnUnusableRateRunsAtRealTime) {
    for (const double rate : {-2.0, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_DOUBLE_EQ(ScaledClock(kStart, rate).Rate(), 1.0);
}

} // namespace
