#include "skin/controls/portable/hintshapes.h"

#include <algorithm>
#include <cmath>

#include "skin/core/portable/pixels.h"

namespace kova::skin {

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

std::uint32_t Grey(std::uint8_t level) {
    return 0xFF000000u | (std::uint32_t{level} << 16) | (std::uint32_t{level} << 8) | level;
}

bool IsOutside(std::uint32_t maskPixel) { return (maskPixel & 0xFFFFFF) == 0xFFFFFF; }

// Calls put(x, y) for each pixel of mask whose centre lies inside the
// bounding box b and for which inside(cx, cy) holds.
template <class Inside>
void FillWhere(Bitmap32& mask, double l, double t, double r, double b, std::uint32_t pixel, Inside inside) {
    const int x0 = std::max(0, static_cast<int>(std::floor(l))), y0 = std::max(0, static_cast<int>(std::floor(t)));
    const int x1 = std::min(mask.Width(), static_cast<int>(std::ceil(r)));
    const int y1 = std::min(mask.Height(), static_cast<int>(std::ceil(b)));
    for (int y = y0; y < y1; ++y) {
        std::uint32_t* row = mask.ScanLine(y);
        for (int x = x0; x < x1; ++x)
            if (inside(x + 0.5, y + 0.5)) row[x] = pixel;
    }
}

void FillRectShape(Bitmap32& mask, TRect r, std::uint32_t pixel) {
    if (r.Right <= r.Left || r.Bottom <= r.Top) return;
    FillWhere(mask, r.Left, r.Top, r.Right, r.Bottom, pixel, [](double, double) { return true; });
}

bool InEllipse(double x, double y, double l, double t, double r, double b) {
    const double a = (r - l) / 2, c = (b - t) / 2;
    if (a <= 0 || c <= 0) return false;
    const double dx = (x - (l + r) / 2) / a, dy = (y - (t + b) / 2) / c;
    return dx * dx + dy * dy <= 1.0;
}

void FillEllipse(Bitmap32& mask, double l, double t, double r, double b, std::uint32_t pixel) {
    if (r <= l || b <= t) return;
    FillWhere(mask, l, t, r, b, pixel, [=](double x, double y) { return InEllipse(x, y, l, t, r, b); });
}

// The rectangle l..r x t..b with corners rounded by an ellipse of radius
// wide and high (as the system's rounded rectangle takes it).
void FillRoundRect(Bitmap32& mask, int l, int t, int r, int b, int radius, std::uint32_t pixel) {
    if (r <= l || b <= t) return;
    const double rx = std::min(std::max(radius, 0) / 2.0, (r - l) / 2.0);
    const double ry = std::min(std::max(radius, 0) / 2.0, (b - t) / 2.0);
    FillWhere(mask, l, t, r, b, pixel, [=](double x, double y) {
        if (rx <= 0 || ry <= 0) return true;
        const double cx = std::clamp(x, l + rx, r - rx), cy = std::clamp(y, t + ry, b - ry);
        const double dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    });
}

double Cross(double ax, double ay, double bx, double by, double px, double py) {
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}

void FillTriangle(Bitmap32& mask, TPoint a, TPoint b, TPoint c, std::uint32_t pixel) {
    const double l = std::min({a.X, b.X, c.X}), r = std::max({a.X, b.X, c.X}) + 1;
    const double t = std::min({a.Y, b.Y, c.Y}), btm = std::max({a.Y, b.Y, c.Y}) + 1;
    FillWhere(mask, l, t, r, btm, pixel, [=](double x, double y) {
        const double d1 = Cross(a.X, a.Y, b.X, b.Y, x, y), d2 = Cross(b.X, b.Y, c.X, c.Y, x, y),
                     d3 = Cross(c.X, c.Y, a.X, a.Y, x, y);
        const bool neg = d1 < 0 || d2 < 0 || d3 < 0, pos = d1 > 0 || d2 > 0 || d3 > 0;
        return !(neg && pos);
    });
}

// The tail's tip: the window corner on the cursor's side, 3 pixels in.
TPoint TailTip(const THintGeometry& g) {
    const int x = IsRightPosition(g.MousePos) ? g.Width - 3 : 3;
    const int y = IsBottomPosition(g.MousePos) ? g.Height - 3 : 3;
    return {x, y};
}

TRect Moved(TRect r, TPoint d) { return Rect(r.Left + d.X, r.Top + d.Y, r.Right + d.X, r.Bottom + d.Y); }

}  // namespace

void EllipseGrowth(int w, int h, int& extraW, int& extraH) {
    extraW = extraH = 0;
    if (w <= 0 || h <= 0) return;
    const double d = std::sqrt(double(w) * w + double(h) * h) - w;
    extraW = static_cast<int>(std::lround(w * d / h));
    extraH = static_cast<int>(std::lround(h * d / w));
}

