#include "i18n/TextTable.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

#include "QStringPrinter.h"

namespace {

QByteArray Encode(const QString& text, const char* mark, QStringConverter::Encoding encoding) {
    QStringEncoder encoder(encoding);
    return QByteArray(mark) + QByteArray(encoder.encode(text));
}

TextTable Expected() {
    return {{"FontFamily", QString::fromUtf8("微软雅黑")},
            {"Key With Blanks ", " a = b "},
            {"Blank", " "},
            {"Empty", ""},
            {"Last", QString::fromUtf8("σ Oct")}};
}

QString Lines(const QString& end, bool endAfterLast) {
    QString text;
    const TextTable expected = Expected();
    for (qsizetype i = 0; i < expected.size(); ++i) {
        text += expected[i].key + u'=' + expected[i].value;
        if (i + 1 < expected.size() || endAfterLast)
            text += end;
    }
    return text;
}

void ExpectSameEntries(const TextTable& got, const TextTable& want) {
    ASSERT_EQ(got.size(), want.size());
    for (qsizetype i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].key, want[i].key) << "line " << i;
        EXPECT_EQ(got[i].value, want[i].value) << "line " << i;
    }
}

TEST(TextTable, EveryMarkAndLineEndGivesTheSameEntries) {
    struct Case {
        const char* name;
        const char* mark;
        QStringConverter::Encoding encoding;
    };
    const Case encodings[] = {
        {"utf-16le", "\xFF\xFE", QStringConverter::Utf16LE},
        {"utf-16be", "\xFE\xFF", QStringConverter::Utf16BE},
        {"utf-8 with mark", "\xEF\xBB\xBF", QStringConverter::Utf8},
        {"no mark (system encoding, UTF-8 here)", "", QStringConverter::Utf8},
    };
    const char* ends[] = {"\r\n", "\n", "\r"};
    for (const Case& c : encodings) {
        for (const char* end : ends) {
            for (bool endAfterLast : {true, false}) {
                SCOPED_TRACE(std::string(c.name) + " end=" + QByteArray(end).toHex().toStdString() +
                             (endAfterLast ? " terminated" : " unterminated"));
                const QByteArray raw = Encode(Lines(end, endAfterLast), c.mark, c.encoding);
                ExpectSameEntries(ReadTextTable(raw), Expected());
            }
        }
    }
}

TEST(TextTable, LinesWithoutEqualsSignAndBlankLinesCarryNoEntry) {
    const TextTable table = ReadTextTable("\r\njust a note\r\n\r\nA=1\r\n\n\rB=\r\n");
    ExpectSameEntries(table, {{"A", "1"}, {"B", ""}});
}

TEST(TextTable, MarkWithoutTextAndEmptyBytesGiveNoEntries) {
    EXPECT_TRUE(ReadTextTable(QByteArray()).isEmpty());
    EXPECT_TRUE(ReadTextTable("\xFF\xFE").isEmpty());
    EXPECT_TRUE(ReadTextTable("\xEF\xBB\xBF").isEmpty());
}

TEST(TextTable, FindTextEntryTakesTheFirstMatchInAnyLetterCase) {
    const TextTable table = ReadTextTable("fontfamily=first\r\nFontFamily=second\r\n");
    const TextEntry* any = FindTextEntry(table, "FONTFAMILY");
    ASSERT_NE(any, nullptr);
    EXPECT_EQ(any->value, "first");
    const TextEntry* exact = FindTextEntry(table, "FontFamily", Qt::CaseSensitive);
    ASSERT_NE(exact, nullptr);
    EXPECT_EQ(exact->value, "second");
    EXPECT_EQ(FindTextEntry(table, "Font"), nullptr);
}

TEST(TextTable, ResourceNamesAreFoundWithoutRegardToCase) {
    EXPECT_EQ(FindTableResource("Menu_EN"), ":/Menu_EN");
    EXPECT_EQ(FindTableResource("menu_en"), ":/Menu_EN");
    EXPECT_EQ(FindTableResource("LANG_EN_NORTH"), ":/Lang_en_north");
    EXPECT_TRUE(FindTableResource("Menu_XX").isEmpty());
    EXPECT_TRUE(FindTableResource("").isEmpty());
}

TEST(TextTable, MissingResourceIsReportedNotFatal) {
    TextTable table{{"stale", "entry"}};
    EXPECT_FALSE(ReadTextTableResource("TipsMsgXX_N", table));
    EXPECT_TRUE(table.isEmpty());
}

} // namespace
