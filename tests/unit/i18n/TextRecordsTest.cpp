#include "i18n/TextRecords.h"

#include <gtest/gtest.h>

#include "QStringPrinter.h"

namespace {

const QString kSigmaOct = QString::fromUtf8("σ Oct");

TEST(TextRecords, UnknownLanguageCodesLoadEnglish) {
    // Codes compare exactly: the lower-case form of a known code is no language.
    for (const char* code : {"de", "XX", "", "En", "DE "}) {
        SCOPED_TRACE(code);
        MENUS menus;
        ASSERT_TRUE(LoadMenuRecord(code, menus));
        EXPECT_EQ(menus.FileMenu, "File");
        EXPECT_EQ(menus.ManualMenu, "ZenithWand Manual");
        EXPECT_EQ(menus.FontFamily, "Times New Roman");
        MESSAGETIPS tips;
        ASSERT_TRUE(LoadTipRecord(code, "N", tips));
        EXPECT_EQ(tips.ZenithWandSettingTip,
                  "Set the parameters to the left to make more stars around Polaris visable.");
        EXPECT_EQ(LoadLabelDictionary(code).value("North"), "North");
    }
}

TEST(TextRecords, OnlyRegionNLoadsTheNorthernTips) {
    struct Case {
        const char* region;
        bool north;
    };
    for (const Case& c : {Case{"N", true}, Case{"S", false}, Case{"n", false}, Case{"", false},
                          Case{"North", false}, Case{"X", false}}) {
        SCOPED_TRACE(c.region);
        MESSAGETIPS tips;
        ASSERT_TRUE(LoadTipRecord("EN", c.region, tips));
        EXPECT_EQ(tips.MovePolarisTip.contains("Polaris"), c.north);
        EXPECT_EQ(tips.MovePolarisTip.contains(kSigmaOct), !c.north);
        EXPECT_EQ(tips.FinetunePoleBtn1Text, "Restart");
    }
}

TEST(TextRecords, SouthernEnglishTipsSayThePoleStarOnlyWhereItIsNamed) {
    MESSAGETIPS north;
    MESSAGETIPS south;
    ASSERT_TRUE(LoadTipRecord("EN", "N", north));
    ASSERT_TRUE(LoadTipRecord("EN", "S", south));
    EXPECT_EQ(south.ConfirmPolarisTip,
              QString::fromUtf8("Double Click σ Oct and use the 'Rotate' slider on the left to "
                                "rotate the Template to match up to the stars around σ Oct."));
    EXPECT_EQ(south.GetThridBtn1Text, "Reset");
    EXPECT_EQ(north.ChoiseRecordTip, "Would you like to use the 'Axis center position' recorded "
                                     "last time you used Zenithwand ?");
    EXPECT_EQ(south.ChoiseRecordTip, north.ChoiseRecordTip);
}

TEST(TextRecords, MissingKeysKeepThePreviousLanguagesTexts) {
    MENUS menus;
    ASSERT_TRUE(LoadMenuRecord("DE", menus));
    const QString germanExit = menus.ExitMenu;
    ASSERT_NE(germanExit, "Exit");

    // Keys compare without regard to case; the first line with a key holds.
    ApplyTextTable(ReadTextTable("filemenu=Fichier\r\nFILEMENU=later\r\nFontFamily=Arial\r\n"),
                   menus);
    EXPECT_EQ(menus.FileMenu, "Fichier");
    EXPECT_EQ(menus.FontFamily, "Arial");
    EXPECT_EQ(menus.ExitMenu, germanExit);

    MESSAGETIPS tips;
    ApplyTextTable(ReadTextTable("CalcPoleTip=only this"), tips);
    EXPECT_EQ(tips.CalcPoleTip, "only this");
    EXPECT_TRUE(tips.ConfirmPolarisTip.isEmpty());
}

TEST(TextRecords, EmptyTableChangesNothing) {
    MESSAGETIPS tips;
    ASSERT_TRUE(LoadTipRecord("FR", "N", tips));
    const QString before = tips.GetSecondTip;
    ApplyTextTable(ReadTextTable("\xFF\xFE"), tips);
    EXPECT_EQ(tips.GetSecondTip, before);
}

TEST(TextRecords, KoreanDictionaryTranslatesTheMissingCameraMessageOnly) {
    const QString missingCamera = "Not Found ZORCAM ZenithWand equipment!";
    const QString pickFailed = "Get the Star Position failed, please try again.";
    const QHash<QString, QString> korean = LoadLabelDictionary("KR");
    const QString shown = TranslateText(korean, missingCamera);
    EXPECT_NE(shown, missingCamera);
    EXPECT_TRUE(std::any_of(shown.cbegin(), shown.cend(), [](QChar c) {
        return c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3; // Hangul syllables
    })) << shown.toStdString();
    EXPECT_EQ(TranslateText(korean, pickFailed), pickFailed);
    // Codes compare exactly: the lower-case code is no language and gives English.
    EXPECT_EQ(TranslateText(LoadLabelDictionary("kr"), missingCamera), missingCamera);
}

TEST(TextRecords, OneBlankValueShowsABlank) {
    // The translator credit line of the Japanese dictionary is a single blank.
    const QHash<QString, QString> japanese = LoadLabelDictionary("JP");
    const QHash<QString, QString> english = LoadLabelDictionary("EN");
    QString creditKey;
    for (auto it = english.cbegin(); it != english.cend(); ++it) {
        if (it.key().contains("translation"))
            creditKey = it.key();
    }
    ASSERT_FALSE(creditKey.isEmpty());
    EXPECT_EQ(TranslateText(japanese, creditKey), " ");
    EXPECT_EQ(TranslateText(english, creditKey), creditKey);
}

} // namespace
