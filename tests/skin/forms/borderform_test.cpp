// Extended borders on real forms with our internal skin: the border
// window framing the form (the size of the provider's cache, owned by the
// form, beneath it, topmost beside a topmost form), its region's hole over
// the client area, the pictures handed to the layered window (our own
// shadows, active and inactive), the hit-test and cursor tables, the mouse
// on the shadow margin going through to the window beneath, the double
// clicks that stretch the form to the work area, moving and sizing
// through it, and the border window following the form.
#include "skin/forms/borderform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/win32_testing.h"
#include "framework/forms.h"
#include "framework/handles.h"
#include "skin/core/skinmanager.h"
#include "skin/forms/formhelpers.h"
#include "skin/forms/provider.h"
#include "../core/handlecheck.h"
#include "borderedforms.h"

namespace kova::skin::test {

using kova::test::PumpFor;
using kova::test::WaitUntil;

namespace {

struct Bounds {
    int X, Y, W, H;
};
Bounds BoundsOf(TForm* f) { return Bounds{f->Left(), f->Top(), f->Width(), f->Height()}; }

class BorderFormTest : public ::testing::Test {
protected:
    void TearDown() override { ResetSkinServices(); }
    ExtBordersManager manager;
};

}  // namespace

// The border window is the provider's cache laid around the form: it lies
// left of and above the form by the skin's border and title differences
// and the shadow margins, has the cache's size, is owned by the form and
// never takes the activation.
TEST_F(BorderFormTest, BorderWindowIsTheCacheRectangleAroundTheForm) {
    Bordered f;
    ASSERT_NE(f.Border(), nullptr);
    const HWND border = f.BorderWnd();
    ASSERT_NE(border, nullptr);
    EXPECT_TRUE(IsWindowVisible(border));
    EXPECT_EQ(GetWindow(border, GW_OWNER), f.Wnd());
    const LONG_PTR ex = GetWindowLongPtrA(border, GWL_EXSTYLE);
    EXPECT_EQ(ex & (WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW),
              WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW);
    const RECT margins = f.provider->GetExtBorderMargins();
    EXPECT_EQ(margins.left, 9) << "our own shadow's margins";
    const int sys = GetBorderWidth(f.Wnd(), nullptr, false);
    const int skin = SkinBorderWidth(f.Border());
    const RECT form = WindowRectOf(f.Wnd());
    TBitmap& cache = *f.provider->SkinData->CacheBmp;
    const RECT expected{form.left - (skin - sys + margins.left), form.top - f.Border()->TopOffset(),
                        form.left - (skin - sys + margins.left) + cache.Width(),
                        form.top - f.Border()->TopOffset() + cache.Height()};
    const RECT r = WindowRectOf(border);
    EXPECT_EQ(r.left, expected.left);
    EXPECT_EQ(r.top, expected.top);
    EXPECT_EQ(r.right, expected.right);
    EXPECT_EQ(r.bottom, expected.bottom);
    // The form's client area lies where the cache keeps the client.
    POINT client{0, 0};
    ClientToScreen(f.Wnd(), &client);
    EXPECT_EQ(client.x - r.left, f.provider->ClientOffsetX());
    EXPECT_EQ(client.y - r.top, f.provider->ClientOffsetY());
    // Moved and sized, the border window follows.
    f.form->SetBounds(200, 170, 420, 280);
    kova::test::PumpMessages();
    const RECT moved = WindowRectOf(border);
    const RECT form2 = WindowRectOf(f.Wnd());
    EXPECT_EQ(moved.left, form2.left - (skin - sys + margins.left));
    EXPECT_EQ(moved.top, form2.top - f.Border()->TopOffset());
    EXPECT_EQ(moved.right - moved.left, f.provider->SkinData->CacheBmp->Width());
    EXPECT_EQ(moved.bottom - moved.top, f.provider->SkinData->CacheBmp->Height());
    // Hidden with the form, back with it.
    f.form->Hide();
    kova::test::PumpMessages();
    EXPECT_FALSE(f.BorderWnd() && IsWindowVisible(f.BorderWnd()));
    f.form->Show();
    kova::test::PumpMessages();
    ASSERT_NE(f.BorderWnd(), nullptr);
    EXPECT_TRUE(IsWindowVisible(f.BorderWnd()));
}

// The border window's region is the whole window less the form's client
// area (a difference: the hole is exactly the client rectangle).
TEST_F(BorderFormTest, RegionHoleIsTheClientArea) {
    Bordered f;
    const HWND border = f.BorderWnd();
    ASSERT_NE(border, nullptr);
    TGdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(border, region.Get()), ERROR);
    const RECT r = WindowRectOf(border);
    RECT client;
    GetClientRect(f.Wnd(), &client);
    POINT origin{0, 0};
    ClientToScreen(f.Wnd(), &origin);
    OffsetRect(&client, origin.x - r.left, origin.y - r.top);
    TGdiObject<HRGN> expected(CreateRectRgn(0, 0, r.right - r.left, r.bottom - r.top));
    TGdiObject<HRGN> hole(CreateRectRgnIndirect(&client));
    CombineRgn(expected.Get(), expected.Get(), hole.Get(), RGN_DIFF);
    EXPECT_TRUE(EqualRgn(region.Get(), expected.Get()));
    // The form itself shows only its client area.
    TGdiObject<HRGN> own(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(f.Wnd(), own.Get()), ERROR);
    RECT box;
    GetRgnBox(own.Get(), &box);
    OffsetRect(&box, WindowRectOf(f.Wnd()).left - origin.x, WindowRectOf(f.Wnd()).top - origin.y);
    RECT c;
    GetClientRect(f.Wnd(), &c);
    EXPECT_TRUE(EqualRect(&box, &c)) << box.left << "," << box.top << "," << box.right << "," << box.bottom << " vs " << c.right << "," << c.bottom;
}

