#include "SimLibrary.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

class SimConfigReload : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(lib.loaded) << lib.error; }

    // Fetches frames until the truth's RA angle is the wanted one (deadline 10 s).
    bool WaitForRaAngle(ZorcamHandle h, double wanted) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            if (!lib.NextFrame(h).empty() && lib.Truth().raAngleDeg == wanted)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    SimLibrary& lib = SimLibrary::Get();
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(SimConfigReload, ChangedFileIsReadWhileLive) {
    SimConfigFile cfg("[camera]\nthrottle=0\n[sky]\ntimeScale=0\n[mount]\nraAngleDeg=10\n");
    char path[512];
    lib.ConfigPath(path, sizeof path);
    EXPECT_EQ(cfg.Path(), path);
    const ZorcamHandle h = lib.Connect();
    ASSERT_NE(h, 0u);
    ASSERT_TRUE(WaitForRaAngle(h, 10));
    // Rewrites of the same size right after each other are noticed too.
    cfg.Rewrite("[camera]\nthrottle=0\n[sky]\ntimeScale=0\n[mount]\nraAngleDeg=11\n");
    EXPECT_TRUE(WaitForRaAngle(h, 11));
    cfg.Rewrite("[camera]\nthrottle=0\n[sky]\ntimeScale=0\n[mount]\nraAngleDeg=12\n");
    EXPECT_TRUE(WaitForRaAngle(h, 12));
    // A fault switched on while live takes effect on the next calls.
    cfg.Rewrite("[camera]\nthrottle=0\n[faults]\nrefuseGain=*\n");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (lib.SetZORCAMParam(h, ZORCAM_CONTROL_GAIN, 60) == 0 &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_NE(lib.SetZORCAMParam(h, ZORCAM_CONTROL_GAIN, 60), 0);
}

TEST_F(SimConfigReload, OutOfRangeValueFallsBackToItsDefault) {
    SimConfigFile cfg("[camera]\nthrottle=0\n[mount]\nraAngleDeg=33\n");
    EXPECT_EQ(lib.Truth().raAngleDeg, 33);
    cfg.Rewrite("[mount]\nraAngleDeg=700000\n"); // out of range: the default comes back
    lib.ReloadConfig();
    EXPECT_EQ(lib.Truth().raAngleDeg, 0);
}

class SimCtlTool : public SimConfigReload {
protected:
    int RunCtl(const std::string& config, const QStringList& args, QString* output = nullptr) {
        QProcess p;
        p.start(QString::fromStdString(SimLibrary::BinDir() + "/zorcam-sim-ctl"),
                QStringList{"--config", QString::fromStdString(config)} + args);
        if (!p.waitForFinished(30000))
            return -1;
        if (output)
            *output = QString::fromUtf8(p.readAllStandardOutput());
        return p.exitCode();
    }
};

TEST_F(SimCtlTool, TurnsAndMovesTheMountInTheFile) {
    SimConfigFile cfg("; test sky\n[camera]\nthrottle=0\n[sky]\ntimeScale=0\n"
                      "[mount]\nrollDeg=5\n");
    ASSERT_EQ(RunCtl(cfg.Path(), {"ra", "15"}), 0);
    ASSERT_EQ(RunCtl(cfg.Path(), {"ra", "-5.5"}), 0);
    ASSERT_EQ(RunCtl(cfg.Path(), {"alt", "3"}), 0);   // from the default 30
    ASSERT_EQ(RunCtl(cfg.Path(), {"az", "+2.5"}), 0); // from the default -20
    QString shown;
    ASSERT_EQ(RunCtl(cfg.Path(), {"show"}, &shown), 0);
    EXPECT_TRUE(shown.contains("raAngleDeg = 9.5")) << shown.toStdString();

    lib.ReloadConfig();
    const ZorcamSimTruth t = lib.Truth();
    EXPECT_DOUBLE_EQ(t.raAngleDeg, 9.5);
    EXPECT_DOUBLE_EQ(t.altErrArcmin, 33);
    EXPECT_DOUBLE_EQ(t.azErrArcmin, -17.5);
    EXPECT_DOUBLE_EQ(t.rollDeg, 5) << "other settings stay";
    const std::string text = ReadAll(cfg.Path());
    EXPECT_NE(text.find("; test sky"), std::string::npos) << text;
    EXPECT_NE(text.find("timeScale"), std::string::npos) << text;
}

TEST_F(SimCtlTool, RefusesValuesTheSimulatorWouldReject) {
    SimConfigFile cfg("[mount]\naltErrArcmin=590\n");
    const std::string before = ReadAll(cfg.Path());
    EXPECT_NE(RunCtl(cfg.Path(), {"alt", "20"}), 0);
    EXPECT_NE(RunCtl(cfg.Path(), {"ra", "ten"}), 0);
    EXPECT_NE(RunCtl(cfg.Path(), {"tilt", "1"}), 0);
    EXPECT_EQ(ReadAll(cfg.Path()), before);
}

TEST_F(SimCtlTool, CreatesAMissingFile) {
    SimConfigFile cfg("");
    QFile::remove(QString::fromStdString(cfg.Path()));
    ASSERT_EQ(RunCtl(cfg.Path(), {"ra", "90"}), 0);
    lib.ReloadConfig();
    EXPECT_DOUBLE_EQ(lib.Truth().raAngleDeg, 90);
}

} // namespace
