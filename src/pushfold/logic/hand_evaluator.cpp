#include "pushfold/logic/hand_evaluator.h"

#include <cmath>

namespace kova::pushfold {

namespace {

#include "pushfold/logic/preflop_equity.inc"

constexpr int TriIndex(int a, int b) { return a * (a + 1) / 2 + b; }  // b <= a

struct Tables {
  THandRange strength;
  THandVsHandTable vs{};
  TComboCountTable combos{};
};

const Tables& GetTables() {
  static const Tables tables = [] {
    Tables t;
    for (int a = 0; a < kHandClassCount; ++a) {
      for (int b = 0; b < kHandClassCount; ++b) t.combos[a][b] = CompatibleCombos(a, b);
    }
    for (int a = 0; a < kHandClassCount; ++a) {
      for (int b = 0; b <= a; ++b) {
        const double total =
            static_cast<double>(HandCombos(a)) * t.combos[a][b] * static_cast<double>(kBoardsPerMatchup);
        const double win = 100.0 * kEquityWinCounts[TriIndex(a, b)] / total;
        const double tie = 100.0 * kEquityTieCounts[TriIndex(a, b)] / total;
        t.vs[a][b] = {win, tie};
        // The mirror cell, for readers that index either way round.
        t.vs[b][a] = {100.0 - win - tie, tie};
      }
    }
    t.strength.Count = kHandClassCount;
    for (int i = 0; i < kHandClassCount; ++i) {
      const int h = kStrengthOrder[i];
      t.strength.Entries[i] = {h, HandCombos(h)};
    }
    return t;
  }();
  return tables;
}

bool ValidHand(int h) { return h >= 0 && h < kHandClassCount; }

}  // namespace

const THandRange& HandStrengthOrder() { return GetTables().strength; }
const THandVsHandTable& HandVsHandTable() { return GetTables().vs; }
const TComboCountTable& ComboCountTable() { return GetTables().combos; }

THandVsHandCounts HandVsHandCounts(int handA, int handB) {
  THandVsHandCounts c;
  if (!ValidHand(handA) || !ValidHand(handB)) return c;
  c.Total = static_cast<std::uint64_t>(HandCombos(handA)) * CompatibleCombos(handA, handB) * kBoardsPerMatchup;
  if (handB <= handA) {
    c.Win = kEquityWinCounts[TriIndex(handA, handB)];
    c.Tie = kEquityTieCounts[TriIndex(handA, handB)];
  } else {
    c.Tie = kEquityTieCounts[TriIndex(handB, handA)];
    c.Win = c.Total - c.Tie - kEquityWinCounts[TriIndex(handB, handA)];
  }
  return c;
}

THandRange TopRange(double fraction) {
  const THandRange& order = HandStrengthOrder();
  if (fraction >= 1.0) return order;
  THandRange out;
  if (!(fraction > 0.0)) return out;  // zero, negative or not a number
  // Round to the nearest combination count, halves to even.
  const double target = std::nearbyint(fraction * kComboCount);
  double sum = 0;
  for (int i = 0; i < order.Count; ++i) {
    sum += order.Entries[i].Combos;
    if (sum > target) break;
    out.Entries[i] = order.Entries[i];
    out.Count = i + 1;
  }
  return out;
}

double RangeShare(int n) {
  if (n <= 0) return 0.0;
  const THandRange& order = HandStrengthOrder();
  if (n > order.Count) n = order.Count;
  int sum = 0;
  for (int i = 0; i < n; ++i) sum += order.Entries[i].Combos;
  return static_cast<double>(sum) / kComboCount;
}

TEquity HandVsHandEquity(int hand1, int hand2) {
  if (!ValidHand(hand1) || !ValidHand(hand2)) return {};
  const THandVsHandTable& t = HandVsHandTable();
  if (hand2 <= hand1) {
    const THandVsHandEntry& e = t[hand1][hand2];
    return {e.Win, e.Tie, 100.0 - e.Win - e.Tie};
  }
  const THandVsHandEntry& e = t[hand2][hand1];
  return {100.0 - e.Win - e.Tie, e.Tie, e.Win};
}

TEquity RangeVsRangeEquity(const THandRange& a, const THandRange& b) {
  if (a.Count <= 0) return {0, 0, 1};
  if (b.Count <= 0) return {1, 0, 0};
  const TComboCountTable& combos = ComboCountTable();
  const int countA = a.Count > kHandClassCount ? kHandClassCount : a.Count;
  const int countB = b.Count > kHandClassCount ? kHandClassCount : b.Count;
  double sumWin = 0;
  double sumTie = 0;
  std::int64_t total = 0;
  for (int i = 0; i < countA; ++i) {
    const int ha = a.Entries[i].Hand;
    const int ca = a.Entries[i].Combos;
    if (!ValidHand(ha)) continue;
    double accWin = 0;
    double accTie = 0;
    std::int64_t s = 0;
    for (int j = 0; j < countB; ++j) {
      const int hb = b.Entries[j].Hand;
      if (!ValidHand(hb)) continue;
      const TEquity e = HandVsHandEquity(ha, hb);
      const int n = combos[ha][hb];
      accWin += n * e.Win;
      accTie += n * e.Tie;
      s += n;
    }
    sumWin += ca * accWin;
    sumTie += ca * accTie;
    total += static_cast<std::int64_t>(ca) * s;
  }
  if (total == 0) return {0, 0, 1};
  const double win = sumWin / static_cast<double>(total) / 100.0;
  const double tie = sumTie / static_cast<double>(total) / 100.0;
  return {win, tie, 1.0 - win - tie};
}

std::string RangeTextOf(const THandRange& range) {
  if (range.Count <= 0) return "none";
  if (range.Count >= kHandClassCount) return "all hands";
  // Per high rank the lowest suited and offsuit kicker met (equal to the
  // rank itself: none), and the lowest pair (14: none).
  int suited[14];
  int offsuit[14];
  for (int r = 0; r < 14; ++r) suited[r] = offsuit[r] = r;
  int pair = 14;
  for (int i = 0; i < range.Count; ++i) {
    const int h = range.Entries[i].Hand;
    if (!ValidHand(h)) continue;
    const int r1 = HandFirstRank(h);
    const int r2 = HandSecondRank(h);
    if (r1 == r2) {
      pair = r1;
    } else if (r2 > r1) {
      suited[r2] = r1;
    } else {
      offsuit[r1] = r2;
    }
  }
  auto letter = [](int rank) { return kRankLetters[rank - 1]; };
  std::string text;
  auto group = [&](std::string g) {
    if (!text.empty()) text += ',';
    text += g;
  };
  if (pair <= 13) {
    std::string g(2, letter(pair));
    if (pair < 13) g += '+';
    group(g);
  }
  for (int r = 13; r >= 2; --r) {
    if (r > offsuit[r]) {
      std::string g{letter(r), letter(offsuit[r])};
      if (r - 1 > offsuit[r]) g += '+';
      group(g);
    }
    if (suited[r] != offsuit[r] && r > suited[r]) {
      std::string g{letter(r), letter(suited[r]), 's'};
      if (r - 1 > suited[r]) g += '+';
      group(g);
    }
  }
  return text;
}

std::string RangeText(int n) {
  if (n <= 0) return "none";
  if (n >= kHandClassCount) return "all hands";
  THandRange prefix = HandStrengthOrder();
  prefix.Count = n;
  return RangeTextOf(prefix);
}

}  // namespace kova::pushfold
