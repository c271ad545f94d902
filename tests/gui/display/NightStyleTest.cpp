// The night style on every window: the main window in monitor mode on a frame of
// the simulated camera (marks, template, close-up, magnifier, read-out), the
// refraction, trace and About windows, a message box and an open menu are drawn
// with no pixel brighter in green or blue than kNightMaxGreenBlue; the frame and
// the saved BMP stay grey; the menu items behave as one choice of three styles.

#include "DisplayWindowFixture.h"

#include "MonitorScene.h"
#include "camera/DisplayThread.h"
#include "dialogs/MessageBoxes.h"
#include "display/LiveImageView.h"
#include "display/LiveView.h"
#include "display/NightStyle.h"
#include "display/NightWindows.h"
#include "display/ViewControls.h"
#include "zorcam-sim/Simulator.h"

#include <QAbstractSpinBox>
#include <QDate>
#include <QDeadlineTimer>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QStyle>
#include <QThread>
#include <opencv2/imgcodecs.hpp>

#include <cmath>
#include <cstring>

namespace {

// The first pixel whose green or blue exceeds the limit, as text; empty when none.
QString BrightPixel(const QImage& picture) {
    const QImage img = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (qGreen(line[x]) > kNightMaxGreenBlue || qBlue(line[x]) > kNightMaxGreenBlue)
                return QStringLiteral("(%1,%2) = %3").arg(x).arg(y).arg(QColor(line[x]).name());
    }
    return {};
}

// Whether a picture holds exactly this colour somewhere.
bool Holds(const QImage& picture, const QColor& colour) {
    const QImage img = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (colour.rgb() & 0xFFFFFF))
                return true;
    }
    return false;
}

// The widget of a window at a pixel of its grab, to say where a bright pixel is.
QString WidgetAt(QWidget* window, const QString& where) {
    const QStringList xy = where.section(QLatin1Char(')'), 0, 0).mid(1).split(QLatin1Char(','));
    if (xy.size() != 2)
        return {};
    QWidget* w = window->childAt(xy[0].toInt(), xy[1].toInt());
    return w ? w->objectName() + QStringLiteral(" ") + w->metaObject()->className() : QString();
}

class NightStyleTest : public DisplayWindowTest {
protected:
    void TearDown() override {
        g_displayThread = nullptr;
        thread_.reset();
        ClearOverlayFlags();
        g_cameraOpen = false;
        DisplayWindowTest::TearDown();
        SetNightLook(false);
    }

    void SwitchToNight() {
        QAction* night = main_->ui->MenuItem_nightStyle;
        ASSERT_FALSE(night->isChecked());
        night->trigger();
        ASSERT_EQ(g_uiStyle, QStringLiteral("Night"));
    }

    // One live frame of the simulated camera into the receive buffer and the frame.
    void SimulatedFrame() {
        using namespace zorcamsim;
        Simulator& sim = Simulator::Instance();
        char id[64] = {};
        ASSERT_EQ(sim.InitResource(), SIM_OK);
        ASSERT_GE(sim.Scan(), 1);
        ASSERT_EQ(sim.GetId(0, id), SIM_OK);
        const std::uint32_t h = sim.Open(id);
        ASSERT_NE(h, 0u);
        sim.SetStreamMode(h, 1);
        sim.Init(h);
        sim.SetResolution(h, 0, 0, 1280, 960);
        sim.SetParam(h, 8, 100000.0);
        sim.SetParam(h, 6, 70.0);
        ASSERT_EQ(sim.BeginLive(h), SIM_OK);
        std::uint32_t w = 0, hh = 0, bpp = 0, ch = 0;
        const QDeadlineTimer deadline(10000);
        while (sim.GetLiveFrame(h, &w, &hh, &bpp, &ch, g_liveBuffer) != SIM_OK) {
            ASSERT_FALSE(deadline.hasExpired()) << "no frame from the simulated camera";
            QThread::msleep(5);
        }
        std::memcpy(g_frameImage.data, g_liveBuffer, 1280u * 960u);
        ASSERT_EQ(sim.GetTruth(&truth_), SIM_OK);
        sim.StopLive(h);
        sim.Close(h);
    }

