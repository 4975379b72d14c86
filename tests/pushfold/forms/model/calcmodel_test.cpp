// The calculator window's logic without the window: frames, typed numbers,
// the hand as shown, the calculation against the solver, steppers, hand
// browsing and the players' models.
#include "pushfold/forms/model/calcmodel.h"

#include <gtest/gtest.h>

#include <set>

#include "calcfixtures.h"
#include "pushfold/logic/hand_evaluator.h"
#include "tables/files/calcfiles.h"

namespace kova::pushfold::forms {
namespace {

using test::MakeHand;
using test::MakeModel;
using test::MakeTournament;

TEST(CalcFrames, TheHeroSitsInFrameEightAndEverySeatKeepsItsOwnFrame) {
  struct Case {
    int heroSeat, seat, frame;
  };
  const Case cases[] = {
      {8, 1, 1}, {8, 8, 8}, {8, 10, 10},  // one to one
      {3, 3, 8}, {3, 4, 9}, {3, 5, 10}, {3, 6, 1}, {3, 1, 6},
      {10, 10, 8}, {10, 1, 9}, {10, 9, 7}, {1, 1, 8}, {1, 4, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SeatFrameIndex(c.seat, HeroOffset(c.heroSeat)), c.frame) << c.heroSeat << " " << c.seat;
  // A six-seat table still puts the hero into frame 8 (not 8 - 6).
  for (int hero = 1; hero <= 10; ++hero) {
    std::set<int> frames;
    for (int seat = 1; seat <= 10; ++seat) frames.insert(SeatFrameIndex(seat, HeroOffset(hero)));
    EXPECT_EQ(frames.size(), 10u);
    EXPECT_EQ(SeatFrameIndex(hero, HeroOffset(hero)), 8);
  }
}

TEST(CalcNumbers, TypedTextsFallBackToTheirDefaults) {
  struct Case {
    const char* text;
    double number;  // NumberOr(text, -7)
    int integer;    // IntegerOr(text, 8)
  };
  const Case cases[] = {
      {"12", 12, 12},     {" 0.40 ", 0.4, 8}, {"", -7, 8},         {"abc", -7, 8},      {"1,5", -7, 8},
      {"nan", -7, 8},     {"inf", -7, 8},     {"1e999", -7, 8},    {"-3", -3, -3},      {"99999999999", 99999999999.0, 8},
      {"12abc", -7, 8},   {"+4", 4, 4},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NumberOr(c.text, -7), c.number) << c.text;
    EXPECT_EQ(IntegerOr(c.text, 8), c.integer) << c.text;
  }
}

TEST(CalcLevels, EveryLevelReadStaysWithinTheStructure) {
  TTournamentInfo t = MakeTournament();
  THH h = MakeHand(6, 1, 3);
  // No time: the last level with the big blind and ante (100/200 without
  // and with ante 20 are levels 6 and 7).
  h.BigBlind = 200;
  EXPECT_EQ(HandBlindLevel(h, t), 6);
  h.Ante = 20;
  EXPECT_EQ(HandBlindLevel(h, t), 7);
  // No level matches: the nearest big blind, never an undefined level.
  h.Ante = 5;
  h.BigBlind = 180;
  EXPECT_EQ(HandBlindLevel(h, t), 7);  // 200 is nearest: levels 6 and 7, the later
  h.BigBlind = 140;
  EXPECT_EQ(HandBlindLevel(h, t), 5);
  h.BigBlind = 1e9;
  EXPECT_EQ(HandBlindLevel(h, t), 15);
  h.BigBlind = 0;
  EXPECT_EQ(HandBlindLevel(h, t), 1);
  // With a time: level durations begun since the start, clamped.
  t.StartTime = 40000.0;
  h.HandTime = t.StartTime + 20.0 / 1440.0;  // 20 minutes in: the third 8-minute level
  EXPECT_EQ(HandBlindLevel(h, t, 0), 3);
  h.HandTime = t.StartTime + 1.0;  // a day in
  EXPECT_EQ(HandBlindLevel(h, t, 0), 15);
  h.HandTime = t.StartTime - 1.0;  // before the start: level 0 read as 1
  EXPECT_EQ(HandBlindLevel(h, t, 0), 1);
}

TEST(CalcHandView, BlindsAnteAndShortStacksAsShown) {
  TTournamentInfo t = MakeTournament();
  // Button seat 1: small blind seat 2 has 30 chips, big blind seat 3 has 80.
  THH h = MakeHand(4, 1, 4, {1500, 30, 80, 2000});
  THandView v = ViewOfHand(h, t, HeroOffset(4));
  EXPECT_EQ(v.AnteTotal, 0);  // no "Ante:"
  const TFrameView& hero = v.Frames[8];
  EXPECT_TRUE(hero.Visible);
  EXPECT_EQ(hero.Name, "Player4");
  EXPECT_EQ(hero.Stack, 2000);
  const TFrameView& sb = v.Frames[SeatFrameIndex(2, HeroOffset(4))];
  EXPECT_EQ(sb.Stack, 0);
  EXPECT_EQ(sb.Bet, "30");
  const TFrameView& bb = v.Frames[SeatFrameIndex(3, HeroOffset(4))];
  EXPECT_EQ(bb.Stack, 0);
  EXPECT_EQ(bb.Bet, "80");
  int visible = 0;
  for (int f = 1; f <= kFrameCount; ++f) visible += v.Frames[f].Visible;
  EXPECT_EQ(visible, 4);

  // With an ante every player posts it first; a short stack posts what he has.
  h.Ante = 25;
  h.BigBlind = 100;
  v = ViewOfHand(h, t, HeroOffset(4));
  EXPECT_EQ(v.AnteTotal, 25 + 25 + 25 + 25);
  EXPECT_EQ(v.Frames[SeatFrameIndex(2, HeroOffset(4))].Bet, "5");
  EXPECT_EQ(v.Frames[SeatFrameIndex(3, HeroOffset(4))].Bet, "55");
  EXPECT_EQ(v.Frames[8].Stack, 1975);
}

std::array<TFrameInput, kFrameCount + 1> Frames(const THH& hand, int offset,
                                                 std::shared_ptr<const TModelValues> model) {
  std::array<TFrameInput, kFrameCount + 1> frames{};
  for (int k = 0; k < hand.PlayerCount; ++k) {
    TFrameInput& f = frames[SeatFrameIndex(hand.Players[k].Seat, offset)];
    f.ActionItem = hand.Action[k] + 1;
    f.Model = model;
  }
  return frames;
}

TEST(CalcSolve, TheAnswerIsTheSolversAtEveryDepth) {
  const TTournamentInfo t = MakeTournament(6);
  THH h = MakeHand(5, 1, 4, {1200, 2500, 900, 3000, 1400});
  h.Action[0] = -1;
  const int offset = HeroOffset(4);
  auto model = ValuesOf(MakeModel("m", "t", 1));
  auto frames = Frames(h, offset, model);
  frames[SeatFrameIndex(5, offset)].ActionItem = 1;  // seat 5 (first to act) folds
  frames[SeatFrameIndex(3, offset)].Open = "30";
  frames[SeatFrameIndex(2, offset)].Call = "abc";  // no number: the model

  for (int depth : {0, 1, 3}) {
    SCOPED_TRACE(depth);
    const TCalculationInput in = BuildCalculation(h, t, offset, frames, "8", "0.40", std::to_string(depth));
    ASSERT_EQ(in.HeroIndex, 3);
    EXPECT_EQ(in.Seats[4].Action, 0);
    EXPECT_DOUBLE_EQ(in.Seats[2].Open, 0.3);
    EXPECT_EQ(in.Seats[1].Call, 0);
    EXPECT_DOUBLE_EQ(in.Options.Edge, 0.004);
    EXPECT_EQ(in.Options.Depth, depth);

    // The solver called directly with the same inputs.
    std::vector<TSeatInput> seats(5);
    for (int k = 0; k < 5; ++k) seats[k].Model = model;
    seats[4].Action = 0;
    seats[2].Open = 0.3;
    THH hand = h;
    hand.Action[4] = 0;
    TSituationOptions o;
    o.Edge = 0.004;
    o.Depth = depth;
    TSituation direct(t, hand, 3, seats, o);
    const int n = direct.SolveHero(direct.HeroPosition());

    const TCalculationResult r = Calculate(in);
    EXPECT_FALSE(r.Cancelled);
    EXPECT_EQ(r.Hands, n);
    EXPECT_EQ(r.Answer, AnswerText(n));
    EXPECT_EQ(r.HandText, RangeText(n));
    EXPECT_EQ(r.Depth, depth);
    EXPECT_EQ(r.Branches, direct.PrintBranches());
  }
}

TEST(CalcSolve, TypedInputsOutsideTheirRangeAreKeptInside) {
  const TTournamentInfo t = MakeTournament();
  THH h = MakeHand(3, 1, 1);
  auto frames = Frames(h, HeroOffset(1), nullptr);
  frames[SeatFrameIndex(2, HeroOffset(1))].Open = "500";
  frames[SeatFrameIndex(3, HeroOffset(1))].Call = "-20";
  frames[SeatFrameIndex(3, HeroOffset(1))].ActionItem = 9;
  TCalculationInput in = BuildCalculation(h, t, HeroOffset(1), frames, "frame", "x", "-4");
  EXPECT_EQ(in.HeroIndex, 0);  // "frame" is no number: frame 8
  EXPECT_EQ(in.Seats[1].Open, 1.0);
  EXPECT_EQ(in.Seats[2].Call, 0.0);
  EXPECT_EQ(in.Seats[2].Action, 1);
  EXPECT_EQ(in.Options.Edge, 0);
  EXPECT_EQ(in.Options.Depth, 0);
  // Nobody in the hero's frame: no answer, but the branches.
  in = BuildCalculation(h, t, HeroOffset(1), frames, "4", "0", "0");
  EXPECT_EQ(in.HeroIndex, -1);
  const TCalculationResult r = Calculate(in);
  EXPECT_FALSE(r.HasHero);
  EXPECT_EQ(r.Answer, "");
  EXPECT_FALSE(r.Branches.empty());
}

TEST(CalcProgress, TheShareOfTheWorkDoneAndTheTime) {
  struct Case {
    std::int64_t done, total;
    double seconds;
    const char* text;
  } cases[] = {
      {0, 0, 0.3, "Calculating... 0.3 s"},  // nothing counted yet
      {0, 136000, 0.0, "Calculating... 0.0 % in 0.0 s"},
      {68000, 136000, 2.5, "Calculating... 50.0 % in 2.5 s"},
      {136, 136000, 2.5, "Calculating... 0.1 % in 2.5 s"},
      {135999, 136000, 9.0, "Calculating... 99.9 % in 9.0 s"},  // not 100 before the end
      {140000, 136000, 9.0, "Calculating... 100.0 % in 9.0 s"},
  };
  for (const Case& c : cases) EXPECT_EQ(ProgressText(c.done, c.total, c.seconds), c.text);
}

TEST(CalcSteppers, EdgeDepthAndLevel) {
  EXPECT_EQ(StepEdge("0.40", +1), "0.50");
  EXPECT_EQ(StepEdge("0.40", -1), "0.30");
  EXPECT_EQ(StepEdge("0.00", -1), "-0.10");  // the edge has no bounds
  EXPECT_EQ(StepEdge("abc", +1), "0.10");
  EXPECT_EQ(StepDepth("0", -1), "0");
  EXPECT_EQ(StepDepth("2", +1), "3");  // no upper bound
  EXPECT_EQ(StepDepth("1000", +1), "1001");
  EXPECT_EQ(StepDepth("2147483647", +1), "2147483647");  // the largest number the field holds
  EXPECT_EQ(StepDepth("zz", +1), "1");
  EXPECT_EQ(StepDepth("-5", -1), "0");
  EXPECT_EQ(StepLevel(1, -1), 1);
  EXPECT_EQ(StepLevel(15, +1), 15);
  EXPECT_EQ(StepLevel(7, +1), 8);
  EXPECT_EQ(StepLevel(40, -1), 14);
  EXPECT_EQ(StepLevel(-3, +1), 2);
  EXPECT_EQ(LevelText(7), "100/200+20");
  EXPECT_EQ(LevelText(1), "10/20");
  EXPECT_EQ(LevelText(0), "10/20");
  EXPECT_EQ(LevelText(99), "2000/4000+400");
}

// A table with `count` hands; hand n has n + 1 players.
class FakeSource : public THandSource {
 public:
  explicit FakeSource(int count) : count_(count) {}
  bool SelectHand(int n) override {
    selects.push_back(n);
    if (n < 1 || n > count_) return false;
    selected_ = n;
    return true;
  }
  bool ParseSelectedHand(THH& hand, TTournamentInfo&) override {
    hand = MakeHand(selected_ + 1, 1, 2);
    return true;
  }
  std::vector<std::string> HandLines() const override { return {"hand " + std::to_string(selected_)}; }
  std::vector<int> selects;

