// The program connected to the simulated camera and tracking in monitor mode, for
// the memory benchmark and the soak run: the windows are made as the program makes
// them, the camera is connected through the menu, and monitor mode is entered with
// the simulator's ground-truth reference stars and axis (what the wizard finds).
//
// Usage (a QApplication must exist; the offscreen platform is fine):
//   MonitorSession session(/*throttle=*/false);  // frames as fast as they are taken
//   if (!session.Connect() || !session.StartMonitor()) return 1;  // reasons on stderr
//   session.Serve(5000);                         // serves the windows for 5 s
//   long kib = MonitorSession::ResidentKiB();
//   unsigned long long n = session.FramesDelivered();
//   QStringList errors = session.LogLines("[Error]");
//   QStringList boxes = session.MessageBoxes();  // "kind: text" of each box, none shown
//
// Everything the run writes (settings, log, simulator settings) goes into a
// temporary folder that is removed with the session (the window tests' set-up).
#pragma once

#include "support/ProgramSetUp.h"
#include "zorcam-sim/ZorcamSimTruth.h"

#include <QString>
#include <QStringList>

#include <memory>

class MonitorSession {
public:
    explicit MonitorSession(bool throttle);
    ~MonitorSession();
    MonitorSession(const MonitorSession&) = delete;
    MonitorSession& operator=(const MonitorSession&) = delete;

    bool Connect();
    bool StartMonitor();
    void StopMonitor();
    void Serve(int ms);

    // The simulator's view of its last frame; frameIndex 0 when it cannot tell.
    ZorcamSimTruth Truth() const;
    unsigned long long FramesDelivered() const { return Truth().frameIndex; }
    // The text of a label of the main window ("Label_polarPos").
    QString Readout(const char* label) const;
    // The run's log lines that contain `tag` ("[Error]").
    QStringList LogLines(const QString& tag) const;
    QStringList MessageBoxes() const { return messages_.shown; }

    // VmRSS of this process in KiB; -1 when it cannot be read.
    static long ResidentKiB();

private:
    TestFolders folders_;
    RecordedMessages messages_{RecordedMessages::KindAndText};
    std::unique_ptr<ProgramWindows> windows_;
};
