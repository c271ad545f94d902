// Choosing a camera on an INDI server in the Camera window and aligning with it:
// connect, frames, presets on the device, a server that dies and comes back.
#include "support/IndiServer.h"
#include "support/LogReading.h"
#include "support/ProgramSetUp.h"

#include "app/AppPaths.h"
#include "app/Mystructs.h"
#include "camera/CameraChoice.h"
#include "camera/Zorcamlib.h"
#include "dialogs/CameraFormUnit.h"
#include "ui_CameraFormUnit.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int kWaitMs = 20000;

class CameraWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folders.isValid());
        g_connected = false;
    }
    void TearDown() override {
        windows.reset();
        server.Kill();
    }

    void Start() { windows = std::make_unique<ProgramWindows>(); }
    // The server running, the settings choosing its camera, the program started
    // and connected.
    void ConnectToIndiCamera(double focalLengthMm) {
        ASSERT_TRUE(server.Start()) << server.Error().toStdString();
        CameraChoice choice;
        choice.kind = CameraChoice::Kind::Indi;
        choice.port = server.Port();
        choice.focalLengthMm = focalLengthMm;
        ASSERT_TRUE(SaveCameraChoice(SettingsFilePath(), choice));
        Start();
        Trigger("MenuItem_connect");
        ASSERT_TRUE(g_connected);
    }
    TFormMain& Main() { return windows->main; }
    void Trigger(const char* action) {
        QAction* a = Main().findChild<QAction*>(QLatin1String(action));
        ASSERT_NE(a, nullptr) << action;
        a->trigger();
    }
    template <typename T> T* Find(const char* name) {
        return Main().findChild<T*>(QLatin1String(name));
    }

    // The live view shows a frame that is not all black.
    static bool ViewShowsAFrame() {
        const QImage& img = g_viewBitmap;
        for (int y = 0; y < img.height(); y += 8) {
            const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < img.width(); x += 8)
                if (qGray(row[x]) > 0)
                    return true;
        }
        return false;
    }
    bool WaitForFrame() {
        g_viewBitmap.fill(Qt::black);
        return QTest::qWaitFor([] { return ViewShowsAFrame(); }, kWaitMs);
    }
    static bool Logged(const QString& part) {
        for (const QString& m : ReadLogMessages())
            if (m.contains(part))
                return true;
        return false;
    }

    TestFolders folders;
    RecordedMessages boxes;
    IndiServer server;
    std::unique_ptr<ProgramWindows> windows;
};

TEST_F(CameraWindowTest, ChoosingAnIndiCameraInTheWindowStreamsFromItAtTheNextConnect) {
    if (!IndiServer::Available())
        GTEST_SKIP() << "indiserver and indi_simulator_ccd are not installed";
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    Start();

    Trigger("MenuItem_camera");
    auto* window = Main().findChild<TFormCamera*>();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->isVisible());
    EXPECT_FALSE(window->ui->GrpBox_indi->isEnabled()); // the simulated camera by default

    window->ui->RadioBtn_camIndi->setChecked(true);
    window->ui->Edit_indiHost->setText(QStringLiteral("localhost"));
    window->ui->SpinBox_indiPort->setValue(server.Port());
    window->ui->Btn_indiRead->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->Reading(); }, kWaitMs));
    ASSERT_EQ(window->ui->ComboBox_indiDevice->currentText(),
              QString::fromLatin1(IndiServer::kDevice));
    // 5.2 um pixels behind 25 mm: 42.9"/px, resampled to the templates' 30.5".
    window->ui->SpinBox_focalLength->setValue(25.0);
    // The README's picture of the window: ZW_CAMERA_SCREENSHOT=<file.png>.
    if (const QString shot = qEnvironmentVariable("ZW_CAMERA_SCREENSHOT"); !shot.isEmpty())
        window->grab().save(shot);
    window->ui->Btn_cameraOk->click();
    EXPECT_FALSE(window->isVisible());

    const CameraChoice saved = LoadCameraChoice(SettingsFilePath());
    EXPECT_EQ(saved.kind, CameraChoice::Kind::Indi);
    EXPECT_EQ(saved.port, server.Port());
    EXPECT_EQ(saved.device, QString::fromLatin1(IndiServer::kDevice));

    Trigger("MenuItem_connect");
    ASSERT_TRUE(g_connected) << boxes.shown.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(Main().windowTitle().endsWith(QStringLiteral("FW:ZENITHWAND-INDI CCD Simulator")));
    EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.shown.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(LoadedCameraLibrary(), QStringLiteral("zorcam-indi"));
    ASSERT_TRUE(WaitForFrame());

    // Presets reach the device.
    Find<QPushButton>("Btn_exp100")->click();
    // The capture loop applies it (while this thread serves its hand-overs), then the
    // library's exposures take it.
    ASSERT_TRUE(QTest::qWaitFor([] { return Logged(QStringLiteral("Exposure change to 100000")); },
                                kWaitMs));
    EXPECT_TRUE(WaitForIndiNumber(server.Port(), QStringLiteral("CCD_EXPOSURE.CCD_EXPOSURE_VALUE"),
                                  0.1, kWaitMs));
    Find<QPushButton>("Btn_gain70")->click();
    ASSERT_TRUE(
        QTest::qWaitFor([] { return Logged(QStringLiteral("Gain change to 70")); }, kWaitMs));
    EXPECT_EQ(server.Number(QStringLiteral("CCD_GAIN.GAIN")), 70.0);

    // The server dies mid-stream: the window stays responsive and the log says why.
    server.Kill();
    EXPECT_TRUE(
        QTest::qWaitFor([] { return Logged(QStringLiteral("INDI server went away")); }, kWaitMs));
    Trigger("MenuItem_connect"); // disconnect
    EXPECT_FALSE(g_connected);

    // Back again: the next Connect streams once more.
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    Trigger("MenuItem_connect");
    ASSERT_TRUE(g_connected);
    EXPECT_TRUE(WaitForFrame());
    EXPECT_TRUE(Logged(QStringLiteral("connected again")));
}

