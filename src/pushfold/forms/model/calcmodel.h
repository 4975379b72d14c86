// What the push/fold calculator window does that needs no window: where
// each seat's frame goes (the hero always in frame 8), what a hand shows
// (stacks after the blinds, bets, ante, blind level), how the typed numbers
// are read, the situation built from the frames, the steppers, the hand
// browser's steps and the opponent models of the players.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pushfold/logic/hand_record.h"
#include "pushfold/logic/situation.h"
#include "tables/model/variables.h"

namespace kova::pushfold::forms {

constexpr int kFrameCount = 10;
constexpr int kHeroFrame = 8;

// ---- numbers typed into the window -------------------------------------------

// The number in a text, or `fallback` when the text is no (finite) number.
double NumberOr(const std::string& text, double fallback);
// The integer in a text, or `fallback` when it is none (a decimal number is
// none either).
int IntegerOr(const std::string& text, int fallback);

// ---- the table the calculator shows ----------------------------------------------

// What the tournament table hands the calculator besides its hand: the
// table's hand histories to browse.
class THandSource {
 public:
  virtual ~THandSource() = default;
  // Makes hand n (from 1) of the table's history the selected one; false
  // when the table has no such hand.
  virtual bool SelectHand(int n) = 0;
  // Parses the selected hand; false when it could not be parsed. The
  // tournament facts may change with it (finishing places).
  virtual bool ParseSelectedHand(THH& hand, TTournamentInfo& tournament) = 0;
  // The text lines of the selected hand.
  virtual std::vector<std::string> HandLines() const = 0;
};

// A hand source made of three operations of a table adapter (select hand
// n, parse the selected hand, its text lines); an empty one answers "no".
class TCallbackHandSource : public THandSource {
 public:
  std::function<bool(int n)> Select;
  std::function<bool(THH& hand, TTournamentInfo& tournament)> Parse;
  std::function<std::vector<std::string>()> Lines;

