// The alignment wizard: the tip panel, the answer buttons, "Start Monitor", the
// ring animation and the reset after a disconnection.
#include "app/MainFormUnit.h"
#include "ui_FormMain.h"

#include "app/Expander.h"
#include "astro/Customfunc.h"
#include "camera/DisplayThread.h"
#include "core/Log.h"
#include "dialogs/MessageBoxes.h"
#include "display/AlignmentReadoutView.h"
#include "display/LiveImageView.h"
#include "display/Readouts.h"
#include "i18n/TextRecords.h"
#include "workflow/PickFrame.h"
#include "workflow/TraceFormUnit.h"
#include "workflow/WizardSteps.h"
#include "workflow/MountTools.h"

#include <QGraphicsDropShadowEffect>
#include <QTimer>

namespace {

void SetFontFamily(QWidget* w, const QString& family) {
    QFont f = w->font();
    f.setFamily(family);
    w->setFont(f);
}

// To open a panel is to expand and enable it; to close it, to collapse and disable it.
void OpenPanel(Expander* e) {
    e->setExpanded(true);
    e->setEnabled(true);
}
void ClosePanel(Expander* e) {
    e->setExpanded(false);
    e->setEnabled(false);
}

void HideTraceWindow() {
    if (FormTrace && FormTrace->isVisible())
        FormTrace->hide();
}

void ClearStarPicks(TFormMain& w) {
    w.starPicked1 = w.starPicked2 = w.starPicked3 = false;
    w.SetStarPosIndicator(w.ui->Circle_starPos1, w.starPicked1);
    w.SetStarPosIndicator(w.ui->Circle_starPos2, w.starPicked2);
    w.SetStarPosIndicator(w.ui->Circle_starPos3, w.starPicked3);
}

// "Reset" in steps 4 to 8: the three picks start again.
void ResetPicks(TFormMain& w) {
    ClearStarPicks(w);
    g_showAxisMark = false;
    g_showAxisCircle = false;
    w.ui->Image_rotateDirect->hide();
    if (g_displayThread)
        g_displayThread->SetCirCenter(0, 0, 0);
    w.ui->Label_criCenterPos->setText(PositionReadout(0, 0));
    w.GoToStep(Wizard::GetFirstPos, TFormMain::ImgCursor::Hand);
}

// "Restart" in step 13: monitor mode ends and the wizard starts over.
void Restart(TFormMain& w) {
    if (w.Mount())
        w.Mount()->MonitorEnded();
    ClearStarPicks(w);
    g_showAxisMark = false;
    g_monitorPole = false;
    g_showRefStarA = false;
    g_showRefStarB = false;
    OpenPanel(w.ui->Expander_camSetting);
    ClosePanel(w.ui->Expander_finding);
    ClosePanel(w.ui->Expander_rough);
    ClosePanel(w.ui->Expander_precise);
    w.ui->MenuItem_trace->setEnabled(false);
    HideTraceWindow();
    w.GoToStep(Wizard::ZenithWandSetting);
}

// Step 2 answered: the recorded axis centre replaces the three picks when the user
// accepts it. Only a centre confirmed in the current hemisphere is offered.
void OfferRecordedCenter(TFormMain& w) {
    const bool offer = g_recordedCenterValid && w.curRegion == g_iniFileInfo.region;
    if (!offer || !AskYesNo(g_tipTexts.ChoiseRecordTip)) {
        w.GoToStep(Wizard::GetFirstPos, TFormMain::ImgCursor::Hand);
        return;
    }
    w.starPicked1 = w.starPicked2 = w.starPicked3 = true;
    w.SetStarPosIndicator(w.ui->Circle_starPos1, w.starPicked1);
    w.SetStarPosIndicator(w.ui->Circle_starPos2, w.starPicked2);
    w.SetStarPosIndicator(w.ui->Circle_starPos3, w.starPicked3);
    w.axisX = w.recAxisX;
    w.axisY = w.recAxisY;
    if (g_displayThread) {
        g_displayThread->SetEptNStar(w.eptNStarX, w.eptNStarY);
        g_displayThread->SetCirCenter(1, w.axisX, w.axisY); // the circle itself stays hidden
    }
    g_showAxisMark = true;
    w.ui->Label_criCenterPos->setText(PositionReadout(w.axisX, w.axisY));
    w.GoToStep(Wizard::GetExpectPolaris, TFormMain::ImgCursor::Hand);
}

// Step 8 answered "Correct": the circle's centre becomes the axis centre and is
// recorded (with its hemisphere) for the next session.
void ConfirmAxisCenter(TFormMain& w) {
    w.axisX = w.circleX;
    w.axisY = w.circleY;
    g_showAxisCircle = false;
    w.ui->Label_criCenterPos->setText(PositionReadout(w.axisX, w.axisY));
    g_iniFileInfo.region = w.curRegion;
    g_iniFileInfo.centerX = w.axisX;
    g_iniFileInfo.centerY = w.axisY;
    w.GoToStep(Wizard::GetExpectPolaris, TFormMain::ImgCursor::Default);
}

// Step 8 answered "Correct" when the three picks gave no circle: the centre of the
// last circle that was found stands, and the tracker and the axis mark take it again
// (a "Reset" since may have cleared them).
void ConfirmPreviousCenter(TFormMain& w) {
    if (g_displayThread)
        g_displayThread->SetCirCenter(w.circleRadius, w.circleX, w.circleY);
    g_showAxisMark = true;
    ConfirmAxisCenter(w);
}

// Step 11 answered: reference star A is predicted through the turned template and
// measured; B is the pole star just picked. Both become the tracker's seeds.
void FixReferenceStars(TFormMain& w) {
    double ox = 0;
    double oy = 0;
    RotatePoint(w.maskAngle, g_maskAX, g_maskAY, g_maskBX, g_maskBY, ox, oy);
    w.starAX = w.curNStarX - g_maskBX + ox;
    w.starAY = w.curNStarY - g_maskBY + oy;

    cv::Mat copy;
    const cv::Mat& frame = PickFrame(copy);
    double sx = 0;
    double sy = 0;
    if (GetPreciseStarPos(frame, w.starAX, w.starAY, sx, sy) == 1) {
        w.starAX = w.starAStartX = sx;
        w.starAY = w.starAStartY = sy;
        if (g_displayThread)
            g_displayThread->SetRefStarA(w.starAX, w.starAY);
    }
    if (GetPreciseStarPos(frame, w.curNStarX, w.curNStarY, sx, sy) == 1) {
        w.curNStarX = w.starBStartX = sx;
        w.curNStarY = w.starBStartY = sy;
        if (g_displayThread)
            g_displayThread->SetRefStarB(w.curNStarX, w.curNStarY);
    }
    w.ui->Label_starA_baryPos->setText(PositionReadout(w.starAX, w.starAY));
    w.ui->Label_starB_baryPos->setText(PositionReadout(w.curNStarX, w.curNStarY));

    ClosePanel(w.ui->Expander_camSetting);
    ClosePanel(w.ui->Expander_finding);
    ClosePanel(w.ui->Expander_rough);
    OpenPanel(w.ui->Expander_precise);

    g_showEptNStar = false;
    w.Img_Mask->setVisible(false);
    w.ui->MenuItem_showMask->setChecked(false);
    w.Timer1->stop();
    w.GlowEffect_rotate2->setEnabled(false);
    w.GoToStep(Wizard::CalcPole, TFormMain::ImgCursor::Default);
}

} // namespace

