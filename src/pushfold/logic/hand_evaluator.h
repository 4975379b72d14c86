#pragma once
// Starting-hand ranges and their equities: the strongest hands that make up
// a share of all deals, hand-versus-hand and range-versus-range all-in
// equities, and the text of a range. The lookup tables are exact results of
// tools/equitygen built into the library.

#include <array>
#include <cstdint>
#include <string>

#include "poker/cards.h"

namespace kova::pushfold {

// Cards and hand classes are the shared poker vocabulary.
using namespace kova::poker;

struct THandRangeEntry {
  std::int32_t Hand = 0;    // class 0..168
  std::int32_t Combos = 0;  // card combinations the range counts for it
};

// A range of starting hands; entries past Count are not read.
struct THandRange {
  std::int32_t Count = 0;
  std::array<THandRangeEntry, kHandClassCount> Entries{};
};

struct TEquity {
  double Win = 0;
  double Tie = 0;
  double Lose = 0;
};

// All 169 classes strongest first (by all-in equity against a random hand),
// each with its full number of combinations.
const THandRange& HandStrengthOrder();

// Win and tie percentages of class a against class b; the rows a >= b are
// the ones read by HandVsHandEquity (the rest is filled symmetrically).
struct THandVsHandEntry {
  double Win = 0;
  double Tie = 0;
};
using THandVsHandTable = std::array<std::array<THandVsHandEntry, kHandClassCount>, kHandClassCount>;
const THandVsHandTable& HandVsHandTable();

// [a][b]: the combinations of class b that share no card with one fixed
// combination of class a.
using TComboCountTable = std::array<std::array<std::int32_t, kHandClassCount>, kHandClassCount>;
const TComboCountTable& ComboCountTable();

// The exact counts behind HandVsHandTable: deals (pair of combinations and
// board) that a wins and ties against b, and the number of such deals.
struct THandVsHandCounts {
  std::uint64_t Win = 0;
  std::uint64_t Tie = 0;
  std::uint64_t Total = 0;
};
THandVsHandCounts HandVsHandCounts(int handA, int handB);

// The strongest hands whose combinations fit into Fraction of 1326.
THandRange TopRange(double fraction);
// Share of all 1326 combinations held by the top n hands.
double RangeShare(int n);
// Percentages of hand1 against hand2.
TEquity HandVsHandEquity(int hand1, int hand2);
// Fractions (0..1) of range a against range b.
TEquity RangeVsRangeEquity(const THandRange& a, const THandRange& b);
// Text of the top n hands, e.g. "88+,AT+,A7s+,KJ+,K9s+".
std::string RangeText(int n);
// Text of any range listed strongest first: pairs from the lowest pair up,
// then per high rank the offsuit and suited groups down to the lowest kicker
// met ("none" when empty, "all hands" with all 169 entries).
std::string RangeTextOf(const THandRange& range);

}  // namespace kova::pushfold
