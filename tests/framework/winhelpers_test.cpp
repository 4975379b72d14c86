// The framework's small helpers with real windows: texts and class names
// longer than any fixed buffer, the wait that handles messages, and the
// control style and state flags that the framework keeps.
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "framework/windowtext.h"

#include <gtest/gtest.h>

#include <string>

namespace kova {
namespace {

TEST(WindowTexts, TextsAndClassNamesOfAnyLength) {
    ASSERT_NE(Application(), nullptr);
    // Class names may be up to 256 characters; titles have no such limit.
    const std::string longClass = "KovaClass" + std::string(240, 'c');
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = longClass.c_str();
    ASSERT_TRUE(RegisterClassExA(&wc));
    struct Case {
        std::string title;
    } cases[] = {{""}, {"short"}, {std::string(255, 't')}, {std::string(256, 'u')}, {std::string(3000, 'v') + "end"}};
    for (const Case& c : cases) {
        HWND h = CreateWindowExA(0, longClass.c_str(), c.title.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(h);
        EXPECT_EQ(WindowText(h), c.title) << c.title.size() << " characters";
        EXPECT_EQ(WindowClassName(h), longClass);
        DestroyWindow(h);
        EXPECT_EQ(WindowText(h), "") << "a window that is gone";
    }
    EXPECT_EQ(WindowText(nullptr), "");
    EXPECT_EQ(WindowClassName(nullptr), "");
    UnregisterClassA(longClass.c_str(), GetModuleHandleA(nullptr));
}

TEST(WaitWithMessages, HandlesMessagesUntilDoneOrTheTimeIsUp) {
    int handled = 0;
    HWND h = nullptr;
    h = AllocateHWnd([&](UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_APP) ++handled;
        return DefWindowProcA(h, m, w, l);
    });
    PostMessageA(h, WM_APP, 0, 0);
    DWORD start = GetTickCount();
    EXPECT_TRUE(WaitWithMessages(5000, [&] { return handled == 1; }));
    EXPECT_LT(GetTickCount() - start, 2000u);
    // Nothing to wait for: the whole time passes, messages handled meanwhile.
    PostMessageA(h, WM_APP, 0, 0);
    start = GetTickCount();
    EXPECT_FALSE(WaitWithMessages(60, [] { return false; }));
    EXPECT_GE(GetTickCount() - start, 50u);
    EXPECT_EQ(handled, 2);
    DeallocateHWnd(h);
}

TEST(ControlFlags, ContainersAcceptControlsAndStatesFollowWhatTheControlDoes) {
    auto* f = TCustomForm::Create<TForm>(Application());
    auto* panel = new TPanel(f);
    panel->SetParent(f);
    auto* group = new TGroupBox(f);
    group->SetParent(f);
    auto* radio = new TRadioGroup(f);
    radio->SetParent(f);
    auto* edit = new TEdit(f);
    edit->SetParent(f);
    auto* label = new TLabel(f);
    label->SetParent(f);
    struct Case {
        TControl* control;
        bool accepts;
    } cases[] = {{f, true}, {panel, true}, {group, true}, {radio, false}, {edit, false}, {label, false}};
    for (const Case& c : cases)
        EXPECT_EQ((c.control->ControlStyle() & csAcceptsControls) != 0, c.accepts) << c.control->ClassName();

    // While its window is made a control is creating; while it is printed
    // it paints a copy.
    TControlState whileCreated = 0, whilePrinted = 0;
    TWndMethod inner = panel->WindowProc;
    panel->WindowProc = [&, inner](TMessage& m) {
        if (m.Msg == WM_CREATE) whileCreated = panel->ControlState();
        // Printing paints through WM_PAINT with the printer's DC.
        if (m.Msg == WM_PAINT && m.WParam) whilePrinted = panel->ControlState();
        inner(m);
    };
    f->Show();
    EXPECT_TRUE(whileCreated & csCreating);
    EXPECT_FALSE(panel->ControlState() & csCreating);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 200, 50);
    HGDIOBJ old = SelectObject(dc, bmp);
    SendMessageA(panel->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(whilePrinted & csPaintCopy);
    EXPECT_FALSE(panel->ControlState() & csPaintCopy);
    panel->WindowProc = inner;
    f->Free();
}

// An opaque control is invalidated without erasing what is under it.
TEST(ControlFlags, AnOpaqueControlIsNotErasedWhenInvalidated) {
    auto* f = TCustomForm::Create<TForm>(Application());
    f->SetBounds(100, 100, 200, 120);
    auto* panel = new TPanel(f);
    panel->SetParent(f);
    f->Show();
    int erases = 0;
    TWndMethod inner = panel->WindowProc;
    panel->WindowProc = [&, inner](TMessage& m) {
        if (m.Msg == WM_ERASEBKGND) ++erases;
        inner(m);
    };
    UpdateWindow(f->Handle());
    for (bool opaque : {false, true}) {
        panel->SetControlStyle(opaque ? panel->ControlStyle() | csOpaque : panel->ControlStyle() & ~csOpaque);
        erases = 0;
        panel->Invalidate();
        panel->Update();
        EXPECT_EQ(erases > 0, !opaque) << (opaque ? "opaque" : "not opaque");
    }
    panel->WindowProc = inner;
    f->Free();
}

}  // namespace
}  // namespace kova
