#include "SimLibrary.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// The application calls the library from its user-interface thread and its
// capture thread at once.
TEST(SimThreads, FramesSettingsAndTruthFromTwoThreads) {
    SimLibrary& lib = SimLibrary::Get();
    ASSERT_TRUE(lib.loaded) << lib.error;
    SimConfigFile cfg("[camera]\nthrottle=0\n[sky]\ntimeScale=1000\n");
    const ZorcamHandle h = lib.Connect();
    ASSERT_NE(h, 0u);
    std::atomic<int> frames{0};
    std::atomic<bool> stop{false};
    std::thread capture([&] {
        std::vector<unsigned char> buffer(1280 * 960 * 3);
        std::uint32_t w, ht, b, c;
        while (!stop && frames < 40)
            if (lib.GetZORCAMLiveFrame(h, &w, &ht, &b, &c, buffer.data()) == 0)
                ++frames;
    });
    int changes = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (frames < 40 && std::chrono::steady_clock::now() < deadline) {
        lib.SetZORCAMParam(h, ZORCAM_CONTROL_EXPOSURE, changes % 2 ? 50000 : 100000);
        lib.SetZORCAMParam(h, ZORCAM_CONTROL_GAIN, changes % 2 ? 50 : 90);
        ZorcamSimTruth t;
        lib.GetTruth(&t);
        ++changes;
    }
    stop = true;
    capture.join();
    EXPECT_EQ(frames, 40);
    EXPECT_EQ(lib.Truth().frameIndex, 40u);
}

} // namespace
