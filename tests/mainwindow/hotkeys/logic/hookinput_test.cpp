// The meaning of hook-library input without windows: held modifiers and
// keys, matching against room hotkeys and shared bindings, dragging a table
// by hand, and the order of table switching.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "mainwindow/hotkeys/logic/hookinput.h"
#include "tables/logic/tablequeue.h"
#include "tables/model/variables.h"

namespace kova::mainwindow {
namespace {

namespace t = kova::tables;

// Virtual-key codes (window-free code has no windows.h).
constexpr uint32_t VK_SHIFT = 16, VK_LCONTROL = 162, VK_F2 = 113, VK_F3 = 114, VK_F5 = 116, VK_F6 = 117,
                   VK_F9 = 120, VK_F10 = 121;

t::THotKeyBinding Bind(int32_t modifier, int32_t key, int32_t shared = 0) {
    t::THotKeyBinding b;
    b.Modifier = modifier;
    b.Key = key;
    b.SharedNumber = shared;
    return b;
}

std::vector<t::TTableAction> Queued() {
    std::vector<t::TTableAction> out;
    for (int32_t i = 0; i < t::ActionQueue.Count; ++i) out.push_back(t::ActionQueue.Entries[static_cast<size_t>(i)]);
    return out;
}

std::string Text(const std::vector<t::TTableAction>& actions) {
    std::string s;
    for (const t::TTableAction& a : actions)
        s += "(" + std::to_string(a.TableIndex) + "," + std::to_string(a.Argument) + "," + std::to_string(a.Kind) + ")";
    return s;
}

// Three tables of room 0 in group 0, stacked or not (the test decides).
class HookInput : public ::testing::Test {
protected:
    void SetUp() override {
        t::ResetEngineState();
        rooms_.assign(1, t::TPokerRoom{});
        for (size_t i = 0; i < tables_.size(); ++i) {
            tables_[i].Wnd = 0x100 + i;
            tables_[i].GroupIndex = 0;
            tables_[i].RoomIndex = 0;
            list_.push_back(&tables_[i]);
        }
    }
    void TearDown() override { t::ResetEngineState(); }

    void AddRoomHotKey(const t::THotKeyBinding& b) {
        t::TPokerRoom& room = rooms_[0];
        room.HotKeys[static_cast<size_t>(room.HotKeyCount++)].Binding = b;
    }

    TMatchWorld World() {
        TMatchWorld world;
        world.Rooms = &rooms_;
        world.Options = &options_;
        world.SendToActive = sendToActive_;
        world.ForegroundTable = foreground_;
        return world;
    }

    // A key event as the main window handles it: over table `over`.
    void Key(uint32_t vk, bool released, int32_t over = 0) {
        if (!TakeKeyboardInput(state_, vk, released)) return;
        state_.Current.Target = over;
        MatchInputToHotKeys(state_, list_, World());
    }

    // A mouse event over table `over` (-1: over none).
    void Mouse(uint32_t message, int32_t over, intptr_t lParam = 0) {
        state_.Current.Key = 0;
        state_.Current.Target = over;
        const int32_t key = TakeMouseInput(state_, list_, message, lParam);
        state_.Current.Key = key;
        if (key != 0) MatchInputToHotKeys(state_, list_, World());
    }

