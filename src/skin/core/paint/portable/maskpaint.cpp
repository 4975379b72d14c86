#include "skin/core/paint/portable/maskpaint.h"

#include <algorithm>
#include <cstdint>

#include "skin/core/model/skinmodel.h"
#include "skin/core/portable/bitmaps.h"

namespace kova::skin {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

inline int Width(const TRect& r) { return r.Right - r.Left; }
inline int Height(const TRect& r) { return r.Bottom - r.Top; }

// The background pixel under dest (x, y), or nullptr when the background
// holds none there.
inline const std::uint32_t* BackgroundPixel(const TsParentImageInfo& bg, int x, int y) {
    if (bg.Bmp == nullptr) return nullptr;
    const int bx = x + bg.X, by = y + bg.Y;
    if (bx < 0 || by < 0 || bx >= bg.Bmp->Width() || by >= bg.Bmp->Height()) return nullptr;
    return &static_cast<const Bitmap32*>(bg.Bmp)->ScanLine(by)[bx];
}

inline std::uint32_t MaskMix(std::uint32_t d, std::uint32_t s, std::uint32_t m) {
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int dc = static_cast<int>((d >> shift) & 0xFF), sc = static_cast<int>((s >> shift) & 0xFF);
        const int mc = static_cast<int>((m >> shift) & 0xFF);
        out |= static_cast<std::uint32_t>((((dc - sc) * mc + sc * 256) >> 8) & 0xFF) << shift;
    }
    return out;
}

// Visible part of a copy of a w x h block from (sx, sy) to (dx, dy): both
// are moved inward until source and destination hold every pixel.
struct Span {
    int sx, sy, dx, dy, w, h;
};
bool ClipCopy(Span& s, int srcW, int srcH, int dstW, int dstH) {
    auto clip1 = [](int& sp, int& dp, int& len, int srcLen, int dstLen) {
        if (sp < 0) { dp -= sp; len += sp; sp = 0; }
        if (dp < 0) { sp -= dp; len += dp; dp = 0; }
        len = std::min({len, srcLen - sp, dstLen - dp});
    };
    clip1(s.sx, s.dx, s.w, srcW, dstW);
    clip1(s.sy, s.dy, s.h, srcH, dstH);
    return s.w > 0 && s.h > 0;
}

// Calls f(pos, len, srcCut) for every piece of length `piece` laid from
// `start` to `end` (the last one cut), skipping pieces wholly outside
// [lo, hi): a huge span with a tiny piece costs only what is visible.
template <class F>
void ForEachTile(int start, int end, int piece, int lo, int hi, F f) {
    if (piece <= 0 || end <= start) return;
    int pos = start;
    if (pos < lo) pos += (lo - pos) / piece * piece;
    for (; pos < end && pos < hi; pos += piece) f(pos, std::min(piece, end - pos));
}

}  // namespace

const Bitmap32* MaskSourceBitmap(const TsMaskData& mask) {
    if (mask.Image) return mask.Image.get();
    if (mask.Owner == nullptr) return nullptr;
    return static_cast<const TsSkinModel*>(mask.Owner)->MasterBitmap();
}

void CopyTransparentRect(Bitmap32& dest, const Bitmap32& source, int x, int y, TRect sr, TColor transparent,
                         const TsParentImageInfo& bg, bool useBackground) {
    Span s{sr.Left, sr.Top, x, y, sr.Right - sr.Left + 1, sr.Bottom - sr.Top + 1};
    if (!ClipCopy(s, source.Width(), source.Height(), dest.Width(), dest.Height())) return;
    const std::uint32_t fill = ColorToPixel(bg.FillColor) | kOpaque;
    for (int j = 0; j < s.h; ++j) {
        const std::uint32_t* src = source.ScanLine(s.sy + j) + s.sx;
        std::uint32_t* d = dest.ScanLine(s.dy + j) + s.dx;
        for (int i = 0; i < s.w; ++i) {
            if (!SameColourBits(src[i], transparent)) {
                d[i] = src[i];
            } else if (!bg.Ready) {
                d[i] = fill;
            } else if (useBackground) {
                if (const std::uint32_t* b = BackgroundPixel(bg, s.dx + i, s.dy + j)) d[i] = *b;
            }
        }
    }
}

