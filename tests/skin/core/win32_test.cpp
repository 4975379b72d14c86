// Win32 half of the skin engine core: message box (through its seam, never a
// real modal box), system queries and device-context routines.
#include <gtest/gtest.h>

#include "framework/dialogs.h"
#include "framework/forms.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/msgbox.h"
#include "skin/core/skinservices.h"
#include "skin/core/skinstate.h"
#include "skin/core/sysentries.h"
#include "skin/core/sysutils.h"

namespace kova::skin {
namespace {

// Skin message boxes go through the framework's dialog seam: the responder
// that answers every other box answers them too.
class MsgBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDialogResponder([this](const TDialogRequest& r) {
            seen = r;
            posDuring = {DialogPosX, DialogPosY};
            TDialogAnswer a;
            a.result = mrYes;
            return a;
        });
        MsgBoxApp().ModalStarted = [this] { ++started; };
        MsgBoxApp().ModalFinished = [this] { ++finished; };
    }
    void TearDown() override {
        SetDialogResponder(nullptr);
        MsgBoxApp() = MsgBoxApplication{};
    }
    TDialogRequest seen;
    POINT posDuring{};
    int started = 0, finished = 0;
};

TEST_F(MsgBoxTest, ShowsThroughTheFrameworkSeam) {
    EXPECT_EQ(ShowMsgBox("Save changes?", mtConfirmation, mbYes | mbNo | mbCancel, 12), mrYes);
    EXPECT_EQ(seen.kind, TDialogKind::Message);
    EXPECT_EQ(seen.text, "Save changes?");
    EXPECT_EQ(seen.caption, "Confirm");
    EXPECT_EQ(seen.type, mtConfirmation);
    EXPECT_EQ(seen.buttons, static_cast<std::uint32_t>(mbYes | mbNo | mbCancel));
    EXPECT_EQ(seen.helpContext, 12);
    EXPECT_EQ(started, 1);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(posDuring.x, -1);
}

TEST_F(MsgBoxTest, PositionAndCaptionAndReset) {
    ShowMsgBoxAt("Mine", "m", 9, 100, 200, 0, 0);
    EXPECT_EQ(seen.caption, "Mine");
    EXPECT_EQ(seen.type, mtCustom);  // an unknown type shows no icon
    EXPECT_EQ(posDuring.x, 100);
    EXPECT_EQ(posDuring.y, 200);
    EXPECT_EQ(DialogPosX, -1);
    EXPECT_EQ(DialogPosY, -1);
    ShowMsgBoxAt(nullptr, "m", 9, 1, 2, 0, 0);
    EXPECT_EQ(seen.caption, "");
    EXPECT_EQ(ErrorMessageBox("bad"), mrYes);
    EXPECT_EQ(seen.caption, "Error");
    EXPECT_EQ(seen.type, mtError);
    EXPECT_EQ(seen.buttons, static_cast<std::uint32_t>(mbOK));
}

TEST(SysUtils, Queries) {
    InitSkinUtilities();
    EXPECT_TRUE(IsWindowsXPOrLater());
    EXPECT_FALSE(WowWithoutDwm && !IsWow64());
    const std::string folder = AppFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_TRUE(TGdiObject<HFONT>(CreateCaptionFont()));
    EXPECT_EQ(GetFileIcon(folder + "no-such-file.xyz", 0), nullptr);
    WaitWithMessages(5);
}

