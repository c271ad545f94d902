// The exposure and gain presets: a click stores the wanted value, which the
// capture loop sends to the camera in its next pass, and marks the button.
#include "app/MainFormUnit.h"
#include "ui_FormMain.h"

#include "core/Log.h"

#include <QPushButton>
#include <QStyle>

#include <array>
#include <utility>

namespace {

constexpr QRgb kGhostWhite = 0xFFF8F8FF;
constexpr QRgb kAmber = 0xFFF5AB28;
constexpr QRgb kLightGrey = 0xFFE0E0E0;
constexpr QRgb kNightChosen = 0xFFDC1E00; // the night style's tip red
constexpr QRgb kNightOther = 0xFF960000;  // the night style's plain button text

// The look of one preset button. The style sheets select on the "highlighted"
// property; the font and colour set here stand when no style sheet is loaded.
void MarkButton(QPushButton* button, bool chosen, QRgb chosenColour, QRgb otherColour) {
    button->setProperty("highlighted", chosen);

    QFont font = button->font();
    font.setPixelSize(chosen ? 13 : 12);
    font.setBold(chosen);
    button->setFont(font);

    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, QColor::fromRgba(chosen ? chosenColour : otherColour));
    button->setPalette(palette);

    button->style()->unpolish(button);
    button->style()->polish(button);
    button->update();
}

template <typename T, std::size_t N>
void MarkPresets(const std::array<std::pair<T, QPushButton*>, N>& presets, T value) {
    bool known = false;
    for (const auto& [preset, button] : presets)
        known = known || preset == value;
    if (!known)
        return; // any other value leaves the buttons as they are
    const bool night = g_uiStyle == QLatin1String("Night");
    const QRgb chosenColour = night                                ? kNightChosen
                              : g_uiStyle == QLatin1String("Mono") ? kGhostWhite
                                                                   : kAmber;
    for (const auto& [preset, button] : presets)
        MarkButton(button, preset == value, chosenColour, night ? kNightOther : kLightGrey);
}

} // namespace

void TFormMain::HighlightExposureButtons(double exposure) {
    const std::array<std::pair<double, QPushButton*>, 4> presets{{{50000.0, ui->Btn_exp50},
                                                                  {100000.0, ui->Btn_exp100},
                                                                  {200000.0, ui->Btn_exp200},
                                                                  {300000.0, ui->Btn_exp300}}};
    MarkPresets(presets, exposure);
}

void TFormMain::HighlightGainButtons(int gain) {
    const std::array<std::pair<int, QPushButton*>, 4> presets{
        {{50, ui->Btn_gain50}, {70, ui->Btn_gain70}, {90, ui->Btn_gain90}, {100, ui->Btn_gain100}}};
    MarkPresets(presets, gain);
}

void TFormMain::HighlightExposureButtons() {
    HighlightExposureButtons(g_exposureWanted);
}

void TFormMain::HighlightGainButtons() {
    HighlightGainButtons(g_gainWanted);
}

namespace {

void ChooseExposure(TFormMain* form, double exposure, int milliseconds) {
    if (g_exposureWanted == exposure)
        return;
    WriteLog(QStringLiteral("Info"), QStringLiteral("changed exposure to %1ms").arg(milliseconds));
    g_exposureWanted = exposure;
    form->HighlightExposureButtons(exposure);
}

void ChooseGain(TFormMain* form, int gain) {
    if (g_gainWanted == gain)
        return;
    WriteLog(QStringLiteral("Info"), QStringLiteral("changed gain to %1").arg(gain));
    g_gainWanted = gain;
    form->HighlightGainButtons(gain);
}

} // namespace

void TFormMain::Btn_exp50Click() {
    ChooseExposure(this, 50000.0, 50);
}
void TFormMain::Btn_exp100Click() {
    ChooseExposure(this, 100000.0, 100);
}
void TFormMain::Btn_exp200Click() {
    ChooseExposure(this, 200000.0, 200);
}
void TFormMain::Btn_exp300Click() {
    ChooseExposure(this, 300000.0, 300);
}
void TFormMain::Btn_gain50Click() {
    ChooseGain(this, 50);
}
void TFormMain::Btn_gain70Click() {
    ChooseGain(this, 70);
}
void TFormMain::Btn_gain90Click() {
    ChooseGain(this, 90);
}
void TFormMain::Btn_gain100Click() {
    ChooseGain(this, 100);
}
