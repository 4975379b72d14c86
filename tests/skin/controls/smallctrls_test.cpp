// The small control adapters on real native controls under a shown window
// with a test skin of flat colours: each state of a button's border, the
// arrows, the thumb (its upper and lower rows told apart, so a mirrored
// image shows), the ticks and the grip have colours of their own. Pixels
// are read back through WM_PRINT; the mouse goes in through SendInput.
#include "skin/controls/smallctrls.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../core/handlecheck.h"
#include "common/testdata.h"
#include "common/win32_testing.h"
#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/dialogs.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/portable/formtext.h"
#include "framework/subclass.h"
#include "skin/core/alphaimagelist.h"
#include "skin/core/commondata.h"
#include "skin/core/model/pictures.h"
#include "skin/core/portable/pixels.h"
#include "skin/controls/portable/smallgeometry.h"
#include "skin/controls/sedit.h"
#include "skin/controls/spanel.h"
#include "skin/controls/speedbtn.h"
#include "skin/controls/toolbarwnd.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"

namespace kova::skin::test {
namespace {

using kova::test::PumpFor;
using kova::test::PumpMessages;
using kova::test::WaitUntil;

constexpr COLORREF kBorderNormal = RGB(0, 0, 160);
constexpr COLORREF kBorderHot = RGB(0, 160, 0);
constexpr COLORREF kBorderPressed = RGB(160, 0, 0);
constexpr COLORREF kUpGlyph = RGB(255, 255, 0);
constexpr COLORREF kDownGlyph = RGB(0, 255, 255);
constexpr COLORREF kThumbUpper = RGB(255, 128, 0);
constexpr COLORREF kThumbLower = RGB(128, 64, 0);
constexpr COLORREF kTick = RGB(90, 0, 90);
constexpr COLORREF kGrip = RGB(50, 50, 50);

struct TPrinted {
    int Width = 0, Height = 0;
    std::vector<COLORREF> Pixels;
    COLORREF At(int x, int y) const { return Pixels[static_cast<std::size_t>(y * Width + x)]; }
};

// What paint(dc) leaves in a w x h bitmap first filled with a colour no
// painter writes, so that what stays unpainted shows.
template <class F>
TPrinted PaintedBy(int w, int h, F paint) {
    TPrinted p;
    p.Width = w, p.Height = h;
    BITMAPINFO bi{};
    bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    for (int i = 0; i < w * h; ++i) static_cast<std::uint32_t*>(bits)[i] = 0x00123456;
    paint(dc);
    GdiFlush();
    for (int i = 0; i < w * h; ++i) {
        const std::uint32_t v = static_cast<std::uint32_t*>(bits)[i];
        p.Pixels.push_back(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
    }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return p;
}

// A window's picture as WM_PRINT gives it.
TPrinted Print(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return PaintedBy(r.right - r.left, r.bottom - r.top, [wnd](HDC dc) {
        SendMessageA(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
    });
}

class SmallControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_UPDOWN_CLASS | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        handles_ = LiveHandleCounts();
        manager = new TsSkinManager(nullptr);
        manager->Model().LoadFolder(kova::test::SourcePath("tests/skin/fixtures/smallskin"));
        ASSERT_TRUE(manager->Model().SectionIndexValid(manager->Model().IndexOfSection("BUTTON")));
        host = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "host", WS_POPUP | WS_VISIBLE, 60, 60, 320, 200, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(host, nullptr);
    }
    void TearDown() override {
        EXPECT_TRUE(kova::test::MouseMove(POINT{5, 5}));
        adapters.clear();
        for (HWND w : windows)
            if (IsWindow(w)) DestroyWindow(w);
        DestroyWindow(host);
        PumpMessages();
        manager->Free();
        EXPECT_EQ(TransientHandlesChanged(handles_), "");
    }
    HWND Child(const char* cls, DWORD style, int x, int y, int w, int h) {
        HWND wnd = CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, host, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        windows.push_back(wnd);
        return wnd;
    }
    template <class T>
    T* Adapt(HWND wnd, const char* section) {
        auto a = CreateAdapter<T>(wnd, nullptr, manager, section);
        T* raw = a.get();
        adapters.push_back(std::move(a));
        PumpMessages();
        return raw;
    }
    // A framework form at (80, 80), 300 x 200, not shown yet.
    static TForm* NewForm() {
        TForm* form = TCustomForm::Create<TForm>(Application());
        form->SetBounds(80, 80, 300, 200);
        return form;
    }
    template <class C>
    static C* Place(TWinControl* parent, int x, int y, int w, int h) {
        auto* c = new C(parent);
        c->SetParent(parent);
        c->SetBounds(x, y, w, h);
        return c;
    }
    static POINT ScreenOf(HWND wnd, int x, int y) {
        POINT p{x, y};
        ClientToScreen(wnd, &p);
        return p;
    }

    THandleCounts handles_{};
    TsSkinManager* manager = nullptr;
    HWND host = nullptr;
    std::vector<HWND> windows;
    std::vector<std::unique_ptr<TacMainWnd>> adapters;
};

// ------------------------------------------------------------- up-down

TEST_F(SmallControlsTest, UpDownShowsTheStateOfTheHalfUnderTheMouse) {
    HWND spin = Child(UPDOWN_CLASSA, 0, 20, 20, 20, 40);
    auto* a = Adapt<TacSpinWnd>(spin, "BUTTON");
    // The system delivers input asynchronously: a press counts once the
    // control has its button message.
    auto button = [&](POINT at, bool down) {
        EXPECT_TRUE(down ? kova::test::MouseDown(at) : kova::test::MouseUp(at));
        EXPECT_TRUE(WaitUntil([&] { PumpMessages(); return a->MouseDown == down; }, 3000));
    };
    struct Case {
        const char* name;
        POINT at;      // client point of the cursor (-1: outside)
        bool pressed;  // left button held
        COLORREF upper, lower;
    } cases[] = {
        {"away", {-100, -100}, false, kBorderNormal, kBorderNormal},
        {"hover upper", {10, 5}, false, kBorderHot, kBorderNormal},
        {"press upper", {10, 5}, true, kBorderPressed, kBorderNormal},
        {"hover lower", {10, 34}, false, kBorderNormal, kBorderHot},
        {"press lower", {10, 34}, true, kBorderNormal, kBorderPressed},
        {"hover again", {10, 34}, false, kBorderNormal, kBorderHot},
        {"left again", {-100, -100}, false, kBorderNormal, kBorderNormal},
    };
    // Away is a window of ours beside the control: a move that the display
    // undoes with a late report of the last place is then seen and sent
    // again (on the bare desktop it would go unnoticed, the cursor left on
    // the control).
    HWND away = Child("STATIC", SS_NOTIFY, 200, 20, 80, 80);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool outside = c.at.x < 0;
        const POINT at = outside ? ScreenOf(away, 40, 40) : ScreenOf(spin, c.at.x, c.at.y);
        EXPECT_TRUE(kova::test::MouseMove(at, outside ? away : spin));
        if (c.pressed) button(at, true);
        const TPrinted p = Print(spin);
        if (c.pressed) button(at, false);
        // The border corner of each half, and the arrow in its middle (the
        // control keeps its own width).
        EXPECT_EQ(p.At(1, 1), c.upper);
        EXPECT_EQ(p.At(1, p.Height - 2), c.lower);
        EXPECT_EQ(p.At(p.Width / 2, p.Height / 4), kUpGlyph);
        EXPECT_EQ(p.At(p.Width / 2, p.Height * 3 / 4), kDownGlyph);
    }
}

TEST_F(SmallControlsTest, HorizontalUpDownSplitsLeftAndRight) {
    HWND spin = Child(UPDOWN_CLASSA, UDS_HORZ, 20, 20, 40, 20);
    Adapt<TacSpinWnd>(spin, "NOSUCHSECTION");
    RECT r{};
    GetClientRect(spin, &r);
    EXPECT_TRUE(kova::test::MouseMove(ScreenOf(spin, r.right - 4, r.bottom / 2)));
    const TPrinted p = Print(spin);
    // A section the skin lacks falls back to the button.
    EXPECT_EQ(p.At(1, 1), kBorderNormal);
    EXPECT_EQ(p.At(p.Width - 2, p.Height - 2), kBorderHot);
}

// ------------------------------------------------------------ track bar

TEST_F(SmallControlsTest, TrackBarTicksAndThumbComeFromTheSkin) {
    struct Case {
        const char* name;
        DWORD style;
        bool mirrored;
    } cases[] = {{"bottom ticks", TBS_AUTOTICKS | TBS_BOTTOM, false}, {"top ticks", TBS_AUTOTICKS | TBS_TOP, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND track = Child(TRACKBAR_CLASSA, c.style, 10, 10, 200, 40);
        SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 1));
        SendMessageA(track, TBM_SETPOS, TRUE, 0);
        auto* a = Adapt<TacTrackWnd>(track, "TRACKBAR");
        const TPrinted p = Print(track);
        RECT ch{}, thumb{};
        SendMessageA(track, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&ch));
        SendMessageA(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        const int thumbLen = thumb.right - thumb.left;
        ASSERT_EQ(SendMessageA(track, TBM_GETNUMTICS, 0, 0), 2);
        // Two ticks: at the two ends of the thumb's travel.
        const TTrackTicks ticks = TrackTickPositions(ch.left, ch.right - ch.left, thumbLen, 2);
        EXPECT_EQ(ticks.Positions[0], ch.left + HalfUp(thumbLen));
        EXPECT_EQ(ticks.Positions[1], ch.right - thumbLen + HalfUp(thumbLen));
        EXPECT_DOUBLE_EQ(a->TickStep, ticks.Step);
        const TTickSides sides = TrackTickSides(ch.top, ch.bottom, thumb.bottom - thumb.top, ch.bottom - ch.top, 4);
        const int across = c.mirrored ? sides.BeforeStart : sides.AfterStart;
        for (int t : ticks.Positions) {
            // The tick image stands left of its point.
            EXPECT_EQ(p.At(t - 1, across + 1), kTick) << t;
            EXPECT_NE(p.At(t + 3, across + 1), kTick) << t;
        }
        // The thumb image at rest: upper rows before lower rows, or the
        // other way round for ticks on top.
        const int mx = (thumb.left + thumb.right) / 2;
        EXPECT_EQ(p.At(mx, thumb.top + 2), c.mirrored ? kThumbLower : kThumbUpper);
        EXPECT_EQ(p.At(mx, thumb.bottom - 3), c.mirrored ? kThumbUpper : kThumbLower);
        adapters.clear();
        DestroyWindow(track);
    }
}

