#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <numeric>
#include <thread>

#include "pushfold/logic/hand_record.h"
#include "pushfold/logic/icm.h"
#include "pushfold/logic/situation.h"

using namespace kova::pushfold;

namespace {

// A table in seat order 1..n: the last seat posts the big blind, the one
// before it the small blind, the one before that has the button. Position
// r (1 = big blind) is thus player n - r (0-based).
struct Table {
  TTournamentInfo tour;
  THH hand;
  std::vector<TSeatInput> seats;

  Table(std::vector<double> stacks, double sb, double bb, double ante) {
    const int n = static_cast<int>(stacks.size());
    hand.PlayerCount = n;
    for (int i = 0; i < n; ++i) hand.Players[i] = {i + 1, std::string(), stacks[i]};
    hand.BigBlindSeat = n;
    hand.SmallBlindSeat = n >= 2 ? n - 1 : 0;
    hand.Button = n >= 3 ? n - 2 : hand.SmallBlindSeat;
    hand.SmallBlind = sb;
    hand.BigBlind = bb;
    hand.Ante = ante;
    tour.PaidPlaces = 3;
    tour.Payouts = {0.5, 0.3, 0.2, 0, 0};
    tour.SeatCount = 10;
    tour.LevelMinutes = 8;
    tour.Places.PlayerCount = 10;
    tour.Places.NextPlace = n;
    seats.resize(n);
  }
  int Player(int position) const { return hand.PlayerCount - position; }
  void SetAction(int position, int action) { seats[Player(position)].Action = action; }
  TSituation Make(int heroPosition, TSituationOptions options = {}) const {
    return TSituation(tour, hand, heroPosition ? Player(heroPosition) : -1, seats, options);
  }
};

double Sum(const TPositionValues& v, int n) {
  double s = 0;
  for (int p = 1; p <= n; ++p) s += v[p];
  return s;
}

}  // namespace

TEST(Situation, TwoPlayersOnePlacePaidIsChipShareTimesFirstPayout) {
  Table t({3000, 1000}, 10, 20, 0);
  t.tour.PaidPlaces = 1;
  t.tour.Payouts = {0.8, 0, 0, 0, 0};
  const TSituation s = t.Make(2);
  ASSERT_GT(s.BranchCount(), 0);
  EXPECT_EQ(s.HeroPosition(), 2);
  for (int b = 1; b <= s.BranchCount(); ++b) {
    const TBranch& br = s.Branch(b);
    const int rows = br.AllInCount == 2 ? 4 : 1;
    for (int row = 0; row < rows; ++row) {
      // Every row values some split of the 4000 chips; ICM with one place
      // is linear in chips.
      EXPECT_NEAR(Sum(br.Equity[row], 2), 0.8, 1e-12);
    }
    if (br.AllInCount == 1 && br.AllIn[0] == 1) {
      // The small blind folded: the big blind takes the blinds.
      EXPECT_NEAR(br.Equity[0][1], 1010.0 / 4000 * 0.8, 1e-12);
      EXPECT_NEAR(br.Equity[0][2], 2990.0 / 4000 * 0.8, 1e-12);
    }
  }
}

TEST(Situation, EveryoneFoldingGivesOneBranchTheBigBlindWins) {
  Table t({1500, 1500, 1500, 1500, 1500, 1500}, 50, 100, 0);
  for (int p = 2; p <= 6; ++p) t.SetAction(p, 0);
  const TSituation s = t.Make(0);
  ASSERT_EQ(s.BranchCount(), 1);
  const TBranch& b = s.Branch(1);
  EXPECT_EQ(b.AllInCount, 1);
  EXPECT_EQ(b.AllIn[0], 1);
  EXPECT_DOUBLE_EQ(b.Prob[0], 1.0);
  const std::vector<double> stacks = {1500 - 100 + 150, 1450, 1500, 1500, 1500, 1500};
  const std::vector<double> want = ICMEquities(stacks, std::vector<double>{0.5, 0.3, 0.2});
  for (int p = 1; p <= 6; ++p) EXPECT_NEAR(b.Equity[0][p], want[p - 1], 1e-12) << p;
  const std::vector<std::string> lines = s.PrintBranches();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], " 1     0        0        0        0        0        1          100.00 ");
  EXPECT_EQ(lines[1], "Prob: 100.00  100.00  100.00  100.00  100.00  100.00    ");
  EXPECT_EQ(lines.back(), " 1 1.000 ");
}

