// The window-free half of text painting: shortening a caption to a width,
// the blur of a text's shadow or glow, and laying rendered ink onto a
// 32-bit bitmap without touching its alpha. The Win32 half renders the
// glyphs (black on white) into the planes these routines combine.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "skin/core/portable/pixels.h"
#include "skin/core/portable/skintypes.h"

namespace kova::skin {

// Text when maxWidth >= 1, else empty; a text wider than maxWidth loses
// characters from its end until it fits followed by "...", which is then
// appended (an empty result carries no dots).
std::string CutTextToWidth(const std::string& text, int maxWidth, const std::function<int(const std::string&)>& width);

// Weights exp(-x^2 / 2) for x from -radius to radius, scaled to sum to
// maxValue.
std::vector<double> GaussianKernel(double deviation, double maxValue, int radius);
// Blurs an 8-bit plane, rows first, then columns (indexes clamped to the
// line, results clamped to 0..255).
void GaussianBlurBitmap(Bitmap8& plane, int radius);

// Where the blurred plane m (placed at `at` in dest) is not white, each
// colour channel d of dest becomes k + (d - k) * m / 255, k the colour's.
void ApplyShadowPlane(Bitmap32& dest, const Bitmap8& plane, TPoint at, TColor colour);
// Ink rendered black on white (a 32-bit buffer placed at `at` in dest):
// m = (r + g + b) div 3, each colour channel d := ((d - k) * m + k * 256)
// shr 8; white pixels are skipped and dest's alpha is never touched.
void ApplyInk(Bitmap32& dest, const Bitmap32& ink, TPoint at, TColor colour);

}  // namespace kova::skin
