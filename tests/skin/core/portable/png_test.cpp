#include "skin/core/portable/png.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pngbuilder.h"

namespace kova::skin {
namespace {

using test::Bytes;
using test::PngBuilder;

const char* const kInvalid = "Cannot load image. Invalid or unexpected PNG image format.";
const char* const kCrc = "Cannot load image. CRC error found in PNG file.";
const char* const kCritical = "Cannot load PNG image. Unexpected but critical chunk detected.";
const char* const kColourFormat = "Invalid color format in PNG file.";

std::string LoadError(const Bytes& png) {
    TMemoryStream in(png);
    TPNGGraphic pic;
    try {
        pic.LoadFromStream(in);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

TPNGGraphic Load(const Bytes& png) {
    TMemoryStream in(png);
    TPNGGraphic pic;
    pic.LoadFromStream(in);
    return pic;
}

// 2 x 2 RGB 8-bit, filter 0 rows.
Bytes Rows2x2() { return {0, 1, 2, 3, 4, 5, 6, 0, 7, 8, 9, 10, 11, 12}; }

Bytes Tiny(const std::string& ihdrType = "IHDR") {
    return PngBuilder().Ihdr(2, 2, 8, 2, 0, ihdrType).Idat(Rows2x2()).Iend().Build();
}

TEST(PngReader, DecodesTinyRgbAndStopsAfterIend) {
    Bytes png = Tiny();
    png.push_back(0xAB);
    TMemoryStream in(png);
    TPNGGraphic pic;
    pic.LoadFromStream(in);
    EXPECT_EQ(in.Position(), static_cast<std::int64_t>(png.size() - 1));
    ASSERT_EQ(pic.PixelFormat(), TPixelFormat::pf24bit);
    const std::uint8_t* row1 = pic.ScanLine(1);
    EXPECT_EQ(row1[0], 9);  // blue first
    EXPECT_EQ(row1[2], 7);
    EXPECT_EQ(pic.ToBitmap32().At(1, 1), 0xFF0A0B0Cu);
}

TEST(PngReader, ChunkTypesIgnoreCase) {
    EXPECT_EQ(LoadError(Tiny("ihdr")), "");
}

TEST(PngReader, HeaderLimits) {
    const struct {
        std::uint32_t w, h;
        int depth, type, interlace, compression, filter;
        const char* message;
    } cases[] = {
        {0, 2, 8, 2, 0, 0, 0, kInvalid},
        {2, 0, 8, 2, 0, 0, 0, kInvalid},
        {0x80000000u, 1, 8, 2, 0, 0, 0, kInvalid},   // beyond the standard's limit
        {kPngMaxDimension + 1, 1, 8, 2, 0, 0, 0, kInvalid},
        {20000, 20000, 8, 2, 0, 0, 0, kInvalid},     // beyond the pixel cap
        {2, 2, 8, 2, 2, 0, 0, kInvalid},             // unknown interlace method
        {2, 2, 8, 2, 0, 0, 1, kInvalid},             // unknown filter method
        {2, 2, 8, 2, 0, 1, 0, "Cannot load image. The compression scheme is not supported for PNG files."},
        {2, 2, 4, 2, 0, 0, 0, kColourFormat},
        {2, 2, 16, 3, 0, 0, 0, kColourFormat},
        {2, 2, 8, 1, 0, 0, 0, kColourFormat},
    };
    for (const auto& c : cases) {
        const Bytes png = PngBuilder().Ihdr(c.w, c.h, c.depth, c.type, c.interlace, "IHDR", c.compression, c.filter)
                              .Idat(Rows2x2()).Iend().Build();
        EXPECT_EQ(LoadError(png), c.message) << c.w << "x" << c.h << " type " << c.type << " depth " << c.depth;
    }
}

TEST(PngReader, BigDimensionsWithLittleDataFailBeforeAllocating) {
    // 16384 x 4096 RGBA would need 256 MiB; the data cannot possibly fill it.
    const Bytes png = PngBuilder().Ihdr(16384, 4096, 8, 6).Idat(Bytes(100, 0)).Iend().Build();
    EXPECT_EQ(LoadError(png), kInvalid);
}

TEST(PngReader, CrcErrors) {
    Bytes png = Tiny();
    png[8 + 8 + 13] ^= 1;  // IHDR CRC
    EXPECT_EQ(LoadError(png), kCrc);
    TPNGGraphic pic;
    TMemoryStream in(png);
    EXPECT_FALSE(pic.ReadPNGHeader(in));
    // Damaged IDAT CRC.
    Bytes idat = PngBuilder().Ihdr(2, 2, 8, 2).Chunk("IDAT", test::Deflate(Rows2x2()), false).Iend().Build();
    EXPECT_EQ(LoadError(idat), kCrc);
}

TEST(PngReader, UnknownChunks) {
    // Ancillary: skipped without a CRC check, before and after the image data.
    const Bytes ok = PngBuilder().Ihdr(2, 2, 8, 2).Chunk("abCd", {1, 2, 3}, false).Idat(Rows2x2())
                         .Chunk("zzZz", {9}, false).Iend().Build();
    EXPECT_EQ(LoadError(ok), "");
    const Bytes critical = PngBuilder().Ihdr(2, 2, 8, 2).Chunk("ABCD", {1}).Idat(Rows2x2()).Iend().Build();
    EXPECT_EQ(LoadError(critical), kCritical);
}

TEST(PngReader, ChunkRightAfterImageData) {
    const Bytes plte = PngBuilder().Ihdr(2, 2, 8, 2).Idat(Rows2x2()).Chunk("PLTE", {1, 2, 3}).Iend().Build();
    EXPECT_EQ(LoadError(plte), kCritical);
    const Bytes bkgd = PngBuilder().Ihdr(2, 2, 8, 2).Idat(Rows2x2()).Chunk("bKGD", {0, 1, 0, 2, 0, 3})
                           .Chunk("PLTE", {1, 2, 3}).Iend().Build();
    EXPECT_EQ(LoadError(bkgd), "");  // skipped; the PLTE after it is dispatched again
}

TEST(PngReader, ImageDataSplitMidRow) {
    const Bytes z = test::Deflate(Rows2x2());
    PngBuilder b;
    b.Ihdr(2, 2, 8, 2);
    for (std::size_t i = 0; i < z.size(); i += 3)
        b.Chunk("IDAT", Bytes(z.begin() + static_cast<std::ptrdiff_t>(i),
                              z.begin() + static_cast<std::ptrdiff_t>(std::min(i + 3, z.size()))));
    b.Chunk("IDAT", {});  // an empty one too
    const TPNGGraphic pic = Load(b.Iend().Build());
    EXPECT_EQ(pic.ToBitmap32().At(1, 1), 0xFF0A0B0Cu);
    EXPECT_EQ(pic.ToBitmap32().At(0, 0), 0xFF010203u);
}

// Image data that ends early keeps the rows read; the rest of the image is
// transparent. No image data at all, or a zlib stream that ends before the
// rows do, is still an error.
TEST(PngReader, ImageDataThatEndsEarly) {
    Bytes z = test::Deflate(Rows2x2(), 0);
    z.resize(z.size() - 8);  // the stream stops inside row 2
    const TPNGGraphic pic = Load(PngBuilder().Ihdr(2, 2, 8, 2).Chunk("IDAT", z).Iend().Build());
    EXPECT_TRUE(pic.Partial());
    const PixelBuffer32 px = pic.ToBitmap32();
    EXPECT_EQ(px.At(0, 0), 0xFF010203u);  // row 1 kept
    EXPECT_EQ(px.At(1, 1), 0u);           // row 2 transparent
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(2, 2, 8, 2).Iend().Build()), kInvalid);
    const Bytes rows = Rows2x2();
    // A zlib stream that ends inside a row is damaged; one that ends with a
    // whole row is data that ends early.
    const Bytes midRow = test::Deflate(Bytes(rows.begin(), rows.begin() + 5));
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(2, 2, 8, 2).Chunk("IDAT", midRow).Iend().Build()),
              "Cannot load image. Extra compressed data found in PNG file.");
    const Bytes oneRow = test::Deflate(Bytes(rows.begin(), rows.begin() + 7));
    const TPNGGraphic first = Load(PngBuilder().Ihdr(2, 2, 8, 2).Chunk("IDAT", oneRow).Iend().Build());
    EXPECT_TRUE(first.Partial());
    EXPECT_EQ(first.ToBitmap32().At(1, 0) >> 24, 255u);
    EXPECT_EQ(first.ToBitmap32().At(1, 1), 0u);
    // A second run of image data after another chunk.
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(2, 2, 8, 2).Idat(Rows2x2()).Chunk("tEXt", {'a', 0, 'b'})
                            .Idat(Rows2x2()).Iend().Build()),
              kInvalid);
}

