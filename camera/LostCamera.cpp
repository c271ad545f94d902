// A camera that stops delivering frames while connected: the status bar says so in
// the current language, the log says it once, and both clear when frames return.
#include "app/MainFormUnit.h"

#include "camera/DisplayThread.h"
#include "core/Log.h"
#include "i18n/TextRecords.h"

#include <QLabel>
#include <QTimer>

#include <chrono>

namespace {

// The message is there only while it is shown (an empty label has nothing to translate).
void HideMessage(QLabel* label) {
    label->hide();
    label->clear();
}

} // namespace

void TFormMain::StartFrameWatch() {
    frameWatch.Start(FrameWatch::Clock::now(), DisplayThread::FramesReceived());
    HideMessage(Label_noFrames);
    Timer_frameWatch->start();
}

void TFormMain::StopFrameWatch() {
    Timer_frameWatch->stop();
    frameWatch.Stop();
    HideMessage(Label_noFrames);
}

void TFormMain::Timer_frameWatchTimer() {
    const double exposureUs = g_exposureApplied;
    switch (
        frameWatch.Check(FrameWatch::Clock::now(), DisplayThread::FramesReceived(), exposureUs)) {
    case FrameWatch::Change::Lost: {
        Label_noFrames->setText(g_menuTexts.NoFramesMsg);
        Label_noFrames->show();
        const auto limit =
            std::chrono::duration_cast<std::chrono::milliseconds>(FrameWatch::Limit(exposureUs));
        WriteLog(QStringLiteral("Error"),
                 QStringLiteral("No frame from the camera for %1 ms.").arg(limit.count()));
        break;
    }
    case FrameWatch::Change::Back:
        HideMessage(Label_noFrames);
        WriteLog(QStringLiteral("Info"), QStringLiteral("Frames from the camera again."));
        break;
    case FrameWatch::Change::None:
        break;
    }
}
