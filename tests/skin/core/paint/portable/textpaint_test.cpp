// Caption shortening, the shadow blur and laying ink onto 32-bit bitmaps.
#include "skin/core/paint/portable/textpaint.h"

#include <gtest/gtest.h>

#include <numeric>

namespace kova::skin {
namespace {

TEST(CutTextToWidth, DropsCharactersUntilTheDotsFit) {
    // Every character 5 pixels wide.
    const auto width = [](const std::string& s) { return static_cast<int>(s.size()) * 5; };
    struct Case {
        const char* text;
        int maxWidth;
        const char* expect;
    };
    const Case cases[] = {
        {"Overview", 30, "Ove..."},  // three letters and the dots: 30
        {"Overview", 34, "Ove..."},
        {"Overview", 40, "Overview"},
        {"Overview", 0, ""},
        {"Overview", 10, ""},  // not even the dots fit: no dots either
        {"", 50, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " " + std::to_string(c.maxWidth));
        EXPECT_EQ(CutTextToWidth(c.text, c.maxWidth, width), c.expect);
    }
}

TEST(GaussianBlur, KernelSumsToItsMaximumAndBlurSpreadsInk) {
    const std::vector<double> k = GaussianKernel(1.0, 255, 3);
    ASSERT_EQ(k.size(), 7u);
    EXPECT_NEAR(std::accumulate(k.begin(), k.end(), 0.0), 255.0, 1e-9);
    EXPECT_GT(k[3], k[2]);
    EXPECT_DOUBLE_EQ(k[2], k[4]);

    Bitmap8 plane;
    plane.Width = 9;
    plane.Height = 9;
    plane.Bits.assign(81, 255);
    plane.Bits[4 * 9 + 4] = 0;  // one dot of ink
    GaussianBlurBitmap(plane, 3);
    const auto at = [&](int x, int y) { return plane.Bits[static_cast<std::size_t>(y * 9 + x)]; };
    EXPECT_GT(at(4, 4), 0) << "spread out";
    EXPECT_LT(at(4, 4), at(5, 4));
    EXPECT_LT(at(5, 4), 255);
    EXPECT_EQ(at(5, 4), at(3, 4)) << "symmetric";
    EXPECT_EQ(at(4, 5), at(5, 4)) << "rows and columns alike";
    EXPECT_EQ(at(0, 0), 255) << "far corners untouched";
    // A flat plane stays flat (clamped indexes at the ends).
    Bitmap8 flat{4, 1, {200, 200, 200, 200}};
    GaussianBlurBitmap(flat, 2);
    EXPECT_EQ(flat.Bits, (std::vector<std::uint8_t>{200, 200, 200, 200}));
}

TEST(ApplyInk, TakesTheColourAndKeepsAlpha) {
    Bitmap32 dest(3, 1);
    dest.Fill(0x00FFFFFFu);  // white, alpha 0
    Bitmap32 ink(3, 1);
    ink.At(0, 0) = 0xFF000000u;  // full ink
    ink.At(1, 0) = 0xFF808080u;  // half
    ink.At(2, 0) = 0xFFFFFFFFu;  // paper
    ApplyInk(dest, ink, {0, 0}, 0x0000FF);  // red
    EXPECT_EQ(dest.At(0, 0), 0x00FF0000u) << "alpha stays 0";
    // Green and blue: (255 * 128) >> 8 = 127; red 255 throughout.
    EXPECT_EQ(dest.At(1, 0), 0x00FF7F7Fu);
    EXPECT_EQ(dest.At(2, 0), 0x00FFFFFFu);
    // Placed partly outside: only what lies inside is touched.
    ApplyInk(dest, ink, {-1, 0}, 0x000000);
    EXPECT_EQ(dest.At(0, 0), 0x007F0000u) << "half ink in black over the red";
    EXPECT_EQ(dest.At(1, 0), 0x00FF7F7Fu) << "paper leaves it";
}

TEST(ApplyShadowPlane, DarkPlaneTakesTheColour) {
    Bitmap32 dest(3, 1);
    dest.Fill(0xFF000000u);
    Bitmap8 plane{3, 1, {0, 128, 255}};
    ApplyShadowPlane(dest, plane, {0, 0}, 0xFFFFFF);
    EXPECT_EQ(dest.At(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(dest.At(1, 0), 0xFF7F7F7Fu);  // 255 + (0 - 255) * 128 / 255 = 255 - 128
    EXPECT_EQ(dest.At(2, 0), 0xFF000000u);
}

}  // namespace
}  // namespace kova::skin