void TFormMain::GoToStep(int step, ImgCursor cursor) {
    wizardStep = step;
    if (cursor == ImgCursor::Hand)
        Img_cap->setCursor(Qt::PointingHandCursor);
    else if (cursor == ImgCursor::Default)
        Img_cap->setCursor(Qt::ArrowCursor);
    ShowTip(step);
}

void TFormMain::ShowTip(int n) {
    if (!workflowFiltersInstalled)
        InstallWorkflowFilters();
    if (!HasTip(n)) {
        ui->Rectangle_tipMsg->hide();
        return;
    }
    const TipRow& row = TipRowOf(n);
    const MESSAGETIPS& t = g_tipTexts;
    auto text = [&t](QString MESSAGETIPS::*field) { return field ? t.*field : QString(); };

    ui->Text_tip->setText(text(row.tip));
    ui->Label_ask->setText(text(row.ask));
    ui->Btn1_tip->setText(text(row.btn1));
    ui->Btn2_tip->setText(text(row.btn2));
    for (QWidget* c : {static_cast<QWidget*>(ui->Text_tip), static_cast<QWidget*>(ui->Label_ask),
                       static_cast<QWidget*>(ui->Btn1_tip), static_cast<QWidget*>(ui->Btn2_tip)})
        SetFontFamily(c, t.FontFamily);

    ui->Btn1_tip->setVisible(row.btn1 != nullptr);
    ui->Btn2_tip->setVisible(row.btn2 != nullptr);
    ui->Label_ask->setVisible(row.ask != nullptr);
    // Long tips (and longer languages) grow the panel downwards instead of being cut off.
    ui->Rectangle_tipMsg->adjustSize();
    ui->Rectangle_tipMsg->setVisible(true);
    ui->Rectangle_tipMsg->raise();
}

