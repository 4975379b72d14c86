// Nine-slice painting of skin images (masks) on 32-bit buffers, and the
// copy routines for pieces with a key colour or a grey mask under them.
// Every read is clipped to its source bitmap and every write to its
// destination, so a huge rectangle costs only what is visible.
#pragma once

#include "skin/core/model/skindata.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/portable/skintypes.h"

namespace kova::skin {

// The bitmap a mask's images lie in: its own picture, else the master
// bitmap of the skin that loaded it; nullptr when there is neither.
const Bitmap32* MaskSourceBitmap(const TsMaskData& mask);

// Copies srcRect (right column and bottom row included) to (x, y). Key
// pixels become the background's pixel (useBackground with a ready image),
// stay as they are (ready but not used) or take the fill colour at alpha
// 255 (no ready background).
void CopyTransparentRect(Bitmap32& dest, const Bitmap32& source, int x, int y, TRect srcRect,
                         TColor transparentColour, const TsParentImageInfo& background, bool useBackground);
// The same, key pixels skipped (srcRect inclusive as above).
void CopyKeyedRect(Bitmap32& dest, const Bitmap32& source, int x, int y, TRect srcRect, TColor transparentColour);
// Opaque copy of srcRect (right and bottom exclusive) to (x, y).
void CopyOpaqueRect(Bitmap32& dest, int x, int y, const Bitmap32& source, TRect srcRect);

// A piece of an image whose grey mask lies maskOffset rows below it:
// d := ((d - s) * m + s * 256) shr 8 per channel, alpha 255. With
// useBackground and a ready background image, the background pixel takes
// d's place first. The piece is cut to the smaller of both rectangles.
void CopyMaskedPiece(Bitmap32& dest, TRect destRect, TRect srcRect, const Bitmap32& source, int maskOffset,
                     bool useBackground, const TsParentImageInfo& background);
// The stretching counterpart: image and mask are sampled with one
// nearest-pixel mapping, so they stay aligned at the piece's edges.
void StretchMaskedPiece(Bitmap32& dest, TRect destRect, TRect srcRect, const Bitmap32& source, int maskOffset);

// A whole image with its mask below (masked true) or a plain key-colour
// image (masked false). Mode other than 1 draws the image weaker (mask
// raised by 100). Alpha becomes a + (255 - m) * (255 - a) / 255.
void CopyMaskedRect(Bitmap32& dest, TRect destRect, const Bitmap32& source, TRect srcRect,
                    const TsParentImageInfo& background, int mode, TColor transparentColour, bool masked);

// One state of a mask as a nine-slice picture into r.
void PaintBorderMask(Bitmap32& dest, TRect r, const TsParentImageInfo& background, const TsMaskData& mask, int state,
                     bool cornersFromBackground);
// One whole state image at p, no slicing.
void DrawMaskState(Bitmap32& dest, TPoint p, int state, int mode, const TsMaskData& mask,
                   const TsParentImageInfo& background);

// Edge modes of DrawBitmapSliced.
enum TSliceMode : int { smTile = 0, smStretch = 1 };
struct TSliceBorders {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};
// srcRect of source copied into destRect of dest in nine slices: the
// corners as they are at the border sizes (first limited to what both
// rectangles hold), each edge (left, top, right, bottom) tiled (the last
// tile cut) or stretched by its own mode, and the centre by centreMode.
// An edge or centre with no source pixels is left alone.
void DrawBitmapSliced(Bitmap32& dest, const Bitmap32& source, TRect destRect, TRect srcRect, TSliceBorders borders,
                      const int (&edgeModes)[4], int centreMode);

// Over r of dest (limited to what the background holds from bgPoint),
// key-colour pixels become the background's pixel at the same offset. With
// mask nullptr the key colour is tested in dest; otherwise in the mask's
// state-0 image at the corner chosen by cornerCode (14 top-right, 16
// bottom-left, 17 bottom-right, else top-left).
void FillTransparentFromBackground(Bitmap32& dest, const Bitmap32& background, TRect r, TPoint bgPoint,
                                   const TsMaskData* mask, int cornerCode);

}  // namespace kova::skin
