// The offline manual: the window opened by Help > "ZenithWand Manual", its language,
// and the pictures and links of both manuals.
#include "WindowsFixture.h"

#include "i18n/TextRecords.h"
#include "workflow/WizardKeys.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextDocument>

namespace {

class ManualWindowTest : public WindowsFixture {};

QString ResourceText(const QUrl& source) {
    QFile f(QLatin1Char(':') + source.path());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The targets of a Markdown text's pictures ![..](target) or links [..](target).
QStringList MarkdownTargets(const QString& text, bool pictures) {
    static const QRegularExpression picture(QStringLiteral(R"(!\[[^\]]*\]\(([^)\s]+)\))"));
    static const QRegularExpression link(QStringLiteral(R"((?<!!)\[[^\]]*\]\(([^)\s]+)\))"));
    QStringList out;
    auto it = (pictures ? picture : link).globalMatch(text);
    while (it.hasNext())
        out << it.next().captured(1);
    return out;
}

// The part of a manual under its "## <heading>", up to the next such heading.
QString Section(const QString& text, const QString& heading) {
    const qsizetype start = text.indexOf(QStringLiteral("\n## ") + heading);
    if (start < 0)
        return {};
    const qsizetype end = text.indexOf(QStringLiteral("\n## "), start + 4);
    return text.mid(start, end < 0 ? -1 : end - start);
}

struct LanguageCase {
    const char* item;
    bool chinese;
    const char* heading; // the manual's first line
};

const LanguageCase kLanguages[] = {
    {"MenuItem_lang_en", false, "ZenithWand Manual"},
    {"MenuItem_lang_cn", true, "ZenithWand 使用手册"},
    {"MenuItem_lang_de", false, "ZenithWand Manual"},
    {"MenuItem_lang_jp", false, "ZenithWand Manual"},
    {"MenuItem_lang_ru", false, "ZenithWand Manual"},
    {"MenuItem_lang_kr", false, "ZenithWand Manual"},
};

TEST_F(ManualWindowTest, HelpOpensOneManualWindowInTheLanguageOfTheChoice) {
    start();
    for (const LanguageCase& c : kLanguages) {
        SCOPED_TRACE(c.item);
        ManualWindow* manual = openManual(c.item);
        ASSERT_NE(manual, nullptr);
        EXPECT_TRUE(manual->isVisible());
        EXPECT_TRUE(manual->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(manual->ShowsChinese(), c.chinese);
        EXPECT_EQ(manual->Browser()->source(), ManualWindow::ManualSource(c.chinese));
        const QString shown = manual->Browser()->document()->toPlainText();
        EXPECT_TRUE(shown.startsWith(QString::fromUtf8(c.heading))) << shown.left(60).toStdString();
        // The window is named in the language of the menus, as is its link to the web.
        EXPECT_EQ(manual->windowTitle(), g_menuTexts.ManualMenu);
        EXPECT_TRUE(manual->WebLink()->text().contains(g_menuTexts.ManualWebLink));
        EXPECT_FALSE(g_menuTexts.ManualWebLink.isEmpty());
    }
    EXPECT_EQ(main().findChildren<ManualWindow*>().size(), 1);
    // Nothing went to the web browser.
    EXPECT_TRUE(opened.isEmpty());
    // Both manuals were found (a missing one is logged as an error).
    for (const QString& line : logAfterShow())
        EXPECT_TRUE(line.startsWith(QLatin1String("[Info]"))) << line.toStdString();
}

TEST_F(ManualWindowTest, AnOpenManualFollowsALanguageSwitch) {
    start();
    ManualWindow* manual = openManual("MenuItem_lang_de");
    ASSERT_FALSE(manual->ShowsChinese());
    main().findChild<QAction*>("MenuItem_lang_cn")->trigger();
    EXPECT_TRUE(manual->ShowsChinese());
    EXPECT_EQ(manual->Browser()->source(), ManualWindow::ManualSource(true));
    EXPECT_EQ(manual->windowTitle(), QString::fromUtf8("ZenithWand 使用手册"));
    clickWebLink(manual);
    EXPECT_EQ(opened, QList<QUrl>{ManualUrl(true)});
    main().findChild<QAction*>("MenuItem_lang_it")->trigger();
    EXPECT_FALSE(manual->ShowsChinese());
    EXPECT_TRUE(manual->Browser()->document()->toPlainText().startsWith("ZenithWand Manual"));
}

TEST_F(ManualWindowTest, EveryPictureAndLinkOfBothManualsIsShipped) {
    start();
    for (bool chinese : {false, true}) {
        SCOPED_TRACE(chinese ? "Chinese" : "English");
        const QUrl source = ManualWindow::ManualSource(chinese);
        const QString text = ResourceText(source);
        ASSERT_FALSE(text.isEmpty()) << source.toString().toStdString();

        const QStringList pictures = MarkdownTargets(text, true);
        EXPECT_GE(pictures.size(), 9); // a picture of each step, the read-out, the camera window
        ManualWindow* manual = openManual(chinese ? "MenuItem_lang_cn" : "MenuItem_lang_en");
        for (const QString& target : pictures) {
            SCOPED_TRACE(target.toStdString());
            const QUrl url = source.resolved(QUrl(target));
            EXPECT_EQ(url.scheme(), "qrc");
            EXPECT_TRUE(QFile::exists(QLatin1Char(':') + url.path()));
            // The window finds it and it is a picture.
            const QVariant data =
                manual->Browser()->loadResource(QTextDocument::ImageResource, QUrl(target));
            const QImage image = data.canConvert<QImage>() && data.typeId() == QMetaType::QImage
                                     ? data.value<QImage>()
                                     : QImage::fromData(data.toByteArray());
            EXPECT_FALSE(image.isNull());
        }

        // Links lead to a page of the manual that is shipped, or to the one web address.
        const QStringList links = MarkdownTargets(text, false);
        EXPECT_FALSE(links.isEmpty());
        for (const QString& target : links) {
            SCOPED_TRACE(target.toStdString());
            const QUrl url = source.resolved(QUrl(target));
            if (url.scheme().startsWith(QLatin1String("http")))
                EXPECT_EQ(url, ManualUrl(chinese));
            else
                EXPECT_TRUE(QFile::exists(QLatin1Char(':') + url.path()));
        }
    }
}

TEST_F(ManualWindowTest, TheWebLinksOpenInTheBrowser) {
    start();
    for (bool chinese : {false, true}) {
        SCOPED_TRACE(chinese ? "Chinese" : "English");
        ManualWindow* manual = openManual(chinese ? "MenuItem_lang_cn" : "MenuItem_lang_en");
        opened.clear();
        clickWebLink(manual);
        // A link in the text goes the same way; the manual stays where it is.
        emit manual->Browser()->anchorClicked(ManualUrl(chinese));
        EXPECT_EQ(opened, (QList<QUrl>{ManualUrl(chinese), ManualUrl(chinese)}));
        EXPECT_EQ(manual->Browser()->source(), ManualWindow::ManualSource(chinese));
    }
}

TEST_F(ManualWindowTest, TheKeyboardSectionOfBothManualsNamesEveryKey) {
    QStringList keys{QStringLiteral("Enter"), QStringLiteral("Esc"), QStringLiteral("Page Up"),
                     QStringLiteral("Page Down"), QStringLiteral("F5")};
    for (const MenuShortcut& m : MenuShortcuts())
        keys << QString::fromLatin1(m.keys);
    const struct {
        bool chinese;
        const char* heading;
    } manuals[] = {{false, "Keyboard"}, {true, "键盘"}};
    for (const auto& m : manuals) {
        SCOPED_TRACE(m.heading);
        const QString section = Section(ResourceText(ManualWindow::ManualSource(m.chinese)),
                                        QString::fromUtf8(m.heading));
        ASSERT_FALSE(section.isEmpty());
        for (const QString& key : keys)
            EXPECT_TRUE(section.contains(QStringLiteral("| ") + key + QStringLiteral(" |")))
                << key.toStdString();
    }
}

} // namespace
