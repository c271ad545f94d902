// The run's log file: one line per call, "hh:nn:ss.zzz\t[Level]\tmessage\r\n".
//
// Usage:
//   g_logFilePath = ...;            // set once by the main window at creation
//   WriteLog("Info", "FormCreate start.");
//   WriteLog("Error", "...");       // "Error" and "Warnning" have their own tags,
//                                   // every other level word is written as [Info]
//
// Each call opens the file, appends one whole line and closes it again under one
// lock, so the file is complete at every moment and lines from the user-interface
// thread and the capture thread never interleave. A write that fails (no folder,
// disk full) is dropped: logging never throws into its caller.
#pragma once

#include <QString>

extern QString g_logFilePath;

// Appends one line to g_logFilePath. Returns false when the line could not be written.
bool WriteLog(const QString& level, const QString& text);

// The tag written for a level word ("\t[Error]\t", "\t[Warnning]\t" or "\t[Info]\t").
QString LogTagForLevel(const QString& level);
