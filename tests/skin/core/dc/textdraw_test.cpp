// Text onto 32-bit buffers under a real GDI: compared by structure (where
// ink lands, its colour, the alpha left alone), since fonts differ.
#include "skin/core/dc/textdraw.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "framework/handles.h"
#include "skin/core/model/pictures.h"

namespace kova::skin {
namespace {

struct InkBox {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, count = 0;
};
InkBox Changed(const Bitmap32& b, std::uint32_t background) {
    InkBox box;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.At(x, y) != background) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
                ++box.count;
            }
    return box;
}

HFONT Font() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

TEST(TextDraw, InkInTheColourInsideTheRectangleAlphaKept) {
    Bitmap32 b(80, 30);
    b.Fill(0x00FFFFFFu);  // white, alpha 0
    ASSERT_TRUE(DrawTextToBitmap32(b, Font(), "HHH", 0x0000FF, DT_SINGLELINE | DT_LEFT | DT_TOP, RECT{10, 5, 70, 25}));
    const InkBox box = Changed(b, 0x00FFFFFFu);
    ASSERT_GT(box.count, 10);
    EXPECT_GE(box.left, 10);
    EXPECT_GE(box.top, 5);
    EXPECT_LE(box.right, 70);
    EXPECT_LE(box.bottom, 25);
    bool pureRed = false;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x) {
            const std::uint32_t p = b.At(x, y);
            ASSERT_EQ(p >> 24, 0u) << "alpha untouched";
            ASSERT_EQ((p >> 16) & 0xFF, 0xFFu) << "red never fades on white";
            pureRed = pureRed || (p & 0xFFFF) == 0;
        }
    EXPECT_TRUE(pureRed) << "full ink takes the colour";
    EXPECT_FALSE(DrawTextToBitmap32(b, Font(), "", 0, 0, RECT{0, 0, 5, 5}));
}

TEST(TextDraw, ShadowSpreadsAroundTheTextAndIsCached) {
    Bitmap32 b(100, 50);
    b.Fill(0xFF000000u);
    Bitmap8 cache;
    const RECT r{30, 15, 70, 35};
    DrawTextWithShadow(b, Font(), "HH", r, cache, 0xFFFFFF, 3, 15, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    EXPECT_EQ(cache.Width, 40 + 2 * 7);
    EXPECT_EQ(cache.Height, 20 + 2 * 7);
    const InkBox box = Changed(b, 0xFF000000u);
    ASSERT_GT(box.count, 0);
    EXPECT_GE(box.left, 30 - 7);
    EXPECT_LE(box.right, 70 + 7);
    EXPECT_EQ(b.At(0, 0), 0xFF000000u);
    // The same size again reuses the blurred plane: the same picture.
    Bitmap32 again(100, 50);
    again.Fill(0xFF000000u);
    cache.Bits.assign(cache.Bits.size(), 0);  // marks the cache: a reuse paints all of it
    DrawTextWithShadow(again, Font(), "HH", r, cache, 0xFFFFFF, 3, 15, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    EXPECT_EQ(again.At(30 - 7, 15 - 7), 0xFFFFFFFFu);
}

// Loads a skin of the given sections (no images) from a folder it writes.
void LoadSections(TsSkinModel& model, const std::string& sections) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() /
                         ("kova-text-test-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(dir);
    {
        std::ofstream f(dir / "Options.dat", std::ios::binary);
        f << "[GLOBALINFO]\nVERSION=7.5\n" << sections;
    }
    model.LoadFolder(dir.string() + "\\");
    std::error_code ec;
    fs::remove_all(dir, ec);
}

struct Colours {
    InkBox red, dark, blue;
    bool otherHues = false;
};
Colours Classify(const Bitmap32& b) {
    Colours c;
    auto add = [](InkBox& box, int x, int y) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
        ++box.count;
    };
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const int r = (b.At(x, y) >> 16) & 0xFF, g = (b.At(x, y) >> 8) & 0xFF, bl = b.At(x, y) & 0xFF;
            if (r > g + 64 && r > bl + 64)
                add(c.red, x, y);
            else if (bl > r + 64 && bl > g + 64)
                add(c.blue, x, y);
            else if (r < 128 && g < 128 && bl < 128)  // ink, anti-aliased edges included
                add(c.dark, x, y);
            else if (!(r == g && g == bl))
                c.otherHues = true;
        }
    return c;
}

TEST(TextDraw, SectionContoursUnderTheFontColour) {
    TsSkinModel skin;
    LoadSections(skin, "[LEFTONLY]\nFONTCOLOR=0\nTCLEFT=255\n[PLAIN]\nFONTCOLOR=0\n");
    const RECT r{10, 5, 90, 25};
    const UINT flags = DT_SINGLELINE | DT_LEFT | DT_TOP;

    Bitmap32 plain(100, 30);
    plain.Fill(0xFFFFFFFFu);
    PaintSkinTextOnBitmap(plain, Font(), "IIII", true, r, flags, skin, skin.IndexOfSection("PLAIN"), false, 0xFF0000);
    const Colours p = Classify(plain);
    EXPECT_GT(p.dark.count, 0);
    EXPECT_EQ(p.red.count, 0) << "no contour colours: the text once, in the font colour";
    EXPECT_FALSE(p.otherHues);

    Bitmap32 left(100, 30);
    left.Fill(0xFFFFFFFFu);
    PaintSkinTextOnBitmap(left, Font(), "IIII", true, r, flags, skin, skin.IndexOfSection("LEFTONLY"), false, 0xFF0000);
    const Colours l = Classify(left);
    ASSERT_GT(l.red.count, 0);
    EXPECT_EQ(l.red.left, l.dark.left - 1) << "the contour copy one pixel to the left";
    EXPECT_EQ(l.dark.left, p.dark.left) << "the text itself where it was";
    EXPECT_LE(l.red.right, l.dark.right);

    // Contours not asked for; and no valid section: the fallback colour.
    Bitmap32 none(100, 30);
    none.Fill(0xFFFFFFFFu);
    PaintSkinTextOnBitmap(none, Font(), "IIII", false, r, flags, skin, skin.IndexOfSection("LEFTONLY"), false, 0xFF0000);
    EXPECT_EQ(Classify(none).red.count, 0);
    Bitmap32 fallback(100, 30);
    fallback.Fill(0xFFFFFFFFu);
    PaintSkinTextOnBitmap(fallback, Font(), "IIII", true, r, flags, skin, -1, false, 0xFF0000);
    EXPECT_GT(Classify(fallback).blue.count, 0);
}

}  // namespace
}  // namespace kova::skin
