// The live loop against the simulated camera, run on a thread of the test's own:
// the camera settings and their log lines, exposure and gain follow-ups, stopping,
// and frames of a size the camera should not report.
#include "CameraTestSupport.h"

#include "core/Log.h"
#include "app/Mystructs.h"
#include "camera/DisplayThread.h"
#include "camera/Zorcamlib.h"
#include "dialogs/MessageBoxes.h"
#include "display/LiveView.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace {

// What a plain hand-over saw: each routine is counted instead of run; a render
// raises g_viewUpdatePending as the real one does.
struct HandOverLog {
    std::atomic<int> renders{0}, shows{0}, poleViews{0};

    DisplayThread::HandOver Make() {
        return [this](UiHandOver::Routine r) {
            if (r == &RenderLiveView) {
                ++renders;
                g_viewUpdatePending = true;
            } else if (r == &ShowLiveView) {
                ++shows;
            } else if (r == &ShowPoleView) {
                ++poleViews;
            }
            return true;
        };
    }
};

class CaptureLoop : public ::testing::Test {
protected:
    void SetUp() override {
        PinLocalTimeZone();
        ASSERT_TRUE(logDir.isValid());
        g_logFilePath = logDir.filePath(QStringLiteral("capture.log"));
        SetMessageBoxHandlerForTesting([](const QString&, const QString&) { return false; });
        LoadCameraLibrary();
        g_exposureWanted = 50000.0;
        g_exposureApplied = 0.0;
        g_gainWanted = 50;
        g_gainApplied = 0;
        g_stretchOn = false;
        g_viewUpdatePending = false;
        g_zoomReady = false;
        g_monitorPole = false;
        g_frameWidth = 0;
        g_frameImage = cv::Mat::zeros(kFrameHeight, kFrameWidth, CV_8UC1);
    }

    void TearDown() override {
        StopLoop();
        if (g_cameraHandle != 0) {
            ZorcamStopLive(g_cameraHandle);
            ZorcamClose(g_cameraHandle);
        }
        ZorcamReleaseResource();
        g_cameraHandle = 0;
        g_frameImage.release();
        g_stretchOn = false;
        g_blackLevel = 0;
        g_whiteLevel = 255;
        SetMessageBoxHandlerForTesting(nullptr);
        g_logFilePath.clear();
    }

    // The camera opened as a connection leaves it: found, open, live mode, initialised.
    void OpenCamera(const QByteArray& ini) {
        sim.reset(); // the old file lets go of the library first
        sim = std::make_unique<SimConfig>(ini);
        ASSERT_EQ(ZorcamInitResource(), 0);
        ASSERT_GE(ZorcamScan(), 1);
        char id[ZORCAM_ID_LENGTH] = {};
        ASSERT_EQ(ZorcamGetId(0, id), 0);
        g_cameraHandle = ZorcamOpen(id);
        ASSERT_NE(g_cameraHandle, 0u);
        ASSERT_EQ(ZorcamSetStreamMode(g_cameraHandle, ZORCAM_STREAM_LIVE), 0);
        ASSERT_EQ(ZorcamInit(g_cameraHandle), 0);
    }

    void StartLoop(DisplayThread::HandOver handOver = {}) {
        loop = handOver ? std::make_unique<DisplayThread>(std::move(handOver))
                        : std::make_unique<DisplayThread>();
        worker = std::thread([this] { loop->Execute(); });
    }
    void StartLoopCounting() { StartLoop(seen.Make()); }

    void StopLoop() {
        if (!loop)
            return;
        loop->RequestStop();
        if (worker.joinable())
            worker.join();
        loop.reset();
    }

    // Waits for n more frames handed over (the loop's passes with a frame).
    bool WaitForFrames(int n) {
        const int target = seen.renders + n;
        return WaitUntil([&] { return seen.renders >= target; }, 10000, false);
    }

    QTemporaryDir logDir;
    std::unique_ptr<SimConfig> sim;
    std::unique_ptr<DisplayThread> loop;
    std::thread worker;
    HandOverLog seen;
};

