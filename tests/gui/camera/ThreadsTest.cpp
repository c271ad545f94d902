// The capture thread against the window: quick reconnections and closing while
// frames stream never deadlock and leave exactly the loops that should run.
#include "MainWindowFixture.h"

#include "camera/DisplayThread.h"

#include <QElapsedTimer>

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

    QElapsedTimer timer;
    timer.start();
    windows->main.close();
    EXPECT_LT(timer.elapsed(), 1000);

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

} // namespace
