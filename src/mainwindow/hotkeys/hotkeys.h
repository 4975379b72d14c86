// The program's system-wide hotkeys (WM_HOTKEY) and the key combos of the
// settings rows that bind them.
//
// Hotkey n (1..11) has the id of the global atom "HotKey<n>". Its binding is
// binding n-1 of the user options (a modifier code and a key code); hotkey 11
// is always F11 without a modifier. The ids are owned by a THotKeyTable,
// which releases every registration and atom it holds when it goes, so
// nothing stays bound to a window that is closing.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

#include "tables/model/variables.h"

namespace kova {
class TComboBox;
}

namespace kova::mainwindow {

constexpr int32_t kHotKeyCount = 11;
constexpr int32_t kCaptureHotKey = 11;  // the fixed F11 of the capture tool

// The flags RegisterHotKey wants for a stored modifier code (either side's
// Shift, Ctrl or Alt counts); 0 for none or anything else.
UINT HotKeyModifierFlags(int32_t modifier);

// One hotkey's atom and registration with a window. Released on
// destruction, and before every new registration.
class TRegisteredHotKey {
public:
    TRegisteredHotKey() = default;
    ~TRegisteredHotKey() { Release(); }
    TRegisteredHotKey(const TRegisteredHotKey&) = delete;
    TRegisteredHotKey& operator=(const TRegisteredHotKey&) = delete;

    // Releases what is held, then takes the atom of `atomName` as the id
    // and registers (flags, key) with `window`. Key 0 registers nothing
    // (the id is still taken). False when the system refuses the binding.
    bool Register(HWND window, const char* atomName, UINT flags, UINT key);
    // Unregisters the hotkey and gives the atom back.
    void Release();

    ATOM Id() const { return atom_; }
    bool Registered() const { return registered_; }

private:
    HWND window_ = nullptr;
    ATOM atom_ = 0;
    bool registered_ = false;
};

// The eleven hotkeys of one window.
class THotKeyTable {
public:
    explicit THotKeyTable(HWND window) : window_(window) {}

    // Re-registers hotkey n from its binding (ignored for hotkey 11). When
    // the system refuses it (the combination is taken, by another row or
    // another program), says "Wrong HotKey" and returns false; the hotkey
    // then stays unregistered. n outside 1..11 does nothing.
    bool RegisterSlotHotKey(int32_t n, const tables::THotKeyBinding& binding);
    // Releases hotkey n, or all of them.
    void Release(int32_t n);
    void ReleaseAll();

    // The id WM_HOTKEY carries for hotkey n (0 when it has none yet), and
    // the hotkey of an id (0 when it is none of these).
    ATOM Id(int32_t n) const;
    int32_t HotKeyOfId(WPARAM id) const;
    bool Registered(int32_t n) const;

private:
    HWND window_;
    std::array<TRegisteredHotKey, kHotKeyCount> keys_;
};

// Selects the item of a key or modifier combo that names `code`; the first
// item ("None") when no item does.
void SelectKeyInCombo(TComboBox* combo, int32_t code);

}  // namespace kova::mainwindow
