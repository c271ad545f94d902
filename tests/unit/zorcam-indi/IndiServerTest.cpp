// The INDI camera library against a real INDI server running the CCD simulator,
// through the library's exported entry points.
#include "support/IndiServer.h"
#include "unit/zorcam-indi/IndiLibrary.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QThread>

#include <cmath>
#include <numeric>

namespace {

class IndiServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!IndiServer::Available())
            GTEST_SKIP() << "indiserver and indi_simulator_ccd are not installed";
        ASSERT_TRUE(lib().loaded) << lib().error;
        IndiLibrary::ClearLog();
    }
    void TearDown() override {
        if (handle_)
            lib().Disconnect(handle_);
        server_.Kill();
    }
    static IndiLibrary& lib() { return IndiLibrary::Get(); }

    void StartServer() { ASSERT_TRUE(server_.Start()) << server_.Error().toStdString(); }

    // Asks for frames, as the capture loop does, until the library has logged
    // `part` or the deadline has passed. True when it was logged.
    bool PollFramesUntilLogged(const char* part, int timeoutMs) {
        std::vector<unsigned char> buffer(1280 * 960 * 3);
        const QDeadlineTimer deadline(timeoutMs);
        while (!deadline.hasExpired() && !IndiLibrary::Logged(part)) {
            std::uint32_t w, h, b, ch;
            lib().GetZORCAMLiveFrame(handle_, &w, &h, &b, &ch, buffer.data());
            QThread::msleep(20);
        }
        return IndiLibrary::Logged(part);
    }

    IndiServer server_;
    ZorcamHandle handle_ = 0;
};

std::string Log() {
    std::string all;
    for (const std::string& line : IndiLibrary::LogLines())
        all += "\n" + line;
    return all;
}

long long Sum(const std::vector<unsigned char>& frame, int x0, int y0, int w, int h) {
    long long s = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            s += frame[static_cast<std::size_t>(y) * 1280 + x];
    return s;
}

TEST_F(IndiServerTest, NoServerOrNoDeviceFindsNoCameraAndSaysWhy) {
    StartServer();
    struct Case {
        bool serverUp;
        const char* device;
        const char* logged;
    };
    const Case cases[] = {
        {true, "No Such Camera", "no camera \"No Such Camera\""},
        {false, "", "no INDI server answers"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.logged);
        if (!c.serverUp)
            server_.Kill();
        lib().Configure(server_.Port(), QString::fromLatin1(c.device), 25,
                        "connectTimeoutMs=1000\n");
        ASSERT_EQ(lib().InitZORCAMResource(), 0);
        EXPECT_EQ(lib().ScanZORCAM(), 0);
        EXPECT_EQ(lib().OpenZORCAM("ZENITHWAND-INDI CCD Simulator"), 0u);
        EXPECT_TRUE(IndiLibrary::Logged(c.logged));
        lib().ReleaseZORCAMResource();
    }
}

TEST_F(IndiServerTest, ListsTheServersCamerasForTheChooser) {
    StartServer();
    char names[256] = {};
    EXPECT_EQ(lib().ListZORCAMServerCameras("localhost", server_.Port(), 3000, names, sizeof names),
              1);
    EXPECT_STREQ(names, "CCD Simulator\n");
    server_.Kill();
    EXPECT_EQ(lib().ListZORCAMServerCameras("localhost", server_.Port(), 1000, names, sizeof names),
              -1);
}

