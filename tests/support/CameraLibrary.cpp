#include "support/CameraLibrary.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <cstdlib>

#include <dlfcn.h>

std::string CameraLibrary::BinDir() {
    if (const char* dir = std::getenv("ZW_TEST_BIN_DIR"); dir && *dir)
        return dir;
    return QCoreApplication::applicationDirPath().toStdString();
}

void* CameraLibrary::Symbol(const char* name) {
    void* fn = handle_ ? dlsym(handle_, name) : nullptr;
    if (!fn) {
        loaded = false;
        error += std::string("missing ") + name + "; ";
    }
    return fn;
}

bool CameraLibrary::Load(const std::string& file) {
    const std::string path = BinDir() + "/" + file;
    handle_ = dlopen(path.c_str(), RTLD_NOW);
    if (!handle_) {
        const char* why = dlerror();
        error = why ? why : "cannot load " + path;
        return loaded = false;
    }
    loaded = true;
    Resolve("InitZORCAMResource", InitZORCAMResource);
    Resolve("ReleaseZORCAMResource", ReleaseZORCAMResource);
    Resolve("ScanZORCAM", ScanZORCAM);
    Resolve("GetZORCAMId", GetZORCAMId);
    Resolve("OpenZORCAM", OpenZORCAM);
    Resolve("CloseZORCAM", CloseZORCAM);
    Resolve("InitZORCAM", InitZORCAM);
    Resolve("SetZORCAMParam", SetZORCAMParam);
    Resolve("SetZORCAMBinMode", SetZORCAMBinMode);
    Resolve("GetZORCAMMemLength", GetZORCAMMemLength);
    Resolve("ExpZORCAMSingleFrame", ExpZORCAMSingleFrame);
    Resolve("GetZORCAMSingleFrame", GetZORCAMSingleFrame);
    Resolve("BeginZORCAMLive", BeginZORCAMLive);
    Resolve("GetZORCAMLiveFrame", GetZORCAMLiveFrame);
    Resolve("CancelZORCAMExposingAndReadout", CancelZORCAMExposingAndReadout);
    Resolve("SetZORCAMStreamMode", SetZORCAMStreamMode);
    Resolve("SetZORCAMResolution", SetZORCAMResolution);
    Resolve("StopZORCAMLive", StopZORCAMLive);
    Resolve("IsZORCAMControlAvailable", IsZORCAMControlAvailable);
    Resolve("GetZORCAMChipInfo", GetZORCAMChipInfo);
    Resolve("GetZORCAMParam", GetZORCAMParam);
    return loaded;
}

ZorcamHandle CameraLibrary::Connect(double exposureUs, int gain, int binning) {
    if (!loaded || InitZORCAMResource() != 0 || ScanZORCAM() < 1)
        return 0;
    char id[ZORCAM_ID_LENGTH] = {};
    if (GetZORCAMId(0, id) != 0)
        return 0;
    const ZorcamHandle h = OpenZORCAM(id);
    if (h == 0 || SetZORCAMStreamMode(h, ZORCAM_STREAM_LIVE) != 0 || InitZORCAM(h) != 0 ||
        SetZORCAMResolution(h, 0, 0, 1280, 960) != 0 ||
        SetZORCAMParam(h, ZORCAM_CONTROL_EXPOSURE, exposureUs) != 0 ||
        SetZORCAMParam(h, ZORCAM_CONTROL_GAIN, gain) != 0 ||
        SetZORCAMBinMode(h, binning, binning) != 0 || BeginZORCAMLive(h) != 0)
        return 0;
    return h;
}

void CameraLibrary::Disconnect(ZorcamHandle h) {
    if (!loaded)
        return;
    StopZORCAMLive(h);
    CloseZORCAM(h);
    ReleaseZORCAMResource();
}

std::vector<unsigned char> CameraLibrary::NextFrame(ZorcamHandle h, int timeoutMs) {
    std::vector<unsigned char> buffer(1280 * 960 * 3);
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        std::uint32_t w = 0, ht = 0, bpp = 0, ch = 0;
        if (GetZORCAMLiveFrame(h, &w, &ht, &bpp, &ch, buffer.data()) == 0) {
            if (bpp != 8 || ch != 1 || std::size_t(w) * ht > buffer.size())
                return {};
            buffer.resize(std::size_t(w) * ht);
            return buffer;
        }
        QThread::msleep(2);
    }
    return {};
}
