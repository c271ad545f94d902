// Star picking on the live image and the two template rotation controls.
#include "app/MainFormUnit.h"
#include "ui_FormMain.h"

#include "astro/Customfunc.h"
#include "camera/DisplayThread.h"
#include "core/Log.h"
#include "dialogs/MessageBoxes.h"
#include "display/LiveImageView.h"
#include "display/Readouts.h"
#include "workflow/PickFrame.h"
#include "workflow/WizardSteps.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QSlider>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kBlinkIntervalMs = 1000;
constexpr int kRingIntervalMs = 100;

void StepBar(QSlider* bar, int by) {
    bar->setValue(std::clamp(bar->value() + by, bar->minimum(), bar->maximum()));
}

// One wheel event turns a rotation bar by one degree, whatever its delta; the bar's
// own wheel stepping is left out so the turn stays one degree.
class RotationWheelFilter : public QObject {
public:
    RotationWheelFilter(TFormMain* form, QSlider* finding, QSlider* rough)
        : QObject(form), form_(form), finding_(finding), rough_(rough) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel)
            return false;
        const QPoint angle = static_cast<QWheelEvent*>(event)->angleDelta();
        const int delta = angle.y() != 0 ? angle.y() : angle.x();
        if (watched == finding_)
            form_->TrackBar_mask_findingMouseWheel(delta);
        else if (watched == rough_)
            form_->TrackBar_mask_roughMouseWheel(delta);
        else
            return false;
        return true;
    }

private:
    TFormMain* form_;
    QSlider* finding_;
    QSlider* rough_;
};

void StartBlinking(TFormMain& w) {
    w.Timer1->setInterval(kBlinkIntervalMs);
    w.Timer1->start();
}

// Shows the template centred on the pointer (not on the measured star).
void ShowOverlayAtPointer(TFormMain& w) {
    w.PlaceOverlay(w.mouseX, w.mouseY);
    w.Img_Mask->setVisible(true);
    w.ui->MenuItem_showMask->setChecked(true);
}

// The sky turned between the picks, about the pole: the axis is the centre of the
// circle of a still sky (astro/SkyTurn.h).
void TakeSkyTurnOutOfCircle(TFormMain& w) {
    const std::array<double, 3>& t = w.PickSeconds();
    const AxisCircle c = AxisFromPicks({{{w.starPos1X, w.starPos1Y, t[0]},
                                         {w.starPos2X, w.starPos2Y, t[1]},
                                         {w.starPos3X, w.starPos3Y, t[2]}}},
                                       w.PickSky());
    if (!c.ok)
        return;
    WriteLog(QStringLiteral("Info"),
             QStringLiteral("axis with the sky's turn of %1 s taken out: (%2,%3), %4 px from "
                            "the circle's centre")
                 .arg(t[2] - t[0], 0, 'f', 1)
                 .arg(c.x, 0, 'f', 2)
                 .arg(c.y, 0, 'f', 2)
                 .arg(std::hypot(c.x - w.circleX, c.y - w.circleY), 0, 'f', 3));
    w.circleX = c.x;
    w.circleY = c.y;
    w.circleRadius = static_cast<int>(c.radius);
}

// The pole star picked in step 9 or 11: the template goes on it, and the expected
// position follows from the template's pole at the current angle.
void PickPoleStar(TFormMain& w, double sx, double sy) {
    ShowOverlayAtPointer(w);
    w.curNStarX = sx;
    w.curNStarY = sy;
    w.ui->CurNStar_X_rough->setText(TruncatedText(sx));
    w.ui->CurNStar_Y_rough->setText(TruncatedText(sy));
    w.TrackBar_mask_roughChange();
    w.ui->TrackBar_mask_rough->setFocus();
    StartBlinking(w);
    w.Img_cap->setCursor(Qt::ArrowCursor);
    g_showEptNStar = true;
}

} // namespace

