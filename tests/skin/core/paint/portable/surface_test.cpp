// The window-free cores of the device-context painters: glyphs out of a
// strip, soft shadows, region runs of a mask's corner, texture tile plans
// and the background record's conversion.
#include "skin/core/paint/portable/surface.h"

#include <gtest/gtest.h>

#include <memory>

#include "skin/core/paint/portable/skinitem.h"

namespace kova::skin {
namespace {

constexpr std::uint32_t kKey = 0xFFFF00FFu;

// Three 4 x 4 glyphs side by side in red, green and blue, each with a key
// pixel at its top-left corner.
Bitmap32 GlyphStrip() {
    Bitmap32 g(12, 4);
    const std::uint32_t colours[3] = {0xFFC80000u, 0xFF00C800u, 0xFF0000C8u};
    for (int s = 0; s < 3; ++s)
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) g.At(s * 4 + x, y) = (x == 0 && y == 0) ? kKey : colours[s];
    return g;
}

TEST(DrawButtonGlyph, StateImageKeyPixelsAndDisabledLooks) {
    const Bitmap32 strip = GlyphStrip();
    struct Case {
        int state, flags;
        std::uint32_t expected;  // at (3, 3) of the destination, glyph placed at (2, 2)
    } cases[] = {
        {0, 0, 0xFFC80000u},
        {1, 0, 0xFF00C800u},
        {7, 0, 0xFF0000C8u},   // clamped to the last image
        {-3, 0, 0xFFC80000u},  // and to the first
        {0, 2, 0xFF424242u},   // grey: (200 + 0 + 0) div 3
        {0, 1, 0x40E42020u},   // half and half with the destination, its alpha kept
        {0, 3, 0x40A04141u},   // grey first, then blended with the destination
    };
    for (const Case& c : cases) {
        Bitmap32 dest(8, 8);
        dest.Fill(0x40FF4040u);
        DrawButtonGlyph(dest, strip, 3, c.state, c.flags, clFuchsia, {2, 2});
        SCOPED_TRACE(testing::Message() << "state " << c.state << " flags " << c.flags);
        EXPECT_EQ(dest.At(3, 3), c.expected);
        EXPECT_EQ(dest.At(2, 2), 0x40FF4040u) << "key pixel never drawn";
        EXPECT_EQ(dest.At(1, 3), 0x40FF4040u) << "outside the glyph";
        EXPECT_EQ(dest.At(6, 3), 0x40FF4040u) << "the next state's image is not drawn";
    }
    // Half outside the destination: the visible part only, no fault.
    Bitmap32 small(3, 3);
    small.Fill(0);
    DrawButtonGlyph(small, strip, 3, 0, 0, clFuchsia, {-2, 1});
    EXPECT_EQ(small.At(0, 2), 0xFFC80000u);
    EXPECT_EQ(small.At(2, 2), 0u);
}

TEST(ShadowMask, RingsStepInwardToTheTransparencyLevel) {
    // 20 x 10, blur 3: four rings; with transparency 0 the innermost is 0.
    const Bitmap32 m = ShadowMask(20, 10, 0, 3, 0);
    auto level = [&](int x, int y) { return static_cast<int>(m.At(x, y) & 0xFF); };
    EXPECT_EQ(level(0, 5), 191);  // 255 - 255 / 4, rounded
    EXPECT_EQ(level(1, 5), 128);
    EXPECT_EQ(level(2, 5), 64);
    EXPECT_EQ(level(10, 5), 0);
    // Transparency 50: the centre keeps about half the image (50 * 255 div 100).
    EXPECT_EQ(ShadowMask(20, 10, 50, 3, 0).At(10, 5) & 0xFF, 127u);
    // Blur limited to half the height: 10 x 6 gets rings 0 to 3, the last
    // one empty, so the centre is ring 2.
    const Bitmap32 limited = ShadowMask(10, 6, 0, 100, 0);
    EXPECT_EQ(limited.At(5, 3) & 0xFF, 64u);
    EXPECT_GT(limited.At(0, 3) & 0xFF, 180u);
    // A corner radius keeps the outer corner white.
    const Bitmap32 round = ShadowMask(20, 20, 0, 0, 6);
    EXPECT_EQ(round.At(0, 0) & 0xFF, 255u);
    EXPECT_EQ(round.At(10, 10) & 0xFF, 0u);
    EXPECT_EQ(round.At(10, 0) & 0xFF, 0u) << "edges between the corners are inside";
    EXPECT_TRUE(ShadowMask(0, 5, 0, 2, 2).Empty());
}

TEST(PaintShadowRect, ColourThroughTheMaskAndCutToTheBitmap) {
    Bitmap32 dest(30, 30);
    dest.Fill(0xFFFFFFFFu);
    PaintShadowRect(dest, {5, 5, 25, 25}, 0, 0x000000, 3, 0);
    EXPECT_EQ(dest.At(15, 15), 0xFF000000u) << "full shadow colour inside";
    EXPECT_EQ(dest.At(4, 15), 0xFFFFFFFFu) << "outside the rectangle untouched";
    const std::uint32_t edge = dest.At(5, 15) & 0xFF;
    EXPECT_GT(edge, 150u);
    EXPECT_LT(edge, 255u);
    // A rectangle reaching past the bitmap paints what is inside exactly as
    // a large bitmap would there.
    Bitmap32 big(60, 60), cut(20, 20);
    big.Fill(0xFFFFFFFFu);
    cut.Fill(0xFFFFFFFFu);
    PaintShadowRect(big, {10, 10, 50, 50}, 20, 0x0000FF, 4, 5);
    PaintShadowRect(cut, {-10, -10, 30, 30}, 20, 0x0000FF, 4, 5);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(cut.At(x, y), big.At(x + 20, y + 20)) << x << "," << y;
    Bitmap32 none(4, 4);
    PaintShadowRect(none, {10, 10, 0, 0}, 0, 0, 1, 1);  // empty: nothing, no fault
    PaintShadowRect(none, {100, 100, 200, 200}, 0, 0, 1, 1);
}

// Two 3 x 3 states (red, blue) over a grey mask: opaque everywhere but
// the top-left corner pixel of state 0.
TsMaskData MaskedBorder() {
    auto img = std::make_shared<Bitmap32>(6, 6);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) {
            img->At(x, y) = x < 3 ? 0xFFFF0000u : 0xFF0000FFu;
            img->At(x, y + 3) = 0xFF000000u;
        }
    img->At(0, 3) = 0xFFFFFFFFu;
    TsMaskData mask;
    mask.Image = img;
    mask.SourceRect = {0, 0, 6, 6};
    mask.ColumnCount = 2;
    mask.RowMode = 1;
    mask.MarginLeft = mask.MarginTop = mask.MarginRight = mask.MarginBottom = 1;
    return mask;
}

