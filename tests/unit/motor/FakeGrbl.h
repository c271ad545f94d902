// A GRBL-style controller on the far side of a pseudo-terminal, for the motor's tests:
// it answers jog lines with "ok" (or an error), status queries with reports, takes
// the jog cancel, and moves its axes a little on every status query while jogging.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>

#include <map>
#include <memory>
#include <vector>

class FakeGrbl : public QObject {
public:
    FakeGrbl();
    ~FakeGrbl() override;
    bool ok() const { return master_ >= 0; }
    QString PortName() const { return slave_; }

    // What the controller does.
    int refuseWithError = 0; // > 0: every jog line gets "error:<n>"
    int pollsPerJog = 2;     // status queries a jog takes to finish
    bool silent = false;     // answers nothing

    // What it saw and where its axes are (millimetres).
    std::vector<QByteArray> jogLines;
    int cancels = 0;
    int queries = 0;
    std::map<char, double> position;

private:
    void OnReadable();
    void OnByte(char c);
    void Reply(const QByteArray& text);
    void Finish(); // the jog's remaining travel applied at once

    int master_ = -1;
    QString slave_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QByteArray line_;
    std::map<char, double> remaining_; // travel left of the jog in progress
    int pollsLeft_ = 0;
};
