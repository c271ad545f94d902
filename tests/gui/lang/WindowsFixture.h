// The four windows made and shown as the program makes them, with the log, the
// settings and the message boxes kept inside the test, and web links recorded
// instead of opened.
#pragma once

#include "app/MainFormUnit.h"
#include "dialogs/ManualWindow.h"
#include "dialogs/WebLinks.h"
#include "support/LogReading.h"
#include "support/ProgramSetUp.h"

#include <QFile>
#include <QLabel>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <memory>

class WindowsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folders.isValid());
        SetUrlOpenerForTesting([this](const QUrl& url) {
            opened << url;
            return true;
        });
    }
    void TearDown() override {
        windows.reset();
        SetUrlOpenerForTesting(nullptr);
    }

    // Writes a settings file the program reads when its window is first shown.
    void writeSettings(const QByteArray& text) {
        QFile f(folders.settingsFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    void start() { windows = std::make_unique<ProgramWindows>(); }
    TFormMain& main() { return windows->main; }

    // The log's messages written after the window was shown ("FormShow" and before
    // are left out).
    QStringList logAfterShow() const {
        QStringList out;
        bool shown = false;
        for (const LogEntry& e : ReadLogEntries()) {
            if (shown)
                out << e.level + QLatin1Char(' ') + e.message;
            if (e.message == QLatin1String("FormShow"))
                shown = true;
        }
        return out;
    }

    // Help > "ZenithWand Manual" in the language of a language menu item; the manual window.
    ManualWindow* openManual(const char* languageItem) {
        main().findChild<QAction*>(languageItem)->trigger();
        main().findChild<QAction*>("MenuItem_manual")->trigger();
        return main().findChild<ManualWindow*>();
    }

    // A mouse click on the manual window's link to the web, on its first letters.
    static void clickWebLink(ManualWindow* manual) {
        QLabel* link = manual->WebLink();
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(4, link->height() / 2));
    }

    TestFolders folders;
    RecordedMessages boxes{RecordedMessages::KindAndText};
    QStringList& messages = boxes.shown; // "kind: text" of the boxes shown
    std::unique_ptr<ProgramWindows> windows;
    QList<QUrl> opened;
};
