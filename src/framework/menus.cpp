#include "framework/menus.h"

#include "framework/controls.h"
#include "framework/dialogs.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/handles.h"

#include <algorithm>
#include <map>

namespace kova {

namespace {
std::map<UINT, TMenuItem*>& Commands() {
    static std::map<UINT, TMenuItem*> m;
    return m;
}
UINT g_nextCommand = 1;
}  // namespace

bool DispatchMenuCommand(UINT id) {
    TMenuItem* item = TMenuItem::FindByCommand(id);
    if (!item) return false;
    item->Click();
    return true;
}

TMenuItem* TMenuItem::FindByCommand(UINT id) {
    auto it = Commands().find(id);
    return it == Commands().end() ? nullptr : it->second;
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {
    while (Commands().count(g_nextCommand) || g_nextCommand == 0) g_nextCommand = (g_nextCommand + 1) & 0xFFFF;
    command_ = g_nextCommand;
    Commands()[command_] = this;
    g_nextCommand = (g_nextCommand + 1) & 0xFFFF;
}

TMenuItem::~TMenuItem() {
    Commands().erase(command_);
    while (!items_.empty()) {
        TMenuItem* i = items_.back();
        items_.pop_back();
        i->parentItem_ = nullptr;
        i->Free();
    }
    if (parentItem_) parentItem_->Remove(this);
}

void TMenuItem::DefineProps(TPropList& L) {
    L.For<TMenuItem>()
        .String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
        .Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
        .Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
        .Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
        .Int("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex)
        .Event("OnClick", &TMenuItem::OnClick);
}

TBitmap* TMenuItem::Bitmap() {
    if (!bitmap_) bitmap_ = std::make_unique<TBitmap>();
    return bitmap_.get();
}

bool TMenuItem::HasBitmap() const { return bitmap_ && bitmap_->Width() > 0 && bitmap_->Height() > 0; }

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* i = this;
    while (i->parentItem_) i = i->parentItem_;
    return i->rootOf_;
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item || item == this) return;
    if (item->parentItem_) item->parentItem_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parentItem_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parentItem_ = nullptr;
}

void TMenuItem::Clear() {
    while (!items_.empty()) {
        TMenuItem* i = items_.back();
        Remove(i);
        i->Free();
    }
}

void TMenuItem::Click() {
    if (enabled_ && OnClick) OnClick(this);
}

void TMenuItem::SetParentComponent(TComponent* p) {
    if (auto* m = dynamic_cast<TMenu*>(p))
        m->Items()->Add(this);
    else if (auto* i = dynamic_cast<TMenuItem*>(p))
        i->Add(this);
}

void TMenuItem::AppendTo(HMENU menu) {
    for (TMenuItem* i : items_) i->AppendSelf(menu);
}

void TMenuItem::AppendSelf(HMENU menu) {
    const TMenu* owner = GetParentMenu();
    const bool ownerDraw = owner && owner->OwnerDraw;
    if (!visible_) return;
    if (ownerDraw && (OnAdvancedDrawItem || OnDrawItem)) {
        // The item is found again by its command, which the item data
        // carries (pointer-wide); a divider stays unselectable.
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
        info.fType = MFT_OWNERDRAW | (IsSeparator() ? MFT_SEPARATOR : 0) |
                     (break_ ? MFT_MENUBARBREAK : 0) | (radioItem_ ? MFT_RADIOCHECK : 0);
        info.fState = (checked_ ? MFS_CHECKED : 0) | (enabled_ ? 0 : MFS_GRAYED) |
                      (default_ ? MFS_DEFAULT : 0);
        info.wID = command_;
        info.dwItemData = static_cast<ULONG_PTR>(command_);
        TMenuHandle sub;
        if (Count() > 0 && !IsSeparator()) {
            sub.Reset(CreatePopupMenu());
            AppendTo(sub.Get());
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = sub.Get();
        }
        if (InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info)) (void)sub.Release();
        return;
    }
    if (IsSeparator()) {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        return;
    }
    UINT flags = MF_STRING | (checked_ ? MF_CHECKED : 0) | (enabled_ ? 0 : MF_GRAYED) |
                 (break_ ? MF_MENUBARBREAK : 0);
    const std::string text = shortCut_.empty() ? caption_ : caption_ + "\t" + shortCut_;
    if (Count() > 0) {
        TMenuHandle sub(CreatePopupMenu());
        AppendTo(sub.Get());
        // Appended, the submenu is destroyed with its parent.
        if (AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Get()), text.c_str()))
            (void)sub.Release();
    } else {
        AppendMenuA(menu, flags, command_, text.c_str());
    }
    if (radioItem_) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoA(menu, static_cast<UINT>(GetMenuItemCount(menu) - 1), TRUE, &info);
        info.fType |= MFT_RADIOCHECK;
        SetMenuItemInfoA(menu, static_cast<UINT>(GetMenuItemCount(menu) - 1), TRUE, &info);
    }
}

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), items_(new TMenuItem(nullptr)) { items_->rootOf_ = this; }
TMenu::~TMenu() { items_->Free(); }

