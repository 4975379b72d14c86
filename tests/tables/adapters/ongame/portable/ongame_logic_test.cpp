// The Ongame tables' placement with the resize nudge and their grey-point
// turn test, as decisions on plain numbers.
#include <gtest/gtest.h>

#include "tables/adapters/ongame/portable/ongame_logic.h"
#include "tables/model/engineservices.h"
#include "tables/model/variables.h"

namespace kova::tables::ongame {
namespace {

constexpr double kSecond = 1.0 / 86400;

class OngamePlacement : public ::testing::Test {
protected:
    void SetUp() override {
        ResetEngine();
        TGroupRec g;
        g.AutoPlace = g.AutoSize = 1;
        g.Slots = {TSlotRec{0, 0, 400, 300, 0, 0, 500, 360}, TSlotRec{420, 0, 400, 300, 410, 0, 500, 360}};
        RunningConfig.Groups = {g};
        table_.GroupIndex = 0;
        table_.Slot = 1;
    }
    void TearDown() override { ResetEngine(); }
    TGroupRec& Group() { return RunningConfig.Groups[0]; }
    TTableState table_;
};

TEST_F(OngamePlacement, AWindowAtItsSlotsSizeIsOnlyMovedAndAWrongSizeIsReported) {
    // At the slot's size but elsewhere: one move, no nudge.
    auto p = DecideOngamePlacement(table_, TRect{5, 5, 405, 305}, false, false, false);
    ASSERT_TRUE(p && p->Move);
    EXPECT_EQ(p->Move->Target, (TRect{420, 0, 820, 300}));
    EXPECT_EQ(p->Move->Flags, PlaceNoActivate);
    EXPECT_FALSE(p->Resized);
    // In place: nothing at all.
    p = DecideOngamePlacement(table_, TRect{420, 0, 820, 300}, false, false, false);
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->Move);
    EXPECT_FALSE(p->Resized);
    // In place but resized by the user: no move, a nudge is due.
    p = DecideOngamePlacement(table_, TRect{420, 0, 900, 350}, false, false, false);
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->Move);
    EXPECT_TRUE(p->Resized);
    // Without Auto Size a size is nobody's business.
    Group().AutoSize = 0;
    p = DecideOngamePlacement(table_, TRect{420, 0, 900, 350}, false, false, false);
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->Resized);
    p = DecideOngamePlacement(table_, TRect{0, 0, 900, 350}, false, false, false);
    ASSERT_TRUE(p && p->Move);
    EXPECT_EQ(p->Move->Flags, PlaceNoActivate | PlaceNoSize);
}

TEST_F(OngamePlacement, SlotsActivateSizeAndSinking) {
    table_.Slot = 7;  // beyond the last slot: the last one
    Group().ActivateSize = 1;
    auto p = DecideOngamePlacement(table_, TRect{}, false, true, false);
    ASSERT_TRUE(p && p->Move);
    EXPECT_EQ(p->Move->Target, (TRect{410, 0, 910, 360}));  // its turn: the activate rectangle
    EXPECT_EQ(table_.PrevSlot, 7);
    p = DecideOngamePlacement(table_, TRect{}, true, true, false);
    ASSERT_TRUE(p && p->Move);
    EXPECT_EQ(p->Move->Target, (TRect{420, 0, 820, 300}));  // TOI never
    EXPECT_EQ(p->Move->Flags, PlaceNoActivate | PlaceNoZOrder);

    // Sent to the bottom: sinks in the last slot, even when in place.
    table_.SendToBottom = 1;
    p = DecideOngamePlacement(table_, TRect{420, 0, 820, 300}, false, false, false);
    ASSERT_TRUE(p && p->Move);
    EXPECT_EQ(p->Move->InsertAfter, TInsertAfter::Bottom);
    EXPECT_EQ(table_.SendToBottom, 0);
    // ... but not while another table has its turn.
    table_.SendToBottom = 1;
    p = DecideOngamePlacement(table_, TRect{420, 0, 820, 300}, false, false, true);
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->Move);
    EXPECT_EQ(table_.SendToBottom, 0);

    // Not placed at all: no group, dragged, or Auto Place off.
    Group().AutoPlace = 0;
    EXPECT_FALSE(DecideOngamePlacement(table_, TRect{}, false, false, false));
    Group().AutoPlace = 1;
    table_.Dragging = 1;
    EXPECT_FALSE(DecideOngamePlacement(table_, TRect{}, false, false, false));
    table_.Dragging = 0;
    table_.GroupIndex = 3;
    EXPECT_FALSE(DecideOngamePlacement(table_, TRect{}, false, false, false));
}