    // The monitor mode after the wizard on that frame: positions picked, reference
    // stars fixed, the pole tracked, template and magnifier shown, two frames drawn.
    void MonitorScene() {
        Ui::TFormMain* ui = main_->ui;
        for (Expander* e : {ui->Expander_region, ui->Expander_camSetting, ui->Expander_finding,
                            ui->Expander_rough, ui->Expander_precise})
            e->setEnabled(true);
        ui->Expander_precise->setExpanded(true);
        main_->starPicked1 = main_->starPicked2 = true;
        main_->SetStarPosIndicator(ui->Circle_starPos1, true);
        main_->SetStarPosIndicator(ui->Circle_starPos2, true);
        main_->PrepareTemplates();
        thread_ = std::make_unique<DisplayThread>();
        g_displayThread = thread_.get();
        DisplayThread& t = *thread_;
        TrackOnTruth(t, truth_, g_uiStyle);
        const ZorcamSimTruth& s = truth_;
        // The mount nearly aligned: the axis a few pixels from the tracked pole, so the
        // close-up shows both marks.
        t.SetCirCenter(int(std::hypot(s.starBX - t.polarPosX, s.starBY - t.polarPosY)),
                       t.polarPosX + 4, t.polarPosY + 3);
        t.TrackRefStars();
        ASSERT_TRUE(g_zoomReady);
        ShowPoleView();
        g_zoomReady = false;
        // The template over the pole star, and the magnifier on it.
        main_->Img_Mask->setVisible(true);
        main_->Img_Mask->setPos(QPointF(s.starBX, s.starBY) * g_zoom);
        g_cameraOpen = true;
        main_->Img_capMouseMove(QPointF(s.starBX, s.starBY));
        QCoreApplication::processEvents();
    }

    ZorcamSimTruth truth_{};
    std::unique_ptr<DisplayThread> thread_;
};

TEST_F(NightStyleTest, EveryWindowIsDrawnInRedsUnderTheLimit) {
    ASSERT_NO_FATAL_FAILURE(SimulatedFrame());
    // The windows are open when the user switches.
    main_->resize(1100, 900);
    main_->show();
    for (QWidget* w : {static_cast<QWidget*>(atmRef_), static_cast<QWidget*>(trace_),
                       static_cast<QWidget*>(about_)})
        w->show();
    QCoreApplication::processEvents();
    ASSERT_NO_FATAL_FAILURE(SwitchToNight());
    ASSERT_NO_FATAL_FAILURE(MonitorScene());
    // The scene drew what the test means to look at.
    ASSERT_FALSE(g_zoomBitmap.isNull());
    ASSERT_TRUE(main_->findChild<QLabel*>(QStringLiteral("Label_alignReadout")));
    EXPECT_FALSE(main_->findChild<QLabel*>(QStringLiteral("Label_alignReadout"))->text().isEmpty());

    const std::unique_ptr<QMessageBox> box =
        MakeMessageBox(QStringLiteral("question"), QStringLiteral("Use the recorded axis?"));
    box->show();
    QMenu* tools = main_->ui->MenuItem_tools;
    tools->popup(QPoint(0, 0));
    QCoreApplication::processEvents();

    const struct {
        const char* name;
        QWidget* window;
    } windows[] = {{"main", main_},   {"refraction", atmRef_},    {"trace", trace_},
                   {"About", about_}, {"message box", box.get()}, {"menu", tools}};
    for (const auto& w : windows) {
        SCOPED_TRACE(w.name);
        const QImage shot = w.window->grab().toImage();
        ASSERT_FALSE(shot.isNull());
        const QString bright = BrightPixel(shot);
        EXPECT_TRUE(bright.isEmpty())
            << bright.toStdString() << " in " << WidgetAt(w.window, bright).toStdString();
    }
    tools->hide();

    // The live image shows every mark in its own red, on the red ramp.
    EXPECT_TRUE(BrightPixel(g_viewBitmap).isEmpty());
    for (const cv::Scalar& mark :
         {kNightPole, kNightAxis, kNightRefStar, kNightRefStarBox, kNightRing})
        EXPECT_TRUE(Holds(g_viewBitmap, QColorOf(mark)))
            << "mark " << QColorOf(mark).name().toStdString();
    EXPECT_TRUE(Holds(g_zoomBitmap, QColorOf(kNightPole)));
    EXPECT_TRUE(Holds(g_zoomBitmap, QColorOf(kNightAxis)));
    EXPECT_TRUE(Holds(main_->Img_Mask->pixmap().toImage(), QColorOf(kNightTemplate)));
}

// Windows closed while the user switches take the night look when opened later.
TEST_F(NightStyleTest, WindowsHiddenAtTheSwitchAreRedWhenShown) {
    main_->show();
    QCoreApplication::processEvents();
    ASSERT_NO_FATAL_FAILURE(SwitchToNight());
    const struct {
        const char* name;
        QWidget* window;
    } windows[] = {{"refraction", atmRef_}, {"trace", trace_}, {"About", about_}};
    for (const auto& w : windows) {
        SCOPED_TRACE(w.name);
        ASSERT_FALSE(w.window->isVisible());
        w.window->show();
        QCoreApplication::processEvents();
        if (w.window == atmRef_) { // opens with the text cursor in its first field
            EXPECT_TRUE(qobject_cast<QAbstractSpinBox*>(QApplication::focusWidget()));
        }
        const QString bright = BrightPixel(w.window->grab().toImage());
        EXPECT_TRUE(bright.isEmpty())
            << bright.toStdString() << " in " << WidgetAt(w.window, bright).toStdString();
    }
}

