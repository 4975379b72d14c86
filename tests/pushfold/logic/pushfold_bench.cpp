// Speed of the calculator's hot paths: ICM, range against range, and whole
// hero solves, each beside the single-threaded solver it replaced
// (reference_situation.cpp). Times are wall-clock: the look-ahead runs on
// several threads. For figures worth comparing, build without sanitizers:
//
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release
//         -DKOVA_SANITIZE=OFF -DKOVA_AREAS=pushfold
//   cmake --build build/bench --target pushfold_bench
//   build/bench/bin/pushfold_bench
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "pushfold/logic/hand_evaluator.h"
#include "pushfold/logic/icm.h"
#include "pushfold/logic/situation.h"
#include "reference_situation.h"

using namespace kova::pushfold;

namespace {

const std::vector<double> kIcmStacks = {1600, 1400, 7800, 2700, 900, 3100, 2200, 1250, 4100, 600};

std::vector<double> IcmPayouts(int places) {
  if (places == 5) return {0.4, 0.25, 0.15, 0.12, 0.08};
  return {0.5, 0.3, 0.2};
}

void BM_Icm10Players(benchmark::State& state) {
  const std::vector<double> payouts = IcmPayouts(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ICMEquities(kIcmStacks, payouts));
}
BENCHMARK(BM_Icm10Players)->Arg(3)->Arg(5);

void BM_Icm10PlayersInto(benchmark::State& state) {
  const std::vector<double> payouts = IcmPayouts(static_cast<int>(state.range(0)));
  std::vector<double> equity(kIcmStacks.size());
  for (auto _ : state) {
    ICMEquitiesInto(kIcmStacks, payouts, equity);
    benchmark::DoNotOptimize(equity.data());
  }
}
BENCHMARK(BM_Icm10PlayersInto)->Arg(3)->Arg(5);

// The rows of one ten-player hand: each winner of the pot alone, and each
// pair of all-in players with its three outcomes.
std::vector<std::vector<double>> HandRows(const std::vector<double>& base) {
  const double pot = 600;
  std::vector<std::vector<double>> rows;
  const int n = static_cast<int>(base.size());
  for (int w = 0; w < n; ++w) {
    rows.push_back(base);
    rows.back()[w] += pot;
  }
  for (int a = 0; a < n; ++a) {
    for (int b = a + 1; b < n; ++b) {
      const int shorter = base[a] < base[b] ? a : b;
      const int longer = shorter == a ? b : a;
      const double s = base[shorter];
      for (int outcome = 0; outcome < 3; ++outcome) {
        std::vector<double> r = base;
        if (outcome == 0) {
          r[longer] += s + pot;
          r[shorter] = 0;
        } else if (outcome == 1) {
          r[longer] += pot / 2;
          r[shorter] += pot / 2;
        } else {
          r[shorter] += s + pot;
          r[longer] -= s;
        }
        rows.push_back(r);
      }
    }
  }
  return rows;
}

// Args: paid places; 0 each row on its own, 1 the rows sharing their base,
// 2 sharing it with each showdown's three outcomes together, as the solver
// asks them up to two hands ahead; 3 by pair sums, as it asks them further
// ahead (three paid places only).
void BM_IcmRowsOfHand(benchmark::State& state) {
  const std::vector<double> payouts = IcmPayouts(static_cast<int>(state.range(0)));
  const std::vector<std::vector<double>> rows = HandRows(kIcmStacks);
  const std::size_t singles = kIcmStacks.size();
  std::vector<std::vector<double>> equity(TIcmRows::kRowsAtOnce, std::vector<double>(kIcmStacks.size()));
  TIcmRows shared;
  TIcmRowsQuick quick;
  for (auto _ : state) {
    if (state.range(1) == 3) {
      quick.Reset(kIcmStacks, payouts);
      for (const std::vector<double>& row : rows) {
        quick.Into(row, equity[0]);
        benchmark::DoNotOptimize(equity[0].data());
      }
      continue;
    }
    if (state.range(1) != 0) shared.Reset(kIcmStacks, payouts);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      if (state.range(1) == 2 && r >= singles) {
        shared.IntoRows({rows[r], rows[r + 1], rows[r + 2]}, {equity[0], equity[1], equity[2]});
        r += TIcmRows::kRowsAtOnce - 1;
      } else if (state.range(1) != 0) {
        shared.Into(rows[r], equity[0]);
      } else {
        ICMEquitiesInto(rows[r], payouts, equity[0]);
      }
      benchmark::DoNotOptimize(equity[0].data());
    }
  }
}
BENCHMARK(BM_IcmRowsOfHand)
    ->Args({3, 0})
    ->Args({3, 1})
    ->Args({3, 2})
    ->Args({3, 3})
    ->Args({5, 0})
    ->Args({5, 1})
    ->Args({5, 2});

