#include "tables/logic/slots.h"

#include <utility>

namespace kova::tables {

namespace {

const TGroupRec* GroupOf(int32_t group) {
    return IsValidGroup(group) ? &RunningConfig.Groups[static_cast<size_t>(group)] : nullptr;
}

int32_t LastSlotIndex(int32_t group) {
    const TGroupRec* g = GroupOf(group);
    return g ? static_cast<int32_t>(g->Slots.size()) - 1 : -1;
}

// The pair (a at i, b at i + 1) must change places.
bool MustSwap(const TTableState& a, const TTableState& b) {
    if (!SharesSlots(a, b.GroupIndex)) return a.GroupIndex > b.GroupIndex;
    const TGroupRec* g = GroupOf(a.GroupIndex);
    const bool bySlot = a.Slot > b.Slot;
    if (!g) return bySlot;
    const TTOIConfig& toi = RunningConfig.TOI;
    if (g->AutoSort) {
        if (g->TOIStyle && a.Slot != toi.StackSlot && b.Slot != toi.StackSlot && a.Slot >= toi.KeepInGridCount &&
            b.Slot >= toi.KeepInGridCount)
            return bySlot;
        return a.SmallBlind < b.SmallBlind;  // bigger blinds first, equal ones keep their order
    }
    if (g->TOIStyle) {
        if (!a.KeptInGrid && b.KeptInGrid) return true;
        if (a.KeptInGrid == b.KeptInGrid) return bySlot;
        return false;
    }
    return bySlot;
}

void BubbleSort(TTableList& tables) {
    size_t pairs = tables.size() > 0 ? tables.size() - 1 : 0;
    bool swapped = true;
    while (swapped && pairs > 0) {
        swapped = false;
        for (size_t i = 0; i < pairs; ++i) {
            TTableState* a = tables[i];
            TTableState* b = tables[i + 1];
            if (!a || !b) break;
            if (MustSwap(*a, *b)) {
                std::swap(tables[i], tables[i + 1]);
                swapped = true;
            }
        }
        --pairs;
    }
}

}  // namespace

bool IsValidGroup(int32_t group) {
    return group >= 0 && static_cast<size_t>(group) < RunningConfig.Groups.size();
}

bool SharesSlots(const TTableState& table, int32_t group) {
    if (table.GroupIndex == group) return true;
    const TGroupRec* own = GroupOf(table.GroupIndex);
    const TGroupRec* other = GroupOf(group);
    return own && other && own->SharedSlot && other->SharedSlot;
}

int32_t FirstFreeSlot(const TTableList& tables, int32_t group) {
    int32_t s = 0;
    for (;;) {
        bool taken = false;
        for (const TTableState* t : tables) {
            if (t && t->Slot == s && SharesSlots(*t, group)) {
                taken = true;
                break;
            }
        }
        if (!taken) return s;
        ++s;
    }
}

int32_t FreeGridSlot(const TTableList& tables, int32_t group) {
    const int32_t s = FirstFreeSlot(tables, group);
    return s <= LastSlotIndex(group) ? s : RunningConfig.TOI.StackSlot;
}

namespace {

bool IsTOITable(const TTableState* t) {
    const TGroupRec* g = t ? GroupOf(t->GroupIndex) : nullptr;
    return g && g->TOIStyle;
}

}  // namespace

void ReturnTOITablesToStack(TTableList& tables) {
    const int32_t stack = RunningConfig.TOI.StackSlot;
    // Two passes on purpose: a kept table must not take the grid slot of a
    // table that is only now going back to the stack, or the two would
    // trade places in the grid on every scan.
    for (TTableState* t : tables) {
        if (!IsTOITable(t) || !t->KeptInGrid || t->Slot != stack) continue;
        t->Slot = FreeGridSlot(tables, t->GroupIndex);
        ResortPending = 1;
    }
    for (TTableState* t : tables) {
        if (!IsTOITable(t) || t->KeptInGrid || t->InGrid || t->MyTurn) continue;
        if (t->Slot == stack) continue;
        t->Slot = stack;
        ResortPending = 1;
    }
}

void MoveTOITurnTablesToGrid(TTableList& tables) {
    const int32_t stack = RunningConfig.TOI.StackSlot;
    for (TTableState* t : tables) {
        if (!IsTOITable(t) || t->KeptInGrid) continue;
        if (t->InGrid && t->MyTurn && t->Slot == stack) {
            t->Slot = FreeGridSlot(tables, t->GroupIndex);
            if (t->Slot != stack) ResortPending = 1;
            continue;
        }
        // Tables that wait for the pot to be entered reach the grid only by
        // hotkey.
        if (!t->MyTurn || RunningConfig.TOI.AfterEnteringPot || t->Slot != stack) continue;
        t->Slot = FreeGridSlot(tables, t->GroupIndex);
        t->InGrid = 1;
        if (t->Slot != stack) ResortPending = 1;
    }
}

void RenumberGroupSlots(TTableList& tables, int32_t group) {
    const TGroupRec* g = GroupOf(group);
    if (!g || !(g->AutoShift || ForceRenumber)) return;
    if (!g->TOIStyle) {
        int32_t n = 0;
        for (TTableState* t : tables)
            if (t && SharesSlots(*t, group)) t->Slot = n++;
        return;
    }
    const int32_t stack = RunningConfig.TOI.StackSlot;
    int32_t s = 0;
    for (TTableState* t : tables) {
        if (s == stack) s = stack + 1;
        if (t && SharesSlots(*t, group) && (t->InGrid || t->KeptInGrid) && t->Slot != stack) t->Slot = s++;
    }
}

void PromoteToGrid(TTableList& tables, int32_t p) {
    if (p < 0 || static_cast<size_t>(p) >= tables.size()) return;
    size_t best = tables.size();
    for (size_t i = static_cast<size_t>(p); i < tables.size(); ++i) {
        const TTableState* t = tables[i];
        if (!t) continue;
        if (best == tables.size() || t->SmallBlind > tables[best]->SmallBlind ||
            (t->SmallBlind == tables[best]->SmallBlind && t->TableNumber < tables[best]->TableNumber))
            best = i;
    }
    if (best == tables.size()) return;
    if (2 * static_cast<int64_t>(tables[best]->SmallBlind) < RunningConfig.TOI.GridMinBB) return;
    std::swap(tables[static_cast<size_t>(p)], tables[best]);
    TTableState* t = tables[static_cast<size_t>(p)];
    t->Slot = p;
    t->KeptInGrid = 1;
    t->InGrid = 1;
}

void AutoKeepInGrid(TTableList& tables) {
    const int32_t n = RunningConfig.TOI.KeepInGridCount;
    if (n < 1) return;
    int32_t kept = 0;
    for (int32_t p = 0; p < n && static_cast<size_t>(p) < tables.size(); ++p)
        if (tables[static_cast<size_t>(p)] && tables[static_cast<size_t>(p)]->KeptInGrid) ++kept;
    if (kept >= n) return;
    for (int32_t p = 0; p < n && static_cast<size_t>(p) < tables.size(); ++p) PromoteToGrid(tables, p);
}

void SortTablesIntoSlots(TTableList& tables) {
    if (!ResortPending) return;
    BubbleSort(tables);
    bool anyTOI = false;
    for (const TGroupRec& g : RunningConfig.Groups) anyTOI = anyTOI || g.TOIStyle;
    if (anyTOI) AutoKeepInGrid(tables);
    bool sharedDone = false;
    for (size_t g = 0; g < RunningConfig.Groups.size(); ++g) {
        if (RunningConfig.Groups[g].SharedSlot) {
            if (sharedDone) continue;
            sharedDone = true;
        }
        RenumberGroupSlots(tables, static_cast<int32_t>(g));
    }
    ResortPending = 0;
    ForceRenumber = 0;
}

}  // namespace kova::tables
