// The short calibration of one motor axis: a move that takes up the slack, then a
// measured move of the same sense; the settled read-out before and after it gives
// the axis's scale and sense.
//
// Usage (the motor window, on every read-out and change of the motor's state):
//   MotorCalibrationRun run(settings.alt, /*altitude=*/true, 300.0);
//   run.Start(clock.Seconds());
//   const MotorLoopStep step = run.Next(readout, motor.Status().state, clock.Seconds());
//   Move: motor.MoveBy(step.altArcsec, step.azArcsec);   Done: settings.alt = run.Result();
//   Fail: step.why (MotorError, NoReadout, TooManyMoves when the pole did not move)
#pragma once

#include "motor/MotorAlignLoop.h"
#include "motor/MotorAxes.h"

#include <optional>

class MotorCalibrationRun {
public:
    MotorCalibrationRun(const MotorAxis& believed, bool altitude, double moveArcsec = 300.0,
                        double settleSeconds = 2.0)
        : axis_(believed), altitude_(altitude), move_(moveArcsec), settle_(settleSeconds) {}

    void Start(double seconds);
    MotorLoopStep Next(const AlignmentReadout& readout, MotorState motor, double seconds);
    // The axis as measured, after Done.
    const MotorAxis& Result() const { return axis_; }

private:
    MotorLoopStep Fail(MotorLoopStep::Reason why);
    MotorLoopStep MoveStep();
    MotorAxis axis_;
    bool altitude_;
    double move_;
    double settle_;
    int phase_ = -1; // 0: slack move asked, 1: measured move asked, 2: done
    bool sawMoving_ = false;
    double askedAt_ = 0;
    double idleSince_ = -1;
    double before_ = 0;
};
