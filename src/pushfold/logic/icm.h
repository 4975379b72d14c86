#pragma once
// Tournament equity by the Independent Chip Model (Malmuth-Harville): a
// player finishes first with the probability of his share of the chips, and
// each next place goes likewise among the players not yet placed.

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

}  // namespace kova::pushfold
