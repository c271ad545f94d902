#include "camera/UiHandOver.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>

namespace {
// Routines of hand-overs running on this thread (nested when a routine serves events).
thread_local int t_routinesRunning = 0;
} // namespace

UiHandOver::UiHandOver()
    : state_(std::make_shared<State>()), server_(new UiHandOverServer(state_)) {}

UiHandOver::~UiHandOver() {
    // Queued calls not served yet go with the receiver.
    delete server_;
}

void UiHandOver::State::Serve(std::uint64_t wanted) {
    Routine r = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex);
        // A withdrawn or already served call, or one that a stop request overtook.
        if (phase != Phase::Pending || sequence != wanted || stop)
            return;
        phase = Phase::Running;
        r = routine;
    }
    struct Finish {
        State* s;
        ~Finish() {
            --t_routinesRunning;
            std::lock_guard<std::mutex> lock(s->mutex);
            s->phase = Phase::Done;
            s->changed.notify_all();
        }
    } finish{this};
    ++t_routinesRunning;
    r();
}

bool UiHandOver::Run(Routine routine) {
    std::uint64_t sequence = 0;
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        if (state_->stop)
            return false;
        sequence = ++state_->sequence;
        state_->routine = routine;
        state_->phase = State::Phase::Pending;
    }
    // The string form keeps the queued call's allocation inside Qt.
    QMetaObject::invokeMethod(server_, "serve", Qt::QueuedConnection,
                              Q_ARG(quint64, static_cast<quint64>(sequence)));

    std::unique_lock<std::mutex> lock(state_->mutex);
    state_->changed.wait(lock, [this] {
        return state_->phase == State::Phase::Done ||
               (state_->stop && state_->phase == State::Phase::Pending);
    });
    const bool ran = state_->phase == State::Phase::Done;
    state_->phase = State::Phase::Idle;
    state_->routine = nullptr;
    return ran;
}

bool UiHandOver::SleepUnlessStopped(std::chrono::milliseconds duration) {
    std::unique_lock<std::mutex> lock(state_->mutex);
    return !state_->changed.wait_for(lock, duration, [this] { return state_->stop; });
}

bool UiHandOver::StopRequested() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->stop;
}

void UiHandOver::MarkEnded() {
    // Notified under the lock: once the waiter sees the end it may free the state,
    // so nothing here touches it after the unlock.
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->ended = true;
    state_->changed.notify_all();
}

void UiHandOver::RequestStop() {
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->stop = true;
    }
    state_->changed.notify_all();
}

bool UiHandOver::Ended() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->ended;
}

bool UiHandOver::WaitEnded(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(state_->mutex);
    return state_->changed.wait_for(lock, timeout, [this] { return state_->ended; });
}

void UiHandOver::WaitEndedServing() {
    while (!WaitEnded(std::chrono::milliseconds(5)))
        QCoreApplication::sendPostedEvents(server_, QEvent::MetaCall);
}

bool UiHandOver::InsideRoutine() {
    return t_routinesRunning > 0;
}
