// The conversion of one frame of a large sensor into the program's 1280 x 960
// 8-bit frame. Target: under 10 ms for a 16-bit 3000 x 2000 frame.
#include "zorcam-indi/FrameConverter.h"

#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>

#include <vector>

namespace {

// pixel pitch, focal length: 3.76 um and 25 mm give 31"/px (almost no resampling),
// 2.4 um and 50 mm give 9.9"/px (shrunk to a third).
void Convert(benchmark::State& state, const char* bayer, double pixelUm, double focalMm) {
    cv::Mat sensor(2000, 3000, CV_16U);
    cv::randu(sensor, 800, 1600);
    zorcamindi::ConversionSettings s;
    s.pixelSizeUm = pixelUm;
    s.focalLengthMm = focalMm;
    zorcamindi::FrameConverter conv(s);
    zorcamindi::RawFrame raw{sensor.cols, sensor.rows, 16, sensor.data, bayer};
    std::vector<unsigned char> out(zorcamindi::FrameConverter::kOutputBytes);
    for (auto _ : state) {
        conv.Convert(raw, out.data());
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_Mono16_3000x2000_31asec(benchmark::State& s) {
    Convert(s, "", 3.76, 25.0);
}
void BM_Mono16_3000x2000_10asec(benchmark::State& s) {
    Convert(s, "", 2.4, 50.0);
}
void BM_Bayer16_3000x2000_31asec(benchmark::State& s) {
    Convert(s, "RGGB", 3.76, 25.0);
}
void BM_Bayer16_3000x2000_10asec(benchmark::State& s) {
    Convert(s, "RGGB", 2.4, 50.0);
}

BENCHMARK(BM_Mono16_3000x2000_31asec)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mono16_3000x2000_10asec)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bayer16_3000x2000_31asec)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bayer16_3000x2000_10asec)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
