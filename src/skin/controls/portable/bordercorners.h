// The corners of a control's border: where the border mask is transparent
// (the key colour), the control's cached picture shows what lies under the
// control instead. Window-free.
#pragma once

#include <cstdint>

#include "skin/core/model/skindata.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/portable/skintypes.h"

namespace kova::skin {

struct TBorderCornerSource {
    // The bitmap the mask's images lie in, and the state image used.
    const Bitmap32* Mask = nullptr;
    TRect Image;
    // The border widths on each side (Left, Top, Right, Bottom).
    TRect Borders;
    // What lies under the control: an image whose pixel (BackgroundAt.X + x,
    // BackgroundAt.Y + y) is under the cache's (x, y); without one the
    // colour (0xBBGGRR; 0xFF00FF: none, nothing is written).
    const Bitmap32* Background = nullptr;
    TPoint BackgroundAt;
    std::uint32_t Colour = 0xFF00FF;
};

// The rectangle of one state image of a mask in its bitmap.
TRect MaskStateRect(const TsMaskData& mask, int state);

// Every pixel of the cache's four border strips whose mask pixel is the key
// colour takes the background's pixel. The strips are cut to the cache:
// no strip is wider than the cache, two opposite strips together no wider
// than it, so a cache smaller than the border is walked once and never
// beyond its edges.
void FillTransparentBorderPixels(Bitmap32& cache, const TBorderCornerSource& s);

}  // namespace kova::skin
