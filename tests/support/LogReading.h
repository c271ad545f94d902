// Reading back the log the run writes (g_logFilePath), for tests.
//
//   ReadLogLines();     // "[Info] FormShow", "[Error] ...", in the order written
//   ReadLogMessages();  // the same lines without their level: "FormShow", ...
//   ReadRawLogLines();  // the lines as stored, "\r" and tabs included
//
// A line is "time<TAB>[Level]<TAB>message<CR><LF>"; the message may be empty and
// keeps any tabs of its own. Lines without both tabs are not entries and are left
// out of ReadLogEntries() and the lists built from it.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct LogEntry {
    QString time;    // "hh:mm:ss.zzz"
    QString level;   // "[Info]", "[Warnning]" or "[Error]"
    QString message; // the text, possibly empty
};

// The non-empty lines of the log file as written (none when there is no file).
QStringList ReadRawLogLines();
QList<LogEntry> ReadLogEntries();
// Each entry as "[Level] message".
QStringList ReadLogLines();
// Each entry's message.
QStringList ReadLogMessages();
