#include "skin/controls/portable/labelshadow.h"

#include <algorithm>

namespace kova::skin {

TShadowMargins ShadowMargins(int offset, int blur) {
    return TShadowMargins{std::min(0, offset - blur), std::max(0, blur + offset)};
}

void TShadowPlane::Build(const Bitmap32& text, int blur) {
    const int w = text.Width(), h = text.Height();
    stride_ = static_cast<std::size_t>(std::max(w, 0)) + 2;
    const std::size_t size = stride_ * (static_cast<std::size_t>(std::max(h, 0)) + 2);
    if (bytes_.size() < size) bytes_.resize(size);
    std::fill(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(size), std::uint8_t{0});
    for (int round = 0; round < blur; ++round) {
        for (int y = 0; y < h; ++y) {
            const std::uint32_t* line = text.ScanLine(y);
            for (int x = 0; x < w; ++x)
                if (line[x] & 0xFFFFFFu) bytes_[Index(x + 1, y + 1)] = 255;
        }
        for (int y = 1; y <= h; ++y)
            for (int x = 1; x <= w; ++x)
                bytes_[Index(x, y)] = static_cast<std::uint8_t>(
                    (bytes_[Index(x, y - 1)] + bytes_[Index(x, y + 1)] + bytes_[Index(x - 1, y)] +
                     bytes_[Index(x + 1, y)]) /
                    4);
    }
}

namespace {
std::uint32_t Mix(std::uint32_t under, std::uint32_t over, unsigned a) {
    return (under * (255 - a) + over * a) / 255;
}
}  // namespace

void ComposeShadow(Bitmap32& dest, const TShadowPlane& plane, std::uint32_t shadowColour, bool transparent,
                   std::uint32_t labelColour) {
    // Pixels are 0xAARRGGBB, colours 0xBBGGRR.
    const std::uint32_t sr = shadowColour & 0xFF, sg = (shadowColour >> 8) & 0xFF, sb = (shadowColour >> 16) & 0xFF;
    const std::uint32_t lr = labelColour & 0xFF, lg = (labelColour >> 8) & 0xFF, lb = (labelColour >> 16) & 0xFF;
    for (int y = 0; y < dest.Height(); ++y) {
        std::uint32_t* line = dest.ScanLine(y);
        for (int x = 0; x < dest.Width(); ++x) {
            const unsigned a = plane.At(x, y);
            const std::uint32_t p = line[x];
            const std::uint32_t ur = transparent ? (p >> 16) & 0xFF : lr;
            const std::uint32_t ug = transparent ? (p >> 8) & 0xFF : lg;
            const std::uint32_t ub = transparent ? p & 0xFF : lb;
            line[x] = 0xFF000000u | (Mix(ur, sr, a) << 16) | (Mix(ug, sg, a) << 8) | Mix(ub, sb, a);
        }
    }
}

}  // namespace kova::skin
