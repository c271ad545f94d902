// Recording stand-ins for the sound guidance's voice and tones: they keep what would
// have been said and played, stamped with the driver's clock.
//
// Usage:
//   double now = 0.0;
//   auto voice = std::make_unique<RecordingVoice>(&now, QStringList{"EN"});  // voices it has
//   auto tones = std::make_unique<RecordingTones>(&now);
//   RecordingVoice* said = voice.get();
//   SoundGuidance g(std::move(voice), std::move(tones));
//   g.SetEnabled(true);
//   for (...) { now = t; g.Update(t, input); }
//   said->lines   // {t, text, code} in order
#pragma once

#include "guidance/GuidanceOutputs.h"

#include <QString>
#include <QStringList>

#include <vector>

class RecordingVoice : public GuidanceVoice {
public:
    struct Line {
        double t;
        QString text;
        QString code;
    };

    explicit RecordingVoice(const double* clock, QStringList codes = {QStringLiteral("EN")},
                            bool available = true)
        : clock_(clock), codes_(std::move(codes)), available_(available) {}

    bool Available() const override { return available_; }
    bool Speaks(const QString& code) const override { return codes_.contains(code); }
    void Say(const QString& text, const QString& code) override {
        lines.push_back({*clock_, text, code});
    }

    QStringList Texts() const {
        QStringList out;
        for (const Line& l : lines)
            out << l.text;
        return out;
    }

    std::vector<Line> lines;

private:
    const double* clock_;
    QStringList codes_;
    bool available_;
};

class RecordingTones : public GuidanceToneOutput {
public:
    struct Tone {
        double t;
        std::vector<double> pitchesHz;
        int ms;
    };

    explicit RecordingTones(const double* clock, bool available = true)
        : clock_(clock), available_(available) {}

    bool Available() const override { return available_; }
    void Play(const std::vector<double>& pitchesHz, int ms) override {
        played.push_back({*clock_, pitchesHz, ms});
    }

    std::vector<Tone> played;

private:
    const double* clock_;
    bool available_;
};
