#include "zorcam-sim/adjuster/PtyAdjuster.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace zorcamsim {

PtyAdjuster::PtyAdjuster(const AdjusterConfig& config, GrblDevice::TurnHandler onTurn)
    : device_(config, std::move(onTurn)) {}

PtyAdjuster::~PtyAdjuster() {
    Stop();
}

bool PtyAdjuster::Start() {
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&master_, &slaveFd_, name, &raw, nullptr) != 0) {
        error_ = std::string("openpty: ") + std::strerror(errno);
        return false;
    }
    slave_ = name;
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    stop_ = false;
    thread_ = std::thread([this] { Serve(); });
    return true;
}

void PtyAdjuster::Stop() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (master_ >= 0)
        ::close(master_);
    if (slaveFd_ >= 0)
        ::close(slaveFd_);
    master_ = slaveFd_ = -1;
}

void PtyAdjuster::With(const std::function<void(GrblDevice&)>& fn) {
    const std::lock_guard<std::mutex> lock(mutex_);
    fn(device_);
}

void PtyAdjuster::Serve() {
    char buf[512];
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN))
            continue;
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0)
            continue;
        std::string reply;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            reply = device_.Feed(std::string(buf, static_cast<std::size_t>(n)));
        }
        std::size_t done = 0;
        while (done < reply.size() && !stop_) {
            const ssize_t w = ::write(master_, reply.data() + done, reply.size() - done);
            if (w > 0)
                done += static_cast<std::size_t>(w);
            else if (errno != EAGAIN && errno != EINTR)
                break;
        }
    }
}

} // namespace zorcamsim