TEST_F(SmallControlsTest, TrackBarWithoutTicksOrTrackSectionDrawsNone) {
    HWND track = Child(TRACKBAR_CLASSA, TBS_AUTOTICKS | TBS_NOTICKS, 10, 10, 200, 40);
    Adapt<TacTrackWnd>(track, "TRACKBAR");
    TPrinted p = Print(track);
    int ticks = 0;
    for (COLORREF c : p.Pixels) ticks += c == kTick;
    EXPECT_EQ(ticks, 0);
    // Every pixel painted: none of the marker is left.
    for (COLORREF c : p.Pixels) ASSERT_NE(c, RGB(0x12, 0x34, 0x56));
}

// ----------------------------------------------------------------- grip

TEST_F(SmallControlsTest, SizeGripDrawsTheSkinGripAndAnswersAsTheCorner) {
    HWND grip = Child("SCROLLBAR", SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, 100, 100, 17, 17);
    Adapt<TacSizerWnd>(grip, "BUTTON");
    const TPrinted p = Print(grip);
    // The 8 x 8 grip image in the bottom-right corner (the control keeps
    // its own size), its key-coloured half showing the background.
    const int x0 = p.Width - 8, y0 = p.Height - 8;
    ASSERT_GE(x0, 2);
    EXPECT_EQ(p.At(p.Width - 1, p.Height - 1), kGrip);
    EXPECT_EQ(p.At(x0, p.Height - 1), kGrip);
    EXPECT_EQ(p.At(p.Width - 1, y0), kGrip);
    EXPECT_NE(p.At(x0, y0), kGrip);
    EXPECT_NE(p.At(x0, y0), RGB(255, 0, 255));
    EXPECT_NE(p.At(1, 1), RGB(0x12, 0x34, 0x56));
    const POINT s = ScreenOf(grip, 3, 3);
    EXPECT_EQ(SendMessageA(grip, WM_NCHITTEST, 0, MAKELPARAM(s.x, s.y)), HTBOTTOMRIGHT);
}

TEST_F(SmallControlsTest, DetachingGivesTheNativePaintingBack) {
    HWND spin = Child(UPDOWN_CLASSA, 0, 20, 20, 20, 40);
    auto a = CreateAdapter<TacSpinWnd>(spin, nullptr, manager, "BUTTON");
    EXPECT_EQ(Print(spin).At(1, 1), kBorderNormal);
    a->Detach(true);
    EXPECT_NE(Print(spin).At(1, 1), kBorderNormal);
    EXPECT_EQ(FindAdapter(spin), nullptr);
}

// ------------------------------------------------------------- tool bar

constexpr COLORREF kIcon = RGB(0, 128, 255);
constexpr COLORREF kDivider = RGB(0, 90, 90);
constexpr COLORREF kCaption = RGB(255, 0, 0);

