// The shared window-free routines of the engine.
#include "tables/logic/engine_routines.h"

#include <gtest/gtest.h>

namespace kova::tables {
namespace {

TEST(SubstringBetween, Cases) {
    struct Case {
        const char *s, *start;
        int32_t skip;
        const char *end, *result;
    };
    const Case cases[] = {
        {"Table 5 [ID=R123] x", "ID=", 3, "]", "R123"},
        {"Table 5 [ID=R123] x", "ID=", 3, "", "R123] x"},      // no end character: to the end
        {"Table 5 [ID=R123", "ID=", 3, "]", "R123"},           // end never found
        {"Table 5 [ID=R123] x", "XX", 0, "]", ""},             // start text missing
        {"a]b]c", "]b", 0, "]", ""},                           // start begins with the end character
        {"abc", "abc", 5, "]", ""},                            // skip past the end
        {"abc", "b", -3, "c", "ab"},                           // skip before the start
        {"abc", "", 0, "c", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SubstringBetween(c.s, c.start, c.skip, c.end), c.result) << c.s << " / " << c.start;
    }
}

THH Hand(std::initializer_list<std::pair<int32_t, double>> seatsAndStacks) {
    THH h;
    int32_t i = 0;
    for (const auto& [seat, stack] : seatsAndStacks) {
        h.Players[static_cast<std::size_t>(i)].Seat = seat;
        h.Players[static_cast<std::size_t>(i)].Name = "P" + std::to_string(seat);
        h.Players[static_cast<std::size_t>(i)].Stack = stack;
        ++i;
    }
    h.PlayerCount = i;
    return h;
}

TEST(HandLookups, NamesAndSeats) {
    THH h = Hand({{3, 100}, {5, 200}, {9, 300}});
    h.Players[1].Name = "Bob";
    h.Players[2].Name = "Bobby";
    EXPECT_EQ(SeatOfNameInText("Bobby: raises", h), 5);  // first in list order
    EXPECT_EQ(PlayerIndexOfNameInText("Bobby: raises", h), 2);
    EXPECT_EQ(PlayerIndexOfNameInText("bob folds", h), 0);
    EXPECT_EQ(SeatIndexOf(9, h), 3);
    EXPECT_EQ(SeatIndexOf(4, h), 0);
    h.PlayerCount = 99;  // garbled count stays inside the array
    EXPECT_EQ(SeatIndexOf(4, h), 0);
}

TEST(NextSeatWithChips, WrapsAndSkipsEmptySeats) {
    const THH h = Hand({{1, 0}, {4, 50}, {9, 10}});
    EXPECT_EQ(NextSeatWithChips(4, h, 9), 9);
    EXPECT_EQ(NextSeatWithChips(9, h, 9), 4);  // wraps, seat 1 has no chips
    EXPECT_EQ(NextSeatWithChips(2, Hand({{1, 0}}), 9), 2);  // nobody: no endless loop
}

TEST(MoveButtonAndBlinds, Cases) {
    // Normal move.
    THH h = Hand({{1, 100}, {2, 100}, {3, 100}, {4, 100}});
    h.Button = 1, h.SmallBlindSeat = 2, h.BigBlindSeat = 3;
    MoveButtonAndBlinds(h, 4);
    EXPECT_EQ(h.Button, 2);
    EXPECT_EQ(h.SmallBlindSeat, 3);
    EXPECT_EQ(h.BigBlindSeat, 4);

    // Busted big blind: no small blind next hand.
    h = Hand({{1, 100}, {2, 100}, {3, 0}, {4, 100}});
    h.Button = 1, h.SmallBlindSeat = 2, h.BigBlindSeat = 3;
    MoveButtonAndBlinds(h, 4);
    EXPECT_EQ(h.Button, 2);
    EXPECT_EQ(h.SmallBlindSeat, 0);
    EXPECT_EQ(h.BigBlindSeat, 4);

    // Busted small blind: dead button.
    h = Hand({{1, 100}, {2, 0}, {3, 100}, {4, 100}});
    h.Button = 1, h.SmallBlindSeat = 2, h.BigBlindSeat = 3;
    MoveButtonAndBlinds(h, 4);
    EXPECT_EQ(h.Button, 1);
    EXPECT_EQ(h.SmallBlindSeat, 3);
    EXPECT_EQ(h.BigBlindSeat, 4);
}

TEST(AssignFinishingPlaces, SmallerStackBeforeTheHandTakesTheWorsePlace) {
    const THH before = Hand({{1, 500}, {2, 300}, {3, 1000}, {4, 1000}, {5, 1000}, {6, 1000}});
    const THH after = Hand({{1, 0}, {2, 0}, {3, 1800}, {4, 1000}, {5, 1000}, {6, 1000}});
    TFinishingPlaces places;
    places.PlayerCount = 6;
    places.NextPlace = 6;
    AssignFinishingPlaces(places, after, before);
    EXPECT_EQ(places.Place[1], 6);  // seat 2 (300 before)
    EXPECT_EQ(places.Place[0], 5);  // seat 1 (500 before)
    EXPECT_EQ(places.NextPlace, 4);
    EXPECT_EQ(places.Place[2], 0);
}

TEST(AssignFinishingPlaces, BigStacksBeforeTheHandArePlacedToo) {
    // A busted player who had more than 20000 chips before the hand still
    // gets a place (no stack cap).
    const THH before = Hand({{1, 25000}, {2, 30000}, {3, 5000}, {4, 5000}});
    const THH after = Hand({{1, 0}, {2, 65000}, {3, 0}, {4, 0}});
    TFinishingPlaces places;
    places.PlayerCount = 4;
    places.NextPlace = 4;
    AssignFinishingPlaces(places, after, before);
    EXPECT_EQ(places.Place[3], 4);  // equal stacks: the later player is worse
    EXPECT_EQ(places.Place[2], 3);
    EXPECT_EQ(places.Place[0], 2);
    // Only one place left to give (NextPlace 1 <= 4 / 2): the rest get 1.
    EXPECT_EQ(places.Place[1], 1);
}

TEST(RemoveBustedPlayers, KeepsPlayersWithChipsInOrder) {
    THH h = Hand({{1, 0}, {2, 10}, {3, -1}, {4, 5}});
    RemoveBustedPlayers(h);
    ASSERT_EQ(h.PlayerCount, 2);
    EXPECT_EQ(h.Players[0].Seat, 2);
    EXPECT_EQ(h.Players[1].Seat, 4);
    THH none;
    none.PlayerCount = -3;
    RemoveBustedPlayers(none);
    EXPECT_EQ(none.PlayerCount, 0);
}

TEST(AddAverageSample, TenSamplesAtMost) {
    TAverageSamples s;
    AddAverageSample(s, 1.0);
    AddAverageSample(s, 3.0);
    EXPECT_EQ(s.Count, 2);
    EXPECT_DOUBLE_EQ(s.Average, 2.0);
    for (int i = 0; i < 8; ++i) AddAverageSample(s, 2.0);
    EXPECT_EQ(s.Count, 10);
    EXPECT_DOUBLE_EQ(s.Average, 2.0);
    AddAverageSample(s, 100.0);  // the eleventh changes nothing
    EXPECT_EQ(s.Count, 10);
    EXPECT_DOUBLE_EQ(s.Average, 2.0);
}

}  // namespace
}  // namespace kova::tables
