#include "guidance/audio/QtVoice.h"

#include "i18n/Languages.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QTextToSpeech>

#include <optional>
#include <utility>

namespace {

// The first locale of the engine in `language`, if any.
std::optional<QLocale> LocaleFor(const QTextToSpeech& speech, QLocale::Language language) {
    for (const QLocale& l : speech.availableLocales()) {
        if (l.language() == language)
            return l;
    }
    return std::nullopt;
}

} // namespace

QtVoice::QtVoice() {
    // A voice with nothing to speak through is no voice.
    if (QTextToSpeech::availableEngines().isEmpty() || QMediaDevices::defaultAudioOutput().isNull())
        return;
    speech_ = std::make_unique<QTextToSpeech>();
    available_ = speech_->state() != QTextToSpeech::Error && !speech_->availableLocales().isEmpty();
}

QtVoice::~QtVoice() = default;

bool QtVoice::Available() const {
    return available_;
}

bool QtVoice::Speaks(const QString& code) const {
    return available_ && LocaleFor(*speech_, LanguageFor(code).language).has_value();
}

void QtVoice::Say(const QString& text, const QString& code) {
    if (!available_)
        return;
    if (const auto locale = LocaleFor(*speech_, LanguageFor(code).language);
        locale && speech_->locale() != *locale)
        speech_->setLocale(*locale);
    speech_->say(text);
}
