#include "workflow/MountTools.h"

#include "core/Log.h"
#include "dialogs/MotorWindow.h"
#include "dialogs/ScrewsWindow.h"
#include "display/ErrorPlot.h"
#include "motor/GrblMotor.h"
#include "motor/MotorAlignLoop.h"
#include "motor/MotorCalibrationRun.h"

#include <QAction>
#include <QBoxLayout>
#include <QLabel>
#include <QMenu>

#include <cmath>

MountTools::MountTools(QWidget* window, const QString& settingsPath,
                       std::function<double()> seconds, std::function<QDateTime()> utc,
                       std::function<QString()> recordFolder)
    : QObject(window), window_(window), settingsPath_(settingsPath), seconds_(std::move(seconds)),
      utc_(std::move(utc)), recordFolder_(std::move(recordFolder)),
      texts_(MountTexts::ForLanguage(QStringLiteral("EN"))) {
    profiles_ = LoadScrewProfiles(settingsPath_);
    motorSettings_ = LoadMotorSettings(settingsPath_);
    // While the motor works, the loop looks again even when no read-out comes (a lost
    // camera): it then stops and says why.
    loopTick_.setInterval(500);
    connect(&loopTick_, &QTimer::timeout, this, &MountTools::MotorStep);
}

ScrewsWindow* MountTools::Screws() const {
    return screwsWindow_.data();
}

MotorWindow* MountTools::Motor() const {
    return motorWindow_.data();
}

MountTools::~MountTools() {
    if (motor_)
        motor_->Stop();
}

void MountTools::AddReadoutControls(QWidget* panel, QWidget* after) {
    if (!panel || turnsLabel_)
        return;
    turnsLabel_ = new QLabel(panel);
    turnsLabel_->setObjectName(QStringLiteral("Label_screwTurns"));
    turnsLabel_->setWordWrap(true);
    turnsLabel_->hide();
    plot_ = new ErrorPlot(panel);
    plot_->SetHistory(&history_);
    plot_->hide();
    auto* box = qobject_cast<QBoxLayout*>(panel->layout());
    const int at = box && after ? box->indexOf(after) : -1;
    if (box && at >= 0) {
        box->insertWidget(at + 1, turnsLabel_);
        box->insertWidget(at + 2, plot_);
    } else if (panel->layout()) {
        panel->layout()->addWidget(turnsLabel_);
        panel->layout()->addWidget(plot_);
    }
}

void MountTools::AddMenuItems(QMenu* tools) {
    if (!tools || screwsItem_)
        return;
    screwsItem_ = tools->addAction(texts_.Text("MountScrewsMenu"));
    screwsItem_->setObjectName(QStringLiteral("MenuItem_screws"));
    connect(screwsItem_, &QAction::triggered, this, &MountTools::OpenScrewsWindow);
    motorItem_ = tools->addAction(texts_.Text("MountMotorMenu"));
    motorItem_->setObjectName(QStringLiteral("MenuItem_motor"));
    connect(motorItem_, &QAction::triggered, this, &MountTools::OpenMotorWindow);
}

void MountTools::ApplyLanguage(const QString& code) {
    texts_ = MountTexts::ForLanguage(code);
    if (screwsItem_)
        screwsItem_->setText(texts_.Text("MountScrewsMenu"));
    if (motorItem_)
        motorItem_->setText(texts_.Text("MountMotorMenu"));
    if (plot_)
        plot_->SetTitle(texts_.Text("PlotTitle"));
    if (screwsWindow_)
        screwsWindow_->SetTexts(texts_);
    if (motorWindow_)
        motorWindow_->SetTexts(texts_);
    ShowTurns();
    ShowMotorState();
}

void MountTools::SetNight(bool night) {
    night_ = night;
    if (plot_)
        plot_->SetNight(night);
}

void MountTools::SetSite(bool known, double latitudeDeg, double longitudeDeg) {
    siteKnown_ = known;
    latitude_ = latitudeDeg;
    longitude_ = longitudeDeg;
}

void MountTools::MonitorStarted() {
    history_.Reset();
    stepsSeen_ = 0;
    atStep_ = {};
    last_ = {};
    recalibrate_ = false;
    record_ = AlignmentRecord{};
    record_->startUtc = utc_();
    if (plot_)
        plot_->show();
    ShowTurns();
}

void MountTools::Readout(const AlignmentReadout& r) {
    if (!r.valid)
        return;
    last_ = r;
    history_.Add(seconds_(), r);
    if (record_ && record_->startArcsec == 0)
        record_->startArcsec = r.totalArcsec;
    if (!atStep_.valid)
        atStep_ = r;
    CheckTurnMade();
    ShowTurns();
    if (plot_)
        plot_->update();
    if (loop_ || motorCalibration_)
        MotorStep();
}

