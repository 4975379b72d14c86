// Button-family and static adapters on real native windows under a shown
// top-level window, with the test skin's plain colours: the look in each
// state is read back from the screen, with the states driven as a user
// drives them (the mouse moved and pressed by SendInput, the focus, the
// window disabled).
#include "skin/controls/btnwnd.h"
#include "skin/controls/combownd.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "../core/handlecheck.h"
#include "skinnedwindows.h"
#include "common/testdata.h"
#include "common/win32_testing.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "framework/subclass.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"

namespace kova::skin::test {
namespace {

using kova::test::PumpFor;
using kova::test::PumpMessages;
using kova::test::WaitUntil;

constexpr COLORREF kButton = RGB(200, 0, 0);
constexpr COLORREF kButtonHot = RGB(0, 200, 0);
constexpr COLORREF kCheck = RGB(0, 0, 200);
constexpr COLORREF kCheckHot = RGB(200, 200, 0);
constexpr COLORREF kGroup = RGB(0, 120, 120);
constexpr COLORREF kGlobal = RGB(192, 192, 192);

bool Near(COLORREF a, COLORREF b, int tolerance = 3) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string Hex(COLORREF c) {
    char s[16];
    snprintf(s, sizeof s, "%06lX", static_cast<unsigned long>(c));
    return s;
}

void MouseTo(POINT p) { EXPECT_TRUE(kova::test::MouseMove(p)); }

class ButtonAdapterTest : public ::testing::Test {
protected:
    void SetUp() override {
        handles_ = LiveHandleCounts();
        manager = new TsSkinManager(nullptr);
        manager->Model().LoadFolder(kova::test::SourcePath("tests/skin/fixtures/btnskin"));
        ASSERT_TRUE(manager->Model().SectionIndexValid(manager->Model().IndexOfSection("BUTTON")));
        host = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "host", WS_POPUP | WS_VISIBLE, 60, 60, 420, 300, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(host, nullptr);
        // Shown and active before anything is read from the screen or
        // focused inside it.
        SetForegroundWindow(host);
        WaitUntil(
            [&] {
                PumpMessages();
                return GetForegroundWindow() == host;
            },
            2000);
        PumpFor(100);
        // Away from every control.
        MouseTo(POINT{700, 500});
    }
    void TearDown() override {
        adapter.reset();
        for (HWND w : windows)
            if (IsWindow(w)) DestroyWindow(w);
        DestroyWindow(host);
        PumpMessages();
        manager->Free();
        EXPECT_EQ(TransientHandlesChanged(handles_), "");
    }