THintFrameSize MeasureHintFrame(TsHintStyle style, TSize text, int marginH, int marginV, int bevelWidth,
                                int shadowOffset, int exOffset) {
    THintFrameSize s;
    int w = std::max(text.cx, 0), h = std::max(text.cy, 0);
    if (style == hsEllipse || style == hsBalloon) w = std::max(w, kMinRoundHintWidth);
    w += (marginH + bevelWidth) * 2 + shadowOffset;
    h += (marginV + bevelWidth) * 2 + shadowOffset;
    if (IsShapedHint(style)) h += exOffset;
    if (style == hsEllipse || style == hsBalloon) {
        EllipseGrowth(w, h, s.ExtraW, s.ExtraH);
        w += s.ExtraW;
        h += s.ExtraH;
    }
    s.Width = std::max(w, 0);
    s.Height = std::max(h, 0);
    return s;
}

THintPlacement PlaceHint(TPoint p, int w, int h, TsMousePosition pos, TsHintStyle style, TRect monitor) {
    THintPlacement out;
    out.MousePos = pos;
    int left = p.X, top = p.Y;
    if (IsBottomPosition(pos)) top -= h;
    if (IsRightPosition(pos)) left -= w;
    bool atTop = !IsBottomPosition(pos), atLeft = !IsRightPosition(pos), fitted = false;
    const bool shaped = IsShapedHint(style);
    if (top + h > monitor.Bottom) {
        top = shaped ? p.Y - h : monitor.Bottom - h;
        atTop = false;
        fitted = true;
    }
    if (top < monitor.Top) {
        top = monitor.Top;
        atTop = true;
        fitted = true;
    }
    if (left + w > monitor.Right) {
        atLeft = false;
        if (shaped && out.MousePos == mpLeftTop) {
            out.MousePos = mpRightTop;
            left = p.X - w;
        } else {
            left = monitor.Right - w;
        }
        fitted = true;
    }
    if (left < monitor.Left) {
        left = monitor.Left;
        atLeft = true;
        fitted = true;
    }
    if (fitted)
        out.MousePos = atTop ? (atLeft ? mpLeftTop : mpRightTop) : (atLeft ? mpLeftBottom : mpRightBottom);
    out.Bounds = Rect(left, top, left + w, top + h);
    return out;
}

TRect HintBodyRect(const THintGeometry& g) {
    TRect r = Rect(0, 0, g.Width - g.ShadowOffset, g.Height - g.ShadowOffset);
    if (!IsShapedHint(g.Style)) return r;
    if (IsBottomPosition(g.MousePos))
        r.Bottom = g.Height - g.ShadowOffset - g.ExOffset;
    else
        r.Top = g.ExOffset;
    if (g.Style == hsEllipse) {
        r.Top = std::max(r.Top, 0);
        r.Bottom = std::min(r.Bottom, g.Height);
    }
    return r;
}

void FillHintShape(Bitmap32& mask, const THintGeometry& g, TPoint offset, int inset, std::uint8_t grey) {
    const std::uint32_t pixel = Grey(grey);
    TRect body = Moved(HintBodyRect(g), offset);
    body = Rect(body.Left + inset, body.Top + inset, body.Right - inset, body.Bottom - inset);
    if (body.Right <= body.Left || body.Bottom <= body.Top) return;
    switch (g.Style) {
        case hsComics:
            FillRoundRect(mask, body.Left, body.Top, body.Right + 1, body.Bottom + 1, g.Radius, pixel);
            break;
        case hsEllipse:
        case hsBalloon:
            FillEllipse(mask, body.Left, body.Top, body.Right + 1, body.Bottom + 1, pixel);
            break;
        default:
            FillRectShape(mask, body, pixel);
            return;
    }
    TPoint tip = TailTip(g);
    tip = {tip.X + offset.X, tip.Y + offset.Y + (IsBottomPosition(g.MousePos) ? -inset : inset)};
    const int bodyW = body.Right - body.Left, bodyH = body.Bottom - body.Top;
    if (g.Style == hsBalloon) {
        // Bubbles from the ellipse's edge toward the tip, shrinking.
        const double cx = body.Left + bodyW / 2.0, cy = body.Top + bodyH / 2.0;
        const double dx = tip.X - cx, dy = tip.Y - cy;
        const double q = std::sqrt((dx * 2 / std::max(bodyW, 1)) * (dx * 2 / std::max(bodyW, 1)) +
                                   (dy * 2 / std::max(bodyH, 1)) * (dy * 2 / std::max(bodyH, 1)));
        const double ex = q > 0 ? cx + dx / q : cx, ey = q > 0 ? cy + dy / q : cy;
        for (int k = 1; k <= kBalloonBubbleCount; ++k) {
            const double bw = double(bodyW) / (kBalloonBubbleDivisor * k), bh = double(bodyH) / (kBalloonBubbleDivisor * k);
            const double f = double(k) / kBalloonBubbleCount;
            const double l = ex + (tip.X - ex) * f - bw / 2, t = ey + (tip.Y - ey) * f - bh / 2;
            FillEllipse(mask, l, t, l + bw, t + bh, pixel);
        }
        return;
    }
    const int x0 = body.Left + bodyW / 2, y0 = body.Top + bodyH / 2;
    const int d = std::max(bodyW / 8, 0);
    FillTriangle(mask, tip, TPoint{x0 - d, y0}, TPoint{x0 + d, y0}, pixel);
}