void CopyKeyedRect(Bitmap32& dest, const Bitmap32& source, int x, int y, TRect sr, TColor transparent) {
    Span s{sr.Left, sr.Top, x, y, sr.Right - sr.Left + 1, sr.Bottom - sr.Top + 1};
    if (!ClipCopy(s, source.Width(), source.Height(), dest.Width(), dest.Height())) return;
    for (int j = 0; j < s.h; ++j) {
        const std::uint32_t* src = source.ScanLine(s.sy + j) + s.sx;
        std::uint32_t* d = dest.ScanLine(s.dy + j) + s.dx;
        for (int i = 0; i < s.w; ++i)
            if (!SameColourBits(src[i], transparent)) d[i] = src[i];
    }
}

void CopyOpaqueRect(Bitmap32& dest, int x, int y, const Bitmap32& source, TRect sr) {
    Span s{sr.Left, sr.Top, x, y, Width(sr), Height(sr)};
    if (!ClipCopy(s, source.Width(), source.Height(), dest.Width(), dest.Height())) return;
    for (int j = 0; j < s.h; ++j) std::copy_n(source.ScanLine(s.sy + j) + s.sx, s.w, dest.ScanLine(s.dy + j) + s.dx);
}

void CopyMaskedPiece(Bitmap32& dest, TRect dr, TRect sr, const Bitmap32& source, int maskOffset, bool useBackground,
                     const TsParentImageInfo& bg) {
    if (maskOffset < 0) return;
    // The mask rows must lie in the source as well as the image rows.
    Span s{sr.Left, sr.Top, dr.Left, dr.Top, std::min(Width(sr), Width(dr)), std::min(Height(sr), Height(dr))};
    if (!ClipCopy(s, source.Width(), source.Height() - maskOffset, dest.Width(), dest.Height())) return;
    const bool withBg = useBackground && bg.Ready && bg.Bmp != nullptr;
    for (int j = 0; j < s.h; ++j) {
        const std::uint32_t* src = source.ScanLine(s.sy + j) + s.sx;
        const std::uint32_t* msk = source.ScanLine(s.sy + j + maskOffset) + s.sx;
        std::uint32_t* d = dest.ScanLine(s.dy + j) + s.dx;
        for (int i = 0; i < s.w; ++i) {
            std::uint32_t under = d[i];
            if (withBg)
                if (const std::uint32_t* b = BackgroundPixel(bg, s.dx + i, s.dy + j)) under = *b;
            d[i] = MaskMix(under, src[i], msk[i]) | kOpaque;
        }
    }
}

void StretchMaskedPiece(Bitmap32& dest, TRect dr, TRect sr, const Bitmap32& source, int maskOffset) {
    if (maskOffset < 0) return;
    sr.Left = std::max(sr.Left, 0);
    sr.Top = std::max(sr.Top, 0);
    sr.Right = std::min(sr.Right, source.Width());
    sr.Bottom = std::min(sr.Bottom, source.Height() - maskOffset);
    const int sw = Width(sr), sh = Height(sr), dw = Width(dr), dh = Height(dr);
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    const int y0 = std::max(dr.Top, 0), y1 = std::min(dr.Bottom, dest.Height());
    const int x0 = std::max(dr.Left, 0), x1 = std::min(dr.Right, dest.Width());
    for (int y = y0; y < y1; ++y) {
        const int sy = sr.Top + static_cast<int>(static_cast<std::int64_t>(y - dr.Top) * sh / dh);
        const std::uint32_t* src = source.ScanLine(sy);
        const std::uint32_t* msk = source.ScanLine(sy + maskOffset);
        std::uint32_t* d = dest.ScanLine(y);
        for (int x = x0; x < x1; ++x) {
            const int sx = sr.Left + static_cast<int>(static_cast<std::int64_t>(x - dr.Left) * sw / dw);
            d[x] = MaskMix(d[x], src[sx], msk[sx]) | kOpaque;
        }
    }
}