struct FollowUpCase {
    const char* name;
    QByteArray ini;
    bool frames;
};

TEST_F(CaptureLoop, AChosenExposureIsSentInTheNextPassAndLoggedOnce) {
    const FollowUpCase cases[] = {
        {"frames streaming", "[camera]\nthrottle=0\n", true},
        {"no frames at all", "[camera]\nthrottle=0\n[faults]\ndropEvery=1\n", false},
    };
    for (const FollowUpCase& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(g_logFilePath);
        g_exposureWanted = 50000.0;
        g_exposureApplied = 0.0;
        OpenCamera(c.ini);
        StartLoopCounting();
        ASSERT_TRUE(
            WaitUntil([] { return CountLines("[Info] BeginZORCAMLive.") == 1; }, 10000, false));
        if (c.frames) {
            ASSERT_TRUE(WaitForFrames(3));
        }

        g_exposureWanted = 100000.0;
        ASSERT_TRUE(WaitUntil([] { return CountLines("[Info] Exposure change to 100000") == 1; },
                              10000, false));
        if (c.frames) {
            ASSERT_TRUE(WaitForFrames(3));
        }
        StopLoop();

        const QStringList lines = ReadLogLines();
        EXPECT_EQ(lines.filter(QStringLiteral("Exposure change to ")),
                  QStringList{QStringLiteral("[Info] Exposure change to 100000")});
        EXPECT_TRUE(lines.filter(QStringLiteral("Gain change to ")).isEmpty());
        EXPECT_TRUE(lines.filter(QStringLiteral("[Error]")).isEmpty())
            << lines.join('\n').toStdString();
        EXPECT_EQ(g_exposureApplied, 100000.0);
        EXPECT_EQ(c.frames, seen.renders > 0);
        if (c.frames) {
            EXPECT_GE(seen.shows, seen.renders - 1);
            EXPECT_EQ(g_frameWidth, 1280u);
        }
        ZorcamStopLive(g_cameraHandle);
        ZorcamClose(g_cameraHandle);
        ZorcamReleaseResource();
        g_cameraHandle = 0;
        seen.renders = 0;
        seen.shows = 0;
    }
}

TEST_F(CaptureLoop, ARefusedGainIsRetriedEveryPassUntilAnotherIsChosen) {
    OpenCamera("[camera]\nthrottle=0\n[faults]\nrefuseGain=90\n");
    StartLoopCounting();
    ASSERT_TRUE(WaitForFrames(1));

    g_gainWanted = 90;
    ASSERT_TRUE(WaitUntil([] { return CountLines("[Error] Gain change to 90failed.") >= 3; }, 10000,
                          false));
    EXPECT_EQ(g_gainApplied, 50);

    g_gainWanted = 70;
    ASSERT_TRUE(
        WaitUntil([] { return CountLines("[Info] Gain change to 70") == 1; }, 10000, false));
    const int refusals = CountLines("[Error] Gain change to 90failed.");
    ASSERT_TRUE(WaitForFrames(5));
    StopLoop();
    EXPECT_EQ(CountLines("[Error] Gain change to 90failed."), refusals);
    EXPECT_EQ(CountLines("[Info] Gain change to 70"), 1);
    EXPECT_EQ(g_gainApplied, 70);
}

struct StartFailure {
    QByteArray fault;
    QString line;
};

TEST_F(CaptureLoop, EachRefusedStartSettingIsLoggedAndTheRestStillMade) {
    const StartFailure cases[] = {
        {"resolution=1", "[Error] set resolution failed."},
        {"refuseExposure=50000", "[Error] set exposure failed."},
        {"refuseGain=50", "[Error] set gain failed."},
        {"usbTraffic=1", "[Error] set usbtraffic failed."},
        {"speed=1", "[Error] set speed failed."},
    };
    for (const StartFailure& c : cases) {
        SCOPED_TRACE(c.fault.constData());
        QFile::remove(g_logFilePath);
        OpenCamera("[camera]\nthrottle=0\n[faults]\n" + c.fault + "\n");
        StartLoopCounting();
        ASSERT_TRUE(WaitForFrames(1));
        StopLoop();
        const QStringList lines = ReadLogLines();
        ASSERT_GE(lines.size(), 2);
        EXPECT_EQ(lines.at(0), c.line);
        EXPECT_EQ(lines.at(1), "[Info] BeginZORCAMLive.");
        ZorcamStopLive(g_cameraHandle);
        ZorcamClose(g_cameraHandle);
        ZorcamReleaseResource();
        g_cameraHandle = 0;
    }
}

