// make_picture_seeds OUT_DIR: the starting inputs of the picture decoders'
// fuzz targets: OUT_DIR/bmp holds small files of every depth and row
// order, OUT_DIR/jpeg small baseline files of a few sizes and qualities.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "skin/core/model/pictures.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using kova::skin::Bitmap32;

namespace {

bool Write(const fs::path& path, const Bytes& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

void Put(Bytes& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A file of the given depth with a palette or bit masks where the depth
// needs them and rows of varied bytes.
Bytes Bmp(int width, int height, int bpp, std::uint32_t compression) {
    Bytes extra;
    if (bpp <= 8)
        for (int i = 0; i < (1 << bpp); ++i) Put(extra, static_cast<std::uint32_t>(i * 0x010203), 4);
    if (compression == 3)
        for (std::uint32_t m : {0x00FF0000u, 0x0000FF00u, 0x000000FFu}) Put(extra, m, 4);
    const int absHeight = height < 0 ? -height : height;
    const std::size_t stride = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
    Bytes rows(stride * static_cast<std::size_t>(absHeight));
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<std::uint8_t>(i * 37 + 5);
    Bytes b = {'B', 'M'};
    const std::uint32_t off = 54 + static_cast<std::uint32_t>(extra.size());
    Put(b, off + static_cast<std::uint32_t>(rows.size()), 4);
    Put(b, 0, 4);
    Put(b, off, 4);
    Put(b, 40, 4);
    Put(b, static_cast<std::uint32_t>(width), 4);
    Put(b, static_cast<std::uint32_t>(height), 4);
    Put(b, 1, 2);
    Put(b, static_cast<std::uint32_t>(bpp), 2);
    Put(b, compression, 4);
    Put(b, static_cast<std::uint32_t>(rows.size()), 4);
    for (int i = 0; i < 4; ++i) Put(b, 0, 4);
    b.insert(b.end(), extra.begin(), extra.end());
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

Bitmap32 Picture(int width, int height) {
    Bitmap32 px(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            px.At(x, y) = 0xFF000000u | static_cast<std::uint32_t>(x * 40) << 16 | static_cast<std::uint32_t>(y * 30) << 8 |
                          static_cast<std::uint32_t>((x + y) * 20);
    return px;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_picture_seeds OUT_DIR\n");
        return 2;
    }
    const fs::path out = argv[1];
    bool ok = true;
    struct Depth {
        int bpp;
        std::uint32_t compression;
    };
    for (const Depth d : {Depth{1, 0}, Depth{4, 0}, Depth{8, 0}, Depth{16, 0}, Depth{16, 3}, Depth{24, 0}, Depth{32, 0},
                          Depth{32, 3}})
        for (const int height : {3, -3})
            ok &= Write(out / "bmp" / ("d" + std::to_string(d.bpp) + "c" + std::to_string(d.compression) +
                                       (height < 0 ? "top" : "bottom") + ".bmp"),
                        Bmp(5, height, d.bpp, d.compression));
    ok &= Write(out / "bmp" / "encoded24.bmp", kova::skin::EncodeBmp(Picture(6, 4), false));
    ok &= Write(out / "bmp" / "encoded32.bmp", kova::skin::EncodeBmp(Picture(6, 4), true));
    for (const int quality : {30, 90})
        for (const int size : {1, 8, 19})
            ok &= Write(out / "jpeg" / ("q" + std::to_string(quality) + "s" + std::to_string(size) + ".jpg"),
                        kova::skin::EncodeJpeg(Picture(size, size + 2), quality));
    return ok ? 0 : 1;
}
