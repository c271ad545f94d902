// The four windows as the program makes them, with the log and the settings in a
// temporary folder and the message boxes answered silently.
#pragma once

#include "app/AppPaths.h"
#include "app/MainFormUnit.h"
#include "app/Mystructs.h"
#include "support/LogReading.h"
#include "support/ProgramSetUp.h"
#include "ui_FormMain.h"

#include <QFile>
#include <gtest/gtest.h>

#include <memory>

class DisplayWindowTest : public ::testing::Test {
protected:
    // Settings written before the window reads them (empty: no settings file).
    virtual QString SettingsText() const { return {}; }

    void SetUp() override {
        ASSERT_TRUE(folders_.isValid());
        if (!SettingsText().isEmpty()) {
            QFile ini(SettingsFilePath());
            ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
            ini.write(SettingsText().toUtf8());
        }
        g_uiStyle = QStringLiteral("Color");
        g_cameraOpen = false;
        ClearOverlayFlags();
        windows_ = std::make_unique<ProgramWindows>();
        main_ = &windows_->main;
        about_ = &windows_->about;
        atmRef_ = &windows_->atmRef;
        trace_ = &windows_->trace;
        ASSERT_TRUE(main_->isShownOnce());
    }

    void TearDown() override {
        main_ = nullptr;
        about_ = nullptr;
        atmRef_ = nullptr;
        trace_ = nullptr;
        windows_.reset();
    }

    TestFolders folders_;
    RecordedMessages boxes_;
    std::unique_ptr<ProgramWindows> windows_;
    // The four windows of windows_.
    TFormMain* main_ = nullptr;
    TFormAbout* about_ = nullptr;
    TFormAtmRef* atmRef_ = nullptr;
    TFormTrace* trace_ = nullptr;
};
