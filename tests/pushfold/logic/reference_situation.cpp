#include "reference_situation.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace kova::pushfold::reference {

namespace {

// Probabilities come from user-typed percentages; anything outside 0..1
// would give negative branch weights.
double Clamp01(double v) { return v > 0 ? (v < 1 ? v : 1.0) : 0.0; }

std::string Format(const char* fmt, auto... args) {
  char buf[256];
  std::snprintf(buf, sizeof buf, fmt, args...);
  return buf;
}

// The "00.00" picture: at least two integer digits and two decimals.
std::string Percent2(double v) {
  const double a = std::fabs(v);
  std::string s = Format("%05.2f", a);
  return (v < 0 && s != "00.00") ? "-" + s : s;
}

}  // namespace

std::vector<double> ICMEquities(std::span<const double> stacks, std::span<const double> payouts) {
  const int n = static_cast<int>(stacks.size());
  if (n > kMaxIcmPlayers) return {};
  std::vector<double> equity(n, 0.0);
  double total = 0;
  for (double s : stacks) total += std::max(0.0, s);
  const int places = std::min<int>(static_cast<int>(payouts.size()), n);
  if (total <= 0 || places == 0) return equity;

  // prob[S]: chance that exactly the players of S took the first |S| places.
  // Only sets smaller than the paid places matter, so the work is bounded by
  // the number of such sets rather than the orderings of all players.
  const std::uint32_t full = std::uint32_t{1} << n;
  std::vector<double> prob(full, 0.0);
  std::vector<double> placedChips(full, 0.0);
  prob[0] = 1.0;
  for (std::uint32_t set = 0; set < full; ++set) {
    const int placed = std::popcount(set);
    if (placed >= places) continue;
    if (set != 0) {
      const std::uint32_t low = set & (~set + 1);
      placedChips[set] = placedChips[set ^ low] + std::max(0.0, stacks[std::countr_zero(low)]);
    }
    const double p = prob[set];
    if (p == 0) continue;
    const double left = total - placedChips[set];
    if (left <= 0) continue;
    for (int i = 0; i < n; ++i) {
      if (set & (std::uint32_t{1} << i) || !(stacks[i] > 0)) continue;
      const double next = p * stacks[i] / left;
      equity[i] += next * payouts[placed];
      if (placed + 1 < places) prob[set | (std::uint32_t{1} << i)] += next;
    }
  }
  return equity;
}

TReferenceSituation::TReferenceSituation(const TTournamentInfo& tournament, const THH& hand, int heroIndex,
                                         std::vector<TSeatInput> seats, const TSituationOptions& options)
    : tournament_(tournament), hand_(hand), heroIndex_(heroIndex), seats_(std::move(seats)), options_(options) {
  options_.Depth = std::max(options_.Depth, 0);
  // A place is valued while it is below the number of paid places, and the
  // record holds at most five shares.
  int places = static_cast<int>(std::ceil(tournament_.PaidPlaces));
  places = std::clamp(places, 1, kMaxPaidPlaces);
  payouts_.assign(tournament_.Payouts.begin(), tournament_.Payouts.begin() + places);
  SetBlindLevel();
  SeatPositions();
  PostBlinds();
  Evaluate();
}

void TReferenceSituation::SetBlindLevel() {
  const auto& levels = BlindStructure();
  if (hand_.HandTime > 0 && tournament_.LevelMinutes > 0) {
    // Level = the number of level durations begun since the start.
    double elapsed = tournament_.StartTime - hand_.HandTime - options_.ClockCorrectionDays;
    const double step = tournament_.LevelMinutes / 1440.0;
    int level = 0;
    while (elapsed < 0 && level <= kBlindLevelCount) {
      elapsed += step;
      ++level;
    }
    level_ = ClampBlindLevel(level);
    const TBlindLevel& l = levels[level_ - 1];
    hand_.SmallBlind = l.SmallBlind;
    hand_.BigBlind = l.BigBlind;
    hand_.Ante = l.Ante;
  } else {
    // The last level with the hand's big blind and ante; without one, the
    // level whose big blind is nearest (the later on a tie). The hand keeps
    // its own blinds.
    int found = 0;
    for (int i = 0; i < kBlindLevelCount; ++i) {
      if (levels[i].BigBlind == hand_.BigBlind && levels[i].Ante == hand_.Ante) found = i + 1;
    }
    if (found == 0) {
      double best = -1;
      for (int i = 0; i < kBlindLevelCount; ++i) {
        const double d = std::fabs(levels[i].BigBlind - hand_.BigBlind);
        if (best < 0 || d <= best) {
          best = d;
          found = i + 1;
        }
      }
    }
    level_ = ClampBlindLevel(found);
  }
  bigBlind_ = hand_.BigBlind;
  smallBlind_ = hand_.SmallBlindSeat != 0 ? hand_.SmallBlind : 0.0;
  ante_ = hand_.Ante;
}

