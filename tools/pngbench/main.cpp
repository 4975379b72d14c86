// pngbench [PNGSUITE_DIR]: decodes the valid PngSuite images and a few large
// generated images (1-4 megapixels, RGB and RGBA, interlaced and not) with
// the skin engine's reader and with libpng, and prints the time ratio.
// Build it without sanitizers and with optimisation for meaningful numbers.
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "skin/core/portable/png.h"
#include "framework/portable/streams.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct MemReader {
    const Bytes* data;
    std::size_t pos;
};

void ReadFn(png_structp p, png_bytep out, png_size_t n) {
    auto* r = static_cast<MemReader*>(png_get_io_ptr(p));
    if (r->pos + n > r->data->size()) png_error(p, "read past end");
    std::memcpy(out, r->data->data() + r->pos, n);
    r->pos += n;
}

// libpng decode into 8-bit BGR(A) rows, the same work our reader does.
bool DecodeLibpng(const Bytes& file, std::vector<std::uint8_t>& pixels) {
    png_structp p = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(p);
    if (setjmp(png_jmpbuf(p))) {
        png_destroy_read_struct(&p, &info, nullptr);
        return false;
    }
    MemReader r{&file, 0};
    png_set_read_fn(p, &r, ReadFn);
    png_read_info(p, info);
    png_set_strip_16(p);
    png_set_bgr(p);
    png_set_interlace_handling(p);
    png_read_update_info(p, info);
    const png_uint_32 h = png_get_image_height(p, info);
    const std::size_t rowBytes = png_get_rowbytes(p, info);
    pixels.resize(rowBytes * h);
    std::vector<png_bytep> rows(h);
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = pixels.data() + y * rowBytes;
    png_read_image(p, rows.data());
    png_read_end(p, nullptr);
    png_destroy_read_struct(&p, &info, nullptr);
    return true;
}

// The stream is built once per file, outside the timing, and rewound here.
bool DecodeOurs(kova::TMemoryStream& in) {
    in.SetPosition(0);
    kova::skin::TPNGGraphic pic;
    try {
        pic.LoadFromStream(in);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

void WriteFn(png_structp p, png_bytep data, png_size_t n) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(p));
    out->insert(out->end(), data, data + n);
}
void FlushFn(png_structp) {}

// A photo-like test image: smooth gradients with some noise.
Bytes Generate(int w, int h, bool alpha, bool interlaced) {
    Bytes out;
    png_structp p = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(p);
    png_set_write_fn(p, &out, WriteFn, FlushFn);
    png_set_IHDR(p, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
                 alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(p, info);
    const int channels = alpha ? 4 : 3;
    std::vector<Bytes> rows(static_cast<std::size_t>(h), Bytes(static_cast<std::size_t>(w) * channels));
    std::uint32_t seed = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = static_cast<int>((seed >> 16) & 7);
            std::uint8_t* px = rows[static_cast<std::size_t>(y)].data() + x * channels;
            px[0] = static_cast<std::uint8_t>((x * 255 / w + noise) & 0xFF);
            px[1] = static_cast<std::uint8_t>((y * 255 / h + noise) & 0xFF);
            px[2] = static_cast<std::uint8_t>(((x + y) / 4 + noise) & 0xFF);
            if (alpha) px[3] = static_cast<std::uint8_t>(((x ^ y) & 0x3F) + 192);
        }
    std::vector<png_bytep> ptrs;
    for (auto& r : rows) ptrs.push_back(r.data());
    png_write_image(p, ptrs.data());
    png_write_end(p, nullptr);
    png_destroy_write_struct(&p, &info);
    return out;
}

template <class F>
double Time(F f, int repeats) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; ++i) f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::pair<std::string, Bytes>> files;
    const std::string suite = argc > 1 ? argv[1] : "../shared/testdata/pngsuite";
    if (std::filesystem::is_directory(suite)) {
        for (const auto& e : std::filesystem::directory_iterator(suite)) {
            const std::string name = e.path().filename().string();
            if (e.path().extension() != ".png" || name[0] == 'x') continue;
            kova::TMemoryStream m;
            try {
                m.LoadFromFile(e.path().string());
            } catch (const kova::EStreamError&) {
                continue;
            }
            files.push_back({name, std::move(m.Bytes())});
        }
        std::sort(files.begin(), files.end());
    } else {
        std::fprintf(stderr, "PngSuite not found at %s: generated images only\n", suite.c_str());
    }
    const std::size_t suiteCount = files.size();
    files.push_back({"gen-1MP-rgb", Generate(1024, 1024, false, false)});
    files.push_back({"gen-2MP-rgba", Generate(1600, 1250, true, false)});
    files.push_back({"gen-2MP-rgb-interlaced", Generate(1600, 1250, false, true)});
    files.push_back({"gen-4MP-rgba-interlaced", Generate(2304, 1728, true, true)});

    std::vector<std::uint8_t> scratch;
    double oursSuite = 0, libSuite = 0, oursBig = 0, libBig = 0;
    std::printf("%-26s %10s %10s %7s\n", "image", "ours ms", "libpng ms", "ratio");
    for (std::size_t i = 0; i < files.size(); ++i) {
        // The bytes move into our stream and libpng reads the same memory:
        // no second copy, so both decoders see the same heap.
        kova::TMemoryStream ours(std::move(files[i].second));
        const Bytes& f = ours.Bytes();
        const bool big = i >= suiteCount;
        const int repeats = big ? 5 : 200;
        if (!DecodeOurs(ours) || !DecodeLibpng(f, scratch)) {
            std::printf("%-26s skipped (a decoder refused it)\n", files[i].first.c_str());
            continue;
        }
        const double a = Time([&] { DecodeOurs(ours); }, repeats) / repeats;
        const double b = Time([&] { DecodeLibpng(f, scratch); }, repeats) / repeats;
        (big ? oursBig : oursSuite) += a;
        (big ? libBig : libSuite) += b;
        if (big) std::printf("%-26s %10.2f %10.2f %7.2f\n", files[i].first.c_str(), a * 1e3, b * 1e3, a / b);
    }
    if (suiteCount)
        std::printf("%-26s %10.2f %10.2f %7.2f\n", "PngSuite (sum)", oursSuite * 1e3, libSuite * 1e3,
                    oursSuite / libSuite);
    std::printf("%-26s %10.2f %10.2f %7.2f\n", "generated (sum)", oursBig * 1e3, libBig * 1e3, oursBig / libBig);
    std::printf("overall ratio (ours / libpng): %.2f\n", (oursSuite + oursBig) / (libSuite + libBig));
    return 0;
}