TEST_F(CameraWindowTest, ACameraWithoutFocalLengthIsConnectedWithAWordAboutTheScale) {
    if (!IndiServer::Available())
        GTEST_SKIP() << "indiserver and indi_simulator_ccd are not installed";
    ConnectToIndiCamera(0);
    if (HasFatalFailure())
        return;
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].startsWith(QStringLiteral("The camera's image scale is unknown")));
}

// The simulated camera chosen after an INDI camera: the next Connect releases the
// INDI camera and finds the simulated one; the command line's choice wins.
TEST_F(CameraWindowTest, SwitchingBackToTheSimulatedCameraTakesEffectAtTheNextConnect) {
    if (!IndiServer::Available())
        GTEST_SKIP() << "indiserver and indi_simulator_ccd are not installed";
    ConnectToIndiCamera(25);
    if (HasFatalFailure())
        return;
    EXPECT_TRUE(boxes.shown.isEmpty()) // 42.9"/px resampled to 30.5"
        << boxes.shown.join(QLatin1Char('|')).toStdString();
    Trigger("MenuItem_connect");

    Trigger("MenuItem_camera");
    auto* window = Main().findChild<TFormCamera*>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->ui->RadioBtn_camIndi->isChecked());
    window->ui->RadioBtn_camSim->setChecked(true);
    window->ui->Btn_cameraOk->click();

    Trigger("MenuItem_connect");
    ASSERT_TRUE(g_connected);
    EXPECT_EQ(LoadedCameraLibrary(), QStringLiteral("zorcam"));
    EXPECT_TRUE(Main().windowTitle().contains(QStringLiteral("FW:ZENITHWAND-SIM")));
    EXPECT_TRUE(WaitForFrame());
    Trigger("MenuItem_connect");

    SetCameraLibraryOverride(QStringLiteral("indi"));
    Trigger("MenuItem_connect");
    SetCameraLibraryOverride(QString());
    ASSERT_TRUE(g_connected);
    EXPECT_EQ(LoadedCameraLibrary(), QStringLiteral("zorcam-indi"));
    EXPECT_TRUE(Main().windowTitle().contains(QStringLiteral("FW:ZENITHWAND-INDI")));
}

// The Camera window shows the gain the camera's driver reports, also when another
// client changes it, and nothing once the camera is disconnected.
TEST_F(CameraWindowTest, TheCameraWindowShowsTheDriversOwnGain) {
    if (!IndiServer::Available())
        GTEST_SKIP() << "indiserver and indi_simulator_ccd are not installed";
    ConnectToIndiCamera(25);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(WaitForFrame());
    Trigger("MenuItem_camera");
    auto* window = Main().findChild<TFormCamera*>();
    ASSERT_NE(window, nullptr);
    QLabel* gain = window->ui->Label_cameraGain;
    const auto shows = [&](const QString& text) {
        return QTest::qWaitFor([&] { return gain->isVisible() && gain->text() == text; }, kWaitMs);
    };
    const double now = server.Number(QStringLiteral("CCD_GAIN.GAIN"));
    EXPECT_TRUE(shows(QStringLiteral("Camera gain: %1 (CCD_GAIN.GAIN, 0 to 100)").arg(now)))
        << gain->text().toStdString();
    ASSERT_TRUE(server.SetProperty(QStringLiteral("CCD_GAIN.GAIN=37")));
    EXPECT_TRUE(shows(QStringLiteral("Camera gain: 37 (CCD_GAIN.GAIN, 0 to 100)")))
        << gain->text().toStdString();

    Trigger("MenuItem_connect"); // disconnect
    EXPECT_TRUE(QTest::qWaitFor([&] { return !gain->isVisible(); }, kWaitMs));
}

// A driver that hangs in live view and is then ended, so that its server starts it
// again: the main window says that no frames come meanwhile, and frames return
// without a new Connect, taking the message away.
TEST_F(CameraWindowTest, AHungDriverShowsTheLostCameraUntilFramesReturnByThemselves) {
    if (!IndiServer::Available())
        GTEST_SKIP() << "indiserver and indi_simulator_ccd are not installed";
    ConnectToIndiCamera(25);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(WaitForFrame());
    QLabel* lost = Find<QLabel>("Label_noFrames");
    ASSERT_NE(lost, nullptr);
    EXPECT_FALSE(lost->isVisible());

    ASSERT_TRUE(server.FreezeDriver());
    EXPECT_TRUE(QTest::qWaitFor([&] { return lost->isVisible(); }, kWaitMs));
    ASSERT_TRUE(server.CrashDriver());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !lost->isVisible(); }, 30000));
    EXPECT_TRUE(WaitForFrame());
    EXPECT_TRUE(g_connected);
    EXPECT_TRUE(Logged(QStringLiteral("connected again")));
}

} // namespace
