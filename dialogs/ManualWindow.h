// The user manual, offline: a window of its own that shows the manual compiled into
// the program (docs/manual/<language>/manual.md and its pictures, under ":/manual"),
// with a link to the same manual on the web.
//
// Usage (the main window's Help > "ZenithWand Manual"):
//   auto* manual = new ManualWindow(mainWindow);       // once; lives with its parent
//   manual->ShowManual(chineseChecked, g_menuTexts.ManualMenu, g_menuTexts.ManualWebLink);
//   manual->SetLanguage(...);      // after a language switch: the same, not raised
//
// The Chinese manual is shown when the Chinese language is chosen, the English one
// for every other language. Links in the text to the web open in the browser
// (dialogs/WebLinks.h, OpenUrl); links to other pages of the manual open in the window.
#pragma once

#include <QUrl>
#include <QWidget>

class QLabel;
class QTextBrowser;

class ManualWindow : public QWidget {
    Q_OBJECT

public:
    explicit ManualWindow(QWidget* parent = nullptr);

    // The manual of a language as a resource address: "qrc:/manual/en/manual.md".
    static QUrl ManualSource(bool chinese);

    // Loads the manual of the language (when another one is shown) and sets the
    // window's title and the link's text; the language switch calls it while the
    // window is open.
    void SetLanguage(bool chinese, const QString& title, const QString& webLinkText);
    // SetLanguage, then the window is shown on top of the others.
    void ShowManual(bool chinese, const QString& title, const QString& webLinkText);

    bool ShowsChinese() const { return chinese_; }
    QTextBrowser* Browser() const { return browser_; }
    QLabel* WebLink() const { return webLink_; }

private:
    void OpenLink(const QUrl& url);

    QTextBrowser* browser_ = nullptr;
    QLabel* webLink_ = nullptr;
    bool chinese_ = false;
    bool loaded_ = false;
};
