// The settings file reader on any bytes: whatever it accepts gives usable values;
// saving them into the same file and reading it again gives them back; the other
// keys of the file survive a further save, and the file's lines stop changing after
// its first save (blank lines aside: the INI writer may move them around comments).
#include "app/Settings.h"
#include "tests/fuzz/FuzzCheck.h"

#include <QList>

#include <SimpleIni.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <tuple>

namespace {

bool Near(double a, double b) {
    // The file keeps 15 significant digits.
    return std::fabs(a - b) <= 1e-13 * std::fmax(std::fabs(a), std::fabs(b));
}

// Every section, key and value of an INI text besides the twelve settings.
std::set<std::tuple<std::string, std::string, std::string>> OtherEntries(const QByteArray& text) {
    static const char* const kOwn[] = {"lang",     "factor",       "region", "style",
                                       "latitude", "longitude",    "P",      "P_UnitType",
                                       "T",        "isCorrection", "x",      "y"};
    CSimpleIniA ini(/*isUtf8=*/true);
    ini.LoadData(text.constData(), static_cast<size_t>(text.size()));
    std::set<std::tuple<std::string, std::string, std::string>> entries;
    CSimpleIniA::TNamesDepend sections;
    ini.GetAllSections(sections);
    for (const auto& section : sections) {
        entries.insert({section.pItem, "", ""});
        CSimpleIniA::TNamesDepend keys;
        ini.GetAllKeys(section.pItem, keys);
        for (const auto& key : keys) {
            bool own = false;
            for (const char* k : kOwn)
                own = own || QByteArray(key.pItem).compare(k, Qt::CaseInsensitive) == 0;
            if (!own)
                entries.insert(
                    {section.pItem, key.pItem, ini.GetValue(section.pItem, key.pItem, "")});
        }
    }
    return entries;
}

QList<QByteArray> WithoutBlankLines(const QByteArray& text) {
    QList<QByteArray> lines = text.split('\n');
    lines.removeIf([](const QByteArray& line) { return line.trimmed().isEmpty(); });
    return lines;
}

void CheckUsable(const INIFILEINFO& info) {
    FUZZ_CHECK(std::isfinite(info.factor) && info.factor > 0.0f && info.factor <= 4.0f);
    for (double v : {info.latitude, info.longitude, info.P, info.T, info.centerX, info.centerY})
        FUZZ_CHECK(std::isfinite(v));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    INIFILEINFO info;
    if (!ReadSettingsText(bytes, info))
        return 0;
    CheckUsable(info);

    QByteArray saved;
    FUZZ_CHECK(ComposeSettingsText(bytes, info, saved));
    INIFILEINFO again;
    FUZZ_CHECK(ReadSettingsText(saved, again));
    FUZZ_CHECK(again.region == info.region);
    FUZZ_CHECK(again.lang == info.lang);
    FUZZ_CHECK(again.style == info.style);
    FUZZ_CHECK(again.factor == info.factor);
    FUZZ_CHECK(again.P_UnitType == info.P_UnitType);
    FUZZ_CHECK(again.isCorrection == info.isCorrection);
    FUZZ_CHECK(Near(again.latitude, info.latitude) && Near(again.longitude, info.longitude));
    FUZZ_CHECK(Near(again.P, info.P) && Near(again.T, info.T));
    FUZZ_CHECK(Near(again.centerX, info.centerX) && Near(again.centerY, info.centerY));

    QByteArray savedTwice;
    FUZZ_CHECK(ComposeSettingsText(saved, again, savedTwice));
    FUZZ_CHECK(OtherEntries(savedTwice) == OtherEntries(saved));
    QByteArray savedThrice;
    FUZZ_CHECK(ComposeSettingsText(savedTwice, again, savedThrice));
    FUZZ_CHECK(WithoutBlankLines(savedThrice) == WithoutBlankLines(savedTwice));
    return 0;
}
