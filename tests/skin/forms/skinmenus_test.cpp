// Skinned menus on real menus under our internal skin: a popup menu shown
// with TrackPopupMenu (its window's region and adapter, the rows the
// system asked us to measure, the pixels of its owner-drawn items, all let
// go when it closes, handle counts flat over many showings), the
// program's own item handlers kept, the system menu's skinned items and
// the menu line painted into a form's caption image.
#include "skin/forms/skinmenus.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "common/testdata.h"
#include "common/win32_testing.h"
#include "framework/forms.h"
#include "framework/handles.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"
#include "skin/controls/adapters.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/forms/autohook.h"
#include "skin/forms/formhelpers.h"
#include "skin/forms/menuline.h"
#include "skin/forms/mnuwnd.h"
#include "skin/forms/provider.h"
#include "../core/handlecheck.h"

namespace kova::skin::test {

namespace {

// Linen's colours (TColor, 0x00BBGGRR).
constexpr TColor kMenuLine = 12174281;
constexpr TColor kBorder = 9213854;

// The default manager with the program's automatic skinning hook: the
// hook gives every popup-menu window its adapter.
struct Manager {
    Manager() : saved(FormSkinning()) {
        InstallAutoSkinning();
        m = new TsSkinManager(nullptr);
        AddInternalSkins(m->Model().InternalSkins);
        m->SetSkinName("Linen (internal)");
        EXPECT_TRUE(m->ThreadHookInstalled());
        painter = SkinableMenus(m);
        painter->UpdateFromSkin();
    }
    ~Manager() {
        m->Free();
        FormSkinning() = saved;
    }
    FormSkinningServices saved;
    TsSkinManager* m;
    TsSkinableMenus* painter;
};

TMenuItem* AddItem(TMenu* menu, const std::string& caption) {
    auto* item = new TMenuItem(menu);
    item->SetCaption(caption);
    menu->Items()->Add(item);
    return item;
}

// While a menu is open: the open popup window, found from a thread timer
// that the menu's own loop runs.
std::function<void(HWND)>& WhileOpen() {
    static std::function<void(HWND)> f;
    return f;
}
HWND OpenMenuWindow() {
    for (HWND w = FindWindowA("#32768", nullptr); w; w = FindWindowExA(nullptr, w, "#32768", nullptr))
        if (IsWindowVisible(w) && GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) return w;
    return nullptr;
}
int g_ticks = 0;
void CALLBACK OnTick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = OpenMenuWindow();
    // Given time to paint, then looked at once and closed by a posted
    // Escape; a menu that never opens ends the wait after a while.
    if (!menu) {
        if (++g_ticks > 40) KillTimer(nullptr, id);
        return;
    }
    if (++g_ticks < 3) return;
    KillTimer(nullptr, id);
    if (WhileOpen()) WhileOpen()(menu);
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
}
// Runs `open`, which opens a menu and returns when it closes; `look` runs
// once while the menu is open.
void LookWhileOpen(std::function<void(HWND)> look, const std::function<void()>& open) {
    WhileOpen() = std::move(look);
    g_ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 60, OnTick);
    open();
    KillTimer(nullptr, timer);
    WhileOpen() = nullptr;
    kova::test::PumpMessages();
}
void ShowAndLook(TPopupMenu* menu, std::function<void(HWND)> look, int x = 200, int y = 150) {
    LookWhileOpen(std::move(look), [&] { menu->Popup(x, y); });
}

// What the skin's item section shows at (x, y) of an item of that size
// (state 0), as the painters on buffers give it.
TColor ItemPixel(const TsSkinModel& skin, int w, int h, int x, int y) {
    PixelBuffer32 b(w, h);
    PaintSkinItem(b, skin, skin.IndexOfSection("MENUITEM"), TsParentImageInfo{}, 0, TRect{0, 0, w, h}, TPoint{0, 0});
    const std::uint32_t p = b.At(x, y);
    return static_cast<TColor>(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16));
}

TColor ScreenPixel(int x, int y) {
    TWindowDC screen(nullptr);
    return static_cast<TColor>(GetPixel(screen.Get(), x, y));
}

