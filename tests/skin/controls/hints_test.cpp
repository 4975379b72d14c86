// The hint manager's hints for a real form's control: the mouse rests on
// a panel whose ShowHint is set, and the hint comes in a layered window.
// Xvfb shows no alpha, so the pictures and alphas handed to the layered
// window are read through the animations' output seam.
#include "skin/controls/hintmanager.h"

#include <gtest/gtest.h>

#include <cmath>

#include "../core/formstest.h"
#include "common/win32_testing.h"
#include "framework/extctrls.h"
#include "framework/portable/formtext.h"
#include "framework/portable/scope.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/core/sysentries.h"
#include "skin/core/skinstate.h"
#include "skin/forms/titlebuttons.h"

namespace kova::skin::test {
namespace {

using kova::test::PumpFor;
using kova::test::WaitUntil;

std::uint8_t AlphaAt(const LayeredCall& c, int x, int y) {
    return static_cast<std::uint8_t>(c.Picture.At(x, y) >> 24);
}

// Frees nothing itself; tells when it goes.
class TWatchedPanel : public TPanel {
public:
    TWatchedPanel(TComponent* owner, bool* gone) : TPanel(owner), gone_(gone) {}
    ~TWatchedPanel() override { *gone_ = true; }

private:
    bool* gone_;
};

// A point inside a tail, a fifth of the way from its tip (the window's
// corner on the cursor's side, 3 pixels in) to its base in the body.
POINT TailPoint(const LayeredCall& c, int shadow, int exOffset, TsMousePosition pos) {
    const int w = c.Size.cx, h = c.Size.cy;
    const bool bottom = IsBottomPosition(pos), right = IsRightPosition(pos);
    const double tipX = right ? w - 3 : 3, tipY = bottom ? h - 3 : 3;
    const double bodyTop = bottom ? 0 : exOffset, bodyBottom = bottom ? h - shadow - exOffset : h - shadow;
    const double baseX = (w - shadow) / 2.0, baseY = (bodyTop + bodyBottom) / 2;
    return POINT{static_cast<int>(tipX + (baseX - tipX) / 5), static_cast<int>(tipY + (baseY - tipY) / 5)};
}

class HintTest : public ::testing::Test {
protected:
    void SetUp() override {
        handles_ = LiveHandleCounts();
        Form = TCustomForm::Create<TForm>(Application());
        Form->SetBounds(120, 120, 320, 220);
        Panel = new TPanel(Form);
        Panel->SetParent(Form);
        Panel->SetBounds(20, 20, 200, 120);
        Panel->SetHint("Rest here");
        Panel->SetShowHint(true);
        Form->Show();
        Form->HandleNeeded();
        PumpFor(100);
    }
    void TearDown() override {
        ApplicationHints().CancelHint();
        if (Manager) Manager->Free();
        Form->Free();
        Away();
        PumpFor(50);
        ApplicationHints().OnShowHint = nullptr;
        EXPECT_EQ(TransientHandlesChanged(handles_), "");
    }
    // The main form's hint settings.
    void MakeManager(TsHintStyle style = hsComics) {
        Manager = new TsHintManager(Form);
        TsHintKind& k = Manager->HintKind();
        Manager->Predefinitions = shCustom;
        k.Radius = 9;
        k.ExOffset = 0;
        k.Bevel = 1;
        k.BevelWidth = 1;
        k.Color = 12778748;
        k.ColorBorderTop = k.ColorBorderBottom = 0;
        k.Transparency = 0;
        k.ShadowBlur = 4;
        k.SetShadowEnabled(true);
        k.ShadowOffset = 7;
        k.ShadowTransparency = 38;
        k.MarginH = 12;
        k.MarginV = 5;
        k.MaxWidth = 202;
        k.Font.SetName("Segoe UI");
        k.Font.SetHeight(-12);
        k.Font.SetColor(0);
        Manager->SetPauseHide(7000);
        Manager->Loaded();
        k.SetStyle(style);
    }
    // The cursor rests at the screen point over the panel, moved there by
    // real input; returns once a hint is shown (or the wait ends).
    bool HoverAt(POINT p) {
        Away();
        // A step beside first: a move to where the cursor already is brings
        // no message. Each step returns once the panel took its move and
        // the cursor reads back there (the hint reads it when its pause
        // ends).
        const POINT beside{p.x + 1, p.y + 1};
        const HWND target = Panel->Handle();
        EXPECT_TRUE(kova::test::MouseMove(beside, target));
        EXPECT_TRUE(kova::test::MouseMove(p, target));
        return WaitUntil([] { return HintShown(); }, 3000);
    }
    POINT PanelPoint(int x, int y) { return Panel->ClientToScreen(POINT{x, y}); }
    // Out of every hint: the cursor to a corner and the hint let go.
    static void Away() {
        ApplicationHints().CancelHint();
        SetCursorPos(1, 1);
        PumpFor(30);
    }
    static bool HintShown() {
        THintWindow* w = ApplicationHints().HintWindow();
        return w && w->HintShowing();
    }