void CopyMaskedRect(Bitmap32& dest, TRect dr, const Bitmap32& source, TRect sr, const TsParentImageInfo& bg, int mode,
                    TColor transparent, bool masked) {
    if (!masked) {
        CopyKeyedRect(dest, source, dr.Left, dr.Top, {sr.Left, sr.Top, sr.Right - 1, sr.Bottom - 1}, transparent);
        return;
    }
    const int maskOffset = Height(sr);
    Span s{sr.Left, sr.Top, dr.Left, dr.Top, std::min(Width(sr), Width(dr)), std::min(Height(sr), Height(dr))};
    if (!ClipCopy(s, source.Width(), source.Height() - maskOffset, dest.Width(), dest.Height())) return;
    const bool withBg = bg.Ready && bg.Bmp != nullptr;
    for (int j = 0; j < s.h; ++j) {
        const std::uint32_t* src = source.ScanLine(s.sy + j) + s.sx;
        const std::uint32_t* msk = source.ScanLine(s.sy + j + maskOffset) + s.sx;
        std::uint32_t* d = dest.ScanLine(s.dy + j) + s.dx;
        for (int i = 0; i < s.w; ++i) {
            std::uint32_t m = msk[i];
            if (mode != 1) {
                std::uint32_t raised = 0;
                for (int shift = 0; shift < 24; shift += 8)
                    raised |= std::min<std::uint32_t>(((m >> shift) & 0xFF) + 100, 255) << shift;
                m = raised;
            }
            std::uint32_t under = d[i];
            if (withBg)
                if (const std::uint32_t* b = BackgroundPixel(bg, s.dx + i, s.dy + j)) under = *b;
            const std::uint32_t a = under >> 24, mb = m & 0xFF;
            const std::uint32_t alpha = a + (255 - mb) * (255 - a) / 255;
            d[i] = MaskMix(under, src[i], m) | (alpha << 24);
        }
    }
}

void PaintBorderMask(Bitmap32& dest, TRect r, const TsParentImageInfo& bg, const TsMaskData& mask, int state,
                     bool cornersFromBackground) {
    if (state == 0 && (mask.DrawMode & 2) != 0) return;
    if (Width(r) < 2 || Height(r) < 2) return;
    const Bitmap32* src = MaskSourceBitmap(mask);
    if (src == nullptr) return;

    int wl = mask.MarginLeft, wt = mask.MarginTop, wr = mask.MarginRight, wb = mask.MarginBottom;
    // Corners that do not fit give up equal parts, the far one a pixel more
    // for an odd size, so that they meet without overlapping.
    auto shrink = [](int& a, int& b, int size) {
        if (size >= a + b) return;
        const int d = (a + b - size) / 2;
        a -= d;
        b -= d;
        if (size % 2 != 0) --b;
        a = std::max(a, 0);
        b = std::max(b, 0);
    };
    shrink(wl, wr, Width(r));
    shrink(wt, wb, Height(r));

    if (mask.ColumnCount <= 0) return;
    state = std::clamp(state, 0, mask.ColumnCount - 1);
    const int w = ImageWidthOfMask(mask), h = ImageHeightOfMask(mask);
    const bool masked = mask.RowMode == 1;
    const int maskOffset = masked ? h : 0;
    const bool stretch = (mask.DrawMode & 1) != 0;
    const int cw = w - wl - wr, ch = h - wt - wb;
    if (cw < 0 || ch < 0) return;
    const int sx = mask.SourceRect.Left + w * state, sy = mask.SourceRect.Top;
    const bool cornerBg = cornersFromBackground && mask.CornerKind >= 1;

    auto corner = [&](int dx, int dy, TRect s) {
        if (Width(s) <= 0 || Height(s) <= 0) return;
        if (masked)
            CopyMaskedPiece(dest, {dx, dy, dx + Width(s), dy + Height(s)}, s, *src, maskOffset, cornerBg, bg);
        else
            CopyTransparentRect(dest, *src, dx, dy, {s.Left, s.Top, s.Right - 1, s.Bottom - 1}, clFuchsia, bg, cornerBg);
    };
    // One piece of an edge or of the centre, already cut to its length.
    auto piece = [&](TRect d, TRect s) {
        if (masked)
            CopyMaskedPiece(dest, d, s, *src, maskOffset, false, bg);
        else
            CopyOpaqueRect(dest, d.Left, d.Top, *src, s);
    };
    // An area filled from a source piece: stretched once, or tiled with the
    // last piece of each row and column cut.
    auto area = [&](TRect d, TRect s) {
        if (Width(d) <= 0 || Height(d) <= 0 || Width(s) <= 0 || Height(s) <= 0) return;
        if (stretch) {
            if (masked)
                StretchMaskedPiece(dest, d, s, *src, maskOffset);
            else
                StretchRect(dest, d, *src, s);
            return;
        }
        ForEachTile(d.Top, d.Bottom, Height(s), 0, dest.Height(), [&](int y, int th) {
            ForEachTile(d.Left, d.Right, Width(s), 0, dest.Width(), [&](int x, int tw) {
                piece({x, y, x + tw, y + th}, {s.Left, s.Top, s.Left + tw, s.Top + th});
            });
        });
    };

    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    corner(L, T, {sx, sy, sx + wl, sy + wt});
    area({L, T + wt, L + wl, B - wb}, {sx, sy + wt, sx + wl, sy + wt + ch});
    area({L + wl, T, R - wr, T + wt}, {sx + wl, sy, sx + wl + cw, sy + wt});
    corner(L, B - wb, {sx, sy + h - wb, sx + wl, sy + h});
    area({L + wl, B - wb, R - wr, B}, {sx + wl, sy + h - wb, sx + wl + cw, sy + h});
    corner(R - wr, B - wb, {sx + w - wr, sy + h - wb, sx + w, sy + h});
    corner(R - wr, T, {sx + w - wr, sy, sx + w, sy + wt});
    area({R - wr, T + wt, R, B - wb}, {sx + w - wr, sy + wt, sx + w, sy + wt + ch});
    if ((mask.DrawMode & 4) != 0) area({L + wl, T + wt, R - wr, B - wb}, {sx + wl, sy + wt, sx + wl + cw, sy + wt + ch});
}

