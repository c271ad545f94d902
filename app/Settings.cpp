#include "app/Settings.h"

#include "astro/Refraction.h"
#include "core/Log.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <SimpleIni.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace {

const char* const kLoadFailed = "loadParamsFromIni - open ZenithWand.ini file failed!";
const char* const kSaveFailed = "saveParamsToIni - open ZenithWand.ini file failed!";

QString readString(const CSimpleIniA& ini, const char* section, const char* key,
                   const QString& def) {
    const char* value = ini.GetValue(section, key, nullptr);
    return value ? QString::fromUtf8(value) : def;
}

std::optional<double> parseFloat(const CSimpleIniA& ini, const char* section, const char* key) {
    const char* value = ini.GetValue(section, key, nullptr);
    if (!value)
        return std::nullopt;
    bool ok = false;
    const double v = QString::fromUtf8(value).trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

double readFloat(const CSimpleIniA& ini, const char* section, const char* key, double def) {
    const auto v = parseFloat(ini, section, key);
    return (v && std::isfinite(*v)) ? *v : def;
}

std::optional<long long> parseInteger(const CSimpleIniA& ini, const char* section,
                                      const char* key) {
    const char* value = ini.GetValue(section, key, nullptr);
    if (!value)
        return std::nullopt;
    QString text = QString::fromUtf8(value).trimmed();
    bool negative = false;
    if (text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+'))) {
        negative = text.startsWith(QLatin1Char('-'));
        text.remove(0, 1);
    }
    bool ok = false;
    long long v = 0;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = text.mid(2).toLongLong(&ok, 16);
    else if (!text.isEmpty() && text.at(0).isDigit())
        v = text.toLongLong(&ok, 10);
    if (!ok || v > 0xFFFFFFFFLL)
        return std::nullopt;
    return negative ? -v : v;
}

int readInteger(const CSimpleIniA& ini, const char* section, const char* key, int def) {
    const auto v = parseInteger(ini, section, key);
    return v ? static_cast<int>(static_cast<std::uint32_t>(*v)) : def;
}

bool readBool(const CSimpleIniA& ini, const char* section, const char* key, bool def) {
    const auto v = parseInteger(ini, section, key);
    return v ? *v != 0 : def;
}

struct Key {
    const char* section;
    const char* key;
};

// Deletion order of the keys before they are written again.
const Key kDeleteOrder[] = {
    {"LANGUAGE", "lang"},
    {"ZOOM", "factor"},
    {"REGION", "region"},
    {"VIEW", "style"},
    {"ASTRONOMICAL_REFRACTION", "latitude"},
    {"ASTRONOMICAL_REFRACTION", "longitude"},
    {"ASTRONOMICAL_REFRACTION", "P"},
    {"ASTRONOMICAL_REFRACTION", "P_UnitType"},
    {"ASTRONOMICAL_REFRACTION", "T"},
    {"ASTRONOMICAL_REFRACTION", "isCorrection"},
    {"CIRCLECENTER", "x"},
    {"CIRCLECENTER", "y"},
    {"STAR_DATA", "source"},
    {"SITE", "set"},
    {"SITE", "elevation"},
    {"REFRACTION", "model"},
    {"REFRACTION", "humidity"},
    {"REFRACTION", "wavelength"},
};

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

// A line that opens a section without closing it ("[ZOOM" alone) is skipped by
// the INI reader, but the keys after it then land in a section named by all the
// text from the bracket to the next key, line break included; saving writes that
// name back and the file grows by a line on every save. Such a line is kept as a
// comment instead, and the keys after it stay in the section before it.
QByteArray WithOpenSectionLinesAsComments(const QByteArray& data) {
    QByteArray out;
    out.reserve(data.size());
    qsizetype start = 0;
    if (data.startsWith(kUtf8Mark)) { // the UTF-8 mark the reader skips
        out += data.first(3);
        start = 3;
    }
    while (start < data.size()) {
        qsizetype end = start;
        while (end < data.size() && data[end] != '\r' && data[end] != '\n')
            ++end;
        QByteArray line = data.mid(start, end - start);
        QByteArray trimmed = line.trimmed();
        // A stray byte-order mark at a line's start would be read into its key or
        // section name, and, once that line is written first, taken for the file's
        // own mark and dropped on the next reading: the marks are dropped at once.
        if (trimmed.startsWith(kUtf8Mark)) {
            while (trimmed.startsWith(kUtf8Mark))
                trimmed = trimmed.mid(3).trimmed();
            line = trimmed;
        }
        if (trimmed.startsWith('[') && !trimmed.contains(']'))
            out += ';';
        out += line;
        if (end < data.size())
            out += data[end];
        start = end + 1;
    }
    return out;
}

// Loads the file's bytes; false when they are no INI text.
bool LoadIni(CSimpleIniA& ini, const QByteArray& data) {
    const QByteArray text = WithOpenSectionLinesAsComments(data);
    return ini.LoadData(text.constData(), static_cast<size_t>(text.size())) >= 0;
}

} // namespace

