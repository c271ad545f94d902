// The texts of the mount tools (the screws in turns, the motorised adjusters, the
// plot of the night) in one of the ten languages, from the table "Mount_<code>"
// (written by tools/i18n).
//
// Usage:
//   const MountTexts t = MountTexts::ForLanguage("DE");    // unknown codes: English
//   button->setText(t.Text("ScrewsCalibrate"));              // "Kalibrieren"
//   ScrewTurnText(turn, t.TurnWords());                      // "eine halbe Drehung im ..."
//
// A key a language lacks reads in English; a key no table has reads as itself.
#pragma once

#include "guidance/ScrewTurns.h"

#include <QHash>
#include <QString>

class MountTexts {
public:
    static MountTexts ForLanguage(const QString& code);
    QString Text(const char* key) const;
    ScrewTurnWords TurnWords() const;
    const QString& Code() const { return code_; }

private:
    QString code_ = QStringLiteral("EN");
    QHash<QString, QString> texts_;
};
