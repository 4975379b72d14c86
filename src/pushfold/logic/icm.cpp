#include "pushfold/logic/icm.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kova::pushfold {

namespace {

// Tables of up to this many players live on the stack.
constexpr int kStackTablePlayers = 10;

// std::popcount becomes a library call on processors assumed to lack the
// instruction, and the set walk below asks it for every set it visits.
int MemberCount(std::uint32_t set) {
  set = set - ((set >> 1) & 0x55555555u);
  set = (set & 0x33333333u) + ((set >> 2) & 0x33333333u);
  return static_cast<int>((((set + (set >> 4)) & 0x0F0F0F0Fu) * 0x01010101u) >> 24);
}

// The next set after `set`, in increasing order, with fewer than `limit`
// members; `end` when none is below it. A set with too many members has too
// many with any lower bits added as well, so the walk jumps straight past
// its lowest member.
std::uint32_t NextSmallSet(std::uint32_t set, int limit, std::uint32_t end) {
  std::uint32_t next = set + 1;
  while (next < end && MemberCount(next) >= limit) next += next & (~next + 1);
  return next < end ? next : end;
}

// The sets Accumulate visits for tables of up to ten players, in its order:
// for each number of places, every set with fewer members, increasing.
struct SmallSets {
  std::array<std::vector<std::uint16_t>, kStackTablePlayers + 1> ordered;  // by places 0..10
  SmallSets() {
    for (int places = 1; places <= kStackTablePlayers; ++places) {
      for (std::uint32_t set = 0; set < (std::uint32_t{1} << kStackTablePlayers); ++set) {
        if (MemberCount(set) < places) ordered[places].push_back(static_cast<std::uint16_t>(set));
      }
    }
  }
};

const SmallSets& SmallSetOrder() {
  static const SmallSets sets;
  return sets;
}

// Per set of up to ten players: 1 for each player outside it, 0 inside, to
// clear the members' terms by a product that changes no other bits.
struct SetMasks {
  alignas(16) double outside[std::size_t{1} << kStackTablePlayers][kStackTablePlayers];
  SetMasks() {
    for (std::uint32_t set = 0; set < (std::uint32_t{1} << kStackTablePlayers); ++set) {
      for (int i = 0; i < kStackTablePlayers; ++i) outside[set][i] = set & (std::uint32_t{1} << i) ? 0.0 : 1.0;
    }
  }
};

const SetMasks& SetMaskTable() {
  static const SetMasks masks;
  return masks;
}

// prob[S]: chance that exactly the players of S took the first |S| places;
// placedChips[S]: their chips. Only sets smaller than the paid places (the
// prizes given) are visited, in increasing order, so the sums build up in
// the same order however many sets are skipped. `sets(f)` calls f with each
// of them in that order, the empty set first: a ready list for small
// tables, a walk for larger ones.
template <class Sets>
void Accumulate(std::span<const double> stacks, std::span<const double> prizes, double total, double* prob,
                double* placedChips, std::span<double> equity, const Sets& sets) {
  const int n = static_cast<int>(stacks.size());
  const int places = static_cast<int>(prizes.size());
  std::array<double, kMaxIcmPlayers> chips{};
  std::array<double, kMaxIcmPlayers> eq{};
  std::uint32_t withChips = 0;
  for (int i = 0; i < n; ++i) {
    chips[i] = stacks[i];
    if (stacks[i] > 0) withChips |= std::uint32_t{1} << i;
  }
  prob[0] = 1.0;
  placedChips[0] = 0.0;
  sets([&](std::uint32_t set) {
    if (set == 0) return;
    const std::uint32_t low = set & (~set + 1);
    prob[set] = 0.0;
    placedChips[set] = placedChips[set ^ low] + std::max(0.0, chips[std::countr_zero(low)]);
  });
  sets([&](std::uint32_t set) {
    const double p = prob[set];
    if (p == 0) return;
    const double left = total - placedChips[set];
    if (left <= 0) return;
    const int placed = MemberCount(set);
    const double prize = prizes[placed];
    std::uint32_t open = withChips & ~set;
    if (placed + 1 < places) {
      for (; open; open &= open - 1) {
        const int i = std::countr_zero(open);
        const double next = p * chips[i] / left;
        eq[i] += next * prize;
        prob[set | (std::uint32_t{1} << i)] += next;
      }
    } else {
      for (; open; open &= open - 1) {
        const int i = std::countr_zero(open);
        const double next = p * chips[i] / left;
        eq[i] += next * prize;
      }
    }
  });
  for (int i = 0; i < n; ++i) equity[i] = eq[i];
}

}  // namespace

