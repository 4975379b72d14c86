#include "skin/core/paint/portable/glow.h"

#include <algorithm>

#include "skin/core/paint/portable/maskpaint.h"

namespace kova::skin {

namespace {
// Every input may come from anywhere (screen rectangles, a skin's sizes):
// each is bounded first, so that no sum below overflows and the halo never
// asks for more than a screen-sized picture.
constexpr int kMaxCoordinate = 1 << 20;
constexpr int kMaxHaloSide = 16384;
int Coordinate(int v) { return std::clamp(v, -kMaxCoordinate, kMaxCoordinate); }
int Border(int v) { return std::clamp(v, 0, kMaxCoordinate); }
}  // namespace

TGlowGeometry ComputeGlowGeometry(TRect c, TRect clip, int ml, int mt, int mr, int mb, int margin) {
    TGlowGeometry g;
    c = {Coordinate(c.Left), Coordinate(c.Top), Coordinate(c.Right), Coordinate(c.Bottom)};
    clip = {Coordinate(clip.Left), Coordinate(clip.Top), Coordinate(clip.Right), Coordinate(clip.Bottom)};
    ml = Border(ml), mt = Border(mt), mr = Border(mr), mb = Border(mb);
    margin = std::clamp(margin, -kMaxGlowMargin, kMaxGlowMargin);
    const int cw = c.Right - c.Left, ch = c.Bottom - c.Top;
    const int clipW = clip.Right - clip.Left, clipH = clip.Bottom - clip.Top;
    int w = cw + ml + mr - 2 * margin;
    int h = ch + mt + mb - 2 * margin;
    g.FullWidth = w;
    g.FullHeight = h;
    // A halo of no area is refused rather than made as a bitmap of
    // negative size, and one larger than any screen rather than allocated.
    if (w <= 0 || h <= 0 || w > kMaxHaloSide || h > kMaxHaloSide) return g;
    int l = 0, t = 0, r = 0, b = 0;
    if (clipW != cw || clipH != ch) {
        l = clip.Left != 0 ? ml + clip.Left - margin : 0;
        t = clip.Top != 0 ? mt + clip.Top - margin : 0;
        if (cw == clip.Right)
            r = 0;
        else if (l != 0)
            r = w - l - clipW;
        else
            r = cw - clipW + mr - margin;
        if (ch == clip.Bottom)
            b = 0;
        else if (t != 0)
            b = h - t - clipH;
        else
            b = ch - clipH + mb - margin;
        w -= l + r;
        h -= t + b;
    }
    if (w <= 0 || h <= 0 || l < 0 || t < 0 || l + w > g.FullWidth || t + h > g.FullHeight) return g;
    g.Valid = true;
    g.CutLeft = l;
    g.CutTop = t;
    g.Width = w;
    g.Height = h;
    g.X = c.Left - ml + margin + l;
    g.Y = c.Top - mt + margin + t;
    return g;
}

Bitmap32 RenderGlowBitmap(const TGlowGeometry& g, const TsMaskData* mask) {
    if (!g.Valid) return {};
    Bitmap32 full(g.FullWidth, g.FullHeight);  // black, alpha 0
    if (mask != nullptr) PaintBorderMask(full, {0, 0, g.FullWidth, g.FullHeight}, {}, *mask, 0, false);
    if (g.CutLeft == 0 && g.CutTop == 0 && g.Width == g.FullWidth && g.Height == g.FullHeight) return full;
    Bitmap32 part(g.Width, g.Height);
    CopyOpaqueRect(part, 0, 0, full, {g.CutLeft, g.CutTop, g.CutLeft + g.Width, g.CutTop + g.Height});
    return part;
}

int GlowMaskIndex(const TsSkinModel& skin, const std::string& sectionName, const std::string& name) {
    return skin.IndexOfMaskExact(sectionName, name + "0");
}

}  // namespace kova::skin
