// The window-free half of the alpha image list: alpha for pictures without
// it, glyph geometry, and a PNG item's bitmap with its per-size cache.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/require.h"
#include "common/testdata.h"
#include "pngbuilder.h"
#include "skin/core/portable/alphaimages.h"

namespace kova::skin {
namespace {

// A PNG of 8-bit samples, colour type 2 (RGB) or 6 (RGBA), from 0xAARRGGBB
// pixel words given row by row.
test::Bytes MakePng(int w, int h, const std::vector<std::uint32_t>& px, bool alpha) {
    test::Bytes raw;
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = px[static_cast<std::size_t>(y * w + x)];
            raw.push_back(static_cast<std::uint8_t>(p >> 16));
            raw.push_back(static_cast<std::uint8_t>(p >> 8));
            raw.push_back(static_cast<std::uint8_t>(p));
            if (alpha) raw.push_back(static_cast<std::uint8_t>(p >> 24));
        }
    }
    return test::PngBuilder()
        .Ihdr(static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h), 8, alpha ? 6 : 2)
        .Idat(raw)
        .Iend()
        .Build();
}

Bitmap32 FromWords(int w, int h, const std::vector<std::uint32_t>& px) {
    Bitmap32 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.At(x, y) = px[static_cast<std::size_t>(y * w + x)];
    return b;
}

constexpr std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kWhite = 0xFFFFFF, kMagenta = 0xFF00FF;

TEST(AlphaFromColours, OnlyPicturesWithoutAlphaAndNotTheBottomLeftColour) {
    // Bottom-left is white: every white pixel stays transparent, wherever it is.
    Bitmap32 b = FromWords(3, 2, {kWhite, kRed, kBlue, kWhite, kRed, kWhite});
    EXPECT_TRUE(MakeAlphaFromColours(b));
    EXPECT_EQ(b.At(0, 0), kWhite);
    EXPECT_EQ(b.At(1, 0), 0xFF000000u | kRed);
    EXPECT_EQ(b.At(2, 0), 0xFF000000u | kBlue);
    EXPECT_EQ(b.At(0, 1), kWhite);
    EXPECT_EQ(b.At(2, 1), kWhite);

    // One pixel with alpha of its own: the picture is left as it is.
    Bitmap32 own = FromWords(2, 1, {0x01000000u | kRed, kBlue});
    EXPECT_FALSE(MakeAlphaFromColours(own));
    EXPECT_EQ(own.At(1, 0), kBlue);

    Bitmap32 empty;
    EXPECT_FALSE(MakeAlphaFromColours(empty));

    // The key-colour rule: magenta stays transparent, also at bottom-left's place.
    Bitmap32 keyed = FromWords(2, 1, {kMagenta, kWhite});
    EXPECT_TRUE(MakeAlphaFromKeyColour(keyed, 0xFF00FF));
    EXPECT_EQ(keyed.At(0, 0), kMagenta);
    EXPECT_EQ(keyed.At(1, 0), 0xFF000000u | kWhite);
}

TEST(GlyphPart, StripsStatesAndNoGlyphCount) {
    struct Case {
        int w, h, glyphs, state;
        TRect source;
        int width;
    } cases[] = {
        {48, 16, 3, 0, {0, 0, 16, 16}, 16},
        {48, 16, 3, 2, {32, 0, 48, 16}, 16},
        {48, 16, 3, 7, {32, 0, 48, 16}, 16},   // state limited to the last glyph
        {48, 16, 3, -1, {0, 0, 16, 16}, 16},   // and to the first
        {50, 16, 3, 1, {16, 0, 32, 16}, 16},   // remainder of 2 unused
        {48, 16, 0, 0, {0, 0, 48, 16}, 48},    // no count: the whole image, not a division by 0
        {48, 16, 0, 2, {0, 0, 48, 16}, 48},
        {48, 16, -3, 1, {0, 0, 48, 16}, 48},
        {2, 16, 3, 1, {0, 0, 0, 16}, 0},       // narrower than the count: nothing to draw
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "/" << c.glyphs << " state " << c.state);
        const TGlyphPart p = GlyphPart(c.w, c.h, c.glyphs, c.state);
        EXPECT_EQ(p.Source, c.source);
        EXPECT_EQ(p.Size.cx, c.width);
        EXPECT_EQ(p.Size.cy, c.h);
    }
}

