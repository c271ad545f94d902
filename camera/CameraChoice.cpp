#include "camera/CameraChoice.h"

#include "app/Settings.h"

#include <QFile>
#include <QSaveFile>

#include <SimpleIni.h>

#include <cmath>
#include <string>

namespace {

constexpr const char* kSection = "CAMERA";

bool LoadIni(const QString& path, CSimpleIniA& ini) {
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    return ini.LoadData(data.constData(), static_cast<size_t>(data.size())) >= 0;
}

QString Text(const CSimpleIniA& ini, const char* key) {
    const char* v = ini.GetValue(kSection, key, nullptr);
    return v ? QString::fromUtf8(v).trimmed() : QString();
}

} // namespace

CameraChoice LoadCameraChoice(const QString& settingsPath) {
    CameraChoice choice;
    CSimpleIniA ini(/*isUtf8=*/true);
    if (!LoadIni(settingsPath, ini))
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
    const double focal = Text(ini, "focalLengthMm").toDouble(&ok);
    if (ok && std::isfinite(focal) && focal >= 0 && focal <= 100000)
        choice.focalLengthMm = focal;
    return choice;
}

bool SaveCameraChoice(const QString& settingsPath, const CameraChoice& choice) {
    CSimpleIniA ini(/*isUtf8=*/true);
    ini.SetSpaces(false);
    if (!LoadIni(settingsPath, ini))
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
    std::string text;
    if (ini.Save(text) < 0)
        return false;
    QSaveFile out(settingsPath);
    return out.open(QIODevice::WriteOnly) &&
           out.write(text.data(), static_cast<qint64>(text.size())) ==
               static_cast<qint64>(text.size()) &&
           out.commit();
}

QString CameraLibraryFor(const CameraChoice& choice) {
    return choice.kind == CameraChoice::Kind::Indi ? QStringLiteral("zorcam-indi")
                                                   : QStringLiteral("zorcam");
}
