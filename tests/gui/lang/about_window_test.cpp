// The About window, the web and manual links.
#include "WindowsFixture.h"

#include "ui_AboutFormUnit.h"
#include "ui_FormMain.h"

#include <QApplication>
#include <QTest>

namespace {

class AboutWindow : public WindowsFixture {};

TEST_F(AboutWindow, OpeningItTwiceShowsOneWindowWithTheVersionLine) {
    start();
    main().ui->MenuItem_about->trigger();
    main().ui->MenuItem_about->trigger();
    EXPECT_TRUE(windows->about.isVisible());
    EXPECT_EQ(windows->about.ui->Label_appVer->text(), "ZenithWand Version 1.3.2.8");
    EXPECT_EQ(windows->about.windowTitle(), "About");
    int aboutWindows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        aboutWindows += qobject_cast<TFormAbout*>(w) != nullptr;
    EXPECT_EQ(aboutWindows, 1);
    // The whole version line is visible, not cut at the label's design width.
    EXPECT_GE(windows->about.ui->Label_appVer->width(),
              windows->about.ui->Label_appVer->sizeHint().width());

    QTest::mouseClick(windows->about.ui->Button_ok, Qt::LeftButton);
    EXPECT_FALSE(windows->about.isVisible());
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(AboutWindow, TheLinksOpenTheWebSiteAndTheManualOfTheLanguage) {
    start();
    main().ui->MenuItem_about->trigger();
    const QUrl site = WebSiteUrl();
    const QUrl english = ManualUrl(false);
    const QUrl chinese = ManualUrl(true);
    EXPECT_NE(english, chinese);
    EXPECT_EQ(windows->about.ui->Label_website->text(), site.toString());

    struct Case {
        const char* what;
        std::function<void()> act;
        QUrl expected;
    };
    // The manual's web page is the link in the manual window.
    auto manualWith = [this](const char* item) {
        return [this, item] { clickWebLink(openManual(item)); };
    };
    const Case cases[] = {
        {"About window logo",
         [this] { QTest::mouseClick(windows->about.ui->Image_logo, Qt::LeftButton); }, site},
        {"About window address",
         [this] { QTest::mouseClick(windows->about.ui->Label_website, Qt::LeftButton); }, site},
        {"main window logo", [this] { main().Image_logoClick(); }, site},
        {"manual in English", manualWith("MenuItem_lang_en"), english},
        {"manual in Chinese", manualWith("MenuItem_lang_cn"), chinese},
        {"manual in Japanese", manualWith("MenuItem_lang_jp"), english},
        {"manual in Korean", manualWith("MenuItem_lang_kr"), english},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        opened.clear();
        c.act();
        EXPECT_EQ(opened, QList<QUrl>{c.expected});
    }
}

TEST_F(AboutWindow, TheToolsMenuShowsTheRefractionAndTraceWindows) {
    start();
    // Enabled by connecting and by the monitor mode.
    main().ui->MenuItem_astroRef->setEnabled(true);
    main().ui->MenuItem_trace->setEnabled(true);
    main().ui->MenuItem_astroRef->trigger();
    main().ui->MenuItem_trace->trigger();
    EXPECT_TRUE(windows->atmRef.isVisible());
    EXPECT_TRUE(windows->trace.isVisible());
    EXPECT_FALSE(windows->about.isVisible());
}

TEST_F(AboutWindow, AFailureToOpenTheBrowserIsLogged) {
    start();
    SetUrlOpenerForTesting([](const QUrl&) { return false; });
    clickWebLink(openManual("MenuItem_lang_en"));
    EXPECT_EQ(logAfterShow(),
              QStringList{"[Warnning] open " + ManualUrl(false).toString() + " failed"});
}

} // namespace
