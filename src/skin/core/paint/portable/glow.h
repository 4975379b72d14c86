// The window-free half of a control's glow: where the halo window goes,
// how large it is once cut to the visible part of the control, and its
// picture (the section's glow mask as a nine-slice image over transparent
// black). The Win32 half shows the picture in a layered, click-through
// window.
#pragma once

#include "skin/core/model/skinmodel.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/portable/skintypes.h"

namespace kova::skin {

struct TGlowGeometry {
    // False when the halo would have no area: nothing is shown then.
    bool Valid = false;
    int FullWidth = 0, FullHeight = 0;  // the whole halo, before cutting
    int CutLeft = 0, CutTop = 0;        // where the visible part starts in it
    int Width = 0, Height = 0;          // the window's size
    int X = 0, Y = 0;                   // the window's position (screen)
};

// controlRect and clipRect in screen coordinates (clipRect: the visible
// part of the control, relative to it when it is cut); the mask's border
// widths; margin: pixels of the mask's border that lie inside the control.
TGlowGeometry ComputeGlowGeometry(TRect controlRect, TRect clipRect, int marginLeft, int marginTop, int marginRight,
                                  int marginBottom, int margin);

// The halo picture of the geometry's window size: state 0 of the mask
// painted over the full size, then cut. Empty for an invalid geometry.
Bitmap32 RenderGlowBitmap(const TGlowGeometry& geometry, const TsMaskData* mask);

// The glow mask of a section: the image entry named name + "0" of exactly
// that section; -1 when the skin has none.
int GlowMaskIndex(const TsSkinModel& skin, const std::string& sectionName, const std::string& name);

}  // namespace kova::skin
