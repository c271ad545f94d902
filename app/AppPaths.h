// Where the program keeps its files.
//
//   DocumentsFolder()  the user's documents folder; the day's log folder lies in
//                      "<documents>/ZenithWand/logs yyyy-mm-dd".
//   SettingsFilePath() ZenithWand.ini beside the program when that folder is
//                      writable and the program is not installed, else in the
//                      user's configuration folder. An installed program (one with
//                      ../share/zenithwand beside its folder) always uses the
//                      configuration folder, even when root could write /usr/bin.
//
// Tests point both somewhere else with the Set...ForTesting functions.
#pragma once

#include <QDateTime>
#include <QString>

QString ProgramFolder();
bool IsInstalledProgram(const QString& programFolder);
QString DocumentsFolder();
QString SettingsFilePath();

// "<documents>/ZenithWand/logs yyyy-MM-dd" and "<folder>/ZenithWand.hh.mm.ss.zzz.log".
QString LogFolderFor(const QString& documents, const QDateTime& start);
QString LogFileFor(const QString& folder, const QDateTime& start);

void SetDocumentsFolderForTesting(const QString& folder);
void SetSettingsFolderForTesting(const QString& folder);
