// The camera library's exported entry points (plain C names), each forwarding to
// the one IndiCamera of the process, and three calls beyond the camera interface
// that the program uses when a library offers them: a log sink, the image scale,
// and the list of a server's cameras for the camera chooser.
#include "camera/ZorcamApi.h"
#include "zorcam-indi/IndiCamera.h"

#include <cstring>
#include <string>
#include <vector>

#define ZORCAM_EXPORT extern "C" __attribute__((visibility("default")))

using zorcamindi::IndiCamera;

namespace {
IndiCamera& Cam() {
    return IndiCamera::Instance();
}
} // namespace

ZORCAM_EXPORT int InitZORCAMResource() {
    return Cam().InitResource();
}
ZORCAM_EXPORT int ReleaseZORCAMResource() {
    return Cam().ReleaseResource();
}
ZORCAM_EXPORT int ScanZORCAM() {
    return Cam().Scan();
}
ZORCAM_EXPORT int GetZORCAMId(int index, char* id) {
    return Cam().GetId(index, id);
}
ZORCAM_EXPORT ZorcamHandle OpenZORCAM(const char* id) {
    return Cam().Open(id);
}
ZORCAM_EXPORT int CloseZORCAM(ZorcamHandle handle) {
    return Cam().Close(handle);
}
ZORCAM_EXPORT int InitZORCAM(ZorcamHandle handle) {
    return Cam().Init(handle);
}
ZORCAM_EXPORT int SetZORCAMParam(ZorcamHandle handle, int controlId, double value) {
    return Cam().SetParam(handle, controlId, value);
}
ZORCAM_EXPORT int SetZORCAMBinMode(ZorcamHandle handle, int binX, int binY) {
    return Cam().SetBinMode(handle, binX, binY);
}
ZORCAM_EXPORT int GetZORCAMMemLength(ZorcamHandle handle) {
    return Cam().GetMemLength(handle);
}
// Single frames are not offered: the program streams.
ZORCAM_EXPORT int ExpZORCAMSingleFrame(ZorcamHandle) {
    return -1;
}
ZORCAM_EXPORT int GetZORCAMSingleFrame(ZorcamHandle, std::uint32_t*, std::uint32_t*, std::uint32_t*,
                                       std::uint32_t*, unsigned char*) {
    return -1;
}
ZORCAM_EXPORT int BeginZORCAMLive(ZorcamHandle handle) {
    return Cam().BeginLive(handle);
}
ZORCAM_EXPORT int GetZORCAMLiveFrame(ZorcamHandle handle, std::uint32_t* width,
                                     std::uint32_t* height, std::uint32_t* bpp,
                                     std::uint32_t* channels, unsigned char* buffer) {
    return Cam().GetLiveFrame(handle, width, height, bpp, channels, buffer);
}
ZORCAM_EXPORT int CancelZORCAMExposingAndReadout(ZorcamHandle handle) {
    return Cam().Cancel(handle);
}
ZORCAM_EXPORT int SetZORCAMStreamMode(ZorcamHandle handle, int mode) {
    return Cam().SetStreamMode(handle, mode);
}
ZORCAM_EXPORT int SetZORCAMResolution(ZorcamHandle handle, int x, int y, int width, int height) {
    return Cam().SetResolution(handle, x, y, width, height);
}
ZORCAM_EXPORT int StopZORCAMLive(ZorcamHandle handle) {
    return Cam().StopLive(handle);
}
ZORCAM_EXPORT int IsZORCAMControlAvailable(ZorcamHandle handle, int controlId) {
    return Cam().IsControlAvailable(handle, controlId);
}
ZORCAM_EXPORT int GetZORCAMChipInfo(ZorcamHandle handle, double* chipWidthMm, double* chipHeightMm,
                                    int* imageWidth, int* imageHeight, double* pixelSizeUm,
                                    int* maxBpp, int* isColor) {
    return Cam().GetChipInfo(handle, chipWidthMm, chipHeightMm, imageWidth, imageHeight,
                             pixelSizeUm, maxBpp, isColor);
}
ZORCAM_EXPORT double GetZORCAMParam(ZorcamHandle handle, int controlId) {
    return Cam().GetParam(handle, controlId);
}

ZORCAM_EXPORT int SetZORCAMLogCallback(ZorcamLogCallback callback) {
    IndiCamera::SetLogCallback(callback);
    return 0;
}
ZORCAM_EXPORT int GetZORCAMImageScale(ZorcamHandle handle, double* nativeArcsecPerPixel,
                                      double* deliveredArcsecPerPixel) {
    return Cam().GetImageScale(handle, nativeArcsecPerPixel, deliveredArcsecPerPixel);
}
ZORCAM_EXPORT int GetZORCAMSkyRegion(ZorcamHandle handle, int* x, int* y, int* width, int* height) {
    return Cam().GetSkyRegion(handle, x, y, width, height);
}
ZORCAM_EXPORT int GetZORCAMDeviceGain(ZorcamHandle handle, double* value, double* min, double* max,
                                      char* where, int size) {
    std::string place;
    const int status = Cam().GetDeviceGain(handle, value, min, max, place);
    if (where && size > 0) {
        const std::size_t k =
            std::min<std::size_t>(place.size(), static_cast<std::size_t>(size) - 1);
        std::memcpy(where, place.data(), k);
        where[k] = 0;
    }
    return status;
}
ZORCAM_EXPORT int ListZORCAMServerCameras(const char* host, int port, int timeoutMs, char* names,
                                          int size) {
    std::vector<std::string> list;
    const int n = IndiCamera::ListDevices(host ? host : "localhost", port, timeoutMs, list);
    std::string joined;
    for (const auto& name : list)
        joined += name + "\n";
    if (names && size > 0) {
        const std::size_t k =
            std::min<std::size_t>(joined.size(), static_cast<std::size_t>(size) - 1);
        std::memcpy(names, joined.data(), k);
        names[k] = 0;
    }
    return n;
}
