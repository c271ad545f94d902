// How the controller's axes turn the mount's screws: millimetres of controller
// travel per arcsecond, the sense, the backlash, and which letter drives which
// screw; section [MOTOR] of the settings file. And the plan of one move, with the
// backlash taken up when an axis reverses.
//
// Usage:
//   MotorSettings s = LoadMotorSettings(SettingsFilePath());
//   MotorMovePlanner planner(s);
//   const MotorMove mv = planner.Plan(altArcsec, azArcsec);  // remembers the senses
//   GrblJogLine({{s.alt.letter, mv.altMm}, {s.az.letter, mv.azMm}}, s.feedMmPerMin);
//
//   // Calibration: move one axis by `mm`, measure the read-out's component before
//   // and after the move, and learn the scale and sense.
//   if (auto axis = CalibrateMotorAxis(s.alt, mm, before.altArcsec, after.altArcsec))
//       s.alt = *axis;
//
// [MOTOR] keys: port=/dev/ttyUSB0 baud=115200 feed=100 altAxis=Y azAxis=X
// altMmPerArcsec=0.001 azMmPerArcsec=0.001 altSense=1 azSense=1 altBacklash=0
// azBacklash=0 (arcseconds) tolerance=10 travelLimit=10800 (arcseconds). A value that is
// out of range reads as its default.
#pragma once

#include <QString>

#include <optional>

struct MotorAxis {
    char letter = 'X';
    double mmPerArcsec = 0.001; // controller travel per arcsecond of the pole's move
    int sense = 1;              // +1: positive travel raises (turns east); -1: the other way
    double backlashArcsec = 0;  // slack taken up when the axis reverses
};

struct MotorSettings {
    QString port; // the serial device; empty: no motor
    int baud = 115200;
    double feedMmPerMin = 100;
    double toleranceArcsec = 10;         // the loop stops under this error
    double travelLimitArcsec = 3 * 3600; // no axis travels further from the loop's start
    MotorAxis alt{'Y'};
    MotorAxis az{'X'};
};

MotorSettings LoadMotorSettings(const QString& path);
bool SaveMotorSettings(const QString& path, const MotorSettings& settings);

struct MotorMove {
    double altMm = 0;
    double azMm = 0;
};

class MotorMovePlanner {
public:
    explicit MotorMovePlanner(const MotorSettings& settings) : s_(settings) {}
    // The travel for a move of the pole by these arcseconds; an axis that reverses
    // its last sense travels its backlash more.
    MotorMove Plan(double altArcsec, double azArcsec);

private:
    double AxisMm(const MotorAxis& axis, double arcsec, int& lastSense) const;
    MotorSettings s_;
    int altLast_ = 0; // sense of the last travel: +1, -1, 0 (none yet)
    int azLast_ = 0;
};

// The axis as a move of `mm` showed it: the read-out's component went from `before`
// to `after`. Nothing when the pole moved under `minMoveArcsec`.
std::optional<MotorAxis> CalibrateMotorAxis(const MotorAxis& axis, double mm, double beforeArcsec,
                                            double afterArcsec, double minMoveArcsec = 5.0);
