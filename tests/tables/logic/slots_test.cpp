// Slot arithmetic, placement decisions, point scaling and the action queue:
// the window-free half of the scan.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tables/logic/placemath.h"
#include "tables/logic/slots.h"
#include "tables/logic/tablequeue.h"
#include "tables/model/engineservices.h"

namespace kova::tables {
namespace {

TSlotRec Slot(int32_t left, int32_t top, int32_t width = 100, int32_t height = 80) {
    return TSlotRec{left, top, width, height, left - 10, top - 10, width + 20, height + 20};
}

TGroupRec Group(int slots, bool autoShift = true) {
    TGroupRec g;
    g.AutoPlace = 1;
    g.AutoShift = autoShift ? 1 : 0;
    for (int i = 0; i < slots; ++i) g.Slots.push_back(Slot(i * 100, 0));
    return g;
}

class SlotsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetEngine(); }
    void TearDown() override { ResetEngine(); }

    TTableState& Add(int32_t group, int32_t slot, int32_t smallBlind = 0) {
        auto t = std::make_unique<TTableState>();
        t->GroupIndex = group;
        t->Slot = slot;
        t->SmallBlind = smallBlind;
        t->TableNumber = static_cast<int32_t>(owned_.size()) + 1;
        t->Wnd = 0x100 + owned_.size();
        owned_.push_back(std::move(t));
        list_.push_back(owned_.back().get());
        return *owned_.back();
    }
    std::vector<int32_t> Slots() const {
        std::vector<int32_t> s;
        for (auto* t : list_) s.push_back(t->Slot);
        return s;
    }
    std::vector<int32_t> Numbers() const {
        std::vector<int32_t> s;
        for (auto* t : list_) s.push_back(t->TableNumber);
        return s;
    }
    void Sort() {
        ResortPending = 1;
        SortTablesIntoSlots(list_);
    }

    std::vector<std::unique_ptr<TTableState>> owned_;
    TTableList list_;
};

// ---- free slots ------------------------------------------------------------------

TEST_F(SlotsTest, FirstFreeSlotTakesTheLowestNumberNoSharingTableHolds) {
    struct Case {
        std::vector<int32_t> taken;
        int32_t expected;
    };
    const Case cases[] = {
        {{}, 0},
        {{1, 2}, 0},
        {{0, 2}, 1},
        {{2, 0, 1}, 3},  // all three slots of the group taken: past the last one
    };
    for (const Case& c : cases) {
        SetUp();
        owned_.clear();
        list_.clear();
        RunningConfig.Groups = {Group(3)};
        for (int32_t s : c.taken) Add(0, s);
        EXPECT_EQ(FirstFreeSlot(list_, 0), c.expected) << "taken " << c.taken.size();
    }
}

TEST_F(SlotsTest, SharedSlotGroupsCountEachOthersTablesOthersDoNot) {
    RunningConfig.Groups = {Group(3), Group(3), Group(3)};
    RunningConfig.Groups[0].SharedSlot = 1;
    RunningConfig.Groups[1].SharedSlot = 1;
    Add(1, 0);
    Add(1, 1);
    Add(2, 2);
    EXPECT_EQ(FirstFreeSlot(list_, 0), 2);
    EXPECT_EQ(FirstFreeSlot(list_, 1), 2);
    EXPECT_EQ(FirstFreeSlot(list_, 2), 0);
    EXPECT_FALSE(SharesSlots(*list_[2], 0));
    EXPECT_TRUE(SharesSlots(*list_[0], 0));
}

TEST_F(SlotsTest, FreeGridSlotFallsBackToTheStackWhenTheGridIsFull) {
    RunningConfig.Groups = {Group(3)};
    RunningConfig.TOI.StackSlot = 2;
    Add(0, 0);
    EXPECT_EQ(FreeGridSlot(list_, 0), 1);
    Add(0, 1);
    Add(0, 2);
    EXPECT_EQ(FreeGridSlot(list_, 0), 2);  // 3 is past the last slot: the stack
}

// ---- sorting and shifting -------------------------------------------------------

TEST_F(SlotsTest, SortPutsLowerGroupsFirstAndOrdersBySlotWithin) {
    RunningConfig.Groups = {Group(4, false), Group(4, false)};
    Add(1, 0);  // 1
    Add(0, 3);  // 2
    Add(0, 1);  // 3
    Add(1, 2);  // 4
    Sort();
    EXPECT_EQ(Numbers(), (std::vector<int32_t>{3, 2, 1, 4}));
    EXPECT_EQ(Slots(), (std::vector<int32_t>{1, 3, 0, 2}));  // no AutoShift: gaps stay
    EXPECT_EQ(ResortPending, 0);
}

