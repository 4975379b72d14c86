// The effects label's shadow on buffers: margins, the blur plane and the
// mix of the shadow colour over what lies under the label.
#include "skin/controls/portable/labelshadow.h"

#include <gtest/gtest.h>

namespace kova::skin::test {
namespace {

TEST(LabelShadow, MarginsFollowOffsetAndBlur) {
    struct Case {
        int Offset, Blur, LeftTop, RightBottom;
    };
    for (const Case c : {Case{2, 4, -2, 6}, Case{1, 4, -3, 5}, Case{0, 0, 0, 0}, Case{5, 2, 0, 7}, Case{-3, 1, -4, 0}}) {
        SCOPED_TRACE(testing::Message() << c.Offset << "/" << c.Blur);
        const TShadowMargins m = ShadowMargins(c.Offset, c.Blur);
        EXPECT_EQ(m.LeftTop, c.LeftTop);
        EXPECT_EQ(m.RightBottom, c.RightBottom);
    }
    // A measured text grows by the difference on the right and bottom.
    const TShadowMargins m = ShadowMargins(2, 4);
    EXPECT_EQ(m.RightBottom - m.LeftTop, 8);
}

TEST(LabelShadow, BlurSpreadsALitPixelAndNoBlurLeavesThePlaneEmpty) {
    Bitmap32 text(9, 9);
    text.Fill(0xFF000000u);
    text.At(4, 4) = 0xFFFFFFFFu;
    TShadowPlane plane;
    plane.Build(text, 0);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(plane.At(x, y), 0);

    plane.Build(text, 1);
    // Row by row in place: the bytes above and left of the lit one saw it
    // whole; the lit one then took the average of those two.
    EXPECT_EQ(plane.At(4, 3), 255 / 4);
    EXPECT_EQ(plane.At(3, 4), 255 / 4);
    EXPECT_EQ(plane.At(4, 4), (2 * (255 / 4)) / 4);
    EXPECT_EQ(plane.At(0, 0), 0);

    plane.Build(text, 4);
    EXPECT_GT(plane.At(4, 4), 0);
    EXPECT_GT(plane.At(4, 6), 0);
    EXPECT_EQ(plane.At(0, 0), 0);
    // The buffer is kept and reused for a smaller picture.
    const std::size_t kept = plane.Capacity();
    Bitmap32 small(3, 3);
    plane.Build(small, 2);
    EXPECT_EQ(plane.Capacity(), kept);
    EXPECT_EQ(plane.At(1, 1), 0);
}

TEST(LabelShadow, ComposeKeepsTheBackgroundWhereNoShadowFalls) {
    Bitmap32 text(4, 1);
    text.Fill(0xFF000000u);
    TShadowPlane plane;
    plane.Build(text, 2);  // nothing lit: every weight 0
    Bitmap32 under(4, 1);
    under.Fill(0xFFFFFFFFu);
    ComposeShadow(under, plane, 0x000000, true, 0);
    // No weight leaves the pixel as it was (no darkening by 1 of a label's
    // whole background).
    EXPECT_EQ(under.At(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(under.At(3, 0), 0xFFFFFFFFu);
    // Opaque: the label's own colour.
    ComposeShadow(under, plane, 0x000000, false, 0x0000FF);
    EXPECT_EQ(under.At(0, 0), 0xFFFF0000u);
}

TEST(LabelShadow, ComposeMixesTheShadowColourByItsWeight) {
    Bitmap32 text(20, 20);
    text.Fill(0xFFFFFFFFu);
    TShadowPlane plane;
    plane.Build(text, 3);
    Bitmap32 under(20, 20);
    under.Fill(0xFFFFFFFFu);
    ComposeShadow(under, plane, 0x0000FF /* red */, true, 0);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const unsigned a = plane.At(x, y);
            const std::uint32_t p = under.At(x, y);
            ASSERT_EQ((p >> 16) & 0xFF, 255u);       // red: white and red agree
            ASSERT_EQ((p >> 8) & 0xFF, 255u - a);    // green: white toward none
            ASSERT_EQ(p & 0xFF, 255u - a);
        }
    // The inside is nearly all shadow, the corner much less.
    EXPECT_GT(plane.At(10, 10), 250);
    EXPECT_LT(plane.At(0, 0), plane.At(10, 10));
}

}  // namespace
}  // namespace kova::skin::test
