// The automatic ways: "Auto" beside each template rotation bar finds the pole star
// and the template turn on the current frame and does what a double-click on the
// pole star and the bar would do; "Auto Axis" in step 3 follows the stars while the
// user turns the RA axis and, after 30 degrees, fills in the axis centre and the
// three star positions and moves on to step 8. The measuring is done by
// astro/AutoMatch and astro/AxisFollowSession; this file only feeds them frames (with
// their moments on the window's clock) and shows what they return.
#include "app/MainFormUnit.h"
#include "ui_FormMain.h"

#include "app/Mylog.h"
#include "app/Mystructs.h"
#include "astro/AutoMatch.h"
#include "astro/AxisFollowSession.h"
#include "astro/StarData.h"
#include "astro/StarDetect.h"
#include "camera/DisplayThread.h"
#include "camera/Zorcamlib.h"
#include "dialogs/MessageBoxes.h"
#include "display/Readouts.h"
#include "i18n/TextRecords.h"
#include "workflow/PickFrame.h"
#include "workflow/WizardSteps.h"

#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include <cmath>

namespace {

const char* const kNoMatchText = "No convincing match of the template was found, so nothing was "
                                 "changed. Turn the template by hand, or try again with more "
                                 "stars in view.";
const char* const kFollowText = "Turn the RA axis slowly, or in steps, in the direction of the "
                                "arrow by at least 30 degrees: the program follows the stars. "
                                "Press \"Auto Axis\" again to stop. Turned so far:";

// The tip panel shows a note below the step's own tip; the step's buttons stay.
void ShowNote(TFormMain& w, const QString& note) {
    w.ShowTip(w.wizardStep);
    w.ui->Text_tip->setText(w.ui->Text_tip->text() + QStringLiteral("\n\n") + note);
    w.ui->Rectangle_tipMsg->adjustSize();
}

AutoMatchResult MatchCurrentFrame(const TFormMain& w) {
    cv::Mat copy;
    const cv::Mat& frame = PickFrame(copy);
    const bool south = w.curRegion == QLatin1String("S");
    const TemplatePattern pattern =
        TemplatePatternFor(south ? QStringLiteral("S") : QStringLiteral("N"),
                           south ? g_southStarData : g_northStarData);
    AutoMatchOptions options;
    options.frameWidth = frame.cols;
    options.frameHeight = frame.rows;
    // A camera whose frames show sky in a part only (centred on black): the stars
    // are looked for there, and so are the template's.
    int x = 0, y = 0, width = 0, height = 0;
    std::vector<DetectedStar> stars;
    if (ZorcamGetSkyRegion(g_cameraHandle, &x, &y, &width, &height) &&
        cv::Rect(0, 0, frame.cols, frame.rows).contains(cv::Point(x, y)) && width > 0 &&
        height > 0 && x + width <= frame.cols && y + height <= frame.rows &&
        (width < frame.cols || height < frame.rows)) {
        stars = DetectStars(frame(cv::Rect(x, y, width, height)).clone());
        for (DetectedStar& s : stars)
            s.x += x, s.y += y;
        options.frameLeft = x;
        options.frameTop = y;
        options.frameWidth = width;
        options.frameHeight = height;
    } else {
        stars = DetectStars(frame);
    }
    const AutoMatchResult r = MatchTemplate(stars, pattern, options);
    WriteLog(QStringLiteral("Info"),
             QStringLiteral("auto match: %1, pole star (%2,%3), turn %4, %5 of %6 stars, score "
                            "%7 against %8")
                 .arg(r.found ? QStringLiteral("found") : QStringLiteral("refused"))
                 .arg(r.poleStarX, 0, 'f', 2)
                 .arg(r.poleStarY, 0, 'f', 2)
                 .arg(r.angleDeg, 0, 'f', 2)
                 .arg(r.matched)
                 .arg(r.expected)
                 .arg(r.score, 0, 'f', 2)
                 .arg(r.runnerUpScore, 0, 'f', 2));
    return r;
}

// The match on the current frame, then what a double-click on the pole star and the
// rotation bar do. Nothing changes when no fit convinces.
void AutoMatch(TFormMain& w, QSlider* bar) {
    if (!g_cameraOpen)
        return;
    const AutoMatchResult r = MatchCurrentFrame(w);
    if (!r.found) {
        ShowNote(w, TranslateMessage(QString::fromLatin1(kNoMatchText)));
        return;
    }
    w.mouseX = r.poleStarX;
    w.mouseY = r.poleStarY;
    w.ActOnPickedStar(r.poleStarX, r.poleStarY);
    bar->setValue(r.barValue);
    w.ShowTip(w.wizardStep); // a note shown before goes
}

void StopFollowing(TFormMain& w) {
    w.Timer_autoAxis->stop();
    w.axisSession.reset();
}

void ShowTurnSoFar(TFormMain& w, double turned) {
    ShowNote(w, TranslateMessage(QString::fromLatin1(kFollowText)) +
                    QStringLiteral(" %1°").arg(turned, 0, 'f', 1));
}

// The fitted axis takes the place of the three picks: the positions of one star at
// the start, middle and end of the turn, the circle's centre and radius, the marks.
void FinishAxis(TFormMain& w, const AxisFitResult& fit) {
    StopFollowing(w);
    w.ui->Rectangle_tipMsg->hide();
    w.ui->Image_rotateDirect->hide();
    for (int i = 0; i < 3; ++i)
        w.RecordStarPosition(i + 1, fit.star[i][0], fit.star[i][1]);
    w.circleX = fit.centreX;
    w.circleY = fit.centreY;
    w.circleRadius = static_cast<int>(fit.radius);
    if (g_displayThread)
        g_displayThread->SetCirCenter(w.circleRadius, w.circleX, w.circleY);
    g_showAxisMark = true;
    g_showAxisCircle = true;
    WriteLog(QStringLiteral("Info"),
             QStringLiteral("auto axis: centre (%1,%2) over %3 degrees, %4 points of %5 stars, "
                            "%6 dropped, rms %7 px")
                 .arg(fit.centreX, 0, 'f', 2)
                 .arg(fit.centreY, 0, 'f', 2)
                 .arg(fit.turnDeg, 0, 'f', 1)
                 .arg(fit.points)
                 .arg(fit.tracks)
                 .arg(fit.rejected)
                 .arg(fit.rmsPx, 0, 'f', 3));
    w.GoToStep(Wizard::ValidateCenter, TFormMain::ImgCursor::Default);
}

} // namespace

