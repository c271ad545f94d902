// Start-up, first showing and closing of the main window, as a user meets them.
#include "app/AppPaths.h"
#include "app/Expander.h"
#include "app/MainFormUnit.h"
#include "core/Log.h"
#include "support/LogReading.h"
#include "support/ProgramSetUp.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

class Lifecycle : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folders.isValid()); }
    void TearDown() override { windows.reset(); }

    void start() { windows = std::make_unique<ProgramWindows>(); }
    void closeMain() { windows->main.close(); }

    // This run's log as "[Level] message", every line checked for its shape.
    QStringList logMessages() const {
        for (const QString& line : ReadRawLogLines()) {
            EXPECT_TRUE(line.endsWith(QLatin1Char('\r'))) << line.toStdString();
            EXPECT_EQ(line.chopped(1).split(QLatin1Char('\t')).size(), 3) << line.toStdString();
        }
        return ReadLogLines();
    }
    QString settingsPath() const { return folders.settingsFile(); }

    TestFolders folders;
    RecordedMessages boxes;
    std::unique_ptr<ProgramWindows> windows;
};

TEST_F(Lifecycle, FirstStartWritesItsLogInTheDaysFolderAndShowsTheIdleWindow) {
    start();
    TFormMain& w = windows->main;

    const QString day = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    const QRegularExpression fileName(
        QStringLiteral("ZenithWand\\.\\d\\d\\.\\d\\d\\.\\d\\d\\.\\d\\d\\d\\.log"));
    EXPECT_EQ(QFileInfo(g_logFilePath).dir().path(),
              folders.documents() + QStringLiteral("/ZenithWand/logs ") + day);
    EXPECT_TRUE(fileName.match(QFileInfo(g_logFilePath).fileName()).hasMatch())
        << g_logFilePath.toStdString();

    const QStringList lines = logMessages();
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.first(), "[Info] FormCreate start.");
    EXPECT_EQ(lines.at(1), "[Info] FormCreate done.");
    EXPECT_EQ(lines.last(), "[Info] FormShow");
    for (const QString& l : lines)
        EXPECT_TRUE(l.startsWith(QStringLiteral("[Info] "))) << l.toStdString();

    EXPECT_EQ(w.windowTitle(), "ZenithWand - Version 1.3.2.8");
    for (const char* name : {"Expander_region", "Expander_camSetting", "Expander_finding",
                             "Expander_rough", "Expander_precise"}) {
        auto* e = w.findChild<Expander*>(QLatin1String(name));
        ASSERT_NE(e, nullptr) << name;
        EXPECT_FALSE(e->isExpanded()) << name;
        EXPECT_FALSE(e->isEnabled()) << name;
    }
    for (const char* name : {"MenuItem_astroRef", "MenuItem_showMask", "MenuItem_trace"}) {
        auto* a = w.findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(a, nullptr) << name;
        EXPECT_FALSE(a->isEnabled()) << name;
    }
    EXPECT_FALSE(w.findChild<QMenu*>(QStringLiteral("MenuItem_zoom"))->isEnabled());
    EXPECT_TRUE(w.findChild<QAction*>(QStringLiteral("MenuItem_100"))->isChecked());
    EXPECT_TRUE(w.findChild<QAction*>(QStringLiteral("MenuItem_lang_en"))->isChecked());
    EXPECT_FALSE(w.findChild<QAction*>(QStringLiteral("MenuItem_stretch"))->isVisible());
    EXPECT_FALSE(w.findChild<QWidget*>(QStringLiteral("Rectangle_tipMsg"))->isVisible());
    EXPECT_FALSE(w.findChild<QWidget*>(QStringLiteral("Image_rotateDirect"))->isVisible());
    EXPECT_FALSE(w.findChild<QSpinBox*>(QStringLiteral("SpinBox1"))->isVisible());
    EXPECT_EQ(w.findChild<QSpinBox*>(QStringLiteral("SpinBox2"))->value(), 255);
    EXPECT_EQ(w.curLang, "EN");
    EXPECT_EQ(w.curRegion, "N");
    EXPECT_EQ(g_uiStyle, "Color");
    EXPECT_EQ(w.wizardStep, 0);
    EXPECT_EQ(g_displayThread, nullptr);
    EXPECT_EQ(g_cameraHandle.load(), 0u);
    EXPECT_EQ(g_frameImage.cols, 1280);
    EXPECT_EQ(g_frameImage.rows, 960);
}