QString FormatSettingsFloat(double value) {
    return QString::number(value, 'g', 15);
}

bool ReadSettingsText(const QByteArray& data, INIFILEINFO& info) {
    CSimpleIniA ini(/*isUtf8=*/true);
    if (!LoadIni(ini, data))
        return false;

    info.region = readString(ini, "REGION", "region", QStringLiteral("N"));
    // A zoom that is not a finite number in (0, 4] would break the view: read it as 1.
    info.factor = static_cast<float>(SettingsNumberIn(
        ini, "ZOOM", "factor", std::numeric_limits<double>::denorm_min(), 4.0, 1.0));
    info.lang = readString(ini, "LANGUAGE", "lang", QStringLiteral("EN"));
    info.style = readString(ini, "VIEW", "style", QStringLiteral("Color"));
    info.centerX = readFloat(ini, "CIRCLECENTER", "x", 0.0);
    info.centerY = readFloat(ini, "CIRCLECENTER", "y", 0.0);
    // A place off the globe is no site: its default.
    auto inRange = [](double v, double limit, double def) {
        return std::isfinite(v) && std::abs(v) <= limit ? v : def;
    };
    info.latitude = inRange(readFloat(ini, "ASTRONOMICAL_REFRACTION", "latitude", 39.9), 90, 39.9);
    info.longitude =
        inRange(readFloat(ini, "ASTRONOMICAL_REFRACTION", "longitude", 116.3), 180, 116.3);
    info.siteSet = readBool(ini, "SITE", "set", false);
    info.elevation = inRange(readFloat(ini, "SITE", "elevation", 0.0), 9000, 0.0);
    info.P_UnitType = readInteger(ini, "ASTRONOMICAL_REFRACTION", "P_UnitType", 0);
    // No pressure written: the standard one of a site's elevation, else 100 kPa.
    double pressureDefault = 100.0;
    if (info.siteSet && ini.GetValue("SITE", "elevation"))
        pressureDefault = StandardPressureKPa(info.elevation) * (info.P_UnitType == 1 ? 10.0 : 1.0);
    info.P = readFloat(ini, "ASTRONOMICAL_REFRACTION", "P", pressureDefault);
    info.T = readFloat(ini, "ASTRONOMICAL_REFRACTION", "T", 10.0);
    info.isCorrection = readBool(ini, "ASTRONOMICAL_REFRACTION", "isCorrection", false);
    info.starDataSource = readString(ini, "STAR_DATA", "source", QStringLiteral("date"));
    info.refractionModel = RefractionModelWord(
        RefractionModelOfWord(readString(ini, "REFRACTION", "model", QStringLiteral("erfa"))));
    const double humidity = readFloat(ini, "REFRACTION", "humidity", 0.5);
    info.humidity = humidity >= 0 && humidity <= 1 ? humidity : 0.5;
    const double wavelength = readFloat(ini, "REFRACTION", "wavelength", 0.55);
    info.wavelength = wavelength >= 0.3 && wavelength <= 2.0 ? wavelength : 0.55;
    return true;
}