TEST_F(SmallControlsTest, ToolBarButtonsPaintInTheirStatesWithImageAndCaption) {
    HWND bar = Child(TOOLBARCLASSNAMEA, CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_FLAT, 0, 0, 300, 44);
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
    {
        HDC screen = GetDC(nullptr);
        HBITMAP bmp = CreateCompatibleBitmap(screen, 16, 16);
        HDC dc = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(dc, bmp);
        HBRUSH brush = CreateSolidBrush(kIcon);
        RECT r{0, 0, 16, 16};
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        SelectObject(dc, old);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        ImageList_Add(images, bmp, nullptr);
        DeleteObject(bmp);
    }
    SendMessageA(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    const std::string longCaption(600, 'W');
    char go[] = "Go";
    TBBUTTON buttons[] = {
        // The first image (index 0) on a pressed button.
        {0, 1, TBSTATE_ENABLED | TBSTATE_PRESSED, BTNS_BUTTON, {}, 0, reinterpret_cast<INT_PTR>(go)},
        {0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0},
        {0, 2, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, reinterpret_cast<INT_PTR>(go)},
        {0, 3, 0, BTNS_BUTTON, {}, 0, reinterpret_cast<INT_PTR>(go)},
    };
    SendMessageA(bar, TB_ADDBUTTONSA, 4, reinterpret_cast<LPARAM>(buttons));
    SendMessageA(bar, TB_AUTOSIZE, 0, 0);
    Adapt<TacToolBarWnd>(bar, "TOOLBAR");
    RECT item[4]{};
    for (int i = 0; i < 4; ++i) SendMessageA(bar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item[i]));

    TPrinted p = Print(bar);
    // Pressed: the pressed border, the image pushed by one pixel.
    EXPECT_EQ(p.At(item[0].left + 1, item[0].top + 1), kBorderPressed);
    const int bw = item[0].right - item[0].left;
    EXPECT_EQ(p.At(item[0].left + HalfUp(bw - 16) + 1 + 8, item[0].top + 1 + 4 + 8), kIcon);
    // Normal, away from the mouse.
    EXPECT_EQ(p.At(item[2].left + 1, item[2].top + 1), kBorderNormal);
    EXPECT_EQ(p.At(item[2].left + HalfUp(bw - 16) + 8, item[2].top + 4 + 8), kIcon);
    // The caption under the image, in the tool button's font colour.
    int caption = 0;
    for (int y = item[2].top + 22; y < item[2].bottom - 2; ++y)
        for (int x = item[2].left + 2; x < item[2].right - 2; ++x) caption += p.At(x, y) == kCaption;
    EXPECT_GT(caption, 3);
    // Disabled: faded toward the bar.
    const COLORREF faded = p.At(item[3].left + 1, item[3].top + 1);
    EXPECT_NE(faded, kBorderNormal);
    EXPECT_NE(faded, RGB(200, 200, 200));
    // The separator shows the divider, four pixels wide, in its middle:
    // its border on the left and right, the section's colour inside.
    const int sw = item[1].right - item[1].left, sy = (item[1].top + item[1].bottom) / 2;
    EXPECT_EQ(p.At(item[1].left + sw / 2 - 1, sy), kDivider);
    EXPECT_EQ(p.At(item[1].left + sw / 2 + 2, sy), kDivider);
    EXPECT_EQ(p.At(item[1].left + sw / 2, sy), RGB(0, 0, 0));
    EXPECT_NE(p.At(item[1].left + sw / 2 - 2, sy), kDivider);

    // Hovering the normal button makes it hot.
    EXPECT_TRUE(kova::test::MouseMove(ScreenOf(bar, item[2].left + bw / 2, item[2].top + 3)));
    p = Print(bar);
    EXPECT_EQ(p.At(item[2].left + 1, item[2].top + 1), kBorderHot);
    EXPECT_EQ(p.At(item[0].left + 1, item[0].top + 1), kBorderPressed);
    // A hovered disabled button stays faded.
    EXPECT_TRUE(kova::test::MouseMove(ScreenOf(bar, item[3].left + 3, item[3].top + 3)));
    EXPECT_EQ(Print(bar).At(item[3].left + 1, item[3].top + 1), faded);

    // Captions are read whole, whatever their length.
    TBBUTTONINFOA info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT;
    info.pszText = const_cast<char*>(longCaption.c_str());
    SendMessageA(bar, TB_SETBUTTONINFOA, 2, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(ToolButtonText(bar, 2), longCaption);
    EXPECT_EQ(ToolButtonText(bar, 99), "");

    adapters.clear();
    DestroyWindow(bar);
    ImageList_Destroy(images);
}

TEST_F(SmallControlsTest, ToolBarFrameComesFromTheCache) {
    HWND bar = CreateWindowExA(WS_EX_CLIENTEDGE, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NODIVIDER,
                               10, 60, 200, 40, host, nullptr, GetModuleHandleA(nullptr), nullptr);
    windows.push_back(bar);
    Adapt<TacToolBarWnd>(bar, "TOOLBAR");
    RedrawWindow(bar, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    HDC dc = GetWindowDC(bar);
    const COLORREF corner = GetPixel(dc, 0, 0), edge = GetPixel(dc, 100, 1);
    ReleaseDC(bar, dc);
    EXPECT_EQ(corner, RGB(200, 200, 200));
    EXPECT_EQ(edge, RGB(200, 200, 200));
}

// A framework status bar: panel texts in the section's font colour by
// their alignment, cut to the panel, owner-drawn panels by the bar's
// handler on the cache, and in simple mode the simple text alone.
TEST_F(SmallControlsTest, FrameworkStatusBarShowsPanelTextsOwnerDrawnPanelsAndSimpleText) {
    constexpr COLORREF kOwner = RGB(0, 200, 100);
    TForm* form = NewForm();
    auto* bar = Place<TStatusBar>(form, 0, 150, 300, 22);
    TStatusPanel* left = bar->AddPanel();
    left->SetWidth(60);
    left->SetText("WWWWWWWWWWWWWWWWWWWW");
    TStatusPanel* right = bar->AddPanel();
    right->SetWidth(100);
    right->SetText("WW");
    right->SetAlignment(taRightJustify);
    TStatusPanel* owner = bar->AddPanel();
    owner->SetStyle(psOwnerDraw);
    std::vector<RECT> drawn;
    bar->OnDrawPanel = [&](TStatusBar* sender, TStatusPanel* panel, const RECT& r) {
        EXPECT_EQ(sender, bar);
        EXPECT_EQ(panel, owner);
        drawn.push_back(r);
        sender->Canvas()->Brush()->SetColor(static_cast<TColor>(kOwner));
        sender->Canvas()->FillRect(r);
    };
    form->Show();
    PumpMessages();
    TsCommonData data(bar, true);
    data.SetSkinManager(manager);
    auto a = CreateAdapter<TacStatusBarWnd>(bar->Handle(), &data, manager, "");
    EXPECT_EQ(a->StatusBar, bar);
    RECT r[3]{};
    for (int i = 0; i < 3; ++i) SendMessageA(bar->Handle(), SB_GETRECT, i, reinterpret_cast<LPARAM>(&r[i]));
    // The text columns (black) inside [from, to).
    auto columns = [](const TPrinted& p, LONG from, LONG to, int& first, int& last) {
        first = INT_MAX, last = INT_MIN;
        for (int y = 0; y < p.Height; ++y)
            for (int x = from; x < to; ++x)
                if (p.At(x, y) == RGB(0, 0, 0)) first = std::min(first, x), last = std::max(last, x);
    };
    drawn.clear();
    {
        const TPrinted p = Print(bar->Handle());
        int first = 0, last = 0;
        // Left-aligned from the panel's text room, cut short of its end.
        columns(p, r[0].left, r[0].right, first, last);
        EXPECT_GE(first, r[0].left + 3);
        EXPECT_LE(first, r[0].left + 4);
        EXPECT_LE(last, r[0].right - 5);
        // Right-aligned up to the room's end.
        columns(p, r[1].left, r[1].right, first, last);
        EXPECT_GE(last, r[1].right - 10);
        EXPECT_LE(last, r[1].right - 6);
        EXPECT_GT(first, r[1].left + 40);
        // The owner's panel: its rectangle inside the part, its colour there.
        ASSERT_EQ(drawn.size(), 1u);
        EXPECT_EQ(drawn[0].left, r[2].left + 1);
        EXPECT_EQ(drawn[0].right, r[2].right - 1);
        EXPECT_EQ(p.At((r[2].left + r[2].right) / 2, p.Height / 2), kOwner);
    }
    bar->SetSimpleText("WWW");
    bar->SetSimplePanel(true);
    drawn.clear();
    a->CommonData->BGChanged = true;
    {
        const TPrinted p = Print(bar->Handle());
        EXPECT_TRUE(drawn.empty());
        int first = 0, last = 0;
        columns(p, 0, p.Width, first, last);
        EXPECT_GE(first, 3);
        EXPECT_LE(first, 4);
        EXPECT_LT(last, 60);
        for (COLORREF c : p.Pixels) ASSERT_NE(c, kOwner);
    }
    a.reset();
    EXPECT_EQ(FindAdapter(bar->Handle()), nullptr);
    bar->OnDrawPanel = nullptr;
    form->Free();
}

// A caption too wide for its button goes on two lines, split at a space
// that lets the first line fit; one that fits stays on one line.
TEST_F(SmallControlsTest, ToolBarCaptionTooWideForItsButtonTakesTwoLines) {
    HWND bar = Child(TOOLBARCLASSNAMEA, CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_FLAT, 0, 0, 300, 60);
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    SendMessageA(bar, TB_SETMAXTEXTROWS, 2, 0);
    SendMessageA(bar, TB_SETBUTTONWIDTH, 0, MAKELPARAM(60, 60));
    char wide[] = "WWW WWW WWW", narrow[] = "WW";
    TBBUTTON buttons[] = {
        {I_IMAGENONE, 1, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, reinterpret_cast<INT_PTR>(wide)},
        {I_IMAGENONE, 2, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, reinterpret_cast<INT_PTR>(narrow)},
    };
    SendMessageA(bar, TB_ADDBUTTONSA, 2, reinterpret_cast<LPARAM>(buttons));
    SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(60, 44));
    Adapt<TacToolBarWnd>(bar, "TOOLBAR");
    EXPECT_TRUE(kova::test::MouseMove(POINT{5, 5}));
    int lineHeight = 0;
    {
        HDC dc = GetDC(bar);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(bar, WM_GETFONT, 0, 0)));
        SIZE one{};
        GetTextExtentPoint32A(dc, "W", 1, &one);
        lineHeight = one.cy;
        SelectObject(dc, old);
        ReleaseDC(bar, dc);
    }
    const TPrinted p = Print(bar);
    // The rows of the caption colour inside a button.
    auto rows = [&](int index) {
        RECT r{};
        SendMessageA(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        std::vector<int> out;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (p.At(x, y) == kCaption) {
                    out.push_back(y - r.top);
                    break;
                }
        return out;
    };
    const std::vector<int> two = rows(0), one = rows(1);
    ASSERT_FALSE(two.empty());
    ASSERT_FALSE(one.empty());
    // Two bands: the first within one text height from the text's top
    // (2 below the button's), the second below it.
    EXPECT_LT(two.front(), 2 + lineHeight);
    EXPECT_GE(two.back(), 2 + lineHeight);
    // No third line: what does not fit the second is cut short.
    EXPECT_LT(two.back(), 2 + 2 * lineHeight);
    // One line, centred in the room: a single band of one text height.
    EXPECT_LE(one.back() - one.front(), lineHeight);
    adapters.clear();
    DestroyWindow(bar);
}

// The framework tool bar: the button under the mouse is hot (a disabled
// one leaves the hot button as it is, a separator clears it, and so does
// leaving the bar); a drop-down button's arrow stays pressed while its
// menu is open and comes back when it closes; the skin's removal lets go
// of the bar's drawing events.
TEST_F(SmallControlsTest, FrameworkToolBarHotTracksKeepsTheOpenArrowPressedAndLetsGoOfItsEvents) {
    TForm* form = NewForm();
    auto* bar = Place<TToolBar>(form, 0, 0, 300, 30);
    bar->SetButtonSize(40, 24);
    TToolButton* plain = bar->AddButton();
    TToolButton* disabled = bar->AddButton();
    disabled->SetEnabled(false);
    bar->AddButton(tbsSeparator);
    TToolButton* drop = bar->AddButton(tbsDropDown);
    auto* menu = new TPopupMenu(form);
    auto* item = new TMenuItem(menu);
    item->SetCaption("Item");
    menu->Items()->Add(item);
    drop->DropdownMenu = menu;
    form->Show();
    PumpMessages();
    TsCommonData data(bar, true);
    data.SetSkinManager(manager);
    auto a = CreateAdapter<TacToolBarVCLWnd>(bar->Handle(), &data, manager, "");
    ASSERT_FALSE(a->Detached);
    EXPECT_EQ(a->ToolBar, bar);
    EXPECT_EQ(data.SkinSection(), "TOOLBAR");
    EXPECT_TRUE(bar->OnAdvancedCustomDraw && bar->OnAdvancedCustomDrawButton);
    HWND h = bar->Handle();
    auto centre = [](TToolButton* b) {
        const RECT r = b->BoundsRect();
        return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    auto corner = [&](TToolButton* b) {
        const RECT r = b->BoundsRect();
        return Print(h).At(r.left + 1, r.top + 1);
    };
    EXPECT_EQ(corner(plain), kBorderNormal);
    struct Move {
        const char* name;
        LPARAM at;
        int hot;
    } moves[] = {
        {"onto a button", centre(plain), 0},
        {"onto a disabled button", centre(disabled), 0},
        {"onto a separator", centre(bar->Buttons(2)), -1},
        {"back onto the button", centre(plain), 0},
    };
    for (const Move& mv : moves) {
        SCOPED_TRACE(mv.name);
        SendMessageA(h, WM_MOUSEMOVE, 0, mv.at);
        EXPECT_EQ(a->HotIndex, mv.hot);
        EXPECT_EQ(corner(plain), mv.hot == 0 ? kBorderHot : kBorderNormal);
    }
    bar->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(a->HotIndex, -1);
    EXPECT_EQ(corner(plain), kBorderNormal);

    // The arrow part of the drop-down button while its menu is open.
    const RECT dr = drop->BoundsRect();
    const int arrow = GetSystemMetrics(SM_CXVSCROLL) - 2;
    bool asked = false;
    COLORREF arrowWhileOpen = 0;
    {
        TScopedDialogResponder responder([&](const TDialogRequest& r) {
            TDialogAnswer answer;
            if (r.kind != TDialogKind::Popup) return answer;
            asked = true;
            EXPECT_EQ(a->DroppedButton, drop);
            // Not held by the system: the open menu alone keeps it pressed.
            EXPECT_FALSE(drop->Pressed());
            arrowWhileOpen = Print(h).At(dr.right - 2, dr.top + 1);
            answer.handled = true;
            return answer;
        });
        // The system's drop-down arrow is at the button's right end.
        const LPARAM onArrow = MAKELPARAM(dr.right - 3, (dr.top + dr.bottom) / 2);
        SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, onArrow);
        SendMessageA(h, WM_LBUTTONUP, 0, onArrow);
    }
    ASSERT_TRUE(asked);
    EXPECT_EQ(arrowWhileOpen, kBorderPressed);
    EXPECT_EQ(a->DroppedButton, nullptr);
    EXPECT_EQ(a->HotIndex, -1);
    const TPrinted closed = Print(h);
    EXPECT_NE(closed.At(dr.right - 2, dr.top + 1), kBorderPressed);
    // The main part of the button is not the arrow.
    EXPECT_LT(dr.left + 1, dr.right - arrow);

    // The skin goes: the events are let go.
    SendSkinCommandToControl(bar, scSkinRemoved, reinterpret_cast<LPARAM>(manager));
    EXPECT_FALSE(bar->OnAdvancedCustomDraw);
    EXPECT_FALSE(bar->OnAdvancedCustomDrawButton);
    a.reset();
    form->Free();
}

