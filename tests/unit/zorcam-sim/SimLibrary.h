// Test access to the simulated camera library: loads bin/libzorcam.so as the program
// does (support/CameraLibrary.h), resolves its ground-truth calls, and points the
// library at a configuration file of the test's own.
//
// Usage:
//   SimLibrary& lib = SimLibrary::Get();
//   SimConfigFile cfg("[camera]\nthrottle=0\n");   // written, selected and read
//   ZorcamHandle h = lib.Connect();                 // init, scan, open, live mode
//   std::vector<unsigned char> frame = lib.NextFrame(h);    // within 10 s, else empty
#pragma once

#include "support/CameraLibrary.h"
#include "zorcam-sim/ZorcamSimTruth.h"

#include <QTemporaryDir>
#include <cstdint>
#include <string>
#include <vector>

struct SimLibrary : CameraLibrary {
    int (*GetTruth)(ZorcamSimTruth*) = nullptr;
    int (*GetStars)(ZorcamSimStar*, int) = nullptr;
    int (*ReloadConfig)() = nullptr;
    int (*ConfigPath)(char*, int) = nullptr;
    int (*UseClock)(double (*)(void*), void*) = nullptr;

    static SimLibrary& Get();

    ZorcamSimTruth Truth();
    std::vector<ZorcamSimStar> Stars();
};

// A configuration file in a temporary folder, selected through ZORCAM_SIM_CONFIG
// and read at once; the library is released when it goes.
class SimConfigFile {
public:
    explicit SimConfigFile(const std::string& ini);
    ~SimConfigFile();
    void Rewrite(const std::string& ini);
    std::string Path() const { return path_; }

private:
    QTemporaryDir dir_;
    std::string path_;
};

// The default test sky: frozen, unthrottled, a fixed date and seed.
inline constexpr const char* kFrozenSky = "[camera]\nthrottle=0\n[sky]\ntimeScale=0\n"
                                          "date=2024-06-01\nseed=7\n";

// Intensity-weighted centroid above the window's border median in a square window
// of half-size r around (x, y).
bool MeasureCentroid(const std::vector<unsigned char>& frame, double x, double y, int r, double& cx,
                     double& cy);