void MountTools::MonitorEnded() {
    if (loop_ || motorCalibration_) {
        loop_.reset();
        motorCalibration_.reset();
        if (motor_)
            motor_->Stop();
    }
    calibration_.Cancel();
    if (screwsWindow_) {
        screwsWindow_->SetCalibrating(false);
        screwsWindow_->SetPrompt({});
    }
    if (record_ && last_.valid) {
        record_->endUtc = utc_();
        record_->siteKnown = siteKnown_;
        record_->latitudeDeg = latitude_;
        record_->longitudeDeg = longitude_;
        record_->endArcsec = last_.totalArcsec;
        record_->altArcsec = last_.altArcsec;
        record_->azArcsec = last_.azArcsec;
        record_->turns = history_.Steps();
        const QString path = AlignmentRecordPath(recordFolder_());
        if (!AppendAlignmentRecord(path, *record_))
            WriteLog(QStringLiteral("Error"),
                     QStringLiteral("The alignment record could not be written to %1.").arg(path));
    }
    record_.reset();
    last_ = {};
    if (turnsLabel_)
        turnsLabel_->hide();
    if (plot_)
        plot_->hide();
}

// A turn the user made after the read-out advised it: when the pole moved by more than
// a third more or less than the calibration says, a new calibration is due.
void MountTools::CheckTurnMade() {
    if (history_.Steps() == stepsSeen_)
        return;
    stepsSeen_ = history_.Steps();
    if (const MountProfile* p = profiles_.CurrentIfAny()) {
        auto check = [&](const ScrewCalibration& screw, double shown, double before, double now) {
            const ScrewTurn t = RoundTurn(shown);
            const double made = (t.clockwise ? 1 : -1) * t.eighths / 8.0;
            // Only the screw that moved the pole is judged.
            return std::abs(before - now) > 5.0 && MoveDisagrees(screw, made, before, now);
        };
        if (check(p->altitude, altTurnsShown_, atStep_.altArcsec, last_.altArcsec) ||
            check(p->azimuth, azTurnsShown_, atStep_.azArcsec, last_.azArcsec))
            recalibrate_ = true;
    }
    atStep_ = last_;
}

QString MountTools::TurnsText() const {
    const MountProfile* p = profiles_.CurrentIfAny();
    if (!p || !last_.valid)
        return {};
    const ScrewTurnWords words = texts_.TurnWords();
    QStringList lines;
    const QString alt = ScrewTurnText(RoundTurn(TurnsFor(p->altitude, last_.altArcsec)), words);
    const QString az = ScrewTurnText(RoundTurn(TurnsFor(p->azimuth, last_.azArcsec)), words);
    if (!alt.isEmpty())
        lines << texts_.Text("ScrewsAdviceAlt").arg(alt);
    if (!az.isEmpty())
        lines << texts_.Text("ScrewsAdviceAz").arg(az);
    if (recalibrate_)
        lines << texts_.Text("ScrewsRecalibrate");
    return lines.join(QLatin1Char('\n'));
}

void MountTools::ShowTurns() {
    if (const MountProfile* p = profiles_.CurrentIfAny(); p && last_.valid) {
        // The turns shown with this read-out, for judging the turn the user then makes.
        if (history_.Steps() == stepsSeen_ && atStep_.valid) {
            altTurnsShown_ = TurnsFor(p->altitude, atStep_.altArcsec);
            azTurnsShown_ = TurnsFor(p->azimuth, atStep_.azArcsec);
        }
    }
    if (!turnsLabel_)
        return;
    const QString text = TurnsText();
    turnsLabel_->setText(text);
    turnsLabel_->setVisible(!text.isEmpty());
}

// ---- the screws' calibration --------------------------------------------------------

void MountTools::OpenScrewsWindow() {
    if (!screwsWindow_) {
        screwsWindow_ = new ScrewsWindow(window_);
        screwsWindow_->SetTexts(texts_);
        connect(screwsWindow_, &ScrewsWindow::CalibrateClicked, this, [this] {
            if (!calibration_.Start(last_)) {
                screwsWindow_->SetPrompt(texts_.Text("ScrewsNeedMonitor"));
                return;
            }
            screwsWindow_->SetCalibrating(true);
            screwsWindow_->SetPrompt(texts_.Text("ScrewsTurnAlt"));
        });
        connect(screwsWindow_, &ScrewsWindow::NextClicked, this, &MountTools::CalibrationNext);
        connect(screwsWindow_, &ScrewsWindow::CancelClicked, this, [this] {
            calibration_.Cancel();
            screwsWindow_->SetCalibrating(false);
            screwsWindow_->SetPrompt({});
        });
        connect(screwsWindow_, &ScrewsWindow::ProfileChosen, this, [this](const QString& name) {
            profiles_.current = name.simplified();
            profiles_.Current();
            SaveScrewProfiles(settingsPath_, profiles_);
            screwsWindow_->ShowProfiles(profiles_);
            recalibrate_ = false;
            ShowTurns();
        });
    }
    profiles_.Current(); // a profile to calibrate
    screwsWindow_->ShowProfiles(profiles_);
    screwsWindow_->show();
    screwsWindow_->raise();
}

