// Multi-segment colour gradients on 32-bit buffers: bands from top to
// bottom (mode 0), from left to right (mode 1), or a mesh of four shaded
// triangles between the corners and the centre (mode 2). The first
// segment's mode decides for the whole gradient.
#pragma once

#include "skin/core/model/skindata.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/portable/skintypes.h"

namespace kova::skin {

// Paints into r (cut to the bitmap); painted pixels get alpha 255. Offset
// moves the start of the vertical bands, for a band that continues a
// gradient begun above the rectangle.
void PaintGradient(Bitmap32& bitmap, TRect r, const TsGradArray& gradient, int offset = 0);
// Modes 0 and 1 mixed with a texture tiled from the bitmap's origin:
// g := ((t - g) * w + g * 256) shr 8 per channel.
void PaintGradientEx(Bitmap32& bitmap, TRect r, const TsGradArray& gradient, int textureWeight, TRect textureRect,
                     const Bitmap32& texture);

// One triangle with a colour (0x00BBGGRR) at each vertex, shaded linearly
// between them; pixel centres inside the triangle or on its edges are
// painted (the mesh of mode 2).
struct TGradVertex {
    double X = 0, Y = 0;
    TColor Color = 0;
};
void FillShadedTriangle(Bitmap32& bitmap, const TGradVertex& a, const TGradVertex& b, const TGradVertex& c);

}  // namespace kova::skin