Bitmap32 MakeHintShapeMask(const THintGeometry& g, std::uint8_t ink) {
    Bitmap32 mask(std::max(g.Width, 0), std::max(g.Height, 0));
    mask.Fill(kWhite);
    FillHintShape(mask, g, TPoint{0, 0}, 0, ink);
    return mask;
}

void PaintHintShadow(Bitmap32& target, const THintGeometry& g, int transparency, int blur) {
    if (target.Empty() || g.ShadowOffset <= 0) return;
    const int k = std::clamp(transparency, 0, 100) * 255 / 100;
    // Layers past the middle of the hint would be empty.
    blur = std::clamp(blur, 0, std::max(std::min(g.Width, g.Height) / 2, 0));
    Bitmap32 mask(target.Width(), target.Height());
    mask.Fill(kWhite);
    for (int i = 0; i <= blur; ++i) {
        const double level = k + double(blur - i) * (255 - k) / (blur + 1);
        const auto grey = static_cast<std::uint8_t>(std::clamp<long>(std::lround(level), 0, 255));
        FillHintShape(mask, g, TPoint{g.ShadowOffset, g.ShadowOffset}, i, grey);
    }
    // Toward black by the mask's level; white leaves the pixel exactly as
    // it was (so the hint's surroundings keep alpha 0).
    for (int y = 0; y < target.Height(); ++y) {
        std::uint32_t* d = target.ScanLine(y);
        const std::uint32_t* m = mask.ScanLine(y);
        for (int x = 0; x < target.Width(); ++x) {
            if (IsOutside(m[x])) continue;
            const std::uint32_t level = m[x] & 0xFF, c = d[x];
            const auto dark = [&](int shift) { return ((((c >> shift) & 0xFF) * level + 127) / 255) << shift; };
            d[x] = (c & 0xFF000000u) | dark(16) | dark(8) | dark(0);
        }
    }
}

void PaintHintOutline(Bitmap32& image, const Bitmap32& mask, TColor top, TColor bottom) {
    if (image.Width() != mask.Width() || image.Height() != mask.Height()) return;
    const std::uint32_t topPx = ColorToPixel(top) | 0xFF000000u, bottomPx = ColorToPixel(bottom) | 0xFF000000u;
    const int w = mask.Width(), h = mask.Height();
    auto outside = [&](int x, int y) { return x < 0 || y < 0 || x >= w || y >= h || IsOutside(mask.At(x, y)); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (outside(x, y)) continue;
            if (outside(x - 1, y) || outside(x, y - 1))
                image.At(x, y) = topPx;
            else if (outside(x + 1, y) || outside(x, y + 1))
                image.At(x, y) = bottomPx;
        }
}

Bitmap32 ComposeHintPicture(const Bitmap32& image, const Bitmap32& mask, const Bitmap32& shadow) {
    const int w = image.Width(), h = image.Height();
    Bitmap32 out(w, h);
    if (mask.Width() != w || mask.Height() != h || shadow.Width() != w || shadow.Height() != h) return out;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (IsOutside(mask.At(x, y)))
                out.At(x, y) = (255u - (shadow.At(x, y) & 0xFF)) << 24;
            else
                out.At(x, y) = image.At(x, y) | 0xFF000000u;
        }
    return out;
}

std::uint8_t HintAlpha(int transparency) {
    const int t = std::clamp(transparency, 0, 100);
    return static_cast<std::uint8_t>(std::lround((100 - t) * 2.55));
}

std::vector<std::uint8_t> HintFadeAlphas(int transparency) {
    const int target = HintAlpha(transparency);
    const double step = std::max(target / double(kHintFadeSteps), 1.0);
    std::vector<std::uint8_t> alphas;
    double acc = 0;
    for (int i = 0; i < kHintFadeSteps; ++i) {
        acc += step;
        alphas.push_back(static_cast<std::uint8_t>(std::min<long>(std::lround(acc), target)));
    }
    alphas.back() = static_cast<std::uint8_t>(target);
    return alphas;
}

}  // namespace kova::skin