TEST_F(CaptureLoop, ARefusedLiveStartEndsTheLoopByItself) {
    OpenCamera("[camera]\nthrottle=0\n[faults]\nbeginLive=1\n");
    StartLoopCounting();
    worker.join();
    EXPECT_FALSE(g_threadRunning);
    EXPECT_EQ(DisplayThread::RunningLoops(), 0);
    EXPECT_TRUE(loop->LoopEnded());
    EXPECT_EQ(ReadLogLines(), QStringList{QStringLiteral("[Error] BeginZORCAMLive failed.")});
    EXPECT_EQ(seen.renders, 0);
}

TEST_F(CaptureLoop, AStopWhileNoFrameComesEndsTheLoop) {
    OpenCamera("[camera]\nthrottle=0\n[faults]\ndropEvery=1\n");
    StartLoopCounting();
    ASSERT_TRUE(WaitUntil([] { return CountLines("[Info] BeginZORCAMLive.") == 1; }, 10000, false));
    EXPECT_TRUE(g_threadRunning);
    EXPECT_EQ(DisplayThread::RunningLoops(), 1);
    loop->RequestStop();
    worker.join();
    EXPECT_FALSE(g_threadRunning);
    EXPECT_EQ(DisplayThread::RunningLoops(), 0);
    EXPECT_EQ(seen.renders, 0);
}

TEST_F(CaptureLoop, AStopWhileAHandOverWaitsEndsThePassWithoutTouchingTheDisplay) {
    OpenCamera("[camera]\nthrottle=0\n");
    StartLoop(); // the real hand-over; this thread serves nothing meanwhile
    ASSERT_TRUE(WaitUntil([] { return g_frameWidth == 1280u; }, 10000, false));
    loop->RequestStop();
    worker.join();
    EXPECT_TRUE(loop->LoopEnded());
    QCoreApplication::processEvents();
    EXPECT_FALSE(g_viewUpdatePending) << "the withdrawn render ran";
}

TEST_F(CaptureLoop, NoReportedFrameSizeMakesTheCopyOrStretchLeaveTheFrameImage) {
    // The frame image sits at the start of a larger block whose tail must stay as it is.
    constexpr std::size_t kFrameBytes = 1280u * 960u;
    constexpr unsigned char kGuard = 0x5A;
    std::vector<unsigned char> block(kFrameBytes + 4096, kGuard);
    g_frameImage = cv::Mat(kFrameHeight, kFrameWidth, CV_8UC1, block.data());
    g_stretchOn = true;
    g_blackLevel = 10; // the guard value would become 255 if stretched
    g_whiteLevel = 20;

    for (const char* size : {"2000x1500", "1281x960", "640x480"}) {
        SCOPED_TRACE(size);
        OpenCamera(QByteArray("[camera]\nthrottle=0\n[faults]\nframeSize=") + size + "\n");
        StartLoopCounting();
        ASSERT_TRUE(WaitForFrames(2));
        StopLoop();
        EXPECT_EQ(QString::number(g_frameWidth) + "x" + QString::number(g_frameHeight),
                  QLatin1String(size));
        for (std::size_t i = kFrameBytes; i < block.size(); ++i)
            ASSERT_EQ(block[i], kGuard) << "byte " << i - kFrameBytes << " past the frame";
        ZorcamStopLive(g_cameraHandle);
        ZorcamClose(g_cameraHandle);
        ZorcamReleaseResource();
        g_cameraHandle = 0;
    }
    g_frameImage = cv::Mat();
}

} // namespace
