#include "skin/core/model/pictures.h"

#include <zlib.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "framework/portable/bmpfile.h"
#include "framework/portable/streams.h"
#include "skin/core/portable/png.h"

namespace kova::skin {

TDecodedPicture DecodeBmp(const std::vector<std::uint8_t>& bytes) {
    try {
        TBmpImage image = ReadBmp(bytes.data(), bytes.size());
        return {std::move(image.Pixels), image.BitsPerPixel};
    } catch (const EBmpFormat& e) {
        throw EPictureError(e.what());
    }
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
void PutBe32(std::vector<std::uint8_t>& o, std::uint32_t v) {
    for (int i = 3; i >= 0; --i) o.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
}  // namespace

std::vector<std::uint8_t> EncodeBmp(const Bitmap32& px, bool keepAlpha) { return WriteBmp(px, keepAlpha); }

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
