// Per-frame cost of the live view on a 1280 x 960 frame: RenderLiveView plus
// ShowLiveView with every mark on (the user-interface thread's share of a frame,
// window shown offscreen), the drawing alone, and the stretch. Each reports the
// heap allocations made per frame.
#include "app/AppPaths.h"
#include "app/MainFormUnit.h"
#include "app/Mystructs.h"
#include "camera/DisplayThread.h"
#include "dialogs/MessageBoxes.h"
#include "display/LiveView.h"
#include "display/Overlays.h"
#include "display/Stretch.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <opencv2/imgproc.hpp>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long long> g_allocations{0};
} // namespace

void* operator new(std::size_t n) {
    ++g_allocations;
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

void FillFrame(cv::Mat& frame) {
    cv::RNG rng(3);
    rng.fill(frame, cv::RNG::NORMAL, 30, 6);
    cv::circle(frame, {640, 480}, 3, 250, -1);
}

void AllMarksOn(DisplayThread& t) {
    t.SetEptNStar(300.5, 200.5);
    t.SetCirCenter(180, 640.2, 480.7);
    t.polarPosX = 660.1;
    t.polarPosY = 470.3;
    t.refStarAX = 500.5;
    t.refStarAY = 400.5;
    t.refStarBX = 700.5;
    t.refStarBY = 600.5;
    g_showEptNStar = g_showAxisMark = g_showAxisCircle = true;
    g_monitorPole = g_showRefStarA = g_showRefStarB = true;
}

void BM_RenderAndShowLiveView(benchmark::State& state) {
    DisplayThread thread;
    g_displayThread = &thread;
    AllMarksOn(thread);
    FillFrame(g_frameImage);
    RenderLiveView(); // first frame: the view takes its size
    ShowLiveView();
    const long long before = g_allocations;
    for (auto _ : state) {
        g_ringAngle = g_ringAngle >= 70 ? 0 : g_ringAngle + 10;
        RenderLiveView();
        ShowLiveView();
        g_viewUpdatePending = false;
    }
    state.counters["allocs_per_frame"] =
        benchmark::Counter(double(g_allocations - before) / double(state.iterations()));
    ClearOverlayFlags();
    g_displayThread = nullptr;
}
BENCHMARK(BM_RenderAndShowLiveView)->Unit(benchmark::kMillisecond);

// Colour conversion, every mark and the copy into the bitmap, without a window.
void BM_DrawFrame(benchmark::State& state) {
    cv::Mat frame(960, 1280, CV_8UC1), display(960, 1280, CV_8UC3);
    FillFrame(frame);
    QImage bitmap(1280, 960, QImage::Format_RGB32);
    OverlayMarks m;
    m.showEptNStar = m.showAxisMark = m.showAxisCircle = m.monitorPole = true;
    m.showRefStarA = m.showRefStarB = true;
    m.eptNStarX = 300.5;
    m.eptNStarY = 200.5;
    m.cirCenterX = 640.2;
    m.cirCenterY = 480.7;
    m.cirRadius = 180;
    m.polarPosX = 660;
    m.polarPosY = 470;
    m.refStarAX = m.refStarAY = 400;
    m.refStarBX = m.refStarBY = 600;
    const long long before = g_allocations;
    for (auto _ : state) {
        cv::cvtColor(frame, display, cv::COLOR_GRAY2BGR);
        DrawOverlays(display, m);
        CopyImageToBitmap(display, bitmap);
        benchmark::DoNotOptimize(bitmap.constBits());
    }
    state.counters["allocs_per_frame"] =
        benchmark::Counter(double(g_allocations - before) / double(state.iterations()));
}
BENCHMARK(BM_DrawFrame)->Unit(benchmark::kMillisecond);

void BM_StretchFrame(benchmark::State& state) {
    cv::Mat source(960, 1280, CV_8UC1), frame(960, 1280, CV_8UC1);
    FillFrame(source);
    const double scale = StretchScale(20, 120);
    const long long before = g_allocations;
    for (auto _ : state) {
        source.copyTo(frame);
        StretchFrame(frame.data, frame.data, 1280, 960, 20, scale);
        benchmark::DoNotOptimize(frame.data);
    }
    state.counters["allocs_per_frame"] =
        benchmark::Counter(double(g_allocations - before) / double(state.iterations()));
}
BENCHMARK(BM_StretchFrame)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    QApplication app(argc, argv);
    QTemporaryDir dir;
    SetDocumentsFolderForTesting(dir.path());
    SetSettingsFolderForTesting(dir.path());
    SetMessageBoxHandlerForTesting([](const QString&, const QString&) { return false; });
    int result = 0;
    {
        TFormMain window;
        window.show();
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        window.close();
    }
    return result;
}
