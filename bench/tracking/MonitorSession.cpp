#include "MonitorSession.h"

#include "app/Mystructs.h"
#include "camera/DisplayThread.h"
#include "core/Log.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLibrary>

#include <cstdio>

MonitorSession::MonitorSession(bool throttle) {
    const QString simConfig = folders_.filePath(QStringLiteral("sim.ini"));
    QFile ini(simConfig);
    if (ini.open(QIODevice::WriteOnly))
        ini.write(throttle ? "[camera]\nthrottle = 1\n" : "[camera]\nthrottle = 0\n");
    ini.close();
    qputenv("ZORCAM_SIM_CONFIG", simConfig.toLocal8Bit());
    windows_ = std::make_unique<ProgramWindows>();
}

MonitorSession::~MonitorSession() {
    g_monitorPole = false;
    windows_.reset();
}

bool MonitorSession::Connect() {
    windows_->main.MenuItem_connectClick();
    if (!g_connected || !g_displayThread || !g_cameraLibrary) {
        std::fprintf(stderr, "could not connect to the simulated camera\n");
        return false;
    }
    return true;
}

ZorcamSimTruth MonitorSession::Truth() const {
    ZorcamSimTruth t{};
    auto truth = g_cameraLibrary ? reinterpret_cast<int (*)(ZorcamSimTruth*)>(
                                       g_cameraLibrary->resolve("ZorcamSimGetTruth"))
                                 : nullptr;
    if (!truth || truth(&t) != 0)
        return ZorcamSimTruth{};
    return t;
}

bool MonitorSession::StartMonitor() {
    const ZorcamSimTruth t = Truth();
    if (!g_displayThread || t.starBX == 0.0) {
        std::fprintf(stderr, "no ground truth from the camera library\n");
        return false;
    }
    g_displayThread->SetRefStarA(t.starAX, t.starAY);
    g_displayThread->SetRefStarB(t.starBX, t.starBY);
    g_displayThread->SetCirCenter(100, t.axisX, t.axisY);
    g_monitorPole = true;
    return true;
}

void MonitorSession::StopMonitor() {
    g_monitorPole = false;
}

void MonitorSession::Serve(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

QString MonitorSession::Readout(const char* label) const {
    const QLabel* l = windows_->main.findChild<QLabel*>(QString::fromLatin1(label));
    return l ? l->text() : QString();
}

QStringList MonitorSession::LogLines(const QString& tag) const {
    QFile log(g_logFilePath);
    if (!log.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QByteArray& line : log.readAll().split('\n')) {
        const QString text = QString::fromLocal8Bit(line).trimmed();
        if (text.contains(tag))
            lines.append(text);
    }
    return lines;
}

long MonitorSession::ResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}
