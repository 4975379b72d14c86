// Skin items from a small skin written by the test: transparency over the
// parent, layers of colour, gradient and texture, states, corners, border.
#include "skin/core/paint/portable/skinitem.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "skin/core/model/pictures.h"
#include "skin/core/paint/portable/gradient.h"

namespace kova::skin {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kUntouched = 0x12345678u;
constexpr std::uint32_t kBorder0 = 0xFF0000C0u, kBorder1 = 0xFFC00000u, kCorner = 0xFF00C000u;

std::uint32_t Rgb(std::uint32_t px) { return px & 0xFFFFFFu; }

// A skin folder written from an Options.dat text and a master bitmap:
// texture pixels at (0..3, 0..3) coded by place, two 3 x 3 border states
// at (8, 0), a 2 x 2 corner image at (16, 0).
class TestSkin {
public:
    explicit TestSkin(const std::string& sections) {
        static int n = 0;
        dir_ = fs::temp_directory_path() /
               ("kova-paint-test-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
                std::to_string(n++));
        fs::create_directories(dir_);
        Bitmap32 master(32, 8);
        master.Fill(0xFF808080u);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) master.At(x, y) = 0xFF000000u | static_cast<std::uint32_t>((x * 40) << 8 | y * 40);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x) {
                master.At(8 + x, y) = kBorder0;
                master.At(11 + x, y) = kBorder1;
            }
        master.At(8, 0) = 0xFFFF00FFu;  // a transparent corner pixel in state 0
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x) master.At(16 + x, y) = kCorner;
        Write("Master.bmp", EncodeBmp(master, false));
        const std::string text = "[GLOBALINFO]\nVERSION=7.5\nMASTERBITMAP=Master.bmp\n" + sections;
        Write("Options.dat", std::vector<std::uint8_t>(text.begin(), text.end()));
        Model.LoadFolder(dir_.string() + "/");
    }
    ~TestSkin() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    int Section(const std::string& name) const { return Model.IndexOfSection(name); }
    TsSkinModel Model;

private:
    void Write(const std::string& name, const std::vector<std::uint8_t>& data) const {
        std::ofstream f(dir_ / name, std::ios::binary);
        f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    }
    fs::path dir_;
};

Bitmap32 Canvas(int w, int h) {
    Bitmap32 b(w, h);
    b.Fill(kUntouched);
    return b;
}

Bitmap32 Parent() {
    Bitmap32 p(40, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) p.At(x, y) = 0xFF000000u | static_cast<std::uint32_t>(x << 16 | y);
    return p;
}

TEST(PaintSectionBackground, TransparencyOverTheParent) {
    TestSkin s("[SEE]\nCOLOR=255\nTRANSPARENCY=100\n[SOLID]\nCOLOR=255\n[HALF]\nCOLOR=255\nTRANSPARENCY=50\n");
    Bitmap32 parent = Parent();
    TsParentImageInfo bg{&parent, 7, 9, clFuchsia, true};

    Bitmap32 d = Canvas(10, 10);
    PaintSectionBackground(d, s.Model, s.Section("SEE"), bg, 0, {2, 3, 8, 9}, {});
    EXPECT_EQ(d.At(2, 3), parent.At(9, 12)) << "exactly the parent's pixels at the control's offset";
    EXPECT_EQ(d.At(7, 8), parent.At(14, 17));
    EXPECT_EQ(d.At(1, 3), kUntouched);

    // Opaque: the same whatever lies below.
    Bitmap32 other(40, 40);
    other.Fill(0xFF00FF00u);
    Bitmap32 a = Canvas(10, 10), b = Canvas(10, 10);
    PaintSectionBackground(a, s.Model, s.Section("SOLID"), bg, 0, {0, 0, 10, 10}, {});
    PaintSectionBackground(b, s.Model, s.Section("SOLID"), {&other, 0, 0, 0x00FF00, true}, 0, {0, 0, 10, 10}, {});
    EXPECT_EQ(a.At(5, 5), b.At(5, 5));
    EXPECT_EQ(Rgb(a.At(5, 5)), 0xFF0000u);

    // Half: a plain fill mixed with the background's fill colour.
    Bitmap32 h = Canvas(4, 4);
    PaintSectionBackground(h, s.Model, s.Section("HALF"), {nullptr, 0, 0, 0xFF0000, false}, 0, {0, 0, 4, 4}, {});
    EXPECT_EQ(Rgb(h.At(1, 1)), 0x800080u);
    // Half over a parent image: blended with the parent's pixels.
    Bitmap32 k = Canvas(4, 4);
    Bitmap32 green(40, 40);
    green.Fill(0xFF00FF00u);
    PaintSectionBackground(k, s.Model, s.Section("HALF"), {&green, 0, 0, clFuchsia, true}, 0, {0, 0, 4, 4}, {});
    // The background keeps 50 * 255 div 100 = 127 of 256: red and green both 127.
    EXPECT_EQ(Rgb(k.At(1, 1)), 0x7F7F00u);
    // Half with no known background: the section's own colour, not a mix
    // with the "none" magenta.
    for (const TsParentImageInfo& none : {TsParentImageInfo{}, TsParentImageInfo{nullptr, 3, 4, clFuchsia, false}}) {
        Bitmap32 n = Canvas(4, 4);
        PaintSectionBackground(n, s.Model, s.Section("HALF"), none, 0, {0, 0, 4, 4}, {});
        EXPECT_EQ(Rgb(n.At(1, 1)), 0xFF0000u);
        EXPECT_EQ(Rgb(n.At(3, 3)), 0xFF0000u);
    }
}

