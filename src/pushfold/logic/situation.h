#pragma once
// One pre-flop push-or-fold decision of a tournament hand: every sequence of
// fold and all-in decisions still possible, its probability under the
// players' opponent models, and its value in tournament equity (ICM, or the
// following hands played out to a set depth); and how many of the strongest
// hands the player to act should push.
//
// Positions count backwards from the big blind: 1 big blind, 2 small blind,
// 3 button, and the highest position acts first. Per-position arrays are
// indexed 1..10.

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "pushfold/logic/hand_evaluator.h"
#include "pushfold/logic/hand_record.h"

namespace kova::pushfold {

// The deepest look-ahead a situation will do: each extra hand multiplies the
// work by the number of outcomes of a hand (over a hundred at ten players).
// A deeper one asked for is computed at this depth; ComputedDepth tells.
constexpr int kMaxSituationDepth = 2;

// Per player of the hand (same order as the hand record's players).
struct TSeatInput {
  std::int32_t Action = -1;  // -1 none, 0 fold, 1 all-in
  double Open = 0;           // fraction 0..1; 0 = use the model
  double Call = 0;           // fraction 0..1; 0 = use the model
  std::shared_ptr<const TModelValues> Model;  // null: a model of zeros
};

struct TSituationOptions {
  int Depth = 0;     // further hands to simulate; clamped to 0..kMaxSituationDepth
  double Edge = 0;   // fraction of the prize pool a push must gain over folding
  // Clock difference between the hand histories and the tournament start, in
  // days (3 seconds unless set).
  double ClockCorrectionDays = 3.0 / 86400.0;
  // When set, a look-ahead calculation stops as soon as it sees the flag.
  const std::atomic<bool>* Cancel = nullptr;
  // The most threads that play out a look-ahead (0: one per processor); a
  // small one stays on the calling thread. All of them have finished when
  // the constructor returns, and the results do not depend on their number.
  int Threads = 0;
};

using TPositionValues = std::array<double, kMaxPlayers + 1>;

struct TBranch {
  std::array<std::int32_t, kMaxPlayers + 1> Flags{};  // 1 = all-in, per position
  // [0] the branch weight (product of the action probabilities), [p] the
  // probability of position p's action.
  TPositionValues Prob{};
  std::int32_t AllInCount = 0;
  std::array<std::int32_t, 2> AllIn{};  // all-in positions in order of action
  // Row 0: expected equity; rows 1..3: after the first all-in player wins,
  // a tie, the second wins.
  std::array<TPositionValues, 4> Equity{};
};

class TSituation {
 public:
  // heroIndex: 0-based index of the hero in hand.Players (-1: none).
  // seats: one entry per player of the hand; missing entries act as none.
  TSituation(const TTournamentInfo& tournament, const THH& hand, int heroIndex,
             std::vector<TSeatInput> seats, const TSituationOptions& options);

  // Number of strongest hands (0..169) the hero at this position should
  // push; the result's range share is written into the branch table.
  int SolveHero(int heroPosition);
  // The branch table as text lines.
  std::vector<std::string> PrintBranches() const;

  // The look-ahead asked for in the options, and the one this situation
  // computed: the asked one within 0..kMaxSituationDepth.
  int RequestedDepth() const { return requestedDepth_; }
  int ComputedDepth() const { return options_.Depth; }
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

  // What a player of the hand brings to the next hands (by player index).
  struct PlayerInput {
    std::int32_t Action = -1;
    double Open = 0, Call = 0;
    const TModelValues* Model = nullptr;  // owned by the first hand's seat inputs
  };
  using PlayerInputs = std::array<PlayerInput, kMaxPlayers>;
  struct Memo;
  class LookAhead;

  // A next hand of the look-ahead: seated, blinds posted and its branches
  // listed, but not yet valued.
  TSituation(const TTournamentInfo& tournament, const THH& hand, int heroIndex, const PlayerInputs& players,
             const TSituationOptions& options, Memo& memo);

  bool Valid(int p) const { return p >= 1 && p <= count_; }
  void Prepare(Memo& memo);
  void SetBlindLevel();
  void SeatPositions();
  void PostBlinds();
  void ListBranches(Memo& memo);
  double ActionProbability(int p) const;
  void BuildActionTree(int p, double w);
  void RecordBranch(double w);
  int FirstRow(int branch) const;
  int LastRow(int branch) const;
  TPositionValues RowStacks(int branch, int row) const;
  bool ValueRow(int branch, int row, Memo& memo);
  bool ValueAllRows(Memo& memo);
  void CombineShowdowns();
  Pots ShowdownPots(int a, int b) const;
  std::unique_ptr<TSituation> NextHand(const TPositionValues& stacks, TPositionValues& settled, Memo& memo) const;
  TPositionValues ValueFromNextHand(const TSituation& next) const;
  TPositionValues ICMOfPositions(const TPositionValues& stacks) const;
  bool ConsistentWithEarlierActions(const TBranch& b, int hero) const;
  void ApplyHeroRange(int hero, int hands);
  bool StopRequested() const;

  TTournamentInfo tournament_;
  THH hand_;
  int heroIndex_ = -1;
  std::vector<TSeatInput> seats_;  // keeps the models alive
  PlayerInputs players_{};
  TSituationOptions options_;
  int requestedDepth_ = 0;
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
  // Per branch with a showdown: the chances of its outcomes (rows 1..3).
  std::vector<std::array<double, 3>> chances_;
};

}  // namespace kova::pushfold
