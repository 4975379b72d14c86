// Menus: items with Checked, Enabled, submenus, separators ("-" caption)
// and OnClick; a popup menu shown at a screen point; a main menu for a form.
#pragma once

#include "framework/portable/component.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kova {

class TBitmap;
class TCanvas;
class TImageList;
class TMenu;

// The owner-draw state of an item (the system's ODS_* bits).
enum TOwnerDrawStateBit : std::uint32_t {
    odSelected = ODS_SELECTED, odGrayed = ODS_GRAYED, odDisabled = ODS_DISABLED, odChecked = ODS_CHECKED,
    odFocused = ODS_FOCUS, odDefault = ODS_DEFAULT, odHotLight = ODS_HOTLIGHT, odInactive = ODS_INACTIVE,
    odNoAccel = ODS_NOACCEL, odNoFocusRect = ODS_NOFOCUSRECT, odReserved1 = 0x400, odReserved2 = 0x800,
    odComboBoxEdit = ODS_COMBOBOXEDIT
};
using TOwnerDrawState = std::uint32_t;

using TMenuMeasureItemEvent = std::function<void(TObject* sender, TCanvas* canvas, int& width, int& height)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* sender, TCanvas* canvas, const RECT& rect, TOwnerDrawState state)>;
using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas* canvas, const RECT& rect, bool selected)>;

// A menu item's handler with who installed it: a handler assigned plainly
// is the program's own (Installer nullptr); a painter that installs one
// names itself, so that it takes away only its own.
template <class F>
struct TMenuHandler {
    F Handler;
    const void* Installer = nullptr;
    TMenuHandler& operator=(F f) {
        Handler = std::move(f);
        Installer = nullptr;
        return *this;
    }
    void Install(F f, const void* installer) {
        Handler = std::move(f);
        Installer = installer;
    }
    void Clear() {
        Handler = nullptr;
        Installer = nullptr;
    }
    explicit operator bool() const { return static_cast<bool>(Handler); }
};

// How a popup menu opens: maNone switches the system's opening animation
// off.
enum TMenuAnimationBit : std::uint32_t { maLeftToRight = 1, maRightToLeft = 2, maTopToBottom = 4, maBottomToTop = 8, maNone = 16 };
using TMenuAnimation = std::uint32_t;

class TMenuItem : public TComponent {
    KOVA_CLASS_PROPS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& v) { caption_ = v; }
    bool Checked() const { return checked_; }
    void SetChecked(bool v) { checked_ = v; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v) { enabled_ = v; }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { visible_ = v; }
    bool IsSeparator() const { return caption_ == "-"; }
    // The key text shown right of the caption (empty: none).
    const std::string& ShortCut() const { return shortCut_; }
    void SetShortCut(const std::string& v) { shortCut_ = v; }
    // One of a group of which one is checked (shown with a bullet).
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool v) { radioItem_ = v; }
    // The item starts a new column of its menu.
    bool Break() const { return break_; }
    void SetBreak(bool v) { break_ = v; }
    UINT Command() const { return command_; }
    // Drawn bold (the menu's default command).
    bool Default() const { return default_; }
    void SetDefault(bool v) { default_ = v; }
    // An MDI child's top-level items replace the main form's items of their
    // group index in the frame's bar; the others come in group-index order.
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v) { groupIndex_ = v; }
    // The item's own picture (made on first use; empty: none).
    TBitmap* Bitmap();
    bool HasBitmap() const;
    // The picture of the menu's image list (-1: none).
    int ImageIndex = -1;
    // The menu the item belongs to (nullptr while it belongs to none).
    TMenu* GetParentMenu() const;

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int i) const { return items_.at(static_cast<size_t>(i)); }
    TMenuItem* ItemParent() const { return parentItem_; }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    void Clear();  // frees the sub-items
    // Simulates the user choosing the item.
    virtual void Click();

    TNotifyEvent OnClick;
    // Owner drawing: asked for the item's size and to draw it while its
    // menu is owner-drawn (the advanced handler first, the plain one after).
    TMenuHandler<TMenuMeasureItemEvent> OnMeasureItem;
    TMenuHandler<TAdvancedMenuDrawItemEvent> OnAdvancedDrawItem;
    TMenuDrawItemEvent OnDrawItem;

    bool HasParent() const override { return true; }
    void SetParentComponent(TComponent* p) override;
    // Builds the native menu (sub-items) into a menu handle.
    void AppendTo(HMENU menu);
    // Appends this item itself (nothing when hidden).
    void AppendSelf(HMENU menu);
    static TMenuItem* FindByCommand(UINT id);

private:
    static void DefineProps(TPropList& L);
    std::string caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    std::string shortCut_;
    bool radioItem_ = false;
    bool break_ = false;
    bool default_ = false;
    int groupIndex_ = 0;
    UINT command_ = 0;
    TMenuItem* parentItem_ = nullptr;
    TMenu* rootOf_ = nullptr;  // set on a menu's root item
    std::unique_ptr<TBitmap> bitmap_;
    friend class TMenu;
    std::vector<TMenuItem*> items_;
};

class TMenu : public TComponent {
    KOVA_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;
    TMenuItem* Items() const { return items_; }
    // Finds an item by caption along the tree (first match).
    TMenuItem* FindItem(const std::string& caption) const;
    // The items are drawn by their owner-draw handlers.
    bool OwnerDraw = false;
    TImageList* Images = nullptr;

protected:
    TMenuItem* items_;
};

class TPopupMenu : public TMenu {
    KOVA_CLASS_PROPS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* AOwner);
    // Shows the menu at a screen point and runs the chosen item's OnClick.
    // Through the dialog seam when one is installed (tests choose an item).
    virtual void Popup(int x, int y);
    TComponent* PopupComponent = nullptr;
    TNotifyEvent OnPopup;
    TMenuAnimation MenuAnimation = 0;

private:
    static void DefineProps(TPropList& L);
};

class TMainMenu : public TMenu {
    KOVA_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;
    // A fresh native menu bar built from the bar's items (owned by this
    // object).
    HMENU Handle();
    // An MDI main form's menu takes the active child's menu in (nullptr:
    // none); the bar is built again by the form.
    void Merge(TMainMenu* other);
    TMainMenu* Merged() const { return merged_; }
    // The top-level items in the order of the bar, the merged menu's among
    // them (hidden ones included).
    std::vector<TMenuItem*> BarItems() const;

protected:
    void Notification(TComponent* c, TOperation op) override;

private:
    HMENU menu_ = nullptr;
    TMainMenu* merged_ = nullptr;
};

// WM_MEASUREITEM and WM_DRAWITEM of owner-drawn menu items, answered by the
// item's handlers; false when the message is of no item of ours.
bool DispatchMenuOwnerDraw(UINT msg, LPARAM lParam);

}  // namespace kova
