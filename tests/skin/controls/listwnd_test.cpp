// List view, grid and tree adapters on real windows with the tab test
// skin: colours mapped into the controls and given back, the list view's
// header painted from the skin (pressed column by a real press, sort
// arrows), thumb drags scrolled by whole items.
#include "skin/controls/listwnd.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>
#include <string>
#include <utility>

#include "../core/handlecheck.h"
#include "skinnedwindows.h"
#include "common/testdata.h"
#include "common/win32_testing.h"
#include "framework/comctrls.h"
#include "framework/forms.h"
#include "framework/grids.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"

namespace kova::skin::test {
namespace {

using kova::test::PumpFor;
using kova::test::PumpMessages;
using kova::test::WaitUntil;

constexpr COLORREF kEdit = 16772829;       // EDIT
constexpr COLORREF kEditFont = 128;
constexpr COLORREF kHeader = 8405024;      // COLHEADER, normal
constexpr COLORREF kHeaderDown = 2113664;  // COLHEADER, pressed
constexpr COLORREF kGlobal = 12632256;     // GLOBALINFO
constexpr COLORREF kGrey = RGB(128, 128, 128);


class ListAdapterTest : public SkinnedWindowTest {
protected:
    // A report-view list of `rows` rows and three columns, the second
    // sorted up.
    HWND MakeList(int rows) {
        wnd = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, 10, 10, 380, 240,
                              host, nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
        for (int c = 0; c < 3; ++c) {
            std::string text = "Col" + std::to_string(c);
            LVCOLUMNA col{};
            col.mask = LVCF_TEXT | LVCF_WIDTH;
            col.cx = 120;
            col.pszText = text.data();
            SendMessageA(wnd, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&col));
        }
        HWND header = reinterpret_cast<HWND>(SendMessageA(wnd, LVM_GETHEADER, 0, 0));
        HDITEMA hi{};
        hi.mask = HDI_FORMAT;
        SendMessageA(header, HDM_GETITEMA, 1, reinterpret_cast<LPARAM>(&hi));
        hi.fmt |= HDF_SORTUP;
        SendMessageA(header, HDM_SETITEMA, 1, reinterpret_cast<LPARAM>(&hi));
        for (int i = 0; i < rows; ++i) {
            std::string text = "row " + std::to_string(i);
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = text.data();
            SendMessageA(wnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
        PumpMessages();
        return wnd;
    }
    TacListViewWnd& List() { return static_cast<TacListViewWnd&>(*adapter); }
    RECT HeaderItem(int i) {
        RECT r{};
        SendMessageA(List().HeaderWnd, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        return r;
    }
};

// The skin's colours while skinned, the list's own ones (not the
// system's) after.
TEST_F(ListAdapterTest, ListColoursFollowTheSkinAndComeBack) {
    MakeList(5);
    SendMessageA(wnd, LVM_SETBKCOLOR, 0, 0x123456);
    SendMessageA(wnd, LVM_SETTEXTBKCOLOR, 0, 0x123456);
    SendMessageA(wnd, LVM_SETTEXTCOLOR, 0, 0x00AA00);
    adapter = CreateListViewAdapter(wnd, nullptr, manager, "");
    ASSERT_FALSE(adapter->Detached);
    EXPECT_EQ(SendMessageA(wnd, LVM_GETBKCOLOR, 0, 0), static_cast<LRESULT>(kEdit));
    EXPECT_EQ(SendMessageA(wnd, LVM_GETTEXTBKCOLOR, 0, 0), static_cast<LRESULT>(kEdit));
    EXPECT_EQ(SendMessageA(wnd, LVM_GETTEXTCOLOR, 0, 0), static_cast<LRESULT>(kEditFont));
    adapter->Detach(true);
    EXPECT_EQ(SendMessageA(wnd, LVM_GETBKCOLOR, 0, 0), 0x123456);
    EXPECT_EQ(SendMessageA(wnd, LVM_GETTEXTBKCOLOR, 0, 0), 0x123456);
    EXPECT_EQ(SendMessageA(wnd, LVM_GETTEXTCOLOR, 0, 0), 0x00AA00);
}

// The header from the skin: each column in "COLHEADER", the sorted one
// with its arrow; a real press shows its column pressed, but not on a
// divider.
TEST_F(ListAdapterTest, TheHeaderShowsTheSkinThePressedColumnAndTheSortArrow) {
    MakeList(5);
    adapter = CreateListViewAdapter(wnd, nullptr, manager, "");
    HWND header = List().HeaderWnd;
    ASSERT_NE(header, nullptr);
    const RECT c0 = HeaderItem(0), c1 = HeaderItem(1);
    {
        TPrinted p(header);
        EXPECT_EQ(p.At(c0.left + 100, c0.top + 5), kHeader);
        // The arrow's pixels lie in the sorted column only (past the text).
        const RECT after0{c0.left + 30, c0.top, c0.right - 6, c0.bottom};
        const RECT after1{c1.left + 30, c1.top, c1.right - 6, c1.bottom};
        EXPECT_EQ(p.Count(kGrey, RECT{after0.left, after0.top + 4, after0.right, after0.bottom - 4}), 0);
        EXPECT_GT(p.Count(kGrey, RECT{after1.left, after1.top + 4, after1.right, after1.bottom - 4}), 10);
    }
    struct Case {
        const char* Name;
        POINT At;  // client point of the header
        int Pressed;
    } cases[] = {
        {"column", POINT{(c0.left + c0.right) / 2, (c0.top + c0.bottom) / 2}, 0},
        {"divider", POINT{c0.right - 1, (c0.top + c0.bottom) / 2}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        POINT screen = c.At;
        ClientToScreen(header, &screen);
        ASSERT_TRUE(kova::test::MouseMove(screen, header));
        ASSERT_TRUE(kova::test::MouseDown(screen, header));
        EXPECT_EQ(List().PressedColumn, c.Pressed);
        UpdateWindow(header);
        HDC dc = GetDC(header);
        const COLORREF shown = GetPixel(dc, c0.left + 100, c0.top + 5) & 0xFFFFFF;
        const COLORREF other = GetPixel(dc, HeaderItem(2).left + 100, c0.top + 5) & 0xFFFFFF;
        ReleaseDC(header, dc);
        if (c.Pressed == 0) {
            EXPECT_EQ(shown, kHeaderDown);
        }
        EXPECT_EQ(other, kHeader);
        ASSERT_TRUE(kova::test::MouseUp(screen, header));
        EXPECT_EQ(List().PressedColumn, -1);
    }
}

// A column's text is read whole, whatever its length.
TEST_F(ListAdapterTest, HeaderTextsOfAnyLengthAreReadWhole) {
    MakeList(2);
    adapter = CreateListViewAdapter(wnd, nullptr, manager, "");
    HWND header = List().HeaderWnd;
    ASSERT_NE(header, nullptr);
    const size_t lengths[] = {0, 128, 129, 300, 5000};
    for (size_t n : lengths) {
        SCOPED_TRACE(n);
        std::string text(n, 'x');
        if (n) text.back() = 'Z';
        HDITEMA hi{};
        hi.mask = HDI_TEXT;
        hi.pszText = text.data();
        ASSERT_TRUE(SendMessageA(header, HDM_SETITEMA, 0, reinterpret_cast<LPARAM>(&hi)));
        EXPECT_EQ(List().HeaderItemText(0), text);
        // The other columns keep theirs.
        EXPECT_EQ(List().HeaderItemText(1), "Col1");
        TPrinted p(header);
        EXPECT_EQ(p.At(HeaderItem(2).left + 100, HeaderItem(2).top + 5), kHeader);
    }
}

// A thumb drag scrolls by whole items, measured against where the list
// is; an empty list takes it without scrolling.
TEST_F(ListAdapterTest, ThumbDragsScrollByWholeItems) {
    struct Case {
        const char* Name;
        int Rows;
        int To;
        int Top;
    } cases[] = {{"down", 100, 10, 10}, {"again", 100, 10, 10}, {"up", 100, 3, 3}, {"empty", 0, 5, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        if (!adapter || c.Rows == 0) {
            adapter.reset();
            if (IsWindow(wnd)) DestroyWindow(wnd);
            MakeList(c.Rows);
            adapter = CreateListViewAdapter(wnd, nullptr, manager, "");
        }
        SendScrollMessage(wnd, WM_VSCROLL, SB_THUMBTRACK, c.To);
        EXPECT_EQ(SendMessageA(wnd, LVM_GETTOPINDEX, 0, 0), c.Top);
    }
}

// A header made after the adapter is held and skinned; the first one is
// let go of.
TEST_F(ListAdapterTest, AHeaderMadeLaterIsSkinned) {
    wnd = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_LIST, 10, 10, 380, 240, host,
                          nullptr, GetModuleHandleA(nullptr), nullptr);
    adapter = CreateListViewAdapter(wnd, nullptr, manager, "");
    HWND first = List().HeaderWnd;
    HWND later = CreateWindowExA(0, WC_HEADERA, "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 20, wnd, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(List().HeaderWnd, later);
    EXPECT_NE(List().HeaderWnd, first);
    DestroyWindow(later);
    EXPECT_EQ(List().HeaderWnd, nullptr);
}

// A tree view: the skin's colours, its background painted from the skin,
// its own colours back after.
TEST_F(ListAdapterTest, TreeColoursFollowTheSkinAndComeBack) {
    wnd = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 200, host, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
    SendMessageA(wnd, TVM_SETBKCOLOR, 0, 0x224466);
    adapter = CreateTreeViewAdapter(wnd, nullptr, manager, "");
    EXPECT_EQ(SendMessageA(wnd, TVM_GETBKCOLOR, 0, 0), static_cast<LRESULT>(kEdit));
    EXPECT_EQ(SendMessageA(wnd, TVM_GETTEXTCOLOR, 0, 0), static_cast<LRESULT>(kEditFont));
    {
        TPrinted p(wnd);
        EXPECT_EQ(p.At(100, 150), kEdit);
    }
    adapter->Detach(true);
    EXPECT_EQ(SendMessageA(wnd, TVM_GETBKCOLOR, 0, 0), 0x224466);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(wnd, TVM_GETTEXTCOLOR, 0, 0)), CLR_NONE);
}

// An outside-party grid known only by its published properties.
class TLookStandIn : public TPersistent {
    KOVA_CLASS_PROPS(TLookStandIn, TPersistent)
public:
    TColor From = clNone, To = 0x010203;
    static void DefineProps(TPropList& L) {
        L.For<TLookStandIn>()
            .Color("FixedGradientFrom", [](TLookStandIn* l) { return l->From; }, [](TLookStandIn* l, TColor c) { l->From = c; })
            .Color("FixedGradientTo", [](TLookStandIn* l) { return l->To; }, [](TLookStandIn* l, TColor c) { l->To = c; });
    }
};
class TGridStandIn : public TCustomControl {
    KOVA_CLASS_PROPS(TGridStandIn, TCustomControl)
public:
    using TCustomControl::TCustomControl;
    TColor Fixed = 0x0A0B0C, Line = 0x0D0E0F, Selection = 0x101112, SelectionText = 0x131415;
    TLookStandIn Look;
    static void DefineProps(TPropList& L) {
        L.For<TGridStandIn>()
            .Color("FixedColor", [](TGridStandIn* g) { return g->Fixed; }, [](TGridStandIn* g, TColor c) { g->Fixed = c; })
            .Color("GridLineColor", [](TGridStandIn* g) { return g->Line; }, [](TGridStandIn* g, TColor c) { g->Line = c; })
            .Color("SelectionColor", [](TGridStandIn* g) { return g->Selection; },
                   [](TGridStandIn* g, TColor c) { g->Selection = c; })
            .Color("SelectionTextColor", [](TGridStandIn* g) { return g->SelectionText; },
                   [](TGridStandIn* g, TColor c) { g->SelectionText = c; })
            .Object("ControlLook", [](TGridStandIn* g) -> TObject* { return &g->Look; }, nullptr);
    }
};

// Data-aware grids (known by their "DataSource" property) scroll to where
// the thumb was let go once more after the end of a drag, as their own
// scrolling answers only the position; "TwwDBGrid" does that itself.
// Stand-ins under those names record the scroll messages they are given.
class TScrollRecordingGrid : public TCustomControl {
    KOVA_CLASS(TScrollRecordingGrid, TCustomControl)
public:
    using TCustomControl::TCustomControl;
    std::vector<std::pair<int, int>> Scrolls;  // code, position

protected:
    void CreateParams(TCreateParams& p) override {
        TCustomControl::CreateParams(p);
        p.Style |= WS_VSCROLL;
    }
    void HandleMessage(TMessage& m) override {
        if (m.Msg == WM_VSCROLL) Scrolls.emplace_back(LOWORD(m.WParam), HIWORD(m.WParam));
        TCustomControl::HandleMessage(m);
    }
};
class TDataGridStandIn : public TScrollRecordingGrid {
    KOVA_CLASS_PROPS(TDataGridStandIn, TScrollRecordingGrid)
public:
    using TScrollRecordingGrid::TScrollRecordingGrid;
    static void DefineProps(TPropList& L) { L.For<TDataGridStandIn>().Int("DataSource", [](TDataGridStandIn*) { return 0; }); }
};
class TwwDBGrid : public TScrollRecordingGrid {
    KOVA_CLASS_PROPS(TwwDBGrid, TScrollRecordingGrid)
public:
    using TScrollRecordingGrid::TScrollRecordingGrid;
    static void DefineProps(TPropList& L) { L.For<TwwDBGrid>().Int("DataSource", [](TwwDBGrid*) { return 0; }); }
};

TEST_F(ListAdapterTest, DataAwareGridsScrollToTheThumbAgainAfterADrag) {
    struct Case {
        const char* Name;
        TScrollRecordingGrid* (*Make)(TForm*);
        std::vector<std::pair<int, int>> Expected;
    } cases[] = {
        {"data-aware grid", [](TForm* f) -> TScrollRecordingGrid* { return new TDataGridStandIn(f); },
         {{SB_ENDSCROLL, 0}, {SB_THUMBPOSITION, 40}}},
        {"TwwDBGrid", [](TForm* f) -> TScrollRecordingGrid* { return new TwwDBGrid(f); }, {{SB_ENDSCROLL, 0}}},
        {"grid without a data source", [](TForm* f) { return new TScrollRecordingGrid(f); }, {{SB_ENDSCROLL, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TForm* form = TCustomForm::Create<TForm>(Application());
        form->SetBounds(80, 80, 360, 300);
        TScrollRecordingGrid* grid = c.Make(form);
        grid->SetParent(form);
        grid->SetBounds(8, 8, 200, 150);
        form->Show();
        PumpMessages();
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS | SIF_PAGE, 0, 100, 10, 40, 0};
        SetScrollInfo(grid->Handle(), SB_VERT, &si, FALSE);
        {
            TsCommonData data(grid, true);
            data.SetSkinManager(manager);
            data.SetSkinSection("EDIT");
            data.ReadSkinIndexes();
            auto a = CreateGridAdapter(grid->Handle(), &data, manager, "EDIT");
            ASSERT_FALSE(a->Detached);
            grid->Scrolls.clear();
            SendMessageA(grid->Handle(), WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
            EXPECT_EQ(grid->Scrolls, c.Expected);
            a->Detach(true);
        }
        form->Free();
    }
}

// A control freed before its adapter, as the child adaptation's record
// outlives it: the record forgets the control, and the adapter leaves later
// (the skin going, then freed) without reaching it; the form's chain and
// its other controls go on working.
TEST_F(ListAdapterTest, AControlFreedBeforeItsAdapterIsForgottenAndTheAdapterLeavesCleanly) {
    TForm* form = TCustomForm::Create<TForm>(Application());
    form->SetBounds(80, 80, 360, 300);
    auto* grid = new TStringGrid(form);
    grid->SetParent(form);
    grid->SetBounds(8, 8, 300, 200);
    grid->SetFixedColor(0x336699);
    auto* other = new TStringGrid(form);
    other->SetParent(form);
    other->SetBounds(8, 210, 100, 40);
    form->Show();
    PumpMessages();
    const long subclasses = LiveHandles(THandleKind::Subclass);
    {
        TsCommonData data(nullptr, true);
        data.OwnerControl = grid;
        data.OwnerObject = grid;
        data.SetSkinManager(manager);
        data.SetSkinSection("EDIT");
        data.ReadSkinIndexes();
        auto a = CreateGridAdapter(grid->Handle(), &data, manager, "EDIT");
        ASSERT_FALSE(a->Detached);
        EXPECT_EQ(LiveHandles(THandleKind::Subclass), subclasses + 1);
        grid->Free();
        EXPECT_EQ(data.OwnerControl, nullptr) << "the record still names the freed control";
        EXPECT_EQ(data.OwnerObject, nullptr);
        EXPECT_EQ(LiveHandles(THandleKind::Subclass), subclasses);
        a->Detach(true);
        a.reset();
    }
    EXPECT_EQ(LiveHandles(THandleKind::Subclass), subclasses);
    SendMessageA(form->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("still here"));
    EXPECT_EQ(form->Caption(), "still here");
    EXPECT_EQ(form->ControlCount(), 1);
    EXPECT_TRUE(IsWindow(other->Handle()));
    form->Free();
}

// A grid of another kind: line colours and a fixed-cell font, no
// "ControlLook".
class TFontStandIn : public TPersistent {
    KOVA_CLASS_PROPS(TFontStandIn, TPersistent)
public:
    TColor Colour = 0x161718;
    static void DefineProps(TPropList& L) {
        L.For<TFontStandIn>().Color("Color", [](TFontStandIn* f) { return f->Colour; },
                                    [](TFontStandIn* f, TColor c) { f->Colour = c; });
    }
};
class TPlainGridStandIn : public TCustomControl {
    KOVA_CLASS_PROPS(TPlainGridStandIn, TCustomControl)
public:
    using TCustomControl::TCustomControl;
    TColor Fixed = 0x0A0B0C, Line = 0x0D0E0F, FixedLine = 0x191A1B;
    TFontStandIn FixedFont;
    static void DefineProps(TPropList& L) {
        L.For<TPlainGridStandIn>()
            .Color("FixedColor", [](TPlainGridStandIn* g) { return g->Fixed; },
                   [](TPlainGridStandIn* g, TColor c) { g->Fixed = c; })
            .Color("GridLineColor", [](TPlainGridStandIn* g) { return g->Line; },
                   [](TPlainGridStandIn* g, TColor c) { g->Line = c; })
            .Color("GridFixedLineColor", [](TPlainGridStandIn* g) { return g->FixedLine; },
                   [](TPlainGridStandIn* g, TColor c) { g->FixedLine = c; })
            .Object("FixedFont", [](TPlainGridStandIn* g) -> TObject* { return &g->FixedFont; }, nullptr);
    }
};

// What the skin writes on a grid without "ControlLook" comes back with the
// skin's removal: its line colours and its fixed cells' font colour.
TEST_F(ListAdapterTest, AGridWithoutControlLookGetsBackEveryColourTheSkinWrote) {
    TForm* form = TCustomForm::Create<TForm>(Application());
    form->SetBounds(80, 80, 360, 300);
    auto* grid = new TPlainGridStandIn(form);
    grid->SetParent(form);
    grid->SetBounds(8, 8, 200, 100);
    form->Show();
    PumpMessages();
    {
        TsCommonData data(grid, true);
        data.SetSkinManager(manager);
        data.SetSkinSection("EDIT");
        data.ReadSkinIndexes();
        auto a = CreateGridAdapter(grid->Handle(), &data, manager, "EDIT");
        ASSERT_FALSE(a->Detached);
        EXPECT_EQ(static_cast<COLORREF>(grid->Fixed), kGlobal);
        EXPECT_NE(grid->Line, 0x0D0E0F);
        EXPECT_NE(grid->FixedLine, 0x191A1B);
        EXPECT_NE(grid->FixedFont.Colour, 0x161718);
        a->Detach(true);
        EXPECT_EQ(grid->Fixed, 0x0A0B0C);
        EXPECT_EQ(grid->Line, 0x0D0E0F);
        EXPECT_EQ(grid->FixedLine, 0x191A1B);
        EXPECT_EQ(grid->FixedFont.Colour, 0x161718);
    }
    form->Free();
}

// Grids: the fixed cells' colour from the skin, each colour back after;
// the framework grid's scroll bar is the system's again once the skin goes.
TEST_F(ListAdapterTest, GridColoursFollowTheSkinAndComeBack) {
    TForm* form = TCustomForm::Create<TForm>(Application());
    form->SetBounds(80, 80, 360, 300);
    auto* grid = new TStringGrid(form);
    grid->SetParent(form);
    grid->SetBounds(8, 8, 300, 200);
    grid->SetRowCount(50);
    grid->SetFixedColor(0x336699);
    auto* standIn = new TGridStandIn(form);
    standIn->SetParent(form);
    standIn->SetBounds(8, 210, 100, 40);
    form->Show();
    PumpMessages();
    RECT clientBefore{};
    GetClientRect(grid->Handle(), &clientBefore);
    {
        TsCommonData data(grid, true);
        data.SetSkinManager(manager);
        data.SetSkinSection("EDIT");
        data.ReadSkinIndexes();
        auto a = CreateGridAdapter(grid->Handle(), &data, manager, "EDIT");
        ASSERT_FALSE(a->Detached);
        EXPECT_EQ(static_cast<COLORREF>(grid->FixedColor()), kGlobal);
        a->Detach(true);
        EXPECT_EQ(grid->FixedColor(), 0x336699);
        PumpMessages();
        RECT clientAfter{};
        GetClientRect(grid->Handle(), &clientAfter);
        EXPECT_EQ(clientAfter.right, clientBefore.right);
        SCROLLBARINFO sbi{};
        sbi.cbSize = sizeof sbi;
        ASSERT_TRUE(GetScrollBarInfo(grid->Handle(), OBJID_VSCROLL, &sbi));
        EXPECT_FALSE(sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE);
        // Freed while attached, the adapter gives back the grid's own
        // colours, not the edit adapter's part of them.
        const kova::TColor color = grid->Color();
        auto again = CreateGridAdapter(grid->Handle(), &data, manager, "EDIT");
        ASSERT_FALSE(again->Detached);
        EXPECT_EQ(static_cast<COLORREF>(grid->FixedColor()), kGlobal);
        again.reset();
        EXPECT_EQ(FindAdapter(grid->Handle()), nullptr);
        EXPECT_EQ(grid->FixedColor(), 0x336699);
        EXPECT_EQ(grid->Color(), color);
    }
    {
        TsCommonData data(standIn, true);
        data.SetSkinManager(manager);
        data.SetSkinSection("EDIT");
        data.ReadSkinIndexes();
        auto a = CreateGridAdapter(standIn->Handle(), &data, manager, "EDIT");
        ASSERT_FALSE(a->Detached);
        EXPECT_EQ(static_cast<COLORREF>(standIn->Fixed), kGlobal);
        EXPECT_NE(standIn->Line, 0x0D0E0F);
        EXPECT_EQ(static_cast<COLORREF>(standIn->Look.To), kGlobal);
        // The skin's focused selection colours (its "SELECTION" hot state).
        EXPECT_EQ(static_cast<COLORREF>(standIn->Selection), RGB(0x20, 0x40, 0x60));
        EXPECT_EQ(static_cast<COLORREF>(standIn->SelectionText), RGB(0xF0, 0xE0, 0xD0));
        a->Detach(true);
        EXPECT_EQ(standIn->Selection, 0x101112);
        EXPECT_EQ(standIn->SelectionText, 0x131415);
        EXPECT_EQ(standIn->Fixed, 0x0A0B0C);
        EXPECT_EQ(standIn->Line, 0x0D0E0F);
        EXPECT_EQ(standIn->Look.To, 0x010203);
        // clNone was read as the button face.
        EXPECT_EQ(standIn->Look.From, clBtnFace);
    }
    form->Free();
    PumpMessages();
}

// An outside-party tree known only by its published properties.
class TTextColoursStandIn : public TPersistent {
    KOVA_CLASS_PROPS(TTextColoursStandIn, TPersistent)
public:
    TColor Compressed = 0x000011, File = 0x000022, Folder = 0x000033;
    static void DefineProps(TPropList& L) {
        L.For<TTextColoursStandIn>()
            .Color("CompressedTextColor", [](TTextColoursStandIn* c) { return c->Compressed; },
                   [](TTextColoursStandIn* c, TColor v) { c->Compressed = v; })
            .Color("FileTextColor", [](TTextColoursStandIn* c) { return c->File; },
                   [](TTextColoursStandIn* c, TColor v) { c->File = v; })
            .Color("FolderTextColor", [](TTextColoursStandIn* c) { return c->Folder; },
                   [](TTextColoursStandIn* c, TColor v) { c->Folder = v; });
    }
};
class TTreeStandIn : public TCustomControl {
    KOVA_CLASS_PROPS(TTreeStandIn, TCustomControl)
public:
    using TCustomControl::TCustomControl;
    TTextColoursStandIn Colours;
    static void DefineProps(TPropList& L) {
        L.For<TTreeStandIn>().Object("VETColors", [](TTreeStandIn* t) -> TObject* { return &t->Colours; }, nullptr);
    }
};

TEST_F(ListAdapterTest, OutsidePartyTreeColoursFollowTheSkinAndComeBack) {
    TForm* form = TCustomForm::Create<TForm>(Application());
    form->SetBounds(80, 80, 300, 200);
    auto* tree = new TTreeStandIn(form);
    tree->SetParent(form);
    tree->SetBounds(8, 8, 200, 120);
    form->Show();
    PumpMessages();
    {
        TsCommonData data(tree, true);
        data.SetSkinManager(manager);
        data.SetSkinSection("EDIT");
        data.ReadSkinIndexes();
        auto a = CreateVirtualTreeAdapter(tree->Handle(), &data, manager, "EDIT");
        ASSERT_FALSE(a->Detached);
        EXPECT_EQ(static_cast<COLORREF>(tree->Colours.File), kEditFont);
        EXPECT_EQ(static_cast<COLORREF>(tree->Colours.Folder), kEditFont);
        a->Detach(true);
        EXPECT_EQ(tree->Colours.Compressed, 0x000011);
        EXPECT_EQ(tree->Colours.File, 0x000022);
        EXPECT_EQ(tree->Colours.Folder, 0x000033);
    }
    form->Free();
    PumpMessages();
}

// A framework list view in report view: its header is skinned, and a
// column with an image shows it from the list's small images, its
// caption moved right of it.
TEST_F(ListAdapterTest, FrameworkListViewHeaderShowsColumnImagesFromItsSmallImages) {
    constexpr COLORREF kIcon = RGB(250, 20, 160);
    TForm* form = NewForm(360, 260);
    auto* images = new TImageList(form);
    images->SetSize(16, 16);
    {
        TBitmap b(16, 16);
        b.Pixels().Fill(0xFF000000u | (GetRValue(kIcon) << 16) | (GetGValue(kIcon) << 8) | GetBValue(kIcon));
        images->Add(&b);
    }
    auto* list = PlaceOn<TListView>(form, 320, 200);
    list->SetViewStyle(vsReport);
    list->SetSmallImages(images);
    list->AddColumn("Table", 140, 0);
    list->AddColumn("Seats", 100);
    list->AddItem("One", {"6"});
    form->Show();
    PumpMessages();
    TsCommonData data(list, true);
    UseSection(data, "EDIT");
    adapter = CreateListViewAdapter(list->Handle(), &data, manager, "EDIT");
    ASSERT_FALSE(adapter->Detached);
    HWND header = List().HeaderWnd;
    ASSERT_NE(header, nullptr);
    const RECT c0 = HeaderItem(0), c1 = HeaderItem(1);
    TPrinted p(header);
    EXPECT_EQ(p.At(c0.left + 100, c0.top + 5), kHeader);
    EXPECT_GT(p.Count(kIcon, c0), 60);
    EXPECT_EQ(p.Count(kIcon, c1), 0);
    adapter.reset();
    form->Free();
    PumpMessages();
}

// A framework tree view: the skin fills its background, unless the tree
// draws itself through its custom-draw event, which then gets the erase.
TEST_F(ListAdapterTest, FrameworkTreeWithItsOwnDrawingErasesItself) {
    TForm* form = NewForm(300, 200);
    auto* tree = PlaceOn<TTreeView>(form, 200, 120);
    HTREEITEM top = tree->AddItem(nullptr, "Tables");
    tree->AddItem(top, "Table 1");
    form->Show();
    PumpMessages();
    TsCommonData data(tree, true);
    UseSection(data, "EDIT");
    auto a = CreateTreeViewAdapter(tree->Handle(), &data, manager, "EDIT");
    ASSERT_FALSE(a->Detached);
    // The tree's own colour, told apart from the skin's.
    constexpr COLORREF kOwn = RGB(12, 34, 56);
    SendMessageA(tree->Handle(), TVM_SETBKCOLOR, 0, static_cast<LPARAM>(kOwn));
    auto erased = [&] {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bmp = CreateCompatibleBitmap(screen, 50, 50);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bmp);
        SendMessageA(tree->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        const COLORREF c = GetPixel(dc, 20, 20);
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
        return c;
    };
    EXPECT_EQ(erased(), kEdit);
    int drawn = 0;
    tree->OnCustomDraw = [&](TTreeView* sender, const RECT&, bool& defaultDraw) {
        EXPECT_EQ(sender, tree);
        ++drawn;
        defaultDraw = true;
    };
    EXPECT_EQ(erased(), kOwn);
    RedrawWindow(tree->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(drawn, 0);
    tree->OnCustomDraw = nullptr;
    a.reset();
    form->Free();
    PumpMessages();
}

// An outside-party tree with a header that its own events may draw.
class TColumnStandIn : public TPersistent {
    KOVA_CLASS_PROPS(TColumnStandIn, TPersistent)
public:
    std::string Text;
    int Index = 0;
    std::uint32_t Options = 0;
    static void DefineProps(TPropList& L) {
        L.For<TColumnStandIn>()
            .String("Text", [](TColumnStandIn* c) { return c->Text; }, [](TColumnStandIn* c, const std::string& v) { c->Text = v; })
            .Int("Index", [](TColumnStandIn* c) { return c->Index; })
            .Set("Options", {"coVisible", "coWrapCaption"}, [](TColumnStandIn* c) { return c->Options; },
                 [](TColumnStandIn* c, std::uint32_t v) { c->Options = v; });
    }
};
class THeaderStandIn : public TPersistent {
    KOVA_CLASS_PROPS(THeaderStandIn, TPersistent)
public:
    std::uint32_t Options = 1;  // hoVisible
    int SortColumn = -1, SortDirection = 0;
    TFont Font;
    static void DefineProps(TPropList& L) {
        L.For<THeaderStandIn>()
            .Set("Options", {"hoVisible", "hoOwnerDraw"}, [](THeaderStandIn* h) { return h->Options; },
                 [](THeaderStandIn* h, std::uint32_t v) { h->Options = v; })
            .Int("SortColumn", [](THeaderStandIn* h) { return h->SortColumn; })
            .Int("SortDirection", [](THeaderStandIn* h) { return h->SortDirection; })
            .Object("Font", [](THeaderStandIn* h) -> TObject* { return &h->Font; }, nullptr);
    }
};
class THeaderTreeStandIn : public TCustomControl {
    KOVA_CLASS_PROPS(THeaderTreeStandIn, TCustomControl)
public:
    using TCustomControl::TCustomControl;
    TTextColoursStandIn Colours;
    THeaderStandIn Header;
    TVTHeaderDrawQueryElementsEvent OnHeaderDrawQueryElements;
    TVTAdvancedHeaderPaintEvent OnAdvancedHeaderDraw;
    static void DefineProps(TPropList& L) {
        L.For<THeaderTreeStandIn>()
            .Object("VETColors", [](THeaderTreeStandIn* t) -> TObject* { return &t->Colours; }, nullptr)
            .Object("Header", [](THeaderTreeStandIn* t) -> TObject* { return &t->Header; }, nullptr)
            .Event("OnHeaderDrawQueryElements", &THeaderTreeStandIn::OnHeaderDrawQueryElements)
            .Event("OnAdvancedHeaderDraw", &THeaderTreeStandIn::OnAdvancedHeaderDraw);
    }
};

// The tree's header is drawn from the skin through its own events while
// the skin is on: every element is asked for, each column painted in its
// state with its caption and sort glyph; the events and the header's own
// drawing come back after.
TEST_F(ListAdapterTest, OutsidePartyTreeHeaderIsDrawnThroughItsEvents) {
    TForm* form = NewForm(300, 200);
    auto* tree = PlaceOn<THeaderTreeStandIn>(form, 200, 120);
    form->Show();
    PumpMessages();
    TsCommonData data(tree, true);
    UseSection(data, "EDIT");
    auto a = CreateVirtualTreeAdapter(tree->Handle(), &data, manager, "EDIT");
    ASSERT_FALSE(a->Detached);
    ASSERT_TRUE(tree->OnHeaderDrawQueryElements && tree->OnAdvancedHeaderDraw);
    EXPECT_EQ(tree->Header.Options, 3u);  // hoVisible, hoOwnerDraw
    TColumnStandIn column;
    column.Text = "WW";
    column.Index = 2;
    TVTHeaderPaintInfo info;
    info.Column = &column;
    info.PaintRectangle = RECT{0, 0, 80, 20};
    std::uint32_t elements = 0;
    tree->OnHeaderDrawQueryElements(&tree->Header, info, elements);
    EXPECT_EQ(elements, kSkinnedHeaderElements);
    // A column painted in a state; its corner and its pixels.
    auto paint = [&](bool hover, bool down) {
        TBitmap b(80, 20);
        info.TargetCanvas = b.Canvas();
        info.IsHoverIndex = hover, info.IsDownIndex = down;
        tree->OnAdvancedHeaderDraw(&tree->Header, info, elements);
        GdiFlush();
        std::vector<std::uint32_t> px;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 80; ++x) px.push_back(b.Pixels().At(x, y) & 0xFFFFFF);
        return px;
    };
    const auto normal = paint(false, false), hot = paint(true, false), down = paint(false, true);
    auto differing = [](const std::vector<std::uint32_t>& x, const std::vector<std::uint32_t>& y) {
        int n = 0;
        for (std::size_t i = 0; i < x.size(); ++i) n += x[i] != y[i];
        return n;
    };
    // The face right of the caption: the section's colour, hot when hot or
    // pressed (this skin's pressed face is its hot one).
    const std::size_t face = 5 * 80 + 70;
    EXPECT_EQ(normal[face], ColorToPixel(kHeader) & 0xFFFFFF);
    EXPECT_EQ(hot[face], ColorToPixel(kHeaderDown) & 0xFFFFFF);
    EXPECT_EQ(down[face], hot[face]);
    // Pressed, the caption moves by a pixel.
    EXPECT_GT(differing(hot, down), 3);
    // The caption is there: another colour in the caption's place.
    int caption = 0;
    for (int y = 2; y < 18; ++y)
        for (int x = 4; x < 30; ++x) caption += normal[static_cast<std::size_t>(y * 80 + x)] != normal[face];
    EXPECT_GT(caption, 5);
    // The sorted column shows its glyph.
    tree->Header.SortColumn = 2;
    const auto sorted = paint(false, false);
    EXPECT_GT(differing(sorted, normal), 3);
    a->Detach(true);
    EXPECT_FALSE(tree->OnHeaderDrawQueryElements);
    EXPECT_FALSE(tree->OnAdvancedHeaderDraw);
    EXPECT_EQ(tree->Header.Options, 1u);
    a.reset();
    form->Free();
    PumpMessages();
}

}  // namespace
}  // namespace kova::skin::test
