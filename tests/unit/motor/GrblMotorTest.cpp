// The motor driver against the simulated adjuster on a pseudo-terminal: the replies
// and errors of the protocol, a controller that stops answering or loses a reply, a
// move past the travel limit, Stop during a move, and the whole loop.
#include "motor/GrblMotor.h"

#include "MountModel.h"
#include "motor/MotorAlignLoop.h"
#include "motor/MotorCalibrationRun.h"
#include "zorcam-sim/adjuster/PtyAdjuster.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <functional>
#include <mutex>

#include <gtest/gtest.h>

using zorcamsim::AdjusterConfig;
using zorcamsim::GrblDevice;
using zorcamsim::PtyAdjuster;

namespace {

bool WaitFor(const std::function<bool()>& done, int ms = 4000) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

MotorSettings SettingsFor(const PtyAdjuster& adjuster) {
    MotorSettings s;
    s.port = QString::fromStdString(adjuster.SlaveName());
    s.feedMmPerMin = 60;
    s.alt = {'Y', 0.001, 1, 0};
    s.az = {'X', 0.002, -1, 0};
    return s;
}

// The mount the adjuster turns, read and written under its lock.
struct TurnedMount {
    std::mutex mutex;
    MountModel model;
    void Turn(double altArcsec, double azArcsec) {
        const std::lock_guard<std::mutex> lock(mutex);
        model.altArcsec -= altArcsec; // a raise brings the pole's height down to zero
        model.azArcsec -= azArcsec;
    }
    AlignmentReadout Readout() {
        const std::lock_guard<std::mutex> lock(mutex);
        return model.Readout();
    }
};

template <class T> T Read(PtyAdjuster& a, const std::function<T(GrblDevice&)>& get) {
    T v{};
    a.With([&](GrblDevice& d) { v = get(d); });
    return v;
}

} // namespace

TEST(GrblMotorTest, AMoveIsOneJogAndEndsWhenTheControllerIsIdle) {
    PtyAdjuster adjuster(AdjusterConfig{}, nullptr);
    ASSERT_TRUE(adjuster.Start()) << adjuster.Error();
    GrblMotor motor(SettingsFor(adjuster));
    ASSERT_TRUE(motor.Open()) << motor.Status().message.toStdString();
    EXPECT_EQ(motor.Status().state, MotorState::Idle);
    ASSERT_TRUE(motor.MoveBy(120, -30));
    EXPECT_EQ(motor.Status().state, MotorState::Moving);
    EXPECT_FALSE(motor.MoveBy(10, 0)) << "one move at a time";
    ASSERT_TRUE(WaitFor([&] { return motor.Status().state == MotorState::Idle; }));
    EXPECT_EQ(Read<std::string>(adjuster, [](GrblDevice& d) { return d.LastJog(); }),
              "$J=G91 G21 Y0.1200 X0.0600 F60.0");
    EXPECT_NEAR(Read<double>(adjuster, [](GrblDevice& d) { return d.PositionMm('Y'); }), 0.12,
                1e-9);
    EXPECT_NEAR(Read<double>(adjuster, [](GrblDevice& d) { return d.PositionMm('X'); }), 0.06,
                1e-9);
    EXPECT_FALSE(motor.MoveBy(GrblMotor::kMaxMoveArcsec + 1, 0)) << "too far for one move";
}

TEST(GrblMotorTest, StopDuringAMoveCancelsTheJogWhereItIs) {
    AdjusterConfig c;
    c.queriesPerJog = 1000; // a long jog
    PtyAdjuster adjuster(c, nullptr);
    ASSERT_TRUE(adjuster.Start());
    GrblMotor motor(SettingsFor(adjuster));
    ASSERT_TRUE(motor.Open());
    ASSERT_TRUE(motor.MoveBy(500, 0));
    ASSERT_TRUE(WaitFor([&] {
        return Read<double>(adjuster, [](GrblDevice& d) { return d.PositionMm('Y'); }) > 0;
    }));
    motor.Stop();
    ASSERT_TRUE(WaitFor([&] { return motor.Status().state == MotorState::Idle; }));
    EXPECT_EQ(Read<int>(adjuster, [](GrblDevice& d) { return d.Cancels(); }), 1);
    EXPECT_LT(Read<double>(adjuster, [](GrblDevice& d) { return d.PositionMm('Y'); }), 0.5)
        << "the jog was cut short";
}

