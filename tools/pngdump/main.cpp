// pngdump IN.png OUT.pam: decodes a PNG with the skin engine's reader and
// writes the pixels as a PAM file (RGB_ALPHA, 8 bits). Alpha is 255 where
// the reader's output carries none. Exit 1 with the reader's message on a
// file it refuses, 2 on usage or output errors.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "skin/core/portable/png.h"
#include "framework/portable/streams.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: pngdump IN.png OUT.pam\n");
        return 2;
    }
    kova::TMemoryStream in;
    try {
        in.LoadFromFile(argv[1]);
    } catch (const kova::EStreamError&) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    kova::PixelBuffer32 pixels;
    try {
        kova::skin::TPNGGraphic png;
        png.LoadFromStream(in);
        pixels = png.ToBitmap32();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 2;
    }
    std::fprintf(out, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", pixels.Width(),
                 pixels.Height());
    std::vector<std::uint8_t> row(static_cast<std::size_t>(pixels.Width()) * 4);
    bool ok = true;
    for (int y = 0; y < pixels.Height() && ok; ++y) {
        const std::uint32_t* p = pixels.ScanLine(y);
        for (int x = 0; x < pixels.Width(); ++x) {
            row[4 * x] = static_cast<std::uint8_t>(p[x] >> 16);
            row[4 * x + 1] = static_cast<std::uint8_t>(p[x] >> 8);
            row[4 * x + 2] = static_cast<std::uint8_t>(p[x]);
            row[4 * x + 3] = static_cast<std::uint8_t>(p[x] >> 24);
        }
        ok = std::fwrite(row.data(), 1, row.size(), out) == row.size();
    }
    if (std::fclose(out) != 0 || !ok) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 2;
    }
    return 0;
}
