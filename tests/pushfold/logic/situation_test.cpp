#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <numeric>
#include <optional>
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
  deep.Depth = 1000;  // stopped at once
  TSituation stopped = t.Make(4, deep);
  EXPECT_TRUE(stopped.Cancelled());
  EXPECT_EQ(stopped.SolveHero(4), 0);
}

TEST(Situation, ComputesTheDepthAskedFor) {
  Table t({1800, 1200, 2500}, 50, 100, 0);
  t.tour.Places.PlayerCount = 3;  // the last three of a three-player field
  struct Case {
    int asked, computed;
  } cases[] = {{-3, 0}, {0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}};
  std::vector<std::vector<std::string>> tables;
  for (const Case& c : cases) {
    TSituationOptions o;
    o.Depth = c.asked;
    const TSituation s = t.Make(3, o);
    EXPECT_FALSE(s.Cancelled()) << c.asked;
    EXPECT_EQ(s.Depth(), c.computed) << c.asked;
    tables.push_back(s.PrintBranches());
  }
  // Every further hand changes the values: none is cut short.
  for (std::size_t i = 2; i < tables.size(); ++i) EXPECT_NE(tables[i], tables[i - 1]) << cases[i].asked;
}

namespace {

// Threads of this process now (0 where the system does not tell).
int ProcessThreads() {
  int n = 0;
  std::error_code ec;
  for (std::filesystem::directory_iterator it("/proc/self/task", ec), end; !ec && it != end; it.increment(ec)) ++n;
  return n;
}

}  // namespace

