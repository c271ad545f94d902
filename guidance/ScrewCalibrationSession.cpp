#include "guidance/ScrewCalibrationSession.h"

bool ScrewCalibrationSession::Start(const AlignmentReadout& readout) {
    if (!readout.valid)
        return false;
    before_ = readout;
    turns_ = 0;
    alt_ = {};
    az_ = {};
    stage_ = Stage::AltitudeTurn;
    return true;
}

ScrewCalibrationSession::Result ScrewCalibrationSession::Next(const AlignmentReadout& now) {
    if (stage_ != Stage::AltitudeTurn && stage_ != Stage::AzimuthTurn)
        return NoReadout;
    if (!now.valid)
        return NoReadout;
    ++turns_;
    const bool alt = stage_ == Stage::AltitudeTurn;
    const auto screw = alt ? CalibrateScrew(before_.altArcsec, now.altArcsec, turns_ * kTurn)
                           : CalibrateScrew(before_.azArcsec, now.azArcsec, turns_ * kTurn);
    if (!screw)
        return TooSmall; // the same start stays: the next turn adds to this one
    (alt ? alt_ : az_) = *screw;
    before_ = now;
    turns_ = 0;
    stage_ = alt ? Stage::AzimuthTurn : Stage::Done;
    return Taken;
}
