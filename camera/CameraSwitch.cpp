#include "camera/CameraSwitch.h"

#include "app/AppPaths.h"
#include "app/Mystructs.h"
#include "camera/CameraChoice.h"
#include "camera/CaptureControl.h"
#include "camera/Zorcamlib.h"
#include "core/Log.h"
#include "dialogs/MessageBoxes.h"

#include <QDir>

#include <cmath>

namespace {

constexpr const char* kConfigVariable = "ZORCAM_INDI_CONFIG";

// The choice the camera in use was opened with.
struct Applied {
    bool valid = false;
    CameraChoice choice;
};
Applied& AppliedChoice() {
    static Applied applied;
    return applied;
}

// True when something outside the program named the INDI library's file.
bool ConfigFromEnvironment() {
    static const bool outside = !qEnvironmentVariableIsEmpty(kConfigVariable);
    return outside;
}

void ReleaseCameraInUse() {
    if (g_displayThread)
        RequestCaptureStopAndWait();
    if (g_cameraResourceReady) {
        if (g_cameraHandle != 0) {
            ZorcamStopLive(g_cameraHandle);
            ZorcamClose(g_cameraHandle);
        }
        ZorcamReleaseResource();
    }
    g_cameraOpen = false;
    g_cameraHandle = 0;
    g_cameraResourceReady = false;
}

} // namespace

void PrepareCameraForConnect() {
    const QString settings = SettingsFilePath();
    const CameraChoice choice = LoadCameraChoice(settings);
    if (!ConfigFromEnvironment())
        qputenv(kConfigVariable, QDir::toNativeSeparators(settings).toLocal8Bit());
    SetChosenCameraLibrary(CameraLibraryFor(choice));

    Applied& applied = AppliedChoice();
    const bool libraryChanged = CameraLibraryChoiceChanged();
    const bool indiChanged =
        applied.valid && choice.kind == CameraChoice::Kind::Indi && !(applied.choice == choice);
    applied = {true, choice};
    if (!libraryChanged && !indiChanged)
        return;

    ReleaseCameraInUse();
    if (libraryChanged) {
        WriteLog(QStringLiteral("Info"), QStringLiteral("camera library ") + WantedCameraLibrary());
        LoadCameraLibrary();
    }
}

void ReportCameraImageScale() {
    double native = 0, delivered = 0;
    if (!ZorcamGetImageScale(g_cameraHandle, &native, &delivered))
        return; // a library that cannot tell delivers the templates' scale
    if (delivered > 0 &&
        std::abs(delivered / kTemplateArcsecPerPixel - 1.0) <= kTemplateScaleTolerance)
        return;
    if (delivered > 0)
        ShowMessage(
            TranslateMessage(QStringLiteral("The camera's image scale is %1\" per pixel; the star "
                                            "templates need about 30.5\". Check the focal length "
                                            "in the Camera window."))
                .arg(delivered, 0, 'f', 1));
    else
        ShowMessage(QStringLiteral("The camera's image scale is unknown. Enter the lens's focal "
                                   "length in the Camera window so that the stars match the "
                                   "templates."));
}
