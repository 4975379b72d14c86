#include "skin/core/paint/portable/gradient.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kova::skin {

namespace {

inline std::uint32_t Channel(TsColor c, int i) { return (static_cast<std::uint32_t>(c) >> (8 * i)) & 0xFF; }

// Colour value `from` + step * k per channel, as an opaque pixel word.
std::uint32_t Interpolate(TsColor from, TsColor to, int k, int steps) {
    std::uint32_t rgb[3];
    for (int i = 0; i < 3; ++i) {
        const double a = Channel(from, i), b = Channel(to, i);
        const double v = steps == 0 ? a : a + (b - a) / steps * k;
        rgb[i] = static_cast<std::uint32_t>(std::clamp(std::nearbyint(v), 0.0, 255.0));
    }
    return 0xFF000000u | (rgb[0] << 16) | (rgb[1] << 8) | rgb[2];
}

bool Prepare(Bitmap32& bitmap, TRect& r) {
    if (r.Right <= r.Left || r.Bottom <= r.Top) return false;
    r.Right = std::min(r.Right, bitmap.Width());
    r.Bottom = std::min(r.Bottom, bitmap.Height());
    r.Left = std::max(r.Left, 0);
    r.Top = std::max(r.Top, 0);
    return r.Right > r.Left && r.Bottom > r.Top;
}

void Vertical(Bitmap32& bitmap, const TRect& r, const TsGradArray& g, int offset) {
    const int last = r.Bottom - 1;
    int start = r.Top + offset;
    for (std::size_t i = 0; i < g.size(); ++i) {
        int end = start + (r.Bottom - r.Top + offset) * g[i].Percent / 100;
        end = std::min(end, last);
        if (i + 1 == g.size()) end = last;
        if (end > start) {
            for (int y = std::max(start, r.Top); y <= end; ++y) {
                const std::uint32_t px = Interpolate(g[i].Color1, g[i].Color2, y - start, end - start);
                std::fill(bitmap.ScanLine(y) + r.Left, bitmap.ScanLine(y) + r.Right, px);
            }
        }
        start = end;
    }
}

void Horizontal(Bitmap32& bitmap, const TRect& r, const TsGradArray& g) {
    const int last = r.Right - 1;
    std::uint32_t* row = bitmap.ScanLine(r.Top);
    int start = r.Left;
    for (std::size_t i = 0; i < g.size(); ++i) {
        int end = static_cast<int>(std::nearbyint(g[i].Percent * (r.Right - r.Left) / 100.0 + start));
        end = std::min(end, last);
        if (i + 1 == g.size()) end = last;
        if (end > start)
            for (int x = start; x <= end; ++x) row[x] = Interpolate(g[i].Color1, g[i].Color2, x - start, end - start);
        start = end;
    }
    for (int y = r.Top + 1; y < r.Bottom; ++y) std::copy(row + r.Left, row + r.Right, bitmap.ScanLine(y) + r.Left);
}

void Mesh(Bitmap32& bitmap, const TRect& r, const TsGradArray& g) {
    // A vertex whose segment is missing takes the colour of the one before.
    TsColor c[5];
    for (std::size_t i = 0; i < 5; ++i) c[i] = i < g.size() ? g[i].Color1 : c[i - 1];
    const double l = r.Left, t = r.Top, rt = r.Right, b = r.Bottom;
    const TGradVertex v0{l, t, static_cast<TColor>(c[0])};
    const TGradVertex v1{r.Left + (r.Right - r.Left) / 2.0, r.Top + (r.Bottom - r.Top) / 2.0, static_cast<TColor>(c[1])};
    const TGradVertex v2{rt, t, static_cast<TColor>(c[2])};
    const TGradVertex v3{rt, b, static_cast<TColor>(c[3])};
    const TGradVertex v4{l, b, static_cast<TColor>(c[4])};
    FillShadedTriangle(bitmap, v0, v1, v2);
    FillShadedTriangle(bitmap, v1, v2, v3);
    FillShadedTriangle(bitmap, v0, v1, v4);
    FillShadedTriangle(bitmap, v4, v1, v3);
}

}  // namespace

