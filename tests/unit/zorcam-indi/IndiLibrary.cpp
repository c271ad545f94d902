#include "unit/zorcam-indi/IndiLibrary.h"

#include <QFile>

#include <mutex>

namespace {

std::mutex g_logMutex;
std::vector<std::string> g_log;

void CollectLog(int, const char* text) {
    std::lock_guard lock(g_logMutex);
    g_log.emplace_back(text);
}

} // namespace

IndiLibrary& IndiLibrary::Get() {
    static IndiLibrary lib = [] {
        IndiLibrary l;
        if (!l.Load("libzorcam-indi.so"))
            return l;
        l.Resolve("GetZORCAMImageScale", l.GetZORCAMImageScale);
        l.Resolve("ListZORCAMServerCameras", l.ListZORCAMServerCameras);
        l.Resolve("GetZORCAMSkyRegion", l.GetZORCAMSkyRegion);
        PFN_SetZORCAMLogCallback setLog = nullptr;
        if (l.Resolve("SetZORCAMLogCallback", setLog))
            setLog(&CollectLog);
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