TEST(PngImageSource, PictureWithoutAlphaIsOpaqueExceptItsBottomLeftColour) {
    // 3 x 2 RGB: the bottom-left colour (white) is also at the top left.
    TPngImageSource src(MakePng(3, 2, {kWhite, kRed, kBlue, kWhite, kBlue, kRed}, false));
    int w = 0, h = 0;
    ASSERT_TRUE(src.ReadSize(w, h));
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    const Bitmap32 b = src.Bitmap(3, 2);
    ASSERT_EQ(b.Width(), 3);
    EXPECT_EQ(b.At(0, 0) >> 24, 0u);
    EXPECT_EQ(b.At(0, 1) >> 24, 0u);
    EXPECT_EQ(b.At(1, 0), 0xFF000000u | kRed);
    EXPECT_EQ(b.At(2, 1), 0xFF000000u | kRed);
}

TEST(PngImageSource, PictureWithAlphaKeepsItsOwn) {
    const std::vector<std::uint32_t> px = {0x00000000u, 0x80FF0000u, 0xFF0000FFu, 0x40FFFFFFu};
    TPngImageSource src(MakePng(2, 2, px, true));
    const Bitmap32 b = src.Bitmap(2, 2);
    ASSERT_EQ(b.Width(), 2);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(b.At(i % 2, i / 2), px[static_cast<std::size_t>(i)]) << i;
}

TEST(PngImageSource, SameSizeAgainComesFromTheCache) {
    std::vector<std::uint32_t> px(16, 0xFF00FF00u);
    px[5] = 0xFFFF0000u;
    TPngImageSource src(MakePng(4, 4, px, true));
    const Bitmap32 first = src.Bitmap(4, 4);
    EXPECT_EQ(src.Decodes(), 1);
    Bitmap32 second = src.Bitmap(4, 4);
    EXPECT_EQ(src.Decodes(), 1);
    ASSERT_EQ(second.Width(), 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(second.At(x, y), first.At(x, y));
    // The answer is a copy: changing it leaves the cache alone.
    second.Fill(0);
    EXPECT_EQ(src.Bitmap(4, 4).At(1, 1), 0xFFFF0000u);
    EXPECT_EQ(src.Decodes(), 1);

    const Bitmap32 big = src.Bitmap(8, 6);
    EXPECT_EQ(big.Width(), 8);
    EXPECT_EQ(big.Height(), 6);
    EXPECT_EQ(src.Decodes(), 2);
    src.Bitmap(8, 6);
    EXPECT_EQ(src.Decodes(), 2);
    // Only the last size is kept.
    src.Bitmap(4, 4);
    EXPECT_EQ(src.Decodes(), 3);
    // New bytes drop the cache.
    src.SetBytes(MakePng(4, 4, std::vector<std::uint32_t>(16, 0xFF0000FFu), true));
    EXPECT_EQ(src.Bitmap(4, 4).At(1, 1), 0xFF0000FFu);
}

TEST(PngImageSource, BadBytesAndSizesGiveNothing) {
    TPngImageSource garbage(test::Bytes{1, 2, 3, 4, 5});
    int w = 0, h = 0;
    EXPECT_FALSE(garbage.ReadSize(w, h));
    EXPECT_TRUE(garbage.Bitmap(4, 4).Empty());
    TPngImageSource none;
    EXPECT_TRUE(none.Bitmap(4, 4).Empty());
    TPngImageSource good(MakePng(2, 2, std::vector<std::uint32_t>(4, 0xFF102030u), true));
    EXPECT_TRUE(good.Bitmap(0, 4).Empty());
    EXPECT_TRUE(good.Bitmap(4, -1).Empty());
    // A truncated file: no crash, nothing or what was read.
    test::Bytes cut = MakePng(4, 4, std::vector<std::uint32_t>(16, 0xFF102030u), true);
    cut.resize(cut.size() / 2);
    TPngImageSource half(cut);
    const Bitmap32 b = half.Bitmap(4, 4);
    EXPECT_TRUE(b.Empty() || b.Width() == 4);
}

TEST(ResizeWithAlpha, TransparentColourDoesNotBleedIntoTheEdges) {
    // Left half opaque red, right half transparent green.
    Bitmap32 src(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) src.At(x, y) = x < 4 ? 0xFFFF0000u : 0x0000FF00u;
    const Bitmap32 small = ResizeWithAlpha(src, 3, 3);
    ASSERT_EQ(small.Width(), 3);
    bool sawEdge = false;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            const std::uint32_t p = small.At(x, y);
            if ((p >> 24) == 0) continue;
            EXPECT_EQ((p >> 8) & 0xFF, 0u) << x << "," << y;  // no green in any visible pixel
            if ((p >> 24) < 255) sawEdge = true;
        }
    EXPECT_TRUE(sawEdge);
    // Sources too small for the filter: nearest pixel.
    const Bitmap32 one = ResizeWithAlpha(FromWords(1, 1, {0xFF123456u}), 3, 2);
    ASSERT_EQ(one.Width(), 3);
    EXPECT_EQ(one.At(2, 1), 0xFF123456u);
}

