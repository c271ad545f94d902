#include "support/IndiServer.h"

#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <cmath>
#include <limits>
#include <signal.h>
#include <unistd.h>

namespace {

// A port below the system's range for outgoing connections (32768 and up), so
// that no client socket of another test takes it between this probe and the
// server's start.
int FreePort() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const int port = 20000 + QRandomGenerator::global()->bounded(12000);
        QTcpServer probe;
        if (probe.listen(QHostAddress::Any, static_cast<quint16>(port)))
            return port;
    }
    return 0;
}

bool Listening(int port) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    return socket.waitForConnected(200);
}

} // namespace

IndiServer::IndiServer() = default;

IndiServer::~IndiServer() {
    Kill();
}

bool IndiServer::Available() {
    return !QStandardPaths::findExecutable(QStringLiteral("indiserver")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("indi_simulator_ccd")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("indi_getprop")).isEmpty();
}

bool IndiServer::Start() {
    // A first start takes another port when the chosen one was taken meanwhile; a
    // start after Kill keeps its port (clients come back to it).
    const bool firstStart = port_ == 0;
    for (int attempt = 0; attempt < (firstStart ? 3 : 1); ++attempt) {
        if (firstStart)
            port_ = FreePort();
        if (StartOnPort())
            return true;
    }
    return false;
}

bool IndiServer::StartOnPort() {
    Kill();
    process_ = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home_.path());
    process_->setProcessEnvironment(env);
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->setStandardOutputFile(QProcess::nullDevice());
    process_->setChildProcessModifier([] { setsid(); });
    // Its local socket (an abstract name, /tmp/indiserver unless told) is its own,
    // so that servers of tests running side by side do not collide.
    process_->start(QStringLiteral("indiserver"),
                    {QStringLiteral("-u"), home_.filePath(QStringLiteral("indiserver")),
                     QStringLiteral("-p"), QString::number(port_),
                     QStringLiteral("indi_simulator_ccd")});
    if (!process_->waitForStarted(5000)) {
        error_ = QStringLiteral("indiserver did not start");
        return false;
    }
    // Listening first, then the driver's definitions.
    const QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired()) {
        if (process_->waitForFinished(0) || process_->state() != QProcess::Running) {
            error_ = QStringLiteral("indiserver ended at once (port %1)").arg(port_);
            return false;
        }
        bool ok = false;
        if (Listening(port_) &&
            !Tool({QStringLiteral("indi_getprop"), QStringLiteral("-p"), QString::number(port_),
                   QStringLiteral("-t"), QStringLiteral("2"),
                   QStringLiteral("%1.CONNECTION.CONNECT").arg(kDevice)},
                  4000, &ok)
                 .isEmpty() &&
            ok)
            return true;
        QThread::msleep(100);
    }
    error_ = QStringLiteral("indiserver does not answer on port %1").arg(port_);
    return false;
}

void IndiServer::Kill() {
    if (!process_)
        return;
    const qint64 pid = process_->processId();
    if (pid > 0)
        ::kill(-static_cast<pid_t>(pid), SIGKILL); // the server and its drivers
    process_->waitForFinished(5000);
    process_.reset();
    // The port is free once nothing listens there any more.
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired() && Listening(port_))
        QThread::msleep(50);
}

bool IndiServer::Running() const {
    return process_ && process_->state() == QProcess::Running;
}

