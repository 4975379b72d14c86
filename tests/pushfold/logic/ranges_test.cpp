#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "pushfold/logic/hand_evaluator.h"

using namespace kova::pushfold;

namespace {

int H(const char* text) { return ParseHandClass(text); }

THandRange RangeOf(std::initializer_list<const char*> hands) {
  THandRange r;
  for (const char* h : hands) r.Entries[r.Count++] = {H(h), HandCombos(H(h))};
  return r;
}

}  // namespace

TEST(StrengthOrder, HoldsEveryClassOnceStrongestFirst) {
  const THandRange& order = HandStrengthOrder();
  ASSERT_EQ(order.Count, kHandClassCount);
  std::set<int> seen;
  int combos = 0;
  for (int i = 0; i < order.Count; ++i) {
    seen.insert(order.Entries[i].Hand);
    EXPECT_EQ(order.Entries[i].Combos, HandCombos(order.Entries[i].Hand));
    combos += order.Entries[i].Combos;
  }
  EXPECT_EQ(seen.size(), 169u);
  EXPECT_EQ(combos, kComboCount);
  EXPECT_EQ(HandName(order.Entries[0].Hand), "AA");
  EXPECT_EQ(HandName(order.Entries[1].Hand), "KK");
  EXPECT_EQ(HandName(order.Entries[168].Hand), "32o");
}

TEST(Ranges, TopRangeAndShare) {
  EXPECT_EQ(TopRange(0.0).Count, 0);
  EXPECT_EQ(TopRange(-0.5).Count, 0);
  EXPECT_EQ(TopRange(1.0).Count, 169);
  EXPECT_EQ(TopRange(7.5).Count, 169);
  // 6 of 1326 is AA alone; one combination less rounds below it.
  EXPECT_EQ(TopRange(6.0 / 1326).Count, 1);
  EXPECT_EQ(TopRange(5.0 / 1326).Count, 0);
  EXPECT_EQ(TopRange(12.0 / 1326).Count, 2);
  // The longest prefix whose combinations stay within the target.
  for (double f : {0.05, 0.1, 0.3, 0.5, 0.9}) {
    const THandRange r = TopRange(f);
    const double target = std::nearbyint(f * 1326);
    EXPECT_LE(RangeShare(r.Count) * 1326, target + 1e-9);
    EXPECT_GT(RangeShare(r.Count + 1) * 1326, target);
  }
  EXPECT_EQ(RangeShare(0), 0.0);
  EXPECT_EQ(RangeShare(-3), 0.0);
  EXPECT_DOUBLE_EQ(RangeShare(169), 1.0);
  EXPECT_DOUBLE_EQ(RangeShare(500), 1.0);
  EXPECT_DOUBLE_EQ(RangeShare(1), 6.0 / 1326);
}

TEST(Equity, FactsAnyPlayerCanCheck) {
  const TEquity aaKk = HandVsHandEquity(H("AA"), H("KK"));
  EXPECT_NEAR(aaKk.Win, 82.0, 1.0);
  EXPECT_LT(aaKk.Tie, 1.0);
  // A pair against two higher overcards is close to a coin flip.
  for (auto [pair, overs] : {std::pair{"QQ", "AKo"}, {"22", "AKo"}, {"TT", "AKs"}, {"77", "QJo"}}) {
    const TEquity e = HandVsHandEquity(H(pair), H(overs));
    EXPECT_GT(e.Win + e.Tie / 2, 45.0) << pair << " vs " << overs;
    EXPECT_LT(e.Win + e.Tie / 2, 58.0) << pair << " vs " << overs;
  }
  // A dominated hand: AK against AQ wins about three times in four.
  EXPECT_NEAR(HandVsHandEquity(H("AKo"), H("AQo")).Win, 72.0, 3.0);
  // A hand against itself: equal win and lose.
  const TEquity same = HandVsHandEquity(H("AKo"), H("AKo"));
  EXPECT_NEAR(same.Win, same.Lose, 1e-9);
  EXPECT_GT(same.Tie, 40.0);
}

