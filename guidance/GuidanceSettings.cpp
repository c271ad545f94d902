#include "guidance/GuidanceSettings.h"

#include "app/Settings.h"
#include "core/Log.h"

namespace {

constexpr const char* kSection = "GUIDANCE";

} // namespace

GuidanceSettings LoadGuidanceSettings(const QString& path) {
    GuidanceSettings s;
    CSimpleIniA ini(/*isUtf8=*/true);
    if (!ReadSettingsIni(path, ini))
        return s;
    s.sound = QString::fromUtf8(ini.GetValue(kSection, "sound", "0")).trimmed() == "1";
    s.bandArcsec = SettingsNumberIn(ini, kSection, "band", 1.0, 3600.0, s.bandArcsec);
    return s;
}

bool SaveGuidanceSettings(const QString& path, const GuidanceSettings& s) {
    CSimpleIniA ini(/*isUtf8=*/true);
    ini.SetSpaces(false);
    bool ok = ReadSettingsIni(path, ini);
    if (ok) {
        ini.SetValue(kSection, "sound", s.sound ? "1" : "0");
        ini.SetValue(kSection, "band", FormatSettingsFloat(s.bandArcsec).toUtf8().constData());
        ok = WriteSettingsIni(path, ini);
    }
    if (!ok)
        WriteLog(QStringLiteral("Error"),
                 QStringLiteral("Sound guidance: saving the settings failed."));
    return ok;
}
