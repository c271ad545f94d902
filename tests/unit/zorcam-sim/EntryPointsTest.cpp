#include "SimLibrary.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <numeric>
#include <thread>

namespace {

class SimEntryPoints : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(lib.loaded) << lib.error; }
    SimLibrary& lib = SimLibrary::Get();
};

TEST_F(SimEntryPoints, DefaultCameraDeliversFullFrames) {
    SimConfigFile cfg(kFrozenSky);
    const ZorcamHandle h = lib.Connect();
    ASSERT_NE(h, 0u);
    char id[ZORCAM_ID_LENGTH];
    std::memset(id, 'x', sizeof id);
    ASSERT_EQ(lib.GetZORCAMId(0, id), 0);
    EXPECT_STREQ(id, "ZENITHWAND-SIM-0001");

    std::vector<unsigned char> buffer(1280 * 960 * 3, 0xAB);
    std::uint32_t w = 0, ht = 0, bpp = 0, ch = 0;
    ASSERT_EQ(lib.GetZORCAMLiveFrame(h, &w, &ht, &bpp, &ch, buffer.data()), 0);
    EXPECT_EQ(w, 1280u);
    EXPECT_EQ(ht, 960u);
    EXPECT_EQ(bpp, 8u);
    EXPECT_EQ(ch, 1u);
    EXPECT_EQ(buffer[1280 * 960], 0xAB) << "wrote past the frame it reported";
    EXPECT_EQ(lib.GetZORCAMParam(h, ZORCAM_CONTROL_EXPOSURE), 50000);
    EXPECT_EQ(lib.GetZORCAMParam(h, ZORCAM_CONTROL_GAIN), 50);
}

TEST_F(SimEntryPoints, IdsComeInTheConfiguredOrder) {
    SimConfigFile cfg("[camera]\nthrottle=0\nids = OTHER-CAMERA-1, ZENITHWAND-SECOND, "
                      "ZenithWand-lower, ZENITHWAND-A-VERY-LONG-IDENTIFIER-BEYOND-31\n");
    ASSERT_EQ(lib.InitZORCAMResource(), 0);
    ASSERT_EQ(lib.ScanZORCAM(), 4);
    const char* expected[] = {"OTHER-CAMERA-1", "ZENITHWAND-SECOND", "ZenithWand-lower",
                              "ZENITHWAND-A-VERY-LONG-IDENTIFI"};
    for (int i = 0; i < 4; ++i) {
        char id[ZORCAM_ID_LENGTH + 8];
        std::memset(id, 'x', sizeof id);
        ASSERT_EQ(lib.GetZORCAMId(i, id), 0);
        EXPECT_STREQ(id, expected[i]);
        EXPECT_EQ(id[ZORCAM_ID_LENGTH], 'x') << "wrote past the 32-byte id buffer";
    }
    char id[ZORCAM_ID_LENGTH];
    EXPECT_NE(lib.GetZORCAMId(4, id), 0);
    EXPECT_NE(lib.GetZORCAMId(-1, id), 0);
    EXPECT_NE(lib.GetZORCAMId(0, nullptr), 0);
    const ZorcamHandle second = lib.OpenZORCAM("ZENITHWAND-SECOND");
    const ZorcamHandle first = lib.OpenZORCAM("OTHER-CAMERA-1");
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, 0u);
    EXPECT_NE(first, second);
    EXPECT_EQ(lib.OpenZORCAM("ZENITHWAND-NONE"), 0u);
    EXPECT_EQ(lib.OpenZORCAM(nullptr), 0u);
}