TEST_F(SlotsTest, AutoShiftClosesGapsAndAutoSortPutsBiggerBlindsFirst) {
    struct Case {
        bool autoSort;
        std::vector<int32_t> expectedNumbers;
    };
    const Case cases[] = {
        {false, {1, 2, 3}},  // by slot
        {true, {2, 1, 3}},   // 50 first; 10 and 10 keep their order
    };
    for (const Case& c : cases) {
        SetUp();
        owned_.clear();
        list_.clear();
        RunningConfig.Groups = {Group(6)};
        RunningConfig.Groups[0].AutoSort = c.autoSort;
        Add(0, 1, 10);
        Add(0, 3, 50);
        Add(0, 5, 10);
        Sort();
        EXPECT_EQ(Numbers(), c.expectedNumbers) << c.autoSort;
        EXPECT_EQ(Slots(), (std::vector<int32_t>{0, 1, 2})) << c.autoSort;
    }
}

TEST_F(SlotsTest, ThreeSharedSlotGroupsAreNumberedAsOneSequence) {
    RunningConfig.Groups = {Group(6), Group(6), Group(6)};
    for (auto& g : RunningConfig.Groups) g.SharedSlot = 1;
    Add(2, 4);
    Add(0, 2);
    Add(1, 0);
    Sort();
    // Shared groups are one slot space: ordered by slot, renumbered 0, 1, 2.
    EXPECT_EQ(Numbers(), (std::vector<int32_t>{3, 2, 1}));
    EXPECT_EQ(Slots(), (std::vector<int32_t>{0, 1, 2}));
}

TEST_F(SlotsTest, TOIKeepsOnlyTablesWhoseBigBlindReachesGridMinBB) {
    struct Case {
        int32_t smallBlind;
        bool kept;
    };
    const Case cases[] = {{40, false}, {50, true}};  // 80 < 100, 100 >= 100
    for (const Case& c : cases) {
        SetUp();
        owned_.clear();
        list_.clear();
        RunningConfig.Groups = {Group(4)};
        RunningConfig.Groups[0].TOIStyle = 1;
        RunningConfig.TOI.StackSlot = 3;
        RunningConfig.TOI.KeepInGridCount = 2;
        RunningConfig.TOI.GridMinBB = 100;
        Add(0, 3, 5);
        Add(0, 3, c.smallBlind);
        Sort();
        EXPECT_EQ(list_[0]->TableNumber, c.kept ? 2 : 1) << c.smallBlind;
        EXPECT_EQ(list_[0]->KeptInGrid, c.kept ? 1 : 0) << c.smallBlind;
        EXPECT_EQ(list_[0]->Slot, c.kept ? 0 : 3) << c.smallBlind;
        EXPECT_EQ(list_[1]->KeptInGrid, 0) << c.smallBlind;
    }
}

TEST_F(SlotsTest, TOIRenumberingSkipsTheStackSlotAndLeavesStackedTablesThere) {
    RunningConfig.Groups = {Group(5)};
    RunningConfig.Groups[0].TOIStyle = 1;
    RunningConfig.TOI.StackSlot = 1;
    TTableState& a = Add(0, 0);
    a.InGrid = 1;
    TTableState& stacked = Add(0, 1);
    TTableState& b = Add(0, 4);
    b.InGrid = 1;
    TTableState& c = Add(0, 3);
    c.InGrid = 1;
    ForceRenumber = 1;
    RenumberGroupSlots(list_, 0);
    EXPECT_EQ(a.Slot, 0);
    EXPECT_EQ(stacked.Slot, 1);
    EXPECT_EQ(b.Slot, 2);
    EXPECT_EQ(c.Slot, 3);
}

// ---- TOI tables between stack and grid ------------------------------------------

// A TOI group of four slots whose last one (3) is the stack.
class TOITest : public SlotsTest {
protected:
    void SetUp() override {
        SlotsTest::SetUp();
        RunningConfig.Groups = {Group(4)};
        RunningConfig.Groups[0].TOIStyle = 1;
        RunningConfig.TOI.StackSlot = 3;
    }
    TTableState& Table(int32_t slot, bool kept, bool inGrid, bool turn, int32_t group = 0) {
        TTableState& t = Add(group, slot);
        t.KeptInGrid = kept ? 1 : 0;
        t.InGrid = inGrid ? 1 : 0;
        t.MyTurn = turn ? 1 : 0;
        return t;
    }
};