// The framework tool bar's buttons show their image (the hot list's for
// the hot button) and, with captions shown, the caption in the tool
// button's font colour; a disabled one is faded.
TEST_F(SmallControlsTest, FrameworkToolBarButtonsShowImageAndCaption) {
    constexpr COLORREF kHotIcon = RGB(20, 200, 250);
    TForm* form = NewForm();
    auto filled = [&](COLORREF c) {
        auto* list = new TImageList(form);
        list->SetSize(16, 16);
        TBitmap b(16, 16);
        b.Pixels().Fill(0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
        list->Add(&b);
        return list;
    };
    auto* bar = Place<TToolBar>(form, 0, 0, 300, 44);
    bar->SetImages(filled(kIcon));
    bar->SetHotImages(filled(kHotIcon));
    bar->SetShowCaptions(true);
    TToolButton* go = bar->AddButton();
    go->SetCaption("Go");
    go->SetImageIndex(0);
    TToolButton* off = bar->AddButton();
    off->SetCaption("Go");
    off->SetImageIndex(0);
    off->SetEnabled(false);
    form->Show();
    PumpMessages();
    TsCommonData data(bar, true);
    data.SetSkinManager(manager);
    auto a = CreateAdapter<TacToolBarVCLWnd>(bar->Handle(), &data, manager, "");
    ASSERT_FALSE(a->Detached);
    auto count = [](const TPrinted& p, COLORREF c, const RECT& r) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += p.At(x, y) == c;
        return n;
    };
    const RECT r0 = go->BoundsRect(), r1 = off->BoundsRect();
    {
        const TPrinted p = Print(bar->Handle());
        EXPECT_GT(count(p, kIcon, r0), 100);
        EXPECT_GT(count(p, kCaption, r0), 3);
        // Faded toward the bar: neither the image's nor the caption's colour.
        EXPECT_EQ(count(p, kIcon, r1), 0);
        EXPECT_EQ(count(p, kCaption, r1), 0);
    }
    SendMessageA(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM((r0.left + r0.right) / 2, (r0.top + r0.bottom) / 2));
    ASSERT_EQ(a->HotIndex, 0);
    {
        const TPrinted p = Print(bar->Handle());
        EXPECT_GT(count(p, kHotIcon, r0), 100);
        EXPECT_EQ(count(p, kIcon, r0), 0);
    }
    a.reset();

    // How an image lies on the face, per kind of list: the image's
    // right half is left out where it has the list's background colour
    // (the key colour when the list has none); an alpha list's image is
    // blended over the face by its alpha. Compared pixel by pixel with a
    // button without an image.
    constexpr COLORREF kListBk = RGB(10, 20, 30);
    const auto pixelOf = [](COLORREF c, std::uint32_t alpha = 0xFF) {
        return (alpha << 24) | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    };
    struct Case {
        const char* Name;
        bool Alpha;
        COLORREF ListBk;     // CLR_NONE: none
        COLORREF RightHalf;  // colour of the image's right half
        std::uint32_t RightAlpha;
    } cases[] = {
        {"no background colour: the key colour is left out", false, CLR_NONE, RGB(255, 0, 255), 0xFF},
        {"the list's background colour is left out", false, kListBk, kListBk, 0xFF},
        {"an alpha list's image blends by its alpha", true, CLR_NONE, kIcon, 0x80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Bitmap32 picture(16, 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) picture.At(x, y) = x < 8 ? pixelOf(kIcon) : pixelOf(c.RightHalf, c.RightAlpha);
        TImageList* list = nullptr;
        if (c.Alpha) {
            auto* alpha = new TsAlphaImageList(form);
            alpha->SetSize(16, 16);
            TsImgListItem& item = alpha->Items().Add();
            item.ImageFormat = ifPNG;
            item.SetImgData(EncodePngRgba(picture));
            alpha->GenerateImages();
            list = alpha;
        } else {
            list = new TImageList(form);
            list->SetSize(16, 16);
            TBitmap b(16, 16);
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) b.Pixels().At(x, y) = picture.At(x, y);
            list->Add(&b);
            if (c.ListBk != CLR_NONE) ImageList_SetBkColor(list->Handle(), c.ListBk);
        }
        ASSERT_EQ(list->Count(), 1);
        auto* plainBar = Place<TToolBar>(form, 0, 50, 300, 44);
        plainBar->SetImages(list);
        TToolButton* with = plainBar->AddButton();
        with->SetImageIndex(0);
        TToolButton* without = plainBar->AddButton();
        PumpMessages();
        TsCommonData barData(plainBar, true);
        barData.SetSkinManager(manager);
        auto barAdapter = CreateAdapter<TacToolBarVCLWnd>(plainBar->Handle(), &barData, manager, "");
        ASSERT_FALSE(barAdapter->Detached);
        const TPrinted p = Print(plainBar->Handle());
        const RECT rw = with->BoundsRect(), ro = without->BoundsRect();
        ASSERT_EQ(rw.right - rw.left, ro.right - ro.left);
        TToolGlyphInput in;
        in.ButtonWidth = rw.right - rw.left, in.ButtonHeight = rw.bottom - rw.top;
        in.ImageWidth = 16, in.ImageHeight = 16;
        const TRect g = ToolButtonGlyphRect(in);
        int mismatches = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const COLORREF shown = p.At(rw.left + g.Left + x, rw.top + g.Top + y);
                const COLORREF face = p.At(ro.left + g.Left + x, ro.top + g.Top + y);
                COLORREF wanted = x < 8 ? kIcon : face;
                if (x >= 8 && c.Alpha) {
                    const auto mix = [&](int i, int f) { return (i * 0x80 + f * (255 - 0x80)) / 255; };
                    wanted = RGB(mix(GetRValue(kIcon), GetRValue(face)), mix(GetGValue(kIcon), GetGValue(face)),
                                 mix(GetBValue(kIcon), GetBValue(face)));
                }
                const auto alike = [](COLORREF a, COLORREF b) {
                    return std::abs(GetRValue(a) - GetRValue(b)) <= 2 && std::abs(GetGValue(a) - GetGValue(b)) <= 2 &&
                           std::abs(GetBValue(a) - GetBValue(b)) <= 2;
                };
                if (!alike(shown, wanted) && mismatches++ < 5)
                    ADD_FAILURE() << "at " << x << "," << y << ": shown " << std::hex << shown << ", wanted " << wanted;
            }
        EXPECT_EQ(mismatches, 0);
        barAdapter.reset();
        plainBar->Free();
    }
    form->Free();
}

// A framework tool bar with edges and a border band: its client area lies
// inside them; skinned, the band shows the bar's skin on the screen and
// in print; the bar's background leaves out the children that cover their
// own place and tells its children their background is ready.
TEST_F(SmallControlsTest, FrameworkToolBarBordersAndChildrenFollowTheSkin) {
    constexpr COLORREF kToolBar = RGB(200, 200, 200);
    TForm* form = NewForm();
    auto* bar = Place<TToolBar>(form, 0, 0, 300, 44);
    bar->SetEdgeBorders(ebLeft | ebTop | ebRight | ebBottom);
    bar->SetBorderWidth(3);
    bar->AddButton()->SetCaption("Go");
    auto* opaque = Place<TPanel>(bar, 150, 4, 30, 20);
    opaque->SetControlStyle(opaque->ControlStyle() | csOpaque);
    auto* open = Place<TPanel>(bar, 200, 4, 30, 20);
    form->Show();
    PumpMessages();
    // Two edges and the band on every side.
    const RECT cr = ClientRectInWindow(bar->Handle());
    EXPECT_EQ(cr.left, 5);
    EXPECT_EQ(cr.top, 5);
    EXPECT_EQ(cr.right, bar->Width() - 5);
    EXPECT_EQ(cr.bottom, 39);
    const int right = bar->Width() - 3;
    auto screenAt = [&](int x, int y) {
        HDC dc = GetWindowDC(bar->Handle());
        const COLORREF c = GetPixel(dc, x, y) & 0xFFFFFF;
        ReleaseDC(bar->Handle(), dc);
        return c;
    };
    EXPECT_NE(screenAt(3, 20), kToolBar);

    int told = 0;
    TWindowSubclass counter;
    counter.Attach(open->Handle(), [&](TMessage& m) {
        if (IsSkinCommand(m) && SkinSubCode(m.WParam) == scEndParentUpdate) ++told;
        counter.CallPrevious(m);
    });
    TsCommonData data(bar, true);
    data.SetSkinManager(manager);
    auto a = CreateAdapter<TacToolBarVCLWnd>(bar->Handle(), &data, manager, "");
    RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    PumpMessages();
    for (POINT q : {POINT{1, 1}, POINT{3, 20}, POINT{150, 2}, POINT{right, 20}, POINT{150, 42}})
        EXPECT_EQ(screenAt(q.x, q.y), kToolBar) << q.x << "," << q.y;
    EXPECT_GE(told, 1);
    {
        const TPrinted p = Print(bar->Handle());
        for (POINT q : {POINT{1, 1}, POINT{3, 20}, POINT{150, 2}, POINT{right, 20}, POINT{150, 42},
                        POINT{cr.left + 100, cr.top + 14}})
            EXPECT_EQ(p.At(q.x, q.y), kToolBar) << q.x << "," << q.y;
        // Children are not printed: an opaque one's place is left alone,
        // the bar shows under one that is not.
        EXPECT_NE(p.At(cr.left + 165, cr.top + 14), kToolBar);
        EXPECT_EQ(p.At(cr.left + 215, cr.top + 14), kToolBar);
    }
    // Children ask for their background inside the edges.
    TsBackgroundInfo info{};
    SendSkinCommand(bar->Handle(), scQueryBgInfo, reinterpret_cast<LPARAM>(&info));
    TsBackgroundInfo plain{};
    data.FillBackgroundInfo(plain, 0, bar->Handle());
    EXPECT_EQ(info.Offset.X, plain.Offset.X + 5);
    EXPECT_EQ(info.Offset.Y, plain.Offset.Y + 5);
    counter.Detach();
    a.reset();
    form->Free();
}