TEST(PaintSectionBackground, GradientTintedTowardTheColour) {
    TestSkin s("[G]\nCOLOR=0\nGRADIENTPERCENT=30\nGRADIENTDATA=16777215;16777215;100;0;0\n");
    Bitmap32 d = Canvas(6, 6);
    PaintSectionBackground(d, s.Model, s.Section("G"), {}, 0, {0, 0, 6, 6}, {});
    // White gradient, 70 % toward black: 255 * 0.3 = 76.5, to even 76.
    EXPECT_EQ(d.At(0, 0), 0xFF4C4C4Cu);
    EXPECT_EQ(d.At(5, 5), 0xFF4C4C4Cu);
}

TEST(PaintSectionBackground, TexturesByState) {
    TestSkin s(
        "[T]\nSTATES=2\nCOLOR=0\nIMAGEPERCENT=100\nHOTIMAGEPERCENT=100\nHOTCOLOR=65280\n"
        "PATTERN=~0000,0000,0004,0004,00\n"
        "[ONE]\nSTATES=1\nCOLOR=255\nHOTCOLOR=65280\n");
    Bitmap32 d = Canvas(9, 9);
    PaintSectionBackground(d, s.Model, s.Section("T"), {}, 0, {1, 1, 9, 9}, {});
    EXPECT_EQ(Rgb(d.At(1, 1)), 0u);
    EXPECT_EQ(Rgb(d.At(6, 7)), static_cast<std::uint32_t>((1 * 40) << 8 | 2 * 40)) << "tiled from the rectangle";
    // No HOTPATTERN: the hot state paints no texture.
    Bitmap32 h = Canvas(9, 9);
    PaintSectionBackground(h, s.Model, s.Section("T"), {}, 1, {1, 1, 9, 9}, {});
    EXPECT_EQ(h.At(6, 7), kUntouched);
    // A hot state asked of a one-state section paints the normal state.
    Bitmap32 o = Canvas(3, 3);
    PaintSectionBackground(o, s.Model, s.Section("ONE"), {}, 2, {0, 0, 3, 3}, {});
    EXPECT_EQ(Rgb(o.At(1, 1)), 0xFF0000u);
    // A colour of its own replaces every layer.
    PaintSectionBackground(o, s.Model, s.Section("T"), {}, 0, {0, 0, 3, 3}, {}, -1, -1, 0x00FF00);
    EXPECT_EQ(Rgb(o.At(1, 1)), 0x00FF00u);
}