void TReferenceSituation::SeatPositions() {
  count_ = std::clamp<int>(hand_.PlayerCount, 0, kMaxPlayers);
  int bb = -1;
  for (int i = 0; i < count_; ++i) {
    if (hand_.Players[i].Seat == hand_.BigBlindSeat) bb = i;
  }
  if (bb < 0) {
    // Nobody sits on the big blind: there is no hand to play.
    count_ = 0;
    return;
  }
  for (int r = 1; r <= count_; ++r) {
    const int e = ((bb - (r - 1)) % count_ + count_) % count_;
    const TSeatInput in = e < static_cast<int>(seats_.size()) ? seats_[e] : TSeatInput{};
    entry_[r] = e;
    seat_[r] = hand_.Players[e].Seat;
    startStack_[r] = hand_.Players[e].Stack;
    action_[r] = (in.Action == 0 || in.Action == 1) ? in.Action : -1;
    open_[r] = in.Open;
    call_[r] = in.Call;
    model_[r] = in.Model.get();
    if (e == heroIndex_) heroPosition_ = r;
  }
  seated_ = true;
}

void TReferenceSituation::PostBlinds() {
  pot_ = 0;
  for (int p = 1; p <= count_; ++p) stack_[p] = startStack_[p];
  const auto post = [&](int p, double amount) {
    if (stack_[p] <= amount) {
      pot_ += std::max(0.0, stack_[p]);
      stack_[p] = 0;
    } else {
      stack_[p] -= amount;
      pot_ += amount;
    }
  };
  if (ante_ > 0) {
    for (int p = 1; p <= count_; ++p) post(p, ante_);
  }
  if (count_ >= 1) post(1, bigBlind_);
  if (count_ >= 2) post(2, smallBlind_);
}

void TReferenceSituation::Evaluate() {
  branches_.clear();
  brokeCount_ = 0;
  for (int p = 1; p <= count_; ++p) {
    if (stack_[p] <= 0) ++brokeCount_;
  }
  if (!seated_ || count_ < 1 || brokeCount_ > 2) return;
  k_ = 0;
  flags_.fill(0);
  prob_.fill(0);
  allIn_.fill(0);
  BuildActionTree(count_, 1.0);
  for (TBranch& b : branches_) {
    if (CancelRequested()) return;
    EvaluateBranch(b);
  }
}

double TReferenceSituation::ActionProbability(int p) const {
  const int level = ClampBlindLevel(level_);
  double prob = 0;
  if (k_ == 0) {
    prob = open_[p] != 0 ? open_[p] : (model_[p] ? model_[p]->At(level, 0, p) / 100.0 : 0.0);
    if (prob == 0) prob = 0.1;
  } else if (k_ == 1) {
    const int q = allIn_[1];
    prob = call_[p] != 0 ? call_[p] : (model_[p] ? model_[p]->At(level, q, p) / 100.0 : 0.0);
    if (prob == 0) prob = 0.05;
  }
  prob = Clamp01(prob);
  if (stack_[p] <= 0) prob = 1.0;
  if (p == 1 && k_ == 0) prob = 1.0;
  return prob;
}

void TReferenceSituation::RecordBranch(double w) {
  TBranch b;
  b.Flags = flags_;
  b.Prob = prob_;
  b.Prob[0] = w;
  b.AllInCount = k_;
  b.AllIn[0] = k_ >= 1 ? allIn_[1] : 0;
  b.AllIn[1] = k_ >= 2 ? allIn_[2] : 0;
  branches_.push_back(b);
}

