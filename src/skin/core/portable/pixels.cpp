#include "skin/core/portable/pixels.h"

#include <algorithm>
#include <cmath>

namespace kova::skin {

namespace {

inline int R(std::uint32_t px) { return (px >> 16) & 0xFF; }
inline int G(std::uint32_t px) { return (px >> 8) & 0xFF; }
inline int B(std::uint32_t px) { return px & 0xFF; }
inline std::uint32_t A(std::uint32_t px) { return px & 0xFF000000u; }
inline std::uint32_t Pack(std::uint32_t alpha, int r, int g, int b) {
    return alpha | (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}
inline int Byte(int v) { return std::clamp(v, 0, 255); }
inline int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// Colour value channels (0x00BBGGRR).
inline int CR(TColor c) { return c & 0xFF; }
inline int CG(TColor c) { return (c >> 8) & 0xFF; }
inline int CB(TColor c) { return (c >> 16) & 0xFF; }

TRect Clip(TRect r, int width, int height) {
    r.Left = std::max(r.Left, 0);
    r.Top = std::max(r.Top, 0);
    r.Right = std::min(r.Right, width);
    r.Bottom = std::min(r.Bottom, height);
    return r;
}
bool EmptyRect(const TRect& r) { return r.Left >= r.Right || r.Top >= r.Bottom; }

}  // namespace

std::uint32_t ColorToPixel(std::uint32_t c) {
    // Byte-reversed, rotated right by 8: 0xAABBGGRR -> 0xAARRGGBB.
    const std::uint32_t rev = ((c & 0xFF) << 24) | ((c & 0xFF00) << 8) | ((c >> 8) & 0xFF00) | (c >> 24);
    return (rev >> 8) | (rev << 24);
}
std::uint32_t SwapRedBlueAlpha(std::uint32_t c) {
    return (c & 0xFF00FF00u) | ((c & 0xFF) << 16) | ((c >> 16) & 0xFF);
}
std::uint32_t SwapRedBlue(std::uint32_t c) { return ((c & 0xFF) << 16) + (((c >> 8) & 0xFF) << 8) + (c >> 16); }

// -------------------------------------------------------------- accessors

bool TacFast32::Attach(Bitmap32& bitmap) {
    if (bitmap.Height() < 2 || bitmap.Width() < 1) {
        Width = 0;
        return false;
    }
    bitmap_ = &bitmap;
    Width = bitmap.Width();
    Height = bitmap.Height();
    line0_ = bitmap.Line0();
    stride_ = bitmap.Stride();
    return true;
}

TColor TacFast32::GetPixel(int x, int y) const {
    const auto* p = reinterpret_cast<const std::uint32_t*>(line0_ + y * stride_);
    return SwapRedBlueAlpha(p[x]);
}

void TacFast32::SetPixel(int x, int y, TColor colour) {
    auto* p = reinterpret_cast<std::uint32_t*>(line0_ + y * stride_);
    p[x] = SwapRedBlueAlpha(colour);
}

void FillDWords(std::uint32_t* dest, int count, std::uint32_t value) {
    if (count > 0) std::fill_n(dest, count, value);
}

void TacFast32::FillRect(const TRect& r, std::uint32_t& pixel) {
    if (r.Left >= r.Right || r.Top >= r.Bottom) return;
    pixel |= 0xFF000000u;
    for (int y = r.Top; y < r.Bottom; ++y)
        FillDWords(reinterpret_cast<std::uint32_t*>(line0_ + y * stride_) + r.Left, r.Right - r.Left, pixel);
}

bool TacFastSum32::Attach(Bitmap32& source, Bitmap32& dest) {
    if (source.Width() < 2 || source.Height() < 2 || dest.Width() < 2 || dest.Height() < 2) return false;
    src_ = &source;
    dst_ = &dest;
    Width = std::min(source.Width(), dest.Width());
    Height = std::min(source.Height(), dest.Height());
    return true;
}

void TacFastSum32::Blend() {
    const int w = Weight, sw = 255 - Weight;
    for (int y = DstRect.Bottom - 1; y >= DstRect.Top; --y) {
        auto* d = reinterpret_cast<std::uint8_t*>(dst_->ScanLine(y));
        const int sy = SrcRect.Bottom - 1 - (DstRect.Bottom - 1 - y);
        const auto* s = reinterpret_cast<const std::uint8_t*>(src_->ScanLine(sy));
        for (int x = DstRect.Right - 1; x >= DstRect.Left; --x) {
            const int sx = SrcRect.Left + (x - DstRect.Left);
            for (int c = 3; c >= 0; --c) {
                std::uint8_t& db = d[4 * x + c];
                db = static_cast<std::uint8_t>((s[4 * sx + c] * sw + db * w + 127) >> 8);
            }
        }
    }
}

// ------------------------------------------------------------------ fills

void FillRect32(Bitmap32& bitmap, TRect r, TColor colour) {
    if (bitmap.Height() == 1) {
        if (r.Top != 0) return;
        const int l = std::max(r.Left, 0), rr = std::min(r.Right, bitmap.Width());
        std::uint32_t px = ColorToPixel(colour) | 0xFF000000u;
        FillDWords(bitmap.ScanLine(0) + l, rr - l, px);
        return;
    }
    TacFast32 f;
    if (!f.Attach(bitmap)) return;
    r = Clip(r, bitmap.Width(), bitmap.Height());
    std::uint32_t px = ColorToPixel(colour);
    f.FillRect(r, px);
}

void FillFrameRect32(Bitmap32& bitmap, const TRect& r, int lw, int tw, int rw, int bw, TColor colour) {
    FillRect32(bitmap, {r.Left, r.Top, r.Right, r.Top + tw}, colour);
    FillRect32(bitmap, {r.Left, r.Top + tw, r.Left + lw, r.Bottom}, colour);
    FillRect32(bitmap, {r.Left + lw, r.Bottom - bw, r.Right, r.Bottom}, colour);
    FillRect32(bitmap, {r.Right - rw, r.Top + tw, r.Right, r.Bottom - bw}, colour);
}

void FillAlphaRect(Bitmap32& bitmap, TRect r, std::uint8_t alpha, bool skipTransparent) {
    r = Clip(r, bitmap.Width(), bitmap.Height());
    const std::uint32_t a = static_cast<std::uint32_t>(alpha) << 24;
    for (int y = r.Top; y < r.Bottom; ++y) {
        std::uint32_t* p = bitmap.ScanLine(y);
        for (int x = r.Left; x < r.Right; ++x) {
            if (skipTransparent && IsKeyColour(p[x])) continue;
            p[x] = (p[x] & 0xFFFFFF) | a;
        }
    }
}

// ------------------------------------------------------- colour arithmetic

TColor MixColors(TColor c1, TColor c2, double k) {
    auto ch = [k](int a, int b) { return Byte(RoundEven(a * k + b * (1 - k))); };
    return (c1 & 0xFF000000u) | static_cast<TColor>(ch(CR(c1), CR(c2))) |
           (static_cast<TColor>(ch(CG(c1), CG(c2))) << 8) | (static_cast<TColor>(ch(CB(c1), CB(c2))) << 16);
}

TColor ChangeColorSaturation(int delta, TColor colour) {
    if (delta == 0) return colour;
    const int r = CR(colour), g = CG(colour), b = CB(colour);
    const double avg = (r + g + b) / 3.0;
    auto ch = [&](int c) { return Byte(RoundEven(c - (avg - c) * delta / 100.0)); };
    return (colour & 0xFF000000u) | static_cast<TColor>(ch(r)) | (static_cast<TColor>(ch(g)) << 8) |
           (static_cast<TColor>(ch(b)) << 16);
}

TColor ChangeColorSaturationIf(TColor colour, int delta) { return ChangeColorSaturation(delta, colour); }

TColor ChangeColorHue(int delta, TColor colour) {
    const double r = CR(colour) / 255.0, g = CG(colour) / 255.0, b = CB(colour) / 255.0;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const double v = mx, d = mx - mn;
    if (d <= 0) return colour;  // no saturation: no hue to turn
    const double s = d / mx;
    double h;
    if (mx == r)
        h = 60.0 * std::fmod((g - b) / d, 6.0);
    else if (mx == g)
        h = 60.0 * ((b - r) / d + 2.0);
    else
        h = 60.0 * ((r - g) / d + 4.0);
    h = std::fmod(h + delta, 360.0);
    if (h < 0) h += 360.0;
    const double c = v * s, x = c * (1 - std::fabs(std::fmod(h / 60.0, 2.0) - 1)), m = v - c;
    double rr, gg, bb;
    switch (static_cast<int>(h / 60.0) % 6) {
        case 0: rr = c; gg = x; bb = 0; break;
        case 1: rr = x; gg = c; bb = 0; break;
        case 2: rr = 0; gg = c; bb = x; break;
        case 3: rr = 0; gg = x; bb = c; break;
        case 4: rr = x; gg = 0; bb = c; break;
        default: rr = c; gg = 0; bb = x; break;
    }
    auto to8 = [m](double v2) { return static_cast<TColor>(Byte(RoundEven((v2 + m) * 255.0))); };
    return (colour & 0xFF000000u) | to8(rr) | (to8(gg) << 8) | (to8(bb) << 16);
}

TColor ChangeColorHueIf(int delta, TColor colour) {
    if (delta == 0) return colour;
    return SwapRedBlueAlpha(ChangeColorHue(delta, SwapRedBlueAlpha(colour)));
}

void CopyBitmapChannel(Bitmap32& bitmap32, Bitmap8& bitmap8, int channel, bool extract) {
    if (channel < 0 || channel > 3) return;
    if (extract) {
        bitmap8.Width = bitmap32.Width();
        bitmap8.Height = bitmap32.Height();
        bitmap8.Bits.assign(static_cast<std::size_t>(bitmap8.Width) * static_cast<std::size_t>(bitmap8.Height), 0);
    } else if (bitmap8.Width != bitmap32.Width() || bitmap8.Height != bitmap32.Height()) {
        return;
    }
    const int shift = 8 * channel;
    for (int y = 0; y < bitmap32.Height(); ++y) {
        std::uint32_t* p = bitmap32.ScanLine(y);
        std::uint8_t* q = bitmap8.Bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap8.Width);
        for (int x = 0; x < bitmap32.Width(); ++x) {
            if (extract)
                q[x] = static_cast<std::uint8_t>(p[x] >> shift);
            else
                p[x] = (p[x] & ~(0xFFu << shift)) | (static_cast<std::uint32_t>(q[x]) << shift);
        }
    }
}

// -------------------------------------------------------- rectangle blends

void TintRect(Bitmap32& bitmap, TRect r, int percent, TColor colour) {
    r.Left = std::max(r.Left, 0);
    r.Top = std::max(r.Top, 0);
    r.Right = std::min(r.Right, bitmap.Width() - 1);
    r.Bottom = std::min(r.Bottom, bitmap.Height() - 1);
    const double p = (percent & 0xFF) / 100.0;
    const int kr = CR(colour), kg = CG(colour), kb = CB(colour);
    for (int y = r.Top; y <= r.Bottom; ++y) {
        std::uint32_t* row = bitmap.ScanLine(y);
        for (int x = r.Left; x <= r.Right; ++x) {
            const std::uint32_t c = row[x];
            row[x] = Pack(A(c), Byte(RoundEven(R(c) * p + kr * (1 - p))), Byte(RoundEven(G(c) * p + kg * (1 - p))),
                          Byte(RoundEven(B(c) * p + kb * (1 - p))));
        }
    }
}

void BlendBitmapRect(Bitmap32& dest, int x, int y, const Bitmap32& source, TRect src, double k,
                     std::uint32_t transparentColour) {
    if (x < 0) { src.Left -= x; x = 0; }
    if (y < 0) { src.Top -= y; y = 0; }
    if (src.Left < 0) { x -= src.Left; src.Left = 0; }
    if (src.Top < 0) { y -= src.Top; src.Top = 0; }
    src = Clip(src, source.Width(), source.Height());
    const int w = std::min(src.Right - src.Left, dest.Width() - x);
    const int h = std::min(src.Bottom - src.Top, dest.Height() - y);
    for (int j = 0; j < h; ++j) {
        const std::uint32_t* s = source.ScanLine(src.Top + j) + src.Left;
        std::uint32_t* d = dest.ScanLine(y + j) + x;
        for (int i = 0; i < w; ++i) {
            if (SameColourBits(s[i], transparentColour)) continue;
            const std::uint32_t sc = s[i], dc = d[i];
            auto ch = [k](int sv, int dv) { return Byte(RoundEven(sv - (sv - dv) * k)); };
            d[i] = Pack(A(dc), ch(R(sc), R(dc)), ch(G(sc), G(dc)), ch(B(sc), B(dc)));
        }
    }
}

void FadeBitmapToColor(Bitmap32& bitmap, TColor colour, double k) {
    const int kr = CR(colour), kg = CG(colour), kb = CB(colour);
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint32_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (IsKeyColour(p[x])) continue;
            const std::uint32_t c = p[x];
            p[x] = Pack(A(c), Byte(RoundEven((R(c) - kr) * k + kr)), Byte(RoundEven((G(c) - kg) * k + kg)),
                        Byte(RoundEven((B(c) - kb) * k + kb)));
        }
    }
}

