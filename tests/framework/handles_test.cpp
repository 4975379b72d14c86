// The handle guards and their live counts, the canvas and bitmap that hold
// guards, the one window binding, and painting that throws.
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/grids.h"
#include "framework/handles.h"
#include "reportedtexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace kova {
namespace {

// The counts that differ, named, for a failure message.
std::string CountsDiff(const THandleCounts& before, const THandleCounts& after) {
    std::ostringstream out;
    for (std::size_t i = 0; i < kHandleKinds; ++i)
        if (before[i] != after[i])
            out << HandleKindName(static_cast<THandleKind>(i)) << ": " << before[i] << " -> " << after[i] << "; ";
    return out.str();
}

long Live(THandleKind k) { return LiveHandles(k); }

// The application (made on first use) has a window of its own: it must
// exist before a test takes its baseline.
void EnsureApplication() { ASSERT_NE(Application(), nullptr); }

TEST(HandleGuards, OwnersCountWhatTheyHoldAndDeleteItOnce) {
    const long pens = Live(THandleKind::Pen);
    HPEN raw = nullptr;
    {
        TGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
        raw = pen.Get();
        ASSERT_TRUE(pen);
        EXPECT_EQ(Live(THandleKind::Pen), pens + 1);
        // Moving hands the one ownership on: nothing deleted, nothing counted twice.
        TGdiObject<HPEN> moved = std::move(pen);
        EXPECT_FALSE(pen);
        EXPECT_EQ(moved.Get(), raw);
        EXPECT_EQ(Live(THandleKind::Pen), pens + 1);
        moved.Reset(raw);  // its own handle: kept
        EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_PEN));
    }
    EXPECT_EQ(GetObjectType(raw), 0u) << "the pen was not deleted";
    EXPECT_EQ(Live(THandleKind::Pen), pens);

    // Given away (to a window that takes regions, say): not counted, not deleted.
    const long regions = Live(THandleKind::Region);
    HRGN given = nullptr;
    {
        TGdiObject<HRGN> region(CreateRectRgn(0, 0, 4, 4));
        given = region.Release();
        EXPECT_FALSE(region);
    }
    EXPECT_EQ(Live(THandleKind::Region), regions);
    EXPECT_EQ(GetObjectType(given), static_cast<DWORD>(OBJ_REGION));
    TGdiObject<HRGN> back(given);  // and taken back, to go
    back.Reset();
    EXPECT_EQ(GetObjectType(given), 0u);

    // A failed creation holds nothing and counts nothing.
    const THandleCounts before = LiveHandleCounts();
    { TGdiObject<HBITMAP> none(CreateCompatibleBitmap(nullptr, -1, -1)); }
    { TIconHandle none(nullptr); }
    EXPECT_EQ(LiveHandleCounts(), before) << CountsDiff(before, LiveHandleCounts());
}

TEST(HandleGuards, ASelectionPutsBackTheObjectItFoundFirst) {
    TMemoryDC dc(nullptr);
    ASSERT_TRUE(dc);
    const HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_PEN);
    TGdiObject<HPEN> red(CreatePen(PS_SOLID, 1, RGB(255, 0, 0))), blue(CreatePen(PS_SOLID, 1, RGB(0, 0, 255)));
    const long selections = Live(THandleKind::Selection);
    {
        TSelection sel(dc.Get(), red.Get());
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), red.Get());
        sel.Select(blue.Get());
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), blue.Get());
        TSelection moved = std::move(sel);
        EXPECT_EQ(Live(THandleKind::Selection), selections + 1);
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), original);
    EXPECT_EQ(Live(THandleKind::Selection), selections);
    // Nothing to select into: an empty guard.
    TSelection none(nullptr, red.Get());
    EXPECT_FALSE(none);
    EXPECT_EQ(Live(THandleKind::Selection), selections);
}

