#include "pushfold/hand_record.h"

#include <algorithm>

namespace kova::pushfold {

namespace {

bool ValidModelIndex(int level, int row, int column) {
  return level >= 1 && level <= kBlindLevelCount && row >= 0 && row <= 10 && column >= 1 && column <= 10;
}

int ModelIndex(int level, int row, int column) { return (level - 1) * 110 + row * 10 + (column - 1); }

int PlayerCountOf(const THH& hand) { return std::clamp<int>(hand.PlayerCount, 0, kMaxPlayers); }

}  // namespace

double TModelValues::At(int level, int row, int column) const {
  return ValidModelIndex(level, row, column) ? Values[ModelIndex(level, row, column)] : 0.0;
}

void TModelValues::Set(int level, int row, int column, double value) {
  if (ValidModelIndex(level, row, column)) Values[ModelIndex(level, row, column)] = value;
}

const std::array<TBlindLevel, kBlindLevelCount>& BlindStructure() {
  static const std::array<TBlindLevel, kBlindLevelCount> levels = {{
      {10, 20, 0},
      {15, 30, 0},
      {25, 50, 0},
      {50, 100, 0},
      {75, 150, 0},
      {100, 200, 0},
      {100, 200, 20},
      {200, 400, 40},
      {300, 600, 60},
      {400, 800, 80},
      {600, 1200, 120},
      {800, 1600, 160},
      {1000, 2000, 200},
      {1500, 3000, 300},
      {2000, 4000, 400},
  }};
  return levels;
}

int ClampBlindLevel(int level) { return std::clamp(level, 1, kBlindLevelCount); }

int PlayerIndexAtSeat(const THH& hand, int seat) {
  const int n = PlayerCountOf(hand);
  for (int i = 0; i < n; ++i) {
    if (hand.Players[i].Seat == seat) return i;
  }
  return -1;
}

int NextSeatWithChips(int seat, const THH& hand, int seatCount) {
  if (seatCount < 1) return 0;
  int s = seat;
  // One full turn round the table at most: with nobody holding chips there
  // is no such seat.
  for (int step = 0; step < seatCount; ++step) {
    s = s + 1;
    if (s > seatCount || s < 1) s = 1;
    const int i = PlayerIndexAtSeat(hand, s);
    if (i >= 0 && hand.Players[i].Stack > 0) return s;
  }
  return 0;
}

void MoveButtonAndBlinds(THH& hand, int seatCount) {
  const auto hasChips = [&](int seat) {
    const int i = PlayerIndexAtSeat(hand, seat);
    return i >= 0 && hand.Players[i].Stack > 0;
  };
  if (hand.SmallBlindSeat > 0 && hasChips(hand.SmallBlindSeat)) {
    hand.Button = NextSeatWithChips(hand.Button, hand, seatCount);
  }
  if (!hasChips(hand.BigBlindSeat)) {
    hand.BigBlindSeat = NextSeatWithChips(hand.Button, hand, seatCount);
    hand.SmallBlindSeat = 0;
  } else {
    hand.SmallBlindSeat = NextSeatWithChips(hand.Button, hand, seatCount);
    hand.BigBlindSeat = NextSeatWithChips(hand.SmallBlindSeat, hand, seatCount);
  }
}

void AssignFinishingPlaces(TFinishingPlaces& places, const THH& after, const THH& before) {
  const int n = std::min(PlayerCountOf(after), PlayerCountOf(before));
  for (;;) {
    if (places.NextPlace < 1) break;  // no place left to give
    int chosen = -1;
    for (int i = 0; i < n; ++i) {
      const int seat = after.Players[i].Seat;
      if (seat < 1 || seat > kMaxSeats) continue;
      if (after.Players[i].Stack > 0 || places.Place[seat - 1] != 0) continue;
      const double was = before.Players[i].Stack;
      if (was > 20000.0) continue;
      if (chosen < 0 || was <= before.Players[chosen].Stack) chosen = i;
    }
    if (chosen < 0) break;
    places.Place[after.Players[chosen].Seat - 1] = places.NextPlace;
    places.NextPlace -= 1;
  }
  if (places.PlayerCount >= 1 && places.NextPlace <= places.PlayerCount / 2) {
    const int last = std::min<int>(places.PlayerCount, kMaxSeats);
    for (int seat = 1; seat <= last; ++seat) {
      if (places.Place[seat - 1] == 0) places.Place[seat - 1] = 1;
    }
  }
}

}  // namespace kova::pushfold