    HWND Make(const char* cls, const char* text, DWORD style, int x, int y, int w, int h) {
        HWND wnd = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, host, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        windows.push_back(wnd);
        return wnd;
    }
    template <class T>
    void Attach(HWND wnd) {
        adapter = CreateAdapter<T>(wnd, nullptr, manager, "");
        Repaint(wnd);
    }
    static void Repaint(HWND wnd) {
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ERASE);
        PumpFor(40);
    }
    // A pixel of the window, read from the screen.
    static COLORREF ScreenPixel(HWND wnd, int x, int y) {
        POINT p{x, y};
        ClientToScreen(wnd, &p);
        HDC dc = GetDC(nullptr);
        const COLORREF c = GetPixel(dc, p.x, p.y);
        ReleaseDC(nullptr, dc);
        return c;
    }
    // The pixel the window paints into a memory DC on WM_PRINT.
    static COLORREF PrintedPixel(HWND wnd, int x, int y) { return TPrinted(wnd).At(x, y); }
    // The look a pixel settles to: the mouse leaving a window is told by
    // the system's tracking timer, a while after the move.
    static COLORREF SettledPixel(HWND wnd, int x, int y, COLORREF expected) {
        WaitUntil([&] { return Near(ScreenPixel(wnd, x, y), expected); }, 1500);
        return ScreenPixel(wnd, x, y);
    }
    static POINT Centre(HWND wnd) {
        RECT r{};
        GetWindowRect(wnd, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    THandleCounts handles_{};
    TsSkinManager* manager = nullptr;
    HWND host = nullptr;
    std::vector<HWND> windows;
    std::unique_ptr<TacMainWnd> adapter;
};

// Each state of a push button as a user makes it, and the section's look
// the skin gives that state (pixel at the button's left edge, away from
// the caption).
TEST_F(ButtonAdapterTest, PushButtonPaintsEveryStateFromTheSkin) {
    struct Case {
        const char* Name;
        std::function<void(HWND)> Drive;
        std::function<void(HWND)> Undo;
        COLORREF Expected;
        int Pushed;  // BST_PUSHED expected
    };
    HWND other = Make("BUTTON", "other", BS_PUSHBUTTON, 300, 200, 80, 30);
    const Case cases[] = {
        {"normal", [](HWND) {}, [](HWND) {}, kButton, 0},
        {"hot", [](HWND w) { MouseTo(Centre(w)); }, [](HWND) { MouseTo(POINT{700, 500}); }, kButtonHot, 0},
        {"pressed",
         [](HWND w) {
             MouseTo(Centre(w));
             EXPECT_TRUE(kova::test::MouseDown(Centre(w)));
         },
         [other](HWND) {
             MouseTo(POINT{700, 500});
             EXPECT_TRUE(kova::test::MouseUp(POINT{700, 500}));
             // The press gave it the focus, which is the hot look too.
             SetFocus(other);
         },
         kButtonHot, 1},
        {"focused", [](HWND w) { SetFocus(w); }, [other](HWND) { SetFocus(other); }, kButtonHot, 0},
    };
    HWND wnd = Make("BUTTON", "Press me", BS_PUSHBUTTON, 20, 20, 120, 40);
    SetFocus(other);
    Attach<TacBtnWnd>(wnd);
    EXPECT_EQ(adapter->CommonData->SkinSection(), "BUTTON");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        c.Drive(wnd);
        PumpFor(60);
        EXPECT_EQ((SendMessageA(wnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0, c.Pushed != 0);
        const COLORREF got = SettledPixel(wnd, 3, 20, c.Expected);
        EXPECT_TRUE(Near(got, c.Expected)) << Hex(got) << " want " << Hex(c.Expected);
        // WM_PRINT paints the same into the DC it is given.
        const COLORREF printed = PrintedPixel(wnd, 3, 20);
        EXPECT_TRUE(Near(printed, c.Expected)) << Hex(printed);
        c.Undo(wnd);
        const COLORREF back = SettledPixel(wnd, 3, 20, kButton);
        EXPECT_TRUE(Near(back, kButton)) << "after: " << Hex(back) << " hot " << (manager->HotControl() == wnd)
                                         << " above " << adapter->CommonData->MouseAbove << " focus "
                                         << (GetFocus() == wnd);
    }
    // Disabled: the normal look faded 0.4 toward what lies under it.
    EnableWindow(wnd, FALSE);
    PumpFor(60);
    const COLORREF disabled = ScreenPixel(wnd, 3, 20);
    // The host does not know the skin: what lies under it is the skin's
    // GLOBALINFO colour.
    const COLORREF under = kGlobal;
    EXPECT_FALSE(Near(disabled, kButton)) << Hex(disabled);
    EXPECT_TRUE(Near(disabled, RGB((200 * 4 + GetRValue(under) * 6) / 10, GetGValue(under) * 6 / 10,
                                   GetBValue(under) * 6 / 10),
                     8))
        << Hex(disabled) << " under " << Hex(under);
    // The caption is painted in the section's white font colour.
    EnableWindow(wnd, TRUE);
    PumpFor(60);
    bool white = false;
    for (int x = 30; x < 90 && !white; ++x)
        for (int y = 12; y < 28 && !white; ++y) white = Near(ScreenPixel(wnd, x, y), RGB(255, 255, 255), 20);
    EXPECT_TRUE(white);
}

TEST_F(ButtonAdapterTest, TheNativeLookComesBackWhenTheAdapterLeaves) {
    HWND wnd = Make("BUTTON", "Press me", BS_PUSHBUTTON, 20, 20, 120, 40);
    Repaint(wnd);
    const COLORREF native = ScreenPixel(wnd, 3, 20);
    Attach<TacBtnWnd>(wnd);
    EXPECT_TRUE(Near(ScreenPixel(wnd, 3, 20), kButton))
        << Hex(ScreenPixel(wnd, 3, 20)) << " focus " << (GetFocus() == wnd) << " hot " << (manager->HotControl() == wnd);
    EXPECT_EQ(FindAdapter(wnd), adapter.get());
    adapter->Detach(true);
    Repaint(wnd);
    EXPECT_EQ(FindAdapter(wnd), nullptr);
    EXPECT_EQ(ScreenPixel(wnd, 3, 20), native);
    adapter.reset();
    // With the skin's manager gone inactive the window paints natively too.
    Attach<TacBtnWnd>(wnd);
    manager->SetActive(false);
    Repaint(wnd);
    EXPECT_EQ(ScreenPixel(wnd, 3, 20), native);
}

TEST_F(ButtonAdapterTest, CheckBoxAndRadioButtonPaintTheSectionAndAHotLook) {
    struct Case {
        const char* Name;
        DWORD Style;
    };
    for (const Case c : {Case{"check box", BS_AUTOCHECKBOX}, Case{"radio", BS_AUTORADIOBUTTON}}) {
        SCOPED_TRACE(c.Name);
        HWND wnd = Make("BUTTON", "Option", c.Style, 20, 100, 150, 24);
        Attach<TacCheckBoxWnd>(wnd);
        EXPECT_EQ(adapter->CommonData->SkinSection(), "CHECKBOX");
        // Right of the caption: the section.
        EXPECT_TRUE(Near(ScreenPixel(wnd, 145, 12), kCheck)) << Hex(ScreenPixel(wnd, 145, 12));
        MouseTo(Centre(wnd));
        EXPECT_TRUE(Near(SettledPixel(wnd, 145, 12, kCheckHot), kCheckHot)) << Hex(ScreenPixel(wnd, 145, 12));
        // A click checks it; the window stays skinned.
        EXPECT_TRUE(kova::test::MouseDown(Centre(wnd)));
        EXPECT_TRUE(kova::test::MouseUp(Centre(wnd)));
        EXPECT_EQ(SendMessageA(wnd, BM_GETCHECK, 0, 0), BST_CHECKED);
        MouseTo(POINT{700, 500});
        // Focused by the click: still the active look.
        EXPECT_EQ(GetFocus(), wnd);
        EXPECT_TRUE(Near(SettledPixel(wnd, 145, 12, kCheckHot), kCheckHot));
        SetFocus(host);
        const COLORREF normal = SettledPixel(wnd, 145, 12, kCheck);
        EXPECT_TRUE(Near(normal, kCheck)) << Hex(normal);
        adapter.reset();
        DestroyWindow(wnd);
    }
}

// The glyph (left of the caption) differs per check state; an
// indeterminate radio button shows the check box's grey image.
TEST_F(ButtonAdapterTest, CheckGlyphsFollowTheCheckState) {
    manager->Model().LoadStoredData(InternalSkinData("Linen"));
    ASSERT_TRUE(manager->Model().MaskIndexValid(manager->Model().ConstData().CheckBoxChecked));
    auto glyphOf = [&](HWND wnd) {
        std::vector<COLORREF> px;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 16; ++x) px.push_back(PrintedPixel(wnd, x, y));
        return px;
    };
    HWND box = Make("BUTTON", "Option", BS_AUTO3STATE, 20, 100, 150, 24);
    Attach<TacCheckBoxWnd>(box);
    std::vector<std::vector<COLORREF>> states;
    for (WPARAM check : {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE}) {
        SendMessageA(box, BM_SETCHECK, check, 0);
        states.push_back(glyphOf(box));
    }
    EXPECT_NE(states[0], states[1]);
    EXPECT_NE(states[1], states[2]);
    EXPECT_NE(states[0], states[2]);
    const std::unique_ptr<TacMainWnd> boxAdapter = std::move(adapter);

    HWND radio = Make("BUTTON", "Option", BS_RADIOBUTTON, 20, 140, 150, 24);
    Attach<TacCheckBoxWnd>(radio);
    SendMessageA(radio, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_NE(glyphOf(radio), states[0]);
    // BM_SETCHECK with the indeterminate state on a radio button: the
    // window keeps what it was told, the glyph is the grey box.
    SetWindowLongA(radio, GWL_STYLE, (GetWindowLongA(radio, GWL_STYLE) & ~0xF) | BS_3STATE);
    SendMessageA(radio, BM_SETCHECK, BST_INDETERMINATE, 0);
    SetWindowLongA(radio, GWL_STYLE, (GetWindowLongA(radio, GWL_STYLE) & ~0xF) | BS_RADIOBUTTON);
    EXPECT_EQ(SendMessageA(radio, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    EXPECT_EQ(glyphOf(radio), states[2]);
}

// The group box answers sub-code 27 with its caption's height and paints
// its section from half that height down; the band above is the parent's.
TEST_F(ButtonAdapterTest, GroupBoxTellsItsCaptionHeightAndPaintsBelowIt) {
    struct Case {
        const char* Caption;
    };
    for (const Case c : {Case{"Group"}, Case{""}}) {
        SCOPED_TRACE(c.Caption);
        HWND wnd = Make("BUTTON", c.Caption, BS_GROUPBOX, 20, 20, 200, 120);
        Attach<TacGroupBoxWnd>(wnd);
        EXPECT_EQ(adapter->CommonData->SkinSection(), "GROUPBOX");
        const LRESULT h = SendSkinCommand(wnd, 27, 0);
        if (*c.Caption) {
            EXPECT_GT(h, 6);
        } else {
            EXPECT_EQ(h, 6);  // the least caption height
        }
        const int half = static_cast<int>(h / 2);
        EXPECT_TRUE(Near(PrintedPixel(wnd, 100, half + 1), kGroup)) << Hex(PrintedPixel(wnd, 100, half + 1));
        EXPECT_TRUE(Near(PrintedPixel(wnd, 100, 60), kGroup));
        EXPECT_FALSE(Near(PrintedPixel(wnd, 190, half - 1), kGroup)) << Hex(PrintedPixel(wnd, 190, half - 1));
        EXPECT_TRUE(Near(ScreenPixel(wnd, 100, 60), kGroup)) << Hex(ScreenPixel(wnd, 100, 60));
        adapter.reset();
        DestroyWindow(wnd);
    }
}

TEST_F(ButtonAdapterTest, StaticTextPaintsTheSectionAndItsText) {
    HWND wnd = Make("STATIC", "Label text", SS_LEFT, 20, 200, 160, 24);
    Attach<TacStaticWnd>(wnd);
    adapter->CommonData->SetSkinSection("STATIC");
    adapter->CommonData->ReadSkinIndexes();
    Repaint(wnd);
    EXPECT_TRUE(Near(ScreenPixel(wnd, 150, 20), RGB(128, 128, 128))) << Hex(ScreenPixel(wnd, 150, 20));
    bool white = false;
    for (int x = 0; x < 60 && !white; ++x)
        for (int y = 0; y < 16 && !white; ++y) white = Near(ScreenPixel(wnd, x, y), RGB(255, 255, 255), 20);
    EXPECT_TRUE(white);
}

// Which adapter of the static family a window gets, by class and style.
TEST_F(ButtonAdapterTest, StaticWindowsGetTheAdapterOfTheirKind) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LINK_CLASS};
    InitCommonControlsEx(&icc);
    enum Kind { None, Text, Icon, Edge, Link };
    struct Case {
        const char* Class;
        DWORD Style;
        DWORD ExStyle;
        Kind Want;
    };
    const Case cases[] = {
        {"STATIC", SS_LEFT, 0, Text},
        {"STATIC", SS_ICON, 0, Icon},
        {"STATIC", SS_BITMAP, 0, Icon},
        {"STATIC", SS_BITMAP, WS_EX_STATICEDGE, Edge},
        {"STATIC", SS_ICON, WS_EX_STATICEDGE, Edge},
        // A black frame is of the picture kind (7 AND 3 = 3).
        {"STATIC", SS_BLACKFRAME, 0, Icon},
        {"STATIC", SS_OWNERDRAW, 0, None},
        {"STATIC", SS_GRAYRECT, 0, None},
        {"STATIC", SS_WHITERECT, 0, None},
        {"SysLink", 0, 0, Link},
        {"BUTTON", BS_PUSHBUTTON, 0, None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Class) + " " + std::to_string(c.Style) + " " + std::to_string(c.ExStyle));
        HWND wnd = CreateWindowExA(c.ExStyle, c.Class, "x", WS_CHILD | WS_VISIBLE | c.Style, 10, 10, 60, 20, host,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(wnd, nullptr);
        std::unique_ptr<TacMainWnd> a = CreateStaticAdapter(wnd, nullptr, manager, "CHECKBOX");
        const Kind got = !a                                     ? None
                         : dynamic_cast<TacLinkWnd*>(a.get())   ? Link
                         : dynamic_cast<TacEdgeWnd*>(a.get())   ? Edge
                         : dynamic_cast<TacIconWnd*>(a.get())   ? Icon
                         : dynamic_cast<TacStaticWnd*>(a.get()) ? Text
                                                                : None;
        EXPECT_EQ(got, c.Want);
        if (a) {
            EXPECT_EQ(FindAdapter(wnd), a.get());
        }
        a.reset();
        DestroyWindow(wnd);
    }
}

// A bitmap static shows its picture over the section; an icon static its
// icon. The picture is the static's: it outlives the adapter untouched.
TEST_F(ButtonAdapterTest, PictureStaticsShowTheirPictureAndLeaveItToTheStatic) {
    constexpr COLORREF kPicture = RGB(10, 200, 30);
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 20, 12);
    {
        HDC mem = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(mem, bmp);
        HBRUSH brush = CreateSolidBrush(kPicture);
        RECT r{0, 0, 20, 12};
        FillRect(mem, &r, brush);
        DeleteObject(brush);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    ReleaseDC(nullptr, screen);
    HWND wnd = Make("STATIC", "", SS_BITMAP | SS_REALSIZECONTROL, 20, 20, 60, 40);
    SendMessageA(wnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp));
    MoveWindow(wnd, 20, 20, 60, 40, TRUE);
    adapter = CreateStaticAdapter(wnd, nullptr, manager, "CHECKBOX");
    ASSERT_NE(dynamic_cast<TacIconWnd*>(adapter.get()), nullptr);
    Repaint(wnd);
    {
        TPrinted p(wnd);
        EXPECT_EQ(p.At(5, 5), kPicture);
        EXPECT_EQ(p.At(19, 11), kPicture);
        // Beyond the picture: the section.
        EXPECT_TRUE(Near(p.At(40, 30), kCheck)) << Hex(p.At(40, 30));
    }
    EXPECT_EQ(ScreenPixel(wnd, 5, 5), kPicture);
    adapter.reset();
    BITMAP b{};
    EXPECT_EQ(GetObjectA(bmp, sizeof b, &b), static_cast<int>(sizeof b));
    EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageA(wnd, STM_GETIMAGE, IMAGE_BITMAP, 0)), bmp);
    DestroyWindow(wnd);
    DeleteObject(bmp);

