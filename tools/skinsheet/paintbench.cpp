// paintbench: times the window-free painting of skin items on buffers
// (optimised native build, no sanitizers): a 1280 x 800 form with its
// masked border and a gradient, a button in three states, an unchanged
// form repainted from its paint cache (a copy, no composition), and a huge
// tiled rectangle cut to a small bitmap. Prints the median of many runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "skin/core/model/internalskins.h"
#include "skin/core/paint/portable/paintcache.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/portable/bitmaps.h"
#include "benchutil.h"

using namespace kova::skin;
using kova::skin::bench::MedianMs;


int main() {
    TsSkinModel skin;
    bench::LoadBenchSkin(skin);
    const int form = skin.IndexOfSection("FORM"), button = skin.IndexOfSection("BUTTON");
    const TsGeneralData& f = skin.Sections()[static_cast<std::size_t>(form)];
    if (f.GradientPercent != 100 || f.BorderIndex < 0 || skin.Masks()[static_cast<std::size_t>(f.BorderIndex)].RowMode != 1) {
        std::fprintf(stderr, "paintbench: the form has no gradient or no masked border\n");
        return 1;
    }

    Bitmap32 parent(1280, 800);
    parent.Fill(0xFFE0E0E0u);
    const TsParentImageInfo bg{&parent, 0, 0, clFuchsia, true};
    Bitmap32 formCache(1280, 800), screen(1280, 800);
    const double formMs = MedianMs(200, [&] { PaintSkinItem(formCache, skin, form, bg, 0, {0, 0, 1280, 800}, {}); });

    Bitmap32 buttonCache(100, 30);
    const double buttonMs = MedianMs(2000, [&] {
        for (int state = 0; state < 3; ++state) PaintSkinItem(buttonCache, skin, button, bg, state, {0, 0, 100, 30}, {});
    });

    // An unchanged form through its paint cache: the cache hands back the
    // stored picture (no composition) and it is copied out.
    TPaintCache cache;
    int compositions = 0;
    const TPaintKey key = MakePaintKey(skin, form, 0, 1280, 800);
    auto compose = [&](Bitmap32& b) {
        ++compositions;
        PaintSkinItem(b, skin, form, bg, 0, {0, 0, 1280, 800}, {});
    };
    cache.Get(key, compose);
    const double copyMs = MedianMs(200, [&] {
        const Bitmap32& picture = cache.Get(key, compose);
        for (int y = 0; y < 800; ++y) std::memcpy(screen.ScanLine(y), picture.ScanLine(y), 1280 * 4);
    });
    if (compositions != 1) {
        std::fprintf(stderr, "paintbench: the unchanged form was composed again\n");
        return 1;
    }

    Bitmap32 small(16, 16), one(1, 1);
    one.Fill(0xFF336699u);
    const double hugeMs = MedianMs(200, [&] { TileImage(small, {0, 0, 20000, 20000}, one); });

    std::printf("form 1280x800, masked border + gradient: %.3f ms\n", formMs);
    std::printf("button 100x30, states 0-2:               %.4f ms\n", buttonMs);
    std::printf("unchanged form, from its paint cache:      %.3f ms (composed once)\n", copyMs);
    std::printf("20000x20000 tile, 1x1 texture, 16x16 bitmap: %.4f ms\n", hugeMs);
    return 0;
}
