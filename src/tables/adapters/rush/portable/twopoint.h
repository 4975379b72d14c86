// The turn test of the fast-fold tables, without windows. Their Fold button
// stands in one of two places, so the room's Fold point record holds two
// points (with a colour and a tolerance each) instead of a point and its
// anchor, when the room scales proportionally.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "tables/model/tablestate.h"
#include "tables/model/variables.h"

namespace kova::tables {

// Where the two pixels are read, in client coordinates.
struct TRushFoldPoints {
    bool Readable = false;          // false: the room has no reference size
    TPoint First{};                 // pixel 1
    std::optional<TPoint> Second{}; // pixel 2: only for proportional rooms
};

// Proportional rooms scale both points by the one factor client height /
// reference height (rounded, halves to even); other rooms read the record
// as one point with its anchor, as every room point is scaled, and have no
// second point.
TRushFoldPoints RushFoldPoints(const TPokerRoom& room, int32_t clientWidth, int32_t clientHeight);

// One turn test: `pixel1` as read (0xFFFFFFFF when unreadable, which only
// logs "Color Error Num= %d"); `readPixel2` reads pixel 2 and is asked only
// when pixel 1 does not show the Fold button (null: there is no second
// point). An unreadable pixel 2 is never compared. Updates the turn state
// like the one-point test; returns the log line (empty when none).
std::string RushTurnTest(TTableState& table, const TPokerRoom& room, uint32_t pixel1,
                         const std::function<uint32_t()>& readPixel2, double now, uintptr_t& activeWnd);

}  // namespace kova::tables
