#include "zorcam-indi/IndiIds.h"

#include <cstdint>
#include <cstdio>

namespace zorcamindi {

std::string CameraId(const std::string& prefix, const std::string& device, std::size_t limit) {
    const std::string id = prefix + device;
    if (id.size() <= limit)
        return id;
    std::uint32_t hash = 2166136261u; // FNV-1a of the whole name
    for (unsigned char c : device)
        hash = (hash ^ c) * 16777619u;
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, "~%06X", static_cast<unsigned>(hash & 0xFFFFFFu));
    const std::size_t keep = limit > 7 ? limit - 7 : 0;
    return id.substr(0, keep) + suffix;
}

} // namespace zorcamindi
