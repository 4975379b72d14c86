// dcbench: times skin painting onto device contexts (Win32 build; run it
// where the benchmark is wanted, e.g. under Wine): a 1280 x 800 form with
// its masked border and a gradient composed and copied to a window-sized
// DC, the same form repainted from its paint cache, a button in three
// states, a 200-character caption with its shadow, and a full repaint of
// an unchanged form (form, button and caption all from their caches).
// Prints the median of many runs of each.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "benchutil.h"
#include "framework/handles.h"
#include "skin/core/dc/dcpaint.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/dc/textdraw.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/paint/portable/maskpaint.h"
#include "skin/core/paint/portable/skinitem.h"

using kova::PixelBuffer32;
using kova::TGdiObject;
using kova::TMemoryDC;
using kova::TSelection;
using namespace kova::skin;

namespace {
// GDI batches its work: flush inside the timing so it counts where asked.
double TimedMs(int runs, const std::function<void()>& f) {
    return kova::skin::bench::MedianMs(runs, f, [] { GdiFlush(); });
}
}  // namespace

int main() {
    TsSkinModel skin;
    bench::LoadBenchSkin(skin);
    const int form = skin.IndexOfSection("FORM"), button = skin.IndexOfSection("BUTTON");
    if (form < 0 || button < 0) {
        std::fprintf(stderr, "dcbench: the skin has no FORM or BUTTON\n");
        return 1;
    }
    // The screen: a 1280 x 800 DIB section in a memory DC.
    PixelBuffer32 screenBits;
    TGdiObject<HBITMAP> screenBmp = CreateDib32(1280, 800, screenBits);
    TMemoryDC screen(nullptr);
    TSelection selected(screen.Get(), screenBmp.Get());
    const TsParentImageInfo none{nullptr, 0, 0, 0x00E0E0E0, false};

    const double formMs = TimedMs(50, [&] { PaintSkinItemToDC(screen.Get(), skin, form, none, 0, {0, 0, 1280, 800}); });

    Bitmap32 formPicture(1280, 800);
    PaintSkinItem(formPicture, skin, form, none, 0, {0, 0, 1280, 800}, {});
    const double buttonMs = TimedMs(500, [&] {
        for (int state = 0; state < 3; ++state)
            PaintSkinItemToDC(screen.Get(), skin, button, {&formPicture, 600, 700, clFuchsia, true}, state,
                              {600, 700, 700, 730});
    });

    std::string text;
    while (text.size() < 200) text += "The quick brown fox jumps over the lazy dog. ";
    text.resize(200);
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const RECT textRect{10, 10, 1270, 30};
    const UINT flags = DT_SINGLELINE | DT_LEFT | DT_VCENTER;
    auto composeCaption = [&](Bitmap32& b) {
        CopyOpaqueRect(b, 0, 0, formPicture, {0, 0, 1280, 40});
        Bitmap8 shadow;
        DrawTextWithShadow(b, font, text, textRect, shadow, 0x000000, 3, 15, flags);
        DrawTextToBitmap32(b, font, text, 0xFFFFFF, flags, textRect);
    };
    Bitmap32 captionBits(1280, 40);
    const double textMs = TimedMs(50, [&] { composeCaption(captionBits); });

    // Every control of an unchanged form from its cache.
    TPaintCache formCache, buttonCache, captionCache;
    int composed = 0;
    auto counted = [&](const std::function<void(Bitmap32&)>& f) {
        return [&composed, f](Bitmap32& b) {
            ++composed;
            f(b);
        };
    };
    const auto formCompose = counted([&](Bitmap32& b) { PaintSkinItem(b, skin, form, none, 0, {0, 0, 1280, 800}, {}); });
    const auto buttonCompose =
        counted([&](Bitmap32& b) { PaintSkinItem(b, skin, button, {&formPicture, 600, 700, clFuchsia, true}, 0,
                                                 {0, 0, 100, 30}, {}); });
    const auto captionCompose = counted(composeCaption);
    const TPaintKey formKey = MakePaintKey(skin, form, 0, 1280, 800);
    const TPaintKey buttonKey = MakePaintKey(skin, button, 0, 100, 30);
    const TPaintKey captionKey = MakePaintKey(skin, form, 0, 1280, 40, HashPaintValue(text));
    auto repaint = [&] {
        PaintCachedToDC(screen.Get(), 0, 0, formCache, formKey, formCompose);
        PaintCachedToDC(screen.Get(), 600, 700, buttonCache, buttonKey, buttonCompose);
        PaintCachedToDC(screen.Get(), 0, 0, captionCache, captionKey, captionCompose);
    };
    repaint();
    const double cachedFormMs =
        TimedMs(200, [&] { PaintCachedToDC(screen.Get(), 0, 0, formCache, formKey, formCompose); });
    const double fullMs = TimedMs(200, repaint);
    // The copies must have reached the screen: the form's pixels where no
    // button or caption lies.
    GdiFlush();
    for (const POINT p : {POINT{5, 100}, POINT{640, 400}, POINT{1275, 795}})
        if ((screenBits.At(p.x, p.y) & 0xFFFFFF) != (formCache.Picture().At(p.x, p.y) & 0xFFFFFF)) {
            std::fprintf(stderr, "dcbench: the cached form did not reach the DC at %ld,%ld\n", p.x, p.y);
            return 1;
        }
    if (composed != 3) {
        std::fprintf(stderr, "dcbench: an unchanged control was composed again (%d compositions)\n", composed);
        return 1;
    }
    std::printf("form 1280x800 composed and copied to a DC:   %.3f ms\n", formMs);
    std::printf("button 100x30, states 0-2, to a DC:           %.3f ms\n", buttonMs);
    std::printf("200-character caption with shadow:            %.3f ms\n", textMs);
    std::printf("unchanged form from its cache to a DC:        %.3f ms\n", cachedFormMs);
    std::printf("full repaint of an unchanged form (cached):   %.3f ms\n", fullMs);
    return 0;
}
