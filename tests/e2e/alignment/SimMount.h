// The simulated mount beside the running application, as the end-to-end scenarios
// use it: the configuration file the simulator reads, the mount tool a person
// would type into a terminal (zorcam-sim-ctl), and the simulator's ground truth
// (the test's stand-in for the user's eyes, and the judge of the result).
//
// Usage:
//   SimMount mount(iniText);                 // writes the file, sets ZORCAM_SIM_CONFIG
//   ... connect the application ...
//   mount.Turn("ra", 60);                    // zorcam-sim-ctl ra 60, then waits for
//                                            // frames that show the turn
//   ZorcamSimTruth t = mount.Truth();        // pole, axis, stars of the last frame
//   std::vector<ZorcamSimStar> s = mount.Stars();
#pragma once

#include "core/Clock.h"
#include "zorcam-sim/ZorcamSimTruth.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <vector>

class SimMount {
public:
    // Writes the simulator's configuration into a fresh temporary folder and points
    // ZORCAM_SIM_CONFIG at it (for the library loaded later in this process).
    explicit SimMount(const QByteArray& ini);
    ~SimMount();

    bool Ready() const { return ready_; }
    QString ConfigPath() const { return path_; }
    QString LastError() const { return error_; }

    // The simulator's sky runs on this clock (the window's) until it is taken back
    // (null) or the mount goes; the clock must outlive its use here.
    void UseClock(const Clock* clock);

    // The ground truth of the last frame the simulator delivered.
    ZorcamSimTruth Truth() const;
    std::vector<ZorcamSimStar> Stars() const;

    // Runs the mount tool with one command (ra/alt/az and a step), then waits until
    // the simulator delivers frames made with the new setting and the application
    // has shown some of them. False (with LastError) when the tool failed or no such
    // frame came before the deadline.
    bool Turn(const char* what, double step);
    // zorcam-sim-ctl set SECTION KEY VALUE, with the same wait.
    bool Set(const QString& section, const QString& key, const QString& value);

    // The same without waiting for frames (while no camera is live).
    bool SetNow(const QString& section, const QString& key, const QString& value);

    // Serves the application's events until `frames` more frames were delivered.
    bool WaitFrames(int frames, int timeoutMs = 15000) const;

private:
    bool RunTool(const QStringList& args);
    bool WaitForSetting(const std::function<bool(const ZorcamSimTruth&)>& applied);

    QTemporaryDir dir_;
    QString path_;
    QString error_;
    bool ready_ = false;
};

// Serves the user-interface thread's events (the capture loop's hand-overs among
// them) until the condition holds or the deadline passes.
bool ServeEventsUntil(const std::function<bool()>& condition, int timeoutMs = 15000);
