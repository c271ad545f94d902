// The hand-over between the capture thread and the user-interface thread: the
// worker waits for the routine, and a stop request ends every wait of the worker
// without ever running a routine that has not started.
#include "camera/UiHandOver.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

std::atomic<int> g_runs{0};
std::atomic<bool> g_ranOnMainThread{false};
UiHandOver* g_current = nullptr;

void CountingRoutine() {
    ++g_runs;
    g_ranOnMainThread = QThread::currentThread() == QCoreApplication::instance()->thread();
}

void StoppingRoutine() {
    g_current->RequestStop(); // a stop that comes while the routine runs
    ++g_runs;
}

class HandOver : public ::testing::Test {
protected:
    void SetUp() override {
        g_runs = 0;
        g_ranOnMainThread = false;
        g_current = &handOver;
    }
    void TearDown() override {
        handOver.RequestStop();
        if (worker.joinable())
            worker.join();
        g_current = nullptr;
    }
    UiHandOver handOver;
    std::thread worker;
};

TEST_F(HandOver, RunsTheRoutineOnTheWindowThreadAndReturnsAfterIt) {
    std::atomic<int> result{-1};
    worker = std::thread([&] {
        result = handOver.Run(&CountingRoutine) ? 1 : 0;
        handOver.MarkEnded();
    });
    handOver.WaitEndedServing();
    worker.join();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(g_runs, 1);
    EXPECT_TRUE(g_ranOnMainThread);
}

TEST_F(HandOver, AStopWithdrawsARoutineThatHasNotStarted) {
    std::atomic<int> result{-1};
    worker = std::thread([&] { result = handOver.Run(&CountingRoutine) ? 1 : 0; });
    // The window thread serves nothing: only the stop can end the worker's wait.
    handOver.RequestStop();
    worker.join();
    EXPECT_EQ(result, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(g_runs, 0) << "a withdrawn routine ran later";
}

TEST_F(HandOver, ARoutineThatHasStartedIsWaitedForToItsEnd) {
    std::atomic<int> result{-1};
    worker = std::thread([&] {
        result = handOver.Run(&StoppingRoutine) ? 1 : 0;
        handOver.MarkEnded();
    });
    handOver.WaitEndedServing();
    worker.join();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(g_runs, 1);
    // Once stopped, nothing more is handed over.
    EXPECT_FALSE(handOver.Run(&CountingRoutine));
    EXPECT_EQ(g_runs, 1);
}

TEST_F(HandOver, TheNoFrameSleepEndsOnAStopRequest) {
    EXPECT_TRUE(handOver.SleepUnlessStopped(std::chrono::milliseconds(1)));
    std::atomic<int> result{-1};
    worker =
        std::thread([&] { result = handOver.SleepUnlessStopped(std::chrono::hours(1)) ? 1 : 0; });
    handOver.RequestStop();
    worker.join();
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(handOver.StopRequested());
}

} // namespace
