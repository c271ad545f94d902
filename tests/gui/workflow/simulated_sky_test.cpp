// The wizard on the simulated camera: a whole alignment from step 1 to monitor mode
// with the sky frozen, star positions from the simulator's ground truth, and the
// hemisphere restored when a connection follows an unconfirmed switch.
#include "WorkflowFixture.h"

#include "zorcam-sim/ZorcamSimTruth.h"

#include <QDir>
#include <QLibrary>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

class SimulatedSkyTest : public WorkflowTest {
protected:
    // The simulator's template sky is drawn from the dated data, so the window uses them too.
    QByteArray SettingsText() const override { return "[STAR_DATA]\nsource=table\n"; }

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
                    .toUtf8() +
                extraConfig_);
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
    QByteArray extraConfig_; // more keys of [mount], written after the others
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

// The automatic ways on the simulated sky, in both hemispheres with the camera
// turned: "Auto" places the template as a double-click and the bar would, refuses
// when the pole star is not in view, and "Auto Axis" finds the axis over a turn.
struct AutoCase {
    const char* name;
    const char* hemisphere;
    double roll;     // camera roll, degrees
    double skyAngle; // turn of the sky, degrees (the template sky's)
    bool catalogue;  // the real stars of the moment, shown at 200 ms
};

class AutoAlignSkyTest : public SimulatedSkyTest, public ::testing::WithParamInterface<AutoCase> {
protected:
    // The automatic ways find the template's turn on the sky as the window computes it.
    QByteArray SettingsText() const override { return {}; }

    void SetUp() override {
        SimulatedSkyTest::SetUp();
        extraConfig_ = QStringLiteral("rollDeg = %1\n[sky]\nhemisphere = %2\nskyAngleDeg = %3\n")
                           .arg(GetParam().roll)
                           .arg(GetParam().hemisphere)
                           .arg(GetParam().skyAngle)
                           .toUtf8();
        if (GetParam().catalogue)
            extraConfig_ += "model = catalogue\ntime = 21:30:00\nzeroPointEps = 3000000\n";
        writeConfig(0, 30, -20);
        reload_();
    }

    // Connected, in the hemisphere of the case, at step 2.
    void toStep2() {
        ASSERT_NO_FATAL_FAILURE(connectCamera());
        if (GetParam().catalogue) {
            QTest::mouseClick(ui().Btn_exp200, Qt::LeftButton);
            ASSERT_TRUE(QTest::qWaitFor([&] { return truth().exposureUs == 200000.0; }, 15000));
            ASSERT_NO_FATAL_FAILURE(waitFrames());
        }
        if (QLatin1String(GetParam().hemisphere) == QLatin1String("S"))
            QTest::mouseClick(ui().RadioBtn_south, Qt::LeftButton);
        ASSERT_EQ(w().curRegion, GetParam().hemisphere);
        ASSERT_EQ(w().wizardStep, 1);
        clickBtn2();
        ASSERT_EQ(w().wizardStep, 2);
    }

    // The turn so far that the tip shows (-1 when it shows none).
    double turnShown() {
        static const QRegularExpression number(QStringLiteral("([0-9]+\\.[0-9])°$"));
        const QRegularExpressionMatch m = number.match(ui().Text_tip->text());
        return m.hasMatch() ? m.captured(1).toDouble() : -1;
    }

    // The template turn that puts the window's A-B on the sky's (the simulator's sky
    // turn is the template sky's only; on the real stars it is the plane's).
    double templateTurn(const ZorcamSimTruth& t) const {
        const STARDATA& d = QLatin1String(GetParam().hemisphere) == QLatin1String("S")
                                ? g_southStarData
                                : g_northStarData;
        return (std::atan2(t.starAY - t.starBY, t.starAX - t.starBX) -
                std::atan2(d.aY - d.bY, d.aX - d.bX)) *
               180 / M_PI;
    }
    static int barOf(double turn) {
        return int(std::lround(turn - 360 * std::floor(turn / 360))) % 360;
    }
    static int barDistance(int a, int b) {
        return std::min(std::abs(a - b), 360 - std::abs(a - b));
    }
};

