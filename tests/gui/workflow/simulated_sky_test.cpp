// The wizard on the simulated camera: a whole alignment from step 1 to monitor mode
// with the sky frozen, star positions from the simulator's ground truth, and the
// hemisphere restored when a connection follows an unconfirmed switch.
#include "WorkflowFixture.h"

#include "zorcam-sim/ZorcamSimTruth.h"

#include <QDir>
#include <QLibrary>
#include <QSaveFile>

namespace {

class SimulatedSkyTest : public WorkflowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(simDir_.isValid());
        configPath_ = simDir_.filePath(QStringLiteral("zorcam-sim.ini"));
        writeConfig(0, 30, -20);
        qputenv("ZORCAM_SIM_CONFIG", configPath_.toLocal8Bit());
        const QString lib =
            QDir(qEnvironmentVariable("ZW_TEST_BIN_DIR")).filePath(QStringLiteral("libzorcam.so"));
        library_.setFileName(lib);
        ASSERT_TRUE(library_.load()) << library_.errorString().toStdString();
        getTruth_ =
            reinterpret_cast<int (*)(ZorcamSimTruth*)>(library_.resolve("ZorcamSimGetTruth"));
        reload_ = reinterpret_cast<int (*)()>(library_.resolve("ZorcamSimReloadConfig"));
        ASSERT_TRUE(getTruth_ && reload_);
        reload_();
        WorkflowTest::SetUp();
    }
    void TearDown() override {
        WorkflowTest::TearDown(); // closing the window stops the loop and the camera
        qunsetenv("ZORCAM_SIM_CONFIG");
        if (reload_)
            reload_();
    }

    // A frozen sky on a mount with the RA axis turned and the pole off the axis.
    void writeConfig(double raAngle, double altErr, double azErr) {
        QSaveFile f(configPath_);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("[camera]\nthrottle = 1\n[sky]\ntimeScale = 0\nseed = 7\n"
                               "[mount]\nraAngleDeg = %1\naltErrArcmin = %2\nazErrArcmin = %3\n")
                    .arg(raAngle)
                    .arg(altErr)
                    .arg(azErr)
                    .toUtf8());
        ASSERT_TRUE(f.commit());
    }

    ZorcamSimTruth truth() {
        ZorcamSimTruth t{};
        getTruth_(&t);
        return t;
    }

    // Waits until the window has shown frames delivered after now (the hand-overs
    // run while this waits).
    void waitFrames(unsigned long long n = 3) {
        const unsigned long long from = truth().frameIndex;
        ASSERT_TRUE(QTest::qWaitFor([&] { return truth().frameIndex >= from + n; }, 15000))
            << "no frames";
    }

    // Turns the mount and waits for frames that show it.
    void moveMount(double raAngle, double altErr, double azErr) {
        writeConfig(raAngle, altErr, azErr);
        reload_();
        ASSERT_TRUE(QTest::qWaitFor([&] { return truth().raAngleDeg == raAngle; }, 15000));
        waitFrames();
    }

    void connectCamera() {
        ui().MenuItem_connect->trigger();
        ASSERT_TRUE(g_connected);
        ASSERT_NO_FATAL_FAILURE(waitFrames());
    }

    static void expectNear(double x, double y, double tx, double ty, double tol, const char* what) {
        EXPECT_NEAR(x, tx, tol) << what;
        EXPECT_NEAR(y, ty, tol) << what;
    }

    QTemporaryDir simDir_;
    QString configPath_;
    QLibrary library_;
    int (*getTruth_)(ZorcamSimTruth*) = nullptr;
    int (*reload_)() = nullptr;
};

