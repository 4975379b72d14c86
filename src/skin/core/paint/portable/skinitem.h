// The picture of one skin section in one state, composed in a 32-bit
// buffer: its background (colour, gradient and texture, partly transparent
// over what lies below), its corner images and its border. Opaque items go
// straight into the destination; a temporary buffer is made only to blend.
#pragma once

#include "skin/core/model/skinmodel.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/portable/skintypes.h"

namespace kova::skin {

// The background of r. Textures -1 are looked up ("PATTERN" in the normal
// state, "HOTPATTERN" in any other). Colour other than the key colour
// paints a plain fill in that colour instead of the section's layers.
void PaintSectionBackground(Bitmap32& dest, const TsSkinModel& skin, int sectionIndex, const TsParentImageInfo& bg,
                            int state, TRect r, TPoint offset, int textureIndex = -1, int hotTextureIndex = -1,
                            TColor colour = clFuchsia);
// As PaintSectionBackground with the section's own colours, deciding by
// the background's Ready flag alone: not ready (or transparency 0) paints
// the layers straight, transparency 100 over a ready background copies
// it, anything between blends the layers over it.
void PaintSectionBackgroundAt(Bitmap32& dest, const TsSkinModel& skin, int sectionIndex, const TsParentImageInfo& bg,
                              int state, TRect r, TPoint offset, int textureIndex = -1, int hotTextureIndex = -1);
// The background (PaintSectionBackgroundAt) and the border mask at
// borderIndex (corners over the background, whose X and Y are moved by
// offset for the border); no corner images. Nothing, and false, for an
// invalid section, a dest smaller than r, or r left or above 0.
bool PaintSkinItemSimple(Bitmap32& dest, const TsSkinModel& skin, int sectionIndex, int borderIndex, int textureIndex,
                         int hotTextureIndex, const TsParentImageInfo& bg, int state, TRect r, TPoint offset);
// Background, corner images, then the border mask. Nothing when dest is
// smaller than r or r is empty; false then.
bool PaintSkinItem(Bitmap32& dest, const TsSkinModel& skin, int sectionIndex, const TsParentImageInfo& bg, int state,
                   TRect r, TPoint offset, int textureIndex = -1, int hotTextureIndex = -1);
// A control's look: the item (the border skipped in state 0 when its draw
// mode says so), then the control's own hue and saturation changes. The
// control's textures (-1: looked up) and its own colour (clFuchsia: the
// section's layers) come from its record.
void PaintControlSkin(Bitmap32& dest, const TsSkinModel& skin, int sectionIndex, const TsParentImageInfo& bg,
                      int state, TRect r, TPoint offset, bool cornersFromBackground, int hueOffset = 0,
                      int saturation = 0, int textureIndex = -1, int hotTextureIndex = -1, TColor colour = clFuchsia);
// A masked image (grey mask below it) tiled over r.
void PaintMaskedTexture(Bitmap32& dest, TRect r, const TsMaskData& mask);

}  // namespace kova::skin
