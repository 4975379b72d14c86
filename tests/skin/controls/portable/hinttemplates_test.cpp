// Image hint templates: border clamps, change notification, the picture
// premultiplied once, and the default template from our own picture.
#include "skin/controls/portable/hinttemplates.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace kova::skin::test {
namespace {

PixelBuffer32 Straight(int w, int h, std::uint32_t pixel) {
    PixelBuffer32 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.At(x, y) = pixel;
    return b;
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(HintTemplates, ABorderAtOrPastTheHeightStopsOneShortAndShrinksItsOpposite) {
    TacHintTemplate t;
    TacHintImage& img = t.ImageDefault();
    img.SetImage(Straight(20, 10, 0xFF000000u));
    EXPECT_EQ(img.BordersWidths().Top(), 4) << "fitted to the middle";
    EXPECT_EQ(img.BordersWidths().Bottom(), 4);
    EXPECT_EQ(img.BordersWidths().Left(), 9);
    for (int top : {10, 11, 1000}) {
        img.BordersWidths().SetBottom(3);
        img.BordersWidths().SetTop(top);
        EXPECT_EQ(img.BordersWidths().Top(), 9);
        EXPECT_EQ(img.BordersWidths().Bottom(), 0);
    }
    img.ClientMargins().SetLeft(6);
    img.ClientMargins().SetRight(17);
    EXPECT_EQ(img.ClientMargins().Right(), 17);
    EXPECT_EQ(img.ClientMargins().Left(), 2) << "20 - 17 - 1";
    img.ClientMargins().SetRight(-5);
    EXPECT_EQ(img.ClientMargins().Right(), 0) << "a negative value reads as 0";
}

TEST(HintTemplates, AnEmptyImageReportsNoSizeAndItsBordersReadZero) {
    TacHintTemplate t;
    TacHintImage& img = t.ImgRightTop();
    EXPECT_EQ(img.ImageWidth(), 0);
    EXPECT_EQ(img.ImageHeight(), 0);
    img.BordersWidths().SetTop(5);
    EXPECT_EQ(img.BordersWidths().Top(), 0);
    img.LoadPng({1, 2, 3});
    EXPECT_EQ(img.ImageWidth(), 0) << "an unreadable picture leaves none";
}

TEST(HintTemplates, ChangesTellTheCollectionsOwnerUnlessItIsLoading) {
    TacHintTemplates list;
    int told = 0;
    list.OnChange = [&] { ++told; };
    TacHintTemplate& t = list.Add();
    t.ImageDefault().SetImage(Straight(8, 8, 0xFF102030u));
    EXPECT_EQ(told, 1);
    t.ImageDefault().BordersWidths().SetLeft(2);
    EXPECT_EQ(told, 2);
    t.ImageDefault().BorderDrawModes().Set(4, dmRepeat);
    EXPECT_EQ(told, 3);
    EXPECT_EQ(t.ImageDefault().BorderDrawModes().Get(4), dmRepeat);
    THtmlFont f;
    f.Name = "Tahoma";
    t.SetFont(f);
    EXPECT_EQ(told, 4);
    list.Loading = true;
    t.ImageDefault().BordersWidths().SetTop(1);
    EXPECT_EQ(told, 4);

    // A template of no collection tells nobody (the default one).
    TacHintTemplate alone;
    alone.ImageDefault().SetImage(Straight(8, 8, 0xFF102030u));
    alone.ImageDefault().BordersWidths().SetLeft(2);
    EXPECT_EQ(told, 4);
}

// Copying a template's picture keeps its colours: it is premultiplied once,
// when it is set, not again by every copy.
TEST(HintTemplates, APictureIsPremultipliedOnceNotOnEveryAssign) {
    TacHintTemplate a, b, c;
    a.ImageDefault().SetImage(Straight(4, 4, 0x80C86432u));
    const std::uint32_t once = a.ImageDefault().Image().At(1, 1);
    EXPECT_EQ(once, 0x80643219u) << "each channel * 128 / 255, rounded down";
    b.Assign(a);
    c.SetImage(0, b.ImageDefault());
    b.Assign(c);
    EXPECT_EQ(b.ImageDefault().Image().At(1, 1), once);
    EXPECT_EQ(c.ImageDefault().Image().At(1, 1), once);
    // Setting the same straight picture again starts from it afresh.
    a.ImageDefault().SetImage(Straight(4, 4, 0x80C86432u));
    EXPECT_EQ(a.ImageDefault().Image().At(1, 1), once);
}

TEST(HintTemplates, AssigningATemplateCopiesPicturesFontAndName) {
    TacHintTemplate a;
    a.Name = "note";
    THtmlFont f;
    f.Name = "Tahoma";
    f.Size = 11;
    a.SetFont(f);
    a.ImgLeftBottom().SetImage(Straight(10, 12, 0xFF0000FFu));
    a.ImgLeftBottom().BordersWidths().SetLeft(3);
    a.ImgLeftBottom().ClientMargins().SetTop(2);
    a.ImgLeftBottom().BorderDrawModes().Set(0, dmRepeat);
    TacHintTemplate b;
    b.Assign(a);
    EXPECT_EQ(b.Name, "note");
    EXPECT_EQ(b.Font(), f);
    TacHintImage& img = b.ImgLeftBottom();
    EXPECT_EQ(img.ImageWidth(), 10);
    EXPECT_EQ(img.ImageHeight(), 12);
    EXPECT_EQ(img.BordersWidths().Left(), 3);
    EXPECT_EQ(img.BordersWidths().Right(), 4);
    EXPECT_EQ(img.ClientMargins().Top(), 2);
    EXPECT_EQ(img.BorderDrawModes().Get(0), dmRepeat);
    EXPECT_EQ(b.ImageDefault().ImageWidth(), 0);
}

TEST(HintTemplates, TheDefaultTemplateFromOurPicture) {
    const std::vector<std::uint8_t> png = ReadFile(KOVA_SOURCE_DIR "/src/skin/core/images/ACHINT.png");
    ASSERT_FALSE(png.empty());
    const std::unique_ptr<TacHintTemplate> t = MakeDefaultHintTemplate(png);
    ASSERT_EQ(t->Collection(), nullptr);
    TacHintImage& img = t->ImageDefault();
    ASSERT_EQ(img.ImageWidth(), 32);
    ASSERT_EQ(img.ImageHeight(), 32);
    const TacBordersSizes& b = img.BordersWidths();
    EXPECT_EQ((std::array{b.Left(), b.Top(), b.Right(), b.Bottom()}), (std::array{7, 7, 15, 15}));
    const TacBordersSizes& m = img.ClientMargins();
    EXPECT_EQ((std::array{m.Left(), m.Top(), m.Right(), m.Bottom()}), (std::array{11, 7, 15, 14}));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(img.BorderDrawModes().Get(i), dmStretch);
    // The note is opaque in its middle, its shadow partly transparent and
    // premultiplied, and the far corner clear.
    const PixelBuffer32& px = img.Image();
    EXPECT_EQ(px.At(12, 12) >> 24, 255u);
    const std::uint32_t shadow = px.At(28, 16);
    EXPECT_GT(shadow >> 24, 0u);
    EXPECT_LT(shadow >> 24, 255u);
    for (int sh : {0, 8, 16}) EXPECT_LE((shadow >> sh) & 0xFF, shadow >> 24);
    EXPECT_EQ(px.At(31, 0) >> 24, 0u);
    // The text area lies inside the opaque note.
    EXPECT_EQ(px.At(m.Left(), m.Top()) >> 24, 255u);
    EXPECT_EQ(px.At(31 - m.Right(), 31 - m.Bottom()) >> 24, 255u);
}

}  // namespace
}  // namespace kova::skin::test
