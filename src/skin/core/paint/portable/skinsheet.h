// A review sheet of a skin: every section painted in each of its states
// (normal, hot, pressed, disabled, focused, as many as the section has)
// over a checkerboard, one labelled row per section. Window-free, so the
// sheet of a skin is the same on every platform and serves golden tests.
#pragma once

#include <cstdint>
#include <string>

#include "skin/core/model/skinmodel.h"
#include "skin/core/portable/pixels.h"

namespace kova::skin {

Bitmap32 RenderSkinSheet(const TsSkinModel& skin);
// Upper-case letters, digits and a little punctuation in a 3 x 5 pixel
// face drawn at `scale`; other characters leave a gap.
void DrawLabel(Bitmap32& dest, int x, int y, const std::string& text, std::uint32_t pixel, int scale);
// 64-bit FNV-1a over the pixel words, row by row, as 16 hex digits.
std::string PixelChecksum(const Bitmap32& bitmap);

}  // namespace kova::skin
