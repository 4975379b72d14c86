#include "skin/core/portable/bitmaps.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kova::skin {

Bitmap32 NewBitmap32(int width, int height) { return Bitmap32(width, height); }
Bitmap32 NewBitmapLike(const Bitmap32& bitmap) { return Bitmap32(bitmap.Width(), bitmap.Height()); }

// ----------------------------------------------------------------- filters

double ResampleFilterSupport(int filter) {
    switch (filter) {
        case rfBox: return 0.51;
        case rfTriangle: return 1.0;
        case rfHermite: return 1.0;
        case rfBell: return 1.5;
        case rfSpline: return 2.0;
        case rfLanczos3: return 3.0;
        case rfMitchell: return 2.0;
        default: return 1.0;
    }
}

namespace {
double Sinc(double x) {
    if (x == 0) return 1.0;
    x *= std::numbers::pi;
    return std::sin(x) / x;
}
}  // namespace

double ResampleFilterValue(int filter, double x) {
    switch (filter) {
        case rfBox: return (x > -0.5 && x <= 0.5) ? 1.0 : 0.0;
        case rfTriangle:
            x = std::fabs(x);
            return x < 1.0 ? 1.0 - x : 0.0;
        case rfHermite:
            x = std::fabs(x);
            return x < 1.0 ? (2.0 * x - 3.0) * x * x + 1.0 : 0.0;
        case rfBell:
            x = std::fabs(x);
            if (x < 0.5) return 0.75 - x * x;
            if (x < 1.5) return 0.5 * (x - 1.5) * (x - 1.5);
            return 0.0;
        case rfSpline:
            x = std::fabs(x);
            if (x < 1.0) return 0.5 * x * x * x - x * x + 2.0 / 3.0;
            if (x < 2.0) return (2.0 - x) * (2.0 - x) * (2.0 - x) / 6.0;
            return 0.0;
        case rfLanczos3:
            x = std::fabs(x);
            return x < 3.0 ? Sinc(x) * Sinc(x / 3.0) : 0.0;
        case rfMitchell: {
            const double B = 1.0 / 3.0, C = 1.0 / 3.0;
            x = std::fabs(x);
            const double x2 = x * x;
            if (x < 1.0)
                return ((12 - 9 * B - 6 * C) * x * x2 + (-18 + 12 * B + 6 * C) * x2 + (6 - 2 * B)) / 6.0;
            if (x < 2.0)
                return ((-B - 6 * C) * x * x2 + (6 * B + 30 * C) * x2 + (-12 * B - 48 * C) * x + (8 * B + 24 * C)) / 6.0;
            return 0.0;
        }
        default: return 0.0;
    }
}

TContributorList BuildContributors(int sourceSize, int destSize, int filter) {
    TContributorList list(static_cast<std::size_t>(std::max(destSize, 0)));
    if (sourceSize <= 0 || destSize <= 0) return list;
    const double scale = static_cast<double>(destSize) / sourceSize;
    const double support = ResampleFilterSupport(filter);
    auto mirror = [sourceSize](int j) {
        if (j < 0) j = -j;
        if (j >= sourceSize) j = 2 * sourceSize - j - 1;
        // Tiny sources with wide filters can mirror out again; keep inside.
        return std::clamp(j, 0, sourceSize - 1);
    };
    for (int i = 0; i < destSize; ++i) {
        const double center = i / scale;
        const double width = scale < 1.0 ? support / scale : support;
        const double fscale = scale < 1.0 ? 1.0 / scale : 1.0;
        const int left = static_cast<int>(std::floor(center - width));
        const int right = static_cast<int>(std::ceil(center + width));
        std::vector<double> w;
        double sum = 0;
        for (int j = left; j <= right; ++j) {
            w.push_back(ResampleFilterValue(filter, (center - j) / fscale) / fscale);
            sum += w.back();
        }
        // Normalise each list to a total of exactly 1.0 (65536): without it
        // the box filter and the wide filters darken or brighten flat areas
        // at some scales.
        auto& c = list[static_cast<std::size_t>(i)];
        int total = 0, largest = -1;
        for (int j = left; j <= right; ++j) {
            const double v = sum != 0 ? w[static_cast<std::size_t>(j - left)] / sum : 0.0;
            const int fixed = static_cast<int>(std::lround(v * 65536.0));
            c.push_back({mirror(j), fixed});
            total += fixed;
            if (largest < 0 || fixed > c[static_cast<std::size_t>(largest)].Weight) largest = static_cast<int>(c.size()) - 1;
        }
        if (sum != 0 && largest >= 0) c[static_cast<std::size_t>(largest)].Weight += 65536 - total;
    }
    return list;
}

