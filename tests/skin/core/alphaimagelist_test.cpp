// The alpha image list over a real platform image list: PNG items (from the
// public PNG suite, read in place, and our own glyph strips), icon items,
// the bitmap cache, drawing onto a canvas and glyphs into a bitmap.
#include <gtest/gtest.h>

#include <string>

#include "common/require.h"
#include "common/testdata.h"
#include "framework/handles.h"
#include "framework/portable/streams.h"
#include "skin/core/alphaimagelist.h"
#include "skin/core/dc/dcroutines.h"

namespace kova::skin {
namespace {

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    TMemoryStream m;
    m.LoadFromFile(path);
    return m.Bytes();
}

std::vector<std::uint8_t> Glyphs(const char* name) {
    return ReadBytes(kova::test::SourcePath(std::string("src/skin/core/images/") + name + ".png"));
}

// A 16 x 16 icon file of one 32-bit image: a blue square with a clear
// 4-pixel border (alpha 0), written as the shell writes them.
std::vector<std::uint8_t> MakeIconFile() {
    std::vector<std::uint8_t> f;
    auto u16 = [&f](int v) {
        f.push_back(static_cast<std::uint8_t>(v));
        f.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    auto u32 = [&f](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) f.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    const int n = 16;
    const std::uint32_t andBytes = n * 4;  // 1-bit rows padded to 32 bits
    const std::uint32_t size = 40 + n * n * 4 + andBytes;
    u16(0), u16(1), u16(1);
    f.push_back(n), f.push_back(n), f.push_back(0), f.push_back(0);
    u16(1), u16(32), u32(size), u32(6 + 16);
    u32(40), u32(n), u32(n * 2), u16(1), u16(32), u32(0), u32(n * n * 4), u32(0), u32(0), u32(0), u32(0);
    for (int y = n - 1; y >= 0; --y)
        for (int x = 0; x < n; ++x) {
            const bool inside = x >= 4 && x < 12 && y >= 4 && y < 12;
            u32(inside ? 0xFF0000FFu : 0x00000000u);
        }
    for (std::uint32_t i = 0; i < andBytes; ++i) f.push_back(0);
    return f;
}

// Colour bits equal within the rounding of the blend (one step per channel).
bool Near(std::uint32_t a, std::uint32_t b) {
    for (int shift : {0, 8, 16}) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d < -1 || d > 1) return false;
    }
    return true;
}

class AlphaImageListTest : public ::testing::Test {
protected:
    void SetUp() override { before = LiveHandles(THandleKind::ImageList); }
    void TearDown() override {
        if (list) list->Free();
        list = nullptr;
        EXPECT_EQ(LiveHandles(THandleKind::ImageList), before);
    }
    TsAlphaImageList* Make(int w, int h) {
        list = new TsAlphaImageList(nullptr);
        list->SetSize(w, h);
        return list;
    }
    void AddPng(const std::vector<std::uint8_t>& bytes) {
        TsImgListItem& item = list->Items().Add();
        item.ImageFormat = ifPNG;
        item.SetImgData(bytes);
    }
    TsAlphaImageList* list = nullptr;
    long before = 0;
};

TEST_F(AlphaImageListTest, PngSuiteAndGlyphItemsBecomeImages) {
    KOVA_REQUIRE_TESTDATA("pngsuite");
    Make(32, 32);
    AddPng(ReadBytes(kova::test::TestDataPath("pngsuite/basn6a08.png")));
    AddPng(ReadBytes(kova::test::TestDataPath("pngsuite/basn2c08.png")));
    AddPng(Glyphs("SF"));
    list->GenerateImages();
    EXPECT_TRUE(list->Generated());
    ASSERT_EQ(list->Count(), 3);
    EXPECT_EQ(list->Items()[0].OrigWidth, 32);
    EXPECT_EQ(list->Items()[2].OrigWidth, 48);
    EXPECT_EQ(list->Items()[2].OrigHeight, 16);

    // The RGBA picture keeps its graded alpha; the RGB one is opaque but
    // for its bottom-left colour.
    const Bitmap32 rgba = list->GetBitmap32(0, 32, 32);
    ASSERT_EQ(rgba.Width(), 32);
    EXPECT_EQ(rgba.At(5, 5), 0x29FFCE32u);
    const Bitmap32 rgb = list->GetBitmap32(1, 32, 32);
    EXPECT_EQ(rgb.At(0, 31) >> 24, 0u);
    EXPECT_EQ(rgb.At(16, 16) >> 24, 255u);
}

TEST_F(AlphaImageListTest, SameSizeAgainIsNotDecodedAgain) {
    Make(48, 16);
    AddPng(Glyphs("SD"));
    list->GenerateImages();
    const Bitmap32 a = list->GetBitmap32(0, 48, 16);
    const int decodes = list->Items()[0].Source().Decodes();
    const Bitmap32 b = list->GetBitmap32(0, 48, 16);
    EXPECT_EQ(list->Items()[0].Source().Decodes(), decodes);
    ASSERT_EQ(b.Width(), 48);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 48; ++x) ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
    EXPECT_EQ(list->GetBitmap32(0, 24, 8).Width(), 24);
    EXPECT_EQ(list->Items()[0].Source().Decodes(), decodes + 1);
}

