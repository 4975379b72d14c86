#include "skin/forms/sysmenu.h"

#include <string>

#include "skin/forms/provider.h"

namespace kova::skin {

TsSystemMenu::TsSystemMenu(TsSkinProvider* provider) : TsCustomSysMenu(provider) {
    Provider = provider;
    Form = provider ? provider->Form : nullptr;
    SetName("acSysMenu" + std::to_string(GetTickCount()));
    RefreshItems(true);
}

bool TsSystemMenu::HasSystemMenu() const {
    if (!Form) return false;
    if (Provider && Provider->SysMenuHidden) return true;
    return Form->HandleAllocated() && (GetWindowLongPtrA(Form->Handle(), GWL_STYLE) & WS_SYSMENU) != 0;
}

bool TsSystemMenu::Iconic() const { return Form && Form->HandleAllocated() && IsIconic(Form->Handle()); }

bool TsSystemMenu::MDIChild() const { return Form && Form->FormStyle() == fsMDIChild; }

bool TsSystemMenu::VisibleClose() {
    if (!HasSystemMenu() || !Form->HandleAllocated()) return false;
    HMENU menu = GetSystemMenu(Form->Handle(), FALSE);
    return menu && GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1);
}

bool TsSystemMenu::VisibleBox(TBorderIcon icon) {
    if (!HasSystemMenu()) return false;
    if (Iconic() || MDIChild()) return true;
    switch (Form->BorderStyle()) {
        case bsDialog:
        case bsNone:
        case bsSizeToolWin:
        case bsToolWindow:
            return false;
        default:
            return (Form->BorderIcons() & icon) != 0;
    }
}

bool TsSystemMenu::VisibleMax() { return VisibleBox(biMaximize); }
bool TsSystemMenu::VisibleMin() { return VisibleBox(biMinimize); }

bool TsSystemMenu::EnabledMax() {
    if (!Form) return false;
    if (!MDIChild() && (Form->WindowState() == wsMaximized ||
                        (Form->BorderStyle() != bsSingle && Form->BorderStyle() != bsSizeable)))
        return false;
    return (Form->BorderIcons() & biMaximize) != 0;
}

bool TsSystemMenu::EnabledMin() {
    if (!Form || !(Form->BorderIcons() & biMinimize)) return false;
    if (!Iconic()) return true;
    return Application()->MainForm() == Form;
}

bool TsSystemMenu::EnabledRestore() {
    if (!Form) return false;
    if ((Form->BorderIcons() & biMaximize) && Form->WindowState() != wsNormal) return true;
    return Form->WindowState() == wsMinimized;
}

}  // namespace kova::skin