// An interlaced image cut during a pass keeps the pixels of the passes read.
TEST(PngReader, InterlacedImageDataThatEndsEarly) {
    // 8 x 8 grey, every pass's rows in turn; pixel value = 10 * pass + 1.
    static const int kPass[8][8] = {
        {0, 5, 3, 5, 1, 5, 3, 5}, {6, 6, 6, 6, 6, 6, 6, 6}, {4, 5, 4, 5, 4, 5, 4, 5}, {6, 6, 6, 6, 6, 6, 6, 6},
        {2, 5, 3, 5, 2, 5, 3, 5}, {6, 6, 6, 6, 6, 6, 6, 6}, {4, 5, 4, 5, 4, 5, 4, 5}, {6, 6, 6, 6, 6, 6, 6, 6}};
    static const int rowStart[7] = {0, 0, 4, 0, 2, 0, 1}, colStart[7] = {0, 4, 0, 2, 0, 1, 0};
    static const int rowStep[7] = {8, 8, 8, 4, 4, 2, 2}, colStep[7] = {8, 8, 4, 4, 2, 2, 1};
    Bytes raw;
    std::size_t cutAfterPass3 = 0;
    for (int pass = 0; pass < 7; ++pass) {
        for (int y = rowStart[pass]; y < 8; y += rowStep[pass]) {
            raw.push_back(0);
            for (int x = colStart[pass]; x < 8; x += colStep[pass]) raw.push_back(static_cast<std::uint8_t>(10 * pass + 1));
        }
        if (pass == 3) cutAfterPass3 = raw.size();
    }
    Bytes z = test::Deflate(raw, 0);
    z.resize(2 + 5 + cutAfterPass3 + 1);  // header, stored-block header, passes 0-3, one byte more
    const TPNGGraphic pic = Load(PngBuilder().Ihdr(8, 8, 8, 0, 1).Chunk("IDAT", z).Iend().Build());
    ASSERT_TRUE(pic.Partial());
    const PixelBuffer32 px = pic.ToBitmap32();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const int pass = kPass[y][x];
            if (pass <= 3)
                EXPECT_EQ(px.At(x, y) & 0xFF, static_cast<std::uint32_t>(10 * pass + 1)) << x << "," << y;
            else
                EXPECT_EQ(px.At(x, y), 0u) << x << "," << y;
        }
}

