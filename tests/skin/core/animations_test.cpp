// Show, skin-change and hide animations of real framework forms in real
// layered windows. Their frames are read from the pictures and the calls
// handed to the layered windows, not from the screen.
#include "skin/core/animations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "common/win32_testing.h"
#include "formstest.h"
#include "framework/extctrls.h"
#include "skin/core/glow.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"

namespace kova::skin {
namespace {

using kova::test::PumpFor;
using kova::test::WaitUntil;
using test::LayeredCall;
using test::LayeredRecorder;
using test::SkinnedTestForm;

std::uint8_t AlphaAt(const LayeredCall& c, int x, int y) {
    return static_cast<std::uint8_t>(c.Picture.At(x, y) >> 24);
}

RECT WindowRectOf(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
}

class AnimationTest : public ::testing::Test {
protected:
    void SetUp() override {
        PumpFor(100);
        handles_ = LiveHandleCounts();
    }
    void TearDown() override {
        WaitUntil([] { return !HideAnimationRunning(); }, 5000);
        EXPECT_FALSE(FormAnimating);
        EXPECT_EQ(test::TransientHandlesChanged(handles_), "");
    }
    THandleCounts handles_{};
};

TEST_F(AnimationTest, FormShowOf120msFadesInElevenFramesByAFifthOfTheAlpha) {
    SkinnedTestForm f;
    PumpFor(100);
    const RECT r = WindowRectOf(f.Wnd());
    LayeredRecorder rec;
    bool after = false;
    f.Provider->OnAfterAnimation = [&](TObject* sender) {
        after = true;
        EXPECT_EQ(sender, f.Provider);
    };
    AnimateFormShow(f.Provider, 120, 200, TacAnimType::atFading);
    // The overlay once at alpha 0, eleven frames, the final picture.
    ASSERT_EQ(rec.Calls.size(), 13u);
    EXPECT_EQ(rec.Calls.front().Alpha, 0);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(rec.Calls[1 + i].Alpha, std::lround(std::min(200.0, 20.0 * (i + 1)))) << "frame " << i;
    EXPECT_EQ(rec.Calls.back().Alpha, 200);
    // Every frame after the first waits for its period; nothing follows
    // the last.
    EXPECT_EQ(rec.Sleeps.size(), 10u);
    for (DWORD ms : rec.Sleeps) EXPECT_EQ(ms, 12u);
    for (const LayeredCall& c : rec.Calls) {
        EXPECT_EQ(c.Wnd, rec.Calls.front().Wnd) << "one overlay";
        EXPECT_EQ(c.Size.cx, r.right - r.left);
        EXPECT_EQ(c.Size.cy, r.bottom - r.top);
        ASSERT_TRUE(c.HasPos);
        EXPECT_EQ(c.Pos.x, r.left);
        EXPECT_EQ(c.Pos.y, r.top);
    }
    // Every frame shows the form's picture, opaque, in the form's colour.
    const LayeredCall& last = rec.Calls.back();
    ASSERT_EQ(last.Picture.Width(), r.right - r.left);
    const int cx = last.Picture.Width() / 2, cy = last.Picture.Height() / 2;
    EXPECT_EQ(last.Picture.At(cx, cy) & 0x00FFFFFFu, 0x996633u) << "BGRA of the form's colour 0x336699";
    for (int i = 1; i <= 11; ++i) {
        EXPECT_EQ(AlphaAt(rec.Calls[i], cx, cy), 255);
        EXPECT_EQ(rec.Calls[i].Picture.At(cx, cy), last.Picture.At(cx, cy));
    }
    EXPECT_FALSE(IsWindow(last.Wnd)) << "the overlay is freed";
    EXPECT_TRUE(after);
    EXPECT_EQ(f.Provider->InAnimation, 0);
    EXPECT_FALSE(FormAnimating);
}

// The fade keeps to the clock whatever its frames cost: each frame is
// pushed one period after the one before, the wait being what the frame's
// work left of the period; frames whose time went by while a slow one was
// pushed are left out (the alpha jumps to the frame now due), and the last
// frame, at the full alpha, always shows. The show and the skin change
// share it.
TEST_F(AnimationTest, FadeFramesKeepToTheirPeriodWhateverTheirWorkCosts) {
    SkinnedTestForm f;
    PumpFor(100);
    struct Case {
        int cost;                // ms each push of a frame takes
        int waits;               // sleeps between the frames
        DWORD wait;              // each sleep
        std::vector<int> alphas; // the frames shown (alpha step 255 / 10 = 25.5)
    } cases[] = {
        {0, 10, 12, {26, 51, 77, 102, 128, 153, 179, 204, 230, 255, 255}},
        {5, 10, 7, {26, 51, 77, 102, 128, 153, 179, 204, 230, 255, 255}},
        // 30 ms a push: frames due at 0, 30 -> 2, 60 -> 5, 90 -> 7, 120 -> 10.
        {30, 0, 0, {26, 77, 153, 204, 255}},
    };
    for (const Case& c : cases) {
        LayeredRecorder rec;
        std::vector<double> pushedAt;
        auto record = AnimationOutput().UpdateLayeredWindow;
        AnimationOutput().UpdateLayeredWindow = [&](HWND wnd, HDC screen, POINT* dest, SIZE* size, HDC src,
                                                     POINT* sp, COLORREF key, BLENDFUNCTION* blend, DWORD flags,
                                                     const RECT* dirty) {
            pushedAt.push_back(rec.Now);
            rec.Now += c.cost;
            return record(wnd, screen, dest, size, src, sp, key, blend, flags, dirty);
        };
        AnimateFormShow(f.Provider, 120, 255, TacAnimType::atFading);
        // The overlay's first picture, the frames, the final picture.
        ASSERT_EQ(rec.Calls.size(), c.alphas.size() + 2) << c.cost;
        std::vector<int> alphas;
        for (std::size_t i = 1; i + 1 < rec.Calls.size(); ++i) alphas.push_back(rec.Calls[i].Alpha);
        EXPECT_EQ(alphas, c.alphas) << c.cost;
        EXPECT_EQ(static_cast<int>(rec.Sleeps.size()), c.waits) << c.cost;
        for (DWORD ms : rec.Sleeps) EXPECT_EQ(ms, c.wait) << c.cost;
        // Frames that keep up are one period apart; the fade ends on time
        // (its last frame pushed at its time, or at the first push after it).
        const double first = pushedAt[1], last = pushedAt[pushedAt.size() - 2];
        if (c.cost <= 12) {
            for (std::size_t i = 2; i + 1 < pushedAt.size(); ++i) EXPECT_EQ(pushedAt[i] - pushedAt[i - 1], 12) << i;
        }
        EXPECT_LE(last - first, 120 + c.cost) << c.cost;
        PumpFor(50);
    }
}

// An exception in the middle of an animation (here from its first pause)
// leaves no layered overlay window behind: neither over a form nor over a
// form changing its skin.
TEST_F(AnimationTest, AnExceptionMidAnimationLeavesNoOverlayBehind) {
    SkinnedTestForm f;
    PumpFor(100);
    struct Interrupted : std::runtime_error {
        Interrupted() : std::runtime_error("interrupted") {}
    };
    for (const bool skinChange : {false, true}) {
        SCOPED_TRACE(skinChange ? "skin change" : "form show");
        LayeredRecorder rec;
        AnimationOutput().Sleep = [](DWORD) { throw Interrupted(); };
        if (skinChange)
            EXPECT_THROW(AnimateFormSkinChange(f.Form, 120, 255, TacAnimType::atFading), Interrupted);
        else
            EXPECT_THROW(AnimateFormShow(f.Provider, 120, 255, TacAnimType::atFading), Interrupted);
        ASSERT_FALSE(rec.Calls.empty());
        const HWND overlay = rec.Calls.front().Wnd;
        EXPECT_NE(overlay, f.Wnd());
        EXPECT_FALSE(IsWindow(overlay)) << "the overlay is freed";
        EXPECT_FALSE(FormAnimating);
    }
}

TEST_F(AnimationTest, TimeBelowOnePeriodShowsAtOnceWithFullAlpha) {
    SkinnedTestForm f;
    PumpFor(100);
    LayeredRecorder rec;
    AnimateFormShow(f.Provider, 11, 230, TacAnimType::atAero);
    ASSERT_EQ(rec.Calls.size(), 2u) << "no intermediate frames";
    for (const LayeredCall& c : rec.Calls) EXPECT_EQ(c.Alpha, 230);
    EXPECT_TRUE(rec.Sleeps.empty());
}

TEST_F(AnimationTest, AeroShowStartsAtThreeQuartersCentredAndEndsWhole) {
    SkinnedTestForm f(200, 150, 320, 160);
    PumpFor(100);
    LayeredRecorder rec;
    AnimateFormShow(f.Provider, 120, 255, TacAnimType::atAero);
    ASSERT_EQ(rec.Calls.size(), 13u);
    const LayeredCall& first = rec.Calls[1];
    const int w = first.Picture.Width(), h = first.Picture.Height();
    ASSERT_EQ(w, 320);
    ASSERT_EQ(h, 160);
    // Inside the centred 3/4 rectangle: the picture; outside: transparent.
    EXPECT_EQ(AlphaAt(first, w / 8 + 1, h / 8 + 1), 255);
    EXPECT_EQ(AlphaAt(first, w - w / 8 - 2, h - h / 8 - 2), 255);
    EXPECT_EQ(AlphaAt(first, w / 8 - 2, h / 2), 0);
    EXPECT_EQ(AlphaAt(first, w / 2, h / 8 - 2), 0);
    EXPECT_EQ(AlphaAt(first, w - w / 8 + 1, h / 2), 0);
    EXPECT_EQ(AlphaAt(first, w / 2, h - h / 8 + 1), 0);
    const LayeredCall& lastFrame = rec.Calls[11];
    EXPECT_EQ(AlphaAt(lastFrame, 0, 0), 255);
    EXPECT_EQ(AlphaAt(lastFrame, w - 1, h - 1), 255);
    for (int i = 1; i <= 11; ++i) EXPECT_EQ(rec.Calls[i].Size.cx, w) << "the window keeps its size";
}

// A system dialog's adapter over a framework form (the dialog skinning
// makes the real ones): its cache is the window's picture.
class TestDialog : public TacDialogWndBase {
public:
    explicit TestDialog(HWND wnd) {
        CtrlHandle = wnd;
        SkinData = std::make_unique<TsCommonData>(nullptr, true);
    }
    void PaintNonClientCache() override {
        RECT r = WindowRectOf(CtrlHandle);
        if (!SkinData->CacheBmp) SkinData->CacheBmp = std::make_unique<TBitmap>();
        SkinData->CacheBmp->SetSize(r.right - r.left, r.bottom - r.top);
        SkinData->CacheBmp->Pixels().Fill(0xFF102030u);
    }
    int ClientOffsetX() override { return Offset().x; }
    int ClientOffsetY() override { return Offset().y; }

private:
    POINT Offset() const {
        const RECT r = WindowRectOf(CtrlHandle);
        POINT p{0, 0};
        ClientToScreen(CtrlHandle, &p);
        return POINT{p.x - r.left, p.y - r.top};
    }
};

TEST_F(AnimationTest, DialogShowRisesByMaxOverStepsPlusOne) {
    SkinnedTestForm f;
    TPanel* panel = new TPanel(f.Form);
    panel->SetParent(f.Form);
    panel->SetBounds(20, 20, 60, 40);
    panel->SetColor(0x00112233);
    PumpFor(100);
    TestDialog dialog(f.Wnd());
    LayeredRecorder rec;
    AnimateDialogShow(&dialog, 120, 220, TacAnimType::atFading);
    ASSERT_EQ(rec.Calls.size(), 13u);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(rec.Calls[1 + i].Alpha, std::lround(220.0 / 11 * (i + 1))) << i;
    EXPECT_EQ(rec.Calls.back().Alpha, 220);
    // The cache, with the child windows painted over it at their places.
    const LayeredCall& last = rec.Calls.back();
    EXPECT_EQ(last.Picture.At(1, 1), 0xFF102030u) << "the cached frame";
    const int ox = dialog.ClientOffsetX(), oy = dialog.ClientOffsetY();
    EXPECT_EQ(last.Picture.At(ox + 50, oy + 40), 0xFF332211u) << "the panel, opaque";
    EXPECT_EQ(last.Picture.At(ox + 10, oy + 10), 0xFF102030u) << "the client area outside children";
}

TEST_F(AnimationTest, SkinChangeFadesTheNewLookInOverTheForm) {
    SkinnedTestForm f;
    PumpFor(100);
    LayeredRecorder rec;
    f.Paints = 0;
    SendMessageA(f.Wnd(), WM_SETREDRAW, 0, 0);
    AnimateFormSkinChange(f.Form, 60, 255, TacAnimType::atFading);
    ASSERT_EQ(rec.Calls.size(), 1u + 6u + 1u);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(rec.Calls[1 + i].Alpha, std::lround(std::min(255.0, 51.0 * (i + 1))));
    EXPECT_TRUE(IsWindowVisible(f.Wnd())) << "redraw back on";
    EXPECT_GE(f.Paints, 1) << "redrawn at once";
    EXPECT_FALSE(IsWindow(rec.Calls.back().Wnd));
    EXPECT_FALSE(FormAnimating);
}

TEST_F(AnimationTest, SkinChangeOfAControlBlendsWithoutLayeredWindows) {
    SkinnedTestForm f;
    TPanel* panel = new TPanel(f.Form);
    panel->SetParent(f.Form);
    panel->SetBounds(10, 10, 80, 40);
    PumpFor(100);
    LayeredRecorder rec;
    // The output window shows the blend: read it at each frame.
    std::vector<COLORREF> seen;
    AnimationOutput().Sleep = [&](DWORD) {
        const HWND out = FindWindowExA(f.Wnd(), nullptr, nullptr, "acOutputWindow");
        ASSERT_NE(out, nullptr) << "a sibling over the control";
        EXPECT_TRUE(IsWindowVisible(out));
        HDC dc = GetWindowDC(out);
        seen.push_back(GetPixel(dc, 40, 20));
        ReleaseDC(out, dc);
        rec.Sleeps.push_back(12);
    };
    SendMessageA(panel->Handle(), WM_SETREDRAW, 0, 0);
    panel->SetColor(0x00FFFFFF);  // the "new look"
    AnimateFormSkinChange(panel, 36, 255, TacAnimType::atFading);
    EXPECT_TRUE(rec.Calls.empty()) << "a control is not layered";
    EXPECT_EQ(rec.Sleeps.size(), 4u) << "steps + 1 blended frames";
    EXPECT_FALSE(FormAnimating);
    EXPECT_TRUE(IsWindowVisible(panel->Handle())) << "redraw back on";
    ASSERT_EQ(seen.size(), 4u);
    // From the old look towards white, brighter on every frame.
    for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_GT(GetRValue(seen[i]), GetRValue(seen[i - 1])) << i;
    EXPECT_EQ(seen.back(), RGB(255, 255, 255));
}

std::unique_ptr<TBitmap> Picture(int w, int h, std::uint32_t pixel) {
    auto b = std::make_unique<TBitmap>(w, h);
    b->Pixels().Fill(pixel);
    return b;
}

TEST_F(AnimationTest, HideFadesOutOnTheTimerAndFreesTheWindowAfterTheLastFrame) {
    SkinnedTestForm f;
    PumpFor(100);
    LayeredRecorder rec;
    TForm* window = CreateWindowSnapshotForm(f.Wnd());
    EXPECT_EQ(window->Tag(), kSkinOwnWindowTag);
    const HWND wnd = window->Handle();
    StartHideAnimation(window, Picture(120, 80, 0xFF00FF00u), 120, TacAnimType::atFading, 255);
    EXPECT_TRUE(HideAnimationRunning());
    EXPECT_TRUE(IsWindow(wnd));
    EXPECT_TRUE(IsWindowVisible(wnd));
    EXPECT_NE(GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    ASSERT_TRUE(WaitUntil([] { return !HideAnimationRunning(); }, 5000));
    EXPECT_FALSE(IsWindow(wnd)) << "freed after the last frame";
    // The picture at full alpha, then eleven frames falling to nothing.
    ASSERT_EQ(rec.Calls.size(), 12u);
    EXPECT_EQ(rec.Calls[0].Alpha, 255);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(rec.Calls[1 + i].Alpha, std::lround(std::max(0.0, 255 - 25.5 * (i + 1)))) << "frame " << i;
    for (const LayeredCall& c : rec.Calls) {
        EXPECT_EQ(c.Wnd, wnd);
        EXPECT_EQ(c.Size.cx, 120);
        EXPECT_EQ(c.Picture.At(60, 40), 0xFF00FF00u);
    }
}

TEST_F(AnimationTest, ASecondHideFreesTheFirstFadingWindowAtOnce) {
    SkinnedTestForm f;
    PumpFor(100);
    LayeredRecorder rec;
    TForm* first = CreateWindowSnapshotForm(f.Wnd());
    const HWND firstWnd = first->Handle();
    StartHideAnimation(first, Picture(60, 40, 0xFF0000FFu), 1200, TacAnimType::atAero, 255);
    ASSERT_TRUE(HideAnimationRunning());
    TForm* second = CreateWindowSnapshotForm(f.Wnd());
    const HWND secondWnd = second->Handle();
    StartHideAnimation(second, Picture(60, 40, 0xFFFF0000u), 60, TacAnimType::atAero, 255);
    EXPECT_FALSE(IsWindow(firstWnd));
    EXPECT_TRUE(IsWindow(secondWnd));
    ASSERT_TRUE(WaitUntil([] { return !HideAnimationRunning(); }, 5000));
    EXPECT_FALSE(IsWindow(secondWnd));
}

TEST_F(AnimationTest, HideOfLessThanOnePeriodShowsNothing) {
    SkinnedTestForm f;
    LayeredRecorder rec;
    TForm* window = CreateWindowSnapshotForm(f.Wnd());
    const HWND wnd = window->Handle();
    StartHideAnimation(window, Picture(30, 30, 0xFFFFFFFFu), 11, TacAnimType::atFading, 255);
    EXPECT_FALSE(HideAnimationRunning());
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_TRUE(rec.Calls.empty());
}

TEST_F(AnimationTest, FormHideFadesTheFormsPictureWithTheManagersSettings) {
    ASSERT_EQ(DefaultManager, nullptr);
    TsSkinManager* manager = new TsSkinManager(Application());
    manager->Model().AnimEffects.FormHide.Time = 48;
    manager->Model().AnimEffects.FormHide.Mode = TacAnimType::atFading;
    {
        SkinnedTestForm f;
        PumpFor(100);
        const RECT r = WindowRectOf(f.Wnd());
        LayeredRecorder rec;
        AnimateFormHide(f.Provider);
        EXPECT_FALSE(FormAnimating);
        ASSERT_TRUE(HideAnimationRunning());
        f.Form->Hide();
        ASSERT_TRUE(WaitUntil([] { return !HideAnimationRunning(); }, 5000));
        ASSERT_EQ(rec.Calls.size(), 1u + 5u);
        const LayeredCall& c = rec.Calls.front();
        EXPECT_EQ(c.Size.cx, r.right - r.left);
        EXPECT_EQ(c.Pos.x, r.left);
        EXPECT_EQ(c.Picture.At(c.Size.cx / 2, c.Size.cy / 2) & 0x00FFFFFFu, 0x996633u);
        EXPECT_EQ(rec.Calls.back().Alpha, 0);
    }
    manager->Free();
}

TEST_F(AnimationTest, DialogHideFadesTheCachedPictureInItsSnapshotWindow) {
    ASSERT_EQ(DefaultManager, nullptr);
    TsSkinManager* manager = new TsSkinManager(Application());
    manager->Model().AnimEffects.DialogHide.Time = 24;
    {
        SkinnedTestForm f;
        PumpFor(100);
        TestDialog dialog(f.Wnd());
        dialog.PaintNonClientCache();
        LayeredRecorder rec;
        AnimateDialogHide(&dialog);
        EXPECT_FALSE(FormAnimating);
        ASSERT_TRUE(HideAnimationRunning());
        ASSERT_TRUE(WaitUntil([] { return !HideAnimationRunning(); }, 5000));
        ASSERT_EQ(rec.Calls.size(), 1u + 3u);
        EXPECT_NE(rec.Calls.front().Wnd, f.Wnd()) << "a snapshot window fades, not the dialog";
        EXPECT_EQ(rec.Calls.front().Picture.At(5, 5), 0xFF102030u);
        EXPECT_FALSE(IsWindow(rec.Calls.front().Wnd));
    }
    manager->Free();
}

}  // namespace
}  // namespace kova::skin