void BM_ReferenceIcm10Players(benchmark::State& state) {
  const std::vector<double> payouts = IcmPayouts(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(reference::ICMEquities(kIcmStacks, payouts));
}
BENCHMARK(BM_ReferenceIcm10Players)->Arg(3)->Arg(5);

void BM_RangeVsRange30(benchmark::State& state) {
  const THandRange a = TopRange(0.3);
  const THandRange b = TopRange(0.3);
  for (auto _ : state) benchmark::DoNotOptimize(RangeVsRangeEquity(a, b));
}
BENCHMARK(BM_RangeVsRange30);

// A full table with a model that opens 20% and calls 10%. The hero either
// acts first, or sits in the big blind facing a push from the first player
// with everyone else folded: few branches of its own, but every next hand
// played out in full.
struct Table {
  TTournamentInfo tour;
  THH hand;
  std::vector<TSeatInput> seats;
  int heroIndex = 0;
  int heroPosition = 0;

  Table(int n, bool facingPush) {
    auto model = std::make_shared<TModelValues>();
    for (int level = 1; level <= 15; ++level) {
      for (int col = 1; col <= 10; ++col) {
        model->Set(level, 0, col, 20);
        for (int row = 1; row <= 10; ++row) model->Set(level, row, col, 10);
      }
    }
    tour.PaidPlaces = 3;
    tour.Payouts = {0.5, 0.3, 0.2, 0, 0};
    tour.SeatCount = 10;
    tour.Places.PlayerCount = 10;
    tour.Places.NextPlace = n;
    hand.PlayerCount = n;
    for (int i = 0; i < n; ++i) hand.Players[i] = {i + 1, "", 1000.0 + 300.0 * i};
    hand.BigBlindSeat = n;
    hand.SmallBlindSeat = n - 1;
    hand.Button = n - 2;
    hand.SmallBlind = 100;
    hand.BigBlind = 200;
    hand.Ante = 20;
    seats.resize(n);
    for (auto& s : seats) s.Model = model;
    heroPosition = n;
    if (facingPush) {
      seats[0].Action = 1;
      for (int i = 1; i < n - 1; ++i) seats[i].Action = 0;
      heroIndex = n - 1;
      heroPosition = 1;
    }
  }
};

// Args: players, depth, facing a push (0/1), threads (0: one per processor).
void BM_SolveHero(benchmark::State& state) {
  const Table t(static_cast<int>(state.range(0)), state.range(2) != 0);
  TSituationOptions options;
  options.Depth = static_cast<int>(state.range(1));
  options.Threads = static_cast<int>(state.range(3));
  int hands = 0;
  TNextHandStats stats;
  for (auto _ : state) {
    TSituation s(t.tour, t.hand, t.heroIndex, t.seats, options);
    hands = s.SolveHero(t.heroPosition);
    stats = s.NextHandStats();
    benchmark::DoNotOptimize(hands);
  }
  state.counters["hands"] = hands;
  // The next hands of the last run: played out, served again, and the
  // memory they were kept in at its peak.
  state.counters["played"] = static_cast<double>(stats.Played);
  state.counters["reused"] = static_cast<double>(stats.Reused);
  state.counters["peakMiB"] = static_cast<double>(stats.PeakBytes) / (1 << 20);
}
BENCHMARK(BM_SolveHero)
    ->ArgNames({"players", "depth", "push", "threads"})
    ->Args({9, 0, 0, 0})
    ->Args({10, 0, 0, 0})
    ->Args({6, 1, 0, 0})
    ->Args({10, 1, 0, 0})
    ->Args({10, 1, 0, 1})
    ->Args({6, 2, 0, 0})
    ->Args({10, 2, 1, 0})
    ->Args({10, 2, 0, 1})
    ->Args({10, 2, 0, 0})
    ->Args({6, 3, 0, 0})
    ->Args({6, 4, 0, 0})
    ->Args({10, 3, 1, 0})
    ->Args({10, 3, 0, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Equal bits, or within a relative `tolerance` when it is not 0.
bool Agree(double got, double want, double tolerance) {
  if (tolerance == 0) return SameBits(got, want);
  return std::fabs(got - want) <= tolerance * std::fabs(want);
}

// Args: players, depth, facing a push. Afterwards the solver is run once
// more and its branch table checked against the reference's, bit for bit
// (from kQuickIcmDepth on, where the last hands' ICM is summed in another
// order, the equities to a relative 1e-9): a speed-up that changed the
// answer would be no speed-up.
void BM_ReferenceSolveHero(benchmark::State& state) {
  const Table t(static_cast<int>(state.range(0)), state.range(2) != 0);
  TSituationOptions options;
  options.Depth = static_cast<int>(state.range(1));
  int hands = 0;
  for (auto _ : state) {
    reference::TReferenceSituation s(t.tour, t.hand, t.heroIndex, t.seats, options);
    hands = s.SolveHero(t.heroPosition);
    benchmark::DoNotOptimize(hands);
  }
  state.counters["hands"] = hands;

  reference::TReferenceSituation want(t.tour, t.hand, t.heroIndex, t.seats, options);
  TSituation got(t.tour, t.hand, t.heroIndex, t.seats, options);
  const double tolerance = options.Depth >= kQuickIcmDepth ? 1e-9 : 0.0;
  bool same = want.SolveHero(t.heroPosition) == got.SolveHero(t.heroPosition) &&
              want.BranchCount() == got.BranchCount();
  for (int b = 1; same && b <= want.BranchCount(); ++b) {
    for (int row = 0; row < 4; ++row) {
      for (int p = 0; p <= kMaxPlayers; ++p) {
        same = same && Agree(got.Branch(b).Equity[row][p], want.Branch(b).Equity[row][p], tolerance) &&
               SameBits(want.Branch(b).Prob[p], got.Branch(b).Prob[p]);
      }
    }
  }
  if (!same) state.SkipWithError("the solver's results differ from the reference's");
}
BENCHMARK(BM_ReferenceSolveHero)
    ->ArgNames({"players", "depth", "push"})
    ->Args({9, 0, 0})
    ->Args({10, 0, 0})
    ->Args({6, 1, 0})
    ->Args({10, 1, 0})
    ->Args({6, 2, 0})
    ->Args({10, 2, 1})
    ->Args({10, 2, 0})
    ->Args({6, 3, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
// The deep ones take the reference minutes: one run each.
BENCHMARK(BM_ReferenceSolveHero)
    ->ArgNames({"players", "depth", "push"})
    ->Args({6, 4, 0})
    ->Args({10, 3, 0})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
