// The binding to the camera library "zorcam", loaded by name at run time.
//
// Usage:
//   LoadCameraLibrary();                 // once, when the main window is first shown
//   if (ZorcamInitResource() == 0) ...   // then call through the wrappers below
//
// LoadCameraLibrary looks for the library in the program's folder first, then by
// its plain name (system paths). A missing library or entry point is reported in a
// message box and start-up goes on. Every wrapper answers a missing entry point
// with a failure at once (-1 for a status, 0 for a count or a handle), so a
// caller neither crashes nor blocks.
//
// The entry points are written only by LoadCameraLibrary on the user-interface
// thread, before any capture thread is started, and read afterwards from both.
#pragma once

#include "camera/ZorcamApi.h"

#include <QString>

#include <cstdint>

// Loads the library and looks up the 21 entry points, in their fixed order.
void LoadCameraLibrary();

// The library's base name ("zorcam" when empty). Lets a test load a library that
// lacks entry points, or none at all.
void SetCameraLibraryNameForTesting(const QString& baseName);

// The user's choice of camera library (command line), before LoadCameraLibrary:
// a base name ("zorcam-indi", looked up like "zorcam") or the path of a file
// (anything with a folder separator; a relative path counts from the current folder).
void SetCameraLibraryOverride(const QString& nameOrPath);

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
