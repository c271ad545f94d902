#include "app/MainFormUnit.h"
#include "ui_FormMain.h"

#include "core/Log.h"
#include "camera/DisplayThread.h"
#include "dialogs/AtmRefFormUnit.h"
#include "display/Overlays.h"
#include "display/StyleBook.h"
#include "workflow/TraceFormUnit.h"

#include <QLabel>
#include <QPixmap>

namespace {

const QColor kTipGhostWhite(0xF8, 0xF8, 0xFF);
const QColor kTipAmber(0xF5, 0xAB, 0x28);

// A picture of the program's resources, or a null image when it is missing.
QImage ResourceImage(const char* name) {
    return QImage(QStringLiteral(":/") + QString::fromLatin1(name));
}

void SetLabelPicture(QLabel* label, const QImage& picture) {
    if (!label)
        return;
    // Stretched to the control, as a circle or rectangle filled with the bitmap.
    const QSize size = label->size().isEmpty() ? label->minimumSize() : label->size();
    QImage shown = picture;
    if (!picture.isNull() && !size.isEmpty() && picture.size() != size)
        shown = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    label->setPixmap(QPixmap::fromImage(shown));
    label->update();
}

void SetTextColour(QWidget* w, const QColor& colour) {
    w->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
}

} // namespace

void TFormMain::ChangeUIStyle(const QString& style) {
    if (style != QLatin1String("Mono") && style != QLatin1String("Color"))
        return;
    const bool mono = style == QLatin1String("Mono");
    WriteLog(QStringLiteral("Info"), QStringLiteral("ChangeUIStyle to ") + style);
    ui->MenuItem_style->setChecked(mono);
    ApplyStyleWord(this, style);
    g_iniFileInfo.style = style;
}

void TFormMain::ChangePoleAxisIcon(const QString& style) {
    if (style != QLatin1String("Mono") && style != QLatin1String("Color"))
        return;
    const bool mono = style == QLatin1String("Mono");
    WriteLog(QStringLiteral("Info"), QStringLiteral("ChangePoleAxisIcon to ") + style);
    SetLabelPicture(ui->polePNG_Rectangle,
                    ResourceImage(mono ? "PoleIcon_mono" : "PoleIcon_color"));
    SetLabelPicture(ui->axisPNG_Rectangle,
                    ResourceImage(mono ? "AxisIcon_mono" : "AxisIcon_color"));
}

void TFormMain::LoadLightImages() {
    // The buffers are made at window show; nothing to load into before that.
    lightOnMono = ResourceImage("Img_lighton_mono");
    lightOffMono = ResourceImage("Img_lightoff_mono");
    lightOnColor = ResourceImage("Img_lighton_color");
    lightOffColor = ResourceImage("Img_lightoff_color");

    // The fixed pictures of the window: the rotation-direction arrow and the logo.
    ui->Image_rotateDirect->setPixmap(QPixmap(QStringLiteral(":/Image_rotateDirect")));
    ui->Image_rotateDirect->setScaledContents(true);
    ui->Image_logo->setPixmap(QPixmap(QStringLiteral(":/Image_logo")));
}

void TFormMain::SetStarPosIndicator(QLabel* circle, bool recorded) {
    const bool mono = IsMonoStyle(g_uiStyle);
    const QImage& picture =
        mono ? (recorded ? lightOnMono : lightOffMono) : (recorded ? lightOnColor : lightOffColor);
    SetLabelPicture(circle, picture);
    if (circle)
        circle->setProperty("recorded", recorded);
}

void TFormMain::ChangeTipColor(const QString&) {
    const QColor colour = IsMonoStyle(g_uiStyle) ? kTipGhostWhite : kTipAmber;
    for (QWidget* w : {static_cast<QWidget*>(ui->Text_tip), static_cast<QWidget*>(ui->Label_ask),
                       static_cast<QWidget*>(ui->Btn1_tip), static_cast<QWidget*>(ui->Btn2_tip)})
        SetTextColour(w, colour);
}

void TFormMain::MenuItem_styleClick() {
    // The item is checkable, so the click has already inverted the check mark:
    // checked now means the user asked for Mono.
    const QString style =
        ui->MenuItem_style->isChecked() ? QStringLiteral("Mono") : QStringLiteral("Color");
    g_uiStyle = style;
    // The capture thread draws the pole close-up in the style's colours as well.
    if (g_displayThread)
        g_displayThread->SetCloseUpStyle(style);
    ChangeUIStyle(style);
    ChangePoleAxisIcon(style);
    HighlightExposureButtons();
    HighlightGainButtons();
    SetStarPosIndicator(ui->Circle_starPos1, starPicked1);
    SetStarPosIndicator(ui->Circle_starPos2, starPicked2);
    SetStarPosIndicator(ui->Circle_starPos3, starPicked3);
    if (FormTrace)
        FormTrace->ChangeUIStyle(style);
    if (FormAtmRef)
        FormAtmRef->ChangeUIStyle(style);
    ChangeTipColor(style);
}
