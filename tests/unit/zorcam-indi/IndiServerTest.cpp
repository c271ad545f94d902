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

} // namespace