void DrawMaskState(Bitmap32& dest, TPoint p, int state, int mode, const TsMaskData& mask,
                   const TsParentImageInfo& bg) {
    if (mask.ColumnCount <= 0) return;
    const Bitmap32* src = MaskSourceBitmap(mask);
    if (src == nullptr) return;
    state = std::clamp(state, 0, mask.ColumnCount - 1);
    const int w = ImageWidthOfMask(mask), h = ImageHeightOfMask(mask);
    const TRect sr{mask.SourceRect.Left + w * state, mask.SourceRect.Top, mask.SourceRect.Left + w * (state + 1),
                   mask.SourceRect.Top + h};
    const TRect dr{p.X, p.Y, p.X + w, p.Y + h};
    if (mask.Image) {
        if (src->Width() >= mask.SourceRect.Right && src->Height() >= mask.SourceRect.Bottom)
            CopyMaskedRect(dest, dr, *src, sr, bg, mode, clFuchsia, mask.RowMode == 1);
        return;
    }
    if (mask.RowMode == 0) {
        if (mode == 1)
            CopyTransparentRect(dest, *src, p.X, p.Y, {sr.Left, sr.Top, sr.Right - 1, sr.Bottom - 1}, clFuchsia, bg, true);
        else
            BlendBitmapRect(dest, p.X, p.Y, *src, sr, 0.5, clFuchsia);
    } else {
        CopyMaskedRect(dest, dr, *src, sr, bg, mode, clFuchsia, true);
    }
}

void FillTransparentFromBackground(Bitmap32& dest, const Bitmap32& background, TRect r, TPoint bgPoint,
                                   const TsMaskData* mask, int cornerCode) {
    // Limited to what the background holds from bgPoint, and to dest.
    const int w = std::min({Width(r), background.Width() - bgPoint.X}), h = std::min({Height(r), background.Height() - bgPoint.Y});
    const Bitmap32* test = &dest;
    int tx = r.Left, ty = r.Top;
    if (mask != nullptr) {
        test = MaskSourceBitmap(*mask);
        if (test == nullptr) return;
        const int iw = ImageWidthOfMask(*mask), ih = ImageHeightOfMask(*mask);
        tx = mask->SourceRect.Left;
        ty = mask->SourceRect.Top;
        if (cornerCode == 14 || cornerCode == 17) tx += iw - Width(r);
        if (cornerCode == 16 || cornerCode == 17) ty += ih - Height(r);
    }
    for (int j = 0; j < h; ++j) {
        const int dy = r.Top + j, by = bgPoint.Y + j, ky = ty + j;
        if (dy < 0 || dy >= dest.Height() || by < 0 || ky < 0 || ky >= test->Height()) continue;
        for (int i = 0; i < w; ++i) {
            const int dx = r.Left + i, bx = bgPoint.X + i, kx = tx + i;
            if (dx < 0 || dx >= dest.Width() || bx < 0 || kx < 0 || kx >= test->Width()) continue;
            if (IsKeyColour(test->ScanLine(ky)[kx])) dest.ScanLine(dy)[dx] = background.ScanLine(by)[bx];
        }
    }
}

