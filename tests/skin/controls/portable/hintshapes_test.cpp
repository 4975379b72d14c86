// The window-free half of the hint windows: placement on the monitor,
// sizes around the text, shape masks, the shadow, the outline, the picture
// for the layered window and the fade-in.
#include "skin/controls/portable/hintshapes.h"

#include <gtest/gtest.h>

namespace kova::skin::test {
namespace {

constexpr TRect kMonitor = {0, 0, 800, 600};

std::uint8_t AlphaOf(const Bitmap32& b, int x, int y) { return static_cast<std::uint8_t>(b.At(x, y) >> 24); }
bool Inside(const Bitmap32& mask, int x, int y) { return (mask.At(x, y) & 0xFFFFFF) != 0xFFFFFF; }

TEST(HintPlacement, FlipsAtTheScreenEdgesByStyle) {
    struct Case {
        const char* Name;
        TPoint P;
        TsMousePosition Pos;
        TsHintStyle Style;
        TRect Bounds;
        TsMousePosition Result;
    };
    const Case cases[] = {
        {"fits", {100, 100}, mpLeftTop, hsComics, {100, 100, 200, 140}, mpLeftTop},
        {"right edge, shaped: flips left of the point", {780, 100}, mpLeftTop, hsComics, {680, 100, 780, 140}, mpRightTop},
        {"right edge, rectangle: pushed inside", {780, 100}, mpLeftTop, hsSimply, {700, 100, 800, 140}, mpRightTop},
        {"bottom edge, shaped: above the point", {100, 590}, mpLeftTop, hsEllipse, {100, 550, 200, 590}, mpLeftBottom},
        {"bottom edge, rectangle: pushed inside", {100, 590}, mpLeftTop, hsSimply, {100, 560, 200, 600}, mpLeftBottom},
        {"standard hint pushed inside too", {100, 590}, mpLeftTop, hsStandard, {100, 560, 200, 600}, mpLeftBottom},
        {"bottom right corner", {780, 590}, mpLeftTop, hsBalloon, {680, 550, 780, 590}, mpRightBottom},
        {"bottom position above the top", {100, 20}, mpLeftBottom, hsComics, {100, 0, 200, 40}, mpLeftTop},
        {"right position before the left", {50, 100}, mpRightTop, hsComics, {0, 100, 100, 140}, mpLeftTop},
        {"bottom position that fits", {300, 300}, mpRightBottom, hsComics, {200, 260, 300, 300}, mpRightBottom},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const THintPlacement p = PlaceHint(c.P, 100, 40, c.Pos, c.Style, kMonitor);
        EXPECT_EQ(p.Bounds, c.Bounds);
        EXPECT_EQ(p.MousePos, c.Result);
    }
    // Another monitor's edges count, not the first one's.
    const THintPlacement p = PlaceHint({1900, 100}, 100, 40, mpLeftTop, hsComics, Rect(800, 0, 1920, 1080));
    EXPECT_EQ(p.Bounds, Rect(1800, 100, 1900, 140));
}

TEST(HintFade, ThirtyOneStepsUpToTheTransparencysAlphaEachAtLeastOne) {
    struct Case {
        int Transparency;
        std::uint8_t Target;
    };
    for (const Case c : {Case{0, 255}, Case{5, 242}, Case{38, 158}, Case{95, 13}, Case{99, 3}, Case{100, 0},
                         Case{-40, 255}, Case{250, 0}}) {
        SCOPED_TRACE(c.Transparency);
        EXPECT_EQ(HintAlpha(c.Transparency), c.Target);
        const std::vector<std::uint8_t> a = HintFadeAlphas(c.Transparency);
        ASSERT_EQ(a.size(), 31u);
        EXPECT_EQ(a.back(), c.Target);
        int prev = 0;
        for (std::uint8_t v : a) {
            if (prev < c.Target) {
                EXPECT_GE(v, prev + 1) << "every step raises the alpha";
            }
            EXPECT_LE(v, c.Target);
            prev = v;
        }
    }
    // At full strength: steps of 255 / 31, rounded.
    const std::vector<std::uint8_t> a = HintFadeAlphas(0);
    EXPECT_EQ(a[0], 8);
    EXPECT_EQ(a[1], 16);
    EXPECT_EQ(a[15], 132);
}

TEST(HintMeasure, FramesAroundTheTextByStyle) {
    // The main form's comic hint: margins 12 / 5, bevel 1, shadow 7, no tail.
    THintFrameSize s = MeasureHintFrame(hsComics, TSize{100, 20}, 12, 5, 1, 7, 0);
    EXPECT_EQ(s.Width, 100 + 26 + 7);
    EXPECT_EQ(s.Height, 20 + 12 + 7);
    s = MeasureHintFrame(hsComics, TSize{100, 20}, 12, 5, 1, 7, 19);
    EXPECT_EQ(s.Height, 20 + 12 + 7 + 19) << "the tail";
    s = MeasureHintFrame(hsSimply, TSize{100, 20}, 4, 2, 1, 0, 32);
    EXPECT_EQ(s.Width, 110);
    EXPECT_EQ(s.Height, 26) << "no tail on a rectangle";
    // An ellipse grows so that the rectangle fits inside it.
    s = MeasureHintFrame(hsEllipse, TSize{100, 20}, 6, 12, 1, 16, 16);
    EXPECT_EQ(s.ExtraW, 36);
    EXPECT_EQ(s.ExtraH, 13);
    EXPECT_EQ(s.Width, 130 + 36);
    EXPECT_EQ(s.Height, 78 + 13);
    // Ellipses and balloons are at least 50 wide before their margins.
    EXPECT_EQ(MeasureHintFrame(hsBalloon, TSize{10, 0}, 0, 0, 0, 0, 0).Width, 50);
}

// A hint of no size (an empty text without margins) measures and paints
// without dividing by its width or height.
TEST(HintMeasure, AZeroSizeHintNeverDividesByZero) {
    int ew = -1, eh = -1;
    EllipseGrowth(0, 0, ew, eh);
    EXPECT_EQ(ew, 0);
    EXPECT_EQ(eh, 0);
    EllipseGrowth(40, 0, ew, eh);
    EXPECT_EQ(ew, 0);
    EllipseGrowth(0, 40, ew, eh);
    EXPECT_EQ(eh, 0);
    for (TsHintStyle style : {hsSimply, hsComics, hsEllipse, hsBalloon}) {
        SCOPED_TRACE(style);
        const THintFrameSize s = MeasureHintFrame(style, TSize{0, 0}, 0, 0, 0, 0, 0);
        EXPECT_GE(s.Width, 0);
        for (int w : {0, 1, 3}) {
            THintGeometry g{style, w, w, 0, 9, 0, mpLeftTop};
            Bitmap32 mask = MakeHintShapeMask(g);
            EXPECT_EQ(mask.Width(), w);
            g.ShadowOffset = 7;
            Bitmap32 target(w, w);
            PaintHintShadow(target, g, 38, 4);
            PaintHintOutline(target, mask, 0, 0);
            EXPECT_EQ(ComposeHintPicture(target, mask, target).Width(), w);
        }
    }
}

TEST(HintShapes, ComicBubbleHasRoundCornersAndATailToTheCursor) {
    const THintGeometry g{hsComics, 120, 60, 7, 9, 19, mpLeftTop};
    EXPECT_EQ(HintBodyRect(g), Rect(0, 19, 113, 53));
    const Bitmap32 mask = MakeHintShapeMask(g);
    EXPECT_TRUE(Inside(mask, 11, 8)) << "the tail near its tip";
    EXPECT_TRUE(Inside(mask, 56, 36)) << "the middle";
    EXPECT_FALSE(Inside(mask, 0, 19)) << "a rounded corner";
    EXPECT_TRUE(Inside(mask, 4, 30));
    EXPECT_FALSE(Inside(mask, 100, 5)) << "beside the tail";
    EXPECT_FALSE(Inside(mask, 118, 58)) << "the shadow's room";
    // With the cursor at the bottom right the tail goes there.
    const THintGeometry b{hsComics, 120, 60, 7, 9, 19, mpRightBottom};
    EXPECT_EQ(HintBodyRect(b), Rect(0, 0, 113, 34));
    const Bitmap32 bm = MakeHintShapeMask(b);
    EXPECT_TRUE(Inside(bm, 108, 51));
    EXPECT_FALSE(Inside(bm, 3, 57));
}

TEST(HintShapes, EllipseAndBalloonAndRectangle) {
    const THintGeometry e{hsEllipse, 120, 80, 0, 0, 16, mpLeftTop};
    const Bitmap32 em = MakeHintShapeMask(e);
    EXPECT_TRUE(Inside(em, 60, 48));
    EXPECT_FALSE(Inside(em, 1, 17)) << "outside the ellipse's corner";
    EXPECT_FALSE(Inside(em, 118, 78));
    EXPECT_TRUE(Inside(em, 3, 3)) << "the tail";

    const THintGeometry b{hsBalloon, 120, 80, 0, 0, 16, mpLeftTop};
    const Bitmap32 bm = MakeHintShapeMask(b);
    EXPECT_TRUE(Inside(bm, 60, 48));
    EXPECT_TRUE(Inside(bm, 3, 3)) << "the last bubble at the cursor";
    // Bubbles, not a tail: the straight line to the cursor has gaps.
    int outsideOnTheWay = 0;
    for (int i = 4; i < 20; ++i) outsideOnTheWay += Inside(bm, i * 3 / 2, i) ? 0 : 1;
    EXPECT_GT(outsideOnTheWay, 0);

    const THintGeometry r{hsSimply, 50, 30, 6, 0, 32, mpLeftTop};
    EXPECT_EQ(HintBodyRect(r), Rect(0, 0, 44, 24)) << "no tail cut";
    const Bitmap32 rm = MakeHintShapeMask(r, 90);
    EXPECT_EQ(rm.At(0, 0) & 0xFFFFFF, 0x5A5A5Au) << "in the grey asked for";
    EXPECT_FALSE(Inside(rm, 44, 10));
}

TEST(HintShapes, ShadowLayersDarkenTowardTheMiddleAndStayInside) {
    THintGeometry g{hsComics, 120, 60, 7, 9, 0, mpLeftTop};
    Bitmap32 target(120, 60);
    target.Fill(0xFFFFFFFFu);
    PaintHintShadow(target, g, 38, 4);
    const auto blue = [&](int x, int y) { return static_cast<int>(target.At(x, y) & 0xFF); };
    EXPECT_GT(blue(7 + 56, 30), 0);
    EXPECT_LT(blue(7 + 56, 30), 255) << "shadow inside";
    EXPECT_LT(blue(7 + 56, 30), blue(118, 30)) << "darker inward";
    EXPECT_GE(blue(2, 2), 254) << "no shadow left of its offset";
    // 38 percent: the innermost layer keeps 38 percent of the white.
    EXPECT_NEAR(blue(60, 30), 96, 2);
    // A blur far larger than the hint reads and writes nothing outside it.
    Bitmap32 small(12, 9);
    small.Fill(0xFFFFFFFFu);
    PaintHintShadow(small, THintGeometry{hsEllipse, 12, 9, 3, 0, 2, mpLeftTop}, 10, 1000);
    PaintHintShadow(small, THintGeometry{hsSimply, 12, 9, 30, 0, 0, mpLeftTop}, 10, 1000);
}

TEST(HintShapes, OutlineLightOnTheTopLeftDarkOnTheBottomRight) {
    const THintGeometry g{hsSimply, 20, 10, 0, 0, 0, mpLeftTop};
    const Bitmap32 mask = MakeHintShapeMask(g);
    Bitmap32 image(20, 10);
    image.Fill(0xFF808080u);
    PaintHintOutline(image, mask, 0xFFFFFF, 0x000000);
    EXPECT_EQ(image.At(0, 5), 0xFFFFFFFFu);
    EXPECT_EQ(image.At(5, 0), 0xFFFFFFFFu);
    EXPECT_EQ(image.At(19, 5), 0xFF000000u);
    EXPECT_EQ(image.At(5, 9), 0xFF000000u);
    EXPECT_EQ(image.At(5, 5), 0xFF808080u);
}

TEST(HintShapes, LayeredPictureIsOpaqueInsideAndTheShadowsAlphaOutside) {
    const THintGeometry g{hsComics, 80, 50, 5, 9, 12, mpLeftTop};
    const Bitmap32 mask = MakeHintShapeMask(g);
    Bitmap32 image(80, 50);
    image.Fill(0xFF123456u);
    Bitmap32 shadow(80, 50);
    shadow.Fill(0xFFFFFFFFu);
    PaintHintShadow(shadow, g, 38, 4);
    const Bitmap32 pic = ComposeHintPicture(image, mask, shadow);
    EXPECT_EQ(pic.At(40, 30), 0xFF123456u);
    EXPECT_EQ(AlphaOf(pic, 79, 0), 0) << "clear beside the tail";
    EXPECT_GT(AlphaOf(pic, 77, 47), 0) << "the shadow below right";
    EXPECT_LT(AlphaOf(pic, 77, 47), 255);
    EXPECT_EQ(pic.At(77, 47) & 0xFFFFFF, 0u) << "black, premultiplied";
}

}  // namespace
}  // namespace kova::skin::test
