#include "pushfold/forms/model/calcmodel.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "framework/portable/numformat.h"
#include "pushfold/logic/hand_evaluator.h"
#include "tables/files/calcfiles.h"

namespace kova::pushfold::forms {

double NumberOr(const std::string& text, double fallback) {
  double v = 0;
  if (!kova::TryStrToFloat(text, v) || !std::isfinite(v)) return fallback;
  return v;
}

int IntegerOr(const std::string& text, int fallback) {
  int v = 0;
  return kova::TryStrToInt(text, v) ? v : fallback;
}

int HeroOffset(int heroSeat) { return kHeroFrame - heroSeat; }

int SeatFrameIndex(int seat, int offset) {
  int f = (seat + offset - 1) % kFrameCount;
  if (f < 0) f += kFrameCount;
  return f + 1;
}

int HandBlindLevel(const THH& hand, const TTournamentInfo& tournament, double clockCorrectionDays) {
  const auto& levels = BlindStructure();
  if (hand.HandTime > 0 && tournament.LevelMinutes > 0) {
    double elapsed = tournament.StartTime - hand.HandTime - clockCorrectionDays;
    const double step = tournament.LevelMinutes / 1440.0;
    int level = 0;
    // Past the last level nothing changes: stop counting there.
    while (elapsed < 0 && level <= kBlindLevelCount) {
      elapsed += step;
      ++level;
    }
    return ClampBlindLevel(level);
  }
  int found = 0;
  for (int i = 0; i < kBlindLevelCount; ++i)
    if (levels[i].BigBlind == hand.BigBlind && levels[i].Ante == hand.Ante) found = i + 1;
  if (found != 0) return found;
  double best = -1;
  for (int i = 0; i < kBlindLevelCount; ++i) {
    const double d = std::fabs(levels[i].BigBlind - hand.BigBlind);
    if (best < 0 || d <= best) {
      best = d;
      found = i + 1;
    }
  }
  return ClampBlindLevel(found);
}

THandView ViewOfHand(const THH& hand, const TTournamentInfo& tournament, int offset) {
  THandView v;
  v.Level = HandBlindLevel(hand, tournament);
  v.LevelFromTime = hand.HandTime > 0 && tournament.LevelMinutes > 0;
  v.SmallBlind = hand.SmallBlind;
  v.BigBlind = hand.BigBlind;
  v.Ante = hand.Ante;
  if (v.LevelFromTime) {
    const TBlindLevel& l = BlindStructure()[v.Level - 1];
    v.SmallBlind = l.SmallBlind;
    v.BigBlind = l.BigBlind;
    v.Ante = l.Ante;
  }
  const int count = std::clamp(hand.PlayerCount, 0, THH::MaxPlayers);
  std::array<double, THH::MaxPlayers> stacks{};
  for (int k = 0; k < count; ++k) stacks[k] = std::max(0.0, hand.Players[k].Stack);
  auto post = [&](int k, double amount) {
    const double paid = std::min(stacks[k], std::max(0.0, amount));
    stacks[k] -= paid;
    return paid;
  };
  if (v.Ante > 0)
    for (int k = 0; k < count; ++k) v.AnteTotal += post(k, v.Ante);
  std::array<std::string, THH::MaxPlayers> bets{};
  const int sb = hand.SmallBlindSeat ? PlayerIndexAtSeat(hand, hand.SmallBlindSeat) : -1;
  const int bb = hand.BigBlindSeat ? PlayerIndexAtSeat(hand, hand.BigBlindSeat) : -1;
  if (sb >= 0 && sb < count) bets[sb] = kova::FloatToStr(post(sb, v.SmallBlind));
  if (bb >= 0 && bb < count) bets[bb] = kova::FloatToStr(post(bb, v.BigBlind));
  for (int k = 0; k < count; ++k) {
    TFrameView& f = v.Frames[SeatFrameIndex(hand.Players[k].Seat, offset)];
    f.Visible = true;
    f.Name = hand.Players[k].Name;
    f.Stack = stacks[k];
    f.ActionItem = std::clamp(hand.Action[k], -1, 1) + 1;
    f.Bet = bets[k];
    f.PlayerIndex = k;
  }
  return v;
}

TCalculationInput BuildCalculation(const THH& hand, const TTournamentInfo& tournament, int offset,
                                   const std::array<TFrameInput, kFrameCount + 1>& frames,
                                   const std::string& heroFrameText, const std::string& edgeText,
                                   const std::string& depthText) {
  TCalculationInput in;
  in.Tournament = tournament;
  in.Hand = hand;
  const int heroFrame = IntegerOr(heroFrameText, kHeroFrame);
  const int count = std::clamp(hand.PlayerCount, 0, THH::MaxPlayers);
  in.Seats.resize(static_cast<size_t>(count));
  for (int k = 0; k < count; ++k) {
    const int f = SeatFrameIndex(hand.Players[k].Seat, offset);
    if (f == heroFrame) in.HeroIndex = k;
    const TFrameInput& fi = frames[f];
    TSeatInput& s = in.Seats[k];
    s.Action = std::clamp(fi.ActionItem, 0, 2) - 1;
    // A fraction outside 0..1 would make no probability: it is kept inside.
    s.Call = std::clamp(NumberOr(fi.Call, 0) / 100.0, 0.0, 1.0);
    s.Open = std::clamp(NumberOr(fi.Open, 0) / 100.0, 0.0, 1.0);
    s.Model = fi.Model;
    in.Hand.Action[k] = s.Action;
  }
  in.Options.Edge = NumberOr(edgeText, 0) / 100.0;
  in.Options.Depth = std::max(0, IntegerOr(depthText, 0));
  return in;
}

std::string AnswerText(int hands) { return kova::FloatToStrFixed(RangeShare(hands) * 100.0, 2) + " %"; }

std::string ProgressText(std::int64_t done, std::int64_t total, double seconds) {
  if (total <= 0) return kova::Format("Calculating... %.1f s", seconds);
  // Tenths of a percent, never rounded up to a share not yet done.
  const double tenths = std::floor(static_cast<double>(std::min(done, total)) * 1000.0 / static_cast<double>(total));
  return kova::Format("Calculating... %.1f %% in %.1f s", tenths / 10.0, seconds);
}

TCalculationResult Calculate(const TCalculationInput& input) {
  TCalculationResult r;
  r.HasHero = input.HeroIndex >= 0;
  TSituation s(input.Tournament, input.Hand, input.HeroIndex, input.Seats, input.Options);
  r.Depth = s.Depth();
  if (s.Cancelled()) {
    r.Cancelled = true;
    return r;
  }
  if (r.HasHero) {
    r.Hands = s.SolveHero(s.HeroPosition());
    r.Answer = AnswerText(r.Hands);
    r.HandText = RangeText(r.Hands);
  }
  r.Branches = s.PrintBranches();
  return r;
}

std::string StepEdge(const std::string& text, int direction) {
  const double v = NumberOr(text, 0) + (direction < 0 ? -0.1 : 0.1);
  return kova::FloatToStrFixed(v, 2);
}

std::string StepDepth(const std::string& text, int direction) {
  int d = std::max(0, IntegerOr(text, 0));
  if (direction < 0) {
    if (d > 0) --d;
  } else if (d < std::numeric_limits<int>::max()) {
    ++d;
  }
  return std::to_string(d);
}

int StepLevel(int level, int direction) { return ClampBlindLevel(ClampBlindLevel(level) + (direction < 0 ? -1 : 1)); }

namespace {

TBrowseResult ShowNumber(THandSource& source, int n, THH& hand, TTournamentInfo& tournament) {
  TBrowseResult r;
  r.HandNumber = n;
  THH parsed = hand;
  TTournamentInfo t = tournament;
  if (source.ParseSelectedHand(parsed, t)) {
    hand = parsed;
    tournament = t;
    r.Shown = true;
  } else {
    r.LogLine = kova::Format("HH %d could not be read", n);
  }
  return r;
}

}  // namespace

TBrowseResult BrowseNext(THandSource& source, const std::string& handText, THH& hand,
                         TTournamentInfo& tournament) {
  const int current = std::max(1, IntegerOr(handText, 1));
  int n = current < 1000000 ? current + 1 : current;
  if (!source.SelectHand(n)) {
    n = current;
    if (!source.SelectHand(n)) {
      TBrowseResult r;
      r.HandNumber = current;
      r.LogLine = kova::Format("HH %d not exist", n);
      return r;
    }
  }
  return ShowNumber(source, n, hand, tournament);
}

TBrowseResult BrowsePrevious(THandSource& source, const std::string& handText, THH& hand,
                             TTournamentInfo& tournament) {
  const int n = IntegerOr(handText, 1);
  TBrowseResult r;
  r.HandNumber = std::max(1, n);
  if (n <= 1) return r;
  if (!source.SelectHand(n - 1)) {
    r.LogLine = kova::Format("HH %d not exist", n - 1);
    return r;
  }
  return ShowNumber(source, n - 1, hand, tournament);
}

TBrowseResult BrowseGo(THandSource& source, const std::string& handText, THH& hand, TTournamentInfo& tournament) {
  const int n = IntegerOr(handText, 1);
  if (n < 1 || !source.SelectHand(n)) {
    TBrowseResult r;
    r.HandNumber = n;
    r.LogLine = kova::Format("HH %d not exist", n);
    return r;
  }
  return ShowNumber(source, n, hand, tournament);
}

std::shared_ptr<const TModelValues> ValuesOf(const tables::TOpponentModel& model) {
  auto v = std::make_shared<TModelValues>();
  for (int level = 1; level <= tables::TOpponentModel::Levels; ++level)
    for (int row = 0; row < tables::TOpponentModel::Rows; ++row)
      for (int col = 1; col <= tables::TOpponentModel::Columns; ++col)
        v->Set(level, row, col, model.Values[level - 1][row][col - 1]);
  return v;
}

tables::TOpponentModel SelectDefaultModel(const std::string& folder, const std::string& typeName,
                                          const std::vector<tables::TOpponentModel>& listed, int& selectedIndex) {
  selectedIndex = -1;
  auto listedIndexOf = [&](int32_t id) {
    for (size_t i = 0; i < listed.size(); ++i)
      if (listed[i].ID == id) return static_cast<int>(i);
    return -1;
  };
  for (const tables::TModelAssignment& a : tables::StartDefaults) {
    if (a.Name.Str() != typeName) continue;
    if (a.ModelIndex >= 0 && static_cast<size_t>(a.ModelIndex) < tables::OpponentModels.size()) {
      selectedIndex = listedIndexOf(a.ModelIndex);
      return tables::OpponentModels[static_cast<size_t>(a.ModelIndex)];
    }
    break;  // names a model that is gone: chosen anew below
  }
  if (!listed.empty()) {
    selectedIndex = 0;
    tables::SaveStartDefault(folder, tables::StartDefaults, typeName, listed[0].ID);
    return listed[0];
  }
  tables::TOpponentModel empty;
  empty.Name.Assign("Default");
  empty.SetTypeName(typeName);
  return empty;
}

tables::TOpponentModel PlayerModel(const std::string& name, const tables::TOpponentModel& fallback) {
  for (const tables::TModelAssignment& a : tables::RegPlayers) {
    if (a.Name.Str() != name) continue;
    if (a.ModelIndex >= 0 && static_cast<size_t>(a.ModelIndex) < tables::OpponentModels.size())
      return tables::OpponentModels[static_cast<size_t>(a.ModelIndex)];
    break;
  }
  return fallback;
}

std::vector<std::string> ModelLevelLines(const tables::TOpponentModel& model, int level) {
  level = ClampBlindLevel(level);
  std::vector<std::string> lines;
  for (int row = 0; row < tables::TOpponentModel::Rows; ++row) {
    std::string line = "I=" + std::to_string(row);
    for (double v : model.Values[level - 1][row]) line += " " + kova::FloatToStr(v);
    lines.push_back(line);
  }
  return lines;
}

std::string LevelText(int level) {
  const TBlindLevel& l = BlindStructure()[ClampBlindLevel(level) - 1];
  std::string s = kova::FloatToStr(l.SmallBlind) + "/" + kova::FloatToStr(l.BigBlind);
  if (l.Ante > 0) s += "+" + kova::FloatToStr(l.Ante);
  return s;
}

}  // namespace kova::pushfold::forms