TEST_F(Lifecycle, ControlsOfTheLayoutExistWithTheirTextsAndRanges) {
    start();
    TFormMain& w = windows->main;
    const std::pair<const char*, const char*> texts[] = {
        {"Btn_exp50", "50"},
        {"Btn_exp300", "300"},
        {"Btn_gain90", "90"},
        {"Label_note", "(Selece the same star every times)"},
        {"Label_criCenterPos", "(0, 0)"},
        {"Btn_calcPolarAxis", "Start Monitor"},
        {"Label_polarPos", "(0,0)"},
        {"Label_starA_baryPos", "(0,0)"},
        {"Label_angleATitle", "∠PAB: "},
        {"Label_angleBTitle", "∠PBA: "},
        {"Label21", "Current Polaris/σ Oct"},
        {"Label53", "Expected Polaris/σ Oct"},
        {"Btn_debug", "debug"},
    };
    for (const auto& [name, text] : texts) {
        QWidget* c = w.findChild<QWidget*>(QLatin1String(name));
        ASSERT_NE(c, nullptr) << name;
        EXPECT_EQ(c->property("text").toString(), QString::fromUtf8(text)) << name;
    }
    for (const char* name : {"TrackBar_mask_finding", "TrackBar_mask_rough"}) {
        auto* s = w.findChild<QSlider*>(QLatin1String(name));
        ASSERT_NE(s, nullptr) << name;
        EXPECT_EQ(s->minimum(), 0);
        EXPECT_EQ(s->maximum(), 359);
    }
    auto* langs = w.findChild<QAction*>(QStringLiteral("MenuItem_lang_ru"));
    EXPECT_EQ(langs->text(),
              QString::fromUtf8("P\xd1\x83\xd1\x81\xd1\x81\xd0\xba\xd0\xb8\xd0\xb9\xc2\xa0"));
    EXPECT_EQ(langs->actionGroup()->actions().size(), 10);
    EXPECT_TRUE(langs->actionGroup()->isExclusive());
    for (const char* name :
         {"Timer1", "Timer_updateAngle", "MagnifierGlass_roiImg", "Img_layer_glass",
          "Label_mousePos", "Image_polarCenter", "polePNG_Rectangle", "axisPNG_Rectangle",
          "Circle_starPos3", "Image_logo", "Layout_ask", "Btn1_tip", "Btn2_tip", "Label_ask",
          "Text_tip"})
        EXPECT_NE(w.findChild<QObject*>(QLatin1String(name)), nullptr) << name;
    EXPECT_NE(FormAbout, nullptr);
    EXPECT_NE(FormAtmRef, nullptr);
    EXPECT_NE(FormTrace, nullptr);
}

TEST_F(Lifecycle, ClosingWithoutAConnectionSavesTheSettingsAndWritesNoCameraLines) {
    start();
    const int before = logMessages().size();
    closeMain();
    const QStringList after = logMessages().mid(before);
    EXPECT_EQ(after, QStringList{QStringLiteral("[Info] FormClose done.")});
    EXPECT_TRUE(QFile::exists(settingsPath()));
    QFile f(settingsPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray ini = f.readAll();
    EXPECT_TRUE(ini.contains("lang=EN"));
    EXPECT_TRUE(ini.contains("style=Color"));
    EXPECT_TRUE(ini.contains("P=100"));
}

// The sound guidance switched on in the settings, on a machine without an audio device
// or a voice: what it cannot play on is logged after the window's own start-up lines.
TEST_F(Lifecycle, SoundGuidanceReportsAfterTheStartUpLines) {
    QFile f(settingsPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[GUIDANCE]\nsound=1\n");
    f.close();
    start();
    const QStringList lines = logMessages();
    QStringList own, guidance;
    for (const QString& l : lines)
        (l.contains(QStringLiteral("Sound guidance")) ? guidance : own).append(l);
    if (guidance.isEmpty())
        GTEST_SKIP() << "this machine has an audio device and a voice";
    EXPECT_EQ(lines.mid(0, own.size()), own) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(own.first(), "[Info] FormCreate start.");
    EXPECT_EQ(own.last(), "[Info] FormShow");
    const QStringList styleLines = {QStringLiteral("[Info] ChangeUIStyle to Color"),
                                    QStringLiteral("[Info] ChangePoleAxisIcon to Color")};
    EXPECT_EQ(own.mid(own.size() - 3, 2), styleLines);
}

TEST_F(Lifecycle, SettingsLanguageInOtherCaseChecksEnglishAndIsWrittenBackUnchanged) {
    QFile f(settingsPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[LANGUAGE]\nlang=de\n[ZOOM]\nfactor=abc\n");
    f.close();
    start();
    EXPECT_TRUE(windows->main.findChild<QAction*>(QStringLiteral("MenuItem_lang_en"))->isChecked());
    EXPECT_EQ(windows->main.curLang, "de");
    EXPECT_FLOAT_EQ(g_zoom, 1.0f);
    closeMain();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("lang=de"));
}

TEST_F(Lifecycle, ASettingsLocationThatCannotBeWrittenIsLoggedAndClosingGoesOn) {
    // A plain file where the settings folder should be.
    QFile blocker(folders.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SetSettingsFolderForTesting(folders.filePath(QStringLiteral("blocked")));
    start();
    const int before = logMessages().size();
    closeMain();
    EXPECT_EQ(
        logMessages().mid(before),
        (QStringList{QStringLiteral("[Error] saveParamsToIni - open ZenithWand.ini file failed!"),
                     QStringLiteral("[Info] FormClose done.")}));
}

} // namespace
