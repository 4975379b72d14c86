// The Ongame tables' own placement and turn decisions, without a window.
//
// The Ongame client lays its table out anew only when the user drags the
// table's resize corner, not when the window is merely resized. So when a
// table's size is wrong, the adapter sets the window four pixels larger at
// its slot's place and drags the corner back by those four pixels, as a
// user would: the window ends at the slot's size and the client has drawn
// its table for it. The drag is made in steps, one per scan, never by
// waiting on the GUI thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "tables/logic/placemath.h"
#include "tables/model/tablestate.h"

namespace kova::tables::ongame {

// The enlargement before the corner is dragged back.
constexpr int32_t kNudgePixels = 4;
// How long a wrong size is nudged before the adapter gives up until the size
// is right again.
constexpr double kNudgeSeconds = 2.0;

struct TOngamePlacement {
    std::optional<TPlacementStep> Move;  // a move into the slot (size included with Auto Size)
    bool Resized = false;                // the window's size is not the slot's (Auto Size only)
    TRect Target;
};

// Normal (toi false) or TOI placement of an Ongame table: nothing when the
// table is not placed at all. Clears SendToBottom when it is used or when
// another table is the active one, and sets PrevSlot after a move.
std::optional<TOngamePlacement> DecideOngamePlacement(TTableState& table, const TRect& window, bool toi,
                                                       bool isActiveTable, bool otherIsActive);

// The resize nudge's own state, kept by the table.
struct TNudgeState {
    uint8_t Busy = 0;           // a nudge is under way
    uint8_t ResizePending = 0;  // a wrong size was seen (its moment is the table's CreatedAt)
    int32_t Step = 0;           // the next step of the nudge under way
    double StepAt = 0;          // day-based time of the last step
};

// Whether a nudge begins now: the size is wrong and the first wrong size was
// seen less than kNudgeSeconds ago. Updates ResizePending and firstSeen.
bool NudgeWanted(TNudgeState& nudge, bool resized, double& firstSeen, double now);

// The grey-point turn test of the clients without a colour point: two
// points on the table are grey while the user has no action buttons.
struct TGreyTurnResult {
    std::string Log;       // a line for the log, or empty
    bool Released = false; // the table was the active one and no longer is
};
constexpr uint32_t kGreyColour = 0x00BFBFBF;  // RGB(191, 191, 191)
TGreyTurnResult GreyPointTurn(TTableState& table, uint32_t first, uint32_t second, int32_t tolerance, double now,
                              uintptr_t& activeWnd);

}  // namespace kova::tables::ongame