void MountTools::CalibrationNext() {
    switch (calibration_.Next(last_)) {
    case ScrewCalibrationSession::NoReadout:
        screwsWindow_->SetPrompt(texts_.Text("ScrewsNeedMonitor"));
        return;
    case ScrewCalibrationSession::TooSmall:
        screwsWindow_->SetPrompt(texts_.Text("ScrewsTooSmall"));
        return;
    case ScrewCalibrationSession::Taken:
        break;
    }
    if (calibration_.CurrentStage() == ScrewCalibrationSession::Stage::AzimuthTurn) {
        screwsWindow_->SetPrompt(texts_.Text("ScrewsTurnAz"));
        return;
    }
    MountProfile& p = profiles_.Current();
    p.altitude = calibration_.Altitude();
    p.azimuth = calibration_.Azimuth();
    SaveScrewProfiles(settingsPath_, profiles_);
    WriteLog(QStringLiteral("Info"),
             QStringLiteral("Screws of \"%1\" calibrated: altitude %2\", azimuth %3\" per turn.")
                 .arg(p.name)
                 .arg(p.altitude.arcsecPerTurn, 0, 'f', 1)
                 .arg(p.azimuth.arcsecPerTurn, 0, 'f', 1));
    recalibrate_ = false;
    atStep_ = last_;
    screwsWindow_->SetCalibrating(false);
    screwsWindow_->ShowProfiles(profiles_);
    screwsWindow_->SetPrompt(texts_.Text("ScrewsDone"));
    ShowTurns();
}

// ---- the motorised adjusters ---------------------------------------------------------

void MountTools::OpenMotorWindow() {
    if (!motorWindow_) {
        motorWindow_ = new MotorWindow(window_);
        motorWindow_->SetTexts(texts_);
        connect(motorWindow_, &MotorWindow::SettingsEdited, this, [this](const MotorSettings& s) {
            motorSettings_ = s;
            SaveMotorSettings(settingsPath_, motorSettings_);
        });
        connect(motorWindow_, &MotorWindow::ConnectClicked, this, &MountTools::ConnectMotor);
        connect(motorWindow_, &MotorWindow::DisconnectClicked, this, &MountTools::DisconnectMotor);
        connect(motorWindow_, &MotorWindow::CalibrateClicked, this, [this](bool altitude) {
            if (!motor_ || !last_.valid) {
                ShowMotorState(texts_.Text("MotorFailNoReadout"));
                return;
            }
            calibratingAltitude_ = altitude;
            loop_.reset();
            motorCalibration_ = std::make_unique<MotorCalibrationRun>(
                altitude ? motorSettings_.alt : motorSettings_.az, altitude);
            motorCalibration_->Start(seconds_());
            loopTick_.start();
            MotorStep();
        });
        connect(motorWindow_, &MotorWindow::AlignClicked, this, [this] {
            if (!motor_ || !last_.valid) {
                ShowMotorState(texts_.Text("MotorFailNoReadout"));
                return;
            }
            motorCalibration_.reset();
            MotorLoopOptions o;
            o.bandArcsec = motorSettings_.toleranceArcsec;
            o.travelLimitArcsec = motorSettings_.travelLimitArcsec;
            loop_ = std::make_unique<MotorAlignLoop>(o);
            loop_->Start(seconds_());
            WriteLog(
                QStringLiteral("Info"),
                QStringLiteral("Motor: alignment starts at %1\" (altitude %2\", azimuth %3\").")
                    .arg(last_.totalArcsec, 0, 'f', 1)
                    .arg(last_.altArcsec, 0, 'f', 1)
                    .arg(last_.azArcsec, 0, 'f', 1));
            loopTick_.start();
            MotorStep();
        });
        connect(motorWindow_, &MotorWindow::StopClicked, this, [this] {
            if (loop_ || motorCalibration_)
                WriteLog(QStringLiteral("Info"), QStringLiteral("Motor: stopped by the user."));
            loopTick_.stop();
            loop_.reset();
            motorCalibration_.reset();
            if (motor_)
                motor_->Stop();
            ShowMotorState();
        });
    }
    motorWindow_->ShowSettings(motorSettings_);
    ShowMotorState();
    motorWindow_->show();
    motorWindow_->raise();
}