    // A 32-bit picture with alpha: its transparent half shows the section.
    BITMAPINFO bi{};
    bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 20, -12, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP alpha = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(alpha, nullptr);
    auto* px = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) px[y * 20 + x] = x < 10 ? 0xFF0AC81Eu : 0x00000000u;  // kPicture, opaque (0xAARRGGBB)
    HWND alphaWnd = Make("STATIC", "", SS_BITMAP | SS_REALSIZECONTROL, 20, 80, 60, 40);
    SendMessageA(alphaWnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(alpha));
    MoveWindow(alphaWnd, 20, 80, 60, 40, TRUE);
    adapter = CreateStaticAdapter(alphaWnd, nullptr, manager, "CHECKBOX");
    {
        TPrinted p(alphaWnd);
        EXPECT_TRUE(Near(p.At(5, 5), kPicture)) << Hex(p.At(5, 5));
        EXPECT_TRUE(Near(p.At(15, 5), kCheck)) << Hex(p.At(15, 5));
    }
    adapter.reset();
    DestroyWindow(alphaWnd);
    DeleteObject(alpha);

    // An icon static: the icon at 0,0 in its own size.
    BYTE andMask[32 * 4];
    BYTE xorMask[32 * 4];
    std::fill(std::begin(andMask), std::end(andMask), BYTE{0});
    std::fill(std::begin(xorMask), std::end(xorMask), BYTE{0xFF});
    HICON icon = CreateIcon(GetModuleHandleA(nullptr), 32, 32, 1, 1, andMask, xorMask);
    ASSERT_NE(icon, nullptr);
    HWND iconWnd = Make("STATIC", "", SS_ICON, 100, 20, 60, 50);
    SendMessageA(iconWnd, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    MoveWindow(iconWnd, 100, 20, 60, 50, TRUE);
    adapter = CreateStaticAdapter(iconWnd, nullptr, manager, "CHECKBOX");
    ASSERT_NE(dynamic_cast<TacIconWnd*>(adapter.get()), nullptr);
    EXPECT_FALSE(static_cast<TacIconWnd*>(adapter.get())->IsBitmap);
    {
        TPrinted p(iconWnd);
        EXPECT_EQ(p.At(4, 4), RGB(255, 255, 255));
        EXPECT_EQ(p.At(31, 31), RGB(255, 255, 255));
        EXPECT_TRUE(Near(p.At(50, 45), kCheck)) << Hex(p.At(50, 45));
    }
    adapter.reset();
    DestroyWindow(iconWnd);
    DestroyIcon(icon);
}

// A picture static with a static edge keeps its native interior; only its
// frame comes from the section.
TEST_F(ButtonAdapterTest, AnEdgedStaticGetsTheSkinsFrameAroundItsNativeInterior) {
    constexpr COLORREF kStatic = RGB(128, 128, 128);
    HWND wnd = CreateWindowExA(WS_EX_STATICEDGE, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ICON, 20, 20, 80, 50, host,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    windows.push_back(wnd);
    Repaint(wnd);
    auto windowPixel = [&](int x, int y) {
        HDC dc = GetWindowDC(wnd);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(wnd, dc);
        return c;
    };
    const COLORREF nativeInside = windowPixel(40, 25);
    EXPECT_FALSE(Near(windowPixel(0, 0), kStatic));
    adapter = CreateStaticAdapter(wnd, nullptr, manager, "STATIC");
    ASSERT_NE(dynamic_cast<TacEdgeWnd*>(adapter.get()), nullptr);
    Repaint(wnd);
    for (POINT p : {POINT{0, 0}, POINT{1, 25}, POINT{40, 0}, POINT{79, 49}, POINT{78, 25}, POINT{40, 48}})
        EXPECT_TRUE(Near(windowPixel(p.x, p.y), kStatic)) << p.x << "," << p.y << " " << Hex(windowPixel(p.x, p.y));
    EXPECT_EQ(windowPixel(40, 25), nativeInside);
}

// A link window shows its text underlined, with the anchor tags left out.
TEST_F(ButtonAdapterTest, ALinkWindowShowsItsTextUnderlinedWithoutTags) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LINK_CLASS};
    InitCommonControlsEx(&icc);
    HWND wnd = Make("SysLink", "See <A>the site</A>", 0, 20, 20, 200, 24);
    ASSERT_NE(wnd, nullptr);
    adapter = CreateStaticAdapter(wnd, nullptr, manager, "STATIC");
    ASSERT_NE(dynamic_cast<TacLinkWnd*>(adapter.get()), nullptr);
    Repaint(wnd);
    // The longest run of the section's white font colour in one row is the
    // underline, as long as the shown text.
    TGdiObject<HFONT> font = GetNonClientFont(5);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.Get());
    SIZE shown{}, tagged{};
    GetTextExtentPoint32A(dc, "See the site", 12, &shown);
    GetTextExtentPoint32A(dc, "See <A>the site</A>", 19, &tagged);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    auto longestRun = [&](auto pixel) {
        int best = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0, run = 0; x < 200; ++x) {
                run = Near(pixel(x, y), RGB(255, 255, 255), 40) ? run + 1 : 0;
                best = std::max(best, run);
            }
        return best;
    };
    TPrinted printed(wnd);
    const int printedRun = longestRun([&](int x, int y) { return printed.At(x, y); });
    EXPECT_NEAR(printedRun, shown.cx, 3) << "tagged " << tagged.cx;
    // On screen the same.
    EXPECT_NEAR(longestRun([&](int x, int y) { return ScreenPixel(wnd, x, y); }), shown.cx, 3);
    // The section is under the text.
    EXPECT_TRUE(Near(printed.At(198, 2), RGB(128, 128, 128))) << Hex(printed.At(198, 2));
}

