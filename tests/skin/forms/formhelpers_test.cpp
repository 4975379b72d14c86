// The form helpers on real windows: the window region with its corner
// cut-outs and the form's opt-out, the cover over the top of a form, the
// caption icon, the frame metrics, the snapshot of a covered window, and
// desktop composition, which the system here does not have: its "on"
// branches run through the skin services' seam, which records what would
// be sent.
#include "skin/forms/formhelpers.h"

#include <gtest/gtest.h>

#include <dwmapi.h>

#include <filesystem>
#include <initializer_list>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "common/win32_testing.h"
#include "framework/forms.h"
#include "framework/portable/scope.h"
#include "skin/core/glow.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/model/pictures.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinservices.h"
#include "skin/core/skinstate.h"
#include "skin/core/portable/bitmaps.h"
#include "skin/forms/provider.h"
#include "skin/forms/sysmenu.h"
#include "skin/forms/titleitems.h"
#include "../core/formstest.h"

namespace kova::skin::test {

namespace {

struct Form {
    explicit Form(TFormBorderStyle style = bsSizeable, bool show = true, TColor colour = 0x00336699) {
        form = TCustomForm::Create<TForm>(Application());
        form->SetBorderStyle(style);
        form->SetBounds(150, 120, 300, 200);
        form->SetColor(colour);
        provider = new TsSkinProvider(form);
        form->HandleNeeded();
        if (show) form->Show();
    }
    ~Form() { form->Free(); }
    HWND Wnd() const { return form->Handle(); }
    TForm* form;
    TsSkinProvider* provider;
};

bool HasRegion(HWND wnd, HRGN into = nullptr) {
    HRGN r = into ? into : CreateRectRgn(0, 0, 0, 0);
    const bool has = GetWindowRgn(wnd, r) != ERROR;
    if (!into) DeleteObject(r);
    return has;
}

// Which points the region holds.
struct RegionPoint {
    int x, y;
    bool inside;
};
void ExpectPoints(HRGN r, std::initializer_list<RegionPoint> points) {
    for (const RegionPoint& p : points) EXPECT_EQ(PtInRegion(r, p.x, p.y) != 0, p.inside) << p.x << "," << p.y;
}

class HelpersTest : public ::testing::Test {
protected:
    void TearDown() override { ResetSkinServices(); }
};

}  // namespace

// ----------------------------------------------------------------- regions

TEST_F(HelpersTest, TheRegionCutsTheCornerRectanglesOut) {
    Form f;
    f.provider->RegionRects = {RECT{0, 0, 5, 1}, RECT{0, 1, 2, 2}};
    f.provider->UpdateRegion(false);
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    ASSERT_TRUE(HasRegion(f.Wnd(), r));
    ExpectPoints(r, {{0, 0, false}, {4, 0, false}, {5, 0, true}, {1, 1, false}, {2, 1, true}, {150, 100, true},
                     {299, 199, true}, {300, 200, false}});
    DeleteObject(r);
    EXPECT_FALSE(f.provider->RegionChanged);
}

namespace {

// A skin folder of our own, active while it lives: the form border is an
// 8 x 8 image with 4 x 4 corner pieces whose outer L of three pixels is
// the key colour; the size grip an 8 x 8 blue image with a key-colour
// top-left pixel.
class CornerSkin {
public:
    CornerSkin() {
        namespace fs = std::filesystem;
        dir_ = fs::temp_directory_path() / ("kova-corners-" + std::to_string(GetCurrentProcessId()));
        fs::create_directories(dir_ / "Corners");
        Bitmap32 master(16, 8);
        master.Fill(0xFF406080u);
        for (int i = 0; i < 3; ++i) master.At(i, 0) = master.At(0, i) = 0xFFFF00FFu;
        for (int i = 0; i < 3; ++i) master.At(i, 7) = master.At(0, 7 - i) = 0xFFFF00FFu;
        for (int y = 0; y < 8; ++y)
            for (int x = 8; x < 16; ++x) master.At(x, y) = 0xFF0000FFu;
        master.At(8, 0) = 0xFFFF00FFu;
        const std::vector<std::uint8_t> bmp = EncodeBmp(master, false);
        std::ofstream(dir_ / "Corners" / "Master.bmp", std::ios::binary)
            .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
        std::ofstream(dir_ / "Corners" / "Options.dat")
            << "[GLOBALINFO]\nVERSION=7.5\nMASTERBITMAP=Master.bmp\n"
               "GRIPIMAGE=^0008,0000,0016,0008,0000,0000,0000,0000,1,0,0,0\n"
               "[FORM]\nCOLOR=15528436\nSTATES=1\nBORDERSMASK=^0000,0000,0008,0008,0004,0004,0004,0004,1,0,1,0\n";
        Manager = new TsSkinManager(nullptr);
        Manager->SetSkinDirectory(dir_.string());
        Manager->SetSkinName("Corners");
    }
    ~CornerSkin() {
        Manager->Free();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    TsSkinManager* Manager;

private:
    std::filesystem::path dir_;
};

}  // namespace

// The skin's transparent corner pixels are cut from the window region in
// all four corners of the window, and the rest stays in.
TEST_F(HelpersTest, TheSkinsTransparentCornersAreCutFromTheRegion) {
    Form f;
    CornerSkin skin;
    ASSERT_TRUE(skin.Manager->Model().MaskIndexValid(f.provider->SkinData->BorderIndex));
    f.provider->InitRegionRects();
    f.provider->UpdateRegion(false);
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    ASSERT_TRUE(HasRegion(f.Wnd(), r));
    const int w = WindowWidth(f.Wnd()), h = WindowHeight(f.Wnd());
    for (int i = 0; i < 4; ++i) {
        const bool cut = i < 3;
        for (POINT p : {POINT{i, 0}, POINT{0, i}, POINT{w - 1 - i, 0}, POINT{w - 1, i}, POINT{i, h - 1},
                        POINT{0, h - 1 - i}, POINT{w - 1 - i, h - 1}, POINT{w - 1, h - 1 - i}})
            EXPECT_EQ(PtInRegion(r, p.x, p.y) == 0, cut) << p.x << "," << p.y;
    }
    ExpectPoints(r, {{1, 1, true}, {w - 2, h - 2, true}, {w / 2, h / 2, true}});
    DeleteObject(r);
}

// The size grip in the bottom-right corner of the cache, inside the
// frame, over the form's colour where the grip image is transparent.
TEST_F(HelpersTest, TheSizeGripIsPaintedAtItsPlace) {
    Form f;
    CornerSkin skin;
    f.provider->PaintNonClientCache();
    TBitmap target(300, 200);
    target.Pixels().Fill(0u);
    f.provider->PaintSizeGrip(target.Canvas()->Handle());
    GdiFlush();
    const int b = GetSystemMetrics(SM_CXFRAME);
    const int x = 300 - 8 - b - 1, y = 200 - 8 - b - 1;
    EXPECT_EQ(target.Pixels().At(x + 4, y + 4) & 0xFFFFFF, 0x0000FFu);
    const TColor form = f.provider->FormColor();
    EXPECT_EQ(target.Pixels().At(x, y) & 0xFFFFFF,
              static_cast<std::uint32_t>(GetRValue(form) << 16 | GetGValue(form) << 8 | GetBValue(form)));
    EXPECT_EQ(target.Pixels().At(x - 1, y), 0u) << "painted outside the grip";
    EXPECT_EQ(target.Pixels().At(x + 8, y + 8), 0u) << "painted outside the grip";
}

TEST_F(HelpersTest, MakeRegionMovesTheRegionAndItsCutOuts) {
    Form f(bsSizeable, false);
    f.provider->RegionRects = {RECT{0, 0, 3, 1}};
    HRGN r = f.provider->MakeRegion(10, 20);
    ExpectPoints(r, {{10, 20, false}, {13, 20, true}, {9, 20, false}, {309, 219, true}, {310, 220, false}});
    DeleteObject(r);
}

// Who keeps the window's region: a form answering 0x41A2 to 0xBC4D
// before its caption was first painted, a form without any border, a form
// whose provider does not draw the non-client area, a form told to keep it.
TEST_F(HelpersTest, FormsThatKeepTheirRegion) {
    struct Case {
        const char* name;
        TFormBorderStyle style;
        bool answers;
        bool draw;
        bool painted;
        bool regionSet;
    };
    for (const Case& c : {Case{"opts out", bsSizeable, true, true, false, false},
                          Case{"opts out, caption painted", bsSizeable, true, true, true, true},
                          Case{"plain", bsSizeable, false, true, false, true},
                          Case{"dialog", bsDialog, false, true, false, true},
                          Case{"no border", bsNone, false, true, false, false},
                          Case{"not drawn", bsSizeable, false, false, false, false}}) {
        SCOPED_TRACE(c.name);
        Form f(c.style);
        WPARAM asked = 0;
        if (c.answers) {
            TWndMethod below = f.form->WindowProc;
            f.form->WindowProc = [below, &asked](TMessage& m) {
                if (m.Msg == kKeepRegionQuery) {
                    asked = m.WParam;
                    m.Result = kKeepRegionAnswer;
                    return;
                }
                below(m);
            };
        }
        if (!c.draw) f.provider->DrawNonClientArea = false;
        f.provider->NonClientPaintedOnce = c.painted;
        f.provider->RegionRects = {RECT{0, 0, 4, 1}};
        f.provider->UpdateRegion(true);
        EXPECT_EQ(HasRegion(f.Wnd()), c.regionSet);
        if (c.answers && !c.painted) {
            EXPECT_EQ(asked, kKeepRegionAnswer);
        }
    }
}

// A maximised form without a border window shows its window less the
// system frame.
TEST_F(HelpersTest, AZoomedFormLosesItsSystemFrameToTheRegion) {
    Form f;
    ShowWindow(f.Wnd(), SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(f.Wnd()));
    f.provider->UpdateRegion(false);
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    ASSERT_TRUE(HasRegion(f.Wnd(), r));
    RECT box{};
    GetRgnBox(r, &box);
    const int b = GetSystemMetrics(SM_CXFRAME);
    EXPECT_EQ(box.left, b);
    EXPECT_EQ(box.top, b);
    EXPECT_EQ(box.right, WindowWidth(f.Wnd()) - b);
    EXPECT_EQ(box.bottom, WindowHeight(f.Wnd()) - b);
    DeleteObject(r);
}

// ------------------------------------------------------------ the cover

TEST_F(HelpersTest, TheCoverLiesOverTheFormsTopAndSwallowsErasing) {
    for (bool full : {false, true}) {
        Form f;
        f.provider->ShowMenuCover(full);
        ASSERT_NE(f.provider->MenuCover, nullptr);
        const HWND cover = f.provider->MenuCover->Handle();
        EXPECT_TRUE(IsWindowVisible(cover));
        EXPECT_EQ(f.provider->MenuCover->Tag(), kSkinOwnWindowTag);
        RECT c{}, w{};
        GetWindowRect(cover, &c);
        GetWindowRect(f.Wnd(), &w);
        EXPECT_EQ(c.left, w.left);
        EXPECT_EQ(c.top, w.top);
        EXPECT_EQ(c.right, w.right);
        EXPECT_EQ(c.bottom, full ? w.bottom : w.top + f.provider->ClientOffsetY());
        EXPECT_EQ(SendMessageA(cover, WM_ERASEBKGND, 0, 0), 1);
        EXPECT_EQ(GetActiveWindow() == cover, false);
        // One cover at a time.
        f.provider->ShowMenuCover(full);
        EXPECT_EQ(f.provider->MenuCover->Handle(), cover);
        f.provider->HideMenuCover();
        EXPECT_EQ(f.provider->MenuCover, nullptr);
        EXPECT_FALSE(IsWindow(cover));
    }
}

TEST_F(HelpersTest, NoCoverWhileTheNonClientAreaIsNotDrawnOrAShowIsPending) {
    Form f;
    f.provider->DrawNonClientArea = false;
    f.provider->ShowMenuCover(false);
    EXPECT_EQ(f.provider->MenuCover, nullptr);
    f.provider->DrawNonClientArea = true;
    f.provider->AnimPending = true;
    f.provider->ShowMenuCover(false);
    EXPECT_EQ(f.provider->MenuCover, nullptr);
}

// ------------------------------------------------------------- metrics

TEST_F(HelpersTest, FrameAndCaptionMetricsOfUnskinnedFrames) {
    Form sizeable, dialog(bsDialog), none(bsNone), tool(bsToolWindow);
    EXPECT_EQ(GetBorderWidth(sizeable.Wnd(), nullptr, true), GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(GetBorderWidth(dialog.Wnd(), nullptr, true), GetSystemMetrics(SM_CXDLGFRAME));
    EXPECT_EQ(GetBorderWidth(none.Wnd(), nullptr, true), 0);
    EXPECT_EQ(VisibleSysBorderWidth(sizeable.Wnd(), nullptr, false), GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(GetSysCaptionHeight(nullptr), GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(GetSysCaptionHeight(sizeable.form), GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(GetSysCaptionHeight(tool.form), GetSystemMetrics(SM_CYSMCAPTION));
    EXPECT_EQ(SkinBorderWidth(nullptr), 0);
    EXPECT_EQ(SkinTitleHeight(nullptr), 30);
    EXPECT_EQ(ExtendedTitleDiff(nullptr), 0);
    EXPECT_EQ(ExtendedBorderDiff(nullptr), 0);
    EXPECT_TRUE(HasThickFrame(sizeable.Wnd()));
    EXPECT_FALSE(HasThickFrame(dialog.Wnd()));
    EXPECT_EQ(WindowWidth(sizeable.Wnd()), 300);
    EXPECT_EQ(WindowHeight(sizeable.Wnd()), 200);
    EXPECT_EQ(ClientWidth(sizeable.Wnd()), sizeable.form->ClientWidth());
    EXPECT_EQ(ClientHeight(sizeable.Wnd()), sizeable.form->ClientHeight());
    EXPECT_TRUE(MaskHasSingleImage(-1, nullptr));
    // The caption keeps the system's height without a border window.
    EXPECT_EQ(sizeable.provider->CaptionHeight(true), GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(tool.provider->CaptionHeight(true), GetSystemMetrics(SM_CYSMCAPTION));
    EXPECT_EQ(none.provider->CaptionHeight(true), 0);
    sizeable.provider->UseSysCaption = true;
    EXPECT_EQ(sizeable.provider->CaptionHeight(true), GetSystemMetrics(SM_CYCAPTION) + 4);
    sizeable.provider->UseSysCaption = false;
    EXPECT_TRUE(sizeable.provider->HasBorder());
    EXPECT_FALSE(none.provider->HasBorder());
    EXPECT_TRUE(sizeable.provider->IsBigTitleButtons());
    EXPECT_FALSE(tool.provider->IsBigTitleButtons());
    EXPECT_FALSE(sizeable.provider->HasMenuLine());
    EXPECT_EQ(sizeable.provider->HasMenuBar(), 0);
    EXPECT_FALSE(sizeable.provider->HasSizeGrip());
    sizeable.provider->GripMode = gmRightBottom;
    EXPECT_TRUE(sizeable.provider->HasSizeGrip());
    dialog.provider->GripMode = gmRightBottom;
    EXPECT_FALSE(dialog.provider->HasSizeGrip()) << "no thick frame";
    EXPECT_EQ(sizeable.provider->GetExtBorderMargins().left, 0);
    // The client area where the system put it.
    POINT origin{0, 0};
    ClientToScreen(sizeable.Wnd(), &origin);
    RECT w{};
    GetWindowRect(sizeable.Wnd(), &w);
    EXPECT_EQ(sizeable.provider->ClientOffsetX(), origin.x - w.left);
    EXPECT_EQ(sizeable.provider->ClientOffsetY(), origin.y - w.top);
}

TEST_F(HelpersTest, TheTitleIconsSize) {
    struct Case {
        int caption, size;
    };
    for (const Case& c : {Case{-100, 1}, Case{8, 1}, Case{9, 8}, Case{12, 8}, Case{16, 8}, Case{17, 16}, Case{30, 16}})
        EXPECT_EQ(TitleIconSizeFor(c.caption), c.size) << c.caption;
    Form f, tool(bsToolWindow);
    const int size = TitleIconSizeFor(f.provider->CaptionHeight(true));
    EXPECT_EQ(f.provider->TitleIconWidth(), size);
    f.provider->TitleIcon()->Width = 24;
    EXPECT_EQ(f.provider->TitleIconWidth(), 24);
    EXPECT_EQ(f.provider->TitleIconHeight(), size);
    EXPECT_EQ(tool.provider->TitleIconWidth(), 0) << "a tool window shows no icon";
    f.provider->SetShowAppIcon(false);
    EXPECT_EQ(f.provider->TitleIconWidth(), 0);
}

// A glyph without alpha of its own: its key colour lets the background
// through, the rest is opaque; the form's icon without a glyph paints
// only the pixels it changes.
TEST_F(HelpersTest, TheTitleIconIsPaintedAtItsRectangle) {
    Form f;
    f.provider->TitleIcon()->Width = 16;
    f.provider->TitleIcon()->Height = 16;
    TBitmap glyph(16, 16);
    glyph.Pixels().Fill(0x00FF0000u);
    for (int x = 0; x < 16; ++x) glyph.Pixels().At(x, 0) = 0x00FF00FFu;
    f.provider->TitleIcon()->SetGlyph(&glyph);
    TBitmap canvas(300, 200);
    canvas.Pixels().Fill(0x00123456u);
    f.provider->PaintTitleIcon(canvas);
    const RECT r = f.provider->IconRect();
    EXPECT_EQ(r.right - r.left, 16);
    EXPECT_EQ(r.bottom - r.top, 16);
    EXPECT_EQ(canvas.Pixels().At(r.left + 8, r.top + 8), 0xFFFF0000u);
    EXPECT_EQ(canvas.Pixels().At(r.left + 8, r.top) & 0xFFFFFF, 0x123456u) << "the key colour shows the background";
    EXPECT_EQ(canvas.Pixels().At(r.right + 2, r.top + 8), 0x00123456u);

    f.provider->TitleIcon()->SetGlyph(nullptr);
    TBitmap plain(300, 200);
    plain.Pixels().Fill(0x00123456u);
    f.provider->PaintTitleIcon(plain);
    int changed = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const std::uint32_t p = plain.Pixels().At(x, y);
            if (p == 0x00123456u) continue;
            ++changed;
            EXPECT_EQ(p >> 24, 0xFFu) << x << "," << y;
        }
    EXPECT_GT(changed, 0) << "no icon was painted";
}

// ---------------------------------------------------------- composition

namespace {

struct SentAttribute {
    HWND Wnd;
    DWORD Attribute;
    DWORD Value;
    DWORD Size;
};

// Composition switched on through the seam, recording what is sent.
struct CompositionOn {
    std::vector<SentAttribute> Attributes;
    std::vector<DWM_BLURBEHIND> Blurs;
    std::vector<SIZE> Thumbnails;
    std::vector<SIZE> Previews;
    std::vector<DWORD> PreviewFlags;
    std::vector<std::uint32_t> ThumbnailFlags;
    HRESULT Answer = S_OK;
    CompositionOn() {
        auto& c = FormSkinning().Composition;
        c.IsCompositionEnabled = [] { return true; };
        c.SetWindowAttribute = [this](HWND w, DWORD a, const void* v, DWORD s) {
            Attributes.push_back({w, a, s == 4 ? *static_cast<const DWORD*>(v) : 0xFFFFFFFFu, s});
            return S_OK;
        };
        c.EnableBlurBehindWindow = [this](HWND, const void* b) {
            Blurs.push_back(*static_cast<const DWM_BLURBEHIND*>(b));
            return S_OK;
        };
        c.SetIconicThumbnail = [this](HWND, HBITMAP bmp, DWORD flags) {
            BITMAP info{};
            GetObjectA(bmp, sizeof info, &info);
            Thumbnails.push_back(SIZE{info.bmWidth, info.bmHeight});
            ThumbnailFlags.push_back(flags);
            return Answer;
        };
        c.SetIconicLivePreviewBitmap = [this](HWND, HBITMAP bmp, POINT*, DWORD flags) {
            BITMAP info{};
            GetObjectA(bmp, sizeof info, &info);
            Previews.push_back(SIZE{info.bmWidth, info.bmHeight});
            PreviewFlags.push_back(flags);
            return Answer;
        };
    }
    ~CompositionOn() { FormSkinning().Composition = DesktopCompositionCalls{}; }
};

}  // namespace

TEST_F(HelpersTest, WithoutCompositionEveryCallReportsUnavailable) {
    Form f;
    EXPECT_FALSE(IsDwmCompositionEnabled());
    const BOOL one = 1;
    // Under this system: no composition; the seam's own "unavailable".
    FormSkinning().Composition.SetWindowAttribute = [](HWND, DWORD, const void*, DWORD) { return E_NOTIMPL; };
    EXPECT_EQ(SetDwmWindowAttribute(f.Wnd(), DWMWA_TRANSITIONS_FORCEDISABLED, &one, sizeof one), E_NOTIMPL);
    FormSkinning().Composition.SetIconicThumbnail = [](HWND, HBITMAP, DWORD) { return E_NOTIMPL; };
    f.provider->PaintNonClientCache();
    EXPECT_FALSE(SetIconicThumbnail(f.Wnd(), f.provider, 200, 100));
    EXPECT_EQ(f.provider->FormState & 0x800, 0u);
    EXPECT_FALSE(f.provider->DwmAtCreate);
}

TEST_F(HelpersTest, TransitionsAndBlurAsTheyWouldBeSent) {
    Form f;
    CompositionOn dwm;
    SetDwmTransitionsDisabled(f.Wnd(), true);
    SetDwmTransitionsDisabled(f.Wnd(), false);
    ASSERT_EQ(dwm.Attributes.size(), 2u);
    EXPECT_EQ(dwm.Attributes[0].Attribute, 3u);
    EXPECT_EQ(dwm.Attributes[0].Value, 1u);
    EXPECT_EQ(dwm.Attributes[0].Size, 4u);
    EXPECT_EQ(dwm.Attributes[1].Value, 0u);
    HRGN region = CreateRectRgn(0, 0, 10, 10);
    EnableBlurBehind(f.Wnd(), true, region);
    EnableBlurBehind(f.Wnd(), false, nullptr);
    DeleteObject(region);
    ASSERT_EQ(dwm.Blurs.size(), 2u);
    EXPECT_EQ(dwm.Blurs[0].dwFlags, 3u);
    EXPECT_EQ(dwm.Blurs[0].fEnable, static_cast<BOOL>(-1));
    EXPECT_EQ(dwm.Blurs[1].dwFlags, 1u);
    EXPECT_EQ(dwm.Blurs[1].fEnable, 0);
    EXPECT_EQ(dwm.Blurs[1].fTransitionOnMaximized, 0);
}

// A skin applied switches the window's transitions off while the provider
// draws the frame; removed, back on.
TEST_F(HelpersTest, SkinChangesSetTheTransitionsThroughTheSeam) {
    Form f;
    CompositionOn dwm;
    auto* manager = new TsSkinManager(nullptr);
    AddInternalSkins(manager->Model().InternalSkins);
    manager->SetSkinName("Linen (internal)");
    ASSERT_FALSE(dwm.Attributes.empty());
    EXPECT_EQ(dwm.Attributes.back().Attribute, 3u);
    EXPECT_EQ(dwm.Attributes.back().Value, 1u);
    EXPECT_EQ(dwm.Attributes.back().Wnd, f.Wnd());
    manager->SetActive(false);
    EXPECT_EQ(dwm.Attributes.back().Value, 0u);
    manager->Free();
}

TEST_F(HelpersTest, ThumbnailSizesKeepTheAspectRatio) {
    struct Case {
        int w, h, maxW, maxH;
        LONG cx, cy;
    };
    for (const Case& c : {Case{400, 400, 200, 100, 100, 100}, Case{400, 200, 100, 200, 100, 50},
                          Case{300, 100, 200, 200, 200, 67}, Case{0, 100, 200, 200, 0, 0},
                          Case{100, 100, 0, 50, 0, 0}}) {
        const SIZE s = IconicThumbnailSize(c.w, c.h, c.maxW, c.maxH);
        EXPECT_EQ(s.cx, c.cx) << c.w << "x" << c.h;
        EXPECT_EQ(s.cy, c.cy) << c.w << "x" << c.h;
    }
}

TEST_F(HelpersTest, TaskBarPicturesAsTheyWouldBeHandedOver) {
    Form f;
    f.form->SetBounds(150, 120, 400, 400);
    CompositionOn dwm;
    EXPECT_FALSE(SetIconicThumbnail(f.Wnd(), f.provider, 200, 100)) << "declined without a picture";
    EXPECT_TRUE(dwm.Thumbnails.empty());
    f.provider->PaintNonClientCache();
    EXPECT_TRUE(SetIconicThumbnail(f.Wnd(), f.provider, 200, 100));
    // The cache, then the whole form image, at the same size.
    ASSERT_EQ(dwm.Thumbnails.size(), 2u);
    EXPECT_EQ(dwm.Thumbnails[0].cx, 100);
    EXPECT_EQ(dwm.Thumbnails[0].cy, 100);
    EXPECT_EQ(dwm.Thumbnails[1].cx, 100);
    EXPECT_EQ(dwm.ThumbnailFlags[0], 0u);
    EXPECT_EQ(f.provider->FormState & 0x800, 0u);
    EXPECT_FALSE(SetIconicThumbnail(f.Wnd(), f.provider, 0, 100)) << "declined at a zero size";

    EXPECT_TRUE(SetIconicLivePreview(f.Wnd(), f.provider));
    ASSERT_EQ(dwm.Previews.size(), 1u);
    EXPECT_EQ(dwm.Previews[0].cx, 400);
    EXPECT_EQ(dwm.PreviewFlags[0], static_cast<DWORD>(DWM_SIT_DISPLAYFRAME));
    dwm.Answer = E_FAIL;
    EXPECT_FALSE(SetIconicLivePreview(f.Wnd(), f.provider));
    EXPECT_FALSE(SetIconicThumbnail(f.Wnd(), f.provider, 200, 100));
    EXPECT_EQ(f.provider->FormState & 0x800, 0u);
}

namespace {

// The pixels of a bitmap handed to the shell, read back top-down.
std::vector<std::uint32_t> HandedPixels(HBITMAP bmp, SIZE& size) {
    BITMAP info{};
    GetObjectA(bmp, sizeof info, &info);
    size = SIZE{info.bmWidth, info.bmHeight};
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = info.bmWidth;
    bi.bmiHeader.biHeight = -info.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bmp, 0, info.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    return pixels;
}

std::vector<std::uint32_t> BufferPixels(PixelBuffer32& b) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < b.Height(); ++y) pixels.insert(pixels.end(), b.ScanLine(y), b.ScanLine(y) + b.Width());
    return pixels;
}

// What the shell was handed: the window asked for, the picture, its size.
struct Handed {
    HWND Wnd = nullptr;
    SIZE Size{};
    std::vector<std::uint32_t> Pixels;
};

// A skinned form whose pictures the shell receives through the seam.
struct PreviewedForm {
    TsSkinManager* Manager;
    std::unique_ptr<Form> F;
    std::vector<Handed> Thumbnails, Previews;
    HRESULT Answer = S_OK;
    PreviewedForm() {
        Manager = new TsSkinManager(nullptr);
        AddInternalSkins(Manager->Model().InternalSkins);
        Manager->SetSkinName("Linen (internal)");
        F = std::make_unique<Form>();
        F->form->SetBounds(150, 120, 320, 240);
        auto& c = FormSkinning().Composition;
        c.SetIconicThumbnail = [this](HWND w, HBITMAP bmp, DWORD) {
            Handed h;
            h.Wnd = w;
            h.Pixels = HandedPixels(bmp, h.Size);
            Thumbnails.push_back(std::move(h));
            return Answer;
        };
        c.SetIconicLivePreviewBitmap = [this](HWND w, HBITMAP bmp, POINT*, DWORD) {
            Handed h;
            h.Wnd = w;
            h.Pixels = HandedPixels(bmp, h.Size);
            Previews.push_back(std::move(h));
            return Answer;
        };
    }
    ~PreviewedForm() {
        TaskbarPreviews = false;
        F.reset();
        Manager->Free();
    }
    LRESULT Ask(UINT msg, int maxWidth, int maxHeight) {
        return SendMessageA(F->Wnd(), msg, 0, MAKELPARAM(maxHeight, maxWidth));
    }
};

}  // namespace

// The shell asks the form itself: with the previews off the system keeps
// its own picture; on, the form's look is handed over, at the size asked
// (the aspect kept) and, for the peek, pixel for pixel the form's picture.
TEST_F(HelpersTest, TheShellsRequestsForTaskBarPicturesAreAnswered) {
    PreviewedForm p;
    p.F->provider->PaintNonClientCache();
    EXPECT_FALSE(TaskbarPreviews) << "off as the program starts";
    p.Ask(WM_DWMSENDICONICTHUMBNAIL, 200, 200);
    p.Ask(WM_DWMSENDICONICLIVEPREVIEWBITMAP, 0, 0);
    EXPECT_TRUE(p.Thumbnails.empty());
    EXPECT_TRUE(p.Previews.empty());

    TaskbarPreviews = true;
    EXPECT_EQ(p.Ask(WM_DWMSENDICONICTHUMBNAIL, 160, 160), 1);
    ASSERT_FALSE(p.Thumbnails.empty());
    const Handed& thumb = p.Thumbnails.back();
    EXPECT_EQ(thumb.Wnd, p.F->Wnd());
    EXPECT_EQ(thumb.Size.cx, 160);
    EXPECT_EQ(thumb.Size.cy, 120);
    // The last one handed over is the whole form's picture, resampled.
    std::unique_ptr<TBitmap> whole = p.F->provider->MakeFormImage();
    ASSERT_TRUE(whole);
    TBitmap expected(160, 120);
    ResampleBitmap(whole->Pixels(), 160, 120, 0, expected.Pixels());
    EXPECT_EQ(thumb.Pixels, BufferPixels(expected.Pixels()));
    const size_t thumbs = p.Thumbnails.size();
    EXPECT_EQ(p.Ask(WM_DWMSENDICONICTHUMBNAIL, 0, 160), 0) << "nothing asked, nothing made";
    EXPECT_EQ(p.Thumbnails.size(), thumbs);

    EXPECT_EQ(p.Ask(WM_DWMSENDICONICLIVEPREVIEWBITMAP, 0, 0), 1);
    ASSERT_EQ(p.Previews.size(), 1u);
    EXPECT_EQ(p.Previews[0].Wnd, p.F->Wnd());
    EXPECT_EQ(p.Previews[0].Size.cx, whole->Width());
    EXPECT_EQ(p.Previews[0].Size.cy, whole->Height());
    EXPECT_EQ(p.Previews[0].Pixels, BufferPixels(whole->Pixels()));
    EXPECT_EQ(p.F->provider->FormState & 0x800, 0u);
}

// Without the system's entry (the seam's "unavailable") nothing is taken
// and no flag stays set; the system's own entries (which this one has as
// stubs that take the picture) are reached without harm.
TEST_F(HelpersTest, TaskBarPicturesWithoutTheSystemsEntryDoNothing) {
    PreviewedForm p;
    p.F->provider->PaintNonClientCache();
    TaskbarPreviews = true;
    p.Answer = E_NOTIMPL;
    EXPECT_EQ(p.Ask(WM_DWMSENDICONICTHUMBNAIL, 160, 160), 0);
    EXPECT_EQ(p.Ask(WM_DWMSENDICONICLIVEPREVIEWBITMAP, 0, 0), 0);
    EXPECT_EQ(p.Thumbnails.size(), 1u) << "the first refusal ends it";
    EXPECT_EQ(p.F->provider->FormState & 0x800, 0u);
    FormSkinning().Composition = DesktopCompositionCalls{};
    p.Ask(WM_DWMSENDICONICTHUMBNAIL, 160, 160);
    p.Ask(WM_DWMSENDICONICLIVEPREVIEWBITMAP, 0, 0);
    EXPECT_EQ(p.F->provider->FormState & 0x800, 0u);
    EXPECT_TRUE(IsWindow(p.F->Wnd()));
}

// The application window's button shows the main form's look; without
// the previews, or without a main form, the system's.
TEST_F(HelpersTest, TheApplicationWindowsPicturesAreTheMainForms) {
    PreviewedForm p;
    TMessage thumb{WM_DWMSENDICONICTHUMBNAIL, 0, MAKELPARAM(100, 100), 0};
    TMessage peek{WM_DWMSENDICONICLIVEPREVIEWBITMAP, 0, 0, 0};
    TaskbarPreviews = true;
    ASSERT_EQ(Application()->MainForm(), nullptr);
    EXPECT_FALSE(p.Manager->ApplicationWindowHook(thumb)) << "no main form";
    TForm* main = nullptr;
    Application()->CreateForm(main);
    TScopeExit freeMain([main] { main->Free(); });
    auto* provider = new TsSkinProvider(main);
    main->SetBounds(100, 100, 320, 240);
    main->Show();
    provider->PaintNonClientCache();
    TaskbarPreviews = false;
    EXPECT_FALSE(p.Manager->ApplicationWindowHook(thumb)) << "previews off";
    EXPECT_TRUE(p.Thumbnails.empty());
    TaskbarPreviews = true;
    EXPECT_TRUE(p.Manager->ApplicationWindowHook(thumb));
    EXPECT_EQ(thumb.Result, 1);
    EXPECT_TRUE(p.Manager->ApplicationWindowHook(peek));
    EXPECT_EQ(peek.Result, 1);
    ASSERT_FALSE(p.Thumbnails.empty());
    ASSERT_EQ(p.Previews.size(), 1u);
    EXPECT_EQ(p.Thumbnails.back().Wnd, Application()->Handle());
    EXPECT_EQ(p.Thumbnails.back().Size.cx, 100);
    EXPECT_EQ(p.Thumbnails.back().Size.cy, 75);
    EXPECT_EQ(p.Previews[0].Wnd, Application()->Handle());
    EXPECT_EQ(p.Previews[0].Size.cx, 320);
}

// The window tells the shell it brings its own pictures only with the
// previews on.
TEST_F(HelpersTest, IconicBitmapModeFollowsTheSwitch) {
    Form f;
    CompositionOn dwm;
    int invalidated = 0;
    FormSkinning().Composition.InvalidateIconicBitmaps = [&](HWND) {
        ++invalidated;
        return S_OK;
    };
    SetIconicBitmapMode(f.Wnd(), true);
    EXPECT_TRUE(dwm.Attributes.empty());
    EXPECT_EQ(invalidated, 0);
    TaskbarPreviews = true;
    SetIconicBitmapMode(f.Wnd(), true);
    SetIconicBitmapMode(f.Wnd(), false);
    TaskbarPreviews = false;
    ASSERT_EQ(dwm.Attributes.size(), 4u);
    struct Expected {
        DWORD Attribute, Value;
    };
    const Expected expected[] = {{DWMWA_HAS_ICONIC_BITMAP, 1}, {DWMWA_FORCE_ICONIC_REPRESENTATION, 1},
                                 {DWMWA_HAS_ICONIC_BITMAP, 0}, {DWMWA_FORCE_ICONIC_REPRESENTATION, 0}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(dwm.Attributes[i].Attribute, expected[i].Attribute) << i;
        EXPECT_EQ(dwm.Attributes[i].Value, expected[i].Value) << i;
        EXPECT_EQ(dwm.Attributes[i].Size, 4u) << i;
    }
    EXPECT_EQ(invalidated, 2);
}

// -------------------------------------------------------- layered windows

// Mend: the snapshot is the window's own image, printed by the window
// now: where another window covers it (the screen under it is the other
// window's), and where what its DC holds is out of date (its colour
// changed, not yet repainted), a copy from the DC would be wrong.
TEST_F(HelpersTest, TheSnapshotOfACoveredWindowShowsTheWindowsOwnPixels) {
    Form f(bsNone, true, 0x0000FF00);
    Form cover(bsNone, true, 0x000000FF);
    cover.form->SetBounds(150, 120, 300, 200);
    SetWindowPos(cover.Wnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    kova::test::PumpFor(100);
    f.form->SetColor(0x00336699);
    LayeredRecorder rec;
    TForm* snapshot = ShowWindowSnapshotForm(f.Wnd());
    ASSERT_NE(snapshot, nullptr);
    EXPECT_EQ(snapshot->Tag(), kSkinOwnWindowTag);
    EXPECT_TRUE(IsWindowVisible(snapshot->Handle()));
    EXPECT_NE(GetWindowLongPtrA(snapshot->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_NE(GetWindowLongPtrA(snapshot->Handle(), GWL_EXSTYLE) & WS_EX_NOACTIVATE, 0);
    ASSERT_EQ(rec.Calls.size(), 1u);
    const LayeredCall& c = rec.Calls[0];
    EXPECT_EQ(c.Alpha, 255);
    EXPECT_EQ(c.Size.cx, 300);
    EXPECT_EQ(c.Size.cy, 200);
    EXPECT_EQ(c.Pos.x, 150);
    EXPECT_EQ(c.Picture.At(150, 100), 0xFF996633u) << "not the window's own image as it is now";
    snapshot->Free();
}

TEST_F(HelpersTest, MakingAWindowTransparent) {
    Form f;
    ASSERT_TRUE(LayeredWindowsAvailable());
    EXPECT_TRUE(MakeWindowTransparent(f.Wnd(), true));
    EXPECT_NE(GetWindowLongPtrA(f.Wnd(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_FALSE(MakeWindowTransparent(f.Wnd(), true)) << "already layered";
    EXPECT_FALSE(MakeWindowTransparent(f.Wnd(), false));
    EXPECT_EQ(GetWindowLongPtrA(f.Wnd(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_EQ(GetWindowLongPtrA(f.Wnd(), GWL_STYLE) & WS_VISIBLE, 0);
    ShowWindow(f.Wnd(), SW_HIDE);
}

// ------------------------------------------------------ the data objects

TEST_F(HelpersTest, TitleButtonsAndTheAddedTitleAsData) {
    Form f;
    TsTitleButton* b = f.provider->TitleButtons()->Add();
    EXPECT_EQ(b->Name(), "TsTitleButton");
    EXPECT_TRUE(b->Enabled);
    EXPECT_TRUE(b->Visible());
    EXPECT_TRUE(b->UseSkinData);
    EXPECT_EQ(b->Collection(), f.provider->TitleButtons());
    TsTitleButton other;
    other.SetName("Pin");
    other.Hint = "Keep on top";
    other.Enabled = false;
    other.UseSkinData = false;
    other.SetVisible(false);
    TBitmap glyph(40, 16);
    other.SetGlyph(&glyph);
    int downs = 0;
    other.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    ASSERT_TRUE(b->Assign(&other));
    EXPECT_EQ(b->Name(), "Pin");
    EXPECT_EQ(b->Hint, "Keep on top");
    EXPECT_FALSE(b->Enabled);
    EXPECT_FALSE(b->UseSkinData);
    EXPECT_EQ(b->Glyph()->Width(), 40);
    EXPECT_TRUE(b->Visible()) << "Visible is not copied";
    b->OnMouseDown(b, mbLeft, 0, 0, 0);
    EXPECT_EQ(downs, 1);
    EXPECT_FALSE(b->Assign(nullptr));

    TacAddedTitle* title = f.provider->AddedTitle();
    title->SetText("Table 4");
    title->SetShowMainCaption(false);
    EXPECT_EQ(title->Text(), "Table 4");
    EXPECT_FALSE(title->ShowMainCaption());
    TFont font;
    font.SetColor(0x0000FF);
    title->SetFont(&font);
    EXPECT_EQ(title->Font()->Color(), 0x0000FF);
}

TEST_F(HelpersTest, TheSystemMenusQueries) {
    struct Case {
        TFormBorderStyle style;
        bool visibleMin, visibleMax, enabledMax;
    };
    for (const Case& c : {Case{bsSizeable, true, true, true}, Case{bsSingle, true, true, true},
                          Case{bsDialog, false, false, false}, Case{bsToolWindow, false, false, false}}) {
        SCOPED_TRACE(c.style);
        Form f(c.style);
        auto* menu = new TsSystemMenu(f.provider);
        EXPECT_EQ(menu->Form, f.form);
        EXPECT_EQ(menu->VisibleMin(), c.visibleMin);
        EXPECT_EQ(menu->VisibleMax(), c.visibleMax);
        EXPECT_EQ(menu->EnabledMax(), c.enabledMax);
        EXPECT_TRUE(menu->EnabledMin());
        EXPECT_FALSE(menu->EnabledRestore());
        EXPECT_TRUE(menu->VisibleClose());
    }
}

}  // namespace kova::skin::test
