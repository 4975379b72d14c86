// Gradients: the text format and the three modes.
#include "skin/core/paint/portable/gradient.h"

#include <gtest/gtest.h>

namespace kova::skin {
namespace {

constexpr std::uint32_t kUntouched = 0x12345678u;

TEST(PaintGradient, VerticalBandFromTopToBottomRow) {
    const TsGradArray g = ParseGradient("16777215;0;100;0;0");
    Bitmap32 b(3, 5);
    PaintGradient(b, {0, 0, 3, 5}, g);
    EXPECT_EQ(b.At(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(b.At(2, 2), 0xFF808080u);  // 255 - 255 * 2 / 4 = 127.5, to even
    EXPECT_EQ(b.At(1, 4), 0xFF000000u);
}

TEST(PaintGradient, HorizontalBandsShareTheirMiddleColumn) {
    // Red to green over the left half, green to blue over the right half.
    const TsGradArray g = ParseGradient("255;65280;50;1;0;65280;16711680;50;1;0");
    Bitmap32 b(11, 3);
    PaintGradient(b, {0, 0, 11, 3}, g);
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(b.At(0, y), 0xFFFF0000u);
        EXPECT_EQ(b.At(10, y), 0xFF0000FFu);
    }
    // round(50 * 11 / 100) = 6 (5.5 to even): column 6 is pure green.
    EXPECT_EQ(b.At(6, 1), 0xFF00FF00u);
    EXPECT_EQ(b.At(3, 2), 0xFF808000u);
}

TEST(PaintGradient, SegmentsSplitTheHeightByPercent) {
    // 10 rows: the first band ends at row 3 (30 %), the second (last)
    // always reaches the bottom row; the boundary row belongs to the second.
    const TsGradArray g = ParseGradient("255;255;30;0;0;65280;65280;10;0;0");
    Bitmap32 b(1, 10);
    b.Fill(kUntouched);
    PaintGradient(b, {0, 0, 1, 10}, g);
    EXPECT_EQ(b.At(0, 2), 0xFFFF0000u);
    EXPECT_EQ(b.At(0, 3), 0xFF00FF00u);
    EXPECT_EQ(b.At(0, 9), 0xFF00FF00u);
}

TEST(PaintGradient, ClippedEmptyAndUnknownModes) {
    const TsGradArray g = ParseGradient("255;255;100;0;0");
    Bitmap32 b(4, 4);
    b.Fill(kUntouched);
    PaintGradient(b, {2, 2, 2, 9}, g);
    EXPECT_EQ(b.At(2, 2), kUntouched) << "empty rectangle";
    PaintGradient(b, {-5, 2, 90, 90}, g);
    EXPECT_EQ(b.At(0, 2), 0xFFFF0000u);
    EXPECT_EQ(b.At(3, 3), 0xFFFF0000u);
    EXPECT_EQ(b.At(0, 1), kUntouched);
    Bitmap32 c(4, 4);
    c.Fill(kUntouched);
    PaintGradient(c, {0, 0, 4, 4}, ParseGradient("255;255;100;7;0"));
    PaintGradient(c, {0, 0, 4, 4}, {});
    EXPECT_EQ(c.At(1, 1), kUntouched);
}

TEST(PaintGradient, MeshOfFourTriangles) {
    // Two segments: the top-right, bottom-right and bottom-left vertices
    // all take segment 1's first colour; the centre takes it too.
    const TsGradArray g = ParseGradient("255;0;50;2;0;16711680;0;50;2;0");
    Bitmap32 b(21, 21);
    b.Fill(kUntouched);
    PaintGradient(b, {0, 0, 21, 21}, g);
    EXPECT_GT((b.At(0, 0) >> 16) & 0xFF, 0xE0u) << "red near the top-left corner";
    EXPECT_LT(b.At(0, 0) & 0xFF, 0x20u);
    EXPECT_EQ(b.At(20, 20), 0xFF0000FFu);
    EXPECT_EQ(b.At(0, 20), 0xFF0000FFu);
    EXPECT_EQ(b.At(20, 0), 0xFF0000FFu);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x) ASSERT_NE(b.At(x, y), kUntouched) << x << "," << y;
}

TEST(PaintGradientEx, TextureTiledFromTheBitmapOrigin) {
    Bitmap32 tex(2, 1);
    tex.At(0, 0) = 0xFFFFFFFFu;
    tex.At(1, 0) = 0xFF000000u;
    Bitmap32 b(6, 2);
    PaintGradientEx(b, {1, 0, 6, 2}, ParseGradient("0;0;100;0;0"), 128, {0, 0, 2, 1}, tex);
    // Column 1 meets texture column 1 (black), column 2 texture column 0.
    EXPECT_EQ(b.At(1, 0), 0xFF000000u);
    EXPECT_EQ(b.At(2, 0), 0xFF7F7F7Fu);  // (255 * 128) >> 8
    EXPECT_EQ(b.At(0, 0), 0u) << "outside the rectangle";
}

}  // namespace
}  // namespace kova::skin
