// make_seeds SKIN_FOLDER OUT_DIR: writes the starting inputs of the skin
// readers' fuzz targets, one folder per target:
//   OUT_DIR/packedskin  the folder packed as a skin file, and its Options.dat
//                       packed alone
//   OUT_DIR/zlibstream  each file of the folder as a zlib stream, behind the
//                       target's leading mode byte
//   OUT_DIR/png         small valid images of each colour type (the public
//                       PNG suite is added beside them when present)
// Starting from inputs that pass the signatures and checksums, a short fuzz
// run spends its time in the formats' bodies.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../pngbuilder.h"
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

    if (!ok) {
        std::fprintf(stderr, "make_seeds: could not write into %s\n", out.string().c_str());
        return 1;
    }
    return 0;
}
