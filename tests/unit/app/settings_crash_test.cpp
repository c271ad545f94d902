// A process that is killed while it saves the settings leaves either the file as it
// was before that save or the whole new file, never a part of one. The writer is a
// child of the test (fork): it saves two records in turn until it is killed.
#include "app/Settings.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The two records the writer saves in turn: they differ in every key and their
// files differ in length.
INIFILEINFO OldSettingsRecord() {
    INIFILEINFO info;
    info.region = QStringLiteral("N");
    info.lang = QStringLiteral("EN");
    info.style = QStringLiteral("Color");
    return info;
}

INIFILEINFO NewSettingsRecord() {
    INIFILEINFO info;
    info.region = QStringLiteral("S");
    info.lang = QStringLiteral("JP");
    info.factor = 0.75f;
    info.style = QStringLiteral("Mono");
    info.latitude = -33.868820000001;
    info.longitude = 151.209295000001;
    info.P = 1013.25;
    info.P_UnitType = 1;
    info.T = -12.125;
    info.isCorrection = true;
    info.centerX = 652.123456789;
    info.centerY = 471.987654321;
    return info;
}

QByteArray Composed(const QByteArray& existing, const INIFILEINFO& info) {
    QByteArray out;
    EXPECT_TRUE(ComposeSettingsText(existing, info, out));
    return out;
}

// Starts a child that saves the new and the old record in turn, for ever; returns
// once it is about to save for the first time.
pid_t StartWriter(const QString& path) {
    int ready[2];
    if (pipe(ready) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        const INIFILEINFO records[] = {NewSettingsRecord(), OldSettingsRecord()};
        const char go = 1;
        if (write(ready[1], &go, 1) != 1)
            _exit(2);
        for (unsigned long i = 0;; ++i) {
            if (!SaveSettingsFile(path, records[i % 2]))
                _exit(1);
        }
    }
    close(ready[1]);
    char go = 0;
    const bool started = pid > 0 && read(ready[0], &go, 1) == 1;
    close(ready[0]);
    return started ? pid : -1;
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

    std::mt19937 random(20261210);
    std::uniform_int_distribution<qint64> delayUs(0, 4 * saveUs);
    constexpr int kKills = 300;
    int sawOld = 0;
    int sawNew = 0;
    for (int attempt = 0; attempt < kKills; ++attempt) {
        const pid_t pid = StartWriter(path);
        ASSERT_GT(pid, 0) << "the writer did not start";
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        ASSERT_EQ(::kill(pid, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << WEXITSTATUS(status);

        const QByteArray text = ReadAll(path);
        ASSERT_TRUE(text == oldText || text == newText)
            << "after kill " << attempt + 1 << " the file holds:\n"
            << text.toStdString();
        (text == oldText ? sawOld : sawNew)++;
    }
    // The kills fell within the saves, not only before the first.
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
    RecordProperty("old", sawOld);
    RecordProperty("new", sawNew);
}

} // namespace
