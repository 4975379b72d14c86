// Rush tables against the simulated client: a room of type 6 adopts them,
// they are placed, and their turn is seen from the Fold button in either of
// its two places.
#include "tables/engine/client_fixture.h"
#include "clients/clients_protocol.h"
#include "tables/adapters/rush/rush.h"

namespace kova::tables {
namespace {

using namespace kova::tables::testing;
using namespace kova::sim;

TRGB Rgb(COLORREF c) { return TRGB{GetRValue(c), GetGValue(c), GetBValue(c)}; }

class RushTest : public ClientTest {
protected:
    RushTest() : ClientTest("kovarushtest") {}

    void SetUp() override {
        ClientTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        RunningConfig.Groups = {ClientGroup(kRushTableClass, "Rush", 3)};
        RunningConfig.Groups[0].AutoActivate = 1;
        TPokerRoom& room = PokerRooms[0];
        room.RoomType = RoomRush;
        room.Name = "Full Tilt Rush";
        room.Proportional = 1;
        room.ScaleRef = TScaleRef{kRushRefWidth, kRushRefHeight, 0, 0};
        room.FoldPoint = TColourPoint{kRushFold1.x, kRushFold1.y, kRushFold2.x, kRushFold2.y};
        room.FoldColour = Rgb(kRushFoldColour1);
        room.FoldColour2 = Rgb(kRushFoldColour2);
        room.Tolerance = room.Tolerance2 = 10;
    }
};

TEST_F(RushTest, TablesAreAdoptedPlacedAndTheirTurnSeenInEitherPlace) {
    HWND a = Open(1, kRushTableClass, "Rush 1"), b = Open(2, kRushTableClass, "Rush 2");
    ASSERT_TRUE(a && b);
    ASSERT_EQ(Send("rush-fold 2 2"), 1);
    ASSERT_TRUE(Scan());
    ASSERT_EQ(Tables.size(), 2u);
    for (HWND h : {a, b}) {
        TPokerTable* t = TableOf(h);
        ASSERT_NE(dynamic_cast<TRush_Table*>(t), nullptr);
        EXPECT_TRUE(InSlot(h, RunningConfig.Groups[0].Slots[static_cast<size_t>(t->Slot)])) << t->Slot;
        EXPECT_EQ(t->MyTurn, 0);
    }
    ASSERT_EQ(Send("turn 1 on"), 1);
    ASSERT_EQ(Send("turn 2 on"), 1);
    ASSERT_TRUE(Scan());
    EXPECT_EQ(TableOf(a)->MyTurn, 1);  // the first place
    EXPECT_EQ(TableOf(b)->MyTurn, 1);  // seen only at the second place
    // One tick without either colour keeps the turn, the second ends it.
    ASSERT_EQ(Send("turn 2 off"), 1);
    ASSERT_TRUE(Scan());
    EXPECT_EQ(TableOf(b)->MyTurn, 1);
    ASSERT_TRUE(Scan());
    EXPECT_EQ(TableOf(b)->MyTurn, 0);
    EXPECT_EQ(TableOf(a)->MyTurn, 1);
}

TEST_F(RushTest, ARoomWithoutProportionalScalingReadsOnlyTheFirstPlace) {
    HWND a = Open(1, kRushTableClass, "Rush 1"), b = Open(2, kRushTableClass, "Rush 2");
    ASSERT_TRUE(a && b);
    ASSERT_EQ(Send("rush-fold 2 2"), 1);
    ASSERT_TRUE(Scan());  // placed: both now have the slot's client size
    RECT client{};
    ASSERT_TRUE(GetClientRect(a, &client));
    const double f = static_cast<double>(client.bottom) / kRushRefHeight;
    // The record as one point with its anchor, given at the placed size.
    TPokerRoom& room = PokerRooms[0];
    room.Proportional = 0;
    room.ScaleRef = TScaleRef{client.right, client.bottom, 0, 0};
    room.FoldPoint = TColourPoint{static_cast<int32_t>(kRushFold1.x * f), static_cast<int32_t>(kRushFold1.y * f), 0, 0};
    // Were the second colour compared with a pixel never read, white would
    // match the unreadable value.
    room.FoldColour2 = TRGB{255, 255, 255};
    room.Tolerance2 = 0;
    ASSERT_EQ(Send("turn 1 on"), 1);
    ASSERT_EQ(Send("turn 2 on"), 1);
    ASSERT_TRUE(Scan());
    ASSERT_TRUE(Scan());
    EXPECT_EQ(TableOf(a)->MyTurn, 1);
    EXPECT_EQ(TableOf(b)->MyTurn, 0);

    // Without a reference size nothing can be read: logged, the state kept.
    room.ScaleRef = TScaleRef{};
    logLines_.clear();
    ASSERT_TRUE(Scan());
    EXPECT_EQ(TableOf(a)->MyTurn, 1);
    EXPECT_EQ(Logged("Color Error Num= 0"), 2u);
}

}  // namespace
}  // namespace kova::tables
