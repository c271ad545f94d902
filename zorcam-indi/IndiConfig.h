// Where the INDI camera library finds its server, device and lens.
//
// Usage:
//   IndiConfig cfg = LoadIndiConfig(IndiConfigPath(libraryFolder));
//
// The file is the one named by $ZORCAM_INDI_CONFIG, else zorcam-indi.ini in the
// library's folder; the program points the variable at its own settings file.
// Keys, all in the section [CAMERA] (a missing file, key or unreadable value
// keeps the default):
//   indiHost=localhost      indiPort=7624
//   indiDevice=             (empty: the first camera the server offers)
//   focalLengthMm=0         (0: unknown, frames keep the sensor's own scale)
//   connectTimeoutMs=3000   deviceTimeoutMs=5000   frameTimeoutMs=10000
// frameTimeoutMs is how long a frame may be late beyond its exposure before the
// exposure is started again.
#pragma once

#include <string>

namespace zorcamindi {

struct IndiConfig {
    std::string host = "localhost";
    int port = 7624;
    std::string device;
    double focalLengthMm = 0;
    int connectTimeoutMs = 3000;
    int deviceTimeoutMs = 5000;
    int frameTimeoutMs = 10000;
};

std::string IndiConfigPath(const std::string& libraryFolder);
IndiConfig LoadIndiConfig(const std::string& path);

} // namespace zorcamindi
