// Test access to the simulated camera library: loads bin/libzorcam.so by path as
// the application does by name, resolves the entry points and the ground-truth
// calls, and points the library at a configuration file of the test's own.
//
// Usage:
//   SimLibrary& lib = SimLibrary::Get();
//   SimConfigFile cfg("[camera]\nthrottle=0\n");   // written, selected and read
//   ZorcamHandle h = lib.Connect();                 // init, scan, open, live mode
//   std::vector<unsigned char> frame = lib.NextFrame(h);
#pragma once

#include "camera/ZorcamApi.h"
#include "zorcam-sim/ZorcamSimTruth.h"

#include <QTemporaryDir>
#include <cstdint>
#include <string>
#include <vector>

struct SimLibrary {
    PFN_InitZORCAMResource InitZORCAMResource = nullptr;
    PFN_ReleaseZORCAMResource ReleaseZORCAMResource = nullptr;
    PFN_ScanZORCAM ScanZORCAM = nullptr;
    PFN_GetZORCAMId GetZORCAMId = nullptr;
    PFN_OpenZORCAM OpenZORCAM = nullptr;
    PFN_CloseZORCAM CloseZORCAM = nullptr;
    PFN_InitZORCAM InitZORCAM = nullptr;
    PFN_SetZORCAMParam SetZORCAMParam = nullptr;
    PFN_SetZORCAMBinMode SetZORCAMBinMode = nullptr;
    PFN_GetZORCAMMemLength GetZORCAMMemLength = nullptr;
    PFN_ExpZORCAMSingleFrame ExpZORCAMSingleFrame = nullptr;
    PFN_GetZORCAMSingleFrame GetZORCAMSingleFrame = nullptr;
    PFN_BeginZORCAMLive BeginZORCAMLive = nullptr;
    PFN_GetZORCAMLiveFrame GetZORCAMLiveFrame = nullptr;
    PFN_CancelZORCAMExposingAndReadout CancelZORCAMExposingAndReadout = nullptr;
    PFN_SetZORCAMStreamMode SetZORCAMStreamMode = nullptr;
    PFN_SetZORCAMResolution SetZORCAMResolution = nullptr;
    PFN_StopZORCAMLive StopZORCAMLive = nullptr;
    PFN_IsZORCAMControlAvailable IsZORCAMControlAvailable = nullptr;
    PFN_GetZORCAMChipInfo GetZORCAMChipInfo = nullptr;
    PFN_GetZORCAMParam GetZORCAMParam = nullptr;
    int (*GetTruth)(ZorcamSimTruth*) = nullptr;
    int (*GetStars)(ZorcamSimStar*, int) = nullptr;
    int (*ReloadConfig)() = nullptr;
    int (*ConfigPath)(char*, int) = nullptr;
    int (*UseClock)(double (*)(void*), void*) = nullptr;
    bool loaded = false;
    std::string error;

    static SimLibrary& Get();
    static std::string BinDir();

    // Init, scan, open the first camera, live mode, init, full frame, 50 ms, gain 50,
    // begin live. Returns 0 when a step failed.
    ZorcamHandle Connect(double exposureUs = 50000, int gain = 50);
    // Waits (deadline 10 s) for the next live frame; empty when none came.
    std::vector<unsigned char> NextFrame(ZorcamHandle h);
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
