// The pending-action queue between the input handlers (which fill it
// between two scans) and the scan (which empties it and runs only the
// oldest entry).
#pragma once

#include <cstddef>
#include <cstdint>

#include "tables/model/variables.h"

namespace kova::tables {

enum : uint8_t {
    ActionHotKeyMacro = 0,
    ActionPlaceByHand = 1,
    ActionWheelUp = 2,
    ActionWheelDown = 3,
};

// Appends an entry to ActionQueue; false (and nothing queued) when full.
bool QueueTableAction(int32_t tableIndex, int32_t argument, uint8_t kind);

// Empties ActionQueue. True with the oldest entry in `first` when there was
// one and it can run: its table index lies inside a table list of
// `tableCount` entries and its kind is known. An entry queued for a table
// list that has changed since (a config's start frees every table) names
// an index that may lie past the list: such an entry is dropped.
bool TakeQueuedTableAction(size_t tableCount, TTableAction& first);

// Table `index` left the table list: its entries go, and entries of the
// tables behind it follow them to their new places (one lower).
void ForgetQueuedTable(int32_t index);

}  // namespace kova::tables