namespace {
inline std::uint32_t Accumulate(const std::vector<TContributor>& c, const std::uint32_t* line, std::ptrdiff_t step) {
    std::int64_t acc[4] = {0, 0, 0, 0};
    for (const TContributor& k : c) {
        if (k.Weight == 0) continue;
        const std::uint32_t p = line[k.Pixel * step];
        for (int ch = 0; ch < 4; ++ch) acc[ch] += static_cast<std::int64_t>((p >> (8 * ch)) & 0xFF) * k.Weight;
    }
    std::uint32_t out = 0;
    for (int ch = 0; ch < 4; ++ch) {
        const std::int64_t v = std::clamp<std::int64_t>((acc[ch] + 0x8000) >> 16, 0, 255);
        out |= static_cast<std::uint32_t>(v) << (8 * ch);
    }
    return out;
}
}  // namespace

void ResampleBitmap(const Bitmap32& source, int newWidth, int newHeight, int filter, Bitmap32& dest) {
    if (source.Width() < 2 || source.Height() < 2) throw std::runtime_error("Source bitmap is too small");
    newWidth = std::max(newWidth, 0);
    newHeight = std::max(newHeight, 0);
    if (newWidth == source.Width() && newHeight == source.Height()) {
        if (&dest == &source) return;
        if (!dest.OwnsMemory() && dest.Width() == newWidth && dest.Height() == newHeight) {
            for (int y = 0; y < newHeight; ++y) std::copy_n(source.ScanLine(y), newWidth, dest.ScanLine(y));
        } else {
            dest = source.Clone();
        }
        return;
    }
    const int sw = source.Width(), sh = source.Height();
    // Horizontal pass into a work buffer newWidth x sh.
    const TContributorList cx = BuildContributors(sw, newWidth, filter);
    Bitmap32 work(newWidth, sh);
    for (int y = 0; y < sh; ++y) {
        const std::uint32_t* s = source.ScanLine(y);
        std::uint32_t* d = work.ScanLine(y);
        for (int x = 0; x < newWidth; ++x) d[x] = Accumulate(cx[static_cast<std::size_t>(x)], s, 1);
    }
    // Vertical pass.
    const TContributorList cy = BuildContributors(sh, newHeight, filter);
    Bitmap32 out(newWidth, newHeight);
    const std::ptrdiff_t step = newWidth;  // work is an owning buffer, rows are contiguous
    for (int y = 0; y < newHeight; ++y) {
        std::uint32_t* d = out.ScanLine(y);
        for (int x = 0; x < newWidth; ++x)
            d[x] = Accumulate(cy[static_cast<std::size_t>(y)], work.ScanLine(0) + x, step);
    }
    // A view of the right size (a DIB's bits) keeps its memory.
    if (!dest.OwnsMemory() && dest.Width() == newWidth && dest.Height() == newHeight) {
        for (int y = 0; y < newHeight; ++y) std::copy_n(out.ScanLine(y), newWidth, dest.ScanLine(y));
        return;
    }
    dest = std::move(out);
}

// ---------------------------------------------------------------- textures