TEST(HandleGuards, TheDCGuardsReleaseTheirDCs) {
    const THandleCounts before = LiveHandleCounts();
    {
        TWindowDC screen(nullptr);
        TMemoryDC memory(screen.Get());
        ASSERT_TRUE(screen && memory);
        EXPECT_EQ(Live(THandleKind::WindowDC), before[static_cast<std::size_t>(THandleKind::WindowDC)] + 1);
        EXPECT_EQ(Live(THandleKind::MemoryDC), before[static_cast<std::size_t>(THandleKind::MemoryDC)] + 1);
    }
    EXPECT_EQ(LiveHandleCounts(), before) << CountsDiff(before, LiveHandleCounts());
}

// The whole-window DC, a saved DC state, a hook and a loaded module: each
// counted while held and given back at the end of its scope.
LRESULT CALLBACK PassHook(int code, WPARAM w, LPARAM l) { return CallNextHookEx(nullptr, code, w, l); }

TEST(HandleGuards, WindowDCsSavedStatesHooksAndModulesGoBack) {
    EnsureApplication();
    const THandleCounts before = LiveHandleCounts();
    auto* f = TCustomForm::Create<TForm>(Application());
    f->SetBounds(10, 10, 120, 80);
    HWND wnd = f->Handle();
    HDC seenDC = nullptr;
    {
        TWindowDC whole(wnd, TDCArea::Window);
        ASSERT_TRUE(whole);
        seenDC = whole.Get();
        // The whole-window DC starts at the window's corner, not the client's.
        POINT origin{};
        GetDCOrgEx(whole.Get(), &origin);
        RECT wr;
        GetWindowRect(wnd, &wr);
        EXPECT_EQ(origin.x, wr.left);
        EXPECT_EQ(origin.y, wr.top);
        {
            TSavedDC saved(whole.Get());
            ASSERT_TRUE(saved);
            SetViewportOrgEx(whole.Get(), 5, 6, nullptr);
            EXPECT_EQ(Live(THandleKind::SavedDC), before[static_cast<std::size_t>(THandleKind::SavedDC)] + 1);
        }
        POINT vp{};
        GetViewportOrgEx(whole.Get(), &vp);
        EXPECT_EQ(vp.x, 0) << "the saved state did not come back";
        THookHandle hook(SetWindowsHookExA(WH_CBT, PassHook, nullptr, GetCurrentThreadId()));
        ASSERT_TRUE(hook);
        TModuleHandle module("msimg32.dll");
        ASSERT_TRUE(module);
        EXPECT_NE(module.Proc<void*>("GradientFill"), nullptr);
        EXPECT_EQ(module.Proc<void*>("NoSuchEntryPoint"), nullptr);
        EXPECT_EQ(TModuleHandle("no-such-library.dll").Proc<void*>("x"), nullptr);
        for (THandleKind k : {THandleKind::WindowDC, THandleKind::Hook, THandleKind::Module})
            EXPECT_EQ(Live(k), before[static_cast<std::size_t>(k)] + 1) << HandleKindName(k);
    }
    // A DC given back can be had again (a DC that leaks would stay ours).
    EXPECT_EQ(TSavedDC(nullptr).DC(), nullptr);
    f->Free();
    (void)seenDC;
    EXPECT_EQ(LiveHandleCounts(), before) << CountsDiff(before, LiveHandleCounts());
}

// A canvas whose tools change while it holds a DC draws with the new ones
// and leaves no object behind; a bitmap with its canvas goes whole.
TEST(HandleGuards, CanvasAndBitmapLeaveNothingBehind) {
    const THandleCounts before = LiveHandleCounts();
    {
        TBitmap bmp(32, 32);
        TCanvas* c = bmp.Canvas();
        c->Brush()->SetColor(clRed);
        c->FillRect(RECT{0, 0, 32, 32});
        c->Pen()->SetColor(clBlue);
        const HGDIOBJ firstPen = GetCurrentObject(c->Handle(), OBJ_PEN);
        c->Pen()->SetColor(clLime);  // a new pen while the old one is selected
        EXPECT_NE(GetCurrentObject(c->Handle(), OBJ_PEN), firstPen);
        EXPECT_EQ(GetObjectType(firstPen), 0u) << "the replaced pen lives on";
        c->MoveTo(0, 28);
        c->LineTo(32, 28);
        c->Font()->SetStyle(fsBold);
        c->TextOut(0, 0, "x");
        EXPECT_EQ(bmp.Pixels().At(0, 28) & 0xFFFFFF, 0x00FF00u);
        EXPECT_EQ(bmp.Pixels().At(31, 31) & 0xFFFFFF, 0xFF0000u);
        EXPECT_GT(Live(THandleKind::Pen), before[static_cast<std::size_t>(THandleKind::Pen)]);
        bmp.SetSize(16, 4);  // a new bitmap under the same canvas
        c->FillRect(RECT{0, 0, 16, 4});
        EXPECT_EQ(Live(THandleKind::Bitmap), before[static_cast<std::size_t>(THandleKind::Bitmap)] + 1);
    }
    EXPECT_EQ(LiveHandleCounts(), before) << CountsDiff(before, LiveHandleCounts());
}