TMenuItem* TMenu::FindItem(const std::string& caption) const {
    std::vector<TMenuItem*> stack{items_};
    while (!stack.empty()) {
        TMenuItem* i = stack.back();
        stack.pop_back();
        if (i != items_ && i->Caption() == caption) return i;
        for (int k = i->Count() - 1; k >= 0; --k) stack.push_back(i->Items(k));
    }
    return nullptr;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

void TPopupMenu::DefineProps(TPropList& L) { L.For<TPopupMenu>().Event("OnPopup", &TPopupMenu::OnPopup); }

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup(this);
    TDialogRequest r;
    r.kind = TDialogKind::Popup;
    r.menu = this;
    r.x = x;
    r.y = y;
    TDialogAnswer a = AskDialogResponder(r);
    if (a.handled) {
        if (a.item) a.item->Click();
        return;
    }
    UINT cmd = 0;
    HWND owner = Application() ? Application()->Handle() : nullptr;
    {
        TMenuHandle menu(CreatePopupMenu());
        items_->AppendTo(menu.Get());
        SetForegroundWindow(owner);
        const UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | ((MenuAnimation & maNone) ? TPM_NOANIMATION : 0);
        cmd = TrackPopupMenu(menu.Get(), flags, x, y, 0, owner, nullptr);
    }
    PostMessageA(owner, WM_NULL, 0, 0);
    if (cmd) DispatchMenuCommand(cmd);
}

bool DispatchMenuOwnerDraw(UINT msg, LPARAM lParam) {
    if (msg == WM_MEASUREITEM) {
        auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (!mi || mi->CtlType != ODT_MENU) return false;
        TMenuItem* item = TMenuItem::FindByCommand(static_cast<UINT>(mi->itemData));
        if (!item) return false;
        int w = static_cast<int>(mi->itemWidth), h = static_cast<int>(mi->itemHeight);
        if (item->OnMeasureItem) {
            TWindowDC screen(nullptr);
            TCanvas canvas;
            canvas.SetHandle(screen.Get());
            item->OnMeasureItem.Handler(item, &canvas, w, h);
            canvas.SetHandle(nullptr);
        }
        mi->itemWidth = static_cast<UINT>(std::max(w, 0));
        mi->itemHeight = static_cast<UINT>(std::max(h, 0));
        return true;
    }
    if (msg == WM_DRAWITEM) {
        auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (!di || di->CtlType != ODT_MENU) return false;
        TMenuItem* item = TMenuItem::FindByCommand(static_cast<UINT>(di->itemData));
        if (!item) return false;
        TCanvas canvas;
        canvas.SetHandle(di->hDC);
        if (item->OnAdvancedDrawItem)
            item->OnAdvancedDrawItem.Handler(item, &canvas, di->rcItem, di->itemState);
        else if (item->OnDrawItem)
            item->OnDrawItem(item, &canvas, di->rcItem, (di->itemState & ODS_SELECTED) != 0);
        canvas.SetHandle(nullptr);
        return true;
    }
    return false;
}

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
TMainMenu::~TMainMenu() {
    if (menu_ && !IsMenu(menu_)) menu_ = nullptr;
}
HMENU TMainMenu::Handle() {
    TMenuHandle bar(CreateMenu());
    for (TMenuItem* item : BarItems()) item->AppendSelf(bar.Get());
    // The window that shows the bar destroys it with itself.
    menu_ = bar.Release();
    return menu_;
}

void TMainMenu::Merge(TMainMenu* other) {
    if (other == this) other = nullptr;
    if (merged_ && merged_ != other) merged_->RemoveFreeNotification(this);
    merged_ = other;
    if (other) other->FreeNotification(this);
}

std::vector<TMenuItem*> TMainMenu::BarItems() const {
    std::vector<TMenuItem*> bar;
    auto replaced = [&](int group) {
        if (!merged_) return false;
        TMenuItem* root = merged_->Items();
        for (int k = 0; k < root->Count(); ++k)
            if (root->Items(k)->GroupIndex() == group) return true;
        return false;
    };
    for (int k = 0; k < items_->Count(); ++k)
        if (!replaced(items_->Items(k)->GroupIndex())) bar.push_back(items_->Items(k));
    if (!merged_) return bar;
    TMenuItem* root = merged_->Items();
    for (int k = 0; k < root->Count(); ++k) {
        TMenuItem* item = root->Items(k);
        // After the last item of the same or a lower group.
        auto at = bar.end();
        while (at != bar.begin() && (*(at - 1))->GroupIndex() > item->GroupIndex()) --at;
        bar.insert(at, item);
    }
    return bar;
}

void TMainMenu::Notification(TComponent* c, TOperation op) {
    TMenu::Notification(c, op);
    if (op == TOperation::opRemove && c == merged_) merged_ = nullptr;
}

}  // namespace kova
