// The four windows made and shown as the program makes them, with the log, the
// settings and the message boxes kept inside the test.
#pragma once

#include "app/AppPaths.h"
#include "app/MainFormUnit.h"
#include "app/Mylog.h"
#include "dialogs/AboutFormUnit.h"
#include "dialogs/AtmRefFormUnit.h"
#include "dialogs/MessageBoxes.h"
#include "dialogs/WebLinks.h"
#include "workflow/TraceFormUnit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <memory>

class WindowsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(documents.isValid());
        ASSERT_TRUE(settings.isValid());
        SetDocumentsFolderForTesting(documents.path());
        SetSettingsFolderForTesting(settings.path());
        SetMessageBoxHandlerForTesting([this](const QString& kind, const QString& text) {
            messages << kind + QStringLiteral(": ") + text;
            return false;
        });
        SetUrlOpenerForTesting([this](const QUrl& url) {
            opened << url;
            return true;
        });
    }
    void TearDown() override {
        windows.reset();
        SetDocumentsFolderForTesting(QString());
        SetSettingsFolderForTesting(QString());
        SetMessageBoxHandlerForTesting(nullptr);
        SetUrlOpenerForTesting(nullptr);
    }

    struct Windows {
        TFormMain main;
        TFormAbout about;
        TFormAtmRef atmRef;
        TFormTrace trace;
    };

    // Writes a settings file the program reads when its window is first shown.
    void writeSettings(const QByteArray& text) {
        QFile f(settings.filePath(QStringLiteral("ZenithWand.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    void start() {
        windows = std::make_unique<Windows>();
        windows->main.show();
    }
    TFormMain& main() { return windows->main; }

    // The log's messages written after the window was shown ("FormShow" and before
    // are left out).
    QStringList logAfterShow() const {
        QFile f(g_logFilePath);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList out;
        bool shown = false;
        for (const QByteArray& line : f.readAll().split('\n')) {
            const QList<QByteArray> parts = line.trimmed().split('\t');
            if (parts.size() != 3)
                continue;
            const QString message = QString::fromUtf8(parts[1] + " " + parts[2]);
            if (shown)
                out << message;
            if (parts[2] == "FormShow")
                shown = true;
        }
        return out;
    }

    QTemporaryDir documents;
    QTemporaryDir settings;
    std::unique_ptr<Windows> windows;
    QStringList messages;
    QList<QUrl> opened;
};
