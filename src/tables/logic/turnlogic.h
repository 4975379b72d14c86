// Window-free decisions of the turn handling: whether a table's turn began
// or ended from the Fold-button colour, the stages of the turn alert, the
// tick countdown, the event macros' triggers and delays, which table is
// activated, and the frame's colours. The Win32 side reads the pixels and
// makes the moves; everything that can be decided on plain values is here.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tables/logic/placemath.h"
#include "tables/model/tablestate.h"
#include "tables/model/variables.h"

namespace kova::tables {

constexpr uint32_t InvalidColour = 0xFFFFFFFFu;  // an unreadable pixel
constexpr double SecondsPerDay = 86400.0;

// ---- turn test ---------------------------------------------------------------------

// One turn test of a table whose group detects turns. `pixel` is the Fold
// button's colour (InvalidColour when unreadable), `target` the room's colour.
// Updates MyTurn, TurnStart, TurnEnd and ColourMisses; clears `activeWnd`
// when this table's turn ends while it is the activated one. Returns the log
// line to write (empty when none).
std::string UpdateTurnState(TTableState& table, uint32_t pixel, uint32_t target, int32_t tolerance, double now,
                            uintptr_t& activeWnd);
// The same step once the colour test is decided: `match` says whether the
// Fold button was seen (for clients that look at more than one point).
std::string UpdateTurnStateOnMatch(TTableState& table, bool match, double now, uintptr_t& activeWnd);

// ---- turn alert --------------------------------------------------------------------

struct TAlertActions {
    bool BringToTop = false;
    bool Flash = false;
    bool Sound = false;      // play the alert once
    bool LoopSound = false;  // play the alert in a loop
    bool StopSound = false;
    int32_t Frame = 0;       // frame colour state 0..3
};

// One step of the alert: advances AlertStage by the seconds since TurnStart.
// `isActive`: the table is the activated one; `soundOption`: the main
// window's sound option.
TAlertActions StepAlert(TTableState& table, const std::array<TTurnAlertStep, 4>& steps, bool isActive, bool soundOption,
                        double now);

// ---- periodic tick -----------------------------------------------------------------

struct TTickPlan {
    bool EventMacros = false;  // the three option-controlled macros (every fifth tick)
    bool BetPot = false;       // event macro 3 (every tick while its option is on)
};
TTickPlan StepTick(TTableState& table, bool betPotOption);

// ---- event macros -------------------------------------------------------------------

// A random delay in [a, b] from a uniform value in [0, 1): a when b <= a.
double RandomDelay(double a, double b, double uniform01);

// What one call of an event macro needs of the world.
struct TEventMacroWorld {
    bool MyTurn = false;
    bool IsActive = false;  // the table is the activated one
    double TurnStart = 0;
    double Now = 0;
    std::function<uint32_t()> ReadPixel;  // the macro's point (InvalidColour when unreadable)
    std::function<double()> Uniform;      // in [0, 1)
};

// One call of event macro `event` with its state; true when the macro's
// click must run now. Log lines go to `log`.
bool StepEventMacro(TEventState& state, const TEventMacro& macro, int32_t event, const TEventMacroWorld& world,
                    std::vector<std::string>& log);

// ---- activation -----------------------------------------------------------------------

// The table to activate among those on turn: the earliest TurnStart not
// later than `now`; on equal times the later one in the list. -1 when none.
int32_t ChooseTurnTable(const std::vector<const TTableState*>& tables, double now);

// Where the cursor jumps on a newly activated window: three quarters across
// and down its rectangle.
TPoint JumpPoint(const TRect& window);

// ---- frame --------------------------------------------------------------------------

// 0 erases (InvalidColour: the frame's own, transparent colour), 1 green,
// 2 amber, 3 red (colours as 0x00BBGGRR).
uint32_t FrameStateColour(int32_t state);
// The pen width for the frame thickness as the user typed it (6 when it is
// not a number; never below 1 nor above 100).
int32_t FramePenWidth(const std::string& thicknessText);

}  // namespace kova::tables