TEST_F(AlphaImageListTest, IndexOutsideTheListGivesAndDrawsNothing) {
    Make(16, 16);
    AddPng(Glyphs("SE"));
    list->GenerateImages();
    for (int index : {-1, 1, 99}) {
        EXPECT_TRUE(list->GetBitmap32(index, 16, 16).Empty()) << index;
        Bitmap32 dest(16, 16);
        dest.Fill(0xFF808080u);
        TSize size{};
        DrawImageListGlyph(list, dest, 0, 0, 1, 0, index, 0, false, size);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) ASSERT_EQ(dest.At(x, y), 0xFF808080u) << index;
    }
    // Nor does a damaged item: its place stays, so later indexes still match.
    list->Items().Add().SetImgData({1, 2, 3});
    AddPng(Glyphs("SC"));
    list->GenerateImages();
    EXPECT_EQ(list->Count(), 3);
    EXPECT_FALSE(list->GetBitmap32(2, 16, 16).Empty());
}

TEST_F(AlphaImageListTest, IconItems) {
    Make(16, 16);
    TsImgListItem& item = list->Items().Add();
    item.ImageFormat = ifICO;
    item.SetImgData(MakeIconFile());
    list->GenerateImages();
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Items()[0].OrigWidth, 16);
    const Bitmap32 b = list->GetBitmap32(0, 16, 16);
    ASSERT_EQ(b.Width(), 16);
    EXPECT_EQ(b.At(8, 8), 0xFF0000FFu);
    EXPECT_EQ(b.At(1, 1) >> 24, 0u);
    // Another size: scaled from the platform's image.
    const Bitmap32 big = list->GetBitmap32(0, 32, 32);
    EXPECT_EQ(big.Width(), 32);
    EXPECT_EQ(big.At(16, 16), 0xFF0000FFu);
    EXPECT_EQ(big.At(1, 1) >> 24, 0u);
}

TEST_F(AlphaImageListTest, DrawImageBlendsOverTheCanvas) {
    Make(48, 16);
    AddPng(Glyphs("SF"));
    list->GenerateImages();
    Bitmap32 pixels;
    TGdiObject<HBITMAP> dib = CreateDib32(60, 20, pixels);
    pixels.Fill(0xFFFFFFFFu);
    TMemoryDC memory(nullptr);
    TSelection selected(memory.Get(), dib.Get());
    TCanvas canvas;
    TCanvasLease lease(canvas, memory.Get());
    list->DrawImage(0, &canvas, 4, 2, 0, true);
    list->DrawImage(5, &canvas, 0, 0, 0, true);  // outside the list: nothing
    GdiFlush();
    const Bitmap32 image = list->GetBitmap32(0, 48, 16);
    int inked = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 48; ++x) {
            const std::uint32_t a = image.At(x, y) >> 24, shown = pixels.At(4 + x, 2 + y) & 0xFFFFFF;
            if (a == 0) {
                ASSERT_EQ(shown, 0xFFFFFFu) << x << "," << y;
            }
            if (a == 255) {
                ASSERT_TRUE(Near(shown, image.At(x, y))) << x << "," << y;
                ++inked;
            }
        }
    EXPECT_GT(inked, 20);
    EXPECT_EQ(pixels.At(0, 0) & 0xFFFFFF, 0xFFFFFFu);
}

// Glyph 1 of a three-glyph strip lands at (X, Y); with no glyph count the
// whole image is one glyph (it used to divide by zero).
TEST_F(AlphaImageListTest, DrawImageListGlyphStatesAndNoGlyphCount) {
    Make(48, 16);
    AddPng(Glyphs("SR"));
    list->GenerateImages();
    const Bitmap32 image = list->GetBitmap32(0, 48, 16);
    struct Case {
        int numGlyphs, state, sourceX, width;
    } cases[] = {{3, 1, 16, 16}, {3, 9, 32, 16}, {0, 0, 0, 48}, {0, 2, 0, 48}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.numGlyphs << " glyphs, state " << c.state);
        Bitmap32 dest(60, 20);
        dest.Fill(0xFF000000u);
        TSize size{};
        DrawImageListGlyph(list, dest, 3, 2, c.numGlyphs, c.state, 0, 0, false, size);
        EXPECT_EQ(size.cx, c.width);
        EXPECT_EQ(size.cy, 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < c.width; ++x)
                if ((image.At(c.sourceX + x, y) >> 24) == 255) {
                    ASSERT_TRUE(Near(dest.At(3 + x, 2 + y), image.At(c.sourceX + x, y))) << x << "," << y;
                }
        // Nothing right of the glyph.
        for (int y = 0; y < 20; ++y)
            for (int x = 3 + c.width; x < 60; ++x) ASSERT_EQ(dest.At(x, y), 0xFF000000u) << x << "," << y;
    }
    // Transparency and grey: lighter ink, equal channels.
    Bitmap32 plain(20, 20), faded(20, 20);
    plain.Fill(0xFFFFFFFFu);
    faded.Fill(0xFFFFFFFFu);
    TSize size{};
    DrawImageListGlyph(list, plain, 0, 0, 3, 1, 0, 0, false, size);
    DrawImageListGlyph(list, faded, 0, 0, 3, 1, 0, 60, true, size);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const std::uint32_t p = plain.At(x, y) & 0xFF, f = faded.At(x, y);
            ASSERT_GE(f & 0xFF, p);
            ASSERT_EQ((f >> 16) & 0xFF, f & 0xFF);
        }
}

