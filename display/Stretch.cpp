#include "display/Stretch.h"

#include <array>
#include <cstdint>

namespace {

// The value one source byte maps to: (p - black) / scale truncated toward zero,
// saturated at 255, with a negative quotient saturating as well.
unsigned char Mapped(unsigned p, unsigned black, double scale) {
    if (p <= black)
        return 0;
    const double q = static_cast<double>(p - black) / scale;
    // The quotient is at most 255 / |scale|; out-of-range and negative values
    // saturate before any conversion to an integer.
    if (!(q < 256.0) || q <= -1.0)
        return 255;
    const auto v = static_cast<std::int64_t>(q); // truncation toward zero
    return static_cast<std::uint32_t>(v) > 255u ? 255 : static_cast<unsigned char>(v);
}

} // namespace

double StretchScale(int black, int white) {
    const long double product = static_cast<long double>(white - black) * (1.0L / 255.0L);
    return static_cast<double>(product);
}

std::size_t StretchFrame(const unsigned char* source, unsigned char* destination, int width,
                         int height, unsigned black, double scale) {
    if (scale == 0.0)
        scale = 1.0;
    if (width <= 0 || height <= 0)
        return 0;
    // Only 256 distinct inputs: map each once, then the frame is one table look-up
    // per pixel, identical to dividing every pixel.
    std::array<unsigned char, 256> table;
    for (unsigned p = 0; p < 256; ++p)
        table[p] = Mapped(p, black, scale);
    const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::size_t i = 0; i < n; ++i)
        destination[i] = table[source[i]];
    return n;
}