// Skin switches and state changes leave no GDI or USER object behind.
TEST_F(ButtonAdapterTest, HandleCountsStayFlat) {
    HWND button = Make("BUTTON", "Press me", BS_PUSHBUTTON, 20, 20, 120, 40);
    HWND check = Make("BUTTON", "Option", BS_AUTOCHECKBOX, 20, 100, 150, 24);
    HWND group = Make("BUTTON", "Group", BS_GROUPBOX, 200, 20, 200, 120);
    auto round = [&] {
        auto a = CreateAdapter<TacBtnWnd>(button, nullptr, manager, "");
        auto b = CreateAdapter<TacCheckBoxWnd>(check, nullptr, manager, "");
        auto c = CreateAdapter<TacGroupBoxWnd>(group, nullptr, manager, "");
        for (HWND w : {button, check, group}) {
            Repaint(w);
            PrintedPixel(w, 1, 1);
        }
        SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
        EnableWindow(button, FALSE);
        EnableWindow(button, TRUE);
        SendSkinCommand(group, 27, 0);
    };
    round();
    const THandleCounts before = LiveHandleCounts();
    for (int i = 0; i < 10; ++i) round();
    PumpMessages();
    EXPECT_EQ(TransientHandlesChanged(before), "");
}

// Combo boxes in their three styles: the drop-down button from the skin
// (none for a simple combo), pressed while the list is down; the list gets
// its adapter when it first shows, and item texts of any length are read.
TEST_F(ButtonAdapterTest, ComboBoxesShowTheSkinsButtonAndSkinTheirList) {
    constexpr COLORREF kComboBtn = RGB(255, 128, 0);
    constexpr COLORREF kComboBtnHot = RGB(0, 128, 255);
    struct Case {
        const char* Name;
        DWORD Style;
        bool HasButton;
    };
    for (const Case c : {Case{"drop-down list", CBS_DROPDOWNLIST, true}, Case{"drop-down", CBS_DROPDOWN, true},
                         Case{"simple", CBS_SIMPLE, false}}) {
        SCOPED_TRACE(c.Name);
        HWND wnd = Make("COMBOBOX", "", c.Style | WS_VSCROLL, 20, 20, 160, c.HasButton ? 200 : 120);
        const std::string longItem(5000, 'x');
        for (const std::string& item : {std::string("one"), std::string("two"), longItem})
            SendMessageA(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        SendMessageA(wnd, CB_SETCURSEL, 0, 0);
        auto combo = CreateAdapter<TacComboBoxWnd>(wnd, nullptr, manager, "");
        EXPECT_EQ(combo->CommonData->SkinSection(), "COMBOBOX");
        Repaint(wnd);
        const RECT b = combo->GetButtonRect();
        EXPECT_EQ(b.right - b.left > 0, c.HasButton);
        EXPECT_EQ(ComboItemText(wnd, 2), longItem);
        EXPECT_EQ(ComboItemText(wnd, 7), "");
        if (c.HasButton) {
            RECT wr{};
            GetWindowRect(wnd, &wr);
            const int x = b.left + 1, y = b.top + 1;
            auto pixel = [&] {
                HDC dc = GetWindowDC(wnd);
                const COLORREF p = GetPixel(dc, x, y);
                ReleaseDC(wnd, dc);
                return p;
            };
            EXPECT_TRUE(Near(pixel(), kComboBtn)) << Hex(pixel());
            // Down: pressed, the list skinned.
            SendMessageA(wnd, CB_SHOWDROPDOWN, TRUE, 0);
            PumpFor(60);
            ASSERT_NE(SendMessageA(wnd, CB_GETDROPPEDSTATE, 0, 0), 0);
            EXPECT_EQ(combo->ButtonState(), 2);
            EXPECT_TRUE(Near(pixel(), kComboBtnHot)) << Hex(pixel());
            ASSERT_NE(combo->ListHandle, nullptr);
            EXPECT_EQ(FindAdapter(combo->ListHandle), combo->ListAdapter.get());
            SendMessageA(wnd, CB_SHOWDROPDOWN, FALSE, 0);
            MouseTo(POINT{700, 500});
            SetFocus(host);
            PumpFor(60);
            EXPECT_NE(combo->ButtonState(), 2);
            WaitUntil([&] { return Near(pixel(), kComboBtn); }, 1500);
            EXPECT_TRUE(Near(pixel(), kComboBtn)) << Hex(pixel());
        }
        // The skin goes: the list's adapter goes with it.
        SendSkinCommand(wnd, scSkinRemoved, reinterpret_cast<LPARAM>(manager));
        EXPECT_EQ(combo->ListAdapter, nullptr);
        combo.reset();
        EXPECT_EQ(FindAdapter(wnd), nullptr);
        DestroyWindow(wnd);
    }
}

// A framework combo turns hot when the mouse comes over it and back when
// it leaves, repainted at once each time; an item drawn repaints it too,
// and its frame is three pixels wide however the window computed it.
TEST_F(ButtonAdapterTest, AFrameworkComboTurnsHotUnderTheMouseAndRepaintsAfterAnItemIsDrawn) {
    constexpr COLORREF kComboBtn = RGB(255, 128, 0);
    constexpr COLORREF kComboBtnHot = RGB(0, 128, 255);
    TForm* form = TCustomForm::Create<TForm>(Application());
    form->SetBounds(100, 380, 300, 120);
    auto* combo = new TComboBox(form);
    combo->SetStyle(csDropDownList);
    combo->SetBounds(10, 10, 180, 24);
    combo->SetParent(form);
    form->Show();
    combo->Items()->Add("one");
    PumpFor(60);
    {
        TsCommonData data(combo, true);
        data.SetSkinManager(manager);
        data.SetSkinSection("COMBOBOX");
        data.ReadSkinIndexes();
        auto a = CreateAdapter<TacComboBoxWnd>(combo->Handle(), &data, manager, "COMBOBOX");
        HWND wnd = combo->Handle();
        Repaint(wnd);
        const RECT b = a->GetButtonRect();
        auto pixel = [&] {
            HDC dc = GetWindowDC(wnd);
            const COLORREF p = GetPixel(dc, b.left + 1, b.top + 1);
            ReleaseDC(wnd, dc);
            return p;
        };
        EXPECT_TRUE(Near(pixel(), kComboBtn)) << Hex(pixel());
        RECT wr{};
        GetWindowRect(wnd, &wr);
        MouseTo(POINT{wr.left + (b.left + b.right) / 2, wr.top + (b.top + b.bottom) / 2});
        ASSERT_TRUE(WaitUntil(
            [&] {
                PumpMessages();
                return data.MouseAbove;
            },
            2000));
        EXPECT_EQ(a->ButtonState(), 1);
        EXPECT_TRUE(Near(pixel(), kComboBtnHot)) << Hex(pixel());
        MouseTo(POINT{700, 500});
        ASSERT_TRUE(WaitUntil(
            [&] {
                PumpMessages();
                return !data.MouseAbove;
            },
            2000));
        EXPECT_EQ(a->ButtonState(), 0);
        EXPECT_TRUE(Near(pixel(), kComboBtn)) << Hex(pixel());

        // An item drawn: the whole combo painted again before the message
        // returns.
        int paints = 0;
        TWindowSubclass counter;
        counter.Attach(wnd, [&](TMessage& m) {
            if (m.Msg == WM_PAINT) ++paints;
            counter.CallPrevious(m);
        });
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_COMBOBOX;
        item.hwndItem = wnd;
        SendMessageA(wnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_GE(paints, 1);
        counter.Detach();

        SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        EXPECT_EQ(a->InsetLeft, 3);
        EXPECT_EQ(a->InsetTop, 3);
        EXPECT_EQ(a->InsetRight, 3);
        EXPECT_EQ(a->InsetBottom, 3);
    }
    form->Free();
    PumpMessages();
}

// The drop-down list gets an adapter of its own class: one pixel wider, its
// frame the skin's border colour, its items on the list section's colour.
TEST_F(ButtonAdapterTest, TheDropDownListIsFramedAndColouredFromTheSkin) {
    constexpr COLORREF kBorder = RGB(255, 255, 0);
    constexpr COLORREF kList = RGB(255, 255, 200);
    HWND wnd = Make("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 20, 20, 160, 200);
    for (const char* item : {"one", "two", "three"})
        SendMessageA(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(wnd, &info));
    RECT before{};
    GetWindowRect(info.hwndList, &before);
    auto combo = CreateAdapter<TacComboBoxWnd>(wnd, nullptr, manager, "");
    ASSERT_NE(dynamic_cast<TacComboListWnd*>(combo->ListAdapter.get()), nullptr);
    EXPECT_EQ(combo->ListHandle, info.hwndList);
    EXPECT_FALSE(combo->ListAdapter->SimpleCombo);
    EXPECT_EQ(combo->ListAdapter->CommonData->SkinSection(), "EDIT");
    RECT after{};
    GetWindowRect(info.hwndList, &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left + 1);
    SendMessageA(wnd, CB_SHOWDROPDOWN, TRUE, 0);
    PumpFor(80);
    ASSERT_TRUE(IsWindowVisible(info.hwndList));
    const int itemH = static_cast<int>(SendMessageA(info.hwndList, LB_GETITEMHEIGHT, 0, 0));
    RECT lr{};
    GetWindowRect(info.hwndList, &lr);
    const int w = lr.right - lr.left, h = lr.bottom - lr.top;
    {
        TPrinted p(info.hwndList);
        for (POINT q : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}, POINT{w / 2, 0}})
            EXPECT_EQ(p.At(q.x, q.y), kBorder) << q.x << "," << q.y << " " << Hex(p.At(q.x, q.y));
        // An item that is not selected, right of its text.
        EXPECT_EQ(p.At(w - 12, 3 + itemH + itemH / 2), kList) << Hex(p.At(w - 12, 3 + itemH + itemH / 2));
    }
    // On screen the same frame.
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, lr.left, lr.top), kBorder) << Hex(GetPixel(screen, lr.left, lr.top));
    EXPECT_EQ(GetPixel(screen, lr.right - 1, lr.bottom - 1), kBorder);
    ReleaseDC(nullptr, screen);
    SendMessageA(wnd, CB_SHOWDROPDOWN, FALSE, 0);
    PumpFor(40);
    combo.reset();
}

