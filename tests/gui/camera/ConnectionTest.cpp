// Connecting and disconnecting from the menu against the simulated camera: which
// camera is chosen, what each failure tells the user and the log, and what a
// second connection leaves out.
#include "MainWindowFixture.h"

#include "camera/DisplayThread.h"
#include "camera/Zorcamlib.h"

#include <QMenu>

namespace {

using Connection = MainWindowTest;

QStringList ErrorLines() {
    return ReadLogLines().filter(QStringLiteral("[Error] "));
}

struct FailureCase {
    const char* name;
    QByteArray faults;
    QStringList errorLines;
    QStringList boxes;
};

TEST_F(Connection, EachFailureLeavesTheWindowDisconnectedWithItsLogAndMessage) {
    const QString notFound = QStringLiteral("Not Found ZORCAM ZenithWand equipment!");
    const FailureCase cases[] = {
        {"resources",
         "[faults]\ninitResource=1\n",
         {"[Error] InitZORCAMResource failed.",
          "[Error] ConnectCamera - InitZORCAMResource Failed!"},
         {"Can not connect camera with InitZORCAMResource error!"}},
        {"no camera", "[faults]\nnoCamera=1\n", {}, {notFound}},
        {"another maker's cameras", "[faults]\nforeignIds=1\n", {}, {notFound}},
        {"our name in other letter case", "[camera]\nids=ZenithWand-SIM-0001\n", {}, {notFound}},
        {"an id shorter than the name", "[camera]\nids=ZENITH\n", {}, {notFound}},
        {"every id unreadable",
         "[camera]\nids=ZENITHWAND-A,ZENITHWAND-B\n[faults]\ngetIdFail=0,1\n",
         {},
         {notFound}},
        {"open refused",
         "[faults]\nopen=1\n",
         {"[Error] ConnectCamera - OpenZORCAM Failed!"},
         {"Connect ZenithWand failed with OpenZORCAM error!"}},
        {"live mode refused",
         "[faults]\nstreamMode=1\n",
         {"[Error] ConnectCamera - SetZORCAMStreamMode 1 Failed!"},
         {"Set camera stream mode failed"}},
        {"initialisation refused",
         "[faults]\ninit=1\n",
         {"[Error] ConnectCamera - InitZORCAM Failed!"},
         {}},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.faults);
        ToggleConnection();

        EXPECT_EQ(ErrorLines(), c.errorLines);
        EXPECT_EQ(messages, c.boxes);
        EXPECT_FALSE(g_connected);
        EXPECT_FALSE(g_cameraOpen);
        EXPECT_EQ(ConnectItem()->text(), "Connect");
        EXPECT_EQ(Main().windowTitle(), "ZenithWand - Version 1.3.2.8");
        EXPECT_FALSE(Panel("Expander_camSetting")->isEnabled());
        EXPECT_FALSE(Panel("Expander_region")->isExpanded());
        EXPECT_FALSE(Find<QMenu>("MenuItem_zoom")->isEnabled());
        EXPECT_EQ(g_displayThread, nullptr);
        EXPECT_EQ(CountLines("[Info] create DispThread and start."), 0);

        windows->main.close();
        windows.reset();
        messages.clear();
    }
}

struct ChoiceCase {
    const char* name;
    QByteArray camera;
    QString chosenId;
};

TEST_F(Connection, ConnectsToTheFirstReadableCameraWithOurName) {
    const ChoiceCase cases[] = {
        {"two of ours", "[camera]\nids=ZENITHWAND-FIRST,ZENITHWAND-SECOND\n", "ZENITHWAND-FIRST"},
        {"another maker's first", "[camera]\nids=OTHER-CAM-1,ZENITHWAND-SECOND\n",
         "ZENITHWAND-SECOND"},
        {"the first id unreadable",
         "[camera]\nids=ZENITHWAND-FIRST,ZENITHWAND-SECOND\n[faults]\ngetIdFail=0\n",
         "ZENITHWAND-SECOND"},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.camera);
        ToggleConnection();

        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        EXPECT_TRUE(g_connected) << ReadLogLines().join('\n').toStdString();
        EXPECT_EQ(QString::fromLatin1(g_cameraId), c.chosenId);
        EXPECT_EQ(Main().windowTitle(), "ZenithWand - AppVer:Version 1.3.2.8 FW:" + c.chosenId);

        windows->main.close();
        windows.reset();
    }
}

