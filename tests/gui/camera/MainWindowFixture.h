// The four windows as the program makes them, with the log, the settings and the
// simulated camera's configuration in temporary folders, and message boxes
// recorded instead of shown.
#pragma once

#include "unit/camera/CameraTestSupport.h"

#include "app/Expander.h"
#include "app/MainFormUnit.h"
#include "app/Mystructs.h"
#include "support/ProgramSetUp.h"

#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

#include <memory>

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        PinLocalTimeZone();
        ASSERT_TRUE(folders.isValid());
    }
    void TearDown() override {
        windows.reset(); // closing the main window stops the capture loop and the camera
        sim.reset();
    }

    // Starts the program with the simulated camera configured by ini.
    void Start(const QByteArray& ini = QByteArray()) {
        UseCamera(ini);
        g_connected = false; // as at process start: the window's creation leaves it alone
        windows = std::make_unique<ProgramWindows>();
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

    TestFolders folders;
    RecordedMessages boxes;
    QStringList& messages = boxes.shown; // the texts of the boxes shown
    std::unique_ptr<SimConfig> sim;
    std::unique_ptr<ProgramWindows> windows;
};
