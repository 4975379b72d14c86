#include "tables/adapters/ongame/portable/ongame_logic.h"

#include <cstdio>

#include "tables/logic/slots.h"
#include "tables/logic/turnlogic.h"
#include "tables/model/variables.h"

namespace kova::tables::ongame {

std::optional<TOngamePlacement> DecideOngamePlacement(TTableState& table, const TRect& window, bool toi,
                                                       bool isActiveTable, bool otherIsActive) {
    if (!IsValidGroup(table.GroupIndex) || table.Dragging) return std::nullopt;
    const TGroupRec& g = RunningConfig.Groups[static_cast<size_t>(table.GroupIndex)];
    const int32_t s = ClampedSlot(table);
    if (s < 0 || !g.AutoPlace) return std::nullopt;
    const TSlotRec& slot = g.Slots[static_cast<size_t>(s)];

    TOngamePlacement p;
    p.Target = !toi && g.ActivateSize && isActiveTable ? ActSlotRect(slot) : SlotRect(slot);
    if (table.SendToBottom && otherIsActive) table.SendToBottom = 0;
    const bool moved = window.Left != p.Target.Left || window.Top != p.Target.Top;
    p.Resized = g.AutoSize && (window.Width() != p.Target.Width() || window.Height() != p.Target.Height());
    if (moved || table.SendToBottom) {
        TPlacementStep step;
        step.Target = p.Target;
        step.Flags = PlaceNoActivate | (g.AutoSize ? 0u : PlaceNoSize);
        if (table.SendToBottom) {
            const bool sink = toi ? s == RunningConfig.TOI.StackSlot : s == static_cast<int32_t>(g.Slots.size()) - 1;
            step.InsertAfter = sink ? TInsertAfter::Bottom : TInsertAfter::NoTopMost;
            table.SendToBottom = 0;
        } else if (toi) {
            step.Flags |= PlaceNoZOrder;  // a TOI table keeps its place in the stack
        }
        table.PrevSlot = table.Slot;
        p.Move = step;
    }
    return p;
}

bool NudgeWanted(TNudgeState& nudge, bool resized, double& firstSeen, double now) {
    if (!resized) {
        nudge.ResizePending = 0;
        return false;
    }
    if (!nudge.ResizePending) {
        nudge.ResizePending = 1;
        firstSeen = now;
    }
    return !nudge.Busy && (now - firstSeen) * 86400.0 < kNudgeSeconds;
}

TGreyTurnResult GreyPointTurn(TTableState& table, uint32_t first, uint32_t second, int32_t tolerance, double now,
                              uintptr_t& activeWnd) {
    TGreyTurnResult r;
    const bool usable = first != InvalidColour && second != InvalidColour && !(first == 0 && second == 0);
    char line[64];
    const int handle = static_cast<int>(table.Wnd);
    if (!usable) {
        table.MyTurn = 0;
        return r;
    }
    const bool grey = ColorsMatch(first, kGreyColour, tolerance) || ColorsMatch(second, kGreyColour, tolerance);
    if (table.MyTurn) {
        if (!grey) return r;
        table.MyTurn = 0;
        table.TurnEnd = now;
        std::snprintf(line, sizeof line, "Not Activated= %d", handle);
        r.Log = line;
        if (activeWnd != 0 && activeWnd == table.Wnd) {
            activeWnd = 0;
            r.Released = true;
        }
    } else if (!grey && (now - table.TurnEnd) * 86400.0 >= 1.0) {
        table.MyTurn = 1;
        table.TurnStart = now;
        std::snprintf(line, sizeof line, "Activated= %d", handle);
        r.Log = line;
    }
    return r;
}

}  // namespace kova::tables::ongame
