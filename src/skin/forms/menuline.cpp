#include "skin/forms/menuline.h"

#include <algorithm>

#include "framework/forms.h"
#include "framework/menus.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/skinmanager.h"
#include "skin/forms/formhelpers.h"
#include "skin/forms/mdiform.h"
#include "skin/forms/provider.h"
#include "skin/forms/skinmenus.h"

namespace kova::skin {

namespace {

// One of the bar's items (a merged MDI child's among them) shows.
bool HasVisibleItem(TMainMenu* menu) {
    for (TMenuItem* item : menu->BarItems())
        if (item->Visible()) return true;
    return false;
}

}  // namespace

bool MenuLineShown(TsSkinProvider& p) {
    TsSkinManager* manager = p.SkinData->GetSkinManager();
    return p.HasMenuLine() && HasVisibleItem(p.Form->Menu()) && p.HasMenuBar() > 0 && p.DrawNonClientArea &&
           manager && manager->SkinnedPopups();
}

void PaintMenuLine(TsSkinProvider& p, int titleBottom, const RECT& ext, int bws, int state) {
    if (!MenuLineShown(p) || !p.SkinData->CacheBmp || !p.Form->HandleAllocated()) return;
    TsSkinManager* manager = p.SkinData->GetSkinManager();
    const TsSkinModel& skin = manager->Model();
    TBitmap& cacheBmp = *p.SkinData->CacheBmp;
    Bitmap32& cache = cacheBmp.Pixels();
    const int rows = std::max(p.MenuLineCount, 1);
    const int bar = p.HasMenuBar();
    const TRect line{ext.left, titleBottom, cache.Width() - ext.right, titleBottom + rows * bar + 1};
    int section = skin.IndexOfSection(p.MenuLineSkin());
    if (p.MenuLineSkin().empty() || !skin.SectionIndexValid(section)) section = skin.IndexOfSection("MENULINE");
    if (skin.SectionIndexValid(section) && line.Right > line.Left) {
        TsParentImageInfo bg;
        bg.Bmp = &cache;
        bg.Ready = true;
        const int states = std::max(1, skin.Sections()[static_cast<std::size_t>(section)].States);
        PaintSkinItem(cache, skin, section, bg, std::min(state, states - 1), line, TPoint{line.Left, line.Top});
    }
    // The items' background, kept for the repaint of a single item.
    const int ww = cache.Width() - ext.left - ext.right, wh = rows * bar + 1;
    if (ww > 0 && wh > 0) {
        if (!p.WorkBmp) p.WorkBmp = std::make_unique<TBitmap>();
        p.WorkBmp->SetSize(ww, wh);
        // (The framework's forms have no border width of their own.)
        const int sx = p.ClientOffsetX();
        const int sy = p.ClientOffsetY() - rows * bar - 1;
        CopyArea(p.WorkBmp->Pixels(), cache, sx, sy);
    }
    PaintMDIChildIcon(p, titleBottom, ext, bws);
    TsSkinableMenus* painter = SkinableMenus(manager);
    if (!painter) return;
    const HWND wnd = p.Form->Handle();
    const HMENU menu = GetMenu(wnd);
    if (!menu) return;
    RECT wr{};
    GetWindowRect(wnd, &wr);
    const int dx = ExtendedBorderDiff(p.BorderForm) - wr.left + ext.left;
    const int dy = ExtendedTitleDiff(p.BorderForm) - wr.top + ext.top + (p.UseSysCaption ? 4 : 0);
    GdiFlush();
    TCanvas* canvas = cacheBmp.Canvas();
    // A maximised MDI child's system menu takes the bar's first place (its
    // buttons the last ones, after the items). The bar's items are the
    // form's with the active MDI child's merged in, in the bar's order.
    int pos = MaximizedMDIChild(p) ? 1 : 0;
    for (TMenuItem* item : p.Form->Menu()->BarItems()) {
        if (!item->Visible()) continue;
        RECT r{};
        if (GetMenuItemRect(wnd, menu, static_cast<UINT>(pos), &r)) {
            OffsetRect(&r, dx, dy);
            // The item's own handler when it has one; otherwise the painter
            // draws it straight away (hooking the menu again here would
            // change the bar inside this paint).
            if (item->OnAdvancedDrawItem)
                item->OnAdvancedDrawItem.Handler(item, canvas, r, kMenuLineDrawState);
            else
                painter->DrawBarItem(item, canvas, r, kMenuLineDrawState);
            GdiFlush();
        }
        ++pos;
    }
}

void TsSkinProvider::UpdateMenus(bool skinned) {
    TsSkinManager* manager = Manager();
    TsSkinableMenus* painter = SkinableMenus(manager);
    if (!painter || !Form) return;
    painter->UpdateFromSkin();
    const bool on = skinned && painter->Active();
    if (!on) ClearMenuCache();
    // The form's popup menus and its main menu's items; the bar is built
    // again so that its items are owner-drawn (or plain) from now on.
    painter->HookFormMenus(Form, on);
    if (TMainMenu* menu = Form->Menu()) {
        painter->SetMainMenuSkinned(menu, on && DrawNonClientArea);
        if (Form->HandleAllocated()) Form->SetMenu(menu);
        MenuLineCount = -1;
    }
    MenuSkinned = on && Form->Menu() != nullptr;
}

}  // namespace kova::skin