void TReferenceSituation::BuildActionTree(int p, double w) {
  const double push = action_[p] == 0 ? 0.0 : ActionProbability(p);

  // All-in. The players all-in from the blinds are already among the k
  // all-in players of the path, so a showdown has at most two all-in
  // players counting them once.
  k_ += 1;
  flags_[p] = 1;
  prob_[p] = push;
  allIn_[k_] = p;
  double w2 = w * push;
  if (p > 1 && w2 > 0) {
    BuildActionTree(p - 1, w2);
  } else if (p == 1 && w2 > 0 && k_ <= 2) {
    RecordBranch(w2);
  }
  allIn_[k_] = 0;
  k_ -= 1;
  flags_[p] = 0;

  // Fold.
  const double fold = action_[p] == 1 ? 0.0 : 1.0 - push;
  prob_[p] = fold;
  w2 = w * fold;
  if (p > 1 && w2 > 0) {
    BuildActionTree(p - 1, w2);
  } else if (p == 1 && w2 > 0 && k_ <= 2) {
    RecordBranch(w2);
  }
  prob_[p] = 0;
}

void TReferenceSituation::EvaluateBranch(TBranch& b) {
  if (b.AllInCount < 2) {
    // Uncontested: the only all-in player, or the big blind when everybody
    // folded, takes the pot.
    const int winner = b.AllInCount == 1 ? b.AllIn[0] : 1;
    TPositionValues stacks = stack_;
    stacks[winner] += pot_;
    b.Equity[0] = BranchEquities(stacks);
    return;
  }
  const int first = b.AllIn[0];
  const int second = b.AllIn[1];
  const TEquity e = RangeVsRangeEquity(TopRange(b.Prob[first]), TopRange(b.Prob[second]));
  const double chance[3] = {e.Win, e.Tie, e.Lose};
  b.Equity[0].fill(0);
  for (int outcome = 0; outcome < 3; ++outcome) {
    b.Equity[outcome + 1] = BranchEquities(ShowdownStacks(first, second, outcome));
    for (int p = 1; p <= count_; ++p) b.Equity[0][p] += chance[outcome] * b.Equity[outcome + 1][p];
  }
}

TReferenceSituation::Pots TReferenceSituation::ShowdownPots(int a, int b) const {
  Pots r;
  const double sa = startStack_[a];
  const double sb = startStack_[b];
  if (ante_ <= 0) {
    r.Sa = sa;
    r.Sb = sb;
  } else {
    // Every position's ante counts, whatever the table size.
    const double aa = std::min(sa, ante_);
    for (int p = 1; p <= count_; ++p) r.Pot += std::min(startStack_[p], aa);
    if (aa < ante_) {
      for (int p = 1; p <= count_; ++p) r.Side += std::min(std::max(0.0, startStack_[p] - aa), ante_ - aa);
    }
    r.Sa = sa - std::min(sa, ante_);
    r.Sb = sb - std::min(sb, ante_);
  }
  const double ante = std::max(0.0, ante_);
  const auto blind = [&](int p, double amount) {
    if (a == p || b == p || p > count_) return;
    const double posted = std::min(std::max(0.0, startStack_[p] - ante), amount);
    r.Pot += std::min(r.Sa, posted);
    r.Side += std::max(0.0, posted - r.Sa);
  };
  blind(2, smallBlind_);
  blind(1, bigBlind_);
  return r;
}

TPositionValues TReferenceSituation::ShowdownStacks(int first, int second, int outcome) const {
  TPositionValues stacks = stack_;
  if (!Valid(first) || !Valid(second) || first == second) return stacks;
  // The first all-in player counts as the longer stack on equal stacks.
  const bool firstLonger = startStack_[first] >= startStack_[second];
  const int longer = firstLonger ? first : second;
  const int shorter = firstLonger ? second : first;
  const Pots r = ShowdownPots(shorter, longer);
  const bool longerWins = (outcome == 0 && firstLonger) || (outcome == 2 && !firstLonger);
  if (outcome == 1) {
    stacks[shorter] = r.Pot / 2.0 + r.Sa;
    stacks[longer] = r.Pot / 2.0 + r.Sb + r.Side;
  } else if (longerWins) {
    stacks[longer] = r.Sa + r.Sb + r.Pot + r.Side;
    stacks[shorter] = 0;
  } else {
    stacks[shorter] = 2 * r.Sa + r.Pot;
    stacks[longer] = r.Sb - r.Sa + r.Side;
  }
  return stacks;
}

