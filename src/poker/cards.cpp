#include "poker/cards.h"

#include <algorithm>
#include <map>

namespace kova::poker {

namespace {

constexpr int kRankMaskSize = 1 << 13;

struct RankTables {
  std::array<std::uint8_t, kRankMaskSize> bitCount{};
  std::array<std::uint16_t, kRankMaskSize> top3{};
  std::array<std::uint16_t, kRankMaskSize> top5{};
  std::array<std::uint16_t, kRankMaskSize> straight{};  // bit of the top card, 0 = none
};

constexpr std::uint16_t TopBits(unsigned mask, int n) {
  std::uint16_t out = 0;
  for (int r = 12; r >= 0 && n > 0; --r) {
    if (mask & (1u << r)) {
      out = static_cast<std::uint16_t>(out | (1u << r));
      --n;
    }
  }
  return out;
}

constexpr RankTables MakeRankTables() {
  RankTables t;
  for (unsigned m = 0; m < kRankMaskSize; ++m) {
    int count = 0;
    for (int r = 0; r < 13; ++r) count += (m >> r) & 1;
    t.bitCount[m] = static_cast<std::uint8_t>(count);
    t.top3[m] = TopBits(m, 3);
    t.top5[m] = TopBits(m, 5);
    std::uint16_t st = 0;
    for (int top = 12; top >= 4 && st == 0; --top) {
      const unsigned run = 0x1Fu << (top - 4);
      if ((m & run) == run) st = static_cast<std::uint16_t>(1u << top);
    }
    // The wheel: ace plays low under the five.
    if (st == 0 && (m & 0x100Fu) == 0x100Fu) st = 1u << 3;
    t.straight[m] = st;
  }
  return t;
}

// Built once at start-up: a compile-time table this size exceeds clang's
// constant-evaluation step limit.
const RankTables kRank = MakeRankTables();

inline unsigned TopBit(unsigned m) { return 1u << (31 - __builtin_clz(m)); }

constexpr std::uint32_t Value(unsigned category, unsigned high, unsigned low) {
  return (category << 26) | (high << 13) | low;
}

}  // namespace

std::uint32_t EvaluateHand(CardMask cards) {
  const unsigned s0 = static_cast<unsigned>(cards) & 0x1FFFu;
  const unsigned s1 = static_cast<unsigned>(cards >> 16) & 0x1FFFu;
  const unsigned s2 = static_cast<unsigned>(cards >> 32) & 0x1FFFu;
  const unsigned s3 = static_cast<unsigned>(cards >> 48) & 0x1FFFu;

  // With five cards of one suit among seven, quads and full houses are
  // impossible, so a flush decides the hand at once.
  for (unsigned s : {s0, s1, s2, s3}) {
    if (kRank.bitCount[s] >= 5) {
      const unsigned st = kRank.straight[s];
      return st ? Value(8, st, 0) : Value(5, kRank.top5[s], 0);
    }
  }

  const unsigned ranks = s0 | s1 | s2 | s3;
  const unsigned quads = s0 & s1 & s2 & s3;
  if (quads) {
    const unsigned q = TopBit(quads);
    return Value(7, q, TopBit(ranks ^ q));
  }
  const unsigned three = (s0 & s1 & (s2 | s3)) | (s2 & s3 & (s0 | s1));
  const unsigned two = (s0 & s1) | (s2 & s3) | ((s0 | s1) & (s2 | s3));
  const unsigned pairs = two & ~three;
  unsigned t = 0;
  if (three) {
    t = TopBit(three);
    const unsigned rest = (three ^ t) | pairs;
    if (rest) return Value(6, t, TopBit(rest));
  }
  if (const unsigned st = kRank.straight[ranks]) return Value(4, st, 0);
  if (t) {
    const unsigned others = ranks ^ t;
    const unsigned k1 = TopBit(others);
    return Value(3, t, k1 | TopBit(others ^ k1));
  }
  if (pairs) {
    const unsigned p1 = TopBit(pairs);
    const unsigned restPairs = pairs ^ p1;
    if (restPairs) {
      const unsigned both = p1 | TopBit(restPairs);
      return Value(2, both, TopBit(ranks & ~both));
    }
    return Value(1, p1, kRank.top3[ranks ^ p1]);
  }
  return Value(0, kRank.top5[ranks], 0);
}

std::string HandName(int hand) {
  if (hand < 0 || hand >= kHandClassCount) return "??";
  const int r1 = HandFirstRank(hand);
  const int r2 = HandSecondRank(hand);
  std::string s;
  if (r1 == r2) {
    s = {kRankLetters[r1 - 1], kRankLetters[r1 - 1]};
  } else if (r2 > r1) {
    s = {kRankLetters[r2 - 1], kRankLetters[r1 - 1], 's'};
  } else {
    s = {kRankLetters[r1 - 1], kRankLetters[r2 - 1], 'o'};
  }
  return s;
}

namespace {

// 1-based rank of a letter, 0 when none; "10" is read by the caller.
int RankOfLetter(char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  for (int i = 0; i < 13; ++i) {
    if (kRankLetters[i] == c) return i + 1;
  }
  return 0;
}

}  // namespace

int ParseHandClass(std::string_view text) {
  int ranks[2] = {0, 0};
  std::size_t pos = 0;
  for (int i = 0; i < 2; ++i) {
    if (pos >= text.size()) return -1;
    if (text.substr(pos, 2) == "10") {
      ranks[i] = 9;
      pos += 2;
    } else {
      ranks[i] = RankOfLetter(text[pos]);
      pos += 1;
    }
    if (ranks[i] == 0) return -1;
  }
  const std::string_view rest = text.substr(pos);
  const int high = std::max(ranks[0], ranks[1]);
  const int low = std::min(ranks[0], ranks[1]);
  if (high == low) return rest.empty() ? PairHand(high) : -1;
  if (rest == "s" || rest == "S") return SuitedHand(high, low);
  if (rest == "o" || rest == "O") return OffsuitHand(high, low);
  return -1;
}

std::vector<HoleCards> HandComboList(int hand) {
  std::vector<HoleCards> out;
  if (hand < 0 || hand >= kHandClassCount) return out;
  const int r1 = HandFirstRank(hand) - 1;
  const int r2 = HandSecondRank(hand) - 1;
  if (r1 == r2) {
    for (int a = 0; a < 4; ++a) {
      for (int b = a + 1; b < 4; ++b) out.push_back({MakeCard(r1, a), MakeCard(r1, b)});
    }
  } else if (r2 > r1) {
    for (int s = 0; s < 4; ++s) out.push_back({MakeCard(r2, s), MakeCard(r1, s)});
  } else {
    for (int a = 0; a < 4; ++a) {
      for (int b = 0; b < 4; ++b) {
        if (a != b) out.push_back({MakeCard(r1, a), MakeCard(r2, b)});
      }
    }
  }
  return out;
}

int HandClassOfCards(int card1, int card2) {
  const int r1 = CardRank(card1) + 1;
  const int r2 = CardRank(card2) + 1;
  const int high = std::max(r1, r2);
  const int low = std::min(r1, r2);
  if (high == low) return PairHand(high);
  return CardSuit(card1) == CardSuit(card2) ? SuitedHand(high, low) : OffsuitHand(high, low);
}

ShowdownCounts CountShowdowns(HoleCards first, HoleCards second) {
  const CardMask hole1 = CardBit(first.first) | CardBit(first.second);
  const CardMask hole2 = CardBit(second.first) | CardBit(second.second);
  CardMask deck[48];
  int n = 0;
  for (int c = 0; c < 52; ++c) {
    const CardMask bit = CardBit(c);
    if (!((hole1 | hole2) & bit)) deck[n++] = bit;
  }
  ShowdownCounts counts;
  if (n != 48) return counts;  // the two hands share a card: no boards
  std::uint64_t win = 0;
  std::uint64_t tie = 0;
  for (int a = 0; a < 44; ++a) {
    const CardMask ba = deck[a];
    for (int b = a + 1; b < 45; ++b) {
      const CardMask bb = ba | deck[b];
      for (int c = b + 1; c < 46; ++c) {
        const CardMask bc = bb | deck[c];
        for (int d = c + 1; d < 47; ++d) {
          const CardMask bd = bc | deck[d];
          for (int e = d + 1; e < 48; ++e) {
            const CardMask board = bd | deck[e];
            const std::uint32_t v1 = EvaluateHand(board | hole1);
            const std::uint32_t v2 = EvaluateHand(board | hole2);
            win += v1 > v2;
            tie += v1 == v2;
          }
        }
      }
    }
  }
  counts.win = win;
  counts.tie = tie;
  counts.lose = kBoardsPerMatchup - win - tie;
  return counts;
}

namespace {

// Key of a pair of hole cards after a suit permutation: each hand's cards
// sorted, first hand in the high byte pair.
std::uint32_t MatchupKey(const int (&perm)[4], HoleCards a, HoleCards b) {
  auto map = [&](int card) { return MakeCard(CardRank(card), perm[CardSuit(card)]); };
  int a1 = map(a.first), a2 = map(a.second), b1 = map(b.first), b2 = map(b.second);
  if (a1 < a2) std::swap(a1, a2);
  if (b1 < b2) std::swap(b1, b2);
  return (static_cast<std::uint32_t>(a1) << 24) | (static_cast<std::uint32_t>(a2) << 16) |
         (static_cast<std::uint32_t>(b1) << 8) | static_cast<std::uint32_t>(b2);
}

}  // namespace

std::vector<MatchupGroup> MatchupGroups(int handA, int handB) {
  static const auto perms = [] {
    std::vector<std::array<int, 4>> list;
    std::array<int, 4> p = {0, 1, 2, 3};
    do list.push_back(p);
    while (std::next_permutation(p.begin(), p.end()));
    return list;
  }();
  std::map<std::uint32_t, MatchupGroup> groups;
  for (const HoleCards& a : HandComboList(handA)) {
    for (const HoleCards& b : HandComboList(handB)) {
      if (a.first == b.first || a.first == b.second || a.second == b.first || a.second == b.second) continue;
      std::uint32_t best = 0xFFFFFFFFu;
      for (const auto& p : perms) {
        const int perm[4] = {p[0], p[1], p[2], p[3]};
        best = std::min(best, MatchupKey(perm, a, b));
      }
      MatchupGroup& g = groups[best];
      if (g.multiplicity == 0) {
        g.first = a;
        g.second = b;
      }
      ++g.multiplicity;
    }
  }
  std::vector<MatchupGroup> out;
  out.reserve(groups.size());
  for (const auto& entry : groups) out.push_back(entry.second);
  return out;
}

int CompatibleCombos(int handA, int handB) {
  const std::vector<HoleCards> as = HandComboList(handA);
  if (as.empty()) return 0;
  const HoleCards a = as.front();
  int n = 0;
  for (const HoleCards& b : HandComboList(handB)) {
    if (a.first != b.first && a.first != b.second && a.second != b.first && a.second != b.second) ++n;
  }
  return n;
}

}  // namespace kova::poker
