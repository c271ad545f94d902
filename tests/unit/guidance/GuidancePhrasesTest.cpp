// The spoken instructions in the ten languages and their reading back.
#include "guidance/GuidancePhrases.h"

#include "i18n/Languages.h"

#include <gtest/gtest.h>

namespace {

GuidanceAdvice Move(GuidanceAxis axis, int direction, int amount, bool minutes) {
    GuidanceAdvice a;
    a.kind = GuidanceAdvice::Kind::Move;
    a.axis = axis;
    a.direction = direction;
    a.amount = amount;
    a.minutes = minutes;
    return a;
}

TEST(GuidancePhrases, EnglishInstructionsReadAsTheyAreSpoken) {
    const GuidancePhrases en = GuidancePhrases::ForLanguage("EN");
    struct Case {
        GuidanceAdvice advice;
        const char* text;
    } cases[] = {
        {Move(GuidanceAxis::Altitude, 1, 2, true), "altitude up, 2 arcminutes"},
        {Move(GuidanceAxis::Altitude, -1, 1, true), "altitude down, 1 arcminute"},
        {Move(GuidanceAxis::Azimuth, 1, 40, false), "azimuth east, 40 seconds"},
        {Move(GuidanceAxis::Azimuth, -1, 12, true), "azimuth west, 12 arcminutes"},
        {GuidanceAdvice{}, "aligned"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(en.Say(c.advice), c.text);
}

// Every instruction of every language reads back into the same advice, and each
// language has texts of its own.
TEST(GuidancePhrases, EveryLanguageSaysAndReadsBackEveryInstruction) {
    const GuidancePhrases en = GuidancePhrases::ForLanguage("EN");
    for (const LanguageInfo& lang : Languages()) {
        SCOPED_TRACE(lang.code.toStdString());
        const GuidancePhrases p = GuidancePhrases::ForLanguage(lang.code);
        EXPECT_EQ(p.code, lang.code);
        for (GuidanceAxis axis : {GuidanceAxis::Altitude, GuidanceAxis::Azimuth}) {
            for (int direction : {1, -1}) {
                for (auto [amount, minutes] : {std::pair{1, true}, std::pair{7, true},
                                               std::pair{10, false}, std::pair{50, false}}) {
                    const GuidanceAdvice a = Move(axis, direction, amount, minutes);
                    const QString text = p.Say(a);
                    EXPECT_TRUE(text.contains(QString::number(amount))) << text.toStdString();
                    const auto back = p.Parse(text);
                    ASSERT_TRUE(back) << text.toStdString();
                    EXPECT_EQ(*back, a) << text.toStdString();
                    // Another language's instruction is not this one's.
                    if (lang.code != "EN") {
                        EXPECT_NE(text, en.Say(a));
                        EXPECT_FALSE(en.Parse(text)) << text.toStdString();
                    }
                }
            }
        }
        EXPECT_EQ(p.Parse(p.aligned), GuidanceAdvice{});
        EXPECT_FALSE(p.menu.isEmpty());
        EXPECT_TRUE(p.noAudio.startsWith(p.menu)) << p.noAudio.toStdString();
    }
}

TEST(GuidancePhrases, ReadingBackToleratesCaseAndBlanksAndRejectsOtherTexts) {
    const GuidancePhrases en = GuidancePhrases::ForLanguage("EN");
    EXPECT_EQ(en.Parse("  Altitude Up, 3 Arcminutes "), Move(GuidanceAxis::Altitude, 1, 3, true));
    for (const char* text : {"", "altitude up", "altitude up, many arcminutes",
                             "altitude up, 3 arcminutes please", "azimuth north, 2 arcminutes"})
        EXPECT_FALSE(en.Parse(text)) << text;
}

TEST(GuidancePhrases, UnknownCodesSpeakEnglish) {
    for (const char* code : {"", "de", "XX"})
        EXPECT_EQ(GuidancePhrases::ForLanguage(code).aligned, "aligned") << code;
}

} // namespace
