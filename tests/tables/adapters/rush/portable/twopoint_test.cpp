#include <gtest/gtest.h>

#include "tables/adapters/rush/portable/twopoint.h"
#include "tables/logic/turnlogic.h"

namespace kova::tables {
namespace {

constexpr uint32_t Red = 0x001818C8;   // 200, 24, 24
constexpr uint32_t Blue = 0x00C87818;  // 24, 120, 200
constexpr uint32_t Felt = 0x003C6E14;

TPokerRoom Room(bool proportional) {
    TPokerRoom room;
    room.Proportional = proportional ? 1 : 0;
    room.ScaleRef = TScaleRef{800, 600, 400, 300};
    room.FoldPoint = TColourPoint{560, 540, 400, 541};
    room.FoldColour = TRGB{200, 24, 24};
    room.FoldColour2 = TRGB{24, 120, 200};
    room.Tolerance = room.Tolerance2 = 10;
    return room;
}

TEST(RushFoldPoints, ProportionalRoomsScaleBothPointsByTheHeightOthersReadOnePoint) {
    TRushFoldPoints p = RushFoldPoints(Room(true), 1000, 300);
    ASSERT_TRUE(p.Readable);
    EXPECT_EQ(p.First, (TPoint{280, 270}));
    ASSERT_TRUE(p.Second.has_value());
    EXPECT_EQ(*p.Second, (TPoint{200, 270}));  // 270.5 rounds to even

    p = RushFoldPoints(Room(false), 600, 450);
    ASSERT_TRUE(p.Readable);
    EXPECT_FALSE(p.Second.has_value());
    // Between the two reference sizes, from the anchor: (560 - 400) * 0.5 + 400.
    EXPECT_EQ(p.First, (TPoint{480, 541}));  // -0.5 rounds to even

    TPokerRoom none = Room(true);
    none.ScaleRef.H = 0;
    EXPECT_FALSE(RushFoldPoints(none, 800, 600).Readable);
}

struct Tick {
    uint32_t pixel1;
    std::optional<uint32_t> pixel2;  // none: no second point
    uint8_t turn;
};

TEST(RushTurnTest, EitherPlaceStartsTheTurnAndTwoMissesEndIt) {
    const TPokerRoom room = Room(true);
    TTableState t;
    uintptr_t active = 0;
    double now = 45000.0;
    const Tick ticks[] = {
        {Felt, Felt, 0},
        {Felt, Blue, 1},  // seen only at the second place
        {Felt, Felt, 1},  // one miss is tolerated
        {Red, std::nullopt, 1},
        {Felt, Felt, 1},
        {Felt, Felt, 0},  // the second miss in a row ends it
    };
    int i = 0;
    for (const Tick& k : ticks) {
        now += 2.0 / SecondsPerDay;
        std::function<uint32_t()> read2;
        if (k.pixel2) read2 = [&k] { return *k.pixel2; };
        RushTurnTest(t, room, k.pixel1, read2, now, active);
        EXPECT_EQ(t.MyTurn, k.turn) << "tick " << i++;
    }
}

TEST(RushTurnTest, TheSecondPixelIsReadOnlyWhenTheFirstMissesAndNeverComparedUnread) {
    TPokerRoom room = Room(true);
    room.FoldColour2 = TRGB{255, 255, 255};  // the unreadable value's channels
    room.Tolerance2 = 0;
    TTableState t;
    uintptr_t active = 0;
    int reads = 0;
    const std::function<uint32_t()> unreadable = [&] {
        ++reads;
        return InvalidColour;
    };
    RushTurnTest(t, room, Red, unreadable, 45000.0, active);
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(t.MyTurn, 1);

    TTableState u;
    RushTurnTest(u, room, Felt, unreadable, 45000.0, active);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(u.MyTurn, 0);
    EXPECT_EQ(u.TurnStart, 0);

    // An unreadable first pixel is logged and changes nothing.
    u.ColourMisses = 1;
    EXPECT_EQ(RushTurnTest(u, room, InvalidColour, unreadable, 45000.0, active), "Color Error Num= 1");
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(u.ColourMisses, 1);
}

}  // namespace
}  // namespace kova::tables
