#include "guidance/GuidanceSettings.h"

#include "app/Settings.h"
#include "core/Log.h"

#include <QFile>
#include <QSaveFile>

#include <SimpleIni.h>

#include <cmath>
#include <string>

namespace {

constexpr const char* kSection = "GUIDANCE";

// Reads `path` into `ini`; a missing file leaves it empty. False when it cannot be read.
bool ReadIni(const QString& path, CSimpleIniA& ini) {
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    return file.error() == QFileDevice::NoError &&
           ini.LoadData(data.constData(), static_cast<size_t>(data.size())) >= 0;
}

} // namespace

GuidanceSettings LoadGuidanceSettings(const QString& path) {
    GuidanceSettings s;
    CSimpleIniA ini(/*isUtf8=*/true);
    if (!ReadIni(path, ini))
        return s;
    s.sound = QString::fromUtf8(ini.GetValue(kSection, "sound", "0")).trimmed() == "1";
    bool ok = false;
    const double band =
        QString::fromUtf8(ini.GetValue(kSection, "band", "")).trimmed().toDouble(&ok);
    if (ok && std::isfinite(band) && band >= 1.0 && band <= 3600.0)
        s.bandArcsec = band;
    return s;
}

bool SaveGuidanceSettings(const QString& path, const GuidanceSettings& s) {
    CSimpleIniA ini(/*isUtf8=*/true);
    ini.SetSpaces(false);
    std::string text;
    bool ok = ReadIni(path, ini);
    if (ok) {
        ini.SetValue(kSection, "sound", s.sound ? "1" : "0");
        ini.SetValue(kSection, "band", FormatSettingsFloat(s.bandArcsec).toUtf8().constData());
        ok = ini.Save(text) >= 0;
    }
    if (ok) {
        QSaveFile out(path);
        ok = out.open(QIODevice::WriteOnly) &&
             out.write(text.data(), static_cast<qint64>(text.size())) ==
                 static_cast<qint64>(text.size()) &&
             out.commit();
    }
    if (!ok)
        WriteLog(QStringLiteral("Error"),
                 QStringLiteral("Sound guidance: saving the settings failed."));
    return ok;
}
