// The popup menu a skinned form shows in place of the window's system
// menu, which a skinned caption never lets the system show. This holds the
// menu's items and the queries of what the caption shows; building the
// items from the window's system menu and carrying out the commands come
// with the caption's mouse handling.
#pragma once

#include <windows.h>

#include "framework/forms.h"
#include "framework/menus.h"

namespace kova::skin {

class TsSkinProvider;

// What the caption shows and enables (the border window's hit test and the
// caption painter ask). No answer of its own: a descendant gives them.
class TsCustomSysMenu : public TPopupMenu {
    KOVA_CLASS(TsCustomSysMenu, TPopupMenu)
public:
    using TPopupMenu::TPopupMenu;
    virtual bool VisibleClose() = 0;
    virtual bool VisibleMax() = 0;
    virtual bool VisibleMin() = 0;
    virtual bool EnabledMax() = 0;
    virtual bool EnabledMin() = 0;
    virtual bool EnabledRestore() = 0;
};

// A form provider's system menu (owned by the provider).
class TsSystemMenu : public TsCustomSysMenu {
    KOVA_CLASS(TsSystemMenu, TsCustomSysMenu)
public:
    // The owner is the provider; the name is "acSysMenu" and the tick count.
    explicit TsSystemMenu(TsSkinProvider* provider);

    int ExtraItemCount = 0;
    TsSkinProvider* Provider = nullptr;
    TCustomForm* Form = nullptr;
    // The standard items (owned by the menu; nullptr before the first build).
    TMenuItem* ItemRestore = nullptr;
    TMenuItem* ItemMove = nullptr;
    TMenuItem* ItemSize = nullptr;
    TMenuItem* ItemMinimize = nullptr;
    TMenuItem* ItemMaximize = nullptr;
    TMenuItem* ItemClose = nullptr;

    // Rebuilds the items from the window's system menu when asked to (or
    // when there are none yet), then sets their states.
    void RefreshItems(bool rebuild);
    // The "Available skins" entry at the top, one item per skin of the
    // manager (nothing without a manager or skins); and taken away again.
    void AddSkinListItem();
    void RemoveSkinListItem();

    bool VisibleClose() override;
    bool VisibleMax() override;
    bool VisibleMin() override;
    bool EnabledMax() override;
    bool EnabledMin() override;
    bool EnabledRestore() override;

private:
    // The form shows a system menu at all (the provider keeps the window's
    // style while it hides it).
    bool HasSystemMenu() const;
    bool Iconic() const;
    bool MDIChild() const;
    bool VisibleBox(TBorderIcon icon);
    void BuildItems();
    TMenuItem* NewItem(const std::string& caption, const std::string& name, std::intptr_t tag);
    void SendCommand(WPARAM command);
    void StandardClick(TObject* sender);
    void ApplicationClick(TObject* sender);
    void SkinClick(TObject* sender);
};

}  // namespace kova::skin
