// zorcam-sim-adjuster: a simulated motorised altitude/azimuth base for the simulated
// mount. It speaks a GRBL-style protocol on a pseudo-terminal and turns the mount's
// altitude and azimuth screws by editing the simulator's INI file, as zorcam-sim-ctl
// does.
//
//   zorcam-sim-adjuster [--config FILE] [--link PATH] [--alt-gear ARCSEC_PER_MM]
//                       [--az-gear ARCSEC_PER_MM] [--backlash MM] [--limit MM] [--drop N]
//
// It prints the port to open ("/dev/pts/7"; with --link also a symbolic link of that
// name) and serves until it is stopped (SIGINT, SIGTERM). The file is FILE, else
// $ZORCAM_SIM_CONFIG, else zorcam-sim.ini beside this tool.
#include "zorcam-sim/adjuster/PtyAdjuster.h"
#include "zorcam-sim/ctl/IniEdit.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

volatile std::sig_atomic_t g_stop = 0;

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string path = zorcamsim::DefaultConfigPath(), link;
    zorcamsim::AdjusterConfig config;
    for (std::size_t i = 0; i + 1 < args.size(); i += 2) {
        const std::string& k = args[i];
        const char* v = args[i + 1].c_str();
        if (k == "--config")
            path = v;
        else if (k == "--link")
            link = v;
        else if (k == "--alt-gear")
            config.alt.arcsecPerMm = std::atof(v);
        else if (k == "--az-gear")
            config.az.arcsecPerMm = std::atof(v);
        else if (k == "--backlash")
            config.alt.backlashMm = config.az.backlashMm = std::atof(v);
        else if (k == "--limit")
            config.alt.travelLimitMm = config.az.travelLimitMm = std::atof(v);
        else if (k == "--drop")
            config.dropEvery = std::atoi(v);
        else {
            std::fprintf(stderr, "zorcam-sim-adjuster: unknown option %s\n", k.c_str());
            return 2;
        }
    }
    if (args.size() % 2 != 0) {
        std::fprintf(stderr, "zorcam-sim-adjuster: option %s needs a value\n", args.back().c_str());
        return 2;
    }
    zorcamsim::PtyAdjuster adjuster(config, [&path](double altArcsec, double azArcsec) {
        std::string error;
        double now = 0;
        if ((altArcsec != 0 && !zorcamsim::AddToSetting(path, "mount", "altErrArcmin",
                                                        altArcsec / 60.0, now, error)) ||
            (azArcsec != 0 &&
             !zorcamsim::AddToSetting(path, "mount", "azErrArcmin", azArcsec / 60.0, now, error)))
            std::fprintf(stderr, "zorcam-sim-adjuster: %s\n", error.c_str());
    });
    if (!adjuster.Start()) {
        std::fprintf(stderr, "zorcam-sim-adjuster: %s\n", adjuster.Error().c_str());
        return 1;
    }
    if (!link.empty()) {
        ::unlink(link.c_str());
        if (::symlink(adjuster.SlaveName().c_str(), link.c_str()) != 0)
            std::fprintf(stderr, "zorcam-sim-adjuster: cannot make the link %s\n", link.c_str());
    }
    std::printf("%s\n", adjuster.SlaveName().c_str());
    std::fflush(stdout);
    std::signal(SIGINT, [](int) { g_stop = 1; });
    std::signal(SIGTERM, [](int) { g_stop = 1; });
    while (!g_stop)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    adjuster.Stop();
    if (!link.empty())
        ::unlink(link.c_str());
    return 0;
}