void ApplyColorMask(Bitmap32& bitmap, const Bitmap32& mask, TColor colour) {
    if (bitmap.Width() != mask.Width() || bitmap.Height() != mask.Height()) return;
    const int kr = CR(colour), kg = CG(colour), kb = CB(colour);
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint32_t* p = bitmap.ScanLine(y);
        const std::uint32_t* m = mask.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            const std::uint32_t c = p[x], mc = m[x];
            p[x] = Pack(A(c), ((R(c) - kr) * R(mc) + kr * 256) >> 8, ((G(c) - kg) * G(mc) + kg * 256) >> 8,
                        ((B(c) - kb) * B(mc) + kb * 256) >> 8);
        }
    }
}

void BlendBitmapsByMask(Bitmap32& dest, const Bitmap32& source, const Bitmap32& mask, TRect r) {
    if (dest.Width() != source.Width() || dest.Height() != source.Height() || dest.Width() != mask.Width() ||
        dest.Height() != mask.Height())
        return;
    r = Clip(r, dest.Width(), dest.Height());
    for (int y = r.Top; y < r.Bottom; ++y) {
        std::uint32_t* d = dest.ScanLine(y);
        const std::uint32_t* s = source.ScanLine(y);
        const std::uint32_t* m = mask.ScanLine(y);
        for (int x = r.Left; x < r.Right; ++x) {
            const std::uint32_t dc = d[x], sc = s[x], mc = m[x];
            d[x] = Pack(A(dc), ((R(dc) - R(sc)) * R(mc) + R(sc) * 256) >> 8,
                        ((G(dc) - G(sc)) * G(mc) + G(sc) * 256) >> 8, ((B(dc) - B(sc)) * B(mc) + B(sc) * 256) >> 8);
        }
    }
}

