#include "skin/core/model/pictures.h"

#include <zlib.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "framework/portable/streams.h"
#include "skin/core/portable/png.h"

namespace kova::skin {

namespace {

std::uint32_t Le16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

[[noreturn]] void Bad(const char* what) { throw EPictureError(what); }

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
        const std::uint32_t x = (v >> shift) & ((1u << bits) - 1);
        return bits >= 8 ? x >> (bits - 8) : x * 255 / ((1u << bits) - 1);
    }
};

}  // namespace

TDecodedPicture DecodeBmp(const std::vector<std::uint8_t>& b) {
    if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') Bad("Bitmap image is not valid");
    const std::uint32_t offBits = Le32(&b[10]);
    const std::uint32_t headerSize = Le32(&b[14]);
    if (headerSize < 40 || 14 + std::uint64_t{headerSize} > b.size()) Bad("Bitmap image is not valid");
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
        if (at + 12 > b.size()) Bad("Bitmap image is not valid");
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
            palette.push_back(p + 3 < b.size() ? (0xFF000000u | (Le32(&b[p]) & 0xFFFFFF)) : 0xFF000000u);
        }
    }
    const std::size_t stride = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
    if (offBits > b.size() || stride * static_cast<std::size_t>(height) > b.size() - offBits)
        Bad("Bitmap image is not valid");
    TDecodedPicture out;
    out.BitsPerPixel = bpp;
    out.Pixels = Bitmap32(width, static_cast<int>(height));
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

TDecodedPicture DecodePng(const std::vector<std::uint8_t>& bytes) {
    TMemoryStream in(bytes);
    TPNGGraphic png;
    png.LoadFromStream(in);
    TDecodedPicture out;
    out.BitsPerPixel = png.BitsPerPixel();
    out.Pixels = png.ToBitmap32();
    return out;
}

namespace {

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}
void JpegSilence(j_common_ptr, int) {}

// Kept free of objects with destructors: a libjpeg error jumps out of it.
// Returns false with the message in `error` on failure.
bool DecodeJpegInto(const std::uint8_t* data, std::size_t size, Bitmap32& out, std::vector<std::uint8_t>& row,
                    char* error) {
    jpeg_decompress_struct cinfo;
    JpegError err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = JpegErrorExit;
    err.mgr.emit_message = JpegSilence;
    if (setjmp(err.jump)) {
        std::strncpy(error, err.message, JMSG_LENGTH_MAX);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    if (cinfo.image_width > 32768 || cinfo.image_height > 32768 ||
        std::uint64_t{cinfo.image_width} * cinfo.image_height > (1ull << 26)) {
        std::strncpy(error, "JPEG image too large", JMSG_LENGTH_MAX);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);
    out.Resize(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
    row.resize(static_cast<std::size_t>(cinfo.output_width) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&cinfo, rows, 1);
        std::uint32_t* dst = out.ScanLine(y);
        for (JDIMENSION x = 0; x < cinfo.output_width; ++x)
            dst[x] = 0xFF000000u | (std::uint32_t{row[3 * x]} << 16) | (std::uint32_t{row[3 * x + 1]} << 8) |
                     row[3 * x + 2];
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

}  // namespace

TDecodedPicture DecodeJpeg(const std::vector<std::uint8_t>& bytes) {
    TDecodedPicture out;
    std::vector<std::uint8_t> row;
    char error[JMSG_LENGTH_MAX] = {};
    if (bytes.empty() || !DecodeJpegInto(bytes.data(), bytes.size(), out.Pixels, row, error))
        throw EPictureError(std::string("JPEG error: ") + (bytes.empty() ? "empty file" : error));
    out.BitsPerPixel = 24;
    return out;
}

TDecodedPicture DecodePicture(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return DecodeBmp(bytes);
    if (bytes.size() >= 8 && bytes[0] == 0x89 && bytes[1] == 'P') return DecodePng(bytes);
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8) return DecodeJpeg(bytes);
    throw EPictureError("Unknown picture format");
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
void PutBe32(std::vector<std::uint8_t>& o, std::uint32_t v) {
    for (int i = 3; i >= 0; --i) o.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
}  // namespace

std::vector<std::uint8_t> EncodeBmp(const Bitmap32& px, bool keepAlpha) {
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

std::vector<std::uint8_t> EncodePngRgba(const Bitmap32& px) {
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(px.Height()) * (1 + 4 * static_cast<std::size_t>(px.Width())));
    for (int y = 0; y < px.Height(); ++y) {
        raw.push_back(0);
        for (int x = 0; x < px.Width(); ++x) {
            const std::uint32_t c = px.At(x, y);
            raw.push_back(static_cast<std::uint8_t>(c >> 16));
            raw.push_back(static_cast<std::uint8_t>(c >> 8));
            raw.push_back(static_cast<std::uint8_t>(c));
            raw.push_back(static_cast<std::uint8_t>(c >> 24));
        }
    }
    uLongf zn = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> z(zn);
    if (compress2(z.data(), &zn, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK)
        throw EPictureError("compression failed");
    z.resize(zn);
    std::vector<std::uint8_t> o = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    auto chunk = [&o](const char* type, const std::vector<std::uint8_t>& data) {
        PutBe32(o, static_cast<std::uint32_t>(data.size()));
        const std::size_t start = o.size();
        o.insert(o.end(), type, type + 4);
        o.insert(o.end(), data.begin(), data.end());
        PutBe32(o, static_cast<std::uint32_t>(crc32(0L, o.data() + start, static_cast<uInt>(o.size() - start))));
    };
    std::vector<std::uint8_t> ihdr;
    PutBe32(ihdr, static_cast<std::uint32_t>(px.Width()));
    PutBe32(ihdr, static_cast<std::uint32_t>(px.Height()));
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    chunk("IHDR", ihdr);
    chunk("IDAT", z);
    chunk("IEND", {});
    return o;
}

namespace {
bool EncodeJpegInto(const Bitmap32& px, int quality, std::vector<std::uint8_t>& row, unsigned char** mem,
                    unsigned long* size) {
    jpeg_compress_struct cinfo;
    JpegError err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = JpegErrorExit;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, mem, size);
    cinfo.image_width = static_cast<JDIMENSION>(px.Width());
    cinfo.image_height = static_cast<JDIMENSION>(px.Height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    row.resize(static_cast<std::size_t>(px.Width()) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const std::uint32_t* src = px.ScanLine(static_cast<int>(cinfo.next_scanline));
        for (int x = 0; x < px.Width(); ++x) {
            row[3 * static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(src[x] >> 16);
            row[3 * static_cast<std::size_t>(x) + 1] = static_cast<std::uint8_t>(src[x] >> 8);
            row[3 * static_cast<std::size_t>(x) + 2] = static_cast<std::uint8_t>(src[x]);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}
}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const Bitmap32& px, int quality) {
    unsigned char* mem = nullptr;
    unsigned long size = 0;
    std::vector<std::uint8_t> row;
    const bool ok = EncodeJpegInto(px, quality, row, &mem, &size);
    std::vector<std::uint8_t> out;
    if (ok && mem) out.assign(mem, mem + size);
    std::free(mem);
    if (!ok) throw EPictureError("JPEG encoding failed");
    return out;
}

}  // namespace kova::skin
