#include "skin/core/pngicons.h"

#include <vector>

#include "skin/core/dc/dcroutines.h"
#include "skin/core/portable/skintypes.h"

namespace kova::skin {

namespace {

// 1-bit mask, rows padded to 16 bits as CreateBitmap expects; bit set = transparent.
TGdiObject<HBITMAP> MakeMask(int w, int h, const std::vector<bool>& transparent) {
    const int stride = ((w + 15) / 16) * 2;
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(stride) * static_cast<std::size_t>(h), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (transparent[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)])
                bits[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
    return TGdiObject<HBITMAP>(CreateBitmap(w, h, 1, 1, bits.data()));
}

// The icon copies both bitmaps: they go when it is made.
TIconHandle Build(const PixelBuffer32& colour, const std::vector<bool>& transparent) {
    PixelBuffer32 bits;
    TGdiObject<HBITMAP> colourBmp = CreateDib32(colour.Width(), colour.Height(), bits);
    if (!colourBmp) return {};
    for (int y = 0; y < colour.Height(); ++y)
        for (int x = 0; x < colour.Width(); ++x) bits.At(x, y) = colour.At(x, y);
    TGdiObject<HBITMAP> maskBmp = MakeMask(colour.Width(), colour.Height(), transparent);
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colourBmp.Get();
    info.hbmMask = maskBmp.Get();
    return TIconHandle(CreateIconIndirect(&info));
}

}  // namespace

TIconHandle MakeMaskIcon(const TPNGGraphic& picture, bool forceColourKey) {
    if (picture.Empty()) return {};
    PixelBuffer32 px = picture.ToBitmap32();
    const int w = px.Width(), h = px.Height();
    std::vector<bool> transparent(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), false);
    if (forceColourKey || picture.PixelFormat() != TPixelFormat::pf32bit) {
        const std::uint32_t key = px.At(0, 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (SameColourBits(px.At(x, y), key)) {
                    transparent[static_cast<std::size_t>(y) * w + x] = true;
                    // A 32-bit colour bitmap with alpha is drawn by its alpha:
                    // make hidden pixels clear there too.
                    px.At(x, y) = 0;
                }
    }
    return Build(px, transparent);
}

TIconHandle MakeAlphaIcon(const TPNGGraphic& picture, std::uint32_t /*backColour*/) {
    // The colour bitmap is filled with the back colour and then fully
    // overwritten by the picture's pixels, so the fill has no effect.
    if (picture.Empty()) return {};
    PixelBuffer32 px = picture.ToBitmap32();
    const int w = px.Width(), h = px.Height();
    if (picture.PixelFormat() != TPixelFormat::pf32bit)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                px.At(x, y) = (px.At(x, y) & 0xFFFFFF) | (IsKeyColour(px.At(x, y)) ? 0u : 0xFF000000u);
    std::vector<bool> transparent(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), false);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) transparent[static_cast<std::size_t>(y) * w + x] = (px.At(x, y) >> 24) == 0;
    return Build(px, transparent);
}

}  // namespace kova::skin