TEST_F(IndiServerTest, StreamsAtTheChosenExposureAndAppliesPresetsToTheDevice) {
    StartServer();
    lib().Configure(server_.Port(), QString(), 0);
    handle_ = lib().Connect(100000, 50);
    ASSERT_NE(handle_, 0u);
    char id[ZORCAM_ID_LENGTH] = {};
    ASSERT_EQ(lib().GetZORCAMId(0, id), 0);
    EXPECT_STREQ(id, "ZENITHWAND-INDI CCD Simulator");

    for (int i = 0; i < 3; ++i)
        ASSERT_FALSE(lib().NextFrame(handle_, 20000).empty()) << "frame " << i;
    EXPECT_TRUE(WaitForIndiNumber(server_.Port(), "CCD_EXPOSURE.CCD_EXPOSURE_VALUE", 0.1, 10000));

    // Exposure presets in milliseconds become the device's exposure in seconds.
    ASSERT_EQ(lib().SetZORCAMParam(handle_, ZORCAM_CONTROL_EXPOSURE, 300000), 0);
    EXPECT_TRUE(WaitForIndiNumber(server_.Port(), "CCD_EXPOSURE.CCD_EXPOSURE_VALUE", 0.3, 10000));
    EXPECT_FALSE(lib().NextFrame(handle_, 20000).empty());

    // Gain presets take the share of the device's range (the simulator's is 0..100).
    const struct {
        int preset;
        double deviceGain;
    } gains[] = {{70, 70.0}, {100, 100.0}, {50, 50.0}};
    for (const auto& g : gains) {
        ASSERT_EQ(lib().SetZORCAMParam(handle_, ZORCAM_CONTROL_GAIN, g.preset), 0);
        EXPECT_DOUBLE_EQ(server_.Number("CCD_GAIN.GAIN"), g.deviceGain) << g.preset;
    }

    // Out of the device's range (it takes 0.01 s and more): refused, nothing changes.
    EXPECT_NE(lib().SetZORCAMParam(handle_, ZORCAM_CONTROL_EXPOSURE, 1000), 0);
    EXPECT_TRUE(IndiLibrary::Logged("exposure 0.001 s refused"));
    EXPECT_EQ(lib().GetZORCAMParam(handle_, ZORCAM_CONTROL_EXPOSURE), 300000);
    EXPECT_NE(lib().SetZORCAMParam(handle_, ZORCAM_CONTROL_GAIN, 150), 0);
}

// Sensors of other sizes come as 1280 x 960 frames at the template scale: larger
// ones cut to the middle, smaller ones centred on black.
TEST_F(IndiServerTest, SensorsOfOtherSizesArriveAtTheTemplateScale) {
    struct Case {
        int width, height;
        double pixelUm, focalMm;
        bool bayer;
        bool padded;
    };
    const Case cases[] = {
        {3000, 2000, 3.76, 25.0, false, false}, // 31.0"/px: shrunk a little, fills the frame
        {800, 600, 5.2, 35.0, true, true},      // 30.6"/px colour sensor: black margin
    };
    StartServer();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        ASSERT_TRUE(server_.SetSensor(c.width, c.height, c.pixelUm));
        ASSERT_TRUE(server_.SetProperty(c.bayer
                                            ? QStringLiteral("SIMULATE_BAYER.INDI_ENABLED=On")
                                            : QStringLiteral("SIMULATE_BAYER.INDI_DISABLED=On")));
        lib().Configure(server_.Port(), QStringLiteral("CCD Simulator"), c.focalMm);
        handle_ = lib().Connect(50000, 100);
        ASSERT_NE(handle_, 0u);
        double native = 0, delivered = 0;
        ASSERT_EQ(lib().GetZORCAMImageScale(handle_, &native, &delivered), 0);
        EXPECT_NEAR(native, 206.265 * c.pixelUm / c.focalMm, 0.05);
        EXPECT_NEAR(delivered, 30.5, 0.01);

        const std::vector<unsigned char> frame = lib().NextFrame(handle_, 20000);
        ASSERT_EQ(frame.size(), 1280u * 960u);
        // The library tells which part of its frames holds sky.
        PFN_GetZORCAMSkyRegion skyRegion = lib().GetZORCAMSkyRegion;
        ASSERT_NE(skyRegion, nullptr);
        int x = -1, y = -1, w = 0, h = 0;
        ASSERT_EQ(skyRegion(handle_, &x, &y, &w, &h), 0);
        if (c.padded) {
            const double f = 206.265 * c.pixelUm / c.focalMm / 30.5; // the resampling
            EXPECT_NEAR(w, c.width * f, 1);
            EXPECT_NEAR(h, c.height * f, 1);
            EXPECT_EQ(x, (1280 - w) / 2);
            EXPECT_EQ(y, (960 - h) / 2);
            EXPECT_GT(Sum(frame, x, y, w, h), 0);
        } else {
            EXPECT_EQ(x, 0);
            EXPECT_EQ(y, 0);
            EXPECT_EQ(w, 1280);
            EXPECT_EQ(h, 960);
        }
        const long long corner = Sum(frame, 0, 0, 200, 150);
        const long long middle = Sum(frame, 490, 380, 300, 200);
        EXPECT_GT(middle, 0);
        if (c.padded)
            EXPECT_EQ(corner, 0);
        else
            EXPECT_GT(corner, 0);
        lib().Disconnect(handle_);
        handle_ = 0;
    }
}

