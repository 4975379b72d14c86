#include "mainwindow/settings/logic/settingsmodel.h"

#include <algorithm>

#include "mainwindow/editors/autoplace/model/autoplacemodel.h"
#include "mainwindow/hotkeys/logic/keynames.h"

namespace kova::mainwindow::settings {

namespace t = kova::tables;

int32_t GlobalRowBinding(int32_t row) { return row >= 1 && row <= GlobalRowCount ? row - 1 : -1; }
int32_t SharedRowBinding(int32_t row) { return row >= 1 && row <= SharedRowCount ? 9 + row : -1; }

// The name lies in the binding's editor bytes, which begin at byte 4 of the
// record: a length byte, then up to 40 characters.
std::string BindingName(const t::THotKeyBinding& binding) {
    const std::size_t length = std::min<std::size_t>(binding.Kept4[0], BindingNameCapacity);
    return std::string(reinterpret_cast<const char*>(binding.Kept4.data() + 1), length);
}

void SetBindingName(t::THotKeyBinding& binding, std::string_view name) {
    const std::size_t length = std::min(name.size(), BindingNameCapacity);
    binding.Kept4[0] = static_cast<uint8_t>(length);
    std::copy_n(name.begin(), length, binding.Kept4.begin() + 1);
}

std::string_view DefaultSharedName(int32_t row) {
    static constexpr std::string_view names[SharedRowCount] = {
        "Auto-Fold", "Call", "Raise", "All-in", "Key1", "Key2", "Key3", "Auto-Fold2",
        "Move table to Grid (or to Stack)", "Keep table in grid"};
    return row >= 1 && row <= SharedRowCount ? names[row - 1] : std::string_view();
}

void SetModifierFromText(t::THotKeyBinding& binding, const std::string& text) { binding.Modifier = KeyCodeOf(text); }

void SetKeyFromText(t::THotKeyBinding& binding, const std::string& text) { binding.Key = KeyCodeOf(text); }

std::string SetKeyFromReleasedKey(t::THotKeyBinding& binding, int32_t virtualKey) {
    std::string name = KeyNameOf(virtualKey);
    binding.Key = name.empty() ? 0 : virtualKey;
    return name;
}

std::vector<std::string> ModifierItems() { return {"None", "Ctrl", "Shift", "Alt"}; }

std::vector<std::string> KeyItems() {
    std::vector<std::string> items{"None"};
    for (int32_t code = 1; code < 256; ++code) {
        if (code >= 58 && code <= 64) continue;  // no keys have these codes
        std::string name = KeyNameOf(code);
        if (!name.empty()) items.push_back(std::move(name));
    }
    return items;
}

// ---- the TOI dialog ---------------------------------------------------------------

TTOIFields TOIFieldsOf(const t::TTOIConfig& toi) {
    TTOIFields f;
    f.StackSlot = std::to_string(toi.StackSlot);
    f.NewTablesItem = toi.NewTablesTo != 0 ? 1 : 0;
    // One of the two choices is always taken: a config that never had
    // either (a new one) shows the first.
    f.AfterEnteringPot = toi.AfterEnteringPot != 0;
    f.WhenAutoActivated = !f.AfterEnteringPot;
    f.KeepInGrid = std::to_string(toi.KeepInGridCount);
    f.GridBB = std::to_string(toi.GridMinBB);
    f.SendToBottom = toi.SendToBottomAfterFold != 0;
    return f;
}

void StoreTOIFields(const TTOIFields& f, t::TTOIConfig& toi) {
    toi.StackSlot = autoplace::ParseNumber(f.StackSlot, 0);
    toi.NewTablesTo = f.NewTablesItem;
    toi.WhenAutoActivated = f.WhenAutoActivated ? 1 : 0;
    toi.AfterEnteringPot = f.AfterEnteringPot ? 1 : 0;
    toi.SendToBottomAfterFold = f.SendToBottom ? 1 : 0;
    toi.KeepInGridCount = autoplace::ParseNumber(f.KeepInGrid, 0);
    toi.GridMinBB = autoplace::ParseNumber(f.GridBB, 0);
}

// ---- the window-title dialog ------------------------------------------------------

t::TTitleSpec ComposeTitle(const TTitleFields& f) {
    t::TTitleSpec spec;
    spec.Operand1 = f.Phrases[0];
    spec.Operand2 = f.Phrases[1];
    spec.Operand3 = f.Phrases[2];
    spec.Operator1 = f.Operators[0];
    spec.Operator2 = f.Operators[1];
    std::string text = f.Phrases[0];
    if (!f.Phrases[1].empty()) text += f.Operators[0] + f.Phrases[1];
    if (!f.Phrases[2].empty()) text += f.Operators[1] + f.Phrases[2];
    spec.Text = text;
    return spec;
}

}  // namespace kova::mainwindow::settings
