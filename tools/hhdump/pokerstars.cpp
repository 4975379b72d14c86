// hhdump pokerstars FILE: the hands the tournament table's level clock
// finds in a PokerStars hand-history file, one line per hand with the time
// it started ("none" when the time does not convert).
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "hhdump.h"
#include "tables/adapters/pokerstars/portable/history.h"

namespace kova::hhdump {
namespace {

namespace ps = kova::tables::pokerstars;

int DumpPokerStars(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "hhdump: cannot read %s\n", file.c_str());
    return 1;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    std::fprintf(stderr, "hhdump: cannot read %s\n", file.c_str());
    return 1;
  }
  const std::vector<std::string> lines = ps::HistoryLines(bytes);
  const int32_t hands = ps::CountHands(lines);
  for (int32_t k = 1; k <= hands; ++k) {
    const std::optional<double> start = ps::HandStartTime(ps::ReadHand(lines, k));
    std::printf("hand %d start %s\n", k, start ? ps::FormatDayBasedTime(*start).c_str() : "none");
  }
  if (hands == 0) std::fprintf(stderr, "hhdump: no PokerStars hand in %s\n", file.c_str());
  return 0;
}

const THhdumpClient registration("pokerstars", DumpPokerStars);

}  // namespace
}  // namespace kova::hhdump
