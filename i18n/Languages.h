// The ten languages of the user interface: their codes, menu items, table names
// and font families, and the choice of an installed font that can draw them.
//
// Usage:
//   const LanguageInfo& lang = LanguageFor(curLang);      // unknown codes give English
//   QString menuTable = MenuTableName(curLang);            // "Menu_DE"
//   QString tipTable  = TipTableName(curLang, curRegion);  // "TipsMsgDE_N" / "TipsMsgDE_S"
//   QString dict      = DictionaryTableName(curLang);      // "Lang_de_north"
//   for (const QString& code : DictionaryCodes()) ...      // en, cn, jp, de, ... in order;
//       ... LanguageFor(code.toUpper()) ...                 // its language
//   // with a QGuiApplication running:
//   QString family = ResolveFontFamily(g_tipTexts.FontFamily, lang.writingSystem);
//
// Codes compare exactly: "DE" is German, "de" is no language and selects English.
#pragma once

#include <QFontDatabase>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

struct LanguageInfo {
    QString code;           // "DE"
    QString dictionaryCode; // "de"
    QString menuItemName;   // object name of the language's menu item, "MenuItem_lang_de"
    QString menuItemText;   // fixed text of that item, "Deutsch"
    QString menuFont;       // font family named by the menu table
    QString tipFontNorth;   // font family named by the northern tip table
    QString tipFontSouth;   // font family named by the southern tip table
    QFontDatabase::WritingSystem writingSystem; // the script the language is written in
    QLocale::Language language;                 // the language itself, for a speech voice
};

// All ten, in the order of the "Language" menu (EN, CN, JP, RU, FR, DE, ES, PT, IT, KR).
const QList<LanguageInfo>& Languages();

// True when `code` is exactly one of the ten codes.
bool IsKnownLanguage(const QString& code);

// The language of `code`, English for any other code.
const LanguageInfo& LanguageFor(const QString& code);

// The dictionary codes in the order they are registered: en, cn, jp, de, es, fr, ru, pt, it, kr.
QStringList DictionaryCodes();

// Resource names of the tables; unknown codes give the English tables. A region other
// than exactly "N" gives the southern tips.
QString MenuTableName(const QString& code);
QString TipTableName(const QString& code, const QString& region);
QString DictionaryTableName(const QString& code);

// The family to use for `wanted` so that text in `script` never shows as empty boxes:
// `wanted` itself when it is installed and can draw the script; else an installed family
// of the same kind (serif or sans serif) that can, preferring the usual metric twins of
// the named family; else any family that can draw the script; else the system font.
// Needs a QGuiApplication.
QString ResolveFontFamily(const QString& wanted, QFontDatabase::WritingSystem script);