void TFormMain::Btn1_tipClick() {
    switch (wizardStep) {
    case Wizard::RotateFirst:
    case Wizard::GetSecond:
    case Wizard::RotateSecond:
    case Wizard::GetThird:
    case Wizard::ValidateCenter:
        ui->Rectangle_tipMsg->hide();
        ResetPicks(*this);
        break;
    case Wizard::FinetunePole:
        ui->Rectangle_tipMsg->hide();
        Restart(*this);
        break;
    default: // the button is hidden in every other step
        break;
    }
}

void TFormMain::Btn2_tipClick() {
    switch (wizardStep) {
    case Wizard::ZenithWandSetting:
        ui->Rectangle_tipMsg->hide();
        ClosePanel(ui->Expander_camSetting);
        OpenPanel(ui->Expander_finding);
        GoToStep(Wizard::ConfirmPolaris, ImgCursor::Default);
        break;
    case Wizard::ConfirmPolaris:
        ui->Rectangle_tipMsg->hide();
        Img_Mask->setVisible(false);
        ui->MenuItem_showMask->setChecked(false);
        Img_Mask->setRotation(0);
        ClosePanel(ui->Expander_camSetting);
        ClosePanel(ui->Expander_finding);
        OpenPanel(ui->Expander_rough);
        Timer1->stop();
        // The rough template starts where the finding template was left (a change
        // runs the rough rotation).
        ui->TrackBar_mask_rough->setValue(ui->TrackBar_mask_finding->value());
        OfferRecordedCenter(*this);
        break;
    case Wizard::RotateFirst:
        ui->Rectangle_tipMsg->hide();
        ui->Image_rotateDirect->hide();
        GoToStep(Wizard::GetSecond, ImgCursor::Hand);
        break;
    case Wizard::RotateSecond:
        ui->Rectangle_tipMsg->hide();
        ui->Image_rotateDirect->hide();
        GoToStep(Wizard::GetThird, ImgCursor::Hand);
        break;
    case Wizard::ValidateCenter:
        ui->Rectangle_tipMsg->hide();
        if (g_showAxisMark)
            ConfirmAxisCenter(*this);
        else if (circleX != 0 || circleY != 0)
            ConfirmPreviousCenter(*this);
        else
            ResetPicks(*this); // never a circle: there is no centre to confirm
        break;
    case Wizard::GetExpectPolaris:
        ui->Rectangle_tipMsg->hide();
        Timer1->stop();
        GlowEffect_rotate2->setEnabled(false);
        Img_Mask->setVisible(false);
        ui->MenuItem_showMask->setChecked(false);
        GoToStep(Wizard::MovePolaris, ImgCursor::Default);
        break;
    case Wizard::MovePolaris:
        ui->Rectangle_tipMsg->hide();
        GoToStep(Wizard::GetCurrentPolaris, ImgCursor::Hand);
        break;
    case Wizard::GetCurrentPolaris:
        ui->Rectangle_tipMsg->hide();
        FixReferenceStars(*this);
        break;
    case Wizard::FinetunePole:
        // Only the panel goes; it comes back with the next ShowTip.
        ui->Rectangle_tipMsg->hide();
        break;
    default: // the button is hidden in every other step
        break;
    }
}

void TFormMain::Btn_calcPolarAxisClick() {
    if (wizardStep != Wizard::CalcPole)
        return;
    WriteLog(QStringLiteral("Info"), QStringLiteral("start Monitor pole."));
    ui->Rectangle_tipMsg->hide();
    ui->MenuItem_trace->setEnabled(true);
    HandSkyOfMomentToTracker(curRegion);
    ClearAlignmentReadout(*this);
    if (mountTools_)
        mountTools_->MonitorStarted();
    g_monitorPole = true;
    g_showRefStarA = true;
    g_showRefStarB = true;
    GoToStep(Wizard::FinetunePole);
}

void TFormMain::Timer_updateAngleTimer() {
    if (g_showEptNStar) {
        g_ringAngle += 10.0;
        if (g_ringAngle > 72.0)
            g_ringAngle = 0;
    }
    KeepOverlayOnItsStar();
}

void TFormMain::ResetWorkflow() {
    if (mountTools_)
        mountTools_->MonitorEnded();
    ClearAlignmentReadout(*this);
    ClearStarPicks(*this);
    ClearOverlayFlags();
    ui->Image_rotateDirect->hide();
    ui->Rectangle_tipMsg->hide();
    Img_Mask->setVisible(false);
    ui->MenuItem_trace->setEnabled(false);
    HideTraceWindow();
    Timer1->stop();
    wizardStep = Wizard::Idle;
}