TEST(Situation, BlindLevelsAntesAndPosting) {
  Table t({10000, 10000, 10000, 10000, 10000, 10000}, 1, 2, 0);
  t.tour.StartTime = 1000.0;
  struct Case {
    double minutesIn;
    int level;
  } cases[] = {{1, 1}, {60, 8}, {8 * 20, 15}, {-30, 1}};
  for (const Case& c : cases) {
    t.hand.HandTime = 1000.0 + c.minutesIn / 1440.0;
    const TSituation s = t.Make(6);
    EXPECT_EQ(s.BlindLevel(), c.level) << c.minutesIn;
    const TBlindLevel& l = BlindStructure()[c.level - 1];
    EXPECT_EQ(s.BigBlindAmount(), l.BigBlind);
    EXPECT_DOUBLE_EQ(s.Pot(), 6 * l.Ante + l.SmallBlind + l.BigBlind);
    EXPECT_DOUBLE_EQ(s.RemainingStack(1), 10000 - l.Ante - l.BigBlind);
    EXPECT_DOUBLE_EQ(s.RemainingStack(2), 10000 - l.Ante - l.SmallBlind);
    EXPECT_DOUBLE_EQ(s.RemainingStack(3), 10000 - l.Ante);
  }
  // Without a time the level comes from the blinds; the hand keeps them.
  t.hand.HandTime = 0;
  t.hand.SmallBlind = 200;
  t.hand.BigBlind = 400;
  t.hand.Ante = 40;
  EXPECT_EQ(t.Make(6).BlindLevel(), 8);
  t.hand.SmallBlind = 125;
  t.hand.BigBlind = 250;  // no such level: the nearest one, never outside 1..15
  const TSituation odd = t.Make(6);
  EXPECT_GE(odd.BlindLevel(), 1);
  EXPECT_LE(odd.BlindLevel(), 15);
  EXPECT_EQ(odd.BigBlindAmount(), 250);
  // A zero level length cannot count levels: the blinds decide.
  t.hand.HandTime = 1000.5;
  t.tour.LevelMinutes = 0;
  t.hand.BigBlind = 400;
  EXPECT_EQ(t.Make(6).BlindLevel(), 8);
  // No small-blind seat: position 2 posts nothing.
  t.hand.SmallBlindSeat = 0;
  EXPECT_DOUBLE_EQ(t.Make(6).RemainingStack(2), 10000 - 40);
}

TEST(Situation, OpenAndCallFallBacks) {
  Table t({1500, 1500, 1500, 1500}, 50, 100, 0);
  auto model = std::make_shared<TModelValues>();
  model->Set(4, 0, 4, 30.0);   // level 4 (50/100): position 4 opens 30%
  model->Set(4, 4, 3, 0.0);    // ... and position 3 never calls it: falls back
  for (auto& seat : t.seats) seat.Model = model;
  t.seats[t.Player(3)].Open = 0.25;  // override
  const TSituation s = t.Make(4);
  EXPECT_EQ(s.BlindLevel(), 4);
  for (int b = 1; b <= s.BranchCount(); ++b) {
    const TBranch& br = s.Branch(b);
    EXPECT_DOUBLE_EQ(br.Prob[4], br.Flags[4] ? 0.30 : 0.70);
    if (br.Flags[4] == 1) {
      EXPECT_DOUBLE_EQ(br.Prob[3], br.Flags[3] ? 0.05 : 0.95);  // call model 0 -> 0.05
    } else {
      EXPECT_DOUBLE_EQ(br.Prob[3], br.Flags[3] ? 0.25 : 0.75);  // open override
      if (br.Flags[3] == 0) {
        EXPECT_DOUBLE_EQ(br.Prob[2], br.Flags[2] ? 0.1 : 0.9);  // open model 0 -> 0.1
      }
    }
  }
  // The weights of all branches add up to one: with at most two all-in
  // players nothing is cut off when the third player never calls a second.
  double total = 0;
  for (int b = 1; b <= s.BranchCount(); ++b) total += s.Branch(b).Prob[0];
  EXPECT_NEAR(total, 1.0, 1e-12);
}

