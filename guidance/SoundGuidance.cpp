#include "guidance/SoundGuidance.h"

#include "core/Log.h"

SoundGuidance::SoundGuidance(std::unique_ptr<GuidanceVoice> voice,
                             std::unique_ptr<GuidanceToneOutput> tones,
                             const GuidanceParams& params)
    : voice_(std::move(voice)), tones_(std::move(tones)), planner_(params) {
    SetLanguage(QStringLiteral("EN"));
}

const std::vector<double>& SettledChordHz() {
    static const std::vector<double> chord = {1046.5, 1318.5, 1568.0};
    return chord;
}

bool SoundGuidance::AudioAvailable() const {
    return (tones_ && tones_->Available()) || (voice_ && voice_->Available());
}

void SoundGuidance::SetLanguage(const QString& code) {
    windowPhrases_ = GuidancePhrases::ForLanguage(code);
    const bool voiced = voice_ && voice_->Available() && voice_->Speaks(windowPhrases_.code);
    spokenPhrases_ = voiced ? windowPhrases_ : GuidancePhrases::ForLanguage(QStringLiteral("EN"));
}

void SoundGuidance::SetEnabled(bool on) {
    if (on == enabled_)
        return;
    enabled_ = on;
    planner_.Reset();
    if (on)
        ReportMissingOutputs();
}

void SoundGuidance::ReportMissingOutputs() {
    if (reported_)
        return;
    const bool tones = tones_ && tones_->Available();
    const bool voice = voice_ && voice_->Available();
    if (tones && voice)
        return;
    reported_ = true;
    if (!tones)
        WriteLog(QStringLiteral("Warnning"),
                 QStringLiteral("Sound guidance: no audio device, no tones are played."));
    if (!voice)
        WriteLog(QStringLiteral("Warnning"),
                 QStringLiteral("Sound guidance: no speech voice, no instructions are spoken."));
}

void SoundGuidance::Update(double tSeconds, const GuidanceInput& input) {
    if (!enabled_)
        return;
    const GuidanceEvents ev = planner_.Update(tSeconds, input);
    const bool tones = tones_ && tones_->Available();
    if (tones && ev.chord)
        tones_->Play(SettledChordHz(), kSettledChordMs);
    else if (tones && ev.beep)
        tones_->Play({ev.beepPitchHz}, ev.beepMs);
    if (ev.speak && voice_ && voice_->Available())
        voice_->Say(spokenPhrases_.Say(*ev.speak), spokenPhrases_.code);
}
