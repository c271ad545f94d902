#include "camera/Zorcamlib.h"

#include "app/Mystructs.h"
#include "core/Log.h"
#include "dialogs/MessageBoxes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLibrary>

namespace {

struct EntryPoint {
    const char* name;
    int argumentBytes; // for the decorated names of 32-bit Windows builds
};

// Lookup order of the library's entry points.
constexpr EntryPoint kEntryPoints[kZorcamEntryPointCount] = {
    {"InitZORCAMResource", 0},
    {"ReleaseZORCAMResource", 0},
    {"ScanZORCAM", 0},
    {"GetZORCAMId", 8},
    {"OpenZORCAM", 4},
    {"CloseZORCAM", 4},
    {"InitZORCAM", 4},
    {"SetZORCAMParam", 16},
    {"SetZORCAMBinMode", 12},
    {"GetZORCAMMemLength", 4},
    {"ExpZORCAMSingleFrame", 4},
    {"GetZORCAMSingleFrame", 24},
    {"BeginZORCAMLive", 4},
    {"GetZORCAMLiveFrame", 24},
    {"CancelZORCAMExposingAndReadout", 4},
    {"SetZORCAMStreamMode", 8},
    {"SetZORCAMResolution", 20},
    {"StopZORCAMLive", 4},
    {"IsZORCAMControlAvailable", 8},
    {"GetZORCAMChipInfo", 32},
    {"GetZORCAMParam", 8},
};

enum Index {
    kInitResource,
    kReleaseResource,
    kScan,
    kGetId,
    kOpen,
    kClose,
    kInit,
    kSetParam,
    kSetBinMode,
    kGetMemLength,
    kExpSingleFrame,
    kGetSingleFrame,
    kBeginLive,
    kGetLiveFrame,
    kCancel,
    kSetStreamMode,
    kSetResolution,
    kStopLive,
    kIsControlAvailable,
    kGetChipInfo,
    kGetParam,
};

QFunctionPointer g_entry[kZorcamEntryPointCount] = {};
QString g_libraryBaseName;
QString g_libraryOverride;
QString g_libraryChosen;
QString g_libraryLoaded;
QString g_libraryRequested; // the override's or settings' choice at the last load
PFN_GetZORCAMImageScale g_imageScale = nullptr;
PFN_GetZORCAMDeviceGain g_deviceGain = nullptr;
PFN_GetZORCAMSkyRegion g_skyRegion = nullptr;
// Every library loaded in this run, by the name it was asked for; never unloaded.
QHash<QString, QLibrary*> g_libraries;

// The library's log lines go into the program's log.
void LibraryLog(int level, const char* text) {
    const QString word = level >= 2   ? QStringLiteral("Error")
                         : level == 1 ? QStringLiteral("Warnning")
                                      : QStringLiteral("Info");
    WriteLog(word, QString::fromUtf8(text ? text : ""));
}

template <typename Fn> Fn Entry(Index index) {
    return reinterpret_cast<Fn>(g_entry[index]);
}

QByteArray SymbolName(const EntryPoint& e) {
#if defined(_WIN32) && !defined(_WIN64)
    return "_" + QByteArray(e.name) + "@" + QByteArray::number(e.argumentBytes);
#else
    return QByteArray(e.name);
#endif
}

// Where an installed program keeps its camera libraries, from its own folder
// (the build names the folder it installs them in).
#ifndef ZW_CAMERA_LIBRARY_DIR
#define ZW_CAMERA_LIBRARY_DIR "../lib/zenithwand"
#endif

// A path is taken as it is. A name is looked for beside the program first, then
// where an installed program keeps it (<prefix>/lib/<multiarch>/zenithwand), then
// through the system's search. A library loaded before is reused.
QLibrary* OpenLibrary(const QString& baseName) {
    if (QLibrary* known = g_libraries.value(baseName))
        return known;
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QStringList candidates =
        baseName.contains(QLatin1Char('/'))
            ? QStringList{baseName}
            : QStringList{programDir.filePath(baseName),
                          programDir.filePath(QStringLiteral(ZW_CAMERA_LIBRARY_DIR "/") + baseName),
                          baseName};
    for (const QString& candidate : candidates) {
        auto* lib = new QLibrary(candidate);
        if (lib->load()) {
            g_libraries.insert(baseName, lib);
            return lib;
        }
        delete lib;
    }
    return nullptr;
}

} // namespace

