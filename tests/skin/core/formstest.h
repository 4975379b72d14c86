// Helpers of the skinned-forms tests: a framework form with a skin
// provider, and a recorder of the animations' layered-window calls (Xvfb
// shows no alpha, so the tests read the pictures handed to the layered
// windows instead of the screen).
#pragma once

#include <windows.h>

#include <vector>

#include "framework/forms.h"
#include "framework/portable/pixelbuffer.h"
#include "handlecheck.h"
#include "skin/core/animations.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/skinservices.h"
#include "skin/forms/provider.h"

namespace kova::skin::test {

struct LayeredCall {
    HWND Wnd = nullptr;
    int Alpha = -1;
    SIZE Size{};
    POINT Pos{};
    bool HasPos = false;
    PixelBuffer32 Picture;  // a copy of the source bitmap's pixels
};

// The pixels of the DIB section selected into a memory DC, copied.
inline PixelBuffer32 ReadSelectedDib(HDC dc, SIZE size) {
    GdiFlush();
    DIBSECTION ds{};
    HGDIOBJ bmp = GetCurrentObject(dc, OBJ_BITMAP);
    if (!bmp || GetObjectA(bmp, sizeof ds, &ds) != sizeof ds || !ds.dsBm.bmBits) return {};
    const int w = ds.dsBm.bmWidth, h = ds.dsBm.bmHeight;
    // The animations' pictures are the framework's top-down bitmaps (the
    // DIBSECTION's header does not reliably tell the direction).
    if (w != size.cx || h != size.cy) return {};
    auto* bits = static_cast<std::uint8_t*>(ds.dsBm.bmBits);
    return PixelBuffer32::View(bits, w, h, ds.dsBm.bmWidthBytes).Clone();
}

// Records every UpdateLayeredWindow of the animations (and still makes
// it: real windows) and skips their sleeps while it lives.
class LayeredRecorder {
public:
    LayeredRecorder() {
        AnimationOutput().UpdateLayeredWindow = [this](HWND wnd, HDC screenDC, POINT* dest, SIZE* size, HDC src,
                                                       POINT* srcPt, COLORREF key, BLENDFUNCTION* blend,
                                                       DWORD flags, const RECT* dirty) -> BOOL {
            LayeredCall c;
            c.Wnd = wnd;
            c.Alpha = blend ? blend->SourceConstantAlpha : -1;
            if (size) c.Size = *size;
            if (dest) c.Pos = *dest, c.HasPos = true;
            if (src && size) c.Picture = ReadSelectedDib(src, *size);
            Calls.push_back(std::move(c));
            return SystemUpdateLayered(wnd, screenDC, dest, size, src, srcPt, key, blend, flags, dirty);
        };
        // Time passes only in the animations' sleeps.
        AnimationOutput().Sleep = [this](DWORD ms) {
            Sleeps.push_back(ms);
            Now += ms;
        };
        AnimationOutput().Clock = [this] { return Now; };
    }
    ~LayeredRecorder() { AnimationOutput() = AnimationCalls{}; }
    LayeredRecorder(const LayeredRecorder&) = delete;
    LayeredRecorder& operator=(const LayeredRecorder&) = delete;

    std::vector<LayeredCall> Calls;
    std::vector<DWORD> Sleeps;
    double Now = 0;
};

// A shown framework form with a provider; counts the form's paints.
class SkinnedTestForm {
public:
    explicit SkinnedTestForm(int x = 200, int y = 150, int w = 240, int h = 160, bool show = true) {
        Form = TCustomForm::Create<TForm>(Application());
        Form->SetBounds(x, y, w, h);
        Form->SetColor(0x00336699);
        Provider = new TsSkinProvider(Form);
        TWndMethod inner = Form->WindowProc;
        Form->WindowProc = [this, inner](TMessage& m) {
            if (m.Msg == WM_PAINT) ++Paints;
            inner(m);
        };
        if (show) Form->Show();
        Form->HandleNeeded();
    }
    ~SkinnedTestForm() { Form->Free(); }
    SkinnedTestForm(const SkinnedTestForm&) = delete;
    SkinnedTestForm& operator=(const SkinnedTestForm&) = delete;
    HWND Wnd() { return Form->Handle(); }

    TForm* Form;
    TsSkinProvider* Provider;
    int Paints = 0;
};

}  // namespace kova::skin::test
