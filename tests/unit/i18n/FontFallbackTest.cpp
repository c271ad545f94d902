#include "i18n/Languages.h"

#include <QFont>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

// A few characters each language's texts are made of.
QString SampleFor(const QString& code) {
    if (code == "CN")
        return QString::fromUtf8("北极星设置完成");
    if (code == "JP")
        return QString::fromUtf8("北極星をダブルクリック");
    if (code == "KR")
        return QString::fromUtf8("북극성을 더블 클릭");
    if (code == "RU")
        return QString::fromUtf8("Полярная звезда");
    return QString::fromUtf8("Français Español Português Übernehmen σ");
}

bool DrawsAll(const QString& family, const QString& text) {
    const QFontMetrics metrics{QFont(family)};
    for (QChar c : text) {
        if (!c.isSpace() && !metrics.inFont(c))
            return false;
    }
    return true;
}

TEST(FontFallback, EveryLanguagesFamiliesResolveToAnInstalledFontThatDrawsIt) {
    for (const LanguageInfo& lang : Languages()) {
        for (const QString& wanted : {lang.menuFont, lang.tipFontNorth, lang.tipFontSouth}) {
            SCOPED_TRACE((lang.code + " " + wanted).toStdString());
            const QString family = ResolveFontFamily(wanted, lang.writingSystem);
            ASSERT_FALSE(family.isEmpty());
            EXPECT_TRUE(QFontDatabase::hasFamily(family)) << family.toStdString();
            EXPECT_TRUE(DrawsAll(family, SampleFor(lang.code))) << family.toStdString();
        }
    }
}

TEST(FontFallback, AnInstalledFamilyThatDrawsTheScriptIsKept) {
    const QStringList latin = QFontDatabase::families(QFontDatabase::Latin);
    ASSERT_FALSE(latin.isEmpty());
    const QString installed = latin.first().section(" [", 0, 0);
    EXPECT_EQ(ResolveFontFamily(installed, QFontDatabase::Latin), installed);
}

TEST(FontFallback, AMissingFamilyIsReplacedByOneOfTheSameKind) {
    // A family name that no machine has: serif and sans requests stay serif and sans.
    const QString serif = ResolveFontFamily("Zzq Missing Serif", QFontDatabase::Latin);
    const QString sans = ResolveFontFamily("Zzq Missing Sans", QFontDatabase::Latin);
    EXPECT_NE(serif, sans);
    EXPECT_TRUE(QFontDatabase::hasFamily(serif));
    EXPECT_TRUE(QFontDatabase::hasFamily(sans));
}

TEST(FontFallback, ALatinOnlyFamilyIsNotUsedForChinese) {
    // The southern Chinese tips name a Latin family; Chinese must still be drawn.
    const QString family = ResolveFontFamily("Tahoma", QFontDatabase::SimplifiedChinese);
    EXPECT_TRUE(DrawsAll(family, SampleFor("CN"))) << family.toStdString();
}

} // namespace
