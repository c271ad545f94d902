// Tools > Sound Guidance in the window: off at first, kept in the settings, named in the
// window's language and telling when there is nothing to play it on. Runs where no audio
// device exists (as on the build machines) as well as where one does.
#include "app/AppPaths.h"
#include "app/MainFormUnit.h"
#include "guidance/GuidanceSettings.h"
#include "support/LogReading.h"
#include "support/ProgramSetUp.h"
#include "support/RecordingGuidanceOutputs.h"

#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

#include <memory>

namespace {

class GuidanceMenu : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folders.isValid()); }
    void TearDown() override { windows.reset(); }

    void start() { windows = std::make_unique<ProgramWindows>(); }
    TFormMain& main() { return windows->main; }
    QAction* item() { return main().findChild<QAction*>(QStringLiteral("MenuItem_guidance")); }
    QAction* langItem(const char* name) { return main().findChild<QAction*>(QLatin1String(name)); }

    // The window's guidance plays into recorders from here on; returns them.
    std::pair<RecordingVoice*, RecordingTones*> record(QStringList voices = {"EN"},
                                                       bool available = true) {
        auto voice = std::make_unique<RecordingVoice>(&now, std::move(voices), available);
        auto tones = std::make_unique<RecordingTones>(&now, available);
        const std::pair<RecordingVoice*, RecordingTones*> out{voice.get(), tones.get()};
        main().UseGuidanceOutputs(std::move(voice), std::move(tones));
        return out;
    }

    TestFolders folders;
    RecordedMessages boxes;
    std::unique_ptr<ProgramWindows> windows;
    double now = 0.0;
};

// An error of 3' down in altitude and 40" east in azimuth, as the read-out shows it.
const GuidanceInput kThreeMinutesDown{true, 184.4, -180.0, 40.0};

TEST_F(GuidanceMenu, OffAtFirstAndOpensNoAudioUntilSwitchedOn) {
    start();
    ASSERT_NE(item(), nullptr);
    auto* tools = main().findChild<QMenu*>(QStringLiteral("MenuItem_tools"));
    ASSERT_NE(tools, nullptr);
    EXPECT_TRUE(tools->actions().contains(item()));
    EXPECT_TRUE(item()->isCheckable());
    EXPECT_FALSE(item()->isChecked());
    EXPECT_EQ(item()->text(), "Sound Guidance");
    EXPECT_EQ(main().Guidance(), nullptr);

    const auto [said, played] = record();
    main().UpdateGuidance(kThreeMinutesDown); // while off: nothing at all
    EXPECT_TRUE(said->lines.empty());
    EXPECT_TRUE(played->played.empty());
    EXPECT_FALSE(item()->isChecked());
}

// Switched on, the window hands the read-out's error to the guidance: at once a beep and
// the instruction in the window's language; a lost read-out plays nothing; switched
// off, nothing more; on again in German, the instruction is spoken in German.
TEST_F(GuidanceMenu, TheReadOutsErrorIsHeardWhileItIsOn) {
    start();
    const auto [said, played] = record({"EN", "DE"});
    item()->trigger();
    ASSERT_TRUE(item()->isChecked());
    EXPECT_EQ(item()->text(), "Sound Guidance");

    now = 1.0;
    main().UpdateGuidance(kThreeMinutesDown);
    ASSERT_EQ(played->played.size(), 1u);
    EXPECT_EQ(played->played[0].ms, 60);
    ASSERT_EQ(played->played[0].pitchesHz.size(), 1u);
    EXPECT_GT(played->played[0].pitchesHz[0], 440.0) << "the lowest pitch is for 1200\" and out";
    EXPECT_LT(played->played[0].pitchesHz[0], 1760.0) << "the highest is for the band";
    ASSERT_EQ(said->lines.size(), 1u);
    EXPECT_EQ(said->lines[0].text, "altitude down, 3 arcminutes");
    EXPECT_EQ(said->lines[0].code, "EN");

    for (int i = 0; i < 5; ++i)
        main().UpdateGuidance({}); // the read-out lost its lock
    EXPECT_EQ(played->played.size(), 1u);
    EXPECT_EQ(said->lines.size(), 1u);

    item()->trigger();
    ASSERT_FALSE(item()->isChecked());
    main().UpdateGuidance(kThreeMinutesDown);
    EXPECT_EQ(played->played.size(), 1u);
    EXPECT_EQ(said->lines.size(), 1u);

    langItem("MenuItem_lang_de")->trigger();
    item()->trigger();
    main().UpdateGuidance(kThreeMinutesDown);
    EXPECT_EQ(played->played.size(), 2u);
    ASSERT_EQ(said->lines.size(), 2u);
    EXPECT_EQ(said->lines[1].text, "Höhe runter, 3 Bogenminuten");
    EXPECT_EQ(said->lines[1].code, "DE");
}