// On the screen the client area shows the form's own client, not the
// cache's picture of it, after every new picture of the border window as
// after the first (Wine shapes a layered window anew from each picture).
TEST_F(BorderFormTest, TheClientShowsThroughTheHoleAfterEveryUpdate) {
    Bordered f;
    ASSERT_NE(f.BorderWnd(), nullptr);
    static const ATOM red = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KovaBorderTestRedClient";
        wc.hbrBackground = CreateSolidBrush(RGB(230, 0, 0));  // the class keeps it for the run
        return RegisterClassA(&wc);
    }();
    ASSERT_NE(red, 0);
    RECT client;
    GetClientRect(f.Wnd(), &client);
    TNative child{CreateWindowExA(0, "KovaBorderTestRedClient", "", WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                                  client.bottom, f.Wnd(), nullptr, GetModuleHandleA(nullptr), nullptr)};
    ASSERT_NE(child.Get(), nullptr);
    POINT centre{client.right / 2, client.bottom / 2};
    ClientToScreen(f.Wnd(), &centre);
    auto onScreen = [&] {
        HDC dc = GetDC(nullptr);
        const COLORREF c = GetPixel(dc, centre.x, centre.y);
        ReleaseDC(nullptr, dc);
        return c;
    };
    for (int i = 0; i < 3; ++i) {
        f.provider->FormActive = i % 2 == 0;
        f.provider->SkinData->BGChanged = true;
        f.Border()->UpdateBorderWindow(true, 255);
        RedrawWindow(f.Wnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        kova::test::PumpMessages();
        EXPECT_TRUE(WaitUntil([&] { return onScreen() == RGB(230, 0, 0); }, 2000))
            << "update " << i << ": " << std::hex << onScreen();
    }
}

