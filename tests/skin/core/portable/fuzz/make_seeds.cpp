// make_seeds SKIN_FOLDER OUT_DIR: writes the starting inputs of the skin
// readers' fuzz targets, one folder per target:
//   OUT_DIR/packedskin  the folder packed as a skin file, and its Options.dat
//                       packed alone
//   OUT_DIR/zlibstream  each file of the folder as a zlib stream, behind the
//                       target's leading mode byte
//   OUT_DIR/png         small valid images of each colour type (the public
//                       PNG suite is added beside them when present)
//   OUT_DIR/bmp         small BMP files of every depth and row order
//   OUT_DIR/jpeg        small baseline JPEG files of a few sizes and qualities
// Starting from inputs that pass the signatures and checksums, a short fuzz
// run spends its time in the formats' bodies.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../../../../common/bmpbuilder.h"
#include "../pngbuilder.h"
#include "skin/core/model/pictures.h"
#include "skin/core/portable/packedskin.h"

namespace fs = std::filesystem;
using kova::skin::PackedEntry;
using kova::skin::test::Bytes;
using kova::skin::test::PngBuilder;

namespace {

bool Write(const fs::path& path, const Bytes& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

// Rows of `width` samples of `bytesPerPixel`, each behind a filter byte that
// cycles through the five filters.
Bytes Rows(int width, int height, int bytesPerPixel) {
    Bytes raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(static_cast<std::uint8_t>(y % 5));
        for (int i = 0; i < width * bytesPerPixel; ++i) raw.push_back(static_cast<std::uint8_t>(i * 37 + y * 11));
    }
    return raw;
}

std::vector<std::pair<std::string, Bytes>> Pngs() {
    std::vector<std::pair<std::string, Bytes>> out;
    out.push_back({"rgba8.png", PngBuilder().Ihdr(5, 4, 8, 6).Idat(Rows(5, 4, 4)).Iend().Build()});
    out.push_back({"rgb16.png", PngBuilder().Ihdr(3, 3, 16, 2).Idat(Rows(3, 3, 6)).Iend().Build()});
    out.push_back({"grey8.png", PngBuilder().Ihdr(6, 2, 8, 0).Idat(Rows(6, 2, 1)).Iend().Build()});
    Bytes palette;
    for (int i = 0; i < 4; ++i) palette.insert(palette.end(), {static_cast<std::uint8_t>(i * 60), 20, 200});
    out.push_back({"palette2.png", PngBuilder()
                                       .Ihdr(8, 2, 2, 3)
                                       .Chunk("PLTE", palette)
                                       .Chunk("tRNS", {0, 128})
                                       .Idat({0, 0x1B, 0xE4, 0, 0xE4, 0x1B})
                                       .Iend()
                                       .Build()});
    // Interlaced: the seven passes of an 8 x 8 grey image, one byte per
    // pixel, pass by pass (widths 1 1 2 2 4 4 8, heights 1 1 1 2 2 4 4).
    const int passes[7][2] = {{1, 1}, {1, 1}, {2, 1}, {2, 2}, {4, 2}, {4, 4}, {8, 4}};
    Bytes interlaced;
    for (const auto& p : passes) {
        const Bytes rows = Rows(p[0], p[1], 1);
        interlaced.insert(interlaced.end(), rows.begin(), rows.end());
    }
    out.push_back({"adam7.png", PngBuilder().Ihdr(8, 8, 8, 0, 1).Idat(interlaced).Iend().Build()});
    return out;
}

// A file of the given depth with a palette or bit masks where the depth
// needs them, and rows of varied bytes.
Bytes Bmp(int width, int height, int bpp, std::uint32_t compression) {
    Bytes extra;
    if (bpp <= 8)
        for (int i = 0; i < (1 << bpp); ++i) kova::test::PutLe(extra, static_cast<std::uint32_t>(i * 0x010203), 4);
    if (compression == 3)
        for (std::uint32_t m : {0x00FF0000u, 0x0000FF00u, 0x000000FFu}) kova::test::PutLe(extra, m, 4);
    const int absHeight = height < 0 ? -height : height;
    Bytes rows(((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4 * static_cast<std::size_t>(absHeight));
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<std::uint8_t>(i * 37 + 5);
    return kova::test::BmpFile(width, height, bpp, compression, extra, rows);
}

kova::skin::Bitmap32 Picture(int width, int height) {
    kova::skin::Bitmap32 px(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            px.At(x, y) = 0xFF000000u | static_cast<std::uint32_t>(x * 40) << 16 | static_cast<std::uint32_t>(y * 30) << 8 |
                          static_cast<std::uint32_t>((x + y) * 20);
    return px;
}

std::vector<std::pair<std::string, Bytes>> Bmps() {
    std::vector<std::pair<std::string, Bytes>> out;
    const std::pair<int, std::uint32_t> depths[] = {{1, 0}, {4, 0}, {8, 0}, {16, 0}, {16, 3}, {24, 0}, {32, 0}, {32, 3}};
    for (const auto& [bpp, compression] : depths)
        for (const int height : {3, -3})
            out.push_back({"d" + std::to_string(bpp) + "c" + std::to_string(compression) + (height < 0 ? "top" : "bottom") +
                               ".bmp",
                           Bmp(5, height, bpp, compression)});
    out.push_back({"encoded24.bmp", kova::skin::EncodeBmp(Picture(6, 4), false)});
    out.push_back({"encoded32.bmp", kova::skin::EncodeBmp(Picture(6, 4), true)});
    return out;
}

std::vector<std::pair<std::string, Bytes>> Jpegs() {
    std::vector<std::pair<std::string, Bytes>> out;
    for (const int quality : {30, 90})
        for (const int size : {1, 8, 19})
            out.push_back({"q" + std::to_string(quality) + "s" + std::to_string(size) + ".jpg",
                           kova::skin::EncodeJpeg(Picture(size, size + 2), quality)});
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_seeds SKIN_FOLDER OUT_DIR\n");
        return 2;
    }
    const fs::path skin = argv[1];
    const fs::path out = argv[2];
    bool ok = true;

    std::vector<PackedEntry> entries;
    std::string failed;
    if (!kova::skin::ReadSkinFolderEntries(skin.string(), entries, failed)) {
        std::fprintf(stderr, "make_seeds: cannot read %s\n", failed.c_str());
        return 1;
    }
    for (const PackedEntry& e : entries) {
        for (std::uint8_t mode : {0, 3}) {
            Bytes z{mode};
            const Bytes packed = kova::skin::test::Deflate(e.data, 9);
            z.insert(z.end(), packed.begin(), packed.end());
            ok = Write(out / "zlibstream" / (e.name + ".mode" + std::to_string(mode)), z) && ok;
        }
    }
    if (entries.empty()) {
        std::fprintf(stderr, "make_seeds: %s holds no files\n", skin.string().c_str());
        return 1;
    }
    ok = Write(out / "packedskin" / "all.asz", kova::skin::WritePackedSkin(entries)) && ok;
    ok = Write(out / "packedskin" / "options.asz", kova::skin::WritePackedSkin({entries.front()})) && ok;

    for (const auto& [name, bytes] : Pngs()) ok = Write(out / "png" / name, bytes) && ok;
    for (const auto& [name, bytes] : Bmps()) ok = Write(out / "bmp" / name, bytes) && ok;
    for (const auto& [name, bytes] : Jpegs()) ok = Write(out / "jpeg" / name, bytes) && ok;

    if (!ok) {
        std::fprintf(stderr, "make_seeds: could not write into %s\n", out.string().c_str());
        return 1;
    }
    return 0;
}
