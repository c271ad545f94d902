// The mount tools as a user meets them beside the read-out: the screws calibrated in
// the window and then given in turns, the record of an alignment, the motor window
// aligning a mount over the serial line.
#include "workflow/MountTools.h"

#include "dialogs/MotorWindow.h"
#include "dialogs/ScrewsWindow.h"
#include "guidance/ScrewProfiles.h"
#include "motor/MotorAxes.h"
#include "unit/motor/MountModel.h"
#include "zorcam-sim/adjuster/PtyAdjuster.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <mutex>

#include <gtest/gtest.h>

namespace {

struct Scene {
    QTemporaryDir dir;
    QWidget window;
    QWidget* panel = nullptr;
    QLabel* readout = nullptr;
    double seconds = 0;
    std::unique_ptr<MountTools> tools;

    explicit Scene(const QByteArray& settings = "[MAIN]\nlanguage=EN\n") {
        QFile f(dir.filePath("ZenithWand.ini"));
        f.open(QIODevice::WriteOnly);
        f.write(settings);
        f.close();
        panel = new QWidget(&window);
        auto* box = new QVBoxLayout(panel);
        readout = new QLabel(panel);
        box->addWidget(readout);
        tools = std::make_unique<MountTools>(
            &window, dir.filePath("ZenithWand.ini"), [this] { return seconds; },
            [this] {
                return QDateTime(QDate(2026, 12, 11), QTime(21, 0), Qt::UTC)
                    .addMSecs(qint64(seconds * 1000));
            },
            [this] { return dir.path(); });
        tools->AddReadoutControls(panel, readout);
    }
    QString Settings() const { return dir.filePath("ZenithWand.ini"); }
    void Feed(const MountModel& mount, double forSeconds = 2.0) {
        for (double t = 0; t < forSeconds; t += 0.25) {
            seconds += 0.25;
            tools->Readout(mount.Readout());
        }
    }
    template <class T> T* Find(QWidget* in, const char* name) {
        T* w = in->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
};

bool WaitFor(const std::function<bool()>& done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

} // namespace

TEST(MountToolsTest, ScrewsCalibratedInTheWindowAreThenGivenInTurns) {
    Scene s;
    // A mount whose altitude screw raises 480" per clockwise turn and whose azimuth
    // screw turns 360" west per clockwise turn.
    MountModel mount;
    mount.altArcsec = 600;
    mount.azArcsec = -450;
    s.tools->MonitorStarted();
    s.Feed(mount);
    s.tools->OpenScrewsWindow();
    ScrewsWindow* w = s.tools->Screws();
    ASSERT_NE(w, nullptr);
    auto* prompt = s.Find<QLabel>(w, "Label_screwPrompt");
    s.Find<QPushButton>(w, "Btn_screwCalibrate")->click();
    EXPECT_TRUE(prompt->text().contains("altitude screw a quarter turn clockwise"));
    mount.altArcsec -= 480 * 0.25;
    s.Feed(mount);
    s.Find<QPushButton>(w, "Btn_screwNext")->click();
    EXPECT_TRUE(prompt->text().contains("azimuth screw a quarter turn clockwise"));
    mount.azArcsec += 360 * 0.25;
    s.Feed(mount);
    s.Find<QPushButton>(w, "Btn_screwNext")->click();
    EXPECT_EQ(prompt->text(), "Both screws are calibrated.");
    EXPECT_EQ(s.Find<QLabel>(w, "Label_screwAlt")->text(), "480\" per clockwise turn");
    EXPECT_EQ(s.Find<QLabel>(w, "Label_screwAz")->text(), "-360\" per clockwise turn");

    // 480" to raise: one turn clockwise; 360" west: one turn clockwise too.
    auto* turns = s.Find<QLabel>(&s.window, "Label_screwTurns");
    EXPECT_EQ(turns->text().toStdString(),
              "altitude: one turn clockwise\nazimuth: one turn clockwise");
    // The calibration is kept for the next night.
    const ScrewProfiles kept = LoadScrewProfiles(s.Settings());
    ASSERT_NE(kept.CurrentIfAny(), nullptr);
    EXPECT_NEAR(kept.CurrentIfAny()->altitude.arcsecPerTurn, 480, 1e-9);

    // The user turns the altitude screw as advised.
    mount.altArcsec -= 480;
    s.Feed(mount, 3.0);
    EXPECT_EQ(turns->text().toStdString(), "azimuth: one turn clockwise");
    // Then the azimuth screw, which now moves the pole twice as far as it did: a new
    // calibration is asked for.
    mount.azArcsec += 2 * 360;
    s.Feed(mount, 3.0);
    EXPECT_EQ(turns->text().toStdString(),
              "azimuth: one turn counter-clockwise\nThe last turn moved the pole differently "
              "from the calibration: calibrate again.");

    // In German.
    s.tools->ApplyLanguage("DE");
    EXPECT_TRUE(turns->text().contains("Drehung")) << turns->text().toStdString();
}

TEST(MountToolsTest, TheAlignmentIsRecordedBesideTheLogWithItsTurns) {
    Scene s;
    MountModel mount;
    mount.altArcsec = 900;
    mount.azArcsec = 300;
    s.tools->SetSite(true, -31.95, 115.86);
    s.tools->MonitorStarted();
    s.Feed(mount, 3);
    mount.altArcsec = 100;
    s.Feed(mount, 3);
    mount.azArcsec = 2;
    mount.altArcsec = 3;
    s.Feed(mount, 3);
    EXPECT_EQ(s.tools->History().Steps(), 2);
    s.tools->MonitorEnded();
    QFile f(AlignmentRecordPath(s.dir.path()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[1], "2026-12-11T21:00:00Z,2026-12-11T21:00:09Z,-31.9500,115.8600,948.7,3.6,"
                        "3.0,2.0,2");
}

TEST(MountToolsTest, TheMotorWindowAlignsAMountOverTheSerialLine) {
    std::mutex mutex;
    MountModel mount;
    mount.altArcsec = -500;
    mount.azArcsec = 350;
    zorcamsim::AdjusterConfig c;
    c.queriesPerJog = 1;
    c.alt = {'Y', 1100, 0.01, 20};
    c.az = {'X', 900, 0.01, 20};
    zorcamsim::PtyAdjuster adjuster(c, [&](double alt, double az) {
        const std::lock_guard<std::mutex> lock(mutex);
        mount.altArcsec -= alt;
        mount.azArcsec -= az;
    });
    ASSERT_TRUE(adjuster.Start());
    auto readout = [&] {
        const std::lock_guard<std::mutex> lock(mutex);
        return mount.Readout();
    };
    Scene s("[MOTOR]\naltMmPerArcsec=0.001\nazMmPerArcsec=0.001\n");
    s.tools->MonitorStarted();
    for (int i = 0; i < 8; ++i) {
        s.seconds += 0.25;
        s.tools->Readout(readout());
    }
    s.tools->OpenMotorWindow();
    MotorWindow* w = s.tools->Motor();
    ASSERT_NE(w, nullptr);
    auto* state = s.Find<QLabel>(w, "Label_motorState");
    EXPECT_EQ(state->text(), "Not connected.");
    auto* port = w->findChild<QLineEdit*>("Edit_motorPort");
    ASSERT_NE(port, nullptr);
    port->setText(QString::fromStdString(adjuster.SlaveName()));
    s.Find<QPushButton>(w, "Btn_motorConnect")->click();
    EXPECT_EQ(state->text(), "Ready.");
    EXPECT_EQ(LoadMotorSettings(s.Settings()).port.toStdString(), adjuster.SlaveName())
        << "the port is kept";
    s.Find<QPushButton>(w, "Btn_motorAlign")->click();
    ASSERT_TRUE(WaitFor(
        [&] {
            s.seconds += 0.25;
            s.tools->Readout(readout());
            return state->text() == "Aligned." || state->text().startsWith("The ");
        },
        20000));
    EXPECT_EQ(state->text(), "Aligned.");
    EXPECT_LE(readout().totalArcsec, 10.0);
}