  bool SelectHand(int n) override { return Select && Select(n); }
  bool ParseSelectedHand(THH& hand, TTournamentInfo& tournament) override {
    return Parse && Parse(hand, tournament);
  }
  std::vector<std::string> HandLines() const override { return Lines ? Lines() : std::vector<std::string>{}; }
};

// Everything a tournament table gives its calculator window.
struct TCalculatorRequest {
  // Identifies the table: one calculator per table, and closing the table
  // closes (and cancels) it through this key.
  const void* Table = nullptr;
  std::string Caption;          // the window's caption ("" keeps the default)
  std::shared_ptr<THandSource> Source;  // may be null: no browsing
  TTournamentInfo Tournament;
  // The table type: the tournament's format text, the type of its models
  // and the key of its default model.
  std::string TypeName;
  THH Hand;
  int HandNumber = 1;
};

// ---- seats and frames ---------------------------------------------------------------

// Frame offset that puts the hero's seat into frame 8.
int HeroOffset(int heroSeat);
// The frame (1..10) of a seat: the seat moved by the offset, wrapped round
// the ten frames, so that every seat keeps its own frame and the hero sits
// in frame 8 whatever the table's size.
int SeatFrameIndex(int seat, int offset);

// The blind level a hand is played at (1..15): counted from the tournament
// start and the level duration when the hand has a time, else the last
// level of the structure with the hand's big blind and ante, else the level
// with the nearest big blind.
int HandBlindLevel(const THH& hand, const TTournamentInfo& tournament,
                   double clockCorrectionDays = 3.0 / 86400.0);

struct TFrameView {
  bool Visible = false;
  std::string Name;
  double Stack = 0;       // after the ante and blinds
  int ActionItem = 0;     // 0 none, 1 fold, 2 push
  std::string Bet;        // the posted blind, "" when none
  int PlayerIndex = -1;   // 0-based in the hand
};

// What the window shows of a hand.
struct THandView {
  int Level = 1;
  bool LevelFromTime = false;
  double SmallBlind = 0, BigBlind = 0, Ante = 0;  // of that level / the hand
  double AnteTotal = 0;
  std::array<TFrameView, kFrameCount + 1> Frames{};  // 1..10
};
THandView ViewOfHand(const THH& hand, const TTournamentInfo& tournament, int offset);

// ---- the calculation ---------------------------------------------------------------

// The values of one frame as the user left them.
struct TFrameInput {
  int ActionItem = 0;     // 0 none, 1 fold, 2 push
  std::string Open;       // percent as typed
  std::string Call;
  std::shared_ptr<const TModelValues> Model;
};

struct TCalculationInput {
  TTournamentInfo Tournament;
  THH Hand;
  int HeroIndex = -1;  // 0-based player of the hand, -1: nobody sits in the hero frame
  std::vector<TSeatInput> Seats;
  TSituationOptions Options;
};

// The situation's inputs from the frames (indexed 1..10) and the texts of
// the hero frame, edge and depth.
TCalculationInput BuildCalculation(const THH& hand, const TTournamentInfo& tournament, int offset,
                                   const std::array<TFrameInput, kFrameCount + 1>& frames,
                                   const std::string& heroFrameText, const std::string& edgeText,
                                   const std::string& depthText);

struct TCalculationResult {
  bool Cancelled = false;
  bool HasHero = false;
  int Hands = 0;              // the strongest hands to push, 0..169
  int Depth = 0;              // the hands played out after this one
  std::vector<std::string> Branches;  // the branch table as lines
  std::string Answer;         // "12.34 %"
  std::string HandText;       // "88+,AT+"
};
// Builds and solves the situation (on whatever thread calls it).
TCalculationResult Calculate(const TCalculationInput& input);

// "%.2f %" of the range share of the top n hands.
std::string AnswerText(int hands);
// What the window says of a calculation under way: the share of its work
// done (when counted) and the time spent.
std::string ProgressText(std::int64_t done, std::int64_t total, double seconds);

// ---- steppers -----------------------------------------------------------------------

// The edge text after "-" (-1) or "+" (+1): 0.1 less or more, two decimals.
std::string StepEdge(const std::string& text, int direction);
// The depth text after "-" (never below 0) or "+" (no bound but the
// largest number the field holds).
std::string StepDepth(const std::string& text, int direction);
// A model level after "-" or "+", kept within 1..15.
int StepLevel(int level, int direction);

// ---- browsing the table's hands ----------------------------------------------------------

struct TBrowseResult {
  bool Shown = false;        // a hand was parsed and is to be shown
  int HandNumber = 1;        // the number the window shows afterwards
  std::string LogLine;       // e.g. "HH 7 not exist"
};
// "+": the next hand, or the current one again when there is none.
TBrowseResult BrowseNext(THandSource& source, const std::string& handText, THH& hand,
                         TTournamentInfo& tournament);
// "-": the previous hand, nothing at hand 1.
TBrowseResult BrowsePrevious(THandSource& source, const std::string& handText, THH& hand,
                             TTournamentInfo& tournament);
// "Go": the typed hand, or a log line when there is none.
TBrowseResult BrowseGo(THandSource& source, const std::string& handText, THH& hand, TTournamentInfo& tournament);

// ---- opponent models of the players ------------------------------------------------

// A model's percentages as the solver reads them.
std::shared_ptr<const TModelValues> ValuesOf(const tables::TOpponentModel& model);

// The model the table type starts with: its start default when one is
// stored (and names a model), else the first model of the type (stored as
// the start default), else an empty model named "Default". `listed` are the
// models the window lists for the type (the editor's list);
// `selectedIndex` gets the listed index of the default (-1: none).
tables::TOpponentModel SelectDefaultModel(const std::string& folder, const std::string& typeName,
                                          const std::vector<tables::TOpponentModel>& listed, int& selectedIndex);

// The model of a player: the one assigned to the name, else the default.
tables::TOpponentModel PlayerModel(const std::string& name, const tables::TOpponentModel& fallback);

// The model's values at a level as the memo shows them: eleven lines
// "I=<row>" followed by the ten values.
std::vector<std::string> ModelLevelLines(const tables::TOpponentModel& model, int level);

// The level's blinds as the model editor shows them ("100/200+20").
std::string LevelText(int level);

}  // namespace kova::pushfold::forms
