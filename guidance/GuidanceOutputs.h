// The two outputs of the sound guidance: a voice and a tone generator. The program
// uses the Qt ones (guidance/audio/); tests use recording stand-ins.
//
// Usage (implementing one):
//   class MyVoice : public GuidanceVoice {
//       bool Available() const override;                       // a voice exists at all
//       bool Speaks(const QString& code) const override;       // a voice for "DE"
//       void Say(const QString& text, const QString& code) override;
//   };
#pragma once

#include <QString>

#include <vector>

class GuidanceVoice {
public:
    virtual ~GuidanceVoice() = default;
    // False where the system has no speech engine or no voice: nothing is said.
    virtual bool Available() const = 0;
    // True when a voice for the language code ("EN", "DE", ...) exists.
    virtual bool Speaks(const QString& code) const = 0;
    // Says `text` in the language `code`, cutting short what is still being said.
    virtual void Say(const QString& text, const QString& code) = 0;
};

class GuidanceToneOutput {
public:
    virtual ~GuidanceToneOutput() = default;
    // False where there is no audio device: nothing is played.
    virtual bool Available() const = 0;
    // Plays the tones of `pitchesHz` together for `ms` milliseconds (one pitch: a beep).
    virtual void Play(const std::vector<double>& pitchesHz, int ms) = 0;
};
