#include "zorcam-sim/SimConfig.h"

#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace zorcamsim {
namespace {

std::string Trim(std::string s) {
    const char* blanks = " \t\r\n";
    s.erase(0, s.find_first_not_of(blanks));
    s.erase(s.find_last_not_of(blanks) + 1);
    return s;
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos)
            end = text.size();
        std::string item = Trim(text.substr(start, end - start));
        if (!item.empty())
            items.push_back(item);
        start = end + 1;
    }
    return items;
}

// One number of type T between blanks, a leading "+" allowed; false also when it
// does not fit T. Locale-independent: the application may run under a locale with
// a decimal comma.
template <typename T> bool ParseNumber(const std::string& text, T& value) {
    const std::string t = Trim(text);
    const char* first = t.data();
    if (!t.empty() && t[0] == '+')
        ++first;
    const auto [end, ec] = std::from_chars(first, t.data() + t.size(), value);
    return ec == std::errc() && end == t.data() + t.size();
}

bool ParseDouble(const std::string& text, double& value) {
    return ParseNumber(text, value) && std::isfinite(value);
}

class Reader {
public:
    Reader(const CSimpleIniA& ini, std::vector<std::string>& warnings)
        : ini_(ini), warnings_(warnings) {}

    const char* Raw(const char* section, const char* key) const {
        return ini_.GetValue(section, key, nullptr);
    }

    void Double(const char* section, const char* key, double min, double max, double& field) {
        const char* raw = Raw(section, key);
        if (!raw)
            return;
        double v = 0;
        if (!ParseDouble(raw, v) || v < min || v > max) {
            Warn(section, key, raw, min, max);
            return;
        }
        field = v;
    }

    void Int(const char* section, const char* key, long long min, long long max, int& field) {
        double v = field;
        Double(section, key, static_cast<double>(min), static_cast<double>(max), v);
        if (v != std::floor(v)) {
            Warn(section, key, Raw(section, key), static_cast<double>(min),
                 static_cast<double>(max));
            return;
        }
        field = static_cast<int>(v);
    }

    void Bool(const char* section, const char* key, bool& field) {
        const char* raw = Raw(section, key);
        if (!raw)
            return;
        const std::string t = Trim(raw);
        if (t == "1" || t == "true" || t == "yes" || t == "on")
            field = true;
        else if (t == "0" || t == "false" || t == "no" || t == "off")
            field = false;
        else
            warnings_.push_back(std::string("[") + section + "] " + key + " = " + t +
                                ": not a yes/no value, kept the default");
    }

    void Warn(const char* section, const char* key, const char* raw, double min, double max) {
        warnings_.push_back(std::string("[") + section + "] " + key + " = " + (raw ? raw : "") +
                            ": outside " + std::to_string(min) + " .. " + std::to_string(max) +
                            " or not a number, kept the default");
    }

private:
    const CSimpleIniA& ini_;
    std::vector<std::string>& warnings_;
};

// "a<separator>b" as two whole numbers.
bool ParsePair(const std::string& text, char separator, int& a, int& b) {
    const std::size_t at = text.find(separator);
    return at != std::string::npos && ParseNumber(text.substr(0, at), a) &&
           ParseNumber(text.substr(at + 1), b);
}

bool ParseDate(const std::string& text) {
    int y = 0, m = 0, d = 0;
    const std::size_t first = text.find('-');
    if (first == std::string::npos || !ParseNumber(text.substr(0, first), y) ||
        !ParsePair(text.substr(first + 1), '-', m, d))
        return false;
    return y >= 1900 && y <= 2200 && m >= 1 && m <= 12 && d >= 1 && d <= 31;
}

} // namespace

