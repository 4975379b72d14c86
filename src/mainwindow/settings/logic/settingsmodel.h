// The settings the user edits outside the AutoPlace page, without windows:
// the hotkey rows of the Common Settings page and of the TOI dialog (which
// binding a row edits, how a combo's text or a released key becomes a
// code), the names of the shared bindings, which global hotkeys act while
// hotkeys are switched off, and the fields of the TOI and window-title
// dialogs as typed.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tables/model/variables.h"

namespace kova::mainwindow::settings {

// Global hotkey rows 1..10 edit bindings 0..9; shared rows 1..10 edit
// bindings 10..19 (rows 9 and 10 belong to the TOI dialog).
constexpr int32_t GlobalRowCount = 10;
constexpr int32_t SharedRowCount = 10;
constexpr std::size_t BindingNameCapacity = 40;

// The binding a row edits; -1 for a row that does not exist.
int32_t GlobalRowBinding(int32_t row);
int32_t SharedRowBinding(int32_t row);

// Global hotkeys 3..11 are registered with the system; 1 and 2 are the
// table-switching steps matched from the hook's input.
constexpr bool IsSystemHotKey(int32_t n) { return n >= 3 && n <= 11; }
// The hotkeys that act while hotkeys are switched off: the switch itself,
// the manual shift and the capture key.
constexpr bool ActsWhileDisabled(int32_t n) { return n == 7 || n == 8 || n == 11; }

// A shared binding's action name (a length-byte text of 40 characters in
// the binding's editor bytes).
std::string BindingName(const tables::THotKeyBinding& binding);
void SetBindingName(tables::THotKeyBinding& binding, std::string_view name);  // cut to 40
// The names shared rows 1..10 start with.
std::string_view DefaultSharedName(int32_t row);

// A modifier combo's text ("None", "Ctrl", "Shift", "Alt") as the binding's
// modifier code; a key combo's text as its key code (0 for "None", for an
// empty text and for anything that names no key).
void SetModifierFromText(tables::THotKeyBinding& binding, const std::string& text);
void SetKeyFromText(tables::THotKeyBinding& binding, const std::string& text);
// A key released in a key combo: the binding takes that key when it has a
// name, else 0; returns the name the combo is to show (empty for none).
std::string SetKeyFromReleasedKey(tables::THotKeyBinding& binding, int32_t virtualKey);

// The items of the modifier combos, and of the key combos: "None", then
// every key that has a name, by code (the digits and letters among them;
// the codes between them, 58 to 64, are no keys).
std::vector<std::string> ModifierItems();
std::vector<std::string> KeyItems();

// ---- the TOI dialog ---------------------------------------------------------------

struct TTOIFields {
    std::string StackSlot = "0";
    int32_t NewTablesItem = 0;  // 0 "Stack", 1 "Grid"
    bool WhenAutoActivated = true;
    bool AfterEnteringPot = false;
    std::string KeepInGrid = "0";
    std::string GridBB = "0";
    bool SendToBottom = false;
    bool operator==(const TTOIFields&) const = default;
};

TTOIFields TOIFieldsOf(const tables::TTOIConfig& toi);
// Numbers that are not numbers are stored as 0; the byte the dialog does
// not show stays as it is.
void StoreTOIFields(const TTOIFields& fields, tables::TTOIConfig& toi);

// ---- the window-title dialog ------------------------------------------------------

inline constexpr const char* TitleOperators[3] = {" and ", " or ", " and not "};

struct TTitleFields {
    std::array<std::string, 3> Phrases;
    std::array<std::string, 2> Operators{TitleOperators[0], TitleOperators[0]};
};

// The expression the dialog's fields make: the operands and operators as
// typed (cut to their fields), and the text phrase 1, then operator 1 and
// phrase 2 when phrase 2 is not empty, then operator 2 and phrase 3 when
// phrase 3 is not empty (cut to 100 characters).
tables::TTitleSpec ComposeTitle(const TTitleFields& fields);

}  // namespace kova::mainwindow::settings
