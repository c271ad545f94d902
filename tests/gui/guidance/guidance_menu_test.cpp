// Tools > Sound Guidance in the window: off at first, kept in the settings, named in the
// window's language and telling when there is nothing to play it on. Runs where no audio
// device exists (as on the build machines) as well as where one does.
#include "app/AppPaths.h"
#include "app/MainFormUnit.h"
#include "guidance/GuidanceSettings.h"
#include "support/LogReading.h"
#include "support/ProgramSetUp.h"

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

    TestFolders folders;
    RecordedMessages boxes;
    std::unique_ptr<ProgramWindows> windows;
};

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
    main().UpdateGuidance({true, 120.0, 100.0, 66.0}); // while off: nothing at all
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

    // A missing output is logged once, however often the item is switched.
    item()->trigger();
    item()->trigger();
    const QStringList log = ReadLogMessages();
    EXPECT_LE(log.filter("no audio device").size(), 1);
    EXPECT_LE(log.filter("no speech voice").size(), 1);

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
