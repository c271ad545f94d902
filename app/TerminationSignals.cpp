#include "app/TerminationSignals.h"

#include <QSocketNotifier>

#include <iterator>
#include <utility>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int g_signalPipe[2] = {-1, -1}; // [0] read by the notifier, [1] written by the handler
struct sigaction g_previous[std::size(kSignals)];

void RestorePreviousHandlers() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &g_previous[i], nullptr);
}

// Only async-signal-safe calls here: one byte into the pipe.
extern "C" void OnTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(g_signalPipe[1], &byte, 1);
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
    if (g_signalPipe[0] >= 0 || socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    notifier_ = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::Received);
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &action, &g_previous[i]);
}

TerminationSignals::~TerminationSignals() {
    if (!notifier_)
        return;
    RestorePreviousHandlers();
    delete notifier_;
    close(g_signalPipe[0]);
    close(g_signalPipe[1]);
    g_signalPipe[0] = g_signalPipe[1] = -1;
}

void TerminationSignals::Received() {
    char byte = 0;
    [[maybe_unused]] const ssize_t n = read(g_signalPipe[0], &byte, 1);
    // From now on a further signal takes its ordinary course (normally: the end).
    RestorePreviousHandlers();
    notifier_->setEnabled(false);
    if (onSignal_)
        onSignal_();
}

#else

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {}
TerminationSignals::~TerminationSignals() = default;
void TerminationSignals::Received() {}

#endif
