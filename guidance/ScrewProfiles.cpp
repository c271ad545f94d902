#include "guidance/ScrewProfiles.h"

#include "app/Settings.h"
#include "core/Log.h"

#include <cmath>

namespace {

constexpr const char* kSection = "SCREWS";
constexpr double kMaxArcsecPerTurn = 1e6;

QString Value(const CSimpleIniA& ini, const QString& key) {
    return QString::fromUtf8(ini.GetValue(kSection, key.toUtf8().constData(), "")).trimmed();
}

ScrewCalibration CalibrationOf(const QString& text) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v == 0.0 || std::abs(v) > kMaxArcsecPerTurn)
        return {};
    return {true, v};
}

QString TextOf(const ScrewCalibration& c) {
    return FormatSettingsFloat(c.valid ? c.arcsecPerTurn : 0.0);
}

} // namespace

MountProfile& ScrewProfiles::Named(const QString& name) {
    for (MountProfile& p : profiles)
        if (p.name == name)
            return p;
    profiles.push_back(MountProfile{name, {}, {}});
    return profiles.back();
}

MountProfile& ScrewProfiles::Current() {
    if (current.isEmpty())
        current = profiles.empty() ? QStringLiteral("Mount 1") : profiles.front().name;
    return Named(current);
}

const MountProfile* ScrewProfiles::CurrentIfAny() const {
    for (const MountProfile& p : profiles)
        if (p.name == current)
            return p.altitude.valid || p.azimuth.valid ? &p : nullptr;
    return nullptr;
}

ScrewProfiles LoadScrewProfiles(const QString& path) {
    ScrewProfiles s;
    CSimpleIniA ini(/*isUtf8=*/true);
    if (!ReadSettingsIni(path, ini))
        return s;
    bool ok = false;
    const int count = Value(ini, QStringLiteral("count")).toInt(&ok);
    for (int i = 1; ok && i <= std::min(count, 100); ++i) {
        const QString n = QString::number(i);
        MountProfile p;
        p.name = Value(ini, QStringLiteral("name") + n);
        if (p.name.isEmpty())
            continue;
        p.altitude = CalibrationOf(Value(ini, QStringLiteral("alt") + n));
        p.azimuth = CalibrationOf(Value(ini, QStringLiteral("az") + n));
        bool seen = false;
        for (const MountProfile& q : s.profiles)
            seen = seen || q.name == p.name;
        if (!seen)
            s.profiles.push_back(p);
    }
    s.current = Value(ini, QStringLiteral("current"));
    return s;
}

bool SaveScrewProfiles(const QString& path, const ScrewProfiles& s) {
    CSimpleIniA ini(/*isUtf8=*/true);
    ini.SetSpaces(false);
    bool ok = ReadSettingsIni(path, ini);
    if (ok) {
        ini.Delete(kSection, nullptr);
        auto put = [&ini](const QString& key, const QString& value) {
            ini.SetValue(kSection, key.toUtf8().constData(), value.toUtf8().constData());
        };
        put(QStringLiteral("current"), s.current);
        put(QStringLiteral("count"), QString::number(s.profiles.size()));
        int i = 0;
        for (const MountProfile& p : s.profiles) {
            const QString n = QString::number(++i);
            put(QStringLiteral("name") + n, p.name);
            put(QStringLiteral("alt") + n, TextOf(p.altitude));
            put(QStringLiteral("az") + n, TextOf(p.azimuth));
        }
        ok = WriteSettingsIni(path, ini);
    }
    if (!ok)
        WriteLog(QStringLiteral("Error"),
                 QStringLiteral("Screw profiles: saving the settings failed."));
    return ok;
}