TEST(PngImageSource, PngSuiteImagesInPlace) {
    KOVA_REQUIRE_TESTDATA("pngsuite");
    struct Case {
        const char* file;
        bool ownAlpha;
    } cases[] = {{"basn6a08.png", true}, {"basn2c08.png", false}, {"basn3p04.png", false}, {"basn6a16.png", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        test::Bytes bytes;
        ASSERT_TRUE(test::ReadFileBytes(kova::test::TestDataPath(std::string("pngsuite/") + c.file), bytes));
        TPngImageSource src(bytes);
        const Bitmap32 full = src.Bitmap(32, 32);
        ASSERT_EQ(full.Width(), 32);
        std::set<std::uint32_t> alphas;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) alphas.insert(full.At(x, y) >> 24);
        if (c.ownAlpha) {
            EXPECT_GT(alphas.size(), 2u);  // graded alpha kept
        } else {
            // Opaque apart from the bottom-left colour.
            for (std::uint32_t a : alphas) EXPECT_TRUE(a == 0 || a == 255) << a;
            EXPECT_TRUE(alphas.count(255));
            EXPECT_EQ(full.At(0, 31) >> 24, 0u);
        }
        const Bitmap32 half = src.Bitmap(16, 16);
        EXPECT_EQ(half.Width(), 16);
        EXPECT_EQ(src.Decodes(), 2);
    }
}

TEST(SharedPictures, CommittedGlyphStripsAndShadowsDecode) {
    for (const char* name : {"SF", "SR", "SD", "SE", "SC"}) {
        SCOPED_TRACE(name);
        test::Bytes bytes;
        ASSERT_TRUE(test::ReadFileBytes(kova::test::SourcePath(std::string("src/skin/core/images/") + name + ".png"), bytes));
        TPngImageSource src(bytes);
        int w = 0, h = 0;
        ASSERT_TRUE(src.ReadSize(w, h));
        EXPECT_EQ(w, 48);
        EXPECT_EQ(h, 16);
        const Bitmap32 b = src.Bitmap(48, 16);
        // Each of the three glyphs has opaque ink and a clear corner.
        for (int g = 0; g < 3; ++g) {
            int opaque = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) opaque += (b.At(g * 16 + x, y) >> 24) == 255;
            EXPECT_GT(opaque, 2) << g;
            EXPECT_EQ(b.At(g * 16, 15) >> 24, 0u) << g;
        }
    }
    for (const char* name : {"acSHDA", "acSHDI"}) {
        SCOPED_TRACE(name);
        test::Bytes bytes;
        ASSERT_TRUE(test::ReadFileBytes(kova::test::SourcePath(std::string("src/skin/core/images/") + name + ".png"), bytes));
        TPngImageSource src(bytes);
        int w = 0, h = 0;
        ASSERT_TRUE(src.ReadSize(w, h));
        const Bitmap32 b = src.Bitmap(w, h);
        // Clear outside and in the middle, shaded on the way between.
        EXPECT_EQ(b.At(0, 0) >> 24, 0u);
        EXPECT_EQ(b.At(w / 2, h / 2) >> 24, 0u);
        EXPECT_GT(b.At(w / 2, h - 6) >> 24, 0u);
    }
}

}  // namespace
}  // namespace kova::skin
