// Reading and writing the settings file ZenithWand.ini.
//
//   INIFILEINFO info;                         // window-creation values
//   LoadSettingsFile(SettingsFilePath(), info);
//   ...
//   SaveSettingsFile(SettingsFilePath(), info);
//
// Reading: each of the twelve keys, and [STAR_DATA] source ("date" by default), takes
// its default when missing or unreadable (an empty string value stays empty). A file that exists but cannot be read logs
// "loadParamsFromIni - open ZenithWand.ini file failed!" and keeps the values held.
// Writing: the keys are deleted and written again after any other keys of
// their sections; other keys and sections stay. The new file is written beside
// the old one and renamed over it, so a failed save never leaves half a file; a
// failure logs "saveParamsToIni - open ZenithWand.ini file failed!".
#pragma once

#include "app/Mystructs.h"

#include <QString>

bool LoadSettingsFile(const QString& path, INIFILEINFO& info);
bool SaveSettingsFile(const QString& path, const INIFILEINFO& info);

// General decimal text with up to 15 significant digits ("1", "0.75", "39.9").
QString FormatSettingsFloat(double value);
