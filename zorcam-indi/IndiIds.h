// The camera interface's id for an INDI device.
//
// Usage:
//   std::string id = CameraId("ZENITHWAND-INDI ", deviceName, 31);
//
// The prefix and the name; for a name too long for `limit` characters, its
// beginning and a suffix made from the whole name ("~" and six hex digits), so
// that two long names of one maker keep two ids, the same ones every time.
#pragma once

#include <cstddef>
#include <string>

namespace zorcamindi {

std::string CameraId(const std::string& prefix, const std::string& device, std::size_t limit);

} // namespace zorcamindi