void MixBitmapRects(Bitmap32& dest, Bitmap32& source, std::uint8_t weight, TRect src, TPoint dp) {
    if (dp.X < 0) { src.Left -= dp.X; dp.X = 0; }
    if (dp.Y < 0) { src.Top -= dp.Y; dp.Y = 0; }
    if (src.Left < 0) { dp.X -= src.Left; src.Left = 0; }
    if (src.Top < 0) { dp.Y -= src.Top; src.Top = 0; }
    src = Clip(src, source.Width(), source.Height());
    TRect dst{dp.X, dp.Y, dp.X + (src.Right - src.Left), dp.Y + (src.Bottom - src.Top)};
    dst = Clip(dst, dest.Width(), dest.Height());
    if (EmptyRect(src) || EmptyRect(dst)) return;
    TacFastSum32 sum;
    if (!sum.Attach(source, dest)) return;
    sum.Weight = weight;
    sum.DstRect = dst;
    sum.SrcRect = {src.Left, src.Top, src.Left + (dst.Right - dst.Left), src.Top + (dst.Bottom - dst.Top)};
    sum.Blend();
}

void BlendColorByMask(TRect destRect, TRect maskRect, TColor colour, const Bitmap32& mask, TsParentImageInfo& info,
                      bool useBackground) {
    if (info.Bmp == nullptr) return;
    Bitmap32& target = *info.Bmp;
    int dx = info.X + destRect.Left, dy = info.Y + destRect.Top;
    if (dx < 0) { maskRect.Left -= dx; dx = 0; }
    if (dy < 0) { maskRect.Top -= dy; dy = 0; }
    if (maskRect.Left < 0) { dx -= maskRect.Left; maskRect.Left = 0; }
    if (maskRect.Top < 0) { dy -= maskRect.Top; maskRect.Top = 0; }
    maskRect = Clip(maskRect, mask.Width(), mask.Height());
    const int w = std::min({maskRect.Right - maskRect.Left, destRect.Right - destRect.Left, target.Width() - dx});
    const int h = std::min({maskRect.Bottom - maskRect.Top, destRect.Bottom - destRect.Top, target.Height() - dy});
    const int kr = CR(colour), kg = CG(colour), kb = CB(colour);
    const bool raiseAlpha = (colour >> 24) != 0;
    for (int j = 0; j < h; ++j) {
        const std::uint32_t* m = mask.ScanLine(maskRect.Top + j) + maskRect.Left;
        std::uint32_t* d = target.ScanLine(dy + j) + dx;
        for (int i = 0; i < w; ++i) {
            const std::uint32_t mc = m[i], dc = d[i];
            if (IsKeyColour(mc)) {
                if (useBackground && info.Ready) d[i] = dc | 0xFF000000u;
                continue;
            }
            std::uint32_t a = dc >> 24;
            if (raiseAlpha) a += (255 - a) * static_cast<std::uint32_t>(R(mc)) / 255;
            d[i] = Pack(a << 24, ((kr - R(dc)) * R(mc) + R(dc) * 256) >> 8, ((kg - G(dc)) * G(mc) + G(dc) * 256) >> 8,
                        ((kb - B(dc)) * B(mc) + B(dc) * 256) >> 8);
        }
    }
}