// A client rectangle reaching past the window (a coming size larger than
// the window) adds nothing to the region: the hole is cut, not toggled.
TEST_F(BorderFormTest, RegionNeverGainsWhatTheClientReachesPast) {
    Bordered f;
    const RECT r = WindowRectOf(f.BorderWnd());
    const int w = r.right - r.left, h = r.bottom - r.top;
    TGdiObject<HRGN> region(f.Border()->MakeRegion(WindowWidth(f.Wnd()) + 400, WindowHeight(f.Wnd()) + 400));
    ASSERT_TRUE(region);
    RECT box;
    GetRgnBox(region.Get(), &box);
    EXPECT_GE(box.left, 0);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.right, w);
    EXPECT_LE(box.bottom, h);
    EXPECT_FALSE(PtInRegion(region.Get(), w + 5, h + 5));
}

// The picture handed to the layered window: our own shadow in the margins
// (partly transparent, darker in the active state), the frame opaque.
TEST_F(BorderFormTest, FramesCarryOurOwnShadowsActiveAndInactive) {
    FrameRecorder rec;
    Bordered f;
    const HWND border = f.BorderWnd();
    ASSERT_NE(border, nullptr);
    auto last = [&] {
        std::vector<TFrame> frames = rec.For(border);
        return frames.empty() ? TFrame{} : frames.back();
    };
    auto shadowAlphaSum = [](const TFrame& frame) {
        int sum = 0;
        for (int x = 0; x < frame.Pixels.Width(); ++x) sum += static_cast<int>(frame.Pixels.At(x, frame.Pixels.Height() - 4) >> 24);
        return sum;
    };
    f.provider->FormActive = true;
    f.provider->SkinData->BGChanged = true;
    f.Border()->UpdateBorderWindow(false, 255);
    const TFrame active = last();
    ASSERT_GT(active.Pixels.Width(), 0);
    const RECT r = WindowRectOf(border);
    EXPECT_EQ(active.Pos.x, r.left);
    EXPECT_EQ(active.Pos.y, r.top);
    EXPECT_EQ(active.Size.cx, r.right - r.left);
    EXPECT_EQ(active.Alpha, 255);
    const RECT m = f.provider->GetExtBorderMargins();
    // In the bottom margin: shadow, neither opaque nor empty everywhere.
    const std::uint32_t a = active.Pixels.At(active.Pixels.Width() / 2, active.Pixels.Height() - 4) >> 24;
    EXPECT_GT(a, 0u);
    EXPECT_LT(a, 255u);
    // The frame (the caption, inside the margins) is opaque.
    EXPECT_EQ(active.Pixels.At(active.Pixels.Width() / 2, m.top + 3) >> 24, 255u);
    f.provider->FormActive = false;
    f.provider->SkinData->BGChanged = true;
    f.Border()->UpdateBorderWindow(false, 255);
    const TFrame inactive = last();
    EXPECT_GT(shadowAlphaSum(active), shadowAlphaSum(inactive)) << "the inactive shadow is lighter";
}

