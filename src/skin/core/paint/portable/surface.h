// Window-free cores of the device-context painters: a button glyph out of
// its strip, a soft rectangular shadow, the key-colour runs of a mask's
// left corner (cut out of form regions), the placement of texture tiles
// over a rectangle, and the background record a control gets from its
// parent. The Win32 layer (skin/core/dc/dcpaint.h) only moves pixels between
// these buffers and device contexts.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "skin/core/model/skindata.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/portable/skintypes.h"

namespace kova::skin {

// One state image of a glyph strip (numGlyphs images side by side) drawn at
// p; the state is clamped to the strip. Pixels of transparentColour (a
// colour value, 0x00BBGGRR) are never drawn. disabledFlags: value 2 turns
// the image grey first; value 1 blends it half and half with what lies
// under it; without value 1 the image is copied at alpha 255.
void DrawButtonGlyph(Bitmap32& dest, const Bitmap32& glyph, int numGlyphs, int state, int disabledFlags,
                     TColor transparentColour, TPoint p);

// The grey mask of a soft shadow of size w x h: blur + 1 concentric rounded
// rectangles (corner radius `radius`), the i-th inset by i pixels, from
// white outside stepping darker inward by (255 - transparency * 255 div 100)
// / (blur + 1); blur and radius are limited to half the width and height.
Bitmap32 ShadowMask(int w, int h, int transparency, int blur, int radius);
// A soft rectangular shadow in colour over r of dest: the mask above laid
// on the pixels under it with ApplyColorMask. Pixels of r outside dest are
// left out.
void PaintShadowRect(Bitmap32& dest, TRect r, int transparency, TColor colour, int blur, int radius);

// The key-colour (0xFF00FF) runs of a mask's left corner piece of state 0,
// one one-row rectangle per run moved by (x, y): the top-left piece
// (MarginLeft x MarginTop) or, with bottom, the bottom-left piece
// (MarginLeft x MarginBottom, from the bottom of the image). Reads are cut
// to the source bitmap. Appended to list.
void AddMaskRegionRects(std::vector<TRect>& list, int x, const TsMaskData& mask, int y, bool bottom);

// One copy of a texture: the destination rectangle and the part of the
// texture that goes there (stretched when the sizes differ).
struct TTextureTile {
    TRect Dest;
    TRect Src;
};
// A control's border in its cache over the background under it: for a
// mask with a grey mask under its images (RowMode 1) the border strips of
// r (the mask's border widths) first take the background (the image at
// the info's offset, or its fill colour), then the state's nine-slice
// picture (state clamped to the mask's images, corners over the
// background).
void PaintBorderOverBackground(Bitmap32& cache, TRect r, const TsParentImageInfo& bg, const TsMaskData& mask,
                               int state);
// The border widths a nine-slice mask paints with: its own, else its
// common border, else the size of one image.
TRect MaskBorderWidths(const TsMaskData& mask);

// Where the copies of srcRect (cut to a texture of textureSize) go when r
// is filled by fillMode: 0 tiles from r's corner, 1 one copy stretched
// over r, 4 stretched across and tiled down, 5 tiled across and stretched
// down, any other value tiles. Only the copies that reach into `visible`
// are listed, so the cost is that of what is seen, not of r; copies at r's
// right and bottom edges are cut to r with the matching part of the
// source.
std::vector<TTextureTile> PlanTextureTiles(TRect r, TRect srcRect, TSize textureSize, int fillMode, TRect visible);

// Converts a parent's answer to the painters' form: an image (BgType 2)
// gives its bitmap at the offset, fill colour clFuchsia, ready; anything
// else the offset, the colour (resolved by toRGB when it is set: system
// colours) and not ready. The Win32 layer's two-argument form resolves
// through the system.
void BackgroundInfoToImageInfo(const TsBackgroundInfo& info, TsParentImageInfo& imageInfo,
                               const std::function<TColor(TColor)>& toRGB);

}  // namespace kova::skin
