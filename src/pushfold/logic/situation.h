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
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pushfold/logic/hand_evaluator.h"
#include "pushfold/logic/hand_record.h"
#include "pushfold/logic/icm.h"

namespace kova::pushfold {

// What a look-ahead may keep of the next hands it has valued, so that every
// branch leaving the same table is served by one play-out. Past it the
// calculation still finishes, playing out again what it could not keep.
constexpr std::size_t kNextHandCacheBytes = std::size_t{256} << 20;

// From this depth of look-ahead on, the last hands' ICM is worked out by
// pair sums (TIcmRowsQuick) where the payouts allow: equal to the walk over
// the sets up to rounding, not to the bit, and several times faster. Below
// it every value keeps the set walk's bits.
constexpr int kQuickIcmDepth = 3;

// Per player of the hand (same order as the hand record's players).
struct TSeatInput {
  std::int32_t Action = -1;  // -1 none, 0 fold, 1 all-in
  double Open = 0;           // fraction 0..1; 0 = use the model
  double Call = 0;           // fraction 0..1; 0 = use the model
  std::shared_ptr<const TModelValues> Model;  // null: a model of zeros
};

// How far a calculation has come: the units of work counted before the
// play-out starts (the rows handed out to the threads) and those finished.
// Written by the calculating threads, read by anyone.
struct TSituationProgress {
  std::atomic<std::int64_t> Total{0};
  std::atomic<std::int64_t> Done{0};
};

struct TSituationOptions {
  int Depth = 0;     // further hands to simulate (below 0: none)
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
  // When set, counts the work as it is done.
  TSituationProgress* Progress = nullptr;
  // The most memory the look-ahead keeps for next hands already valued.
  std::size_t CacheBytes = kNextHandCacheBytes;
};

// Everything the value of a next hand depends on within one calculation:
// the table after the branch (who sits where with which stack, button,
// blinds, finishing places, whose result is asked) and how many hands are
// still to be played. What led there (the branch, its probability, the
// hero's cards) is not in it, so every branch that leaves the same table
// shares one play-out. Within one calculation the tournament's payouts,
// seat count and the players' models stay the same and are left out.
struct TNextHandKey {
  std::int32_t Depth = 0;
  std::int32_t Count = 0;
  std::int32_t Hero = -1;  // index in the next hand's players
  std::int32_t Button = 0, SmallBlindSeat = 0, BigBlindSeat = 0;
  std::int32_t NextPlace = 0;
  std::array<std::int32_t, kMaxSeats> Place{};
  // Bits of the small blind, big blind, ante and hand time (the level).
  std::array<std::uint64_t, 4> Blinds{};
  std::array<std::int32_t, kMaxPlayers> Player{};  // the player in the first hand
  std::array<std::int32_t, kMaxPlayers> Seat{};
  std::array<std::uint64_t, kMaxPlayers> Stack{};  // bits
  bool operator==(const TNextHandKey&) const = default;
};

// What a look-ahead did with the next hands it met.
struct TNextHandStats {
  std::int64_t Played = 0;  // played out
  std::int64_t Reused = 0;  // served by a table already played out
  std::size_t PeakBytes = 0;     // the most memory kept for them at once
  std::size_t CeilingBytes = 0;  // what it was allowed
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

  // The hands played out after this one (the options' depth, at least 0).
  int Depth() const { return options_.Depth; }
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
  // The next hand that row `row` (0..3) of branch b (from 1) leads to; none
  // when the row is valued without one (no look-ahead, or the hero's place
  // is settled).
  std::optional<TNextHandKey> NextHandKey(int b, int row) const;
  // What the look-ahead did with its next hands (zeros without look-ahead).
  const TNextHandStats& NextHandStats() const { return stats_; }

 private:
  struct Pots {
    double Sa = 0, Sb = 0, Pot = 0, Side = 0;
  };

