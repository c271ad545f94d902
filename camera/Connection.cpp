// Connecting and disconnecting the camera from the "Connect" menu item.
#include "app/MainFormUnit.h"
#include "ui_FormMain.h"

#include "camera/CameraSwitch.h"
#include "camera/CaptureControl.h"
#include "camera/DisplayThread.h"
#include "camera/UiHandOver.h"
#include "camera/Zorcamlib.h"
#include "core/Log.h"
#include "dialogs/MessageBoxes.h"
#include "display/LiveImageView.h"
#include "workflow/TraceFormUnit.h"

#include <QMenu>

#include <cstring>

namespace {

void LogInfo(const QString& text) {
    WriteLog(QStringLiteral("Info"), text);
}
void LogError(const QString& text) {
    WriteLog(QStringLiteral("Error"), text);
}

// The application's own cameras: ids beginning with these ten letters exactly.
bool IsOurCamera(const QString& id) {
    return id.left(10) == QLatin1String("ZENITHWAND");
}

QString CameraIdText() {
    return QString::fromLocal8Bit(g_cameraId,
                                  static_cast<qsizetype>(strnlen(g_cameraId, ZORCAM_ID_LENGTH)));
}

} // namespace

bool TFormMain::ConnectCamera() {
    if (!g_cameraResourceReady) {
        if (ZorcamInitResource() == 0) {
            g_cameraResourceReady = true;
            LogInfo(QStringLiteral("InitZORCAMResource success."));
        } else {
            g_cameraResourceReady = false;
            LogError(QStringLiteral("InitZORCAMResource failed."));
        }
    }
    if (!g_cameraResourceReady) {
        LogError(QStringLiteral("ConnectCamera - InitZORCAMResource Failed!"));
        ShowMessage(QStringLiteral("Can not connect camera with InitZORCAMResource error!"));
        return false;
    }

    const int count = ZorcamScan();
    bool found = false;
    for (int i = 0; i < count && !found; ++i) {
        // A camera that cannot tell its id is passed over.
        if (ZorcamGetId(i, g_cameraId) != 0)
            continue;
        g_cameraId[ZORCAM_ID_LENGTH - 1] = 0; // never trust the library to end the text
        found = IsOurCamera(CameraIdText());
    }
    if (!found) {
        ShowMessage(QStringLiteral("Not Found ZORCAM ZenithWand equipment!"));
        return false;
    }

    g_cameraHandle = ZorcamOpen(g_cameraId);
    if (g_cameraHandle == 0) {
        LogError(QStringLiteral("ConnectCamera - OpenZORCAM Failed!"));
        ShowMessage(QStringLiteral("Connect ZenithWand failed with OpenZORCAM error!"));
        return false;
    }

    if (ZorcamSetStreamMode(g_cameraHandle, ZORCAM_STREAM_LIVE) != 0) {
        LogError(QStringLiteral("ConnectCamera - SetZORCAMStreamMode 1 Failed!"));
        ShowMessage(QStringLiteral("Set camera stream mode failed"));
        return false;
    }

    if (ZorcamInit(g_cameraHandle) == 0)
        g_cameraOpen = true;
    else
        LogError(QStringLiteral("ConnectCamera - InitZORCAM Failed!"));
    return g_cameraOpen;
}

void TFormMain::MenuItem_connectClick() {
    // From inside a hand-over (a routine serves events) a connection change could wait
    // for the capture loop, which waits for that routine: it comes once the routine is done.
    if (UiHandOver::InsideRoutine()) {
        QMetaObject::invokeMethod(this, &TFormMain::MenuItem_connectClick, Qt::QueuedConnection);
        return;
    }
    if (g_connected) {
        g_connected = false;
        if (g_threadRunning)
            RequestCaptureStop();
        StopFrameWatch();
        LogInfo(QStringLiteral("Disconnect zenithWand."));
        setWindowTitle(QStringLiteral("ZenithWand - AppVer:") + g_appVersion);
        SetConnectedUi(false);

        ResetWorkflow();
        return;
    }

    PrepareCameraForConnect();
    const bool wasOpen = g_cameraOpen;
    if (!g_cameraOpen)
        ConnectCamera();
    if (!g_cameraOpen) {
        SetConnectedUi(false);
        return;
    }
    if (!wasOpen)
        ReportCameraImageScale();

    g_connected = true;
    setWindowTitle(QStringLiteral("ZenithWand - AppVer:") + g_appVersion + QStringLiteral(" FW:") +
                   CameraIdText());
    LogInfo(QStringLiteral("Connect zenithWand."));
    SetConnectedUi(true);

    wizardStep = 1;
    ShowTip(1);

    PrepareTemplates();

    // A loop still ending after a quick disconnect finishes first, so exactly one
    // loop runs after every connection.
    if (g_displayThread && g_displayThread->StopRequested())
        RequestCaptureStopAndWait();
    if (!g_threadRunning) {
        LogInfo(QStringLiteral("create DispThread and start."));
        StartCaptureLoop(clock_);
    }
    StartFrameWatch();
}

void TFormMain::SetConnectedUi(bool on) {
    ApplyMenuTexts();

    for (Expander* e : {ui->Expander_region, ui->Expander_camSetting}) {
        e->setExpanded(on);
        e->setEnabled(on);
    }
    for (Expander* e : {ui->Expander_finding, ui->Expander_rough, ui->Expander_precise}) {
        e->setExpanded(false);
        e->setEnabled(false);
    }

    ui->MenuItem_astroRef->setEnabled(on);
    ui->MenuItem_showMask->setEnabled(on);
    // Manual trace moves the reference-star seeds: it waits for the monitor mode.
    ui->MenuItem_trace->setEnabled(false);
    ui->MenuItem_zoom->setEnabled(on);
}
