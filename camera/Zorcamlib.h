// The binding to the camera library: loaded by name at start-up, its entry points
// looked up one by one. A missing entry point is reported once and afterwards
// answers every call with a failure, so callers neither crash nor block.
#pragma once

#include "camera/ZorcamApi.h"

// Loads the library and looks up the 21 entry points (message boxes for what is missing).
void LoadCameraLibrary();

// Calls through the looked-up entry points; each returns a failure when the entry
// point is missing (-1, or 0 for the handle/count).
int ZorcamStopLive(ZorcamHandle handle);
int ZorcamClose(ZorcamHandle handle);
int ZorcamReleaseResource();
