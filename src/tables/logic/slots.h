// Slot assignment, sorting and shifting of the tables of the running config.
//
// Every table holds a slot number within its group's slot-sharing set. New
// tables take the lowest free number; a re-sort (bubble sort, so equal
// tables keep their order) orders the list by group, then by blinds or slot,
// keeps the best TOI tables in the grid, and renumbers the slots so that
// tables close up. Groups and TOI settings are read from RunningConfig; the
// flags ResortPending and ForceRenumber are the global ones.
#pragma once

#include <cstdint>
#include <vector>

#include "tables/model/tablestate.h"
#include "tables/model/variables.h"

namespace kova::tables {

using TTableList = std::vector<TTableState*>;

// True when `group` is a valid group index of RunningConfig.
bool IsValidGroup(int32_t group);

// The table shares slot numbers with `group`: it belongs to it, or both its
// own group and `group` are SharedSlot groups.
bool SharesSlots(const TTableState& table, int32_t group);

// The lowest slot number that no table sharing slots with `group` holds
// (may lie past the group's last slot; placement then uses the last one).
int32_t FirstFreeSlot(const TTableList& tables, int32_t group);

// FirstFreeSlot when it is one of the group's slots, else the stack slot.
int32_t FreeGridSlot(const TTableList& tables, int32_t group);

// TOI tables (tables of TOIStyle groups) between the stack slot and the
// grid. First every kept table found in the stack takes a free grid slot,
// while the tables about to leave the grid still hold theirs; only then do
// the tables that are neither kept nor in the grid and not on turn go back
// to the stack. Sets ResortPending when a slot changes.
void ReturnTOITablesToStack(TTableList& tables);

// After the tables are placed: a table whose turn began in the stack takes
// a free grid slot and counts as in the grid (unless the config brings
// tables to the grid only after entering the pot); one on turn that was put
// in the grid but sits in the stack takes a free grid slot again. Kept
// tables stay. Sets ResortPending when a table leaves the stack.
void MoveTOITurnTablesToGrid(TTableList& tables);

// Renumbers the slots of the tables sharing slots with `group` (only with
// AutoShift or ForceRenumber); in TOI style stacked tables keep the stack
// slot and the grid tables are numbered around it.
void RenumberGroupSlots(TTableList& tables, int32_t group);

// Moves the table with the biggest small blind (ties: the smaller table
// number) among positions p.. to position p and keeps it in grid slot p,
// unless its big blind is below the config's GridMinBB.
void PromoteToGrid(TTableList& tables, int32_t p);

// Keeps the first KeepInGridCount tables in the grid.
void AutoKeepInGrid(TTableList& tables);

// The re-sort; does nothing unless ResortPending is set. Clears
// ResortPending and ForceRenumber.
void SortTablesIntoSlots(TTableList& tables);

}  // namespace kova::tables