void TFormMain::InstallWorkflowFilters() {
    if (workflowFiltersInstalled)
        return;
    workflowFiltersInstalled = true;
    auto* filter =
        new RotationWheelFilter(this, ui->TrackBar_mask_finding, ui->TrackBar_mask_rough);
    ui->TrackBar_mask_finding->installEventFilter(filter);
    ui->TrackBar_mask_rough->installEventFilter(filter);
    InstallAutoAlign();
    // The ring timer runs for good from the first tip on; it only turns the ring
    // while the ring is shown.
    Timer_updateAngle->setInterval(kRingIntervalMs);
    Timer_updateAngle->start();
}

void TFormMain::Img_capDblClick(QPointF imagePos) {
    if (!g_cameraOpen)
        return;
    // The pick is made where the double-click happened.
    mouseX = imagePos.x();
    mouseY = imagePos.y();

    cv::Mat copy;
    double sx = 0;
    double sy = 0;
    if (GetPreciseStarPos(PickFrame(copy), mouseX, mouseY, sx, sy) != 1) {
        ShowMessage(QStringLiteral("Get the Star Position failed, please try again."));
        return;
    }
    ActOnPickedStar(sx, sy);
}

SkyTurn TFormMain::TemplateSkyTurn() const {
    // The pole on the live image when template star B lies on the anchor, the
    // template turned by the step-2 bar.
    double ox = 0;
    double oy = 0;
    RotatePoint(ui->TrackBar_mask_finding->value(), g_maskPX, g_maskPY, g_maskBX, g_maskBY, ox, oy);
    SkyTurn sky;
    sky.poleX = maskAnchorX - g_maskBX + ox;
    sky.poleY = maskAnchorY - g_maskBY + oy;
    sky.degPerSecond = SiderealDegPerSecond(curRegion == QLatin1String("S") ? SkyHemisphere::South
                                                                            : SkyHemisphere::North);
    return sky;
}

void TFormMain::RecordStarPosition(int n, double sx, double sy) {
    QLabel* circles[] = {ui->Circle_starPos1, ui->Circle_starPos2, ui->Circle_starPos3};
    double* xs[] = {&starPos1X, &starPos2X, &starPos3X};
    double* ys[] = {&starPos1Y, &starPos2Y, &starPos3Y};
    bool* picked[] = {&starPicked1, &starPicked2, &starPicked3};
    *xs[n - 1] = sx;
    *ys[n - 1] = sy;
    *picked[n - 1] = true;
    SetStarPosIndicator(circles[n - 1], true);
    Img_cap->setCursor(Qt::ArrowCursor);
}

void TFormMain::ActOnPickedStar(double sx, double sy) {
    switch (wizardStep) {
    case Wizard::ConfirmPolaris:
        ShowOverlayAtPointer(*this);
        Img_cap->setCursor(Qt::ArrowCursor);
        ui->TrackBar_mask_finding->setFocus();
        StartBlinking(*this);
        break;
    case Wizard::GetFirstPos:
        ui->Rectangle_tipMsg->hide();
        RecordStarPosition(1, sx, sy);
        pickSeconds_[0] = PickFrameUtcSeconds(*clock_);
        pickSky_ = TemplateSkyTurn();
        ui->Image_rotateDirect->show();
        GoToStep(Wizard::RotateFirst);
        break;
    case Wizard::GetSecond:
        ui->Rectangle_tipMsg->hide();
        RecordStarPosition(2, sx, sy);
        pickSeconds_[1] = PickFrameUtcSeconds(*clock_);
        ui->Image_rotateDirect->show();
        GoToStep(Wizard::RotateSecond);
        break;
    case Wizard::GetThird:
        ui->Rectangle_tipMsg->hide();
        RecordStarPosition(3, sx, sy);
        pickSeconds_[2] = PickFrameUtcSeconds(*clock_);
        // Three positions on a line give no circle: no marks, step 8 all the same.
        if (CalcCircleCenter(starPos1X, starPos1Y, starPos2X, starPos2Y, starPos3X, starPos3Y,
                             circleX, circleY, circleRadius) == 1) {
            TakeSkyTurnOutOfCircle(*this);
            if (g_displayThread)
                g_displayThread->SetCirCenter(circleRadius, circleX, circleY);
            g_showAxisMark = true;
            g_showAxisCircle = true;
        }
        GoToStep(Wizard::ValidateCenter);
        break;
    case Wizard::GetExpectPolaris:
    case Wizard::GetCurrentPolaris:
        PickPoleStar(*this, sx, sy);
        break;
    default:
        break;
    }
}