// Every way the controller can say no, and a controller that falls silent.
TEST(GrblMotorTest, RefusalsAlarmsAndSilenceAreErrorsWithTheirReason) {
    struct Case {
        const char* what;
        std::function<void(AdjusterConfig&)> set;
        double altArcsec;
        const char* inMessage;
    } cases[] = {
        {"past the travel limit", [](AdjusterConfig& c) { c.alt.travelLimitMm = 0.05; }, 100, "15"},
        {"in alarm", [](AdjusterConfig& c) { c.alarm = true; }, 100, "alarm"},
        {"silent", [](AdjusterConfig& c) { c.silent = true; }, 0, "does not answer"},
    };
    for (const Case& k : cases) {
        AdjusterConfig c;
        k.set(c);
        PtyAdjuster adjuster(c, nullptr);
        ASSERT_TRUE(adjuster.Start());
        GrblMotor motor(SettingsFor(adjuster));
        ASSERT_TRUE(motor.Open()) << k.what;
        if (k.altArcsec != 0 && motor.Status().state == MotorState::Idle)
            motor.MoveBy(k.altArcsec, 0);
        ASSERT_TRUE(WaitFor([&] { return motor.Status().state == MotorState::Error; })) << k.what;
        EXPECT_TRUE(motor.Status().message.contains(QLatin1String(k.inMessage)))
            << k.what << ": " << motor.Status().message.toStdString();
        EXPECT_FALSE(motor.MoveBy(10, 0)) << k.what;
        EXPECT_EQ(Read<double>(adjuster, [](GrblDevice& d) { return d.PositionMm('Y'); }), 0.0)
            << k.what << ": nothing moved";
    }
    MotorSettings s;
    s.port = "/dev/zenithwand-no-such-port";
    GrblMotor motor(s);
    EXPECT_FALSE(motor.Open());
    EXPECT_EQ(motor.Status().state, MotorState::Disconnected);
    EXPECT_TRUE(motor.Status().message.contains(s.port));
}

// Every reply of the controller lost now and then: the moves still end, none twice.
TEST(GrblMotorTest, ALostReplyDoesNotHoldTheMotorUp) {
    AdjusterConfig c;
    c.dropEvery = 2;
    c.queriesPerJog = 3;
    PtyAdjuster adjuster(c, nullptr);
    ASSERT_TRUE(adjuster.Start());
    GrblMotor motor(SettingsFor(adjuster));
    ASSERT_TRUE(motor.Open());
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(motor.MoveBy(50, 0)) << i;
        ASSERT_TRUE(WaitFor([&] { return motor.Status().state == MotorState::Idle; })) << i;
    }
    EXPECT_EQ(Read<int>(adjuster, [](GrblDevice& d) { return d.Jogs(); }), 4);
    EXPECT_NEAR(Read<double>(adjuster, [](GrblDevice& d) { return d.PositionMm('Y'); }), 0.2, 1e-9);
}

// Calibration and the loop over the serial line, on an adjuster with slack whose
// altitude axis turns the other way than the program believes: the calibration finds
// it, and the loop then aligns.
TEST(GrblMotorTest, CalibrationFindsAReversedAxisAndTheLoopAligns) {
    TurnedMount mount;
    mount.model.altArcsec = -420;
    mount.model.azArcsec = 260;
    AdjusterConfig c;
    c.queriesPerJog = 1;
    c.alt = {'Y', -950, 0.02, 20}; // reversed, and 19" of slack
    c.az = {'X', -520, 0.03, 20};
    PtyAdjuster adjuster(c, [&](double alt, double az) { mount.Turn(alt, az); });
    ASSERT_TRUE(adjuster.Start());
    MotorSettings s = SettingsFor(adjuster);
    GrblMotor* motor = new GrblMotor(s);
    ASSERT_TRUE(motor->Open());
    QElapsedTimer clock;
    clock.start();
    auto drive = [&](auto& run) {
        MotorLoopStep step;
        EXPECT_TRUE(WaitFor(
            [&] {
                step = run.Next(mount.Readout(), motor->Status().state, clock.elapsed() / 1000.0);
                if (step.action == MotorLoopStep::Move)
                    motor->MoveBy(step.altArcsec, step.azArcsec);
                return step.action == MotorLoopStep::Done || step.action == MotorLoopStep::Fail;
            },
            15000));
        return step;
    };
    for (const bool altitude : {true, false}) {
        MotorCalibrationRun run(altitude ? s.alt : s.az, altitude, 200, 0.05);
        run.Start(clock.elapsed() / 1000.0);
        ASSERT_EQ(drive(run).action, MotorLoopStep::Done) << altitude;
        (altitude ? s.alt : s.az) = run.Result();
    }
    EXPECT_EQ(s.alt.sense, -1) << "positive travel lowers; the program believed it raised";
    EXPECT_NEAR(s.alt.mmPerArcsec, 1.0 / 950, 1e-6);
    EXPECT_EQ(s.az.sense, -1) << "as the program believed";
    EXPECT_NEAR(s.az.mmPerArcsec, 1.0 / 520, 1e-6);
    delete motor;
    motor = new GrblMotor(s); // the program's motor with what it learnt
    ASSERT_TRUE(motor->Open());
    MotorLoopOptions o;
    o.bandArcsec = 5;
    o.settleSeconds = 0.05;
    MotorAlignLoop loop(o);
    loop.Start(clock.elapsed() / 1000.0);
    const MotorLoopStep end = drive(loop);
    EXPECT_EQ(end.action, MotorLoopStep::Done) << end.why;
    EXPECT_LE(mount.Readout().totalArcsec, 5.0);
    delete motor;
}
