#pragma once
// The tournament hand as the push/fold calculator sees it, the tournament
// facts it needs, an opponent model's action frequencies, and the routines
// that carry a hand over to the next one (button and blinds, finishing
// places).

#include <array>
#include <cstdint>
#include <string>

namespace kova::pushfold {

constexpr int kMaxPlayers = 10;
constexpr int kMaxSeats = 10;
constexpr int kBlindLevelCount = 15;
constexpr int kMaxPaidPlaces = 5;

struct TPlayerInfo {
  std::int32_t Seat = 0;
  std::string Name;
  double Stack = 0;
};

// One tournament hand. Players are listed in the order of play; player k of
// the hand (1-based) is Players[k - 1].
struct THH {
  std::int32_t Button = 0;
  std::int32_t SmallBlindSeat = 0;  // 0 = no small blind this hand
  std::int32_t BigBlindSeat = 0;
  std::int32_t PlayerCount = 0;
  std::array<TPlayerInfo, kMaxPlayers> Players{};
  std::int32_t HeroSeat = 0;
  double SmallBlind = 0;
  double BigBlind = 0;
  double Ante = 0;
  double HandTime = 0;  // day-based date and time; 0 = unknown
  // Known action per player: -1 none, 0 fold, 1 all-in.
  std::array<std::int32_t, kMaxPlayers> Action = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
};

// Finishing places of a tournament table: the place of seat s (1..10) is
// Place[s - 1] (0 = not yet placed); NextPlace is the worst place not yet
// given.
struct TFinishingPlaces {
  std::int32_t PlayerCount = 0;
  std::int32_t NextPlace = 0;
  std::array<std::int32_t, kMaxSeats> Place{};
};

// What the calculator needs of the table's tournament.
struct TTournamentInfo {
  double LevelMinutes = 0;
  double StartTime = 0;  // day-based
  std::int32_t SeatCount = kMaxSeats;
  double PaidPlaces = 0;
  std::array<double, kMaxPaidPlaces> Payouts{};  // shares of the prize pool, place 1 first
  TFinishingPlaces Places;
};

// An opponent model's all-in frequencies in percent: M(level 1..15,
// row 0..10, column 1..10), row the position of the player who already went
// all-in (0: nobody, the open case), column the position of the player to act.
struct TModelValues {
  std::array<double, kBlindLevelCount * 11 * 10> Values{};
  // Out-of-range indices read as 0.
  double At(int level, int row, int column) const;
  void Set(int level, int row, int column, double value);
};

struct TBlindLevel {
  double SmallBlind = 0;
  double BigBlind = 0;
  double Ante = 0;
};
// The built-in blind structure, levels 1..15 at indices 0..14.
const std::array<TBlindLevel, kBlindLevelCount>& BlindStructure();
// Levels outside 1..15 go to the nearest one.
int ClampBlindLevel(int level);

// Index (0-based) of the first player sitting at seat, -1 when none.
int PlayerIndexAtSeat(const THH& hand, int seat);
// The next seat after seat (wrapping from seatCount to 1) where a player with
// chips sits; 0 when there is none.
int NextSeatWithChips(int seat, const THH& hand, int seatCount);
// Moves button and blinds to the next hand (a busted small blind leaves a
// dead button; a busted big blind leaves no small blind next hand).
void MoveButtonAndBlinds(THH& hand, int seatCount);
// Gives the players who busted in the hand their finishing places, the
// smaller stack before the hand finishing worse; when the paid half of the
// field is reached every remaining seat gets place 1.
void AssignFinishingPlaces(TFinishingPlaces& places, const THH& after, const THH& before);

}  // namespace kova::pushfold
