// Ends the program in order when the session or the user asks it to with a signal
// (SIGTERM at logout or from `kill`, SIGINT from Ctrl+C in a terminal, SIGHUP when
// the terminal goes): `onSignal` runs on the thread that created the object, from
// its event loop, so closing the windows there saves the settings as a normal
// close does. A second signal while the program is closing ends it at once.
//
//   TerminationSignals termination([] { QApplication::closeAllWindows(); });
//   return app.exec();
//
// One object at a time; the destructor gives the signals back to their previous
// handlers. On systems without these signals the object does nothing.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    void Received();

    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};
