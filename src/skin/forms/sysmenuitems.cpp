// The skinned system menu's items: built from the window's own system
// menu (its captions and the commands an application added), their states
// from what the form allows, and every choice carried out as the ordinary
// system command, so the form behaves as with the system's menu.
#include <string>
#include <vector>

#include "skin/core/skinmanager.h"
#include "skin/forms/provider.h"
#include "skin/forms/sysmenu.h"

namespace kova::skin {

namespace {

constexpr const char* kSkinItemName = "SkinSelectItem";
// Skins per column of the skin choice.
constexpr int kSkinsPerColumn = 20;

// The text of a system-menu entry split at its tab: caption and key text.
struct TMenuText {
    bool found = false;
    std::string caption, shortCut;
};

TMenuText Split(const char* text, int length) {
    TMenuText t;
    if (length <= 0) return t;
    t.found = true;
    const std::string s(text, static_cast<std::size_t>(length));
    const std::size_t tab = s.find('\t');
    t.caption = s.substr(0, tab);
    if (tab != std::string::npos) t.shortCut = s.substr(tab + 1);
    return t;
}

TMenuText ByCommand(HMENU menu, UINT command) {
    char buf[256];
    return Split(buf, GetMenuStringA(menu, command, buf, 255, MF_BYCOMMAND));
}

TMenuText ByPosition(HMENU menu, int position) {
    char buf[256];
    return Split(buf, GetMenuStringA(menu, static_cast<UINT>(position), buf, 255, MF_BYPOSITION));
}

}  // namespace

TMenuItem* TsSystemMenu::NewItem(const std::string& caption, const std::string& name, std::intptr_t tag) {
    auto* item = new TMenuItem(this);
    item->SetCaption(caption);
    if (!name.empty()) item->SetName(name);
    item->SetTag(tag);
    return item;
}

void TsSystemMenu::BuildItems() {
    Items()->Clear();
    ItemRestore = ItemMove = ItemSize = ItemMinimize = ItemMaximize = ItemClose = nullptr;
    ExtraItemCount = 0;
    if (!Form || !Form->HandleAllocated()) return;
    HMENU menu = GetSystemMenu(Form->Handle(), FALSE);
    if (!menu) return;
    struct TStandard {
        TMenuItem** item;
        UINT command;
        const char* name;
        const char* engineText;
    };
    const TStandard standard[] = {{&ItemRestore, SC_RESTORE, "acIR", "Restore"},
                                  {&ItemMove, SC_MOVE, "acIM", "Move"},
                                  {&ItemSize, SC_SIZE, "acIS", "Size"},
                                  {&ItemMinimize, SC_MINIMIZE, "acIN", "Minimize"},
                                  {&ItemMaximize, SC_MAXIMIZE, "acIX", "Maximize"}};
    auto standardClick = [this](TObject* sender) { StandardClick(sender); };
    for (const TStandard& s : standard) {
        const TMenuText text = ByCommand(menu, s.command);
        TMenuItem* item = NewItem(text.found ? text.caption : s.engineText, s.name, s.command);
        item->OnClick = standardClick;
        Items()->Add(item);
        *s.item = item;
    }
    Items()->Add(NewItem("-", "", 0));
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(menu, i);
        if (id == static_cast<UINT>(-1) || id == 0 || id >= 0xF000) continue;
        const TMenuText text = ByPosition(menu, i);
        if (!text.found) continue;
        TMenuItem* item = NewItem(text.caption, "", static_cast<std::intptr_t>(id));
        item->SetShortCut(text.shortCut);
        item->OnClick = [this](TObject* sender) { ApplicationClick(sender); };
        Items()->Add(item);
        ++ExtraItemCount;
    }
    if (ExtraItemCount > 0) Items()->Add(NewItem("-", "", 0));
    const TMenuText close = ByCommand(menu, SC_CLOSE);
    ItemClose = NewItem(close.found ? close.caption : "Close", "acIC", SC_CLOSE);
    if (close.found) ItemClose->SetShortCut(close.shortCut);
    ItemClose->OnClick = standardClick;
    Items()->Add(ItemClose);
}