void FillShadedTriangle(Bitmap32& bitmap, const TGradVertex& a, const TGradVertex& b, const TGradVertex& c) {
    const double area = (b.X - a.X) * (c.Y - a.Y) - (c.X - a.X) * (b.Y - a.Y);
    if (area == 0) return;
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.Y, b.Y, c.Y}))));
    const int y1 = std::min(bitmap.Height() - 1, static_cast<int>(std::ceil(std::max({a.Y, b.Y, c.Y}))));
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.X, b.X, c.X}))));
    const int x1 = std::min(bitmap.Width() - 1, static_cast<int>(std::ceil(std::max({a.X, b.X, c.X}))));
    constexpr double eps = -1e-9;
    for (int y = y0; y <= y1; ++y) {
        std::uint32_t* row = bitmap.ScanLine(y);
        const double py = y + 0.5;
        for (int x = x0; x <= x1; ++x) {
            const double px = x + 0.5;
            const double wa = ((b.X - px) * (c.Y - py) - (c.X - px) * (b.Y - py)) / area;
            const double wb = ((c.X - px) * (a.Y - py) - (a.X - px) * (c.Y - py)) / area;
            const double wc = 1 - wa - wb;
            if (wa < eps || wb < eps || wc < eps) continue;
            std::uint32_t out = 0xFF000000u;
            for (int i = 0; i < 3; ++i) {
                const double v = wa * Channel(static_cast<TsColor>(a.Color), i) + wb * Channel(static_cast<TsColor>(b.Color), i) +
                                 wc * Channel(static_cast<TsColor>(c.Color), i);
                out |= static_cast<std::uint32_t>(std::clamp(std::nearbyint(v), 0.0, 255.0)) << (16 - 8 * i);
            }
            row[x] = out;
        }
    }
}

void PaintGradient(Bitmap32& bitmap, TRect r, const TsGradArray& gradient, int offset) {
    if (gradient.empty() || !Prepare(bitmap, r)) return;
    switch (gradient[0].Mode) {
        case 0: Vertical(bitmap, r, gradient, offset); break;
        case 1: Horizontal(bitmap, r, gradient); break;
        case 2: Mesh(bitmap, r, gradient); break;
        default: break;
    }
}

void PaintGradientEx(Bitmap32& bitmap, TRect r, const TsGradArray& gradient, int textureWeight, TRect tr,
                     const Bitmap32& texture) {
    if (gradient.empty() || (gradient[0].Mode != 0 && gradient[0].Mode != 1) || !Prepare(bitmap, r)) return;
    PaintGradient(bitmap, r, gradient, 0);
    tr.Left = std::max(tr.Left, 0);
    tr.Top = std::max(tr.Top, 0);
    tr.Right = std::min(tr.Right, texture.Width());
    tr.Bottom = std::min(tr.Bottom, texture.Height());
    const int tw = tr.Right - tr.Left, th = tr.Bottom - tr.Top;
    if (tw <= 0 || th <= 0) return;
    const int w = textureWeight & 0xFF;
    for (int y = r.Top; y < r.Bottom; ++y) {
        std::uint32_t* row = bitmap.ScanLine(y);
        const std::uint32_t* trow = texture.ScanLine(tr.Top + y % th);
        for (int x = r.Left; x < r.Right; ++x) {
            const std::uint32_t t = trow[tr.Left + x % tw], g = row[x];
            std::uint32_t out = 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                const int gc = static_cast<int>((g >> shift) & 0xFF), tc = static_cast<int>((t >> shift) & 0xFF);
                out |= static_cast<std::uint32_t>((((tc - gc) * w + gc * 256) >> 8) & 0xFF) << shift;
            }
            row[x] = out;
        }
    }
}

}  // namespace kova::skin