// The painter's row height for a text row with the 16-pixel glyph column.
int ExpectedRowHeight() {
    TGdiObject<HFONT> font = GetNonClientFont(3);
    TWindowDC screen(nullptr);
    TSelection sel(screen.Get(), font.Get());
    RECT r{0, 0, 0, 0};
    DrawTextA(screen.Get(), "W", 1, &r, DT_SINGLELINE | DT_CALCRECT);
    return std::max<int>(static_cast<int>(std::lround(1.25 * (r.bottom - r.top))), 16) + 2 * 2;
}

// The system's WM_MEASUREITEM for an item, as the menu's owner answers it.
SIZE Measured(TMenuItem* item) {
    MEASUREITEMSTRUCT mi{};
    mi.CtlType = ODT_MENU;
    mi.itemID = item->Command();
    mi.itemData = item->Command();
    EXPECT_EQ(SendMessageA(Application()->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi)), TRUE);
    return SIZE{static_cast<LONG>(mi.itemWidth), static_cast<LONG>(mi.itemHeight)};
}

struct TestMenu {
    TestMenu() {
        menu = new TPopupMenu(Application());
        open = AddItem(menu, "Open");
        open->SetShortCut("Ctrl+O");
        divider = AddItem(menu, "-");
        checked = AddItem(menu, "Checked");
        checked->SetChecked(true);
        caption = AddItem(menu, "-Group-");
        disabled = AddItem(menu, "Disabled");
        disabled->SetEnabled(false);
    }
    ~TestMenu() { menu->Free(); }
    TPopupMenu* menu;
    TMenuItem *open, *divider, *checked, *caption, *disabled;
};

}  // namespace