// Another list draws itself onto a copy of the area under the glyph.
TEST_F(AlphaImageListTest, GlyphOfAPlainImageList) {
    Make(1, 1);  // released by the fixture; the plain list is this test's own
    TImageList* plain = new TImageList(nullptr);
    plain->SetSize(32, 8);
    TBitmap strip;
    strip.SetSize(32, 8);
    Bitmap32 bits;
    TGdiObject<HBITMAP> dib = CreateDib32(32, 8, bits);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 32; ++x) bits.At(x, y) = x < 16 ? 0xFFFF0000u : 0xFF00FF00u;
    {
        TMemoryDC memory(nullptr);
        TSelection selected(memory.Get(), dib.Get());
        BitBlt(strip.Canvas()->Handle(), 0, 0, 32, 8, memory.Get(), 0, 0, SRCCOPY);
    }
    ASSERT_EQ(plain->Add(&strip), 0);
    Bitmap32 dest(40, 10);
    dest.Fill(0xFF000000u);
    TSize size{};
    DrawImageListGlyph(plain, dest, 2, 1, 2, 1, 0, 0, false, size);
    EXPECT_EQ(size.cx, 16);
    EXPECT_EQ(dest.At(2, 1) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(dest.At(17, 8) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(dest.At(18, 1), 0xFF000000u);
    EXPECT_EQ(dest.At(1, 1), 0xFF000000u);
    TSize none{};
    DrawImageListGlyph(plain, dest, 0, 0, 0, 0, 0, 0, false, none);  // no glyph count
    EXPECT_EQ(none.cx, 32);
    plain->Free();
}

// A list without kept files that is given an image without alpha from
// outside: on the change, the key colour becomes transparent.
TEST_F(AlphaImageListTest, ChangeGivesOutsideImagesAlphaFromTheKeyColour) {
    Make(8, 8);
    list->SetStoreSources(false);
    TBitmap image;
    image.SetSize(8, 8);
    Bitmap32 bits;
    TGdiObject<HBITMAP> dib = CreateDib32(8, 8, bits);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) bits.At(x, y) = x < 4 ? 0x00FF00FFu : 0x00204060u;  // no alpha anywhere
    {
        TMemoryDC memory(nullptr);
        TSelection selected(memory.Get(), dib.Get());
        BitBlt(image.Canvas()->Handle(), 0, 0, 8, 8, memory.Get(), 0, 0, SRCCOPY);
    }
    list->BeginUpdate();
    ASSERT_EQ(list->Add(&image), 0);
    list->EndUpdate();
    const Bitmap32 b = list->GetBitmap32(0, 8, 8);
    ASSERT_EQ(b.Width(), 8);
    EXPECT_EQ(b.At(1, 1) >> 24, 0u);
    EXPECT_EQ(b.At(6, 6), 0xFF204060u);
}

TEST_F(AlphaImageListTest, AssignCopiesItemsAndImages) {
    Make(48, 16);
    AddPng(Glyphs("SF"));
    AddPng(Glyphs("SC"));
    list->GenerateImages();
    auto* copy = new TsAlphaImageList(nullptr);
    EXPECT_TRUE(copy->Assign(list));
    EXPECT_EQ(copy->Width(), 48);
    EXPECT_EQ(copy->Count(), 2);
    EXPECT_EQ(copy->Items().Count(), 2);
    EXPECT_EQ(copy->Items()[1].ImgData(), list->Items()[1].ImgData());
    // A list that keeps no files takes the platform images.
    auto* bare = new TsAlphaImageList(nullptr);
    bare->SetStoreSources(false);
    EXPECT_TRUE(bare->Assign(list));
    EXPECT_EQ(bare->Count(), 2);
    EXPECT_EQ(bare->Items().Count(), 0);
    EXPECT_FALSE(bare->GetBitmap32(1, 48, 16).Empty());
    EXPECT_TRUE(copy->Assign(nullptr));
    EXPECT_EQ(copy->Count(), 0);
    copy->Free();
    bare->Free();
}

}  // namespace
}  // namespace kova::skin
