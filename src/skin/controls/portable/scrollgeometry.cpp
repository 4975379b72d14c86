#include "skin/controls/portable/scrollgeometry.h"

#include <algorithm>
#include <cstdint>

namespace kova::skin {

int MulDivRound(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t p = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = (c < 0 ? -static_cast<std::int64_t>(c) : c) / 2;
    const bool negative = (p < 0) != (c < 0);
    const std::int64_t q = ((p < 0 ? -p : p) + half) / (c < 0 ? -static_cast<std::int64_t>(c) : c);
    const std::int64_t r = negative ? -q : q;
    return static_cast<int>(std::clamp<std::int64_t>(r, INT32_MIN, INT32_MAX));
}

namespace {

// The positions a page leaves to scroll through (at least 1).
std::int64_t Span(const TScrollRange& range) {
    return static_cast<std::int64_t>(range.Max) - range.Min + 1;
}

}  // namespace

TBarGeometry ComputeBarGeometry(int start, int end, int arrow, int minThumb, const TScrollRange& range) {
    TBarGeometry g;
    g.Start = start;
    g.End = std::max(start, end);
    arrow = std::max(0, arrow);
    const int length = g.Length();
    if (length <= 2 * arrow) {
        g.Short = true;
        g.Arrow = length / 2;
        g.TrackStart = g.TrackEnd = g.Start + g.Arrow;
        return g;
    }
    g.Arrow = arrow;
    g.TrackStart = g.Start + arrow;
    g.TrackEnd = g.End - arrow;
    const int track = g.Track();
    const std::int64_t span = Span(range);
    int len = 0;
    if (range.Page == 0) {
        len = arrow;
    } else if (span > 0) {
        const std::int64_t page = std::min<std::int64_t>(range.Page, span);
        len = static_cast<int>((page * track + span / 2) / span);
        len = std::max(len, minThumb);
    }
    if (len <= 0 || len >= track) return g;  // no thumb: it would fill the track
    g.ThumbLen = len;
    int offset = 0;
    const std::int64_t divisor = span - std::max<std::int64_t>(1, range.Page);
    if (span > 0 && divisor > 0) {
        const std::int64_t pos = static_cast<std::int64_t>(range.Pos) - range.Min;
        offset = static_cast<int>(std::clamp<std::int64_t>((pos * (track - len) + divisor / 2) / divisor, 0,
                                                           track - len));
    }
    g.ThumbStart = g.TrackStart + offset;
    return g;
}

int HitTestBar(const TBarGeometry& g, int along) {
    if (along < g.Start || along >= g.End) return sbpNone;
    if (along < g.Start + g.Arrow) return sbpFirstArrow;
    if (along >= g.End - g.Arrow) return sbpLastArrow;
    if (!g.HasThumb()) return sbpNone;
    if (along >= g.ThumbStart && along < g.ThumbStart + g.ThumbLen) return sbpThumb;
    return along < g.ThumbStart ? sbpPageBefore : sbpPageAfter;
}

int DraggedThumbStart(const TBarGeometry& g, int along, int grabOffset) {
    const int last = std::max(g.TrackStart, g.TrackEnd - g.ThumbLen);
    return std::clamp(along - grabOffset, g.TrackStart, last);
}

int PositionOfThumb(const TBarGeometry& g, const TScrollRange& range, int thumbStart) {
    const int room = g.Track() - g.ThumbLen;
    const int offset = std::max(0, thumbStart - g.TrackStart);
    if (!g.HasThumb() || room <= 0 || static_cast<std::int64_t>(range.Max) - range.Min < 1) return range.Min;
    const std::int64_t positions = Span(range) - std::max<std::int64_t>(1, range.Page);
    if (positions <= 0) return range.Min;
    const std::int64_t pos = (static_cast<std::int64_t>(std::min(offset, room)) * positions + room / 2) / room;
    return static_cast<int>(range.Min + pos);
}

}  // namespace kova::skin
