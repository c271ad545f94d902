// Test access to the INDI camera library: loads bin/libzorcam-indi.so by path,
// resolves its entry points, collects its log lines and points it at a
// configuration file of the test's own.
//
// Usage:
//   IndiLibrary& lib = IndiLibrary::Get();
//   lib.Configure(server.Port(), "CCD Simulator", 25.0);   // writes [CAMERA], sets the variable
//   ZorcamHandle h = lib.Connect(100000, 50);               // init ... begin live
//   std::vector<unsigned char> frame = lib.NextFrame(h, 20000);
//   lib.Disconnect(h);                                      // stop, close, release
#pragma once

#include "camera/ZorcamApi.h"

#include <QString>
#include <QTemporaryDir>

#include <string>
#include <vector>

struct IndiLibrary {
    PFN_InitZORCAMResource InitZORCAMResource = nullptr;
    PFN_ReleaseZORCAMResource ReleaseZORCAMResource = nullptr;
    PFN_ScanZORCAM ScanZORCAM = nullptr;
    PFN_GetZORCAMId GetZORCAMId = nullptr;
    PFN_OpenZORCAM OpenZORCAM = nullptr;
    PFN_CloseZORCAM CloseZORCAM = nullptr;
    PFN_InitZORCAM InitZORCAM = nullptr;
    PFN_SetZORCAMParam SetZORCAMParam = nullptr;
    PFN_SetZORCAMBinMode SetZORCAMBinMode = nullptr;
    PFN_BeginZORCAMLive BeginZORCAMLive = nullptr;
    PFN_GetZORCAMLiveFrame GetZORCAMLiveFrame = nullptr;
    PFN_SetZORCAMStreamMode SetZORCAMStreamMode = nullptr;
    PFN_SetZORCAMResolution SetZORCAMResolution = nullptr;
    PFN_StopZORCAMLive StopZORCAMLive = nullptr;
    PFN_GetZORCAMParam GetZORCAMParam = nullptr;
    PFN_GetZORCAMImageScale GetZORCAMImageScale = nullptr;
    PFN_ListZORCAMServerCameras ListZORCAMServerCameras = nullptr;
    PFN_GetZORCAMSkyRegion GetZORCAMSkyRegion = nullptr;
    int entryPoints = 0; // of the 21 of the camera interface
    bool loaded = false;
    std::string error;

    static IndiLibrary& Get();

    void Configure(int port, const QString& device, double focalLengthMm,
                   const QString& extra = QString());
    // Init, scan, open the first camera, live mode, init, full frame, exposure,
    // gain, binning, begin live. 0 when a step failed.
    ZorcamHandle Connect(double exposureUs = 50000, int gain = 50, int binning = 1);
    void Disconnect(ZorcamHandle h);
    // The next live frame within the deadline; empty when none came.
    std::vector<unsigned char> NextFrame(ZorcamHandle h, int timeoutMs);

    static std::vector<std::string> LogLines();
    static bool Logged(const std::string& part);
    static void ClearLog();

private:
    QTemporaryDir dir_;
};