TEST(SkinnedMenus, ItemsMeasureAsTheSkinLaysThemOut) {
    Manager mg;
    TestMenu t;
    mg.painter->SetMenuSkinned(t.menu, true);
    const int row = ExpectedRowHeight();
    EXPECT_EQ(Measured(t.divider).cy, 2);
    EXPECT_EQ(Measured(t.open).cy, row);
    EXPECT_EQ(Measured(t.checked).cy, row);
    // A caption line is one text row high (no glyph column height).
    TGdiObject<HFONT> font = GetNonClientFont(3);
    TWindowDC screen(nullptr);
    TSelection sel(screen.Get(), font.Get());
    auto width = [&](const std::string& s) {
        RECT r{0, 0, 0, 0};
        DrawTextA(screen.Get(), s.c_str(), static_cast<int>(s.size()), &r, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
        return static_cast<int>(r.right - r.left);
    };
    const int base = 2 * 16 + 3 * 2 + 8;
    // Caption and shortcut measured as one text, without a gap.
    EXPECT_EQ(Measured(t.open).cx, base + width("OpenCtrl+O"));
    EXPECT_EQ(Measured(t.caption).cx, base + width("--Group--"));
    // The side line makes every item wider, unless a column breaks.
    mg.m->MenuSupport.UseExtraLine = true;
    EXPECT_EQ(Measured(t.checked).cx, base + width("Checked") + 32);
    t.disabled->SetBreak(true);
    EXPECT_EQ(Measured(t.checked).cx, base + width("Checked"));
}

TEST(SkinnedMenus, SideLineIsAskedOfTheManagerWithTheFirstItem) {
    Manager mg;
    TestMenu t;
    mg.painter->SetMenuSkinned(t.menu, true);
    mg.m->MenuSupport.UseExtraLine = true;
    const int wide = Measured(t.checked).cx;
    TObject* asked = nullptr;
    mg.m->OnGetMenuExtraLineData = [&](TObject* first, std::string&, std::string& caption, std::unique_ptr<TBitmap>&,
                                       bool& visible) {
        asked = first;
        caption = "&Side";
        visible = false;
    };
    EXPECT_EQ(Measured(t.checked).cx, wide - 32);
    EXPECT_EQ(asked, t.open);
    // The skin-choice menu never asks and never gets the line.
    mg.m->OnGetMenuExtraLineData = nullptr;
    t.open->SetName("SkinSelectItem");
    asked = nullptr;
    EXPECT_EQ(Measured(t.checked).cx, wide - 32);
    EXPECT_EQ(asked, nullptr);
}

TEST(SkinnedMenus, PlainPopupsWhenTheManagerSkinsNone) {
    Manager mg;
    TestMenu t;
    mg.m->SetSkinnedPopups(false);
    mg.painter->SetMenuSkinned(t.menu, true);
    EXPECT_FALSE(t.menu->OwnerDraw);
    EXPECT_FALSE(t.open->OnMeasureItem);
}

TEST(SkinnedMenus, ProgramHandlersStayAndPopupsDoNotAnimate) {
    Manager mg;
    TestMenu t;
    int own = 0;
    t.open->OnMeasureItem = [&](TObject*, TCanvas*, int& w, int& h) {
        ++own;
        w = 50;
        h = 33;
    };
    mg.painter->SetMenuSkinned(t.menu, true);
    EXPECT_TRUE(t.menu->OwnerDraw);
    EXPECT_TRUE(t.menu->MenuAnimation & maNone);
    EXPECT_EQ(t.open->OnMeasureItem.Installer, nullptr);
    EXPECT_EQ(Measured(t.open).cy, 33);
    EXPECT_EQ(t.checked->OnMeasureItem.Installer, mg.painter);
    mg.painter->SetMenuSkinned(t.menu, false);
    EXPECT_FALSE(t.menu->OwnerDraw);
    EXPECT_FALSE(t.menu->MenuAnimation & maNone);
    EXPECT_FALSE(t.checked->OnMeasureItem);
    EXPECT_FALSE(t.checked->OnAdvancedDrawItem);
    ASSERT_TRUE(t.open->OnMeasureItem);
    EXPECT_EQ(Measured(t.open).cy, 33);
    EXPECT_EQ(own, 2);
}

TEST(SkinnedMenus, PopupWindowIsShapedDrawnAndLetGoWhenClosed) {
    Manager mg;
    TestMenu t;
    mg.painter->SetMenuSkinned(t.menu, true);
    bool looked = false;
    ShowAndLook(t.menu, [&](HWND wnd) {
        looked = true;
        // The adapter of the window, answering as a skinned window.
        EXPECT_NE(FindAdapter(wnd), nullptr);
        EXPECT_EQ(MenuWndAdapters().size(), 1u);
        EXPECT_EQ(SendSkinCommand(wnd, scQuerySupport, 0), 1);
        // The skin has no menu border mask: the region is the window less
        // its top-left pixel.
        TGdiObject<HRGN> rgn(CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(GetWindowRgn(wnd, rgn.Get()), COMPLEXREGION);
        EXPECT_FALSE(PtInRegion(rgn.Get(), 0, 0));
        EXPECT_TRUE(PtInRegion(rgn.Get(), 1, 0));
        EXPECT_EQ(MenuCacheCount(), 1);
        // The rows the system laid out are the ones we measured.
        const HMENU menu = reinterpret_cast<HMENU>(SendMessageA(wnd, 0x01E1 /* MN_GETHMENU */, 0, 0));
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(GetMenuItemCount(menu), 5);
        std::vector<RECT> rows(5);
        for (int i = 0; i < 5; ++i) ASSERT_TRUE(GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &rows[i]));
        EXPECT_EQ(rows[0].bottom - rows[0].top, ExpectedRowHeight());
        EXPECT_EQ(rows[1].bottom - rows[1].top, 2);
        // Pixels: the item's skin colour beside its text, the divider's
        // line in the skin's border colour, a mark in the checked row's
        // glyph column, the disabled row dimmed.
        const int mid = (rows[0].top + rows[0].bottom) / 2;
        const int rw = rows[0].right - rows[0].left, rh = rows[0].bottom - rows[0].top;
        EXPECT_EQ(ScreenPixel(rows[0].left + 10, mid), ItemPixel(mg.m->Model(), rw, rh, 10, mid - rows[0].top));
        EXPECT_EQ(ScreenPixel(rows[1].left + 60, rows[1].top), kBorder);
        const int cmid = (rows[2].top + rows[2].bottom) / 2;
        bool mark = false;
        for (int x = rows[2].left + 2; x < rows[2].left + 20 && !mark; ++x)
            for (int y = rows[2].top + 2; y < rows[2].bottom - 2; ++y)
                if (ScreenPixel(x, y) != ItemPixel(mg.m->Model(), rw, rh, x - rows[2].left, y - rows[2].top)) {
                    mark = true;
                    break;
                }
        EXPECT_TRUE(mark);
        (void)cmid;
        const int dmid = (rows[4].top + rows[4].bottom) / 2;
        EXPECT_NE(ScreenPixel(rows[4].left + 10, dmid), ItemPixel(mg.m->Model(), rw, rh, 10, dmid - rows[4].top));
    });
    ASSERT_TRUE(looked);
    // Closed: no adapter on the list, the cache emptied, the drawn flag off.
    EXPECT_TRUE(MenuWndAdapters().empty());
    EXPECT_EQ(MenuCacheCount(), 0);
    EXPECT_FALSE(SkinnedMenuDrawn());
    EXPECT_LE(MenuWndAdapterCount(), 1);
    FreeMenuWndAdapters();
    EXPECT_EQ(MenuWndAdapterCount(), 0);
}

TEST(SkinnedMenus, ImagesMarksShortcutsAndCaptionLinesAreDrawn) {
    Manager mg;
    auto* menu = new TPopupMenu(Application());
    TMenuItem* image = AddItem(menu, "Image");
    image->Bitmap()->SetSize(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) image->Bitmap()->Pixels().At(x, y) = 0xFFFF0000u;  // opaque red
    TMenuItem* radio = AddItem(menu, "Radio");
    radio->SetRadioItem(true);
    radio->SetChecked(true);
    TMenuItem* plain = AddItem(menu, "Radio");
    TMenuItem* shortcut = AddItem(menu, "Keys");
    shortcut->SetShortCut("Ctrl+K");
    AddItem(menu, "-Group-");
    mg.painter->SetMenuSkinned(menu, true);
    (void)plain;
    std::vector<RECT> rows;
    std::vector<std::vector<TColor>> shot;
    ShowAndLook(menu, [&](HWND wnd) {
        const HMENU h = reinterpret_cast<HMENU>(SendMessageA(wnd, 0x01E1 /* MN_GETHMENU */, 0, 0));
        ASSERT_NE(h, nullptr);
        for (int i = 0; i < GetMenuItemCount(h); ++i) {
            RECT r{};
            ASSERT_TRUE(GetMenuItemRect(nullptr, h, static_cast<UINT>(i), &r));
            rows.push_back(r);
            std::vector<TColor> px;
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x) px.push_back(ScreenPixel(x, y));
            shot.push_back(std::move(px));
        }
    });
    ASSERT_EQ(rows.size(), 5u);
    auto pixel = [&](int row, int x, int y) {
        return shot[row][static_cast<std::size_t>(y * (rows[row].right - rows[row].left) + x)];
    };
    auto differs = [&](int row, int x0, int x1, int y0, int y1) {
        const int w = rows[row].right - rows[row].left, h = rows[row].bottom - rows[row].top;
        for (int x = x0; x < x1; ++x)
            for (int y = y0; y < y1; ++y)
                if (pixel(row, x, y) != ItemPixel(mg.m->Model(), w, h, x, y)) return true;
        return false;
    };
    const int h = rows[0].bottom - rows[0].top, w = rows[0].right - rows[0].left;
    // The picture at (H - 16) / 2 from the top-left.
    const int g = (h - 16) / 2;
    EXPECT_EQ(pixel(0, g + 8, g + 8), static_cast<TColor>(0x0000FF));
    // The checked radio item has its mark, the unchecked one none.
    EXPECT_TRUE(differs(1, 2, 22, 2, h - 2));
    EXPECT_FALSE(differs(2, 2, 22, 2, h - 2));
    // The shortcut's ink ends 8 pixels before the right edge.
    EXPECT_TRUE(differs(3, w - 60, w - 8, 2, h - 2));
    EXPECT_FALSE(differs(3, w - 7, w - 3, 2, h - 2));
    // A caption line is the tool bar's colour (the skin has no menu caption
    // section) with its word.
    const int ch = rows[4].bottom - rows[4].top;
    EXPECT_EQ(pixel(4, 3, ch / 2), static_cast<TColor>(15528436));
    bool ink = false;
    for (int x = 3; x < rows[4].right - rows[4].left - 3 && !ink; ++x)
        for (int y = 2; y < ch - 2; ++y)
            if (pixel(4, x, y) != static_cast<TColor>(15528436)) {
                ink = true;
                break;
            }
    EXPECT_TRUE(ink);
    menu->Free();
    FreeMenuWndAdapters();
}

