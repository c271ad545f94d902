#include "motor/MotorAlignLoop.h"

#include <algorithm>
#include <cmath>

void MotorAlignLoop::Start(double seconds) {
    running_ = true;
    moving_ = false;
    idleSince_ = seconds; // the read-out shown at the start has settled
    lastReadout_ = seconds;
    lastTotal_ = -1;
    moves_ = 0;
}

MotorLoopStep MotorAlignLoop::End(MotorLoopStep::Action action, MotorLoopStep::Reason why) {
    running_ = false;
    MotorLoopStep s;
    s.action = action;
    s.why = why;
    return s;
}

MotorLoopStep MotorAlignLoop::Next(const AlignmentReadout& r, MotorState motor, double seconds) {
    if (!running_)
        return {};
    if (motor == MotorState::Error || motor == MotorState::Disconnected)
        return End(MotorLoopStep::Fail, MotorLoopStep::MotorError);
    if (r.valid)
        lastReadout_ = seconds;
    else if (seconds - lastReadout_ > o_.noReadoutSeconds)
        return End(MotorLoopStep::Fail, MotorLoopStep::NoReadout);

    if (motor == MotorState::Moving) {
        moving_ = false; // the motor took the move; wait for it to finish
        idleSince_ = -1;
        return {};
    }
    // Idle.
    if (moving_) {
        // The move asked has not shown as Moving yet; a move short enough to end
        // between two looks never does.
        if (seconds - movedAt_ < 1.0)
            return {};
        moving_ = false;
        idleSince_ = seconds;
    }
    if (idleSince_ < 0)
        idleSince_ = seconds;
    if (seconds - idleSince_ < o_.settleSeconds || !r.valid)
        return {};

    if (r.totalArcsec <= o_.bandArcsec)
        return End(MotorLoopStep::Done, MotorLoopStep::None);
    // A move should at least not make matters worse (with room for the read-out's noise).
    if (lastTotal_ >= 0 && r.totalArcsec > lastTotal_ * 1.2 + o_.bandArcsec)
        return End(MotorLoopStep::Fail, MotorLoopStep::WrongWay);
    if (moves_ >= o_.maxMoves)
        return End(MotorLoopStep::Fail, MotorLoopStep::TooManyMoves);

    MotorLoopStep s;
    s.action = MotorLoopStep::Move;
    const double gain = std::clamp(o_.gain, 0.1, 1.0);
    s.altArcsec = std::clamp(gain * r.altArcsec, -o_.maxMoveArcsec, o_.maxMoveArcsec);
    s.azArcsec = std::clamp(gain * r.azArcsec, -o_.maxMoveArcsec, o_.maxMoveArcsec);
    lastTotal_ = r.totalArcsec;
    ++moves_;
    moving_ = true;
    movedAt_ = seconds;
    return s;
}
