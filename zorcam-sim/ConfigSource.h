// Finds the simulator's INI file and notices when it changes.
//
// Usage:
//   ConfigSource source(fallbackDir);   // folder of the library
//   if (source.Poll(false)) apply(source.Config());  // true when the settings changed
//
// The file is $ZORCAM_SIM_CONFIG when set, else zorcam-sim.ini in the fallback
// folder; without a file the defaults hold. A change is noticed from the file's
// time stamp, size or identity, and the contents are compared at least every
// quarter second, so a rewrite within one time-stamp tick is not missed. A file
// that is not INI keeps the previous settings.
#pragma once

#include "zorcam-sim/SimConfig.h"

#include <chrono>
#include <string>

namespace zorcamsim {

class ConfigSource {
public:
    explicit ConfigSource(std::string fallbackDir);

    std::string Path() const;
    // Re-reads the file when it may have changed (always when forced). Returns
    // true when the settings changed. lastLoadFailed() tells whether the file read
    // last was unreadable.
    bool Poll(bool force);
    const SimConfig& Config() const { return config_; }
    bool LastLoadFailed() const { return lastLoadFailed_; }

private:
    std::string fallbackDir_;
    SimConfig config_;
    std::string lastPath_;
    std::string lastText_;
    bool lastExisted_ = false;
    bool lastLoadFailed_ = false;
    bool loadedOnce_ = false;
    long long lastStamp_ = 0;
    long long lastSize_ = -1;
    unsigned long long lastInode_ = 0;
    std::chrono::steady_clock::time_point lastRead_{};
};

} // namespace zorcamsim
