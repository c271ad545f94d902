#include "motor/GrblMotor.h"

#include "FakeGrbl.h"
#include "MountModel.h"
#include "motor/MotorAlignLoop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <functional>

#include <gtest/gtest.h>

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

MotorSettings SettingsFor(const FakeGrbl& fake) {
    MotorSettings s;
    s.port = fake.PortName();
    s.feedMmPerMin = 60;
    s.alt = {'Y', 0.001, 1, 0};
    s.az = {'X', 0.002, -1, 0};
    return s;
}

} // namespace

TEST(GrblMotorTest, AMoveIsOneJogAndEndsWhenTheControllerIsIdle) {
    FakeGrbl fake;
    ASSERT_TRUE(fake.ok());
    GrblMotor motor(SettingsFor(fake));
    ASSERT_TRUE(motor.Open()) << motor.Status().message.toStdString();
    EXPECT_EQ(motor.Status().state, MotorState::Idle);
    ASSERT_TRUE(motor.MoveBy(120, -30));
    EXPECT_EQ(motor.Status().state, MotorState::Moving);
    EXPECT_FALSE(motor.MoveBy(10, 0)) << "one move at a time";
    ASSERT_TRUE(WaitFor([&] { return motor.Status().state == MotorState::Idle; }));
    ASSERT_EQ(fake.jogLines.size(), 1u);
    EXPECT_EQ(fake.jogLines[0], QByteArray("$J=G91 G21 Y0.1200 X0.0600 F60.0"));
    EXPECT_NEAR(fake.position['Y'], 0.12, 1e-9);
    EXPECT_NEAR(fake.position['X'], 0.06, 1e-9);
    EXPECT_FALSE(motor.MoveBy(GrblMotor::kMaxMoveArcsec + 1, 0)) << "too far for one move";
}

TEST(GrblMotorTest, StopCancelsTheJog) {
    FakeGrbl fake;
    ASSERT_TRUE(fake.ok());
    fake.pollsPerJog = 1000; // a long jog
    GrblMotor motor(SettingsFor(fake));
    ASSERT_TRUE(motor.Open());
    ASSERT_TRUE(motor.MoveBy(500, 0));
    ASSERT_TRUE(WaitFor([&] { return fake.jogLines.size() == 1 && fake.queries >= 2; }));
    motor.Stop();
    ASSERT_TRUE(WaitFor([&] { return fake.cancels == 1; }));
    ASSERT_TRUE(WaitFor([&] { return motor.Status().state == MotorState::Idle; }));
    EXPECT_EQ(fake.position['Y'], 0.0) << "the jog was cut short before it finished";
}

TEST(GrblMotorTest, ARefusedMoveASilentControllerAndAMissingPortAreErrors) {
    {
        FakeGrbl fake;
        ASSERT_TRUE(fake.ok());
        fake.refuseWithError = 15;
        GrblMotor motor(SettingsFor(fake));
        ASSERT_TRUE(motor.Open());
        ASSERT_TRUE(motor.MoveBy(50, 0));
        ASSERT_TRUE(WaitFor([&] { return motor.Status().state == MotorState::Error; }));
        EXPECT_TRUE(motor.Status().message.contains("15"));
        EXPECT_FALSE(motor.MoveBy(10, 0));
    }
    {
        FakeGrbl fake;
        ASSERT_TRUE(fake.ok());
        fake.silent = true;
        GrblMotor motor(SettingsFor(fake));
        ASSERT_TRUE(motor.Open());
        ASSERT_TRUE(WaitFor([&] { return motor.Status().state == MotorState::Error; }));
        EXPECT_FALSE(motor.Status().message.isEmpty());
        EXPECT_TRUE(WaitFor([&] { return fake.cancels >= 1; }))
            << "a controller that stops answering is told to stop";
    }
    {
        MotorSettings s;
        s.port = "/dev/zenithwand-no-such-port";
        GrblMotor motor(s);
        EXPECT_FALSE(motor.Open());
        EXPECT_EQ(motor.Status().state, MotorState::Disconnected);
        EXPECT_TRUE(motor.Status().message.contains(s.port));
        EXPECT_FALSE(motor.MoveBy(10, 0));
    }
}

// The whole loop over the serial line: the read-out of a mount that the controller's
// travel turns, the loop's moves, the controller's jogs.
TEST(GrblMotorTest, TheClosedLoopAlignsAMountOverTheSerialLine) {
    FakeGrbl fake;
    ASSERT_TRUE(fake.ok());
    fake.pollsPerJog = 1;
    const MotorSettings s = SettingsFor(fake);
    MountModel mount;
    mount.altArcsec = -420;
    mount.azArcsec = 260;
    mount.alt = {0.00105, 1, 0};
    mount.az = {0.0019, -1, 0};
    GrblMotor motor(s);
    ASSERT_TRUE(motor.Open());
    MotorLoopOptions o;
    o.bandArcsec = 5;
    o.settleSeconds = 0.05;
    MotorAlignLoop loop(o);
    QElapsedTimer clock;
    clock.start();
    loop.Start(0);
    std::map<char, double> applied;
    MotorLoopStep step;
    ASSERT_TRUE(WaitFor(
        [&] {
            // The mount follows the controller's axes.
            mount.Travel(fake.position['Y'] - applied['Y'], fake.position['X'] - applied['X']);
            applied = fake.position;
            step = loop.Next(mount.Readout(), motor.Status().state, clock.elapsed() / 1000.0);
            if (step.action == MotorLoopStep::Move) {
                EXPECT_TRUE(motor.MoveBy(step.altArcsec, step.azArcsec));
            }
            return !loop.Running();
        },
        20000));
    EXPECT_EQ(step.action, MotorLoopStep::Done) << step.why;
    EXPECT_LE(mount.Readout().totalArcsec, 5.0);
}