TEST(SkinnedMenus, MenuBorderCornersAreCutFromTheWindow) {
    Manager mg;
    mg.m->Model().LoadFolder(kova::test::SourcePath("tests/skin/fixtures/menuskin"));
    mg.painter->UpdateFromSkin();
    ASSERT_TRUE(mg.painter->Active());
    EXPECT_EQ(mg.painter->SkinBorderWidth(), 3);
    TestMenu t;
    mg.painter->SetMenuSkinned(t.menu, true);
    std::vector<std::pair<POINT, bool>> inside;
    ShowAndLook(t.menu, [&](HWND wnd) {
        RECT wr{};
        GetWindowRect(wnd, &wr);
        const int w = wr.right - wr.left, h = wr.bottom - wr.top;
        TGdiObject<HRGN> rgn(CreateRectRgn(0, 0, 0, 0));
        ASSERT_EQ(GetWindowRgn(wnd, rgn.Get()), COMPLEXREGION);
        // Each corner loses its three transparent pixels, nothing more.
        for (POINT p : {POINT{0, 0}, POINT{1, 0}, POINT{0, 1}, POINT{w - 1, 0}, POINT{w - 2, 0}, POINT{w - 1, 1},
                        POINT{0, h - 1}, POINT{1, h - 1}, POINT{0, h - 2}, POINT{w - 1, h - 1}, POINT{w - 2, h - 1},
                        POINT{w - 1, h - 2}})
            inside.push_back({p, PtInRegion(rgn.Get(), p.x, p.y) != 0});
        for (POINT p : {POINT{2, 0}, POINT{1, 1}, POINT{w - 3, 0}, POINT{w / 2, h / 2}, POINT{1, h - 2}})
            inside.push_back({p, PtInRegion(rgn.Get(), p.x, p.y) == 0});
    });
    ASSERT_EQ(inside.size(), 17u);
    for (const auto& [p, wrong] : inside) EXPECT_FALSE(wrong) << p.x << "," << p.y;
    FreeMenuWndAdapters();
}

