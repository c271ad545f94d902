// The guidance tones on Qt Multimedia: generated samples played through the default
// audio output. A new tone cuts short the one still playing.
//
// Usage:
//   auto tones = std::make_unique<QtTones>();     // on the UI thread
//   if (tones->Available()) tones->Play({880.0}, 60);
//
// Where no audio output exists, Available() is false and Play does nothing.
#pragma once

#include "guidance/GuidanceOutputs.h"

#include <QBuffer>

#include <memory>

class QAudioSink;

class QtTones : public GuidanceToneOutput {
public:
    QtTones();
    ~QtTones() override;

    bool Available() const override;
    void Play(const std::vector<double>& pitchesHz, int ms) override;

private:
    int sampleRate_ = 22050;
    std::unique_ptr<QAudioSink> sink_;
    QBuffer buffer_;
};
