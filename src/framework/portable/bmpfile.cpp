#include "framework/portable/bmpfile.h"

#include <algorithm>

namespace kova {

namespace {

std::uint32_t Le16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

[[noreturn]] void Bad(const char* what) { throw EBmpFormat(what); }

// Bits of a channel mask: shift and width, to scale a field to 8 bits.
struct Field {
    int shift = 0, bits = 0;
    explicit Field(std::uint32_t mask) {
        if (mask == 0) return;
        while (!(mask & 1)) { mask >>= 1; ++shift; }
        while (mask & 1) { mask >>= 1; ++bits; }
    }
    std::uint32_t Get(std::uint32_t v) const {
        if (bits == 0) return 0;
        // 64 bits: a mask may cover the whole word.
        const std::uint64_t full = (std::uint64_t{1} << bits) - 1;
        const std::uint64_t x = (std::uint64_t{v} >> shift) & full;
        return static_cast<std::uint32_t>(bits >= 8 ? x >> (bits - 8) : x * 255 / full);
    }
};

}  // namespace

TBmpImage ReadBmp(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* b = data;
    if (size < 54 || b[0] != 'B' || b[1] != 'M') Bad("Bitmap image is not valid");
    const std::uint32_t offBits = Le32(&b[10]);
    const std::uint32_t headerSize = Le32(&b[14]);
    if (headerSize < 40 || 14 + std::uint64_t{headerSize} > size) Bad("Bitmap image is not valid");
    const std::int32_t width = static_cast<std::int32_t>(Le32(&b[18]));
    const std::int32_t rawHeight = static_cast<std::int32_t>(Le32(&b[22]));
    const int bpp = static_cast<int>(Le16(&b[28]));
    const std::uint32_t compression = Le32(&b[30]);
    std::uint32_t colorsUsed = Le32(&b[46]);
    const bool topDown = rawHeight < 0;
    const std::int64_t height = topDown ? -static_cast<std::int64_t>(rawHeight) : rawHeight;
    if (width <= 0 || height <= 0 || width > 32768 || height > 32768 ||
        std::int64_t{width} * height > (std::int64_t{1} << 26))
        Bad("Bitmap image is not valid");
    std::uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    if (bpp == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    if (compression == 3 /* bit fields */) {
        const std::size_t at = headerSize >= 52 ? 14 + 40 : 14 + headerSize;
        if (at + 12 > size) Bad("Bitmap image is not valid");
        masks[0] = Le32(&b[at]), masks[1] = Le32(&b[at + 4]), masks[2] = Le32(&b[at + 8]);
        if (headerSize >= 56) masks[3] = Le32(&b[14 + 52]);
    } else if (compression != 0) {
        Bad("Compressed bitmaps are not supported");
    }
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) Bad("Bitmap image is not valid");
    if (compression == 3 && bpp != 16 && bpp != 32) Bad("Bitmap image is not valid");
    std::vector<std::uint32_t> palette;
    if (bpp <= 8) {
        if (colorsUsed == 0 || colorsUsed > (1u << bpp)) colorsUsed = 1u << bpp;
        const std::size_t at = 14 + headerSize;
        for (std::uint32_t i = 0; i < colorsUsed; ++i) {
            const std::size_t p = at + 4 * std::size_t{i};
            palette.push_back(p + 3 < size ? (0xFF000000u | (Le32(&b[p]) & 0xFFFFFF)) : 0xFF000000u);
        }
    }
    const std::size_t stride = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
    if (offBits > size || stride * static_cast<std::size_t>(height) > size - offBits)
        Bad("Bitmap image is not valid");
    TBmpImage out;
    out.BitsPerPixel = bpp;
    out.Pixels = PixelBuffer32(width, static_cast<int>(height));
    const Field fr(masks[0]), fg(masks[1]), fb(masks[2]), fa(masks[3]);
    const bool alphaField = compression == 3 && masks[3] != 0;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = &b[offBits + stride * static_cast<std::size_t>(topDown ? y : height - 1 - y)];
        std::uint32_t* dst = out.Pixels.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            std::uint32_t px;
            switch (bpp) {
                case 1: px = palette[std::min<std::size_t>((row[x >> 3] >> (7 - (x & 7))) & 1, palette.size() - 1)]; break;
                case 4: px = palette[std::min<std::size_t>((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15, palette.size() - 1)]; break;
                case 8: px = palette[std::min<std::size_t>(row[x], palette.size() - 1)]; break;
                case 24: px = 0xFF000000u | row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16); break;
                case 16:
                case 32: {
                    const std::uint32_t v = bpp == 16 ? Le16(row + 2 * x) : Le32(row + 4 * x);
                    const std::uint32_t a = bpp == 32 && compression == 0 ? v >> 24 : alphaField ? fa.Get(v) : 255;
                    px = (a << 24) | (fr.Get(v) << 16) | (fg.Get(v) << 8) | fb.Get(v);
                    break;
                }
                default: px = 0;
            }
            dst[x] = px;
        }
    }
    if (bpp == 32 && !alphaField && compression == 3) out.BitsPerPixel = 24;  // no alpha field: opaque
    return out;
}

namespace {
void Put16(std::vector<std::uint8_t>& o, std::uint32_t v) {
    o.push_back(static_cast<std::uint8_t>(v));
    o.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& o, std::uint32_t v) {
    Put16(o, v & 0xFFFF);
    Put16(o, v >> 16);
}
}  // namespace

std::vector<std::uint8_t> WriteBmp(const PixelBuffer32& px, bool keepAlpha) {
    const int bpp = keepAlpha ? 32 : 24;
    const std::size_t stride = ((static_cast<std::size_t>(px.Width()) * bpp + 31) / 32) * 4;
    const std::uint32_t dataSize = static_cast<std::uint32_t>(stride * static_cast<std::size_t>(px.Height()));
    std::vector<std::uint8_t> o = {'B', 'M'};
    Put32(o, 54 + dataSize);
    Put32(o, 0);
    Put32(o, 54);
    Put32(o, 40);
    Put32(o, static_cast<std::uint32_t>(px.Width()));
    Put32(o, static_cast<std::uint32_t>(px.Height()));
    Put16(o, 1);
    Put16(o, static_cast<std::uint32_t>(bpp));
    Put32(o, 0);
    Put32(o, dataSize);
    Put32(o, 2835);
    Put32(o, 2835);
    Put32(o, 0);
    Put32(o, 0);
    for (int y = px.Height() - 1; y >= 0; --y) {
        const std::size_t start = o.size();
        for (int x = 0; x < px.Width(); ++x) {
            const std::uint32_t c = px.At(x, y);
            o.push_back(static_cast<std::uint8_t>(c));
            o.push_back(static_cast<std::uint8_t>(c >> 8));
            o.push_back(static_cast<std::uint8_t>(c >> 16));
            if (keepAlpha) o.push_back(static_cast<std::uint8_t>(c >> 24));
        }
        o.resize(start + stride, 0);
    }
    return o;
}

}  // namespace kova
