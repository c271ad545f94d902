#include "motor/MotorAlignLoop.h"

#include <algorithm>
#include <cmath>

// The move of one axis for its error: toward the pole by the gain's part of it, always
// ending on the same side: an error that asks for a move the other way is passed by the
// overshoot, so that the next move approaches from the usual side with the slack taken up.
double MotorAlignLoop::AxisMove(double errorArcsec) const {
    double move;
    if (errorArcsec >= 0)
        move = std::clamp(o_.gain, 0.1, 1.0) * errorArcsec;
    else
        move = errorArcsec - o_.overshootArcsec;
    return std::clamp(move, -o_.maxMoveArcsec, o_.maxMoveArcsec);
}

void MotorAlignLoop::Start(double seconds) {
    grew_ = 0;
    travelAlt_ = 0;
    travelAz_ = 0;
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
    // An error that grows after three moves in a row: the motors turn the wrong way.
    if (lastTotal_ >= 0) {
        grew_ = r.totalArcsec > lastTotal_ + 0.5 ? grew_ + 1 : 0;
        if (grew_ >= 3)
            return End(MotorLoopStep::Fail, MotorLoopStep::WrongWay);
    }
    if (moves_ >= o_.maxMoves)
        return End(MotorLoopStep::Fail, MotorLoopStep::TooManyMoves);

    MotorLoopStep s;
    s.action = MotorLoopStep::Move;
    s.altArcsec = AxisMove(r.altArcsec);
    s.azArcsec = AxisMove(r.azArcsec);
    // Never further from where the loop started than the travel allows.
    if (std::abs(travelAlt_ + s.altArcsec) > o_.travelLimitArcsec ||
        std::abs(travelAz_ + s.azArcsec) > o_.travelLimitArcsec)
        return End(MotorLoopStep::Fail, MotorLoopStep::TravelLimit);
    travelAlt_ += s.altArcsec;
    travelAz_ += s.azArcsec;
    lastTotal_ = r.totalArcsec;
    ++moves_;
    moving_ = true;
    movedAt_ = seconds;
    return s;
}