TEST(PaintBorderOverBackground, StripsTakeTheBackgroundUnderTheMask) {
    const TsMaskData mask = MaskedBorder();
    Bitmap32 cache(10, 10);
    cache.Fill(0xFF000000u);
    PaintBorderOverBackground(cache, {1, 1, 9, 9}, {nullptr, 0, 0, 0x00FF00, false}, mask, 0);
    const std::uint32_t corner = cache.At(1, 1);
    EXPECT_GT(corner >> 8 & 0xFF, 0xF0u) << "the transparent corner shows the background colour";
    EXPECT_LT(corner >> 16 & 0xFF, 0x10u);
    EXPECT_EQ(cache.At(5, 1), 0xFFFF0000u);
    EXPECT_EQ(cache.At(8, 5), 0xFFFF0000u);
    EXPECT_EQ(cache.At(5, 5), 0xFF000000u) << "inside the border untouched";
    EXPECT_EQ(cache.At(0, 0), 0xFF000000u);
    // A ready image behind: its pixels at the offset; a state past the
    // images is the last one.
    Bitmap32 parent(20, 20);
    parent.Fill(0xFF00FF00u);
    parent.At(4, 3) = 0xFF123456u;
    cache.Fill(0xFF000000u);
    PaintBorderOverBackground(cache, {1, 1, 9, 9}, {&parent, 3, 2, clFuchsia, true}, mask, 9);
    EXPECT_EQ(cache.At(5, 1), 0xFF0000FFu);
    PaintBorderOverBackground(cache, {1, 1, 9, 9}, {&parent, 3, 2, clFuchsia, true}, mask, 0);
    EXPECT_NEAR(static_cast<int>(cache.At(1, 1) >> 8 & 0xFF), 0x34, 1) << "the parent's pixel under the corner";
    EXPECT_EQ(MaskBorderWidths(mask), (TRect{1, 1, 1, 1}));
}