// Printing a drop-down list combo draws its selected item into the cache
// in the section's font colour; right to left, the button stands at the
// left and the text right of it, at the same height. Focused, the item is
// highlighted.
TEST_F(ButtonAdapterTest, APrintedComboShowsItsSelectedItemInEitherDirection) {
    constexpr COLORREF kText = RGB(128, 0, 128);
    constexpr COLORREF kComboBtn = RGB(255, 128, 0);
    struct Case {
        const char* Name;
        DWORD ExStyle;
    };
    RECT boxes[2]{};
    int n = 0;
    for (const Case c : {Case{"left to right", 0}, Case{"right to left", WS_EX_RTLREADING}}) {
        SCOPED_TRACE(c.Name);
        HWND wnd = CreateWindowExA(c.ExStyle, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL,
                                   20, 20, 160, 200, host, nullptr, GetModuleHandleA(nullptr), nullptr);
        windows.push_back(wnd);
        for (const char* item : {"WWWW", "two"}) SendMessageA(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendMessageA(wnd, CB_SETCURSEL, 0, 0);
        SetFocus(host);
        auto combo = CreateAdapter<TacComboBoxWnd>(wnd, nullptr, manager, "");
        const RECT b = combo->GetButtonRect();
        RECT wr{};
        GetWindowRect(wnd, &wr);
        const int w = wr.right - wr.left, h = wr.bottom - wr.top;
        {
            TPrinted p(wnd);
            const RECT box = p.BoxOf(kText, RECT{0, 0, w, h});
            ASSERT_LT(box.left, box.right) << "no text in the section's font colour";
            if (c.ExStyle) {
                EXPECT_EQ(b.left, 2);
                EXPECT_GE(box.left, b.right);
                EXPECT_TRUE(Near(p.At(b.left + 1, b.top + 1), kComboBtn)) << Hex(p.At(b.left + 1, b.top + 1));
            } else {
                EXPECT_EQ(b.right, w - 2);
                EXPECT_LE(box.right, b.left);
                EXPECT_GE(box.left, 3);
            }
            boxes[n++] = box;
        }
        // Focused: the item on the highlight colour.
        SetFocus(wnd);
        PumpFor(40);
        {
            TPrinted p(wnd);
            const RECT field = c.ExStyle ? RECT{b.right, 3, w - 3, h - 3} : RECT{3, 3, b.left, h - 3};
            EXPECT_GT(p.Count(GetSysColor(COLOR_HIGHLIGHT), field), (field.right - field.left) * 4);
            EXPECT_EQ(p.Count(kText, field), 0);
        }
        SetFocus(host);
        combo.reset();
        DestroyWindow(wnd);
    }
    EXPECT_EQ(boxes[0].top, boxes[1].top);
    EXPECT_EQ(boxes[0].bottom, boxes[1].bottom);
}

// A click on the dropped list's skinned scroll bar scrolls the list and
// leaves it open.
TEST_F(ButtonAdapterTest, TheDroppedListScrollsByItsSkinnedBar) {
    HWND wnd = Make("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 20, 20, 160, 160);
    for (int i = 0; i < 30; ++i) {
        const std::string item = "item " + std::to_string(i);
        SendMessageA(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    auto combo = CreateAdapter<TacComboBoxWnd>(wnd, nullptr, manager, "");
    ASSERT_NE(combo->ListAdapter, nullptr);
    HWND list = combo->ListHandle;
    MouseTo(Centre(wnd));
    EXPECT_TRUE(kova::test::MouseDown(Centre(wnd)));
    EXPECT_TRUE(kova::test::MouseUp(Centre(wnd)));
    WaitUntil([&] { return IsWindowVisible(list) != FALSE; }, 1500);
    ASSERT_TRUE(IsWindowVisible(list));
    ASSERT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);
    RECT bar{};
    GetVScrollRect(*combo->ListAdapter, list, bar);
    ASSERT_GT(bar.bottom - bar.top, 0);
    // The lower arrow.
    const POINT arrow{(bar.left + bar.right) / 2, bar.bottom - 4};
    MouseTo(arrow);
    EXPECT_TRUE(kova::test::MouseDown(arrow));
    EXPECT_TRUE(kova::test::MouseUp(arrow));
    PumpFor(100);
    EXPECT_GE(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 1);
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_NE(SendMessageA(wnd, CB_GETDROPPEDSTATE, 0, 0), 0);
    SendMessageA(wnd, CB_SHOWDROPDOWN, FALSE, 0);
    MouseTo(POINT{700, 500});
    PumpFor(40);
    combo.reset();
}

// A simple combo whose list ends above its bottom shows what lies under
// the combo there.
TEST_F(ButtonAdapterTest, ASimpleCombosAreaBelowItsListShowsItsParentsBackground) {
    HWND wnd = Make("COMBOBOX", "", CBS_SIMPLE, 20, 20, 160, 120);
    for (const char* item : {"one", "two", "three"}) SendMessageA(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(wnd, &info));
    auto combo = CreateAdapter<TacComboBoxWnd>(wnd, nullptr, manager, "");
    ASSERT_NE(combo->ListAdapter, nullptr);
    EXPECT_TRUE(combo->ListAdapter->SimpleCombo);
    // The combo sizes its list to its own bottom: a list cut to whole
    // items ends above it.
    RECT lr{};
    GetWindowRect(info.hwndList, &lr);
    SetWindowPos(info.hwndList, nullptr, 0, 0, lr.right - lr.left, lr.bottom - lr.top - 10,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    Repaint(wnd);
    Repaint(info.hwndList);
    RECT cr{};
    GetWindowRect(info.hwndList, &lr);
    GetWindowRect(wnd, &cr);
    ASSERT_GT(cr.bottom - lr.bottom, 2) << "no room below the list";
    HDC screen = GetDC(nullptr);
    const COLORREF below = GetPixel(screen, cr.left + 40, cr.bottom - 1);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(Near(below, kGlobal)) << Hex(below);
    combo.reset();
}

}  // namespace
}  // namespace kova::skin::test
