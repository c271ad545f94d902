#include "camera/DisplayThread.h"

#include "camera/Zorcamlib.h"
#include "core/Log.h"
#include "display/LiveView.h"
#include "display/Stretch.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

namespace {

constexpr std::size_t kFrameBytes = static_cast<std::size_t>(kFrameWidth) * kFrameHeight;
constexpr auto kNoFrameWait = std::chrono::milliseconds(10);

std::atomic<int> g_runningLoops{0};
std::atomic<std::uint64_t> g_framesReceived{0};

void LogInfo(const QString& text) {
    WriteLog(QStringLiteral("Info"), text);
}
void LogError(const QString& text) {
    WriteLog(QStringLiteral("Error"), text);
}

QString WholeMicroseconds(double exposure) {
    return QString::number(static_cast<long long>(std::trunc(exposure)));
}

// The five settings made once before live mode, in their fixed order.
void ConfigureCamera(ZorcamHandle handle) {
    if (ZorcamSetResolution(handle, 0, 0, kFrameWidth, kFrameHeight) != 0)
        LogError(QStringLiteral("set resolution failed."));

    // The applied value is the one sent, even when the user chose another meanwhile:
    // the next pass then sees the difference and sends the newer one.
    const double exposure = g_exposureWanted;
    if (ZorcamSetParam(handle, ZORCAM_CONTROL_EXPOSURE, exposure) != 0)
        LogError(QStringLiteral("set exposure failed."));
    else
        g_exposureApplied = exposure;

    const int gain = g_gainWanted;
    if (ZorcamSetParam(handle, ZORCAM_CONTROL_GAIN, static_cast<double>(gain)) != 0)
        LogError(QStringLiteral("set gain failed."));
    else
        g_gainApplied = gain;

    if (ZorcamSetParam(handle, ZORCAM_CONTROL_USB_TRAFFIC, 30.0) != 0)
        LogError(QStringLiteral("set usbtraffic failed."));
    if (ZorcamSetParam(handle, ZORCAM_CONTROL_SPEED, 0.0) != 0)
        LogError(QStringLiteral("set speed failed."));
}

// Exposure and gain changes the user made since the last pass; a refused value
// is sent again in every pass until the camera takes it or another is chosen.
void FollowUpSettings(ZorcamHandle handle) {
    const double exposure = g_exposureWanted;
    if (g_exposureApplied != exposure) {
        const QString text = QStringLiteral("Exposure change to ") + WholeMicroseconds(exposure);
        if (ZorcamSetParam(handle, ZORCAM_CONTROL_EXPOSURE, exposure) == 0) {
            g_exposureApplied = exposure;
            LogInfo(text);
        } else {
            LogError(text + QStringLiteral("failed."));
        }
    }

    const int gain = g_gainWanted;
    if (g_gainApplied != gain) {
        const QString text = QStringLiteral("Gain change to ") + QString::number(gain);
        if (ZorcamSetParam(handle, ZORCAM_CONTROL_GAIN, static_cast<double>(gain)) == 0) {
            g_gainApplied = gain;
            LogInfo(text);
        } else {
            LogError(text + QStringLiteral("failed."));
        }
    }
}

// The received frame into g_frameImage, stretched when asked. Whatever size the
// camera reports, no more than the image holds is copied or stretched.
void TakeFrame(std::uint32_t width, std::uint32_t height) {
    if (g_frameImage.empty() || !g_frameImage.isContinuous() ||
        g_frameImage.total() * g_frameImage.elemSize() < kFrameBytes)
        return;
    std::memcpy(g_frameImage.data, g_liveBuffer, kFrameBytes);
    if (g_stretchOn) {
        const int w = static_cast<int>(std::min<std::uint32_t>(width, kFrameWidth));
        const int h = static_cast<int>(std::min<std::uint32_t>(height, kFrameHeight));
        const int black = g_blackLevel;
        const double scale = StretchScale(black, g_whiteLevel);
        StretchFrame(g_frameImage.data, g_frameImage.data, w, h, static_cast<unsigned>(black),
                     scale);
    }
}

} // namespace

DisplayThread::DisplayThread()
    : handOver_([this](UiHandOver::Routine r) { return uiHandOver_.Run(r); }) {}

DisplayThread::DisplayThread(HandOver handOver) : handOver_(std::move(handOver)) {}

DisplayThread::~DisplayThread() {
    if (g_displayThread == this)
        g_displayThread = nullptr;
    if (isRunning() || isFinished()) {
        // The loop's last step marks its end under the hand-over's lock; after
        // that the thread no longer touches this object.
        uiHandOver_.RequestStop();
        uiHandOver_.WaitEndedServing();
    }
    wait();
}

// Started as a thread, the object frees itself once its loop has ended.
void DisplayThread::run() {
    freeWhenEnded_ = true;
    Execute();
}

void DisplayThread::RequestStop() {
    requestInterruption();
    uiHandOver_.RequestStop();
}

bool DisplayThread::StopRequested() const {
    return uiHandOver_.StopRequested();
}

bool DisplayThread::LoopEnded() const {
    return uiHandOver_.Ended();
}

void DisplayThread::WaitLoopEnded() {
    uiHandOver_.WaitEndedServing();
}

int DisplayThread::RunningLoops() {
    return g_runningLoops;
}

std::uint64_t DisplayThread::FramesReceived() {
    return g_framesReceived;
}

void DisplayThread::Execute() {
    ++g_runningLoops;
    g_threadRunning = true;
    const ZorcamHandle handle = g_cameraHandle;

    ConfigureCamera(handle);

    if (ZorcamBeginLive(handle) != 0) {
        LogError(QStringLiteral("BeginZORCAMLive failed."));
    } else {
        LogInfo(QStringLiteral("BeginZORCAMLive."));
        while (!StopRequested()) {
            if (!LivePass(handle))
                break;
        }
    }

    g_threadRunning = false;
    --g_runningLoops;
    if (freeWhenEnded_)
        QMetaObject::invokeMethod(this, "deleteLater", Qt::QueuedConnection);
    uiHandOver_.MarkEnded(); // the last touch of this object on this thread
}

// One pass of the live loop. False when a stop request withdrew a hand-over: the
// pass then ends at once and leaves the display alone.
bool DisplayThread::LivePass(ZorcamHandle handle) {
    std::uint32_t width = 0, height = 0, bpp = 0, channels = 0;
    if (ZorcamGetLiveFrame(handle, &width, &height, &bpp, &channels, g_liveBuffer) != 0) {
        uiHandOver_.SleepUnlessStopped(kNoFrameWait);
    } else {
        ++g_framesReceived;
        lastFrameUtcSeconds_ = CurrentClock()->UtcSeconds();
        g_frameWidth = width;
        g_frameHeight = height;
        g_frameBpp = bpp;
        g_frameChannels = channels;
        TakeFrame(width, height);

        if (!handOver_(&RenderLiveView))
            return false;
        if (g_viewUpdatePending) {
            if (!handOver_(&ShowLiveView))
                return false;
            g_viewUpdatePending = false;
        }

        TrackRefStars();

        if (g_zoomReady) {
            if (!handOver_(&ShowPoleView))
                return false;
            g_zoomReady = false;
        }
    }

    FollowUpSettings(handle);
    return true;
}
