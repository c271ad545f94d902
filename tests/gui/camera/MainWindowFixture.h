// The four windows as the program makes them, with the log, the settings and the
// simulated camera's configuration in temporary folders, and message boxes
// recorded instead of shown.
#pragma once

#include "unit/camera/CameraTestSupport.h"

#include "app/AppPaths.h"
#include "app/Expander.h"
#include "app/MainFormUnit.h"
#include "app/Mystructs.h"
#include "dialogs/AboutFormUnit.h"
#include "dialogs/AtmRefFormUnit.h"
#include "dialogs/MessageBoxes.h"
#include "workflow/TraceFormUnit.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        PinLocalTimeZone();
        ASSERT_TRUE(documents.isValid());
        ASSERT_TRUE(settings.isValid());
        SetDocumentsFolderForTesting(documents.path());
        SetSettingsFolderForTesting(settings.path());
        SetMessageBoxHandlerForTesting([this](const QString&, const QString& text) {
            messages << text;
            return false;
        });
    }
    void TearDown() override {
        if (windows)
            windows->main.close(); // stops the capture loop and the camera
        windows.reset();
        sim.reset();
        SetDocumentsFolderForTesting(QString());
        SetSettingsFolderForTesting(QString());
        SetMessageBoxHandlerForTesting(nullptr);
    }

    struct Windows {
        TFormMain main;
        TFormAbout about;
        TFormAtmRef atmRef;
        TFormTrace trace;
    };

    // Starts the program with the simulated camera configured by ini.
    void Start(const QByteArray& ini = QByteArray()) {
        UseCamera(ini);
        g_connected = false; // as at process start: the window's creation leaves it alone
        windows = std::make_unique<Windows>();
        windows->main.show();
    }
    void UseCamera(const QByteArray& ini) {
        sim.reset();
        sim = std::make_unique<SimConfig>(ini);
    }

    TFormMain& Main() { return windows->main; }
    QAction* ConnectItem() {
        return Main().findChild<QAction*>(QStringLiteral("MenuItem_connect"));
    }
    void ToggleConnection() { ConnectItem()->trigger(); }
    template <typename T = QWidget> T* Find(const char* name) {
        T* found = Main().findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    Expander* Panel(const char* name) { return Find<Expander>(name); }

    QTemporaryDir documents;
    QTemporaryDir settings;
    std::unique_ptr<SimConfig> sim;
    std::unique_ptr<Windows> windows;
    QStringList messages;
};