TEST(PngReader, ExtraAndDamagedCompressedData) {
    Bytes z = test::Deflate(Rows2x2());
    z.insert(z.end(), {1, 2, 3});
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(2, 2, 8, 2).Chunk("IDAT", z).Iend().Build()),
              "Cannot load image. Extra compressed data found in PNG file.");
    Bytes bad = test::Deflate(Rows2x2());
    bad[0] = 0x12;
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(2, 2, 8, 2).Chunk("IDAT", bad).Iend().Build()),
              "Cannot load image. Compression error found in PNG file.");
}

TEST(PngReader, ChunkLengths) {
    Bytes png = Tiny();
    // IDAT length field (after signature, IHDR chunk of 25 bytes).
    const std::size_t at = 8 + 25;
    Bytes huge = png;
    huge[at] = 0x80;  // over 2^31 - 1
    EXPECT_EQ(LoadError(huge), kInvalid);
    Bytes beyond = png;
    beyond[at] = 0x10;  // 256 MiB: more than the file holds
    EXPECT_EQ(LoadError(beyond), "Stream read error");
    Bytes cut(png.begin(), png.begin() + 40);
    EXPECT_EQ(LoadError(cut), "Stream read error");
}

TEST(PngReader, SixteenBitSamplesAreTruncated) {
    const Bytes rows = {0, 0xFF, 0xFF, 0xFF, 0xFE, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00};
    const TPNGGraphic pic = Load(PngBuilder().Ihdr(2, 1, 16, 2).Idat(rows).Iend().Build());
    const std::uint8_t* p = pic.ScanLine(0);
    EXPECT_EQ(p[2], 255);  // red 65535
    EXPECT_EQ(p[1], 254);  // green 65534
    EXPECT_EQ(p[0], 1);    // blue 257
    EXPECT_EQ(p[5], 0);    // red 256
}

