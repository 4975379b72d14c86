// The PNG conformance suite: every valid image decodes to the reference
// colours where our output format carries them, every broken one is refused
// with one of the reader's messages.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/require.h"
#include "common/testdata.h"
#include "pngbuilder.h"
#include "skin/core/portable/png.h"

namespace kova::skin {
namespace {

std::vector<long> ReadJsonArray(const std::string& path) {
    std::ifstream f(path);
    std::vector<long> v;
    std::string tok;
    char c;
    long cur = 0;
    bool in = false;
    while (f.get(c)) {
        if (c >= '0' && c <= '9') {
            cur = cur * 10 + (c - '0');
            in = true;
        } else if (in) {
            v.push_back(cur);
            cur = 0;
            in = false;
        }
    }
    return v;
}

struct Chunkinfo {
    int depth = 0, colourType = 0;
};
Chunkinfo ReadIhdr(const std::vector<std::uint8_t>& d) { return {d[24], d[25]}; }

const std::set<std::string> kReaderMessages = {
    "Cannot load image. The compression scheme is not supported for PNG files.",
    "Cannot load image. Palette in PNG file is invalid.",
    "Cannot load PNG image. Unexpected but critical chunk detected.",
    "Cannot load image. Invalid or unexpected PNG image format.",
    "Cannot load image. CRC error found in PNG file.",
    "Cannot load image. Extra compressed data found in PNG file.",
    "Cannot load image. Compression error found in PNG file.",
    "Invalid color format in PNG file.",
    "LZ77 decompression error.",
    "Stream read error",
};

std::vector<std::string> SuiteFiles() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(kova::test::TestDataPath("pngsuite")))
        if (e.path().extension() == ".png") names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

int GammaOf(int v, float fileGamma) {
    const double g = 1.0 / (static_cast<double>(fileGamma) * 2.2);
    return static_cast<int>(std::nearbyint(std::pow(v / 255.0, g) * 255.0));
}

TEST(PngSuite, ValidImagesMatchReference) {
    KOVA_REQUIRE_TESTDATA("pngsuite");
    KOVA_REQUIRE_TESTDATA("pngsuite-json");
    int checked = 0;
    for (const std::string& name : SuiteFiles()) {
        if (name[0] == 'x') continue;
        SCOPED_TRACE(name);
        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(test::ReadFileBytes(kova::test::TestDataPath("pngsuite/" + name + ".png"), bytes));
        const Chunkinfo ih = ReadIhdr(bytes);
        TMemoryStream in(bytes);
        TPNGGraphic png;
        ASSERT_NO_THROW(png.LoadFromStream(in));
        EXPECT_EQ(in.Position(), static_cast<std::int64_t>(bytes.size()));  // stands after IEND
        const PixelBuffer32 px = png.ToBitmap32();
        std::vector<long> ref = ReadJsonArray(kova::test::TestDataPath("pngsuite-json/" + name + ".json"));
        ASSERT_EQ(ref.size(), static_cast<std::size_t>(px.Width()) * px.Height() * 4);
        // Stated differences from the reference:
        // - 16-bit samples are truncated to 8 bits (v * 255 / 65535).
        // - With a gAMA chunk the colours go through the gamma table
        //   (file gamma, display gamma 2.2); alpha never does.
        // - Only colour type 6 keeps alpha; grey + alpha drops it, and tRNS
        //   (palette alpha or a key colour) never changes the pixels: alpha 255.
        const bool gamma = (png.HeaderInfo().Options & THeaderInfo::ioUseGamma) != 0;
        const bool keepsAlpha = ih.colourType == 6;
        int mismatches = 0;
        for (int y = 0; y < px.Height(); ++y) {
            for (int x = 0; x < px.Width(); ++x) {
                const std::size_t i = (static_cast<std::size_t>(y) * px.Width() + x) * 4;
                int e[4];
                for (int c = 0; c < 4; ++c) {
                    long v = ref[i + c];
                    if (ih.depth == 16) v = v * 255 / 65535;
                    e[c] = static_cast<int>(v);
                }
                if (gamma)
                    for (int c = 0; c < 3; ++c) e[c] = GammaOf(e[c], png.HeaderInfo().FileGamma);
                if (!keepsAlpha) e[3] = 255;
                const std::uint32_t p = px.At(x, y);
                const int got[4] = {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                                    static_cast<int>(p & 0xFF), static_cast<int>(p >> 24)};
                if (std::memcmp(e, got, sizeof e) != 0 && ++mismatches <= 3)
                    ADD_FAILURE() << "pixel " << x << "," << y << " expected " << e[0] << " " << e[1] << " "
                                  << e[2] << " " << e[3] << " got " << got[0] << " " << got[1] << " " << got[2]
                                  << " " << got[3];
            }
        }
        ++checked;
    }
    EXPECT_GE(checked, 150);
}

// Broken files are refused with one of the reader's messages. The two files
// whose only fault is a wrong CRC (xcsn0g01: IDAT, xhdn0g08: IHDR) are
// refused too: a CRC mismatch in a chunk we read is damage, and a skin image
// that is damaged should fail visibly rather than paint garbage.
TEST(PngSuite, BrokenImagesAreRefused) {
    KOVA_REQUIRE_TESTDATA("pngsuite");
    int refused = 0;
    for (const std::string& name : SuiteFiles()) {
        if (name[0] != 'x') continue;
        SCOPED_TRACE(name);
        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(test::ReadFileBytes(kova::test::TestDataPath("pngsuite/" + name + ".png"), bytes));
        TMemoryStream in(bytes);
        TPNGGraphic png;
        try {
            png.LoadFromStream(in);
            ADD_FAILURE() << "accepted";
        } catch (const std::exception& e) {
            EXPECT_TRUE(kReaderMessages.count(e.what())) << e.what();
            if (name == "xcsn0g01" || name == "xhdn0g08") {
                EXPECT_STREQ(e.what(), "Cannot load image. CRC error found in PNG file.");
            }
            ++refused;
        }
    }
    EXPECT_EQ(refused, 14);
}

}  // namespace
}  // namespace kova::skin
