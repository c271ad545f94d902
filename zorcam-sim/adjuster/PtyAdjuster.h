// The simulated adjuster on a pseudo-terminal: a GrblDevice served on the master side
// of a pty by a thread of its own, so that a program opens the slave side as it would
// open a real controller's serial port.
//
// Usage:
//   PtyAdjuster adjuster(config, [](double altArcsec, double azArcsec) { ... });
//   if (!adjuster.Start()) ... adjuster.Error()
//   open(adjuster.SlaveName()) ...              // "/dev/pts/7"
//   adjuster.With([](GrblDevice& d) { d.Config().silent = true; });  // under its lock
//   adjuster.Stop();                              // also in the destructor
//
// The turn handler runs on the adjuster's thread, under its lock.
#pragma once

#include "zorcam-sim/adjuster/GrblDevice.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace zorcamsim {

class PtyAdjuster {
public:
    PtyAdjuster(const AdjusterConfig& config, GrblDevice::TurnHandler onTurn);
    ~PtyAdjuster();
    bool Start();
    void Stop();
    const std::string& SlaveName() const { return slave_; }
    const std::string& Error() const { return error_; }
    void With(const std::function<void(GrblDevice&)>& fn);

private:
    void Serve();
    GrblDevice device_;
    std::mutex mutex_;
    int master_ = -1;
    int slaveFd_ = -1; // kept open, so the master never sees the line hang up
    std::string slave_;
    std::string error_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace zorcamsim
