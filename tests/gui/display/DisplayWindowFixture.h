// The four windows as the program makes them, with the log and the settings in a
// temporary folder and the message boxes answered silently.
#pragma once

#include "app/AppPaths.h"
#include "app/MainFormUnit.h"
#include "app/Mylog.h"
#include "app/Mystructs.h"
#include "dialogs/AboutFormUnit.h"
#include "dialogs/AtmRefFormUnit.h"
#include "dialogs/MessageBoxes.h"
#include "ui_FormMain.h"
#include "workflow/TraceFormUnit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

#include <memory>

class DisplayWindowTest : public ::testing::Test {
protected:
    // Settings written before the window reads them (empty: no settings file).
    virtual QString SettingsText() const { return {}; }

    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        SetDocumentsFolderForTesting(dir_.filePath(QStringLiteral("docs")));
        SetSettingsFolderForTesting(dir_.path());
        SetMessageBoxHandlerForTesting([](const QString&, const QString&) { return false; });
        if (!SettingsText().isEmpty()) {
            QFile ini(SettingsFilePath());
            ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
            ini.write(SettingsText().toUtf8());
        }
        g_uiStyle = QStringLiteral("Color");
        g_cameraOpen = false;
        ClearOverlayFlags();
        main_ = std::make_unique<TFormMain>();
        about_ = std::make_unique<TFormAbout>();
        atmRef_ = std::make_unique<TFormAtmRef>();
        trace_ = std::make_unique<TFormTrace>();
        main_->show();
        ASSERT_TRUE(main_->isShownOnce());
    }

    void TearDown() override {
        trace_.reset();
        atmRef_.reset();
        about_.reset();
        if (main_)
            main_->close();
        main_.reset();
        SetMessageBoxHandlerForTesting({});
    }

    // The message texts of this run's log, in order.
    QStringList LogMessages() const {
        QStringList out;
        QFile f(g_logFilePath);
        if (!f.open(QIODevice::ReadOnly))
            return out;
        for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
            const QString trimmed = line.trimmed();
            const int tab = trimmed.lastIndexOf(QLatin1Char('\t'));
            if (tab >= 0)
                out << trimmed.mid(tab + 1);
        }
        return out;
    }
    QStringList LogLines() const {
        QFile f(g_logFilePath);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QTemporaryDir dir_;
    std::unique_ptr<TFormMain> main_;
    std::unique_ptr<TFormAbout> about_;
    std::unique_ptr<TFormAtmRef> atmRef_;
    std::unique_ptr<TFormTrace> trace_;
};