TEST(PaintSkinItem, BackgroundCornersAndBorderByState) {
    TestSkin s(
        "[B]\nSTATES=2\nCOLOR=16777215\nHOTCOLOR=16777215\n"
        "BORDERSMASK=^0008,0000,0014,0003,0001,0001,0001,0001,2,0,0,1\n"
        "IMGBTMRIGHT=@0016,0000,0018,0002,1,0\n");
    Bitmap32 parent = Parent();
    TsParentImageInfo bg{&parent, 3, 4, clFuchsia, true};
    for (int state : {0, 1}) {
        SCOPED_TRACE(state);
        Bitmap32 d = Canvas(12, 12);
        ASSERT_TRUE(PaintSkinItem(d, s.Model, s.Section("B"), bg, state, {1, 1, 11, 11}, {}));
        const std::uint32_t border = state == 0 ? kBorder0 : kBorder1;
        EXPECT_EQ(Rgb(d.At(5, 1)), Rgb(border));
        EXPECT_EQ(Rgb(d.At(1, 5)), Rgb(border));
        EXPECT_EQ(Rgb(d.At(5, 5)), 0xFFFFFFu);
        EXPECT_EQ(d.At(0, 0), kUntouched);
        EXPECT_EQ(Rgb(d.At(9, 9)), Rgb(kCorner)) << "the corner image inside the border";
        if (state == 0)
            EXPECT_EQ(d.At(1, 1), parent.At(4, 5)) << "the key pixel of the corner shows the parent";
        else
            EXPECT_EQ(Rgb(d.At(1, 1)), Rgb(kBorder1));
    }
    // A bitmap smaller than the rectangle: nothing at all.
    Bitmap32 small = Canvas(8, 8);
    EXPECT_FALSE(PaintSkinItem(small, s.Model, s.Section("B"), bg, 0, {0, 0, 9, 8}, {}));
    EXPECT_EQ(small.At(3, 3), kUntouched);
    EXPECT_FALSE(PaintSkinItem(small, s.Model, 999, bg, 0, {0, 0, 8, 8}, {}));
}

TEST(PaintSectionBackgroundAt, TheReadyFlagAloneDecides) {
    TestSkin s("[HALF]\nCOLOR=255\nTRANSPARENCY=50\n[SEE]\nCOLOR=255\nTRANSPARENCY=100\n"
               "[SHADE]\nCOLOR=0\nTRANSPARENCY=50\nGRADIENTPERCENT=100\nGRADIENTDATA=16777215;16777215;100;0;0\n");
    // A known fill colour that is not ready: the layers straight (a white
    // gradient), where PaintSectionBackground blends them over the fill.
    const TsParentImageInfo colourOnly{nullptr, 0, 0, 0xFF0000, false};
    Bitmap32 at = Canvas(4, 4), mixed = Canvas(4, 4);
    PaintSectionBackgroundAt(at, s.Model, s.Section("SHADE"), colourOnly, 0, {0, 0, 4, 4}, {});
    PaintSectionBackground(mixed, s.Model, s.Section("SHADE"), colourOnly, 0, {0, 0, 4, 4}, {});
    EXPECT_EQ(Rgb(at.At(1, 1)), 0xFFFFFFu);
    EXPECT_EQ(Rgb(mixed.At(1, 1)), 0x7F7FFEu);
    // A plain colour takes the fill colour's share in both.
    Bitmap32 plain = Canvas(4, 4);
    PaintSectionBackgroundAt(plain, s.Model, s.Section("HALF"), colourOnly, 0, {0, 0, 4, 4}, {});
    EXPECT_EQ(Rgb(plain.At(1, 1)), 0x800080u);
    // A ready image: blended over it, and copied at transparency 100.
    Bitmap32 parent = Parent();
    const TsParentImageInfo image{&parent, 7, 9, clFuchsia, true};
    Bitmap32 half = Canvas(10, 10), see = Canvas(10, 10), ref = Canvas(10, 10);
    PaintSectionBackgroundAt(half, s.Model, s.Section("HALF"), image, 0, {2, 3, 8, 9}, {});
    PaintSectionBackground(ref, s.Model, s.Section("HALF"), image, 0, {2, 3, 8, 9}, {});
    EXPECT_EQ(half.At(4, 4), ref.At(4, 4));
    PaintSectionBackgroundAt(see, s.Model, s.Section("SEE"), image, 0, {2, 3, 8, 9}, {});
    EXPECT_EQ(see.At(2, 3), parent.At(9, 12));
}