TPositionValues TReferenceSituation::ICMOfPositions(const TPositionValues& stacks) const {
  std::vector<double> s(count_);
  for (int p = 1; p <= count_; ++p) s[p - 1] = stacks[p];
  const std::vector<double> eq = ICMEquities(s, payouts_);
  TPositionValues out{};
  for (int p = 1; p <= count_ && p - 1 < static_cast<int>(eq.size()); ++p) out[p] = eq[p - 1];
  return out;
}

bool TReferenceSituation::CancelRequested() {
  if (!cancelled_ && options_.Cancel && options_.Cancel->load(std::memory_order_relaxed)) cancelled_ = true;
  return cancelled_;
}

TPositionValues TReferenceSituation::BranchEquities(const TPositionValues& stacks) {
  if (options_.Depth <= 0) return ICMOfPositions(stacks);
  TPositionValues out{};
  if (CancelRequested()) return out;

  // The next hand: these stacks, button and blinds moved on, the players who
  // busted placed.
  THH next = hand_;
  for (int p = 1; p <= count_; ++p) next.Players[entry_[p]].Stack = stacks[p];
  MoveButtonAndBlinds(next, tournament_.SeatCount);
  TTournamentInfo tour = tournament_;
  AssignFinishingPlaces(tour.Places, next, hand_);

  const int heroSeat = heroIndex_ >= 0 && heroIndex_ < count_ ? hand_.Players[heroIndex_].Seat : 0;
  if (heroSeat >= 1 && heroSeat <= kMaxSeats && tour.Places.Place[heroSeat - 1] > 0) {
    const int half = tour.Places.PlayerCount / 2;
    // Everyone left in the top half is settled at the first share only when
    // the tournament pays that whole half the same (double or nothing);
    // otherwise those shares would add up to more than the prize pool.
    bool equalHalf = half >= 1 && half <= static_cast<int>(payouts_.size());
    for (int k = 1; equalHalf && k < half; ++k) equalHalf = payouts_[k] == payouts_[0];
    if (tour.Places.NextPlace > half || !equalHalf) return ICMOfPositions(stacks);
    for (int p = 1; p <= count_; ++p) {
      const int seat = seat_[p];
      const int place = seat >= 1 && seat <= kMaxSeats ? tour.Places.Place[seat - 1] : 0;
      out[p] = (place >= 1 && place <= half) ? tournament_.Payouts[0] : 0.0;
    }
    return out;
  }

  // Play the next hand with the players who still have chips.
  THH child = next;
  std::vector<TSeatInput> childSeats;
  int childHero = -1;
  int n = 0;
  for (int i = 0; i < std::clamp<int>(next.PlayerCount, 0, kMaxPlayers); ++i) {
    if (!(next.Players[i].Stack > 0)) continue;
    child.Players[n] = next.Players[i];
    child.Action[n] = -1;
    TSeatInput in = i < static_cast<int>(seats_.size()) ? seats_[i] : TSeatInput{};
    in.Action = -1;
    childSeats.push_back(in);
    if (i == heroIndex_) childHero = n;
    ++n;
  }
  child.PlayerCount = n;
  for (int i = n; i < kMaxPlayers; ++i) {
    child.Players[i] = TPlayerInfo{};
    child.Action[i] = -1;
  }
  TSituationOptions childOptions = options_;
  childOptions.Depth = options_.Depth - 1;
  const TReferenceSituation sub(tour, child, childHero, std::move(childSeats), childOptions);
  if (sub.Cancelled()) {
    cancelled_ = true;
    return out;
  }
  for (int p = 1; p <= count_; ++p) {
    int cp = 0;
    for (int q = 1; q <= sub.PlayerCount(); ++q) {
      if (sub.SeatAt(q) == seat_[p]) cp = q;
    }
    if (cp == 0) continue;
    double sum = 0;
    for (int b = 1; b <= sub.BranchCount(); ++b) {
      const TBranch& br = sub.Branch(b);
      sum += br.Prob[0] * br.Equity[0][cp];
    }
    out[p] = sum;
  }
  return out;
}

bool TReferenceSituation::ConsistentWithEarlierActions(const TBranch& b, int hero) const {
  for (int q = hero + 1; q <= count_; ++q) {
    if (b.Flags[q] != action_[q]) return false;
  }
  return true;
}