// A tool button's caption takes the colours of the section painting under
// it: the bar's own when it gives its font, else the tool button's.
TEST_F(SmallControlsTest, ToolButtonCaptionTakesTheColourOfTheSectionUnderIt) {
    constexpr COLORREF kBarFont = RGB(0, 0, 255);
    // The test skin with a bar that gives its own font.
    const std::string dir = kova::test::TempDir() + "\\toolbarfont";
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string from = kova::test::SourcePath("tests/skin/fixtures/smallskin");
    ASSERT_TRUE(CopyFileA((from + "/Master.bmp").c_str(), (dir + "\\Master.bmp").c_str(), FALSE));
    std::string options;
    {
        FILE* f = fopen((from + "/Options.dat").c_str(), "rb");
        ASSERT_NE(f, nullptr);
        char buf[4096];
        size_t n = 0;
        while ((n = fread(buf, 1, sizeof buf, f)) > 0) options.append(buf, n);
        fclose(f);
    }
    const std::string section = "[TOOLBAR]\r\n";
    size_t at = options.find("[TOOLBAR]");
    ASSERT_NE(at, std::string::npos);
    at = options.find('\n', at) + 1;
    options.insert(at, "GIVEOWNFONT=1\r\nFONTCOLOR=16711680\r\nHOTFONTCOLOR=16711680\r\n");
    {
        FILE* f = fopen((dir + "\\Options.dat").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fwrite(options.data(), 1, options.size(), f);
        fclose(f);
    }
    struct Case {
        bool GivesFont;
        COLORREF Caption;
    };
    for (const Case c : {Case{false, kCaption}, Case{true, kBarFont}}) {
        SCOPED_TRACE(c.GivesFont);
        manager->Model().LoadFolder(c.GivesFont ? dir : from);
        TForm* form = NewForm();
        auto* bar = Place<TToolBar>(form, 0, 0, 300, 44);
        bar->SetShowCaptions(true);
        bar->AddButton()->SetCaption("WWW");
        form->Show();
        PumpMessages();
        TsCommonData data(bar, true);
        data.SetSkinManager(manager);
        auto a = CreateAdapter<TacToolBarVCLWnd>(bar->Handle(), &data, manager, "");
        const TPrinted p = Print(bar->Handle());
        const RECT r = bar->Buttons(0)->BoundsRect();
        int caption = 0, other = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                caption += p.At(x, y) == c.Caption;
                other += p.At(x, y) == (c.GivesFont ? kCaption : kBarFont);
            }
        EXPECT_GT(caption, 5);
        EXPECT_EQ(other, 0);
        a.reset();
        form->Free();
    }
    manager->Model().LoadFolder(from);
}