void TFormMain::PlaceOverlay(double imageX, double imageY) {
    maskAnchorX = imageX;
    maskAnchorY = imageY;
    maskAnchorZoom = g_zoom;
    // The overlay turns about its centre (template star B) and is drawn at the zoom
    // scale, so its unturned top-left corner lies at (imageX - w/2, imageY - h/2)
    // times the zoom in the scroll box and its centre on the image point.
    const QSizeF size = Img_Mask->boundingRect().size();
    const QPointF centre(size.width() / 2, size.height() / 2);
    Img_Mask->setTransformOriginPoint(centre);
    Img_Mask->setScale(g_zoom);
    Img_Mask->setPos(QPointF(imageX, imageY) * g_zoom - centre);
}

void TFormMain::KeepOverlayOnItsStar() {
    // The live view rescales the overlay when the zoom changes; it stays on its star.
    if (Img_Mask && Img_Mask->isVisible() && Img_Mask->scale() != maskAnchorZoom)
        PlaceOverlay(maskAnchorX, maskAnchorY);
}

void TFormMain::Timer1Timer() {
    if (wizardStep == Wizard::ConfirmPolaris)
        GlowEffect_rotate1->setEnabled(!GlowEffect_rotate1->isEnabled());
    else if (wizardStep == Wizard::GetExpectPolaris || wizardStep == Wizard::GetCurrentPolaris)
        GlowEffect_rotate2->setEnabled(!GlowEffect_rotate2->isEnabled());
}

void TFormMain::TrackBar_mask_findingChange() {
    Img_Mask->setRotation(ui->TrackBar_mask_finding->value());
}

void TFormMain::TrackBar_mask_roughChange() {
    maskAngle = static_cast<float>(ui->TrackBar_mask_rough->value());
    Img_Mask->setRotation(maskAngle);
    if (Img_Mask->isVisible()) {
        // The pole on the live image when template star B lies on the pole star...
        double ox = 0;
        double oy = 0;
        RotatePoint(maskAngle, g_maskPX, g_maskPY, g_maskBX, g_maskBY, ox, oy);
        estPoleX = curNStarX - g_maskBX + ox;
        estPoleY = curNStarY - g_maskBY + oy;
        // ...and where the pole star must go for that pole to sit on the axis centre.
        const double dx = estPoleX - axisX;
        const double dy = estPoleY - axisY;
        eptNStarX = curNStarX - dx;
        eptNStarY = curNStarY - dy;
        if (g_displayThread)
            g_displayThread->SetEptNStar(eptNStarX, eptNStarY);
        ui->EptNStar_X_rough->setText(TruncatedText(eptNStarX));
        ui->EptNStar_Y_rough->setText(TruncatedText(eptNStarY));
    }
    // The live view and the ring keep moving while the bar is dragged.
    QCoreApplication::processEvents();
    QThread::msleep(1);
}

void TFormMain::AddBtn_mask_findingClick() {
    StepBar(ui->TrackBar_mask_finding, +1);
}
void TFormMain::DelBtn_mask_findingClick() {
    StepBar(ui->TrackBar_mask_finding, -1);
}
void TFormMain::AddBtn_roughClick() {
    StepBar(ui->TrackBar_mask_rough, +1);
}
void TFormMain::DelBtn_roughClick() {
    StepBar(ui->TrackBar_mask_rough, -1);
}

void TFormMain::TrackBar_mask_findingMouseWheel(int wheelDelta) {
    StepBar(ui->TrackBar_mask_finding, wheelDelta > 0 ? +1 : -1);
}

void TFormMain::TrackBar_mask_roughMouseWheel(int wheelDelta) {
    StepBar(ui->TrackBar_mask_rough, wheelDelta > 0 ? +1 : -1);
}

void TFormMain::MenuItem_showMaskClick() {
    // The item is checkable: the trigger has already inverted its check mark.
    Img_Mask->setVisible(ui->MenuItem_showMask->isChecked());
}
