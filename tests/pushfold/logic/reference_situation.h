#pragma once
// The push/fold solver and ICM as they were before the look-ahead was made
// fast: one thread, every next hand played out afresh, ICM over every subset
// of players. Kept only to check the fast solver against it, value for
// value, and to show the two speeds side by side in the benchmark.

#include <span>
#include <vector>

#include "pushfold/logic/icm.h"
#include "pushfold/logic/situation.h"

namespace kova::pushfold::reference {

std::vector<double> ICMEquities(std::span<const double> stacks, std::span<const double> payouts);

class TReferenceSituation {
 public:
  // heroIndex: 0-based index of the hero in hand.Players (-1: none).
  // seats: one entry per player of the hand; missing entries act as none.
  TReferenceSituation(const TTournamentInfo& tournament, const THH& hand, int heroIndex, std::vector<TSeatInput> seats,
                      const TSituationOptions& options);

  // Number of strongest hands (0..169) the hero at this position should
  // push; the result's range share is written into the branch table.
  int SolveHero(int heroPosition);
  // The branch table as text lines.
  std::vector<std::string> PrintBranches() const;

  int PlayerCount() const { return count_; }
  int HeroPosition() const { return heroPosition_; }
  int BlindLevel() const { return level_; }
  double BigBlindAmount() const { return bigBlind_; }
  double SmallBlindAmount() const { return smallBlind_; }
  double AnteAmount() const { return ante_; }
  double Pot() const { return pot_; }
  int BrokeCount() const { return brokeCount_; }
  int SeatAt(int position) const { return Valid(position) ? seat_[position] : 0; }
  double StartStack(int position) const { return Valid(position) ? startStack_[position] : 0; }
  double RemainingStack(int position) const { return Valid(position) ? stack_[position] : 0; }
  int BranchCount() const { return static_cast<int>(branches_.size()); }
  const TBranch& Branch(int b) const { return branches_.at(b - 1); }  // b from 1
  bool Cancelled() const { return cancelled_; }
  // Stacks of every position after the showdown of two all-in players
  // (outcome 0: first wins, 1: tie, 2: second wins).
  TPositionValues ShowdownStacks(int first, int second, int outcome) const;

 private:
  struct Pots {
    double Sa = 0, Sb = 0, Pot = 0, Side = 0;
  };

  bool Valid(int p) const { return p >= 1 && p <= count_; }
  void SetBlindLevel();
  void SeatPositions();
  void PostBlinds();
  void Evaluate();
  double ActionProbability(int p) const;
  void BuildActionTree(int p, double w);
  void RecordBranch(double w);
  void EvaluateBranch(TBranch& b);
  Pots ShowdownPots(int a, int b) const;
  TPositionValues BranchEquities(const TPositionValues& stacks);
  TPositionValues ICMOfPositions(const TPositionValues& stacks) const;
  bool ConsistentWithEarlierActions(const TBranch& b, int hero) const;
  void ApplyHeroRange(int hero, int hands);
  bool CancelRequested();

  TTournamentInfo tournament_;
  THH hand_;
  int heroIndex_ = -1;
  std::vector<TSeatInput> seats_;
  TSituationOptions options_;
  std::vector<double> payouts_;

  int count_ = 0;
  int heroPosition_ = 0;
  int level_ = 1;
  double bigBlind_ = 0, smallBlind_ = 0, ante_ = 0, pot_ = 0;
  int brokeCount_ = 0;
  bool seated_ = false;
  bool cancelled_ = false;

  std::array<std::int32_t, kMaxPlayers + 1> seat_{};
  std::array<std::int32_t, kMaxPlayers + 1> entry_{};  // player index (0-based)
  TPositionValues startStack_{};
  TPositionValues stack_{};
  std::array<std::int32_t, kMaxPlayers + 1> action_{};
  TPositionValues open_{}, call_{};
  std::array<const TModelValues*, kMaxPlayers + 1> model_{};

  // Enumeration state of the current path.
  int k_ = 0;
  std::array<std::int32_t, kMaxPlayers + 1> flags_{};
  TPositionValues prob_{};
  std::array<std::int32_t, kMaxPlayers + 1> allIn_{};

  std::vector<TBranch> branches_;
};

}  // namespace kova::pushfold::reference