// A framework status bar with a border band: the band from the skin, the
// panels inside it where the bar puts them.
TEST_F(SmallControlsTest, FrameworkStatusBarBorderBandComesFromTheSkin) {
    constexpr COLORREF kBar = RGB(180, 180, 180);
    TForm* form = NewForm();
    auto* bar = Place<TStatusBar>(form, 0, 150, 300, 30);
    bar->SetBorderWidth(4);
    TStatusPanel* first = bar->AddPanel();
    first->SetWidth(80);
    first->SetText("WW");
    bar->AddPanel()->SetText("");
    form->Show();
    PumpMessages();
    const RECT cr = ClientRectInWindow(bar->Handle());
    EXPECT_EQ(cr.left, 4);
    EXPECT_EQ(cr.top, 4);
    TsCommonData data(bar, true);
    data.SetSkinManager(manager);
    auto a = CreateAdapter<TacStatusBarWnd>(bar->Handle(), &data, manager, "");
    RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    PumpMessages();
    HDC dc = GetWindowDC(bar->Handle());
    for (POINT q : {POINT{1, 1}, POINT{2, 15}, POINT{bar->Width() - 2, 15}, POINT{150, 28}})
        EXPECT_EQ(GetPixel(dc, q.x, q.y) & 0xFFFFFF, kBar) << q.x << "," << q.y;
    ReleaseDC(bar->Handle(), dc);
    const TPrinted p = Print(bar->Handle());
    EXPECT_EQ(p.At(1, 1), kBar);
    // The divider closes the first panel at its right edge in the client
    // area, and the text starts inside the panel.
    RECT r{};
    SendMessageA(bar->Handle(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(p.At(cr.left + r.right - 2, cr.top + (r.top + r.bottom) / 2), kDivider);
    int leftmost = p.Width;
    for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x)
            if (p.At(x, y) != kBar && p.At(x, y) != kDivider) leftmost = std::min(leftmost, x);
    EXPECT_GE(leftmost, cr.left + r.left + 2);
    a.reset();
    form->Free();
}

// ---------------------------------------------------------------- panel

TEST_F(SmallControlsTest, PanelTakesItsSectionFromItsBevelsAndMixesWithItsParent) {
    TForm* form = NewForm();
    auto* panel = Place<TPanel>(form, 10, 10, 120, 60);
    panel->SetCaption("");
    Place<TPanel>(panel, 80, 10, 20, 20);
    form->Show();
    PumpMessages();
    struct Case {
        TBevelCut outer, inner;
        const char* section;
    } cases[] = {
        {bvRaised, bvNone, "PANEL"}, {bvLowered, bvNone, "PANEL_LOW"}, {bvRaised, bvLowered, "GROUPBOX"},
        {bvNone, bvNone, "CHECKBOX"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        panel->SetBevelOuter(c.outer);
        panel->SetBevelInner(c.inner);
        TsCommonData data(panel, true);
        data.SetSkinManager(manager);
        auto a = CreateAdapter<TacPanelWnd>(panel->Handle(), &data, manager, "");
        EXPECT_EQ(data.SkinSection(), c.section);
        EXPECT_EQ(a->Panel, panel);
        const TPrinted p = Print(panel->Handle());
        const TsSkinModel& skin = manager->Model();
        const TsGeneralData& sec = skin.Sections()[static_cast<std::size_t>(skin.IndexOfSection(c.section))];
        std::uint32_t expected = static_cast<std::uint32_t>(skin.ColorToRGB(sec.Color)) & 0xFFFFFF;
        if (sec.Transparency == 50) {
            // Half the parent's colour, half the section's.
            TsParentImageInfo bg;
            ParentImageInfoOfWnd(panel->Handle(), bg);
            ASSERT_FALSE(bg.Ready);
            expected = MixColors(static_cast<std::uint32_t>(skin.ColorToRGB(bg.FillColor)) & 0xFFFFFF, expected, 0.5);
            EXPECT_NE(expected, static_cast<std::uint32_t>(skin.ColorToRGB(sec.Color)) & 0xFFFFFF);
        }
        // The blend may round a half either way.
        auto withinOne = [](COLORREF a, std::uint32_t b) {
            for (int shift : {0, 8, 16})
                if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 1) return false;
            return true;
        };
        EXPECT_TRUE(withinOne(p.At(5, 5), expected)) << p.At(5, 5) << " " << expected;
        EXPECT_TRUE(withinOne(p.At(40, 40), expected)) << p.At(40, 40) << " " << expected;
        // The child is left to paint itself.
        EXPECT_EQ(p.At(90, 20), RGB(0x12, 0x34, 0x56));
        a.reset();
        // Given back: the framework's own painting again.
        EXPECT_EQ(FindAdapter(panel->Handle()), nullptr);
    }
    // A section given by the creator stays.
    TsCommonData data(panel, true);
    data.SetSkinManager(manager);
    auto a = CreateAdapter<TacPanelWnd>(panel->Handle(), &data, manager, "BUTTON");
    EXPECT_EQ(data.SkinSection(), "BUTTON");
    a.reset();
    // A panel that keeps its own colour (a status shown by its colour) is
    // filled with it, over each section; a new colour shows once the
    // picture is made again.
    for (const char* section : {"PANEL_LOW", "PANEL"}) {
        SCOPED_TRACE(section);
        TsCommonData own(panel, true);
        own.SetSkinManager(manager);
        own.SetCustomColor(true);
        panel->SetColor(static_cast<TColor>(0x000080FF));
        auto keeps = CreateAdapter<TacPanelWnd>(panel->Handle(), &own, manager, section);
        EXPECT_EQ(Print(panel->Handle()).At(40, 40), static_cast<COLORREF>(0x000080FF));
        panel->SetColor(static_cast<TColor>(0x00008000));
        panel->SetCaption(" ");
        EXPECT_EQ(Print(panel->Handle()).At(40, 40), static_cast<COLORREF>(0x00008000));
        panel->SetCaption("");
        keeps.reset();
    }
    form->Free();
}

TEST_F(SmallControlsTest, PanelCaptionIsDrawnInTheSectionFontColour) {
    TForm* form = NewForm();
    auto* panel = Place<TPanel>(form, 10, 10, 160, 60);
    panel->SetCaption("WWWW");
    form->Show();
    PumpMessages();
    TsCommonData data(panel, true);
    data.SetSkinManager(manager);
    auto a = CreateAdapter<TacPanelWnd>(panel->Handle(), &data, manager, "PANEL_LOW");
    auto count = [&] {
        const TPrinted p = Print(panel->Handle());
        int n = 0;
        for (COLORREF c : p.Pixels) n += c == RGB(0, 0, 0);
        return n;
    };
    // PANEL_LOW tells no font colour: black.
    EXPECT_GT(count(), 10);

    // A left-aligned caption starts inside the border band and the bevels.
    panel->SetAlignment(taLeftJustify);
    struct Room {
        int borderWidth, bevelWidth;
        TBevelCut inner;
        int left;
    } rooms[] = {{0, 1, bvNone, 1}, {10, 1, bvNone, 11}, {10, 3, bvLowered, 16}};
    for (const Room& r : rooms) {
        SCOPED_TRACE(r.left);
        panel->SetBorderWidth(r.borderWidth);
        panel->SetBevelWidth(r.bevelWidth);
        panel->SetBevelInner(r.inner);
        data.BGChanged = true;
        const TPrinted p = Print(panel->Handle());
        int first = p.Width;
        for (int y = 0; y < p.Height; ++y)
            for (int x = 0; x < p.Width; ++x)
                if (p.At(x, y) == RGB(0, 0, 0)) first = std::min(first, x);
        EXPECT_GE(first, r.left);
        EXPECT_LE(first, r.left + 2);
    }
    panel->SetCaption("");
    EXPECT_EQ(count(), 0);
    a.reset();
    form->Free();
}

// The skinned panel: its section follows its outer bevel unless set by
// hand; a section with Transparency 50 fills with the even mix of the
// parent's colour and its own; an opaque one, or the panel's own colour,
// fills plainly; the caption and then OnPaint go onto what was painted;
// child windows are left out; without the skin it is a plain panel.
TEST_F(SmallControlsTest, SkinnedPanelFollowsItsBevelsAndMixesByTransparency) {
    TForm* form = NewForm();
    auto* panel = Place<TsPanel>(form, 10, 10, 120, 60);
    panel->SetCaption("");
    Place<TPanel>(panel, 80, 10, 20, 20);
    panel->SkinData()->SetSkinManager(manager);
    form->Show();
    PumpMessages();
    const TsSkinModel& skin = manager->Model();
    // What the (unskinned) form shows under the panel.
    const std::uint32_t parent = static_cast<std::uint32_t>(ColorToRGB(form->Color())) & 0xFFFFFF;
    auto sectionColour = [&](const char* name) {
        return static_cast<std::uint32_t>(
                   skin.ColorToRGB(skin.Sections()[static_cast<std::size_t>(skin.IndexOfSection(name))].Color)) &
               0xFFFFFF;
    };
    auto alike = [](COLORREF a, std::uint32_t b) {
        for (int shift : {0, 8, 16})
            if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 1) return false;
        return true;
    };
    struct Case {
        const char* name;
        TBevelCut outer;
        const char* setSection;  // nullptr: the one the bevels call for
        bool customColor;
        const char* section;
        std::uint32_t fill;
    } cases[] = {
        {"raised: half transparent", bvRaised, nullptr, false, "PANEL", MixColors(parent, sectionColour("PANEL"), 0.5)},
        {"lowered", bvLowered, nullptr, false, "PANEL_LOW", sectionColour("PANEL_LOW")},
        {"no bevel", bvNone, nullptr, false, "CHECKBOX", sectionColour("CHECKBOX")},
        {"set by hand", bvRaised, "GROUPBOX", false, "GROUPBOX", sectionColour("GROUPBOX")},
        {"own colour", bvLowered, "PANEL_LOW", true, "PANEL_LOW", 0x00336699},
    };
    EXPECT_EQ(panel->SkinData()->SkinSection(), "PANEL");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.setSection) {
            panel->SkinData()->SetSkinSection(c.setSection);
            panel->SkinData()->ReadSkinIndexes();
        }
        panel->SetBevelOuter(c.outer);
        panel->SkinData()->SetCustomColor(c.customColor);
        panel->SetColor(c.customColor ? static_cast<TColor>(0x00336699) : clBtnFace);
        panel->SkinData()->BGChanged = true;
        const TPrinted p = Print(panel->Handle());
        EXPECT_EQ(panel->SkinData()->SkinSection(), c.section);
        EXPECT_TRUE(alike(p.At(40, 30), c.fill)) << std::hex << p.At(40, 30) << " " << c.fill;
        // The child window paints itself.
        EXPECT_EQ(p.At(90, 20), RGB(0x12, 0x34, 0x56));
    }
    EXPECT_NE(sectionColour("PANEL"), parent);

    // Caption first, then OnPaint on the same canvas.
    panel->SkinData()->SetCustomColor(false);
    panel->SetCaption("WWWW");
    std::vector<std::string> order;
    panel->OnPaint = [&](TObject* sender, TCanvas* canvas) {
        EXPECT_EQ(sender, panel);
        EXPECT_EQ(canvas, panel->SkinData()->CacheBmp->Canvas());
        order.push_back("OnPaint");
        canvas->SetPixel(2, 2, static_cast<TColor>(RGB(1, 2, 3)));
    };
    panel->SkinData()->BGChanged = true;
    {
        const TPrinted p = Print(panel->Handle());
        EXPECT_EQ(order.size(), 1u);
        EXPECT_EQ(p.At(2, 2), RGB(1, 2, 3));
        int text = 0;
        for (COLORREF c : p.Pixels) text += c == RGB(0, 0, 0);
        EXPECT_GT(text, 10);
    }
    panel->OnPaint = nullptr;

    // The skin goes: a plain panel in its own colour (the skin's would be
    // the section's now).
    panel->SetColor(static_cast<TColor>(0x00336699));
    SendSkinCommandToControl(panel, scSkinRemoved, reinterpret_cast<LPARAM>(manager));
    panel->SetCaption("");
    {
        const TPrinted p = Print(panel->Handle());
        EXPECT_EQ(p.At(40, 30), static_cast<COLORREF>(0x00336699));
    }
    form->Free();
}

