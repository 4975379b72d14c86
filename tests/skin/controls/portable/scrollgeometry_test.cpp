#include "skin/controls/portable/scrollgeometry.h"

#include <gtest/gtest.h>

#include "skin/controls/portable/bordercorners.h"

namespace kova::skin {
namespace {

// A vertical bar from 0 to 200 with 17-pixel arrows: a track of 166.
constexpr int kArrow = 17, kLength = 200, kTrack = kLength - 2 * kArrow;

TEST(ScrollGeometry, ThumbFollowsPageAndPosition) {
    struct Case {
        const char* name;
        TScrollRange range;
        int thumbStart, thumbLen;
    };
    const Case cases[] = {
        // 100 lines, 10 shown: a tenth of the track, at the top, the middle, the end.
        {"top", {0, 99, 10, 0}, kArrow, 17},
        {"middle", {0, 99, 10, 45}, kArrow + (45 * (kTrack - 17) + 45) / 90, 17},
        {"end", {0, 99, 10, 90}, kArrow + kTrack - 17, 17},
        // No page: a square thumb the size of an arrow.
        {"no page", {0, 99, 0, 0}, kArrow, kArrow},
        // A small page keeps the minimum thumb.
        {"minimum", {0, 9999, 10, 0}, kArrow, 10},
        // A minimum not at 0 counts from there.
        {"offset range", {100, 199, 10, 190}, kArrow + kTrack - 17, 17},
    };
    for (const Case& c : cases) {
        const TBarGeometry g = ComputeBarGeometry(0, kLength, kArrow, 10, c.range);
        EXPECT_FALSE(g.Short) << c.name;
        EXPECT_EQ(g.ThumbStart, c.thumbStart) << c.name;
        EXPECT_EQ(g.ThumbLen, c.thumbLen) << c.name;
    }
}

TEST(ScrollGeometry, GuardedDivisorsGiveNoThumbInsteadOfDividingByZero) {
    const TScrollRange cases[] = {
        {5, 5, 1, 5},        // Max = Min with a page: the page fills the range
        {0, 9, 20, 0},       // a page larger than the range
        {0, 99, 100, 0},     // a page exactly the range
        {7, 7, 0, 7},        // Max = Min, no page: a thumb the size of an arrow at the start
    };
    for (const TScrollRange& r : cases) {
        const TBarGeometry g = ComputeBarGeometry(0, kLength, kArrow, 10, r);
        if (r.Page == 0) {
            EXPECT_EQ(g.ThumbLen, kArrow);
            EXPECT_EQ(g.ThumbStart, kArrow);
        } else {
            EXPECT_FALSE(g.HasThumb()) << r.Min << ".." << r.Max << " page " << r.Page;
            // The track answers nothing; the arrows still work.
            EXPECT_EQ(HitTestBar(g, kLength / 2), sbpNone);
            EXPECT_EQ(HitTestBar(g, 3), sbpFirstArrow);
            EXPECT_EQ(HitTestBar(g, kLength - 3), sbpLastArrow);
        }
        // Dragging a thumb that cannot move stays at the start.
        EXPECT_EQ(PositionOfThumb(g, r, DraggedThumbStart(g, 150, 0)), r.Min);
    }
    // A thumb whose minimum fills the track is no thumb either.
    const TBarGeometry g = ComputeBarGeometry(0, 2 * kArrow + 8, kArrow, 10, TScrollRange{0, 999, 1, 0});
    EXPECT_FALSE(g.HasThumb());
}

TEST(ScrollGeometry, ShortBarHasTwoHalfArrowsAndNoThumb) {
    for (int length : {0, 1, 20, 33, 34}) {
        const TBarGeometry g = ComputeBarGeometry(10, 10 + length, kArrow, 10, TScrollRange{0, 99, 10, 50});
        EXPECT_TRUE(g.Short) << length;
        EXPECT_EQ(g.Arrow, length / 2) << length;
        EXPECT_FALSE(g.HasThumb());
        if (length >= 2) {
            EXPECT_EQ(HitTestBar(g, 10), sbpFirstArrow);
            EXPECT_EQ(HitTestBar(g, 10 + length - 1), sbpLastArrow);
        }
        EXPECT_EQ(HitTestBar(g, 10 + length), sbpNone);
    }
}

TEST(ScrollGeometry, HitTestsThePartsInOrder) {
    const TBarGeometry g = ComputeBarGeometry(100, 100 + kLength, kArrow, 10, TScrollRange{0, 99, 10, 45});
    ASSERT_TRUE(g.HasThumb());
    EXPECT_EQ(HitTestBar(g, 99), sbpNone);
    EXPECT_EQ(HitTestBar(g, 100), sbpFirstArrow);
    EXPECT_EQ(HitTestBar(g, 100 + kArrow - 1), sbpFirstArrow);
    EXPECT_EQ(HitTestBar(g, 100 + kArrow), sbpPageBefore);
    EXPECT_EQ(HitTestBar(g, g.ThumbStart - 1), sbpPageBefore);
    EXPECT_EQ(HitTestBar(g, g.ThumbStart), sbpThumb);
    EXPECT_EQ(HitTestBar(g, g.ThumbStart + g.ThumbLen - 1), sbpThumb);
    EXPECT_EQ(HitTestBar(g, g.ThumbStart + g.ThumbLen), sbpPageAfter);
    EXPECT_EQ(HitTestBar(g, 100 + kLength - kArrow - 1), sbpPageAfter);
    EXPECT_EQ(HitTestBar(g, 100 + kLength - kArrow), sbpLastArrow);
    EXPECT_EQ(HitTestBar(g, 100 + kLength), sbpNone);
}

TEST(ScrollGeometry, DraggingMapsTheThumbBackToThePositionItShows) {
    const TScrollRange range{0, 99, 10, 0};
    const TBarGeometry g = ComputeBarGeometry(0, kLength, kArrow, 10, range);
    // Kept inside the track.
    EXPECT_EQ(DraggedThumbStart(g, -50, 5), g.TrackStart);
    EXPECT_EQ(DraggedThumbStart(g, 5000, 5), g.TrackEnd - g.ThumbLen);
    EXPECT_EQ(PositionOfThumb(g, range, g.TrackStart), 0);
    EXPECT_EQ(PositionOfThumb(g, range, g.TrackEnd - g.ThumbLen), 90);
    // Every position's thumb maps back to that position.
    for (int pos = 0; pos <= 90; ++pos) {
        TScrollRange at = range;
        at.Pos = pos;
        const TBarGeometry shown = ComputeBarGeometry(0, kLength, kArrow, 10, at);
        EXPECT_EQ(PositionOfThumb(g, range, shown.ThumbStart), pos);
    }
}

TEST(ScrollGeometry, MulDivRoundsLikeTheSystem) {
    EXPECT_EQ(MulDivRound(10, 3, 4), 8);   // 7.5 up
    EXPECT_EQ(MulDivRound(-10, 3, 4), -8);
    EXPECT_EQ(MulDivRound(1, 1, 3), 0);
    EXPECT_EQ(MulDivRound(5, 5, 0), -1);
}

// The border strips of a cache smaller than the border: every pixel is
// walked once, none beyond the cache, and the key-coloured corner pixels
// of the mask take the background.
TEST(BorderCorners, StripsAreCutToTheCache) {
    // A 12 x 12 mask image with 5-pixel borders whose four corner pixels are
    // the key colour.
    Bitmap32 mask(12, 12);
    mask.Fill(0xFF112233u);
    for (auto [x, y] : {std::pair{0, 0}, {11, 0}, {0, 11}, {11, 11}}) mask.At(x, y) = 0xFFFF00FFu;
    Bitmap32 background(40, 40);
    background.Fill(0xFF0000FFu);
    for (auto [w, h] : {std::pair{3, 3}, {1, 9}, {9, 2}, {12, 12}, {30, 20}}) {
        Bitmap32 cache(w, h);
        cache.Fill(0xFFFFFFFFu);
        TBorderCornerSource s;
        s.Mask = &mask;
        s.Image = TRect{0, 0, 12, 12};
        s.Borders = TRect{5, 5, 5, 5};
        s.Background = &background;
        s.BackgroundAt = TPoint{2, 3};
        FillTransparentBorderPixels(cache, s);
        EXPECT_EQ(cache.At(0, 0), 0xFF0000FFu) << w << "x" << h;
        if (w > 5 && h > 5) {
            EXPECT_EQ(cache.At(w - 1, h - 1), 0xFF0000FFu) << w << "x" << h;
            EXPECT_EQ(cache.At(w - 1, 0), 0xFF0000FFu) << w << "x" << h;
            EXPECT_EQ(cache.At(1, 1), 0xFFFFFFFFu) << w << "x" << h;
        }
    }
    // No background image: the colour; the key colour itself writes nothing.
    Bitmap32 cache(8, 8);
    cache.Fill(0xFFFFFFFFu);
    TBorderCornerSource s;
    s.Mask = &mask;
    s.Image = TRect{0, 0, 12, 12};
    s.Borders = TRect{4, 4, 4, 4};
    s.Colour = 0x000000;  // black is a colour
    FillTransparentBorderPixels(cache, s);
    EXPECT_EQ(cache.At(0, 0), 0xFF000000u);
    s.Colour = 0xFF00FF;
    cache.Fill(0xFFFFFFFFu);
    FillTransparentBorderPixels(cache, s);
    EXPECT_EQ(cache.At(0, 0), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace kova::skin
