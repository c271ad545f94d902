// Checks every table the program ships: its keys, its stored encoding, that it decodes
// cleanly and that the northern and southern tips differ only where the pole star is named.
#include "i18n/Languages.h"
#include "i18n/TextRecords.h"
#include "i18n/TextTable.h"

#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

#include "QStringPrinter.h"

namespace {

const QString kSigmaOct = QString::fromUtf8("σ Oct");

const QStringList kDictionaryKeys = {
    "Region Selection", "North", "South", QString::fromUtf8("Confirm Polaris/σ Oct"),
    "Matching Template", "Rotate", "Rough Pole", "Axis Center", "Star Pos 1", "Star Pos 2",
    "Star Pos 3", "Axis:", "(Selece the same star every times)",
    QString::fromUtf8("Current Polaris/σ Oct"), QString::fromUtf8("Expected Polaris/σ Oct"),
    "Precise Pole", "Monitor Pole (P)", "Start Monitor", "Reference Star A", "Reference Star B",
    "Position:", "Pole:", "ZenithWand Setting", "Parameters", "Exp(ms):", "Gain:", "OK",
    "Not Found ZORCAM ZenithWand equipment!", "Latitude", "Longitude", "P (kPa)", "P (hPa)",
    QString::fromUtf8("T ( °C)"), "Enable Astronomical Refraction Correction",
    "Tracking :", "Reset",
    // The Camera window and its messages.
    "Camera...", "Camera", "Simulated camera", "Camera on an INDI server", "INDI server",
    "Host:", "Port:", "Camera:", "Read cameras", "Focal length (mm):", "Cancel",
    "The choice takes effect at the next Connect.", "Reading the cameras of the server...",
    "No INDI server answers at this host and port.", "The server offers no camera.",
    "Cameras found: %1", "Camera gain: %1 (%2, %3 to %4)", "The settings file cannot be written.",
    "The INDI camera library is missing.",
    "The camera's image scale is %1\" per pixel; the star "
    "templates need about 30.5\". Check the focal length in the "
    "Camera window.",
    "The camera's image scale is unknown. Enter the lens's "
    "focal length in the Camera window so that the stars match "
    "the templates.",
    // the automatic template match and RA axis
    "Auto", "Auto Axis",
    "No convincing match of the template was found, so "
    "nothing was changed. Turn the template by hand, or try "
    "again with more stars in view.",
    "Turn the RA axis slowly, or in steps, in the direction of "
    "the arrow by at least 30 degrees: the program follows the "
    "stars. Press \"Auto Axis\" again to stop. Turned so far:"};

const QSet<QString> kSouthernKeys = {"ZenithWandSettingTip", "ConfirmPolarisTip",
                                     "GetFirstPosTip",       "GetExpectPolarisTip",
                                     "MovePolarisTip",       "GetCurrentPolarisTip"};

enum class Stored { Utf16Le, Utf8, Ascii };

Stored StoredEncoding(const QString& table) {
    if (table == "Menu_EN" || table == "TipsMsgEN_N")
        return Stored::Ascii;
    if (table == "Menu_IT" || table == "TipsMsgIT_N" || table == "TipsMsgIT_S" ||
        table == "TipsMsgEN_S")
        return Stored::Utf8;
    return Stored::Utf16Le;
}

QByteArray RawTable(const QString& name) {
    QFile file(":/" + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QStringList Keys(const TextTable& table) {
    QStringList keys;
    for (const TextEntry& e : table)
        keys << e.key;
    return keys;
}

QString Value(const TextTable& table, const QString& key) {
    const TextEntry* e = FindTextEntry(table, key, Qt::CaseSensitive);
    return e ? e->value : QString();
}

bool HasScript(const TextTable& table, QChar::Script script) {
    for (const TextEntry& e : table) {
        for (QChar c : e.value) {
            if (c.script() == script)
                return true;
        }
    }
    return false;
}

QStringList AllTableNames() {
    QStringList names;
    for (const LanguageInfo& lang : Languages()) {
        names << MenuTableName(lang.code) << TipTableName(lang.code, "N")
              << TipTableName(lang.code, "S") << DictionaryTableName(lang.code);
    }
    return names;
}

TEST(LanguageTables, AllFortyAreStoredInTheirEncodingAndDecodeCleanly) {
    const QStringList names = AllTableNames();
    ASSERT_EQ(QSet<QString>(names.cbegin(), names.cend()).size(), 40);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray raw = RawTable(name);
        ASSERT_FALSE(raw.isEmpty());
        switch (StoredEncoding(name)) {
        case Stored::Utf16Le:
            EXPECT_TRUE(raw.startsWith("\xFF\xFE"));
            EXPECT_EQ(raw.size() % 2, 0);
            break;
        case Stored::Utf8:
            EXPECT_TRUE(raw.startsWith("\xEF\xBB\xBF"));
            break;
        case Stored::Ascii:
            EXPECT_TRUE(
                std::all_of(raw.cbegin(), raw.cend(), [](char c) { return c > 0 && c < 0x7F; }));
            break;
        }
        const QString text = DecodeTextTable(raw);
        EXPECT_FALSE(text.contains(QChar::ReplacementCharacter));
        EXPECT_FALSE(text.contains(QChar(0xFEFF))); // the mark is not part of the text
        // Every line ends in CR LF.
        EXPECT_TRUE(text.endsWith("\r\n"));
        EXPECT_EQ(text.count('\n'), text.count("\r\n"));
        EXPECT_EQ(text.count('\r'), text.count("\r\n"));
        // Every table that holds a character outside ASCII carries a mark.
        if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 0x7F; })) {
            EXPECT_NE(StoredEncoding(name), Stored::Ascii);
        }
    }
}