bool ICMEquitiesInto(std::span<const double> stacks, std::span<const double> payouts, std::span<double> equity) {
  const int n = static_cast<int>(stacks.size());
  if (n > kMaxIcmPlayers || equity.size() < stacks.size()) return false;
  std::fill(equity.begin(), equity.begin() + n, 0.0);
  double total = 0;
  for (double s : stacks) total += std::max(0.0, s);
  const int places = std::min<int>(static_cast<int>(payouts.size()), n);
  if (total <= 0 || places == 0) return true;
  const auto prizes = payouts.first(places);
  const std::uint32_t full = std::uint32_t{1} << n;
  if (n <= kStackTablePlayers) {
    // Only the entries of the sets visited are written and read.
    std::array<double, std::size_t{1} << kStackTablePlayers> prob;
    std::array<double, std::size_t{1} << kStackTablePlayers> placedChips;
    const std::vector<std::uint16_t>& order = SmallSetOrder().ordered[places];
    Accumulate(stacks, prizes, total, prob.data(), placedChips.data(), equity, [&](const auto& f) {
      for (std::uint16_t set : order) {
        if (set >= full) break;  // the list is increasing: the rest hold players past n
        f(set);
      }
    });
  } else {
    std::vector<double> prob(full);
    std::vector<double> placedChips(full);
    Accumulate(stacks, prizes, total, prob.data(), placedChips.data(), equity, [&](const auto& f) {
      for (std::uint32_t set = 0; set < full; set = NextSmallSet(set, places, full)) f(set);
    });
  }
  return true;
}

void TIcmRows::Reset(std::span<const double> base, std::span<const double> payouts) {
  seeded_ = false;
  n_ = static_cast<int>(base.size());
  places_ = std::min<int>(static_cast<int>(payouts.size()), n_);
  // No table holds more players than that: the rest are never paid.
  prizeCount_ = std::min<int>(static_cast<int>(payouts.size()), kMaxIcmPlayers);
  std::copy(payouts.begin(), payouts.begin() + prizeCount_, prizes_);
  if (n_ > kPlayers || places_ > 5) return;
  std::copy(base.begin(), base.end(), base_);
}

// The base's chances and terms, with the total chips of the rows.
void TIcmRows::Seed(double total) {
  seeded_ = true;
  total_ = total;
  withChips_ = 0;
  for (int i = 0; i < n_; ++i) {
    if (base_[i] > 0) withChips_ |= std::uint32_t{1} << i;
  }
  const std::uint32_t full = std::uint32_t{1} << n_;
  const std::vector<std::uint16_t>& order = SmallSetOrder().ordered[places_];
  prob_[0] = 1.0;
  placedChips_[0] = 0.0;
  for (std::uint16_t set : order) {
    if (set >= full) break;
    if (set == 0) continue;
    const std::uint32_t low = set & (~set + 1u);
    prob_[set] = 0.0;
    placedChips_[set] = placedChips_[set ^ low] + std::max(0.0, base_[std::countr_zero(low)]);
  }
  int k = 0;
  for (std::uint16_t set : order) {
    if (set >= full) break;
    double* term = term_ + k++ * kPlayers;
    std::fill(term, term + kPlayers, 0.0);
    const double p = prob_[set];
    if (p == 0) continue;
    const double left = total - placedChips_[set];
    if (left <= 0) continue;
    const int placed = MemberCount(set);
    const double prize = prizes_[placed];
    for (std::uint32_t open = withChips_ & ~std::uint32_t{set}; open; open &= open - 1) {
      const int i = std::countr_zero(open);
      const double next = p * base_[i] / left;
      term[i] = next * prize;
      if (placed + 1 < places_) prob_[set | (std::uint32_t{1} << i)] += next;
    }
  }
}

