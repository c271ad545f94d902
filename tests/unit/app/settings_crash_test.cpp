// A process that is killed while it saves the settings leaves either the file as it
// was before that save or the whole new file, never a part of one.
#include "app/Settings.h"
#include "settings_records.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

namespace {

QByteArray Composed(const QByteArray& existing, const INIFILEINFO& info) {
    QByteArray out;
    EXPECT_TRUE(ComposeSettingsText(existing, info, out));
    return out;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no file>");
}

TEST(SettingsCrashTest, AKillDuringASaveLeavesTheOldOrTheNewWholeFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("ZenithWand.ini"));
    const QByteArray oldText = Composed({}, OldSettingsRecord());
    const QByteArray newText = Composed(oldText, NewSettingsRecord());
    ASSERT_EQ(Composed(newText, OldSettingsRecord()), oldText);
    ASSERT_NE(oldText.size(), newText.size());

    // How long one save takes here: the kills fall anywhere within a few saves.
    QFile seed(path);
    ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
    seed.write(oldText);
    seed.close();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(SaveSettingsFile(path, i % 2 ? OldSettingsRecord() : NewSettingsRecord()));
    const qint64 saveUs = std::max<qint64>(100, timer.nsecsElapsed() / 10000);

    const QString writer =
        QDir(qEnvironmentVariable("ZW_TEST_BIN_DIR")).filePath(QStringLiteral("settings_writer"));
    std::mt19937 random(20261210);
    std::uniform_int_distribution<qint64> delayUs(0, 4 * saveUs);
    constexpr int kKills = 300;
    int sawOld = 0;
    int sawNew = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        QProcess process;
        process.start(writer, {path});
        ASSERT_TRUE(process.waitForReadyRead(60000)) << "the writer did not start";
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        process.kill(); // SIGKILL
        ASSERT_TRUE(process.waitForFinished(60000));
        ASSERT_EQ(process.exitStatus(), QProcess::CrashExit)
            << "the writer stopped by itself: " << process.readAllStandardError().toStdString();

        const QByteArray text = ReadAll(path);
        ASSERT_TRUE(text == oldText || text == newText)
            << "after kill " << kill + 1 << " the file holds:\n"
            << text.toStdString();
        (text == oldText ? sawOld : sawNew)++;
    }
    // The kills fell within the saves, not only before the first.
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
    const QStringList left = QDir(dir.path()).entryList(QDir::Files);
    RecordProperty("old", sawOld);
    RecordProperty("new", sawNew);
    RecordProperty("files left", left.join(QLatin1Char(' ')).toStdString());
}

} // namespace
