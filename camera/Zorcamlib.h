// The binding to the camera library, loaded by name at run time: "zorcam" (the
// simulated camera, the default), "zorcam-indi" (cameras on an INDI server) or
// another file.
//
// Usage:
//   SetCameraLibraryOverride("indi");    // command line: "sim", "indi" or a path; wins
//   SetChosenCameraLibrary("zorcam-indi"); // the settings' choice
//   LoadCameraLibrary();                 // when the main window is first shown, and again
//                                        // at a Connect after the choice changed
//   if (ZorcamInitResource() == 0) ...   // then call through the wrappers below
//
// LoadCameraLibrary looks for the library in the program's folder first, then by
// its plain name (system paths). A missing library or entry point is reported in a
// message box and start-up goes on. Every wrapper answers a missing entry point
// with a failure at once (-1 for a status, 0 for a count or a handle), so a
// caller neither crashes nor blocks. A library loaded once stays mapped for the
// rest of the run (its threads may still be ending): loading another one only
// switches the entry points.
//
// The entry points are written only by LoadCameraLibrary on the user-interface
// thread while no capture thread runs, and read afterwards from both.
#pragma once

#include "camera/ZorcamApi.h"

#include <QString>
#include <QStringList>

#include <cstdint>

// Loads the library and looks up the 21 entry points, in their fixed order.
void LoadCameraLibrary();

// The library's base name ("zorcam" when empty). Lets a test load a library that
// lacks entry points, or none at all.
void SetCameraLibraryNameForTesting(const QString& baseName);

// The library the command line asks for, before every other choice: "sim",
// "indi", a base name or a path to the file. Empty: no override.
void SetCameraLibraryOverride(const QString& nameOrPath);
// The library the settings choose ("zorcam" or "zorcam-indi"); empty: "zorcam".
void SetChosenCameraLibrary(const QString& nameOrPath);
// The library LoadCameraLibrary would load now, and the one it loaded last
// (empty before the first load).
QString WantedCameraLibrary();
QString LoadedCameraLibrary();
// True when the command line's or the settings' choice differs from the one the
// last load followed (a test's library name does not count).
bool CameraLibraryChoiceChanged();
// "sim" -> "zorcam", "indi" -> "zorcam-indi", anything else as it is.
QString CameraLibraryFileName(const QString& nameOrPath);

// Names of the 21 entry points in lookup order, and whether each was found.
inline constexpr int kZorcamEntryPointCount = 21;
const char* ZorcamEntryPointName(int index);
bool ZorcamEntryPointFound(int index);

int ZorcamInitResource();
int ZorcamReleaseResource();
int ZorcamScan(); // number of cameras, 0 when the entry point is missing
int ZorcamGetId(int index, char* id /* ZORCAM_ID_LENGTH bytes */);
ZorcamHandle ZorcamOpen(const char* id); // 0 = failed
int ZorcamClose(ZorcamHandle handle);
int ZorcamInit(ZorcamHandle handle);
int ZorcamSetParam(ZorcamHandle handle, int controlId, double value);
int ZorcamBeginLive(ZorcamHandle handle);
// 0 = a new frame was copied into buffer.
int ZorcamGetLiveFrame(ZorcamHandle handle, std::uint32_t* width, std::uint32_t* height,
                       std::uint32_t* bpp, std::uint32_t* channels, unsigned char* buffer);
int ZorcamSetStreamMode(ZorcamHandle handle, int mode);
int ZorcamSetResolution(ZorcamHandle handle, int x, int y, int width, int height);
int ZorcamStopLive(ZorcamHandle handle);

// Calls beyond the 21 that a library may offer (false / -1 when it does not).
// The open camera's scale in arcseconds per pixel: the sensor's and the delivered frames'.
bool ZorcamGetImageScale(ZorcamHandle handle, double* nativeArcsecPerPixel,
                         double* deliveredArcsecPerPixel);
// The part of the frames that holds sky; false when the library does not say.
bool ZorcamGetSkyRegion(ZorcamHandle handle, int* x, int* y, int* width, int* height);
// The open camera's own gain, its range and where its driver keeps it.
bool ZorcamGetDeviceGain(ZorcamHandle handle, double* value, double* min, double* max,
                         QString* where);
// The INDI camera library's call that lists the cameras a server offers (the
// library is loaded for this if needed; the camera in use is not touched). Look
// it up on the user-interface thread; the call itself may run on any thread.
// Null when the library or the call is missing.
PFN_ListZORCAMServerCameras ZorcamServerCameraLister();
// Runs the lister: the names, or -1 when no server answered or there is no lister.
int ZorcamListServerCameras(PFN_ListZORCAMServerCameras lister, const QString& host, int port,
                            int timeoutMs, QStringList& names);
