#include "mainwindow/hotkeys/logic/hookinput.h"

#include <algorithm>

#include "tables/logic/tablequeue.h"

namespace kova::mainwindow {

namespace t = kova::tables;

namespace {

// The shared bindings as the user options keep them: shared binding s
// (1..10) is binding 9 + s; bindings 0 and 1 are the two switching keys.
constexpr size_t kWheelUpBinding = 0;
constexpr size_t kWheelDownBinding = 1;
constexpr int32_t kSharedBindings = 10;
constexpr size_t SharedBinding(int32_t s) { return static_cast<size_t>(9 + s); }
constexpr int32_t kToggleGridShared = 9;
constexpr int32_t kKeepInGridShared = 10;

t::TTableState* TableAt(const t::TTableList& tables, int32_t i) {
    return i >= 0 && static_cast<size_t>(i) < tables.size() ? tables[static_cast<size_t>(i)] : nullptr;
}

int32_t IndexOfWindow(const t::TTableList& tables, uintptr_t wnd) {
    if (wnd == 0) return -1;
    for (size_t i = 0; i < tables.size(); ++i)
        if (tables[i] && tables[i]->Wnd == wnd) return static_cast<int32_t>(i);
    return -1;
}

}  // namespace

bool TakeKeyboardInput(THookInputState& s, uint32_t virtualKey, bool released) {
    const int32_t vk = static_cast<int32_t>(virtualKey);
    if (!released) {
        switch (vk) {
            case 16: case 160: case 161: s.Current.Modifier = 16; break;
            case 17: case 162: case 163: s.Current.Modifier = 17; break;
            case 18: case 164: case 165: s.Current.Modifier = 18; break;
            default: s.Current.Key = vk; break;
        }
    } else if ((vk >= 16 && vk <= 18) || vk == 91 || vk == 92 || (vk >= 160 && vk <= 165)) {
        s.Current.Modifier = 0;
    } else {
        s.Current.Key = 0;
    }
    // The release of the key that matched last (its key is 0 there), or a
    // modifier held down and repeating: nothing new.
    return !(s.Current.Modifier == s.Last.Modifier && s.Current.Key == s.Last.Key);
}

bool MouseTargetIsCursor(uint32_t message) {
    return message == MsgXButtonUp || message == MsgNCXButtonUp || message == MsgMouseWheel;
}

int32_t TakeMouseInput(THookInputState& s, const t::TTableList& tables, uint32_t message, intptr_t lParam) {
    t::TTableState* target = TableAt(tables, s.Current.Target);

    // A table dragged by hand: pressed, moved while held, let go. Only the
    // release queues its placement, so a press and release without a move
    // (a click on the table) leaves it where it is.
    switch (message) {
        case MsgNCLButtonUp:
        case MsgLButtonUp:
            if (s.DraggedTable >= 0) {
                // Tables that closed during the drag moved the dragged one
                // up the list: it is found by its window.
                const int32_t index = IndexOfWindow(tables, s.DraggedWnd);
                if (index >= 0) {
                    t::TTableState* dragged = tables[static_cast<size_t>(index)];
                    dragged->ButtonHeld = 0;
                    dragged->Dragging = 0;
                    t::QueueTableAction(index, 0, t::ActionPlaceByHand);
                }
                s.DraggedTable = -1;
                s.DraggedWnd = 0;
            } else if (target) {
                target->ButtonHeld = 0;
            }
            break;
        case MsgNCMouseMove:
        case MsgMouseMove:
            if (target && target->ButtonHeld) {
                target->Dragging = 1;
                s.DraggedTable = s.Current.Target;
                s.DraggedWnd = target->Wnd;
            }
            break;
        default:
            break;
    }

    const uint16_t word = static_cast<uint16_t>(static_cast<uintptr_t>(lParam) & 0xFFFF);
    switch (message) {
        case MsgRButtonDown:
        case MsgNCRButtonDown:
            return KeyRButtonDown;
        case MsgRButtonUp:
        case MsgNCRButtonUp:
            return KeyRButtonUp;
        case MsgMButtonUp:
            return KeyMButton;
        case MsgMouseWheel: {
            // Away from the user (a positive turn) is "WheelUp".
            const int16_t delta = static_cast<int16_t>(word);
            return delta > 0 ? KeyWheelUp : delta < 0 ? KeyWheelDown : 0;
        }
        case MsgXButtonUp:
        case MsgNCXButtonUp:
            return word == 1 ? KeyXButton1 : word == 2 ? KeyXButton2 : 0;
        case MsgLButtonDown:
        case MsgNCLButtonDown:
            if (target) {
                target->ButtonHeld = 1;
                s.LastPressedWnd = target->Wnd;
            }
            return 0;
        default:
            return 0;
    }
}

bool BindingMatches(const t::THotKeyBinding& binding, const THookInput& input) {
    return binding.Key >= 1 && binding.Key == input.Key && binding.Modifier == input.Modifier;
}

void MatchInputToHotKeys(THookInputState& s, t::TTableList& tables, const TMatchWorld& world) {
    if (s.Matching) return;
    if (world.SendToActive) s.Current.Target = world.ForegroundTable;
    t::TTableState* table = TableAt(tables, s.Current.Target);
    if (!table || !world.Options) {
        // An input for no table is spent all the same: a wheel turned
        // beside the tables must not fire a binding when Shift is pressed
        // next (the modifier's press would be matched with the old key).
        s.Current.Key = 0;
        return;
    }
    s.Matching = true;
    const t::TUserOptions& o = *world.Options;
    const int32_t target = s.Current.Target;

    bool macro = false;
    if (world.Rooms && table->RoomIndex >= 0 && static_cast<size_t>(table->RoomIndex) < world.Rooms->size()) {
        const t::TPokerRoom& room = (*world.Rooms)[static_cast<size_t>(table->RoomIndex)];
        const int32_t count = std::clamp<int32_t>(room.HotKeyCount, 0, static_cast<int32_t>(room.HotKeys.size()));
        for (int32_t k = 1; k <= count; ++k) {
            const t::THotKeyBinding& own = room.HotKeys[static_cast<size_t>(k - 1)].Binding;
            // A room hotkey that names a shared binding fires on that
            // binding's keys, not on its own.
            const bool shared = own.SharedNumber >= 1 && own.SharedNumber <= kSharedBindings;
            const t::THotKeyBinding& b = shared ? o.Bindings[SharedBinding(own.SharedNumber)] : own;
            if (BindingMatches(b, s.Current)) {
                t::QueueTableAction(target, k, t::ActionHotKeyMacro);
                macro = true;
                break;
            }
        }
        if (BindingMatches(o.Bindings[SharedBinding(kToggleGridShared)], s.Current)) table->InGrid = table->InGrid ? 0 : 1;
        if (BindingMatches(o.Bindings[SharedBinding(kKeepInGridShared)], s.Current)) {
            const uint8_t keep = table->KeptInGrid ? 0 : 1;
            table->KeptInGrid = keep;
            table->InGrid = keep;
        }
    }
    if (!macro) {
        if (BindingMatches(o.Bindings[kWheelUpBinding], s.Current))
            t::QueueTableAction(target, 0, t::ActionWheelUp);
        else if (BindingMatches(o.Bindings[kWheelDownBinding], s.Current))
            t::QueueTableAction(target, 0, t::ActionWheelDown);
    }

    // The key is consumed: its auto-repeat matches again, its release does not.
    s.Current.Key = 0;
    s.Last = s.Current;
    s.Matching = false;
}

std::vector<int32_t> SwitchOrder(int32_t i, const t::TTableList& tables, bool up) {
    std::vector<int32_t> order;
    const int32_t n = static_cast<int32_t>(tables.size());
    if (i < 0 || i >= n) return order;
    for (int32_t step = 1; step <= n; ++step) {
        const int32_t j = up ? (i + step) % n : ((i - step) % n + n) % n;
        const t::TTableState* table = tables[static_cast<size_t>(j)];
        if (table && table->GroupIndex >= 0) order.push_back(j);
    }
    return order;
}

int32_t ChooseSwitchTarget(int32_t i, const t::TTableList& tables, bool up, bool sendToActive,
                           const std::function<bool(int32_t)>& holdsCursor) {
    const std::vector<int32_t> order = SwitchOrder(i, tables, up);
    if (order.empty()) return -1;
    if (sendToActive) return order.front();
    for (int32_t j : order)
        if (holdsCursor && holdsCursor(j)) return j;
    return -1;
}

}  // namespace kova::mainwindow
