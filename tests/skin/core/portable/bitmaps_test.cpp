#include "skin/core/portable/bitmaps.h"

#include <gtest/gtest.h>

namespace kova::skin {
namespace {

TEST(Bitmaps, NewBitmap32) {
    const Bitmap32 e = NewBitmap32(0, 0);
    EXPECT_TRUE(e.Empty());
    const Bitmap32 b = NewBitmap32(3, 2);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(NewBitmapLike(b).Height(), 2);
}

TEST(Resample, TooSmallSourceIsRefused) {
    Bitmap32 s(1, 10), d;
    try {
        ResampleBitmap(s, 5, 5, rfTriangle, d);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Source bitmap is too small");
    }
}

TEST(Resample, ShrinkTriangleContributors) {
    const TContributorList c = BuildContributors(100, 50, rfTriangle);
    ASSERT_EQ(c.size(), 50u);
    for (std::size_t i = 1; i < 49; ++i) {
        int nonZero = 0, sum = 0;
        for (const TContributor& k : c[i]) {
            if (k.Weight != 0) ++nonZero;
            sum += k.Weight;
            EXPECT_GE(k.Pixel, 0);
            EXPECT_LT(k.Pixel, 100);
        }
        EXPECT_EQ(nonZero, 3) << i;
        EXPECT_NEAR(sum, 65536, 2) << i;
    }
}

TEST(Resample, EveryFilterKeepsFlatImagesFlatAndIndexesInside) {
    Bitmap32 s(2, 3);
    s.Fill(0x80604020u);
    for (int f = rfBox; f <= rfMitchell; ++f) {
        for (auto [w, h] : {std::pair{7, 9}, std::pair{1, 1}, std::pair{2, 2}, std::pair{40, 1}}) {
            Bitmap32 d;
            ResampleBitmap(s, w, h, f, d);
            ASSERT_EQ(d.Width(), w);
            ASSERT_EQ(d.Height(), h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const std::uint32_t p = d.At(x, y);
                    for (int c = 0; c < 4; ++c)
                        EXPECT_NEAR(static_cast<int>((p >> (8 * c)) & 0xFF),
                                    static_cast<int>((0x80604020u >> (8 * c)) & 0xFF), 1)
                            << "filter " << f << " " << w << "x" << h;
                }
        }
    }
}

TEST(Resample, SameSizeCopiesAndInPlaceWorks) {
    Bitmap32 s(3, 3);
    s.At(1, 1) = 0xFFFFFFFFu;
    Bitmap32 d;
    ResampleBitmap(s, 3, 3, rfLanczos3, d);
    EXPECT_EQ(d.At(1, 1), 0xFFFFFFFFu);
    ResampleBitmap(s, 6, 6, rfBox, s);
    EXPECT_EQ(s.Width(), 6);
    EXPECT_EQ(s.At(2, 2), 0xFFFFFFFFu);
    EXPECT_EQ(s.At(0, 0), 0u);
}

TEST(Textures, TileAndStretch) {
    Bitmap32 tex(2, 2);
    tex.At(0, 0) = 1; tex.At(1, 0) = 2; tex.At(0, 1) = 3; tex.At(1, 1) = 4;
    Bitmap32 d(5, 5);
    PaintTexture(d, {0, 0, 5, 5}, tex, 0, {0, 0, 2, 2});
    EXPECT_EQ(d.At(4, 4), 1u);
    EXPECT_EQ(d.At(3, 2), 2u);
    Bitmap32 s(4, 4);
    PaintTexture(s, {0, 0, 4, 4}, tex, 1, {0, 0, 2, 2});
    EXPECT_EQ(s.At(1, 1), 1u);
    EXPECT_EQ(s.At(3, 2), 4u);
    Bitmap32 m(4, 4);
    PaintTexture(m, {0, 0, 4, 3}, tex, 4, {0, 0, 2, 2});  // stretch across, tile down
    EXPECT_EQ(m.At(3, 0), 2u);
    EXPECT_EQ(m.At(0, 2), 1u);
    EXPECT_EQ(m.At(0, 3), 0u);
    // Clipped to the destination.
    Bitmap32 c(3, 3);
    PaintTexture(c, {-1, -1, 10, 10}, tex, 0, {0, 0, 2, 2});
    EXPECT_EQ(c.At(0, 0), 4u);
}

TEST(ButtonLayout, Cases) {
    const TRect client{10, 20, 110, 50};  // 100 x 30
    const struct {
        int alignment, layout, spacing, margin, bidi;
        TPoint glyph;
        TRect text;
    } cases[] = {
        // glyph 16x16, text 40x10
        {0, 0, 4, 2, 0, {12, 27}, {32, 30, 72, 40}},
        {1, 0, 4, 2, 0, {48, 27}, {68, 30, 108, 40}},
        {2, 0, 4, -1, 0, {30, 27}, {50, 30, 90, 40}},
        {0, 0, -1, -1, 0, {24, 27}, {54, 30, 94, 40}},
        {0, 1, 4, 2, 0, {56, 27}, {12, 30, 52, 40}},
        {0, 0, 4, 2, 2, {56, 27}, {12, 30, 52, 40}},  // right-to-left swaps the glyph side
        {0, 2, 4, 2, 0, {52, 20}, {40, 40, 80, 50}},
        {0, 3, 4, 2, 0, {52, 34}, {40, 20, 80, 30}},
    };
    for (const auto& c : cases) {
        TRect text;
        TPoint glyph;
        CalcButtonLayout(client, {16, 16}, {40, 10}, text, glyph, c.spacing, c.margin, c.alignment, c.layout, c.bidi);
        EXPECT_EQ(glyph, c.glyph) << c.alignment << "/" << c.layout << " got " << glyph.X << "," << glyph.Y;
        EXPECT_EQ(text, c.text) << c.alignment << "/" << c.layout << " got " << text.Left << "," << text.Top;
    }
    // No text: spacing 0.
    TRect text;
    TPoint glyph;
    CalcButtonLayout(client, {16, 16}, {0, 0}, text, glyph, 4, 2, 0, 0, 0);
    EXPECT_EQ(text.Left, 10 + 2 + 16);
}

}  // namespace
}  // namespace kova::skin

namespace kova::skin {
namespace {

TEST(Resample, IntoAViewOfTheRightSizeKeepsItsMemory) {
    Bitmap32 s(2, 2);
    s.Fill(0xFF102030u);
    std::vector<std::uint32_t> mem(4 * 3, 0);
    Bitmap32 view = Bitmap32::View(mem.data(), 4, 3, 16);
    ResampleBitmap(s, 4, 3, rfTriangle, view);
    EXPECT_FALSE(view.OwnsMemory());
    EXPECT_EQ(mem[11], 0xFF102030u);
}

}  // namespace
}  // namespace kova::skin
