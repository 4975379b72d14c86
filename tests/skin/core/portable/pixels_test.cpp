#include "skin/core/portable/pixels.h"

#include <gtest/gtest.h>

#include "skin/core/portable/bitmaps.h"

namespace kova::skin {
namespace {

TEST(PixelWords, ColourConversions) {
    EXPECT_EQ(ColorToPixel(0x000000FFu), 0x00FF0000u);
    EXPECT_EQ(ColorToPixel(0x80112233u), 0x80332211u);
    EXPECT_EQ(SwapRedBlueAlpha(0x80112233u), 0x80332211u);
    EXPECT_EQ(SwapRedBlue(0x00112233u), 0x00332211u);
}

TEST(Fast32, AttachNeedsTwoRowsButFillRect32WritesOneLine) {
    Bitmap32 line(10, 1);
    TacFast32 f;
    EXPECT_FALSE(f.Attach(line));
    EXPECT_EQ(f.Width, 0);
    FillRect32(line, {2, 0, 20, 1}, 0x0000FF);
    EXPECT_EQ(line.At(1, 0), 0u);
    EXPECT_EQ(line.At(2, 0), 0xFFFF0000u);
    EXPECT_EQ(line.At(9, 0), 0xFFFF0000u);
}

TEST(Fast32, FilledRedReadsBackWithAlpha) {
    Bitmap32 b(4, 4);
    FillRect32(b, {0, 0, 4, 4}, 0x000000FF);
    TacFast32 f;
    ASSERT_TRUE(f.Attach(b));
    EXPECT_EQ(f.GetPixel(3, 3), 0xFF0000FFu);
    f.SetPixel(1, 1, 0x7F00FF00u);
    EXPECT_EQ(b.At(1, 1), 0x7F00FF00u);
    f.SetPixel(2, 1, 0x00123456u);
    EXPECT_EQ(b.At(2, 1), 0x00563412u);
}

TEST(Fast32, WorksOnBottomUpViews) {
    std::vector<std::uint32_t> mem(3 * 2, 0);
    // Row 0 is the last row in memory, as in a bottom-up DIB.
    Bitmap32 v = Bitmap32::View(mem.data() + 3, 3, 2, -12);
    FillRect32(v, {0, 0, 3, 1}, 0x0000FF);
    EXPECT_EQ(mem[3], 0xFFFF0000u);
    EXPECT_EQ(mem[0], 0u);
}

TEST(FastSum32, BlendWeights) {
    Bitmap32 s(2, 2), d(2, 2);
    s.Fill(0x64646464u);  // 100
    d.Fill(0xC8C8C8C8u);  // 200
    MixBitmapRects(d, s, 0, {0, 0, 2, 2}, {0, 0});
    EXPECT_EQ(d.At(0, 0), 0x64646464u);
    d.Fill(0xC8C8C8C8u);
    MixBitmapRects(d, s, 255, {0, 0, 2, 2}, {0, 0});
    EXPECT_EQ(d.At(1, 1), 0xC7C7C7C7u);
}

TEST(FastSum32, NegativeDestinationShiftsSource) {
    Bitmap32 s(10, 10), d(10, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) s.At(x, y) = static_cast<std::uint32_t>(y * 10 + x);
    MixBitmapRects(d, s, 0, {0, 0, 10, 10}, {-5, -5});
    EXPECT_EQ(d.At(0, 0), s.At(5, 5));
    EXPECT_EQ(d.At(4, 4), s.At(9, 9));
    EXPECT_EQ(d.At(5, 5), 0u);  // outside the blended part
}

TEST(Blends, TintRectPercent) {
    Bitmap32 b(3, 3);
    b.Fill(0xFF102030u);
    Bitmap32 c = b.Clone();
    TintRect(b, {0, 0, 3, 3}, 100, 0x0000FF);
    EXPECT_EQ(b.At(2, 2), 0xFF102030u);
    TintRect(b, {0, 0, 3, 3}, 356, 0x0000FF);  // only the low byte counts: 100
    EXPECT_EQ(b.At(1, 1), 0xFF102030u);
    TintRect(c, {0, 0, 3, 3}, 0, 0x0000FF);
    EXPECT_EQ(c.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(c.At(2, 2), 0xFFFF0000u);  // right column and bottom row included
}

TEST(Blends, FillAlphaRectSkipsKeyColourWhateverItsAlpha) {
    Bitmap32 b(3, 2);
    b.Fill(0x00123456u);
    b.At(0, 0) = 0x00FF00FFu;
    b.At(1, 0) = 0x80FF00FFu;  // key colour with some alpha: still the key
    FillAlphaRect(b, {0, 0, 3, 2}, 200, true);
    EXPECT_EQ(b.At(0, 0), 0x00FF00FFu);
    EXPECT_EQ(b.At(1, 0), 0x80FF00FFu);
    EXPECT_EQ(b.At(2, 0), 0xC8123456u);
}

TEST(Blends, KeyColourComparisonsIgnoreAlpha) {
    Bitmap32 src(2, 2), dst(2, 2);
    src.Fill(0xFFFF00FFu);  // opaque key colour
    src.At(1, 1) = 0xFF000000u;
    dst.Fill(0xFF808080u);
    CopyTransparentBitmap(dst, 0, 0, src, 0x00FF00FF);
    EXPECT_EQ(dst.At(0, 0), 0xFF808080u);
    EXPECT_EQ(dst.At(1, 1), 0xFF000000u);
    dst.Fill(0xFF808080u);
    BlendBitmapRect(dst, 0, 0, src, {0, 0, 2, 2}, 0.5, 0x00FF00FF);
    EXPECT_EQ(dst.At(0, 1), 0xFF808080u);
    EXPECT_EQ(dst.At(1, 1), 0xFF404040u);
    Bitmap32 f(2, 2);
    f.Fill(0x40FF00FFu);
    FadeBitmapToColor(f, 0, 0.5);
    EXPECT_EQ(f.At(0, 0), 0x40FF00FFu);
}

TEST(Blends, SaturationLeavesGreyAndKey) {
    Bitmap32 b(3, 2);
    b.At(0, 0) = 0xFF808080u;
    b.At(1, 0) = 0x00FF00FFu;
    b.At(2, 0) = 0xFF804020u;
    ChangeBitmapSaturation(&b, 50);
    EXPECT_EQ(b.At(0, 0), 0xFF808080u);
    EXPECT_EQ(b.At(1, 0), 0x00FF00FFu);
    EXPECT_NE(b.At(2, 0), 0xFF804020u);
    ChangeBitmapHue(&b, 120);
    EXPECT_EQ(b.At(0, 0), 0xFF808080u);
    ChangeBitmapHue(nullptr, 10);
}

TEST(Colours, Arithmetic) {
    EXPECT_EQ(MixColors(0x11000000u | 0x0000FF, 0x00FF00, 0.5), 0x11008080u);  // 127.5 -> 128 (even)
    EXPECT_EQ(ChangeColorSaturation(0, 0x123456u), 0x123456u);
    EXPECT_EQ(ChangeColorSaturation(100, 0x808080u), 0x808080u);
    EXPECT_EQ(ChangeColorSaturation(100, 0x0000FFu), 0x0000FFu);  // clamped
    EXPECT_EQ(ChangeColorHue(120, 0x0000FF), 0x00FF00u);           // red -> green
    EXPECT_EQ(ChangeColorHue(360, 0x336699), 0x336699u);
    EXPECT_EQ(ChangeColorHueIf(0, 0x123456), 0x123456u);
}

TEST(Blends, MasksAndAlphaCopies) {
    Bitmap32 b(2, 2), m(2, 2);
    b.Fill(0xFF000000u);
    m.Fill(0x00FFFFFFu);
    ApplyColorMask(b, m, 0x0000FF);  // full mask keeps the image
    EXPECT_EQ(b.At(0, 0), 0xFF000000u);
    m.Fill(0);
    ApplyColorMask(b, m, 0x0000FF);  // zero mask gives the colour
    EXPECT_EQ(b.At(0, 0), 0xFFFF0000u);

    Bitmap32 src(2, 2), dst(2, 2);
    src.Fill(0x80FFFFFFu);
    dst.Fill(0x10000000u);
    CopyAlphaBitmap({0, 0, 2, 2}, {0, 0}, dst, &src, TsParentImageInfo{}, false, clNone, 0, false);
    EXPECT_EQ(dst.At(0, 0), 0x107F7F7Fu);  // (255 * 128) >> 8; destination alpha kept
}

TEST(Blends, AlphaFromMaskHalf) {
    Bitmap32 s(1, 4);
    s.At(0, 0) = 0x00112233u;
    s.At(0, 2) = 0x00400000u;  // mask red 0x40
    const Bitmap32 a = AlphaBitmapFromMaskHalf(s);
    ASSERT_EQ(a.Height(), 2);
    EXPECT_EQ(a.At(0, 0), 0xBF112233u);
}

}  // namespace
}  // namespace kova::skin

namespace kova::skin {
namespace {

TEST(Blends, CopyAlphaBitmapVariants) {
    Bitmap32 bg(4, 4);
    bg.Fill(0xFF0A0B0Cu);
    TsParentImageInfo ready;
    ready.Bmp = &bg;
    ready.Ready = true;
    const struct {
        const char* what;
        std::uint32_t src, dst;
        const TsParentImageInfo* info;
        bool useBg;
        TColor tint;
        int transparency;
        bool grey;
        std::uint32_t expected;
    } cases[] = {
        // An opaque source lands at 255/256 strength: the blend shifts by 8 bits.
        {"opaque source", 0xFF204060u, 0x00000000u, nullptr, false, clNone, 0, false, 0x001F3F5Fu},
        {"transparent source keeps", 0x00204060u, 0x11223344u, nullptr, false, clNone, 0, false, 0x11223344u},
        {"ready: alpha is the larger", 0x80FFFFFFu, 0x40000000u, &ready, false, clNone, 0, false, 0x807F7F7Fu},
        {"ready: key shows background", 0xFFFF00FFu, 0x40000000u, &ready, true, clNone, 0, false, 0x400A0B0Cu},
        {"ready: key without background", 0x00FF00FFu, 0x40010203u, &ready, false, clNone, 0, false, 0x40010203u},
        {"not ready: key is blended", 0xFFFF00FFu, 0xFF000000u, nullptr, true, clNone, 0, false, 0xFFFE00FEu},
        {"tint keeps alpha", 0xFF000000u, 0x00000000u, nullptr, false, 0x0000FF, 0, false, 0x00FE0000u},
        {"grey", 0xFF0000FFu, 0x00000000u, nullptr, false, clNone, 0, true, 0x00545454u},
        {"transparency halves alpha", 0xFFFFFFFFu, 0x00000000u, nullptr, false, clNone, 50, false, 0x007E7E7Eu},
    };
    for (const auto& c : cases) {
        Bitmap32 src(2, 2), dst(2, 2);
        src.Fill(c.src);
        dst.Fill(c.dst);
        CopyAlphaBitmap({0, 0, 2, 2}, {0, 0}, dst, &src, c.info ? *c.info : TsParentImageInfo{}, c.useBg, c.tint,
                        c.transparency, c.grey);
        EXPECT_EQ(dst.At(1, 1), c.expected) << c.what << " got " << std::hex << dst.At(1, 1);
    }
    Bitmap32 dst(2, 2);
    CopyAlphaBitmap({0, 0, 2, 2}, {0, 0}, dst, nullptr, TsParentImageInfo{}, false, clNone, 0, false);  // no source
}

TEST(Blends, CopyAlphaBitmapClipsBothWays) {
    Bitmap32 src(4, 4), dst(3, 3);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) src.At(x, y) = 0xFF000000u | static_cast<std::uint32_t>(y * 16 + x);
    CopyAlphaBitmap({-1, -1, 10, 10}, {0, 0}, dst, &src, TsParentImageInfo{}, false, clNone, 0, false);
    EXPECT_EQ(dst.At(0, 0) & 0xFF, 0x11u * 255 / 256);  // source shifted in by one pixel
    EXPECT_EQ(dst.At(2, 2) & 0xFF, 0x33u * 255 / 256);
}

TEST(Blends, ColourThroughMask) {
    Bitmap32 target(3, 3), mask(2, 2);
    target.Fill(0x10000000u);
    mask.Fill(0x00FFFFFFu);
    mask.At(1, 1) = 0x00FF00FFu;
    TsParentImageInfo info;
    info.Bmp = &target;
    info.X = 1;
    info.Y = 1;
    info.Ready = true;
    BlendColorByMask({0, 0, 2, 2}, {0, 0, 2, 2}, 0xFF0000FFu, mask, info, true);
    EXPECT_EQ(target.At(1, 1), 0xFFFE0000u);  // toward red, alpha raised to 255
    EXPECT_EQ(target.At(2, 2), 0xFF000000u);  // key pixel: background kept, made opaque
    EXPECT_EQ(target.At(0, 0), 0x10000000u);  // outside
}

TEST(Fills, FrameStripsAndAlpha) {
    Bitmap32 b(6, 5);
    FillFrameRect32(b, {0, 0, 6, 5}, 1, 1, 2, 1, 0x00FF00);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool frame = y == 0 || y == 4 || x == 0 || x >= 4;
            EXPECT_EQ(b.At(x, y), frame ? 0xFF00FF00u : 0u) << x << "," << y;
        }
    FillRect32(b, {-5, -5, 100, 100}, 0);  // clipped, no overrun
    EXPECT_EQ(b.At(5, 4), 0xFF000000u);
}

// Routines of the disabled and recoloured looks.
TEST(PixelRoutines, GrayscaleKeepsAlphaAndAveragesChannels) {
    Bitmap32 b(2, 1);
    b.At(0, 0) = 0x80306090u;  // (48 + 96 + 144) / 3 = 96
    b.At(1, 0) = 0xFF010000u;  // 1 / 3 = 0
    GrayscaleBitmap(b);
    EXPECT_EQ(b.At(0, 0), 0x80606060u);
    EXPECT_EQ(b.At(1, 0), 0xFF000000u);
}

TEST(PixelRoutines, CopyBitmapChannelOutAndBack) {
    Bitmap32 b(3, 2);
    b.Fill(0x11223344u);
    b.At(2, 1) = 0xAABBCCDDu;
    Bitmap8 alpha;
    CopyBitmapChannel(b, alpha, 3, true);
    ASSERT_EQ(alpha.Bits.size(), 6u);
    EXPECT_EQ(alpha.Bits[5], 0xAA);
    EXPECT_EQ(alpha.Bits[0], 0x11);
    alpha.Bits[0] = 0xFE;
    CopyBitmapChannel(b, alpha, 0, false);  // into blue
    EXPECT_EQ(b.At(0, 0), 0x112233FEu);
    EXPECT_EQ(b.At(2, 1), 0xAABBCCAAu);
    // A plane of another size, or a channel beyond alpha, changes nothing.
    Bitmap8 small;
    small.Width = 1;
    small.Height = 1;
    small.Bits = {0};
    CopyBitmapChannel(b, small, 1, false);
    CopyBitmapChannel(b, alpha, 4, false);
    EXPECT_EQ(b.At(0, 0), 0x112233FEu);
}

TEST(PixelRoutines, BlendBitmapsByMaskPerChannel) {
    Bitmap32 d(3, 2), s(3, 2), m(3, 2);
    d.Fill(0x40FF0000u);
    s.Fill(0xFF0000FFu);
    m.At(0, 0) = 0x00000000u;  // the source
    m.At(1, 0) = 0x00FFFFFFu;  // (nearly) the destination
    m.At(2, 0) = 0x00FF0000u;  // red from the destination, blue from the source
    BlendBitmapsByMask(d, s, m, {0, 0, 3, 1});
    EXPECT_EQ(d.At(0, 0), 0x400000FFu) << "alpha of the destination kept";
    EXPECT_EQ(d.At(1, 0), 0x40FE0000u);
    EXPECT_EQ(d.At(2, 0), 0x40FE00FFu);
    EXPECT_EQ(d.At(0, 1), 0x40FF0000u) << "outside the rectangle";
    Bitmap32 other(2, 2);
    BlendBitmapsByMask(d, other, m, {0, 0, 3, 2});
    EXPECT_EQ(d.At(0, 1), 0x40FF0000u) << "sizes differ: nothing";
}

TEST(PixelRoutines, PaintDisabledLookByFlags) {
    Bitmap32 parent(10, 10);
    parent.Fill(0xFF000000u);
    parent.At(4, 5) = 0xFFFFFFFFu;
    struct Case {
        const char* what;
        int flags;
        TsParentImageInfo info;
        std::uint32_t expect;
    };
    const Case cases[] = {
        {"grey only", 2, {}, 0xFF555555u},
        {"faded into the parent: 60 % background", 1, {&parent, 1, 2, clFuchsia, true}, 0xFFFF9999u},
        // 127.5 rounds to even: 128.
        {"no background: half the fill colour", 1, {nullptr, 0, 0, 0x000000, false}, 0xFF800000u},
        {"key fill colour: half the control colour", 1, {nullptr, 0, 0, clFuchsia, false}, 0xFF800080u},
        {"grey, then faded", 3, {&parent, 1, 2, clFuchsia, true}, 0xFFBBBBBBu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bitmap32 b(2, 2);
        b.Fill(0xFFFF0000u);  // red
        PaintDisabledLook(b, c.flags, 0xFF0000 /* blue */, c.info, {3, 3});
        EXPECT_EQ(b.At(0, 0), c.expect);
    }
}

}  // namespace
}  // namespace kova::skin