TEST(SkinnedMenus, SideLineRunsAlongTheMenuWithItsCaption) {
    Manager mg;
    mg.m->Model().LoadFolder(kova::test::SourcePath("tests/skin/fixtures/menuskin"));
    mg.painter->UpdateFromSkin();
    mg.m->MenuSupport.UseExtraLine = true;
    int asked = 0;
    mg.m->OnGetMenuExtraLineData = [&](TObject*, std::string&, std::string& caption, std::unique_ptr<TBitmap>&,
                                       bool&) {
        ++asked;
        caption = "Side";
    };
    TestMenu t;
    t.disabled->SetVisible(false);
    mg.painter->SetMenuSkinned(t.menu, true);
    int red = 0, ink = 0, itemLeft = -1;
    ShowAndLook(t.menu, [&](HWND wnd) {
        const HMENU h = reinterpret_cast<HMENU>(SendMessageA(wnd, 0x01E1 /* MN_GETHMENU */, 0, 0));
        ASSERT_NE(h, nullptr);
        RECT first{}, last{};
        ASSERT_TRUE(GetMenuItemRect(nullptr, h, 0, &first));
        ASSERT_TRUE(GetMenuItemRect(nullptr, h, static_cast<UINT>(GetMenuItemCount(h) - 1), &last));
        itemLeft = first.left;
        // The 32 pixels at the items' left edge: the side line's colour
        // with its caption's white ink.
        for (int y = first.top; y < last.bottom; ++y)
            for (int x = first.left + 2; x < first.left + 30; ++x) {
                const TColor c = ScreenPixel(x, y);
                if (c == static_cast<TColor>(255)) ++red;
                else if (c == static_cast<TColor>(0xFFFFFF)) ++ink;
            }
    });
    EXPECT_GT(red, 100);
    EXPECT_GT(ink, 5);
    EXPECT_GE(itemLeft, 0);
    EXPECT_GE(asked, 1);
    FreeMenuWndAdapters();
}

