// A camera that stops delivering frames mid-stream: the status bar tells the user in
// the window's language, the log tells it once, and all clears when frames return.
#include "MainWindowFixture.h"

#include "camera/DisplayThread.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTimer>

namespace {

struct LostCase {
    const char* name;
    QByteArray fault;
};

class LostCamera : public MainWindowTest, public ::testing::WithParamInterface<LostCase> {};

TEST_P(LostCamera, TheStatusBarSaysSoUntilFramesReturn) {
    const QByteArray streaming = "[camera]\nthrottle=0\n";
    Start(streaming);
    ToggleConnection();
    ASSERT_TRUE(WaitUntil([] { return SimTruth().frameIndex >= 3; }));
    QLabel* status = Find<QLabel>("Label_noFrames");
    EXPECT_FALSE(status->isVisible());

    sim->Rewrite(streaming + GetParam().fault);
    ASSERT_TRUE(WaitUntil([&] { return status->isVisible(); }));
    EXPECT_EQ(status->text(), QStringLiteral("The camera delivers no frames."));
    // A language chosen meanwhile takes the message along.
    Main().MenuItem_lang_deClick();
    EXPECT_EQ(status->text(), QStringLiteral("Die Kamera liefert keine Bilder."));
    // Said once in the log however long it lasts: the watch looks several times more
    // however fast or slow its timer comes round.
    const QString logged = QStringLiteral("[Error] No frame from the camera for 2000 ms.");
    QSignalSpy looks(Main().Timer_frameWatch, &QTimer::timeout);
    ASSERT_TRUE(WaitUntil([&] { return looks.count() >= 4; }));
    EXPECT_EQ(CountLines(logged), 1);

    sim->Rewrite(streaming);
    ASSERT_TRUE(WaitUntil([&] { return !status->isVisible(); }));
    EXPECT_EQ(CountLines("[Info] Frames from the camera again."), 1);

    // Lost once more, then disconnected and connected again: the message goes with
    // the connection, and the new one streams.
    sim->Rewrite(streaming + GetParam().fault);
    ASSERT_TRUE(WaitUntil([&] { return status->isVisible(); }));
    ToggleConnection();
    EXPECT_FALSE(status->isVisible());
    sim->Rewrite(streaming);
    ToggleConnection();
    ASSERT_TRUE(g_connected);
    const auto before = DisplayThread::FramesReceived();
    ASSERT_TRUE(WaitUntil([&] { return DisplayThread::FramesReceived() > before + 2; }));
    EXPECT_FALSE(status->isVisible());
    EXPECT_EQ(CountLines(logged), 2);
}

INSTANTIATE_TEST_SUITE_P(Camera, LostCamera,
                         ::testing::Values(LostCase{"FramesStop", "[faults]\ndropEvery=1\n"},
                                           LostCase{"FrameCallsFail", "[faults]\nliveFrame=1\n"}),
                         [](const ::testing::TestParamInfo<LostCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
