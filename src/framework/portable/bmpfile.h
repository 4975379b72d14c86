// The program's one reader and writer of Windows bitmap files: the
// framework's bitmaps load through it and the skin engine decodes its
// pictures with it. Window-free; every size is checked against the data
// before anything is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "framework/portable/pixelbuffer.h"

namespace kova {

class EBmpFormat : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TBmpImage {
    PixelBuffer32 Pixels;
    // Of the file: 32 with an alpha channel (plain 32 bits, or bit fields
    // with an alpha mask); every other file gives opaque pixels.
    int BitsPerPixel = 0;
};

// Uncompressed files of 1, 4, 8, 16, 24 or 32 bits per pixel, bit fields
// of 16 and 32 bits, bottom-up or top-down, at most 32768 pixels a side
// and 2^26 pixels. Raises EBmpFormat for anything else.
TBmpImage ReadBmp(const std::uint8_t* data, std::size_t size);

// A bottom-up file of 24 bits (alpha dropped) or 32 bits (alpha kept).
std::vector<std::uint8_t> WriteBmp(const PixelBuffer32& pixels, bool keepAlpha);

}  // namespace kova
