// Template preparation on the real window: the pole of each template in the log
// and drawn on its picture, the magnifier's cross-hair, the one-time work done
// once while the settings are taken up on every call, and the choice of template.
#include "app/MainFormUnit.h"
#include "app/Mystructs.h"
#include "astro/SkyOfDate.h"
#include "astro/StarData.h"
#include "camera/DisplayThread.h"
#include "core/Log.h"
#include "display/LiveImageView.h"
#include "support/HeldClock.h"
#include "support/LogReading.h"
#include "support/ProgramSetUp.h"
#include "ui_FormMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

class TemplatesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folders_.isValid());
        windows_ = std::make_unique<ProgramWindows>();
        main_ = &windows_->main;
        main_->UseClock(ClockHeldAt(QDate(2024, 5, 23)));
        atmRef_ = &windows_->atmRef;
        ASSERT_TRUE(main_->isShownOnce());
        // The dated data: the figures below are the table's (the angles of the
        // moment have tests of their own at the end).
        g_iniFileInfo.starDataSource = QStringLiteral("table");
    }
    void TearDown() override {
        main_ = nullptr;
        atmRef_ = nullptr;
        windows_.reset();
    }

    // Empties the log: what is read back afterwards was logged from here on.
    void ClearLog() const { QFile::remove(g_logFilePath); }

    TestFolders folders_;
    RecordedMessages boxes_;
    std::unique_ptr<ProgramWindows> windows_;
    TFormMain* main_ = nullptr;
    TFormAtmRef* atmRef_ = nullptr;
};

// "calculated P[x,y]" with two decimals; both numbers within half a hundredth.
void ExpectPoleLine(const QString& text, double x, double y) {
    const QRegularExpression re(QStringLiteral(R"(^calculated P\[(-?\d+\.\d\d),(-?\d+\.\d\d)\]$)"));
    const QRegularExpressionMatch m = re.match(text);
    ASSERT_TRUE(m.hasMatch()) << text.toStdString();
    EXPECT_NEAR(m.captured(1).toDouble(), x, 0.005 + 1e-9);
    EXPECT_NEAR(m.captured(2).toDouble(), y, 0.005 + 1e-9);
}

// Opaque pixels of the template pole mark's colour in the square +-r about (x, y).
int PoleMarkPixels(const QImage& image, double x, double y, int r) {
    int n = 0;
    for (int j = int(y) - r; j <= int(y) + r; ++j)
        for (int i = int(x) - r; i <= int(x) + r; ++i)
            if (image.valid(i, j) && image.pixel(i, j) == 0xFF97F3FFu)
                ++n;
    return n;
}

TEST_F(TemplatesTest, PoleOfEachTemplateLoggedAndMarked) {
    struct Case {
        QDate date;
        double northX, northY, southX, southY;
    };
    const Case cases[] = {
        {QDate(2016, 5, 23), 393.71, 321.58, 283.04, 396.16},
        {QDate(2024, 5, 23), 397.22, 325.545, 281.46, 401.20}, // north y: 325.54 or 325.55
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
        TearDown();
        SetUp();
        main_->UseClock(ClockHeldAt(c.date));
        ClearLog();
        main_->PrepareTemplates();
        ASSERT_TRUE(main_->templatesReady);

        QStringList poles;
        QStringList order;
        for (const QString& m : ReadLogMessages()) {
            if (m.startsWith(QLatin1String("calculated P[")))
                poles << m;
            if (m.startsWith(QLatin1String("calculated P[")) ||
                m.endsWith(QLatin1String("Mask Image.")))
                order << m.left(13);
        }
        ASSERT_EQ(poles.size(), 2);
        ExpectPoleLine(poles[0], c.northX, c.northY);
        ExpectPoleLine(poles[1], c.southX, c.southY);
        EXPECT_EQ(order.join(QLatin1Char('|')).toStdString(),
                  "Load North Ma|calculated P[|Load South Ma|calculated P[");

        EXPECT_NEAR(g_northStarData.poleX, c.northX, 0.005);
        EXPECT_NEAR(g_southStarData.poleY, c.southY, 0.005);

        // The pole's cross (11 + 11 pixels) on each picture, and nothing of its
        // colour elsewhere.
        EXPECT_EQ(main_->northMaskBitmap.size(), QSize(800, 800));
        EXPECT_EQ(main_->southMaskBitmap.size(), QSize(800, 674));
        EXPECT_GE(PoleMarkPixels(main_->northMaskBitmap, c.northX, c.northY, 7), 20);
        EXPECT_GE(PoleMarkPixels(main_->southMaskBitmap, c.southX, c.southY, 7), 20);
        EXPECT_EQ(PoleMarkPixels(main_->northMaskBitmap, 400, 400, 400),
                  PoleMarkPixels(main_->northMaskBitmap, c.northX, c.northY, 7));
        EXPECT_EQ(PoleMarkPixels(main_->southMaskBitmap, 400, 337, 400),
                  PoleMarkPixels(main_->southMaskBitmap, c.southX, c.southY, 7));
    }
}