TEST(Situation, CancelStopsTheLookAheadPromptly) {
  // Ten players, the hero first to act, four hands ahead: far longer than
  // the moment the flag is raised, on one thread or several.
  std::vector<double> stacks;
  for (int i = 0; i < 10; ++i) stacks.push_back(1000 + 300 * i);
  const Table t(stacks, 100, 200, 20);
  using Clock = std::chrono::steady_clock;
  const int threadsBefore = ProcessThreads();
  for (int threads : {1, 4, 0}) {
    std::atomic<bool> cancel{false};
    TSituationProgress progress;
    TSituationOptions o;
    o.Depth = 4;
    o.Progress = &progress;
    o.Cancel = &cancel;
    o.Threads = threads;
    Clock::time_point raised;
    std::thread raiser([&] {
      // Raised well into the play-out, with many next hands kept.
      while (progress.Done == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      raised = Clock::now();
      cancel = true;
    });
    TSituation s = t.Make(10, o);
    const Clock::time_point returned = Clock::now();
    raiser.join();
    EXPECT_TRUE(s.Cancelled()) << threads;
    EXPECT_LT(progress.Done.load(), progress.Total.load()) << threads;
    EXPECT_LT(returned - raised, std::chrono::milliseconds(100)) << threads;
    EXPECT_EQ(s.SolveHero(10), 0) << threads;
    // Every thread of the look-ahead has ended with the call.
    EXPECT_EQ(ProcessThreads(), threadsBefore) << threads;
  }
}

TEST(Situation, ProgressCountsTheWorkUpFront) {
  Table t({1800, 1200, 2500, 1000, 1400}, 50, 100, 10);
  t.tour.Places.PlayerCount = 5;
  for (int depth : {0, 1, 2}) {
    TSituationProgress progress;
    TSituationOptions o;
    o.Depth = depth;
    o.Progress = &progress;
    const TSituation s = t.Make(5, o);
    EXPECT_GT(progress.Total.load(), 0) << depth;
    EXPECT_EQ(progress.Done.load(), progress.Total.load()) << depth;
  }
}

namespace {

// Heads-up, seat 1 on the button and small blind, seat 2 the big blind.
Table HeadsUp(double first, double second) {
  Table t({first, second}, 50, 100, 0);
  t.tour.Places.PlayerCount = 2;  // the last two: nobody placed yet
  t.hand.Button = 1;
  t.hand.SmallBlindSeat = 1;
  return t;
}

// The branch (from 1) whose all-in players are exactly these positions.
int BranchWith(const TSituation& s, std::vector<int> allIn) {
  for (int b = 1; b <= s.BranchCount(); ++b) {
    const TBranch& br = s.Branch(b);
    std::vector<int> got(br.AllIn.begin(), br.AllIn.begin() + br.AllInCount);
    if (got == allIn) return b;
  }
  return 0;
}

}  // namespace

TEST(NextHandKey, SharedByWhatLeavesTheSameTableOnly) {
  TSituationOptions lookAhead;
  lookAhead.Depth = 1;
  // Everybody folding to the big blind: the key of the next hand.
  const auto foldKey = [&](const Table& t, const TSituationOptions& o) {
    const TSituation s = t.Make(2, o);
    return s.NextHandKey(BranchWith(s, {1}), 0);
  };
  // Small blind 50, big blind 100. Folding the small blind from 1050 and
  // 950, or pushing from 900 and 1100 to a fold, leaves 1000 and 1000 with
  // the button moved to seat 2.
  const std::optional<TNextHandKey> folded = foldKey(HeadsUp(1050, 950), lookAhead);
  const TSituation steal = HeadsUp(900, 1100).Make(2, lookAhead);
  const std::optional<TNextHandKey> stole = steal.NextHandKey(BranchWith(steal, {2}), 0);

  // Inputs that play no part in the next hand.
  Table renamed = HeadsUp(1050, 950);
  renamed.hand.Players[0].Name = "someone";
  renamed.hand.HeroSeat = 2;
  renamed.seats[0].Action = 0;  // the small blind's fold given as known
  // The same stacks left at another level: 75/150.
  Table otherLevel = HeadsUp(1075, 925);
  otherLevel.hand.SmallBlind = 75;
  otherLevel.hand.BigBlind = 150;
  // Three players left with 1000 each, the button moving to seat 2, or,
  // without a small blind this hand, staying on seat 1.
  Table moving({1000, 1050, 950}, 50, 100, 0);
  moving.tour.Places.PlayerCount = 3;
  Table dead = moving;
  for (int i = 0; i < 3; ++i) dead.hand.Players[i].Stack = 1000;
  dead.hand.SmallBlindSeat = 0;
  TSituationOptions deeper = lookAhead;
  deeper.Depth = 2;

  struct Case {
    const char* name;
    std::optional<TNextHandKey> a, b;
    bool same;
  };
  const Case cases[] = {
      {"two branches of two hands leaving the same stacks", folded, stole, true},
      {"names, the hand's hero seat and known actions", folded, foldKey(renamed, lookAhead), true},
      {"another blind level", folded, foldKey(otherLevel, lookAhead), false},
      {"another button", foldKey(moving, lookAhead), foldKey(dead, lookAhead), false},
      {"more hands still to play", folded, foldKey(HeadsUp(1050, 950), deeper), false},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(c.a && c.b) << c.name;
    EXPECT_EQ(*c.a == *c.b, c.same) << c.name;
  }
  // The cases that differ leave the same stacks all the same.
  EXPECT_EQ(folded->Stack, foldKey(otherLevel, lookAhead)->Stack);
  EXPECT_EQ(foldKey(moving, lookAhead)->Stack, foldKey(dead, lookAhead)->Stack);
}

TEST(NextHandKey, OneHandServesEveryBranchAndEveryHeroHand) {
  // Five players two hands ahead: the next hands' own next hands are played
  // out by the threads, and some of them are met more than once.
  Table t({1800, 1200, 2500, 1000, 1400}, 50, 100, 10);
  t.tour.Places.PlayerCount = 5;
  TSituationOptions o;
  o.Depth = 2;
  TSituation s = t.Make(5, o);
  const TNextHandStats played = s.NextHandStats();
  EXPECT_GT(played.Reused, 0);
  EXPECT_GT(played.Played, 0);
  EXPECT_GT(played.PeakBytes, 0u);
  EXPECT_LE(played.PeakBytes, played.CeilingBytes);
  EXPECT_EQ(played.CeilingBytes, kNextHandCacheBytes);
  // The hero's 169 hands are valued from the rows already there: no hand
  // is played out for them.
  const int hands = s.SolveHero(5);
  EXPECT_EQ(s.NextHandStats().Played, played.Played);
  EXPECT_EQ(s.NextHandStats().Reused, played.Reused);

  // With little room, or none, to keep them, the same values come out.
  for (std::size_t ceiling : {std::size_t{4096}, std::size_t{0}}) {
    TSituationOptions small = o;
    small.CacheBytes = ceiling;
    TSituation bare = t.Make(5, small);
    EXPECT_LE(bare.NextHandStats().PeakBytes, ceiling);
    EXPECT_LT(bare.NextHandStats().Reused, played.Reused) << ceiling;
    EXPECT_EQ(bare.PrintBranches(), TSituation(t.Make(5, o)).PrintBranches()) << ceiling;
    EXPECT_EQ(bare.SolveHero(5), hands) << ceiling;
  }
}
