// The spoken instructions of the sound guidance and their menu texts, in one of the ten
// languages, from the language table "Guide_<code>" (written by tools/i18n). Amounts
// are written as digits; the speech engine speaks them as words.
//
// Usage:
//   GuidancePhrases de = GuidancePhrases::ForLanguage("DE");   // unknown codes: English
//   QString text = de.Say(advice);             // "Höhe hoch, 2 Bogenminuten"
//   std::optional<GuidanceAdvice> back = de.Parse(text);       // the same advice again
//   menuItem->setText(de.menu);
//
// Parse reads a spoken text back into direction and amount (the simulated user of the
// end-to-end tests turns the screws by it); it returns nothing for a text that is none
// of the instructions.
#pragma once

#include "guidance/GuidancePlanner.h"

#include <QString>

#include <optional>

struct GuidancePhrases {
    QString code;    // "EN"
    QString menu;    // "Sound Guidance"
    QString noAudio; // "Sound Guidance (no audio device)"
    QString altUp;   // "altitude up, %1" (%1: the amount)
    QString altDown;
    QString azEast;
    QString azWest;
    QString minute;  // "%1 arcminute"
    QString minutes; // "%1 arcminutes"
    QString seconds; // "%1 seconds"
    QString aligned; // "aligned"

    static GuidancePhrases ForLanguage(const QString& code);

    QString Say(const GuidanceAdvice& advice) const;
    std::optional<GuidanceAdvice> Parse(const QString& text) const;
};
