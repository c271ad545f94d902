// One monitor-mode frame (1280x960): our tracker against the whole-frame way,
// which median-filters the whole frame twice per star, magnifies the whole frame
// 5x and converts it to colour before cutting out the 200x200 close-up. Prints
// both side by side and the speed-up.
#include "astro/PoleCoor.h"
#include "astro/Tracker.h"
#include "unit/astro/CentroidOracle.h"
#include "unit/astro/StarFrames.h"
#include "unit/tracking/CloseUpOracle.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>

namespace {

constexpr double kBap = 12.4543449046107, kAbp = 18.4713634052194;

cv::Mat Frame() {
    std::mt19937 rng(7);
    cv::Mat frame = NoisySky(1280, 960, 30, 5, rng);
    AddStar(frame, 745.3, 318.6, 160, 1.6); // A
    AddStar(frame, 700.2, 499.7, 200, 1.8); // B
    return frame;
}

TrackerInputs Inputs() {
    TrackerInputs in;
    in.aSeedX = 748;
    in.aSeedY = 316;
    in.bSeedX = 697;
    in.bSeedY = 503;
    in.axisX = 700;
    in.axisY = 420;
    in.angleBAP = kBap;
    in.angleABP = kAbp;
    in.refractionOn = true;
    in.latitude = 39.9;
    in.pressure = 1013;
    in.pressureUnit = 1;
    in.temperature = 5;
    return in;
}

void BM_TrackRefStars(benchmark::State& state) {
    const cv::Mat frame = Frame();
    const TrackerInputs in = Inputs();
    cv::Mat crop(200, 200, CV_8UC3);
    for (auto _ : state) {
        const TrackerResult r = TrackFrame(frame, in, crop);
        benchmark::DoNotOptimize(r);
        if (!r.poleFound)
            state.SkipWithError("pole not found");
    }
}
BENCHMARK(BM_TrackRefStars)->Unit(benchmark::kMillisecond);

void BM_WholeFrameWay(benchmark::State& state) {
    const cv::Mat frame = Frame();
    const TrackerInputs in = Inputs();
    // The two 5x images are made once, as the window does at its first showing.
    cv::Mat zoomGray(4800, 6400, CV_8UC1), zoomColor(4800, 6400, CV_8UC3), crop;
    for (auto _ : state) {
        double ax, ay, bx, by, px, py;
        OraclePreciseStarPos(frame, in.aSeedX, in.aSeedY, ax, ay);
        OraclePreciseStarPos(frame, in.bSeedX, in.bSeedY, bx, by);
        if (CalcPoleCOOR(ax, ay, kBap, bx, by, kAbp, px, py, in.axisX, in.axisY) != 1)
            state.SkipWithError("pole not found");
        OracleCloseUp(frame, in.axisX, in.axisY, px, py, CloseUpColoursFor(false), zoomGray,
                      zoomColor, crop);
        benchmark::DoNotOptimize(crop.data);
    }
}
BENCHMARK(BM_WholeFrameWay)->Unit(benchmark::kMillisecond);

// The console output, then one line comparing the two.
class SideBySide : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred)
                msPerFrame_[r.run_name.function_name] = r.GetAdjustedRealTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto ours = msPerFrame_.find("BM_TrackRefStars");
        const auto whole = msPerFrame_.find("BM_WholeFrameWay");
        if (ours == msPerFrame_.end() || whole == msPerFrame_.end() || ours->second <= 0)
            return;
        std::printf("\nper frame: tracker %.4f ms, whole-frame way %.3f ms, %.0fx faster\n",
                    ours->second, whole->second, whole->second / ours->second);
    }

private:
    std::map<std::string, double> msPerFrame_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    SideBySide reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
