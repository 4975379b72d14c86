// pushfold-check: prints entries of the built-in equity table and ICM
// equities, for anyone who doubts a number of the calculator.
//
//   pushfold-check equity AKs QQ
//       Win and Tie of the first hand class against the second, in percent.
//   pushfold-check icm 1600,1400,7800,2700 0.5,0.3,0.2
//       Each player's ICM equity (Malmuth-Harville), one per line, in the
//       payouts' units.

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "pushfold/logic/hand_evaluator.h"
#include "pushfold/logic/icm.h"

using namespace kova::pushfold;

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: pushfold-check equity HAND HAND   (hands as AA, AKs, AKo)\n"
               "       pushfold-check icm STACKS PAYOUTS (comma-separated numbers)\n");
  return 2;
}

// Comma-separated finite numbers; false on anything else.
bool ParseList(const std::string& text, std::vector<double>& out) {
  out.clear();
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (item.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(item.c_str(), &end);
    if (errno != 0 || end != item.c_str() + item.size() || !std::isfinite(v)) return false;
    out.push_back(v);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return Usage();
  const std::string command = argv[1];
  if (command == "equity") {
    const int a = ParseHandClass(argv[2]);
    const int b = ParseHandClass(argv[3]);
    if (a < 0 || b < 0) {
      std::fprintf(stderr, "pushfold-check: not a hand class: %s\n", a < 0 ? argv[2] : argv[3]);
      return 2;
    }
    const TEquity e = HandVsHandEquity(a, b);
    std::printf("%.4f %.4f\n", e.Win, e.Tie);
    return 0;
  }
  if (command == "icm") {
    std::vector<double> stacks;
    std::vector<double> payouts;
    if (!ParseList(argv[2], stacks)) {
      std::fprintf(stderr, "pushfold-check: stacks must be comma-separated numbers: %s\n", argv[2]);
      return 2;
    }
    if (!ParseList(argv[3], payouts)) {
      std::fprintf(stderr, "pushfold-check: payouts must be comma-separated numbers: %s\n", argv[3]);
      return 2;
    }
    for (double s : stacks) {
      if (s < 0) {
        std::fprintf(stderr, "pushfold-check: a stack cannot be negative: %g\n", s);
        return 2;
      }
    }
    if (stacks.size() > static_cast<std::size_t>(kMaxIcmPlayers)) {
      std::fprintf(stderr, "pushfold-check: at most %d players\n", kMaxIcmPlayers);
      return 2;
    }
    for (double v : ICMEquities(stacks, payouts)) std::printf("%.6f\n", v);
    return 0;
  }
  return Usage();
}
