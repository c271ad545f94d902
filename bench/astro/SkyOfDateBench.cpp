// The template angles of a moment, as the window computes them once a minute:
// the sky of the moment (ERFA's star-independent parameters) and the three
// template stars of one hemisphere. Target: well under 1 ms.
#include "astro/SkyOfDate.h"
#include "astro/StarDataOfDate.h"

#include <benchmark/benchmark.h>

namespace {

void BM_TemplateAnglesOfMoment(benchmark::State& state) {
    int minute = 0;
    for (auto _ : state) {
        const UtcMoment m{2026, 12, 10, 21, minute++ % 60, 0.0};
        const std::optional<SkyOfDate> sky = SkyOfDate::At(m);
        TemplateOfDate t = sky->Template(SkyHemisphere::North);
        benchmark::DoNotOptimize(t);
    }
}
BENCHMARK(BM_TemplateAnglesOfMoment)->Unit(benchmark::kMicrosecond);

// The whole refresh of one hemisphere's record: angles and template pole.
void BM_RefreshStarDataOfDate(benchmark::State& state) {
    STARDATA record = StarDataStartValues("N");
    LoadStarDataPositions("N", record);
    int minute = 0;
    for (auto _ : state) {
        const UtcMoment m{2026, 12, 10, 21, minute++ % 60, 0.0};
        benchmark::DoNotOptimize(RefreshStarDataOfDate("N", record, m));
    }
}
BENCHMARK(BM_RefreshStarDataOfDate)->Unit(benchmark::kMicrosecond);

} // namespace