// The hit test over the border window: sizing bands from the shadow's inner
// edge, the caption, the title buttons, nothing on the margin; the event's
// answer used as it is.
TEST_F(BorderFormTest, HitTestTableAndItsEvent) {
    Bordered f;
    TacSkinBorderForm* b = f.Border();
    ASSERT_NE(f.BorderWnd(), nullptr);
    const RECT r = WindowRectOf(f.BorderWnd());
    const RECT m = b->ExtMargins();
    const int W = r.right - r.left, H = r.bottom - r.top;
    const int sys = GetBorderWidth(f.Wnd(), nullptr, false);
    struct Case {
        int x, y, code;
    } cases[] = {
        {m.left, H / 2, HTLEFT},
        {m.left + sys, H / 2, HTLEFT},
        {W - m.right, H / 2, HTRIGHT},
        {W / 2, m.top, HTTOP},
        {W / 2, m.top + 4, HTTOP},
        {W / 2, H - m.bottom, HTBOTTOM},
        {m.left, m.top, HTTOPLEFT},
        {W - m.right, m.top, HTTOPRIGHT},
        {m.left, H - m.bottom, HTBOTTOMLEFT},
        {W - m.right, H - m.bottom, HTBOTTOMRIGHT},
        {W / 3, m.top + 12, HTCAPTION},
        {W / 2, H / 2, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(b->HitTest(POINT{r.left + c.x, r.top + c.y}), c.code) << c.x << "," << c.y;
    const RECT close = f.provider->CloseButton.Rect;
    ASSERT_GT(close.right, close.left);
    EXPECT_EQ(b->HitTest(POINT{r.left + (close.left + close.right) / 2, r.top + (close.top + close.bottom) / 2}),
              HTCLOSE);
    // The margin is not the form's.
    EXPECT_TRUE(b->PointInMargin(POINT{r.left + 2, r.top + H / 2}, true));
    EXPECT_FALSE(b->PointInMargin(POINT{r.left + m.left, r.top + H / 2}, true));
    f.provider->OnExtHitTest = [](TMessage& msg) { msg.Result = 1234; };
    EXPECT_EQ(b->HitTest(POINT{r.left + W / 2, r.top + H / 2}), 1234);
    f.provider->OnExtHitTest = [](TMessage& msg) { msg.Result = 0; };
    EXPECT_EQ(b->HitTest(POINT{r.left + W / 3, r.top + m.top + 12}), HTCAPTION);
}

// Shown and hidden, moved, repainted and switched between skins many
// times: the border window comes and goes with its form, no window is
// left behind and the GDI, USER and transient handle counts stay flat.
TEST_F(BorderFormTest, RepeatedShowsMovesAndSkinChangesLeaveNothingBehind) {
    Bordered f;
    ASSERT_NE(f.BorderWnd(), nullptr);
    auto cycle = [&](int i) {
        f.form->Hide();
        kova::test::PumpMessages();
        f.form->Show();
        f.form->SetBounds(150 + i % 7, 130 + i % 5, 360 + i % 3, 240);
        manager.m->SetSkinName(i % 2 ? "Slate (internal)" : "Linen (internal)");
        f.provider->FormActive = i % 2 == 0;
        f.provider->SkinData->BGChanged = true;
        f.Border()->UpdateBorderWindow(true, 255);
        kova::test::PumpMessages();
    };
    cycle(0);
    cycle(1);
    const TGuiCounts gui;
    const THandleCounts handles = LiveHandleCounts();
    for (int i = 0; i < 20; ++i) cycle(i);
    EXPECT_EQ(gui.ChangedTo(TGuiCounts{}, true), "");
    EXPECT_EQ(TransientHandlesChanged(handles), "");
    ASSERT_NE(f.BorderWnd(), nullptr);
    EXPECT_TRUE(IsWindowVisible(f.BorderWnd()));
    // One border window only, owned by the form.
    int owned = 0;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
        if (GetWindow(w, GW_OWNER) == f.Wnd() && IsWindowVisible(w)) ++owned;
    EXPECT_EQ(owned, 1);
}

// The cursors the border window shows for its codes.
TEST(BorderFormCursors, CursorTable) {
    struct Case {
        int code;
        LPCSTR cursor;
    } cases[] = {{HTCAPTION, IDC_ARROW},        {HTMENU, IDC_ARROW},         {HTLEFT, IDC_SIZEWE},
                 {HTRIGHT, IDC_SIZEWE},         {HTTOP, IDC_SIZENS},         {HTBOTTOM, IDC_SIZENS},
                 {HTTOPLEFT, IDC_SIZENWSE},     {HTBOTTOMRIGHT, IDC_SIZENWSE}, {HTTOPRIGHT, IDC_SIZENESW},
                 {HTBOTTOMLEFT, IDC_SIZENESW},  {HTCLOSE, nullptr},          {-1, nullptr}};
    for (const Case& c : cases) EXPECT_EQ(CursorForHitCode(c.code), c.cursor) << c.code;
}

// The mouse on the shadow margin goes through to the window beneath; on
// the frame it stays with the border window, and the region is whole again.
TEST_F(BorderFormTest, MouseOnTheMarginReachesTheWindowBeneath) {
    // A plain native window (no provider of the automatic skinning).
    StandInClass("KovaTestBeneath");
    TNative beneath{CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "KovaTestBeneath", "", WS_POPUP | WS_VISIBLE,
                                    100, 80, 520, 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)};
    ASSERT_TRUE(beneath.Get());
    Bordered f;
    const HWND border = f.BorderWnd();
    ASSERT_NE(border, nullptr);
    // The window beneath lies beneath the form and its border window.
    SetWindowPos(beneath.Get(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    kova::test::PumpMessages();
    const RECT r = WindowRectOf(border);
    const RECT m = f.Border()->ExtMargins();
    const POINT margin{r.left + m.left / 2, (r.top + r.bottom) / 2};
    const POINT frame{(r.left + r.right) / 3, r.top + m.top + 12};
    EXPECT_EQ(WindowFromPoint(frame), border);
    ASSERT_TRUE(kova::test::MouseMove(margin));
    ASSERT_TRUE(kova::test::MouseMove(POINT{margin.x, margin.y + 1}));
    ASSERT_TRUE(kova::test::MouseMove(margin));
    EXPECT_TRUE(f.Border()->RgnChanged);
    EXPECT_EQ(WindowFromPoint(margin), beneath.Get());
    // Under Wine the window the pointer went into rises above the form
    // (no position change of the form or its border window is asked
    // for): it is put back beneath before the pointer returns.
    SetWindowPos(beneath.Get(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    kova::test::PumpMessages();
    ASSERT_TRUE(kova::test::MouseMove(frame));
    // Back on the frame, the pass-through hole is gone.
    TGdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    GetWindowRgn(border, region.Get());
    EXPECT_TRUE(PtInRegion(region.Get(), margin.x - r.left, margin.y - r.top));
}

// The form's frame paint keeps its border window: one that went missing
// from the screen is shown again, in its place.
TEST_F(BorderFormTest, FramePaintShowsAHiddenBorderWindowAgain) {
    Bordered f;
    const HWND border = f.BorderWnd();
    ASSERT_NE(border, nullptr);
    const RECT r = WindowRectOf(border);
    ShowWindow(border, SW_HIDE);
    ASSERT_FALSE(IsWindowVisible(border));
    SendMessageA(f.Wnd(), WM_NCPAINT, 1, 0);
    kova::test::PumpMessages();
    ASSERT_NE(f.BorderWnd(), nullptr);
    EXPECT_TRUE(IsWindowVisible(f.BorderWnd()));
    const RECT back = WindowRectOf(f.BorderWnd());
    EXPECT_TRUE(EqualRect(&back, &r));
}

// The mouse over the border window's sizing bands and caption gets the
// cursor of the code. The messages the mouse brings are sent as the
// system sends them (the hit test, then the cursor request for its
// point): under Wine real input now and then delivers a late move back
// at the previous point after the new one, which would test the input's
// path rather than the window's answer.
TEST_F(BorderFormTest, CursorFollowsTheBandUnderTheMouse) {
    Bordered f;
    const HWND border = f.BorderWnd();
    ASSERT_NE(border, nullptr);
    const RECT r = WindowRectOf(border);
    const RECT m = f.Border()->ExtMargins();
    struct Case {
        POINT at;
        LPCSTR cursor;
    } cases[] = {
        {{r.left + m.left + 1, (r.top + r.bottom) / 2}, IDC_SIZEWE},
        {{(r.left + r.right) / 2, r.bottom - m.bottom - 1}, IDC_SIZENS},
        {{r.right - m.right - 1, r.bottom - m.bottom - 1}, IDC_SIZENWSE},
        {{r.left + m.left + 1, r.top + m.top + 1}, IDC_SIZENWSE},
        {{r.right - m.right - 1, r.top + m.top + 1}, IDC_SIZENESW},
        {{(r.left + r.right) / 3, r.top + m.top + 12}, IDC_ARROW},
    };
    for (const Case& c : cases) {
        SetCursor(nullptr);
        const LRESULT hit = SendMessageA(border, WM_NCHITTEST, 0, MAKELPARAM(c.at.x, c.at.y));
        EXPECT_EQ(hit, HTBORDER) << "the frame is the border window's";
        SendMessageA(border, WM_SETCURSOR, reinterpret_cast<WPARAM>(border), MAKELPARAM(hit, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, c.cursor)) << c.at.x << "," << c.at.y;
    }
}

// A double click on a side border stretches the form over the work area's
// width (its border difference kept), a second one gives the old left and
// width back; the same with the top border vertically.
TEST_F(BorderFormTest, DoubleClickOnASideOrTopStretchesToTheWorkArea) {
    Bordered f;
    const HWND border = f.BorderWnd();
    ASSERT_NE(border, nullptr);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const Bounds before = BoundsOf(f.form);
    auto dblclick = [&](int code) {
        const RECT r = WindowRectOf(border);
        const RECT m = f.Border()->ExtMargins();
        POINT at = code == HTLEFT ? POINT{r.left + m.left + 1, (r.top + r.bottom) / 2}
                                  : POINT{(r.left + r.right) / 2, r.top + m.top + 1};
        ASSERT_EQ(f.Border()->HitTest(at), code);
        SendMessageA(border, WM_NCLBUTTONDBLCLK, HTBORDER, MAKELPARAM(at.x, at.y));
        kova::test::PumpMessages();
    };
    const int d = ExtendedBorderDiff(f.Border());
    dblclick(HTLEFT);
    EXPECT_EQ(f.form->Left(), work.left + d);
    EXPECT_EQ(f.form->Width(), work.right - work.left - 2 * d);
    EXPECT_EQ(f.form->Top(), before.Y);
    EXPECT_EQ(f.form->Height(), before.H);
    dblclick(HTLEFT);
    EXPECT_EQ(f.form->Left(), before.X);
    EXPECT_EQ(f.form->Width(), before.W);
    const int t = ExtendedTitleDiff(f.Border());
    dblclick(HTTOP);
    EXPECT_EQ(f.form->Top(), work.top + t);
    EXPECT_EQ(f.form->Height(), work.bottom - work.top - t - d);
    dblclick(HTTOP);
    EXPECT_EQ(f.form->Top(), before.Y);
    EXPECT_EQ(f.form->Height(), before.H);
}

// Beside a topmost form the border window is topmost too; otherwise it
// lies right beneath the form.
TEST_F(BorderFormTest, ZOrderBesideATopmostForm) {
    Bordered f;
    const HWND border = f.BorderWnd();
    ASSERT_NE(border, nullptr);
    EXPECT_FALSE(GetWindowLongPtrA(border, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Next to the form in the z-order (the system keeps an owned window
    // above its owner, where the hole shows the form all the same).
    EXPECT_TRUE(GetWindow(f.Wnd(), GW_HWNDNEXT) == border || GetWindow(f.Wnd(), GW_HWNDPREV) == border);
    SetWindowPos(f.Wnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    f.provider->SkinData->BGChanged = true;
    f.Border()->UpdateBorderWindow(true, 255);
    kova::test::PumpMessages();
    EXPECT_TRUE(GetWindowLongPtrA(border, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SetWindowPos(f.Wnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    kova::test::PumpMessages();
}

// Moving through the caption and sizing through a border band of the
// border window act on the form, and the border window follows.
TEST_F(BorderFormTest, MovingAndSizingThroughTheBorderWindow) {
    Bordered f;
    const HWND border = f.BorderWnd();
    ASSERT_NE(border, nullptr);
    const RECT r = WindowRectOf(border);
    const RECT m = f.Border()->ExtMargins();
    const Bounds before = BoundsOf(f.form);
    ASSERT_TRUE(kova::test::MouseDrag(POINT{(r.left + r.right) / 3, r.top + m.top + 12}, 40, 24));
    EXPECT_EQ(f.form->Left(), before.X + 40);
    EXPECT_EQ(f.form->Top(), before.Y + 24);
    EXPECT_EQ(f.form->Width(), before.W);
    const RECT moved = WindowRectOf(border);
    EXPECT_EQ(moved.left, r.left + 40);
    EXPECT_EQ(moved.top, r.top + 24);
    ASSERT_TRUE(kova::test::MouseDrag(POINT{moved.right - m.right - 1, (moved.top + moved.bottom) / 2}, 30, 0));
    EXPECT_EQ(f.form->Width(), before.W + 30);
    EXPECT_EQ(WindowRectOf(border).right - WindowRectOf(border).left, f.provider->SkinData->CacheBmp->Width());
}

// A maximised form whose skin's maximised title is lower than the system's
// caption and 4 keeps the system's caption height: its border window lies
// that height (not the skin's title) above the form. Restored, or under a
// skin whose maximised title is high enough, the skin's own title stands.
TEST_F(BorderFormTest, AMaximisedFormUnderALowSkinTitleKeepsTheSystemsCaption) {
    // Linen with a low maximised title, in a skin folder of the test's own.
    namespace fs = std::filesystem;
    const fs::path source = fs::path(KOVA_SOURCE_DIR) / "src/skin/core/model/internalskins/Linen";
    const fs::path root = kova::test::TempDir();
    const fs::path folder = root / "Low title";
    fs::create_directories(folder);
    fs::copy_file(source / "Master.bmp", folder / "Master.bmp");
    std::ifstream in(source / "Options.dat", std::ios::binary);
    std::stringstream options;
    options << in.rdbuf();
    std::string text = options.str();
    const std::size_t title = text.find("TITLEHEIGHT=");
    ASSERT_NE(title, std::string::npos);
    const int low = GetSystemMetrics(SM_CYCAPTION) + 4 - 10;
    text.insert(title, "MAXHEIGHT=" + std::to_string(low) + "\r\n");
    std::ofstream(folder / "Options.dat", std::ios::binary) << text;

    struct Case {
        const char* skin;
        bool zoomed;
        bool sysCaption;
    };
    const Case cases[] = {
        {"Low title", true, true},
        {"Low title", false, false},
        {"Linen (internal)", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.skin) + (c.zoomed ? " maximised" : " restored"));
        manager.m->SetSkinDirectory(root.string());
        manager.m->SetSkinName(c.skin);
        ASSERT_EQ(manager.m->SkinName(), c.skin);
        Bordered f;
        ASSERT_NE(f.Border(), nullptr);
        if (c.zoomed) {
            ShowWindow(f.Wnd(), SW_MAXIMIZE);
            ASSERT_TRUE(WaitUntil([&] { return IsZoomed(f.Wnd()) != FALSE; }, 2000));
        }
        PumpFor(60);
        EXPECT_EQ(f.provider->UseSysCaption, c.sysCaption);
        const HWND border = f.BorderWnd();
        ASSERT_NE(border, nullptr);
        ASSERT_TRUE(IsWindowVisible(border));
        const RECT form = WindowRectOf(f.Wnd()), r = WindowRectOf(border);
        const int above = c.sysCaption ? f.Border()->ExtMargins().top + ExtendedTitleDiff(f.Border()) + 4
                                       : f.Border()->TopOffset();
        EXPECT_EQ(form.top - r.top, above) << "the border window's place above the form";
    }
    manager.m->SetSkinName("Linen (internal)");
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

}  // namespace kova::skin::test