QString IndiServer::Tool(const QStringList& args, int timeoutMs, bool* ok) {
    QProcess p;
    p.start(args.first(), args.mid(1));
    const bool done = p.waitForFinished(timeoutMs);
    if (!done)
        p.kill(), p.waitForFinished(2000);
    if (ok)
        *ok = done && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

bool IndiServer::SetProperty(const QString& assignment) {
    bool ok = false;
    Tool({QStringLiteral("indi_setprop"), QStringLiteral("-p"), QString::number(port_),
          QStringLiteral("%1.%2").arg(kDevice, assignment)},
         5000, &ok);
    return ok;
}

double IndiServer::Number(const QString& propertyElement) {
    bool ok = false;
    const QString out =
        Tool({QStringLiteral("indi_getprop"), QStringLiteral("-1"), QStringLiteral("-p"),
              QString::number(port_), QStringLiteral("-t"), QStringLiteral("2"),
              QStringLiteral("%1.%2").arg(kDevice, propertyElement)},
             5000, &ok);
    bool number = false;
    const double v = out.toDouble(&number);
    return ok && number ? v : std::numeric_limits<double>::quiet_NaN();
}

bool IndiServer::SignalDriver(int signal) {
    if (!Running())
        return false;
    bool ok = false;
    const QString children = Tool(
        {QStringLiteral("pgrep"), QStringLiteral("-P"), QString::number(process_->processId())},
        3000, &ok);
    bool sent = false;
    for (const QString& pid : children.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (const int p = pid.trimmed().toInt(); p > 0)
            sent = ::kill(static_cast<pid_t>(p), signal) == 0 || sent;
    return sent;
}

bool IndiServer::CrashDriver() {
    return SignalDriver(SIGKILL);
}

bool IndiServer::FreezeDriver() {
    return SignalDriver(SIGSTOP);
}

QString IndiServer::OnSwitch(const QString& property) {
    bool ok = false;
    const QString out = Tool({QStringLiteral("indi_getprop"), QStringLiteral("-p"),
                              QString::number(port_), QStringLiteral("-t"), QStringLiteral("2"),
                              QStringLiteral("%1.%2.*").arg(kDevice, property)},
                             5000, &ok);
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (line.endsWith(QLatin1String("=On")))
            return line.section(QLatin1Char('.'), 2).section(QLatin1Char('='), 0, 0);
    return {};
}

bool IndiServer::ConnectDevice() {
    if (!SetProperty(QStringLiteral("CONNECTION.CONNECT=On")))
        return false;
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (!std::isnan(Number(QStringLiteral("CCD_INFO.CCD_MAX_X"))))
            return true;
        QThread::msleep(100);
    }
    return false;
}

bool WaitForIndiNumber(int port, const QString& propertyElement, double value, int timeoutMs) {
    QProcess watch;
    // Line-buffered: indi_getprop writes to a pipe through stdio.
    watch.start(QStringLiteral("stdbuf"),
                {QStringLiteral("-oL"), QStringLiteral("indi_getprop"), QStringLiteral("-m"),
                 QStringLiteral("-p"), QString::number(port), QStringLiteral("-t"),
                 QString::number(timeoutMs / 1000 + 1),
                 QStringLiteral("%1.%2").arg(QLatin1String(IndiServer::kDevice), propertyElement)});
    bool seen = false;
    const QDeadlineTimer deadline(timeoutMs);
    QByteArray pending;
    while (!seen && !deadline.hasExpired() && watch.state() != QProcess::NotRunning) {
        watch.waitForReadyRead(100);
        pending += watch.readAllStandardOutput();
        int nl;
        while (!seen && (nl = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(nl);
            pending.remove(0, nl + 1);
            bool ok = false;
            const double v = line.mid(line.lastIndexOf('=') + 1).trimmed().toDouble(&ok);
            seen = ok && std::abs(v - value) <= 1e-6 * std::max(1.0, std::abs(value));
        }
    }
    watch.kill();
    watch.waitForFinished(2000);
    return seen;
}

bool IndiServer::SetSensor(int width, int height, double pixelUm) {
    if (!ConnectDevice())
        return false;
    for (int attempt = 0; attempt < 5; ++attempt) {
        SetProperty(QStringLiteral("SIMULATOR_SETTINGS.SIM_XRES;SIM_YRES;SIM_XSIZE;SIM_YSIZE="
                                   "%1;%2;%3;%3")
                        .arg(width)
                        .arg(height)
                        .arg(pixelUm));
        const QDeadlineTimer deadline(1500);
        while (!deadline.hasExpired()) {
            if (Number(QStringLiteral("CCD_INFO.CCD_MAX_X")) == width &&
                Number(QStringLiteral("CCD_INFO.CCD_MAX_Y")) == height &&
                std::abs(Number(QStringLiteral("CCD_INFO.CCD_PIXEL_SIZE_X")) - pixelUm) < 1e-3)
                return true;
            QThread::msleep(100);
        }
    }
    return false;
}
