// Small value types shared by the skin engine's window-free routines.
#pragma once

#include <cstdint>

#include "framework/portable/pixelbuffer.h"

namespace kova::skin {

// Colour values are 0x00BBGGRR; pixels of a 32-bit buffer are 0xAARRGGBB.
using TColor = std::uint32_t;
inline constexpr TColor clFuchsia = 0xFF00FF;   // the key colour of skin images
inline constexpr TColor clNone = 0x1FFFFFFF;    // "no colour"

// True when the colour bits of a pixel word or colour value are the key
// colour; the alpha (high) byte never counts.
inline constexpr bool IsKeyColour(std::uint32_t v) { return (v & 0xFFFFFF) == 0xFF00FF; }
inline constexpr bool SameColourBits(std::uint32_t a, std::uint32_t b) { return ((a ^ b) & 0xFFFFFF) == 0; }

struct TRect {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TRect&) const = default;
};
inline constexpr TRect Rect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) { return {l, t, r, b}; }

struct TPoint {
    std::int32_t X = 0, Y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TSize {
    std::int32_t cx = 0, cy = 0;
};

// What a control is given about the background under it: an image (Bmp at
// offset X, Y) or a fill colour. Ready when the image can be used.
struct TsParentImageInfo {
    PixelBuffer32* Bmp = nullptr;
    std::int32_t X = 0, Y = 0;
    TColor FillColor = clFuchsia;
    bool Ready = false;
};

// A control's question to its parent for the background under it, and the
// parent's answer: BgType 0 not answered, 1 a plain colour in Color, 2 an
// image in Bmp at Offset. R is the asker's area. With PleaseDraw the parent
// paints the background into DrawDC itself (a device context, HDC, kept
// opaque here so that the record stays window-free).
struct TsBackgroundInfo {
    PixelBuffer32* Bmp = nullptr;
    TColor Color = 0;
    TPoint Offset;
    TRect R;
    std::uint8_t BgType = 0;
    bool PleaseDraw = false;
    void* DrawDC = nullptr;
};

}  // namespace kova::skin
