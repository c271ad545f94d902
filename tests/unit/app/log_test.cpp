#include "core/Log.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <thread>

namespace {

class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        g_logFilePath = dir.filePath(QStringLiteral("run.log"));
    }
    void TearDown() override { g_logFilePath.clear(); }

    QByteArray contents() const {
        QFile f(g_logFilePath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};

TEST_F(LogTest, LevelWordsMapToTheirTags) {
    struct Case {
        const char* level;
        const char* tag;
    };
    const Case cases[] = {
        {"Error", "[Error]"},  {"Warnning", "[Warnning]"}, {"Info", "[Info]"},
        {"ERROR", "[Info]"},   {"warnning", "[Info]"},     {"Warn", "[Info]"},
        {"Eror", "[Info]"},    {"", "[Info]"},             {"Warning", "[Info]"},
    };
    for (const Case& c : cases) {
        QFile::remove(g_logFilePath);
        ASSERT_TRUE(WriteLog(QString::fromLatin1(c.level), QStringLiteral("message")));
        const QByteArray line = contents();
        static const QRegularExpression shape(
            QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d\\t(\\[\\w+\\])\\tmessage\\r\\n$"));
        const auto m = shape.match(QString::fromUtf8(line));
        ASSERT_TRUE(m.hasMatch()) << c.level << ": " << line.constData();
        EXPECT_EQ(m.captured(1), QString::fromLatin1(c.tag)) << c.level;
    }
}

TEST_F(LogTest, EmptyMessageWritesTimeTagAndLineEnd) {
    ASSERT_TRUE(WriteLog(QStringLiteral("Info"), QString()));
    const QByteArray line = contents();
    EXPECT_EQ(line.size(), 12 + 8 + 2);
    EXPECT_TRUE(line.endsWith("\t[Info]\t\r\n"));
}

TEST_F(LogTest, AppendsAndRecreatesADeletedFile) {
    WriteLog(QStringLiteral("Info"), QStringLiteral("one"));
    WriteLog(QStringLiteral("Info"), QStringLiteral("two"));
    EXPECT_EQ(contents().count("\r\n"), 2);
    QFile::remove(g_logFilePath);
    WriteLog(QStringLiteral("Info"), QStringLiteral("three"));
    EXPECT_TRUE(contents().endsWith("three\r\n"));
    EXPECT_EQ(contents().count("\r\n"), 1);
}

TEST_F(LogTest, AMissingFolderDropsTheLineWithoutThrowing) {
    g_logFilePath = dir.filePath(QStringLiteral("no/such/folder/run.log"));
    EXPECT_FALSE(WriteLog(QStringLiteral("Error"), QStringLiteral("lost")));
}

TEST_F(LogTest, TwoThreadsWriteWholeLines) {
    auto writer = [](const char* who) {
        for (int i = 0; i < 1000; ++i)
            WriteLog(QStringLiteral("Info"), QStringLiteral("%1 line %2").arg(QLatin1String(who)).arg(i));
    };
    std::thread a(writer, "capture");
    std::thread b(writer, "interface");
    a.join();
    b.join();
    const QList<QByteArray> lines = contents().split('\n');
    ASSERT_EQ(lines.size(), 2001); // 2000 lines and the empty rest after the last LF
    static const QRegularExpression whole(QStringLiteral(
        "^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d\\t\\[Info\\]\\t(capture|interface) line \\d+\\r$"));
    int capture = 0;
    for (int i = 0; i < 2000; ++i) {
        const auto m = whole.match(QString::fromUtf8(lines[i]));
        ASSERT_TRUE(m.hasMatch()) << lines[i].constData();
        capture += m.captured(1) == QLatin1String("capture");
    }
    EXPECT_EQ(capture, 1000);
}

} // namespace
