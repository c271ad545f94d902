#include "camera/CameraChoice.h"

#include "app/Settings.h"

namespace {

constexpr const char* kSection = "CAMERA";

QString Text(const CSimpleIniA& ini, const char* key) {
    const char* v = ini.GetValue(kSection, key, nullptr);
    return v ? QString::fromUtf8(v).trimmed() : QString();
}

} // namespace

CameraChoice LoadCameraChoice(const QString& settingsPath) {
    CameraChoice choice;
    CSimpleIniA ini(/*isUtf8=*/true);
    if (!ReadSettingsIni(settingsPath, ini))
        return choice;
    if (Text(ini, "library").compare(QLatin1String("indi"), Qt::CaseInsensitive) == 0)
        choice.kind = CameraChoice::Kind::Indi;
    if (const QString host = Text(ini, "indiHost"); !host.isEmpty())
        choice.host = host;
    bool ok = false;
    const int port = Text(ini, "indiPort").toInt(&ok);
    if (ok && port > 0 && port < 65536)
        choice.port = port;
    choice.device = Text(ini, "indiDevice");
    choice.focalLengthMm =
        SettingsNumberIn(ini, kSection, "focalLengthMm", 0, 100000, choice.focalLengthMm);
    return choice;
}

bool SaveCameraChoice(const QString& settingsPath, const CameraChoice& choice) {
    CSimpleIniA ini(/*isUtf8=*/true);
    ini.SetSpaces(false);
    if (!ReadSettingsIni(settingsPath, ini))
        return false;
    auto put = [&ini](const char* key, const QString& value) {
        ini.SetValue(kSection, key, value.toUtf8().constData());
    };
    put("library",
        choice.kind == CameraChoice::Kind::Indi ? QStringLiteral("indi") : QStringLiteral("sim"));
    put("indiHost", choice.host);
    put("indiPort", QString::number(choice.port));
    put("indiDevice", choice.device);
    put("focalLengthMm", FormatSettingsFloat(choice.focalLengthMm));
    return WriteSettingsIni(settingsPath, ini);
}

QString CameraLibraryFor(const CameraChoice& choice) {
    return choice.kind == CameraChoice::Kind::Indi ? QStringLiteral("zorcam-indi")
                                                   : QStringLiteral("zorcam");
}
