// GetPreciseStarPos on a full camera frame, against the whole-frame computation it
// must agree with (which median-filters the entire frame twice per call).
#include "astro/Centroid.h"
#include "unit/astro/CentroidOracle.h"
#include "unit/astro/StarFrames.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

cv::Mat StarFrame() {
    std::mt19937 rng(7);
    cv::Mat frame = NoisySky(1280, 960, 30, 5, rng);
    AddStar(frame, 640.3, 480.6, 180, 1.8);
    AddStar(frame, 500.2, 300.9, 120, 1.5);
    return frame;
}

void BM_GetPreciseStarPos(benchmark::State& state) {
    const cv::Mat frame = StarFrame();
    double x = 0, y = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetPreciseStarPos(frame, 645.0, 475.0, x, y));
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(y);
    }
}
BENCHMARK(BM_GetPreciseStarPos)->Unit(benchmark::kMicrosecond);

void BM_WholeFrameOracle(benchmark::State& state) {
    const cv::Mat frame = StarFrame();
    double x = 0, y = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(OraclePreciseStarPos(frame, 645.0, 475.0, x, y));
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(y);
    }
}
BENCHMARK(BM_WholeFrameOracle)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
