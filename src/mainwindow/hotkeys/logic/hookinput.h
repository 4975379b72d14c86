// What the keyboard and mouse events of the hook library mean, without a
// window: the modifier and key held, the table the input is for, the
// matching against the room hotkeys and the shared bindings, dragging a
// table by hand, and the order in which the two table-switching bindings
// visit the tables. The main window looks up windows and tables and hands
// the results in (hookinput.h beside this folder).
//
// What a match does to a table is queued for the next scan (tablequeue.h):
// a room hotkey's click macro, a manual placement after a drag, a wheel
// step. Only the two TOI bindings act at once (they only flip flags).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "tables/logic/slots.h"
#include "tables/model/variables.h"

namespace kova::mainwindow {

// The mouse messages the hook reports (their numbers, as the window system
// gives them; the non-client ones are reported by some hooks too).
enum : uint32_t {
    MsgNCMouseMove = 160,
    MsgNCLButtonDown = 161,
    MsgNCLButtonUp = 162,
    MsgNCRButtonDown = 164,
    MsgNCRButtonUp = 165,
    MsgNCXButtonUp = 172,
    MsgMouseMove = 512,
    MsgLButtonDown = 513,
    MsgLButtonUp = 514,
    MsgRButtonDown = 516,
    MsgRButtonUp = 517,
    MsgMButtonUp = 520,
    MsgMouseWheel = 522,
    MsgXButtonUp = 524,
};

// Pseudo key codes of mouse input (keynames.h names them).
enum : int32_t {
    KeyLButton = 1,
    KeyMButton = 4,
    KeyXButton1 = 5,
    KeyXButton2 = 6,
    KeyRButtonDown = 10,
    KeyRButtonUp = 11,
    KeyWheelDown = 14,
    KeyWheelUp = 15,
};

// The input as matched: the modifier held (0, 16 Shift, 17 Ctrl, 18 Alt),
// the key (a virtual key or a mouse code; 0 none) and the table it is for
// (an index into the table list; -1 none).
struct THookInput {
    int32_t Modifier = 0;
    int32_t Key = 0;
    int32_t Target = -1;
    bool operator==(const THookInput&) const = default;
};

struct THookInputState {
    THookInput Current;
    THookInput Last;             // a copy of Current after each match (its key 0)
    bool Matching = false;       // a match runs: a nested one does nothing
    int32_t DraggedTable = -1;   // the table dragged by hand, -1 none
    uintptr_t DraggedWnd = 0;    // its window: the list may change during a drag
    uintptr_t LastPressedWnd = 0;  // the table window last pressed with the left button
};

// A key pressed or released: the modifier or the key changes. True when
// the input is new and should be matched (with the table under the mouse as
// target); false when it equals the last matched input (the release of the
// key that matched, a modifier's auto-repeat).
bool TakeKeyboardInput(THookInputState& s, uint32_t virtualKey, bool released);

// The mouse messages whose target is the table under the cursor (the wheel
// and the X buttons carry a number in lParam, not a window); the others
// name the window under the mouse.
bool MouseTargetIsCursor(uint32_t message);

// A mouse message with Current.Target already set: the drag of a table by
// hand (press, move, release queue one manual placement) and the key code
// the message stands for (0 none; then nothing is to be matched).
int32_t TakeMouseInput(THookInputState& s, const tables::TTableList& tables, uint32_t message, intptr_t lParam);

// The binding has a key, the input's key is that key, and the modifiers
// are equal.
bool BindingMatches(const tables::THotKeyBinding& binding, const THookInput& input);

// What a match reads besides the tables.
struct TMatchWorld {
    const std::vector<tables::TPokerRoom>* Rooms = nullptr;
    const tables::TUserOptions* Options = nullptr;
    bool SendToActive = false;      // "Send to active table" is checked
    int32_t ForegroundTable = -1;   // the table that is the foreground window
};

// Matches Current against the target table's room hotkeys (shared bindings
// where a room hotkey names one), the TOI bindings and the two switching
// bindings; queues what matched; then Last := Current and the key goes.
// With no target table nothing matches, and the key goes too.
void MatchInputToHotKeys(THookInputState& s, tables::TTableList& tables, const TMatchWorld& world);

// Table switching from table i: the tables visited in cyclic order after i
// (upwards for wheel up, downwards for wheel down), i itself last, skipping
// tables of no group. Empty when i names no table.
std::vector<int32_t> SwitchOrder(int32_t i, const tables::TTableList& tables, bool up);

// The table to activate: the first visited with "Send to active table",
// else the first whose window holds the cursor; -1 for none.
int32_t ChooseSwitchTarget(int32_t i, const tables::TTableList& tables, bool up, bool sendToActive,
                           const std::function<bool(int32_t)>& holdsCursor);

}  // namespace kova::mainwindow