void StretchRect(Bitmap32& dest, TRect dr, const Bitmap32& source, TRect sr) {
    sr.Left = std::max(sr.Left, 0);
    sr.Top = std::max(sr.Top, 0);
    sr.Right = std::min(sr.Right, source.Width());
    sr.Bottom = std::min(sr.Bottom, source.Height());
    const int sw = sr.Right - sr.Left, sh = sr.Bottom - sr.Top;
    const int dw = dr.Right - dr.Left, dh = dr.Bottom - dr.Top;
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    const int y0 = std::max(dr.Top, 0), y1 = std::min(dr.Bottom, dest.Height());
    const int x0 = std::max(dr.Left, 0), x1 = std::min(dr.Right, dest.Width());
    for (int y = y0; y < y1; ++y) {
        const int sy = sr.Top + static_cast<int>(static_cast<std::int64_t>(y - dr.Top) * sh / dh);
        const std::uint32_t* s = source.ScanLine(sy);
        std::uint32_t* d = dest.ScanLine(y);
        for (int x = x0; x < x1; ++x) d[x] = s[sr.Left + static_cast<int>(static_cast<std::int64_t>(x - dr.Left) * sw / dw)];
    }
}

namespace {
// Tiles srcRect over r; `stretchX` / `stretchY` make one tile cover the
// whole width / height instead. Tiles stay anchored at r's corner, but only
// those that reach into the destination are laid: a huge rectangle with a
// tiny texture costs what is visible, not what the rectangle spans.
void Tile(Bitmap32& dest, TRect r, const Bitmap32& tex, TRect sr, bool stretchX, bool stretchY) {
    sr.Left = std::max(sr.Left, 0);
    sr.Top = std::max(sr.Top, 0);
    sr.Right = std::min(sr.Right, tex.Width());
    sr.Bottom = std::min(sr.Bottom, tex.Height());
    const int tw = sr.Right - sr.Left, th = sr.Bottom - sr.Top;
    if (tw <= 0 || th <= 0 || r.Right <= r.Left || r.Bottom <= r.Top) return;
    const TRect vis{std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, dest.Width()),
                    std::min(r.Bottom, dest.Height())};
    if (vis.Right <= vis.Left || vis.Bottom <= vis.Top) return;
    if (!stretchX && !stretchY) {
        // Plain tiling: one pass over the visible pixels, the source column
        // and row taken modulo the tile.
        for (int y = vis.Top; y < vis.Bottom; ++y) {
            const std::uint32_t* s = tex.ScanLine(sr.Top + static_cast<int>((static_cast<std::int64_t>(y) - r.Top) % th));
            std::uint32_t* d = dest.ScanLine(y);
            int sx = static_cast<int>((static_cast<std::int64_t>(vis.Left) - r.Left) % tw);
            for (int x = vis.Left; x < vis.Right; ++x) {
                d[x] = s[sr.Left + sx];
                if (++sx == tw) sx = 0;
            }
        }
        return;
    }
    const int stepX = stretchX ? r.Right - r.Left : tw;
    const int stepY = stretchY ? r.Bottom - r.Top : th;
    const int firstY = r.Top + (vis.Top - r.Top) / stepY * stepY;
    const int firstX = r.Left + (vis.Left - r.Left) / stepX * stepX;
    for (int y = firstY; y < vis.Bottom; y += stepY) {
        for (int x = firstX; x < vis.Right; x += stepX) {
            TRect d{x, y, x + stepX, y + stepY};
            // Cut the last tile to the rectangle, taking the matching part of the source.
            TRect s = sr;
            if (!stretchX && d.Right > r.Right) { s.Right -= d.Right - r.Right; d.Right = r.Right; }
            if (!stretchY && d.Bottom > r.Bottom) { s.Bottom -= d.Bottom - r.Bottom; d.Bottom = r.Bottom; }
            StretchRect(dest, d, tex, s);
        }
    }
}
}  // namespace

void PaintTexture(Bitmap32& dest, TRect r, const Bitmap32& texture, int fillMode, TRect srcRect) {
    switch (fillMode) {
        case 1: StretchRect(dest, r, texture, srcRect); break;
        case 4: Tile(dest, r, texture, srcRect, true, false); break;
        case 5: Tile(dest, r, texture, srcRect, false, true); break;
        default: Tile(dest, r, texture, srcRect, false, false); break;
    }
}