TEST(PaintSkinItemSimple, BackgroundAndTheBorderGivenNoCorners) {
    TestSkin s(
        "[B]\nSTATES=2\nCOLOR=16777215\nHOTCOLOR=16777215\n"
        "BORDERSMASK=^0008,0000,0014,0003,0001,0001,0001,0001,2,0,0,1\n"
        "IMGBTMRIGHT=@0016,0000,0018,0002,1,0\n");
    const int border = s.Model.IndexOfMaskExact("B", "BORDERSMASK");
    ASSERT_GE(border, 0);
    Bitmap32 parent = Parent();
    for (int state : {0, 1, 5}) {
        SCOPED_TRACE(state);
        Bitmap32 d = Canvas(12, 12);
        // The background's place moves by the offset for the border: its key
        // corner pixel shows the parent at (1 + 3 + 2, 1 + 4 + 1).
        ASSERT_TRUE(PaintSkinItemSimple(d, s.Model, s.Section("B"), border, -1, -1, {&parent, 3, 4, clFuchsia, true},
                                        state, {1, 1, 11, 11}, {2, 1}));
        const std::uint32_t b = state == 0 ? kBorder0 : kBorder1;  // state 5 is the last one
        EXPECT_EQ(Rgb(d.At(5, 1)), Rgb(b));
        EXPECT_EQ(Rgb(d.At(5, 5)), 0xFFFFFFu);
        EXPECT_EQ(Rgb(d.At(9, 9)), 0xFFFFFFu) << "no corner images";
        if (state == 0) {
            EXPECT_EQ(d.At(1, 1), parent.At(6, 6));
        }
    }
    // No border index: the background alone.
    Bitmap32 plain = Canvas(12, 12);
    ASSERT_TRUE(PaintSkinItemSimple(plain, s.Model, s.Section("B"), -1, -1, -1, {}, 0, {1, 1, 11, 11}, {}));
    EXPECT_EQ(Rgb(plain.At(1, 1)), 0xFFFFFFu);
    // Refused: a rectangle left of or above 0, or larger than the bitmap.
    Bitmap32 small = Canvas(8, 8);
    EXPECT_FALSE(PaintSkinItemSimple(small, s.Model, s.Section("B"), border, -1, -1, {}, 0, {-1, 0, 8, 8}, {}));
    EXPECT_FALSE(PaintSkinItemSimple(small, s.Model, s.Section("B"), border, -1, -1, {}, 0, {0, 0, 9, 8}, {}));
    EXPECT_FALSE(PaintSkinItemSimple(small, s.Model, 999, border, -1, -1, {}, 0, {0, 0, 8, 8}, {}));
    EXPECT_EQ(small.At(3, 3), kUntouched);
}

TEST(PaintControlSkin, TheControlsOwnColourAndTextures) {
    TestSkin s("[P]\nSTATES=1\nCOLOR=255\nIMAGEPERCENT=100\nPATTERN=~0000,0000,0004,0004,00\n"
               "[Q]\nSTATES=1\nCOLOR=255\n");
    const int texture = s.Model.IndexOfMaskExact("P", "PATTERN");
    ASSERT_GE(texture, 0);
    // Its own colour instead of the section's layers.
    Bitmap32 own = Canvas(6, 6);
    PaintControlSkin(own, s.Model, s.Section("Q"), {}, 0, {0, 0, 6, 6}, {}, false, 0, 0, -1, -1, 0x00FF00);
    EXPECT_EQ(Rgb(own.At(3, 3)), 0x00FF00u);
    // The texture the record names, for a section that has none of its own.
    TestSkin t("[P]\nSTATES=1\nCOLOR=255\nIMAGEPERCENT=100\nPATTERN=~0000,0000,0004,0004,00\n"
               "[N]\nSTATES=1\nCOLOR=255\nIMAGEPERCENT=100\n");
    const int named = t.Model.IndexOfMaskExact("P", "PATTERN");
    Bitmap32 tex = Canvas(6, 6), none = Canvas(6, 6);
    PaintControlSkin(tex, t.Model, t.Section("N"), {}, 0, {0, 0, 6, 6}, {}, false, 0, 0, named, -1);
    PaintControlSkin(none, t.Model, t.Section("N"), {}, 0, {0, 0, 6, 6}, {}, false);
    EXPECT_EQ(Rgb(tex.At(1, 2)), 0x002850u) << "the texture pixel (1, 2)";
    EXPECT_NE(Rgb(none.At(1, 2)), 0x002850u);
}

}  // namespace
}  // namespace kova::skin
