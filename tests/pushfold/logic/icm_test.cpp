#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "pushfold/logic/icm.h"
#include "pushfold/logic/situation.h"

using namespace kova::pushfold;

namespace {

// Reference: every finishing order of the players with chips, weighted as
// Malmuth-Harville does.
std::vector<double> BruteForceIcm(const std::vector<double>& stacks, const std::vector<double>& payouts) {
  std::vector<int> live;
  for (int i = 0; i < static_cast<int>(stacks.size()); ++i) {
    if (stacks[i] > 0) live.push_back(i);
  }
  std::vector<double> eq(stacks.size(), 0.0);
  std::sort(live.begin(), live.end());
  do {
    double p = 1;
    double left = 0;
    for (int i : live) left += stacks[i];
    for (std::size_t k = 0; k < live.size(); ++k) {
      p *= stacks[live[k]] / left;
      left -= stacks[live[k]];
    }
    for (std::size_t k = 0; k < live.size() && k < payouts.size(); ++k) eq[live[k]] += p * payouts[k];
  } while (std::next_permutation(live.begin(), live.end()));
  return eq;
}

}  // namespace

TEST(Icm, TwoPlayersOnePlaceIsChipShareTimesFirstPrize) {
  const std::vector<double> stacks = {3000, 1000};
  const std::vector<double> payouts = {0.7};
  const std::vector<double> eq = ICMEquities(stacks, payouts);
  ASSERT_EQ(eq.size(), 2u);
  EXPECT_DOUBLE_EQ(eq[0], 0.75 * 0.7);
  EXPECT_DOUBLE_EQ(eq[1], 0.25 * 0.7);
}

TEST(Icm, MatchesEveryFinishingOrder) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> chips(100, 9000);
  const std::vector<std::vector<double>> payoutSets = {
      {1.0}, {0.65, 0.35}, {0.5, 0.3, 0.2}, {0.4, 0.25, 0.15, 0.12, 0.08}, {0.2, 0.2, 0.2, 0.2, 0.2}};
  for (int players = 1; players <= 7; ++players) {
    for (const auto& payouts : payoutSets) {
      std::vector<double> stacks(players);
      for (double& s : stacks) s = chips(rng);
      if (players > 2) stacks[1] = 0;  // a player without chips takes no place
      const std::vector<double> got = ICMEquities(stacks, payouts);
      const std::vector<double> want = BruteForceIcm(stacks, payouts);
      ASSERT_EQ(got.size(), want.size());
      for (int i = 0; i < players; ++i) EXPECT_NEAR(got[i], want[i], 1e-12) << players << " players, " << i;
    }
  }
}

TEST(Icm, EdgeCases) {
  EXPECT_EQ(ICMEquities(std::vector<double>{0, 0}, std::vector<double>{1.0}), (std::vector<double>{0, 0}));
  EXPECT_EQ(ICMEquities(std::vector<double>{5, 5}, std::vector<double>{}), (std::vector<double>{0, 0}));
  EXPECT_TRUE(ICMEquities(std::vector<double>(kMaxIcmPlayers + 1, 1.0), std::vector<double>{1.0}).empty());
  // Equal stacks share equally; all prizes are handed out.
  const std::vector<double> eq = ICMEquities(std::vector<double>(10, 1500.0), std::vector<double>{0.5, 0.3, 0.2});
  for (double e : eq) EXPECT_NEAR(e, 0.1, 1e-12);
}

