// Test fixture helper: points the run's log at a fresh temporary file and reads
// its lines back as (level tag, text) pairs. The default locale is the C locale
// while it lives, so numbers in log texts use "." whatever the machine's locale.
#pragma once

#include "core/Log.h"

#include <QFile>
#include <QLocale>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

struct LogLine {
    QString level; // "Info", "Warnning" or "Error"
    QString text;
};

class LogCapture {
public:
    LogCapture() : previousLocale_(QLocale()) {
        g_logFilePath = dir_.filePath(QStringLiteral("run.log"));
        QLocale::setDefault(QLocale::c());
    }
    ~LogCapture() {
        g_logFilePath.clear();
        QLocale::setDefault(previousLocale_);
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<LogLine> Lines() const {
        std::vector<LogLine> lines;
        QFile file(g_logFilePath);
        if (!file.open(QIODevice::ReadOnly))
            return lines;
        const QString all = QString::fromLocal8Bit(file.readAll());
        for (const QString& line : all.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
            const QStringList parts = line.split(QLatin1Char('\t'));
            if (parts.size() < 3)
                continue;
            QString level = parts[1];
            level.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
            lines.push_back({level, parts.mid(2).join(QLatin1Char('\t'))});
        }
        return lines;
    }

    // Removes what was logged so far.
    void Clear() const { QFile::remove(g_logFilePath); }

private:
    QTemporaryDir dir_;
    QLocale previousLocale_;
};