// A table leaving the grid still holds its slot while a kept table looks
// for one: the kept table must not land where the other just left, which
// taking both in one pass over the list would do.
TEST_F(TOITest, KeptTablesFindTheirGridSlotBeforeOthersLeaveTheGrid) {
    TTableState& leaving = Table(0, false, false, false);
    TTableState& kept = Table(3, true, false, false);
    ReturnTOITablesToStack(list_);
    EXPECT_EQ(kept.Slot, 1);
    EXPECT_EQ(leaving.Slot, 3);
    EXPECT_EQ(ResortPending, 1);
}

TEST_F(TOITest, OnlyIdleTablesOfTOIGroupsGoBackToTheStack) {
    RunningConfig.Groups.push_back(Group(4));  // group 1: no TOI style
    struct Case {
        int32_t group, slot;
        bool kept, inGrid, turn;
        int32_t expected;
        bool resort;
    };
    const Case cases[] = {
        {0, 1, false, false, false, 3, true},   // idle in the grid: to the stack
        {0, 3, false, false, false, 3, false},  // already there: no re-sort
        {0, 1, false, true, false, 1, false},   // put in the grid by hand or hotkey
        {0, 1, false, false, true, 1, false},   // on turn
        {0, 1, true, false, false, 1, false},   // kept, not in the stack
        {0, 3, true, false, false, 0, true},    // kept, found in the stack: lowest free grid slot
        {1, 1, false, false, false, 1, false},  // not a TOI group
        {-1, 1, false, false, false, 1, false}, // no group
    };
    for (const Case& c : cases) {
        SetUp();
        RunningConfig.Groups.push_back(Group(4));
        owned_.clear();
        list_.clear();
        TTableState& t = Table(c.slot, c.kept, c.inGrid, c.turn, c.group);
        ReturnTOITablesToStack(list_);
        EXPECT_EQ(t.Slot, c.expected) << "case in group " << c.group << " slot " << c.slot;
        EXPECT_EQ(ResortPending != 0, c.resort) << "case in group " << c.group << " slot " << c.slot;
    }
}

TEST_F(TOITest, ATurnInTheStackMovesToTheLowestFreeGridSlot) {
    Table(0, true, true, false);
    TTableState& turn = Table(3, false, false, true);
    MoveTOITurnTablesToGrid(list_);
    EXPECT_EQ(turn.Slot, 1);
    EXPECT_EQ(turn.InGrid, 1);
    EXPECT_EQ(ResortPending, 1);

    // A table put in the grid whose turn finds it in the stack goes back.
    ResortPending = 0;
    TTableState& again = Table(3, false, true, true);
    MoveTOITurnTablesToGrid(list_);
    EXPECT_EQ(again.Slot, 2);
    EXPECT_EQ(ResortPending, 1);
}

TEST_F(TOITest, AFullGridLeavesTheTurnTableInTheStack) {
    Table(0, true, true, false);
    Table(1, false, true, false);
    Table(2, false, true, true);
    TTableState& turn = Table(3, false, false, true);
    MoveTOITurnTablesToGrid(list_);
    EXPECT_EQ(turn.Slot, 3);
    EXPECT_EQ(turn.InGrid, 1);  // counts as in the grid: it takes the next slot that frees
    EXPECT_EQ(ResortPending, 0);
}

TEST_F(TOITest, TablesWaitingForThePotAndKeptTablesStayPut) {
    RunningConfig.TOI.AfterEnteringPot = 1;
    TTableState& waiting = Table(3, false, false, true);
    TTableState& kept = Table(3, true, false, true);
    MoveTOITurnTablesToGrid(list_);
    EXPECT_EQ(waiting.Slot, 3);
    EXPECT_EQ(waiting.InGrid, 0);
    EXPECT_EQ(kept.Slot, 3);
    EXPECT_EQ(ResortPending, 0);

    // One already put in the grid (by hotkey) is brought back to it.
    TTableState& put = Table(3, false, true, true);
    MoveTOITurnTablesToGrid(list_);
    EXPECT_EQ(put.Slot, 0);
}

// ---- placement decisions -----------------------------------------------------------

