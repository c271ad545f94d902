// A termination signal reaches the program's event loop as an ordinary call, once;
// a second one and any after the object is gone take their ordinary course.
#include "app/TerminationSignals.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <gtest/gtest.h>

#include <csignal>

namespace {

using Handler = void (*)(int);

Handler CurrentHandler(int signal) {
    struct sigaction now = {};
    sigaction(signal, nullptr, &now);
    return now.sa_handler;
}

bool WaitFor(const int& calls, int wanted) {
    QDeadlineTimer deadline(30000);
    while (calls < wanted && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return calls == wanted;
}

TEST(TerminationSignals, EachSignalRunsTheCallbackOnTheEventLoopOnce) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        // Stands for the handler the program had before (the default one would end
        // this test program).
        const Handler before = std::signal(signal, SIG_IGN);
        {
            int calls = 0;
            TerminationSignals termination([&calls] { ++calls; });
            EXPECT_NE(CurrentHandler(signal), SIG_IGN);
            std::raise(signal);
            EXPECT_EQ(calls, 0) << "not from inside the signal handler";
            ASSERT_TRUE(WaitFor(calls, 1));
            // The program is closing: a further signal is handled as before.
            EXPECT_EQ(CurrentHandler(signal), SIG_IGN);
            std::raise(signal);
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            EXPECT_EQ(calls, 1);
        }
        EXPECT_EQ(CurrentHandler(signal), SIG_IGN);
        std::signal(signal, before);
    }
}

TEST(TerminationSignals, TheDestructorGivesTheSignalsBack) {
    const Handler before = std::signal(SIGTERM, SIG_IGN);
    {
        TerminationSignals termination([] {});
    }
    EXPECT_EQ(CurrentHandler(SIGTERM), SIG_IGN);
    // A new object works after the old one is gone.
    int calls = 0;
    {
        TerminationSignals termination([&calls] { ++calls; });
        std::raise(SIGTERM);
        EXPECT_TRUE(WaitFor(calls, 1));
    }
    std::signal(SIGTERM, before);
}

} // namespace
