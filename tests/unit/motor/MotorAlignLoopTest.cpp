#include "motor/MotorAlignLoop.h"

#include "MountModel.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

namespace {

// A motor that moves the model at once, as the program's settings believe it should.
class ModelMotor : public MountMotor {
public:
    ModelMotor(MountModel& mount, const MotorSettings& believed)
        : mount_(mount), planner_(believed) {}
    bool MoveBy(double alt, double az) override {
        const MotorMove mv = planner_.Plan(alt, az);
        mount_.Travel(mv.altMm, mv.azMm);
        ++moves;
        asked.push_back({alt, az});
        return true;
    }
    void Stop() override {}
    MotorStatus Status() const override { return {state, {}}; }
    MotorState state = MotorState::Idle;
    int moves = 0;
    std::vector<std::pair<double, double>> asked; // the moves, arcseconds

private:
    MountModel& mount_;
    MotorMovePlanner planner_;
};

struct LoopRun {
    MotorLoopStep last;
    double residual = 0;
    int moves = 0;
};

LoopRun Align(MountModel& mount, ModelMotor& motor, const MotorLoopOptions& o) {
    MotorAlignLoop loop(o);
    double t = 0;
    loop.Start(t);
    LoopRun run;
    for (int i = 0; i < 1000 && loop.Running(); ++i) {
        t += 0.5;
        run.last = loop.Next(mount.Readout(), motor.Status().state, t);
        if (run.last.action == MotorLoopStep::Move)
            motor.MoveBy(run.last.altArcsec, run.last.azArcsec);
    }
    run.residual = mount.Readout().totalArcsec;
    run.moves = motor.moves;
    return run;
}

MountModel TrueMount(double altArcsec, double azArcsec) {
    MountModel m;
    m.altArcsec = altArcsec;
    m.azArcsec = azArcsec;
    m.alt = {0.0011, -1, 25};
    m.az = {0.0009, 1, 40};
    return m;
}

// The program's belief: scales 10 % off, senses right, slack nearly right.
MotorSettings Believed() {
    MotorSettings s;
    s.alt = {'Y', 0.0010, -1, 22};
    s.az = {'X', 0.0010, 1, 45};
    return s;
}

} // namespace

TEST(MotorAlignLoopTest, BringsThePoleIntoTheBandFromEveryDirection) {
    MotorLoopOptions o;
    o.bandArcsec = 5;
    o.settleSeconds = 1;
    for (const double size : {300.0, 1800.0, 7200.0}) {
        for (int k = 0; k < 8; ++k) {
            const double a = k * std::numbers::pi / 4;
            MountModel mount = TrueMount(size * std::cos(a), size * std::sin(a));
            // The slack is loaded the other way, as after the last night's moves.
            mount.alt.lastSense = mount.altArcsec > 0 ? 1 : -1;
            mount.az.lastSense = mount.azArcsec > 0 ? -1 : 1;
            ModelMotor motor(mount, Believed());
            const LoopRun run = Align(mount, motor, o);
            EXPECT_EQ(run.last.action, MotorLoopStep::Done) << size << " " << k;
            EXPECT_LE(run.residual, 5.0) << size << " " << k;
            EXPECT_LE(run.moves, 15) << size << " " << k;
        }
    }
}

TEST(MotorAlignLoopTest, GivesUpWithTheReason) {
    MotorLoopOptions o;
    o.bandArcsec = 5;
    {
        // The altitude axis believed the wrong way round: the error grows, and the
        // loop stops before it runs away.
        MountModel mount = TrueMount(600, 0);
        MotorSettings s = Believed();
        s.alt.sense = 1;
        ModelMotor motor(mount, s);
        const LoopRun run = Align(mount, motor, o);
        EXPECT_EQ(run.last.action, MotorLoopStep::Fail);
        EXPECT_EQ(run.last.why, MotorLoopStep::WrongWay);
        EXPECT_EQ(run.moves, 3) << "three moves that made it worse";
    }
    {
        MountModel mount = TrueMount(600, 0);
        ModelMotor motor(mount, Believed());
        motor.state = MotorState::Error;
        const LoopRun run = Align(mount, motor, o);
        EXPECT_EQ(run.last.why, MotorLoopStep::MotorError);
        EXPECT_EQ(run.moves, 0);
    }
    {
        // A mount that hardly answers: the loop stops after its moves are spent.
        MountModel mount = TrueMount(600, 0);
        mount.alt.mmPerArcsec = 0.05;
        ModelMotor motor(mount, Believed());
        o.maxMoves = 4;
        const LoopRun run = Align(mount, motor, o);
        EXPECT_EQ(run.last.why, MotorLoopStep::TooManyMoves);
        EXPECT_EQ(run.moves, 4);
    }
}

TEST(MotorAlignLoopTest, StopsBeforeAMovePastTheTravelLimit) {
    MotorLoopOptions o;
    o.bandArcsec = 5;
    o.travelLimitArcsec = 1000;
    // A mount that answers a third of what it is asked: the loop would have to travel
    // far beyond the limit to reach the pole.
    MountModel mount = TrueMount(1500, 0);
    mount.alt.mmPerArcsec = 0.0033;
    ModelMotor motor(mount, Believed());
    const LoopRun run = Align(mount, motor, o);
    EXPECT_EQ(run.last.action, MotorLoopStep::Fail);
    EXPECT_EQ(run.last.why, MotorLoopStep::TravelLimit);
    double travel = 0;
    for (const auto& m : motor.asked)
        travel += m.first;
    EXPECT_LE(std::abs(travel), 1000.0) << "the move past the limit is never sent";
}