TEST_F(TemplatesTest, MagnifierCrossHair) {
    main_->PrepareTemplates();
    const QImage glass = main_->glassBitmap.convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(glass.size(), QSize(150, 150));
    const QRgb green = 0xFF00FF00u;
    for (QPoint p :
         {QPoint(67, 75), QPoint(83, 75), QPoint(75, 67), QPoint(75, 83), QPoint(75, 75)})
        EXPECT_EQ(glass.pixel(p), green) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(66, 75), QPoint(84, 75), QPoint(75, 66), QPoint(75, 84), QPoint(74, 74),
                     QPoint(0, 0), QPoint(149, 149)})
        EXPECT_EQ(qAlpha(glass.pixel(p)), 0) << p.x() << "," << p.y();
    ASSERT_FALSE(main_->Img_layer_glass->pixmap().isNull());
    EXPECT_EQ(main_->Img_layer_glass->pixmap()
                  .toImage()
                  .convertToFormat(QImage::Format_ARGB32)
                  .pixel(75, 70),
              green);
}

TEST_F(TemplatesTest, SecondCallTakesUpTheSettingsOnly) {
    main_->PrepareTemplates();
    const qint64 north = main_->northMaskBitmap.cacheKey();
    const qint64 south = main_->southMaskBitmap.cacheKey();
    const qint64 glass = main_->glassBitmap.cacheKey();
    const STARDATA northData = g_northStarData;

    g_iniFileInfo.factor = 0.5f;
    g_iniFileInfo.region = QStringLiteral("S");
    g_iniFileInfo.centerX = 612.5;
    g_iniFileInfo.centerY = 401.25;
    g_iniFileInfo.latitude = 45.5;
    g_iniFileInfo.longitude = 7.25;
    g_iniFileInfo.P_UnitType = 1;
    g_iniFileInfo.P = 1013;
    g_iniFileInfo.T = -5;
    g_iniFileInfo.isCorrection = true;
    g_recordedCenterValid = false;
    g_northStarData.poleX = -1; // would be recomputed by a second preparation
    ClearLog();

    main_->PrepareTemplates();

    for (const QString& m : ReadLogMessages()) {
        EXPECT_FALSE(m.startsWith(QLatin1String("Load ")) ||
                     m.startsWith(QLatin1String("calculated")))
            << m.toStdString();
    }
    EXPECT_EQ(main_->northMaskBitmap.cacheKey(), north);
    EXPECT_EQ(main_->southMaskBitmap.cacheKey(), south);
    EXPECT_EQ(main_->glassBitmap.cacheKey(), glass);
    EXPECT_EQ(g_northStarData.poleX, -1);
    g_northStarData = northData;

    EXPECT_EQ(g_zoom, 0.5f);
    EXPECT_TRUE(main_->ui->MenuItem_50->isChecked());
    EXPECT_EQ(main_->curRegion, QStringLiteral("S"));
    EXPECT_TRUE(main_->ui->RadioBtn_south->isChecked());
    EXPECT_EQ(main_->recAxisX, 612.5);
    EXPECT_EQ(main_->recAxisY, 401.25);
    EXPECT_TRUE(g_recordedCenterValid);
    EXPECT_TRUE(main_->ui->Expander_region->isEnabled());
    EXPECT_TRUE(main_->ui->Expander_region->isExpanded());

    auto spin = [&](const char* name) {
        auto* s = atmRef_->findChild<QDoubleSpinBox*>(QLatin1String(name));
        return s ? s->value() : std::nan("");
    };
    EXPECT_NEAR(spin("SpinBox_latitude"), 45.5, 1e-4);
    EXPECT_NEAR(spin("SpinBox_longitude"), 7.25, 1e-4);
    EXPECT_NEAR(spin("SpinBox_P"), 1013, 1e-3);
    EXPECT_NEAR(spin("SpinBox_T"), -5, 1e-4);
    auto* unit = atmRef_->findChild<QComboBox*>(QStringLiteral("ComboBox_pressure"));
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->currentIndex(), 1);
    auto* on = atmRef_->findChild<QCheckBox*>(QStringLiteral("CheckBox_astroRef"));
    ASSERT_NE(on, nullptr);
    EXPECT_TRUE(on->isChecked());
}

