// The refraction window: ranges, the pressure unit, and edits that reach the
// working values and the settings at once.
#include "WindowsFixture.h"

#include "astro/Refraction.h"
#include "astro/SkyInImage.h"
#include "camera/DisplayThread.h"
#include "dialogs/FloatSpinBox.h"
#include "support/HeldClock.h"
#include "ui_AtmRefFormUnit.h"
#include "ui_FormMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <opencv2/imgproc.hpp>

namespace {

class RefractionWindow : public WindowsFixture {
protected:
    void SetUp() override {
        WindowsFixture::SetUp();
        start();
        ui = windows->atmRef.ui;
        // As after connecting: the window shows the working values (from the settings).
        windows->atmRef.FillFromWorkingValues();
        main().ui->MenuItem_astroRef->setEnabled(true);
        main().ui->MenuItem_astroRef->trigger();
    }
    // Types into the box and presses Return, as a user does.
    void type(FloatSpinBox* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    QString shown(FloatSpinBox* box) { return box->text(); }

    Ui::TFormAtmRef* ui = nullptr;
};

TEST_F(RefractionWindow, OpensFromTheToolsMenuWithItsDefaults) {
    EXPECT_TRUE(windows->atmRef.isVisible());
    EXPECT_EQ(windows->atmRef.windowTitle(), "Astronomical Refraction");
    EXPECT_EQ(shown(ui->SpinBox_latitude), "39.9");
    EXPECT_EQ(shown(ui->SpinBox_longitude), "116.3");
    EXPECT_EQ(shown(ui->SpinBox_P), "100"); // the settings' default
    EXPECT_EQ(shown(ui->SpinBox_T), "10");
    EXPECT_EQ(ui->ComboBox_pressure->currentText(), "P (kPa)");
    EXPECT_FALSE(ui->CheckBox_astroRef->isChecked());
}

TEST_F(RefractionWindow, ChangingTheUnitConvertsThePressureWithinTheUnitsRange) {
    struct Case {
        const char* typed; // in kPa
        const char* hpa;   // shown after switching to hPa
        const char* back;  // shown after switching back to kPa
    };
    for (const Case& c : {Case{"101.3", "1013", "101.3"}, Case{"110", "1060", "106"},
                          Case{"90", "900", "90"}, Case{"95.5", "955", "95.5"}}) {
        SCOPED_TRACE(c.typed);
        type(ui->SpinBox_P, c.typed);
        EXPECT_EQ(g_pressure.load(), QString(c.typed).toDouble());

        ui->ComboBox_pressure->setCurrentIndex(1);
        EXPECT_EQ(shown(ui->SpinBox_P), c.hpa);
        EXPECT_EQ(g_pressureUnit.load(), 1);
        EXPECT_EQ(g_iniFileInfo.P_UnitType, 1);
        EXPECT_EQ(g_pressure.load(), QString(c.hpa).toDouble());
        EXPECT_EQ(g_iniFileInfo.P, QString(c.hpa).toDouble());

        ui->ComboBox_pressure->setCurrentIndex(0);
        EXPECT_EQ(shown(ui->SpinBox_P), c.back);
        EXPECT_EQ(g_pressureUnit.load(), 0);
        EXPECT_EQ(g_iniFileInfo.P_UnitType, 0);
        EXPECT_EQ(g_pressure.load(), QString(c.back).toDouble());
        EXPECT_EQ(g_iniFileInfo.P, QString(c.back).toDouble());
    }
}

TEST_F(RefractionWindow, TypedValuesOutsideTheRangeGoToTheNearestLimit) {
    struct Case {
        int unit;
        const char* box;
        const char* typed;
        double expected;
    };
    const Case cases[] = {
        {1, "SpinBox_P", "95", 900},
        {1, "SpinBox_P", "2000", 1060},
        {0, "SpinBox_P", "95", 95},
        {0, "SpinBox_P", "120", 110},
        {0, "SpinBox_latitude", "95", 90},
        {0, "SpinBox_longitude", "181", 180},
        {0, "SpinBox_longitude", "-75.5", -75.5}, // west of Greenwich
        {0, "SpinBox_longitude", "-181", -180},
        {0, "SpinBox_T", "-90", -84},
        {0, "SpinBox_T", "250", 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.box) + " " + c.typed);
        ui->ComboBox_pressure->setCurrentIndex(c.unit);
        auto* box = windows->atmRef.findChild<FloatSpinBox*>(c.box);
        type(box, c.typed);
        EXPECT_EQ(box->floatValue(), c.expected);
    }
}

TEST_F(RefractionWindow, EveryEditReachesTheWorkingValueAndTheSettingsAtOnce) {
    type(ui->SpinBox_latitude, "45.25");
    EXPECT_EQ(g_latitude.load(), 45.25);
    EXPECT_EQ(g_iniFileInfo.latitude, 45.25);
    type(ui->SpinBox_longitude, "7.6");
    EXPECT_EQ(g_longitude.load(), 7.6);
    EXPECT_EQ(g_iniFileInfo.longitude, 7.6);
    type(ui->SpinBox_T, "-12.5");
    EXPECT_EQ(g_temperature.load(), -12.5);
    EXPECT_EQ(g_iniFileInfo.T, -12.5);
    type(ui->SpinBox_P, "98.7");
    EXPECT_EQ(g_pressure.load(), 98.7);
    EXPECT_EQ(g_iniFileInfo.P, 98.7);

    QTest::mouseClick(ui->CheckBox_astroRef, Qt::LeftButton);
    EXPECT_TRUE(g_refractionOn.load());
    EXPECT_TRUE(g_iniFileInfo.isCorrection);
    QTest::mouseClick(ui->CheckBox_astroRef, Qt::LeftButton);
    EXPECT_FALSE(g_refractionOn.load());
    EXPECT_FALSE(g_iniFileInfo.isCorrection);

    // What the window set is what the settings file keeps.
    QTest::mouseClick(ui->CheckBox_astroRef, Qt::LeftButton);
    main().close();
    QFile f(folders.settingsFile());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray ini = f.readAll();
    for (const char* line :
         {"latitude=45.25", "longitude=7.6", "T=-12.5", "P=98.7", "P_UnitType=0", "isCorrection=1"})
        EXPECT_TRUE(ini.contains(line)) << line << "\n" << ini.constData();
}

TEST_F(RefractionWindow, ReturnLeavesTheField) {
    ui->SpinBox_latitude->setFocus();
    windows->atmRef.activateWindow();
    type(ui->SpinBox_latitude, "50");
    EXPECT_FALSE(ui->SpinBox_latitude->hasFocus());
    EXPECT_EQ(g_latitude.load(), 50.0);
}

TEST_F(RefractionWindow, FillingFromTheWorkingValuesShowsThemAndKeepsThemExact) {
    struct Case {
        double latitude, longitude, pressure;
        int unit;
        double temperature;
        bool on;
        const char* pressureShown;
    };
    const Case cases[] = {
        {51.5, 0.1, 1013.25, 1, -5, true, "1013.25"}, // hPa after kPa
        {33.9, 151.2, 99.5, 0, 25, false, "99.5"},    // back to kPa
        {10, 20, 1040, 1, 0, true, "1040"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pressureShown);
        g_latitude = c.latitude;
        g_longitude = c.longitude;
        g_pressure = c.pressure;
        g_pressureUnit = c.unit;
        g_temperature = c.temperature;
        g_refractionOn = c.on;
        windows->atmRef.FillFromWorkingValues();

        EXPECT_EQ(ui->ComboBox_pressure->currentIndex(), c.unit);
        EXPECT_EQ(shown(ui->SpinBox_P), c.pressureShown);
        EXPECT_EQ(ui->CheckBox_astroRef->isChecked(), c.on);
        // The unit's conversion on the way must not leave its value behind.
        EXPECT_EQ(g_pressure.load(), c.pressure);
        EXPECT_EQ(g_latitude.load(), c.latitude);
        EXPECT_EQ(g_longitude.load(), c.longitude);
        EXPECT_EQ(g_temperature.load(), c.temperature);
        EXPECT_EQ(g_pressureUnit.load(), c.unit);
        EXPECT_EQ(g_refractionOn.load(), c.on);
    }
}

TEST_F(RefractionWindow, TheNextTrackedFrameFollowsTheCorrectionSwitchAndTheUnit) {
    // Two stars on the frame, tracked in monitor mode as the capture thread does.
    g_frameImage.setTo(0);
    cv::circle(g_frameImage, {400, 300}, 2, 200, cv::FILLED);
    cv::circle(g_frameImage, {700, 500}, 2, 200, cv::FILLED);
    cv::GaussianBlur(g_frameImage, g_frameImage, {7, 7}, 1.2);
    DisplayThread tracker;
    tracker.SetRefStarA(401, 299);
    tracker.SetRefStarB(699, 501);
    // A sky held at a moment, 30" per pixel, its meridian up: the longitude that puts
    // right ascension 270° on the meridian then.
    SkyOfMoment sky;
    sky.aX = 400 * 30.0;
    sky.aY = 300 * 30.0;
    sky.bX = 700 * 30.0;
    sky.bY = 500 * 30.0;
    sky.meridianRaDeg = 270;
    tracker.SetClock(ClockHeldAt(QDate(2026, 12, 10)));
    tracker.SetSkyOfMoment(sky);
    g_longitude =
        std::remainder(270.0 - *SkyOfDate::EarthRotationDegAt({2026, 12, 10, 0, 0, 0.0}), 360.0);
    g_monitorPole = true;
    tracker.TrackRefStars();
    const double measuredAX = tracker.refStarAX, measuredAY = tracker.refStarAY;
    const double measuredBX = tracker.refStarBX, measuredBY = tracker.refStarBY;
    ASSERT_NEAR(measuredAY, 300, 0.5);
    const std::optional<SkyInImage> seen =
        SkyInImage::From(sky, measuredAX, measuredAY, measuredBX, measuredBY);
    ASSERT_TRUE(seen);
    ASSERT_NEAR(seen->ZenithY(), -1, 1e-3);

    struct Case {
        const char* what;
        std::function<void()> act;
        double pressureKPa; // 0: no correction
    };
    const Case cases[] = {
        {"switched on", [this] { QTest::mouseClick(ui->CheckBox_astroRef, Qt::LeftButton); }, 100},
        {"other site and air",
         [this] {
             type(ui->SpinBox_latitude, "20");
             type(ui->SpinBox_T, "-20");
             type(ui->SpinBox_P, "95");
         },
         95},
        {"pressure in hPa", [this] { ui->ComboBox_pressure->setCurrentIndex(1); }, 95},
        {"hPa typed", [this] { type(ui->SpinBox_P, "1013"); }, 101.3},
        {"switched off", [this] { QTest::mouseClick(ui->CheckBox_astroRef, Qt::LeftButton); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.act();
        tracker.TrackRefStars();
        // Corrected: both stars moved down, away from the zenith, by the refraction
        // at the latitude in pixels of the live scale.
        cv::Point2d shift(0, 0);
        if (c.pressureKPa > 0) {
            shift =
                seen->RefractionShiftPx(RefractionArcmin(g_latitude, c.pressureKPa, g_temperature));
            EXPECT_GT(shift.y, 1.0);
        }
        EXPECT_NEAR(tracker.refStarAX, measuredAX + shift.x, 1e-9);
        EXPECT_NEAR(tracker.refStarAY, measuredAY + shift.y, 1e-9);
        EXPECT_NEAR(tracker.refStarBX, measuredBX + shift.x, 1e-9);
        EXPECT_NEAR(tracker.refStarBY, measuredBY + shift.y, 1e-9);
    }
    g_monitorPole = false;
}

} // namespace
