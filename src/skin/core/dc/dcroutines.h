// Device-context routines of the painting units and the 32-bit DIB factory
// whose bits the window-free pixel routines work on.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/handles.h"
#include "framework/portable/pixelbuffer.h"
#include "skin/core/sysentries.h"

namespace kova::skin {

// A top-down 32-bit DIB section of the size; `pixels` becomes a view of its
// bits, valid while the bitmap lives. Nothing (and an empty view) for sizes
// below 1.
TGdiObject<HBITMAP> CreateDib32(int width, int height, PixelBuffer32& pixels);

// Copies srcRect of a buffer (cut to the buffer) to (x, y) of the DC, or
// stretches it over dest (stretch mode COLORONCOLOR), straight from the
// buffer's memory: no bitmap or memory DC is made. False when nothing was
// copied.
bool CopyBufferToDC(HDC dc, int x, int y, const PixelBuffer32& src, RECT srcRect);
bool StretchBufferToDC(HDC dc, const RECT& dest, const PixelBuffer32& src, RECT srcRect);
// What the DC shows in r, as an owning buffer of r's size.
PixelBuffer32 ReadDCToBuffer(HDC dc, const RECT& r);

// Colour values with the high byte 0xFF name system colours (the low byte
// is the COLOR_ index), as the framework's colour type does.
COLORREF ColorToRGB(std::uint32_t colour);

void FillRectSolid(HDC dc, const RECT& r, std::uint32_t colour);
void FillBorderStrips(HDC dc, const RECT& r, int leftWidth, int topWidth, int rightWidth, int bottomWidth,
                      std::uint32_t colour);
void CopyBorderStrips(HDC destDC, int x, int y, int width, int height, HDC sourceDC, int srcX, int srcY,
                      int borderWidth);
void DrawBevelFrame(HDC dc, RECT r, int width, std::uint32_t lightColour, std::uint32_t darkColour);
void DrawFocusDots(HDC dc, const RECT& r, std::uint32_t colour1, std::uint32_t colour2);
// Region of the bitmap less its runs of the transparent colour (colour bits
// only).
TGdiObject<HRGN> MakeRegionFromBitmap(const PixelBuffer32& bitmap, std::uint32_t transparentColour);

// Size of one glyph of the system's check-box bitmap.
SIZE CheckBoxGlyphSize();

}  // namespace kova::skin
