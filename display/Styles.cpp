#include "app/MainFormUnit.h"
#include "ui_FormMain.h"

#include "camera/DisplayThread.h"
#include "core/Log.h"
#include "dialogs/AtmRefFormUnit.h"
#include "display/NightStyle.h"
#include "display/NightWindows.h"
#include "display/Overlays.h"
#include "display/StyleBook.h"
#include "workflow/TraceFormUnit.h"
#include "workflow/MountTools.h"

#include <QLabel>
#include <QPixmap>

namespace {

const QColor kTipGhostWhite(0xF8, 0xF8, 0xFF);
const QColor kTipAmber(0xF5, 0xAB, 0x28);
const QColor kTipNight(0xDC, 0x1E, 0x00); // a warm red, the brightest text of the night style

bool KnownStyle(const QString& style) {
    return style == QLatin1String("Mono") || style == QLatin1String("Color") ||
           style == QLatin1String("Night");
}

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
    label->setProperty(kOwnStyledPicture, true);
    label->update();
}

void SetTextColour(QWidget* w, const QColor& colour) {
    w->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
}

} // namespace

void TFormMain::ChangeUIStyle(const QString& style) {
    if (!KnownStyle(style))
        return;
    WriteLog(QStringLiteral("Info"), QStringLiteral("ChangeUIStyle to ") + style);
    // Color, Mono and Night are one choice: at most one of the two items is checked.
    ui->MenuItem_style->setChecked(style == QLatin1String("Mono"));
    ui->MenuItem_nightStyle->setChecked(IsNightStyle(style));
    ApplyStyleWord(this, style);
    // The rest of the application (About, message boxes, menus, own colours) follows.
    SetNightLook(IsNightStyle(style));
    g_iniFileInfo.style = style;
}

void TFormMain::ChangePoleAxisIcon(const QString& style) {
    if (!KnownStyle(style))
        return;
    WriteLog(QStringLiteral("Info"), QStringLiteral("ChangePoleAxisIcon to ") + style);
    if (IsNightStyle(style)) {
        // The live marks' own night shades, so the legend matches the close-up.
        SetLabelPicture(ui->polePNG_Rectangle,
                        TintImage(ResourceImage("PoleIcon_color"), QColorOf(kNightPole)));
        SetLabelPicture(ui->axisPNG_Rectangle,
                        TintImage(ResourceImage("AxisIcon_color"), QColorOf(kNightAxis)));
        return;
    }
    const bool mono = style == QLatin1String("Mono");
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
    // Night: the coloured spheres in red shades (the check mark and the cross still tell).
    SetLabelPicture(circle, IsNightStyle(g_uiStyle) ? NightImage(picture) : picture);
    if (circle)
        circle->setProperty("recorded", recorded);
}

void TFormMain::ChangeTipColor(const QString&) {
    const QColor colour = IsNightStyle(g_uiStyle)  ? kTipNight
                          : IsMonoStyle(g_uiStyle) ? kTipGhostWhite
                                                   : kTipAmber;
    for (QWidget* w : {static_cast<QWidget*>(ui->Text_tip), static_cast<QWidget*>(ui->Label_ask),
                       static_cast<QWidget*>(ui->Btn1_tip), static_cast<QWidget*>(ui->Btn2_tip)})
        SetTextColour(w, colour);
}

void TFormMain::MenuItem_styleClick() {
    // The item is checkable, so the click has already inverted the check mark:
    // checked now means the user asked for Mono.
    ApplyStyleEverywhere(ui->MenuItem_style->isChecked() ? QStringLiteral("Mono")
                                                         : QStringLiteral("Color"));
}

void TFormMain::MenuItem_nightStyleClick() {
    // Checked: the night style; unchecked: back to Color.
    ApplyStyleEverywhere(ui->MenuItem_nightStyle->isChecked() ? QStringLiteral("Night")
                                                              : QStringLiteral("Color"));
}

void TFormMain::ApplyStyleEverywhere(const QString& style) {
    g_uiStyle = style;
    if (mountTools_)
        mountTools_->SetNight(style == QLatin1String("Night"));
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
    // The live view, the close-up and the read-out take the style with the next frame.
    ShowTemplatePictures();
}