TEST_F(SimEntryPoints, CallsOnBadHandlesOrNullBuffersFailQuietly) {
    SimConfigFile cfg(kFrozenSky);
    const ZorcamHandle h = lib.Connect();
    ASSERT_NE(h, 0u);
    std::vector<unsigned char> buffer(1280 * 960 * 3);
    std::uint32_t w = 0, ht = 0, bpp = 0, ch = 0;
    EXPECT_NE(lib.GetZORCAMLiveFrame(h + 77, &w, &ht, &bpp, &ch, buffer.data()), 0);
    EXPECT_NE(lib.GetZORCAMLiveFrame(h, &w, &ht, &bpp, &ch, nullptr), 0);
    EXPECT_NE(lib.SetZORCAMParam(h, 99, 1.0), 0);
    EXPECT_NE(lib.SetZORCAMParam(h, ZORCAM_CONTROL_EXPOSURE, -5.0), 0);
    EXPECT_NE(lib.SetZORCAMParam(h, ZORCAM_CONTROL_GAIN, 50.5), 0);
    EXPECT_NE(lib.InitZORCAM(0), 0);
    EXPECT_EQ(lib.StopZORCAMLive(h), 0);
    EXPECT_NE(lib.GetZORCAMLiveFrame(h, &w, &ht, &bpp, &ch, buffer.data()), 0)
        << "no frames after live mode stopped";
    EXPECT_EQ(lib.CloseZORCAM(h), 0);
    EXPECT_NE(lib.CloseZORCAM(h), 0);
    EXPECT_EQ(lib.ReleaseZORCAMResource(), 0);
    EXPECT_EQ(lib.ScanZORCAM(), 0) << "nothing is found before the resources are set up";
}

TEST_F(SimEntryPoints, ChipInfoAndSingleFrames) {
    SimConfigFile cfg(kFrozenSky);
    const ZorcamHandle h = lib.Connect();
    ASSERT_NE(h, 0u);
    double cw = 0, chh = 0, pix = 0;
    int iw = 0, ih = 0, bpp = 0, color = 1;
    ASSERT_EQ(lib.GetZORCAMChipInfo(h, &cw, &chh, &iw, &ih, &pix, &bpp, &color), 0);
    EXPECT_EQ(iw, 1280);
    EXPECT_EQ(ih, 960);
    EXPECT_EQ(bpp, 8);
    EXPECT_EQ(color, 0);
    EXPECT_EQ(lib.GetZORCAMMemLength(h), 1280 * 960);
    EXPECT_EQ(lib.IsZORCAMControlAvailable(h, ZORCAM_CONTROL_EXPOSURE), 0);
    EXPECT_NE(lib.IsZORCAMControlAvailable(h, 1234), 0);
    EXPECT_NE(lib.ExpZORCAMSingleFrame(h), 0) << "no single frame while live";
    ASSERT_EQ(lib.StopZORCAMLive(h), 0);
    ASSERT_EQ(lib.ExpZORCAMSingleFrame(h), 0);
    std::vector<unsigned char> buffer(1280 * 960 * 3);
    std::uint32_t w = 0, ht = 0, b = 0, c = 0;
    EXPECT_EQ(lib.GetZORCAMSingleFrame(h, &w, &ht, &b, &c, buffer.data()), 0);
    EXPECT_EQ(w * ht, 1280u * 960u);
    EXPECT_NE(lib.GetZORCAMSingleFrame(h, &w, &ht, &b, &c, buffer.data()), 0)
        << "one exposure gives one frame";
}

TEST_F(SimEntryPoints, FramesComeAtTheExposureRate) {
    SimConfigFile cfg("[sky]\ntimeScale=0\n[camera]\nthrottle=1\n");
    // The first exposure starts inside Connect (live mode begins there), so the
    // time is measured from before it: a later start would leave out part of
    // the first exposure. A loaded machine only makes the wait longer.
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const ZorcamHandle h = lib.Connect(100000);
    ASSERT_NE(h, 0u);
    std::vector<unsigned char> buffer(1280 * 960 * 3);
    std::uint32_t w, ht, b, c;
    const auto deadline = start + std::chrono::seconds(10);
    int frames = 0;
    while (frames < 3 && Clock::now() < deadline) {
        if (lib.GetZORCAMLiveFrame(h, &w, &ht, &b, &c, buffer.data()) == 0)
            ++frames;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    ASSERT_EQ(frames, 3);
    // Three frames of 100 ms each cannot come sooner than 300 ms after live start.
    EXPECT_GE(elapsed, 0.3);
}

} // namespace
