#include "zorcam-sim/ctl/IniEdit.h"

#include "zorcam-sim/SimConfig.h"

#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace zorcamsim {
namespace {

bool LoadText(const std::string& path, std::string& text, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (access(path.c_str(), F_OK) != 0) {
            text.clear(); // no file yet: all defaults
            return true;
        }
        error = "cannot read " + path;
        return false;
    }
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

// The numeric fields the tool can change, by section and key.
const double* Field(const SimConfig& c, const std::string& section, const std::string& key) {
    if (section == "mount") {
        if (key == "raAngleDeg")
            return &c.mount.raAngleDeg;
        if (key == "altErrArcmin")
            return &c.mount.altErrArcmin;
        if (key == "azErrArcmin")
            return &c.mount.azErrArcmin;
        if (key == "rollDeg")
            return &c.mount.rollDeg;
        if (key == "axisX")
            return &c.mount.axisX;
        if (key == "axisY")
            return &c.mount.axisY;
        if (key == "arcsecPerPixel")
            return &c.mount.arcsecPerPixel;
    }
    if (section == "sky") {
        if (key == "timeScale")
            return &c.sky.timeScale;
        if (key == "skyAngleDeg")
            return &c.sky.skyAngleDeg;
    }
    return nullptr;
}

} // namespace

std::string FormatNumber(double value) {
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

bool WriteSetting(const std::string& path, const std::string& section, const std::string& key,
                  const std::string& value, std::string& error) {
    std::string text;
    if (!LoadText(path, text, error))
        return false;
    CSimpleIniA ini;
    ini.SetUnicode(true);
    if (ini.LoadData(text) < 0) {
        error = path + " is not an INI file";
        return false;
    }
    ini.SetValue(section.c_str(), key.c_str(), value.c_str());
    std::string out;
    if (ini.Save(out) < 0) {
        error = "cannot format the settings";
        return false;
    }
    SimConfig check;
    std::vector<std::string> before, after;
    ParseSimConfig(text, check, before);
    check = SimConfig{};
    ParseSimConfig(out, check, after);
    if (after.size() > before.size()) {
        error = "rejected: " + after.back();
        return false;
    }

    const std::string temp = path + ".tmp" + std::to_string(getpid());
    {
        std::ofstream o(temp, std::ios::binary | std::ios::trunc);
        o << out;
        o.flush();
        if (!o) {
            error = "cannot write " + temp;
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        error = "cannot replace " + path;
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

bool ReadNumericSetting(const std::string& path, const std::string& section, const std::string& key,
                        double& value, std::string& error) {
    std::string text;
    if (!LoadText(path, text, error))
        return false;
    SimConfig config;
    std::vector<std::string> warnings;
    if (!ParseSimConfig(text, config, warnings)) {
        error = path + " is not an INI file";
        return false;
    }
    const double* field = Field(config, section, key);
    if (!field) {
        error = "[" + section + "] " + key + " is not a numeric mount or sky setting";
        return false;
    }
    value = *field;
    return true;
}

bool AddToSetting(const std::string& path, const std::string& section, const std::string& key,
                  double delta, double& newValue, std::string& error) {
    double current = 0;
    if (!ReadNumericSetting(path, section, key, current, error))
        return false;
    newValue = current + delta;
    return WriteSetting(path, section, key, FormatNumber(newValue), error);
}

std::string DefaultConfigPath() {
    if (const char* env = std::getenv("ZORCAM_SIM_CONFIG"); env && *env)
        return env;
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) {
        std::string exe(buf, static_cast<std::size_t>(n));
        const auto slash = exe.rfind('/');
        if (slash != std::string::npos)
            return exe.substr(0, slash) + "/zorcam-sim.ini";
    }
    return "zorcam-sim.ini";
}

} // namespace zorcamsim
