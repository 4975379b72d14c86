// Text onto 32-bit buffers under a real GDI: compared by structure (where
// ink lands, its colour, the alpha left alone), since fonts differ.
#include "skin/core/textdraw.h"

#include <gtest/gtest.h>

#include "framework/handles.h"

namespace kova::skin {
namespace {

struct InkBox {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, count = 0;
};
InkBox Changed(const Bitmap32& b, std::uint32_t background) {
    InkBox box;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.At(x, y) != background) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
                ++box.count;
            }
    return box;
}

HFONT Font() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

TEST(TextDraw, InkInTheColourInsideTheRectangleAlphaKept) {
    Bitmap32 b(80, 30);
    b.Fill(0x00FFFFFFu);  // white, alpha 0
    ASSERT_TRUE(DrawTextToBitmap32(b, Font(), "HHH", 0x0000FF, DT_SINGLELINE | DT_LEFT | DT_TOP, RECT{10, 5, 70, 25}));
    const InkBox box = Changed(b, 0x00FFFFFFu);
    ASSERT_GT(box.count, 10);
    EXPECT_GE(box.left, 10);
    EXPECT_GE(box.top, 5);
    EXPECT_LE(box.right, 70);
    EXPECT_LE(box.bottom, 25);
    bool pureRed = false;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x) {
            const std::uint32_t p = b.At(x, y);
            ASSERT_EQ(p >> 24, 0u) << "alpha untouched";
            ASSERT_EQ((p >> 16) & 0xFF, 0xFFu) << "red never fades on white";
            pureRed = pureRed || (p & 0xFFFF) == 0;
        }
    EXPECT_TRUE(pureRed) << "full ink takes the colour";
    EXPECT_FALSE(DrawTextToBitmap32(b, Font(), "", 0, 0, RECT{0, 0, 5, 5}));
}

TEST(TextDraw, ShadowSpreadsAroundTheTextAndIsCached) {
    Bitmap32 b(100, 50);
    b.Fill(0xFF000000u);
    Bitmap8 cache;
    const RECT r{30, 15, 70, 35};
    DrawTextWithShadow(b, Font(), "HH", r, cache, 0xFFFFFF, 3, 15, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    EXPECT_EQ(cache.Width, 40 + 2 * 7);
    EXPECT_EQ(cache.Height, 20 + 2 * 7);
    const InkBox box = Changed(b, 0xFF000000u);
    ASSERT_GT(box.count, 0);
    EXPECT_GE(box.left, 30 - 7);
    EXPECT_LE(box.right, 70 + 7);
    EXPECT_EQ(b.At(0, 0), 0xFF000000u);
    // The same size again reuses the blurred plane: the same picture.
    Bitmap32 again(100, 50);
    again.Fill(0xFF000000u);
    cache.Bits.assign(cache.Bits.size(), 0);  // marks the cache: a reuse paints all of it
    DrawTextWithShadow(again, Font(), "HH", r, cache, 0xFFFFFF, 3, 15, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    EXPECT_EQ(again.At(30 - 7, 15 - 7), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace kova::skin
