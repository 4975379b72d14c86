#include "skin/controls/portable/smallgeometry.h"

#include <gtest/gtest.h>

namespace kova::skin {
namespace {

TEST(SpeedButtonLayout, GlyphAndCaptionByLayoutMarginSpacing) {
    struct Case {
        const char* name;
        TSpeedButtonLayoutInput in;
        TRect glyph, caption;
    };
    // A 100 x 30 button, a 16 x 16 glyph, a 40 x 13 caption.
    auto base = [](TGlyphLayout l, int margin, int spacing, bool pressed) {
        TSpeedButtonLayoutInput in;
        in.Width = 100, in.Height = 30, in.GlyphWidth = 16, in.GlyphHeight = 16;
        in.CaptionWidth = 40, in.CaptionHeight = 13, in.Layout = l, in.Margin = margin, in.Spacing = spacing;
        in.Pressed = pressed;
        return in;
    };
    const Case cases[] = {
        // Centred together: (100 - 16 - 4 - 40) / 2 = 20; caption at 20 + 16 + 4.
        {"left centred", base(glGlyphLeft, -1, 4, false), {20, 7, 36, 23}, {40, 9, 80, 22}},
        {"left centred down", base(glGlyphLeft, -1, 4, true), {21, 8, 37, 24}, {41, 10, 81, 23}},
        {"left margin", base(glGlyphLeft, 5, 2, false), {5, 7, 21, 23}, {23, 9, 63, 22}},
        {"right centred", base(glGlyphRight, -1, 4, false), {64, 7, 80, 23}, {20, 9, 60, 22}},
        {"right margin", base(glGlyphRight, 3, 4, false), {81, 7, 97, 23}, {37, 9, 77, 22}},
        // Vertically: (30 - 16 - 4 - 13) = -3, halved with the odd pixel: -1 - 1 = -2.
        {"top centred", base(glGlyphTop, -1, 4, false), {42, -2, 58, 14}, {30, 18, 70, 31}},
        {"top margin", base(glGlyphTop, 1, 0, false), {42, 1, 58, 17}, {30, 17, 70, 30}},
        {"bottom margin", base(glGlyphBottom, 1, 0, false), {42, 13, 58, 29}, {30, 0, 70, 13}},
    };
    for (const Case& c : cases) {
        const TSpeedButtonLayout l = LayoutSpeedButton(c.in);
        EXPECT_EQ(l.Glyph, c.glyph) << c.name;
        EXPECT_EQ(l.Caption, c.caption) << c.name;
    }
}

TEST(SpeedButtonLayout, CaptionAloneIsCentredOrAtItsMargin) {
    TSpeedButtonLayoutInput in;
    in.Width = 100, in.Height = 30, in.CaptionWidth = 41, in.CaptionHeight = 13, in.Spacing = 4;
    // Odd room: the odd pixel goes before the caption.
    EXPECT_EQ(LayoutSpeedButton(in).Caption, (TRect{30, 9, 71, 22}));
    EXPECT_EQ(LayoutSpeedButton(in).Glyph, TRect{});
    in.Margin = 6;
    EXPECT_EQ(LayoutSpeedButton(in).Caption, (TRect{6, 9, 47, 22}));
    in.Layout = glGlyphRight;
    EXPECT_EQ(LayoutSpeedButton(in).Caption, (TRect{53, 9, 94, 22}));
    // A glyph strip of four images, or a strip that claims none.
    EXPECT_EQ(GlyphImageWidth(64, 4), 16);
    EXPECT_EQ(GlyphImageWidth(64, 0), 64);
}

TEST(ToolButtons, StateAndImageListFromCustomDrawState) {
    EXPECT_EQ(ToolButtonState(0), 0);
    EXPECT_EQ(ToolButtonState(cdsDisabled), 0);
    EXPECT_EQ(ToolButtonState(cdsHot), 1);
    EXPECT_EQ(ToolButtonState(cdsHot | cdsDisabled), 1);
    EXPECT_EQ(ToolButtonState(cdsSelected | cdsHot), 2);
    EXPECT_EQ(ToolButtonState(cdsChecked), 2);
    EXPECT_EQ(ToolButtonState(0, true), 2);
    // [cdsDisabled] draws from the normal list even with hot images.
    EXPECT_FALSE(UseHotImages(ToolButtonState(cdsDisabled), true, 10, 2));
    EXPECT_TRUE(UseHotImages(1, true, 10, 2));
    EXPECT_FALSE(UseHotImages(1, true, 2, 2));
    EXPECT_FALSE(UseHotImages(1, false, 10, 2));
}

TEST(ToolButtons, GlyphAndCaptionRectangles) {
    TToolGlyphInput g;
    g.ButtonWidth = 23, g.ButtonHeight = 22, g.ImageWidth = 16, g.ImageHeight = 16;
    EXPECT_EQ(ToolButtonGlyphRect(g), (TRect{5, 3, 21, 19}));
    g.State = 2;
    EXPECT_EQ(ToolButtonGlyphRect(g), (TRect{6, 4, 22, 20}));
    g.State = 0, g.DropDown = true;
    EXPECT_EQ(ToolButtonGlyphRect(g).Left, -3);
    g.DropDown = false, g.ShowCaptions = true, g.ButtonHeight = 36, g.TextHeight = 13;
    EXPECT_EQ(ToolButtonGlyphRect(g).Top, 2);
    g.ListStyle = true;
    EXPECT_EQ(ToolButtonGlyphRect(g), (TRect{5, 10, 21, 26}));

    TToolCaptionInput c;
    c.ButtonWidth = 60, c.ButtonHeight = 36, c.TextWidth = 30, c.TextHeight = 13;
    c.HasImage = true, c.ImageWidth = 16, c.ImageHeight = 16;
    // Under the image: gap (36 - 16 - 13 - 3) / 2 = 2, y = 16 + 2 + 3.
    EXPECT_EQ(ToolButtonCaptionRect(c), (TRect{14, 21, 47, 34}));
    c.ListStyle = true, c.ArrowWidth = 15;
    EXPECT_EQ(ToolButtonCaptionRect(c), (TRect{22, 2, 43, 34}));
    c.HasImage = false, c.State = 2;
    EXPECT_EQ(ToolButtonCaptionRect(c), (TRect{2, 3, 44, 35}));
}

// Split at the last space whose first part fits (one unit per character).
TEST(ToolButtons, CaptionSplitsOverTwoLinesAtASpace) {
    const auto chars = [](const std::string& t) { return static_cast<int>(t.size()); };
    struct Case {
        const char* text;
        int width;
        const char *first, *rest;
    } cases[] = {
        {"Open", 10, "Open", ""},                          // fits
        {"Open the file", 13, "Open the file", ""},        // fits exactly
        {"Open the file", 9, "Open the", "file"},          // the last space that fits
        {"Open the file", 5, "Open", "the file"},          // an earlier one
        {"Openthefile", 5, "Openthefile", ""},             // no space: one line
        {"Extraordinary file", 5, "Extraordinary file", ""},  // no first part fits
        {"", 0, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TCaptionLines l = SplitToolButtonCaption(c.text, c.width, chars);
        EXPECT_EQ(l.First, c.first);
        EXPECT_EQ(l.Rest, c.rest);
    }
}

TEST(ToolButtons, HotTrackingSkipsDisabledAndSeparators) {
    const std::vector<TToolHitButton> b = {
        {{0, 0, 23, 22}}, {{23, 0, 31, 22}, true}, {{31, 0, 54, 22}, false, false}, {{54, 0, 77, 22}}};
    EXPECT_EQ(NextHotButton(b, {5, 5}, -1), 0);
    EXPECT_EQ(NextHotButton(b, {60, 5}, 0), 3);
    EXPECT_EQ(NextHotButton(b, {25, 5}, 0), -1);   // separator
    EXPECT_EQ(NextHotButton(b, {40, 5}, 3), 3);    // disabled: keeps the previous
    EXPECT_EQ(NextHotButton(b, {40, 5}, -1), -1);
    EXPECT_EQ(NextHotButton(b, {100, 5}, 3), -1);  // empty space
}

TEST(SpinHalves, HalvesAndTheirStates) {
    // A vertical 17 x 21 control: the upper half takes the odd line.
    const TSpinHalves v = SpinHalves(17, 21, true);
    EXPECT_EQ(v.First, (TRect{0, 0, 17, 11}));
    EXPECT_EQ(v.Second, (TRect{0, 10, 17, 21}));
    const TSpinHalves h = SpinHalves(31, 15, false);
    EXPECT_EQ(h.First, (TRect{0, 0, 16, 15}));
    EXPECT_EQ(h.Second, (TRect{15, 0, 31, 15}));
    struct Case {
        bool inside;
        TPoint at;
        bool down;
        int first, second;
    } cases[] = {
        {true, {5, 3}, true, 2, 0}, {true, {5, 3}, false, 1, 0}, {true, {5, 18}, true, 0, 2},
        {true, {5, 10}, false, 1, 0}, {false, {5, 3}, true, 0, 0},
    };
    for (const Case& c : cases) {
        int a = -1, b = -1;
        SpinHalfStates(v, c.inside, c.at, c.down, a, b);
        EXPECT_EQ(a, c.first) << c.at.Y;
        EXPECT_EQ(b, c.second) << c.at.Y;
    }
}

TEST(TrackTicks, AtTheEndsOfTheThumbTravelAndEvenlyBetween) {
    // Channel 8..208, thumb 11 long: travel 189.
    const TTrackTicks two = TrackTickPositions(8, 200, 11, 2);
    EXPECT_DOUBLE_EQ(two.Step, 189.0);
    EXPECT_EQ(two.Positions, (std::vector<int>{14, 203}));
    const TTrackTicks eleven = TrackTickPositions(8, 200, 11, 11);
    ASSERT_EQ(eleven.Positions.size(), 11u);
    EXPECT_EQ(eleven.Positions[1], 33);  // 18.9 + 14 rounded
    EXPECT_EQ(eleven.Positions[10], 203);
    // One tick or none: no division by zero.
    EXPECT_EQ(TrackTickPositions(8, 200, 11, 1).Positions, (std::vector<int>{14}));
    EXPECT_DOUBLE_EQ(TrackTickPositions(8, 200, 11, 1).Step, 0.0);
    EXPECT_TRUE(TrackTickPositions(8, 200, 11, 0).Positions.empty());
    const TTickSides s = TrackTickSides(10, 14, 21, 4, 4);
    EXPECT_EQ(s.AfterStart, 14 + 9 + 2);
    EXPECT_EQ(s.BeforeStart, 10 - 11 - 4);
}

TEST(Panels, SectionFromBevelsAndBorder) {
    struct Case {
        TPanelBevel outer, inner;
        bool border;
        const char* section;
    } cases[] = {
        {pbLowered, pbNone, false, "PANEL_LOW"}, {pbLowered, pbLowered, false, "PANEL_LOW"},
        {pbLowered, pbRaised, false, "GROUPBOX"}, {pbRaised, pbNone, false, "PANEL"},
        {pbRaised, pbRaised, true, "PANEL"},      {pbRaised, pbLowered, false, "GROUPBOX"},
        {pbNone, pbRaised, true, "PANEL_LOW"},    {pbSpace, pbNone, true, "PANEL_LOW"},
        {pbNone, pbNone, false, "CHECKBOX"},      {pbSpace, pbLowered, false, "CHECKBOX"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PanelSectionForBevels(c.outer, c.inner, c.border), c.section) << c.outer << c.inner << c.border;
}

TEST(Panels, SectionFollowsOuterBevelOnlyFromItsOwnSection) {
    EXPECT_EQ(PanelSectionOnBevelChange(pbRaised, "PANEL", pbLowered), "PANEL_LOW");
    EXPECT_EQ(PanelSectionOnBevelChange(pbRaised, "PANEL", pbNone), "CHECKBOX");
    EXPECT_EQ(PanelSectionOnBevelChange(pbNone, "CHECKBOX", pbRaised), "PANEL");
    EXPECT_EQ(PanelSectionOnBevelChange(pbLowered, "PANEL_LOW", pbNone), "CHECKBOX");
    EXPECT_EQ(PanelSectionOnBevelChange(pbRaised, "MYPANEL", pbLowered), "MYPANEL");
    EXPECT_EQ(PanelSectionOnBevelChange(pbRaised, "PANEL", pbSpace), "PANEL");
}

TEST(Panels, CaptionRoomAndFill) {
    EXPECT_EQ(PanelCaptionRect({0, 0, 100, 40}, 2, 3, pbRaised, pbLowered), (TRect{8, 8, 92, 32}));
    EXPECT_EQ(PanelCaptionRect({0, 0, 100, 40}, 0, 3, pbNone, pbNone), (TRect{0, 0, 100, 40}));
    // Transparency 50: the even mix of the parent colour and the section's.
    EXPECT_EQ(PanelFillColor(0x000000, 0xC8C8C8, 50), 0x646464u);
    EXPECT_EQ(PanelFillColor(0x102030, 0xC8C8C8, 0), 0xC8C8C8u);
    EXPECT_EQ(PanelFillColor(0x102030, 0xC8C8C8, 100), 0x102030u);
}

TEST(StatusBars, PanelTextRoom) { EXPECT_EQ(StatusPanelTextRect({10, 2, 110, 20}), (TRect{12, 2, 106, 19})); }

TEST(ExcludedWindowClasses, ExactAndCaseSensitive) {
    EXPECT_TRUE(IsExcludedWindowClass("TApplication"));
    EXPECT_TRUE(IsExcludedWindowClass("TfcPopup"));
    EXPECT_FALSE(IsExcludedWindowClass("tapplication"));
    EXPECT_FALSE(IsExcludedWindowClass("TApplicationX"));
    EXPECT_FALSE(IsExcludedWindowClass(nullptr));
    EXPECT_TRUE(std::is_sorted(ExcludedWindowClasses().begin(), ExcludedWindowClasses().end()));
}

}  // namespace
}  // namespace kova::skin
