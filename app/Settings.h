// Reading and writing the settings file ZenithWand.ini.
//
//   INIFILEINFO info;                         // window-creation values
//   LoadSettingsFile(SettingsFilePath(), info);
//   ...
//   SaveSettingsFile(SettingsFilePath(), info);
//
// Reading: each of the twelve keys, [STAR_DATA] source ("date" by default), [SITE] set and
// elevation (the site given by the user, metres) and [REFRACTION] model, humidity and
// wavelength take their default when missing or unreadable (an empty string value stays
// empty); a latitude beyond ±90° or a longitude beyond ±180° reads as its default, and a
// missing pressure is the standard one of the site's elevation when a site is set. A file
// that exists but cannot be read logs "loadParamsFromIni - open ZenithWand.ini file failed!"
// and keeps the values held. Writing: the keys are deleted and written again after any other keys
// of their sections; other keys and sections stay. The new file is written beside the old one and
// renamed over it, so a failed save never leaves half a file; a failure logs "saveParamsToIni -
// open ZenithWand.ini file failed!".
#pragma once

#include "app/Mystructs.h"

#include <QByteArray>
#include <QString>

#include <SimpleIni.h>

bool LoadSettingsFile(const QString& path, INIFILEINFO& info);
bool SaveSettingsFile(const QString& path, const INIFILEINFO& info);

// The file's bytes on their own (no file, no log): ReadSettingsText fills the twelve
// keys from `data` (empty data gives every default) and returns false, leaving `info`
// as it was, when `data` is no INI text. ComposeSettingsText gives the file that
// `existing` becomes when `info` is saved into it; false when `existing` is no INI text.
bool ReadSettingsText(const QByteArray& data, INIFILEINFO& info);
bool ComposeSettingsText(const QByteArray& existing, const INIFILEINFO& info, QByteArray& out);

// General decimal text with up to 15 significant digits ("1", "0.75", "39.9").
QString FormatSettingsFloat(double value);

// The settings file as INI, for the sections the rest of the program keeps in it
// ([CAMERA], [GUIDANCE], ...). ReadSettingsIni: a missing file reads as empty; false
// when the file cannot be read or is no INI text; a line that opens a section without
// closing it is read as a comment, as LoadSettingsFile reads it. WriteSettingsIni
// writes `ini` beside the file and renames it over the old one; false on failure.
bool ReadSettingsIni(const QString& path, CSimpleIniA& ini);
bool WriteSettingsIni(const QString& path, const CSimpleIniA& ini);

// The number under `key` of `section` when its text (blanks around it aside) is a
// finite decimal number within [low, high]; `otherwise` when the key is missing or
// its value is anything else.
double SettingsNumberIn(const CSimpleIniA& ini, const char* section, const char* key, double low,
                        double high, double otherwise);