// Without sound or voice the item says so, the log says it once however often the item
// is switched, and nothing is played.
TEST_F(GuidanceMenu, MissingOutputsAreToldOnce) {
    start();
    const auto [said, played] = record({"EN"}, /*available=*/false);
    for (int i = 0; i < 3; ++i) {
        item()->trigger(); // on
        main().UpdateGuidance(kThreeMinutesDown);
        item()->trigger(); // off
    }
    item()->trigger();
    EXPECT_EQ(item()->text(), "Sound Guidance (no audio device)");
    const QStringList log = ReadLogMessages();
    EXPECT_EQ(log.filter("Sound guidance:"),
              (QStringList{"Sound guidance: no audio device, no tones are played.",
                           "Sound guidance: no speech voice, no instructions are spoken."}));
    EXPECT_TRUE(said->lines.empty());
    EXPECT_TRUE(played->played.empty());
}

TEST_F(GuidanceMenu, SwitchedOnItIsKeptAndTheItemTellsWhetherItCanBeHeard) {
    start();
    item()->trigger();
    ASSERT_TRUE(item()->isChecked());
    SoundGuidance* g = main().Guidance();
    ASSERT_NE(g, nullptr);
    EXPECT_TRUE(g->Enabled());
    EXPECT_EQ(item()->text(), g->AudioAvailable()
                                  ? QStringLiteral("Sound Guidance")
                                  : QStringLiteral("Sound Guidance (no audio device)"));
    EXPECT_TRUE(LoadGuidanceSettings(SettingsFilePath()).sound);

    // Frames of the monitor mode, a settling and a lost read-out: whatever the machine has.
    for (int i = 0; i < 40; ++i)
        main().UpdateGuidance({i < 35, 200.0 / (i + 1), 200.0 / (i + 1), 0.0});

    // Whatever the machine lacks is logged once, however often the item is switched.
    item()->trigger();
    item()->trigger();
    QStringList told = ReadLogMessages().filter("Sound guidance:");
    EXPECT_EQ(told.removeDuplicates(), 0) << told.join('\n').toStdString();

    langItem("MenuItem_lang_de")->trigger();
    EXPECT_TRUE(item()->text().startsWith("Akustische Führung")) << item()->text().toStdString();

    item()->trigger();
    EXPECT_FALSE(item()->isChecked());
    EXPECT_FALSE(LoadGuidanceSettings(SettingsFilePath()).sound);
}

TEST_F(GuidanceMenu, ANewStartTakesTheSettingAndTheClosingSaveKeepsIt) {
    ASSERT_TRUE(SaveGuidanceSettings(folders.settingsFile(), {true, 45.0}));
    start();
    EXPECT_TRUE(item()->isChecked());
    ASSERT_NE(main().Guidance(), nullptr);
    EXPECT_EQ(main().Guidance()->Planner().Params().bandArcsec, 45.0);
    windows.reset(); // the window saves its own settings on closing
    const GuidanceSettings s = LoadGuidanceSettings(folders.settingsFile());
    EXPECT_TRUE(s.sound);
    EXPECT_EQ(s.bandArcsec, 45.0);
}

} // namespace
