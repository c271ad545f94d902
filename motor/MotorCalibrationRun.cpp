#include "motor/MotorCalibrationRun.h"

void MotorCalibrationRun::Start(double seconds) {
    phase_ = -1;
    sawMoving_ = false;
    askedAt_ = seconds;
    idleSince_ = seconds;
}

MotorLoopStep MotorCalibrationRun::Fail(MotorLoopStep::Reason why) {
    phase_ = 2;
    MotorLoopStep s;
    s.action = MotorLoopStep::Fail;
    s.why = why;
    return s;
}

MotorLoopStep MotorCalibrationRun::MoveStep() {
    MotorLoopStep s;
    s.action = MotorLoopStep::Move;
    (altitude_ ? s.altArcsec : s.azArcsec) = move_;
    return s;
}

MotorLoopStep MotorCalibrationRun::Next(const AlignmentReadout& r, MotorState motor,
                                        double seconds) {
    if (phase_ >= 2)
        return {};
    if (motor == MotorState::Error || motor == MotorState::Disconnected)
        return Fail(MotorLoopStep::MotorError);
    if (motor == MotorState::Moving) {
        sawMoving_ = true;
        idleSince_ = -1;
        return {};
    }
    if (phase_ >= 0 && !sawMoving_ && seconds - askedAt_ < 1.0)
        return {}; // the move asked has not shown yet
    if (idleSince_ < 0)
        idleSince_ = seconds;
    if (seconds - idleSince_ < settle_)
        return {};
    if (!r.valid)
        return seconds - idleSince_ > settle_ + 10 ? Fail(MotorLoopStep::NoReadout)
                                                   : MotorLoopStep{};
    const double component = altitude_ ? r.altArcsec : r.azArcsec;
    sawMoving_ = false;
    askedAt_ = seconds;
    idleSince_ = -1;
    if (phase_ < 1) {
        // -1: nothing moved yet; 0: the slack is taken up now: the measured move starts here.
        if (phase_ == 0)
            before_ = component;
        ++phase_;
        return MoveStep();
    }
    // The travel of the measured move, as the believed axis turned `move_` into it.
    const double mm = axis_.sense * move_ * axis_.mmPerArcsec;
    const auto measured = CalibrateMotorAxis(axis_, mm, before_, component);
    if (!measured)
        return Fail(MotorLoopStep::TooManyMoves);
    axis_ = *measured;
    phase_ = 2;
    MotorLoopStep s;
    s.action = MotorLoopStep::Done;
    return s;
}
