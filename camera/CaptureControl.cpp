#include "camera/CaptureControl.h"

#include "app/Mystructs.h"
#include "camera/DisplayThread.h"

void RequestCaptureStop() {
    if (g_displayThread)
        g_displayThread->RequestStop();
}

void RequestCaptureStopAndWait() {
    DisplayThread* thread = g_displayThread;
    if (!thread)
        return;
    thread->RequestStop();
    thread->WaitLoopEnded(); // every thread in g_displayThread has been started
    delete thread;           // joins the finished thread; clears g_displayThread
}

bool StartCaptureLoop(std::shared_ptr<const Clock> clock) {
    if (g_displayThread && g_displayThread->StopRequested())
        RequestCaptureStopAndWait();
    if (g_threadRunning)
        return false;
    auto* thread = new DisplayThread();
    if (clock)
        thread->SetClock(std::move(clock));
    g_displayThread = thread;
    // Running from the start, so a stop asked before the loop's first step is not lost.
    g_threadRunning = true;
    thread->start();
    return true;
}
