#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "pushfold/logic/hand_evaluator.h"

using namespace kova::pushfold;

namespace {

// The built-in table must be what the enumeration gives today.
TEST(EquityTable, MatchesFreshEnumeration) {
  for (auto [a, b] : {std::pair{PairHand(13), PairHand(12)}, {PairHand(12), SuitedHand(13, 11)}}) {
    std::uint64_t win = 0, tie = 0, lose = 0;
    for (const MatchupGroup& g : MatchupGroups(a, b)) {
      const ShowdownCounts c = CountShowdowns(g.first, g.second);
      win += g.multiplicity * c.win;
      tie += g.multiplicity * c.tie;
      lose += g.multiplicity * c.lose;
    }
    const THandVsHandCounts table = HandVsHandCounts(a, b);
    EXPECT_EQ(table.Win, win) << HandName(a) << " vs " << HandName(b);
    EXPECT_EQ(table.Tie, tie);
    EXPECT_EQ(table.Total, win + tie + lose);
  }
}

}  // namespace