TEST(DcRoutines, DibFillAndRegion) {
    PixelBuffer32 px;
    TGdiObject<HBITMAP> bmp = CreateDib32(8, 4, px);
    ASSERT_TRUE(bmp);
    ASSERT_EQ(px.Width(), 8);
    TMemoryDC memory(nullptr);
    TSelection selected(memory.Get(), bmp.Get());
    const HDC dc = memory.Get();
    const RECT r{1, 1, 3, 2};
    FillRectSolid(dc, r, 0x0000FF);
    GdiFlush();
    EXPECT_EQ(px.At(1, 1) & 0xFFFFFF, 0xFF0000u);  // red, as a BGRA pixel
    EXPECT_EQ(px.At(0, 0), 0u);
    FillRectSolid(dc, RECT{0, 3, 1, 4}, 0xFF00000F);  // clBtnFace: the system colour
    GdiFlush();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(px.At(0, 3) & 0xFFFFFF, static_cast<std::uint32_t>((GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face)));

    PixelBuffer32 opaque(5, 3);
    TGdiObject<HRGN> full = MakeRegionFromBitmap(opaque, 0xFF00FF);
    RECT box;
    EXPECT_EQ(GetRgnBox(full.Get(), &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 5);
    opaque.Fill(0x80FF00FFu);
    TGdiObject<HRGN> empty = MakeRegionFromBitmap(opaque, 0xFF00FF);
    EXPECT_EQ(GetRgnBox(empty.Get(), &box), NULLREGION);

    // A shaped bitmap: a two-pixel hole, a transparent last row, and a
    // key pixel whose alpha differs (colour bits alone count).
    PixelBuffer32 shaped(6, 4);
    shaped.Fill(0xFF102030u);
    shaped.At(2, 1) = 0xFFFF00FFu;
    shaped.At(3, 1) = 0x00FF00FFu;
    for (int x = 0; x < 6; ++x) shaped.At(x, 3) = 0xFFFF00FFu;
    TGdiObject<HRGN> shape = MakeRegionFromBitmap(shaped, 0xFF00FF);
    EXPECT_EQ(GetRgnBox(shape.Get(), &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 6);
    EXPECT_EQ(box.bottom, 3);
    struct Probe {
        int x, y;
        bool inside;
    };
    for (const Probe p : {Probe{1, 1, true}, Probe{2, 1, false}, Probe{3, 1, false}, Probe{4, 1, true},
                          Probe{5, 2, true}, Probe{0, 3, false}}) {
        SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
        EXPECT_EQ(PtInRegion(shape.Get(), p.x, p.y) != 0, p.inside);
    }
}

TEST(DcRoutines, FocusDotsEveryThirdPixelAlternating) {
    PixelBuffer32 px;
    TGdiObject<HBITMAP> bmp = CreateDib32(10, 6, px);
    ASSERT_TRUE(bmp);
    TMemoryDC memory(nullptr);
    TSelection selected(memory.Get(), bmp.Get());
    DrawFocusDots(memory.Get(), RECT{0, 0, 10, 6}, 0x0000FF, 0xFF0000);
    GdiFlush();
    const std::uint32_t red = 0xFF0000u, blue = 0x0000FFu;
    // Clockwise from the top-left corner: dots 0, 3, 6, 9 of the top edge
    // in the first, second, first, second colour.
    EXPECT_EQ(px.At(0, 0) & 0xFFFFFF, red);
    EXPECT_EQ(px.At(1, 0), 0u);
    EXPECT_EQ(px.At(3, 0) & 0xFFFFFF, blue);
    EXPECT_EQ(px.At(6, 0) & 0xFFFFFF, red);
    EXPECT_EQ(px.At(9, 0) & 0xFFFFFF, blue);
    // The right edge continues the count: pixel 12 of the walk is (9, 3).
    EXPECT_EQ(px.At(9, 3) & 0xFFFFFF, red);
    EXPECT_EQ(px.At(5, 3), 0u) << "inside stays clear";
    int dots = 0;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) dots += px.At(x, y) != 0;
    EXPECT_EQ(dots, 10) << "a third of the 28 perimeter pixels, rounded up";
}

TEST(DcRoutines, LayeredFunctionsFound) {
    EXPECT_TRUE(LayeredWindowsAvailable());
    EXPECT_NE(SystemEntries().SetLayeredWindowAttributes, nullptr);
}

}  // namespace
}  // namespace kova::skin

#include "skin/core/pngicons.h"
#include "skin/core/portable/pngbuilder.h"

