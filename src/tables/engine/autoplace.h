// The window scan: the engine's heartbeat. One scan takes the first queued
// input action, forgets tables whose windows are gone, adopts new windows
// that a group of the running config recognises, lets every table parse its
// title and test its turn, sorts and places the tables, and ticks tables and
// lobbies. The main window's timer runs it on the GUI thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tables/engine/pokertable.h"
#include "tables/logic/slots.h"

namespace kova::tables {

// One scan. Skipped (false) while ScanPaused or ScanBusy is set. ScanBusy is
// set for the scan's duration and cleared on every way out; an exception
// from an adapter ends the scan with a log line, and the next scan runs.
bool RunScan();

// Runs `action` now when no scan is running, else right after the running
// scan ends (it waits in EngineState.DeferredActions). Start, Refresh and
// Stop of a config use it instead of waiting for ScanBusy to clear. The
// scan's turn step is EngineServices.ActivateTurnTableStep when one is
// installed, else ActivateTurnTable.
void RunWhenScanIdle(std::function<void()> action);

// True with the position in Tables when a table has the window; true with
// -1 when a lobby has it; false otherwise.
bool IsKnownWindow(HWND wnd, int32_t& index);

void AddTable(HWND wnd, const std::string& title, const std::string& className, int32_t roomIndex, int32_t groupIndex);
// Frees the table and closes the gap; queued actions for it go, those of
// the tables behind it follow them (see also ~TPokerTable: the active and
// mouse-over handles).
void RemoveTable(size_t index);
void RemoveLobby(size_t index);
void DropDeadTables();
void ScanTopLevelWindows();
void ParseAllTableTitles();
void PlaceAllTables();
// Counts the live tables and ticks tables and lobbies. `windowsChecked`:
// the tables' windows were checked by this scan already.
void TickTablesAndLobbies(bool windowsChecked = false);
void RefreshTableCalculators();
void MinimizeAllTables();
void RestoreAllTables();

// The re-sort of Tables into their slots (only when ResortPending is set).
void PlaceTablesIntoSlots();
// The lowest free slot number of a group among Tables.
int32_t FirstFreeSlot(int32_t group);
int32_t FreeGridSlot(int32_t group);

// Frees every table and lobby object (a config's start, the program's end);
// the queued actions, which name tables by index, go with them.
void FreeAllTables();

// The tables as their window-free state, in list order (what the slot
// arithmetic works on).
TTableList TableStates();

// The window handles of Tables, in the same order.
std::vector<uintptr_t> TableHandles();

}  // namespace kova::tables
