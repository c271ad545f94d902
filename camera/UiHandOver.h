// Runs routines on the user-interface thread while a worker thread waits for them,
// with a stop request that ends every wait of the worker.
//
// Usage:
//   UiHandOver handOver;                          // made on the user-interface thread
//   // worker thread:
//   if (!handOver.Run(&RenderLiveView)) return;   // false: stopped before the routine ran
//   handOver.SleepUnlessStopped(10ms);
//   handOver.MarkEnded();                         // last thing the worker does
//   // user-interface thread:
//   handOver.RequestStop();
//   handOver.WaitEndedServing();                  // never deadlocks with a pending Run
//
// Run posts a queued call to the user-interface thread and waits on a mutex and a
// condition variable that the call signals when the routine has returned, so the
// hand-over is visible to ThreadSanitizer (Qt's own waits are not). A stop request
// withdraws a routine that has not started yet: it then never runs, and Run returns
// false. A routine that has started is waited for to its end.
#pragma once

#include <QObject>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

class UiHandOverServer;

class UiHandOver {
public:
    using Routine = void (*)();

    UiHandOver();
    ~UiHandOver();
    UiHandOver(const UiHandOver&) = delete;
    UiHandOver& operator=(const UiHandOver&) = delete;

    // Worker side.
    bool Run(Routine routine);
    // Sleeps for the duration or until a stop request; false when stopped.
    bool SleepUnlessStopped(std::chrono::milliseconds duration);
    bool StopRequested() const;
    void MarkEnded();

    // User-interface side.
    void RequestStop();
    bool Ended() const;
    bool WaitEnded(std::chrono::milliseconds timeout);
    // Waits until the worker has ended, running its pending routines meanwhile.
    void WaitEndedServing();
    // Whether the calling thread is inside a routine of some hand-over right now
    // (a routine may serve events, and an event handler must not wait for a worker
    // that waits for that very routine: defer such work with a queued call).
    static bool InsideRoutine();

    struct State {
        mutable std::mutex mutex;
        std::condition_variable changed;
        bool stop = false;
        bool ended = false;
        enum class Phase { Idle, Pending, Running, Done } phase = Phase::Idle;
        std::uint64_t sequence = 0;
        Routine routine = nullptr;

        void Serve(std::uint64_t sequence);
    };

private:
    std::shared_ptr<State> state_;
    UiHandOverServer* server_;
};

// The receiver of the queued calls; lives on the thread that made the UiHandOver.
class UiHandOverServer : public QObject {
    Q_OBJECT

public:
    explicit UiHandOverServer(std::shared_ptr<UiHandOver::State> state)
        : state_(std::move(state)) {}

    Q_INVOKABLE void serve(quint64 sequence) { state_->Serve(sequence); }

private:
    std::shared_ptr<UiHandOver::State> state_;
};
