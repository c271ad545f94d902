// What a motorised altitude/azimuth base offers the alignment: move each axis by
// arcseconds (in the read-out's sense: altitude > 0 raises, azimuth > 0 turns
// east), stop, and say how it stands.
//
// Usage:
//   MountMotor& m = ...;                       // GrblMotor, or a stand-in in tests
//   if (m.Status().state == MotorState::Idle)
//       m.MoveBy(readout.altArcsec, readout.azArcsec);
//   m.Stop();                                  // at once, whatever it is doing
#pragma once

#include <QString>

enum class MotorState { Disconnected, Idle, Moving, Error };

struct MotorStatus {
    MotorState state = MotorState::Disconnected;
    QString message; // the controller's last complaint, for the window
};

class MountMotor {
public:
    virtual ~MountMotor() = default;
    // False when the move cannot be sent (not connected, busy, nothing to move).
    virtual bool MoveBy(double altArcsec, double azArcsec) = 0;
    virtual void Stop() = 0;
    virtual MotorStatus Status() const = 0;
};