bool TIcmRows::Shares(std::span<const double> stacks, std::span<double> equity, double& total) {
  const int n = static_cast<int>(stacks.size());
  total = 0;
  for (double s : stacks) total += std::max(0.0, s);
  if (n != n_ || n_ > kPlayers || places_ > 5 || places_ == 0 || total <= 0 || equity.size() < stacks.size() ||
      (seeded_ && std::bit_cast<std::uint64_t>(total) != std::bit_cast<std::uint64_t>(total_))) {
    return false;
  }
  if (!seeded_) Seed(total);
  return true;
}

bool TIcmRows::Into(std::span<const double> stacks, std::span<double> equity) {
  double total = 0;
  if (!Shares(stacks, equity, total)) {
    return ICMEquitiesInto(stacks, std::span<const double>(prizes_, prizeCount_), equity);
  }
  const Changes rows = ChangesOf<1>(&stacks);
  Walk<1>(&stacks, &equity, rows, total);
  return true;
}

template <int kRows>
TIcmRows::Changes TIcmRows::ChangesOf(const std::span<const double>* stacks) const {
  Changes c;
  for (int r = 0; r < kRows; ++r) {
    std::uint32_t changed = 0;
    c.total[r] = 0;
    for (int i = 0; i < n_; ++i) {
      const double s = stacks[r][i];
      c.total[r] += std::max(0.0, s);
      if (std::bit_cast<std::uint64_t>(s) != std::bit_cast<std::uint64_t>(base_[i])) changed |= std::uint32_t{1} << i;
      if (s > 0) c.withChips[r] |= std::uint32_t{1} << i;
    }
    if (r == 0) c.changed = changed;
    c.same = c.same && changed == c.changed;
  }
  return c;
}

// The rows' equities from the base's shared part: every set holding a
// changed player is worked out afresh, row by row inside each set, so that
// several rows walk the sets once with independent sums for the processor
// to overlap; each row's sums run in the order they do on their own.
template <int kRows>
void TIcmRows::Walk(const std::span<const double>* stacks, const std::span<double>* equity, const Changes& rows,
                    double total) {
  // The dense loops run over the table's players rounded up to a pair.
  switch ((n_ + 1) / 2) {
    case 1: return WalkOver<kRows, 2>(stacks, equity, rows, total);
    case 2: return WalkOver<kRows, 4>(stacks, equity, rows, total);
    case 3: return WalkOver<kRows, 6>(stacks, equity, rows, total);
    case 4: return WalkOver<kRows, 8>(stacks, equity, rows, total);
    default: return WalkOver<kRows, kPlayers>(stacks, equity, rows, total);
  }
}

