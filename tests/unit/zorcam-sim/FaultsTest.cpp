#include "SimLibrary.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class SimFaults : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(lib.loaded) << lib.error; }
    SimLibrary& lib = SimLibrary::Get();
};

// The steps of a connection and of the capture thread's start, in the order the
// application makes them; each fault must make exactly its own step fail.
enum Step {
    kInitResource,
    kScan,
    kMatchingId,
    kOpen,
    kStreamMode,
    kInit,
    kResolution,
    kExposure,
    kGain,
    kUsbTraffic,
    kSpeed,
    kBeginLive,
    kFrame,
    kNone
};

Step FirstFailingStep(SimLibrary& lib) {
    if (lib.InitZORCAMResource() != 0)
        return kInitResource;
    const int n = lib.ScanZORCAM();
    if (n < 1)
        return kScan;
    char id[ZORCAM_ID_LENGTH] = {};
    bool found = false;
    for (int i = 0; i < n && !found; ++i)
        found = lib.GetZORCAMId(i, id) == 0 && std::strncmp(id, "ZENITHWAND", 10) == 0;
    if (!found)
        return kMatchingId;
    const ZorcamHandle h = lib.OpenZORCAM(id);
    if (h == 0)
        return kOpen;
    if (lib.SetZORCAMStreamMode(h, ZORCAM_STREAM_LIVE) != 0)
        return kStreamMode;
    if (lib.InitZORCAM(h) != 0)
        return kInit;
    if (lib.SetZORCAMResolution(h, 0, 0, 1280, 960) != 0)
        return kResolution;
    if (lib.SetZORCAMParam(h, ZORCAM_CONTROL_EXPOSURE, 50000) != 0)
        return kExposure;
    if (lib.SetZORCAMParam(h, ZORCAM_CONTROL_GAIN, 50) != 0)
        return kGain;
    if (lib.SetZORCAMParam(h, ZORCAM_CONTROL_USB_TRAFFIC, 30) != 0)
        return kUsbTraffic;
    if (lib.SetZORCAMParam(h, ZORCAM_CONTROL_SPEED, 0) != 0)
        return kSpeed;
    if (lib.BeginZORCAMLive(h) != 0)
        return kBeginLive;
    // Unthrottled: a working camera delivers on the first call.
    std::vector<unsigned char> buffer(1280 * 960 * 3);
    std::uint32_t w, ht, b, c;
    for (int i = 0; i < 20; ++i)
        if (lib.GetZORCAMLiveFrame(h, &w, &ht, &b, &c, buffer.data()) == 0)
            return kNone;
    return kFrame;
}

struct FaultCase {
    const char* faults;
    Step fails;
};

TEST_F(SimFaults, EachFaultBreaksItsOwnStep) {
    const FaultCase cases[] = {
        {"", kNone},
        {"initResource=1", kInitResource},
        {"noCamera=1", kScan},
        {"foreignIds=1", kMatchingId},
        {"getIdFail=0", kMatchingId},
        {"open=1", kOpen},
        {"streamMode=1", kStreamMode},
        {"init=1", kInit},
        {"resolution=1", kResolution},
        {"refuseExposure=*", kExposure},
        {"refuseExposure=50000", kExposure},
        {"refuseGain=50", kGain},
        {"usbTraffic=1", kUsbTraffic},
        {"speed=1", kSpeed},
        {"beginLive=1", kBeginLive},
        {"dropEvery=1", kFrame},
    };
    for (const FaultCase& c : cases) {
        SimConfigFile cfg(std::string("[camera]\nthrottle=0\n[sky]\ntimeScale=0\n[faults]\n") +
                          c.faults + "\n");
        EXPECT_EQ(FirstFailingStep(lib), c.fails) << c.faults;
    }
}