void TsSystemMenu::RefreshItems(bool rebuild) {
    if (rebuild || !ItemClose) BuildItems();
    if (!ItemClose || !Form) return;
    const bool hasMenu = HasSystemMenu();
    const TFormBorderStyle style = Form->BorderStyle();
    const bool fixed = style == bsDialog || style == bsNone || style == bsSizeToolWin || style == bsToolWindow;
    ItemRestore->SetVisible(hasMenu && (MDIChild() || !fixed));
    ItemRestore->SetEnabled(EnabledRestore());
    ItemMove->SetVisible(true);
    ItemMove->SetEnabled(Form->WindowState() != wsMaximized);
    ItemSize->SetVisible(MDIChild() || !(style == bsDialog || style == bsNone || style == bsToolWindow));
    ItemSize->SetEnabled(style != bsSingle && !Iconic());
    ItemMinimize->SetVisible(VisibleMin());
    ItemMinimize->SetEnabled(EnabledMin());
    ItemMaximize->SetVisible(VisibleMax());
    ItemMaximize->SetEnabled(EnabledMax());
    ItemClose->SetVisible(VisibleClose());
    ItemClose->SetEnabled(true);
}

void TsSystemMenu::SendCommand(WPARAM command) {
    if (Form && Form->HandleAllocated()) SendMessageA(Form->Handle(), WM_SYSCOMMAND, command, 0);
}

void TsSystemMenu::StandardClick(TObject* sender) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item || !Form || !Form->HandleAllocated()) return;
    const HWND wnd = Form->Handle();
    const auto command = static_cast<WPARAM>(item->Tag());
    if (command == SC_MINIMIZE && Provider) {
        Provider->FormState |= 0x100;
        SendCommand(command);
        if (IsWindow(wnd)) Provider->FormState &= ~0x100u;
    } else {
        SendCommand(command);
    }
    // The form may be gone (closed and freed) once the command is done.
    if (IsWindow(wnd) && (command == SC_RESTORE || command == SC_MINIMIZE || command == SC_MAXIMIZE))
        RefreshItems(false);
}

void TsSystemMenu::ApplicationClick(TObject* sender) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (item && Form && Form->HandleAllocated())
        PostMessageA(Form->Handle(), WM_SYSCOMMAND, static_cast<WPARAM>(item->Tag()), 0);
}

void TsSystemMenu::RemoveSkinListItem() {
    TMenuItem* root = Items();
    for (int i = root->Count() - 1; i >= 0; --i) {
        TMenuItem* item = root->Items(i);
        if (item->Name() != kSkinItemName) continue;
        // The separator that followed it goes with it.
        if (i + 1 < root->Count() && root->Items(i + 1)->IsSeparator()) {
            TMenuItem* separator = root->Items(i + 1);
            root->Remove(separator);
            separator->Free();
        }
        root->Remove(item);
        item->Free();
    }
}

void TsSystemMenu::AddSkinListItem() {
    TsSkinManager* manager = Provider && Provider->SkinData ? Provider->SkinData->GetSkinManager() : nullptr;
    if (!manager) return;
    std::vector<std::string> names;
    std::string first;
    manager->GetSkinNames(names, slAll, first);
    if (names.empty()) return;
    TMenuItem* parent = NewItem("Available skins", kSkinItemName, 0);
    Items()->Insert(0, parent);
    Items()->Insert(1, NewItem("-", "", 0));
    for (std::size_t i = 0; i < names.size(); ++i) {
        TMenuItem* item = NewItem(names[i], kSkinItemName + std::to_string(i), 0);
        item->SetRadioItem(true);
        item->SetChecked(names[i] == manager->SkinName());
        item->SetBreak(i != 0 && i % kSkinsPerColumn == 0);
        item->OnClick = [this](TObject* sender) { SkinClick(sender); };
        parent->Add(item);
    }
}

void TsSystemMenu::SkinClick(TObject* sender) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    TsSkinManager* manager = Provider && Provider->SkinData ? Provider->SkinData->GetSkinManager() : nullptr;
    if (!item || !manager) return;
    std::string name;
    for (char c : item->Caption())
        if (c != '&') name += c;
    constexpr const char* kInternal = "(internal)";
    if (const std::size_t at = name.find(kInternal); at != std::string::npos)
        name.erase(at + std::char_traits<char>::length(kInternal));
    manager->SetSkinName(name);
}

}  // namespace kova::skin