TEST(AddMaskRegionRects, KeyRunsOfTheLeftCornersMovedAndCut) {
    // One 6 x 6 image (two states, 12 wide) with 3-pixel corners: key runs
    // in the top-left corner and in the bottom-left corner.
    auto img = std::make_shared<Bitmap32>(12, 6);
    img->Fill(0xFF808080u);
    img->At(0, 0) = img->At(1, 0) = kKey;  // row 0: x 0..1
    img->At(0, 1) = kKey;                  // row 1: x 0
    img->At(2, 1) = kKey;                  // row 1: x 2
    img->At(0, 5) = kKey;                  // bottom row of the image
    img->At(3, 0) = kKey;                  // outside the 3-pixel corner: ignored
    TsMaskData mask;
    mask.Image = img;
    mask.SourceRect = {0, 0, 12, 6};
    mask.ColumnCount = 2;
    mask.MarginLeft = mask.MarginTop = mask.MarginBottom = 3;
    std::vector<TRect> list;
    AddMaskRegionRects(list, 100, mask, 50, false);
    const std::vector<TRect> top{{100, 50, 102, 51}, {100, 51, 101, 52}, {102, 51, 103, 52}};
    EXPECT_EQ(list, top);
    list.clear();
    AddMaskRegionRects(list, 0, mask, 200, true);
    const std::vector<TRect> bottom{{0, 202, 1, 203}};  // image row 5 is the piece's row 2
    EXPECT_EQ(list, bottom);
    // A piece reaching past the bitmap reads only what is there.
    mask.SourceRect = {10, 4, 22, 10};
    list.clear();
    AddMaskRegionRects(list, 0, mask, 0, false);
    EXPECT_TRUE(list.empty());
    TsMaskData none;
    AddMaskRegionRects(list, 0, none, 0, false);
    EXPECT_TRUE(list.empty());
}

TEST(PlanTextureTiles, ModesAndOnlyVisibleCopies) {
    const TRect all{-100000, -100000, 100000, 100000};
    // Tiling 10 pixels with a 4-pixel texture: 0, 4, 8 (cut to 2).
    auto t = PlanTextureTiles({0, 0, 10, 4}, {0, 0, 4, 4}, {4, 4}, 0, all);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[2].Dest, (TRect{8, 0, 10, 4}));
    EXPECT_EQ(t[2].Src, (TRect{0, 0, 2, 4}));
    // Stretch: one copy over the whole rectangle.
    t = PlanTextureTiles({5, 5, 50, 30}, {1, 1, 3, 3}, {4, 4}, 1, all);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].Dest, (TRect{5, 5, 50, 30}));
    EXPECT_EQ(t[0].Src, (TRect{1, 1, 3, 3}));
    // Stretched across and tiled down; tiled across and stretched down.
    t = PlanTextureTiles({0, 0, 40, 10}, {0, 0, 4, 4}, {4, 4}, 4, all);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].Dest, (TRect{0, 0, 40, 4}));
    EXPECT_EQ(t[2].Dest, (TRect{0, 8, 40, 10}));
    t = PlanTextureTiles({0, 0, 10, 40}, {0, 0, 4, 4}, {4, 4}, 5, all);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[1].Dest, (TRect{4, 0, 8, 40}));
    // A source rectangle past the texture is cut to it.
    t = PlanTextureTiles({0, 0, 8, 8}, {2, 2, 10, 10}, {4, 4}, 0, all);
    ASSERT_EQ(t.size(), 16u);
    EXPECT_EQ(t[0].Src, (TRect{2, 2, 4, 4}));
    // A huge rectangle with a 1 x 1 texture seen through 16 x 16: 256 tiles,
    // still anchored at the rectangle's corner.
    t = PlanTextureTiles({-7, -7, 20000, 20000}, {0, 0, 1, 1}, {1, 1}, 0, {0, 0, 16, 16});
    EXPECT_EQ(t.size(), 256u);
    t = PlanTextureTiles({-7, -7, 20000, 20000}, {0, 0, 3, 3}, {3, 3}, 0, {0, 0, 16, 16});
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t[0].Dest, (TRect{-1, -1, 2, 2}));
    // Nothing visible, nothing to draw.
    EXPECT_TRUE(PlanTextureTiles({0, 0, 10, 10}, {0, 0, 4, 4}, {4, 4}, 0, {20, 20, 30, 30}).empty());
    EXPECT_TRUE(PlanTextureTiles({0, 0, 10, 10}, {0, 0, 4, 4}, {0, 0}, 0, all).empty());
}