TEST(SkinnedMenus, ShownItemTravelsInLParam) {
    Manager mg;
    TestMenu t;
    mg.painter->SetMenuSkinned(t.menu, true);
    int plainAfterWParam = -1, shapedAfterLParam = -1;
    ShowAndLook(t.menu, [&](HWND wnd) {
        auto shaped = [&] {
            TGdiObject<HRGN> rgn(CreateRectRgn(0, 0, 0, 0));
            return GetWindowRgn(wnd, rgn.Get()) == COMPLEXREGION ? 1 : 0;
        };
        const HWND app = Application()->Handle();
        // Unshaped, and erased so that it counts as not yet shown.
        SetWindowRgn(wnd, nullptr, FALSE);
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
        EXPECT_EQ(SendSkinCommand(wnd, scSetUpdating, 0), 0);
        // The item where the manager does not look for it: nothing.
        SendMessageA(app, PopupMenuItemShownMessage, static_cast<WPARAM>(t.open->Command()), 0);
        plainAfterWParam = shaped();
        // In LParam, where the menus put it: the window is shaped again.
        SendMessageA(app, PopupMenuItemShownMessage, 0, static_cast<LPARAM>(t.open->Command()));
        shapedAfterLParam = shaped();
    });
    EXPECT_EQ(plainAfterWParam, 0);
    EXPECT_EQ(shapedAfterLParam, 1);
    FreeMenuWndAdapters();
}

TEST(SkinnedMenus, CountsStayFlatOverFiftyPopups) {
    Manager mg;
    TestMenu t;
    mg.painter->SetMenuSkinned(t.menu, true);
    ShowAndLook(t.menu, nullptr);  // first showing: fonts and caches made once
    FreeMenuWndAdapters();
    const TFlatCounts counts;
    int shaped = 0;
    for (int i = 0; i < 50; ++i)
        ShowAndLook(t.menu, [&](HWND wnd) {
            TGdiObject<HRGN> rgn(CreateRectRgn(0, 0, 0, 0));
            if (GetWindowRgn(wnd, rgn.Get()) == COMPLEXREGION) ++shaped;
            EXPECT_LE(MenuWndAdapterCount(), 2);
        });
    FreeMenuWndAdapters();
    EXPECT_EQ(shaped, 50);
    EXPECT_EQ(MenuWndAdapterCount(), 0);
    EXPECT_EQ(MenuCacheCount(), 0);
    counts.ExpectKept(TFlatCounts::AllLive, TFlatCounts::GuiNoMore);
}

TEST(SkinnedMenus, FreeingSparesTheRunningAdapterAndAStrayDestroyDoesNotRecurse) {
    Manager mg;
    HWND wnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(wnd, nullptr);
    TacMnuWnd* a = AttachMenuWindowAdapter(wnd, mg.m);
    ASSERT_NE(a, nullptr);
    // Its last message frees every menu adapter while it runs: it is kept
    // until the next freeing.
    DestroyWindow(wnd);
    EXPECT_TRUE(MenuWndAdapters().empty());
    EXPECT_EQ(MenuWndAdapterCount(), 1);
    // No longer hooked, a destroy message reaching it is handed on once.
    TMessage m{WM_DESTROY, 0, 0, 0};
    a->WndProc(m);
    FreeMenuWndAdapters();
    EXPECT_EQ(MenuWndAdapterCount(), 0);
}

