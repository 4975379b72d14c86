// Text onto 32-bit buffers through GDI: the glyphs are rendered black on
// white in a DIB and laid onto the buffer as ink, so anti-aliasing works
// and the buffer's alpha survives; and the blurred shadow or glow of a
// text, painted under where the text will go.
#pragma once

#include <windows.h>

#include <string>

#include "skin/core/model/skinmodel.h"
#include "skin/core/portable/pixels.h"

namespace kova::skin {

// Draws text (DrawText flags passed through) in colour (0x00BBGGRR) into r
// of dest with the font; false when the rendering failed.
bool DrawTextToBitmap32(Bitmap32& dest, HFONT font, const std::string& text, TColor colour, UINT flags, const RECT& r);

// The soft shadow or glow of the text only: the text is rendered black on
// white in r enlarged by blurSize + 4, once unmoved and once moved by a
// pixel for each of spreadFlags' bits 1, 2, 4, 8 (left, up, right, down),
// blurred, and where the result is dark dest takes colour. `cache` keeps
// the blurred plane between calls of the same size.
void DrawTextWithShadow(Bitmap32& dest, HFONT font, const std::string& text, const RECT& r, Bitmap8& cache,
                        TColor colour, int blurSize, int spreadFlags, UINT flags);

// A section's text onto a bitmap: with drawContours, each contour colour
// of the state's block that is set (left, top, right, bottom: the text one
// pixel off to that side), then the font colour on top. Without a valid
// section the text is drawn once in fallbackColour. Nothing for an empty
// text or rectangle.
void PaintSkinTextOnBitmap(Bitmap32& dest, HFONT font, const std::string& text, bool drawContours, const RECT& r,
                           UINT flags, const TsSkinModel& skin, int sectionIndex, bool hot, TColor fallbackColour);

}  // namespace kova::skin
