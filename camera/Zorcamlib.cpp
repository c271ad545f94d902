#include "camera/Zorcamlib.h"

// Placeholder until the library binding lands.
void LoadCameraLibrary() {}
int ZorcamStopLive(ZorcamHandle) { return -1; }
int ZorcamClose(ZorcamHandle) { return -1; }
int ZorcamReleaseResource() { return -1; }
