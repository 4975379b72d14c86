#include "mainwindow/hotkeys/hotkeys.h"

#include <string>

#include "framework/dialogs.h"
#include "framework/stdctrls.h"
#include "mainwindow/hotkeys/logic/keynames.h"

namespace kova::mainwindow {

UINT HotKeyModifierFlags(int32_t modifier) {
    switch (modifier) {
        case VK_SHIFT:
        case VK_LSHIFT:
        case VK_RSHIFT:
            return MOD_SHIFT;
        case VK_CONTROL:
        case VK_LCONTROL:
        case VK_RCONTROL:
            return MOD_CONTROL;
        case VK_MENU:
        case VK_LMENU:
        case VK_RMENU:
            return MOD_ALT;
        default:
            return 0;
    }
}

bool TRegisteredHotKey::Register(HWND window, const char* atomName, UINT flags, UINT key) {
    Release();
    window_ = window;
    atom_ = GlobalAddAtomA(atomName);
    if (key == 0) return true;
    registered_ = RegisterHotKey(window_, atom_, flags, key) != FALSE;
    return registered_;
}

void TRegisteredHotKey::Release() {
    // Unregistering an id that is not registered is harmless, and a window
    // already destroyed has lost its hotkeys anyway.
    if (registered_) UnregisterHotKey(window_, atom_);
    registered_ = false;
    if (atom_) GlobalDeleteAtom(atom_);
    atom_ = 0;
    window_ = nullptr;
}

bool THotKeyTable::RegisterSlotHotKey(int32_t n, const tables::THotKeyBinding& binding) {
    if (n < 1 || n > kHotKeyCount) return false;
    const std::string atomName = "HotKey" + std::to_string(n);
    UINT flags = 0;
    UINT key = 0;
    if (n == kCaptureHotKey) {
        key = static_cast<UINT>(KeyCodeOf("F11"));
    } else if (binding.Key > 0) {
        flags = HotKeyModifierFlags(binding.Modifier);
        key = static_cast<UINT>(binding.Key);
    }
    if (keys_[static_cast<size_t>(n - 1)].Register(window_, atomName.c_str(), flags, key)) return true;
    ShowMessage("Wrong HotKey");
    return false;
}

void THotKeyTable::Release(int32_t n) {
    if (n >= 1 && n <= kHotKeyCount) keys_[static_cast<size_t>(n - 1)].Release();
}

void THotKeyTable::ReleaseAll() {
    for (TRegisteredHotKey& k : keys_) k.Release();
}

ATOM THotKeyTable::Id(int32_t n) const {
    return n >= 1 && n <= kHotKeyCount ? keys_[static_cast<size_t>(n - 1)].Id() : 0;
}

int32_t THotKeyTable::HotKeyOfId(WPARAM id) const {
    if (id == 0) return 0;
    for (int32_t n = 1; n <= kHotKeyCount; ++n)
        if (keys_[static_cast<size_t>(n - 1)].Id() == id) return n;
    return 0;
}

bool THotKeyTable::Registered(int32_t n) const {
    return n >= 1 && n <= kHotKeyCount && keys_[static_cast<size_t>(n - 1)].Registered();
}

void SelectKeyInCombo(TComboBox* combo, int32_t code) {
    if (!combo) return;
    const std::string name = KeyNameOf(code);
    int index = 0;
    if (!name.empty()) {
        TItemList* items = combo->Items();
        for (int i = 0; i < items->Count(); ++i) {
            if (items->Strings(i) == name) {
                index = i;
                break;
            }
        }
    }
    combo->SetItemIndex(index);
}

}  // namespace kova::mainwindow
