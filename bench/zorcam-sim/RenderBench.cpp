// Cost of one simulated frame: the renderer alone, and a whole live-frame call of
// the library (sky placement, rendering, copy into the caller's buffer).
#include "zorcam-sim/FrameRenderer.h"
#include "zorcam-sim/MountModel.h"
#include "zorcam-sim/Simulator.h"
#include "zorcam-sim/TemplateSky.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <vector>

using namespace zorcamsim;

static void BM_RenderFrame(benchmark::State& state) {
    RenderParams params;
    FrameRenderer renderer(params);
    TemplateSky sky(Hemisphere::North, 2024, params.fieldStars, params.seed);
    MountParams mount;
    const FrameGeometry g = PlaceMount(mount, RefractionParams{}, 0.0);
    std::vector<RenderStar> stars;
    for (const SkyStar& s : sky.Stars()) {
        const Point2 p = g.Place(s);
        stars.push_back({p.x, p.y, FrameRenderer::StarElectronsPerSec(params, s.magnitude)});
    }
    std::vector<unsigned char> frame(static_cast<std::size_t>(params.width) * params.height);
    std::uint64_t index = 0;
    for (auto _ : state) {
        renderer.Render(stars, 50000, 50, ++index, frame.data());
        benchmark::DoNotOptimize(frame.data());
    }
}
BENCHMARK(BM_RenderFrame)->Unit(benchmark::kMillisecond);

static void BM_LiveFrameCall(benchmark::State& state) {
    const std::string path = "/tmp/zorcam-sim-bench.ini";
    std::ofstream(path) << "[camera]\nthrottle=0\n[sky]\ntimeScale=1\n";
    setenv("ZORCAM_SIM_CONFIG", path.c_str(), 1);
    Simulator sim(".");
    sim.InitResource();
    const std::uint32_t h = sim.Open("ZENITHWAND-SIM-0001");
    sim.SetStreamMode(h, 1);
    sim.Init(h);
    sim.BeginLive(h);
    std::vector<unsigned char> buffer(SIM_MAX_FRAME_BYTES);
    std::uint32_t w, ht, b, c;
    for (auto _ : state) {
        if (sim.GetLiveFrame(h, &w, &ht, &b, &c, buffer.data()) != 0)
            state.SkipWithError("no frame");
        benchmark::DoNotOptimize(buffer.data());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_LiveFrameCall)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
