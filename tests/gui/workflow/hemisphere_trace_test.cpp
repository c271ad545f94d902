// The hemisphere switch and the manual trace window.
#include "WorkflowFixture.h"

#include <QApplication>
#include <QDial>
#include <QToolButton>
#include <QWheelEvent>

namespace {

class HemisphereTest : public WorkflowTest {
protected:
    int count(const QString& message) { return ReadLogLines().count(message); }
};

TEST_F(HemisphereTest, ClickingSouthSelectsTheSouthernTemplateAndTipsAndKeepsTheStoredRegion) {
    start();
    ASSERT_NO_FATAL_FAILURE(driveTo(4));
    QTest::mouseClick(ui().RadioBtn_south, Qt::LeftButton);
    EXPECT_EQ(count("[Info] switch to South region mode"), 1);
    EXPECT_EQ(count("[Info] switch to North region mode"), 0);
    EXPECT_EQ(w().curRegion, "S");
    EXPECT_EQ(w().wizardStep, 1);
    EXPECT_EQ(g_maskBX, g_southStarData.bX);
    EXPECT_EQ(g_maskPY, g_southStarData.poleY);
    EXPECT_TRUE(ui().Text_tip->text().contains(QString::fromUtf8("σ Oct")))
        << ui().Text_tip->text().toStdString();
    EXPECT_TRUE(panelShown());
    EXPECT_EQ(g_iniFileInfo.region, "N");
    EXPECT_TRUE(open(ui().Expander_camSetting));
    EXPECT_TRUE(closed(ui().Expander_rough));

    // The button already checked does nothing.
    QTest::mouseClick(ui().RadioBtn_south, Qt::LeftButton);
    EXPECT_EQ(count("[Info] switch to South region mode"), 1);
}

TEST_F(HemisphereTest, ASwitchInStep8KeepsTheIndicatorsAndCircleAndDropsTheAxisMark) {
    start();
    ASSERT_NO_FATAL_FAILURE(driveTo(8));
    ASSERT_TRUE(g_showAxisMark && g_showAxisCircle);
    QTest::mouseClick(ui().RadioBtn_south, Qt::LeftButton);
    EXPECT_EQ(w().wizardStep, 1);
    EXPECT_FALSE(g_showAxisMark);
    EXPECT_TRUE(g_showAxisCircle);
    for (QLabel* c : {ui().Circle_starPos1, ui().Circle_starPos2, ui().Circle_starPos3})
        EXPECT_TRUE(lit(c));
    EXPECT_EQ(ui().Text_tip->text(), g_tipTexts.ZenithWandSettingTip);
}

TEST_F(HemisphereTest, ASwitchInStep13EndsMonitorModeAndHidesTheTraceWindow) {
    start();
    ASSERT_NO_FATAL_FAILURE(driveTo(13));
    ui().MenuItem_trace->trigger();
    ASSERT_TRUE(trace_->isVisible());
    QTest::mouseClick(ui().RadioBtn_south, Qt::LeftButton);
    EXPECT_EQ(w().wizardStep, 1);
    EXPECT_FALSE(g_monitorPole);
    EXPECT_FALSE(g_showRefStarA);
    EXPECT_FALSE(g_showRefStarB);
    EXPECT_FALSE(trace_->isVisible());
    EXPECT_FALSE(ui().MenuItem_trace->isEnabled());
    EXPECT_TRUE(closed(ui().Expander_precise));
}

// ---- manual trace ---------------------------------------------------------------------

class TraceTest : public WorkflowTest {
protected:
    void SetUp() override {
        WorkflowTest::SetUp();
        start();
        // Axis at (640, 480); at step 11 star A was at (740, 480), B at (640, 380).
        w().axisX = 640;
        w().axisY = 480;
        w().starAStartX = 740;
        w().starAStartY = 480;
        w().starBStartX = 640;
        w().starBStartY = 380;
        ui().MenuItem_trace->setEnabled(true);
        ui().MenuItem_trace->trigger();
    }
    QDial* dial() { return trace_->findChild<QDial*>(QStringLiteral("ArcDial_track")); }
    QToolButton* button(const char* name) {
        return trace_->findChild<QToolButton*>(QLatin1String(name));
    }
    void expectSeeds(double ax, double ay, double bx, double by) {
        EXPECT_NEAR(tracker().refStarAInitX, ax, 1e-9);
        EXPECT_NEAR(tracker().refStarAInitY, ay, 1e-9);
        EXPECT_NEAR(tracker().refStarBInitX, bx, 1e-9);
        EXPECT_NEAR(tracker().refStarBInitY, by, 1e-9);
        EXPECT_NEAR(w().starAX, ax, 1e-9);
        EXPECT_NEAR(w().curNStarY, by, 1e-9);
    }
};

TEST_F(TraceTest, TheWindowHasItsControls) {
    ASSERT_TRUE(trace_->isVisible());
    EXPECT_EQ(trace_->windowTitle(), "Manual Trance");
    EXPECT_TRUE(trace_->windowFlags() & Qt::WindowStaysOnTopHint);
    ASSERT_NE(dial(), nullptr);
    EXPECT_TRUE(dial()->wrapping());
    for (const char* name : {"Btn_add", "Btn_sub", "Btn_reset"})
        EXPECT_NE(button(name), nullptr) << name;
    EXPECT_EQ(trace_->findChild<QLabel*>(QStringLiteral("Label_arcDial"))->text(), "Tracking :");
    EXPECT_EQ(trace_->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
              "if the Pole was lost after used GOTO in the astrograph, then you can use this to "
              "track.");
}

TEST_F(TraceTest, TheDialTurnsBothSeedsAboutTheAxis) {
    dial()->setValue(-90); // trace angle 90: a quarter turn clockwise on the screen
    expectSeeds(640, 580, 740, 480);
    dial()->setValue(90); // trace angle 270
    expectSeeds(640, 380, 540, 480);
    dial()->setValue(180); // trace angle 180
    expectSeeds(540, 480, 640, 580);
    // The start positions themselves never change.
    EXPECT_EQ(w().starAStartX, 740);
    EXPECT_EQ(w().starBStartY, 380);
}

TEST_F(TraceTest, PlusThreeTimesGivesDialMinus3AndResetRestoresTheStep11Positions) {
    dial()->setValue(0);
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(button("Btn_add"), Qt::LeftButton);
    EXPECT_EQ(dial()->value(), -3);
    EXPECT_EQ(TFormTrace::TraceAngleFor(dial()->value()), 3.0);
    const double t = 3 * M_PI / 180;
    expectSeeds(640 + 100 * std::cos(t), 480 + 100 * std::sin(t), 640 + 100 * std::sin(t),
                480 - 100 * std::cos(t));
    QTest::mouseClick(button("Btn_reset"), Qt::LeftButton);
    EXPECT_EQ(dial()->value(), 0);
    expectSeeds(740, 480, 640, 380);

    // Already at 0, "Reset" still puts the seeds back.
    tracker().SetRefStarA(1, 1);
    QTest::mouseClick(button("Btn_reset"), Qt::LeftButton);
    expectSeeds(740, 480, 640, 380);
}

TEST_F(TraceTest, TheDialWrapsWithinMinus180To180) {
    struct Case {
        int from;
        std::function<void()> act;
        int to;
    } cases[] = {
        {180, [&] { button("Btn_sub")->click(); }, -179},
        {-179, [&] { button("Btn_add")->click(); }, 180},
        {10, [&] { button("Btn_sub")->click(); }, 11},
        {0, [&] { dial()->setValue(181); }, -179},
        {0, [&] { dial()->setValue(-180); }, 180},
        {0, [&] { trace_->ArcDial_trackMouseWheel(240); }, 1},
        {0, [&] { trace_->ArcDial_trackMouseWheel(0); }, -1},
        {180, [&] { trace_->ArcDial_trackMouseWheel(120); }, -179},
    };
    for (const Case& c : cases) {
        dial()->setValue(c.from);
        c.act();
        EXPECT_EQ(dial()->value(), c.to) << "from " << c.from;
    }
    EXPECT_EQ(TFormTrace::TraceAngleFor(180), 180.0);
    EXPECT_EQ(TFormTrace::TraceAngleFor(0), 360.0);
    EXPECT_EQ(TFormTrace::TraceAngleFor(-90), 90.0);
}

TEST_F(TraceTest, AWheelEventOverTheDialMovesOneDegree) {
    dial()->setValue(0);
    for (int delta : {120, 480}) {
        QWheelEvent e(QPointF(35, 35), dial()->mapToGlobal(QPointF(35, 35)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(dial(), &e);
    }
    EXPECT_EQ(dial()->value(), 2);
    const double t = 358 * M_PI / 180;
    EXPECT_NEAR(tracker().refStarAInitX, 640 + 100 * std::cos(t), 1e-9);
}

} // namespace
