// The simulated camera's configuration reader on any bytes: whatever it accepts
// lies within the ranges the simulator relies on.
#include "tests/fuzz/FuzzCheck.h"
#include "zorcam-sim/SimConfig.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

using zorcamsim::SimConfig;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SimConfig config;
    std::vector<std::string> warnings;
    if (!zorcamsim::ParseSimConfig(std::string(reinterpret_cast<const char*>(data), size), config,
                                   warnings))
        return 0;

    FUZZ_CHECK(!config.camera.ids.empty() && config.camera.ids.size() <= 8);
    for (const std::string& id : config.camera.ids)
        FUZZ_CHECK(!id.empty() && id.size() <= 31);
    const auto& r = config.render;
    FUZZ_CHECK(r.fieldStars >= 0 && r.fieldStars <= 5000);
    FUZZ_CHECK(r.hotPixels >= 0 && r.hotPixels <= 10000);
    FUZZ_CHECK(r.psfSigmaPx >= 0.5 && r.psfSigmaPx <= 10);
    FUZZ_CHECK(r.zeroPointEps >= 1 && r.zeroPointEps <= 1e9);
    FUZZ_CHECK(r.aduPerE >= 0.001 && r.aduPerE <= 100);
    FUZZ_CHECK(r.seed <= 4294967295ULL);
    const auto& m = config.mount;
    FUZZ_CHECK(m.axisX >= 0 && m.axisX <= r.width - 1 && m.axisY >= 0 && m.axisY <= r.height - 1);
    FUZZ_CHECK(m.arcsecPerPixel >= 1 && m.arcsecPerPixel <= 600);
    FUZZ_CHECK(std::isfinite(m.rollDeg) && std::isfinite(m.raAngleDeg));
    FUZZ_CHECK(config.sky.hemisphere == 'N' || config.sky.hemisphere == 'S');
    FUZZ_CHECK(std::isfinite(config.sky.timeScale) && config.sky.timeScale >= 0);
    const auto& f = config.faults;
    FUZZ_CHECK(f.dropEvery >= 0);
    FUZZ_CHECK(f.frameWidth >= 0 && f.frameWidth <= 8192 && f.frameHeight >= 0 &&
               f.frameHeight <= 8192);
    for (int i : f.getIdFailIndexes)
        FUZZ_CHECK(i >= 0 && i < 64);
    return 0;
}
