#pragma once
// What the push/fold calculator needs beside the engine's hand records: the
// tournament facts, an opponent model's action frequencies and the blind
// structure.

#include <array>
#include <cstdint>
#include <string>

#include "poker/hand_record.h"

namespace kova::pushfold {

constexpr int kMaxPlayers = 10;
constexpr int kMaxSeats = 10;
constexpr int kBlindLevelCount = 15;
constexpr int kMaxPaidPlaces = 5;

// The calculator works on the hands the tournament adapters read: the hand
// records and the routines that carry a hand over to the next one (button
// and blinds, finishing places) are shared with the engine.
using poker::THH;
using poker::TPlayerInfo;
using poker::TFinishingPlaces;
using poker::NextSeatWithChips;
using poker::MoveButtonAndBlinds;
using poker::AssignFinishingPlaces;

// What the calculator needs of the table's tournament (shared with the
// tournament adapters, which fill it).
using poker::TTournamentInfo;
static_assert(TTournamentInfo::MaxPaidPlaces == kMaxPaidPlaces);

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
inline int PlayerIndexAtSeat(const THH& hand, int seat) { return poker::SeatIndexOf(seat, hand) - 1; }

}  // namespace kova::pushfold
