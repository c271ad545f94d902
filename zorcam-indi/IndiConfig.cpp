#include "zorcam-indi/IndiConfig.h"

#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <algorithm>
#include <cstdlib>

namespace zorcamindi {

namespace {

constexpr const char* kSection = "CAMERA";

int ReadInt(const CSimpleIniA& ini, const char* key, int fallback, int lo, int hi) {
    const char* text = ini.GetValue(kSection, key, nullptr);
    if (!text || !*text)
        return fallback;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (*end != 0 || v < lo || v > hi)
        return fallback;
    return static_cast<int>(v);
}

double ReadDouble(const CSimpleIniA& ini, const char* key, double fallback, double lo, double hi) {
    const char* text = ini.GetValue(kSection, key, nullptr);
    if (!text || !*text)
        return fallback;
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (*end != 0 || !(v >= lo && v <= hi))
        return fallback;
    return v;
}

} // namespace

std::string IndiConfigPath(const std::string& libraryFolder) {
    if (const char* env = std::getenv("ZORCAM_INDI_CONFIG"); env && *env)
        return env;
    return libraryFolder.empty() ? std::string("zorcam-indi.ini")
                                 : libraryFolder + "/zorcam-indi.ini";
}

IndiConfig LoadIndiConfig(const std::string& path) {
    IndiConfig cfg;
    CSimpleIniA ini;
    if (ini.LoadFile(path.c_str()) < 0)
        return cfg;
    if (const char* host = ini.GetValue(kSection, "indiHost", nullptr); host && *host)
        cfg.host = host;
    cfg.port = ReadInt(ini, "indiPort", cfg.port, 1, 65535);
    if (const char* device = ini.GetValue(kSection, "indiDevice", nullptr))
        cfg.device = device;
    cfg.focalLengthMm = ReadDouble(ini, "focalLengthMm", cfg.focalLengthMm, 0, 100000);
    cfg.connectTimeoutMs = ReadInt(ini, "connectTimeoutMs", cfg.connectTimeoutMs, 100, 60000);
    cfg.deviceTimeoutMs = ReadInt(ini, "deviceTimeoutMs", cfg.deviceTimeoutMs, 100, 60000);
    cfg.frameTimeoutMs = ReadInt(ini, "frameTimeoutMs", cfg.frameTimeoutMs, 100, 600000);
    return cfg;
}

} // namespace zorcamindi