TEST(Situation, PlayersBrokeFromTheBlinds) {
  // Level 8: 200/400 ante 40. The big blind has 300: all-in from the blinds.
  Table t({3000, 3000, 3000, 300}, 200, 400, 40);
  const TSituation s = t.Make(4);
  EXPECT_EQ(s.BrokeCount(), 1);
  ASSERT_GT(s.BranchCount(), 0);
  bool showdownWithBigBlind = false;
  for (int b = 1; b <= s.BranchCount(); ++b) {
    const TBranch& br = s.Branch(b);
    EXPECT_EQ(br.Flags[1], 1);
    EXPECT_LE(br.AllInCount, 2);
    if (br.AllInCount == 2 && br.AllIn[1] == 1) showdownWithBigBlind = true;
  }
  // A push against the blind-broke big blind is a showdown, not a branch lost.
  EXPECT_TRUE(showdownWithBigBlind);
  EXPECT_GT(t.Make(4).SolveHero(4), 0);

  // Three players broke by the antes: nothing to enumerate.
  Table broke({3000, 30, 30, 30}, 200, 400, 40);
  TSituation none = broke.Make(4);
  EXPECT_EQ(none.BrokeCount(), 3);
  EXPECT_EQ(none.BranchCount(), 0);
  EXPECT_EQ(none.SolveHero(4), 0);
}

TEST(Situation, ShowdownKeepsEveryChipAtEveryTableSize) {
  for (int n : {2, 6, 8, 10}) {
    std::vector<double> stacks;
    for (int i = 0; i < n; ++i) stacks.push_back(500 + 731.0 * i);
    stacks[0] = 70;  // shorter than the ante
    Table t(stacks, 400, 800, 80);
    const TSituation s = t.Make(n);
    const double total = std::accumulate(stacks.begin(), stacks.end(), 0.0);
    for (int p1 = 1; p1 <= n; ++p1) {
      for (int p2 = 1; p2 <= n; ++p2) {
        if (p1 == p2) continue;
        for (int outcome = 0; outcome < 3; ++outcome) {
          const TPositionValues after = s.ShowdownStacks(p1, p2, outcome);
          EXPECT_NEAR(Sum(after, n), total, 1e-9) << n << " players, " << p1 << " vs " << p2 << " outcome " << outcome;
          for (int p = 1; p <= n; ++p) EXPECT_GE(after[p], 0.0);
        }
      }
    }
  }
}

TEST(Situation, SolveHeroLimits) {
  Table t({2500, 2500, 2500}, 50, 100, 0);
  TSituationOptions anything;
  anything.Edge = -1.0;  // every push beats folding
  EXPECT_EQ(t.Make(3, anything).SolveHero(3), 169);
  TSituationOptions nothing;
  nothing.Edge = 2.0;
  EXPECT_EQ(t.Make(3, nothing).SolveHero(3), 0);
  // An earlier player without an action: no branch fits.
  EXPECT_EQ(t.Make(2).SolveHero(2), 0);
  t.SetAction(3, 0);
  EXPECT_GT(t.Make(2, anything).SolveHero(2), 0);
  EXPECT_EQ(t.Make(3).SolveHero(0), 0);
  EXPECT_EQ(t.Make(3).SolveHero(4), 0);
}

