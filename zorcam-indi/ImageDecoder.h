// Turns the image a camera driver sends (FITS, or a JPEG/PNG picture) into pixels.
//
// Usage:
//   DecodedImage img;
//   std::string why;
//   if (DecodeImage(bytes, size, ".fits", img, why)) converter.Convert(img.Raw(), out);
//
// FITS: the primary image of 8 or 16 bits (signed 16-bit data with BZERO 32768 is
// read as unsigned), or 32-bit integer or floating-point data scaled to 16 bits;
// a third axis of colour planes is averaged to grey. The mosaic comes from BAYERPAT,
// shifted by XBAYROFF/YBAYROFF. Other formats are decoded as pictures into 8-bit grey.
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