namespace kova::skin {
namespace {

// Reads the mask of an icon as one bool per pixel (true = transparent).
std::vector<bool> IconMask(HICON icon, int w, int h) {
    ICONINFO info{};
    EXPECT_TRUE(GetIconInfo(icon, &info));
    std::vector<bool> out;
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD c[2];
    } bi{};
    bi.h.biSize = sizeof bi.h;
    bi.h.biWidth = w;
    bi.h.biHeight = -h;
    bi.h.biPlanes = 1;
    bi.h.biBitCount = 32;
    // The icon's copies of its bitmaps are ours to delete.
    const TGdiObject<HBITMAP> mask(info.hbmMask), colour(info.hbmColor);
    std::vector<std::uint32_t> px(static_cast<std::size_t>(w * h));
    GetDIBits(TWindowDC(nullptr).Get(), mask.Get(), 0, h, px.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
    for (auto v : px) out.push_back((v & 0xFFFFFF) != 0);
    return out;
}

TPNGGraphic RgbPicture(const test::Bytes& rgbRow) {
    const test::Bytes png = test::PngBuilder().Ihdr(static_cast<std::uint32_t>(rgbRow.size() / 3), 1, 8, 2)
                                .Idat([&] { test::Bytes r{0}; r.insert(r.end(), rgbRow.begin(), rgbRow.end()); return r; }())
                                .Iend().Build();
    TMemoryStream in(png);
    TPNGGraphic pic;
    pic.LoadFromStream(in);
    return pic;
}

TEST(PngIcons, MaskIconHidesTheCornerColour) {
    const TPNGGraphic pic = RgbPicture({1, 2, 3, 9, 9, 9, 1, 2, 3});
    TIconHandle icon = MakeMaskIcon(pic, false);
    ASSERT_TRUE(icon);
    EXPECT_EQ(IconMask(icon.Get(), 3, 1), (std::vector<bool>{true, false, true}));
}

TEST(PngIcons, AlphaIconHidesMagentaOfOpaquePictures) {
    const TPNGGraphic pic = RgbPicture({255, 0, 255, 9, 9, 9});
    TIconHandle icon = MakeAlphaIcon(pic, 0xFFFFFF);
    ASSERT_TRUE(icon);
    EXPECT_EQ(IconMask(icon.Get(), 2, 1), (std::vector<bool>{true, false}));
    const test::Bytes rgba = test::PngBuilder().Ihdr(2, 1, 8, 6).Idat({0, 1, 2, 3, 0, 4, 5, 6, 200}).Iend().Build();
    TMemoryStream in(rgba);
    TPNGGraphic pic2;
    pic2.LoadFromStream(in);
    TIconHandle icon2 = MakeAlphaIcon(pic2, 0);
    ASSERT_TRUE(icon2);
    EXPECT_EQ(IconMask(icon2.Get(), 2, 1), (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace kova::skin

namespace kova::skin {
namespace {

struct DibDC {
    PixelBuffer32 px;
    TGdiObject<HBITMAP> bmp;
    TMemoryDC memory;
    TSelection selected;
    HDC dc;
    DibDC(int w, int h)
        : bmp(CreateDib32(w, h, px)), memory(nullptr), selected(memory.Get(), bmp.Get()), dc(memory.Get()) {}
    std::uint32_t At(int x, int y) {
        GdiFlush();
        return px.At(x, y) & 0xFFFFFF;
    }
};

TEST(DcRoutines, BorderStripsAndBevel) {
    DibDC d(6, 5);
    FillBorderStrips(d.dc, RECT{0, 0, 6, 5}, 1, 1, 2, 1, 0x00FF00);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool frame = y == 0 || y == 4 || x == 0 || x >= 4;
            EXPECT_EQ(d.At(x, y), frame ? 0x00FF00u : 0u) << x << "," << y;
        }
    DibDC src(6, 5), dst(6, 5);
    FillRectSolid(src.dc, RECT{0, 0, 6, 5}, 0xFF0000);
    CopyBorderStrips(dst.dc, 0, 0, 6, 5, src.dc, 0, 0, 1);
    EXPECT_EQ(dst.At(0, 2), 0x0000FFu);
    EXPECT_EQ(dst.At(5, 4), 0x0000FFu);
    EXPECT_EQ(dst.At(2, 2), 0u);
    DibDC b(4, 4);
    DrawBevelFrame(b.dc, RECT{0, 0, 4, 4}, 1, 0xFFFFFF, 0x000080);
    EXPECT_EQ(b.At(0, 0), 0xFFFFFFu);   // light top-left
    EXPECT_EQ(b.At(3, 3), 0x800000u);   // dark bottom-right (BGRA pixel of 0x000080)
    EXPECT_EQ(b.At(1, 1), 0u);
}

}  // namespace
}  // namespace kova::skin

namespace kova::skin {
namespace {

// The core's shared state: one reset makes it as the program starts, and a
// hook left installed goes with it.
TEST(SkinState, OneResetMakesTheCoreFreshAndRemovesTheThreadHook) {
    ASSERT_EQ(DefaultManager, nullptr) << "another test left its manager";
    const HHOOK hook = SetWindowsHookExA(WH_CBT, PassOnDialogHook, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    SkinState.ThreadHook.Reset(hook);
    SkinChanging = SkinEdited = true;
    FormAnimating = 1;
    ReleaseHiddenCaches = false;
    SkinState.PaintingSuspended = 2;
    DialogPosX = 10;
    DialogPosY = 20;
    PreviewWindow = GetDesktopWindow();
    PreviewMode = true;
    // The names reach the one object.
    EXPECT_TRUE(SkinState.SkinChanging && SkinState.SkinEdited && SkinState.FormAnimating);
    EXPECT_EQ(SkinState.DialogPosX, 10);

    ResetSkinState();
    EXPECT_FALSE(SkinState.ThreadHook);
    EXPECT_FALSE(UnhookWindowsHookEx(hook)) << "the reset removed the hook";
    EXPECT_FALSE(SkinChanging || SkinEdited || FormAnimating);
    EXPECT_TRUE(ReleaseHiddenCaches);
    EXPECT_EQ(SkinState.PaintingSuspended, 0);
    EXPECT_EQ(DialogPosX, -1);
    EXPECT_EQ(DialogPosY, -1);
    EXPECT_EQ(PreviewWindow, nullptr);
    EXPECT_TRUE(SkinnedForms().empty());
    EXPECT_TRUE(DialogProviders().empty());
    EXPECT_FALSE(PreviewMode);
}

TEST(SkinServices, OneResetPutsEveryDefaultBack) {
    int freed = 0;
    FormSkinning().Composition.IsCompositionEnabled = [] { return true; };
    FormSkinning().FreeMenuWndAdapters = [&] { ++freed; };
    MsgBoxApp().ModalStarted = [] {};
    AnimationOutput().Sleep = [](DWORD) {};
    EXPECT_TRUE(DwmCompositionEnabled());
    ResetSkinServices();
    EXPECT_FALSE(FormSkinning().Composition.IsCompositionEnabled);
    EXPECT_FALSE(FormSkinning().FreeMenuWndAdapters);
    EXPECT_EQ(FormSkinning().DialogHookProc, &PassOnDialogHook);
    EXPECT_FALSE(MsgBoxApp().ModalStarted);
    EXPECT_FALSE(AnimationOutput().Sleep);
    EXPECT_EQ(freed, 0);
}

// The optional entry points come from one table, filled once; the ones
// every supported system has are there.
TEST(SystemEntries, OneTableOfTheOptionalEntryPoints) {
    const TSystemEntries& e = SystemEntries();
    EXPECT_EQ(&e, &SystemEntries());
    EXPECT_NE(e.UpdateLayeredWindow, nullptr);
    EXPECT_NE(e.SetLayeredWindowAttributes, nullptr);
    EXPECT_NE(e.GetScrollBarInfo, nullptr);
    EXPECT_NE(e.SetWindowTheme, nullptr);
    EXPECT_NE(e.IsAppThemed, nullptr);
    EXPECT_NE(e.GradientFill, nullptr);
    EXPECT_NE(e.InitializeFlatSB, nullptr);
    EXPECT_NE(e.UninitializeFlatSB, nullptr);
    EXPECT_NE(e.IsDebuggerPresent, nullptr);
    EXPECT_TRUE(LayeredWindowsAvailable());
    // The system's own entry, not a copy of another.
    EXPECT_EQ(reinterpret_cast<void*>(e.UpdateLayeredWindow),
              reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "UpdateLayeredWindow")));
}

// The gradient and composition entries load their library on their first
// call and then do the system's work.
TEST(SystemEntries, TheEntriesLoadedOnFirstCallDoTheSystemsWork) {
    const TSystemEntries& e = SystemEntries();
    ASSERT_NE(e.GradientFill, nullptr);
    TWindowDC screen(nullptr);
    TMemoryDC dc(screen.Get());
    TGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), 8, 1));
    TSelection selected(dc.Get(), bitmap.Get());
    TRIVERTEX ends[2] = {{0, 0, 0xFF00, 0, 0, 0}, {8, 1, 0, 0, 0xFF00, 0}};
    GRADIENT_RECT rect{0, 1};
    EXPECT_TRUE(e.GradientFill(dc.Get(), ends, 2, &rect, 1, GRADIENT_FILL_RECT_H));
    const COLORREF left = GetPixel(dc.Get(), 0, 0), right = GetPixel(dc.Get(), 7, 0);
    EXPECT_GT(GetRValue(left), GetBValue(left));
    EXPECT_GT(GetBValue(right), GetRValue(right));
    EXPECT_NE(GetModuleHandleA("msimg32.dll"), nullptr);

    BOOL composition = TRUE;
    ASSERT_NE(e.DwmIsCompositionEnabled, nullptr);
    const HRESULT answer = e.DwmIsCompositionEnabled(&composition);
    EXPECT_TRUE(SUCCEEDED(answer) || answer == E_NOTIMPL) << answer;
}

}  // namespace
}  // namespace kova::skin