TEST(PngReader, AlphaFormats) {
    const TPNGGraphic rgba = Load(PngBuilder().Ihdr(1, 1, 8, 6).Idat({0, 200, 100, 50, 128}).Iend().Build());
    EXPECT_EQ(rgba.PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_EQ(rgba.ToBitmap32().At(0, 0), 0x80C86432u);  // not premultiplied
    const TPNGGraphic ga = Load(PngBuilder().Ihdr(1, 1, 8, 4).Idat({0, 77, 10}).Iend().Build());
    EXPECT_EQ(ga.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(ga.ScanLine(0)[0], 77);
    EXPECT_EQ(ga.ToBitmap32().At(0, 0), 0xFF4D4D4Du);
    // 16-bit RGBA with a gAMA chunk: colours through gamma, alpha 0xFFFF -> 255.
    const TPNGGraphic g16 = Load(PngBuilder().Ihdr(1, 1, 16, 6).Chunk("gAMA", {0, 1, 0x86, 0xA0})
                                     .Idat({0, 0x80, 0, 0x80, 0, 0x80, 0, 0xFF, 0xFF}).Iend().Build());
    EXPECT_EQ(g16.ScanLine(0)[3], 255);
    EXPECT_NE(g16.ScanLine(0)[2], 127);  // 127 brightened by gamma 1/2.2
}

TEST(PngReader, TwoBitGreyAndIndexedRows) {
    // One row 0, 1, 2, 3 (2 bits each) = 0x1B.
    const TPNGGraphic grey = Load(PngBuilder().Ihdr(4, 1, 2, 0).Idat({0, 0x1B}).Iend().Build());
    EXPECT_EQ(grey.PixelFormat(), TPixelFormat::pf4bit);
    EXPECT_EQ(grey.ScanLine(0)[0], 0x05);
    EXPECT_EQ(grey.ScanLine(0)[1], 0xAF);
    ASSERT_EQ(grey.Palette().size(), 16u);
    EXPECT_EQ(grey.Palette()[5].Red, 85);
    EXPECT_EQ(grey.Palette()[10].Green, 170);
    EXPECT_EQ(grey.Palette()[15].Blue, 255);
    const TPNGGraphic idx = Load(PngBuilder().Ihdr(4, 1, 2, 3).Chunk("PLTE", Bytes(12, 9)).Idat({0, 0x1B})
                                     .Iend().Build());
    EXPECT_EQ(idx.ScanLine(0)[0], 0x01);
    EXPECT_EQ(idx.ScanLine(0)[1], 0x23);
}

TEST(PngReader, PaletteLengthMustBeTriples) {
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(1, 1, 8, 3).Chunk("PLTE", {1, 2}).Idat({0, 0}).Iend().Build()),
              "Cannot load image. Palette in PNG file is invalid.");
}