void SetCameraLibraryNameForTesting(const QString& baseName) {
    g_libraryBaseName = baseName;
}

QString CameraLibraryFileName(const QString& nameOrPath) {
    const QString name = nameOrPath.trimmed();
    if (name.compare(QLatin1String("sim"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("zorcam");
    if (name.compare(QLatin1String("indi"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("zorcam-indi");
    return name;
}

void SetCameraLibraryOverride(const QString& nameOrPath) {
    // A relative path counts from the current folder, not from the program's.
    const QString name = CameraLibraryFileName(nameOrPath);
    const bool isPath = name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'));
    g_libraryOverride = isPath ? QFileInfo(name).absoluteFilePath() : name;
}

void SetChosenCameraLibrary(const QString& nameOrPath) {
    g_libraryChosen = CameraLibraryFileName(nameOrPath);
}

namespace {
QString RequestedCameraLibrary() {
    for (const QString* name : {&g_libraryOverride, &g_libraryChosen})
        if (!name->isEmpty())
            return *name;
    return QStringLiteral("zorcam");
}
} // namespace

QString WantedCameraLibrary() {
    if (g_libraryOverride.isEmpty() && !g_libraryBaseName.isEmpty())
        return g_libraryBaseName;
    return RequestedCameraLibrary();
}

bool CameraLibraryChoiceChanged() {
    return RequestedCameraLibrary() != g_libraryRequested;
}

QString LoadedCameraLibrary() {
    return g_libraryLoaded;
}

const char* ZorcamEntryPointName(int index) {
    return index >= 0 && index < kZorcamEntryPointCount ? kEntryPoints[index].name : "";
}

bool ZorcamEntryPointFound(int index) {
    return index >= 0 && index < kZorcamEntryPointCount && g_entry[index] != nullptr;
}

void LoadCameraLibrary() {
    for (QFunctionPointer& p : g_entry)
        p = nullptr;
    g_imageScale = nullptr;
    // The libraries stay mapped and are kept in g_libraries.
    g_cameraLibrary = nullptr;

    const QString baseName = WantedCameraLibrary();
    g_libraryLoaded = baseName;
    g_libraryRequested = RequestedCameraLibrary();
    g_cameraLibrary = OpenLibrary(baseName);
    if (!g_cameraLibrary) {
        ShowMessage(QStringLiteral("加载zorcam.dll失败"));
        return;
    }
    if (auto setLog = reinterpret_cast<PFN_SetZORCAMLogCallback>(
            g_cameraLibrary->resolve("SetZORCAMLogCallback")))
        setLog(&LibraryLog);
    g_imageScale =
        reinterpret_cast<PFN_GetZORCAMImageScale>(g_cameraLibrary->resolve("GetZORCAMImageScale"));
    g_skyRegion =
        reinterpret_cast<PFN_GetZORCAMSkyRegion>(g_cameraLibrary->resolve("GetZORCAMSkyRegion"));
    g_deviceGain =
        reinterpret_cast<PFN_GetZORCAMDeviceGain>(g_cameraLibrary->resolve("GetZORCAMDeviceGain"));
    for (int i = 0; i < kZorcamEntryPointCount; ++i) {
        g_entry[i] = g_cameraLibrary->resolve(SymbolName(kEntryPoints[i]).constData());
        if (!g_entry[i])
            ShowMessage(QStringLiteral("获取") + QLatin1String(kEntryPoints[i].name) +
                        QStringLiteral("函数地址失败"));
    }
}

int ZorcamInitResource() {
    auto f = Entry<PFN_InitZORCAMResource>(kInitResource);
    return f ? f() : -1;
}

int ZorcamReleaseResource() {
    auto f = Entry<PFN_ReleaseZORCAMResource>(kReleaseResource);
    return f ? f() : -1;
}

int ZorcamScan() {
    auto f = Entry<PFN_ScanZORCAM>(kScan);
    return f ? f() : 0;
}

int ZorcamGetId(int index, char* id) {
    auto f = Entry<PFN_GetZORCAMId>(kGetId);
    return f ? f(index, id) : -1;
}

ZorcamHandle ZorcamOpen(const char* id) {
    auto f = Entry<PFN_OpenZORCAM>(kOpen);
    return f ? f(id) : 0;
}

int ZorcamClose(ZorcamHandle handle) {
    auto f = Entry<PFN_CloseZORCAM>(kClose);
    return f ? f(handle) : -1;
}

int ZorcamInit(ZorcamHandle handle) {
    auto f = Entry<PFN_InitZORCAM>(kInit);
    return f ? f(handle) : -1;
}

int ZorcamSetParam(ZorcamHandle handle, int controlId, double value) {
    auto f = Entry<PFN_SetZORCAMParam>(kSetParam);
    return f ? f(handle, controlId, value) : -1;
}

int ZorcamBeginLive(ZorcamHandle handle) {
    auto f = Entry<PFN_BeginZORCAMLive>(kBeginLive);
    return f ? f(handle) : -1;
}

int ZorcamGetLiveFrame(ZorcamHandle handle, std::uint32_t* width, std::uint32_t* height,
                       std::uint32_t* bpp, std::uint32_t* channels, unsigned char* buffer) {
    auto f = Entry<PFN_GetZORCAMLiveFrame>(kGetLiveFrame);
    return f ? f(handle, width, height, bpp, channels, buffer) : -1;
}

int ZorcamSetStreamMode(ZorcamHandle handle, int mode) {
    auto f = Entry<PFN_SetZORCAMStreamMode>(kSetStreamMode);
    return f ? f(handle, mode) : -1;
}

int ZorcamSetResolution(ZorcamHandle handle, int x, int y, int width, int height) {
    auto f = Entry<PFN_SetZORCAMResolution>(kSetResolution);
    return f ? f(handle, x, y, width, height) : -1;
}

int ZorcamStopLive(ZorcamHandle handle) {
    auto f = Entry<PFN_StopZORCAMLive>(kStopLive);
    return f ? f(handle) : -1;
}

bool ZorcamGetImageScale(ZorcamHandle handle, double* nativeArcsecPerPixel,
                         double* deliveredArcsecPerPixel) {
    return g_imageScale && g_imageScale(handle, nativeArcsecPerPixel, deliveredArcsecPerPixel) == 0;
}

bool ZorcamGetSkyRegion(ZorcamHandle handle, int* x, int* y, int* width, int* height) {
    return g_skyRegion && g_skyRegion(handle, x, y, width, height) == 0;
}

bool ZorcamGetDeviceGain(ZorcamHandle handle, double* value, double* min, double* max,
                         QString* where) {
    char text[128] = {};
    if (!g_deviceGain || g_deviceGain(handle, value, min, max, text, sizeof text) != 0)
        return false;
    if (where)
        *where = QString::fromUtf8(text);
    return true;
}

PFN_ListZORCAMServerCameras ZorcamServerCameraLister() {
    QLibrary* lib = OpenLibrary(CameraLibraryFileName(QStringLiteral("indi")));
    return lib ? reinterpret_cast<PFN_ListZORCAMServerCameras>(
                     lib->resolve("ListZORCAMServerCameras"))
               : nullptr;
}

int ZorcamListServerCameras(PFN_ListZORCAMServerCameras lister, const QString& host, int port,
                            int timeoutMs, QStringList& names) {
    names.clear();
    if (!lister)
        return -1;
    QByteArray buffer(8192, 0);
    const int n = lister(host.toUtf8().constData(), port, timeoutMs, buffer.data(),
                         static_cast<int>(buffer.size()));
    const QString text = QString::fromUtf8(buffer.constData());
    for (const QString& name : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        names.append(name);
    return n;
}
