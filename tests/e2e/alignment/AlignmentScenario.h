// A whole polar alignment on the simulated mount, done the way a person does it:
// the windows are made as the program makes them, and the scenario only clicks
// buttons and menus, double-clicks stars on the live view, moves the rotation bars
// and turns the simulated mount with its tool. The simulator's ground truth plays
// the user's eyes (where the stars are) and finally judges the result.
//
// Usage:
//   for (const Scenario& s : AllScenarios()) {
//       ScenarioResult r = RunScenario(s);
//       std::puts(qPrintable(SummaryLine(s, r)));   // residual and pole error
//   }
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

struct Scenario {
    QString name;
    char hemisphere = 'N';    // 'N' or 'S'
    int year = 2024;          // star data set (the date both sides use: 23 May)
    double altErrArcmin = 40; // misalignment at the start
    double azErrArcmin = -25;
    double rollDeg = 17;  // camera roll about the RA axis
    double axisX = 700.3; // where the RA axis is seen in the image
    double axisY = 440.6;
    double raStepDeg = 60;       // RA turn between the three picks
    bool refraction = false;     // refraction in the sky and the correction switched on
    bool recordedCentre = false; // a second session accepts the recorded axis centre
    // Misalignment of the second session (the mount was moved between nights).
    double secondAltErrArcmin = -35;
    double secondAzErrArcmin = 30;
    // Whether the targets are asserted (the refraction scenario only reports).
    bool assertTargets = true;
    // The real sky of a moment (00:00 UTC of `date`) instead of the template sky,
    // with the light a real polar camera collects, and the template angles the
    // window takes: "date" (computed for the moment) or "table" (the dated data).
    bool catalogueSky = false;
    QDate date; // the moment's date (both sides); invalid: 23 May of `year`
    QString starData = QStringLiteral("table");
    double residualTargetArcsec = 30.0;
    // The pole star and the template turn found with "Auto", the RA axis with "Auto
    // Axis" over a turn in steps of raFollowStepDeg; only the screws are turned by hand.
    bool automatic = false;
    double raFollowStepDeg = 8;
    int raFollowSteps = 5;
    // How close the user brings the pole mark to the axis mark in the close-up (px).
    double fineTunePx = 0.15;
    // The window's language (the settings file's code), for pictures in other languages.
    QString language = QStringLiteral("EN");
    int fineTuneFrames = 6; // frames the eye takes to settle on where the mark stays
    // The last turns go by the read-out below the close-up (altitude and azimuth,
    // with their signs) instead of by the marks, in at most this many rounds.
    bool byReadout = false;
    int readoutRounds = 3;
    // The last turns go only by the sound guidance's spoken instructions (recorded,
    // and read back into a direction and an amount); the guidance's band in arcseconds.
    bool bySound = false;
    double soundBandArcsec = 10;
    // The site's latitude (the simulator's refraction and the window's setting) and
    // whether the window's correction is on when the sky is refracted: without it
    // the residual is measured against the pole the stars circle.
    double latitudeDeg = 40;
    bool refractionCorrection = true;
    // The sky turns at the sidereal rate on the window's clock, which the simulator's
    // sky runs on too; a person's pace (between picks, per screw turn, to read the
    // read-out) moves that clock on at once. Otherwise the sky stands still at its
    // moment while the clock runs (the same pace, nothing turns).
    bool skyTurns = false;
};

struct ScenarioResult {
    bool completed = false;
    QString failure;           // the step that went wrong, when not completed
    double residualArcsec = 0; // RA axis against the true pole, after alignment (against
                               // the pole the stars circle with refraction uncorrected)
    double poleErrorPx = 0;    // the shown pole against the true pole
    double axisErrorPx = 0;    // the shown axis centre against the true axis
    int sessions = 0;          // windows opened (2 with the recorded centre)
    int readoutRounds = 0;     // rounds of turns by the read-out (byReadout)
    QStringList heard;         // the spoken instructions (bySound)
    bool heardAligned = false; // "aligned" was said at the end (bySound)
    QStringList notes;         // what happened along the way, for the report
    // The axis centre against the true axis from the three picks with the sky's
    // turn taken out (as the window has it) and left in (the circle through them).
    double pickAxisErrorPx = -1;
    double pickAxisBiasPx = -1;
};

constexpr double kPoleTargetPx = 1.0;
// The automatic ways align closer (runs end 2" to 7" off; room for a loaded machine).
constexpr double kAutomaticResidualTargetArcsec = 10.0;

std::vector<Scenario> AllScenarios();
const Scenario* FindScenario(const QString& name);

// Runs one scenario in this process (it makes and closes the program's windows;
// a QApplication must exist).
ScenarioResult RunScenario(const Scenario& scenario);

// Called at the moments worth a picture ("01-step1-exposure", ...), with the window
// painted; the walkthrough's screenshots are taken here. Empty: nothing is called.
void SetStepObserver(std::function<void(const QString& moment)> observer);

// "north-2016  residual 12.3 arcsec  pole 0.42 px  ..." (one line).
QString SummaryLine(const Scenario& scenario, const ScenarioResult& result);
