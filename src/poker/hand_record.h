// A tournament hand as the tournament adapters read it from the clients'
// hand histories and the push/fold calculator works on it: seats, players
// and stacks, blinds, and the routines that carry a hand over to the next.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kova::poker {

struct TPlayerInfo {
    int32_t Seat = 0;
    std::string Name;
    double Stack = 0;
};

// Player k (1-based, in the order of play) is Players[k - 1]; the same for
// Action.
struct THH {
    static constexpr int32_t MaxPlayers = 10;
    int32_t Button = 0;          // seat numbers, 0 = none
    int32_t SmallBlindSeat = 0;
    int32_t BigBlindSeat = 0;
    int32_t PlayerCount = 0;
    std::array<TPlayerInfo, MaxPlayers> Players{};
    int32_t HeroSeat = 0;
    double SmallBlind = 0, BigBlind = 0, Ante = 0;
    double HandTime = 0;         // day-based, 0 when unknown
    std::array<int32_t, MaxPlayers> Action{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};  // -1 none, 0 fold, 1 all-in
};

// The finishing places of a tournament: the place of seat s is Place[s - 1]
// (0 = none yet); NextPlace is the worst place not yet given.
struct TFinishingPlaces {
    int32_t PlayerCount = 0;
    int32_t NextPlace = 0;
    std::array<int32_t, THH::MaxPlayers> Place{};
};

// What the calculator needs of a table's tournament, filled by the
// tournament adapters from the hand histories.
struct TTournamentInfo {
    static constexpr int32_t MaxPaidPlaces = 5;
    double LevelMinutes = 0;
    double StartTime = 0;  // day-based
    int32_t SeatCount = THH::MaxPlayers;
    double PaidPlaces = 0;
    std::array<double, MaxPaidPlaces> Payouts{};  // shares of the prize pool, place 1 first
    TFinishingPlaces Places;
};

// Seat (0 when none) / player number (1-based, 0 when none) of the first
// player in list order whose name occurs in text.
int32_t SeatOfNameInText(std::string_view text, const THH& hand);
int32_t PlayerIndexOfNameInText(std::string_view text, const THH& hand);
// Player number (1-based) of the first player at that seat; 0 when none.
int32_t SeatIndexOf(int32_t seat, const THH& hand);

// The next seat after `seat` (wrapping from seatCount to 1) whose player
// has chips; `seat` itself when no seat qualifies.
int32_t NextSeatWithChips(int32_t seat, const THH& hand, int32_t seatCount);

// Moves button and blinds to the next hand (dead button when the small
// blind busted; no small blind next hand when the big blind busted).
void MoveButtonAndBlinds(THH& hand, int32_t seatCount);

// Gives the players who busted in the hand their finishing places, the
// smallest stack before the hand the worst place (ties: the later player);
// when at most half the field is left to place, all others get place 1.
void AssignFinishingPlaces(TFinishingPlaces& places, const THH& after, const THH& before);

// Keeps, in order, only the players with chips.
void RemoveBustedPlayers(THH& hand);

}  // namespace kova::poker
