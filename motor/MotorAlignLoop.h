// The closed loop of a motorised base: from the settled read-out, the next move of
// the motors, until the error lies inside the band.
//
// Usage (the window, on every read-out and every change of the motor's state):
//   MotorAlignLoop loop(options);                 // band, travel limit, ...
//   loop.Start(clock.Seconds());
//   const MotorLoopStep step = loop.Next(readout, motor.Status().state, clock.Seconds());
//   switch (step.action) {
//   case MotorLoopStep::Move: motor.MoveBy(step.altArcsec, step.azArcsec); break;
//   case MotorLoopStep::Done: ... aligned;  case MotorLoopStep::Fail: ... step.why
//   case MotorLoopStep::Wait: break;
//   }
//
// After each move the loop waits for the motor to be idle and then for the read-out
// to settle (it is the median of the last second) before it looks again. Each move
// takes out `gain` of the error and is limited to `maxMoveArcsec` per axis; an axis
// whose error asks for a move against the usual sense of approach goes past the pole
// and comes back, so the slack is taken up the same way each time. It gives up when
// the error grows after three moves in a row (the motor turns the wrong way:
// calibrate it), when a move would go past the travel limit from where it started,
// when the motor reports an error, when the read-out stays away, or after `maxMoves`.
#pragma once

#include "astro/AlignmentReadout.h"
#include "motor/MountMotor.h"

struct MotorLoopStep {
    enum Action { Wait, Move, Done, Fail };
    Action action = Wait;
    double altArcsec = 0;
    double azArcsec = 0;
    enum Reason { None, NoReadout, MotorError, WrongWay, TooManyMoves, TravelLimit };
    Reason why = None;
};

struct MotorLoopOptions {
    double bandArcsec = 10;
    double maxMoveArcsec = 1800;
    // The part of the error each move takes out: short of the whole, so that a scale
    // a little off never makes an axis overshoot and reverse into its backlash.
    double gain = 0.8;
    // A move against the usual side of approach goes this far past the pole, so the
    // last moves always come from the same side.
    double overshootArcsec = 60;
    // No axis moves further than this from where the loop started.
    double travelLimitArcsec = 3 * 3600;
    double settleSeconds = 2.0; // after the motor is idle, before the read-out counts
    int maxMoves = 20;
    double noReadoutSeconds = 10; // without a read-out this long, the loop gives up
};

class MotorAlignLoop {
public:
    explicit MotorAlignLoop(const MotorLoopOptions& options = {}) : o_(options) {}

    void Start(double seconds);
    MotorLoopStep Next(const AlignmentReadout& readout, MotorState motor, double seconds);
    int Moves() const { return moves_; }
    bool Running() const { return running_; }

private:
    MotorLoopStep End(MotorLoopStep::Action action, MotorLoopStep::Reason why);
    double AxisMove(double errorArcsec) const;
    MotorLoopOptions o_;
    bool running_ = false;
    bool moving_ = false;    // a move was asked and the motor has not been idle since
    double movedAt_ = 0;     // when the last move was asked
    double idleSince_ = -1;  // when the motor was first seen idle after the move
    double lastReadout_ = 0; // when a read-out was last seen
    double lastTotal_ = -1;  // the error before the last move
    int moves_ = 0;
    int grew_ = 0;         // moves in a row after which the error grew
    double travelAlt_ = 0; // travel asked since the start, arcseconds
    double travelAz_ = 0;
};