TEST_F(SimFaults, IdFailureOnOneIndexLeavesTheNext) {
    SimConfigFile cfg("[camera]\nthrottle=0\nids=ZENITHWAND-ONE,ZENITHWAND-TWO\n[faults]\n"
                      "getIdFail=0\n");
    ASSERT_EQ(lib.InitZORCAMResource(), 0);
    ASSERT_EQ(lib.ScanZORCAM(), 2);
    char id[ZORCAM_ID_LENGTH] = {};
    EXPECT_NE(lib.GetZORCAMId(0, id), 0);
    ASSERT_EQ(lib.GetZORCAMId(1, id), 0);
    EXPECT_STREQ(id, "ZENITHWAND-TWO");
    EXPECT_NE(lib.OpenZORCAM(id), 0u);
}

TEST_F(SimFaults, RefusedValuesKeepThePreviousOne) {
    SimConfigFile cfg("[camera]\nthrottle=0\n[faults]\nrefuseExposure=100000\nrefuseGain=90\n");
    const ZorcamHandle h = lib.Connect();
    ASSERT_NE(h, 0u);
    EXPECT_NE(lib.SetZORCAMParam(h, ZORCAM_CONTROL_EXPOSURE, 100000), 0);
    EXPECT_EQ(lib.GetZORCAMParam(h, ZORCAM_CONTROL_EXPOSURE), 50000);
    EXPECT_EQ(lib.SetZORCAMParam(h, ZORCAM_CONTROL_EXPOSURE, 200000), 0);
    EXPECT_NE(lib.SetZORCAMParam(h, ZORCAM_CONTROL_GAIN, 90), 0);
    EXPECT_EQ(lib.SetZORCAMParam(h, ZORCAM_CONTROL_GAIN, 70), 0);
    EXPECT_EQ(lib.GetZORCAMParam(h, ZORCAM_CONTROL_GAIN), 70);
}

TEST_F(SimFaults, DroppedFramesAreMissingFromTheSequence) {
    SimConfigFile cfg("[camera]\nthrottle=0\n[sky]\ntimeScale=0\n[faults]\ndropEvery=3\n");
    const ZorcamHandle h = lib.Connect();
    ASSERT_NE(h, 0u);
    std::vector<unsigned char> buffer(1280 * 960 * 3);
    std::uint32_t w, ht, b, c;
    std::string pattern;
    for (int i = 0; i < 9; ++i)
        pattern += lib.GetZORCAMLiveFrame(h, &w, &ht, &b, &c, buffer.data()) == 0 ? 'F' : '-';
    EXPECT_EQ(pattern, "FF-FF-FF-");
    EXPECT_EQ(lib.Truth().frameIndex, 6u);
}

struct SizeCase {
    const char* size;
    std::uint32_t w, h;
    std::size_t bytes;
};

TEST_F(SimFaults, WrongFrameSizeNeverOverrunsTheBuffer) {
    for (const SizeCase& c :
         {SizeCase{"640x480", 640, 480, 640 * 480}, SizeCase{"1280x961", 1280, 961, 1280 * 961},
          SizeCase{"4000x3000", 4000, 3000, 1280 * 960 * 3}}) {
        SimConfigFile cfg(std::string("[camera]\nthrottle=0\n[faults]\nframeSize=") + c.size +
                          "\n");
        const ZorcamHandle h = lib.Connect();
        ASSERT_NE(h, 0u) << c.size;
        std::vector<unsigned char> buffer(1280 * 960 * 3 + 4096, 0xAB);
        std::uint32_t w = 0, ht = 0, b = 0, ch = 0;
        ASSERT_EQ(lib.GetZORCAMLiveFrame(h, &w, &ht, &b, &ch, buffer.data()), 0) << c.size;
        EXPECT_EQ(w, c.w) << c.size;
        EXPECT_EQ(ht, c.h) << c.size;
        // The bytes right after the last written one are untouched; before it, the
        // frame (at least one byte differs from the fill).
        for (std::size_t i = c.bytes; i < buffer.size(); ++i)
            ASSERT_EQ(buffer[i], 0xAB) << c.size << " byte " << i;
        EXPECT_NE(buffer[c.bytes - 1], 0xAB) << c.size;
    }
}

} // namespace
