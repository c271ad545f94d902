#include "unit/zorcam-indi/IndiLibrary.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <dlfcn.h>
#include <mutex>

namespace {

std::mutex g_logMutex;
std::vector<std::string> g_log;

void CollectLog(int, const char* text) {
    std::lock_guard lock(g_logMutex);
    g_log.emplace_back(text);
}

template <typename Fn> void Resolve(void* lib, const char* name, Fn& out, int* count) {
    out = reinterpret_cast<Fn>(dlsym(lib, name));
    if (out && count)
        ++*count;
}

} // namespace

IndiLibrary& IndiLibrary::Get() {
    static IndiLibrary lib = [] {
        IndiLibrary l;
        const QByteArray path = qgetenv("ZW_TEST_BIN_DIR") + "/libzorcam-indi.so";
        void* h = dlopen(path.constData(), RTLD_NOW);
        if (!h) {
            l.error = dlerror();
            return l;
        }
        static const char* const kAll[] = {"InitZORCAMResource",
                                           "ReleaseZORCAMResource",
                                           "ScanZORCAM",
                                           "GetZORCAMId",
                                           "OpenZORCAM",
                                           "CloseZORCAM",
                                           "InitZORCAM",
                                           "SetZORCAMParam",
                                           "SetZORCAMBinMode",
                                           "GetZORCAMMemLength",
                                           "ExpZORCAMSingleFrame",
                                           "GetZORCAMSingleFrame",
                                           "BeginZORCAMLive",
                                           "GetZORCAMLiveFrame",
                                           "CancelZORCAMExposingAndReadout",
                                           "SetZORCAMStreamMode",
                                           "SetZORCAMResolution",
                                           "StopZORCAMLive",
                                           "IsZORCAMControlAvailable",
                                           "GetZORCAMChipInfo",
                                           "GetZORCAMParam"};
        for (const char* name : kAll)
            l.entryPoints += dlsym(h, name) ? 1 : 0;
        Resolve(h, "InitZORCAMResource", l.InitZORCAMResource, nullptr);
        Resolve(h, "ReleaseZORCAMResource", l.ReleaseZORCAMResource, nullptr);
        Resolve(h, "ScanZORCAM", l.ScanZORCAM, nullptr);
        Resolve(h, "GetZORCAMId", l.GetZORCAMId, nullptr);
        Resolve(h, "OpenZORCAM", l.OpenZORCAM, nullptr);
        Resolve(h, "CloseZORCAM", l.CloseZORCAM, nullptr);
        Resolve(h, "InitZORCAM", l.InitZORCAM, nullptr);
        Resolve(h, "SetZORCAMParam", l.SetZORCAMParam, nullptr);
        Resolve(h, "SetZORCAMBinMode", l.SetZORCAMBinMode, nullptr);
        Resolve(h, "BeginZORCAMLive", l.BeginZORCAMLive, nullptr);
        Resolve(h, "GetZORCAMLiveFrame", l.GetZORCAMLiveFrame, nullptr);
        Resolve(h, "SetZORCAMStreamMode", l.SetZORCAMStreamMode, nullptr);
        Resolve(h, "SetZORCAMResolution", l.SetZORCAMResolution, nullptr);
        Resolve(h, "StopZORCAMLive", l.StopZORCAMLive, nullptr);
        Resolve(h, "GetZORCAMParam", l.GetZORCAMParam, nullptr);
        Resolve(h, "GetZORCAMImageScale", l.GetZORCAMImageScale, nullptr);
        Resolve(h, "ListZORCAMServerCameras", l.ListZORCAMServerCameras, nullptr);
        Resolve(h, "GetZORCAMSkyRegion", l.GetZORCAMSkyRegion, nullptr);
        PFN_SetZORCAMLogCallback setLog = nullptr;
        Resolve(h, "SetZORCAMLogCallback", setLog, nullptr);
        if (setLog)
            setLog(&CollectLog);
        l.loaded =
            l.entryPoints == 21 && setLog && l.GetZORCAMImageScale && l.ListZORCAMServerCameras;
        return l;
    }();
    return lib;
}

void IndiLibrary::Configure(int port, const QString& device, double focalLengthMm,
                            const QString& extra) {
    const QString path = dir_.filePath(QStringLiteral("camera.ini"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        f.write(QStringLiteral("[CAMERA]\nindiHost=localhost\nindiPort=%1\nindiDevice=%2\n"
                               "focalLengthMm=%3\n%4")
                    .arg(port)
                    .arg(device)
                    .arg(focalLengthMm)
                    .arg(extra)
                    .toUtf8());
    }
    qputenv("ZORCAM_INDI_CONFIG", path.toLocal8Bit());
}

ZorcamHandle IndiLibrary::Connect(double exposureUs, int gain, int binning) {
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

void IndiLibrary::Disconnect(ZorcamHandle h) {
    if (!loaded)
        return;
    StopZORCAMLive(h);
    CloseZORCAM(h);
    ReleaseZORCAMResource();
}

std::vector<unsigned char> IndiLibrary::NextFrame(ZorcamHandle h, int timeoutMs) {
    std::vector<unsigned char> buffer(1280 * 960 * 3);
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        std::uint32_t w = 0, ht = 0, bpp = 0, ch = 0;
        if (GetZORCAMLiveFrame(h, &w, &ht, &bpp, &ch, buffer.data()) == 0) {
            if (w != 1280 || ht != 960 || bpp != 8 || ch != 1)
                return {};
            buffer.resize(1280 * 960);
            return buffer;
        }
        QThread::msleep(10);
    }
    return {};
}

std::vector<std::string> IndiLibrary::LogLines() {
    std::lock_guard lock(g_logMutex);
    return g_log;
}

bool IndiLibrary::Logged(const std::string& part) {
    std::lock_guard lock(g_logMutex);
    for (const auto& line : g_log)
        if (line.find(part) != std::string::npos)
            return true;
    return false;
}

void IndiLibrary::ClearLog() {
    std::lock_guard lock(g_logMutex);
    g_log.clear();
}
