#include "mainwindow/hotkeys/hookinput.h"

#include "hooklib/hooklib.h"
#include "mainwindow/dialogs/toolforms.h"
#include "mainwindow/mainform/main.h"
#include "tables/engine/autoplace.h"
#include "tables/engine/pokertable.h"
#include "tables/logic/tablequeue.h"

namespace kova::mainwindow {

namespace t = kova::tables;

THookInputState HookInputState;

namespace {

int32_t IndexOfTableWindow(HWND window) {
    if (!window) return -1;
    const std::vector<uintptr_t> handles = t::TableHandles();
    for (size_t i = 0; i < handles.size(); ++i)
        if (handles[i] == reinterpret_cast<uintptr_t>(window)) return static_cast<int32_t>(i);
    return -1;
}

// The tables as the matching sees them; their flags are the tables' own.
t::TTableList TableList() { return t::TableStates(); }

}  // namespace

HWND RootParentWindow(HWND window) {
    for (HWND parent = window ? GetParent(window) : nullptr; parent; parent = GetParent(window)) window = parent;
    return window;
}

int32_t TableIndexUnderCursor() {
    POINT cursor{};
    if (!GetCursorPos(&cursor)) return -1;
    return IndexOfTableWindow(RootParentWindow(WindowFromPoint(cursor)));
}

int32_t TableIndexOfForeground() { return IndexOfTableWindow(GetForegroundWindow()); }

int32_t TableIndexOfWindow(HWND window) {
    const HWND root = RootParentWindow(window);
    const int32_t index = IndexOfTableWindow(root);
    // The panel is a top-level window of its own that the table owns:
    // following owners from it leads to the table, but it is not the table.
    if (index >= 0 && GetAncestor(window, GA_ROOT) != root) return -1;
    return index;
}

// ---- the main form's handlers ---------------------------------------------------------

void TKOVAForm1::HookKeyboardMessage(TMessage& m) {
    m.Result = 0;
    if (!hotkeysEnabled_) return;
    const bool released = (static_cast<uintptr_t>(m.LParam) & static_cast<uintptr_t>(hook::kKeyReleasedBit)) != 0;
    if (!TakeKeyboardInput(HookInputState, static_cast<uint32_t>(m.WParam), released)) return;
    HookInputState.Current.Target = TableIndexUnderCursor();
    MatchInputToHotKeys();
}

void TKOVAForm1::HookMouseMessage(TMessage& m) {
    m.Result = 0;
    // The scan is playing a macro, a match runs, or the program clicks
    // itself: none of that is the user's input.
    if (t::QueueBusy || HookInputState.Matching || t::SyntheticClick) return;
    const uint32_t message = static_cast<uint32_t>(m.WParam);

    if (message == MsgLButtonDown || message == MsgNCLButtonDown) {
        // The press ends the grabber's picking, else the capture tool's. A
        // press on the picking form itself is its own button ("Click to
        // Cancel") or one of its edits, not the window to pick.
        POINT cursor{};
        GetCursorPos(&cursor);
        const HWND root = GetAncestor(WindowFromPoint(cursor), GA_ROOT);
        const auto onItself = [root](TCustomForm* f) { return f->HandleAllocated() && root == f->Handle(); };
        if (TGrabberForm && TGrabberForm->Picking) {
            if (!onItself(TGrabberForm)) TGrabberForm->EndGrabberPick();
        } else if (WindowCapture && WindowCapture->Picking) {
            if (!onItself(WindowCapture)) WindowCapture->EndWindowPick();
        }
    }

    HookInputState.Current.Key = 0;
    HookInputState.Current.Target = MouseTargetIsCursor(message)
                                        ? TableIndexUnderCursor()
                                        : TableIndexOfWindow(reinterpret_cast<HWND>(m.LParam));
    t::TTableList tables = TableList();
    HookInputState.Current.Key = TakeMouseInput(HookInputState, tables, message, m.LParam);
    if (hotkeysEnabled_ && HookInputState.Current.Key != 0) MatchInputToHotKeys();
}

void TKOVAForm1::MatchInputToHotKeys() {
    TMatchWorld world;
    world.Rooms = &t::PokerRooms;
    world.Options = &t::UserOptions;
    world.SendToActive = RadioBtnActiveTable && RadioBtnActiveTable->Checked();
    world.ForegroundTable = world.SendToActive ? TableIndexOfForeground() : -1;
    t::TTableList tables = TableList();
    kova::mainwindow::MatchInputToHotKeys(HookInputState, tables, world);
}

namespace {

void SwitchTable(TKOVAForm1& form, int32_t index, bool up) {
    POINT cursor{};
    GetCursorPos(&cursor);
    const std::vector<uintptr_t> handles = t::TableHandles();
    const t::TTableList tables = TableList();
    const bool sendToActive = form.RadioBtnActiveTable && form.RadioBtnActiveTable->Checked();
    const int32_t next = ChooseSwitchTarget(index, tables, up, sendToActive, [&](int32_t j) {
        RECT r;
        return GetWindowRect(reinterpret_cast<HWND>(handles[static_cast<size_t>(j)]), &r) && PtInRect(&r, cursor);
    });
    if (next < 0) return;
    t::TPokerTable* table = t::Tables[static_cast<size_t>(next)].get();
    table->ActivatedAt = t::EngineNow();
    BringWindowToTop(table->Window());
    SetForegroundWindow(table->Window());
    HookInputState.Current.Target = next;
}

}  // namespace

void TKOVAForm1::MouseWheelUP(int32_t index) { SwitchTable(*this, index, true); }

void TKOVAForm1::MouseWheelDown(int32_t index) { SwitchTable(*this, index, false); }

}  // namespace kova::mainwindow
