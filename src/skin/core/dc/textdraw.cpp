#include "skin/core/dc/textdraw.h"

#include <vector>

#include "framework/handles.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/paint/portable/textpaint.h"

namespace kova::skin {

namespace {

// Black text on white in a fresh DIB of w x h, drawn at each offset.
bool RenderInk(PixelBuffer32& pixels, TGdiObject<HBITMAP>& bmp, int w, int h, HFONT font, const std::string& text,
               RECT at, UINT flags, const std::vector<POINT>& offsets) {
    bmp = CreateDib32(w, h, pixels);
    if (!bmp) return false;
    pixels.Fill(0xFFFFFFFFu);
    TMemoryDC memory(nullptr);
    if (!memory) return false;
    TSelection selected(memory.Get(), bmp.Get());
    TSelection fontSelected(memory.Get(), font);
    SetBkMode(memory.Get(), TRANSPARENT);
    SetTextColor(memory.Get(), 0);
    for (const POINT& o : offsets) {
        RECT r{at.left + o.x, at.top + o.y, at.right + o.x, at.bottom + o.y};
        DrawTextA(memory.Get(), text.c_str(), static_cast<int>(text.size()), &r, flags);
    }
    GdiFlush();
    return true;
}

}  // namespace

bool DrawTextToBitmap32(Bitmap32& dest, HFONT font, const std::string& text, TColor colour, UINT flags, const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (text.empty() || w <= 0 || h <= 0) return false;
    PixelBuffer32 ink;
    TGdiObject<HBITMAP> bmp;
    if (!RenderInk(ink, bmp, w, h, font, text, RECT{0, 0, w, h}, flags, {POINT{0, 0}})) return false;
    ApplyInk(dest, ink, {r.left, r.top}, colour);
    return true;
}

void DrawTextWithShadow(Bitmap32& dest, HFONT font, const std::string& text, const RECT& r, Bitmap8& cache,
                        TColor colour, int blurSize, int spreadFlags, UINT flags) {
    if (text.empty() || blurSize < 0) return;
    const int grow = blurSize + 4;
    const RECT big{r.left - grow, r.top - grow, r.right + grow, r.bottom + grow};
    const int w = big.right - big.left, h = big.bottom - big.top;
    if (r.right <= r.left || r.bottom <= r.top) return;
    if (cache.Width != w || cache.Height != h) {
        const RECT at{grow, grow, grow + (r.right - r.left), grow + (r.bottom - r.top)};
        // Left, up, right, down for the spread bits 1, 2, 4, 8, then unmoved.
        const POINT moves[4] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
        std::vector<POINT> offsets;
        for (int i = 0; i < 4; ++i)
            if ((spreadFlags & (1 << i)) != 0) offsets.push_back(moves[i]);
        offsets.push_back({0, 0});
        PixelBuffer32 ink;
        TGdiObject<HBITMAP> bmp;
        if (!RenderInk(ink, bmp, w, h, font, text, at, flags, offsets)) return;
        cache.Width = w;
        cache.Height = h;
        CopyBitmapChannel(ink, cache, 1, true);
        GaussianBlurBitmap(cache, blurSize);
    }
    ApplyShadowPlane(dest, cache, {big.left, big.top}, colour);
}

void PaintSkinTextOnBitmap(Bitmap32& dest, HFONT font, const std::string& text, bool drawContours, const RECT& r,
                           UINT flags, const TsSkinModel& skin, int sectionIndex, bool hot, TColor fallbackColour) {
    if (text.empty() || r.right <= r.left || r.bottom <= r.top) return;
    if (!skin.SectionIndexValid(sectionIndex)) {
        DrawTextToBitmap32(dest, font, text, fallbackColour, flags, r);
        return;
    }
    const TsGenState& block = skin.Sections()[static_cast<std::size_t>(sectionIndex)].Props[hot ? 1 : 0];
    if (drawContours) {
        const POINT moves[4] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};  // left, top, right, bottom
        for (int i = 0; i < 4; ++i) {
            const TsColor c = block.FontColors[static_cast<std::size_t>(i + 1)];
            if (c == kNoColor) continue;
            const RECT moved{r.left + moves[i].x, r.top + moves[i].y, r.right + moves[i].x, r.bottom + moves[i].y};
            DrawTextToBitmap32(dest, font, text, static_cast<TColor>(skin.ColorToRGB(c)), flags, moved);
        }
    }
    DrawTextToBitmap32(dest, font, text, static_cast<TColor>(skin.ColorToRGB(block.FontColors[0])), flags, r);
}

}  // namespace kova::skin