namespace {

// srcRect of source laid over destRect: copies side by side from its top-left
// corner (the last ones cut), or one copy stretched over the whole of it.
void FillPiece(Bitmap32& dest, TRect d, const Bitmap32& source, TRect sr, int mode) {
    const int sw = Width(sr), sh = Height(sr);
    if (sw <= 0 || sh <= 0 || Width(d) <= 0 || Height(d) <= 0) return;
    if (mode == smStretch) {
        StretchRect(dest, d, source, sr);
        return;
    }
    for (int y = d.Top; y < d.Bottom; y += sh)
        for (int x = d.Left; x < d.Right; x += sw)
            CopyOpaqueRect(dest, x, y, source,
                           {sr.Left, sr.Top, sr.Left + std::min(sw, d.Right - x), sr.Top + std::min(sh, d.Bottom - y)});
}

// Two border widths limited so that they fit a length: both lose half of
// what is too much (the second one pixel more for an odd excess).
void FitBorders(int& first, int& second, int length) {
    first = std::max(first, 0);
    second = std::max(second, 0);
    const int excess = first + second - std::max(length, 0);
    if (excess <= 0) return;
    first -= excess / 2;
    second -= excess - excess / 2;
    if (first < 0) second += first, first = 0;
    if (second < 0) first += second, second = 0;
}

}  // namespace

void DrawBitmapSliced(Bitmap32& dest, const Bitmap32& source, TRect d, TRect s, TSliceBorders b,
                      const int (&edgeModes)[4], int centreMode) {
    if (Width(d) <= 0 || Height(d) <= 0 || Width(s) <= 0 || Height(s) <= 0) return;
    int l = b.Left, t = b.Top, r = b.Right, btm = b.Bottom;
    FitBorders(l, r, std::min(Width(d), Width(s)));
    FitBorders(t, btm, std::min(Height(d), Height(s)));
    // Corners.
    CopyOpaqueRect(dest, d.Left, d.Top, source, {s.Left, s.Top, s.Left + l, s.Top + t});
    CopyOpaqueRect(dest, d.Right - r, d.Top, source, {s.Right - r, s.Top, s.Right, s.Top + t});
    CopyOpaqueRect(dest, d.Left, d.Bottom - btm, source, {s.Left, s.Bottom - btm, s.Left + l, s.Bottom});
    CopyOpaqueRect(dest, d.Right - r, d.Bottom - btm, source, {s.Right - r, s.Bottom - btm, s.Right, s.Bottom});
    // Edges: left, top, right, bottom.
    FillPiece(dest, {d.Left, d.Top + t, d.Left + l, d.Bottom - btm}, source, {s.Left, s.Top + t, s.Left + l, s.Bottom - btm},
              edgeModes[0]);
    FillPiece(dest, {d.Left + l, d.Top, d.Right - r, d.Top + t}, source, {s.Left + l, s.Top, s.Right - r, s.Top + t},
              edgeModes[1]);
    FillPiece(dest, {d.Right - r, d.Top + t, d.Right, d.Bottom - btm}, source,
              {s.Right - r, s.Top + t, s.Right, s.Bottom - btm}, edgeModes[2]);
    FillPiece(dest, {d.Left + l, d.Bottom - btm, d.Right - r, d.Bottom}, source,
              {s.Left + l, s.Bottom - btm, s.Right - r, s.Bottom}, edgeModes[3]);
    // Centre.
    FillPiece(dest, {d.Left + l, d.Top + t, d.Right - r, d.Bottom - btm}, source,
              {s.Left + l, s.Top + t, s.Right - r, s.Bottom - btm}, centreMode);
}

}  // namespace kova::skin
