#include "FakeGrbl.h"

#include <QList>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

FakeGrbl::FakeGrbl() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
        return;
    }
    slave_ = QString::fromLocal8Bit(ptsname(master_));
    termios t{};
    tcgetattr(master_, &t);
    cfmakeraw(&t);
    tcsetattr(master_, TCSANOW, &t);
    notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { OnReadable(); });
}

FakeGrbl::~FakeGrbl() {
    notifier_.reset();
    if (master_ >= 0)
        ::close(master_);
}

void FakeGrbl::OnReadable() {
    char buf[256];
    ssize_t n;
    while ((n = ::read(master_, buf, sizeof buf)) > 0)
        for (ssize_t i = 0; i < n; ++i)
            OnByte(buf[i]);
}

void FakeGrbl::Reply(const QByteArray& text) {
    if (silent)
        return;
    const QByteArray bytes = text + "\r\n";
    [[maybe_unused]] const ssize_t written = ::write(master_, bytes.constData(), bytes.size());
}

void FakeGrbl::Finish() {
    for (const auto& [axis, mm] : remaining_)
        position[axis] += mm;
    remaining_.clear();
    pollsLeft_ = 0;
}

void FakeGrbl::OnByte(char c) {
    if (c == '?') {
        ++queries;
        if (pollsLeft_ > 0 && --pollsLeft_ == 0)
            Finish();
        Reply(pollsLeft_ > 0 ? "<Jog|MPos:0.000,0.000,0.000|FS:100,0>"
                             : "<Idle|MPos:0.000,0.000,0.000|FS:0,0>");
        return;
    }
    if (c == static_cast<char>(0x85)) {
        ++cancels;
        remaining_.clear(); // stops where it is
        pollsLeft_ = 0;
        return;
    }
    if (c == '\r')
        return;
    if (c != '\n') {
        line_ += c;
        return;
    }
    const QByteArray line = line_;
    line_.clear();
    if (!line.startsWith("$J=")) {
        Reply("ok");
        return;
    }
    jogLines.push_back(line);
    if (refuseWithError > 0) {
        Reply("error:" + QByteArray::number(refuseWithError));
        return;
    }
    for (const QByteArray& word : line.mid(3).split(' ')) {
        if (word.size() > 1 && QByteArray("XYZABC").contains(word[0]))
            remaining_[word[0]] += word.mid(1).toDouble();
    }
    pollsLeft_ = pollsPerJog;
    Reply("ok");
}