// Rows that share a base give the bits each row gives on its own: one or
// two players changed (a pot won, a showdown with a bust or a split), a
// player without chips, a total that differs from the first row's, every
// paid-place count and more players than the shared tables hold.
TEST(Icm, RowsSharingABaseHaveTheBitsOfEachRowAlone) {
  const auto sameBits = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> chips(1, 9000);
  const std::vector<std::vector<double>> payoutSets = {
      {1.0}, {0.65, 0.35}, {0.5, 0.3, 0.2}, {0.4, 0.25, 0.15, 0.12, 0.08}, std::vector<double>(12, 1.0 / 12)};
  for (int players = 1; players <= 12; ++players) {
    for (const auto& payouts : payoutSets) {
      std::vector<double> base(players);
      for (double& s : base) s = chips(rng);
      if (players > 4) base[3] = 0;  // broke before the hand
      const double pot = 750;
      std::vector<std::vector<double>> rows;
      for (int w = 0; w < players; ++w) {
        rows.push_back(base);
        rows.back()[w] += pot;
      }
      for (int a = 0; a < players; ++a) {
        for (int b = a + 1; b < players; ++b) {
          std::vector<double> bust = base, split = base;
          bust[a] += base[b] + pot;
          bust[b] = 0;
          split[a] += pot / 2;
          split[b] += pot / 2;
          rows.push_back(bust);
          rows.push_back(split);
        }
      }
      std::vector<double> more = base;  // other chips in play: no sharing
      more[0] += 2 * pot;
      rows.push_back(more);
      rows.push_back(base);  // no pot at all
      rows.push_back(rows.front());
      TIcmRows shared;
      shared.Reset(base, payouts);
      for (std::size_t r = 0; r < rows.size(); ++r) {
        std::vector<double> want(players, -1.0), got(players, -2.0);
        ASSERT_TRUE(ICMEquitiesInto(rows[r], payouts, want));
        ASSERT_TRUE(shared.Into(rows[r], got));
        for (int i = 0; i < players; ++i) {
          EXPECT_TRUE(sameBits(got[i], want[i]))
              << players << " players, " << payouts.size() << " paid, row " << r << ", player " << i;
        }
      }
      // The same rows three at a time, as a showdown's outcomes are asked:
      // triples that change the same players, and triples that do not.
      for (std::size_t first = 0; first + TIcmRows::kRowsAtOnce <= rows.size(); ++first) {
        TIcmRows together;
        together.Reset(base, payouts);
        std::vector<std::vector<double>> got(TIcmRows::kRowsAtOnce, std::vector<double>(players, -2.0));
        const std::size_t step = first % 2 == 0 ? 1 : rows.size() / 3;  // neighbours, or far apart
        const std::size_t at[] = {first, (first + step) % rows.size(), (first + 2 * step) % rows.size()};
        ASSERT_TRUE(together.IntoRows({rows[at[0]], rows[at[1]], rows[at[2]]}, {got[0], got[1], got[2]}));
        for (int k = 0; k < TIcmRows::kRowsAtOnce; ++k) {
          std::vector<double> want(players, -1.0);
          ASSERT_TRUE(ICMEquitiesInto(rows[at[k]], payouts, want));
          for (int i = 0; i < players; ++i) {
            EXPECT_TRUE(sameBits(got[k][i], want[i]))
                << players << " players, " << payouts.size() << " paid, rows from " << first << ", row " << at[k]
                << ", player " << i;
          }
        }
      }
    }
  }
}

// The outcomes of one showdown change the same two stacks; seen together
// they give each outcome's own bits, with one of the two broke or not.
TEST(Icm, ShowdownOutcomesTogetherHaveTheBitsOfEachAlone) {
  const auto sameBits = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
  const std::vector<double> base = {1600, 1400, 7800, 2700, 900, 3100, 2200, 1250, 4100, 600};
  const double pot = 500;
  for (const std::vector<double>& payouts : {std::vector<double>{0.5, 0.3, 0.2}, std::vector<double>{0.4, 0.25, 0.15, 0.12, 0.08}}) {
    for (int a = 0; a < 10; ++a) {
      for (int b = a + 1; b < 10; ++b) {
        const int shorter = base[a] < base[b] ? a : b;
        const int longer = shorter == a ? b : a;
        std::vector<std::vector<double>> rows(3, base);
        rows[0][longer] += base[shorter] + pot;
        rows[0][shorter] = 0;
        rows[1][a] += pot / 2;
        rows[1][b] += pot / 2;
        rows[2][shorter] += base[shorter] + pot;
        rows[2][longer] -= base[shorter];
        TIcmRows together;
        together.Reset(base, payouts);
        std::vector<std::vector<double>> got(3, std::vector<double>(10, -2.0));
        ASSERT_TRUE(together.IntoRows({rows[0], rows[1], rows[2]}, {got[0], got[1], got[2]}));
        for (int k = 0; k < 3; ++k) {
          std::vector<double> want(10, -1.0);
          ASSERT_TRUE(ICMEquitiesInto(rows[k], payouts, want));
          for (int i = 0; i < 10; ++i) {
            EXPECT_TRUE(sameBits(got[k][i], want[i])) << payouts.size() << " paid, " << a << " vs " << b << ", outcome " << k << ", player " << i;
          }
        }
      }
    }
  }
}

