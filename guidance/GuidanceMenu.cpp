// The window's side of the sound guidance: the Tools menu item, its setting, and the
// per-frame hand-over of the alignment error. The Qt outputs are made only when the
// guidance is first switched on, so a program that never uses it opens no audio device.
#include "app/AppPaths.h"
#include "app/MainFormUnit.h"
#include "guidance/GuidanceSettings.h"
#include "guidance/audio/QtTones.h"
#include "guidance/audio/QtVoice.h"
#include "ui_FormMain.h"

void TFormMain::InitGuidance() {
    const GuidanceSettings s = LoadGuidanceSettings(SettingsFilePath());
    guidanceBandArcsec_ = s.bandArcsec;
    ui->MenuItem_guidance->setChecked(s.sound);
    SetGuidanceOn(s.sound);
}

void TFormMain::MenuItem_guidanceClick() {
    const bool on = ui->MenuItem_guidance->isChecked();
    SetGuidanceOn(on);
    GuidanceSettings s = LoadGuidanceSettings(SettingsFilePath());
    s.sound = on;
    SaveGuidanceSettings(SettingsFilePath(), s);
}

void TFormMain::SetGuidanceOn(bool on) {
    if (on && !guidance_)
        MakeGuidance(std::make_unique<QtVoice>(), std::make_unique<QtTones>());
    if (guidance_)
        guidance_->SetEnabled(on);
    RefreshGuidanceMenu();
}

void TFormMain::UseGuidanceOutputs(std::unique_ptr<GuidanceVoice> voice,
                                   std::unique_ptr<GuidanceToneOutput> tones) {
    const bool on = guidance_ && guidance_->Enabled();
    MakeGuidance(std::move(voice), std::move(tones));
    guidance_->SetEnabled(on);
    RefreshGuidanceMenu();
}

void TFormMain::MakeGuidance(std::unique_ptr<GuidanceVoice> voice,
                             std::unique_ptr<GuidanceToneOutput> tones) {
    GuidanceParams params;
    params.bandArcsec = guidanceBandArcsec_;
    guidance_ = std::make_unique<SoundGuidance>(std::move(voice), std::move(tones), params);
}

void TFormMain::RefreshGuidanceMenu() {
    if (guidance_)
        guidance_->SetLanguage(curLang);
    const GuidancePhrases p =
        guidance_ ? guidance_->Phrases() : GuidancePhrases::ForLanguage(curLang);
    const bool silent = guidance_ && !guidance_->AudioAvailable();
    ui->MenuItem_guidance->setText(silent ? p.noAudio : p.menu);
}

void TFormMain::UpdateGuidance(const GuidanceInput& input) {
    if (guidance_)
        guidance_->Update(clock_->Seconds(), input);
}