TEST(SkinnedMenus, ControlPopupMenuIsSkinnedOnContextMenu) {
    Manager mg;
    TestMenu t;
    auto* form = TCustomForm::Create<TForm>(Application());
    form->SetBounds(100, 100, 200, 150);
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 80, 25);
    button->SetPopupMenu(t.menu);
    form->Show();
    kova::test::PumpMessages();
    auto adapter = CreateAdapter<TacMainWnd>(button->Handle(), nullptr, mg.m, "BUTTON");
    EXPECT_FALSE(t.menu->OwnerDraw);
    bool drawnSkinned = false;
    LookWhileOpen([&](HWND wnd) { drawnSkinned = FindAdapter(wnd) != nullptr && MenuCacheCount() == 1; },
                  [&] {
                      SendMessageA(button->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(button->Handle()),
                                   MAKELPARAM(150, 150));
                  });
    EXPECT_TRUE(t.menu->OwnerDraw);
    EXPECT_TRUE(drawnSkinned);
    adapter.reset();
    form->Free();
    FreeMenuWndAdapters();
}

TEST(SkinnedMenus, SystemMenuShowsSkinnedWithCommandGlyphs) {
    Manager mg;
    auto* form = TCustomForm::Create<TForm>(Application());
    form->SetBounds(120, 120, 300, 200);
    form->HandleNeeded();
    auto* provider = new TsSkinProvider(form);
    form->Show();
    kova::test::PumpMessages();
    bool looked = false;
    bool closeGlyph = false, moveGlyph = true;
    const auto look = [&](HWND wnd) {
        looked = true;
        EXPECT_NE(FindAdapter(wnd), nullptr);
        EXPECT_EQ(MenuCacheCount(), 1);
        // The close command's row shows its glyph in the glyph column; the
        // move command has none.
        const HMENU menu = reinterpret_cast<HMENU>(SendMessageA(wnd, 0x01E1 /* MN_GETHMENU */, 0, 0));
        ASSERT_NE(menu, nullptr);
        auto glyphInk = [&](int i) {
            RECT r{};
            if (!GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r)) return false;
            const int w = r.right - r.left, h = r.bottom - r.top;
            for (int x = 4; x < 20; ++x)
                for (int y = 2; y < h - 2; ++y)
                    if (ScreenPixel(r.left + x, r.top + y) != ItemPixel(mg.m->Model(), w, h, x, y)) return true;
            return false;
        };
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            TMenuItem* item = TMenuItem::FindByCommand(GetMenuItemID(menu, i));
            if (item && item == provider->SystemMenu->ItemClose) closeGlyph = glyphInk(i);
            if (item && item == provider->SystemMenu->ItemMove) moveGlyph = glyphInk(i);
        }
    };
    LookWhileOpen(look, [&] { provider->ShowSysMenuAt(200, 200); });
    ASSERT_NE(provider->SystemMenu, nullptr);
    EXPECT_TRUE(looked);
    EXPECT_TRUE(closeGlyph);
    EXPECT_FALSE(moveGlyph);
    EXPECT_TRUE(provider->SystemMenu->OwnerDraw);
    EXPECT_TRUE(provider->SystemMenu->MenuAnimation & maNone);
    ASSERT_NE(provider->SystemMenu->ItemClose, nullptr);
    EXPECT_EQ(provider->SystemMenu->ItemClose->OnAdvancedDrawItem.Installer, mg.painter);
    form->Free();
    FreeMenuWndAdapters();
}