// Pair sums instead of the set walk: the same equities up to rounding, on
// every row of a hand, for tables with chips spread evenly, one player
// holding almost all of them, players broke, stacks whose sums round, and
// payouts of one to three places (more places are refused, unless the
// prizes past the third are none); and summed over the rows with weights,
// as a last hand sums them. The sums less one player's terms lose digits
// as his stack outweighs the rest: the bound grows with it.
TEST(Icm, PairSumsGiveTheSetWalksEquities) {
  std::mt19937 rng(17);
  std::uniform_int_distribution<int> chips(1, 9000);
  struct Payouts {
    std::vector<double> prizes;
    bool taken;
  };
  const std::vector<Payouts> payoutSets = {{{1.0}, true},
                                           {{0.65, 0.35}, true},
                                           {{0.5, 0.3, 0.2}, true},
                                           {{0.5, 0.3, 0.2, 0, 0}, true},
                                           {{0.4, 0.25, 0.15, 0.12, 0.08}, false}};
  enum Shape { kEven, kOneLeader, kFractions };
  for (int players = 1; players <= 10; ++players) {
    for (const Shape shape : {kEven, kOneLeader, kFractions}) {
      std::vector<double> base(players);
      for (double& s : base) s = chips(rng);
      if (shape == kOneLeader) {
        for (double& s : base) s /= 1000;
        base[0] = 1e6;
      }
      if (shape == kFractions) {
        for (double& s : base) s += 0.1;
      }
      if (players > 4) base[3] = 0;  // broke before the hand
      const double pot = shape == kOneLeader ? 3.3 : 750;
      std::vector<std::vector<double>> rows;
      for (int w = 0; w < players; ++w) {
        rows.push_back(base);
        rows.back()[w] += pot;
      }
      for (int a = 0; a < players; ++a) {
        for (int b = a + 1; b < players; ++b) {
          const int shorter = base[a] < base[b] ? a : b;
          const int longer = shorter == a ? b : a;
          for (int outcome = 0; outcome < 3; ++outcome) {
            std::vector<double> r = base;
            if (outcome == 0) {
              r[longer] += base[shorter] + pot;
              r[shorter] = 0;
            } else if (outcome == 1) {
              r[a] += pot / 2;
              r[b] += pot / 2;
            } else {
              r[shorter] += base[shorter] + pot;
              r[longer] -= base[shorter];
            }
            rows.push_back(r);
          }
        }
      }
      for (const Payouts& payouts : payoutSets) {
        TIcmRowsQuick quick;
        const bool taken = quick.Reset(base, payouts.prizes);
        const std::string where = std::to_string(players) + " players, shape " + std::to_string(shape) + ", " +
                                  std::to_string(payouts.prizes.size()) + " paid";
        ASSERT_EQ(taken, payouts.taken || players <= 3) << where;
        if (!taken) continue;
        // The rows summed with weights, as a last hand sums them, and
        // one row of another total (valued on its own).
        std::vector<double> wantSum(players, 0.0);
        double sumBound = 0;
        TIcmRowsQuick summed;
        summed.Reset(base, payouts.prizes);
        std::vector<double> other = base;
        other[0] += 1;
        rows.push_back(other);
        for (std::size_t r = 0; r < rows.size(); ++r) {
          std::vector<double> want(players, -1.0), got(players, -2.0);
          ASSERT_TRUE(ICMEquitiesInto(rows[r], payouts.prizes, want));
          quick.Into(rows[r], got);
          const double total = std::accumulate(rows[r].begin(), rows[r].end(), 0.0);
          const double largest = *std::max_element(rows[r].begin(), rows[r].end());
          const double weight = largest < total ? largest / (total - largest) : 0.0;
          const double bound = 1e-14 * (1 + weight);
          for (int i = 0; i < players; ++i) {
            EXPECT_NEAR(got[i], want[i], bound * want[i]) << where << ", row " << r << ", player " << i;
          }
          const double rowWeight = 1.0 / static_cast<double>(r + 2);
          summed.Add(rows[r], rowWeight);
          for (int i = 0; i < players; ++i) wantSum[i] += rowWeight * want[i];
          sumBound = std::max(sumBound, 1e-13 * (1 + weight));
        }
        std::vector<double> gotSum(players, -3.0);
        summed.Sum(gotSum);
        for (int i = 0; i < players; ++i) {
          EXPECT_NEAR(gotSum[i], wantSum[i], sumBound * wantSum[i]) << where << ", summed rows, player " << i;
        }
      }
    }
  }
}