TEST_F(SlotsTest, PlacementMovesOnlyWhenNeededWithTheRightFlagsAndInsertAfter) {
    struct Case {
        const char* name;
        bool toi, autoPlace, autoSize, dragging, sendToBottom;
        int32_t slot;
        TRect window;
        bool expectMove;
        TRect expectTarget;
        uint32_t expectFlags;
        TInsertAfter expectInsert;
    };
    const TRect slot1{100, 0, 200, 80}, slot2{200, 0, 300, 80};
    const Case cases[] = {
        {"moves into its slot", false, true, true, false, false, 1, {5, 5, 105, 85}, true, slot1, 0x10, TInsertAfter::NoTopMost},
        {"already there", false, true, true, false, false, 1, slot1, false, {}, 0, TInsertAfter::NoTopMost},
        {"size differs with AutoSize", false, true, true, false, false, 1, {100, 0, 150, 50}, true, slot1, 0x10, TInsertAfter::NoTopMost},
        {"size differs without AutoSize", false, true, false, false, false, 1, {100, 0, 150, 50}, false, {}, 0, TInsertAfter::NoTopMost},
        {"moves without sizing", false, true, false, false, false, 1, {0, 0, 50, 50}, true, slot1, 0x11, TInsertAfter::NoTopMost},
        {"past the last slot: the last", false, true, true, false, false, 7, {0, 0, 50, 50}, true, slot2, 0x10, TInsertAfter::NoTopMost},
        {"AutoPlace off", false, false, true, false, false, 1, {0, 0, 50, 50}, false, {}, 0, TInsertAfter::NoTopMost},
        {"dragged", false, true, true, true, false, 1, {0, 0, 50, 50}, false, {}, 0, TInsertAfter::NoTopMost},
        {"sinks in the last slot", false, true, true, false, true, 2, slot2, true, slot2, 0x10, TInsertAfter::Bottom},
        {"no sinking elsewhere", false, true, true, false, true, 1, slot1, true, slot1, 0x10, TInsertAfter::NoTopMost},
        {"TOI keeps the z-order", true, true, true, false, false, 1, {0, 0, 50, 50}, true, slot1, 0x14, TInsertAfter::NoTopMost},
        {"TOI sinks in the stack slot", true, true, false, false, true, 2, slot2, true, slot2, 0x11, TInsertAfter::Bottom},
        {"TOI no sinking in the grid", true, true, false, false, true, 1, slot1, true, slot1, 0x11, TInsertAfter::NoTopMost},
    };
    for (const Case& c : cases) {
        SetUp();
        RunningConfig.Groups = {Group(3)};
        RunningConfig.Groups[0].AutoPlace = c.autoPlace;
        RunningConfig.Groups[0].AutoSize = c.autoSize;
        RunningConfig.Groups[0].TOIStyle = c.toi;
        RunningConfig.TOI.StackSlot = 2;
        TTableState t;
        t.GroupIndex = 0;
        t.Slot = c.slot;
        t.Dragging = c.dragging;
        t.SendToBottom = c.sendToBottom;
        const auto step = c.toi ? DecideTOIPlacement(t, c.window, {}) : DecideNormalPlacement(t, c.window, {});
        ASSERT_EQ(step.has_value(), c.expectMove) << c.name;
        if (!step) continue;
        EXPECT_EQ(step->Target, c.expectTarget) << c.name;
        EXPECT_EQ(step->Flags, c.expectFlags) << c.name;
        EXPECT_EQ(step->InsertAfter, c.expectInsert) << c.name;
        EXPECT_EQ(t.SendToBottom, 0) << c.name;
    }
}

TEST_F(SlotsTest, TheTurnTableTakesTheActivateRectangleAndAnotherTurnStopsSinking) {
    RunningConfig.Groups = {Group(2)};
    RunningConfig.Groups[0].ActivateSize = 1;
    RunningConfig.Groups[0].AutoSize = 1;
    TTableState t;
    t.GroupIndex = 0;
    t.Slot = 1;
    TPlacementContext c;
    c.IsActiveTable = true;
    auto step = DecideNormalPlacement(t, {100, 0, 200, 80}, c);
    ASSERT_TRUE(step);
    EXPECT_EQ(step->Target, (TRect{90, -10, 210, 90}));

    t.SendToBottom = 1;
    c = {};
    c.OtherIsActive = true;
    EXPECT_FALSE(DecideNormalPlacement(t, {100, 0, 200, 80}, c));
    EXPECT_EQ(t.SendToBottom, 0);
}

