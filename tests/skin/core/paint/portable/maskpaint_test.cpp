// Nine-slice painting: the shrink rule, state clamping, draw modes, the
// piece order and tiling, key-colour and masked corners, and that huge
// rectangles cost only what is visible.
#include "skin/core/paint/portable/maskpaint.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "skin/core/portable/bitmaps.h"

namespace kova::skin {
namespace {

// A picture whose every pixel names its own place: 0xFF00xxyy.
std::shared_ptr<Bitmap32> Coded(int w, int h) {
    auto b = std::make_shared<Bitmap32>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b->At(x, y) = 0xFF000000u | static_cast<std::uint32_t>(x << 8) | static_cast<std::uint32_t>(y);
    return b;
}
int SrcX(std::uint32_t px) { return static_cast<int>((px >> 8) & 0xFF); }
int SrcY(std::uint32_t px) { return static_cast<int>(px & 0xFF); }

TsMaskData Mask(std::shared_ptr<Bitmap32> image, int columns, int rowMode, int drawMode, int l, int t, int r, int b) {
    TsMaskData m;
    m.SourceRect = {0, 0, image->Width(), image->Height()};
    m.Image = std::move(image);
    m.ColumnCount = static_cast<std::int16_t>(columns);
    m.RowMode = static_cast<std::int16_t>(rowMode);
    m.DrawMode = static_cast<std::int16_t>(drawMode);
    m.MarginLeft = static_cast<std::int16_t>(l);
    m.MarginTop = static_cast<std::int16_t>(t);
    m.MarginRight = static_cast<std::int16_t>(r);
    m.MarginBottom = static_cast<std::int16_t>(b);
    return m;
}

constexpr std::uint32_t kUntouched = 0x12345678u;

Bitmap32 Canvas(int w, int h) {
    Bitmap32 b(w, h);
    b.Fill(kUntouched);
    return b;
}

TEST(PaintBorderMask, CornersShrinkToMeetOnSmallRectangles) {
    // 9 x 9 image, borders of 4: a 3-pixel-wide rectangle keeps 2 columns of
    // the left corner and 1 of the right (the odd pixel comes off the right).
    const TsMaskData m = Mask(Coded(9, 9), 1, 0, 4, 4, 4, 4, 4);
    Bitmap32 d = Canvas(3, 9);
    PaintBorderMask(d, {0, 0, 3, 9}, {}, m, 0, false);
    EXPECT_EQ(SrcX(d.At(0, 0)), 0);
    EXPECT_EQ(SrcX(d.At(1, 0)), 1);
    EXPECT_EQ(SrcX(d.At(2, 0)), 8);
    // Rows keep their full borders (9 = 4 + 1 + 4).
    EXPECT_EQ(SrcY(d.At(0, 4)), 4);
    EXPECT_EQ(SrcY(d.At(0, 8)), 8);
}

TEST(PaintBorderMask, StatesAndDrawModes) {
    struct Case {
        const char* what;
        int columns, drawMode, state;
        bool painted;
        int firstColumn;  // source column of the top-left pixel
    };
    const Case cases[] = {
        {"state beyond the images paints the last", 3, 0, 5, true, 10},
        {"state 1 of 3", 3, 0, 1, true, 5},
        {"negative state paints the first", 3, 0, -2, true, 0},
        {"mode 2 leaves state 0 alone", 3, 2, 0, false, 0},
        {"mode 2 paints state 1", 3, 2, 1, true, 5},
        {"no columns paints nothing", 0, 0, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TsMaskData m = Mask(Coded(15, 5), c.columns, 0, c.drawMode, 1, 1, 1, 1);
        Bitmap32 d = Canvas(8, 8);
        PaintBorderMask(d, {0, 0, 8, 8}, {}, m, c.state, false);
        if (!c.painted) {
            EXPECT_EQ(d.At(0, 0), kUntouched);
            continue;
        }
        EXPECT_EQ(SrcX(d.At(0, 0)), c.firstColumn);
        EXPECT_EQ(SrcX(d.At(7, 7)), c.firstColumn + 4);
    }
}

TEST(PaintBorderMask, EdgesTileWithACutLastPieceAndCentreOnRequest) {
    // Image 5 x 5, borders 1: edge pieces are 3 long. A rectangle 2 pixels
    // longer than corners plus one piece gets a whole piece and a cut one.
    const TsMaskData m = Mask(Coded(5, 5), 1, 0, 0, 1, 1, 1, 1);
    Bitmap32 d = Canvas(7, 7);
    PaintBorderMask(d, {0, 0, 7, 7}, {}, m, 0, false);
    const int expectTop[] = {0, 1, 2, 3, 1, 2, 4};
    for (int x = 0; x < 7; ++x) EXPECT_EQ(SrcX(d.At(x, 0)), expectTop[x]) << x;
    for (int y = 0; y < 7; ++y) EXPECT_EQ(SrcY(d.At(6, y)), expectTop[y]) << y;
    EXPECT_EQ(d.At(3, 3), kUntouched) << "no centre without draw mode 4";

    const TsMaskData centre = Mask(Coded(5, 5), 1, 0, 4, 1, 1, 1, 1);
    PaintBorderMask(d, {0, 0, 7, 7}, {}, centre, 0, false);
    EXPECT_EQ(SrcX(d.At(4, 5)), 1);
    EXPECT_EQ(SrcY(d.At(4, 5)), 2);
}

TEST(PaintBorderMask, StretchedEdgesSpanTheWholeLength) {
    // Draw mode 1 + 4: one stretched copy per edge and for the centre.
    const TsMaskData m = Mask(Coded(5, 5), 1, 0, 5, 1, 1, 1, 1);
    Bitmap32 d = Canvas(14, 14);
    PaintBorderMask(d, {0, 0, 14, 14}, {}, m, 0, false);
    // 12 pixels between the corners from 3 source columns: 4 each.
    const int expect[] = {0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4};
    for (int x = 0; x < 14; ++x) EXPECT_EQ(SrcX(d.At(x, 0)), expect[x]) << x;
    EXPECT_EQ(SrcX(d.At(6, 6)), 2);
}

TEST(PaintBorderMask, KeyColourCornersAndTheBackground) {
    auto img = Coded(3, 3);
    img->At(0, 0) = 0xFFFF00FFu;  // the key colour in the top-left corner
    TsMaskData m = Mask(img, 1, 0, 0, 1, 1, 1, 1);
    m.CornerKind = 1;
    Bitmap32 parent(20, 20);
    parent.Fill(0xFF0000AAu);
    parent.At(5, 6) = 0xFF00BB00u;

    struct Case {
        const char* what;
        bool ready, fromBackground;
        int cornerKind;
        std::uint32_t expect;
    };
    const Case cases[] = {
        {"ready and used: the parent's pixel", true, true, 1, 0xFF00BB00u},
        {"corner kind 2 acts as 1", true, true, 2, 0xFF00BB00u},
        {"ready, not used: left as it was", true, false, 1, kUntouched},
        {"corner kind 0 never uses it", true, true, 0, kUntouched},
        {"no ready background: the fill colour, opaque", false, true, 1, 0xFF332211u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m.CornerKind = static_cast<std::int16_t>(c.cornerKind);
        TsParentImageInfo bg{&parent, 5, 6, 0x112233, c.ready};
        Bitmap32 d = Canvas(4, 4);
        PaintBorderMask(d, {0, 0, 4, 4}, bg, m, 0, c.fromBackground);
        EXPECT_EQ(d.At(0, 0), c.expect);
    }
}

TEST(PaintBorderMask, GreyMaskedPiecesBlendOverTheDestination) {
    // Two rows: image above, grey mask below. Mask 0 shows the image,
    // 255 keeps (nearly) the destination, 128 mixes.
    auto img = std::make_shared<Bitmap32>(3, 6);
    img->Fill(0xFF00FF00u);
    const std::uint8_t greys[3] = {0, 255, 128};
    for (int y = 3; y < 6; ++y)
        for (int x = 0; x < 3; ++x) img->At(x, y) = 0x00010101u * greys[x];
    const TsMaskData m = Mask(img, 1, 1, 4, 1, 1, 1, 1);
    Bitmap32 d(3, 3);
    d.Fill(0x000000FFu);
    PaintBorderMask(d, {0, 0, 3, 3}, {}, m, 0, false);
    EXPECT_EQ(d.At(0, 1), 0xFF00FF00u);
    // Blue (255 * 255) >> 8 = 254, green (-255 * 255 + 255 * 256) >> 8 = 0.
    EXPECT_EQ(d.At(1, 1), 0xFF0000FEu);
    // Blue (255 * 128) >> 8 = 127, green (-255 * 128 + 255 * 256) >> 8 = 127.
    EXPECT_EQ(d.At(2, 1), 0xFF007F7Fu);
}

TEST(PaintBorderMask, HugeRectanglesCostOnlyTheVisiblePart) {
    // 1-pixel edge pieces over a 200000-pixel rectangle on a 16 x 16
    // bitmap: laying every piece would take minutes.
    const TsMaskData m = Mask(Coded(3, 3), 1, 0, 4, 1, 1, 1, 1);
    Bitmap32 d = Canvas(16, 16);
    const auto t0 = std::chrono::steady_clock::now();
    PaintBorderMask(d, {-100000, -100000, 100000, 100000}, {}, m, 0, false);
    const TsMaskData grey = Mask(Coded(3, 6), 1, 1, 4, 1, 1, 1, 1);
    PaintBorderMask(d, {-100000, -100000, 100000, 100000}, {}, grey, 0, false);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(ms, 1000.0);
    EXPECT_EQ(SrcX(d.At(7, 7)) + SrcY(d.At(7, 7)), 2) << "the centre piece everywhere";
}

TEST(TileImage, OnlyTheVisibleTilesAnchoredAtTheRectangle) {
    auto img = Coded(3, 2);
    Bitmap32 d = Canvas(16, 16);
    const auto t0 = std::chrono::steady_clock::now();
    TileImage(d, {-20000, -20001, 200000, 200000}, *img);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(ms, 1000.0);
    // Column 0 of the bitmap is 20000 pixels into the tiling: 20000 mod 3 = 2.
    EXPECT_EQ(SrcX(d.At(0, 0)), 2);
    EXPECT_EQ(SrcX(d.At(1, 0)), 0);
    EXPECT_EQ(SrcY(d.At(0, 0)), 1);  // 20001 mod 2
    EXPECT_EQ(SrcY(d.At(0, 1)), 0);

    Bitmap32 one = Canvas(1, 1);
    one.At(0, 0) = 0xFF010203u;
    Bitmap32 e = Canvas(16, 16);
    TileImage(e, {0, 0, 20000, 20000}, one);
    EXPECT_EQ(e.At(15, 15), 0xFF010203u);

    // Stretching modes clip their tiles too.
    Bitmap32 f = Canvas(16, 16);
    PaintTexture(f, {-20000, 0, 20000, 200000}, *img, 4, {0, 0, 3, 2});
    EXPECT_EQ(SrcX(f.At(0, 0)), 1);  // the middle of a 40000-wide stretch of 3 columns
    EXPECT_EQ(SrcY(f.At(0, 3)), 1);
}

TEST(DrawMaskState, WholeImageClampedWithKeyOrMask) {
    auto img = Coded(6, 2);
    img->At(2, 0) = 0xFFFF00FFu;
    const TsMaskData m = Mask(img, 2, 0, 0, 0, 0, 0, 0);
    Bitmap32 d = Canvas(5, 4);
    DrawMaskState(d, {1, 1}, 7, 1, m, {});
    EXPECT_EQ(SrcX(d.At(1, 1)), 3);
    EXPECT_EQ(SrcX(d.At(3, 2)), 5);
    EXPECT_EQ(d.At(4, 1), kUntouched) << "cut at the bitmap's edge";
    // State 0 with the key pixel: skipped.
    Bitmap32 e = Canvas(5, 4);
    DrawMaskState(e, {0, 0}, 0, 1, m, {});
    EXPECT_EQ(e.At(2, 0), kUntouched);
    EXPECT_EQ(SrcX(e.At(1, 0)), 1);
}

TEST(CopyTransparentRect, SourceRectIncludesItsLastRowAndColumnAndIsClipped) {
    auto img = Coded(4, 4);
    Bitmap32 d = Canvas(6, 6);
    CopyTransparentRect(d, *img, 2, 2, {2, 2, 10, 10}, clFuchsia, {}, false);
    EXPECT_EQ(SrcX(d.At(2, 2)), 2);
    EXPECT_EQ(SrcX(d.At(3, 3)), 3);
    EXPECT_EQ(d.At(4, 4), kUntouched);
    Bitmap32 e = Canvas(6, 6);
    CopyTransparentRect(e, *img, -1, 0, {0, 0, 1, 0}, clFuchsia, {}, false);
    EXPECT_EQ(SrcX(e.At(0, 0)), 1);
    EXPECT_EQ(e.At(1, 0), kUntouched);
}

TEST(FillTransparentFromBackground, CornerCodesPickTheMaskCorner) {
    // A 4 x 4 mask image whose only key pixel is the bottom-right one.
    auto img = Coded(4, 4);
    img->At(3, 3) = 0xFFFF00FFu;
    const TsMaskData m = Mask(img, 1, 0, 0, 1, 1, 1, 1);
    Bitmap32 bg(10, 10);
    bg.Fill(0xFFABCDEFu);
    struct Case {
        int code;
        bool filled;
    };
    for (const Case c : {Case{17, true}, Case{0, false}, Case{14, false}, Case{16, false}}) {
        SCOPED_TRACE(c.code);
        Bitmap32 d = Canvas(8, 8);
        FillTransparentFromBackground(d, bg, {6, 6, 7, 7}, {2, 2}, &m, c.code);
        EXPECT_EQ(d.At(6, 6) == 0xFFABCDEFu, c.filled);
    }
    // Without a mask the key colour is tested in the destination itself.
    Bitmap32 d = Canvas(4, 4);
    d.At(1, 1) = 0x00FF00FFu;
    FillTransparentFromBackground(d, bg, {0, 0, 4, 4}, {0, 0}, nullptr, 0);
    EXPECT_EQ(d.At(1, 1), 0xFFABCDEFu);
    EXPECT_EQ(d.At(0, 0), kUntouched);
}

TEST(DrawBitmapSliced, CornersAsTheyAreEdgesAndCentreByTheirModes) {
    // A 6 x 6 source in slices of 2: corners, edges and centre 2 x 2 each,
    // into a 10 x 8 destination at (1, 1).
    const auto src = Coded(6, 6);
    const TSliceBorders two{2, 2, 2, 2};
    struct Case {
        const char* what;
        int modes[4];  // left, top, right, bottom
        int centre;
        int topX5, leftY5, centreX5, centreY5;  // source of dest (5, 1), (1, 5) and (5, 5) relative to the rect
    };
    const Case cases[] = {
        // Tiled: the 2-pixel pieces repeat from the corner on; 3 pixels into
        // an edge is the piece's second column or row (2 + 3 % 2 = 3).
        {"all tiled", {smTile, smTile, smTile, smTile}, smTile, 3, 3, 3, 3},
        // Stretched: 6 pixels of top edge from 2 (3 pixels in: 2 + 3 * 2 / 6),
        // 4 pixels of left edge from 2 (3 pixels in: 2 + 3 * 2 / 4).
        {"all stretched", {smStretch, smStretch, smStretch, smStretch}, smStretch, 3, 3, 3, 3},
        {"top stretched, rest tiled", {smTile, smStretch, smTile, smTile}, smTile, 3, 3, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bitmap32 d = Canvas(12, 10);
        DrawBitmapSliced(d, *src, {1, 1, 11, 9}, {0, 0, 6, 6}, two, c.modes, c.centre);
        EXPECT_EQ(d.At(0, 0), kUntouched);
        EXPECT_EQ(d.At(11, 9), kUntouched);
        // The corners as they are.
        EXPECT_EQ(d.At(1, 1), src->At(0, 0));
        EXPECT_EQ(d.At(2, 2), src->At(1, 1));
        EXPECT_EQ(d.At(10, 1), src->At(5, 0));
        EXPECT_EQ(d.At(1, 8), src->At(0, 5));
        EXPECT_EQ(d.At(10, 8), src->At(5, 5));
        EXPECT_EQ(SrcX(d.At(1 + 5, 1)), c.topX5);
        EXPECT_EQ(SrcY(d.At(1 + 5, 1)), 0);
        EXPECT_EQ(SrcY(d.At(1, 1 + 5)), c.leftY5);
        EXPECT_EQ(SrcX(d.At(1 + 5, 1 + 5)), c.centreX5);
        EXPECT_EQ(SrcY(d.At(1 + 5, 1 + 5)), c.centreY5);
        // The edge pieces never reach into the corners' source.
        for (int x = 3; x < 9; ++x) {
            EXPECT_GE(SrcX(d.At(x, 1)), 2);
            EXPECT_LE(SrcX(d.At(x, 1)), 3);
            EXPECT_EQ(SrcY(d.At(x, 8)), 5);
        }
    }
    // Where the modes differ: tiling alternates the piece's columns, stretching
    // keeps each for three pixels.
    Bitmap32 tiled = Canvas(12, 10), stretched = Canvas(12, 10);
    const int tile[4] = {smTile, smTile, smTile, smTile}, stretch[4] = {smStretch, smStretch, smStretch, smStretch};
    DrawBitmapSliced(tiled, *src, {1, 1, 11, 9}, {0, 0, 6, 6}, two, tile, smTile);
    DrawBitmapSliced(stretched, *src, {1, 1, 11, 9}, {0, 0, 6, 6}, two, stretch, smStretch);
    EXPECT_EQ(SrcX(tiled.At(3, 1)), 2);
    EXPECT_EQ(SrcX(tiled.At(4, 1)), 3);
    EXPECT_EQ(SrcX(tiled.At(5, 1)), 2);
    EXPECT_EQ(SrcX(stretched.At(3, 1)), 2);
    EXPECT_EQ(SrcX(stretched.At(5, 1)), 2);
    EXPECT_EQ(SrcX(stretched.At(6, 1)), 3);
}

TEST(DrawBitmapSliced, BordersLimitedToWhatBothRectanglesHold) {
    const auto src = Coded(6, 6);
    const int tile[4] = {smTile, smTile, smTile, smTile};
    // A 3-pixel-wide destination with borders of 2: one pixel too much,
    // taken from the right border (the left keeps 2, the right gets 1).
    Bitmap32 d = Canvas(3, 6);
    DrawBitmapSliced(d, *src, {0, 0, 3, 6}, {0, 0, 6, 6}, {2, 2, 2, 2}, tile, smTile);
    EXPECT_EQ(SrcX(d.At(0, 0)), 0);
    EXPECT_EQ(SrcX(d.At(1, 0)), 1);
    EXPECT_EQ(SrcX(d.At(2, 0)), 5) << "the right corner's last column";
    // Empty rectangles paint nothing.
    Bitmap32 e = Canvas(4, 4);
    DrawBitmapSliced(e, *src, {2, 2, 2, 4}, {0, 0, 6, 6}, {1, 1, 1, 1}, tile, smTile);
    DrawBitmapSliced(e, *src, {0, 0, 4, 4}, {3, 3, 3, 3}, {1, 1, 1, 1}, tile, smTile);
    EXPECT_EQ(e.At(1, 1), kUntouched);
}

}  // namespace
}  // namespace kova::skin
