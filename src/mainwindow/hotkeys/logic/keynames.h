// Names of the keys and mouse inputs that hotkeys and bindings use, as the
// settings page shows them in its combos and as "user.ini" keeps them
// (by code). Codes are virtual-key codes, plus pseudo codes for mouse input
// that have no virtual key of their own: 10 right button pressed, 11 right
// button released, 14 wheel towards the user, 15 wheel away from the user.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kova::mainwindow {

struct TKeyName {
    int32_t Code;
    const char* Name;
};

// The table in its search order: a name or code found twice resolves to
// the first entry.
std::span<const TKeyName> KeyNames();

// The name of `code`; for codes 48..90 without an entry of their own the
// one character with that code; else empty.
std::string KeyNameOf(int32_t code);

// The code of `name` (names compare exactly, case included). The left and
// right variants of Shift, Ctrl and Alt give the plain modifier, and
// "RButton" gives the right button's release (11): a binding on the right
// button fires when it is let go. One character from "0" to "Z" gives its
// own code. Anything else, "None" and the empty name included, gives 0.
int32_t KeyCodeOf(const std::string& name);

}  // namespace kova::mainwindow