TEST(SkinnedMenus, MenuLineIsPaintedIntoTheCaptionImage) {
    Manager mg;
    auto* form = TCustomForm::Create<TForm>(Application());
    auto* bar = new TMainMenu(form);
    AddItem(bar, "File");
    AddItem(bar, "Edit");
    form->SetMenu(bar);
    form->SetBounds(140, 110, 360, 240);
    form->SetCaption("");
    form->HandleNeeded();
    auto* provider = new TsSkinProvider(form);
    form->Show();
    kova::test::PumpMessages();
    ASSERT_TRUE(MenuLineShown(*provider));
    EXPECT_TRUE(provider->MenuSkinned);
    const HMENU before = GetMenu(form->Handle());
    // Even with the bar's items left without their handlers, painting
    // draws them and neither hooks the menu again nor builds the bar anew.
    mg.painter->SetMainMenuSkinned(bar, false);
    provider->MenuSkinned = false;
    provider->SkinData->BGChanged = true;
    provider->PaintNonClientCache();
    EXPECT_EQ(GetMenu(form->Handle()), before);
    EXPECT_FALSE(bar->Items()->Items(0)->OnAdvancedDrawItem);
    PixelBuffer32& cache = provider->SkinData->CacheBmp->Pixels();
    RECT wr{};
    GetWindowRect(form->Handle(), &wr);
    RECT item{};
    ASSERT_TRUE(GetMenuItemRect(form->Handle(), before, 0, &item));
    OffsetRect(&item, -wr.left, -wr.top);
    auto at = [&](int x, int y) {
        const std::uint32_t p = cache.At(x, y);
        return static_cast<TColor>(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16));
    };
    // Right of the items the menu line's own colour; in the item (inside
    // its border) the item's colour, and its caption's ink.
    const int midY = (item.top + item.bottom) / 2;
    EXPECT_EQ(at(cache.Width() - 40, midY), kMenuLine);
    const int iw = item.right - item.left, ih = item.bottom - item.top;
    EXPECT_EQ(at(item.left + 5, midY), ItemPixel(mg.m->Model(), iw, ih, 5, midY - item.top));
    bool ink = false;
    for (int x = item.left + 4; x < item.right - 4 && !ink; ++x)
        for (int y = item.top + 4; y < item.bottom - 4; ++y)
            if (at(x, y) != ItemPixel(mg.m->Model(), iw, ih, x - item.left, y - item.top)) {
                ink = true;
                break;
            }
    EXPECT_TRUE(ink);
    form->Free();
}

TEST(SkinnedMenus, BarItemDrawnBySystemLooksAsOnTheMenuLine) {
    Manager mg;
    // Items with transparent border corners: what shows through must be
    // the menu line under the item.
    mg.m->Model().LoadFolder(kova::test::SourcePath("tests/skin/fixtures/menuskin"));
    mg.painter->UpdateFromSkin();
    auto* form = TCustomForm::Create<TForm>(Application());
    auto* bar = new TMainMenu(form);
    AddItem(bar, "File");
    AddItem(bar, "Edit");
    form->SetMenu(bar);
    form->SetBounds(140, 110, 360, 240);
    form->SetCaption("");
    form->HandleNeeded();
    auto* provider = new TsSkinProvider(form);
    form->Show();
    kova::test::PumpMessages();
    provider->SkinData->BGChanged = true;
    provider->PaintNonClientCache();
    const HWND wnd = form->Handle();
    RECT wr{}, item{};
    GetWindowRect(wnd, &wr);
    ASSERT_TRUE(GetMenuItemRect(wnd, GetMenu(wnd), 0, &item));
    // The system draws a bar item with its rectangle in window coordinates
    // (as Wine and Windows give it); drawn here into a picture of the
    // window.
    OffsetRect(&item, -wr.left, -wr.top);
    PixelBuffer32& cache = provider->SkinData->CacheBmp->Pixels();
    TBitmap shot(cache.Width(), cache.Height());
    TMenuItem* file = bar->Items()->Items(0);
    ASSERT_TRUE(file->OnAdvancedDrawItem);
    file->OnAdvancedDrawItem.Handler(file, shot.Canvas(), item, 0);
    GdiFlush();
    // Every pixel of the item, its border's transparent corners too, as the
    // menu line in the cache shows it.
    int differing = 0;
    for (int y = item.top; y < item.bottom; ++y)
        for (int x = item.left; x < item.right; ++x)
            if ((shot.Pixels().At(x, y) & 0xFFFFFF) != (cache.At(x, y) & 0xFFFFFF)) ++differing;
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(cache.At(item.left, item.top) & 0xFFFFFF, 0x00FF00u);  // the menu line's green
    form->Free();
}

}  // namespace kova::skin::test