// A panel whose look follows its parent keeps its cache while nothing
// changed, and builds it anew after a paint that saw only part of it; each
// paint on the screen tells the child controls their background is ready
// (sub-code 6), a printed copy does not, and the word sent to the panel is
// passed on to them.
TEST_F(SmallControlsTest, SkinnedPanelFollowingItsParentRebuildsAfterAClippedPaintAndTellsItsChildren) {
    TForm* form = NewForm();
    auto* panel = Place<TsPanel>(form, 10, 10, 120, 60);
    panel->SetCaption("");
    auto* child = Place<TPanel>(panel, 80, 10, 20, 20);
    panel->SkinData()->SetSkinManager(manager);
    form->Show();
    PumpMessages();
    panel->SkinData()->ParentDependent = true;
    int rebuilds = 0;
    panel->OnPaint = [&](TObject*, TCanvas*) { ++rebuilds; };
    int told = 0;
    TWindowSubclass counter;
    counter.Attach(child->Handle(), [&](TMessage& m) {
        if (IsSkinCommand(m) && SkinSubCode(m.WParam) == scEndParentUpdate) ++told;
        counter.CallPrevious(m);
    });
    auto paint = [&](const RECT* part) {
        RedrawWindow(panel->Handle(), part, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        PumpMessages();
    };
    const RECT corner{0, 0, 10, 10};
    panel->SkinData()->BGChanged = true;
    paint(nullptr);
    EXPECT_EQ(rebuilds, 1);
    EXPECT_GE(told, 1);
    paint(nullptr);
    EXPECT_EQ(rebuilds, 1) << "nothing changed: the cache is copied";
    paint(&corner);
    EXPECT_EQ(rebuilds, 1);
    paint(nullptr);
    EXPECT_EQ(rebuilds, 2) << "the paint before saw only a corner";
    paint(nullptr);
    EXPECT_EQ(rebuilds, 2);

    told = 0;
    panel->SkinData()->BGChanged = true;
    {
        const TPrinted p = Print(panel->Handle());
        EXPECT_GT(p.Width, 0);
    }
    EXPECT_EQ(rebuilds, 3);
    EXPECT_EQ(told, 0) << "a printed copy tells nobody";
    SendSkinCommandToControl(panel, scEndParentUpdate, 0);
    EXPECT_EQ(told, 1);
    counter.Detach();
    panel->OnPaint = nullptr;
    form->Free();
}

// Without the skin, a panel with OnPaint prints what OnPaint draws and
// lets nothing erase under it.
TEST_F(SmallControlsTest, UnskinnedPanelPrintsItsOnPaint) {
    TForm* form = NewForm();
    auto* panel = Place<TsPanel>(form, 10, 10, 120, 60);
    panel->SetCaption("");
    form->Show();
    PumpMessages();
    SendSkinCommandToControl(panel, scSkinRemoved, reinterpret_cast<LPARAM>(manager));
    ASSERT_FALSE(panel->SkinData()->IsSkinned());
    panel->OnPaint = [&](TObject*, TCanvas* canvas) {
        for (int x = 0; x < 10; ++x) canvas->SetPixel(20 + x, 20, static_cast<TColor>(RGB(1, 2, 3)));
    };
    {
        const TPrinted p = Print(panel->Handle());
        EXPECT_EQ(p.At(25, 20), RGB(1, 2, 3));
    }
    HDC dc = GetDC(panel->Handle());
    EXPECT_EQ(SendMessageA(panel->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    ReleaseDC(panel->Handle(), dc);
    panel->OnPaint = nullptr;
    form->Free();
}

// The skinned panel and edit are read from form descriptions.
TEST_F(SmallControlsTest, SkinnedPanelAndEditAreReadFromFormDescriptions) {
    RegisterPanelClass();
    RegisterEditClass();
    TForm* form = NewForm();
    const std::vector<std::string> problems = ReadComponentText(form,
                                                                "object Form1: TForm\n"
                                                                "  object sPanel1: TsPanel\n"
                                                                "    Left = 4\n"
                                                                "    Width = 90\n"
                                                                "    Caption = 'Room'\n"
                                                                "    SkinData.CustomColor = True\n"
                                                                "    SkinData.SkinSection = 'PANEL_LOW'\n"
                                                                "    object sEdit1: TsEdit\n"
                                                                "      Left = 3\n"
                                                                "      Text = 'abc'\n"
                                                                "    end\n"
                                                                "  end\n"
                                                                "end\n");
    EXPECT_TRUE(problems.empty()) << (problems.empty() ? "" : problems[0]);
    auto* panel = dynamic_cast<TsPanel*>(form->FindComponent("sPanel1"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Width(), 90);
    EXPECT_EQ(panel->Caption(), "Room");
    // The record's own properties: a panel that shows a status by its
    // colour keeps it.
    EXPECT_TRUE(panel->SkinData()->CustomColor());
    EXPECT_FALSE(panel->SkinData()->CustomFont());
    EXPECT_EQ(panel->SkinData()->SkinSection(), "PANEL_LOW");
    auto* edit = dynamic_cast<TsEdit*>(form->FindComponent("sEdit1"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Parent(), panel);
    EXPECT_EQ(edit->Text(), "abc");
    form->Free();
}

// ----------------------------------------------------------- status bar

TEST_F(SmallControlsTest, StatusBarPartsDividersSimpleModeAndPanelFrames) {
    constexpr COLORREF kBar = RGB(180, 180, 180);
    struct Case {
        const char* name;
        const char* section;
        bool simple;
    } cases[] = {{"dividers", "", false}, {"simple", "", true}, {"panel frames", "STATUSFRAMED", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND bar = Child(STATUSCLASSNAMEA, CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 100, 300, 22);
        int parts[] = {80, 160, -1};
        SendMessageA(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
        SendMessageA(bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("MMMMMMMM"));
        if (c.simple) SendMessageA(bar, SB_SIMPLE, TRUE, 0);
        auto* a = Adapt<TacStatusBarWnd>(bar, c.section);
        EXPECT_EQ(a->CommonData->SkinSection(), *c.section ? c.section : "STATUSBAR");
        const TPrinted p = Print(bar);
        RECT r[3]{};
        for (int i = 0; i < 3; ++i) SendMessageA(bar, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r[i]));
        const int mid = p.Height / 2;
        if (std::string(c.name) == "dividers") {
            // A 2-pixel divider closes the first two parts, never the last.
            for (int i = 0; i < 2; ++i) {
                EXPECT_EQ(p.At(r[i].right - 2, mid), kDivider) << i;
                EXPECT_EQ(p.At(r[i].right - 3, mid), kDivider) << i;
                EXPECT_EQ(p.At(r[i].right - 4, mid), kBar) << i;
            }
            EXPECT_EQ(p.At(r[2].right - 2, mid), kBar);
        } else if (c.simple) {
            // One panel over the whole bar: no dividers anywhere.
            for (int x = 0; x < p.Width; ++x) ASSERT_NE(p.At(x, mid), kDivider) << x;
        } else {
            // The panel mask frames every part instead.
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(p.At(r[i].left + 1, mid), kBorderNormal) << i;
                EXPECT_EQ(p.At(r[i].right - 2, mid), kBorderNormal) << i;
            }
            for (int x = 0; x < p.Width; ++x) ASSERT_NE(p.At(x, mid), kDivider) << x;
        }
        // A native bar shows no panel texts: only the bar's own colours.
        int other = 0;
        for (COLORREF px : p.Pixels) other += px != kBar && px != kDivider && px != kBorderNormal;
        EXPECT_EQ(other, 0);
        adapters.clear();
        DestroyWindow(bar);
    }
}

// Painting over and over, through the screen and through WM_PRINT, takes
// no GDI or USER objects it does not give back.
TEST_F(SmallControlsTest, RepaintsKeepGdiAndUserCountsFlat) {
    HWND spin = Child(UPDOWN_CLASSA, 0, 10, 10, 20, 40);
    HWND track = Child(TRACKBAR_CLASSA, TBS_AUTOTICKS, 40, 10, 150, 40);
    HWND bar = Child(TOOLBARCLASSNAMEA, CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_FLAT, 0, 60, 300, 30);
    HWND status = Child(STATUSCLASSNAMEA, CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 100, 300, 22);
    char go[] = "Go";
    TBBUTTON b{I_IMAGENONE, 1, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, reinterpret_cast<INT_PTR>(go)};
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(bar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
    Adapt<TacSpinWnd>(spin, "BUTTON");
    Adapt<TacTrackWnd>(track, "TRACKBAR");
    Adapt<TacToolBarWnd>(bar, "TOOLBAR");
    Adapt<TacStatusBarWnd>(status, "");
    auto round = [&] {
        for (HWND w : {spin, track, bar, status}) {
            RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
            Print(w);
        }
        PumpMessages();
    };
    round();
    const TFlatCounts counts;
    for (int i = 0; i < 30; ++i) round();
    counts.ExpectKept(TFlatCounts::TransientOnly, TFlatCounts::GuiSame);
}

// A transparent panel (a plain window here) shows its section mixed with
// its parent on every erase and leaves its children out.
TEST_F(SmallControlsTest, TransparentPanelMixesWithItsParentAroundItsChildren) {
    HWND panel = Child("STATIC", 0, 10, 10, 100, 50);
    HWND inner = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 60, 10, 20, 20, panel, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    Adapt<TacTransPanelWnd>(panel, "PANEL");
    const TPrinted p = PaintedBy(100, 50, [panel](HDC dc) {
        EXPECT_EQ(SendMessageA(panel, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    });
    TsParentImageInfo bg;
    ParentImageInfoOfWnd(panel, bg);
    const TsSkinModel& skin = manager->Model();
    const std::uint32_t parent = static_cast<std::uint32_t>(skin.ColorToRGB(bg.FillColor)) & 0xFFFFFF;
    const std::uint32_t mixed = MixColors(parent, 0xFFFFFF, 0.5);
    const COLORREF got = p.At(5, 5);
    for (int shift : {0, 8, 16})
        EXPECT_LE(std::abs(static_cast<int>((got >> shift) & 0xFF) - static_cast<int>((mixed >> shift) & 0xFF)), 1);
    EXPECT_NE(got, static_cast<COLORREF>(parent));
    EXPECT_EQ(p.At(70, 20), RGB(0x12, 0x34, 0x56));
    DestroyWindow(inner);
}

// ---------------------------------------------------------- speed button

TEST_F(SmallControlsTest, SpeedButtonPaintsFromTheSkinMovesDownAndGivesItselfBack) {
    TForm* form = NewForm();
    auto* button = Place<TSpeedButton>(form, 10, 10, 100, 30);
    button->SetCaption("WWW");
    // A toggle, so that it can stay down.
    button->SetGroupIndex(1);
    button->SetAllowAllUp(true);
    form->Show();
    PumpMessages();
    TsCommonData data(button, true);
    data.SetSkinManager(manager);
    auto handler = std::make_unique<TacSpeedButtonHandler>(button, "BUTTON", manager, &data);
    EXPECT_EQ(data.SkinSection(), "BUTTON");
    // The caption's first column of text pixels (the font colour, black).
    auto look = [&](int& firstTextColumn, int& firstTextRow) {
        const TPrinted p = Print(form->Handle());
        // The form prints its client area at the DC's origin.
        const int ox = 10, oy = 10;
        firstTextColumn = firstTextRow = -1;
        for (int x = 3; x < 97 && firstTextColumn < 0; ++x)
            for (int y = 3; y < 27; ++y)
                if (p.At(ox + x, oy + y) == RGB(0, 0, 0)) {
                    firstTextColumn = x;
                    break;
                }
        for (int y = 3; y < 27 && firstTextRow < 0; ++y)
            for (int x = 3; x < 97; ++x)
                if (p.At(ox + x, oy + y) == RGB(0, 0, 0)) {
                    firstTextRow = y;
                    break;
                }
        return p.At(ox + 1, oy + 1);
    };
    int upX = 0, upY = 0, downX = 0, downY = 0;
    EXPECT_EQ(look(upX, upY), kBorderNormal);
    ASSERT_GT(upX, 0);
    button->SetDown(true);
    EXPECT_EQ(handler->StateIndex(), 2);
    EXPECT_EQ(look(downX, downY), kBorderPressed);
    EXPECT_EQ(downX, upX + 1);
    EXPECT_EQ(downY, upY + 1);
    button->SetDown(false);
    // The skin goes: the button paints as an ordinary framework button.
    SendSkinCommandToControl(button, scSkinRemoved, reinterpret_cast<LPARAM>(manager));
    EXPECT_TRUE(handler->Restored);
    int x = 0, y = 0;
    EXPECT_NE(look(x, y), kBorderNormal);
    handler.reset();
    form->Free();
}

// A one-part glyph with an alpha channel is laid over the face by its
// alpha; the same picture without one is a strip whose bottom-left colour
// is left out. Read from a form description, the glyph keeps its alpha.
TEST_F(SmallControlsTest, SpeedButtonDrawsAOnePartAlphaGlyphByItsAlpha) {
    constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);
    TForm* form = NewForm();
    auto* button = Place<TSpeedButton>(form, 10, 10, 100, 30);
    button->SetCaption("");
    // Left half opaque red, right half blue with alpha 0.
    TBitmap picture(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) picture.Pixels().At(x, y) = x < 8 ? 0xFFFF0000u : 0x000000FFu;
    picture.SetPixelFormat(pf32bit);
    button->Glyph()->Assign(&picture);
    ASSERT_EQ(button->Glyph()->PixelFormat(), pf32bit);
    form->Show();
    PumpMessages();
    TsCommonData data(button, true);
    data.SetSkinManager(manager);
    auto handler = std::make_unique<TacSpeedButtonHandler>(button, "BUTTON", manager, &data);
    const int gx = 10 + 42, gy = 10 + 7;
    // The alpha blend may round a channel down by one.
    auto closeTo = [](COLORREF a, COLORREF b) {
        for (int shift : {0, 8, 16})
            if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 1) return false;
        return true;
    };
    {
        const TPrinted p = Print(form->Handle());
        const COLORREF face = p.At(10 + 25, 10 + 15);
        EXPECT_TRUE(closeTo(p.At(gx + 3, gy + 8), kRed)) << p.At(gx + 3, gy + 8);
        EXPECT_EQ(p.At(gx + 12, gy + 8), face);
    }
    button->Glyph()->SetPixelFormat(pf24bit);
    data.BGChanged = true;
    {
        const TPrinted p = Print(form->Handle());
        const COLORREF face = p.At(10 + 25, 10 + 15);
        EXPECT_EQ(p.At(gx + 3, gy + 8), face);
        EXPECT_EQ(p.At(gx + 12, gy + 8), kBlue);
    }
    handler.reset();

    // The same picture in a description, as a BMP file.
    TMemoryStream file;
    picture.SaveToStream(file);
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (std::uint8_t b : file.Bytes()) hex += std::string{digits[b >> 4], digits[b & 15]};
    TForm* read = NewForm();
    const std::vector<std::string> problems = ReadComponentText(read, "object Form1: TForm\n"
                                                                      "  object SpeedButton1: TSpeedButton\n"
                                                                      "    Glyph.Data = {" + hex + "}\n"
                                                                      "  end\n"
                                                                      "end\n");
    EXPECT_TRUE(problems.empty()) << (problems.empty() ? "" : problems[0]);
    auto* loaded = dynamic_cast<TSpeedButton*>(read->FindComponent("SpeedButton1"));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Glyph()->Width(), 16);
    EXPECT_EQ(loaded->Glyph()->PixelFormat(), pf32bit);
    EXPECT_EQ(loaded->Glyph()->Pixels().At(2, 2), 0xFFFF0000u);
    read->Free();
    // A 32-bit file whose alpha bytes are all 0 was written without alpha:
    // it loads as an opaque picture.
    TBitmap opaque(4, 4);
    opaque.Pixels().Fill(0x00FF0000u);
    TMemoryStream plain;
    opaque.SaveToStream(plain);
    plain.Seek(0, soBeginning);
    TBitmap back;
    back.LoadFromStream(plain);
    EXPECT_EQ(back.PixelFormat(), pf24bit);
    form->Free();
}

// The glyph and the caption stand where the layout numbers put them: the
// glyph's one image out of the strip (the disabled one for a disabled
// button), its bottom-left colour left out, both moved by a pixel when
// down; without the skin the framework button still shows its glyph.
TEST_F(SmallControlsTest, SpeedButtonGlyphAndCaptionFollowLayoutMarginAndSpacing) {
    constexpr COLORREF kUp = RGB(1, 99, 201), kDisabled = RGB(201, 99, 1), kKey = RGB(255, 0, 255);
    static_assert(GetRValue(kDisabled) > GetBValue(kDisabled) + 40);
    TForm* form = NewForm();
    auto* button = Place<TSpeedButton>(form, 10, 10, 100, 60);
    button->SetCaption("WWW");
    button->SetGroupIndex(1);
    button->SetAllowAllUp(true);
    TBitmap* glyph = button->Glyph();
    glyph->SetSize(32, 16);
    {
        PixelBuffer32& px = glyph->Pixels();
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x) {
                const COLORREF c = x < 16 ? kUp : kDisabled;
                px.At(x, y) = 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            }
        px.At(0, 15) = 0xFFFF00FFu;  // the transparent colour
    }
    button->SetNumGlyphs(2);
    form->Show();
    PumpMessages();
    TsCommonData data(button, true);
    data.SetSkinManager(manager);
    auto handler = std::make_unique<TacSpeedButtonHandler>(button, "BUTTON", manager, &data);
    // The caption's measured size in the button's font.
    SIZE text{};
    {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, button->Font()->Handle());
        RECT calc{0, 0, 255, 0};
        DrawTextA(dc, "WWW", -1, &calc, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
        text = SIZE{calc.right, calc.bottom};
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
    }
    // The button's picture on the form (at 10, 10 of its client area).
    auto boxOf = [&](COLORREF c, RECT& box) {
        const TPrinted p = Print(form->Handle());
        box = RECT{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        int text = INT_MAX, keyPixels = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 100; ++x) {
                const COLORREF got = p.At(10 + x, 10 + y);
                keyPixels += got == kKey;
                if (got == RGB(0, 0, 0) && x > 2 && x < 97 && y > 2 && y < 57) text = std::min(text, x);
                if (got != c) continue;
                box.left = std::min<LONG>(box.left, x), box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1), box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        EXPECT_EQ(keyPixels, 0);
        return text;
    };
    const int cw = text.cx, ch = text.cy;
    struct Case {
        const char* name;
        TButtonLayout layout;
        int margin, spacing;
        int glyphX, glyphY;  // where the glyph's top-left stands
        int captionLeft;     // -1: not checked (caption above or below)
    } cases[] = {
        {"left, centred", blGlyphLeft, -1, 4, HalfUp(100 - 16 - 4 - cw), 22, HalfUp(100 - 16 - 4 - cw) + 16 + 4},
        {"left, margin 5, spacing 9", blGlyphLeft, 5, 9, 5, 22, 5 + 16 + 9},
        {"right, margin 3", blGlyphRight, 3, 4, 100 - 3 - 16, 22, 100 - 3 - 16 - 4 - cw},
        {"top, centred", blGlyphTop, -1, 4, 42, HalfUp(60 - 16 - 4 - ch), -1},
        {"bottom, margin 2", blGlyphBottom, 2, 4, 42, 60 - 2 - 16, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        button->SetLayout(c.layout);
        button->SetMargin(c.margin);
        button->SetSpacing(c.spacing);
        RECT box{};
        const int textLeft = boxOf(kUp, box);
        // The transparent pixel is the image's bottom-left one.
        EXPECT_EQ(box.left, c.glyphX);
        EXPECT_EQ(box.top, c.glyphY);
        EXPECT_EQ(box.right, c.glyphX + 16);
        EXPECT_EQ(box.bottom, c.glyphY + 16);
        if (c.captionLeft >= 0) {
            // A "W" starts at its cell's edge or a pixel in.
            EXPECT_GE(textLeft, c.captionLeft);
            EXPECT_LE(textLeft, c.captionLeft + 1);
        }
    }
    // Down: the glyph moves by a pixel.
    button->SetLayout(blGlyphLeft);
    button->SetMargin(5);
    button->SetDown(true);
    RECT box{};
    boxOf(kUp, box);
    EXPECT_EQ(box.left, 6);
    EXPECT_EQ(box.top, 23);
    button->SetDown(false);
    // Disabled: the strip's second image (faded with the rest of the
    // button toward the parent).
    button->SetEnabled(false);
    boxOf(kUp, box);
    EXPECT_EQ(box.left, INT_MAX);
    {
        const TPrinted p = Print(form->Handle());
        const COLORREF mid = p.At(10 + 5 + 8, 10 + 22 + 8);
        EXPECT_GT(GetRValue(mid), GetBValue(mid) + 40);
    }
    button->SetEnabled(true);
    // Without the skin the framework's own painting shows the glyph too.
    SendSkinCommandToControl(button, scSkinRemoved, reinterpret_cast<LPARAM>(manager));
    boxOf(kUp, box);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.right, 21);
    handler.reset();
    form->Free();
}

}  // namespace
}  // namespace kova::skin::test