TEST(LanguageTables, EachTableHasExactlyItsKeys) {
    QStringList menuKeys;
    for (const auto& f : MenuFields())
        menuKeys << f.key;
    QStringList tipKeys;
    for (const auto& f : TipFields())
        tipKeys << f.key;
    QStringList sortedDictKeys = kDictionaryKeys;
    sortedDictKeys.sort();

    const TextTable englishDict = ReadTextTable(RawTable("Lang_en_north"));
    for (const LanguageInfo& lang : Languages()) {
        SCOPED_TRACE(lang.code.toStdString());
        const TextTable menu = ReadTextTable(RawTable(MenuTableName(lang.code)));
        QStringList keys = Keys(menu);
        ASSERT_FALSE(keys.isEmpty());
        EXPECT_EQ(keys.first(), "FontFamily");
        keys.sort();
        QStringList want = menuKeys;
        want.sort();
        EXPECT_EQ(keys, want);

        for (const char* region : {"N", "S"}) {
            const TextTable tips = ReadTextTable(RawTable(TipTableName(lang.code, region)));
            EXPECT_EQ(Keys(tips), tipKeys) << region; // same keys, same order
            for (const TextEntry& e : tips)
                EXPECT_FALSE(e.value.trimmed().isEmpty()) << e.key.toStdString();
        }

        const TextTable dict = ReadTextTable(RawTable(DictionaryTableName(lang.code)));
        ASSERT_EQ(dict.size(), kDictionaryKeys.size() + 1);
        QStringList dictKeys = Keys(dict);
        // The last key is the translator credit line, whatever the English form names.
        const QString creditKey = Keys(englishDict).last();
        EXPECT_TRUE(dictKeys.removeOne(creditKey));
        dictKeys.sort();
        EXPECT_EQ(dictKeys, sortedDictKeys);
        for (const TextEntry& e : dict)
            EXPECT_FALSE(e.value.isEmpty()) << e.key.toStdString();
    }
    for (const TextEntry& e : englishDict)
        EXPECT_EQ(e.value, e.key);
}

TEST(LanguageTables, FontFamiliesFollowTheLanguagesTable) {
    for (const LanguageInfo& lang : Languages()) {
        SCOPED_TRACE(lang.code.toStdString());
        EXPECT_EQ(Value(ReadTextTable(RawTable(MenuTableName(lang.code))), "FontFamily"),
                  lang.menuFont);
        EXPECT_EQ(Value(ReadTextTable(RawTable(TipTableName(lang.code, "N"))), "FontFamily"),
                  lang.tipFontNorth);
        EXPECT_EQ(Value(ReadTextTable(RawTable(TipTableName(lang.code, "S"))), "FontFamily"),
                  lang.tipFontSouth);
    }
}

TEST(LanguageTables, SouthernTipsNameSigmaOctWhereNorthernNamePolaris) {
    for (const LanguageInfo& lang : Languages()) {
        SCOPED_TRACE(lang.code.toStdString());
        const TextTable north = ReadTextTable(RawTable(TipTableName(lang.code, "N")));
        const TextTable south = ReadTextTable(RawTable(TipTableName(lang.code, "S")));
        ASSERT_EQ(north.size(), south.size());
        for (qsizetype i = 0; i < north.size(); ++i) {
            const QString& key = north[i].key;
            SCOPED_TRACE(key.toStdString());
            EXPECT_FALSE(north[i].value.contains(QChar(0x03C3)));
            if (kSouthernKeys.contains(key)) {
                EXPECT_TRUE(south[i].value.contains(kSigmaOct));
            } else if (key != "FontFamily") {
                EXPECT_EQ(south[i].value, north[i].value);
            }
        }
    }
}

TEST(LanguageTables, TranslationsAreWrittenInTheirLanguagesScript) {
    const TextTable englishTips = ReadTextTable(RawTable("TipsMsgEN_N"));
    const TextTable englishMenu = ReadTextTable(RawTable("Menu_EN"));
    for (const LanguageInfo& lang : Languages()) {
        if (lang.code == "EN")
            continue;
        SCOPED_TRACE(lang.code.toStdString());
        const TextTable tips = ReadTextTable(RawTable(TipTableName(lang.code, "N")));
        const TextTable menu = ReadTextTable(RawTable(MenuTableName(lang.code)));
        const TextTable dict = ReadTextTable(RawTable(DictionaryTableName(lang.code)));
        for (const TextEntry& e : tips) {
            if (e.key.endsWith("Tip")) {
                EXPECT_NE(e.value, Value(englishTips, e.key)) << e.key.toStdString();
            }
        }
        for (const char* key : {"ToolsMenu", "HelpMenu", "LangMenu", "AstroRefMenu"})
            EXPECT_NE(Value(menu, key), Value(englishMenu, key)) << key;
        for (const char* key : {"Region Selection", "Start Monitor", "Reference Star A",
                                "Not Found ZORCAM ZenithWand equipment!"})
            EXPECT_NE(Value(dict, key), key) << key;

        QChar::Script script = QChar::Script_Latin;
        if (lang.code == "CN" || lang.code == "JP")
            script = QChar::Script_Han;
        else if (lang.code == "KR")
            script = QChar::Script_Hangul;
        else if (lang.code == "RU")
            script = QChar::Script_Cyrillic;
        EXPECT_TRUE(HasScript(tips, script));
        EXPECT_TRUE(HasScript(menu, script));
        EXPECT_TRUE(HasScript(dict, script));
        if (lang.code == "JP") {
            EXPECT_TRUE(HasScript(tips, QChar::Script_Hiragana));
        }
    }
}

} // namespace
