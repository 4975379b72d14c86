// Window-free bitmap routines on 32-bit BGRA buffers: factories, resampling
// with a separable filter, texture painting and button layout.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "skin/core/portable/pixels.h"
#include "skin/core/portable/skintypes.h"

namespace kova::skin {

Bitmap32 NewBitmap32(int width, int height);
Bitmap32 NewBitmapLike(const Bitmap32& bitmap);

enum ResampleFilter { rfBox = 0, rfTriangle = 1, rfHermite = 2, rfBell = 3, rfSpline = 4, rfLanczos3 = 5, rfMitchell = 6 };

// One output pixel's contributors: source index and 16.16 weight.
struct TContributor {
    int Pixel;
    int Weight;
};
using TContributorList = std::vector<std::vector<TContributor>>;

double ResampleFilterSupport(int filter);
double ResampleFilterValue(int filter, double x);
// Contributor lists for one axis (source indexes mirrored into the image).
TContributorList BuildContributors(int sourceSize, int destSize, int filter);

// Raises std::runtime_error "Source bitmap is too small" for sources below
// 2 x 2. Dest may be Source. A Dest that views external memory of the new
// size is written in place; any other Dest becomes an owning buffer.
void ResampleBitmap(const Bitmap32& source, int newWidth, int newHeight, int filter, Bitmap32& dest);

// Texture painting by fill mode: 0 tile from the rectangle's corner, 1
// stretch over the rectangle (nearest pixel), 4 stretch across and tile
// down, 5 tile across and stretch down; other modes tile.
void PaintTexture(Bitmap32& dest, TRect r, const Bitmap32& texture, int fillMode, TRect srcRect);
void TileImage(Bitmap32& dest, TRect r, const Bitmap32& image);
// Nearest-pixel stretch of a source rectangle into a destination rectangle
// (the COLORONCOLOR stretch), clipped to the destination.
void StretchRect(Bitmap32& dest, TRect destRect, const Bitmap32& source, TRect srcRect);

// Places a glyph and a caption in a button's client rectangle.
// Alignment: 0 left, 1 right, 2 centre. Layout: 0 glyph left, 1 glyph right,
// 2 glyph top, 3 glyph bottom. BiDiFlags 2 exchanges layouts 0 and 1.
void CalcButtonLayout(const TRect& client, TSize glyphSize, TSize textSize, TRect& textBounds, TPoint& glyphPos,
                      int spacing, int margin, int alignment, int layout, int biDiFlags);

}  // namespace kova::skin

namespace kova::skin {
// Runs of pixels whose colour bits equal the transparent colour, one
// one-row rectangle per run, row by row (for window regions).
std::vector<TRect> AddTransparentRuns(const Bitmap32& bitmap, std::uint32_t transparentColour);
// The complement: runs of every other colour, row by row and left to
// right within a row, as a region's rectangle list must be ordered.
std::vector<TRect> OpaqueRuns(const Bitmap32& bitmap, std::uint32_t transparentColour);
}  // namespace kova::skin