template <int kRows, int kWidth>
void TIcmRows::WalkOver(const std::span<const double>* stacks, const std::span<double>* equity, const Changes& rows,
                        double total) {
  const std::uint32_t changed = rows.changed;
  const std::uint32_t* withChips = rows.withChips;
  const int n = n_;
  const std::uint32_t full = std::uint32_t{1} << n;
  const std::vector<std::uint16_t>& order = SmallSetOrder().ordered[places_];
  // Only the entries of the sets with a changed player are written and read.
  std::array<double, kSets> prob[kRows];
  std::array<double, kSets> placedChips[kRows];
  for (std::uint16_t set : order) {
    if (set >= full) break;
    if (!(set & changed)) continue;
    const std::uint32_t low = set & (~set + 1u);
    const std::uint32_t rest = set ^ low;
    const int lowest = std::countr_zero(low);
    for (int r = 0; r < kRows; ++r) {
      prob[r][set] = 0.0;
      placedChips[r][set] = (rest & changed ? placedChips[r][rest] : placedChips_[rest]) + std::max(0.0, stacks[r][lowest]);
    }
  }
  // Adding a zero leaves an equity's bits as they are (none is -0), so
  // players without a term take part in dense loops that vectorise. The
  // changed players keep their sums apart: the dense loops add the base's
  // terms for them too.
  alignas(16) double eq[kRows][kPlayers] = {};
  alignas(16) double chips[kRows][kPlayers] = {};
  for (int r = 0; r < kRows; ++r) {
    for (int i = 0; i < n; ++i) chips[r][i] = std::max(0.0, stacks[r][i]);
  }
  std::array<int, kPlayers> changedPlayer{};
  double changedEq[kRows][kPlayers] = {};
  int changedCount = 0;
  for (std::uint32_t c = changed; c; c &= c - 1) changedPlayer[changedCount++] = std::countr_zero(c);
  const SetMasks& masks = SetMaskTable();
  int k = 0;
  for (std::uint16_t set : order) {
    if (set >= full) break;
    const double* term = term_ + k++ * kPlayers;
    const int placed = MemberCount(set);
    const double prize = prizes_[placed];
    const bool push = placed + 1 < places_;
    if (!(set & changed)) {
      // The base's chance and chips left, the same in every row.
      const double p = prob_[set];
      if (p == 0) continue;
      const double left = total - placedChips_[set];
      if (left <= 0) continue;
      for (int r = 0; r < kRows; ++r) {
        for (int i = 0; i < kWidth; ++i) eq[r][i] += term[i];
      }
      for (int j = 0; j < changedCount; ++j) {
        const int i = changedPlayer[j];
        const std::uint32_t bit = std::uint32_t{1} << i;
        for (int r = 0; r < kRows; ++r) {
          if (!(bit & withChips[r])) continue;
          const double next = p * stacks[r][i] / left;
          changedEq[r][j] += next * prize;
          if (push) prob[r][set | bit] += next;
        }
      }
      continue;
    }
    const double* outside = masks.outside[set];
    for (int r = 0; r < kRows; ++r) {
      const double p = prob[r][set];
      if (p == 0) continue;
      const double left = total - placedChips[r][set];
      if (left <= 0) continue;
      alignas(16) double next[kPlayers];
      for (int i = 0; i < kWidth; ++i) next[i] = p * chips[r][i] / left * outside[i];
      for (int i = 0; i < kWidth; ++i) eq[r][i] += next[i] * prize;
      for (int j = 0; j < changedCount; ++j) changedEq[r][j] += next[changedPlayer[j]] * prize;
      if (push) {
        for (std::uint32_t o = withChips[r] & ~std::uint32_t{set}; o; o &= o - 1) {
          const int i = std::countr_zero(o);
          prob[r][set | (std::uint32_t{1} << i)] += next[i];
        }
      }
    }
  }
  for (int r = 0; r < kRows; ++r) {
    for (int j = 0; j < changedCount; ++j) eq[r][changedPlayer[j]] = changedEq[r][j];
    for (int i = 0; i < n; ++i) equity[r][i] = eq[r][i];
  }
}

bool TIcmRows::IntoRows(const std::span<const double> (&stacks)[kRowsAtOnce],
                        const std::span<double> (&equity)[kRowsAtOnce]) {
  constexpr int kRows = kRowsAtOnce;
  const auto oneByOne = [&] {
    bool ok = true;
    for (int r = 0; r < kRows; ++r) ok = Into(stacks[r], equity[r]) && ok;
    return ok;
  };
  // Together only when every row takes the shared part, with the same
  // total (so seeding on the first row is what Into would do) and the same
  // changed players.
  double total = 0;
  if (!Shares(stacks[0], equity[0], total)) return oneByOne();
  for (int r = 0; r < kRows; ++r) {
    if (static_cast<int>(stacks[r].size()) != n_ || equity[r].size() < stacks[r].size()) return oneByOne();
  }
  const Changes rows = ChangesOf<kRows>(stacks);
  if (!rows.same) return oneByOne();
  for (int r = 0; r < kRows; ++r) {
    if (std::bit_cast<std::uint64_t>(rows.total[r]) != std::bit_cast<std::uint64_t>(total)) return oneByOne();
  }
  Walk<kRows>(stacks, equity, rows, total);
  return true;
}