// ---- the window binding ---------------------------------------------------------

BOOL CALLBACK CollectWindow(HWND w, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
}

std::vector<HWND> TopLevelWindowsOfThisThread() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// A timer's window is for messages only: no top-level window, which Wine
// would also make on the display server, one more at every start. The
// application's window stays a top-level one: it owns the forms.
TEST(WindowBinding, AUtilityWindowIsForMessagesOnlyTheApplicationsIsATopLevelOne) {
    EnsureApplication();
    int ticks = 0;
    HWND h = nullptr;
    h = AllocateHWnd([&](UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_TIMER) ++ticks;
        return DefWindowProcA(h, m, w, l);
    });
    ASSERT_TRUE(h);
    const std::vector<HWND> tops = TopLevelWindowsOfThisThread();
    EXPECT_EQ(std::count(tops.begin(), tops.end(), h), 0);
    EXPECT_EQ(std::count(tops.begin(), tops.end(), Application()->Handle()), 1);
    ASSERT_NE(SetTimer(h, 1, 10, nullptr), 0u);
    EXPECT_TRUE(WaitWithMessages(3000, [&] { return ticks > 0; }));
    KillTimer(h, 1);
    DeallocateHWnd(h);
}

TEST(WindowBinding, AUtilityWindowOwnsItsMethodUntilItIsDestroyedAnyWay) {
    EnsureApplication();
    const long bindings = Live(THandleKind::WindowBinding);
    auto token = std::make_shared<int>(0);
    HWND h = nullptr;
    h = AllocateHWnd([token, &h](UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_USER) return 42;
        return DefWindowProcA(h, m, w, l);
    });
    ASSERT_TRUE(h);
    EXPECT_EQ(SendMessageA(h, WM_USER, 0, 0), 42);
    EXPECT_NE(WindowObject(h), nullptr);
    EXPECT_EQ(TWinControl::FindControl(h), nullptr);  // bound, but not to a control
    EXPECT_EQ(Live(THandleKind::WindowBinding), bindings + 1);
    EXPECT_EQ(token.use_count(), 2);
    // Destroyed directly, not by DeallocateHWnd: binding and method go all the same.
    DestroyWindow(h);
    EXPECT_EQ(token.use_count(), 1);
    EXPECT_EQ(Live(THandleKind::WindowBinding), bindings);
}

TEST(WindowBinding, ATimerMayFreeItselfFromItsOwnTick) {
    EnsureApplication();
    const long bindings = Live(THandleKind::WindowBinding);
    auto* t = new TTimer(nullptr);
    bool freed = false;
    t->SetInterval(10);
    t->OnTimer = [&freed](TObject* sender) {
        freed = true;
        static_cast<TTimer*>(sender)->Free();  // destroys the window whose message runs now
    };
    const DWORD start = GetTickCount();
    while (!freed && GetTickCount() - start < 3000) {
        Application()->ProcessMessages();
        Sleep(5);
    }
    ASSERT_TRUE(freed);
    EXPECT_EQ(Live(THandleKind::WindowBinding), bindings);
}