TEST(PaintMaskedTexture, TiledThroughItsMaskFromTheRectangleCorner) {
    // A 2 x 2 red image over its grey mask: black (image shows) except the
    // bottom-right pixel, white (the destination shows).
    auto img = std::make_shared<Bitmap32>(2, 4);
    img->Fill(0xFFFF0000u);
    img->At(0, 2) = img->At(1, 2) = img->At(0, 3) = 0xFF000000u;
    img->At(1, 3) = 0xFFFFFFFFu;
    TsMaskData mask;
    mask.Image = img;
    mask.SourceRect = {0, 0, 2, 4};
    mask.ColumnCount = 1;
    mask.RowMode = 1;
    Bitmap32 d(5, 5);
    d.Fill(0xFF202020u);
    PaintMaskedTexture(d, {0, 0, 5, 5}, mask);
    EXPECT_EQ(d.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(d.At(4, 4), 0xFFFF0000u) << "the last tile cut to the rectangle";
    EXPECT_LT(d.At(1, 1) >> 16 & 0xFF, 0x30u) << "under white mask the destination stays";
    EXPECT_LT(d.At(3, 3) >> 16 & 0xFF, 0x30u);
    // Anchored at a corner outside the bitmap: the pattern moves with it.
    Bitmap32 e(4, 4);
    e.Fill(0xFF202020u);
    PaintMaskedTexture(e, {-3, -3, 1000000, 1000000}, mask);
    EXPECT_LT(e.At(0, 0) >> 16 & 0xFF, 0x30u);
    EXPECT_EQ(e.At(1, 0), 0xFFFF0000u);
    EXPECT_EQ(e.At(3, 3) & 0xFFFFFFu, e.At(1, 1) & 0xFFFFFFu);
}

TEST(BackgroundInfoToImageInfo, ImageOrColour) {
    Bitmap32 parent(4, 4);
    TsBackgroundInfo info;
    info.BgType = 2;
    info.Bmp = &parent;
    info.Offset = {7, 9};
    info.Color = 0x123456;
    TsParentImageInfo out;
    BackgroundInfoToImageInfo(info, out, {});
    EXPECT_TRUE(out.Ready);
    EXPECT_EQ(out.Bmp, &parent);
    EXPECT_EQ(out.X, 7);
    EXPECT_EQ(out.Y, 9);
    EXPECT_EQ(out.FillColor, clFuchsia);

    info.BgType = 1;
    info.Color = 0xFF00000F;  // a system colour, resolved by the caller's function
    BackgroundInfoToImageInfo(info, out, [](TColor c) { return c == 0xFF00000Fu ? 0xC0C0C0u : c; });
    EXPECT_FALSE(out.Ready);
    EXPECT_EQ(out.Bmp, nullptr);
    EXPECT_EQ(out.FillColor, 0xC0C0C0u);
    EXPECT_EQ(out.X, 7);

    info.BgType = 2;  // an image answer without an image
    info.Bmp = nullptr;
    BackgroundInfoToImageInfo(info, out, {});
    EXPECT_FALSE(out.Ready);
}

}  // namespace
}  // namespace kova::skin
