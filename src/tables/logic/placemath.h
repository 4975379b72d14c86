// Window-free arithmetic of table placement: which rectangle a table's
// window belongs in and how it is moved there, the scaling of a room's
// reference points to a table's client size, colour matching, and the
// slot a table dropped by hand lands in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tables/logic/slots.h"
#include "tables/model/tablestate.h"
#include "tables/model/variables.h"

namespace kova::tables {

struct TRect {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    bool operator==(const TRect&) const = default;
};

TRect SlotRect(const TSlotRec& slot);      // the normal rectangle
TRect ActSlotRect(const TSlotRec& slot);   // the activate rectangle

// A rectangle of the given size centred on `slot` (offsets truncated toward
// zero), then shifted into `workArea`: left edge first, right edge second;
// top edge first, bottom edge second.
TRect ActivateSlotRect(const TRect& slot, int32_t width, int32_t height, const TRect& workArea);

// Window-position flags as the system defines them.
constexpr uint32_t PlaceNoSize = 0x1;
constexpr uint32_t PlaceNoZOrder = 0x4;
constexpr uint32_t PlaceNoActivate = 0x10;

enum class TInsertAfter : uint8_t {
    NoTopMost,  // above every window that is not topmost
    Bottom,     // below every window
};

// One move of a table's window.
struct TPlacementStep {
    TRect Target;
    uint32_t Flags = 0;
    TInsertAfter InsertAfter = TInsertAfter::NoTopMost;
};

// What placement needs to know of the world around the table.
struct TPlacementContext {
    bool IsActiveTable = false;      // the table's window is ActiveTableWnd
    bool OtherIsActive = false;      // ActiveTableWnd is another table's window
    bool IsMouseOver = false;        // the table's window is MouseOverWnd
    bool LBtnMouseActivate = false;  // mouse activation by the left button
    int32_t MouseActDelay = 0;       // hover delay, whole seconds
    double SecondsSinceActivated = 0;
    TRect WorkArea;                  // work area of the monitor holding the slot's top-left corner
};

// The table's slot clamped to its group's slots (-1 without a group or slots).
int32_t ClampedSlot(const TTableState& table);

// Normal and TOI placement: the move to make, or none when the window is
// where it belongs (or the table is not placed at all). Updates PrevSlot and
// SendToBottom as the move is decided; the caller makes the move.
std::optional<TPlacementStep> DecideNormalPlacement(TTableState& table, const TRect& window, const TPlacementContext& context);
std::optional<TPlacementStep> DecideTOIPlacement(TTableState& table, const TRect& window, const TPlacementContext& context);

// ---- scaling of reference points ---------------------------------------------

// Nearest integer, halves to even.
int32_t RoundHalfEven(double value);

// A coordinate given at the reference size `ref` (value v) and at the
// minimum size `refMin` (value vMin), interpolated to `client`. Equal
// reference sizes scale by 1.
int32_t ScaleBetween(int32_t v, int32_t vMin, int32_t client, int32_t ref, int32_t refMin);

// As ScaleBetween, but the product (v - vMin) * (client - refMin) is taken
// first and divided afterwards, exactly, halves to even: the tables' own
// reference points (ScaleX/ScaleY) round so, where the factor computed
// first can land a hair beside a half.
int32_t ScaleMultiplyFirst(int32_t v, int32_t vMin, int32_t client, int32_t ref, int32_t refMin);

// A room point scaled to a client size: from the origin when `proportional`,
// else between the room's two reference sizes.
TPoint ScaleRoomPoint(bool proportional, const TScaleRef& ref, int32_t x, int32_t y, int32_t xMin, int32_t yMin,
                      int32_t clientWidth, int32_t clientHeight);

// Colours as 0x00BBGGRR; equal, or each channel within the tolerance.
bool ColorsMatch(uint32_t a, uint32_t b, int32_t tolerance);

// Characters that may not stand in a file name become "_".
std::string SanitizeFileName(std::string_view name);

// ---- placement by hand -----------------------------------------------------------

// The slot of the group whose normal rectangle holds (x, y) and whose centre
// is nearest to it; -1 when none holds it.
int32_t NearestSlotAt(const TGroupRec& group, int32_t x, int32_t y);

// The user dropped table i with its window at `window`: it takes the slot
// under its centre, and a table holding that slot takes its old one.
void PlaceTableByHandAt(TTableList& tables, size_t i, const TRect& window);

}  // namespace kova::tables
