// Edits the simulator's INI file in place, safely while the simulator reads it.
//
// Usage:
//   std::string error;
//   double now = 0;
//   if (!AddToSetting(path, "mount", "raAngleDeg", 15.0, now, error)) report(error);
//   if (!WriteSetting(path, "faults", "open", "1", error)) report(error);
//
// A missing file is created. The new text is written beside the file and renamed
// over it, so a reader sees the old or the new file, never half of one. Other keys
// and comments stay as they were. A value the simulator would reject is refused.
#pragma once

#include <string>

namespace zorcamsim {

bool WriteSetting(const std::string& path, const std::string& section, const std::string& key,
                  const std::string& value, std::string& error);

// Adds delta to the setting's value in effect (its default when the file has none).
bool AddToSetting(const std::string& path, const std::string& section, const std::string& key,
                  double delta, double& newValue, std::string& error);

// The setting's value in effect: from the file, else the simulator's default.
bool ReadNumericSetting(const std::string& path, const std::string& section, const std::string& key,
                        double& value, std::string& error);

// The file the tools edit: $ZORCAM_SIM_CONFIG, else zorcam-sim.ini beside the running
// program (the folder of libzorcam.so).
std::string DefaultConfigPath();

// Locale-independent shortest text of a number.
std::string FormatNumber(double value);

} // namespace zorcamsim
