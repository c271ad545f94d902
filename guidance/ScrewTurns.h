// The altitude and azimuth screws in turns: how far the pole moves for a turn of
// each screw, learnt from one short calibration turn, and the turns that a read-out
// asks for.
//
// Usage:
//   // Calibration in monitor mode: the settled read-out, the user turns the altitude
//   // screw a quarter turn clockwise, the settled read-out again.
//   std::optional<ScrewCalibration> alt =
//       CalibrateScrew(before.altArcsec, after.altArcsec, 0.25);
//   if (!alt) ... the pole hardly moved: ask again
//   profile.altitude = *alt;
//   const double turns = TurnsFor(profile.altitude, readout.altArcsec); // > 0: clockwise
//   const ScrewTurn t = RoundTurn(turns);    // in eighths of a turn
//   // After the user turned as advised, the settled read-out tells what the turn did:
//   if (MoveDisagrees(profile.altitude, turnsMade, before.altArcsec, after.altArcsec))
//       ... offer a new calibration
//
// Signs follow the read-out: altArcsec > 0 asks to raise, azArcsec > 0 to turn east.
// A screw's calibration is the arcseconds it raises (or turns east) per clockwise
// turn; a screw that lowers when turned clockwise has a negative figure.
#pragma once

#include <QString>

#include <optional>

struct ScrewCalibration {
    bool valid = false;
    double arcsecPerTurn = 0; // raise (altitude) or east (azimuth) per clockwise turn
};

// A named mount with its two screws.
struct MountProfile {
    QString name;
    ScrewCalibration altitude;
    ScrewCalibration azimuth;
};

// From the read-out's component before and after turning a screw `turnsClockwise`
// turns (negative: counter-clockwise). Nothing when the pole moved less than
// `minMoveArcsec` (the turn cannot be told from the noise) or the turn is zero.
std::optional<ScrewCalibration> CalibrateScrew(double beforeArcsec, double afterArcsec,
                                               double turnsClockwise, double minMoveArcsec = 5.0);

// Turns that bring the read-out's component `arcsec` to zero (> 0: clockwise).
// 0 for an uncalibrated screw.
double TurnsFor(const ScrewCalibration& screw, double arcsec);

// A turn as the user makes it: whole eighths, and the sense.
struct ScrewTurn {
    int eighths = 0; // 0: no turn; 2 = a quarter, 4 = a half, 8 = one turn
    bool clockwise = true;
};
ScrewTurn RoundTurn(double turns);

// True when the pole moved by more than a third more or less than the calibration
// says a turn of `turnsMade` should have moved it (a new calibration is due).
bool MoveDisagrees(const ScrewCalibration& screw, double turnsMade, double beforeArcsec,
                   double afterArcsec);

// The words of a turn in a language, from the tables' texts:
//   words.turns: "%1 turns", words.turn: "%1 turn", words.half: "half a turn", ...
struct ScrewTurnWords {
    QString eighth;        // "an eighth of a turn"
    QString quarter;       // "a quarter turn"
    QString half;          // "half a turn"
    QString threeQuarters; // "three quarters of a turn"
    QString oneTurn;       // "one turn"
    QString turns;         // "%1 turns" (%1: "1", "1¼", "2½", ...)
    QString clockwise;     // "%1 clockwise"
    QString counter;       // "%1 counter-clockwise"
};
// "half a turn clockwise", "1¼ turns counter-clockwise"; empty for no turn.
QString ScrewTurnText(const ScrewTurn& turn, const ScrewTurnWords& words);
// English words, the fallback for a table without them.
ScrewTurnWords EnglishScrewTurnWords();