bool TIcmRowsQuick::Reset(std::span<const double> base, std::span<const double> payouts) {
  seeded_ = false;
  n_ = static_cast<int>(base.size());
  if (n_ > kPlayers) return false;
  // As in ICMEquitiesInto, no more places are paid than there are players.
  const int places = std::min<int>(static_cast<int>(payouts.size()), n_);
  for (int k = 3; k < places; ++k) {
    if (payouts[k] != 0) return false;
  }
  for (int k = 0; k < 3; ++k) prizes_[k] = k < places ? payouts[k] : 0.0;
  places_ = std::min(places, 3);
  std::fill(base_, base_ + kPlayers, 0.0);
  for (int i = 0; i < n_; ++i) base_[i] = std::max(0.0, base[i]);
  std::fill(direct_, direct_ + kPlayers, 0.0);
  weight_ = weightedSingles_ = weightedPairs_ = 0;
  std::fill(changedWeight_, changedWeight_ + kPlayers, 0.0);
  std::fill(changedSingles_, changedSingles_ + kPlayers, 0.0);
  std::fill(changedPairs_, changedPairs_ + kPlayers, 0.0);
  std::fill(changedEquity_, changedEquity_ + kPlayers, 0.0);
  std::fill(heldMoved_, heldMoved_ + kPlayers, 0.0);
  return true;
}

namespace {

// The chances of the two orders in which j and k take the first two
// places, each times the share of the rest that the third needs (the
// third's own stack comes in later): 0 where no chips are left for a third.
// The same bits for (j, k) as for (k, j): each pair's term is added to
// both players' sums and to the sum of all, and taken out of them again,
// which only cancels if it is one number.
double PairTerm(double sj, double sk, double inverseJ, double inverseK, double total) {
  const double left = total - (sj + sk);
  if (!(sj > 0 && sk > 0 && left > 0)) return 0.0;
  return sj * sk * (inverseJ + inverseK) / left;
}

// Two doubles worked on at once (SSE2 on x86-64), and the mask a
// comparison of them gives.
using Two = double __attribute__((vector_size(16)));
using TwoMask = std::int64_t __attribute__((vector_size(16)));
static_assert(sizeof(Two) == 2 * sizeof(double));

// A sum of ten in a tree rather than a chain, for the processor to
// overlap: the pair sums need no particular order.
double SumOfTen(const double* v) {
  const double a = v[0] + v[1], b = v[2] + v[3], c = v[4] + v[5], d = v[6] + v[7], e = v[8] + v[9];
  return ((a + b) + (c + d)) + e;
}

double Inverse(double s, double total) {
  const double rest = total - s;
  return rest > 0 ? 1.0 / rest : 0.0;
}

}  // namespace

void TIcmRowsQuick::Seed(double total) {
  static_assert(kPlayers == 10, "the sums run over ten slots");
  seeded_ = true;
  total_ = total;
  for (int i = 0; i < kPlayers; ++i) {
    inverse_[i] = i < n_ ? Inverse(base_[i], total) : 0.0;
    single_[i] = base_[i] * inverse_[i];
  }
  for (int j = 0; j < kPlayers; ++j) {
    pair_[j][j] = 0;
    for (int k = j + 1; k < kPlayers; ++k) {
      pair_[j][k] = pair_[k][j] = PairTerm(base_[j], base_[k], inverse_[j], inverse_[k], total);
    }
  }
  for (int i = 0; i < kPlayers; ++i) held_[i] = SumOfTen(pair_[i]);
  singles_ = SumOfTen(single_);
  pairs_ = SumOfTen(held_) / 2;  // every pair is held by two players
}

void TIcmRowsQuick::PairsOf(int j, const double* s, const double* inverse, double total, double* w) {
  const double sj = s[j];
  const double inverseJ = inverse[j];
  // Dense over the ten slots two at a time, without branches: a slot
  // without chips (or past the players) gives a zero term. The compiler
  // leaves the divisions one by one otherwise.
  const Two sj2 = {sj, sj};
  const Two inverseJ2 = {inverseJ, inverseJ};
  const Two total2 = {total, total};
  const Two zero = {0.0, 0.0};
  for (int k = 0; k < kPlayers; k += 2) {
    Two sk, inverseK;
    std::memcpy(&sk, s + k, sizeof sk);
    std::memcpy(&inverseK, inverse + k, sizeof inverseK);
    // As PairTerm: the same bits either way round. Where no chips are
    // left the quotient is not a number or infinite, and masked away.
    const Two left = total2 - (sj2 + sk);
    const Two quotient = sj2 * sk * (inverseJ2 + inverseK) / left;
    const Two term = reinterpret_cast<Two>(reinterpret_cast<TwoMask>(quotient) & (left > zero));
    std::memcpy(w + k, &term, sizeof term);
  }
  w[j] = 0;
}

