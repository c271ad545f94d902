// The exposure and gain presets: what a click logs, which button is marked and in
// which colour, and that the capture loop sends the choice to the camera.
#include "MainWindowFixture.h"

#include <QPushButton>

namespace {

using Presets = MainWindowTest;

constexpr QRgb kGhostWhite = 0xFFF8F8FF;
constexpr QRgb kAmber = 0xFFF5AB28;
constexpr QRgb kLightGrey = 0xFFE0E0E0;

const char* const kExposureButtons[] = {"Btn_exp50", "Btn_exp100", "Btn_exp200", "Btn_exp300"};
const char* const kGainButtons[] = {"Btn_gain50", "Btn_gain70", "Btn_gain90", "Btn_gain100"};

QPushButton* Button(TFormMain& w, const char* name) {
    return w.findChild<QPushButton*>(QLatin1String(name));
}

// The marked buttons, each checked for its look in the given colour.
QStringList Marked(TFormMain& w, QRgb chosenColour) {
    QStringList marked;
    for (const auto* group : {&kExposureButtons, &kGainButtons}) {
        for (const char* name : *group) {
            QPushButton* b = Button(w, name);
            const bool on = b->property("highlighted").toBool();
            if (on)
                marked << QLatin1String(name);
            EXPECT_EQ(b->font().bold(), on) << name;
            EXPECT_EQ(b->palette().color(QPalette::ButtonText).rgba(),
                      on ? chosenColour : kLightGrey)
                << name;
        }
    }
    return marked;
}

struct ClickCase {
    std::vector<const char*> clicks;
    QStringList logged;
    QStringList marked;
};

TEST_F(Presets, AClickLogsTheNewValueAndMarksOnlyItsButton) {
    const ClickCase cases[] = {
        {{"Btn_exp50", "Btn_gain50"}, {}, {"Btn_exp50", "Btn_gain50"}},
        {{"Btn_exp200", "Btn_exp100"},
         {"[Info] changed exposure to 200ms", "[Info] changed exposure to 100ms"},
         {"Btn_exp100", "Btn_gain50"}},
        {{"Btn_gain90", "Btn_gain90", "Btn_exp300"},
         {"[Info] changed gain to 90", "[Info] changed exposure to 300ms"},
         {"Btn_exp300", "Btn_gain90"}},
        {{"Btn_gain100", "Btn_gain70"},
         {"[Info] changed gain to 100", "[Info] changed gain to 70"},
         {"Btn_exp50", "Btn_gain70"}},
    };
    for (const ClickCase& c : cases) {
        Start();
        ToggleConnection();
        ASSERT_TRUE(g_connected);
        for (const char* name : c.clicks)
            Button(Main(), name)->click();
        EXPECT_EQ(ReadLogLines().filter(QStringLiteral("] changed ")), c.logged);
        EXPECT_EQ(Marked(Main(), kAmber), c.marked);
        windows->main.close();
        windows.reset();
    }
}

TEST_F(Presets, TheMarkFollowsTheStyleAndIgnoresOtherValues) {
    Start();
    ToggleConnection();
    Button(Main(), "Btn_exp200")->click();

    QAction* monoStyle = Find<QAction>("MenuItem_style");
    monoStyle->trigger();
    ASSERT_EQ(g_uiStyle, "Mono");
    EXPECT_EQ(Marked(Main(), kGhostWhite), (QStringList{"Btn_exp200", "Btn_gain50"}));
    monoStyle->trigger();
    ASSERT_EQ(g_uiStyle, "Color");
    EXPECT_EQ(Marked(Main(), kAmber), (QStringList{"Btn_exp200", "Btn_gain50"}));

    Main().HighlightExposureButtons(150000.0);
    Main().HighlightGainButtons(60);
    EXPECT_EQ(Marked(Main(), kAmber), (QStringList{"Btn_exp200", "Btn_gain50"}));
}

TEST_F(Presets, TheChosenValuesReachTheCameraAndOutliveADisconnection) {
    Start("[camera]\nthrottle=0\n");
    ToggleConnection();
    ASSERT_TRUE(WaitUntil([] { return SimTruth().frameIndex >= 1; })); // the loop is live
    Button(Main(), "Btn_exp100")->click();
    ASSERT_TRUE(WaitUntil([] { return CountLines("[Info] Exposure change to 100000") == 1; }))
        << ReadLogLines().join('\n').toStdString();

    ToggleConnection();
    Button(Main(), "Btn_gain90")->click(); // disabled while disconnected: no change
    EXPECT_EQ(g_gainWanted, 50);
    ToggleConnection();
    Button(Main(), "Btn_gain90")->click();
    ToggleConnection();
    ToggleConnection();
    // The new loop starts the camera with the values chosen before.
    ASSERT_TRUE(WaitUntil([] {
        const ZorcamSimTruth t = SimTruth();
        return t.frameIndex > 0 && t.gain == 90 && t.exposureUs == 100000.0;
    }));
    EXPECT_EQ(Marked(Main(), kAmber), (QStringList{"Btn_exp100", "Btn_gain90"}));
}

} // namespace
