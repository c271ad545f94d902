// The short calibration of the screws in monitor mode: the user turns the altitude
// screw a quarter turn clockwise, then the azimuth screw, and after each turn the
// settled read-out tells how far and which way the pole moved.
//
// Usage (the screws window):
//   ScrewCalibrationSession s;
//   s.Start(readout);                 // false without a read-out: start the monitor first
//   ... show the prompt of s.Stage() (AltitudeTurn: "turn the altitude screw ...")
//   switch (s.Next(readout)) {        // the user pressed Next after the turn
//   case ScrewCalibrationSession::Taken: ... s.Stage() moved on; at Done:
//       profile.altitude = s.Altitude(); profile.azimuth = s.Azimuth();
//   case ScrewCalibrationSession::TooSmall: ... "the pole hardly moved": turn again
//   case ScrewCalibrationSession::NoReadout: ...
//   }
//
// Each turn is measured from the read-out taken at the end of the turn before (or at
// the start), so a user who turns once more after "TooSmall" adds to the same turn:
// the session then counts the turns made (`TurnsOf`).
#pragma once

#include "astro/AlignmentReadout.h"
#include "guidance/ScrewTurns.h"

class ScrewCalibrationSession {
public:
    enum class Stage { Idle, AltitudeTurn, AzimuthTurn, Done };
    enum Result { Taken, TooSmall, NoReadout };

    static constexpr double kTurn = 0.25; // the turn asked for: a quarter, clockwise

    bool Start(const AlignmentReadout& readout);
    Result Next(const AlignmentReadout& readout);
    void Cancel() { stage_ = Stage::Idle; }

    Stage CurrentStage() const { return stage_; }
    const ScrewCalibration& Altitude() const { return alt_; }
    const ScrewCalibration& Azimuth() const { return az_; }

private:
    Stage stage_ = Stage::Idle;
    AlignmentReadout before_;
    int turns_ = 0; // quarter turns made in this stage
    ScrewCalibration alt_, az_;
};