TEST_F(NightStyleTest, TheFrameAndTheSavedBmpStayGrey) {
    ASSERT_NO_FATAL_FAILURE(SimulatedFrame());
    const cv::Mat delivered = cv::Mat(960, 1280, CV_8UC1, g_liveBuffer).clone();
    ASSERT_NO_FATAL_FAILURE(SwitchToNight());
    g_showRefStarA = true;
    RenderLiveView();
    ASSERT_EQ(g_frameImage.type(), CV_8UC1);
    EXPECT_EQ(cv::norm(g_frameImage, delivered, cv::NORM_INF), 0.0);
    // The view: red = grey away from the marks, green and blue off.
    const QRgb shown = g_viewBitmap.pixel(5, 5);
    EXPECT_EQ(qRed(shown), delivered.at<unsigned char>(5, 5));
    EXPECT_EQ(qGreen(shown) + qBlue(shown), 0);

    const QString path = folders_.filePath(QStringLiteral("night"));
    SetSaveFileChooserForTesting([path](QWidget*) { return path; });
    main_->MenuItem_saveClick();
    SetSaveFileChooserForTesting({});
    const cv::Mat back = cv::imread(QFile::encodeName(path + QStringLiteral(".bmp")).toStdString(),
                                    cv::IMREAD_UNCHANGED);
    ASSERT_EQ(back.type(), CV_8UC1);
    EXPECT_EQ(cv::norm(back, delivered, cv::NORM_INF), 0.0);
}

TEST_F(NightStyleTest, TheStyleItemsAreOneChoiceOfThreeAndNightIsSaved) {
    const int before = ReadLogMessages().size();
    QAction* mono = main_->ui->MenuItem_style;
    QAction* night = main_->ui->MenuItem_nightStyle;
    const QString aboutDay = about_->styleSheet();
    const QPalette dayPalette = QApplication::palette();

    mono->trigger();  // Mono
    night->trigger(); // Night: Mono unchecked
    EXPECT_FALSE(mono->isChecked());
    EXPECT_TRUE(night->isChecked());
    EXPECT_EQ(g_iniFileInfo.style, QStringLiteral("Night"));
    EXPECT_NE(about_->styleSheet(), aboutDay); // the About window is red too
    EXPECT_TRUE(NightLookOn());
    mono->trigger(); // Mono from Night: Night unchecked, the day look back
    EXPECT_TRUE(mono->isChecked());
    EXPECT_FALSE(night->isChecked());
    EXPECT_EQ(about_->styleSheet(), aboutDay);
    EXPECT_EQ(QApplication::palette(), dayPalette);
    night->trigger();
    night->trigger(); // unchecking Night returns to Color
    EXPECT_EQ(g_uiStyle, QStringLiteral("Color"));
    EXPECT_FALSE(mono->isChecked() || night->isChecked());

    QStringList styleLines;
    for (const QString& m : ReadLogMessages().mid(before))
        if (m.startsWith(QLatin1String("ChangeUIStyle")))
            styleLines << m;
    EXPECT_EQ(styleLines, (QStringList{"ChangeUIStyle to Mono", "ChangeUIStyle to Night",
                                       "ChangeUIStyle to Mono", "ChangeUIStyle to Night",
                                       "ChangeUIStyle to Color"}));

    night->trigger();
    windows_.reset(); // closing saves the settings
    QFile ini(SettingsFilePath());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(ini.readAll()).contains(QStringLiteral("style=Night")));
}

// A settings file with the night word starts the program in the night style.
class NightSettingsTest : public DisplayWindowTest {
protected:
    QString SettingsText() const override { return QStringLiteral("[VIEW]\nstyle=Night\n"); }
    void TearDown() override {
        DisplayWindowTest::TearDown();
        SetNightLook(false);
    }
};

TEST_F(NightSettingsTest, StartsInTheNightStyle) {
    EXPECT_EQ(g_uiStyle, QStringLiteral("Night"));
    EXPECT_TRUE(main_->ui->MenuItem_nightStyle->isChecked());
    EXPECT_FALSE(main_->ui->MenuItem_style->isChecked());
    about_->show();
    EXPECT_TRUE(BrightPixel(about_->grab().toImage()).isEmpty());
    const QString bright = BrightPixel(main_->grab().toImage());
    EXPECT_TRUE(bright.isEmpty()) << bright.toStdString() << " in "
                                  << WidgetAt(main_, bright).toStdString();
}

} // namespace
