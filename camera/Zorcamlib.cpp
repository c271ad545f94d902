#include "camera/Zorcamlib.h"

#include "app/Mystructs.h"
#include "dialogs/MessageBoxes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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

// Beside the program first, then where an installed program keeps it
// (<prefix>/lib/<multiarch>/zenithwand), then by plain name through the system's search.
QLibrary* OpenLibrary(const QString& baseName) {
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QStringList candidates = {
        programDir.filePath(baseName),
        programDir.filePath(QStringLiteral(ZW_CAMERA_LIBRARY_DIR "/") + baseName), baseName};
    for (const QString& candidate : candidates) {
        auto* lib = new QLibrary(candidate);
        if (lib->load())
            return lib;
        delete lib;
    }
    return nullptr;
}

} // namespace

void SetCameraLibraryNameForTesting(const QString& baseName) {
    g_libraryBaseName = baseName;
}

void SetCameraLibraryOverride(const QString& nameOrPath) {
    const bool isPath =
        nameOrPath.contains(QLatin1Char('/')) || nameOrPath.contains(QLatin1Char('\\'));
    g_libraryBaseName = isPath ? QFileInfo(nameOrPath).absoluteFilePath() : nameOrPath;
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
    if (g_cameraLibrary) {
        // Loaded again (a new main window in the same process): the old handle
        // goes, the library itself stays mapped (QLibrary never unloads by itself).
        delete g_cameraLibrary;
        g_cameraLibrary = nullptr;
    }

    const QString baseName =
        g_libraryBaseName.isEmpty() ? QStringLiteral("zorcam") : g_libraryBaseName;
    g_cameraLibrary = OpenLibrary(baseName);
    if (!g_cameraLibrary) {
        ShowMessage(QStringLiteral("加载zorcam.dll失败"));
        return;
    }
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