void CopyAlphaBitmap(TRect destRect, TPoint sp, Bitmap32& dest, const Bitmap32* source,
                     const TsParentImageInfo& info, bool useBackground, TColor tint, int transparency, bool grey) {
    if (source == nullptr) return;
    int dx = destRect.Left, dy = destRect.Top;
    if (dx < 0) { sp.X -= dx; dx = 0; }
    if (dy < 0) { sp.Y -= dy; dy = 0; }
    if (sp.X < 0) { dx -= sp.X; sp.X = 0; }
    if (sp.Y < 0) { dy -= sp.Y; sp.Y = 0; }
    const int w = std::min({destRect.Right - dx, dest.Width() - dx, source->Width() - sp.X});
    const int h = std::min({destRect.Bottom - dy, dest.Height() - dy, source->Height() - sp.Y});
    const bool ready = info.Ready && info.Bmp != nullptr;
    const int t = std::clamp(transparency, 0, 100);
    for (int j = 0; j < h; ++j) {
        const std::uint32_t* s = source->ScanLine(sp.Y + j) + sp.X;
        std::uint32_t* d = dest.ScanLine(dy + j) + dx;
        for (int i = 0; i < w; ++i) {
            const std::uint32_t sc = s[i], dc = d[i];
            if (ready && IsKeyColour(sc)) {
                if (useBackground) {
                    const int bx = info.X + dx + i, by = info.Y + dy + j;
                    if (bx >= 0 && by >= 0 && bx < info.Bmp->Width() && by < info.Bmp->Height())
                        d[i] = A(dc) | (info.Bmp->At(bx, by) & 0xFFFFFF);
                }
                continue;
            }
            int a = static_cast<int>(sc >> 24);
            if (t != 0) a = a * (100 - t) / 100;
            int sr = R(sc), sg = G(sc), sb = B(sc);
            if (grey) sr = sg = sb = (sr + sg + sb) / 3;
            if (tint != clNone) { sr = CR(tint); sg = CG(tint); sb = CB(tint); }
            std::uint32_t alpha = A(dc);
            if (ready) alpha = std::max(alpha, static_cast<std::uint32_t>(a) << 24);
            d[i] = Pack(alpha, ((sr - R(dc)) * a + R(dc) * 256) >> 8, ((sg - G(dc)) * a + G(dc) * 256) >> 8,
                        ((sb - B(dc)) * a + B(dc) * 256) >> 8);
        }
    }
}