void TFormMain::InstallAutoAlign() {
    if (Timer_autoAxis)
        return;
    Timer_autoAxis = new QTimer(this);
    Timer_autoAxis->setObjectName(QStringLiteral("Timer_autoAxis"));
    Timer_autoAxis->setInterval(AxisFollowSession::kIntervalMs);
    connect(Timer_autoAxis, &QTimer::timeout, this, &TFormMain::Timer_autoAxisTimer);
    connect(ui->AutoBtn_mask_finding, &QToolButton::clicked, this,
            &TFormMain::AutoBtn_mask_findingClick);
    connect(ui->AutoBtn_rough, &QToolButton::clicked, this, &TFormMain::AutoBtn_roughClick);
    connect(ui->Btn_autoAxis, &QPushButton::clicked, this, &TFormMain::Btn_autoAxisClick);
}

void TFormMain::AutoBtn_mask_findingClick() {
    if (wizardStep == Wizard::ConfirmPolaris)
        AutoMatch(*this, ui->TrackBar_mask_finding);
}

void TFormMain::AutoBtn_roughClick() {
    if (wizardStep == Wizard::GetExpectPolaris || wizardStep == Wizard::GetCurrentPolaris)
        AutoMatch(*this, ui->TrackBar_mask_rough);
}

void TFormMain::Btn_autoAxisClick() {
    if (wizardStep != Wizard::GetFirstPos || !g_cameraOpen)
        return;
    if (Timer_autoAxis->isActive()) {
        StopFollowing(*this);
        ui->Image_rotateDirect->hide();
        ShowTip(wizardStep);
        return;
    }
    // The sky turns about the pole where the template of step 2 shows it.
    axisSession = std::make_shared<AxisFollowSession>(TemplateSkyTurn());
    ui->Image_rotateDirect->show();
    ShowTurnSoFar(*this, 0.0);
    Timer_autoAxis->start();
    Timer_autoAxisTimer();
}

void TFormMain::Timer_autoAxisTimer() {
    // Leaving step 3 any way (a pick, a disconnection, a hemisphere switch) ends it.
    if (wizardStep != Wizard::GetFirstPos || !g_cameraOpen || !axisSession) {
        StopFollowing(*this);
        if (wizardStep < Wizard::GetFirstPos)
            ui->Image_rotateDirect->hide();
        return;
    }
    cv::Mat copy;
    const cv::Mat& frame = PickFrame(copy);
    const AxisFollowSession::Step step = axisSession->AddFrame(frame, PickFrameUtcSeconds(*clock_));
    if (step.fit) {
        FinishAxis(*this, *step.fit);
        return;
    }
    ShowTurnSoFar(*this, step.turnedDeg);
}