TEST(MotorAlignLoopTest, WaitsForTheMotorAndASettledReadoutAndLimitsEachMove) {
    MotorLoopOptions o;
    o.bandArcsec = 5;
    o.settleSeconds = 2;
    o.maxMoveArcsec = 900;
    MotorAlignLoop loop(o);
    loop.Start(0);
    MountModel mount = TrueMount(3000, -100);
    MotorLoopStep s = loop.Next(mount.Readout(), MotorState::Idle, 2.5);
    ASSERT_EQ(s.action, MotorLoopStep::Move);
    EXPECT_DOUBLE_EQ(s.altArcsec, 900);
    EXPECT_DOUBLE_EQ(s.azArcsec, -160) << "the other way: past the pole by the overshoot";
    EXPECT_EQ(loop.Next(mount.Readout(), MotorState::Moving, 3.0).action, MotorLoopStep::Wait);
    EXPECT_EQ(loop.Next(mount.Readout(), MotorState::Moving, 9.0).action, MotorLoopStep::Wait);
    // Idle again: the read-out needs its settling time first.
    EXPECT_EQ(loop.Next(mount.Readout(), MotorState::Idle, 9.5).action, MotorLoopStep::Wait);
    EXPECT_EQ(loop.Next(mount.Readout(), MotorState::Idle, 11.0).action, MotorLoopStep::Wait);
    EXPECT_EQ(loop.Next(mount.Readout(), MotorState::Idle, 11.6).action, MotorLoopStep::Move);
    // No read-out for longer than allowed.
    EXPECT_EQ(loop.Next(AlignmentReadout{}, MotorState::Idle, 15).action, MotorLoopStep::Wait);
    const MotorLoopStep gone = loop.Next(AlignmentReadout{}, MotorState::Idle, 30);
    EXPECT_EQ(gone.action, MotorLoopStep::Fail);
    EXPECT_EQ(gone.why, MotorLoopStep::NoReadout);
}

#include "motor/MotorCalibrationRun.h"

// The calibration run on a mount whose axes the program believes wrong in scale and
// sense, with slack loaded the other way: it learns the true axis, and the loop with
// what it learnt then aligns in few moves.
TEST(MotorCalibrationRunTest, LearnsEachAxisAndTheLoopThenAligns) {
    for (const bool altitude : {true, false}) {
        MountModel mount = TrueMount(900, -700);
        mount.alt.lastSense = -1;
        mount.az.lastSense = -1;
        MotorSettings believed;
        believed.alt = {'Y', 0.002, 1, 25};
        believed.az = {'X', 0.0005, -1, 40};
        ModelMotor motor(mount, believed);
        MotorCalibrationRun run(altitude ? believed.alt : believed.az, altitude, 300, 1.0);
        double t = 0;
        run.Start(t);
        MotorLoopStep step;
        for (int i = 0;
             i < 100 && step.action != MotorLoopStep::Done && step.action != MotorLoopStep::Fail;
             ++i) {
            t += 0.5;
            step = run.Next(mount.Readout(), motor.Status().state, t);
            if (step.action == MotorLoopStep::Move)
                motor.MoveBy(step.altArcsec, step.azArcsec);
        }
        ASSERT_EQ(step.action, MotorLoopStep::Done) << altitude;
        const MountModelAxis& truth = altitude ? mount.alt : mount.az;
        EXPECT_NEAR(run.Result().mmPerArcsec, truth.mmPerArcsec, 1e-9) << altitude;
        EXPECT_EQ(run.Result().sense, truth.sense) << altitude;
        EXPECT_EQ(motor.moves, 2) << "one move for the slack, one measured";
    }
    // A pole that does not move: the run fails, it does not invent a scale.
    MountModel still = TrueMount(900, 0);
    still.alt.mmPerArcsec = 1e6;
    MotorSettings believed = Believed();
    ModelMotor motor(still, believed);
    MotorCalibrationRun run(believed.alt, true, 300, 0.5);
    run.Start(0);
    MotorLoopStep step;
    for (double t = 0.5; t < 50 && step.action != MotorLoopStep::Fail; t += 0.5) {
        step = run.Next(still.Readout(), motor.Status().state, t);
        if (step.action == MotorLoopStep::Move)
            motor.MoveBy(step.altArcsec, step.azArcsec);
    }
    EXPECT_EQ(step.action, MotorLoopStep::Fail);
}

// An axis whose error asks for a move against the usual sense goes past the pole, so
// that the moves that bring it in come from the usual side with its slack taken up.
TEST(MotorAlignLoopTest, AnAxisComesInFromTheUsualSide) {
    MotorLoopOptions o;
    o.bandArcsec = 5;
    MountModel mount = TrueMount(-400, 300);
    ModelMotor motor(mount, Believed());
    const LoopRun run = Align(mount, motor, o);
    ASSERT_EQ(run.last.action, MotorLoopStep::Done);
    ASSERT_GE(motor.asked.size(), 2u);
    EXPECT_LT(motor.asked[0].first, -400) << "past the pole";
    for (size_t i = 1; i < motor.asked.size(); ++i)
        EXPECT_GE(motor.asked[i].first, 0) << "then in from the usual side, move " << i;
}
