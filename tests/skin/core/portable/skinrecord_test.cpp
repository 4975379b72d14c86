// The record's window-free decisions: default sections, kind sets, the
// colour a half-transparent control shows its children, bound-label places
// and when a background is more than a plain colour.
#include "skin/core/portable/skinrecord.h"

#include <gtest/gtest.h>

namespace kova::skin {
namespace {

TEST(SkinRecordRules, DefaultSectionByKind) {
    const struct {
        int code;
        const char* section;
    } cases[] = {
        {2, "EDIT"},       {8, "EDIT"},         {9, ""},           {10, "EDIT"},        {41, "EDIT"},
        {77, ""},          {85, "EDIT"},        {227, "EDIT"},     {11, "COMBOBOX"},    {18, "COMBOBOX"},
        {82, "COMBOBOX"},  {19, "BAR"},         {20, "BARTITLE"},  {152, "CHECKBOX"},   {33, "RADIOBUTTON"},
        {73, "PANEL"},     {58, "PANEL_LOW"},   {60, "TOOLBAR"},   {56, "DRAGBAR"},     {57, "TABSHEET"},
        {226, "GROUPBOX"}, {75, "SPLITTER"},    {95, "SPEEDBUTTON"}, {94, "BUTTON"},    {98, "TOOLBUTTON"},
        {143, "PAGECONTROL"}, {151, "STATUSBAR"}, {161, "GAUGE"},  {165, "TRACKBAR"},   {0, ""},
        {-1, ""},          {1000, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(DefaultSectionForCode(c.code), c.section) << c.code;
}

TEST(SkinRecordRules, KindSets) {
    // Edges of every range, and codes beyond a byte are in no set.
    for (int c : {19, 51, 60, 74, 110, 141, 150, 161}) EXPECT_TRUE(IsHotlessKind(c)) << c;
    for (int c : {18, 20, 50, 75, 109, 140, 162, 256 + 51}) EXPECT_FALSE(IsHotlessKind(c)) << c;
    for (int c : {51, 52, 54, 56, 60, 68, 73, 74, 110, 141, 143, 151, 161, 226}) EXPECT_TRUE(IsGlowlessKind(c)) << c;
    for (int c : {53, 55, 61, 142, 2, 93, 256 + 51}) EXPECT_FALSE(IsGlowlessKind(c)) << c;
    for (int c : {2, 18, 41, 76, 84, 96, 131, 140}) EXPECT_TRUE(IsEditKind(c)) << c;
    for (int c : {1, 19, 40, 85, 95, 130, 141, 256 + 2}) EXPECT_FALSE(IsEditKind(c)) << c;
    // Push buttons take hover but never glow on entry.
    for (int c : {92, 93, 94}) {
        EXPECT_FALSE(GlowsOnMouseEnter(c)) << c;
        EXPECT_FALSE(IsHotlessKind(c)) << c;
    }
    EXPECT_TRUE(GlowsOnMouseEnter(95));
    EXPECT_FALSE(GlowsOnMouseEnter(51));
}

TEST(SkinRecordRules, ParentShowsThroughByTransparencyOver256) {
    // White parent, black section, 50: 255 * 50 div 256 in each channel.
    EXPECT_EQ(MixParentColor(0xFFFFFF, 0x000000, 50), 0x313131u);
    // Per channel, rounded down, also toward a parent darker than the section.
    EXPECT_EQ(MixParentColor(0x0000FF, 0x00FF00, 128), 0x007F7Fu);
    EXPECT_EQ(MixParentColor(0x000000, 0x0A0A0A, 99), 0x060606u);
    EXPECT_EQ(MixParentColor(0xFFFFFF, 0x000000, 99), 0x626262u);
    EXPECT_EQ(MixParentColor(0x123456, 0x123456, 50), 0x123456u);
}

TEST(SkinRecordRules, BoundLabelPlaces) {
    const TRect control{100, 50, 100 + 80, 50 + 21};
    const struct {
        TsCaptionLayout layout;
        TPoint at;
        TLabelAlign align;
    } cases[] = {
        {sclLeft, {56, 53}, TLabelAlign::Right},        {sclTopLeft, {100, 37}, TLabelAlign::Left},
        {sclTopCenter, {120, 37}, TLabelAlign::Center}, {sclTopRight, {140, 37}, TLabelAlign::Right},
        {sclLeftTop, {56, 53}, TLabelAlign::Left},      {sclBottomLeft, {100, 71}, TLabelAlign::Left},
        {sclBottomCenter, {120, 71}, TLabelAlign::Center}, {sclBottomRight, {140, 71}, TLabelAlign::Right},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BoundLabelPosition(c.layout, control, 40, 13, 0), c.at) << int(c.layout);
        EXPECT_EQ(BoundLabelAlignment(c.layout), c.align) << int(c.layout);
    }
    // The indent widens the gap; an odd difference truncates toward zero.
    EXPECT_EQ(BoundLabelPosition(sclLeft, control, 40, 13, 5), (TPoint{51, 53}));
    EXPECT_EQ(BoundLabelPosition(sclBottomLeft, control, 40, 13, 5), (TPoint{100, 76}));
    EXPECT_EQ(BoundLabelPosition(sclLeft, {0, 0, 10, 10}, 4, 13, 0), (TPoint{-8, -2}));
    EXPECT_EQ(BoundLabelPosition(sclTopCenter, {0, 0, 3, 10}, 4, 13, 0), (TPoint{0, -13}));
}

TEST(SkinRecordRules, ComplexBackground) {
    int asked = 0;
    auto plainParent = [&] { ++asked; return true; };
    auto patternedParent = [&] { ++asked; return false; };
    TComplexBgInput in;
    in.Skinned = true;
    EXPECT_FALSE(HasComplexBackground(in, plainParent));
    // A transparent panel over a plain parent stays plain; over a patterned one it is not.
    in.Transparency = 100;
    in.HasOwnerParent = true;
    EXPECT_FALSE(HasComplexBackground(in, plainParent));
    EXPECT_TRUE(HasComplexBackground(in, patternedParent));
    EXPECT_EQ(asked, 2);
    in.HasOwnerParent = false;
    EXPECT_TRUE(HasComplexBackground(in, plainParent));
    in.HasOwnerParent = true;
    in.TextureDrawMode10 = true;
    EXPECT_TRUE(HasComplexBackground(in, plainParent));
    EXPECT_EQ(asked, 2);
    in = {};
    in.Skinned = true;
    in.Transparency = 1;
    EXPECT_TRUE(HasComplexBackground(in, plainParent));
    in.Transparency = 0;
    in.GradientPercent = 10;
    EXPECT_TRUE(HasComplexBackground(in, plainParent));
    in.GradientPercent = 0;
    in.ImagePercent = 10;
    EXPECT_TRUE(HasComplexBackground(in, plainParent));
    in.ImagePercent = 0;
    // Border masks: wide margins or the drawing mode's bit 2.
    in.HasBorder = true;
    in.MarginLeft = in.MarginRight = 10;
    EXPECT_FALSE(HasComplexBackground(in, plainParent));
    in.MarginRight = 11;
    EXPECT_TRUE(HasComplexBackground(in, plainParent));
    in.MarginRight = 0;
    in.MarginTop = 21;
    EXPECT_TRUE(HasComplexBackground(in, plainParent));
    in.MarginTop = 0;
    in.BorderDrawMode = 4;
    EXPECT_TRUE(HasComplexBackground(in, plainParent));
    in.BorderDrawMode = 3;
    EXPECT_FALSE(HasComplexBackground(in, plainParent));
    in.Skinned = false;
    in.BorderDrawMode = 4;
    EXPECT_FALSE(HasComplexBackground(in, plainParent));
}

TEST(SkinRecordRules, ParentDependence) {
    int parentAsked = 0, selfAsked = 0;
    auto parentYes = [&] { ++parentAsked; return true; };
    auto selfNo = [&] { ++selfAsked; return false; };
    EXPECT_TRUE(ParentDependentAnswer(100, 0, 0, true, parentYes, selfNo));
    EXPECT_EQ(parentAsked, 1);
    // Without a parent the gradient and image decide, then the record itself.
    EXPECT_TRUE(ParentDependentAnswer(100, 10, 0, false, parentYes, selfNo));
    EXPECT_FALSE(ParentDependentAnswer(100, 0, 0, false, parentYes, selfNo));
    EXPECT_TRUE(ParentDependentAnswer(0, 0, 5, true, parentYes, selfNo));
    EXPECT_FALSE(ParentDependentAnswer(50, 0, 0, true, parentYes, selfNo));
    EXPECT_EQ(parentAsked, 1);
    EXPECT_EQ(selfAsked, 2);
}

TEST(SkinRecordRules, OpaqueFlags) {
    EXPECT_EQ(SectionOpaqueFlags(0, -1), 0);
    EXPECT_EQ(SectionOpaqueFlags(30, -1), 4);
    EXPECT_EQ(SectionOpaqueFlags(0, 0), 2);
    EXPECT_EQ(SectionOpaqueFlags(0, 1), 1);
    EXPECT_EQ(SectionOpaqueFlags(1, 2), 7);
    EXPECT_EQ(SectionOpaqueFlags(0, 3), 0);
}

}  // namespace
}  // namespace kova::skin