TEST_P(AutoAlignSkyTest, AutoPlacesTheTemplateAndTheBarOrRefusesWithoutThePoleStar) {
    ASSERT_NO_FATAL_FAILURE(toStep2());
    ZorcamSimTruth t = truth();
    QTest::mouseClick(ui().AutoBtn_mask_finding, Qt::LeftButton);
    EXPECT_TRUE(w().Img_Mask->isVisible());
    EXPECT_TRUE(ui().MenuItem_showMask->isChecked());
    expectNear(w().maskAnchorX, w().maskAnchorY, t.starBX, t.starBY, 1.0,
               "template on the pole star");
    EXPECT_LE(barDistance(ui().TrackBar_mask_finding->value(), barOf(templateTurn(t))), 1);
    EXPECT_EQ(w().Img_Mask->rotation(), ui().TrackBar_mask_finding->value());
    EXPECT_EQ(w().wizardStep, 2);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();

    // The pole star far out of the frame: a note, and nothing moves.
    ASSERT_NO_FATAL_FAILURE(moveMount(0, 600, 0));
    const int bar = ui().TrackBar_mask_finding->value();
    const double anchorX = w().maskAnchorX;
    QTest::mouseClick(ui().AutoBtn_mask_finding, Qt::LeftButton);
    EXPECT_EQ(ui().TrackBar_mask_finding->value(), bar);
    EXPECT_EQ(w().maskAnchorX, anchorX);
    EXPECT_TRUE(panelShown());
    EXPECT_TRUE(ui().Text_tip->text().contains(QStringLiteral("No convincing match")));
    EXPECT_TRUE(ui().Btn2_tip->isVisible());

    // Step 9 with the rough bar: the expected pole star follows as with a double-click.
    ASSERT_NO_FATAL_FAILURE(moveMount(0, 30, -20));
    clickBtn2();
    ASSERT_EQ(w().wizardStep, 3);
    w().axisX = t.axisX;
    w().axisY = t.axisY;
    w().GoToStep(9);
    t = truth();
    QTest::mouseClick(ui().AutoBtn_rough, Qt::LeftButton);
    EXPECT_TRUE(g_showEptNStar);
    EXPECT_LE(barDistance(ui().TrackBar_mask_rough->value(), barOf(templateTurn(t))), 1);
    expectNear(w().curNStarX, w().curNStarY, t.starBX, t.starBY, 1.0, "current pole star");
    expectNear(w().eptNStarX, w().eptNStarY, t.starBX - (t.poleX - t.axisX),
               t.starBY - (t.poleY - t.axisY), 3.0, "expected pole star");
}

TEST_P(AutoAlignSkyTest, AutoAxisFollowsAFortyDegreeTurnToStep8) {
    ASSERT_NO_FATAL_FAILURE(toStep2());
    clickBtn2();
    ASSERT_EQ(w().wizardStep, 3);
    QTest::mouseClick(ui().Btn_autoAxis, Qt::LeftButton);
    EXPECT_TRUE(ui().Image_rotateDirect->isVisible());
    for (double turn : {8.0, 16.0, 24.0, 40.0}) {
        ASSERT_NO_FATAL_FAILURE(moveMount(turn, 30, -20));
        if (turn < 30) {
            // The tip shows the turn so far.
            ASSERT_TRUE(QTest::qWaitFor([&] { return std::abs(turnShown() - turn) < 0.5; }, 15000))
                << ui().Text_tip->text().toStdString();
            EXPECT_EQ(w().wizardStep, 3);
        }
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return w().wizardStep == 8; }, 15000));
    const ZorcamSimTruth t = truth();
    expectNear(w().circleX, w().circleY, t.axisX, t.axisY, 0.5, "axis centre");
    EXPECT_TRUE(g_showAxisMark);
    EXPECT_TRUE(g_showAxisCircle);
    EXPECT_TRUE(w().starPicked1 && w().starPicked2 && w().starPicked3);
    for (const auto& [x, y] :
         {std::pair{w().starPos1X, w().starPos1Y}, std::pair{w().starPos2X, w().starPos2Y},
          std::pair{w().starPos3X, w().starPos3Y}})
        EXPECT_NEAR(std::hypot(x - t.axisX, y - t.axisY), w().circleRadius, 1.5);
    clickBtn2(); // "Correct"
    ASSERT_EQ(w().wizardStep, 9);
    expectNear(g_iniFileInfo.centerX, g_iniFileInfo.centerY, t.axisX, t.axisY, 0.5, "recorded");
}

INSTANTIATE_TEST_SUITE_P(Hemispheres, AutoAlignSkyTest,
                         ::testing::Values(AutoCase{"N", "N", 37, 123, false},
                                           AutoCase{"S", "S", 211, -75, false},
                                           AutoCase{"CatalogueN", "N", -128, 0, true},
                                           AutoCase{"CatalogueS", "S", 66, 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