TEST(WindowBinding, AControlOfANativeClassKeepsTheNativeWindowBytesAndForeignWindowsHaveNoObject) {
    EnsureApplication();
    auto* f = TCustomForm::Create<TForm>(Application());
    auto* box = new TCheckBox(f);
    box->SetParent(f);
    HWND h = box->Handle();
    WNDCLASSEXA native{};
    native.cbSize = sizeof native;
    ASSERT_TRUE(GetClassInfoExA(nullptr, "BUTTON", &native));
    // The binding sits after the native class's own bytes, which the
    // native procedure goes on using.
    EXPECT_EQ(GetClassLongPtrA(h, GCL_CBWNDEXTRA), static_cast<ULONG_PTR>(native.cbWndExtra) + sizeof(LONG_PTR));
    SendMessageA(h, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageA(h, BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageA(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Checked"));
    EXPECT_EQ(SendMessageA(h, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(TWinControl::FindControl(h), box);
    // A window the framework did not make, even with bytes of its own at
    // the same place, leads to no object; nor can it be bound.
    HWND plain = CreateWindowExA(0, "BUTTON", "plain", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 50, 20, f->Handle(), nullptr,
                                 nullptr, nullptr);
    ASSERT_TRUE(plain);
    SendMessageA(plain, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(WindowObject(plain), nullptr);
    EXPECT_FALSE(BindWindow(plain, box));
    EXPECT_EQ(WindowObject(plain), nullptr);
    DestroyWindow(plain);
    f->Free();
}

TEST(WindowBinding, AControlIsFoundByItsWindowUntilTheWindowIsGone) {
    EnsureApplication();
    const long bindings = Live(THandleKind::WindowBinding);
    auto* f = TCustomForm::Create<TForm>(Application());
    auto* p = new TPanel(f);
    p->SetParent(f);
    HWND panel = p->Handle();
    EXPECT_EQ(TWinControl::FindControl(panel), p);
    EXPECT_EQ(TWinControl::FindControl(f->Handle()), f);
    EXPECT_EQ(Live(THandleKind::WindowBinding), bindings + 2);
    p->DestroyHandle();
    EXPECT_EQ(Live(THandleKind::WindowBinding), bindings + 1);
    EXPECT_FALSE(p->HandleAllocated());
    f->Free();
    EXPECT_EQ(Live(THandleKind::WindowBinding), bindings);
}

// ---- painting that throws -------------------------------------------------------

// OnDrawCell throws in the middle of the grid's painting: the exception is
// reported, and the grid's pen, its selection and the paint's DC are all
// released.
TEST(PaintGuards, AGridWhoseCellDrawingThrowsLeavesNothingBehind) {
    EnsureApplication();
    TReportedTexts reports;
    std::vector<std::string>& reported = reports.Texts;
    auto* f = TCustomForm::Create<TForm>(Application());
    auto* g = new TStringGrid(f);
    g->SetParent(f);
    g->SetBounds(0, 0, 300, 150);
    f->Show();
    RedrawWindow(g->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);  // the canvas makes its tools once
    ASSERT_TRUE(reported.empty());

    const THandleCounts before = LiveHandleCounts();
    THandleCounts during{};
    int calls = 0;
    g->OnDrawCell = [&](TObject*, int, int, RECT, TGridDrawState) {
        during = LiveHandleCounts();
        if (++calls == 3) throw std::runtime_error("cell drawing failed");
    };
    RedrawWindow(g->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(calls, 3);
    ASSERT_EQ(reported, std::vector<std::string>{"cell drawing failed"});
    // While the cells were drawn the grid's pen and the paint were live.
    EXPECT_GT(during[static_cast<std::size_t>(THandleKind::Pen)], before[static_cast<std::size_t>(THandleKind::Pen)]);
    EXPECT_GT(during[static_cast<std::size_t>(THandleKind::Paint)], before[static_cast<std::size_t>(THandleKind::Paint)]);
    EXPECT_GT(during[static_cast<std::size_t>(THandleKind::Selection)], before[static_cast<std::size_t>(THandleKind::Selection)]);
    EXPECT_EQ(LiveHandleCounts(), before) << CountsDiff(before, LiveHandleCounts());

    // The grid paints again as before.
    g->OnDrawCell = nullptr;
    RedrawWindow(g->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(LiveHandleCounts(), before) << CountsDiff(before, LiveHandleCounts());
    f->Free();
}

}  // namespace
}  // namespace kova