// The simulator keeps its images to itself while it uploads locally: the exposure is
// started again after the frame's time-out, and frames flow once it sends them again.
TEST_F(IndiServerTest, AFrameThatNeverComesStartsTheExposureAgain) {
    StartServer();
    lib().Configure(server_.Port(), QString(), 0, "frameTimeoutMs=500\n");
    handle_ = lib().Connect(50000, 50);
    ASSERT_NE(handle_, 0u);
    ASSERT_FALSE(lib().NextFrame(handle_, 20000).empty());

    ASSERT_TRUE(server_.SetProperty(QStringLiteral("UPLOAD_MODE.UPLOAD_LOCAL=On")));
    EXPECT_TRUE(PollFramesUntilLogged("no frame from", 20000));
    EXPECT_TRUE(IndiLibrary::Logged("the exposure is started again"));

    ASSERT_TRUE(server_.SetProperty(QStringLiteral("UPLOAD_MODE.UPLOAD_CLIENT=On")));
    EXPECT_FALSE(lib().NextFrame(handle_, 20000).empty());
}

TEST_F(IndiServerTest, SurvivesTheServerDyingMidStreamAndStreamsAgainWhenItIsBack) {
    StartServer();
    // The connection's usual limit: a server that is gone refuses at once, and one that
    // is back may be slow to describe its devices on a loaded machine.
    lib().Configure(server_.Port(), QString(), 0);
    handle_ = lib().Connect(50000, 50);
    ASSERT_NE(handle_, 0u);
    ASSERT_FALSE(lib().NextFrame(handle_, 20000).empty());

    server_.Kill();
    // No frame, no hang; the library says what happened.
    EXPECT_TRUE(PollFramesUntilLogged("went away", 15000));
    EXPECT_TRUE(lib().NextFrame(handle_, 300).empty());
    EXPECT_NE(lib().SetZORCAMParam(handle_, ZORCAM_CONTROL_GAIN, 70), 0);
    EXPECT_NE(lib().BeginZORCAMLive(handle_), 0); // still gone

    StartServer();
    ASSERT_EQ(lib().BeginZORCAMLive(handle_), 0);
    EXPECT_FALSE(lib().NextFrame(handle_, 20000).empty());
    EXPECT_TRUE(IndiLibrary::Logged("connected again"));
}

// A driver that crashes is started again by the server, its device defined anew
// and disconnected; the live loop connects it again and frames come back by
// themselves, set up as before.
TEST_F(IndiServerTest, FramesComeBackAfterTheDriverCrashesInLiveView) {
    StartServer();
    lib().Configure(server_.Port(), QString(), 25);
    handle_ = lib().Connect(50000, 50);
    ASSERT_NE(handle_, 0u);
    ASSERT_FALSE(lib().NextFrame(handle_, 20000).empty());

    for (int crash = 0; crash < 2; ++crash) {
        SCOPED_TRACE(crash);
        IndiLibrary::ClearLog();
        ASSERT_TRUE(server_.CrashDriver());
        EXPECT_TRUE(PollFramesUntilLogged("connected again", 30000));
        EXPECT_FALSE(lib().NextFrame(handle_, 20000).empty());
        EXPECT_EQ(server_.OnSwitch("CCD_FRAME_TYPE"), "FRAME_LIGHT");
    }
}

