// Direct pixel access and blending on 32-bit BGRA buffers. Every skinned
// surface is composed in such buffers before it reaches a window.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/portable/pixelbuffer.h"
#include "skin/core/portable/skintypes.h"

namespace kova::skin {

using Bitmap32 = PixelBuffer32;

// 0xAABBGGRR colour <-> 0xAARRGGBB pixel word.
std::uint32_t ColorToPixel(std::uint32_t c);
std::uint32_t SwapRedBlueAlpha(std::uint32_t c);
std::uint32_t SwapRedBlue(std::uint32_t c);

class TacFast32 {
public:
    bool Attach(Bitmap32& bitmap);
    TColor GetPixel(int x, int y) const;
    void SetPixel(int x, int y, TColor colour);
    // Colour already in pixel order; its alpha byte is set to 255.
    void FillRect(const TRect& r, std::uint32_t& pixel);
    int Width = 0, Height = 0;

private:
    Bitmap32* bitmap_ = nullptr;
    std::uint8_t* line0_ = nullptr;
    std::ptrdiff_t stride_ = 0;
};

void FillDWords(std::uint32_t* dest, int count, std::uint32_t value);

class TacFastSum32 {
public:
    bool Attach(Bitmap32& source, Bitmap32& dest);
    void Blend();
    int Width = 0, Height = 0;
    std::uint8_t Weight = 0;
    TRect DstRect, SrcRect;

private:
    Bitmap32* src_ = nullptr;
    Bitmap32* dst_ = nullptr;
};

void FillRect32(Bitmap32& bitmap, TRect r, TColor colour);
void FillFrameRect32(Bitmap32& bitmap, const TRect& r, int leftWidth, int topWidth, int rightWidth,
                     int bottomWidth, TColor colour);
void FillAlphaRect(Bitmap32& bitmap, TRect r, std::uint8_t alpha, bool skipTransparent);

TColor MixColors(TColor c1, TColor c2, double k);
TColor ChangeColorSaturation(int delta, TColor colour);
TColor ChangeColorSaturationIf(TColor colour, int delta);
TColor ChangeColorHue(int delta, TColor colour);
TColor ChangeColorHueIf(int delta, TColor colour);

// An 8-bit plane of the same size as a 32-bit buffer (row-major, no padding).
struct Bitmap8 {
    int Width = 0, Height = 0;
    std::vector<std::uint8_t> Bits;
};
void CopyBitmapChannel(Bitmap32& bitmap32, Bitmap8& bitmap8, int channel, bool extract);

void TintRect(Bitmap32& bitmap, TRect r, int percent, TColor colour);
void BlendBitmapRect(Bitmap32& dest, int x, int y, const Bitmap32& source, TRect srcRect, double k,
                     std::uint32_t transparentColour);
void FadeBitmapToColor(Bitmap32& bitmap, TColor colour, double k);
void ApplyColorMask(Bitmap32& bitmap, const Bitmap32& mask, TColor colour);
void BlendBitmapsByMask(Bitmap32& dest, const Bitmap32& source, const Bitmap32& mask, TRect r);
void MixBitmapRects(Bitmap32& dest, Bitmap32& source, std::uint8_t weight, TRect srcRect, TPoint destPoint);
void BlendColorByMask(TRect destRect, TRect maskRect, TColor colour, const Bitmap32& mask,
                      TsParentImageInfo& info, bool useBackground);
void CopyAlphaBitmap(TRect destRect, TPoint srcPoint, Bitmap32& dest, const Bitmap32* source,
                     const TsParentImageInfo& info, bool useBackground, TColor tintColour, int transparency,
                     bool grey);
void CopyTransparentBitmap(Bitmap32& dest, int x, int y, const Bitmap32& source, std::uint32_t transparentColour);
Bitmap32 AlphaBitmapFromMaskHalf(const Bitmap32& source);
void GrayscaleBitmap(Bitmap32& bitmap);
void ChangeBitmapHue(Bitmap32* bitmap, int delta);
void ChangeBitmapSaturation(Bitmap32* bitmap, int delta);
// Flags bit 2: grey first; bit 1: fade into the background (60 % background)
// or, without a ready background, tint 50 % with the info's fill colour or,
// when that is the key colour, with controlColour.
void PaintDisabledLook(Bitmap32& bitmap, int flags, TColor controlColour, const TsParentImageInfo& info,
                       TPoint offset);

}  // namespace kova::skin
