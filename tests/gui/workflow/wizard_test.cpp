// The alignment wizard on a synthetic sky: the tip panel of every step, what the
// answer buttons do in each step, "Reset", "Finished", "Start Monitor", the offer
// of the recorded axis centre and the ring animation.
#include "WorkflowFixture.h"

#include <QGraphicsDropShadowEffect>

namespace {

using M = MESSAGETIPS;

// ---- the tip panel ---------------------------------------------------------------

struct TipCase {
    int step;
    QString M::*tip;
    const char* ask; // nullptr: hidden
    const char* btn1;
    const char* btn2;
};

const TipCase kTipCases[] = {
    {1, &M::ZenithWandSettingTip, "Has setting up finished?", nullptr, "Finished"},
    {2, &M::ConfirmPolarisTip, "Does match success?", nullptr, "Success"},
    {3, &M::GetFirstPosTip, nullptr, nullptr, nullptr},
    {4, &M::RotateFirstTip, "Has rotation finished?", "Reset", "Finished"},
    {5, &M::GetSecondTip, nullptr, "Reset", nullptr},
    {6, &M::RotateSecondTip, "Has rotation finished?", "Reset", "Finished"},
    {7, &M::GetThirdTip, nullptr, "Reset", nullptr},
    {8, &M::ValidateCenterTip, "Is the axis center correct?", "Reset", "Correct"},
    {9, &M::GetExpectPolarisTip, "Does match success?", nullptr, "Success"},
    {10, &M::MovePolarisTip, "Has adjustment finished?", nullptr, "Finished"},
    {11, &M::GetCurrentPolarisTip, "Does match success?", nullptr, "Success"},
    {12, &M::CalcPoleTip, nullptr, nullptr, nullptr},
    {13, &M::FinetunePoleTip, nullptr, "Restart", "Finished"},
};

class WizardTest : public WorkflowTest {};

TEST_F(WizardTest, EachStepShowsItsTipQuestionAndButtons) {
    start();
    ASSERT_FALSE(g_tipTexts.GetFirstPosTip.isEmpty()) << "English tips not loaded";
    for (const TipCase& c : kTipCases) {
        SCOPED_TRACE(c.step);
        w().ShowTip(c.step);
        EXPECT_TRUE(panelShown());
        EXPECT_EQ(ui().Text_tip->text(), g_tipTexts.*c.tip);
        const std::pair<QWidget*, const char*> controls[] = {
            {ui().Label_ask, c.ask}, {ui().Btn1_tip, c.btn1}, {ui().Btn2_tip, c.btn2}};
        for (const auto& [control, text] : controls) {
            EXPECT_EQ(control->isVisible(), text != nullptr) << control->objectName().toStdString();
            EXPECT_EQ(control->property("text").toString(),
                      text ? QString::fromUtf8(text) : QString())
                << control->objectName().toStdString();
        }
        for (QWidget* control :
             {static_cast<QWidget*>(ui().Text_tip), static_cast<QWidget*>(ui().Label_ask),
              static_cast<QWidget*>(ui().Btn1_tip), static_cast<QWidget*>(ui().Btn2_tip)})
            EXPECT_EQ(control->font().family(), g_tipTexts.FontFamily);
    }
}

TEST_F(WizardTest, AStepWithoutTipHidesThePanelAndKeepsItsTexts) {
    start();
    w().ShowTip(8);
    for (int n : {0, 14, -1}) {
        w().ShowTip(8);
        w().ShowTip(n);
        EXPECT_FALSE(panelShown()) << n;
        EXPECT_EQ(ui().Text_tip->text(), g_tipTexts.ValidateCenterTip) << n;
        EXPECT_EQ(ui().Btn2_tip->text(), "Correct") << n;
    }
}

// ---- the steps one after the other ----------------------------------------------------

struct StepState {
    int step;
    bool axisMark, axisCircle, ring, monitor, refStars;
    const char* openPanel; // the one expander of the four that is open
    Qt::CursorShape cursor;
    bool arrow;   // the rotation-direction picture
    bool overlay; // the template on the live image
};

const StepState kPass[] = {
    {1, false, false, false, false, false, "Expander_camSetting", Qt::ArrowCursor, false, false},
    {2, false, false, false, false, false, "Expander_finding", Qt::ArrowCursor, false, false},
    {3, false, false, false, false, false, "Expander_rough", Qt::PointingHandCursor, false, false},
    {4, false, false, false, false, false, "Expander_rough", Qt::ArrowCursor, true, false},
    {5, false, false, false, false, false, "Expander_rough", Qt::PointingHandCursor, false, false},
    {6, false, false, false, false, false, "Expander_rough", Qt::ArrowCursor, true, false},
    {7, false, false, false, false, false, "Expander_rough", Qt::PointingHandCursor, false, false},
    {8, true, true, false, false, false, "Expander_rough", Qt::ArrowCursor, false, false},
    {9, true, false, false, false, false, "Expander_rough", Qt::ArrowCursor, false, false},
    {10, true, false, true, false, false, "Expander_rough", Qt::ArrowCursor, false, false},
    {11, true, false, true, false, false, "Expander_rough", Qt::PointingHandCursor, false, false},
    {12, true, false, false, false, false, "Expander_precise", Qt::ArrowCursor, false, false},
    {13, true, false, false, true, true, "Expander_precise", Qt::ArrowCursor, false, false},
};

TEST_F(WizardTest, APassFromStep1To13TurnsOnTheMarksOfEachStep) {
    start();
    for (const StepState& s : kPass) {
        SCOPED_TRACE(s.step);
        ASSERT_NO_FATAL_FAILURE(driveTo(s.step));
        EXPECT_EQ(g_showAxisMark.load(), s.axisMark);
        EXPECT_EQ(g_showAxisCircle.load(), s.axisCircle);
        EXPECT_EQ(g_showEptNStar.load(), s.ring);
        EXPECT_EQ(g_monitorPole.load(), s.monitor);
        EXPECT_EQ(g_showRefStarA.load(), s.refStars);
        EXPECT_EQ(g_showRefStarB.load(), s.refStars);
        for (const char* name :
             {"Expander_camSetting", "Expander_finding", "Expander_rough", "Expander_precise"}) {
            auto* e = w().findChild<Expander*>(QLatin1String(name));
            EXPECT_EQ(open(e), qstrcmp(name, s.openPanel) == 0) << name;
        }
        EXPECT_EQ(w().Img_cap->cursor().shape(), s.cursor);
        EXPECT_EQ(ui().Image_rotateDirect->isVisible(), s.arrow);
        EXPECT_EQ(w().Img_Mask->isVisible(), s.overlay);
        EXPECT_TRUE(panelShown());
        if (s.step == 13) {
            EXPECT_TRUE(ui().MenuItem_trace->isEnabled());
        }
    }
    // The three picks lit the indicators, and their circle gave the axis centre.
    for (QLabel* c : {ui().Circle_starPos1, ui().Circle_starPos2, ui().Circle_starPos3})
        EXPECT_TRUE(lit(c));
    EXPECT_NEAR(w().axisX, kAxisX, 0.5);
    EXPECT_NEAR(w().axisY, kAxisY, 0.5);
    EXPECT_EQ(ui().Label_criCenterPos->text(), "(600,500)");
    // The reference stars: A through the template, B the pole star.
    EXPECT_NEAR(tracker().refStarAInitX, templateStarA(0).x, 0.5);
    EXPECT_NEAR(tracker().refStarAInitY, templateStarA(0).y, 0.5);
    EXPECT_NEAR(tracker().refStarBInitX, kPoleStarX, 0.5);
    EXPECT_NEAR(tracker().refStarBInitY, kPoleStarY, 0.5);
    EXPECT_TRUE(ReadLogLines().contains("[Info] start Monitor pole."));
}

TEST_F(WizardTest, AStepPickedStarsAndCircleReachTheTracker) {
    start();
    ASSERT_NO_FATAL_FAILURE(driveTo(8));
    EXPECT_NEAR(tracker().cirCenterX, kAxisX, 0.5);
    EXPECT_NEAR(tracker().cirCenterY, kAxisY, 0.5);
    EXPECT_NEAR(tracker().cirRadius, kPickRadius, 1.0);
    EXPECT_NEAR(w().starPos2X, pick(1).x, 0.5);
    EXPECT_NEAR(w().starPos3Y, pick(2).y, 0.5);
}

// ---- the buttons ---------------------------------------------------------------------

TEST_F(WizardTest, ResetInSteps4To8StartsThePicksAgain) {
    for (int step = 4; step <= 8; ++step) {
        SCOPED_TRACE(step);
        TearDown();
        SetUp();
        start();
        ASSERT_NO_FATAL_FAILURE(driveTo(step));
        clickBtn1();
        EXPECT_EQ(w().wizardStep, 3);
        for (QLabel* c : {ui().Circle_starPos1, ui().Circle_starPos2, ui().Circle_starPos3})
            EXPECT_FALSE(lit(c));
        EXPECT_EQ(ui().Label_criCenterPos->text(), "(0,0)");
        EXPECT_FALSE(g_showAxisMark);
        EXPECT_FALSE(g_showAxisCircle);
        EXPECT_FALSE(ui().Image_rotateDirect->isVisible());
        EXPECT_EQ(tracker().cirRadius, 0);
        EXPECT_EQ(tracker().cirCenterX, 0);
        EXPECT_EQ(w().Img_cap->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_TRUE(panelShown());
        EXPECT_EQ(ui().Text_tip->text(), g_tipTexts.GetFirstPosTip);
    }
}

TEST_F(WizardTest, FinishedInStep13OnlyHidesThePanel) {
    start();
    ASSERT_NO_FATAL_FAILURE(driveTo(13));
    clickBtn2();
    EXPECT_FALSE(panelShown());
    EXPECT_EQ(w().wizardStep, 13);
    EXPECT_TRUE(g_monitorPole);
    // It comes back, with "Restart", when the tip is shown again.
    w().ShowTip(w().wizardStep);
    EXPECT_TRUE(ui().Btn1_tip->isVisible());
    EXPECT_EQ(ui().Btn1_tip->text(), "Restart");
}

TEST_F(WizardTest, RestartInStep13EndsMonitorModeAndBeginsAtStep1) {
    start();
    ASSERT_NO_FATAL_FAILURE(driveTo(13));
    w().MenuItem_traceClick();
    ASSERT_TRUE(trace_->isVisible());
    clickBtn1();
    EXPECT_EQ(w().wizardStep, 1);
    EXPECT_FALSE(g_monitorPole);
    EXPECT_FALSE(g_showAxisMark);
    EXPECT_FALSE(g_showRefStarA);
    EXPECT_FALSE(g_showRefStarB);
    EXPECT_FALSE(lit(ui().Circle_starPos1));
    EXPECT_TRUE(open(ui().Expander_camSetting));
    EXPECT_TRUE(closed(ui().Expander_precise));
    EXPECT_FALSE(ui().MenuItem_trace->isEnabled());
    EXPECT_FALSE(trace_->isVisible());
    EXPECT_EQ(ui().Text_tip->text(), g_tipTexts.ZenithWandSettingTip);
}

// A button hidden in a step does nothing when its handler runs anyway, and
// "Start Monitor" does nothing outside step 12 (no log line either).
TEST_F(WizardTest, HiddenButtonsAndStartMonitorOutsideStep12ChangeNothing) {
    for (int step = 1; step <= 13; ++step) {
        SCOPED_TRACE(step);
        TearDown();
        SetUp();
        start();
        ASSERT_NO_FATAL_FAILURE(driveTo(step));
        const TipRow& row = TipRowOf(step);
        std::vector<void (TFormMain::*)()> idle;
        if (!row.btn1)
            idle.push_back(&TFormMain::Btn1_tipClick);
        if (!row.btn2)
            idle.push_back(&TFormMain::Btn2_tipClick);
        if (step != 12)
            idle.push_back(&TFormMain::Btn_calcPolarAxisClick);
        const QStringList logBefore = ReadLogLines();
        const bool panel = panelShown();
        const bool flags[] = {g_showAxisMark, g_showAxisCircle, g_showEptNStar,
                              g_monitorPole,  g_showRefStarA,   g_showRefStarB};
        for (auto handler : idle)
            (w().*handler)();
        EXPECT_EQ(w().wizardStep, step);
        EXPECT_EQ(panelShown(), panel);
        const bool after[] = {g_showAxisMark, g_showAxisCircle, g_showEptNStar,
                              g_monitorPole,  g_showRefStarA,   g_showRefStarB};
        EXPECT_TRUE(std::equal(std::begin(flags), std::end(flags), std::begin(after)));
        EXPECT_EQ(ReadLogLines(), logBefore);
    }
}

TEST_F(WizardTest, CorrectInStep8RecordsTheCentreWithItsHemisphere) {
    start();
    ASSERT_NO_FATAL_FAILURE(driveTo(8));
    g_iniFileInfo.region = QStringLiteral("S"); // a centre confirmed in the south before
    clickBtn2();
    EXPECT_EQ(w().wizardStep, 9);
    EXPECT_FALSE(g_showAxisCircle);
    EXPECT_TRUE(g_showAxisMark);
    EXPECT_EQ(g_iniFileInfo.region, "N");
    EXPECT_NEAR(g_iniFileInfo.centerX, kAxisX, 0.5);
    EXPECT_NEAR(g_iniFileInfo.centerY, kAxisY, 0.5);
    EXPECT_EQ(ui().Label_criCenterPos->text(), "(600,500)");
    EXPECT_EQ(w().Img_cap->cursor().shape(), Qt::ArrowCursor);
    // The confirmation changes the settings, not the centre offered in this connection.
    EXPECT_EQ(w().recAxisX, 0.0);
}

TEST_F(WizardTest, TheRingTurnsOnlyWhileItIsShown) {
    start();
    g_ringAngle = 0;
    g_showEptNStar = true;
    std::vector<double> seen;
    for (int i = 0; i < 9; ++i) {
        w().Timer_updateAngleTimer();
        seen.push_back(g_ringAngle);
    }
    EXPECT_EQ(seen, (std::vector<double>{10, 20, 30, 40, 50, 60, 70, 0, 10}));
    g_showEptNStar = false;
    w().Timer_updateAngleTimer();
    EXPECT_EQ(g_ringAngle, 10);
}

TEST_F(WizardTest, TheBlinkCueTogglesTheGlowOfTheStepsBar) {
    start();
    struct Case {
        int step;
        bool finding, rough;
    } cases[] = {{2, true, false}, {9, false, true}, {11, false, true}, {4, false, false}};
    for (const Case& c : cases) {
        w().GlowEffect_rotate1->setEnabled(false);
        w().GlowEffect_rotate2->setEnabled(false);
        w().wizardStep = c.step;
        w().Timer1Timer();
        EXPECT_EQ(w().GlowEffect_rotate1->isEnabled(), c.finding) << c.step;
        EXPECT_EQ(w().GlowEffect_rotate2->isEnabled(), c.rough) << c.step;
        w().Timer1Timer();
        EXPECT_FALSE(w().GlowEffect_rotate1->isEnabled()) << c.step;
        EXPECT_FALSE(w().GlowEffect_rotate2->isEnabled()) << c.step;
    }
}

// ---- the recorded axis centre --------------------------------------------------------

struct OfferCase {
    const char* name;
    QByteArray settings;
    bool yes;
    bool asked;
    int step;
};

class RecordedCentreTest : public WorkflowTest, public ::testing::WithParamInterface<OfferCase> {
protected:
    QByteArray SettingsText() const override { return GetParam().settings; }
};

TEST_P(RecordedCentreTest, IsOfferedOnlyWhenValidAndInTheStoredHemisphere) {
    const OfferCase& c = GetParam();
    answerYes = c.yes;
    start();
    ASSERT_NO_FATAL_FAILURE(driveTo(2));
    clickBtn2();
    EXPECT_EQ(messages.size(), c.asked ? 1 : 0);
    if (c.asked) {
        EXPECT_EQ(messages.value(0), "question: " + g_tipTexts.ChoiseRecordTip);
    }
    EXPECT_EQ(w().wizardStep, c.step);
    EXPECT_EQ(w().Img_cap->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(open(ui().Expander_rough));
    EXPECT_FALSE(w().Img_Mask->isVisible());
    if (c.step == 9) {
        EXPECT_EQ(w().axisX, 612.5);
        EXPECT_EQ(w().axisY, 455.25);
        EXPECT_TRUE(g_showAxisMark);
        EXPECT_FALSE(g_showAxisCircle);
        EXPECT_EQ(tracker().cirRadius, 1);
        EXPECT_EQ(tracker().cirCenterX, 612.5);
        EXPECT_EQ(ui().Label_criCenterPos->text(), "(612,455)");
        for (QLabel* c3 : {ui().Circle_starPos1, ui().Circle_starPos2, ui().Circle_starPos3})
            EXPECT_TRUE(lit(c3));
    } else {
        EXPECT_FALSE(g_showAxisMark);
        EXPECT_FALSE(lit(ui().Circle_starPos1));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Offers, RecordedCentreTest,
    ::testing::Values(
        OfferCase{"Yes", "[REGION]\nregion=N\n[CIRCLECENTER]\nx=612.5\ny=455.25\n", true, true, 9},
        OfferCase{"No", "[REGION]\nregion=N\n[CIRCLECENTER]\nx=612.5\ny=455.25\n", false, true, 3},
        OfferCase{"ZeroX", "[REGION]\nregion=N\n[CIRCLECENTER]\nx=0\ny=455.25\n", true, false, 3},
        OfferCase{"ZeroY", "[REGION]\nregion=N\n[CIRCLECENTER]\nx=612.5\ny=0\n", true, false, 3},
        OfferCase{"Nothing", "", true, false, 3}),
    [](const ::testing::TestParamInfo<OfferCase>& info) { return std::string(info.param.name); });

TEST_F(WizardTest, ACentreRecordedInTheOtherHemisphereIsNotOffered) {
    answerYes = true;
    start();
    g_iniFileInfo.centerX = 612.5;
    g_iniFileInfo.centerY = 455.25;
    w().PrepareTemplates(); // the recorded centre is valid now
    ASSERT_TRUE(g_recordedCenterValid);
    QTest::mouseClick(ui().RadioBtn_south, Qt::LeftButton);
    ASSERT_EQ(w().curRegion, "S");
    ASSERT_NO_FATAL_FAILURE(driveTo(2));
    clickBtn2();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(w().wizardStep, 3);
}

// Without any circle through the picks yet (three on a line) there is no centre to confirm.
TEST_F(WizardTest, CorrectWithoutACircleStartsThePicksAgainAndRecordsNothing) {
    start();
    ASSERT_NO_FATAL_FAILURE(driveTo(3));
    pickThreeOnALine();
    ASSERT_EQ(w().wizardStep, 8);
    g_iniFileInfo.centerX = 612.5;
    g_iniFileInfo.centerY = 455.25;
    clickBtn2();
    EXPECT_EQ(w().wizardStep, 3);
    EXPECT_EQ(g_iniFileInfo.centerX, 612.5);
    EXPECT_EQ(g_iniFileInfo.centerY, 455.25);
    EXPECT_FALSE(lit(ui().Circle_starPos1));
}

// After a circle was found and "Reset", three picks on a line: "Correct" confirms the
// centre of the last circle found, and the tracker and the axis mark have it back.
TEST_F(WizardTest, CorrectWithoutACircleConfirmsTheLastCentreFound) {
    start();
    ASSERT_NO_FATAL_FAILURE(driveTo(8));
    clickBtn1(); // "Reset"
    ASSERT_EQ(w().wizardStep, 3);
    ASSERT_EQ(tracker().cirCenterX, 0);
    pickThreeOnALine();
    ASSERT_EQ(w().wizardStep, 8);
    ASSERT_FALSE(g_showAxisMark);
    clickBtn2(); // "Correct"
    EXPECT_EQ(w().wizardStep, 9);
    EXPECT_NEAR(w().axisX, kAxisX, 0.5);
    EXPECT_NEAR(w().axisY, kAxisY, 0.5);
    EXPECT_EQ(g_iniFileInfo.centerX, w().axisX);
    EXPECT_EQ(g_iniFileInfo.centerY, w().axisY);
    EXPECT_EQ(ui().Label_criCenterPos->text(), "(600,500)");
    EXPECT_TRUE(g_showAxisMark);
    EXPECT_FALSE(g_showAxisCircle);
    EXPECT_EQ(tracker().cirCenterX, w().axisX);
    EXPECT_EQ(tracker().cirCenterY, w().axisY);
    EXPECT_NEAR(tracker().cirRadius, kPickRadius, 1);
}

TEST_F(WizardTest, ADisconnectionResetsTheWorkflow) {
    start();
    ASSERT_NO_FATAL_FAILURE(driveTo(13));
    w().MenuItem_traceClick();
    w().ResetWorkflow();
    EXPECT_EQ(w().wizardStep, 0);
    for (bool f : {g_showAxisMark.load(), g_showAxisCircle.load(), g_monitorPole.load(),
                   g_showEptNStar.load(), g_recordedCenterValid.load(), g_showRefStarA.load(),
                   g_showRefStarB.load()})
        EXPECT_FALSE(f);
    EXPECT_FALSE(lit(ui().Circle_starPos3));
    EXPECT_FALSE(panelShown());
    EXPECT_FALSE(w().Img_Mask->isVisible());
    EXPECT_FALSE(ui().MenuItem_trace->isEnabled());
    EXPECT_FALSE(trace_->isVisible());
}

} // namespace