TEST_F(Connection, ConnectedWindowOpensItsPanelsAndShowsLiveFrames) {
    Start("[camera]\nthrottle=0\n");
    ToggleConnection();

    EXPECT_TRUE(g_connected);
    EXPECT_TRUE(g_cameraOpen);
    EXPECT_EQ(ConnectItem()->text(), "Disconnect");
    for (Expander* e : {Panel("Expander_region"), Panel("Expander_camSetting")}) {
        EXPECT_TRUE(e->isEnabled());
        EXPECT_TRUE(e->isExpanded());
    }
    for (Expander* e :
         {Panel("Expander_finding"), Panel("Expander_rough"), Panel("Expander_precise")})
        EXPECT_FALSE(e->isEnabled());
    EXPECT_TRUE(Find<QAction>("MenuItem_astroRef")->isEnabled());
    EXPECT_TRUE(Find<QAction>("MenuItem_showMask")->isEnabled());
    EXPECT_FALSE(Find<QAction>("MenuItem_trace")->isEnabled()) << "it waits for the monitor mode";
    EXPECT_TRUE(Find<QMenu>("MenuItem_zoom")->isEnabled());
    EXPECT_EQ(Main().wizardStep, 1);

    const QStringList lines = ReadLogLines();
    const qsizetype init = lines.indexOf("[Info] InitZORCAMResource success.");
    const qsizetype connect = lines.indexOf("[Info] Connect zenithWand.");
    const qsizetype create = lines.indexOf("[Info] create DispThread and start.");
    EXPECT_TRUE(init >= 0 && init < connect && connect < create) << lines.join('\n').toStdString();

    ASSERT_TRUE(WaitUntil([] { return SimTruth().frameIndex >= 3; }));
    EXPECT_EQ(g_frameWidth, 1280u);
    EXPECT_EQ(DisplayThread::RunningLoops(), 1);

    ToggleConnection();
    EXPECT_FALSE(g_connected);
    EXPECT_EQ(Main().windowTitle(), "ZenithWand - AppVer:Version 1.3.2.8");
    EXPECT_EQ(ConnectItem()->text(), "Connect");
    EXPECT_FALSE(Panel("Expander_camSetting")->isEnabled());
    EXPECT_FALSE(Find<QMenu>("MenuItem_zoom")->isEnabled());
    EXPECT_FALSE(Find("Rectangle_tipMsg")->isVisible());
    EXPECT_EQ(Main().wizardStep, 0);
    EXPECT_EQ(CountLines("[Info] Disconnect zenithWand."), 1);
    // The loop ends by itself after the request; the camera stays open.
    EXPECT_TRUE(WaitUntil([] { return DisplayThread::RunningLoops() == 0; }));
    EXPECT_TRUE(g_cameraOpen);
    EXPECT_NE(g_cameraHandle, 0u);
}

TEST_F(Connection, ASecondConnectionNeitherInitialisesNorSearchesAgain) {
    Start("[camera]\nthrottle=0\n");
    ToggleConnection();
    ASSERT_TRUE(g_connected);
    ToggleConnection();

    // From now on an initialisation, a scan or an open would fail.
    UseCamera("[camera]\nthrottle=0\n[faults]\ninitResource=1\nnoCamera=1\nopen=1\n");
    g_frameWidth = 0;
    ToggleConnection();

    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_TRUE(g_connected);
    EXPECT_EQ(Main().wizardStep, 1);
    EXPECT_EQ(CountLines("[Info] InitZORCAMResource success."), 1);
    EXPECT_EQ(CountLines("[Info] create DispThread and start."), 2);
    EXPECT_TRUE(ErrorLines().isEmpty()) << ErrorLines().join('\n').toStdString();
    // The new loop starts live mode again on the open camera and frames come.
    ASSERT_TRUE(WaitUntil([] { return g_frameWidth == 1280u; }));
    EXPECT_EQ(CountLines("[Info] BeginZORCAMLive."), 2);
    EXPECT_EQ(DisplayThread::RunningLoops(), 1);
}

TEST_F(Connection, AMissingLibraryIsReportedAtStartAndConnectingFailsCleanly) {
    SetCameraLibraryNameForTesting(QStringLiteral("zorcam_not_installed"));
    Start();
    SetCameraLibraryNameForTesting(QString());
    EXPECT_EQ(messages, QStringList{QStringLiteral("加载zorcam.dll失败")});
    EXPECT_EQ(ReadLogLines().last(), "[Info] FormShow");

    messages.clear();
    ToggleConnection();
    EXPECT_EQ(messages, QStringList{"Can not connect camera with InitZORCAMResource error!"});
    EXPECT_FALSE(g_connected);
    windows->main.close();
    EXPECT_EQ(ReadLogLines().last(), "[Info] FormClose done.");
    EXPECT_EQ(CountLines("[Info] ReleaseZORCAMResource"), 0);
}

} // namespace
