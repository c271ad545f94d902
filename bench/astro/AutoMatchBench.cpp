// One automatic template match on a full frame: all stars found and centroided,
// then the pole star and the template turn searched. Target: under 50 ms per attempt.
#include "astro/AutoMatch.h"
#include "astro/AxisFit.h"
#include "astro/StarDetect.h"
#include "unit/astro/CatalogueSkyList.h"
#include "unit/astro/SyntheticSky.h"

#include <benchmark/benchmark.h>

namespace {

void BM_AutoMatchFullFrame(benchmark::State& state) {
    std::mt19937 rng(17);
    // 0, 1: the template sky, north and south; 2, 3: the real stars of a moment.
    const char* hemisphere = state.range(0) % 2 ? "S" : "N";
    const SkyList sky = state.range(0) < 2
                            ? TemplateSkyList(hemisphere, rng)
                            : CatalogueSkyList(hemisphere, {2026, 12, 10, 21, 30, 0.0});
    const cv::Mat frame = RenderSky(sky, RandomView(rng), rng);
    AutoMatchOptions opt;
    opt.frameWidth = frame.cols;
    opt.frameHeight = frame.rows;
    bool found = false;
    for (auto _ : state) {
        const AutoMatchResult r = MatchTemplate(DetectStars(frame), sky.pattern, opt);
        found = r.found;
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = found ? 1 : 0;
}
BENCHMARK(BM_AutoMatchFullFrame)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// Following the stars over one frame of an RA turn.
void BM_AxisFollowOneFrame(benchmark::State& state) {
    std::mt19937 rng(19);
    const SkyList sky = TemplateSkyList("N", rng);
    SkyView view = RandomView(rng);
    const std::vector<DetectedStar> first = DetectStars(RenderSky(sky, view, rng));
    view.turnDeg += 1.0;
    const cv::Mat frame = RenderSky(sky, view, rng);
    for (auto _ : state) {
        AxisFollower follower;
        follower.AddFrame(first);
        benchmark::DoNotOptimize(follower.AddFrame(DetectStars(frame)));
    }
}
BENCHMARK(BM_AxisFollowOneFrame)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