    std::vector<t::TPokerRoom> rooms_;
    t::TUserOptions options_;
    std::array<t::TTableState, 3> tables_{};
    t::TTableList list_;
    THookInputState state_;
    bool sendToActive_ = false;
    int32_t foreground_ = -1;
};

TEST_F(HookInput, ASharedCtrlBindingMatchesOnlyWithCtrlHeldAndAtEveryAutoRepeat) {
    options_.Bindings[9 + 3] = Bind(17, 'C');  // shared binding 3: Ctrl+C
    AddRoomHotKey(Bind(0, 'D'));               // room hotkey 1: its own key D
    AddRoomHotKey(Bind(0, 'X', 3));            // room hotkey 2: shared binding 3, not X

    struct Step {
        uint32_t vk;
        bool released;
        const char* queued;  // what the queue holds afterwards
    };
    const Step steps[] = {
        {'C', false, ""},                    // C alone: not the binding
        {'C', true, ""},
        {VK_LCONTROL, false, ""},            // either Ctrl is Ctrl
        {VK_LCONTROL, false, ""},            // the modifier's auto-repeat: nothing new
        {'C', false, "(0,2,0)"},
        {'C', false, "(0,2,0)(0,2,0)"},      // auto-repeat of the held key matches again
        {'C', true, "(0,2,0)(0,2,0)"},       // releasing the key that matched does nothing
        {'X', false, "(0,2,0)(0,2,0)"},      // the room hotkey's own key is not used
        {'X', true, "(0,2,0)(0,2,0)"},
        {VK_LCONTROL, true, "(0,2,0)(0,2,0)"},
        {'D', false, "(0,2,0)(0,2,0)(0,1,0)"},
        {'D', true, "(0,2,0)(0,2,0)(0,1,0)"},
        {VK_SHIFT, false, "(0,2,0)(0,2,0)(0,1,0)"},
        {'D', false, "(0,2,0)(0,2,0)(0,1,0)"},  // Shift+D is not D
    };
    int n = 0;
    for (const Step& s : steps) {
        Key(s.vk, s.released);
        EXPECT_EQ(Text(Queued()), s.queued) << "step " << n;
        ++n;
    }
}

TEST_F(HookInput, TheFirstMatchingRoomHotKeyIsQueuedAndTheSwitchKeysOnlyWithoutOne) {
    options_.Bindings[0] = Bind(0, VK_F2);   // scroll to next window
    options_.Bindings[1] = Bind(0, VK_F3);   // scroll to previous window
    AddRoomHotKey(Bind(0, VK_F5));
    AddRoomHotKey(Bind(0, VK_F2));           // also the switching key: the macro wins
    AddRoomHotKey(Bind(0, VK_F2));           // the same key again: never reached

    Key(VK_F2, false, 1);
    Key(VK_F2, true, 1);
    Key(VK_F3, false, 2);
    Key(VK_F3, true, 2);
    EXPECT_EQ(Text(Queued()), "(1,2,0)(2,0,3)");

    // A room index that names no room: only the switching keys.
    tables_[2].RoomIndex = 5;
    Key(VK_F2, false, 2);
    Key(VK_F2, true, 2);
    EXPECT_EQ(Text(Queued()), "(1,2,0)(2,0,3)(2,0,2)");
}

TEST_F(HookInput, KeysOverNoTableAreNotMatchedAndTheForegroundTableWithSendToActive) {
    AddRoomHotKey(Bind(0, VK_F6));
    Key(VK_F6, false, -1);
    Key(VK_F6, true, -1);
    Key(VK_F6, false, 3);  // past the last table
    Key(VK_F6, true, 3);
    EXPECT_TRUE(Queued().empty());

    // "Send to active table": the key acts on the foreground table, not on
    // the table under the mouse; with no table in the foreground, on none.
    sendToActive_ = true;
    foreground_ = 2;
    Key(VK_F6, false, 0);
    Key(VK_F6, true, 0);
    foreground_ = -1;
    Key(VK_F6, false, 0);
    Key(VK_F6, true, 0);
    EXPECT_EQ(Text(Queued()), "(2,1,0)");
}

TEST_F(HookInput, AMatchInsideAMatchDoesNothing) {
    AddRoomHotKey(Bind(0, VK_F6));
    state_.Matching = true;
    Key(VK_F6, false);
    EXPECT_TRUE(Queued().empty());
    EXPECT_EQ(state_.Current.Key, VK_F6);  // nothing consumed it
}

TEST_F(HookInput, TheTwoTOIBindingsFlipTheGridFlags) {
    options_.Bindings[9 + 9] = Bind(0, VK_F9);     // move to grid or stack
    options_.Bindings[9 + 10] = Bind(0, VK_F10);   // keep in grid
    struct Step {
        uint32_t vk;
        uint8_t inGrid, kept;
    };
    const Step steps[] = {
        {VK_F9, 1, 0}, {VK_F9, 0, 0}, {VK_F10, 1, 1}, {VK_F9, 0, 1}, {VK_F10, 0, 0}, {VK_F10, 1, 1}, {VK_F10, 0, 0},
    };
    int n = 0;
    for (const Step& s : steps) {
        Key(s.vk, false, 1);
        Key(s.vk, true, 1);
        EXPECT_EQ(tables_[1].InGrid, s.inGrid) << "step " << n;
        EXPECT_EQ(tables_[1].KeptInGrid, s.kept) << "step " << n;
        ++n;
    }
    EXPECT_TRUE(Queued().empty());
    EXPECT_EQ(tables_[0].InGrid + tables_[2].InGrid, 0);
}

TEST_F(HookInput, MouseMessagesGiveTheirKeyCodes) {
    struct Case {
        uint32_t message;
        intptr_t lParam;
        int32_t key;
    };
    const Case cases[] = {
        {MsgRButtonDown, 0, KeyRButtonDown}, {MsgNCRButtonDown, 0, KeyRButtonDown},
        {MsgRButtonUp, 0, KeyRButtonUp},     {MsgNCRButtonUp, 0, KeyRButtonUp},
        {MsgMButtonUp, 0, KeyMButton},
        {MsgMouseWheel, 120, KeyWheelUp},    // away from the user
        {MsgMouseWheel, 0xFF88, KeyWheelDown},  // -120 in the low word
        {MsgMouseWheel, 0x10000 | 0xFF88, KeyWheelDown},  // only the low word counts
        {MsgMouseWheel, 0, 0},
        {MsgXButtonUp, 1, KeyXButton1},      {MsgXButtonUp, 2, KeyXButton2},
        {MsgNCXButtonUp, 2, KeyXButton2},    {MsgXButtonUp, 3, 0},
        {MsgLButtonDown, 0, 0},              {MsgLButtonUp, 0, 0},
        {MsgMouseMove, 0, 0},                {519 /* middle press */, 0, 0},
    };
    for (const Case& c : cases) {
        THookInputState s;
        s.Current.Target = -1;
        EXPECT_EQ(TakeMouseInput(s, list_, c.message, c.lParam), c.key) << c.message << " " << c.lParam;
    }
    EXPECT_TRUE(MouseTargetIsCursor(MsgMouseWheel));
    EXPECT_TRUE(MouseTargetIsCursor(MsgXButtonUp));
    EXPECT_TRUE(MouseTargetIsCursor(MsgNCXButtonUp));
    EXPECT_FALSE(MouseTargetIsCursor(MsgRButtonUp));
}

TEST_F(HookInput, MouseBindingsMatchWithTheModifierHeldOnTheKeyboard) {
    AddRoomHotKey(Bind(0, KeyRButtonUp));
    AddRoomHotKey(Bind(16, KeyWheelUp));
    Mouse(MsgRButtonDown, 0);
    Mouse(MsgRButtonUp, 0);
    // The wheel's target is the cursor's table: here none. The turn is spent:
    // pressing Shift next does not match Shift+WheelUp with it.
    Mouse(MsgMouseWheel, -1, 120);
    Key(VK_SHIFT, false, 1);
    Mouse(MsgMouseWheel, 1, 120);
    Key(VK_SHIFT, true, 1);
    EXPECT_EQ(Text(Queued()), "(0,1,0)(1,2,0)");
}

TEST_F(HookInput, ADragQueuesOnePlacementAndAClickNone) {
    struct Event {
        uint32_t message;
        int32_t over;
    };
    struct Case {
        const char* name;
        std::vector<Event> events;
        const char* queued;
    };
    const Case cases[] = {
        {"press, move, release", {{MsgLButtonDown, 1}, {MsgMouseMove, 1}, {MsgLButtonUp, 1}}, "(1,0,1)"},
        {"many moves still one placement",
         {{MsgLButtonDown, 1}, {MsgMouseMove, 1}, {MsgMouseMove, 1}, {MsgMouseMove, 1}, {MsgLButtonUp, 1}},
         "(1,0,1)"},
        {"released over another window", {{MsgNCLButtonDown, 2}, {MsgNCMouseMove, 2}, {MsgLButtonUp, -1}}, "(2,0,1)"},
        {"press and release", {{MsgLButtonDown, 1}, {MsgLButtonUp, 1}}, ""},
        {"move without press", {{MsgMouseMove, 1}, {MsgLButtonUp, 1}}, ""},
        {"pressed on a table, moved over another", {{MsgLButtonDown, 0}, {MsgMouseMove, 1}, {MsgLButtonUp, 1}}, ""},
        {"press outside, move over a table", {{MsgLButtonDown, -1}, {MsgMouseMove, 0}, {MsgLButtonUp, 0}}, ""},
    };
    for (const Case& c : cases) {
        t::ResetEngineState();
        state_ = THookInputState{};
        for (t::TTableState& table : tables_) table.ButtonHeld = table.Dragging = 0;
        for (const Event& e : c.events) Mouse(e.message, e.over);
        EXPECT_EQ(Text(Queued()), c.queued) << c.name;
        EXPECT_EQ(state_.DraggedTable, -1) << c.name;
        for (const t::TTableState& table : tables_) EXPECT_EQ(table.Dragging, 0) << c.name;
    }

    // While the table is dragged its placement waits; the table pressed
    // last is remembered.
    t::ResetEngineState();
    state_ = THookInputState{};
    tables_[0].ButtonHeld = 0;
    Mouse(MsgLButtonDown, 2);
    EXPECT_EQ(state_.LastPressedWnd, tables_[2].Wnd);
    EXPECT_EQ(tables_[2].ButtonHeld, 1);
    Mouse(MsgMouseMove, 2);
    EXPECT_EQ(tables_[2].Dragging, 1);
    EXPECT_EQ(state_.DraggedTable, 2);
    EXPECT_TRUE(Queued().empty());
    Mouse(MsgLButtonUp, 2);
    EXPECT_EQ(tables_[2].ButtonHeld, 0);
    EXPECT_EQ(Text(Queued()), "(2,0,1)");

    // A table closes during the drag: the dragged one, now one place up
    // the list, is the one placed; a dragged table that closed, none.
    t::ResetEngineState();
    Mouse(MsgLButtonDown, 2);
    Mouse(MsgMouseMove, 2);
    list_.erase(list_.begin());
    Mouse(MsgLButtonUp, -1);
    EXPECT_EQ(Text(Queued()), "(1,0,1)");
    EXPECT_EQ(tables_[2].Dragging, 0);
    t::ResetEngineState();
    Mouse(MsgLButtonDown, 1);
    Mouse(MsgMouseMove, 1);
    list_.erase(list_.end() - 1);
    Mouse(MsgLButtonUp, -1);
    EXPECT_TRUE(Queued().empty());
    EXPECT_EQ(state_.DraggedTable, -1);
}

TEST_F(HookInput, SwitchingVisitsTheOtherTablesCyclicallyAndItselfLast) {
    struct Case {
        int32_t from;
        bool up;
        std::vector<int32_t> order;
    };
    const Case cases[] = {
        {0, true, {1, 2, 0}}, {1, true, {2, 0, 1}}, {2, true, {0, 1, 2}},
        {0, false, {2, 1, 0}}, {1, false, {0, 2, 1}},
        {-1, true, {}}, {3, false, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SwitchOrder(c.from, list_, c.up), c.order) << c.from << (c.up ? " up" : " down");

    // Tables of no group, and empty entries, are skipped.
    tables_[1].GroupIndex = -1;
    EXPECT_EQ(SwitchOrder(0, list_, true), (std::vector<int32_t>{2, 0}));
    list_[2] = nullptr;
    EXPECT_EQ(SwitchOrder(0, list_, false), (std::vector<int32_t>{0}));
}

TEST_F(HookInput, TheSwitchTargetIsTheNextTableUnderTheCursorOrTheNextAtAll) {
    // Three tables stacked under the cursor: next from 0 is 1, from 1 is 2,
    // from 2 is 0 again.
    auto all = [](int32_t) { return true; };
    int32_t at = 0;
    std::vector<int32_t> visited;
    for (int i = 0; i < 3; ++i) visited.push_back(at = ChooseSwitchTarget(at, list_, true, false, all));
    EXPECT_EQ(visited, (std::vector<int32_t>{1, 2, 0}));

    // Only table 0 under the cursor: from 1 downwards it is visited first,
    // from 0 upwards it comes last; no table under the cursor: none.
    auto only0 = [](int32_t j) { return j == 0; };
    EXPECT_EQ(ChooseSwitchTarget(1, list_, false, false, only0), 0);
    EXPECT_EQ(ChooseSwitchTarget(0, list_, true, false, only0), 0);  // itself, last
    EXPECT_EQ(ChooseSwitchTarget(1, list_, true, false, [](int32_t) { return false; }), -1);
    // "Send to active table": the first visited, wherever the cursor is.
    EXPECT_EQ(ChooseSwitchTarget(1, list_, false, true, [](int32_t) { return false; }), 0);
    EXPECT_EQ(ChooseSwitchTarget(5, list_, true, true, all), -1);
}

}  // namespace
}  // namespace kova::mainwindow