void CopyTransparentBitmap(Bitmap32& dest, int x, int y, const Bitmap32& source, std::uint32_t transparentColour) {
    for (int j = 0; j < source.Height(); ++j) {
        const int dy = y + j;
        if (dy < 0 || dy >= dest.Height()) continue;
        const std::uint32_t* s = source.ScanLine(j);
        std::uint32_t* d = dest.ScanLine(dy);
        for (int i = 0; i < source.Width(); ++i) {
            const int dx = x + i;
            if (dx < 0 || dx >= dest.Width() || SameColourBits(s[i], transparentColour)) continue;
            d[dx] = s[i] | 0xFF000000u;
        }
    }
}

Bitmap32 AlphaBitmapFromMaskHalf(const Bitmap32& source) {
    const int h = source.Height() / 2;
    Bitmap32 out(source.Width(), h);
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* top = source.ScanLine(y);
        const std::uint32_t* mask = source.ScanLine(y + h);
        std::uint32_t* d = out.ScanLine(y);
        for (int x = 0; x < source.Width(); ++x)
            d[x] = (top[x] & 0xFFFFFF) | (static_cast<std::uint32_t>(255 - R(mask[x])) << 24);
    }
    return out;
}

void GrayscaleBitmap(Bitmap32& bitmap) {
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint32_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            const int v = (R(p[x]) + G(p[x]) + B(p[x])) / 3;
            p[x] = Pack(A(p[x]), v, v, v);
        }
    }
}

