// The camera library's exported entry points (plain C names) and the ground-truth
// calls; each forwards to the one Simulator of the process.
#include "camera/ZorcamApi.h"
#include "zorcam-sim/Simulator.h"
#include "zorcam-sim/ZorcamSimTruth.h"

#include <cstring>

#define ZORCAM_EXPORT extern "C" __attribute__((visibility("default")))

using zorcamsim::Simulator;

namespace {
Simulator& Sim() {
    return Simulator::Instance();
}
} // namespace

ZORCAM_EXPORT int InitZORCAMResource() {
    return Sim().InitResource();
}
ZORCAM_EXPORT int ReleaseZORCAMResource() {
    return Sim().ReleaseResource();
}
ZORCAM_EXPORT int ScanZORCAM() {
    return Sim().Scan();
}
ZORCAM_EXPORT int GetZORCAMId(int index, char* id) {
    return Sim().GetId(index, id);
}
ZORCAM_EXPORT ZorcamHandle OpenZORCAM(const char* id) {
    return Sim().Open(id);
}
ZORCAM_EXPORT int CloseZORCAM(ZorcamHandle handle) {
    return Sim().Close(handle);
}
ZORCAM_EXPORT int InitZORCAM(ZorcamHandle handle) {
    return Sim().Init(handle);
}

ZORCAM_EXPORT int SetZORCAMParam(ZorcamHandle handle, int controlId, double value) {
    return Sim().SetParam(handle, controlId, value);
}

ZORCAM_EXPORT int SetZORCAMBinMode(ZorcamHandle handle, int binX, int binY) {
    return Sim().SetBinMode(handle, binX, binY);
}

ZORCAM_EXPORT int GetZORCAMMemLength(ZorcamHandle handle) {
    return Sim().GetMemLength(handle);
}
ZORCAM_EXPORT int ExpZORCAMSingleFrame(ZorcamHandle handle) {
    return Sim().ExpSingleFrame(handle);
}

ZORCAM_EXPORT int GetZORCAMSingleFrame(ZorcamHandle handle, std::uint32_t* width,
                                       std::uint32_t* height, std::uint32_t* bpp,
                                       std::uint32_t* channels, unsigned char* buffer) {
    return Sim().GetSingleFrame(handle, width, height, bpp, channels, buffer);
}

ZORCAM_EXPORT int BeginZORCAMLive(ZorcamHandle handle) {
    return Sim().BeginLive(handle);
}

ZORCAM_EXPORT int GetZORCAMLiveFrame(ZorcamHandle handle, std::uint32_t* width,
                                     std::uint32_t* height, std::uint32_t* bpp,
                                     std::uint32_t* channels, unsigned char* buffer) {
    return Sim().GetLiveFrame(handle, width, height, bpp, channels, buffer);
}

ZORCAM_EXPORT int CancelZORCAMExposingAndReadout(ZorcamHandle handle) {
    return Sim().Cancel(handle);
}

ZORCAM_EXPORT int SetZORCAMStreamMode(ZorcamHandle handle, int mode) {
    return Sim().SetStreamMode(handle, mode);
}

ZORCAM_EXPORT int SetZORCAMResolution(ZorcamHandle handle, int x, int y, int width, int height) {
    return Sim().SetResolution(handle, x, y, width, height);
}

ZORCAM_EXPORT int StopZORCAMLive(ZorcamHandle handle) {
    return Sim().StopLive(handle);
}

ZORCAM_EXPORT int IsZORCAMControlAvailable(ZorcamHandle handle, int controlId) {
    return Sim().IsControlAvailable(handle, controlId);
}

ZORCAM_EXPORT int GetZORCAMChipInfo(ZorcamHandle handle, double* chipWidthMm, double* chipHeightMm,
                                    int* imageWidth, int* imageHeight, double* pixelSizeUm,
                                    int* maxBpp, int* isColor) {
    return Sim().GetChipInfo(handle, chipWidthMm, chipHeightMm, imageWidth, imageHeight,
                             pixelSizeUm, maxBpp, isColor);
}

ZORCAM_EXPORT double GetZORCAMParam(ZorcamHandle handle, int controlId) {
    return Sim().GetParam(handle, controlId);
}

ZORCAM_EXPORT int ZorcamSimGetTruth(ZorcamSimTruth* out) {
    return Sim().GetTruth(out);
}
ZORCAM_EXPORT int ZorcamSimGetStars(ZorcamSimStar* out, int capacity) {
    return Sim().GetStars(out, capacity);
}
ZORCAM_EXPORT int ZorcamSimReloadConfig(void) {
    return Sim().ReloadConfig();
}

ZORCAM_EXPORT int ZorcamSimUseClock(double (*seconds)(void* context), void* context) {
    return Sim().UseClock(seconds, context);
}

ZORCAM_EXPORT int ZorcamSimConfigPath(char* buf, int size) {
    const std::string path = Sim().ConfigPath();
    if (buf && size > 0) {
        const std::size_t n =
            std::min<std::size_t>(path.size(), static_cast<std::size_t>(size) - 1);
        std::memcpy(buf, path.data(), n);
        buf[n] = 0;
    }
    return static_cast<int>(path.size());
}
