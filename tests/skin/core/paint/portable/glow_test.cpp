// The glow's size, cuts and position, its picture, and the refusal of a
// halo that would have no area.
#include "skin/core/paint/portable/glow.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace kova::skin {
namespace {

TEST(GlowGeometry, SizeCutsAndPosition) {
    const TRect control{100, 100, 180, 130};  // 80 x 30, margins 6, 2 of them inside
    struct Case {
        const char* what;
        TRect clip;
        int x, y, w, h, cutLeft, cutTop;
    };
    const Case cases[] = {
        {"fully visible: width + both margins - 2 * margin", {0, 0, 80, 30}, 96, 96, 88, 38, 0, 0},
        {"left part hidden", {10, 0, 80, 30}, 110, 96, 74, 38, 14, 0},
        {"right part hidden", {0, 0, 50, 30}, 96, 96, 54, 38, 0, 0},
        {"top and bottom hidden", {0, 5, 80, 20}, 96, 105, 88, 15, 0, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TGlowGeometry g = ComputeGlowGeometry(control, c.clip, 6, 6, 6, 6, 2);
        ASSERT_TRUE(g.Valid);
        EXPECT_EQ(g.X, c.x);
        EXPECT_EQ(g.Y, c.y);
        EXPECT_EQ(g.Width, c.w);
        EXPECT_EQ(g.Height, c.h);
        EXPECT_EQ(g.CutLeft, c.cutLeft);
        EXPECT_EQ(g.CutTop, c.cutTop);
        EXPECT_EQ(g.FullWidth, 88);
    }
}

TEST(GlowGeometry, RefusesHalosWithoutArea) {
    // A margin larger than the mask's borders around an empty control would
    // give a negative size: no glow at all.
    EXPECT_FALSE(ComputeGlowGeometry({5, 5, 5, 5}, {0, 0, 0, 0}, 1, 1, 1, 1, 5).Valid);
    EXPECT_FALSE(ComputeGlowGeometry({0, 0, 10, 10}, {0, 0, 10, 10}, 0, 0, 0, 0, 5).Valid);
    // Cut away entirely: the border lies inside the control.
    EXPECT_FALSE(ComputeGlowGeometry({0, 0, 40, 40}, {0, 0, 0, 40}, 4, 4, 4, 4, 4).Valid);
    // With the border outside the control its strip stays visible.
    EXPECT_EQ(ComputeGlowGeometry({0, 0, 40, 40}, {0, 0, 0, 40}, 4, 4, 4, 4, 0).Width, 4);
    EXPECT_TRUE(RenderGlowBitmap(TGlowGeometry{}, nullptr).Empty());
}

TEST(GlowGeometry, ExtremeMarginsAndSizesStayBounded) {
    // Sizes that no skin should give: 2 x margin would overflow, a large
    // negative margin would ask for a picture of gigabytes. The margin is
    // held to its bound and a halo larger than any screen is refused.
    const TRect control{100, 100, 180, 130};
    const TRect all{0, 0, 80, 30};
    struct Case {
        const char* what;
        TRect control;
        int border, margin;
        bool valid;
        int width;
    };
    const Case cases[] = {
        {"margin INT_MAX: the halo lies inside the control", control, 6, INT32_MAX, false, 0},
        {"margin INT_MIN: bounded to the largest glow margin", control, 6, INT32_MIN, true, 80 + 12 + 2 * kMaxGlowMargin},
        {"mask borders INT_MAX", control, INT32_MAX, 0, false, 0},
        {"control from INT_MIN to INT_MAX", {INT32_MIN, 0, INT32_MAX, 30}, 6, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TGlowGeometry g = ComputeGlowGeometry(c.control, all, c.border, c.border, c.border, c.border, c.margin);
        EXPECT_EQ(g.Valid, c.valid);
        if (c.valid) {
            EXPECT_EQ(g.Width, c.width);
        }
        EXPECT_EQ(RenderGlowBitmap(g, nullptr).Width(), c.valid ? c.width : 0);
    }
}

TEST(GlowBitmap, MaskStateZeroOverTransparentBlackThenCut) {
    // A 3 x 3 glow image: corners 0x80FF0000, edges and centre 0x40FF0000
    // (the centre is not painted: draw mode 0).
    auto img = std::make_shared<Bitmap32>(3, 3);
    img->Fill(0x40FF0000u);
    for (int y : {0, 2})
        for (int x : {0, 2}) img->At(x, y) = 0x80FF0000u;
    TsMaskData m;
    m.Image = img;
    m.SourceRect = {0, 0, 3, 3};
    m.ColumnCount = 1;
    m.MarginLeft = m.MarginTop = m.MarginRight = m.MarginBottom = 1;
    const TGlowGeometry full = ComputeGlowGeometry({10, 10, 16, 14}, {0, 0, 6, 4}, 1, 1, 1, 1, 0);
    const Bitmap32 b = RenderGlowBitmap(full, &m);
    ASSERT_EQ(b.Width(), 8);
    ASSERT_EQ(b.Height(), 6);
    EXPECT_EQ(b.At(0, 0), 0x80FF0000u);
    EXPECT_EQ(b.At(3, 0), 0x40FF0000u);
    EXPECT_EQ(b.At(3, 3), 0u) << "inside: transparent black";
    EXPECT_EQ(b.At(7, 5), 0x80FF0000u);
    // The left 3 columns of the control hidden: the picture starts at the cut.
    const TGlowGeometry cut = ComputeGlowGeometry({10, 10, 16, 14}, {3, 0, 6, 4}, 1, 1, 1, 1, 0);
    ASSERT_TRUE(cut.Valid);
    const Bitmap32 c = RenderGlowBitmap(cut, &m);
    ASSERT_EQ(c.Width(), 4);
    EXPECT_EQ(c.At(0, 0), 0x40FF0000u);
    EXPECT_EQ(c.At(3, 0), 0x80FF0000u);
}

}  // namespace
}  // namespace kova::skin
