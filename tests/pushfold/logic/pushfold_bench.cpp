// Speed of the calculator's hot paths: ICM, range against range, and whole
// hero solves.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "pushfold/logic/hand_evaluator.h"
#include "pushfold/logic/icm.h"
#include "pushfold/logic/situation.h"

using namespace kova::pushfold;

namespace {

void BM_Icm10Players(benchmark::State& state) {
  const std::vector<double> stacks = {1600, 1400, 7800, 2700, 900, 3100, 2200, 1250, 4100, 600};
  std::vector<double> payouts = {0.5, 0.3, 0.2};
  if (state.range(0) == 5) payouts = {0.4, 0.25, 0.15, 0.12, 0.08};
  for (auto _ : state) benchmark::DoNotOptimize(ICMEquities(stacks, payouts));
}
BENCHMARK(BM_Icm10Players)->Arg(3)->Arg(5);

void BM_RangeVsRange30(benchmark::State& state) {
  const THandRange a = TopRange(0.3);
  const THandRange b = TopRange(0.3);
  for (auto _ : state) benchmark::DoNotOptimize(RangeVsRangeEquity(a, b));
}
BENCHMARK(BM_RangeVsRange30);

// A full table with a model that opens 20% and calls 10%; the hero acts
// first.
void BM_SolveHero(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const int depth = static_cast<int>(state.range(1));
  auto model = std::make_shared<TModelValues>();
  for (int level = 1; level <= 15; ++level) {
    for (int col = 1; col <= 10; ++col) {
      model->Set(level, 0, col, 20);
      for (int row = 1; row <= 10; ++row) model->Set(level, row, col, 10);
    }
  }
  TTournamentInfo tour;
  tour.PaidPlaces = 3;
  tour.Payouts = {0.5, 0.3, 0.2, 0, 0};
  tour.SeatCount = 10;
  tour.Places.PlayerCount = 10;
  tour.Places.NextPlace = n;
  THH hand;
  hand.PlayerCount = n;
  for (int i = 0; i < n; ++i) hand.Players[i] = {i + 1, "", 1000.0 + 300.0 * i};
  hand.BigBlindSeat = n;
  hand.SmallBlindSeat = n - 1;
  hand.Button = n - 2;
  hand.SmallBlind = 100;
  hand.BigBlind = 200;
  hand.Ante = 20;
  std::vector<TSeatInput> seats(n);
  for (auto& s : seats) s.Model = model;
  TSituationOptions options;
  options.Depth = depth;
  for (auto _ : state) {
    TSituation s(tour, hand, 0, seats, options);
    benchmark::DoNotOptimize(s.SolveHero(n));
  }
}
BENCHMARK(BM_SolveHero)->Args({9, 0})->Args({10, 0})->Args({6, 1})->Args({10, 1})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