TEST(PngReader, TransparencyKeyScaledLikeThePixels) {
    const struct {
        int depth, type;
        Bytes trns;
        std::uint32_t expected;
    } cases[] = {
        {1, 0, {0, 1}, 0xFFFFFF},
        {2, 0, {0, 1}, 0x555555},
        {4, 0, {0, 3}, 0x333333},
        {8, 0, {0, 0x42}, 0x424242},
        {16, 0, {0x80, 0x00}, 0x7F7F7F},
        {8, 2, {0, 1, 0, 2, 0, 3}, 0x030201},
        {16, 2, {0xFF, 0xFF, 0, 0, 0x01, 0x01}, 0x0100FF},
    };
    for (const auto& c : cases) {
        const int samples = c.type == 2 ? 3 : 1;
        const std::size_t rowBytes = (static_cast<std::size_t>(samples) * c.depth + 7) / 8 + 1;
        const TPNGGraphic pic = Load(PngBuilder().Ihdr(1, 1, c.depth, c.type).Chunk("tRNS", c.trns)
                                         .Idat(Bytes(rowBytes, 0)).Iend().Build());
        EXPECT_TRUE(pic.Transparent()) << c.depth;
        EXPECT_EQ(pic.TransparentColour(), c.expected) << "depth " << c.depth << " type " << c.type;
    }
    // Short tRNS data is ignored rather than read past.
    const TPNGGraphic pic = Load(PngBuilder().Ihdr(1, 1, 8, 2).Chunk("tRNS", {1}).Idat({0, 0, 0, 0}).Iend().Build());
    EXPECT_FALSE(pic.Transparent());
}

TEST(PngReader, InterlacedMatchesPlain) {
    // 9 x 9 RGBA, every pixel distinct; encode Adam7 by hand.
    const int w = 9, h = 9;
    auto pixel = [](int x, int y) { return Bytes{static_cast<std::uint8_t>(x * 20), static_cast<std::uint8_t>(y * 20),
                                                 static_cast<std::uint8_t>(x + y), static_cast<std::uint8_t>(255 - x)}; };
    Bytes plain;
    for (int y = 0; y < h; ++y) {
        plain.push_back(0);
        for (int x = 0; x < w; ++x) {
            const Bytes p = pixel(x, y);
            plain.insert(plain.end(), p.begin(), p.end());
        }
    }
    const int rs[7] = {0, 0, 4, 0, 2, 0, 1}, cs[7] = {0, 4, 0, 2, 0, 1, 0}, rst[7] = {8, 8, 8, 4, 4, 2, 2},
              cst[7] = {8, 8, 4, 4, 2, 2, 1};
    Bytes adam;
    for (int p = 0; p < 7; ++p)
        for (int y = rs[p]; y < h; y += rst[p]) {
            if (cs[p] >= w) continue;
            adam.push_back(0);
            for (int x = cs[p]; x < w; x += cst[p]) {
                const Bytes px = pixel(x, y);
                adam.insert(adam.end(), px.begin(), px.end());
            }
        }
    const PixelBuffer32 a = Load(PngBuilder().Ihdr(w, h, 8, 6).Idat(plain).Iend().Build()).ToBitmap32();
    const PixelBuffer32 b = Load(PngBuilder().Ihdr(w, h, 8, 6, 1).Idat(adam).Iend().Build()).ToBitmap32();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) EXPECT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
}

// ------------------------------------------------------------ rows, filters

TEST(PngRows, PaethPredictor) {
    EXPECT_EQ(PaethPredictor(10, 20, 10), 20);
    EXPECT_EQ(PaethPredictor(20, 10, 10), 20);
    EXPECT_EQ(PaethPredictor(10, 10, 20), 10);
    EXPECT_EQ(PaethPredictor(0, 5, 0), 5);
}

TEST(PngRows, UnfilterEachType) {
    const Bytes prior = {10, 20, 30, 40, 50, 60};
    const Bytes raw = {1, 2, 3, 4, 5, 6};
    const struct {
        int type;
        Bytes expected;
    } cases[] = {
        {0, {1, 2, 3, 4, 5, 6}},
        {1, {1, 2, 4, 6, 9, 12}},
        {2, {11, 22, 33, 44, 55, 66}},
        {3, {6, 12, 21, 30, 40, 51}},
        {5, {1, 2, 3, 4, 5, 6}},
        {255, {1, 2, 3, 4, 5, 6}},
    };
    for (const auto& c : cases) {
        Bytes row = raw;
        UnfilterRow(c.type, row.data(), prior.data(), 2, row.size());
        EXPECT_EQ(row, c.expected) << c.type;
    }
    Bytes row = raw;
    UnfilterRow(4, row.data(), prior.data(), 2, row.size());
    EXPECT_EQ(row[0], 11);
    EXPECT_EQ(row[2], static_cast<std::uint8_t>(3 + PaethPredictor(11, 30, 10)));
}