TEST(Situation, SolveHeroTestsTheLastHandToo) {
  // Heads-up, one place paid, a big blind who always calls: the push value
  // of a hand follows its equity against all hands, which is the strength
  // order, so the weakest hand fails first as the edge grows.
  Table t({1000, 1000}, 50, 100, 0);
  t.tour.PaidPlaces = 1;
  t.tour.Payouts = {1.0, 0, 0, 0, 0};
  t.seats[t.Player(1)].Call = 1.0;
  auto solve = [&](double edge) {
    TSituationOptions o;
    o.Edge = edge;
    return t.Make(2, o).SolveHero(2);
  };
  double lo = -0.5, hi = 0.5;  // solve(lo) == 169, solve(hi) < 169
  ASSERT_EQ(solve(lo), 169);
  ASSERT_LT(solve(hi), 169);
  for (int i = 0; i < 60; ++i) {
    const double mid = (lo + hi) / 2;
    (solve(mid) == 169 ? lo : hi) = mid;
  }
  EXPECT_EQ(solve(hi), 168);

  // The result is written back: the hero pushes with the share of his range.
  TSituationOptions o;
  o.Edge = 0.0;
  TSituation s = t.Make(2, o);
  const int n = s.SolveHero(2);
  for (int b = 1; b <= s.BranchCount(); ++b) {
    const TBranch& br = s.Branch(b);
    EXPECT_DOUBLE_EQ(br.Prob[2], br.Flags[2] ? RangeShare(n) : 1 - RangeShare(n));
  }
  // A short stack pushes wide against a caller of everything.
  EXPECT_GT(n, 60);
}

TEST(Situation, LookAheadAndCancel) {
  Table t({1800, 1200, 2500, 1000}, 50, 100, 0);
  TSituationOptions deep;
  deep.Depth = 1;
  TSituation s = t.Make(4, deep);
  ASSERT_GT(s.BranchCount(), 0);
  for (int b = 1; b <= s.BranchCount(); ++b) {
    const double sum = Sum(s.Branch(b).Equity[0], 4);
    EXPECT_GE(sum, 0.0);
    EXPECT_LE(sum, 1.0 + 1e-9);
  }
  const int n = s.SolveHero(4);
  EXPECT_GE(n, 0);
  // Double or nothing: five equal shares of ten players. After a bust every
  // place is in the paid half (the busted player's 4th too), so every
  // position is settled at the first share.
  Table don = t;
  don.tour.PaidPlaces = 5;
  don.tour.Payouts = {0.2, 0.2, 0.2, 0.2, 0.2};
  const TSituation d = don.Make(4, deep);
  ASSERT_GT(d.BranchCount(), 0);
  for (int b = 1; b <= d.BranchCount(); ++b) {
    const TBranch& br = d.Branch(b);
    for (int row = 1; br.AllInCount == 2 && row <= 3; ++row) {
      const TPositionValues after = d.ShowdownStacks(br.AllIn[0], br.AllIn[1], row - 1);
      const bool bust = after[br.AllIn[0]] <= 0 || after[br.AllIn[1]] <= 0;
      if (!bust) continue;
      for (int p = 1; p <= 4; ++p) EXPECT_DOUBLE_EQ(br.Equity[row][p], 0.2);
    }
  }
  EXPECT_LE(n, 169);
  EXPECT_FALSE(s.Cancelled());

  std::atomic<bool> cancel{true};
  deep.Cancel = &cancel;
  deep.Depth = 1000;  // bounded, and stopped at once
  TSituation stopped = t.Make(4, deep);
  EXPECT_TRUE(stopped.Cancelled());
  EXPECT_EQ(stopped.SolveHero(4), 0);
}

TEST(Situation, ReportsTheDepthAskedForAndTheDepthComputed) {
  Table t({1800, 1200, 2500}, 50, 100, 0);
  struct Case {
    int asked, computed;
  } cases[] = {{-3, 0}, {0, 0}, {1, 1}, {2, 2}, {3, 2}, {40, 2}};
  for (const Case& c : cases) {
    TSituationOptions o;
    o.Depth = c.asked;
    const TSituation s = t.Make(3, o);
    EXPECT_EQ(s.RequestedDepth(), c.asked);
    EXPECT_EQ(s.ComputedDepth(), c.computed);
  }
  // A depth beyond the deepest is computed as the deepest.
  TSituationOptions deepest, beyond;
  deepest.Depth = kMaxSituationDepth;
  beyond.Depth = kMaxSituationDepth + 1;
  TSituation a = t.Make(3, deepest);
  TSituation b = t.Make(3, beyond);
  EXPECT_EQ(a.PrintBranches(), b.PrintBranches());
  EXPECT_EQ(a.SolveHero(3), b.SolveHero(3));
}

