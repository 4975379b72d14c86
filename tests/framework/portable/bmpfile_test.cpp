// The program's one BMP reader: every pixel depth it accepts, bit fields
// (masks up to the whole word), both row orders, and files whose sizes do
// not fit their data.
#include "framework/portable/bmpfile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "common/bmpbuilder.h"

namespace kova {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::uint32_t v, int bytes) { test::PutLe(b, v, bytes); }

Bytes File(int width, int height, int bpp, std::uint32_t compression, const Bytes& extra, const Bytes& rows,
           std::uint32_t headerSize = 40, std::uint32_t colorsUsed = 0) {
    return test::BmpFile(width, height, bpp, compression, extra, rows, headerSize, colorsUsed);
}

TEST(BmpFile, EveryDepthAndRowOrder) {
    Bytes palette;
    for (std::uint32_t c : {0x000000u, 0x112233u, 0x445566u, 0xABCDEFu}) Put(palette, c, 4);
    Bytes masks;
    for (std::uint32_t m : {0x00FF0000u, 0x0000FF00u, 0x000000FFu}) Put(masks, m, 4);
    struct Case {
        const char* what;
        Bytes file;
        std::uint32_t topLeft, bottomRight;
        int bits;
    };
    const Case cases[] = {
        // Rows bottom-up: the first row in the file is the bottom one.
        {"1 bit", File(2, 2, 1, 0, palette, {0x40, 0, 0, 0, 0x80, 0, 0, 0}), 0xFF112233u, 0xFF112233u, 1},
        {"4 bits", File(2, 2, 4, 0, palette, {0x02, 0, 0, 0, 0x30, 0, 0, 0}), 0xFFABCDEFu, 0xFF445566u, 4},
        {"8 bits", File(1, 2, 8, 0, palette, {1, 0, 0, 0, 3, 0, 0, 0}), 0xFFABCDEFu, 0xFF112233u, 8},
        {"8 bits, index past the palette: its last colour", File(1, 1, 8, 0, palette, {200, 0, 0, 0}, 40, 4), 0xFFABCDEFu,
         0xFFABCDEFu, 8},
        {"16 bits 5-5-5", File(1, 1, 16, 0, {}, {0x1F, 0x7C, 0, 0}), 0xFFFF00FFu, 0xFFFF00FFu, 16},
        {"24 bits, top-down", File(1, -2, 24, 0, {}, {0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 0}), 0xFF112233u,
         0xFF445566u, 24},
        {"32 bits keep their alpha", File(1, 1, 32, 0, {}, {0x33, 0x22, 0x11, 0x80}), 0x80112233u, 0x80112233u, 32},
        {"32-bit bit fields without alpha: opaque", File(1, 1, 32, 3, masks, {0x33, 0x22, 0x11, 0x80}), 0xFF112233u,
         0xFF112233u, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TBmpImage image = ReadBmp(c.file.data(), c.file.size());
        EXPECT_EQ(image.BitsPerPixel, c.bits);
        EXPECT_EQ(image.Pixels.At(0, 0), c.topLeft);
        EXPECT_EQ(image.Pixels.At(image.Pixels.Width() - 1, image.Pixels.Height() - 1), c.bottomRight);
    }
}

TEST(BmpFile, MasksOverTheWholeWordAndRoundTrip) {
    // A mask of all 32 bits: the field's width is the whole word.
    Bytes masks;
    for (std::uint32_t m : {0xFFFFFFFFu, 0x0000FF00u, 0x000000FFu}) Put(masks, m, 4);
    const Bytes file = File(1, 1, 32, 3, masks, {0x00, 0x00, 0x00, 0xFF});
    EXPECT_EQ(ReadBmp(file.data(), file.size()).Pixels.At(0, 0), 0xFFFF0000u);

    PixelBuffer32 px(3, 2);
    px.At(0, 0) = 0x80112233u;
    px.At(2, 1) = 0xFF445566u;
    for (bool alpha : {false, true}) {
        const Bytes written = WriteBmp(px, alpha);
        const TBmpImage back = ReadBmp(written.data(), written.size());
        EXPECT_EQ(back.Pixels.At(0, 0), alpha ? 0x80112233u : 0xFF112233u);
        EXPECT_EQ(back.Pixels.At(2, 1), 0xFF445566u);
    }
}

TEST(BmpFile, RefusesFilesThatDoNotFitTheirData) {
    const Bytes good = File(2, 2, 24, 0, {}, Bytes(16, 0));
    Bytes truncated(good.begin(), good.end() - 1);
    Bytes huge = File(40000, 1, 24, 0, {}, Bytes(8, 0));
    Bytes tooManyPixels = File(32768, 32768, 1, 0, {}, Bytes(8, 0));
    Bytes rle = File(2, 2, 8, 1, {}, Bytes(16, 0));
    Bytes zeroWidth = File(0, 2, 24, 0, {}, Bytes(16, 0));
    Bytes depth = File(2, 2, 7, 0, {}, Bytes(16, 0));
    Bytes header = File(2, 2, 24, 0, {}, Bytes(16, 0), 12);
    Bytes signature = good;
    signature[0] = 'X';
    Bytes tiny = {'B', 'M', 0, 0};
    for (const Bytes* b : {&truncated, &huge, &tooManyPixels, &rle, &zeroWidth, &depth, &header, &signature, &tiny})
        EXPECT_THROW(ReadBmp(b->data(), b->size()), EBmpFormat);
    EXPECT_THROW(ReadBmp(nullptr, 0), EBmpFormat);
    EXPECT_NO_THROW(ReadBmp(good.data(), good.size()));
}

}  // namespace
}  // namespace kova
