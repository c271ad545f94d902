// The linear stretch of a grey frame between a black and a white level (a
// developer facility; off in ordinary use).
//
// Usage, once per frame on the capture thread, in place:
//   const double scale = StretchScale(black, white);   // (white - black) / 255
//   StretchFrame(frame.data, frame.data, width, height, black, scale);
//
// Every pixel at or below black becomes 0; above it (p - black) / scale is
// truncated toward zero, and anything that does not fit a byte (above 255, or
// negative when white lies below black) becomes 255. A scale of 0 counts as 1.
// The caller keeps width x height within both arrays.
#pragma once

#include <cstddef>

double StretchScale(int black, int white);

std::size_t StretchFrame(const unsigned char* source, unsigned char* destination, int width,
                         int height, unsigned black, double scale);
