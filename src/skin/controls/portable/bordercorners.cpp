#include "skin/controls/portable/bordercorners.h"

#include <algorithm>

namespace kova::skin {

TRect MaskStateRect(const TsMaskData& mask, int state) {
    const int w = ImageWidthOfMask(mask), h = ImageHeightOfMask(mask);
    const int states = std::max<int>(1, static_cast<std::uint16_t>(mask.ColumnCount));
    const int s = std::clamp(state, 0, states - 1);
    const int left = mask.SourceRect.Left + s * w;
    return TRect{left, mask.SourceRect.Top, left + w, mask.SourceRect.Top + h};
}

namespace {

// The mask coordinate (along one axis, from the image's start) under the
// cache coordinate c of a cache `size` long whose strips are `a` and `b`
// long on an image `image` long with the same strips: the strips map to
// the image's strips, the middle repeats the image's middle.
int MaskCoordinate(int c, int size, int a, int b, int image, int imageA, int imageB) {
    if (c < a) return std::min(c, image - 1);
    if (c >= size - b) return std::clamp(image - (size - c), 0, image - 1);
    const int middle = std::max(1, image - imageA - imageB);
    return std::clamp(imageA + (c - a) % middle, 0, image - 1);
}

}  // namespace

void FillTransparentBorderPixels(Bitmap32& cache, const TBorderCornerSource& s) {
    const int w = cache.Width(), h = cache.Height();
    if (w <= 0 || h <= 0 || !s.Mask) return;
    const int iw = s.Image.Right - s.Image.Left, ih = s.Image.Bottom - s.Image.Top;
    if (iw <= 0 || ih <= 0 || s.Image.Left < 0 || s.Image.Top < 0 || s.Image.Right > s.Mask->Width() ||
        s.Image.Bottom > s.Mask->Height())
        return;
    if (!s.Background && (s.Colour & 0xFFFFFF) == 0xFF00FF) return;
    // The strips as the image has them, then cut to the cache.
    const int imageL = std::clamp<int>(s.Borders.Left, 0, iw), imageR = std::clamp<int>(s.Borders.Right, 0, iw - imageL);
    const int imageT = std::clamp<int>(s.Borders.Top, 0, ih), imageB = std::clamp<int>(s.Borders.Bottom, 0, ih - imageT);
    const int l = std::min(imageL, w), r = std::min(imageR, w - l);
    const int t = std::min(imageT, h), b = std::min(imageB, h - t);
    const std::uint32_t fill = ColorToPixel(s.Colour & 0xFFFFFF) | 0xFF000000u;
    auto take = [&](int x, int y) {
        const int mx = s.Image.Left + MaskCoordinate(x, w, l, r, iw, imageL, imageR);
        const int my = s.Image.Top + MaskCoordinate(y, h, t, b, ih, imageT, imageB);
        if ((s.Mask->At(mx, my) & 0xFFFFFF) != 0xFF00FF) return;
        if (s.Background) {
            const int bx = s.BackgroundAt.X + x, by = s.BackgroundAt.Y + y;
            if (bx >= 0 && by >= 0 && bx < s.Background->Width() && by < s.Background->Height())
                cache.At(x, y) = s.Background->At(bx, by);
            return;
        }
        cache.At(x, y) = fill;
    };
    for (int y = 0; y < h; ++y) {
        const bool rowInStrip = y < t || y >= h - b;
        if (rowInStrip) {
            for (int x = 0; x < w; ++x) take(x, y);
            continue;
        }
        for (int x = 0; x < l; ++x) take(x, y);
        for (int x = w - r; x < w; ++x) take(x, y);
    }
}

}  // namespace kova::skin
