// Helpers shared by the camera tests: a configuration file for the simulated
// camera, the log lines of the run, and waiting on a condition with a deadline.
//
// Usage:
//   SimConfig cfg("[faults]\nopen=1\n");   // selected and read by the loaded library
//   cfg.Rewrite("[camera]\nthrottle=0\n");
//   ASSERT_TRUE(WaitUntil([] { return g_threadRunning.load(); }));
//   QStringList lines = ReadLogLines();     // "[Info] FormShow", ...
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLibrary>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include "support/LogReading.h"
#include "zorcam-sim/ZorcamSimTruth.h"

#include <functional>

// With TZ unset, glibc's tzset() frees and copies its zone name on every call, under
// a lock ThreadSanitizer cannot see, so two threads that log at once look like a
// race inside the C library. Naming the system's zone file explicitly gives the
// same local time and makes tzset() leave its state alone.
inline void PinLocalTimeZone() {
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", QByteArray(":/etc/localtime"));
}

// One of the simulator's own entry points (outside the camera interface).
inline QFunctionPointer SimEntry(const char* name) {
    QLibrary lib(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("zorcam")));
    return lib.load() ? lib.resolve(name) : nullptr;
}

// Makes the simulator read its configuration file at once.
inline void ReloadSimConfig() {
    if (auto reload = reinterpret_cast<int (*)()>(SimEntry("ZorcamSimReloadConfig")))
        reload();
}

// What the simulator delivered last (exposure, gain, frame count since live start).
inline ZorcamSimTruth SimTruth() {
    ZorcamSimTruth t{};
    if (auto get = reinterpret_cast<int (*)(ZorcamSimTruth*)>(SimEntry("ZorcamSimGetTruth")))
        get(&t);
    return t;
}

class SimConfig {
public:
    explicit SimConfig(const QByteArray& ini = QByteArray()) {
        path_ = dir_.filePath(QStringLiteral("zorcam-sim.ini"));
        qputenv("ZORCAM_SIM_CONFIG", path_.toLocal8Bit());
        Rewrite(ini);
    }
    ~SimConfig() {
        qunsetenv("ZORCAM_SIM_CONFIG");
        ReloadSimConfig();
    }
    void Rewrite(const QByteArray& ini) {
        QFile f(path_);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(ini);
        f.close();
        ReloadSimConfig();
    }

private:
    QTemporaryDir dir_;
    QString path_;
};

inline int CountLines(const QString& line) {
    return static_cast<int>(ReadLogLines().count(line));
}

// Waits until the condition holds; false when the deadline passed first. With
// serveEvents the waiting thread also runs its posted events (the hand-overs).
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000,
                      bool serveEvents = true) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        if (serveEvents)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}
