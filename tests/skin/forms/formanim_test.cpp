// A skinned form's own animations on real forms with our internal skin:
// the fade of a title button (the frames handed to its layered window:
// alphas, size, place, picture, pace), the translucent move through the
// border window (its alpha steps, where the form lands, snapping at the
// work area), and where a minimised form aims (stand-in task bars, a
// stand-in shell tool bar read as the shell's would be).
#include "skin/forms/formanim.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "common/win32_testing.h"
#include "framework/handles.h"
#include "skin/core/animations.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinstate.h"
#include "skin/forms/formhelpers.h"
#include "borderedforms.h"

namespace kova::skin::test {

using kova::test::PumpFor;
using kova::test::WaitUntil;

namespace {

class FormAnimTest : public ::testing::Test {
protected:
    // The mouse away from the forms and nothing of earlier input pending:
    // the animations here are driven by the tests, not by hovering.
    void SetUp() override {
        SetCursorPos(5, 5);
        WaitUntil([] { return !(GetAsyncKeyState(VK_LBUTTON) & 0x8000); }, 1000);
        PumpFor(60);
        ButtonPressed = false;
    }
    void TearDown() override { ResetSkinServices(); }
    ExtBordersManager manager;
};

TacSBAnimation* AnimOf(TsCaptionButton& b) { return dynamic_cast<TacSBAnimation*>(b.GlowAnim.get()); }

}  // namespace

// Fade alphas, move steps and clamped transparency: each step at least 1.
TEST(FormAnimMaths, AlphaStepsAndClamps) {
    for (int s = 1; s <= 10; ++s) EXPECT_EQ(FadeStepAlpha(s, 10), 25 * s) << s;
    EXPECT_EQ(FadeStepAlpha(11, 10), 255);
    EXPECT_EQ(FadeStepAlpha(-1, 10), 0);
    // More steps than alpha values still move.
    EXPECT_EQ(FadeStepAlpha(1, 300), 1);
    EXPECT_EQ(FadeStepAlpha(3, 1000), 3);
    struct Case {
        int blend, time, step;
    } cases[] = {
        {170, 12, 85}, {170, 0, 85},  {170, 48, 21},  {170, 1000, 1},
        {250, 1000, 1},  // 5 over 83 ticks: at least 1
        {255, 100, 1},   // nothing to fade: still 1
        {300, 100, 1},   // clamped to 255 first
        {-5, 120, 26},   // clamped to 0: 255 over 10 ticks
    };
    for (const Case& c : cases) EXPECT_EQ(MoveAlphaStep(c.blend, c.time), c.step) << c.blend << " " << c.time;
    EXPECT_EQ(ClampAlpha(300), 255);
    EXPECT_EQ(ClampAlpha(-1), 0);
    EXPECT_EQ(ClampAlpha(128), 128);
}

// Hot: ten frames rising by 25 (the top at 255) over the button's place,
// with its picture; the cursor elsewhere asks the form to let go; normal:
// ten frames falling from the top, then the window goes.
TEST_F(FormAnimTest, TitleButtonFadesInAndOutInTenSteps) {
    FrameRecorder rec;
    Bordered f;
    ASSERT_NE(f.BorderWnd(), nullptr);
    TsCaptionButton& close = f.provider->CloseButton;
    ASSERT_GT(close.Rect.right, close.Rect.left);
    close.GlowAnim.reset();
    AnimateTitleButton(*f.provider, close, 1, 10, true);
    TacSBAnimation* anim = AnimOf(close);
    ASSERT_NE(anim, nullptr);
    ASSERT_NE(anim->AForm, nullptr);
    const HWND glow = anim->AForm->Handle();
    // The mouse goes through it to the button beneath.
    EXPECT_EQ(GetWindowLongPtrA(glow, GWL_EXSTYLE) & (WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE),
              WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE);
    {
        const RECT b = WindowRectOf(f.BorderWnd());
        const POINT at{b.left + (close.Rect.left + close.Rect.right) / 2, b.top + (close.Rect.top + close.Rect.bottom) / 2};
        EXPECT_EQ(WindowFromPoint(at), f.BorderWnd());
    }
    for (int i = 0; i < 12; ++i) anim->Tick();
    std::vector<int> expected{25, 50, 75, 100, 125, 150, 175, 200, 225, 255};
    EXPECT_EQ(rec.Alphas(glow), expected);
    const std::vector<TFrame> frames = rec.For(glow);
    ASSERT_FALSE(frames.empty());
    const RECT border = WindowRectOf(f.BorderWnd());
    EXPECT_EQ(frames.back().Pos.x, border.left + close.Rect.left);
    EXPECT_EQ(frames.back().Pos.y, border.top + close.Rect.top);
    EXPECT_EQ(frames.back().Size.cx, close.Rect.right - close.Rect.left);
    EXPECT_EQ(frames.back().Size.cy, close.Rect.bottom - close.Rect.top);
    // The picture is the button as the cache holds it.
    const Bitmap32& cache = f.provider->SkinData->CacheBmp->Pixels();
    const int cx = frames.back().Size.cx / 2, cy = frames.back().Size.cy / 2;
    EXPECT_EQ(frames.back().Pixels.At(cx, cy) & 0xFFFFFF, cache.At(close.Rect.left + cx, close.Rect.top + cy) & 0xFFFFFF);
    // The cursor is not over the button: the timer stopped at the top.
    EXPECT_FALSE(anim->Enabled());
    EXPECT_EQ(anim->Steps, -1);
    // Normal: falling from the top.
    AnimateTitleButton(*f.provider, close, 0, 10, false);
    for (int i = 0; i < 12; ++i) anim->Tick();
    std::vector<int> all = rec.Alphas(glow);
    std::vector<int> falling(all.begin() + 10, all.end());
    EXPECT_EQ(falling, (std::vector<int>{250, 225, 200, 175, 150, 125, 100, 75, 50, 25}));
    EXPECT_EQ(anim->State, -1);
    EXPECT_EQ(anim->AForm, nullptr);
    EXPECT_FALSE(IsWindow(glow));
}

// A hover that ends before the top fades out from the step it reached.
TEST_F(FormAnimTest, ShortHoverFadesOutFromWhereItWas) {
    FrameRecorder rec;
    Bordered f;
    TsCaptionButton& close = f.provider->CloseButton;
    close.GlowAnim.reset();
    AnimateTitleButton(*f.provider, close, 1, 10, true);
    TacSBAnimation* anim = AnimOf(close);
    ASSERT_NE(anim, nullptr);
    const HWND glow = anim->AForm->Handle();
    anim->Tick();
    anim->Tick();  // 25, 50, 75 shown
    AnimateTitleButton(*f.provider, close, 0, 10, false);
    for (int i = 0; i < 6; ++i) anim->Tick();
    EXPECT_EQ(rec.Alphas(glow), (std::vector<int>{25, 50, 75, 100, 75, 50, 25}));
    EXPECT_EQ(anim->State, -1);
}

// With its own timer the fade takes about 120 ms for its ten frames.
TEST_F(FormAnimTest, TitleButtonFadePace) {
    FrameRecorder rec;
    Bordered f;
    TsCaptionButton& close = f.provider->CloseButton;
    close.GlowAnim.reset();
    const auto start = std::chrono::steady_clock::now();
    AnimateTitleButton(*f.provider, close, 1, 10, true);
    const HWND glow = AnimOf(close)->AForm->Handle();
    WaitUntil([&] { return rec.Alphas(glow).size() >= 10; }, 2000);
    const std::vector<TFrame> frames = rec.For(glow);
    ASSERT_GE(frames.size(), 10u);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(frames[9].At - start).count();
    EXPECT_GE(ms, 90);
    EXPECT_LE(ms, 400);
}

// Dragged by its caption with BlendOnMoving, the border window carries the
// form, its alpha falls by the step to the blend value and no further, and
// the form lands where it was dropped, opaque again.
TEST_F(FormAnimTest, TranslucentMoveStepsDownToTheBlendValue) {
    TacBlendOnMoving& blend = manager.m->Model().AnimEffects.BlendOnMoving;
    blend.Active = true;
    blend.BlendValue = 170;
    blend.Time = 48;
    FrameRecorder rec;
    Bordered f;
    const HWND border = f.BorderWnd();
    ASSERT_NE(border, nullptr);
    const RECT r = WindowRectOf(border);
    const RECT m = static_cast<TacSkinBorderForm*>(f.provider->BorderForm)->ExtMargins();
    const int left = f.form->Left(), top = f.form->Top();
    rec.frames.clear();
    // A drag slow enough for the fade's timer to reach the blend value.
    ASSERT_TRUE(kova::test::MouseDrag(POINT{(r.left + r.right) / 3, r.top + m.top + 12}, 60, 30, 4, 5000, 60));
    EXPECT_EQ(f.form->Left(), left + 60);
    EXPECT_EQ(f.form->Top(), top + 30);
    EXPECT_FALSE(f.provider->FormState & kStateTranslucentMove);
    EXPECT_FALSE(GetWindowLongPtrA(f.Wnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    const std::vector<int> alphas = rec.Alphas(border);
    ASSERT_GE(alphas.size(), 6u);
    // While moving: 255 down by 21 to 170, never below.
    std::vector<int> moving;
    for (int a : alphas) {
        if (a == 0) break;
        moving.push_back(a);
    }
    ASSERT_GE(moving.size(), 5u);
    EXPECT_EQ(moving.front(), 255);
    for (std::size_t i = 1; i < moving.size(); ++i) {
        EXPECT_LE(moving[i], moving[i - 1]);
        EXPECT_GE(moving[i], 170);
        if (moving[i - 1] > 170 && moving[i] != moving[i - 1] && i > 1) {
            EXPECT_TRUE(moving[i - 1] - moving[i] == 21 || moving[i] == 170) << moving[i - 1] << " " << moving[i];
        }
    }
    EXPECT_EQ(moving.back(), 170);
    // The border window carried the whole form: its client too, opaque.
    const std::vector<TFrame> frames = rec.For(border);
    const TFrame& carried = frames[1];
    const int ox = f.provider->ClientOffsetX(), oy = f.provider->ClientOffsetY();
    EXPECT_EQ(carried.Pixels.At(ox + 10, oy + 10) >> 24, 255u);
    // Back to normal: the border window with its hole again.
    EXPECT_EQ(alphas.back(), 255);
}

// ScreenSnap during a translucent move: the form's visible frame (inside
// the shadow) lands on the work area's edge when dropped close to it.
TEST_F(FormAnimTest, TranslucentMoveSnapsToTheWorkArea) {
    TacBlendOnMoving& blend = manager.m->Model().AnimEffects.BlendOnMoving;
    blend.Active = true;
    blend.Time = 12;
    Bordered f;
    f.provider->ScreenSnap = true;
    const HWND border = f.BorderWnd();
    ASSERT_NE(border, nullptr);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const RECT r = WindowRectOf(border);
    const RECT m = static_cast<TacSkinBorderForm*>(f.provider->BorderForm)->ExtMargins();
    const int align = manager.m->Model().SkinData().AlignOffset;
    // The frame's left edge 6 px right of the work area's left edge.
    const int dx = (work.left + 6) - (r.left + m.left - align);
    ASSERT_TRUE(kova::test::MouseDrag(POINT{(r.left + r.right) / 2, r.top + m.top + 12}, dx, 0));
    const RECT after = WindowRectOf(border);
    EXPECT_EQ(after.left + m.left - align, work.left);
}

// The show animation of a form with extended borders fades the form's
// whole picture in through its border window (at the border window's
// place and size), which then stays beneath the form with its hole again.
TEST_F(FormAnimTest, ShowAnimationFadesInThroughTheBorderWindow) {
    FrameRecorder rec;
    AnimationOutput().Sleep = [](DWORD) {};
    Bordered f;
    const HWND border = f.BorderWnd();
    ASSERT_NE(border, nullptr);
    const RECT before = WindowRectOf(border);
    rec.frames.clear();
    AnimateFormShow(f.provider, 120, 200, TacAnimType::atFading);
    EXPECT_EQ(FormAnimating, 0);
    const std::vector<TFrame> frames = rec.For(border);
    ASSERT_GE(frames.size(), 13u);
    EXPECT_EQ(frames.front().Alpha, 0);
    int last = 0;
    for (std::size_t i = 0; i < 13; ++i) {
        EXPECT_GE(frames[i].Alpha, last) << i;
        last = frames[i].Alpha;
        EXPECT_EQ(frames[i].Pos.x, before.left) << i;
        EXPECT_EQ(frames[i].Pos.y, before.top) << i;
        EXPECT_EQ(frames[i].Size.cx, before.right - before.left) << i;
        EXPECT_EQ(frames[i].Size.cy, before.bottom - before.top) << i;
    }
    EXPECT_EQ(frames[12].Alpha, 200);
    // The form's client is in the picture (opaque), the shadow is not.
    const int ox = f.provider->ClientOffsetX(), oy = f.provider->ClientOffsetY();
    EXPECT_EQ(frames[12].Pixels.At(ox + 5, oy + 5) >> 24, 255u);
    EXPECT_LT(frames[12].Pixels.At(frames[12].Size.cx / 2, frames[12].Size.cy - 3) >> 24, 255u);
    EXPECT_TRUE(IsWindowVisible(border));
    TGdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(border, region.Get()), ERROR);
    EXPECT_FALSE(PtInRegion(region.Get(), ox + 5, oy + 5)) << "the hole is back";
    EXPECT_TRUE(PtInRegion(region.Get(), 2, 2));
}

// The hide animation takes the border window over: it fades the form's
// whole picture out and goes; the border object goes with it.
TEST_F(FormAnimTest, HideAnimationFadesOutThroughTheBorderWindow) {
    manager.m->Model().AnimEffects.FormHide.Time = 48;
    manager.m->Model().AnimEffects.FormHide.Mode = TacAnimType::atFading;
    FrameRecorder rec;
    Bordered f;
    const HWND border = f.BorderWnd();
    ASSERT_NE(border, nullptr);
    const RECT r = WindowRectOf(border);
    rec.frames.clear();
    AnimateFormHide(f.provider);
    EXPECT_EQ(f.provider->BorderForm, nullptr);
    EXPECT_EQ(FormAnimating, 0);
    ASSERT_TRUE(HideAnimationRunning());
    f.form->Hide();
    ASSERT_TRUE(WaitUntil([] { return !HideAnimationRunning(); }, 5000));
    const std::vector<TFrame> frames = rec.For(border);
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(frames.front().Size.cx, r.right - r.left);
    EXPECT_EQ(frames.front().Size.cy, r.bottom - r.top);
    EXPECT_EQ(frames.back().Alpha, 0);
    for (std::size_t i = 1; i < frames.size(); ++i) EXPECT_LE(frames[i].Alpha, frames[i - 1].Alpha);
    EXPECT_FALSE(IsWindow(border));
}

// Minimising shrinks the form's picture in its border window toward the
// task bar's edge (a stand-in tray at the bottom) while fading it out in
// steps of at least 1; the border window then goes. Restoring grows it
// back and the border window shows the frame again where it was.
TEST_F(FormAnimTest, MinimiseShrinksTowardTheTaskBarAndRestoreGrowsBack) {
    TacMinimizing& anim = manager.m->Model().AnimEffects.Minimizing;
    anim.Active = true;
    anim.Time = 60;  // 4 steps: alpha falls by 85
    StandInClass("Shell_TrayWnd");
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    TNative tray{CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, "Shell_TrayWnd", "",
                                 WS_POPUP | WS_VISIBLE, 0, sh - 30, sw, 30, nullptr, nullptr, GetModuleHandleA(nullptr),
                                 nullptr)};
    ASSERT_EQ(FindWindowA("Shell_TrayWnd", nullptr), tray.Wnd);
    FrameRecorder rec;
    Bordered f;
    const HWND border = f.BorderWnd();
    ASSERT_NE(border, nullptr);
    const RECT r = WindowRectOf(border);
    rec.frames.clear();
    f.provider->StartMinimizing();
    EXPECT_TRUE(f.provider->FormState & kStateMinimizing);
    auto* timer = dynamic_cast<TacMinTimer*>(f.provider->AnimTimer.get());
    ASSERT_NE(timer, nullptr);
    const int cx = (r.left + r.right) / 2;
    EXPECT_EQ(timer->TargetRect.left, cx);
    EXPECT_EQ(timer->TargetRect.top, sh - 30);
    EXPECT_EQ(timer->StepCount, 4);
    for (int i = 0; i < 6; ++i) timer->Tick();
    // (A frame at 255 may come first: the border window brought up to date.)
    std::vector<TFrame> down;
    for (const TFrame& frame : rec.For(border))
        if (frame.Alpha < 255) down.push_back(frame);
    ASSERT_EQ(down.size(), 2u);
    EXPECT_EQ(down[0].Alpha, 170);
    EXPECT_EQ(down[1].Alpha, 85);
    EXPECT_LT(down[0].Size.cx, r.right - r.left);
    EXPECT_LT(down[1].Size.cx, down[0].Size.cx);
    // Its centre goes down toward the tray's top edge, level with the form.
    EXPECT_GT(down[1].Pos.y + down[1].Size.cy / 2, down[0].Pos.y + down[0].Size.cy / 2);
    EXPECT_NEAR(down[1].Pos.x + down[1].Size.cx / 2, cx, 2);
    EXPECT_FALSE(f.provider->FormState & kStateMinimizing);
    EXPECT_FALSE(IsWindow(border)) << "the border window goes at the end";
    EXPECT_TRUE(timer->Restoring);
    rec.frames.clear();
    ASSERT_TRUE(f.provider->StartRestoring());
    const HWND again = f.BorderWnd();
    ASSERT_NE(again, nullptr);
    for (int i = 0; i < 6; ++i) timer->Tick();
    const std::vector<int> up = rec.Alphas(again);
    ASSERT_GE(up.size(), 4u);
    EXPECT_EQ(up[0], 0);
    EXPECT_EQ(up[1], 85);
    EXPECT_EQ(up[2], 170);
    EXPECT_EQ(up.back(), 255);
    EXPECT_FALSE(f.provider->FormState & kStateRestoring);
    EXPECT_FALSE(GetWindowLongPtrA(f.Wnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    const RECT back = WindowRectOf(again);
    EXPECT_TRUE(EqualRect(&back, &r));
    EXPECT_TRUE(IsWindowVisible(again));
}

// A skin change of a form with extended borders fades the new look in
// through the border window (its place and size), which is shaped again.
TEST_F(FormAnimTest, SkinChangeFadesTheNewLookInThroughTheBorderWindow) {
    TacSkinChanging& change = manager.m->Model().AnimEffects.SkinChanging;
    change.Active = true;
    change.Time = 48;
    change.Mode = TacAnimType::atFading;
    FrameRecorder rec;
    AnimationOutput().Sleep = [](DWORD) {};
    Bordered f;
    ASSERT_NE(f.BorderWnd(), nullptr);
    rec.frames.clear();
    manager.m->SetSkinName("Slate (internal)");
    kova::test::PumpMessages();
    const HWND border = f.BorderWnd();
    ASSERT_NE(border, nullptr);
    const std::vector<TFrame> frames = rec.For(border);
    ASSERT_GE(frames.size(), 4u);
    EXPECT_EQ(FormAnimating, 0);
    const RECT r = WindowRectOf(border);
    // (The frozen old look may be shown first.) From 0, rising to the full
    // picture at the border window's place.
    std::size_t start = 0;
    while (start < frames.size() && frames[start].Alpha != 0) ++start;
    ASSERT_LT(start, frames.size());
    std::size_t top = start;
    while (top < frames.size() && frames[top].Alpha != 255) ++top;
    ASSERT_LT(top, frames.size());
    ASSERT_GE(top - start, 3u);
    for (std::size_t i = start + 1; i <= top; ++i) EXPECT_GE(frames[i].Alpha, frames[i - 1].Alpha) << i;
    EXPECT_EQ(frames[top].Pos.x, r.left);
    EXPECT_EQ(frames[top].Size.cx, r.right - r.left);
    TGdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(border, region.Get()), ERROR);
    EXPECT_FALSE(PtInRegion(region.Get(), f.provider->ClientOffsetX() + 5, f.provider->ClientOffsetY() + 5));
    EXPECT_TRUE(IsWindowVisible(border));
}

// Hidden with its minimising form, the border window stays (the animation
// shows in it); otherwise it goes with the form.
TEST_F(FormAnimTest, BorderWindowStaysVisibleWhileMinimising) {
    Bordered f;
    const HWND border = f.BorderWnd();
    ASSERT_NE(border, nullptr);
    f.provider->FormState |= kStateMinimizing;
    SendMessageA(border, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
    EXPECT_TRUE(IsWindowVisible(border));
    f.provider->FormState &= ~kStateMinimizing;
    SendMessageA(border, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
    EXPECT_FALSE(IsWindowVisible(border));
}

// The edge a minimised form aims at, from the task bar's rectangle.
TEST(FormAnimTarget, TaskbarEdgeTable) {
    struct Case {
        RECT t;
        int edge;
    } cases[] = {
        {{0, 0, 1024, 30}, teTop},      {{0, 0, 60, 768}, teLeft},     {{964, 0, 1024, 768}, teRight},
        {{0, 738, 1024, 768}, teBottom}, {{-2, 738, 1026, 770}, teBottom}, {{-10, 738, 1024, 768}, teRight},
    };
    for (const Case& c : cases) EXPECT_EQ(TaskbarEdge(c.t), c.edge) << c.t.left << "," << c.t.top;
}


// A stand-in tray window: without a tool bar in it the target is the
// point on its inner edge level with the form's centre; no tray: (0, 0).
TEST(FormAnimTarget, MinimizeTargetOnTheStandInTaskBarsEdge) {
    StandInClass("KovaStandInTray");
    const RECT start{200, 100, 600, 400};  // centre (400, 250)
    struct Case {
        RECT tray;
        RECT target;
    } cases[] = {
        {{0, 700, 1024, 740}, {400, 700, 400, 700}},   // bottom: its top edge
        {{0, 0, 1024, 30}, {400, 30, 400, 30}},        // top: its bottom edge
        {{0, 0, 50, 740}, {50, 250, 50, 250}},         // left: its right edge
        {{980, 0, 1024, 740}, {980, 250, 980, 250}},   // right: its left edge
    };
    for (const Case& c : cases) {
        TNative tray{CreateWindowExA(WS_EX_TOOLWINDOW, "KovaStandInTray", "", WS_POPUP, c.tray.left, c.tray.top,
                                     c.tray.right - c.tray.left, c.tray.bottom - c.tray.top, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr)};
        ASSERT_TRUE(tray.Wnd);
        const RECT t = GetMinimizeTarget(tray.Wnd, start, tray.Wnd);
        EXPECT_TRUE(EqualRect(&t, &c.target)) << t.left << "," << t.top << " tray " << c.tray.left << "," << c.tray.top;
    }
    const RECT none = GetMinimizeTarget(nullptr, start, nullptr);
    const RECT origin{0, 0, 0, 0};
    EXPECT_TRUE(EqualRect(&none, &origin));
}

// A stand-in shell tool bar in this process, read as the shell's would be:
// the button standing for the window gives its screen rectangle; buttons
// that are hidden, separators or whose data cannot be read are passed
// over, and nothing readable gives no rectangle.
TEST(FormAnimTarget, TaskbarButtonFromAStandInShellToolBar) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    StandInClass("KovaStandInTrayChain");
    StandInClass("ReBarWindow32");
    StandInClass("MSTaskSwWClass");
    const HINSTANCE inst = GetModuleHandleA(nullptr);
    TNative app{CreateWindowExA(0, "KovaStandInTrayChain", "app", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, inst, nullptr)};
    TNative tray{CreateWindowExA(WS_EX_TOOLWINDOW, "KovaStandInTrayChain", "", WS_POPUP | WS_VISIBLE, 0, 700, 1024, 40,
                                 nullptr, nullptr, inst, nullptr)};
    const HWND rebar = CreateWindowExA(0, "ReBarWindow32", "", WS_CHILD | WS_VISIBLE, 0, 0, 1024, 40, tray.Wnd, nullptr,
                                       inst, nullptr);
    const HWND tasks = CreateWindowExA(0, "MSTaskSwWClass", "", WS_CHILD | WS_VISIBLE, 100, 0, 900, 40, rebar, nullptr,
                                       inst, nullptr);
    const HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NODIVIDER,
                                         0, 0, 900, 40, tasks, nullptr, inst, nullptr);
    ASSERT_TRUE(toolbar);
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // The shell's data blocks begin with the window the button stands for.
    static HWND otherBlock[1] = {reinterpret_cast<HWND>(0x1234)};
    static HWND appBlock[1] = {nullptr};
    appBlock[0] = app.Wnd;
    TBBUTTON buttons[4]{};
    for (int i = 0; i < 4; ++i) {
        buttons[i].iBitmap = I_IMAGENONE;
        buttons[i].idCommand = 100 + i;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON;
    }
    buttons[0].dwData = reinterpret_cast<DWORD_PTR>(otherBlock);
    buttons[1].dwData = 0x10;  // unreadable
    buttons[2].dwData = reinterpret_cast<DWORD_PTR>(appBlock);
    buttons[2].fsState |= TBSTATE_HIDDEN;  // hidden: passed over
    buttons[3].dwData = reinterpret_cast<DWORD_PTR>(appBlock);
    ASSERT_TRUE(SendMessageA(toolbar, TB_ADDBUTTONSA, 4, reinterpret_cast<LPARAM>(buttons)));
    RECT expected{};
    ASSERT_TRUE(SendMessageA(toolbar, TB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&expected)));
    POINT origin{0, 0};
    ClientToScreen(toolbar, &origin);
    OffsetRect(&expected, origin.x, origin.y);
    const RECT found = FindTaskbarButtonRect(tray.Wnd, app.Wnd);
    EXPECT_TRUE(EqualRect(&found, &expected)) << found.left << "," << found.top << "," << found.right;
    EXPECT_GT(found.right, found.left);
    const RECT start{200, 100, 600, 400};
    const RECT target = GetMinimizeTarget(tray.Wnd, start, app.Wnd);
    EXPECT_TRUE(EqualRect(&target, &expected));
    // No button for another window: the edge instead.
    const RECT missing = FindTaskbarButtonRect(tray.Wnd, tray.Wnd);
    EXPECT_EQ(missing.right - missing.left, 0);
    const RECT edge = GetMinimizeTarget(tray.Wnd, start, tray.Wnd);
    const RECT top{400, 700, 400, 700};
    EXPECT_TRUE(EqualRect(&edge, &top));
}

}  // namespace kova::skin::test