bool LoadSettingsFile(const QString& path, INIFILEINFO& info) {
    QFile file(path);
    QByteArray data;
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            WriteLog(QStringLiteral("Error"), QString::fromLatin1(kLoadFailed));
            return false;
        }
        data = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            WriteLog(QStringLiteral("Error"), QString::fromLatin1(kLoadFailed));
            return false;
        }
    }
    if (!ReadSettingsText(data, info)) {
        WriteLog(QStringLiteral("Error"), QString::fromLatin1(kLoadFailed));
        return false;
    }
    return true;
}

bool ComposeSettingsText(const QByteArray& existing, const INIFILEINFO& info, QByteArray& out) {
    CSimpleIniA ini(/*isUtf8=*/true);
    ini.SetSpaces(false); // "key=value", as the file has always been written
    if (!LoadIni(ini, existing))
        return false;

    for (const Key& k : kDeleteOrder)
        ini.Delete(k.section, k.key);

    auto put = [&ini](const char* section, const char* key, const QString& value) {
        ini.SetValue(section, key, value.toUtf8().constData());
    };
    put("LANGUAGE", "lang", info.lang);
    put("ZOOM", "factor", FormatSettingsFloat(static_cast<double>(info.factor)));
    put("REGION", "region", info.region);
    put("VIEW", "style", info.style);
    put("CIRCLECENTER", "x", FormatSettingsFloat(info.centerX));
    put("CIRCLECENTER", "y", FormatSettingsFloat(info.centerY));
    put("ASTRONOMICAL_REFRACTION", "latitude", FormatSettingsFloat(info.latitude));
    put("ASTRONOMICAL_REFRACTION", "longitude", FormatSettingsFloat(info.longitude));
    put("ASTRONOMICAL_REFRACTION", "P", FormatSettingsFloat(info.P));
    put("ASTRONOMICAL_REFRACTION", "P_UnitType", QString::number(info.P_UnitType));
    put("ASTRONOMICAL_REFRACTION", "T", FormatSettingsFloat(info.T));
    put("ASTRONOMICAL_REFRACTION", "isCorrection",
        info.isCorrection ? QStringLiteral("1") : QStringLiteral("0"));
    put("STAR_DATA", "source", info.starDataSource);
    put("SITE", "set", info.siteSet ? QStringLiteral("1") : QStringLiteral("0"));
    put("SITE", "elevation", FormatSettingsFloat(info.elevation));
    put("REFRACTION", "model", info.refractionModel);
    put("REFRACTION", "humidity", FormatSettingsFloat(info.humidity));
    put("REFRACTION", "wavelength", FormatSettingsFloat(info.wavelength));

    std::string text;
    if (ini.Save(text) < 0)
        return false;
    out = QByteArray(text.data(), static_cast<qsizetype>(text.size()));
    return true;
}

bool SaveSettingsFile(const QString& path, const INIFILEINFO& info) {
    QByteArray existing;
    QFile old(path);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly)) {
            WriteLog(QStringLiteral("Error"), QString::fromLatin1(kSaveFailed));
            return false;
        }
        existing = old.readAll();
        old.close();
    }
    QByteArray text;
    if (!ComposeSettingsText(existing, info, text)) {
        WriteLog(QStringLiteral("Error"), QString::fromLatin1(kSaveFailed));
        return false;
    }
    // Write beside the old file and rename over it: a crash or a full disk during
    // the save leaves the previous file whole.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit()) {
        WriteLog(QStringLiteral("Error"), QString::fromLatin1(kSaveFailed));
        return false;
    }
    return true;
}

double SettingsNumberIn(const CSimpleIniA& ini, const char* section, const char* key, double low,
                        double high, double otherwise) {
    const auto v = parseFloat(ini, section, key);
    return (v && std::isfinite(*v) && *v >= low && *v <= high) ? *v : otherwise;
}

bool ReadSettingsIni(const QString& path, CSimpleIniA& ini) {
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    return file.error() == QFileDevice::NoError && LoadIni(ini, data);
}

bool WriteSettingsIni(const QString& path, const CSimpleIniA& ini) {
    std::string text;
    if (ini.Save(text) < 0)
        return false;
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) &&
           out.write(text.data(), static_cast<qint64>(text.size())) ==
               static_cast<qint64>(text.size()) &&
           out.commit();
}