    TForm* Form = nullptr;
    TPanel* Panel = nullptr;
    TsHintManager* Manager = nullptr;
    THandleCounts handles_{};
};

TEST_F(HintTest, TheManagerSetsTheApplicationsHintPauses) {
    MakeManager();
    EXPECT_EQ(ApplicationHints().HintPause, 300);
    EXPECT_EQ(ApplicationHints().HintShortPause, 200);
    EXPECT_EQ(ApplicationHints().HintHidePause, 7000);
    EXPECT_EQ(CurrentHintManager(), Manager);
}

TEST_F(HintTest, AControlsHintFadesInOverThirtyOneStepsOfEightMs) {
    MakeManager();
    LayeredRecorder rec;
    const POINT p = PanelPoint(40, 30);
    const DWORD start = GetTickCount();
    ASSERT_TRUE(HoverAt(p));
    EXPECT_GE(GetTickCount() - start, 250u) << "after the hint pause";
    auto* w = dynamic_cast<TsComicsHintWindow*>(ApplicationHints().HintWindow());
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(rec.Calls.size(), 32u) << "alpha 0, then 31 steps";
    EXPECT_EQ(rec.Calls[0].Alpha, 0);
    const std::vector<std::uint8_t> steps = HintFadeAlphas(0);
    for (int i = 0; i < 31; ++i) EXPECT_EQ(rec.Calls[1 + i].Alpha, steps[i]) << "step " << i;
    EXPECT_EQ(rec.Calls.back().Alpha, 255);
    ASSERT_EQ(rec.Sleeps.size(), 31u);
    for (DWORD ms : rec.Sleeps) EXPECT_EQ(ms, 8u);
    // The hint's corner sits at the cursor (tail to the left top).
    const LayeredCall& last = rec.Calls.back();
    ASSERT_TRUE(last.HasPos);
    EXPECT_EQ(last.Pos.x, p.x);
    EXPECT_EQ(last.Pos.y, p.y);
    EXPECT_EQ(w->MousePos(), mpLeftTop);
    // Its picture: the text with the margins, the bubble opaque, the
    // shadow right and below partly transparent, clear outside.
    const int W = last.Size.cx, H = last.Size.cy;
    EXPECT_EQ(W, last.Picture.Width());
    EXPECT_GT(W, 2 * 13 + 7 + 20);
    EXPECT_GT(H, 2 * 6 + 7 + 10);
    EXPECT_EQ(AlphaAt(last, (W - 7) / 2, (H - 7) / 2), 255);
    EXPECT_EQ(AlphaAt(last, 0, 0), 0) << "the rounded corner";
    const std::uint8_t shade = AlphaAt(last, W - 3, H / 2);
    EXPECT_GT(shade, 0);
    EXPECT_LT(shade, 255);
    int ink = 0;
    for (int y = 6; y < H - 13; ++y)
        for (int x = 13; x < W - 20; ++x) ink += (last.Picture.At(x, y) & 0xFF) < 0x80 ? 1 : 0;
    EXPECT_GT(ink, 10) << "the text is drawn";
    // Hovering on inside the same control shows no second fade, and a
    // hint shown again while it is visible is not faded again.
    const std::size_t calls = rec.Calls.size();
    PumpFor(400);
    EXPECT_EQ(rec.Calls.size(), calls);
    RECT again = w->CalcHintRect(0, "Again");
    w->ActivateHint(again, "Again");
    ASSERT_EQ(rec.Calls.size(), calls + 1);
    EXPECT_EQ(rec.Calls.back().Alpha, 255);
}

TEST_F(HintTest, AHintGoesAfterTheManagersHidePause) {
    MakeManager();
    Manager->Animated = false;
    Manager->SetPauseHide(400);
    LayeredRecorder rec;
    ASSERT_TRUE(HoverAt(PanelPoint(30, 30)));
    const DWORD shown = GetTickCount();
    ASSERT_TRUE(WaitUntil([] { return !HintShown(); }, 3000));
    const DWORD after = GetTickCount() - shown;
    EXPECT_GE(after, 300u);
    EXPECT_LT(after, 1500u);
}

TEST_F(HintTest, HintShapesByTheAlphaOfTheirPicture) {
    MakeManager();
    Manager->Animated = false;
    struct Case {
        TsHintStyle Style;
        int ExOffset;
    };
    for (const Case c : {Case{hsSimply, 0}, Case{hsComics, 14}, Case{hsEllipse, 14}, Case{hsBalloon, 14}}) {
        SCOPED_TRACE(c.Style);
        Manager->HintKind().ExOffset = c.ExOffset;
        Manager->HintKind().SetStyle(c.Style);
        LayeredRecorder rec;
        ASSERT_TRUE(HoverAt(PanelPoint(30, 20)));
        ASSERT_EQ(rec.Calls.size(), 1u) << "shown at once without the fade";
        const LayeredCall& call = rec.Calls[0];
        EXPECT_EQ(call.Alpha, 255);
        const int W = call.Size.cx, H = call.Size.cy, s = 7;
        const int top = c.Style == hsSimply ? 0 : c.ExOffset;
        const int midX = (W - s) / 2, midY = (top + H - s) / 2;
        EXPECT_EQ(AlphaAt(call, midX, midY), 255) << "the body";
        EXPECT_EQ(AlphaAt(call, W - 1, 0), 0) << "clear above the shadow";
        EXPECT_GT(AlphaAt(call, midX + s, H - 3), 0) << "the shadow below";
        EXPECT_LT(AlphaAt(call, midX + s, H - 3), 255);
        switch (c.Style) {
            case hsSimply:
                EXPECT_EQ(AlphaAt(call, 0, 0), 255) << "a square corner";
                EXPECT_EQ(AlphaAt(call, W - s - 1, H - s - 1), 255);
                break;
            case hsComics:
                EXPECT_EQ(AlphaAt(call, 0, top), 0) << "rounded";
                EXPECT_EQ(AlphaAt(call, 0, midY), 255) << "the straight side";
                EXPECT_EQ(AlphaAt(call, W - s - 4, 2), 0) << "beside the tail";
                break;
            case hsEllipse:
                EXPECT_EQ(AlphaAt(call, 1, top + 1), 0) << "outside the ellipse";
                EXPECT_EQ(AlphaAt(call, 1, midY), 255) << "its widest point";
                break;
            default:
                EXPECT_EQ(AlphaAt(call, 1, top + 1), 0);
                EXPECT_EQ(AlphaAt(call, W - s - 4, 2), 0);
                break;
        }
        if (c.Style != hsSimply) {
            const TsMousePosition pos = dynamic_cast<TsCustomHintWindow*>(ApplicationHints().HintWindow())->MousePos();
            EXPECT_EQ(pos, mpLeftTop);
            const POINT t = TailPoint(call, s, c.ExOffset, mpLeftTop);
            EXPECT_EQ(AlphaAt(call, t.x, t.y), 255) << "the tail reaches toward the cursor";
        }
    }
}

TEST_F(HintTest, ShapedHintsFlipAtTheScreensRightAndBottomEdges) {
    MakeManager();
    Manager->Animated = false;
    Manager->HintKind().ExOffset = 14;
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    Form->SetBounds(sw - 260, sh - 200, 250, 190);
    Panel->SetBounds(0, 0, 240, 160);
    PumpFor(100);
    LayeredRecorder rec;
    const POINT p = PanelPoint(230, 150);
    ASSERT_TRUE(HoverAt(p));
    ASSERT_EQ(rec.Calls.size(), 1u);
    const LayeredCall& call = rec.Calls[0];
    EXPECT_EQ(dynamic_cast<TsCustomHintWindow*>(ApplicationHints().HintWindow())->MousePos(), mpRightBottom);
    EXPECT_EQ(call.Pos.x, p.x - call.Size.cx) << "left of the point";
    EXPECT_EQ(call.Pos.y, p.y - call.Size.cy) << "above it";
    const POINT t = TailPoint(call, 7, 14, mpRightBottom);
    EXPECT_EQ(AlphaAt(call, t.x, t.y), 255) << "the tail points down right";
    EXPECT_EQ(AlphaAt(call, 2, call.Size.cy - 3), 0);
}

TEST_F(HintTest, TheApplicationsShowHintHandlerIsChainedAndKept) {
    int appCalls = 0;
    ApplicationHints().OnShowHint = [&](std::string& s, bool&, THintInfo& info) {
        ++appCalls;
        EXPECT_EQ(info.HintControl, Panel);
        s = "Changed by the application";
    };
    MakeManager();
    Manager->Animated = false;
    int ownCalls = 0;
    Manager->OnShowHint = [&](std::string& s, bool&, THintInfo&, TWinControl*&) {
        ++ownCalls;
        EXPECT_EQ(s, "Changed by the application") << "the application's ran first";
    };
    LayeredRecorder rec;
    ASSERT_TRUE(HoverAt(PanelPoint(30, 30)));
    EXPECT_EQ(appCalls, 1);
    EXPECT_EQ(ownCalls, 1);
    EXPECT_EQ(ApplicationHints().HintWindow()->Caption(), "Changed by the application");
    Away();
    Manager->Free();
    Manager = nullptr;
    // The application's handler is back in place.
    ASSERT_TRUE(ApplicationHints().OnShowHint);
    std::string s;
    bool can = true;
    THintInfo info;
    info.HintControl = Panel;
    ApplicationHints().OnShowHint(s, can, info);
    EXPECT_EQ(appCalls, 2);
    EXPECT_EQ(CurrentHintManager(), nullptr);
}

TEST_F(HintTest, AFrameForAHintNotShownIsFreedAndNeverShownLater) {
    MakeManager();
    Manager->Animated = false;
    bool gone = false;
    bool refuse = true;
    TWinControl* handed = nullptr;
    Manager->OnShowHint = [&](std::string&, bool& canShow, THintInfo&, TWinControl*& frame) {
        if (refuse) {
            handed = new TWatchedPanel(nullptr, &gone);
            handed->SetBounds(0, 0, 60, 30);
            frame = handed;
            canShow = false;
        }
    };
    LayeredRecorder rec;
    EXPECT_FALSE(HoverAt(PanelPoint(30, 30)));
    EXPECT_TRUE(gone) << "the frame of the refused hint is freed";
    refuse = false;
    ASSERT_TRUE(HoverAt(PanelPoint(50, 40)));
    ASSERT_FALSE(rec.Calls.empty());
    EXPECT_NE(rec.Calls.back().Size.cx, 60 + 7) << "the next hint shows its text, not the old frame";
    EXPECT_EQ(ApplicationHints().HintWindow()->ControlCount(), 0);
}

TEST_F(HintTest, AFrameHandedBackIsShownOnceAndFreed) {
    MakeManager(hsSimply);
    Manager->Animated = false;
    bool gone = false;
    bool once = true;
    Manager->OnShowHint = [&](std::string&, bool&, THintInfo&, TWinControl*& frame) {
        if (!once) return;
        once = false;
        auto* f = new TWatchedPanel(nullptr, &gone);
        f->SetBounds(0, 0, 60, 30);
        f->SetColor(0x0000FF);
        frame = f;
    };
    LayeredRecorder rec;
    ASSERT_TRUE(HoverAt(PanelPoint(30, 30)));
    ASSERT_EQ(rec.Calls.size(), 1u);
    EXPECT_EQ(rec.Calls[0].Size.cx, 60 + 7);
    EXPECT_EQ(rec.Calls[0].Size.cy, 30 + 7);
    EXPECT_EQ(rec.Calls[0].Picture.At(30, 15) & 0xFFFFFF, 0xFF0000u) << "the frame's red (BGRA)";
    EXPECT_TRUE(gone) << "freed once painted";
    // Whatever stands in a hint asks it for the background: its picture.
    TsBackgroundInfo info;
    SendSkinCommand(ApplicationHints().HintWindow()->Handle(), scQueryBgInfo, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.BgType, 2);
    ASSERT_NE(info.Bmp, nullptr);
    EXPECT_EQ(info.Bmp->Width(), 60 + 7);
    EXPECT_EQ(info.Bmp->At(30, 15) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(HintTest, NoneShowsNothingAndStandardUsesThePlainWindow) {
    MakeManager(hsNone);
    LayeredRecorder rec;
    HoverAt(PanelPoint(30, 30));
    PumpFor(200);
    EXPECT_TRUE(rec.Calls.empty());
    EXPECT_FALSE(HintShown());
    EXPECT_EQ(CurrentHintManager(), nullptr);

    Manager->HintKind().SetStyle(hsStandard);
    EXPECT_EQ(CurrentHintManager(), nullptr);
    ASSERT_TRUE(HoverAt(PanelPoint(40, 30)));
    THintWindow* w = ApplicationHints().HintWindow();
    EXPECT_EQ(dynamic_cast<TsCustomHintWindow*>(w), nullptr);
    EXPECT_EQ(w->Caption(), "Rest here");
    EXPECT_TRUE(rec.Calls.empty()) << "no layered picture";
}

TEST_F(HintTest, LeavingTheControlHidesTheHint) {
    MakeManager();
    Manager->Animated = false;
    LayeredRecorder rec;
    ASSERT_TRUE(HoverAt(PanelPoint(30, 30)));
    SetCursorPos(1, 1);
    EXPECT_TRUE(WaitUntil([] { return !HintShown(); }, 2000));
}

// With UseSkinData and a skin that has the hint section, the hint is the
// skin's item: its colour, its border widths around the text, no shadow of
// its own, a window region cut to it and the system's drop shadow.
TEST_F(HintTest, ASkinnedHintIsPaintedFromTheSkinsSection) {
    TsSkinManager* skin = new TsSkinManager(nullptr);
    AddInternalSkins(skin->Model().InternalSkins);
    skin->SetSkinName("Linen (internal)");
    ASSERT_EQ(DefaultManager, skin);
    MakeManager(hsSimply);
    Manager->Animated = false;
    Manager->SetUseSkinData(true);
    Manager->Predefinitions = shCustom;
    ASSERT_TRUE(Manager->SkinnedHints());
    EXPECT_FALSE(Manager->HintKind().ShadowEnabled()) << "skinned hints have no shadow of their own";
    {
        LayeredRecorder rec;
        ASSERT_TRUE(HoverAt(PanelPoint(30, 30)));
        ASSERT_EQ(rec.Calls.size(), 1u);
        const LayeredCall& call = rec.Calls[0];
        const int W = call.Size.cx, H = call.Size.cy;
        // Linen's hint: colour 15399935 (0xEAFBFF), border mask 4 wide.
        EXPECT_EQ(call.Picture.At(6, H / 2) & 0xFFFFFF, 0xFFFBEAu) << "the section colour (BGRA) inside the borders";
        EXPECT_EQ(AlphaAt(call, W / 2, H / 2), 255);
        THintWindow* w = ApplicationHints().HintWindow();
        EXPECT_EQ(call.Pos.y, PanelPoint(30, 30).y) << "not moved 16 down when skinned";
        RECT box{};
        EXPECT_NE(GetWindowRgnBox(w->Handle(), &box), ERROR) << "a region only for skinned hints";
        EXPECT_NE(GetClassLongPtrA(w->Handle(), GCL_STYLE) & CS_DROPSHADOW, 0u);
        const RECT plain = w->CalcHintRect(0, "Rest here");
        EXPECT_EQ(plain.right - plain.left, W);
    }
    Manager->SetUseSkinData(false);
    EXPECT_FALSE(Manager->SkinnedHints());
    Away();
    Manager->HintKind().SetStyle(hsSimply);
    {
        LayeredRecorder rec;
        ASSERT_TRUE(HoverAt(PanelPoint(40, 30)));
        THintWindow* w = ApplicationHints().HintWindow();
        RECT box{};
        EXPECT_EQ(GetWindowRgnBox(w->Handle(), &box), ERROR) << "no region for our own shapes";
        EXPECT_EQ(GetClassLongPtrA(w->Handle(), GCL_STYLE) & CS_DROPSHADOW, 0u);
    }
    Away();
    Manager->Free();
    Manager = nullptr;
    skin->Free();
}

namespace {

// The system as one without layered windows, for the life of the object.
struct NoLayeredWindows {
    NoLayeredWindows() { SystemOffered().LayeredWindows = [] { return false; }; }
    ~NoLayeredWindows() { SystemOffered() = SystemOffers{}; }
};

}  // namespace

// Without layered windows a skinned hint is a plain window cut to its
// shape by a region and painted over the copy of the screen under it:
// nothing goes to UpdateLayeredWindow, and the skin offers no glow.
TEST_F(HintTest, WithoutLayeredWindowsASkinnedHintIsCutByARegion) {
    TsSkinManager* skin = new TsSkinManager(nullptr);
    AddInternalSkins(skin->Model().InternalSkins);
    skin->SetSkinName("Linen (internal)");
    MakeManager(hsSimply);
    Manager->Animated = false;
    Manager->SetUseSkinData(true);
    ASSERT_TRUE(Manager->SkinnedHints());
    // The shape the layered hint is cut to, for the same hint.
    HRGN layeredShape = CreateRectRgn(0, 0, 0, 0);
    TScopeExit freeShape([layeredShape] { DeleteObject(layeredShape); });
    {
        LayeredRecorder rec;
        ASSERT_TRUE(HoverAt(PanelPoint(30, 30)));
        ASSERT_EQ(rec.Calls.size(), 1u);
        ASSERT_NE(GetWindowRgn(ApplicationHints().HintWindow()->Handle(), layeredShape), ERROR);
    }
    Away();
    {
        NoLayeredWindows without;
        EXPECT_FALSE(LayeredWindowsAvailable());
        EXPECT_FALSE(skin->AllowGlowing());
        EXPECT_FALSE(skin->ExtendedBorders());
        LayeredRecorder rec;
        ASSERT_TRUE(HoverAt(PanelPoint(30, 30)));
        EXPECT_TRUE(rec.Calls.empty()) << "no layered window";
        THintWindow* w = ApplicationHints().HintWindow();
        const HWND wnd = w->Handle();
        EXPECT_EQ(GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
        EXPECT_EQ(GetClassLongPtrA(wnd, GCL_STYLE) & CS_DROPSHADOW, 0u) << "the system's shadow needs layering";
        RECT r{};
        GetWindowRect(wnd, &r);
        const int W = r.right - r.left, H = r.bottom - r.top;
        ASSERT_GT(W, 12);
        ASSERT_GT(H, 12);
        // The region is the skin item's shape, the one the layered hint
        // is cut to, over the whole window.
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(wnd, region), ERROR) << "cut to the shape";
        EXPECT_TRUE(EqualRgn(region, layeredShape));
        RECT box{};
        GetRgnBox(region, &box);
        EXPECT_EQ(box.left, 0);
        EXPECT_EQ(box.top, 0);
        EXPECT_EQ(box.right, W);
        EXPECT_EQ(box.bottom, H);
        EXPECT_TRUE(PtInRegion(region, 6, H / 2));
        DeleteObject(region);
        // Painted from the hint's picture: Linen's hint colour inside the
        // borders (0xEAFBFF) where the screen shows the window.
        const POINT at{r.left + 6, r.top + H / 2};
        COLORREF seen = CLR_INVALID;
        EXPECT_TRUE(WaitUntil(
            [&] {
                HDC screen = GetDC(nullptr);
                seen = GetPixel(screen, at.x, at.y);
                ReleaseDC(nullptr, screen);
                return seen == 0xEAFBFFu;
            },
            2000))
            << std::hex << seen;
    }
    EXPECT_TRUE(LayeredWindowsAvailable()) << "the system's answer again";
    Away();
    Manager->Free();
    Manager = nullptr;
    skin->Free();
}

// The main form's hint manager as its description holds it.
TEST_F(HintTest, AManagerReadFromADescriptionTakesTheMainFormsSettings) {
    RegisterHintManagerClass();
    const char* text =
        "object Holder: TForm\n"
        "  object sHintManager1: TsHintManager\n"
        "    HintKind.Style = hsComics\n"
        "    HintKind.Radius = 9\n"
        "    HintKind.ExOffset = 0\n"
        "    HintKind.Bevel = 1\n"
        "    HintKind.Color = 12778748\n"
        "    HintKind.ColorBorderTop = clBlack\n"
        "    HintKind.ColorBorderBottom = clBlack\n"
        "    HintKind.Transparency = 0\n"
        "    HintKind.ShadowBlur = 4\n"
        "    HintKind.ShadowEnabled = True\n"
        "    HintKind.ShadowOffset = 7\n"
        "    HintKind.ShadowTransparency = 38\n"
        "    HintKind.MarginH = 12\n"
        "    HintKind.MarginV = 5\n"
        "    HintKind.MaxWidth = 202\n"
        "    HintKind.Font.Color = clBlack\n"
        "    HintKind.Font.Height = -12\n"
        "    HintKind.Font.Name = 'Segoe UI'\n"
        "    HintKind.Font.Style = []\n"
        "    PauseHide = 7000\n"
        "    Predefinitions = shCustom\n"
        "    SkinSection = 'HINT'\n"
        "  end\n"
        "end\n";
    TForm* holder = TCustomForm::Create<TForm>(Application());
    ReadComponentText(holder, text, TFormReadMode::Strict);
    auto* m = dynamic_cast<TsHintManager*>(holder->FindComponent("sHintManager1"));
    ASSERT_NE(m, nullptr);
    TsHintKind& k = m->HintKind();
    EXPECT_EQ(k.Style(), hsComics);
    EXPECT_EQ(k.Radius, 9);
    EXPECT_EQ(k.ExOffset, 0);
    EXPECT_EQ(k.Color, 12778748u);
    EXPECT_EQ(k.ColorBorderTop, 0u);
    EXPECT_TRUE(k.ShadowEnabled());
    EXPECT_EQ(k.ShadowOffset, 7);
    EXPECT_EQ(k.ShadowTransparency, 38);
    EXPECT_EQ(k.MaxWidth, 202);
    EXPECT_EQ(k.Font.Name(), "Segoe UI");
    EXPECT_EQ(k.Font.Height(), -12);
    EXPECT_EQ(m->PauseHide(), 7000);
    EXPECT_EQ(ApplicationHints().HintHidePause, 7000);
    EXPECT_EQ(CurrentHintManager(), m) << "shCustom keeps the comic style";
    holder->Free();
    EXPECT_EQ(CurrentHintManager(), nullptr);
}

// A user title button of a skinned form shows its hint in the plain hint
// window while it is hot, 8 pixels right of and 16 below the cursor, and
// hides it when it is pressed or left.
TEST(TitleButtonHint, ShownWhileTheButtonIsHot) {
    TsSkinManager* manager = new TsSkinManager(nullptr);
    AddInternalSkins(manager->Model().InternalSkins);
    TForm* form = TCustomForm::Create<TForm>(Application());
    form->SetBounds(150, 120, 420, 300);
    TsSkinProvider* p = new TsSkinProvider(form);
    TsTitleButton* b = p->TitleButtons()->Add();
    b->Hint = "Keep on top";
    TsTitleButton* quiet = p->TitleButtons()->Add();
    manager->SetSkinName("Linen (internal)");
    form->Show();
    PumpFor(100);
    SetCursorPos(300, 200);
    PumpFor(30);
    p->SetHotButton(kUserButtonHit, false);
    ASSERT_NE(b->HintWindow, nullptr);
    const HWND hint = b->HintWindow->Handle();
    EXPECT_TRUE(IsWindowVisible(hint));
    EXPECT_EQ(b->HintWindow->Caption(), "Keep on top");
    POINT c{};
    GetCursorPos(&c);
    RECT r{};
    GetWindowRect(hint, &r);
    EXPECT_EQ(r.left, c.x + 8);
    EXPECT_EQ(r.top, c.y + 16);
    EXPECT_EQ(GetWindowLongPtrA(hint, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
    EXPECT_NE(GetForegroundWindow(), hint) << "never activated";
    p->SetHotButton(kUserButtonHit + 1, false);
    EXPECT_EQ(b->HintWindow, nullptr) << "left";
    EXPECT_FALSE(IsWindow(hint));
    EXPECT_EQ(quiet->HintWindow, nullptr) << "an empty hint shows nothing";
    p->SetHotButton(0, false);
    p->SetHotButton(kUserButtonHit, false);
    ASSERT_NE(b->HintWindow, nullptr);
    p->PressButton(kUserButtonHit);
    EXPECT_EQ(b->HintWindow, nullptr) << "pressed";
    ButtonPressed = false;
    form->Free();
    manager->Free();
}

// The default image template comes from the picture built into the program.
TEST(HintTemplateResource, TheDefaultTemplateIsReadFromTheBuiltInPicture) {
    TacHintTemplate& t = DefaultHintTemplate();
    EXPECT_EQ(&t, &DefaultHintTemplate()) << "made once";
    TacHintImage& img = t.ImageDefault();
    ASSERT_EQ(img.ImageWidth(), 32);
    ASSERT_EQ(img.ImageHeight(), 32);
    EXPECT_EQ(img.BordersWidths().Right(), 15);
    EXPECT_EQ(img.ClientMargins().Bottom(), 14);
    EXPECT_EQ(img.Image().At(12, 12) >> 24, 255u);
}

// Mini-HTML hints measure by their tags: a break adds a line, bold widens.
TEST_F(HintTest, HtmlHintsMeasureByTheirTags) {
    MakeManager(hsSimply);
    Manager->HTMLMode = true;
    Manager->HintKind().SetShadowEnabled(false);
    TsSimplyHintWindow w(nullptr);
    const RECT one = w.CalcHintRect(0, "Line");
    const RECT two = w.CalcHintRect(0, "Line<br>Line");
    const RECT bigger = w.CalcHintRect(0, "<font size=20>Line</font>");
    const RECT broken = w.CalcHintRect(0, "<font size=x color=#zz face=Arial>Line");
    EXPECT_EQ(two.right, one.right);
    EXPECT_GT(two.bottom - one.bottom, (one.bottom - 2 * 6) / 2) << "a second line and two pixels";
    EXPECT_GT(bigger.right, one.right);
    EXPECT_GT(bigger.bottom, one.bottom);
    EXPECT_EQ(broken.right, one.right) << "unreadable attributes change nothing";
    EXPECT_EQ(broken.bottom, one.bottom);
}

}  // namespace
}  // namespace kova::skin::test