namespace {

// The stacks with none below 0 into `s`; answers how many hold chips.
int ClampStacks(std::span<const double> stacks, int n, double* s) {
  int holders = 0;
  for (int i = 0; i < n; ++i) {
    s[i] = std::max(0.0, stacks[i]);
    holders += s[i] > 0 ? 1 : 0;
  }
  return holders;
}

}  // namespace

void TIcmRowsQuick::Into(std::span<const double> stacks, std::span<double> equity) {
  const int n = n_;
  alignas(16) double s[kPlayers] = {};
  const int holders = ClampStacks(stacks, n, s);
  const double total = SumOfTen(s);
  std::fill(equity.begin(), equity.begin() + n, 0.0);
  if (total <= 0) return;
  if (!seeded_ || std::bit_cast<std::uint64_t>(total) != std::bit_cast<std::uint64_t>(total_)) Seed(total);
  std::uint32_t changed = 0;
  for (int i = 0; i < n; ++i) {
    if (std::bit_cast<std::uint64_t>(s[i]) != std::bit_cast<std::uint64_t>(base_[i])) changed |= std::uint32_t{1} << i;
  }
  alignas(16) double inverse[kPlayers];
  alignas(16) double single[kPlayers];
  std::copy(inverse_, inverse_ + kPlayers, inverse);
  std::copy(single_, single_ + kPlayers, single);
  for (std::uint32_t c = changed; c; c &= c - 1) {
    const int i = std::countr_zero(c);
    inverse[i] = Inverse(s[i], total);
    single[i] = s[i] * inverse[i];
  }
  // Per player, the pair terms of the pairs holding him: the base's, with
  // the changed players' pairs put in anew.
  alignas(16) double held[kPlayers];
  std::copy(held_, held_ + kPlayers, held);
  // 1 for the players the row leaves as they were, 0 for the others.
  const double* kept = SetMaskTable().outside[changed];
  for (std::uint32_t c = changed; c; c &= c - 1) held[std::countr_zero(c)] = 0;
  for (std::uint32_t c = changed; c; c &= c - 1) {
    const int j = std::countr_zero(c);
    const double sj = s[j];
    if (!(sj > 0)) {
      // Broke in this row: the base's terms of his pairs leave the sums.
      for (int k = 0; k < kPlayers; ++k) held[k] -= pair_[j][k] * kept[k];
      continue;
    }
    alignas(16) double w[kPlayers];
    PairsOf(j, s, inverse, total, w);
    held[j] = SumOfTen(w);
    for (int k = 0; k < kPlayers; ++k) held[k] += (w[k] - pair_[j][k]) * kept[k];
  }
  // The slots past the players hold no terms.
  const double singles = SumOfTen(single);
  const double pairs = SumOfTen(held) / 2;  // every pair is held by two players
  // With fewer players holding chips than places, the places past them
  // are not given (rounding could leave crumbs of chances there).
  const double second = holders >= 2 ? prizes_[1] : 0.0;
  const double third = holders >= 3 ? prizes_[2] : 0.0;
  const double perChip = 1.0 / total;
  for (int i = 0; i < n; ++i) {
    // The sums without i are the sums less i's terms: never below 0 but
    // by rounding.
    const double without = std::max(0.0, pairs - held[i]);
    equity[i] = s[i] * perChip * (prizes_[0] + second * (singles - single[i]) + third * without);
  }
}

