#include "guidance/MountTexts.h"

#include "i18n/Languages.h"
#include "i18n/TextTable.h"

namespace {

void Fill(const QString& code, QHash<QString, QString>& out) {
    TextTable table;
    if (!ReadTextTableResource(QStringLiteral("Mount_") + code, table))
        return;
    for (const TextEntry& e : table)
        out.insert(e.key, e.value);
}

} // namespace

MountTexts MountTexts::ForLanguage(const QString& code) {
    MountTexts t;
    Fill(t.code_, t.texts_); // English first
    if (IsKnownLanguage(code) && code != t.code_) {
        t.code_ = code;
        Fill(code, t.texts_);
    }
    return t;
}

QString MountTexts::Text(const char* key) const {
    const QString k = QString::fromLatin1(key);
    return texts_.value(k, k);
}

ScrewTurnWords MountTexts::TurnWords() const {
    return {Text("TurnEighth"),        Text("TurnQuarter"), Text("TurnHalf"),
            Text("TurnThreeQuarters"), Text("TurnOne"),     Text("TurnMany"),
            Text("TurnClockwise"),     Text("TurnCounter")};
}