TEST(OngameNudge, AWrongSizeIsNudgedForTwoSecondsAtMost) {
    TNudgeState n;
    double firstSeen = 0;
    const double t0 = 45000.0;
    EXPECT_TRUE(NudgeWanted(n, true, firstSeen, t0));
    EXPECT_EQ(n.ResizePending, 1);
    EXPECT_DOUBLE_EQ(firstSeen, t0);
    n.Busy = 1;  // under way: no second one
    EXPECT_FALSE(NudgeWanted(n, true, firstSeen, t0 + 0.5 * kSecond));
    n.Busy = 0;
    EXPECT_TRUE(NudgeWanted(n, true, firstSeen, t0 + 1.9 * kSecond));
    EXPECT_FALSE(NudgeWanted(n, true, firstSeen, t0 + 2.1 * kSecond));  // given up ...
    EXPECT_DOUBLE_EQ(firstSeen, t0);
    EXPECT_FALSE(NudgeWanted(n, false, firstSeen, t0 + 3 * kSecond));    // ... until the size is right
    EXPECT_EQ(n.ResizePending, 0);
    EXPECT_TRUE(NudgeWanted(n, true, firstSeen, t0 + 4 * kSecond));      // then a new wrong size counts afresh
}

TEST(OngameGreyTurn, TwoGreyPointsTellTheTurn) {
    TTableState t;
    t.Wnd = 77;
    uintptr_t active = 0;
    const uint32_t grey = kGreyColour, red = 0x000000C8, black = 0;
    const double now = 45000.0;

    // Both black: the client has drawn nothing yet; no turn.
    EXPECT_EQ(GreyPointTurn(t, black, black, 0, now, active).Log, "");
    EXPECT_EQ(t.MyTurn, 0);
    // Unreadable: no turn.
    GreyPointTurn(t, 0xFFFFFFFFu, red, 0, now, active);
    EXPECT_EQ(t.MyTurn, 0);
    // One point still grey: no turn.
    GreyPointTurn(t, grey, red, 0, now, active);
    EXPECT_EQ(t.MyTurn, 0);
    // Neither grey (within the tolerance): the turn begins.
    EXPECT_EQ(GreyPointTurn(t, red, 0x00BCBCBC, 2, now, active).Log, "Activated= 77");  // 3 away from grey
    EXPECT_EQ(t.MyTurn, 1);
    EXPECT_DOUBLE_EQ(t.TurnStart, now);
    active = 77;
    // Grey again: the turn ends and the table is let go.
    const TGreyTurnResult end = GreyPointTurn(t, red, 0x00BDBDBD, 2, now + kSecond, active);
    EXPECT_EQ(end.Log, "Not Activated= 77");
    EXPECT_TRUE(end.Released);
    EXPECT_EQ(active, 0u);
    EXPECT_EQ(t.MyTurn, 0);
    // Not again within a second of its end; after it, yes.
    GreyPointTurn(t, red, red, 0, now + 1.5 * kSecond, active);
    EXPECT_EQ(t.MyTurn, 0);
    EXPECT_EQ(GreyPointTurn(t, red, red, 0, now + 2.1 * kSecond, active).Log, "Activated= 77");
    EXPECT_EQ(t.MyTurn, 1);
}

}  // namespace
}  // namespace kova::tables::ongame