void MountTools::ConnectMotor() {
    motor_ = std::make_unique<GrblMotor>(motorSettings_);
    connect(motor_.get(), &GrblMotor::StatusChanged, this, [this] {
        if (loop_ || motorCalibration_)
            MotorStep();
        ShowMotorState();
    });
    if (!motor_->Open()) {
        const QString why = motor_->Status().message;
        motor_.reset();
        ShowMotorState(why);
        return;
    }
    ShowMotorState();
}

void MountTools::DisconnectMotor() {
    loopTick_.stop();
    loop_.reset();
    motorCalibration_.reset();
    motor_.reset();
    ShowMotorState();
}

void MountTools::MotorStep() {
    if (!motor_)
        return;
    const double now = seconds_();
    const MotorState state = motor_->Status().state;
    MotorLoopStep step;
    if (loop_)
        step = loop_->Next(last_, state, now);
    else if (motorCalibration_)
        step = motorCalibration_->Next(last_, state, now);
    switch (step.action) {
    case MotorLoopStep::Wait:
        return;
    case MotorLoopStep::Move:
        WriteLog(QStringLiteral("Info"),
                 QStringLiteral("Motor: measured %1\" (altitude %2\", azimuth %3\"); move "
                                "altitude %4\", azimuth %5\".")
                     .arg(last_.totalArcsec, 0, 'f', 1)
                     .arg(last_.altArcsec, 0, 'f', 1)
                     .arg(last_.azArcsec, 0, 'f', 1)
                     .arg(step.altArcsec, 0, 'f', 1)
                     .arg(step.azArcsec, 0, 'f', 1));
        if (!motor_->MoveBy(step.altArcsec, step.azArcsec))
            WriteLog(QStringLiteral("Warnning"), QStringLiteral("Motor: the move was not sent."));
        ShowMotorState();
        return;
    case MotorLoopStep::Done:
        if (motorCalibration_) {
            (calibratingAltitude_ ? motorSettings_.alt : motorSettings_.az) =
                motorCalibration_->Result();
            SaveMotorSettings(settingsPath_, motorSettings_);
            if (motorWindow_)
                motorWindow_->ShowSettings(motorSettings_);
            motorCalibration_.reset();
            ShowMotorState(texts_.Text("MotorCalibrated"));
        } else {
            WriteLog(QStringLiteral("Info"), QStringLiteral("Motor: aligned, %1\" after %2 moves.")
                                                 .arg(last_.totalArcsec, 0, 'f', 1)
                                                 .arg(loop_->Moves()));
            loop_.reset();
            ShowMotorState(texts_.Text("MotorAligned"));
        }
        loopTick_.stop();
        return;
    case MotorLoopStep::Fail: {
        const char* key = step.why == MotorLoopStep::WrongWay      ? "MotorFailWrongWay"
                          : step.why == MotorLoopStep::NoReadout   ? "MotorFailNoReadout"
                          : step.why == MotorLoopStep::MotorError  ? "MotorFailMotor"
                          : step.why == MotorLoopStep::TravelLimit ? "MotorFailTravel"
                                                                   : "MotorFailTooMany";
        loopTick_.stop();
        loop_.reset();
        motorCalibration_.reset();
        motor_->Stop();
        WriteLog(QStringLiteral("Warnning"), QStringLiteral("Motor: %1").arg(QLatin1String(key)));
        ShowMotorState(texts_.Text(key));
        return;
    }
    }
}

void MountTools::ShowMotorState(const QString& text) {
    if (!motorWindow_)
        return;
    const bool connected = motor_ && motor_->Status().state != MotorState::Disconnected;
    const bool busy = loop_ || motorCalibration_;
    QString line = text;
    if (line.isEmpty()) {
        if (!connected)
            line = texts_.Text("MotorNotConnected");
        else if (motor_->Status().state == MotorState::Error)
            line = motor_->Status().message;
        else if (loop_ && loop_->Moves() > 0)
            line =
                texts_.Text("MotorProgress").arg(loop_->Moves()).arg(last_.totalArcsec, 0, 'f', 1);
        else
            line = texts_.Text(motor_->Status().state == MotorState::Moving ? "MotorMoving"
                                                                            : "MotorIdle");
    }
    motorWindow_->SetState(line, connected, busy);
}
