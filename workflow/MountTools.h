// The mount tools beside the monitor mode's read-out: the screws in turns (their
// calibration and the turns each read-out asks for), the plot of the night, the
// record of each alignment, and the motorised adjusters. The window owns one and
// forwards to it; the decisions are the plain classes' (ScrewTurns,
// ScrewCalibrationSession, NightRecord, MotorAlignLoop, MotorCalibrationRun).
//
// Usage (the main window):
//   MountTools tools(this, SettingsFilePath(), [&] { return clock.Seconds(); },
//                    [&] { return clock.Utc(); }, [] { return logFolder; });
//   tools.AddMenuItems(toolsMenu);
//   tools.AddReadoutControls(panel, readoutLabel);   // once, with the other controls
//   tools.ApplyLanguage("DE"); tools.SetNight(true);
//   tools.MonitorStarted();                          // the monitor mode starts
//   tools.Readout(readout);                          // every read-out
//   tools.MonitorEnded();                            // finished, restarted or disconnected
//   tools.OpenScrewsWindow(); tools.OpenMotorWindow(); // Tools menu
#pragma once

#include "astro/AlignmentReadout.h"
#include "guidance/MountTexts.h"
#include "guidance/NightRecord.h"
#include "guidance/ScrewCalibrationSession.h"
#include "guidance/ScrewProfiles.h"
#include "motor/MotorAxes.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QWidget;
class ErrorPlot;
class GrblMotor;
class MotorAlignLoop;
class MotorCalibrationRun;
class MotorWindow;
class ScrewsWindow;

class MountTools : public QObject {
    Q_OBJECT
public:
    MountTools(QWidget* window, const QString& settingsPath, std::function<double()> seconds,
               std::function<QDateTime()> utc, std::function<QString()> recordFolder);
    ~MountTools() override;

    void AddReadoutControls(QWidget* panel, QWidget* after);
    // The two Tools menu items ("Screws in Turns...", "Motorised Adjusters...").
    void AddMenuItems(QMenu* tools);
    void ApplyLanguage(const QString& code);
    void SetNight(bool night);
    // The site for the record (unknown: its fields stay empty).
    void SetSite(bool known, double latitudeDeg, double longitudeDeg);

    void MonitorStarted();
    void Readout(const AlignmentReadout& readout);
    void MonitorEnded();

    void OpenScrewsWindow();
    void OpenMotorWindow();

    // What the read-out's turns line says now ("altitude: half a turn clockwise ...").
    QString TurnsText() const;
    const ErrorHistory& History() const { return history_; }
    ScrewsWindow* Screws() const;
    MotorWindow* Motor() const;

private:
    void ShowTurns();
    void CheckTurnMade();
    void CalibrationNext();
    void ConnectMotor();
    void DisconnectMotor();
    void MotorStep();
    void ShowMotorState(const QString& text = {});

    QWidget* window_;
    QString settingsPath_;
    std::function<double()> seconds_;
    std::function<QDateTime()> utc_;
    std::function<QString()> recordFolder_;
    MountTexts texts_;
    bool night_ = false;

    ScrewProfiles profiles_;
    ScrewCalibrationSession calibration_;
    ErrorHistory history_;
    AlignmentReadout last_;
    bool recalibrate_ = false;
    // The settled read-out at the last step, and the turns shown for it.
    int stepsSeen_ = 0;
    AlignmentReadout atStep_;
    double altTurnsShown_ = 0, azTurnsShown_ = 0;

    std::optional<AlignmentRecord> record_;
    bool siteKnown_ = false;
    double latitude_ = 0, longitude_ = 0;

    QPointer<QAction> screwsItem_;
    QPointer<QAction> motorItem_;
    QPointer<QLabel> turnsLabel_;
    QPointer<ErrorPlot> plot_;
    QPointer<ScrewsWindow> screwsWindow_;
    QPointer<MotorWindow> motorWindow_;

    MotorSettings motorSettings_;
    std::unique_ptr<GrblMotor> motor_;
    std::unique_ptr<MotorAlignLoop> loop_;
    std::unique_ptr<MotorCalibrationRun> motorCalibration_;
    bool calibratingAltitude_ = true;
    QTimer loopTick_;
};