bool ParseSimConfig(const std::string& iniText, SimConfig& config,
                    std::vector<std::string>& warnings) {
    CSimpleIniA ini;
    ini.SetUnicode(true);
    if (ini.LoadData(iniText) < 0)
        return false;
    Reader r(ini, warnings);

    // [camera]
    if (const char* ids = r.Raw("camera", "ids")) {
        std::vector<std::string> list = SplitList(ids);
        if (list.empty() || list.size() > 8) {
            warnings.push_back("[camera] ids: give 1 to 8 ids, kept the default");
        } else {
            for (std::string& id : list)
                if (id.size() > 31)
                    id.resize(31); // the id buffer holds 31 characters and the terminator
            config.camera.ids = list;
        }
    }
    r.Bool("camera", "throttle", config.camera.throttle);

    // [sky]
    if (const char* h = r.Raw("sky", "hemisphere")) {
        const std::string t = Trim(h);
        if (t == "N" || t == "n" || t == "north")
            config.sky.hemisphere = 'N';
        else if (t == "S" || t == "s" || t == "south")
            config.sky.hemisphere = 'S';
        else
            warnings.push_back("[sky] hemisphere = " + t + ": use N or S, kept the default");
    }
    if (const char* d = r.Raw("sky", "date")) {
        const std::string t = Trim(d);
        if (t.empty() || ParseDate(t))
            config.sky.date = t;
        else
            warnings.push_back("[sky] date = " + t + ": use YYYY-MM-DD, kept the default");
    }
    if (const char* v = r.Raw("sky", "model")) {
        const std::string t = Trim(v);
        if (t == "template" || t == "catalogue")
            config.sky.model = t;
        else
            warnings.push_back("[sky] model = " + t +
                               ": use template or catalogue, kept the default");
    }
    if (const char* v = r.Raw("sky", "time")) {
        const std::string t = Trim(v);
        int hh = -1, mm = -1, ss = -1;
        char tail = 0;
        if (std::sscanf(t.c_str(), "%d:%d:%d%c", &hh, &mm, &ss, &tail) == 3 && hh >= 0 && hh < 24 &&
            mm >= 0 && mm < 60 && ss >= 0 && ss < 60)
            config.sky.time = t;
        else
            warnings.push_back("[sky] time = " + t + ": use HH:MM:SS, kept the default");
    }
    r.Double("sky", "timeScale", 0, 100000, config.sky.timeScale);
    r.Double("sky", "skyAngleDeg", -360, 360, config.sky.skyAngleDeg);
    {
        double seed = static_cast<double>(config.render.seed);
        r.Double("sky", "seed", 0, 4294967295.0, seed);
        config.render.seed = static_cast<unsigned long long>(seed);
    }
    r.Int("sky", "fieldStars", 0, 5000, config.render.fieldStars);
    r.Double("sky", "psfSigmaPx", 0.5, 10, config.render.psfSigmaPx);
    r.Double("sky", "zeroPointEps", 1, 1e9, config.render.zeroPointEps);
    r.Double("sky", "skyEps", 0, 1e6, config.render.skyEps);

    // [sensor]
    r.Int("sensor", "hotPixels", 0, 10000, config.render.hotPixels);
    r.Double("sensor", "readNoiseE", 0, 100, config.render.readNoiseE);
    r.Double("sensor", "biasAdu", 0, 100, config.render.biasAdu);
    r.Double("sensor", "aduPerE", 0.001, 100, config.render.aduPerE);
    r.Bool("sensor", "noise", config.render.noise);

    // [mount]
    r.Double("mount", "axisX", 0, config.render.width - 1, config.mount.axisX);
    r.Double("mount", "axisY", 0, config.render.height - 1, config.mount.axisY);
    r.Double("mount", "rollDeg", -360, 360, config.mount.rollDeg);
    r.Double("mount", "raAngleDeg", -3600, 3600, config.mount.raAngleDeg);
    r.Double("mount", "altErrArcmin", -600, 600, config.mount.altErrArcmin);
    r.Double("mount", "azErrArcmin", -600, 600, config.mount.azErrArcmin);
    r.Double("mount", "arcsecPerPixel", 1, 600, config.mount.arcsecPerPixel);

    // [refraction]
    r.Bool("refraction", "enabled", config.refraction.enabled);
    r.Bool("refraction", "erfa", config.refraction.erfa);
    r.Double("refraction", "latitudeDeg", 0, 90, config.refraction.latitudeDeg);
    r.Double("refraction", "pressureKPa", 50, 120, config.refraction.pressureKPa);
    r.Double("refraction", "temperatureC", -80, 60, config.refraction.temperatureC);

    // [faults]
    FaultParams& f = config.faults;
    r.Bool("faults", "initResource", f.initResource);
    r.Bool("faults", "noCamera", f.noCamera);
    r.Bool("faults", "foreignIds", f.foreignIds);
    if (const char* list = r.Raw("faults", "getIdFail")) {
        f.getIdFailIndexes.clear();
        for (const std::string& item : SplitList(list)) {
            double v = 0;
            if (ParseDouble(item, v) && v >= 0 && v < 64 && v == std::floor(v))
                f.getIdFailIndexes.push_back(static_cast<int>(v));
            else
                warnings.push_back("[faults] getIdFail: " + item + " is not an index, ignored");
        }
    }
    r.Bool("faults", "open", f.open);
    r.Bool("faults", "streamMode", f.streamMode);
    r.Bool("faults", "init", f.init);
    r.Bool("faults", "resolution", f.resolution);
    if (const char* list = r.Raw("faults", "refuseExposure")) {
        f.allExposures = false;
        f.refusedExposures.clear();
        for (const std::string& item : SplitList(list)) {
            double v = 0;
            if (item == "*")
                f.allExposures = true;
            else if (ParseDouble(item, v))
                f.refusedExposures.push_back(v);
            else
                warnings.push_back("[faults] refuseExposure: " + item + " is not a number");
        }
    }
    if (const char* list = r.Raw("faults", "refuseGain")) {
        f.allGains = false;
        f.refusedGains.clear();
        for (const std::string& item : SplitList(list)) {
            double v = 0;
            if (item == "*")
                f.allGains = true;
            else if (ParseDouble(item, v) && v == std::floor(v) && std::fabs(v) <= 1e9)
                f.refusedGains.push_back(static_cast<int>(v));
            else
                warnings.push_back("[faults] refuseGain: " + item + " is not a whole number");
        }
    }
    r.Bool("faults", "usbTraffic", f.usbTraffic);
    r.Bool("faults", "speed", f.speed);
    r.Bool("faults", "beginLive", f.beginLive);
    r.Int("faults", "dropEvery", 0, 1000000, f.dropEvery);
    r.Bool("faults", "liveFrame", f.liveFrame);
    if (const char* size = r.Raw("faults", "frameSize")) {
        const std::string t = Trim(size);
        int w = 0, h = 0;
        if (t.empty() || t == "0") {
            f.frameWidth = f.frameHeight = 0;
        } else if (ParsePair(t, 'x', w, h) && w > 0 && h > 0 && w <= 8192 && h <= 8192) {
            f.frameWidth = w;
            f.frameHeight = h;
        } else {
            warnings.push_back("[faults] frameSize = " + t + ": use WIDTHxHEIGHT, ignored");
        }
    }
    return true;
}

} // namespace zorcamsim