// What another client or a saved configuration left is set for this program at
// the start of live view (light frames, its binning, its frame) and read back
// for the plate scale; the upload mode another client chose stays.
TEST_F(IndiServerTest, LiveViewSetsLightFramesAndBinningAndKeepsOtherClientsUploadMode) {
    StartServer();
    ASSERT_TRUE(server_.ConnectDevice());
    struct Case {
        int binning;
        const char* upload;
    };
    const Case cases[] = {{1, "UPLOAD_BOTH"}, {2, "UPLOAD_CLIENT"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.binning);
        // Another client: 2 x 2 dark frames of a corner, its own upload mode.
        ASSERT_TRUE(server_.SetProperty(QStringLiteral("CCD_BINNING.HOR_BIN;VER_BIN=2;2")));
        ASSERT_TRUE(server_.SetProperty(QStringLiteral("CCD_FRAME_TYPE.FRAME_DARK=On")));
        ASSERT_TRUE(server_.SetProperty(QStringLiteral("CCD_FRAME.X;Y;WIDTH;HEIGHT=0;0;200;100")));
        ASSERT_TRUE(server_.SetProperty(QStringLiteral("UPLOAD_MODE.%1=On").arg(c.upload)));
        ASSERT_TRUE(WaitForIndiNumber(server_.Port(), "CCD_BINNING.HOR_BIN", 2, 5000));

        lib().Configure(server_.Port(), QString(), 50);
        handle_ = lib().Connect(50000, 50, c.binning);
        ASSERT_NE(handle_, 0u);
        ASSERT_FALSE(lib().NextFrame(handle_, 20000).empty());
        EXPECT_EQ(server_.OnSwitch("CCD_FRAME_TYPE"), "FRAME_LIGHT");
        EXPECT_EQ(server_.Number("CCD_BINNING.HOR_BIN"), c.binning);
        EXPECT_EQ(server_.Number("CCD_BINNING.VER_BIN"), c.binning);
        EXPECT_EQ(server_.OnSwitch("UPLOAD_MODE"), c.upload);
        // The simulator's 1280 x 1024 sensor fits the delivered frame: all of it.
        EXPECT_EQ(server_.Number("CCD_FRAME.WIDTH"), 1280);
        EXPECT_EQ(server_.Number("CCD_FRAME.HEIGHT"), 1024);
        double native = 0, delivered = 0;
        ASSERT_EQ(lib().GetZORCAMImageScale(handle_, &native, &delivered), 0);
        EXPECT_NEAR(native, 206.265 * 5.2 * c.binning / 50, 0.01);
        lib().Disconnect(handle_);
        handle_ = 0;
    }
}

// A large sensor sends only the centred part that the delivered frame shows.
TEST_F(IndiServerTest, ALargeSensorSendsTheCentredRegionItShows) {
    StartServer();
    ASSERT_TRUE(server_.SetSensor(4000, 3000, 2.0));
    lib().Configure(server_.Port(), QString(), 13.5); // 30.56"/px: no resampling to speak of
    handle_ = lib().Connect(50000, 50);
    ASSERT_NE(handle_, 0u);
    const std::vector<unsigned char> frame = lib().NextFrame(handle_, 20000);
    ASSERT_FALSE(frame.empty());
    const double w = server_.Number("CCD_FRAME.WIDTH"), h = server_.Number("CCD_FRAME.HEIGHT");
    EXPECT_GE(w, 1280);
    EXPECT_LT(w, 1400);
    EXPECT_GE(h, 960);
    EXPECT_LT(h, 1100);
    EXPECT_NEAR(server_.Number("CCD_FRAME.X"), (4000 - w) / 2, 4);
    EXPECT_NEAR(server_.Number("CCD_FRAME.Y"), (3000 - h) / 2, 4);
    EXPECT_GT(Sum(frame, 0, 0, 200, 150), 0); // the frame is filled to its corners
}

// Back-to-back exposures: every exposure sent carries the chosen time, never one
// that the server was writing into a shared copy at that moment (the simulator
// refuses a time of 0 with an alert).
TEST_F(IndiServerTest, BackToBackExposuresAreNeverSentWithAnotherTime) {
    StartServer();
    ASSERT_TRUE(server_.ConnectDevice());
    ASSERT_TRUE(server_.SetProperty(QStringLiteral("POLLING_PERIOD.PERIOD_MS=50")));
    lib().Configure(server_.Port(), QString(), 0);
    handle_ = lib().Connect(20000, 50);
    ASSERT_NE(handle_, 0u);
    for (int i = 0; i < 40; ++i)
        ASSERT_FALSE(lib().NextFrame(handle_, 20000).empty()) << "frame " << i;
    EXPECT_FALSE(IndiLibrary::Logged("refused or failed")) << "an exposure was refused";
}

// The driver's compression, left on by another client, stays on, and its frames
// are read.
TEST_F(IndiServerTest, CompressedFramesFromTheDriverAreRead) {
    StartServer();
    ASSERT_TRUE(server_.ConnectDevice());
    ASSERT_TRUE(server_.SetProperty(QStringLiteral("CCD_COMPRESSION.INDI_ENABLED=On")));
    lib().Configure(server_.Port(), QString(), 0);
    handle_ = lib().Connect(50000, 50);
    ASSERT_NE(handle_, 0u);
    for (int i = 0; i < 3; ++i)
        ASSERT_FALSE(lib().NextFrame(handle_, 20000).empty()) << "frame " << i << Log();
    EXPECT_EQ(server_.OnSwitch("CCD_COMPRESSION"), "INDI_ENABLED");
    EXPECT_FALSE(IndiLibrary::Logged("dropped"));
}

} // namespace
