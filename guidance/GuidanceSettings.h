// The sound guidance's settings, section [GUIDANCE] of the settings file:
//   sound=0|1   switched on (default 0)
//   band=30     the band in arcseconds inside which the mount counts as aligned
//               (default 30; a value that is not a number in [1, 3600] reads as 30)
//
// Usage:
//   GuidanceSettings s = LoadGuidanceSettings(SettingsFilePath());
//   s.sound = true;
//   SaveGuidanceSettings(SettingsFilePath(), s);   // other sections and keys stay
//
// A missing file or section reads as the defaults. Saving rewrites the file beside itself
// and renames it over the old one; it returns false (and logs) when that fails.
#pragma once

#include <QString>

struct GuidanceSettings {
    bool sound = false;
    double bandArcsec = 30.0;
};

GuidanceSettings LoadGuidanceSettings(const QString& path);
bool SaveGuidanceSettings(const QString& path, const GuidanceSettings& settings);
