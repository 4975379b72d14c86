// Where the parts of a skinned scroll bar lie along its length: the two
// arrows, the track between them, the thumb and the page areas on either
// side of it. Painting, hit-testing and thumb dragging all take their
// places from here, so that what the user sees is what the mouse hits and
// what a drag sends. Window-free.
#pragma once

#include <cstdint>

namespace kova::skin {

// What the window tells of one bar (its SCROLLINFO values).
struct TScrollRange {
    std::int32_t Min = 0;
    std::int32_t Max = 0;
    std::uint32_t Page = 0;
    std::int32_t Pos = 0;
};

// Part codes; they equal the scroll request the part sends.
enum : int {
    sbpNone = -1,
    sbpFirstArrow = 0,  // SB_LINEUP / SB_LINELEFT
    sbpLastArrow = 1,   // SB_LINEDOWN / SB_LINERIGHT
    sbpPageBefore = 2,  // SB_PAGEUP
    sbpPageAfter = 3,   // SB_PAGEDOWN
    sbpThumb = 5,       // SB_THUMBTRACK
};

struct TBarGeometry {
    // The bar along its length: [Start, End).
    int Start = 0, End = 0;
    // Each arrow's length: the bar's arrow length, or half the bar when it
    // is too short for two arrows and a track.
    int Arrow = 0;
    // Too short for a track: two arrows and nothing else.
    bool Short = false;
    // The track between the arrows: [TrackStart, TrackEnd).
    int TrackStart = 0, TrackEnd = 0;
    // The thumb: [ThumbStart, ThumbStart + ThumbLen); ThumbLen 0 when there
    // is none (a short bar, or a thumb that would fill the whole track).
    int ThumbStart = 0, ThumbLen = 0;

    int Length() const { return End - Start; }
    int Track() const { return TrackEnd - TrackStart; }
    bool HasThumb() const { return ThumbLen > 0; }
};

// Rounded a * b / c as the system's MulDiv does; c = 0 gives -1.
int MulDivRound(int a, int b, int c);

// The parts of a bar from start to end along its length whose arrows are
// `arrow` long; the thumb is at least minThumb long and stands for range.
// Every divisor is guarded: an empty range (Max = Min), a page larger than
// the range and a track of no length give no thumb or offset 0 instead of
// a division by zero.
TBarGeometry ComputeBarGeometry(int start, int end, int arrow, int minThumb, const TScrollRange& range);

// The part at a point along the bar (the caller has checked the point lies
// across the bar): an arrow, a page area, the thumb, or sbpNone (outside,
// or the track of a bar without a thumb).
int HitTestBar(const TBarGeometry& g, int along);

// Where the thumb starts when the mouse, grabbing it grabOffset from its
// start, is at `along`: kept inside the track.
int DraggedThumbStart(const TBarGeometry& g, int along, int grabOffset);

// The scroll position a thumb starting at thumbStart stands for, from Min
// to the last position a full page can show; Min when there is nothing to
// scroll through (an empty range, no thumb, a thumb that cannot move).
int PositionOfThumb(const TBarGeometry& g, const TScrollRange& range, int thumbStart);

}  // namespace kova::skin
