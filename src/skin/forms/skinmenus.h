// Skinned menus: the items of main-menu bars and popup menus (context
// menus, sub-menus, a skinned form's system menu) drawn by the owner-draw
// handlers of the manager's menu painter with the skin's sections, and the
// popup window shaped like the skin's menu border.
//
// While a popup menu is open its whole background (border, side line, icon
// column) is rendered once into the menu cache; every item takes its
// background from there. The cache lives only while popup menus are open.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/skinmanager.h"

namespace kova::skin {

enum TsMenuItemType { smCaption, smDivider, smNormal, smTopLine };
using TsMenuManagerDrawItemEvent = std::function<void(TObject* sender, TCanvas* canvas, const RECT& rect,
                                                      TOwnerDrawState state, TsMenuItemType itemType)>;

// The owner-draw state that tells the bar-item painter the item is drawn
// into the provider's cache (the menu line), in cache coordinates.
inline constexpr TOwnerDrawState kMenuLineDrawState = odNoAccel | odReserved1;

class TsSkinableMenus : public TObject {
    KOVA_CLASS(TsSkinableMenus, TObject)
public:
    explicit TsSkinableMenus(TsSkinManager* manager);
    ~TsSkinableMenus() override;

    int Margin = 2;
    TAlignment Alignment = taLeftJustify;
    int BevelWidth = 0;
    int BorderWidth = 3;
    TFont CaptionFont;
    int Spacing = 8;
    // The border width of the skin's menu border ("BORDERSMASK" of
    // "MAINMENU"), read once per skin.
    int SkinBorderWidth();
    TsMenuManagerDrawItemEvent OnDrawItem;

    bool Active() const { return active_; }
    // Re-hooks the menus of every form when the value changes.
    void SetActive(bool value);
    // Active follows the skin's own menu flag.
    void UpdateFromSkin();

    // A popup menu made skinned (owner-drawn by the skin, no opening
    // animation) or plain again; the program's own item handlers stay.
    void SetMenuSkinned(TPopupMenu* menu, bool active);
    // A main menu's bar items drawn on the menu line, their sub-items as
    // popup items while popups are skinned.
    void SetMainMenuSkinned(TMainMenu* menu, bool active);
    // Every menu owned by the form (and by what it owns).
    void HookFormMenus(TComponent* root, bool active);
    // The menus of every form hooked again as Active and the manager's
    // SkinnedPopups now say (SkinnedPopups changed).
    void RehookAllForms();

    // The size a menu takes when drawn without its popup window: its
    // widest item and its tallest column, as measured.
    int MenuWidth(TMenuItem* firstItem);
    int ColumnHeight(TMenuItem* firstItem);

    // The popup window gets the region of the rendered image and the image.
    void SetMenuWindowShape(HWND wnd, TBitmap* bitmap);

    TsSkinManager* Manager = nullptr;

    // The owner-draw handlers the hooking installs.
    void MeasurePopupItem(TMenuItem* item, TCanvas* canvas, int& width, int& height);
    void DrawPopupItem(TMenuItem* item, TCanvas* canvas, const RECT& rect, TOwnerDrawState state);
    void MeasureBarItem(TMenuItem* item, TCanvas* canvas, int& width, int& height);
    void DrawBarItem(TMenuItem* item, TCanvas* canvas, const RECT& rect, TOwnerDrawState state);

    // Renders the image of the menu whose first item is firstItem, MW x MH,
    // for the window (shaped at once when given).
    TBitmap* RenderMenu(TMenuItem* firstItem, int width, int height, HWND wnd);

private:
    void HookItem(TMenuItem* item, bool active, bool bar);
    void QueryExtraLine(TMenuItem* firstItem);
    bool ExtraLineShown(TMenuItem* firstItem) const;
    void DrawDivider(TMenuItem* item, TCanvas* canvas, const RECT& rect, int sideWidth, TBitmap* cache, POINT off);
    void DrawCaptionLine(TMenuItem* item, TCanvas* canvas, const RECT& rect, int sideWidth, TBitmap* cache,
                         POINT off);
    bool active_ = false;
    int skinBorderWidth_ = -1;
    std::uint64_t borderGeneration_ = 0;
    bool shaping_ = false;
    std::vector<RECT> corners_;
};

// The manager's painter (made on first use); nullptr without a manager.
TsSkinableMenus* SkinableMenus(TsSkinManager* manager);

// One rendered popup menu: the key is the menu's first item.
struct TacMenuCacheRecord {
    TMenuItem* FirstItem = nullptr;
    TBitmap* Bmp = nullptr;  // owned by the cache
    HWND Wnd = nullptr;
    bool ExtraLine = false;
};
// The record of the menu of item (by its parent's first item) or, for
// nullptr, of the window; rendered when missing and render is set (item
// and window needed). False and an empty record when there is none.
bool GetMenuCacheItem(TMenuItem* item, bool render, TacMenuCacheRecord& record, HWND wnd);
void ClearMenuCache();
int MenuCacheCount();

// Set while the skinned menus draw popup items; the popup window's adapter
// paints only then.
bool& SkinnedMenuDrawn();

// The client area's place in a window (the frame the system gives it).
POINT WindowClientOffset(HWND wnd);
// dest filled from src at (x, y); what lies outside src is black.
void CopyArea(Bitmap32& dest, const Bitmap32& src, int x, int y);

// The menu's first item: the key of its cache record.
TMenuItem* FirstItemOfMenu(TMenuItem* item);

}  // namespace kova::skin