void TIcmRowsQuick::Add(std::span<const double> stacks, double weight) {
  const int n = n_;
  alignas(16) double s[kPlayers] = {};
  const int holders = ClampStacks(stacks, n, s);
  const double total = SumOfTen(s);
  if (total <= 0) return;
  if (!seeded_) Seed(total);
  if (std::bit_cast<std::uint64_t>(total) != std::bit_cast<std::uint64_t>(total_) || holders < 3) {
    // Another total would need the base's terms anew (the rows summed so
    // far hold the present ones); fewer than three with chips leave a
    // place out. Such rows are valued on their own.
    alignas(16) double equity[kPlayers] = {};
    if (std::bit_cast<std::uint64_t>(total) != std::bit_cast<std::uint64_t>(total_)) {
      ICMEquitiesInto(std::span<const double>(s, n), std::span<const double>(prizes_, places_),
                      std::span<double>(equity, n));
    } else {
      Into(std::span<const double>(s, n), std::span<double>(equity, n));
    }
    for (int i = 0; i < n; ++i) direct_[i] += weight * equity[i];
    return;
  }
  std::uint32_t changed = 0;
  for (int i = 0; i < n; ++i) {
    if (std::bit_cast<std::uint64_t>(s[i]) != std::bit_cast<std::uint64_t>(base_[i])) changed |= std::uint32_t{1} << i;
  }
  alignas(16) double inverse[kPlayers];
  std::copy(inverse_, inverse_ + kPlayers, inverse);
  double single[kPlayers];
  // The sums over players and pairs: the base's, each changed player's
  // terms taken out and put in anew. A pair of two changed players is
  // taken out twice and put in twice, and set right once each way.
  double singles = singles_;
  double pairs = pairs_;
  for (std::uint32_t c = changed; c; c &= c - 1) {
    const int i = std::countr_zero(c);
    inverse[i] = Inverse(s[i], total);
    single[i] = s[i] * inverse[i];
    singles += single[i] - single_[i];
    pairs -= held_[i];
    for (std::uint32_t d = c & (c - 1); d; d &= d - 1) pairs += pair_[i][std::countr_zero(d)];
  }
  // How far each other player's pair sum moves from the base's.
  alignas(16) double moved[kPlayers] = {};
  // 1 for the players the row leaves as they were, 0 for the others: from
  // a table, as the loops below read it two at a time and a store of one
  // just before a load of two stalls.
  const double* kept = SetMaskTable().outside[changed];
  double held[kPlayers] = {};
  alignas(16) double w[kPlayers][kPlayers];
  for (std::uint32_t c = changed; c; c &= c - 1) {
    const int j = std::countr_zero(c);
    if (s[j] > 0) {
      PairsOf(j, s, inverse, total, w[j]);
      held[j] = SumOfTen(w[j]);
      pairs += held[j];
      for (std::uint32_t d = c & (c - 1); d; d &= d - 1) pairs -= w[j][std::countr_zero(d)];
      for (int k = 0; k < kPlayers; ++k) moved[k] += (w[j][k] - pair_[j][k]) * kept[k];
    } else {
      // Broke in this row: his pairs leave the sums.
      for (int k = 0; k < kPlayers; ++k) moved[k] -= pair_[j][k] * kept[k];
    }
  }
  for (int k = 0; k < kPlayers; ++k) heldMoved_[k] += weight * moved[k];
  weight_ += weight;
  weightedSingles_ += weight * singles;
  weightedPairs_ += weight * pairs;
  const double perChip = 1.0 / total;
  for (std::uint32_t c = changed; c; c &= c - 1) {
    const int j = std::countr_zero(c);
    changedWeight_[j] += weight;
    changedSingles_[j] += weight * singles;
    changedPairs_[j] += weight * pairs;
    if (!(s[j] > 0)) continue;
    const double without = std::max(0.0, pairs - held[j]);
    changedEquity_[j] += weight * (s[j] * perChip * (prizes_[0] + prizes_[1] * (singles - single[j]) + prizes_[2] * without));
  }
}

void TIcmRowsQuick::Sum(std::span<double> sum) const {
  const double perChip = seeded_ ? 1.0 / total_ : 0.0;
  for (int i = 0; i < n_; ++i) {
    // The rows that leave player i as he was in the base: his stack and
    // single term are the base's, his pair sum the base's as moved.
    const double weight = weight_ - changedWeight_[i];
    const double singles = weightedSingles_ - changedSingles_[i] - weight * single_[i];
    const double without = weightedPairs_ - changedPairs_[i] - weight * held_[i] - heldMoved_[i];
    const double kept =
        base_[i] * perChip * (prizes_[0] * weight + prizes_[1] * singles + prizes_[2] * std::max(0.0, without));
    sum[i] = direct_[i] + changedEquity_[i] + kept;
  }
}

std::vector<double> ICMEquities(std::span<const double> stacks, std::span<const double> payouts) {
  if (static_cast<int>(stacks.size()) > kMaxIcmPlayers) return {};
  std::vector<double> equity(stacks.size(), 0.0);
  ICMEquitiesInto(stacks, payouts, equity);
  return equity;
}

}  // namespace kova::pushfold
