#include "zorcam-sim/ConfigSource.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace zorcamsim {
namespace {

constexpr auto kRecheckInterval = std::chrono::milliseconds(250);

bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

} // namespace

ConfigSource::ConfigSource(std::string fallbackDir) : fallbackDir_(std::move(fallbackDir)) {}

std::string ConfigSource::Path() const {
    const char* env = std::getenv("ZORCAM_SIM_CONFIG");
    if (env && *env)
        return env;
    return fallbackDir_.empty() ? std::string("zorcam-sim.ini") : fallbackDir_ + "/zorcam-sim.ini";
}

bool ConfigSource::Poll(bool force) {
    const std::string path = Path();
    const auto now = std::chrono::steady_clock::now();
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    const long long stamp =
        exists ? static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec : 0;
    const long long size = exists ? static_cast<long long>(st.st_size) : -1;
    const unsigned long long inode = exists ? static_cast<unsigned long long>(st.st_ino) : 0;
    const bool statChanged = path != lastPath_ || exists != lastExisted_ || stamp != lastStamp_ ||
                             size != lastSize_ || inode != lastInode_;
    if (!force && loadedOnce_ && !statChanged && now - lastRead_ < kRecheckInterval)
        return false;

    lastPath_ = path;
    lastExisted_ = exists;
    lastStamp_ = stamp;
    lastSize_ = size;
    lastInode_ = inode;
    lastRead_ = now;

    std::string text;
    if (exists && !ReadFile(path, text))
        return false; // vanished or unreadable for a moment: keep what we have
    if (loadedOnce_ && !force && text == lastText_)
        return false;
    loadedOnce_ = true;
    lastText_ = text;

    SimConfig next;
    std::vector<std::string> warnings;
    if (!ParseSimConfig(text, next, warnings)) {
        std::fprintf(stderr, "zorcam-sim: %s is not an INI file; settings unchanged\n",
                     path.c_str());
        lastLoadFailed_ = true;
        return false;
    }
    lastLoadFailed_ = false;
    for (const std::string& w : warnings)
        std::fprintf(stderr, "zorcam-sim: %s: %s\n", path.c_str(), w.c_str());
    config_ = next;
    return true;
}

} // namespace zorcamsim
