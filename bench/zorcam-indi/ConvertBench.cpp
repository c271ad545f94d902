// The conversion of one frame of a large sensor into the program's 1280 x 960
// 8-bit frame, from pixels and from the FITS file a driver sends (read with
// cfitsio). Target: under 10 ms of CPU for a 16-bit 3000 x 2000 frame.
#include "zorcam-indi/FrameConverter.h"
#include "zorcam-indi/ImageDecoder.h"

#include <benchmark/benchmark.h>

#include <fitsio.h>
#include <opencv2/core.hpp>

#include <cstdlib>
#include <string>
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

// A driver's 16-bit FITS frame (BZERO 32768), plain or Rice-compressed, decoded
// and converted as the live loop does.
std::vector<char> FitsFrame(bool compressed) {
    cv::Mat sensor(2000, 3000, CV_16U);
    cv::randu(sensor, 800, 1600);
    std::size_t size = 2880;
    void* mem = std::malloc(size);
    fitsfile* f = nullptr;
    int status = 0;
    fits_create_memfile(&f, &mem, &size, 2880, std::realloc, &status);
    if (compressed)
        fits_set_compression_type(f, RICE_1, &status);
    long axes[2] = {sensor.cols, sensor.rows};
    fits_create_img(f, USHORT_IMG, 2, axes, &status);
    fits_write_img(f, TUSHORT, 1, static_cast<LONGLONG>(sensor.total()), sensor.data, &status);
    fits_close_file(f, &status);
    std::vector<char> out(static_cast<char*>(mem), static_cast<char*>(mem) + size);
    std::free(mem);
    return out;
}

void DecodeAndConvert(benchmark::State& state, bool compressed) {
    const std::vector<char> file = FitsFrame(compressed);
    zorcamindi::ConversionSettings s;
    s.pixelSizeUm = 3.76;
    s.focalLengthMm = 25.0;
    zorcamindi::FrameConverter conv(s);
    std::vector<unsigned char> out(zorcamindi::FrameConverter::kOutputBytes);
    zorcamindi::DecodedImage image;
    std::string why;
    for (auto _ : state) {
        if (!zorcamindi::DecodeImage(file.data(), file.size(), compressed ? ".fits.fz" : ".fits",
                                     image, why) ||
            !conv.Convert(image.Raw(), out.data())) {
            state.SkipWithError(why.c_str());
            break;
        }
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_Fits16_3000x2000_31asec(benchmark::State& s) {
    DecodeAndConvert(s, false);
}
void BM_FitsRice16_3000x2000_31asec(benchmark::State& s) {
    DecodeAndConvert(s, true);
}

BENCHMARK(BM_Mono16_3000x2000_31asec)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fits16_3000x2000_31asec)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitsRice16_3000x2000_31asec)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mono16_3000x2000_10asec)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bayer16_3000x2000_31asec)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bayer16_3000x2000_10asec)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
