// zorcam-sim-ctl: turns the simulated mount while the application runs, by editing
// the simulator's INI file (the simulator re-reads it when it changes).
//
//   zorcam-sim-ctl [--config FILE] ra DEGREES      turn the RA axis (clockwise +)
//   zorcam-sim-ctl [--config FILE] alt ARCMIN      move the altitude screw
//   zorcam-sim-ctl [--config FILE] az ARCMIN       move the azimuth screw
//   zorcam-sim-ctl [--config FILE] set SECTION KEY VALUE
//   zorcam-sim-ctl [--config FILE] show
//
// The file is FILE, else $ZORCAM_SIM_CONFIG, else zorcam-sim.ini beside this tool
// (the folder of libzorcam.so).
#include "zorcam-sim/ctl/IniEdit.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

bool ParseNumber(const std::string& text, double& value) {
    const char* first = text.data() + (!text.empty() && text[0] == '+' ? 1 : 0);
    const auto [end, ec] = std::from_chars(first, text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

int Usage() {
    std::fprintf(stderr, "usage: zorcam-sim-ctl [--config FILE] ra DEGREES | alt ARCMIN | az "
                         "ARCMIN | set SECTION KEY VALUE | show\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string path = zorcamsim::DefaultConfigPath();
    if (args.size() >= 2 && args[0] == "--config") {
        path = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty())
        return Usage();

    std::string error;
    const std::string& command = args[0];
    if (command == "show" && args.size() == 1) {
        std::printf("config: %s\n", path.c_str());
        for (const char* key : {"raAngleDeg", "altErrArcmin", "azErrArcmin", "rollDeg"}) {
            double v = 0;
            if (!zorcamsim::ReadNumericSetting(path, "mount", key, v, error)) {
                std::fprintf(stderr, "zorcam-sim-ctl: %s\n", error.c_str());
                return 1;
            }
            std::printf("%s = %s\n", key, zorcamsim::FormatNumber(v).c_str());
        }
        return 0;
    }
    if (command == "set" && args.size() == 4) {
        if (!zorcamsim::WriteSetting(path, args[1], args[2], args[3], error)) {
            std::fprintf(stderr, "zorcam-sim-ctl: %s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    const char* key = command == "ra"    ? "raAngleDeg"
                      : command == "alt" ? "altErrArcmin"
                      : command == "az"  ? "azErrArcmin"
                                         : nullptr;
    double delta = 0;
    if (!key || args.size() != 2 || !ParseNumber(args[1], delta))
        return Usage();
    double now = 0;
    if (!zorcamsim::AddToSetting(path, "mount", key, delta, now, error)) {
        std::fprintf(stderr, "zorcam-sim-ctl: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s = %s\n", key, zorcamsim::FormatNumber(now).c_str());
    return 0;
}