int TReferenceSituation::SolveHero(int hero) {
  if (!Valid(hero) || cancelled_) return 0;

  // Value of folding.
  double foldSum = 0;
  double foldWeight = 0;
  for (const TBranch& b : branches_) {
    if (!ConsistentWithEarlierActions(b, hero) || b.Flags[hero] != 0) continue;
    double w = 1;
    for (int q = 1; q < hero; ++q) w *= b.Prob[q];
    foldSum += w * b.Equity[0][hero];
    foldWeight += w;
  }
  if (foldWeight == 0) {
    ApplyHeroRange(hero, 0);
    return 0;
  }
  const double fold = foldSum / foldWeight;

  // Branches in which the hero pushes, with what each needs to value one hand.
  struct PushBranch {
    double weight = 0;
    const TBranch* branch = nullptr;
    THandRange other;
    bool heroFirst = false;
  };
  std::vector<PushBranch> pushes;
  double pushWeight = 0;
  for (const TBranch& b : branches_) {
    if (!ConsistentWithEarlierActions(b, hero) || b.Flags[hero] != 1) continue;
    PushBranch pb;
    pb.weight = 1;
    for (int q = 1; q <= hero; ++q) pb.weight *= b.Prob[q];
    pb.branch = &b;
    if (b.AllInCount == 2) {
      pb.heroFirst = b.AllIn[0] == hero;
      pb.other = TopRange(b.Prob[pb.heroFirst ? b.AllIn[1] : b.AllIn[0]]);
    }
    pushWeight += pb.weight;
    pushes.push_back(pb);
  }

  const THandRange& order = HandStrengthOrder();
  int result = kHandClassCount;
  for (int n = 1; n <= kHandClassCount; ++n) {
    THandRange mine;
    mine.Count = 1;
    mine.Entries[0] = order.Entries[n - 1];
    double value = 0;
    if (pushWeight > 0) {
      double sum = 0;
      for (const PushBranch& pb : pushes) {
        const TBranch& b = *pb.branch;
        double eq = b.Equity[0][hero];
        if (b.AllInCount == 2) {
          const TEquity e = pb.heroFirst ? RangeVsRangeEquity(mine, pb.other) : RangeVsRangeEquity(pb.other, mine);
          eq = e.Win * b.Equity[1][hero] + e.Tie * b.Equity[2][hero] + e.Lose * b.Equity[3][hero];
        }
        sum += pb.weight * eq;
      }
      value = sum / pushWeight;
    }
    // Every hand is tested, the last one too.
    if (!(fold + options_.Edge <= value)) {
      result = n - 1;
      break;
    }
  }
  ApplyHeroRange(hero, result);
  return result;
}

void TReferenceSituation::ApplyHeroRange(int hero, int hands) {
  const double share = RangeShare(hands);
  for (TBranch& b : branches_) {
    if (!ConsistentWithEarlierActions(b, hero)) continue;
    b.Prob[hero] = b.Flags[hero] ? share : 1.0 - share;
    double w = 1;
    for (int p = 1; p <= count_; ++p) w *= b.Prob[p];
    b.Prob[0] = w;
  }
}

std::vector<std::string> TReferenceSituation::PrintBranches() const {
  std::vector<std::string> lines;
  double total = 0;
  for (int i = 0; i < BranchCount(); ++i) {
    const TBranch& b = branches_[i];
    std::string flags;
    std::string probs;
    for (int p = count_; p >= 1; --p) {
      flags += std::to_string(b.Flags[p]) + "        ";
      probs += Percent2(b.Prob[p] * 100) + "  ";
    }
    lines.push_back(Format(" %d     %s  %2.2f ", i + 1, flags.c_str(), b.Prob[0] * 100));
    lines.push_back(Format("Prob: %s  ", probs.c_str()));
    for (int row = 0; row < 4; ++row) {
      std::string values;
      double sum = 0;
      for (int p = count_; p >= 1; --p) {
        values += Percent2(b.Equity[row][p] * 100) + "  ";
        sum += b.Equity[row][p] * 100;
      }
      lines.push_back(Format("ICM: %s %2.2f ", values.c_str(), sum));
    }
    total += b.Prob[0];
  }
  lines.push_back(Format(" %d %2.3f ", BranchCount(), total));
  return lines;
}

}  // namespace kova::pushfold::reference
