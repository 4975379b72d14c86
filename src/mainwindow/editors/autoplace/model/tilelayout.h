// Window-free arithmetic of the slot generators and of activate rectangles:
// tile columns and rows on a monitor's work area, the monitor under a point,
// and a rectangle re-sized about its centre and kept inside its work area.
#pragma once

#include <cstdint>
#include <vector>

#include "tables/logic/placemath.h"

namespace kova::mainwindow::autoplace {

using tables::TRect;

// One monitor of the desktop, in the desktop's monitor order.
struct TMonitorArea {
    TRect Bounds;
    TRect WorkArea;
};
using TMonitorList = std::vector<TMonitorArea>;

// The left edge of column `c` of `count` windows of width `size` across
// [low, high). Windows overlap evenly when they do not fit side by side;
// a single column starts at `low`. The same serves rows with heights.
int32_t TilePosition(int32_t c, int32_t count, int32_t size, int32_t low, int32_t high);

// The last monitor whose work area holds (x, y); when none does, 1 when
// there are several monitors and x lies at or past monitor 0's width, else
// 0. An empty list gives 0.
int32_t MonitorIndexAtPoint(const TMonitorList& monitors, int32_t x, int32_t y);

// `rect` made width x height about its centre (offsets truncated toward
// zero), shifted into the work area of the monitor holding its top-left
// corner: left edge first, right edge second, then top and bottom alike.
// Without monitors the rectangle is only re-sized.
TRect CenterRectInWorkArea(const TMonitorList& monitors, const TRect& rect, int32_t width, int32_t height);

// Work area of monitor m, m clamped to the list; an empty rectangle when
// the list is empty.
TRect WorkAreaOf(const TMonitorList& monitors, int32_t m);

}  // namespace kova::mainwindow::autoplace
