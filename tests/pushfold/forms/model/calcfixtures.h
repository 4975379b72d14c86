// Hands, tournaments, models and a scratch data folder for the calculator's
// tests, built in code.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "pushfold/forms/model/calcmodel.h"
#include "tables/model/variables.h"

namespace kova::pushfold::forms::test {

// A sit-and-go hand: `count` players in seats 1..count with the given
// stacks (1500 each when empty), button on seat `button`, the blinds after
// it, hero at `heroSeat`, blinds 50/100 without ante and no time.
inline THH MakeHand(int count, int button, int heroSeat, std::vector<double> stacks = {}) {
  THH h;
  h.PlayerCount = count;
  for (int k = 0; k < count; ++k) {
    h.Players[k].Seat = k + 1;
    h.Players[k].Name = "Player" + std::to_string(k + 1);
    h.Players[k].Stack = k < static_cast<int>(stacks.size()) ? stacks[k] : 1500;
  }
  h.Button = button;
  h.SmallBlindSeat = button % count + 1;
  h.BigBlindSeat = (button + 1) % count + 1;
  h.HeroSeat = heroSeat;
  h.SmallBlind = 50;
  h.BigBlind = 100;
  // Everybody before the hero folded; the rest still to act.
  for (int k = 0; k < count; ++k) h.Action[k] = -1;
  return h;
}

inline TTournamentInfo MakeTournament(int seats = 10) {
  TTournamentInfo t;
  t.LevelMinutes = 8;
  t.SeatCount = seats;
  t.PaidPlaces = 3;
  t.Payouts = {0.5, 0.3, 0.2, 0, 0};
  t.Places.PlayerCount = seats;
  t.Places.NextPlace = seats;
  return t;
}

// A model whose value at (level, row, column) is distinct and below 100.
inline tables::TOpponentModel MakeModel(const std::string& name, const std::string& type, int seed) {
  tables::TOpponentModel m;
  m.Name.Assign(name);
  m.SetTypeName(type);
  for (int l = 0; l < 15; ++l)
    for (int r = 0; r < 11; ++r)
      for (int c = 0; c < 10; ++c) m.Values[l][r][c] = (seed * 7 + l * 3 + r * 5 + c) % 60 + 5;
  return m;
}

class ScratchFolder {
 public:
  ScratchFolder() {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("kova_calc_" + std::to_string(++counter) + "_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string Str() const { return path_.string(); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The engine's calculator lists empty while alive (and again afterwards).
struct FreshCalculatorData {
  FreshCalculatorData() { Clear(); }
  ~FreshCalculatorData() { Clear(); }
  static void Clear() {
    tables::OpponentModels.clear();
    tables::RegPlayers.clear();
    tables::StartDefaults.clear();
  }
};

}  // namespace kova::pushfold::forms::test
