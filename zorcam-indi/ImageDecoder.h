// Turns the image a camera driver sends (FITS, or a JPEG/PNG picture) into pixels.
//
// Usage:
//   DecodedImage img;
//   std::string why;
//   if (DecodeImage(bytes, size, ".fits", img, why)) converter.Convert(img.Raw(), out);
//
// FITS (read with cfitsio): the first image of the file, plain or tile-compressed
// (.fits.fz), of any BITPIX with its BZERO/BSCALE applied: 8-bit and unsigned 16-bit
// data as they are, signed 16-bit data moved up by 32768, deeper integer and
// floating-point data kept as they are where they fit 0..65535, floating-point data of
// 0..1 spread over the 16 bits, anything else moved linearly into the range. Three
// colour planes become luminance, other plane counts their mean. ROWORDER =
// 'BOTTOM-UP' is turned the right way up. The mosaic comes from BAYERPAT, shifted by
// XBAYROFF/YBAYROFF. Other formats are decoded as pictures into 8-bit grey.
#pragma once

#include "zorcam-indi/FrameConverter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zorcamindi {

struct DecodedImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 16;
    std::vector<std::uint16_t> pixels16;
    std::vector<std::uint8_t> pixels8;
    std::string bayer;

    RawFrame Raw() const;
};

bool DecodeImage(const void* data, std::size_t size, const std::string& format, DecodedImage& out,
                 std::string& error);

// The mosaic's name after moving its origin by (dx, dy) pixels ("RGGB", 1, 0 -> "GRBG").
std::string ShiftBayer(const std::string& pattern, int dx, int dy);

} // namespace zorcamindi
