// pushfold-check: prints entries of the built-in equity table and ICM
// equities, for anyone who doubts a number of the calculator.
//
//   pushfold-check equity AKs QQ
//       Win and Tie of the first hand class against the second, in percent.
//   pushfold-check icm 1600,1400,7800,2700 0.5,0.3,0.2
//       Each player's ICM equity (Malmuth-Harville), one per line, in the
//       payouts' units.
//   pushfold-check solve --stacks 1500,2200,900,3100 --payouts 0.5,0.3,0.2
//                        --blinds 100/200 --ante 20 --button 1 --hero 4 --depth 2
//       The push range of the hero when everybody before him folded, the
//       others playing the calculator's default model (open 10%, call 5%):
//       "push N" (N of the 169 starting-hand classes), then the time taken.
//       Stacks are given by seat (seat 1 first) before the blinds; the blinds
//       follow the button; the field is the players at the table.

#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "pushfold/logic/hand_evaluator.h"
#include "pushfold/logic/icm.h"
#include "pushfold/logic/situation.h"

using namespace kova::pushfold;

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: pushfold-check equity HAND HAND   (hands as AA, AKs, AKo)\n"
               "       pushfold-check icm STACKS PAYOUTS (comma-separated numbers)\n"
               "       pushfold-check solve --stacks S1,S2,... --payouts P1,... --blinds SB/BB\n"
               "                            [--ante A] --button SEAT --hero SEAT [--depth D]\n");
  return 2;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "pushfold-check: %s\n", message.c_str());
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

// A whole number within lo..hi; false on anything else.
bool ParseInt(const std::string& text, int lo, int hi, int& out) {
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || errno != 0 || end != text.c_str() + text.size() || v < lo || v > hi) return false;
  out = static_cast<int>(v);
  return true;
}

int Solve(int argc, char** argv) {
  std::map<std::string, std::string> options;
  for (int i = 2; i < argc; i += 2) {
    const std::string name = argv[i];
    if (name.rfind("--", 0) != 0 || i + 1 >= argc) return Usage();
    options[name.substr(2)] = argv[i + 1];
  }
  for (const auto& [name, value] : options) {
    if (name != "stacks" && name != "payouts" && name != "blinds" && name != "ante" && name != "button" &&
        name != "hero" && name != "depth")
      return Fail("unknown option --" + name);
  }
  for (const char* needed : {"stacks", "payouts", "blinds", "button", "hero"}) {
    if (!options.count(needed)) return Fail(std::string("--") + needed + " is needed");
  }
  std::vector<double> stacks;
  if (!ParseList(options["stacks"], stacks)) return Fail("stacks must be comma-separated numbers");
  const int n = static_cast<int>(stacks.size());
  if (n < 2 || n > kMaxPlayers) return Fail("between 2 and " + std::to_string(kMaxPlayers) + " stacks");
  for (double v : stacks) {
    if (!(v > 0)) return Fail("every stack must be above 0");
  }
  std::vector<double> payouts;
  if (!ParseList(options["payouts"], payouts)) return Fail("payouts must be comma-separated numbers");
  if (payouts.size() > static_cast<std::size_t>(kMaxPaidPlaces))
    return Fail("at most " + std::to_string(kMaxPaidPlaces) + " payouts");
  std::vector<double> blinds;
  std::string blindText = options["blinds"];
  const std::size_t slash = blindText.find('/');
  if (slash == std::string::npos || !ParseList(blindText.replace(slash, 1, ","), blinds) || blinds.size() != 2 ||
      blinds[0] < 0 || !(blinds[1] > 0))
    return Fail("blinds must be SB/BB, the big blind above 0");
  std::vector<double> ante = {0};
  if (options.count("ante") && (!ParseList(options["ante"], ante) || ante.size() != 1 || ante[0] < 0))
    return Fail("ante must be a number, at least 0");
  int button = 0, hero = 0, depth = 0;
  if (!ParseInt(options["button"], 1, n, button)) return Fail("button must be a seat from 1 to " + std::to_string(n));
  if (!ParseInt(options["hero"], 1, n, hero)) return Fail("hero must be a seat from 1 to " + std::to_string(n));
  if (options.count("depth") && !ParseInt(options["depth"], 0, INT_MAX, depth))
    return Fail("depth must be a whole number, at least 0");

  TTournamentInfo tour;
  tour.SeatCount = n;
  tour.PaidPlaces = static_cast<double>(payouts.size());
  for (std::size_t k = 0; k < payouts.size(); ++k) tour.Payouts[k] = payouts[k];
  tour.Places.PlayerCount = n;
  tour.Places.NextPlace = n;
  THH hand;
  hand.PlayerCount = n;
  for (int i = 0; i < n; ++i) hand.Players[i] = {i + 1, "", stacks[i]};
  hand.Button = button;
  // Heads-up the button posts the small blind.
  hand.SmallBlindSeat = n == 2 ? button : NextSeatWithChips(button, hand, n);
  hand.BigBlindSeat = NextSeatWithChips(hand.SmallBlindSeat, hand, n);
  hand.SmallBlind = blinds[0];
  hand.BigBlind = blinds[1];
  hand.Ante = ante[0];
  // Everybody who acts before the hero folded: seats from the big blind's
  // next one round to the hero.
  std::vector<TSeatInput> seats(static_cast<std::size_t>(n));
  for (int seat = hand.BigBlindSeat % n + 1; seat != hero; seat = seat % n + 1) {
    if (seat == hand.BigBlindSeat) break;
    seats[static_cast<std::size_t>(seat - 1)].Action = 0;
  }
  TSituationOptions o;
  o.Depth = depth;
  o.Edge = 0.004;  // the calculator's default edge, 0.40 %
  const auto start = std::chrono::steady_clock::now();
  TSituation s(tour, hand, hero - 1, seats, o);
  const int push = s.SolveHero(s.HeroPosition());
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("push %d\n", push);
  std::printf("time %.3f s\n", seconds);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::string(argv[1]) == "solve") return Solve(argc, argv);
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