 private:
  int count_;
  int selected_ = 0;
};

TEST(CalcBrowse, NextPreviousAndGo) {
  TTournamentInfo t;
  THH h;
  FakeSource s(3);
  TBrowseResult r = BrowseNext(s, "1", h, t);
  EXPECT_TRUE(r.Shown);
  EXPECT_EQ(r.HandNumber, 2);
  EXPECT_EQ(h.PlayerCount, 3);
  // Past the last hand the last one is shown again.
  s.selects.clear();
  r = BrowseNext(s, "3", h, t);
  EXPECT_EQ(s.selects, (std::vector<int>{4, 3}));
  EXPECT_TRUE(r.Shown);
  EXPECT_EQ(r.HandNumber, 3);
  // Not a number: hand 1, so the next is 2.
  EXPECT_EQ(BrowseNext(s, "x", h, t).HandNumber, 2);
  // "-" at hand 1 does nothing.
  s.selects.clear();
  r = BrowsePrevious(s, "1", h, t);
  EXPECT_FALSE(r.Shown);
  EXPECT_TRUE(s.selects.empty());
  r = BrowsePrevious(s, "3", h, t);
  EXPECT_TRUE(r.Shown);
  EXPECT_EQ(r.HandNumber, 2);
  r = BrowseGo(s, "7", h, t);
  EXPECT_FALSE(r.Shown);
  EXPECT_EQ(r.LogLine, "HH 7 not exist");
  EXPECT_EQ(h.PlayerCount, 3);  // the shown hand stays
  r = BrowseGo(s, "1", h, t);
  EXPECT_TRUE(r.Shown);
  EXPECT_EQ(h.PlayerCount, 2);
  EXPECT_EQ(BrowseGo(s, "-2", h, t).LogLine, "HH -2 not exist");
}

TEST(CalcBrowse, ATableAdaptersOperationsServeAsTheSource) {
  TCallbackHandSource empty;
  THH h;
  TTournamentInfo t;
  EXPECT_FALSE(BrowseGo(empty, "1", h, t).Shown);
  EXPECT_TRUE(empty.HandLines().empty());

  TCallbackHandSource s;
  int selected = 0;
  s.Select = [&](int n) { return n <= 2 ? (selected = n, true) : false; };
  s.Parse = [&](THH& hand, TTournamentInfo&) {
    hand = MakeHand(selected + 3, 1, 1);
    return selected != 2;  // hand 2 cannot be read
  };
  s.Lines = [&] { return std::vector<std::string>{"line"}; };
  TBrowseResult r = BrowseGo(s, "1", h, t);
  EXPECT_TRUE(r.Shown);
  EXPECT_EQ(h.PlayerCount, 4);
  r = BrowseNext(s, "1", h, t);
  EXPECT_FALSE(r.Shown);
  EXPECT_EQ(r.LogLine, "HH 2 could not be read");
  EXPECT_EQ(h.PlayerCount, 4);  // the shown hand stays
  EXPECT_EQ(s.HandLines(), std::vector<std::string>{"line"});
}

TEST(CalcModels, DefaultModelAndPlayerModels) {
  test::FreshCalculatorData fresh;
  test::ScratchFolder dir;
  const std::string type = "Turbo SNG 10-max $10";
  // No model at all: an empty one named "Default".
  int selected = 7;
  tables::TOpponentModel d = SelectDefaultModel(dir.Str(), type, {}, selected);
  EXPECT_EQ(d.Name.Str(), "Default");
  EXPECT_EQ(selected, -1);
  EXPECT_TRUE(tables::StartDefaults.empty());

  for (int i = 0; i < 3; ++i) {
    tables::TOpponentModel m = MakeModel("M" + std::to_string(i), i == 0 ? "other" : type, i);
    ASSERT_TRUE(tables::AppendModel(dir.Path(), tables::OpponentModels, m));
  }
  const std::vector<tables::TOpponentModel> listed = {tables::OpponentModels[1], tables::OpponentModels[2]};
  // No start default yet: the first listed, stored as the type's default.
  d = SelectDefaultModel(dir.Str(), type, listed, selected);
  EXPECT_EQ(d.Name.Str(), "M1");
  EXPECT_EQ(selected, 0);
  ASSERT_EQ(tables::StartDefaults.size(), 1u);
  EXPECT_EQ(tables::StartDefaults[0].ModelIndex, 1);
  std::vector<tables::TModelAssignment> onDisk;
  tables::LoadStartDefaults(dir.Path(), onDisk);
  EXPECT_EQ(onDisk, tables::StartDefaults);
  // A stored default wins.
  tables::SaveStartDefault(dir.Path(), tables::StartDefaults, type, 2);
  d = SelectDefaultModel(dir.Str(), type, listed, selected);
  EXPECT_EQ(d.Name.Str(), "M2");
  EXPECT_EQ(selected, 1);

  tables::SaveRegPlayer(dir.Path(), tables::RegPlayers, "Villain", 0);
  tables::SaveRegPlayer(dir.Path(), tables::RegPlayers, "Gone", 9);  // names no model
  EXPECT_EQ(PlayerModel("Villain", d).Name.Str(), "M0");
  EXPECT_EQ(PlayerModel("villain", d).Name.Str(), "M2");  // names are case-sensitive
  EXPECT_EQ(PlayerModel("Gone", d).Name.Str(), "M2");

  const std::vector<std::string> lines = ModelLevelLines(tables::OpponentModels[0], 3);
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0].rfind("I=0 ", 0), 0u);
  EXPECT_EQ(lines[10].rfind("I=10 ", 0), 0u);

  // The solver reads the values where the model keeps them.
  auto v = ValuesOf(tables::OpponentModels[0]);
  EXPECT_EQ(v->At(4, 6, 9), tables::OpponentModels[0].Values[3][6][8]);
}

}  // namespace
}  // namespace kova::pushfold::forms