  // What a player of the hand brings to the next hands (by player index).
  struct PlayerInput {
    std::int32_t Action = -1;
    double Open = 0, Call = 0;
    const TModelValues* Model = nullptr;  // owned by the first hand's seat inputs
    std::int32_t Id = -1;                 // index in the first hand
  };
  using PlayerInputs = std::array<PlayerInput, kMaxPlayers>;
  // The next hand of a row, before it is seated.
  struct NextHandInputs {
    TTournamentInfo Tournament;
    THH Hand;
    int Hero = -1;
    PlayerInputs Players{};
  };
  // A next hand's value: per position of that hand, its seat and what the
  // seat expects over the hand's branches.
  struct HandValue {
    std::int32_t Count = 0;
    std::array<std::int32_t, kMaxPlayers + 1> Seat{};
    TPositionValues Sum{};
  };
  struct Memo;
  class Cache;
  struct Context;
  class LookAhead;

  // A next hand of the look-ahead, before Prepare seats it, posts the
  // blinds and lists its branches.
  TSituation(const NextHandInputs& in, const TSituationOptions& options);
  // Room for a next hand, seated later by Reseat.
  TSituation() = default;
  // As a new next hand, not yet prepared, in the room of this one's lists.
  void Renew(const NextHandInputs& in, const TSituationOptions& options);
  // The same, prepared.
  void Reseat(const NextHandInputs& in, const TSituationOptions& options, Memo& memo);
  // The value of a new next hand that is the look-ahead's last, by pair
  // sums as the branches are met, without writing them down; none, and the
  // hand prepared as by Reseat, when the payouts do not allow pair sums.
  std::optional<HandValue> ValueAsLastHand(const NextHandInputs& in, const TSituationOptions& options, Memo& memo,
                                           TIcmRowsQuick& quick);

  bool Valid(int p) const { return p >= 1 && p <= count_; }
  void Prepare(Memo& memo);
  void Seat();  // payouts, blind level, positions, blinds posted
  void SetBlindLevel();
  void SeatPositions();
  void PostBlinds();
  void ListBranches(Memo& memo);
  double ActionProbability(int p) const;
  void BuildActionTree(int p, double w);
  void RecordBranch(double w);
  void AddLeanRows(double w);
  int FirstRow(int branch) const;
  int LastRow(int branch) const;
  TPositionValues RowStacks(int branch, int row) const;
  bool ValueRow(int branch, int row, Context& context);
  void ValueAllRowsByIcm();
  void ValueRowsByIcm(TIcmRows& icm);
  // The value of a last hand of the look-ahead by pair sums; none when the
  // payouts do not allow them.
  std::optional<HandValue> ValueOfLastHand(TIcmRowsQuick& quick) const;
  void CombineShowdowns();
  Pots ShowdownPots(int a, int b) const;
  // Who of two all-in players is the longer stack, and their pots.
  struct Showdown {
    int longer = 0, shorter = 0;
    bool firstLonger = false;
    Pots pots;
  };
  Showdown ShowdownOf(int first, int second) const;  // valid, distinct positions
  TPositionValues StacksAfter(const Showdown& showdown, int outcome) const;
  // False, with `settled` the row's value, when the row needs no next hand.
  bool NextHandOf(const TPositionValues& stacks, NextHandInputs& next, TPositionValues& settled) const;
  TNextHandKey KeyOf(const NextHandInputs& next) const;
  HandValue ValueOfHand() const;
  TPositionValues ValueFromNextHand(const HandValue& next) const;
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
  std::array<double, kMaxPaidPlaces> payouts_{};
  int paidPlaces_ = 0;
  TNextHandStats stats_;

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
  // Set while a last hand's branches go straight into pair sums.
  struct Lean {
    TIcmRowsQuick* quick = nullptr;
    Memo* memo = nullptr;
    int rows = 0;  // branches met
  } lean_;

  std::vector<TBranch> branches_;
  // Per branch with a showdown: the chances of its outcomes (rows 1..3).
  std::vector<std::array<double, 3>> chances_;
};

}  // namespace kova::pushfold