TEST(Situation, CancelStopsTheLookAheadPromptly) {
  // Ten players, the hero first to act, two hands ahead: far longer than the
  // moment the flag is raised, on one thread or several.
  std::vector<double> stacks;
  for (int i = 0; i < 10; ++i) stacks.push_back(1000 + 300 * i);
  const Table t(stacks, 100, 200, 20);
  using Clock = std::chrono::steady_clock;
  for (int threads : {1, 4}) {
    std::atomic<bool> cancel{false};
    TSituationOptions o;
    o.Depth = 2;
    o.Cancel = &cancel;
    o.Threads = threads;
    Clock::time_point raised;
    std::thread raiser([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
      raised = Clock::now();
      cancel = true;
    });
    TSituation s = t.Make(10, o);
    const Clock::time_point returned = Clock::now();
    raiser.join();
    EXPECT_TRUE(s.Cancelled()) << threads;
    EXPECT_LT(returned - raised, std::chrono::seconds(1)) << threads;
    EXPECT_EQ(s.SolveHero(10), 0) << threads;
  }
}

TEST(HandRoutines, ButtonBlindsAndFinishingPlaces) {
  THH h;
  h.PlayerCount = 4;
  for (int i = 0; i < 4; ++i) h.Players[i] = {i + 1, "", 1000};
  h.Button = 1;
  h.SmallBlindSeat = 2;
  h.BigBlindSeat = 3;
  THH next = h;
  MoveButtonAndBlinds(next, 6);
  EXPECT_EQ(next.Button, 2);
  EXPECT_EQ(next.SmallBlindSeat, 3);
  EXPECT_EQ(next.BigBlindSeat, 4);
  // A busted big blind: no small blind next hand.
  next = h;
  next.Players[2].Stack = 0;
  MoveButtonAndBlinds(next, 6);
  EXPECT_EQ(next.SmallBlindSeat, 0);
  EXPECT_EQ(next.BigBlindSeat, 4);
  // Nobody with chips: no endless search; the seat stays where it was.
  THH empty = h;
  for (auto& p : empty.Players) p.Stack = 0;
  EXPECT_EQ(NextSeatWithChips(1, empty, 6), 1);

  // Two players bust: the one who started with less finishes worse.
  TFinishingPlaces places;
  places.PlayerCount = 10;
  places.NextPlace = 4;
  THH before = h;
  before.Players[0].Stack = 300;
  before.Players[1].Stack = 500;
  THH after = before;
  after.Players[0].Stack = 0;
  after.Players[1].Stack = 0;
  AssignFinishingPlaces(places, after, before);
  EXPECT_EQ(places.Place[0], 4);
  EXPECT_EQ(places.Place[1], 3);
  EXPECT_EQ(places.NextPlace, 2);
  // NextPlace 2 <= 10 / 2: every seat still without a place gets place 1.
  EXPECT_EQ(places.Place[2], 1);
  EXPECT_EQ(places.Place[9], 1);

  // The highest seat number is placed in its own cell.
  TFinishingPlaces tenth;
  tenth.PlayerCount = 10;
  tenth.NextPlace = 10;
  THH wasTen = h;
  wasTen.Players[3].Seat = 10;
  THH bustTen = wasTen;
  bustTen.Players[3].Stack = 0;
  AssignFinishingPlaces(tenth, bustTen, wasTen);
  EXPECT_EQ(tenth.Place[9], 10);
  EXPECT_EQ(tenth.NextPlace, 9);
  EXPECT_EQ(tenth.Place[0], 0);
}
