// What the tests of extended borders and form animations share: a manager
// with our internal skin and extended borders on, a shown sizeable form
// with a provider (and so a border window), and a recorder of every frame
// handed to a layered window through the animations' output.
#pragma once

#include <windows.h>

#include <chrono>
#include <vector>

#include "common/win32_testing.h"
#include "framework/forms.h"
#include "skin/core/animations.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinservices.h"
#include "skin/core/skinsetup.h"
#include "skin/forms/borderform.h"
#include "skin/forms/provider.h"

namespace kova::skin::test {

inline RECT WindowRectOf(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

// A plain native window of the test's own, destroyed with the guard.
struct TNative {
    HWND Wnd = nullptr;
    ~TNative() {
        if (Wnd) DestroyWindow(Wnd);
    }
    HWND Get() const { return Wnd; }
};

// A window class of this name with the default procedure (stand-ins for
// the shell's windows and windows beneath).
inline ATOM StandInClass(const char* name) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    return RegisterClassA(&wc);
}

// One frame handed to a layered window.
struct TFrame {
    HWND Wnd = nullptr;
    POINT Pos{};
    SIZE Size{};
    int Alpha = -1;
    // The part of the picture taken over (none given: the whole).
    RECT Dirty{};
    bool HasDirty = false;
    PixelBuffer32 Pixels;
    std::chrono::steady_clock::time_point At;
};

// Records every frame handed to a layered window (and shows it too, so
// that the windows behave as they would).
struct FrameRecorder {
    FrameRecorder() {
        AnimationOutput().UpdateLayeredWindow = [this](HWND wnd, HDC screen, POINT* dest, SIZE* size, HDC source,
                                                       POINT* sp, COLORREF key, BLENDFUNCTION* blend, DWORD flags,
                                                       const RECT* dirty) {
            TFrame f;
            f.Wnd = wnd;
            if (dest) f.Pos = *dest;
            if (size) f.Size = *size;
            f.Alpha = blend ? blend->SourceConstantAlpha : -1;
            if (dirty) f.Dirty = *dirty, f.HasDirty = true;
            if (source && size) f.Pixels = ReadDCToBuffer(source, RECT{0, 0, size->cx, size->cy});
            f.At = std::chrono::steady_clock::now();
            frames.push_back(std::move(f));
            return SystemUpdateLayered(wnd, screen, dest, size, source, sp, key, blend, flags, dirty);
        };
        // The fades' clock runs only in their sleeps (which still sleep,
        // unless a test replaces them): reading each frame back takes no
        // frame's time, so no frame is left out as late.
        AnimationOutput().Sleep = [this](DWORD ms) {
            now += ms;
            ::Sleep(ms);
        };
        AnimationOutput().Clock = [this] { return now; };
    }
    ~FrameRecorder() {
        AnimationOutput().UpdateLayeredWindow = nullptr;
        AnimationOutput().Sleep = nullptr;
        AnimationOutput().Clock = nullptr;
    }
    std::vector<TFrame> For(HWND wnd) const {
        std::vector<TFrame> out;
        for (const TFrame& f : frames)
            if (f.Wnd == wnd) out.push_back(f);
        return out;
    }
    std::vector<int> Alphas(HWND wnd) const {
        std::vector<int> out;
        for (const TFrame& f : frames)
            if (f.Wnd == wnd) out.push_back(f.Alpha);
        return out;
    }
    std::vector<TFrame> frames;
    double now = 0;
};

// The skinning units started and a manager with Linen and extended borders.
struct ExtBordersManager {
    ExtBordersManager() {
        StartSkinUnits({});
        m = new TsSkinManager(nullptr);
        AddInternalSkins(m->Model().InternalSkins);
        m->SetExtendedBorders(true);
        m->SetSkinName("Linen (internal)");
    }
    ~ExtBordersManager() {
        m->Free();
        FinishSkinUnits();
    }
    TsSkinManager* m;
};

// A shown, sizeable form with a provider and extended borders.
struct Bordered {
    explicit Bordered(int x = 160, int y = 140, int w = 360, int h = 240) {
        form = TCustomForm::Create<TForm>(Application());
        form->SetBorderStyle(bsSizeable);
        form->SetBounds(x, y, w, h);
        form->SetCaption("Bordered");
        form->HandleNeeded();
        provider = new TsSkinProvider(form);
        form->Show();
        kova::test::PumpMessages();
        kova::test::PumpFor(60);
    }
    ~Bordered() { form->Free(); }
    HWND Wnd() const { return form->Handle(); }
    TacSkinBorderForm* Border() const { return static_cast<TacSkinBorderForm*>(provider->BorderForm); }
    HWND BorderWnd() const {
        TacSkinBorderForm* b = Border();
        return b && b->AForm && b->AForm->HandleAllocated() ? b->AForm->Handle() : nullptr;
    }
    TForm* form;
    TsSkinProvider* provider;
};

}  // namespace kova::skin::test