TEST_F(SlotsTest, ActivateSlotRectIsCentredAndShiftedIntoTheWorkArea) {
    const TRect work{0, 0, 1000, 700};
    EXPECT_EQ(ActivateSlotRect({100, 100, 200, 200}, 121, 101, work), (TRect{90, 100, 211, 201}));
    EXPECT_EQ(ActivateSlotRect({0, 0, 100, 100}, 200, 200, work), (TRect{0, 0, 200, 200}));
    EXPECT_EQ(ActivateSlotRect({950, 650, 1000, 700}, 200, 200, work), (TRect{800, 500, 1000, 700}));
}

// ---- scaling and colours -----------------------------------------------------------

TEST(PointScaling, RoundsHalvesToEvenAndScalesBetweenReferences) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    struct Case {
        bool proportional;
        TScaleRef ref;
        int32_t clientW, clientH;
        TPoint expected;
    };
    // The point (100, 50) at the reference size, (20, 10) at the minimum.
    const Case cases[] = {
        {true, {800, 600, 400, 300}, 400, 300, {50, 25}},     // from the origin
        {true, {800, 600, 400, 300}, 800, 600, {100, 50}},
        {false, {800, 600, 400, 300}, 800, 600, {100, 50}},   // reference size: unchanged
        {false, {800, 600, 400, 300}, 400, 300, {20, 10}},    // minimum size: the minimum point
        {false, {800, 600, 400, 300}, 600, 450, {60, 30}},    // half-way
        {false, {800, 600, 800, 600}, 400, 300, {100, 50}},   // equal references scale by 1
        {false, {800, 600, 0, 0}, 401, 300, {60, 30}},        // 80 * 401 / 800 = 40.1, + 20
    };
    for (const Case& c : cases) {
        const TPoint p = ScaleRoomPoint(c.proportional, c.ref, 100, 50, 20, 10, c.clientW, c.clientH);
        EXPECT_EQ(p, c.expected) << c.proportional << " " << c.clientW << "x" << c.clientH;
    }
    EXPECT_EQ(ScaleBetween(3, 0, 100, 800, 0), 0);  // 0.375 rounds to 0
    EXPECT_EQ(ScaleBetween(4, 0, 100, 800, 0), 0);  // 0.5 rounds to even 0
    EXPECT_EQ(ScaleBetween(12, 0, 100, 800, 0), 2); // 1.5 rounds to even 2
}

// The tables' own reference points multiply first and divide afterwards:
// where the exact value is a half, the factor computed first can land a
// hair above it and round the other way.
TEST(Scaling, TableReferencePointsMultiplyFirst) {
    struct Case {
        int32_t v, vMin, client, ref, refMin;
        int32_t multiplied, factorFirst;
    };
    const Case cases[] = {
        {600, 0, 14, 800, 0, 10, 11},      // 10.5: halves to even
        {300, 0, 28, 800, 0, 10, 11},
        {700, 0, 28, 800, 0, 24, 25},      // 24.5
        {720, 0, 35, 800, 0, 32, 31},      // 31.5
        {880, 0, 55, 800, 0, 60, 61},      // 60.5
        {100, 20, 600, 800, 400, 60, 60},  // 80 * 200 / 400 + 20
        {105, 0, 784, 784, 475, 105, 105}, // the reference size: unchanged
        {105, 7, 475, 784, 475, 7, 7},     // the minimum size: the minimum point
        {105, 0, 300, 800, 800, 105, 105}, // equal references scale by 1
        {-30, 0, 400, 800, 0, -15, -15},
        {-3, 0, 400, 800, 0, -2, -2},      // -1.5: halves to even
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.v << " " << c.vMin << " " << c.client << " " << c.ref << " " << c.refMin);
        EXPECT_EQ(ScaleMultiplyFirst(c.v, c.vMin, c.client, c.ref, c.refMin), c.multiplied);
        EXPECT_EQ(ScaleBetween(c.v, c.vMin, c.client, c.ref, c.refMin), c.factorFirst);
    }
}

TEST(ColourMatching, EachChannelWithinTheTolerance) {
    EXPECT_TRUE(ColorsMatch(0x123456, 0x123456, 0));
    EXPECT_FALSE(ColorsMatch(0x123456, 0x123457, 0));
    EXPECT_TRUE(ColorsMatch(0x102030, 0x0A2A26, 10));   // -6, +10, -10
    EXPECT_FALSE(ColorsMatch(0x102030, 0x102030 + 0x0B0000, 10));
    EXPECT_EQ(SanitizeFileName("Lay a/b:c*d?e\"f<g>h|i\\j.ini"), "Lay a_b_c_d_e_f_g_h_i_j.ini");
}

// ---- the action queue ----------------------------------------------------------------

