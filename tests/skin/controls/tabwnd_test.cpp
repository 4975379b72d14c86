// Tab and page control adapters on real windows under a shown top-level
// window, with the tab test skin: what WM_PRINT paints is read back pixel
// by pixel, tabs are chosen by real clicks.
#include "skin/controls/tabwnd.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "../core/handlecheck.h"
#include "skinnedwindows.h"
#include "common/testdata.h"
#include "common/win32_testing.h"
#include "framework/comctrls.h"
#include "framework/forms.h"
#include "skin/controls/smallctrls.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"

namespace kova::skin::test {
namespace {

using kova::test::PumpFor;
using kova::test::PumpMessages;
using kova::test::WaitUntil;

// The tab test skin's colours (as GetPixel reads them).
constexpr COLORREF kPage = 10526720;       // PAGECONTROL
constexpr COLORREF kPageLeft = 8421376;    // PAGECONTROLLEFT
constexpr COLORREF kTab = 192;             // TABTOP, normal
constexpr COLORREF kTabSelected = 49152;   // TABTOP, selected
constexpr COLORREF kLeftTab = 12583104;    // TABLEFT, normal
constexpr COLORREF kLeftTabSelected = 12632064;
constexpr COLORREF kPageBottom = 7360544;  // PAGECONTROLBOTTOM
constexpr COLORREF kPageRight = 5251184;   // PAGECONTROLRIGHT
constexpr COLORREF kBottomTab = 10040064;  // TABBOTTOM, normal
constexpr COLORREF kBottomTabSelected = 26265;
constexpr COLORREF kRightTab = 3381555;    // TABRIGHT, normal
constexpr COLORREF kRightTabSelected = 6684774;
constexpr COLORREF kNoTabs = 4227136;      // CHECKBOX
constexpr COLORREF kUpDown = 16512;        // UPDOWNBTN, normal
constexpr COLORREF kBorder = RGB(128, 128, 128);


class TabAdapterTest : public SkinnedWindowTest {
protected:
    // A native tab control of `tabs` fixed-width tabs at (10, 10), 300 x 200.
    HWND MakeTabs(int tabs, DWORD extraStyle = 0, int w = 300, int h = 200) {
        wnd = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_FIXEDWIDTH | extraStyle,
                              10, 10, w, h, host, nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
        SendMessageA(wnd, TCM_SETITEMSIZE, 0, MAKELPARAM(60, 22));
        for (int i = 0; i < tabs; ++i) {
            std::string text = "Tab" + std::to_string(i);
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = text.data();
            SendMessageA(wnd, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        }
        PumpMessages();
        return wnd;
    }
    RECT ItemRect(int i) {
        RECT r{};
        SendMessageA(wnd, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        return r;
    }
    void Attach() {
        adapter = CreateTabControlAdapter(wnd, nullptr, manager, "");
        ASSERT_FALSE(adapter->Detached);
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
        PumpMessages();
    }
    TacTabControlWnd& Tabs() { return static_cast<TacTabControlWnd&>(*adapter); }
    // A real click at a client point of the tab control.
    ::testing::AssertionResult ClickAt(POINT client) {
        POINT screen = client;
        ClientToScreen(wnd, &screen);
        return kova::test::MouseClick(screen, wnd);
    }
};

// ------------------------------------------------------------- geometry

TEST_F(TabAdapterTest, PositionAndStyleFollowTheWindowStyle) {
    struct Case {
        DWORD Style;
        int Position, TabStyle;
    } cases[] = {
        {0, 0, 0},
        {TCS_BOTTOM, 1, 0},
        {TCS_VERTICAL, 2, 0},
        {TCS_VERTICAL | TCS_RIGHT, 3, 0},
        {TCS_BUTTONS, 0, 1},
        {TCS_BUTTONS | TCS_FLATBUTTONS, 0, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TabPositionOfStyle(c.Style), c.Position) << std::hex << c.Style;
        EXPECT_EQ(TabStyleOfStyle(c.Style), c.TabStyle) << std::hex << c.Style;
    }
}

// ------------------------------------------------------------- painting

// The strip, the tabs and the page body from the skin (each side its own
// sections), the selected tab over the frame.
TEST_F(TabAdapterTest, PaintsTheStripTheTabsAndThePageFromTheSkin) {
    struct Case {
        const char* Name;
        DWORD Style;
        COLORREF Page, Tab, Selected;
    } cases[] = {
        {"top", 0, kPage, kTab, kTabSelected},
        {"left", TCS_VERTICAL | TCS_MULTILINE, kPageLeft, kLeftTab, kLeftTabSelected},
        {"bottom", TCS_BOTTOM, kPageBottom, kBottomTab, kBottomTabSelected},
        {"right", TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, kPageRight, kRightTab, kRightTabSelected},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        MakeTabs(3, c.Style);
        SendMessageA(wnd, TCM_SETCURSEL, 1, 0);
        Attach();
        TPrinted p(wnd);
        RECT frame{};
        Tabs().PageFrameRect(frame);
        EXPECT_EQ(p.At((frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2), c.Page);
        const RECT sel = Tabs().TabItemRect(1, true);
        const RECT other = Tabs().TabItemRect(0, false);
        // Inside the border of the tab's mask: the section's colour.
        EXPECT_EQ(p.At(sel.left + 5, sel.top + 5), c.Selected);
        EXPECT_EQ(p.At(other.left + 5, other.top + 5), c.Tab);
        // The selected tab lies over the frame: its border, not the frame,
        // is where both meet.
        if (c.Style == TCS_BOTTOM) {
            EXPECT_LT(sel.top, frame.bottom);
        } else if (c.Style & TCS_RIGHT) {
            EXPECT_LT(sel.left, frame.right);
        } else if (c.Style == 0) {
            EXPECT_GT(sel.bottom, frame.top);
            EXPECT_EQ(p.At(sel.left + 1, sel.bottom - 1), kBorder);
            EXPECT_EQ(p.At(sel.left + 5, frame.top), kBorder);
            EXPECT_EQ(p.At(frame.right - 5, frame.top + 1), c.Page);
        } else {
            EXPECT_GT(sel.right, frame.left);
            EXPECT_EQ(p.At(sel.right - 1, sel.top + 1), kBorder);
            EXPECT_EQ(p.At(frame.left, sel.top + 5), kBorder);
            EXPECT_EQ(p.At(frame.left + 1, frame.bottom - 5), c.Page);
        }
        adapter.reset();
        DestroyWindow(wnd);
    }
}

// A control without tabs is one "CHECKBOX" face.
TEST_F(TabAdapterTest, AControlWithoutTabsIsOneFace) {
    MakeTabs(0);
    Attach();
    TPrinted p(wnd);
    EXPECT_EQ(p.At(5, 5), kNoTabs);
    EXPECT_EQ(p.At(150, 100), kNoTabs);
    EXPECT_EQ(Tabs().TabItemRect(0, true).right, 0);
}

// Tabs without a size and a control without a size paint nothing and
// divide by nothing; rows of items without a size count as the first.
TEST_F(TabAdapterTest, EmptySizesPaintNothingAndDivideByNothing) {
    struct Case {
        const char* Name;
        int W, H, ItemW, ItemH;
        DWORD Style;
    } cases[] = {
        {"no size", 0, 0, 60, 22, 0},
        {"tabs without size, several rows", 120, 120, 0, 0, TCS_MULTILINE},
        {"side tabs without size", 120, 120, 0, 0, TCS_VERTICAL | TCS_MULTILINE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        MakeTabs(8, c.Style, c.W, c.H);
        SendMessageA(wnd, TCM_SETITEMSIZE, 0, MAKELPARAM(c.ItemW, c.ItemH));
        Attach();
        for (int i = 0; i < 8; ++i) EXPECT_GE(Tabs().TabRowOf(i), 0);
        { TPrinted p(wnd); }
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        adapter.reset();
        DestroyWindow(wnd);
    }
}

// A side tab's text runs along the tab: its pixels stand higher than wide.
TEST_F(TabAdapterTest, SideTabsDrawTheirTextRotated) {
    MakeTabs(2, TCS_VERTICAL | TCS_MULTILINE);
    SendMessageA(wnd, TCM_SETITEMSIZE, 0, MAKELPARAM(80, 22));
    Attach();
    TPrinted p(wnd);
    const RECT r = Tabs().TabItemRect(0, false);
    const RECT text = p.BoxOf(0, RECT{r.left + 4, r.top + 4, r.right - 4, r.bottom - 4});
    ASSERT_LT(text.left, text.right) << "no text drawn";
    EXPECT_GT(text.bottom - text.top, 2 * (text.right - text.left));
}

// A real click on a tab selects it; the face follows.
TEST_F(TabAdapterTest, AClickedTabIsPaintedSelected) {
    MakeTabs(3);
    Attach();
    const RECT r2 = ItemRect(2);
    ASSERT_TRUE(ClickAt(POINT{(r2.left + r2.right) / 2, (r2.top + r2.bottom) / 2}));
    kova::test::WaitUntil([&] { return SendMessageA(wnd, TCM_GETCURSEL, 0, 0) == 2; }, 2000);
    ASSERT_EQ(SendMessageA(wnd, TCM_GETCURSEL, 0, 0), 2);
    TPrinted p(wnd);
    const RECT sel = Tabs().TabItemRect(2, true);
    const RECT first = Tabs().TabItemRect(0, false);
    EXPECT_EQ(p.At(sel.left + 5, sel.top + 5), kTabSelected);
    EXPECT_EQ(p.At(first.left + 5, first.top + 5), kTab);
    // And on the screen, once the repaint the selection asked for is done.
    UpdateWindow(wnd);
    HDC dc = GetDC(wnd);
    const COLORREF onScreen = GetPixel(dc, sel.left + 5, sel.top + 5) & 0xFFFFFF;
    ReleaseDC(wnd, dc);
    EXPECT_EQ(onScreen, kTabSelected);
}

// Skin removal: the adapter leaves, the control paints itself again.
TEST_F(TabAdapterTest, DetachingGivesTheControlBack) {
    MakeTabs(3);
    Attach();
    {
        TPrinted p(wnd);
        EXPECT_EQ(p.At(150, 120), kPage);
    }
    adapter->Detach(true);
    EXPECT_EQ(FindAdapter(wnd), nullptr);
    TPrinted p(wnd);
    EXPECT_NE(p.At(150, 120), kPage);
}

// Too many tabs for one line: the overflow arrows get an adapter, which
// goes with the skin.
TEST_F(TabAdapterTest, TheOverflowArrowsGetTheirOwnAdapter) {
    MakeTabs(12, 0, 200, 120);
    Attach();
    SendMessageA(wnd, WM_SIZE, 0, MAKELPARAM(200, 120));
    HWND spin = FindWindowExA(wnd, nullptr, UPDOWN_CLASSA, nullptr);
    ASSERT_NE(spin, nullptr) << "the control shows no arrows";
    { TPrinted p(wnd); }
    ASSERT_NE(Tabs().SpinAdapter, nullptr);
    EXPECT_EQ(FindAdapter(spin), Tabs().SpinAdapter.get());
    ASSERT_NE(dynamic_cast<TacSpinWnd*>(Tabs().SpinAdapter.get()), nullptr) << "the up-down's own adapter";
    EXPECT_EQ(Tabs().SpinAdapter->CommonData->SkinSection(), "UPDOWNBTN");
    {
        // Both arrows from the skin's up-down section.
        TPrinted arrows(spin);
        RECT r{};
        GetClientRect(spin, &r);
        EXPECT_EQ(arrows.At(r.right / 4, r.bottom / 2), kUpDown);
        EXPECT_EQ(arrows.At(3 * r.right / 4, r.bottom / 2), kUpDown);
    }
    EXPECT_EQ(SendSkinCommand(spin, scQuerySupport, 0), 1);
    adapter->Detach(false);
    EXPECT_EQ(FindAdapter(spin), nullptr);
}

// Many rounds of painting leave no handle behind.
TEST_F(TabAdapterTest, HandleCountsStayFlat) {
    MakeTabs(3, TCS_VERTICAL | TCS_MULTILINE);
    Attach();
    { TPrinted warm(wnd); }
    const THandleCounts before = LiveHandleCounts();
    for (int i = 0; i < 30; ++i) {
        SendMessageA(wnd, TCM_SETCURSEL, static_cast<WPARAM>(i % 3), 0);
        TPrinted p(wnd);
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    EXPECT_EQ(TransientHandlesChanged(before), "");
}

// A tab's text is read whole, whatever its length (the control answers
// no length: the read grows until the text fits), and painting a tab with
// a caption longer than any fixed buffer paints it.
TEST_F(TabAdapterTest, TabTextsOfAnyLengthAreReadWhole) {
    const size_t lengths[] = {0, 1, 254, 255, 256, 4095, 4096, 5000, 70000};
    MakeTabs(static_cast<int>(std::size(lengths)));
    std::vector<std::string> texts;
    for (size_t i = 0; i < std::size(lengths); ++i) {
        std::string t(lengths[i], 'a');
        for (size_t k = 0; k < t.size(); ++k) t[k] = static_cast<char>('a' + k % 26);
        if (!t.empty()) t.back() = 'Z';
        texts.push_back(t);
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = texts.back().data();
        ASSERT_TRUE(SendMessageA(wnd, TCM_SETITEMA, i, reinterpret_cast<LPARAM>(&item)));
    }
    Attach();
    for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(Tabs().TabText(static_cast<int>(i)), texts[i]) << lengths[i];
    SendMessageA(wnd, TCM_SETCURSEL, 7, 0);
    TPrinted p(wnd);
    const RECT sel = Tabs().TabItemRect(7, true);
    EXPECT_EQ(p.At(sel.left + 5, sel.top + 5), kTabSelected);
}

// Printing into a caller's DC gives the DC back as it came: as many saved
// states as before (a RestoreDC left out, or one too many, shifts the
// caller's own restores), with the selected tab's clipping gone.
TEST_F(TabAdapterTest, PrintingLeavesTheCallersDCAsItCame) {
    struct Case {
        const char* Name;
        int Tabs;
        DWORD Style;
    } cases[] = {
        {"top, a tab selected", 3, 0},
        {"left, a tab selected", 3, TCS_VERTICAL | TCS_MULTILINE},
        {"no tabs", 0, 0},
    };
    // The number of states saved on dc now.
    const auto level = [](HDC dc) {
        const int next = SaveDC(dc);
        RestoreDC(dc, -1);
        return next - 1;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        MakeTabs(c.Tabs, c.Style);
        if (c.Tabs > 0) SendMessageA(wnd, TCM_SETCURSEL, 1, 0);
        Attach();
        const TWindowDC screen(nullptr);
        const TMemoryDC dc(screen.Get());
        const TGdiObject<HBITMAP> bmp(CreateCompatibleBitmap(screen.Get(), 320, 220));
        const TSelection sel(dc.Get(), bmp.Get());
        const int outer = SaveDC(dc.Get());  // a state of the caller's own
        const int before = level(dc.Get());
        SendMessageA(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
        EXPECT_EQ(level(dc.Get()), before);
        // No clipping is left behind: the whole window is paintable.
        RECT clip{};
        EXPECT_NE(GetClipBox(dc.Get(), &clip), ERROR);
        EXPECT_EQ(clip.left, 0);
        EXPECT_EQ(clip.top, 0);
        EXPECT_EQ(clip.right, 320);
        EXPECT_EQ(clip.bottom, 220);
        EXPECT_TRUE(RestoreDC(dc.Get(), outer));
        adapter.reset();
        DestroyWindow(wnd);
    }
}

// ----------------------------------------------------------------- pages

// The framework's page control: its tabs and its pages from the skin;
// a page's adapter goes with its page.
// A framework tab control: each tab shows its image from the control's
// own image list over the skinned tab, and its caption.
TEST_F(TabAdapterTest, FrameworkTabControlTabsShowTheirImages) {
    constexpr COLORREF kIcon = RGB(250, 20, 160);
    TForm* form = NewForm(360, 300);
    auto* images = new TImageList(form);
    images->SetSize(16, 16);
    for (int i = 0; i < 2; ++i) {
        TBitmap b(16, 16);
        b.Pixels().Fill(0xFF000000u | (GetRValue(kIcon) << 16) | (GetGValue(kIcon) << 8) | GetBValue(kIcon));
        images->Add(&b);
    }
    auto* tc = PlaceOn<TTabControl>(form, 320, 120);
    tc->SetImages(images);
    tc->SetTabs({"One", "Two"});
    form->Show();
    PumpMessages();
    TsCommonData data(tc, true);
    data.SetSkinManager(manager);
    auto a = CreateTabControlAdapter(tc->Handle(), &data, manager, "");
    ASSERT_FALSE(a->Detached);
    auto& tabs = static_cast<TacTabControlWnd&>(*a);
    TPrinted p(tc->Handle());
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const RECT r = tabs.TabItemRect(i, i == 0);
        EXPECT_GT(p.Count(kIcon, r), 100);
        // The tab's own face around the image.
        EXPECT_GT(p.Count(i == 0 ? kTabSelected : kTab, r), 20);
    }
    a.reset();
    form->Free();
    PumpMessages();
}

// An owner-drawn framework page control: the skin paints each tab's face,
// the control's handler its content (told which tab is the active one);
// without the skin the handler draws through the system's owner drawing.
TEST_F(TabAdapterTest, OwnerDrawnPageControlTabsAreDrawnByTheirHandler) {
    constexpr COLORREF kOwner = RGB(10, 200, 120);
    TForm* form = NewForm(360, 300);
    auto* pc = PlaceOn<TPageControl>(form, 320, 240);
    for (int i = 0; i < 2; ++i) {
        auto* sheet = new TTabSheet(form);
        sheet->SetPageControl(pc);
        sheet->SetCaption("Page" + std::to_string(i));
    }
    pc->SetOwnerDraw(true);
    std::vector<std::pair<int, bool>> calls;
    pc->OnDrawTab = [&](TPageControl* control, int index, const RECT& r, bool active) {
        EXPECT_EQ(control, pc);
        calls.emplace_back(index, active);
        control->Canvas()->Brush()->SetColor(static_cast<TColor>(kOwner));
        control->Canvas()->FillRect(r);
    };
    form->Show();
    PumpMessages();
    TsCommonData data(pc, true);
    UseSection(data, "PAGECONTROL");
    auto a = CreatePageControlAdapter(pc->Handle(), &data, manager, "");
    ASSERT_FALSE(a->Detached);
    auto& tabs = static_cast<TacTabControlWnd&>(*a);
    calls.clear();
    data.BGChanged = true;
    {
        TPrinted p(pc->Handle());
        for (int i = 0; i < 2; ++i) {
            const RECT r = tabs.TabItemRect(i, i == 0);
            EXPECT_EQ(p.At((r.left + r.right) / 2, (r.top + r.bottom) / 2), kOwner) << i;
        }
    }
    std::sort(calls.begin(), calls.end());
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], std::make_pair(0, true));
    EXPECT_EQ(calls[1], std::make_pair(1, false));
    a.reset();
    // The system's owner drawing reaches the same handler.
    calls.clear();
    RedrawWindow(pc->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpMessages();
    EXPECT_FALSE(calls.empty());
    pc->OnDrawTab = nullptr;
    form->Free();
    PumpMessages();
}

TEST_F(TabAdapterTest, TheFrameworkPageControlAndItsPages) {
    TForm* form = TCustomForm::Create<TForm>(Application());
    form->SetBounds(80, 80, 360, 300);
    auto* pc = new TPageControl(form);
    pc->SetParent(form);
    pc->SetBounds(8, 8, 320, 240);
    TTabSheet* sheets[2]{};
    for (int i = 0; i < 2; ++i) {
        sheets[i] = new TTabSheet(form);
        sheets[i]->SetPageControl(pc);
        sheets[i]->SetCaption("Page" + std::to_string(i));
    }
    form->Show();
    PumpMessages();
    TsCommonData data(pc, true);
    data.SetSkinManager(manager);
    data.SetSkinSection("PAGECONTROL");
    data.ReadSkinIndexes();
    const int pagesBefore = PageAdapterCount();
    auto a = CreatePageControlAdapter(pc->Handle(), &data, manager, "");
    ASSERT_FALSE(a->Detached);
    EXPECT_EQ(FindAdapter(pc->Handle()), a.get());
    TacPageWnd* page = PageAdapterOf(sheets[0]->Handle());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->PageObject, sheets[0]);
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();
    {
        // The page shows the control's face under it.
        TPrinted p(sheets[0]->Handle());
        RECT pr{};
        GetClientRect(sheets[0]->Handle(), &pr);
        EXPECT_EQ(p.At(pr.right / 2, pr.bottom / 2), kPage);
        TPrinted tabs(pc->Handle());
        auto& adapterTabs = static_cast<TacTabControlWnd&>(*a);
        const RECT sel = adapterTabs.TabItemRect(0, true);
        EXPECT_EQ(tabs.At(sel.left + 5, sel.top + 5), kTabSelected);
    }
    // The second page, once it has a window, is adapted on the next change.
    pc->SetActivePageIndex(1);
    PumpMessages();
    SendMessageA(pc->Handle(), TCM_SETCURSEL, 1, 0);
    ASSERT_TRUE(sheets[1]->HandleAllocated());
    EXPECT_NE(PageAdapterOf(sheets[1]->Handle()), nullptr);
    EXPECT_EQ(PageAdapterCount(), pagesBefore + 2);
    // A page that goes takes its adapter with it.
    delete sheets[1];
    EXPECT_EQ(PageAdapterCount(), pagesBefore + 1);
    a.reset();
    EXPECT_EQ(PageAdapterCount(), pagesBefore);
    form->Free();
    PumpMessages();
}

// A native tab control skinned as a page control: each page window on it
// (its direct children, the overflow arrows aside) gets a page adapter with
// no framework page, a page made later gets one too, a window on a page is
// no page, and the pages show the control's face until the control's
// adapter goes, which takes their adapters with it.
TEST_F(TabAdapterTest, TheNativeTabControlsPageWindowsAreAdapted) {
    MakeTabs(14, 0, 200, 160);
    SendMessageA(wnd, WM_SIZE, 0, MAKELPARAM(200, 160));
    HWND spin = FindWindowExA(wnd, nullptr, UPDOWN_CLASSA, nullptr);
    ASSERT_NE(spin, nullptr) << "the control shows no arrows";
    // Pages as a property sheet makes them: dialog windows, which paint
    // nothing of their own but their erased background.
    auto page = [&](int y) {
        return CreateWindowExA(0, WC_DIALOG, "", WS_CHILD | WS_VISIBLE, 10, y, 150, 40, wnd, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    };
    HWND first = page(40);
    HWND onThePage = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 2, 2, 20, 10, first, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
    const int before = PageAdapterCount();
    adapter = CreatePageControlAdapter(wnd, nullptr, manager, "");
    ASSERT_FALSE(adapter->Detached);
    TacPageWnd* a = PageAdapterOf(first);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->PageObject, nullptr);
    EXPECT_EQ(a->CommonData->SkinSection(), "CHECKBOX");
    EXPECT_EQ(PageAdapterOf(onThePage), nullptr);
    EXPECT_EQ(PageAdapterOf(spin), nullptr);
    EXPECT_EQ(PageAdapterCount(), before + 1);
    EXPECT_EQ(SendSkinCommand(first, scQuerySupport, 0), 1);

    // A page made later is adapted as it is announced.
    HWND second = page(90);
    EXPECT_NE(PageAdapterOf(second), nullptr);
    EXPECT_EQ(PageAdapterCount(), before + 2);
    for (HWND w : {first, second}) {
        // The page shows the control's face under it.
        TPrinted p(w);
        EXPECT_EQ(p.At(75, 30), kPage);
    }
    {
        TPrinted native(onThePage);
        EXPECT_NE(native.At(10, 5), kPage);
    }

    // A page that goes takes its adapter with it; the control's adapter
    // takes the rest, and the pages paint themselves again.
    DestroyWindow(second);
    EXPECT_EQ(PageAdapterCount(), before + 1);
    adapter.reset();
    EXPECT_EQ(PageAdapterCount(), before);
    EXPECT_EQ(FindAdapter(first), nullptr);
    TPrinted p(first);
    EXPECT_NE(p.At(75, 30), kPage);
}

}  // namespace
}  // namespace kova::skin::test