#ifdef KOVA_PUSHFOLD_CHECK_TOOL
namespace {

std::string RunTool(const std::string& args) {
  const std::string cmd = std::string(KOVA_PUSHFOLD_CHECK_TOOL) + " " + args + " 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return "";
  std::string out;
  char buf[256];
  while (std::fgets(buf, sizeof buf, p)) out += buf;
  const int status = pclose(p);
  return out + "#" + std::to_string(status == 0 ? 0 : 1);
}

}  // namespace

TEST(PushfoldCheckTool, PrintsIcmAndEquity) {
  const std::vector<double> stacks = {1600, 1400, 7800, 2700};
  const std::vector<double> eq = ICMEquities(stacks, std::vector<double>{0.5, 0.3, 0.2});
  std::string want;
  char line[64];
  for (double e : eq) {
    std::snprintf(line, sizeof line, "%.6f\n", e);
    want += line;
  }
  EXPECT_EQ(RunTool("icm 1600,1400,7800,2700 0.5,0.3,0.2"), want + "#0");
  const std::string equity = RunTool("equity AA KK");
  double win = 0, tie = 0;
  ASSERT_EQ(std::sscanf(equity.c_str(), "%lf %lf", &win, &tie), 2) << equity;
  EXPECT_NEAR(win, 82.0, 1.0);
  EXPECT_GT(tie, 0.0);
  EXPECT_NE(RunTool("equity AKx QQ").find("not a hand class"), std::string::npos);
  EXPECT_NE(RunTool("icm 100,abc 1").find("#1"), std::string::npos);
  EXPECT_NE(RunTool("icm 100,,5 1").find("#1"), std::string::npos);
  EXPECT_NE(RunTool("icm 100,-5 1").find("negative"), std::string::npos);
}

TEST(PushfoldCheckTool, SolvesOneSituation) {
  // Heads-up, seat 1 on the button posting the small blind, two hands
  // ahead, the default model (all zeros) for the big blind.
  TTournamentInfo tour;
  tour.SeatCount = 2;
  tour.PaidPlaces = 1;
  tour.Payouts[0] = 1.0;
  tour.Places.PlayerCount = 2;
  tour.Places.NextPlace = 2;
  THH hand;
  hand.PlayerCount = 2;
  hand.Players[0] = {1, "", 1800};
  hand.Players[1] = {2, "", 1200};
  hand.Button = 1;
  hand.SmallBlindSeat = 1;
  hand.BigBlindSeat = 2;
  hand.SmallBlind = 50;
  hand.BigBlind = 100;
  TSituationOptions o;
  o.Depth = 2;
  o.Edge = 0.004;
  TSituation s(tour, hand, 0, std::vector<TSeatInput>(2), o);
  const int want = s.SolveHero(s.HeroPosition());

  const std::string out =
      RunTool("solve --stacks 1800,1200 --payouts 1 --blinds 50/100 --button 1 --hero 1 --depth 2");
  int push = -1;
  double seconds = -1;
  ASSERT_EQ(std::sscanf(out.c_str(), "push %d\ntime %lf s\n", &push, &seconds), 2) << out;
  EXPECT_EQ(push, want);
  EXPECT_GE(seconds, 0.0);
  EXPECT_NE(out.find("#0"), std::string::npos);

  struct Bad {
    const char* args;
    const char* says;
  } bad[] = {
      {"solve --stacks 1800,1200 --payouts 1 --blinds 50/100 --button 1", "--hero is needed"},
      {"solve --stacks 1800,1200 --payouts 1 --blinds 50/100 --button 1 --hero 3", "hero must be a seat"},
      {"solve --stacks 1800,0 --payouts 1 --blinds 50/100 --button 1 --hero 1", "above 0"},
      {"solve --stacks 1800,1200 --payouts 1 --blinds 50 --button 1 --hero 1", "SB/BB"},
      {"solve --stacks 1800,1200 --payouts 1 --blinds 50/100 --button 1 --hero 1 --depth -1", "depth"},
      {"solve --stacks 1800,1200 --payouts 1 --blinds 50/100 --button 1 --hero 1 --seats 9", "unknown option"},
  };
  for (const Bad& b : bad) {
    const std::string said = RunTool(b.args);
    EXPECT_NE(said.find(b.says), std::string::npos) << b.args << ": " << said;
    EXPECT_NE(said.find("#1"), std::string::npos) << b.args;
  }
}
#endif