TEST_F(SlotsTest, QueueHoldsTenAndTheScanRunsOnlyTheOldestValidEntry) {
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(QueueTableAction(i, 100 + i, 0));
    EXPECT_FALSE(QueueTableAction(10, 110, 0));
    EXPECT_EQ(ActionQueue.Count, 10);
    TTableAction first;
    ASSERT_TRUE(TakeQueuedTableAction(5, first));
    EXPECT_EQ(first, (TTableAction{0, 100, 0}));
    EXPECT_EQ(ActionQueue.Count, 0);
    EXPECT_FALSE(TakeQueuedTableAction(5, first));  // empty
}

TEST_F(SlotsTest, QueueDropsEntriesNamingNoTableOrAnUnknownKind) {
    struct Case {
        int32_t index;
        uint8_t kind;
        size_t tables;
    };
    const Case cases[] = {{3, 0, 3}, {7, 1, 0}, {-1, 0, 3}, {0, 9, 3}};
    for (const Case& c : cases) {
        QueueTableAction(c.index, 1, c.kind);
        QueueTableAction(0, 1, 0);  // a valid one behind it is dropped as well
        TTableAction first;
        EXPECT_FALSE(TakeQueuedTableAction(c.tables, first)) << c.index;
        EXPECT_EQ(ActionQueue.Count, 0);
    }
}

TEST_F(SlotsTest, ATableLeavingTheListTakesItsEntriesAlongAndTheOthersFollowTheirTables) {
    struct Case {
        const char* name;
        int32_t removed;
        std::vector<TTableAction> expected;
    };
    // Queued: table 2 hotkey 1, table 0 placement, table 2 wheel up, table 3 hotkey 4.
    const std::vector<TTableAction> queued = {{2, 1, 0}, {0, 0, 1}, {2, 0, 2}, {3, 4, 0}};
    const Case cases[] = {
        {"a table with entries", 2, {{0, 0, 1}, {2, 4, 0}}},
        {"the first table", 0, {{1, 1, 0}, {1, 0, 2}, {2, 4, 0}}},
        {"a table behind every entry", 7, queued},
    };
    for (const Case& c : cases) {
        SetUp();
        for (const TTableAction& a : queued) ASSERT_TRUE(QueueTableAction(a.TableIndex, a.Argument, a.Kind));
        ForgetQueuedTable(c.removed);
        ASSERT_EQ(ActionQueue.Count, static_cast<int32_t>(c.expected.size())) << c.name;
        for (size_t i = 0; i < c.expected.size(); ++i) EXPECT_EQ(ActionQueue.Entries[i], c.expected[i]) << c.name << " " << i;
        for (size_t i = c.expected.size(); i < ActionQueue.Entries.size(); ++i)
            EXPECT_EQ(ActionQueue.Entries[i], TTableAction{}) << c.name << " " << i;
    }
}

// ---- placement by hand --------------------------------------------------------------

TEST_F(SlotsTest, ATableDroppedByHandTakesTheSlotUnderItsCentreAndSwaps) {
    struct Case {
        const char* name;
        TRect window;
        std::vector<int32_t> expected;
        bool resort;
    };
    // Slots at x 0, 100, 200 (each 100 x 80). Table 1 holds slot 0, table 2 slot 2.
    const Case cases[] = {
        {"onto the other table", {160, 10, 260, 60}, {2, 0}, true},
        {"onto a free slot", {60, 10, 160, 60}, {1, 2}, true},
        {"onto its own slot", {-20, 0, 60, 40}, {0, 2}, false},
        {"outside every slot", {500, 500, 600, 600}, {0, 2}, false},
    };
    for (const Case& c : cases) {
        SetUp();
        owned_.clear();
        list_.clear();
        RunningConfig.Groups = {Group(3)};
        Add(0, 0);
        Add(0, 2);
        PlaceTableByHandAt(list_, 0, c.window);
        EXPECT_EQ(Slots(), c.expected) << c.name;
        EXPECT_EQ(ResortPending, c.resort ? 1 : 0) << c.name;
    }
}

TEST_F(SlotsTest, NearestSlotPrefersTheCentreAmongOverlappingSlots) {
    TGroupRec g;
    g.Slots = {Slot(0, 0, 200, 200), Slot(60, 60, 100, 100)};
    EXPECT_EQ(NearestSlotAt(g, 108, 108), 1);
    EXPECT_EQ(NearestSlotAt(g, 10, 10), 0);
    EXPECT_EQ(NearestSlotAt(g, 200, 10), -1);  // right edge excluded
}

}  // namespace
}  // namespace kova::tables
