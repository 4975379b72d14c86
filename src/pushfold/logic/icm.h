#pragma once
// Tournament equity by the Independent Chip Model (Malmuth-Harville): a
// player finishes first with the probability of his share of the chips, and
// each next place goes likewise among the players not yet placed.

#include <cstdint>
#include <span>
#include <vector>

namespace kova::pushfold {

// The most players ICMEquities accepts (its work grows with the subsets of
// players that can fill the paid places ahead of someone).
constexpr int kMaxIcmPlayers = 20;

// Equity of every player in the payouts' units; payouts[k] is the prize of
// place k + 1. Players without chips get 0. Empty when there are more than
// kMaxIcmPlayers players.
std::vector<double> ICMEquities(std::span<const double> stacks, std::span<const double> payouts);

// The same into `equity` (one entry per player), without allocating for up
// to ten players: the solver asks this millions of times. False, and
// `equity` untouched, when there are more than kMaxIcmPlayers players or
// `equity` is too short.
bool ICMEquitiesInto(std::span<const double> stacks, std::span<const double> payouts, std::span<double> equity);

// The ICM of many stack lists that differ from one base list in a few
// players each, as the rows of one hand do (only the players in the pot
// end it with other stacks). Every set of placed players without a changed
// player has the same chances in every row, so those divisions are done
// once per base and only the rest per row. Each row's equities have the
// bits ICMEquitiesInto gives for the same stacks.
class TIcmRows {
 public:
  // Forgets the previous base; the next row seeds the shared part.
  void Reset(std::span<const double> base, std::span<const double> payouts);
  // As ICMEquitiesInto(stacks, payouts, equity).
  bool Into(std::span<const double> stacks, std::span<double> equity);
  // As Into for each of three rows in turn. Rows that differ from the base
  // in the same players (the outcomes of one showdown) go through the sets
  // together: one walk instead of three, and three independent sums for the
  // processor to overlap.
  static constexpr int kRowsAtOnce = 3;
  bool IntoRows(const std::span<const double> (&stacks)[kRowsAtOnce], const std::span<double> (&equity)[kRowsAtOnce]);

 private:
  static constexpr int kPlayers = 10;
  static constexpr int kSets = 1 << kPlayers;
  static constexpr int kMaxSets = 386;  // sets of fewer than five of ten players
  void Seed(double total);
  // Whether a row may use the shared part; seeds it with the row's total
  // first if need be.
  bool Shares(std::span<const double> stacks, std::span<double> equity, double& total);
  // How rows differ from the base: the players changed (in the first row;
  // `same` when every row changes those), the players with chips and the
  // total chips of each row.
  struct Changes {
    std::uint32_t changed = 0;
    bool same = true;
    std::uint32_t withChips[kRowsAtOnce] = {};
    double total[kRowsAtOnce] = {};
  };
  template <int kRows>
  Changes ChangesOf(const std::span<const double>* stacks) const;
  template <int kRows>
  void Walk(const std::span<const double>* stacks, const std::span<double>* equity, const Changes& rows, double total);
  template <int kRows, int kWidth>
  void WalkOver(const std::span<const double>* stacks, const std::span<double>* equity, const Changes& rows,
                double total);

  int n_ = 0;
  int places_ = 0;
  int prizeCount_ = 0;
  bool seeded_ = false;
  double total_ = 0;
  std::uint32_t withChips_ = 0;
  double base_[kPlayers] = {};
  double prizes_[kMaxIcmPlayers] = {};
  double prob_[kSets];
  double placedChips_[kSets];
  // Per visited set, in visiting order, and player: the base's term of that
  // player's equity (0 where none is added).
  double term_[kMaxSets * kPlayers];
};

// The ICM of the rows of one hand to a close tolerance rather than to the
// bit, for tournaments that pay at most three places. A place's chances
// come from sums over single players and pairs instead of a walk over the
// sets of players placed ahead: with T the chips in play, s the stacks,
// a(j) = s(j) / (T - s(j)) and w(j,k) = s(j) s(k) (1/(T - s(j)) + 1/(T -
// s(k))) / (T - s(j) - s(k)), player i finishes first with s(i)/T, second
// with s(i)/T (sum of a over the others) and third with s(i)/T (sum of w
// over the pairs without i). The terms of the players a row leaves as
// they were in the base come from the base, so a row costs a few
// divisions per changed player.
class TIcmRowsQuick {
 public:
  // False when these payouts are not for it (a fourth paid place, or more
  // than ten players): use TIcmRows then.
  bool Reset(std::span<const double> base, std::span<const double> payouts);
  // As ICMEquitiesInto(stacks, payouts, equity) up to rounding; the stacks
  // hold as many players as the base.
  void Into(std::span<const double> stacks, std::span<double> equity);
  // Adds `weight` times what Into gives for these stacks to the sum of the
  // rows added since Reset, which Sum writes out. A row that keeps the
  // base's total and leaves three players with chips (every row of a hand
  // of more than three) is not valued player by player: each player's
  // share of it is linear in the sums over all players and pairs, so those
  // are summed over the rows, and per player only what the rows that
  // change him add. A row then costs the divisions of its changed players'
  // pairs and no pass over the others.
  void Add(std::span<const double> stacks, double weight);
  // The sum of the rows added (one entry per player of the base).
  void Sum(std::span<double> sum) const;

 private:
  static constexpr int kPlayers = 10;
  void Seed(double total);
  // The pair terms of player j at stacks s (with the inverses of their
  // rests) with every slot; 0 at j and where no chips are left.
  static void PairsOf(int j, const double* s, const double* inverse, double total, double* w);

  int n_ = 0;
  bool seeded_ = false;
  double total_ = 0;
  double prizes_[3] = {};
  alignas(16) double base_[kPlayers] = {};
  // The base's terms for the seeded total: 1/(T - s), a, and w by pair
  // (0 on the diagonal and for players without chips).
  alignas(16) double inverse_[kPlayers] = {};
  alignas(16) double single_[kPlayers] = {};
  alignas(16) double pair_[kPlayers][kPlayers] = {};
  // Per player, the sum of the base's pair terms holding him.
  alignas(16) double held_[kPlayers] = {};
  // The base's sums over all players and all pairs.
  double singles_ = 0, pairs_ = 0;

  // The rows added since Reset. Rows valued by Into weigh in `direct_`;
  // the others by their weight and their sums over players and pairs, all
  // rows together, and per player: the same over the rows that change him,
  // what he expects in those, and over the rest how far his pair sum moved
  // from the base's.
  int places_ = 0;
  alignas(16) double direct_[kPlayers] = {};
  double weight_ = 0, weightedSingles_ = 0, weightedPairs_ = 0;
  alignas(16) double changedWeight_[kPlayers] = {};
  alignas(16) double changedSingles_[kPlayers] = {};
  alignas(16) double changedPairs_[kPlayers] = {};
  alignas(16) double changedEquity_[kPlayers] = {};
  alignas(16) double heldMoved_[kPlayers] = {};
};

}  // namespace kova::pushfold
