// The sound guidance the window owns: switched on or off from the Tools menu, fed the
// alignment error of every frame, and playing the planner's tones and instructions
// through its outputs. The spoken language is the window's where a voice for it exists,
// else English. Missing outputs (no audio device, no voice) are logged once and the
// rest of the program works as before.
//
// Usage:
//   SoundGuidance guidance(std::move(voice), std::move(tones));  // outputs may be null
//   guidance.SetLanguage(curLang);          // on every language switch
//   guidance.SetEnabled(true);              // Tools menu
//   guidance.Update(tSeconds, input);       // every frame of the monitor mode
//   if (!guidance.AudioAvailable()) item->setText(guidance.Phrases().noAudio);
#pragma once

#include "guidance/GuidanceOutputs.h"
#include "guidance/GuidancePhrases.h"
#include "guidance/GuidancePlanner.h"

#include <memory>

class SoundGuidance {
public:
    SoundGuidance(std::unique_ptr<GuidanceVoice> voice, std::unique_ptr<GuidanceToneOutput> tones,
                  const GuidanceParams& params = {});

    void SetEnabled(bool on);
    bool Enabled() const { return enabled_; }
    void SetLanguage(const QString& code);

    // The phrases in the window's language (menu texts); the spoken ones may be English.
    const GuidancePhrases& Phrases() const { return windowPhrases_; }
    const GuidancePhrases& SpokenPhrases() const { return spokenPhrases_; }
    // True when tones can be played or a voice can speak.
    bool AudioAvailable() const;

    void Update(double tSeconds, const GuidanceInput& input);

    const GuidancePlanner& Planner() const { return planner_; }

private:
    void ReportMissingOutputs();

    std::unique_ptr<GuidanceVoice> voice_;
    std::unique_ptr<GuidanceToneOutput> tones_;
    GuidancePlanner planner_;
    GuidancePhrases windowPhrases_;
    GuidancePhrases spokenPhrases_;
    bool enabled_ = false;
    bool reported_ = false;
};

// The pitches of the "settled" chord: a major triad an octave above the beeps' middle.
const std::vector<double>& SettledChordHz();
constexpr int kSettledChordMs = 450;
