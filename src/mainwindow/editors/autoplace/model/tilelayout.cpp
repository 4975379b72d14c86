#include "mainwindow/editors/autoplace/model/tilelayout.h"

#include <algorithm>
#include <limits>

namespace kova::mainwindow::autoplace {

namespace {

int32_t Saturate(int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

bool Holds(const TRect& r, int32_t x, int32_t y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

}  // namespace

int32_t TilePosition(int32_t c, int32_t count, int32_t size, int32_t low, int32_t high) {
    if (count <= 1) return low;
    // 64-bit: typed counts and sizes may be anything that fits an int32.
    const int64_t overlap = int64_t{count} * size - (int64_t{high} - low);
    int64_t x = int64_t{size} * c;
    if (overlap >= 1) x -= overlap * c / (count - 1);
    x += low;
    if (x < low)
        x = low;
    else if (x + size > high)
        x = int64_t{high} - size;
    return Saturate(x);
}

int32_t MonitorIndexAtPoint(const TMonitorList& monitors, int32_t x, int32_t y) {
    for (size_t i = monitors.size(); i-- > 0;)
        if (Holds(monitors[i].WorkArea, x, y)) return static_cast<int32_t>(i);
    if (monitors.size() > 1 && x >= monitors[0].Bounds.Width()) return 1;
    return 0;
}

TRect WorkAreaOf(const TMonitorList& monitors, int32_t m) {
    if (monitors.empty()) return {};
    return monitors[static_cast<size_t>(std::clamp<int32_t>(m, 0, static_cast<int32_t>(monitors.size()) - 1))].WorkArea;
}

TRect CenterRectInWorkArea(const TMonitorList& monitors, const TRect& rect, int32_t width, int32_t height) {
    // The engine's activate placement does the same in 32 bits on values it
    // made itself; here the numbers are typed, so 64 bits and saturation.
    int64_t left = int64_t{rect.Left} - (int64_t{width} - (int64_t{rect.Right} - rect.Left)) / 2;
    int64_t top = int64_t{rect.Top} - (int64_t{height} - (int64_t{rect.Bottom} - rect.Top)) / 2;
    if (!monitors.empty()) {
        const TRect work = WorkAreaOf(monitors, MonitorIndexAtPoint(monitors, rect.Left, rect.Top));
        if (left < work.Left) left = work.Left;
        if (left + width > work.Right) left = int64_t{work.Right} - width;
        if (top < work.Top) top = work.Top;
        if (top + height > work.Bottom) top = int64_t{work.Bottom} - height;
    }
    TRect r;
    r.Left = Saturate(left);
    r.Top = Saturate(top);
    r.Right = Saturate(left + width);
    r.Bottom = Saturate(top + height);
    return r;
}

}  // namespace kova::mainwindow::autoplace
