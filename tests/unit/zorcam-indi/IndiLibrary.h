// Test access to the INDI camera library: loads bin/libzorcam-indi.so as the program
// does (support/CameraLibrary.h), collects its log lines and points it at a
// configuration file of the test's own.
//
// Usage:
//   IndiLibrary& lib = IndiLibrary::Get();
//   lib.Configure(server.Port(), "CCD Simulator", 25.0);   // writes [CAMERA], sets the variable
//   ZorcamHandle h = lib.Connect(100000, 50);               // init ... begin live
//   std::vector<unsigned char> frame = lib.NextFrame(h, 20000);
//   lib.Disconnect(h);                                      // stop, close, release
#pragma once

#include "support/CameraLibrary.h"

#include <QString>
#include <QTemporaryDir>

#include <string>
#include <vector>

struct IndiLibrary : CameraLibrary {
    PFN_GetZORCAMImageScale GetZORCAMImageScale = nullptr;
    PFN_ListZORCAMServerCameras ListZORCAMServerCameras = nullptr;
    PFN_GetZORCAMSkyRegion GetZORCAMSkyRegion = nullptr;

    static IndiLibrary& Get();

    void Configure(int port, const QString& device, double focalLengthMm,
                   const QString& extra = QString());

    static std::vector<std::string> LogLines();
    static bool Logged(const std::string& part);
    static void ClearLog();

private:
    QTemporaryDir dir_;
};
