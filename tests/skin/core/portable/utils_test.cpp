#include "skin/core/portable/utils.h"

#include "skin/core/portable/bitmaps.h"

#include <gtest/gtest.h>

namespace kova::skin {
namespace {

TEST(Utils, Rectangles) {
    const TRect back{10, 0, 5, 4};
    EXPECT_EQ(RectWidth(back), -5);
    EXPECT_EQ(RectWidth(back, true), 0);
    EXPECT_EQ(RectHeight({0, 8, 0, 2}, true), 0);
    EXPECT_TRUE(RectsOverlap({0, 0, 10, 10}, {9, 9, 12, 12}));
    EXPECT_FALSE(RectsOverlap({0, 0, 10, 10}, {10, 0, 12, 12}));
    EXPECT_FALSE(RectsOverlap({0, 0, 10, 10}, {5, 5, 5, 8}));  // empty
    EXPECT_TRUE(RectContainsRect({0, 0, 10, 10}, {0, 0, 10, 10}));
    EXPECT_FALSE(RectContainsRect({0, 0, 10, 10}, {0, 0, 11, 10}));
}

TEST(Utils, Integers) {
    EXPECT_EQ(ClampToByte(-3), 0);
    EXPECT_EQ(ClampToByte(300), 255);
    EXPECT_TRUE(IsBetween(5, 10, 1));
    EXPECT_TRUE(IsBetween(10, 10, 1));
    EXPECT_FALSE(IsBetween(11, 1, 10));
    EXPECT_EQ(BlendPercent(50, 50), 75);
    EXPECT_EQ(BlendPercent(1, 50), 50);  // 50.5 -> 50, halves to even
    EXPECT_EQ(BlendPercent(3, 50), 52);  // 51.5 -> 52
}

TEST(Utils, HexText) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"FF", 255}, {"ff", 255}, {"FFH", 255}, {"FG", 0}, {"", 0}, {"10", 16}, {"H", 0}, {"7fffffffffffffff", INT64_MAX}};
    for (const auto& [text, value] : cases) EXPECT_EQ(HexTextToInt(text), value) << text;
}

TEST(Utils, Words) {
    const TCharSet comma = CharSet(",");
    EXPECT_EQ(NthWord(2, ",a,,b,", comma), "b");
    EXPECT_EQ(CountWords(",a,,b,", comma), 2);
    EXPECT_EQ(NthWordPos(2, ",a,,b,", comma), 5);
    EXPECT_EQ(NthWordPos(3, ",a,,b,", comma), 0);
    EXPECT_EQ(NthWordPos(0, "a", comma), 0);
    EXPECT_EQ(NthWord(1, "abc", comma), "abc");
    EXPECT_EQ(CountWords("", comma), 0);
    EXPECT_TRUE(CharInCharSet(',', comma));
    EXPECT_FALSE(CharInCharSet('\xE9', comma));
}

TEST(Utils, Strings) {
    EXPECT_EQ(RemoveChar("a-b-c", '-'), "abc");
    EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");  // replacements are not rescanned
    EXPECT_EQ(ReplaceAll("x.y.z", ".", ""), "xyz");
    EXPECT_EQ(ReplaceAll("abc", "", "q"), "abc");
    EXPECT_EQ(AddTrailingBackslash("C"), "C:\\");
    EXPECT_EQ(AddTrailingBackslash("C:/skins/"), "C:/skins\\");
    EXPECT_EQ(AddTrailingBackslash("dir"), "dir\\");
    EXPECT_EQ(AddTrailingBackslash(""), "");
    EXPECT_EQ(AddTrailingBackslash("d\\"), "d\\");
}

TEST(Utils, Records) {
    PixelBuffer32 b(1, 1);
    TsParentImageInfo info;
    FillParentImageInfo(&b, 4, 5, info);
    EXPECT_EQ(info.Bmp, &b);
    EXPECT_EQ(info.Y, 5);
    EXPECT_EQ(info.FillColor, 0xFF00FFu);
    EXPECT_TRUE(info.Ready);
}

}  // namespace
}  // namespace kova::skin

#include "skin/core/portable/msgboxstyle.h"

namespace kova::skin {
namespace {

TEST(MsgBoxCaption, ByType) {
    EXPECT_EQ(MsgBoxDefaultCaption(mtConfirmation), "Confirm");
    EXPECT_EQ(MsgBoxDefaultCaption(mtCustom), "");
}

TEST(Utils, TransparentRuns) {
    PixelBuffer32 b(4, 2);
    b.Fill(0xFF000000u);
    b.At(1, 0) = 0x00FF00FFu;
    b.At(2, 0) = 0xFFFF00FFu;  // alpha does not matter
    b.At(0, 1) = 0x00FF00FFu;
    const auto runs = AddTransparentRuns(b, 0xFF00FF);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], (TRect{1, 0, 3, 1}));
    EXPECT_EQ(runs[1], (TRect{0, 1, 1, 2}));
    // The complement, in the order a region's rectangle list needs.
    const auto opaque = OpaqueRuns(b, 0xFF00FF);
    ASSERT_EQ(opaque.size(), 3u);
    EXPECT_EQ(opaque[0], (TRect{0, 0, 1, 1}));
    EXPECT_EQ(opaque[1], (TRect{3, 0, 4, 1}));
    EXPECT_EQ(opaque[2], (TRect{1, 1, 4, 2}));
}

}  // namespace
}  // namespace kova::skin
