// The skinned frame of the real main form under Wine, at 1280x800: the
// time of a full non-client repaint (the frame's picture made anew, as a
// new caption or a skin setting asks), of an activation switch each way
// (the frame in the other state's colours), and of a repaint with nothing
// changed, which is to be copied from the frame's cached picture: a mark
// put into the cache before it must still be there after it. Each is asked
// for synchronously (the message sent, as the program's own code sends it)
// and timed until it returns with GDI's queue flushed; the four run in the
// same turns, after one warm-up of each. Prints each one's median and
// worst in ms, the layered pushes of the border window each made (and
// how many pixels each handed over), and how many of the unchanged
// repaints came from the cache.
//
//   tools/testenv/wine-run build/win64/bin/kova_mainwindow_framebench.exe [--runs N]
#include <windows.h>

#include <cstdio>
#include <vector>

#include "mainwindow/mainform/formbench.h"
#include "skin/core/animations.h"
#include "skin/core/commondata.h"
#include "skin/core/skinservices.h"
#include "skin/forms/provider.h"

using namespace kova;
using namespace kova::bench;

namespace {

struct Case {
    const char* name;
    std::vector<double> ms;
    // The layered pushes it made, and the pixels they handed over.
    long long pushes = 0;
    double pixels = 0;
};

// The pushes of the case being timed are counted on it (and still made).
Case* counting = nullptr;

}  // namespace

int main(int argc, char** argv) {
    const int runs = RunsArg(argc, argv, 51);
    TMainFormBench bench("framebench");
    mainwindow::TKOVAForm1* form = bench.Open();
    skin::TsSkinProvider* provider = form->sSkinProvider1;
    const HWND wnd = form->Handle();
    form->SetBounds(40, 40, 1280, 800);
    Settle();
    if (!provider || !provider->SkinData || !provider->SkinData->CacheBmp || !provider->FormActive) {
        std::fprintf(stderr, "framebench: the main form is not skinned and active\n");
        return 1;
    }
    RECT r{};
    GetWindowRect(wnd, &r);

    Case full{"full repaint (the frame's picture made anew)", {}};
    Case deactivate{"activation switch, active to inactive", {}};
    Case activate{"activation switch, inactive to active", {}};
    Case unchanged{"repaint with nothing changed", {}};
    int fromCache = 0;
    skin::AnimationOutput().UpdateLayeredWindow = [](HWND w, HDC screen, POINT* dest, SIZE* size, HDC source,
                                                      POINT* sp, COLORREF key, BLENDFUNCTION* blend, DWORD flags,
                                                      const RECT* dirty) {
        if (counting) {
            ++counting->pushes;
            if (dirty)
                counting->pixels += double(dirty->right - dirty->left) * (dirty->bottom - dirty->top);
            else if (size)
                counting->pixels += double(size->cx) * size->cy;
        }
        return skin::SystemUpdateLayered(w, screen, dest, size, source, sp, key, blend, flags, dirty);
    };
    const auto timed = [](Case* c, auto&& request) {
        counting = c;
        const double start = NowMs();
        request();
        GdiFlush();
        if (c) c->ms.push_back(NowMs() - start);
        counting = nullptr;
    };
    // The mark lies in the client part of the cache, which no frame
    // repaint copies to the screen: only a new picture of the frame
    // overwrites it.
    const int markX = provider->ClientOffsetX() + 7, markY = provider->ClientOffsetY() + 5;
    for (int run = 0; run <= runs; ++run) {
        const bool counted = run > 0;  // the first turn warms up
        timed(counted ? &full : nullptr, [&] { provider->InvalidateNonClient(); });

        GdiFlush();
        std::uint32_t& at = provider->SkinData->CacheBmp->Pixels().At(markX, markY);
        const std::uint32_t was = at, mark = was ^ 0x00A5A5A5u;
        at = mark;
        timed(counted ? &unchanged : nullptr, [&] { SendMessageA(wnd, WM_NCPAINT, 1, 0); });
        GdiFlush();
        std::uint32_t& after = provider->SkinData->CacheBmp->Pixels().At(markX, markY);
        if (counted && after == mark) ++fromCache;
        after = was;

        timed(counted ? &deactivate : nullptr, [&] { SendMessageA(wnd, WM_NCACTIVATE, FALSE, 0); });
        timed(counted ? &activate : nullptr, [&] { SendMessageA(wnd, WM_NCACTIVATE, TRUE, 0); });
        Pump();
    }
    std::printf("the skinned main form's frame at %ldx%ld under Wine, %d runs each, in turn\n", r.right - r.left,
                r.bottom - r.top, runs);
    for (const Case* c : {&full, &deactivate, &activate, &unchanged})
        std::printf("  %-46s median %7.2f ms   worst %7.2f ms   pushes %.2f, %.0f px each\n", c->name, Median(c->ms),
                    Worst(c->ms), double(c->pushes) / runs, c->pushes ? c->pixels / c->pushes : 0.0);
    std::printf("  unchanged repaints copied from the cache: %d of %d\n", fromCache, runs);
    return fromCache == runs ? 0 : 1;
}
