#include "core/Log.h"

#include <QFile>
#include <QTime>

#include <mutex>

QString g_logFilePath;

namespace {
std::mutex& logMutex() {
    static std::mutex m;
    return m;
}
} // namespace

QString LogTagForLevel(const QString& level) {
    if (level == QLatin1String("Error"))
        return QStringLiteral("\t[Error]\t");
    if (level == QLatin1String("Warnning"))
        return QStringLiteral("\t[Warnning]\t");
    return QStringLiteral("\t[Info]\t");
}

bool WriteLog(const QString& level, const QString& text) {
    // The time is taken under the lock too: lines appear in the order of their
    // times, and the C library's time-zone lookup is never entered from both
    // threads at once.
    std::lock_guard<std::mutex> lock(logMutex());
    const QString line = QTime::currentTime().toString(QStringLiteral("hh:mm:ss.zzz")) +
                         LogTagForLevel(level) + text + QStringLiteral("\r\n");
    // The system's 8-bit code page; on Linux that is UTF-8, so nothing is substituted.
    const QByteArray bytes = line.toLocal8Bit();

    if (g_logFilePath.isEmpty())
        return false;
    QFile file(g_logFilePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const bool ok = file.write(bytes) == bytes.size();
    file.close();
    return ok;
}