TEST_F(SimulatedSkyTest, ACompleteAlignmentFromStep1ToMonitorMode) {
    ASSERT_NO_FATAL_FAILURE(connectCamera());
    EXPECT_EQ(w().wizardStep, 1);
    EXPECT_TRUE(panelShown());

    clickBtn2();
    ASSERT_EQ(w().wizardStep, 2);
    ZorcamSimTruth t = truth();
    doubleClickImage({t.starBX, t.starBY});
    EXPECT_TRUE(w().Img_Mask->isVisible());
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    clickBtn2(); // no recorded centre: the picks
    ASSERT_EQ(w().wizardStep, 3);

    // Star A three times, the RA axis turned by 30 degrees between the picks.
    const double turns[] = {0, 30, 60};
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            ASSERT_NO_FATAL_FAILURE(moveMount(turns[i], 30, -20));
            clickBtn2(); // "Finished" turning
        }
        t = truth();
        doubleClickImage({t.starAX, t.starAY});
        ASSERT_EQ(w().wizardStep, 4 + 2 * i) << messages.join('|').toStdString();
        expectNear((&w().starPos1X)[2 * i], (&w().starPos1Y)[2 * i], t.starAX, t.starAY, 1.0,
                   "picked star");
    }
    // Step 8: the axis mark and the circle, on the simulated RA axis.
    EXPECT_TRUE(g_showAxisMark);
    EXPECT_TRUE(g_showAxisCircle);
    // Three picks over a 60-degree arc: their sub-pixel noise moves the centre by
    // a few times as much, so the centre is checked to 3 px.
    expectNear(w().circleX, w().circleY, t.axisX, t.axisY, 3.0, "axis centre");
    ASSERT_NO_FATAL_FAILURE(waitFrames());
    const cv::Vec3b mark = g_displayImage.at<cv::Vec3b>(int(w().circleY), int(w().circleX));
    EXPECT_GT(mark[2], 200) << "red axis mark"; // Color style: red
    EXPECT_LT(mark[1], 80);

    clickBtn2(); // "Correct"
    ASSERT_EQ(w().wizardStep, 9);
    EXPECT_FALSE(g_showAxisCircle);
    expectNear(g_iniFileInfo.centerX, g_iniFileInfo.centerY, t.axisX, t.axisY, 3.0, "recorded");

    // Step 9: the pole star, the template turned with the sky.
    ui().TrackBar_mask_rough->setValue(int(std::lround(t.skyTurnDeg)) % 360);
    doubleClickImage({t.starBX, t.starBY});
    EXPECT_TRUE(g_showEptNStar);
    // The pole star must go where it puts the pole on the axis.
    expectNear(w().eptNStarX, w().eptNStarY, t.starBX - (t.poleX - t.axisX),
               t.starBY - (t.poleY - t.axisY), 3.0, "expected pole star");
    clickBtn2();
    ASSERT_EQ(w().wizardStep, 10);
    EXPECT_TRUE(g_showEptNStar);

    // Step 10: the bolts bring the pole onto the axis.
    ASSERT_NO_FATAL_FAILURE(moveMount(60, 0, 0));
    t = truth();
    expectNear(t.starBX, t.starBY, w().eptNStarX, w().eptNStarY, 3.0, "pole star in the ring");
    clickBtn2();
    ASSERT_EQ(w().wizardStep, 11);

    // Step 11: picked again, the reference stars are fixed.
    doubleClickImage({t.starBX, t.starBY});
    clickBtn2();
    ASSERT_EQ(w().wizardStep, 12);
    EXPECT_FALSE(g_showEptNStar);
    ASSERT_NE(g_displayThread, nullptr);
    expectNear(g_displayThread->refStarAInitX, g_displayThread->refStarAInitY, t.starAX, t.starAY,
               1.0, "reference star A");
    expectNear(g_displayThread->refStarBInitX, g_displayThread->refStarBInitY, t.starBX, t.starBY,
               1.0, "reference star B");

    QTest::mouseClick(ui().Btn_calcPolarAxis, Qt::LeftButton);
    ASSERT_EQ(w().wizardStep, 13);
    EXPECT_TRUE(g_monitorPole);
    EXPECT_TRUE(g_showRefStarA);
    EXPECT_TRUE(g_showRefStarB);
    EXPECT_TRUE(ui().MenuItem_trace->isEnabled());
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
}

TEST_F(SimulatedSkyTest, AConnectionAfterAnUnconfirmedSwitchRestoresTheStoredHemisphere) {
    ASSERT_NO_FATAL_FAILURE(connectCamera());
    QTest::mouseClick(ui().RadioBtn_south, Qt::LeftButton);
    ASSERT_EQ(w().curRegion, "S");
    ui().MenuItem_connect->trigger(); // disconnect
    EXPECT_EQ(w().wizardStep, 0);
    ASSERT_NO_FATAL_FAILURE(connectCamera());

    QStringList switches;
    for (const QString& m : ReadLogLines())
        if (m.contains(QStringLiteral("region mode")))
            switches << m;
    EXPECT_EQ(switches, (QStringList{"[Info] switch to South region mode",
                                     "[Info] switch to South region mode",
                                     "[Info] switch to North region mode"}));
    EXPECT_EQ(w().curRegion, "N");
    EXPECT_TRUE(ui().RadioBtn_north->isChecked());
    EXPECT_EQ(g_maskBX, g_northStarData.bX);
    EXPECT_EQ(w().wizardStep, 1);
    EXPECT_EQ(ui().Text_tip->text(), g_tipTexts.ZenithWandSettingTip);
    EXPECT_TRUE(g_tipTexts.ZenithWandSettingTip.contains(QStringLiteral("Polaris")));
}

} // namespace