TEST_F(TemplatesTest, RecordedCentreNeedsBothCoordinatesAboveZero) {
    main_->PrepareTemplates();
    struct Case {
        double x, y;
        bool valid;
    };
    const Case cases[] = {
        {612.5, 401.25, true}, {0, 401.25, false}, {612.5, -3, false}, {0, 0, false}};
    for (const Case& c : cases) {
        g_recordedCenterValid = false;
        g_iniFileInfo.centerX = c.x;
        g_iniFileInfo.centerY = c.y;
        main_->PrepareTemplates();
        EXPECT_EQ(g_recordedCenterValid, c.valid) << c.x << "," << c.y;
    }
}

TEST_F(TemplatesTest, AnyRegionButSSelectsTheNorth) {
    main_->PrepareTemplates();
    struct Case {
        const char* region;
        bool south;
    };
    const Case cases[] = {{"S", true},  {"N", false},     {"", false},
                          {"s", false}, {"South", false}, {"X", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.region);
        main_->Img_Mask->setVisible(true);
        main_->ui->MenuItem_showMask->setChecked(true);
        main_->SelectTemplate(QString::fromLatin1(c.region));
        const STARDATA& d = c.south ? g_southStarData : g_northStarData;
        EXPECT_EQ(g_maskPX, d.poleX);
        EXPECT_EQ(g_maskPY, d.poleY);
        EXPECT_EQ(g_maskAX, d.aX);
        EXPECT_EQ(g_maskAY, d.aY);
        EXPECT_EQ(g_maskBX, d.bX);
        EXPECT_EQ(g_maskBY, d.bY);
        EXPECT_EQ(g_angleBAP, d.bap);
        EXPECT_EQ(g_angleABP, d.abp);
        EXPECT_EQ(main_->Img_Mask->pixmap().size(), c.south ? QSize(800, 674) : QSize(800, 800));
        EXPECT_EQ(main_->Img_Mask->pixmap().toImage().cacheKey() != 0, true);
        EXPECT_FALSE(main_->Img_Mask->isVisible());
        EXPECT_FALSE(main_->ui->MenuItem_showMask->isChecked());
    }
}

// A running tracker takes the angles of the newly selected template.
TEST_F(TemplatesTest, SelectionReachesTheTracker) {
    main_->PrepareTemplates();
    main_->SelectTemplate(QStringLiteral("N"));
    auto thread = std::make_unique<DisplayThread>();
    EXPECT_EQ(thread->trackAngleBAP, g_northStarData.bap);
    g_displayThread = thread.get();
    main_->SelectTemplate(QStringLiteral("S"));
    EXPECT_EQ(thread->trackAngleBAP, g_southStarData.bap);
    EXPECT_EQ(thread->trackAngleABP, g_southStarData.abp);
    g_displayThread = nullptr;
}

} // namespace

