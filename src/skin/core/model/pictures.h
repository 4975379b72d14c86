// Pictures of a skin decoded into 32-bit buffers: Windows bitmaps (read
// here), PNG images (the skin engine's reader) and JPEG images (libjpeg).
// Window-free.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/core/portable/pixels.h"

namespace kova::skin {

class EPictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TDecodedPicture {
    Bitmap32 Pixels;
    int BitsPerPixel = 0;  // of the file: 32 keeps its alpha, others are opaque
};

// Uncompressed BMP of 1, 4, 8, 16, 24 or 32 bits (and bit-field 16/32),
// bottom-up or top-down. Pixels of fewer than 32 bits get alpha 255.
TDecodedPicture DecodeBmp(const std::vector<std::uint8_t>& bytes);
// Any PNG the skin engine's reader accepts; alpha from the image.
TDecodedPicture DecodePng(const std::vector<std::uint8_t>& bytes);
// Baseline or progressive JPEG; alpha 255.
TDecodedPicture DecodeJpeg(const std::vector<std::uint8_t>& bytes);
// By the file's signature (BMP, PNG or JPEG).
TDecodedPicture DecodePicture(const std::vector<std::uint8_t>& bytes);

// A 24-bit bottom-up BMP (alpha dropped), or a 32-bit one keeping alpha.
std::vector<std::uint8_t> EncodeBmp(const Bitmap32& pixels, bool keepAlpha);
// A PNG of 8-bit RGBA samples, filtered by rows, for tools and tests.
std::vector<std::uint8_t> EncodePngRgba(const Bitmap32& pixels);
// A baseline JPEG of the given quality, for tools and tests.
std::vector<std::uint8_t> EncodeJpeg(const Bitmap32& pixels, int quality);

}  // namespace kova::skin