TEST(Equity, SwappingHandsSwapsWinAndLose) {
  for (int a = 0; a < kHandClassCount; a += 7) {
    for (int b = 0; b < kHandClassCount; b += 5) {
      const TEquity ab = HandVsHandEquity(a, b);
      const TEquity ba = HandVsHandEquity(b, a);
      EXPECT_NEAR(ab.Win, ba.Lose, 1e-9);
      EXPECT_NEAR(ab.Tie, ba.Tie, 1e-9);
      EXPECT_NEAR(ab.Win + ab.Tie + ab.Lose, 100.0, 1e-9);
      EXPECT_GE(ab.Lose, 0.0);
      const THandVsHandCounts c = HandVsHandCounts(a, b);
      const THandVsHandCounts d = HandVsHandCounts(b, a);
      EXPECT_EQ(c.Total, d.Total);
      EXPECT_EQ(c.Win + c.Tie + d.Win, c.Total);  // exact: win + tie + lose = all deals
    }
  }
  EXPECT_EQ(HandVsHandEquity(-1, 3).Win, 0.0);
  EXPECT_EQ(HandVsHandEquity(3, 169).Win, 0.0);
}

TEST(Equity, RangeAgainstRange) {
  const THandRange none;
  const THandRange aces = RangeOf({"AA"});
  const TEquity empty = RangeVsRangeEquity(none, none);
  EXPECT_EQ(empty.Win, 0.0);
  EXPECT_EQ(empty.Lose, 1.0);
  const TEquity vsNone = RangeVsRangeEquity(aces, none);
  EXPECT_EQ(vsNone.Win, 1.0);
  // One hand each: the hand-versus-hand entry as a fraction.
  const TEquity e = RangeVsRangeEquity(aces, RangeOf({"KK"}));
  EXPECT_NEAR(e.Win * 100, HandVsHandEquity(H("AA"), H("KK")).Win, 1e-9);
  // Combination weighting: AA against {KK, AKs} weighs KK 6, AKs 2 per ace pair.
  const TEquity mixed = RangeVsRangeEquity(aces, RangeOf({"KK", "AKs"}));
  const double want = (6 * HandVsHandEquity(H("AA"), H("KK")).Win + 2 * HandVsHandEquity(H("AA"), H("AKs")).Win) /
                      8 / 100;
  EXPECT_NEAR(mixed.Win, want, 1e-12);
  // Symmetry of two wide ranges.
  const TEquity ab = RangeVsRangeEquity(TopRange(0.3), TopRange(0.15));
  const TEquity ba = RangeVsRangeEquity(TopRange(0.15), TopRange(0.3));
  EXPECT_NEAR(ab.Win, ba.Lose, 1e-9);
  EXPECT_NEAR(ab.Tie, ba.Tie, 1e-9);
  EXPECT_LT(ab.Win, 0.5);
}

TEST(RangeTexts, Examples) {
  EXPECT_EQ(RangeText(0), "none");
  EXPECT_EQ(RangeText(169), "all hands");
  EXPECT_EQ(RangeText(1), "AA");
  EXPECT_EQ(RangeText(2), "KK+");
  // AA..88, then AKs, 77, AQs: pairs down to 77 and A-suited down to AQs.
  EXPECT_EQ(RangeText(10), "77+,AQs+");
  const THandRange example =
      RangeOf({"AA", "KK", "QQ", "JJ", "TT", "99", "88", "AKs", "AKo", "AQs", "AQo", "AJs", "AJo", "ATs", "ATo",
               "A9s", "A8s", "A7s", "KQs", "KQo", "KJs", "KJo", "KTs", "K9s"});
  EXPECT_EQ(RangeTextOf(example), "88+,AT+,A7s+,KJ+,K9s+");
  EXPECT_EQ(RangeTextOf(RangeOf({"AA", "AKo", "AKs"})), "AA,AK");  // suited with the same kicker folds in
  EXPECT_EQ(RangeTextOf(RangeOf({"AKs"})), "AKs");  // no pair at all
  // Pairs down to 22.
  const std::string wide = RangeText(120);
  EXPECT_EQ(wide.rfind("22+", 0), 0u) << wide;
}