void TileImage(Bitmap32& dest, TRect r, const Bitmap32& image) {
    Tile(dest, r, image, {0, 0, image.Width(), image.Height()}, false, false);
}

// ----------------------------------------------------------- button layout

void CalcButtonLayout(const TRect& client, TSize glyphSize, TSize textSize, TRect& textBounds, TPoint& glyphPos,
                      int spacing, int margin, int alignment, int layout, int biDiFlags) {
    if (biDiFlags == 2) {
        if (layout == 0)
            layout = 1;
        else if (layout == 1)
            layout = 0;
    }
    const int w = client.Right - client.Left, h = client.Bottom - client.Top;
    const int gw = glyphSize.cx, gh = glyphSize.cy, tw = textSize.cx, th = textSize.cy;
    TPoint textPos;
    const bool horizontal = layout == 0 || layout == 1;
    if (horizontal) {
        glyphPos.Y = (h - gh + 1) / 2;
        textPos.Y = (h - th + 1) / 2;
    } else {
        glyphPos.X = (w - gw + 1) / 2;
        textPos.X = (w - tw + 1) / 2;
    }
    if (tw == 0 || gw == 0) spacing = 0;
    const int freeSpace = horizontal ? w - gw - tw : h - gh - th;
    if (margin == -1) {
        if (spacing < 0) {
            margin = freeSpace / 3;
            spacing = margin;
        } else {
            margin = alignment == 2 ? (w - gw - spacing - tw + 1) / 2 : 2;
        }
    } else if (spacing < 0) {
        spacing = (freeSpace - margin) / 2;
    }
    switch (layout) {
        case 0:
            if (alignment == 0) {
                glyphPos.X = margin;
                textPos.X = margin + gw + spacing;
            } else if (alignment == 1) {
                textPos.X = w - margin - tw;
                glyphPos.X = textPos.X - spacing - gw;
            } else {
                glyphPos.X = std::max(margin, 0);
                textPos.X = glyphPos.X + gw + spacing;
            }
            break;
        case 1:
            if (alignment == 0) {
                glyphPos.X = margin + tw + spacing;
                textPos.X = glyphPos.X - spacing - tw;
            } else if (alignment == 1) {
                glyphPos.X = w - margin - gw;
                textPos.X = glyphPos.X - spacing - tw;
            } else {
                textPos.X = (w - tw - spacing - gw) / 2;
                glyphPos.X = textPos.X + tw + spacing;
            }
            break;
        case 2:
            glyphPos.Y = (h - gh - spacing - th) / 2;
            textPos.Y = glyphPos.Y + gh + spacing;
            break;
        case 3:
            glyphPos.Y = h - gh - (h - gh - spacing - th) / 2;
            textPos.Y = glyphPos.Y - spacing - th;
            break;
        default:
            break;
    }
    glyphPos.X += client.Left;
    glyphPos.Y += client.Top;
    textBounds = {textPos.X + client.Left, textPos.Y + client.Top, textPos.X + client.Left + tw,
                  textPos.Y + client.Top + th};
}

}  // namespace kova::skin

namespace kova::skin {
std::vector<TRect> AddTransparentRuns(const Bitmap32& bitmap, std::uint32_t transparentColour) {
    std::vector<TRect> runs;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const std::uint32_t* p = bitmap.ScanLine(y);
        int x = 0;
        while (x < bitmap.Width()) {
            if (!SameColourBits(p[x], transparentColour)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < bitmap.Width() && SameColourBits(p[x], transparentColour)) ++x;
            runs.push_back({start, y, x, y + 1});
        }
    }
    return runs;
}

std::vector<TRect> OpaqueRuns(const Bitmap32& bitmap, std::uint32_t transparentColour) {
    std::vector<TRect> runs;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const std::uint32_t* p = bitmap.ScanLine(y);
        int x = 0;
        while (x < bitmap.Width()) {
            if (SameColourBits(p[x], transparentColour)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < bitmap.Width() && !SameColourBits(p[x], transparentColour)) ++x;
            runs.push_back({start, y, x, y + 1});
        }
    }
    return runs;
}
}  // namespace kova::skin
