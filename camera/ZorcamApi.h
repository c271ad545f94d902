// The camera library's C interface: the 21 entry points, their argument lists and
// the control ids. Shared by the application's binding (Zorcamlib) and by the
// simulated camera library in zorcam-sim/.
//
// Every call returns 0 for success, except ScanZORCAM (number of cameras),
// OpenZORCAM (a handle, 0 = failed) and GetZORCAMLiveFrame (0 = a new frame was
// copied into the buffer, anything else = no new frame yet, which is no error).
#pragma once

#include <cstdint>

using ZorcamHandle = std::uint32_t;

// Control ids for SetZORCAMParam / GetZORCAMParam / IsZORCAMControlAvailable.
enum ZorcamControl : int {
    ZORCAM_CONTROL_GAIN = 6,
    ZORCAM_CONTROL_EXPOSURE = 8, // microseconds
    ZORCAM_CONTROL_SPEED = 9,
    ZORCAM_CONTROL_USB_TRAFFIC = 12,
};

enum ZorcamStreamMode : int { ZORCAM_STREAM_LIVE = 1 };

// Length of the id buffer handed to GetZORCAMId (zero-terminated text).
inline constexpr int ZORCAM_ID_LENGTH = 32;

extern "C" {
typedef int (*PFN_InitZORCAMResource)();
typedef int (*PFN_ReleaseZORCAMResource)();
typedef int (*PFN_ScanZORCAM)();
typedef int (*PFN_GetZORCAMId)(int index, char* id /* 32 bytes */);
typedef ZorcamHandle (*PFN_OpenZORCAM)(const char* id);
typedef int (*PFN_CloseZORCAM)(ZorcamHandle handle);
typedef int (*PFN_InitZORCAM)(ZorcamHandle handle);
typedef int (*PFN_SetZORCAMParam)(ZorcamHandle handle, int controlId, double value);
typedef int (*PFN_SetZORCAMBinMode)(ZorcamHandle handle, int binX, int binY);
typedef int (*PFN_GetZORCAMMemLength)(ZorcamHandle handle);
typedef int (*PFN_ExpZORCAMSingleFrame)(ZorcamHandle handle);
typedef int (*PFN_GetZORCAMSingleFrame)(ZorcamHandle handle, std::uint32_t* width,
                                        std::uint32_t* height, std::uint32_t* bpp,
                                        std::uint32_t* channels, unsigned char* buffer);
typedef int (*PFN_BeginZORCAMLive)(ZorcamHandle handle);
typedef int (*PFN_GetZORCAMLiveFrame)(ZorcamHandle handle, std::uint32_t* width,
                                      std::uint32_t* height, std::uint32_t* bpp,
                                      std::uint32_t* channels, unsigned char* buffer);
typedef int (*PFN_CancelZORCAMExposingAndReadout)(ZorcamHandle handle);
typedef int (*PFN_SetZORCAMStreamMode)(ZorcamHandle handle, int mode);
typedef int (*PFN_SetZORCAMResolution)(ZorcamHandle handle, int x, int y, int width, int height);
typedef int (*PFN_StopZORCAMLive)(ZorcamHandle handle);
typedef int (*PFN_IsZORCAMControlAvailable)(ZorcamHandle handle, int controlId);
typedef int (*PFN_GetZORCAMChipInfo)(ZorcamHandle handle, double* chipWidthMm, double* chipHeightMm,
                                     int* imageWidth, int* imageHeight, double* pixelSizeUm,
                                     int* maxBpp, int* isColor);
typedef double (*PFN_GetZORCAMParam)(ZorcamHandle handle, int controlId);
}

// Calls beyond the 21 entry points that a camera library may offer; the program
// looks them up without complaint when they are missing.
extern "C" {
// level: 0 information, 1 warning, 2 error.
typedef void (*ZorcamLogCallback)(int level, const char* text);
// Hands the library a sink for its log lines (called from any of its threads).
typedef int (*PFN_SetZORCAMLogCallback)(ZorcamLogCallback callback);
// The open camera's image scale: the sensor's own and the one of the delivered
// frames, arcseconds per pixel, 0 when unknown. 0 = answered.
typedef int (*PFN_GetZORCAMImageScale)(ZorcamHandle handle, double* nativeArcsecPerPixel,
                                       double* deliveredArcsecPerPixel);
// The cameras a server offers, names separated by '\n' in `names` (size bytes);
// returns their number, -1 when the server cannot be reached.
typedef int (*PFN_ListZORCAMServerCameras)(const char* host, int port, int timeoutMs, char* names,
                                           int size);
// The open camera's own gain as its driver reports it, the driver's range for it,
// and where the driver keeps it ("CCD_GAIN.GAIN", in `where`, size bytes).
// 0 = answered; non-zero when the camera has no gain control.
// The part of the delivered frames that holds sky (a smaller sensor is centred on
// black), frame pixels. 0 = answered.
typedef int (*PFN_GetZORCAMSkyRegion)(ZorcamHandle handle, int* x, int* y, int* width, int* height);
typedef int (*PFN_GetZORCAMDeviceGain)(ZorcamHandle handle, double* value, double* min, double* max,
                                       char* where, int size);
}
