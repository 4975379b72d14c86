// The scan's side of the pending-action queue: the actions that the input
// handlers queue for a table (tablequeue.h) and that the next scan runs.
#pragma once

#include <cstdint>

#include "tables/logic/tablequeue.h"

namespace kova::tables {

// Empties the queue and runs its oldest entry (a room hotkey macro, a
// placement by hand, a wheel step: EngineServices.WheelUpStep and
// WheelDownStep); the others are dropped, and so is an entry whose table
// index no longer names a table.
void RunQueuedTableAction();

// The user dropped table i somewhere: it takes the nearest slot under its
// centre, swapping with the table there.
void PlaceTableByHand(int32_t index);

}  // namespace kova::tables
