// Test access to a camera library as the program loads it: by path from the build's
// programs folder, with the entry points of the camera interface resolved, and the
// connection and frame calls the tests of every library make.
//
// Usage:
//   CameraLibrary lib;
//   if (!lib.Load("libzorcam.so")) FAIL() << lib.error;   // the 21 entry points
//   lib.Resolve("ZorcamSimGetTruth", getTruth);             // a library's own extra
//   ZorcamHandle h = lib.Connect(100000, 50);               // init ... begin live
//   std::vector<unsigned char> frame = lib.NextFrame(h, 10000);
//   lib.Disconnect(h);                                      // stop, close, release
#pragma once

#include "camera/ZorcamApi.h"

#include <string>
#include <vector>

struct CameraLibrary {
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
    // True once Load found the file and every entry point (and each Resolve its symbol).
    bool loaded = false;
    // What was missing, for the test's failure message.
    std::string error;

    // The build's programs folder: ZW_TEST_BIN_DIR, else the test program's own.
    static std::string BinDir();

    // Loads BinDir()/file for good (it is never unloaded) and resolves the entry points.
    bool Load(const std::string& file);
    // Resolves one more symbol of the loaded library; a missing one clears `loaded`.
    template <typename Fn> bool Resolve(const char* name, Fn& fn) {
        fn = reinterpret_cast<Fn>(Symbol(name));
        return fn != nullptr;
    }

    // Init, scan, open the first camera, live mode, init, full frame, exposure, gain,
    // binning, begin live. 0 when a step failed.
    ZorcamHandle Connect(double exposureUs = 50000, int gain = 50, int binning = 1);
    void Disconnect(ZorcamHandle h);
    // The next live frame (8-bit mono, width x height bytes) within the deadline;
    // empty when none came or it came in another form.
    std::vector<unsigned char> NextFrame(ZorcamHandle h, int timeoutMs = 10000);

private:
    void* Symbol(const char* name);
    void* handle_ = nullptr;
};
