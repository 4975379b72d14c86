// textbench: times a 200-character caption with its shadow drawn onto a
// 32-bit buffer through GDI (Win32 build; run it where the benchmark is
// wanted, e.g. under Wine). Prints the median of many runs: the shadow
// built afresh, the shadow from its cache, and the text itself.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "benchutil.h"
#include "skin/core/dc/textdraw.h"

using namespace kova::skin;
using kova::skin::bench::MedianMs;


int main() {
    std::string text;
    while (text.size() < 200) text += "The quick brown fox jumps over the lazy dog. ";
    text.resize(200);
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    Bitmap32 dest(1400, 40);
    const RECT r{10, 10, 1390, 30};
    const UINT flags = DT_SINGLELINE | DT_LEFT | DT_VCENTER;
    const double fresh = MedianMs(50, [&] {
        Bitmap8 cache;
        DrawTextWithShadow(dest, font, text, r, cache, 0x000000, 3, 15, flags);
    });
    Bitmap8 cache;
    const double cached = MedianMs(200, [&] { DrawTextWithShadow(dest, font, text, r, cache, 0x000000, 3, 15, flags); });
    const double ink = MedianMs(200, [&] { DrawTextToBitmap32(dest, font, text, 0xFFFFFF, flags, r); });
    std::printf("200-character text, shadow built: %.3f ms\n", fresh);
    std::printf("200-character text, shadow cached: %.3f ms\n", cached);
    std::printf("200-character text itself:         %.3f ms\n", ink);
    return 0;
}
