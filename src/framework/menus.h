// Menus: items with Checked, Enabled, submenus, separators ("-" caption)
// and OnClick; a popup menu shown at a screen point; a main menu for a form.
#pragma once

#include "framework/portable/component.h"

#include <windows.h>

#include <string>
#include <vector>

namespace kova {

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

    bool HasParent() const override { return true; }
    void SetParentComponent(TComponent* p) override;
    // Builds the native menu (sub-items) into a menu handle.
    void AppendTo(HMENU menu);
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
    UINT command_ = 0;
    TMenuItem* parentItem_ = nullptr;
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

private:
    static void DefineProps(TPropList& L);
};

class TMainMenu : public TMenu {
    KOVA_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;
    // A fresh native menu bar built from the items (owned by this object).
    HMENU Handle();

private:
    HMENU menu_ = nullptr;
};

}  // namespace kova
