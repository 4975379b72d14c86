// Every control family the program's lists name, together on one real
// framework form with its provider and an internal skin switched on and
// off through the manager: each control gets the adapter (or handler) of
// its list, shows the skin, and once the skin goes each control's picture,
// read back through WM_PRINT, is again the one it showed before the skin
// came.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/win32_testing.h"
#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/grids.h"
#include "skin/controls/listwnd.h"
#include "skin/controls/smallctrls.h"
#include "skin/controls/spanel.h"
#include "skin/controls/speedbtn.h"
#include "skin/controls/tabwnd.h"
#include "skin/controls/toolbarwnd.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/model/skindata.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinservices.h"
#include "skin/forms/ctrladapter.h"
#include "skin/forms/provider.h"

namespace kova::skin::test {
namespace {

using kova::test::PumpMessages;

// The framework has no track bar of its own: a control on the native one,
// under a class name no list holds (it keeps its own look on a skinned form).
class TTrackBarStandIn : public TWinControl {
    KOVA_CLASS(TTrackBarStandIn, TWinControl)
public:
    using TWinControl::TWinControl;

protected:
    void CreateParams(TCreateParams& p) override {
        TWinControl::CreateParams(p);
        CreateSubClass(p, TRACKBAR_CLASSA);
        p.Style |= TBS_AUTOTICKS;
    }
};

// A window's picture, or a part of it, as WM_PRINT paints it.
struct TPicture {
    int Width = 0, Height = 0;
    std::vector<COLORREF> Pixels;
    bool operator==(const TPicture&) const = default;
    // How many pixels differ from another picture of the same size.
    int Differing(const TPicture& o) const {
        if (o.Width != Width || o.Height != Height) return Width * Height;
        int n = 0;
        for (std::size_t i = 0; i < Pixels.size(); ++i) n += Pixels[i] != o.Pixels[i];
        return n;
    }
};

// The part r of what WM_PRINT paints of wnd (window coordinates).
TPicture PrintOf(HWND wnd, RECT r) {
    RECT wr{};
    GetWindowRect(wnd, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SendMessageA(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
    TPicture p;
    p.Width = r.right - r.left;
    p.Height = r.bottom - r.top;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) p.Pixels.push_back(GetPixel(dc, x, y) & 0xFFFFFF);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return p;
}

TPicture PrintOf(HWND wnd) {
    RECT wr{};
    GetWindowRect(wnd, &wr);
    return PrintOf(wnd, RECT{0, 0, wr.right - wr.left, wr.bottom - wr.top});
}

// A graphic control's picture: its part of the form's client area as the
// screen shows it once painted (a skinned form prints its client area
// without its windowless children: they paint themselves on WM_PAINT).
TPicture PrintOf(TForm* form, TControl* c) {
    // A window over the control would be read in its place.
    const RECT at{c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()};
    for (HWND w = GetWindow(form->Handle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        RECT r{}, both{};
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
        if (IsWindowVisible(w) && IntersectRect(&both, &r, &at)) ADD_FAILURE() << "a window covers the control";
    }
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    GdiFlush();
    TPicture p;
    p.Width = c->Width();
    p.Height = c->Height();
    HDC dc = GetDC(form->Handle());
    for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x) p.Pixels.push_back(GetPixel(dc, c->Left() + x, c->Top() + y) & 0xFFFFFF);
    ReleaseDC(form->Handle(), dc);
    return p;
}

class ControlsOnASkinnedForm : public ::testing::Test {
protected:
    void TearDown() override { ResetSkinServices(); }
};

template <class C>
C* Place(TForm* form, int x, int y, int w, int h) {
    auto* c = new C(form);
    c->SetParent(form);
    c->SetBounds(x, y, w, h);
    return c;
}

TEST_F(ControlsOnASkinnedForm, EachControlShowsTheSkinAndGetsItsNativeLookBackWhenTheSkinGoes) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                                             ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    auto* manager = new TsSkinManager(nullptr);
    AddInternalSkins(manager->Model().InternalSkins);
    // The lists as the program's main manager stores them.
    manager->ThirdParty.Lists[5] = "TStringGrid";
    manager->ThirdParty.Lists[7] = "TListView";
    manager->ThirdParty.Lists[8] = "TPanel";
    manager->ThirdParty.Lists[9] = "TTreeView";
    manager->ThirdParty.Lists[13] = "TPageControl";
    manager->ThirdParty.Lists[15] = "TToolBar";
    manager->ThirdParty.Lists[16] = "TStatusBar";
    manager->ThirdParty.Lists[17] = "TSpeedButton";
    manager->ThirdParty.Lists[19] = "TUpDown";
    manager->UpdateThirdPartyLists();
    manager->SetActive(false);
    manager->SetSkinName("Linen (internal)");

    TForm* form = TCustomForm::Create<TForm>(Application());
    form->SetBounds(60, 40, 640, 520);
    auto* pages = Place<TPageControl>(form, 8, 8, 260, 120);
    for (int i = 0; i < 3; ++i) {
        auto* sheet = new TTabSheet(form);
        sheet->SetPageControl(pages);
        sheet->SetCaption("Page" + std::to_string(i));
    }
    pages->SetActivePageIndex(1);
    auto* updown = Place<TUpDown>(form, 280, 8, 18, 40);
    auto* track = Place<TTrackBarStandIn>(form, 310, 8, 160, 36);
    // Below the top-aligned tool bar: it is read from the screen.
    auto* speed = Place<TSpeedButton>(form, 480, 60, 60, 24);
    speed->SetCaption("WW");
    // A toggle, so that it stays down.
    speed->SetGroupIndex(1);
    speed->SetAllowAllUp(true);
    auto* spanel = Place<TsPanel>(form, 280, 60, 120, 60);
    spanel->SetCaption("");
    auto* list = Place<TListView>(form, 8, 140, 260, 110);
    list->SetViewStyle(vsReport);
    list->AddColumn("Name", 120);
    list->AddColumn("Seat", 80);
    list->AddItem("Alice", {"1"});
    list->AddItem("Bob", {"2"});
    auto* tree = Place<TTreeView>(form, 280, 140, 160, 110);
    HTREEITEM root = tree->AddItem(nullptr, "Tables");
    tree->AddItem(root, "Table 1");
    auto* grid = Place<TStringGrid>(form, 8, 260, 260, 110);
    grid->SetColCount(3);
    grid->SetRowCount(4);
    grid->SetCells(1, 1, "a");
    auto* bar = new TToolBar(form);
    bar->SetParent(form);
    bar->SetShowCaptions(true);
    for (const char* caption : {"One", "Two"}) bar->AddButton()->SetCaption(caption);
    auto* status = new TStatusBar(form);
    status->SetParent(form);
    for (const char* text : {"Ready", "2 tables"}) {
        TStatusPanel* p = status->AddPanel();
        p->SetText(text);
        p->SetWidth(120);
    }
    auto* provider = new TsSkinProvider(form);
    provider->Loaded();
    form->Show();
    PumpMessages();
    ASSERT_EQ(provider->Adapter, nullptr) << "no skin yet";

    struct Shown {
        const char* what;
        TWinControl* control;  // nullptr: the speed button
    };
    const Shown shown[] = {
        {"page control", pages}, {"up-down", updown}, {"track bar", track}, {"speed button", nullptr},
        {"panel", spanel},       {"list view", list}, {"tree view", tree},  {"string grid", grid},
        {"tool bar", bar},       {"status bar", status},
    };
    auto picture = [&](const Shown& s) { return s.control ? PrintOf(s.control->Handle()) : PrintOf(form, speed); };
    std::vector<TPicture> native;
    for (const Shown& s : shown) native.push_back(picture(s));
    speed->SetDown(true);
    const TPicture nativeDown = PrintOf(form, speed);
    speed->SetDown(false);

    manager->SetActive(true);
    PumpMessages();
    ASSERT_TRUE(manager->Active());
    ASSERT_NE(provider->Adapter, nullptr);

    // Each listed control has the adapter of its list.
    struct Adapted {
        const char* what;
        TWinControl* control;
        bool (*isItsAdapter)(TacMainWnd*);
    };
    const Adapted adapted[] = {
        {"page control", pages, [](TacMainWnd* a) { return dynamic_cast<TacPageControlWnd*>(a) != nullptr; }},
        {"up-down", updown, [](TacMainWnd* a) { return dynamic_cast<TacSpinWnd*>(a) != nullptr; }},
        {"list view", list, [](TacMainWnd* a) { return dynamic_cast<TacListViewWnd*>(a) != nullptr; }},
        {"tree view", tree, [](TacMainWnd* a) { return dynamic_cast<TacTreeViewWnd*>(a) != nullptr; }},
        {"string grid", grid, [](TacMainWnd* a) { return dynamic_cast<TacGridWnd*>(a) != nullptr; }},
        {"tool bar", bar, [](TacMainWnd* a) { return dynamic_cast<TacToolBarVCLWnd*>(a) != nullptr; }},
        {"status bar", status, [](TacMainWnd* a) { return dynamic_cast<TacStatusBarWnd*>(a) != nullptr; }},
    };
    for (const Adapted& c : adapted) {
        TacMainWnd* a = FindAdapter(c.control->Handle());
        ASSERT_NE(a, nullptr) << c.what;
        EXPECT_TRUE(c.isItsAdapter(a)) << c.what;
        EXPECT_FALSE(a->Detached) << c.what;
    }
    EXPECT_EQ(FindAdapter(track->Handle()), nullptr) << "no list names the track bar";
    auto* ctrlAdapter = static_cast<TacCtrlAdapter*>(provider->Adapter.get());
    ASSERT_EQ(ctrlAdapter->GraphItems.size(), 1u);
    EXPECT_NE(dynamic_cast<TacSpeedButtonHandler*>(ctrlAdapter->GraphItems[0]->Handler.get()), nullptr);
    EXPECT_TRUE(spanel->SkinData()->IsSkinned(true));

    // Each skinned control shows the skin: its picture differs from its
    // native one in more pixels than its outline holds (the tree's white
    // face is the skin's too, its frame is not); the track bar, which no
    // list names, keeps its picture.
    for (std::size_t i = 0; i < std::size(shown); ++i) {
        const TPicture now = picture(shown[i]);
        if (shown[i].control == track)
            EXPECT_EQ(now, native[i]) << shown[i].what;
        else
            EXPECT_GT(now.Differing(native[i]), 2 * (now.Width + now.Height)) << shown[i].what;
    }
    {
        // The selected tab is painted last and raised above the others.
        auto& tabs = static_cast<TacTabControlWnd&>(*FindAdapter(pages->Handle()));
        const RECT sel = tabs.TabItemRect(1, true);
        const RECT left = tabs.TabItemRect(0, false);
        EXPECT_LT(sel.top, left.top);
        EXPECT_LT(sel.left, left.right) << "the selected tab overlaps its neighbour";
    }

    {
        // Held down, the skinned speed button shows another picture.
        const TPicture up = PrintOf(form, speed);
        speed->SetDown(true);
        const TPicture down = PrintOf(form, speed);
        speed->SetDown(false);
        EXPECT_GT(down.Differing(up), 0);
        EXPECT_GT(down.Differing(nativeDown), 2 * (down.Width + down.Height));
    }

    // The skin goes: every control shows what it showed before.
    manager->SetActive(false);
    PumpMessages();
    EXPECT_EQ(provider->Adapter, nullptr);
    for (const Adapted& c : adapted) EXPECT_EQ(FindAdapter(c.control->Handle()), nullptr) << c.what;
    for (std::size_t i = 0; i < std::size(shown); ++i) {
        const TPicture now = picture(shown[i]);
        EXPECT_EQ(now.Differing(native[i]), 0) << shown[i].what;
    }
    speed->SetDown(true);
    EXPECT_EQ(PrintOf(form, speed).Differing(nativeDown), 0) << "the speed button held down";
    form->Free();
    PumpMessages();
    manager->Free();
}

// The caption of a skinned speed button is on the screen in its section's
// font colour; a button without one shows none of it.
TEST_F(ControlsOnASkinnedForm, ASkinnedSpeedButtonShowsItsCaptionInTheSkinsFontColour) {
    auto* manager = new TsSkinManager(nullptr);
    AddInternalSkins(manager->Model().InternalSkins);
    manager->ThirdParty.Lists[17] = "TSpeedButton";
    manager->UpdateThirdPartyLists();
    manager->SetActive(false);
    manager->SetSkinName("Linen (internal)");
    TForm* form = TCustomForm::Create<TForm>(Application());
    form->SetBounds(60, 40, 320, 160);
    auto* captioned = Place<TSpeedButton>(form, 20, 20, 120, 32);
    captioned->SetCaption("WWWW");
    auto* blank = Place<TSpeedButton>(form, 160, 20, 120, 32);
    blank->SetCaption("");
    auto* provider = new TsSkinProvider(form);
    provider->Loaded();
    form->Show();
    PumpMessages();
    manager->SetActive(true);
    PumpMessages();
    ASSERT_TRUE(manager->Active());
    auto* ctrlAdapter = static_cast<TacCtrlAdapter*>(provider->Adapter.get());
    ASSERT_NE(ctrlAdapter, nullptr);
    ASSERT_EQ(ctrlAdapter->GraphItems.size(), 2u);
    const TsGeneralData* sec = ctrlAdapter->GraphItems[0]->SkinData->Section();
    ASSERT_NE(sec, nullptr);
    const COLORREF text = static_cast<COLORREF>(manager->Model().ColorToRGB(sec->FontColors[0])) & 0xFFFFFF;
    auto inText = [&](TSpeedButton* b) {
        const TPicture p = PrintOf(form, b);
        int n = 0;
        for (COLORREF c : p.Pixels) n += c == text;
        return n;
    };
    // Smoothed letters: their stems at least reach the font colour.
    EXPECT_GE(inText(captioned), 8) << "the caption's pixels in the skin's font colour";
    EXPECT_EQ(inText(blank), 0);
    form->Free();
    PumpMessages();
    manager->Free();
}

}  // namespace
}  // namespace kova::skin::test