namespace {
template <class F>
void ForColouredPixels(Bitmap32* bitmap, F f) {
    if (bitmap == nullptr) return;
    for (int y = 0; y < bitmap->Height(); ++y) {
        std::uint32_t* p = bitmap->ScanLine(y);
        for (int x = 0; x < bitmap->Width(); ++x) {
            const std::uint32_t c = p[x];
            if (IsKeyColour(c) || (R(c) == G(c) && G(c) == B(c))) continue;
            // Pixel word to colour value and back, so hue turns the right way.
            p[x] = SwapRedBlueAlpha(f(SwapRedBlueAlpha(c)));
        }
    }
}
}  // namespace

void ChangeBitmapHue(Bitmap32* bitmap, int delta) {
    if (delta == 0) return;
    ForColouredPixels(bitmap, [delta](TColor c) { return ChangeColorHue(delta, c); });
}

void ChangeBitmapSaturation(Bitmap32* bitmap, int delta) {
    if (delta == 0) return;
    ForColouredPixels(bitmap, [delta](TColor c) { return ChangeColorSaturation(delta, c); });
}

void PaintDisabledLook(Bitmap32& bitmap, int flags, TColor controlColour, const TsParentImageInfo& info,
                       TPoint offset) {
    if (flags & 2) GrayscaleBitmap(bitmap);
    if (flags & 1) {
        if (info.Ready && info.Bmp != nullptr) {
            const int x0 = info.X + offset.X, y0 = info.Y + offset.Y;
            // Background is the "source": 60 % background, 40 % image.
            Bitmap32& b = bitmap;
            BlendBitmapRect(b, 0, 0, *info.Bmp, {x0, y0, x0 + b.Width(), y0 + b.Height()}, 0.4, clFuchsia);
        } else {
            const TColor c = IsKeyColour(info.FillColor) ? controlColour : info.FillColor;
            TintRect(bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, 50, c);
        }
    }
}

}  // namespace kova::skin
