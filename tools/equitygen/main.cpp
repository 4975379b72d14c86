// equitygen: computes the exact pre-flop all-in results of every pair of
// starting-hand classes and writes them as a C++ include file that the
// push/fold library builds in.
//
// For each pair of classes every card-compatible pair of combinations is
// reduced by suit isomorphism to one representative per group; each
// representative is played out over all 1,712,304 boards of five from the
// remaining 48 cards. The counts are exact integers.
//
// usage: equitygen [--threads N] [--out FILE]

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "poker/cards.h"

using namespace kova::poker;

namespace {

constexpr int kPairCount = kHandClassCount * (kHandClassCount + 1) / 2;

int TriIndex(int a, int b) { return a * (a + 1) / 2 + b; }  // b <= a

struct Job {
  int cell = 0;  // TriIndex(a, b)
  MatchupGroup group;
};

int Usage() {
  std::fprintf(stderr, "usage: equitygen [--threads N] [--out FILE]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int threads = 6;
  std::string out = "preflop_equity.inc";
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--threads") == 0 && i + 1 < argc) {
      threads = std::atoi(argv[++i]);
      if (threads < 1 || threads > 64) {
        std::fprintf(stderr, "equitygen: thread count must be 1 to 64\n");
        return 2;
      }
    } else if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
      out = argv[++i];
    } else {
      return Usage();
    }
  }

  const auto start = std::chrono::steady_clock::now();
  std::vector<Job> jobs;
  std::uint64_t combos[kPairCount] = {};  // compatible combination pairs per cell
  for (int a = 0; a < kHandClassCount; ++a) {
    for (int b = 0; b <= a; ++b) {
      for (const MatchupGroup& g : MatchupGroups(a, b)) {
        jobs.push_back({TriIndex(a, b), g});
        combos[TriIndex(a, b)] += g.multiplicity;
      }
    }
  }
  std::fprintf(stderr, "equitygen: %zu representative matchups, %d threads\n", jobs.size(), threads);

  std::vector<ShowdownCounts> results(jobs.size());
  std::atomic<std::size_t> next{0};
  std::atomic<std::size_t> done{0};
  auto worker = [&] {
    for (;;) {
      const std::size_t i = next.fetch_add(1);
      if (i >= jobs.size()) return;
      results[i] = CountShowdowns(jobs[i].group.first, jobs[i].group.second);
      const std::size_t d = done.fetch_add(1) + 1;
      if (d % 2000 == 0) std::fprintf(stderr, "equitygen: %zu / %zu\n", d, jobs.size());
    }
  };
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t) pool.emplace_back(worker);
  for (std::thread& t : pool) t.join();

  std::vector<std::uint64_t> wins(kPairCount, 0), ties(kPairCount, 0), loses(kPairCount, 0);
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    const std::uint64_t m = jobs[i].group.multiplicity;
    wins[jobs[i].cell] += m * results[i].win;
    ties[jobs[i].cell] += m * results[i].tie;
    loses[jobs[i].cell] += m * results[i].lose;
  }
  // Sanity: every count fits 32 bits, every cell adds up, and a class
  // against itself wins exactly as often as it loses.
  for (int a = 0; a < kHandClassCount; ++a) {
    for (int b = 0; b <= a; ++b) {
      const int c = TriIndex(a, b);
      const std::uint64_t total =
          static_cast<std::uint64_t>(HandCombos(a)) * CompatibleCombos(a, b) * kBoardsPerMatchup;
      if (combos[c] * kBoardsPerMatchup != total || wins[c] + ties[c] + loses[c] != total ||
          wins[c] > 0xFFFFFFFFu || ties[c] > 0xFFFFFFFFu || (a == b && wins[c] != loses[c])) {
        std::fprintf(stderr, "equitygen: inconsistent counts for %s vs %s\n", HandName(a).c_str(),
                     HandName(b).c_str());
        return 1;
      }
    }
  }

  // Strength order: equity against a random hand (win + half the ties over
  // every compatible combination and board), best first; equal equities keep
  // the lower class number first. Compared exactly as integers.
  std::vector<std::uint64_t> score(kHandClassCount, 0);  // 2 x wins + ties, summed over opponents
  for (int a = 0; a < kHandClassCount; ++a) {
    for (int b = 0; b < kHandClassCount; ++b) {
      if (b <= a) {
        const int c = TriIndex(a, b);
        score[a] += 2 * wins[c] + ties[c];
      } else {
        const int c = TriIndex(b, a);
        score[a] += 2 * loses[c] + ties[c];
      }
    }
  }
  std::vector<int> order(kHandClassCount);
  for (int h = 0; h < kHandClassCount; ++h) order[h] = h;
  // Every class meets the same number of opponent combinations per own
  // combination (1225), so score / combos is the equity up to one factor.
  // A score is below 2 x 12 x 1225 x 1712304 (about 5e13), so the cross
  // products stay far inside 64 bits.
  std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
    return score[x] * static_cast<std::uint64_t>(HandCombos(y)) > score[y] * static_cast<std::uint64_t>(HandCombos(x));
  });

  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::ofstream f(out, std::ios::binary);
  if (!f) {
    std::fprintf(stderr, "equitygen: cannot write %s\n", out.c_str());
    return 1;
  }
  f << "// Generated by tools/equitygen; do not edit.\n"
       "// Exact pre-flop all-in counts of every pair of starting-hand classes:\n"
       "// cell a * (a + 1) / 2 + b for b <= a holds the number of (combination\n"
       "// pair, board) deals that hand a wins and ties against hand b, over every\n"
       "// card-compatible pair of combinations and every board of five from the\n"
       "// remaining 48 cards.\n";
  auto writeArray = [&](const char* name, const std::vector<std::uint64_t>& v) {
    f << "constexpr std::uint32_t " << name << "[" << v.size() << "] = {";
    for (std::size_t i = 0; i < v.size(); ++i) {
      f << (i % 8 == 0 ? "\n" : " ") << v[i] << ",";
    }
    f << "\n};\n";
  };
  writeArray("kEquityWinCounts", wins);
  writeArray("kEquityTieCounts", ties);
  f << "// Classes strongest first, by equity against a random hand.\n"
       "constexpr std::int16_t kStrengthOrder[169] = {";
  for (int i = 0; i < kHandClassCount; ++i) {
    f << (i % 13 == 0 ? "\n" : " ") << order[i] << ",";
  }
  f << "\n};\n";
  f.close();
  if (!f) {
    std::fprintf(stderr, "equitygen: write error on %s\n", out.c_str());
    return 1;
  }
  std::fprintf(stderr, "equitygen: %s written in %.1f s\n", out.c_str(), seconds);
  return 0;
}
