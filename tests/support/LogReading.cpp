#include "support/LogReading.h"

#include "core/Log.h"

#include <QFile>

QStringList ReadRawLogLines() {
    QFile f(g_logFilePath);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QList<LogEntry> ReadLogEntries() {
    QList<LogEntry> entries;
    for (QString line : ReadRawLogLines()) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const qsizetype levelAt = line.indexOf(QLatin1Char('\t'));
        const qsizetype messageAt = levelAt < 0 ? -1 : line.indexOf(QLatin1Char('\t'), levelAt + 1);
        if (messageAt < 0)
            continue;
        entries.append({line.left(levelAt), line.mid(levelAt + 1, messageAt - levelAt - 1),
                        line.mid(messageAt + 1)});
    }
    return entries;
}

QStringList ReadLogLines() {
    QStringList out;
    for (const LogEntry& e : ReadLogEntries())
        out << e.level + QLatin1Char(' ') + e.message;
    return out;
}

QStringList ReadLogMessages() {
    QStringList out;
    for (const LogEntry& e : ReadLogEntries())
        out << e.message;
    return out;
}