// The default: the template angles of the moment, logged with the moment, placing
// the pole of date in each template, and computed again once a minute.
TEST_F(TemplatesTest, AnglesOfTheMomentByDefault) {
    g_iniFileInfo.starDataSource = QStringLiteral("date");
    main_->UseClock(ClockHeldAt(QDate(2026, 12, 10)));
    ClearLog();
    main_->PrepareTemplates();

    const QStringList log = ReadLogMessages();
    EXPECT_EQ(log.filter(QStringLiteral("Star angles of date computed for 2026-12-10 00:00:00 UTC"))
                  .size(),
              2);
    EXPECT_TRUE(log.filter(QStringLiteral("Load star data")).isEmpty());
    const std::optional<SkyOfDate> sky = SkyOfDate::At({2026, 12, 10, 0, 0, 0});
    ASSERT_TRUE(sky);
    EXPECT_DOUBLE_EQ(g_northStarData.bap, sky->Template(SkyHemisphere::North).bap);
    EXPECT_DOUBLE_EQ(g_southStarData.dbp, sky->Template(SkyHemisphere::South).dbp);
    // The table's 2024 pole lies 73" (2.4 template pixels) from the pole of date.
    const double fromTable =
        std::hypot(g_northStarData.poleX - 397.22, g_northStarData.poleY - 325.545);
    EXPECT_GT(fromTable, 1.8);
    EXPECT_LT(fromTable, 3.0);
    EXPECT_GE(
        PoleMarkPixels(main_->northMaskBitmap, g_northStarData.poleX, g_northStarData.poleY, 7),
        20);

    auto* timer = main_->findChild<QTimer*>(QStringLiteral("Timer_starDataOfDate"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 60000);

    // A later moment: the active template and a running tracker take the new angles
    // and the new pole, without a word in the log.
    auto thread = std::make_unique<DisplayThread>();
    g_displayThread = thread.get();
    main_->UseClock(ClockHeldAt(QDate(2030, 6, 1)));
    ClearLog();
    main_->RefreshTemplateAnglesOfDate();
    const TemplateOfDate later =
        SkyOfDate::At({2030, 6, 1, 0, 0, 0})->Template(SkyHemisphere::North);
    EXPECT_DOUBLE_EQ(g_angleBAP, later.bap);
    EXPECT_DOUBLE_EQ(g_angleABP, later.abp);
    EXPECT_EQ(thread->trackAngleBAP, later.bap);
    EXPECT_EQ(g_maskPX, g_northStarData.poleX);
    EXPECT_TRUE(ReadLogMessages().isEmpty());
    g_displayThread = nullptr;

    // Choosing the table stops the refresh at the next connection.
    g_iniFileInfo.starDataSource = QStringLiteral("table");
    main_->PrepareTemplates();
    EXPECT_FALSE(timer->isActive());
}

// With [STAR_DATA] source=table everything is the dated data's.
TEST_F(TemplatesTest, TableWhenChosen) {
    main_->UseClock(ClockHeldAt(QDate(2026, 12, 10)));
    ClearLog();
    main_->PrepareTemplates();
    const QStringList log = ReadLogMessages();
    EXPECT_EQ(log.filter(QStringLiteral("Load star data at 20240523")).size(), 2);
    EXPECT_TRUE(log.filter(QStringLiteral("Star angles of date")).isEmpty());
    EXPECT_NEAR(g_northStarData.poleX, 397.22, 0.005);
    auto* timer = main_->findChild<QTimer*>(QStringLiteral("Timer_starDataOfDate"));
    EXPECT_TRUE(timer == nullptr || !timer->isActive());
}
