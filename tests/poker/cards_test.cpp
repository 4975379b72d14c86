#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "poker/cards.h"

using namespace kova::poker;

namespace {

// Straightforward reference: category and tie-break ranks of the best five
// of the given cards, trying every five-card subset.
std::vector<int> ReferenceFive(const int* c) {
  int count[13] = {};
  bool flush = true;
  for (int i = 0; i < 5; ++i) {
    count[CardRank(c[i])]++;
    if (CardSuit(c[i]) != CardSuit(c[0])) flush = false;
  }
  std::vector<std::pair<int, int>> groups;  // (count, rank), biggest group first
  for (int r = 12; r >= 0; --r) {
    if (count[r]) groups.push_back({count[r], r});
  }
  std::stable_sort(groups.begin(), groups.end(), [](auto a, auto b) { return a.first > b.first; });
  bool straight = false;
  int top = -1;
  if (groups.size() == 5) {
    if (groups[0].second - groups[4].second == 4) {
      straight = true;
      top = groups[0].second;
    } else if (groups[0].second == 12 && groups[1].second == 3) {
      straight = true;
      top = 3;
    }
  }
  int cat = 0;
  if (straight && flush) cat = 8;
  else if (groups[0].first == 4) cat = 7;
  else if (groups[0].first == 3 && groups[1].first == 2) cat = 6;
  else if (flush) cat = 5;
  else if (straight) cat = 4;
  else if (groups[0].first == 3) cat = 3;
  else if (groups[0].first == 2 && groups[1].first == 2) cat = 2;
  else if (groups[0].first == 2) cat = 1;
  std::vector<int> v{cat};
  if (straight) {
    v.push_back(top);
  } else {
    for (auto& g : groups) v.push_back(g.second);
  }
  return v;
}

std::vector<int> ReferenceBest(const std::vector<int>& cards) {
  std::vector<int> best;
  const int n = static_cast<int>(cards.size());
  for (int a = 0; a < n; ++a)
    for (int b = a + 1; b < n; ++b)
      for (int c = b + 1; c < n; ++c)
        for (int d = c + 1; d < n; ++d)
          for (int e = d + 1; e < n; ++e) {
            const int h[5] = {cards[a], cards[b], cards[c], cards[d], cards[e]};
            best = std::max(best, ReferenceFive(h));
          }
  return best;
}

// "AsKs" style text to cards.
std::vector<int> Cards(const std::string& text) {
  std::vector<int> out;
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
    const int rank = static_cast<int>(std::string(kRankLetters).find(text[i]));
    const int suit = static_cast<int>(std::string("cdhs").find(text[i + 1]));
    out.push_back(MakeCard(rank, suit));
  }
  return out;
}

std::uint32_t Eval(const std::string& text) {
  CardMask m = 0;
  for (int c : Cards(text)) m |= CardBit(c);
  return EvaluateHand(m);
}

}  // namespace

TEST(HandEvaluation, KnownHandsRankInOrder) {
  // Each hand beats the next one.
  const char* ladder[] = {
      "AsKsQsJsTs2c3d",  // royal flush
      "5s4s3s2sAs9c9d",  // steel wheel
      "9c9d9h9sAcKd2h",  // quads, ace kicker
      "9c9d9h9sKcQd2h",  // quads, king kicker
      "AcAdAhKsKc2d3h",  // aces full
      "KcKdKhAsAcQd3h",  // kings full of aces
      "KcKdKhQsQcQdAh",  // kings full of queens (two trips)
      "AhJh9h4h2hKcKd",  // ace-high flush
      "AhKdQcJsTh2c3d",  // ace-high straight
      "Ac2d3h4s5c9d9h",  // wheel (beats trips)
      "9c9d9hAsKc2d3h",  // trips
      "KcKdQhQsJcJd2h",  // kings and queens, jack kicker
      "KcKdQhQs2c3dTh",  // kings and queens, ten kicker
      "KcKd9h7s5c3d2h",  // one pair
      "AcQd9h7s5c3d2h",  // high card
  };
  for (std::size_t i = 0; i + 1 < std::size(ladder); ++i) {
    EXPECT_GT(Eval(ladder[i]), Eval(ladder[i + 1])) << ladder[i] << " vs " << ladder[i + 1];
  }
  EXPECT_EQ(Eval("AcKdQhJsTc2d3h"), Eval("AdKhQsJcTd4c5s"));  // same straight splits
  EXPECT_EQ(HandCategory(Eval("5s4s3s2sAs9c9d")), 8);
  EXPECT_EQ(HandCategory(Eval("AcAdKhKsQcQd2h")), 2);  // three pairs play as two
}

