// The guidance voice on Qt's text-to-speech: the default engine (the offline flite one
// on Debian), a voice of the asked language where one exists.
//
// Usage:
//   auto voice = std::make_unique<QtVoice>();     // on the UI thread, QApplication running
//   if (voice->Available()) voice->Say("aligned", "EN");
//
// Where no engine, no voice or no audio output exists, Available() is false and Say does
// nothing.
#pragma once

#include "guidance/GuidanceOutputs.h"

#include <QLocale>

#include <memory>

class QTextToSpeech;

class QtVoice : public GuidanceVoice {
public:
    QtVoice();
    ~QtVoice() override;

    bool Available() const override;
    bool Speaks(const QString& code) const override;
    void Say(const QString& text, const QString& code) override;

private:
    std::unique_ptr<QTextToSpeech> speech_;
    bool available_ = false;
};
