#include "skin/core/paint/portable/surface.h"

#include <algorithm>
#include <cmath>

#include "skin/core/paint/portable/maskpaint.h"

namespace kova::skin {

namespace {

inline int Width(const TRect& r) { return r.Right - r.Left; }
inline int Height(const TRect& r) { return r.Bottom - r.Top; }

TRect Intersect(const TRect& a, const TRect& b) {
    return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

}  // namespace

// ------------------------------------------------------------------ glyph

void DrawButtonGlyph(Bitmap32& dest, const Bitmap32& glyph, int numGlyphs, int state, int disabledFlags,
                     TColor transparentColour, TPoint p) {
    if (numGlyphs < 1 || glyph.Empty()) return;
    const int w = glyph.Width() / numGlyphs, h = glyph.Height();
    if (w < 1) return;
    state = std::clamp(state, 0, numGlyphs - 1);
    // The key colour as a pixel word: the strip is compared in pixel order.
    const std::uint32_t key = SwapRedBlue(transparentColour & 0xFFFFFF);
    Bitmap32 image(w, h);
    for (int y = 0; y < h; ++y) std::copy_n(glyph.ScanLine(y) + state * w, w, image.ScanLine(y));
    if ((disabledFlags & 2) != 0) {
        // Grey, but the key pixels stay the key colour, or they would show.
        for (int y = 0; y < h; ++y) {
            std::uint32_t* s = image.ScanLine(y);
            for (int x = 0; x < w; ++x) {
                if (SameColourBits(s[x], key)) continue;
                const std::uint32_t c = s[x];
                const std::uint32_t g = (((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF)) / 3;
                s[x] = (c & 0xFF000000u) | (g << 16) | (g << 8) | g;
            }
        }
    }
    if ((disabledFlags & 1) != 0)
        BlendBitmapRect(dest, p.X, p.Y, image, {0, 0, w, h}, 0.5, key);
    else
        CopyTransparentBitmap(dest, p.X, p.Y, image, key);
}

// ----------------------------------------------------------------- shadow

namespace {
// Pixel centres inside the rounded rectangle r (corner radius rad).
void FillRoundRect(Bitmap32& mask, TRect r, int rad, std::uint32_t pixel) {
    r = Intersect(r, {0, 0, mask.Width(), mask.Height()});
    if (Width(r) <= 0 || Height(r) <= 0) return;
    rad = std::clamp(rad, 0, std::min(Width(r), Height(r)) / 2);
    for (int y = r.Top; y < r.Bottom; ++y) {
        // How far the row is inside a corner band, and the run it keeps.
        int inset = 0;
        const double cy = y + 0.5;
        double dy = 0;
        if (cy < r.Top + rad) dy = r.Top + rad - cy;
        else if (cy > r.Bottom - rad) dy = cy - (r.Bottom - rad);
        if (dy > 0) {
            const double dx = std::sqrt(std::max(0.0, static_cast<double>(rad) * rad - dy * dy));
            inset = static_cast<int>(std::ceil(rad - dx - 0.5));
        }
        std::uint32_t* line = mask.ScanLine(y);
        for (int x = r.Left + inset; x < r.Right - inset; ++x) line[x] = pixel;
    }
}
}  // namespace

Bitmap32 ShadowMask(int w, int h, int transparency, int blur, int radius) {
    Bitmap32 mask(std::max(w, 0), std::max(h, 0));
    mask.Fill(0xFFFFFFFFu);
    if (mask.Empty()) return mask;
    blur = std::clamp(blur, 0, std::min(w / 2, h / 2));
    radius = std::clamp(radius, 0, std::min(w / 2, h / 2));
    transparency = std::clamp(transparency, 0, 100);
    const double step = (255 - transparency * 255 / 100) / static_cast<double>(blur + 1);
    for (int i = 0; i <= blur; ++i) {
        const int level = std::clamp(static_cast<int>(std::lround(255 - step * (i + 1))), 0, 255);
        const std::uint32_t g = static_cast<std::uint32_t>(level);
        FillRoundRect(mask, {i, i, w - i, h - i}, radius, 0xFF000000u | (g << 16) | (g << 8) | g);
    }
    return mask;
}

void PaintShadowRect(Bitmap32& dest, TRect r, int transparency, TColor colour, int blur, int radius) {
    const int w = Width(r), h = Height(r);
    if (w <= 0 || h <= 0) return;
    const TRect vis = Intersect(r, {0, 0, dest.Width(), dest.Height()});
    if (Width(vis) <= 0 || Height(vis) <= 0) return;
    const Bitmap32 mask = ShadowMask(w, h, transparency, blur, radius);
    // Only the visible part of the area is copied out, combined and put back.
    Bitmap32 area(Width(vis), Height(vis)), part(Width(vis), Height(vis));
    for (int y = vis.Top; y < vis.Bottom; ++y) {
        std::copy_n(dest.ScanLine(y) + vis.Left, Width(vis), area.ScanLine(y - vis.Top));
        std::copy_n(mask.ScanLine(y - r.Top) + (vis.Left - r.Left), Width(vis), part.ScanLine(y - vis.Top));
    }
    ApplyColorMask(area, part, colour & 0xFFFFFF);
    for (int y = vis.Top; y < vis.Bottom; ++y)
        std::copy_n(area.ScanLine(y - vis.Top), Width(vis), dest.ScanLine(y) + vis.Left);
}

// ----------------------------------------------------------------- border

TRect MaskBorderWidths(const TsMaskData& mask) {
    auto pick = [&](int own, int whole) { return own > 0 ? own : mask.CommonBorder > 0 ? mask.CommonBorder : whole; };
    const int w = ImageWidthOfMask(mask), h = ImageHeightOfMask(mask);
    return {pick(mask.MarginLeft, w), pick(mask.MarginTop, h), pick(mask.MarginRight, w), pick(mask.MarginBottom, h)};
}

void PaintBorderOverBackground(Bitmap32& cache, TRect r, const TsParentImageInfo& bg, const TsMaskData& mask,
                               int state) {
    if (Width(r) <= 0 || Height(r) <= 0) return;
    if (mask.RowMode == 1) {
        const TRect b = MaskBorderWidths(mask);
        if (bg.Ready && bg.Bmp != nullptr) {
            const TRect strips[4] = {{r.Left, r.Top, r.Right, r.Top + b.Top},
                                     {r.Left, r.Top + b.Top, r.Left + b.Left, r.Bottom},
                                     {r.Left + b.Left, r.Bottom - b.Bottom, r.Right, r.Bottom},
                                     {r.Right - b.Right, r.Top + b.Top, r.Right, r.Bottom - b.Bottom}};
            for (const TRect& s : strips)
                if (Width(s) > 0 && Height(s) > 0)
                    CopyOpaqueRect(cache, s.Left, s.Top, *bg.Bmp,
                                   {s.Left + bg.X, s.Top + bg.Y, s.Right + bg.X, s.Bottom + bg.Y});
        } else if (bg.FillColor != clFuchsia) {
            FillFrameRect32(cache, r, b.Left, b.Top, b.Right, b.Bottom, bg.FillColor);
        }
    }
    const int states = std::max<int>(mask.ColumnCount, 1);
    PaintBorderMask(cache, r, bg, mask, std::clamp(state, 0, states - 1), true);
}

// ---------------------------------------------------------------- regions

void AddMaskRegionRects(std::vector<TRect>& list, int x, const TsMaskData& mask, int y, bool bottom) {
    const Bitmap32* src = MaskSourceBitmap(mask);
    if (src == nullptr) return;
    const int pieceW = mask.MarginLeft;
    const int pieceH = bottom ? mask.MarginBottom : mask.MarginTop;
    if (pieceW <= 0 || pieceH <= 0) return;
    const int left = mask.SourceRect.Left;
    const int top = bottom ? mask.SourceRect.Top + ImageHeightOfMask(mask) - pieceH : mask.SourceRect.Top;
    const int x0 = std::max(left, 0), x1 = std::min(left + pieceW, src->Width());
    for (int row = 0; row < pieceH; ++row) {
        const int sy = top + row;
        if (sy < 0 || sy >= src->Height()) continue;
        const std::uint32_t* line = src->ScanLine(sy);
        int sx = x0;
        while (sx < x1) {
            if (!IsKeyColour(line[sx])) {
                ++sx;
                continue;
            }
            const int start = sx;
            while (sx < x1 && IsKeyColour(line[sx])) ++sx;
            list.push_back({x + start - left, y + row, x + sx - left, y + row + 1});
        }
    }
}

// --------------------------------------------------------------- textures

std::vector<TTextureTile> PlanTextureTiles(TRect r, TRect sr, TSize textureSize, int fillMode, TRect visible) {
    std::vector<TTextureTile> tiles;
    sr = Intersect(sr, {0, 0, textureSize.cx, textureSize.cy});
    const int tw = Width(sr), th = Height(sr);
    if (tw <= 0 || th <= 0 || Width(r) <= 0 || Height(r) <= 0) return tiles;
    const TRect vis = Intersect(r, visible);
    if (Width(vis) <= 0 || Height(vis) <= 0) return tiles;
    const bool stretchX = fillMode == 1 || fillMode == 4;
    const bool stretchY = fillMode == 1 || fillMode == 5;
    const int stepX = stretchX ? Width(r) : tw;
    const int stepY = stretchY ? Height(r) : th;
    // The first copy that reaches into the visible part, still on r's grid.
    const int firstX = r.Left + (vis.Left - r.Left) / stepX * stepX;
    const int firstY = r.Top + (vis.Top - r.Top) / stepY * stepY;
    for (int y = firstY; y < vis.Bottom; y += stepY)
        for (int x = firstX; x < vis.Right; x += stepX) {
            TTextureTile t{{x, y, x + stepX, y + stepY}, sr};
            if (!stretchX && t.Dest.Right > r.Right) {
                t.Src.Right -= t.Dest.Right - r.Right;
                t.Dest.Right = r.Right;
            }
            if (!stretchY && t.Dest.Bottom > r.Bottom) {
                t.Src.Bottom -= t.Dest.Bottom - r.Bottom;
                t.Dest.Bottom = r.Bottom;
            }
            tiles.push_back(t);
        }
    return tiles;
}

// ------------------------------------------------------------- background

void BackgroundInfoToImageInfo(const TsBackgroundInfo& info, TsParentImageInfo& imageInfo,
                               const std::function<TColor(TColor)>& toRGB) {
    imageInfo.X = info.Offset.X;
    imageInfo.Y = info.Offset.Y;
    if (info.BgType == 2) {
        imageInfo.Bmp = info.Bmp;
        imageInfo.FillColor = clFuchsia;
        imageInfo.Ready = info.Bmp != nullptr;  // an image answer without an image is no image
    } else {
        imageInfo.Bmp = nullptr;
        imageInfo.FillColor = toRGB ? toRGB(info.Color) : info.Color;
        imageInfo.Ready = false;
    }
}

}  // namespace kova::skin