TEST(HandEvaluation, AgreesWithReferenceOnRandomHands) {
  std::mt19937 rng(12345);
  std::vector<int> deck(52);
  for (int i = 0; i < 52; ++i) deck[i] = i;
  std::vector<int> prevCards;
  std::uint32_t prevValue = 0;
  std::vector<int> prevRef;
  for (int it = 0; it < 20000; ++it) {
    std::shuffle(deck.begin(), deck.end(), rng);
    const int n = 5 + it % 3;
    std::vector<int> cards(deck.begin(), deck.begin() + n);
    CardMask m = 0;
    for (int c : cards) m |= CardBit(c);
    const std::uint32_t value = EvaluateHand(m);
    const std::vector<int> ref = ReferenceBest(cards);
    ASSERT_EQ(HandCategory(value), ref[0]);
    if (it > 0) {
      const int want = (ref > prevRef) - (ref < prevRef);
      const int got = (value > prevValue) - (value < prevValue);
      ASSERT_EQ(got, want) << "hand " << it;
    }
    prevRef = ref;
    prevValue = value;
  }
}

TEST(HandClasses, NamesParseAndCombos) {
  struct Case {
    const char* text;
    int hand;
    const char* name;
    int combos;
  } cases[] = {
      {"AA", PairHand(13), "AA", 6},
      {"AKs", SuitedHand(13, 12), "AKs", 4},
      {"AKo", OffsuitHand(13, 12), "AKo", 12},
      {"KAs", SuitedHand(13, 12), "AKs", 4},
      {"t9o", OffsuitHand(9, 8), "T9o", 12},
      {"1010", PairHand(9), "TT", 6},
      {"22", 0, "22", 6},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseHandClass(c.text), c.hand) << c.text;
    EXPECT_EQ(HandName(c.hand), c.name);
    EXPECT_EQ(HandCombos(c.hand), c.combos);
    EXPECT_EQ(static_cast<int>(HandComboList(c.hand).size()), c.combos);
    for (const HoleCards& h : HandComboList(c.hand)) EXPECT_EQ(HandClassOfCards(h.first, h.second), c.hand);
  }
  for (const char* bad : {"", "A", "AK", "AAs", "AKx", "XX", "AKso", "1A"}) {
    EXPECT_EQ(ParseHandClass(bad), -1) << bad;
  }
  int total = 0;
  for (int h = 0; h < kHandClassCount; ++h) total += HandCombos(h);
  EXPECT_EQ(total, kComboCount);
}

TEST(HandClasses, IsomorphicGroupsCoverEveryCompatiblePair) {
  for (auto [a, b] : {std::pair{PairHand(13), PairHand(12)}, {SuitedHand(13, 12), OffsuitHand(13, 12)},
                      {OffsuitHand(7, 2), OffsuitHand(7, 2)}, {SuitedHand(5, 4), PairHand(5)}}) {
    std::uint32_t pairs = 0;
    for (const MatchupGroup& g : MatchupGroups(a, b)) pairs += g.multiplicity;
    EXPECT_EQ(pairs, static_cast<std::uint32_t>(HandCombos(a) * CompatibleCombos(a, b)));
  }
  EXPECT_EQ(CompatibleCombos(PairHand(13), SuitedHand(13, 12)), 2);
  EXPECT_EQ(CompatibleCombos(PairHand(13), PairHand(13)), 1);
  EXPECT_EQ(CompatibleCombos(OffsuitHand(13, 12), PairHand(11)), 6);
}
