// The capture thread against the window: quick reconnections and closing while
// frames stream never deadlock and leave exactly the loops that should run.
#include "MainWindowFixture.h"

#include "camera/DisplayThread.h"
#include "camera/UiHandOver.h"

#include <functional>

namespace {

using CaptureThread = MainWindowTest;

TEST_F(CaptureThread, RapidReconnectionsEndWithOneRunningLoop) {
    Start();
    for (int i = 0; i < 200; ++i) {
        ToggleConnection();
        if (i % 10 == 9)
            QCoreApplication::processEvents(); // now and then the hand-overs are served
    }
    EXPECT_FALSE(g_connected);
    ToggleConnection();
    ASSERT_TRUE(g_connected);

    g_frameWidth = 0;
    ASSERT_TRUE(WaitUntil([] { return g_frameWidth == 1280u; }));
    EXPECT_EQ(DisplayThread::RunningLoops(), 1);
    ASSERT_NE(g_displayThread, nullptr);
    EXPECT_FALSE(g_displayThread->StopRequested());
    EXPECT_EQ(CountLines("[Info] create DispThread and start."), 101);
    EXPECT_EQ(CountLines("[Info] InitZORCAMResource success."), 1);

    windows->main.close();
    EXPECT_EQ(DisplayThread::RunningLoops(), 0);
    EXPECT_EQ(g_displayThread, nullptr);
}

TEST_F(CaptureThread, ClosingWhileFramesStreamStopsTheLoopThenTheCamera) {
    Start("[camera]\nthrottle=0\n");
    ToggleConnection();
    ASSERT_TRUE(WaitUntil([] { return SimTruth().frameIndex >= 5; }));

    windows->main.close(); // returns only once the loop and the camera have stopped

    EXPECT_EQ(DisplayThread::RunningLoops(), 0);
    EXPECT_EQ(g_displayThread, nullptr);
    EXPECT_FALSE(g_threadRunning);
    const QStringList lines = ReadLogLines();
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines.mid(lines.size() - 5),
              (QStringList{"[Info] Terminate DspThread.", "[Info] stopZORCAMLive success",
                           "[Info] closeZORCAM success", "[Info] ReleaseZORCAMResource",
                           "[Info] FormClose done."}));
}

TEST_F(CaptureThread, ClosingRightAfterADisconnectionWaitsForTheEndingLoop) {
    Start("[camera]\nthrottle=0\n");
    ToggleConnection();
    ASSERT_TRUE(WaitUntil([] { return SimTruth().frameIndex >= 2; }));
    ToggleConnection();
    windows->main.close();
    EXPECT_EQ(DisplayThread::RunningLoops(), 0);
    EXPECT_EQ(CountLines("[Info] closeZORCAM success"), 1);
    // A loop that ended on its own frees its thread object.
    EXPECT_TRUE(WaitUntil([] { return g_displayThread == nullptr; }));
}

// Runs `action` from inside a hand-over routine of the running loop: a queued call
// that puts itself back until it is served by the event processing of a routine.
class InsideHandOver : public QObject {
public:
    explicit InsideHandOver(std::function<void()> action) : action_(std::move(action)) { post(); }
    bool done = false;

private:
    void post() {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!UiHandOver::InsideRoutine())
                    return post();
                done = true;
                action_();
            },
            Qt::QueuedConnection);
    }
    std::function<void()> action_;
};

// A close, a disconnection, or a disconnection and a connection asked from inside a
// hand-over: none may wait there for the loop (which waits for that hand-over).
enum class Asked { Close, Disconnect, Reconnect };

class AskedInsideAHandOver : public MainWindowTest, public ::testing::WithParamInterface<Asked> {};

TEST_P(AskedInsideAHandOver, NeverHangs) {
    const Asked asked = GetParam();
    Start("[camera]\nthrottle=0\n");
    ToggleConnection();
    ASSERT_TRUE(WaitUntil([] { return SimTruth().frameIndex >= 2; }));

    InsideHandOver inside([&] {
        if (asked == Asked::Close) {
            windows->main.close();
            return;
        }
        ToggleConnection();
        if (asked == Asked::Reconnect)
            ToggleConnection();
    });
    ASSERT_TRUE(WaitUntil([&] { return inside.done; }));
    switch (asked) {
    case Asked::Close:
        ASSERT_TRUE(WaitUntil([&] { return !windows->main.isVisible(); }));
        EXPECT_EQ(DisplayThread::RunningLoops(), 0);
        EXPECT_EQ(CountLines("[Info] FormClose done."), 1);
        break;
    case Asked::Disconnect:
        ASSERT_TRUE(WaitUntil([] { return DisplayThread::RunningLoops() == 0; }));
        EXPECT_FALSE(g_connected);
        break;
    case Asked::Reconnect: {
        ASSERT_TRUE(WaitUntil([] { return CountLines("[Info] Connect zenithWand.") == 2; }));
        EXPECT_TRUE(g_connected);
        const auto before = SimTruth().frameIndex;
        ASSERT_TRUE(WaitUntil([&] { return SimTruth().frameIndex > before + 2; }))
            << "frames stream again after the reconnection";
        EXPECT_EQ(DisplayThread::RunningLoops(), 1);
        break;
    }
    }
    windows.reset();
    EXPECT_EQ(DisplayThread::RunningLoops(), 0);
}

INSTANTIATE_TEST_SUITE_P(CaptureThread, AskedInsideAHandOver,
                         ::testing::Values(Asked::Close, Asked::Disconnect, Asked::Reconnect),
                         [](const ::testing::TestParamInfo<Asked>& info) {
                             switch (info.param) {
                             case Asked::Close:
                                 return "Close";
                             case Asked::Disconnect:
                                 return "Disconnect";
                             case Asked::Reconnect:
                                 return "DisconnectAndConnect";
                             }
                             return "Unknown";
                         });

} // namespace
