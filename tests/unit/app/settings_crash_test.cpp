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

#include <poll.h>
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

// A child that saves the new and the old record in turn, for ever, and writes one
// byte to its pipe after each finished save. Its saves run at whatever pace the
// machine gives them; the test counts them instead of timing them.
class Writer {
public:
    explicit Writer(const QString& path) {
        int reports[2];
        if (pipe(reports) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(reports[0]);
            const INIFILEINFO records[] = {NewSettingsRecord(), OldSettingsRecord()};
            const char done = 1;
            for (unsigned long i = 0;; ++i) {
                if (!SaveSettingsFile(path, records[i % 2]))
                    _exit(1);
                if (write(reports[1], &done, 1) != 1)
                    _exit(2);
            }
        }
        close(reports[1]);
        reports_ = reports[0];
    }
    ~Writer() {
        if (pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (reports_ >= 0)
            close(reports_);
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    bool Started() const { return pid_ > 0 && reports_ >= 0; }

    // Waits for the next finished save; false when none came within the deadline
    // (the writer failed, stopped or hangs).
    bool AwaitSave(std::chrono::milliseconds deadline) {
        pollfd p{reports_, POLLIN, 0};
        char done = 0;
        return poll(&p, 1, static_cast<int>(deadline.count())) == 1 &&
               read(reports_, &done, 1) == 1;
    }

    // Kills the writer; false unless it died of the kill.
    bool Kill() {
        int status = 0;
        reaped_ = true;
        return ::kill(pid_, SIGKILL) == 0 && waitpid(pid_, &status, 0) == pid_ &&
               WIFSIGNALED(status);
    }

private:
    pid_t pid_ = -1;
    int reports_ = -1;
    bool reaped_ = false;
};

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no file>");
}

// Each kill falls after a random number of the writer's finished saves, then a random
// part of the time its last save took: on a fast or a slow machine, loaded or not,
// the kills land both between saves with either record in place and within saves.
TEST(SettingsCrashTest, AKillDuringASaveLeavesTheOldOrTheNewWholeFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("ZenithWand.ini"));
    const QByteArray oldText = Composed({}, OldSettingsRecord());
    const QByteArray newText = Composed(oldText, NewSettingsRecord());
    ASSERT_EQ(Composed(newText, OldSettingsRecord()), oldText);
    ASSERT_NE(oldText.size(), newText.size());
    QFile seed(path);
    ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
    seed.write(oldText);
    seed.close();

    constexpr auto kDeadline = std::chrono::milliseconds(5000);
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> savesBeforeKill(1, 4);
    std::uniform_real_distribution<double> partOfASave(0.0, 1.0);
    constexpr int kKills = 300;
    int sawOld = 0;
    int sawNew = 0;
    for (int attempt = 0; attempt < kKills; ++attempt) {
        Writer writer(path);
        ASSERT_TRUE(writer.Started()) << "the writer did not start";
        // The first save is awaited apart: it also pays for the start of the process.
        ASSERT_TRUE(writer.AwaitSave(kDeadline)) << "the writer made no first save";
        const int saves = savesBeforeKill(random);
        QElapsedTimer lastSave;
        lastSave.start();
        for (int i = 1; i < saves; ++i) {
            lastSave.restart();
            ASSERT_TRUE(writer.AwaitSave(kDeadline)) << "the writer stopped saving";
        }
        const auto saveNs = saves > 1 ? lastSave.nsecsElapsed() : 0;
        std::this_thread::sleep_for(
            std::chrono::nanoseconds(static_cast<qint64>(partOfASave(random) * saveNs)));
        ASSERT_TRUE(writer.Kill()) << "the writer stopped by itself";

        const QByteArray text = ReadAll(path);
        ASSERT_TRUE(text == oldText || text == newText)
            << "after kill " << attempt + 1 << " the file holds:\n"
            << text.toStdString();
        (text == oldText ? sawOld : sawNew)++;
    }
    // An odd number of finished saves leaves the new record, an even one the old, and
    // both counts come up: the kills fell after saves of each kind, not only before
    // the first.
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
    RecordProperty("old", sawOld);
    RecordProperty("new", sawNew);
}

} // namespace