TEST(PngRows, PassMaskSelectsPixels) {
    TColorManager cm;
    cm.SetSourceColorScheme(TColorScheme::csIndexed);
    cm.SetTargetColorScheme(TColorScheme::csIndexed);
    cm.SetSourceSamplesPerPixel(1);
    cm.SetTargetSamplesPerPixel(1);
    const Bytes src = {1, 2, 3, 4, 5, 6, 7, 8};
    Bytes target(8, 0);
    cm.ConvertRowPixels(src.data(), target.data(), 8, 0x55);
    EXPECT_EQ(target, (Bytes{0, 1, 0, 2, 0, 3, 0, 4}));
}

TEST(PngRows, ColourManagerErrors) {
    TColorManager cm;
    EXPECT_THROW(cm.SetSourceBitsPerSample(0), EColorConversionError);
    EXPECT_THROW(cm.SetTargetBitsPerSample(17), EColorConversionError);
    EXPECT_NO_THROW(cm.SetSourceBitsPerSample(3));
    try {
        cm.SetSourceSamplesPerPixel(5);
        FAIL();
    } catch (const EColorConversionError& e) {
        EXPECT_STREQ(e.what(), "Sample count per pixel does not correspond to the given color scheme.");
    }
    Bytes buf(16);
    cm.SetSourceBitsPerSample(8);
    cm.SetSourceColorScheme(TColorScheme::csIndexed);  // target stays BGR
    try {
        cm.ConvertRowPixels(buf.data(), buf.data(), 1, 0xFF);
        FAIL();
    } catch (const EColorConversionError& e) {
        EXPECT_STREQ(e.what(), "Conversion between indexed and non-indexed pixel formats is not supported.");
    }
    cm.SetSourceColorScheme(TColorScheme::csG);  // 3-bit grey: not a width we convert
    cm.SetTargetColorScheme(TColorScheme::csG);
    cm.SetSourceSamplesPerPixel(1);
    cm.SetTargetSamplesPerPixel(1);
    cm.SetSourceBitsPerSample(3);
    EXPECT_THROW(cm.ConvertRowPixels(buf.data(), buf.data(), 4, 0x55), EColorConversionError);
    cm.SetSourceBitsPerSample(8);
    cm.SetTargetColorScheme(TColorScheme::csBGR);
    cm.SetSourceColorScheme(TColorScheme::csBGR);
    try {
        cm.ConvertRowPixels(buf.data(), buf.data(), 1, 0xFF);
        FAIL();
    } catch (const EColorConversionError& e) {
        EXPECT_STREQ(e.what(), "Color conversion failed. Could not find a proper method.");
    }
}

TEST(PngRows, GammaTable) {
    TColorManager cm;
    cm.SetGammaValues(0.45455f, 2.2f);
    for (int i = 0; i < 256; ++i) EXPECT_NEAR(cm.GammaMap()[i], i, 1) << i;
    cm.SetGammaValues(0, -1);
    EXPECT_FLOAT_EQ(cm.ImageGamma(), 1.0f);
    EXPECT_FLOAT_EQ(cm.ScreenGamma(), 2.2f);
}

// ------------------------------------------------------------- helpers

TEST(PngHelpers, PremultiplyAndClearWhite) {
    PixelBuffer32 b(1, 2);
    b.At(0, 0) = 0x80FF8040u;
    b.At(0, 1) = 0x00FFFFFFu;
    PixelBuffer32 c = b.Clone();
    PremultiplyAlpha(b);
    EXPECT_EQ(b.At(0, 0), 0x80804020u);
    ClearWhiteTransparent(c);
    EXPECT_EQ(c.At(0, 1), 0u);
    EXPECT_EQ(c.At(0, 0), 0x80FF8040u);
    PixelBuffer32 one(3, 1);
    one.Fill(0x80FFFFFFu);
    PremultiplyAlpha(one);  // too small: unchanged
    EXPECT_EQ(one.At(0, 0), 0x80FFFFFFu);
}

}  // namespace
}  // namespace kova::skin
