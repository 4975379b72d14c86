// Mini-HTML hint text on a recording canvas whose letters are as wide as
// the font's size (bold one more) and as high as the size plus two.
#include "skin/controls/portable/htmltext.h"

#include <gtest/gtest.h>

namespace kova::skin::test {
namespace {

struct TDrawn {
    THtmlFont Font;
    int X, Y;
    std::string Text;
};

class RecordingCanvas : public THtmlCanvas {
public:
    TSize TextExtent(const THtmlFont& f, const std::string& text) override {
        return TSize{static_cast<int>(text.size()) * (f.Size + (f.Bold ? 1 : 0)), f.Size + 2};
    }
    void TextOut(const THtmlFont& f, int x, int y, const std::string& text) override {
        Drawn.push_back({f, x, y, text});
    }
    std::string AllText() const {
        std::string s;
        for (const TDrawn& d : Drawn) s += d.Text;
        return s;
    }
    std::vector<TDrawn> Drawn;
};

THtmlFont BaseFont() {
    THtmlFont f;
    f.Name = "Segoe UI";
    f.Size = 8;
    return f;
}

struct TRendered {
    RecordingCanvas Canvas;
    TRect R;
    THtmlFont FinalFont;
};

void Render(TRendered& out, const std::string& text, TRect rect = Rect(0, 0, 200, 0)) {
    TsHtml html;
    html.Init(out.Canvas, BaseFont(), text, rect);
    html.Render(out.R);
    out.FinalFont = html.Font();
}

TEST(HtmlText, ADoubledBracketBetweenTwoLettersDrawsOneBracket) {
    TRendered r;
    Render(r, "a<<b");
    EXPECT_EQ(r.Canvas.AllText(), "a<b");
    ASSERT_EQ(r.Canvas.Drawn.size(), 2u);
    EXPECT_EQ(r.Canvas.Drawn[1].X, 8) << "the bracket and b follow a";
    EXPECT_EQ(r.R.Right, 3 * 8);
}

TEST(HtmlText, ABracketWithoutClosingIsDroppedAndTheLettersAroundDrawn) {
    TRendered r;
    Render(r, "ab<cd");
    EXPECT_EQ(r.Canvas.AllText(), "abcd");
    EXPECT_EQ(r.R.Right, 4 * 8);
}

TEST(HtmlText, RedFontTextAndTheBaseFontAfterItsClosingTag) {
    TRendered r;
    Render(r, "<font color=red>hot</font>cold");
    ASSERT_EQ(r.Canvas.Drawn.size(), 2u);
    EXPECT_EQ(r.Canvas.Drawn[0].Text, "hot");
    EXPECT_EQ(r.Canvas.Drawn[0].Font.Color, 0x0000FFu);
    EXPECT_EQ(r.Canvas.Drawn[1].Text, "cold");
    EXPECT_EQ(r.Canvas.Drawn[1].Font, BaseFont());
    EXPECT_EQ(r.FinalFont, BaseFont());
}

TEST(HtmlText, TwoLinesMeasureBothHeightsPlusTwoAndTheWiderRightEnd) {
    TRendered r;
    Render(r, "abc<br><font size=12>de</font>");
    // First line 8 + 2 high, second 12 + 2, two pixels between.
    EXPECT_EQ(r.R.Bottom, 10 + 2 + 14);
    EXPECT_EQ(r.R.Right, 2 * 12) << "the second line is the wider";
    ASSERT_EQ(r.Canvas.Drawn.size(), 2u);
    EXPECT_EQ(r.Canvas.Drawn[1].X, 0);
    EXPECT_EQ(r.Canvas.Drawn[1].Y, 12);
    EXPECT_EQ(r.R.Left, 0);
    EXPECT_EQ(r.R.Top, 0);
}

TEST(HtmlText, LineBreaksInsideTheTextDoNotBreakLines) {
    TRendered r;
    Render(r, "ab\r\ncd");
    EXPECT_EQ(r.Canvas.AllText(), "abcd");
    EXPECT_EQ(r.R.Bottom, 10);
    EXPECT_EQ(r.R.Right, 32);
}

TEST(HtmlText, MeasuresFromTheRectanglesCorner) {
    TRendered r;
    Render(r, "ab<p>c", Rect(5, 7, 100, 50));
    ASSERT_EQ(r.Canvas.Drawn.size(), 2u);
    EXPECT_EQ(r.Canvas.Drawn[0].X, 5);
    EXPECT_EQ(r.Canvas.Drawn[0].Y, 7);
    EXPECT_EQ(r.Canvas.Drawn[1].X, 5);
    EXPECT_EQ(r.Canvas.Drawn[1].Y, 7 + 10 + 2);
    EXPECT_EQ(r.R.Right, 5 + 16) << "right ends are pen positions";
    EXPECT_EQ(r.R.Bottom, 7 + 10 + 2 + 10);
}

TEST(HtmlText, StyleTagsAndTheirClosingsByTheFirstLetters) {
    struct Case {
        const char* Text;
        bool Bold, Italic, Underline;
    };
    for (const Case c : {Case{"<b>x", true, false, false}, Case{"<b>x</b>", false, false, false},
                         Case{"<b>x</big>", false, false, false}, Case{"<i>x", false, true, false},
                         Case{"<I>x</i>", false, false, false}, Case{"<u>x", false, false, true},
                         Case{"<u>x</ul>", false, false, false}, Case{"<b><i><u>x</i>", true, false, true}}) {
        SCOPED_TRACE(c.Text);
        TRendered r;
        Render(r, c.Text);
        ASSERT_FALSE(r.Canvas.Drawn.empty());
        EXPECT_EQ(r.FinalFont.Bold, c.Bold);
        EXPECT_EQ(r.FinalFont.Italic, c.Italic);
        EXPECT_EQ(r.FinalFont.Underline, c.Underline);
        EXPECT_EQ(r.Canvas.AllText(), "x");
    }
}

TEST(HtmlText, FontAttributesSetSizeColourAndFace) {
    struct Case {
        const char* Text;
        int Size;
        TColor Colour;
        const char* Face;
    };
    for (const Case c : {Case{"<font size=12>x", 12, 0, "Segoe UI"}, Case{"<font size=\"+3\">x", 11, 0, "Segoe UI"},
                         Case{"<font size=-2>x", 6, 0, "Segoe UI"}, Case{"<font color=#102030>x", 8, 0x302010, "Segoe UI"},
                         Case{"<font color=\"aqua\">x", 8, 0xFFFF00, "Segoe UI"},
                         Case{"<font face=\"Tahoma\" size=9>x", 9, 0, "TAHOMA"},
                         Case{"<font face=\"\">x", 8, 0, "Segoe UI"},
                         Case{"<font size=-20>x", kHtmlMinFontSize, 0, "Segoe UI"},
                         Case{"<font size=99999999>x", kHtmlMaxFontSize, 0, "Segoe UI"}}) {
        SCOPED_TRACE(c.Text);
        TRendered r;
        Render(r, c.Text);
        ASSERT_EQ(r.Canvas.Drawn.size(), 1u);
        const THtmlFont& f = r.Canvas.Drawn[0].Font;
        EXPECT_EQ(f.Size, c.Size);
        EXPECT_EQ(f.Color, c.Colour);
        EXPECT_EQ(f.Name, c.Face);
    }
}

// Attributes that cannot be read leave the font as it was: never an error
// in the middle of painting a hint.
TEST(HtmlText, UnreadableFontAttributesAreIgnored) {
    for (const char* text : {"<font size=abc>x", "<font size=12pt>x", "<font size=+>x", "<font size=>x",
                             "<font size=--3>x", "<font color=#GG0000>x", "<font color=1234567>x",
                             "<font color=>x", "<font face=Arial>x", "<font face=\"Arial>x", "<font>x"}) {
        SCOPED_TRACE(text);
        TRendered r;
        Render(r, text);
        ASSERT_EQ(r.Canvas.Drawn.size(), 1u);
        EXPECT_EQ(r.Canvas.Drawn[0].Text, "x");
        EXPECT_EQ(r.Canvas.Drawn[0].Font, BaseFont());
    }
}

// Tags that are not ours paint as text in the font in use.
TEST(HtmlText, MalformedAndUnknownTagsPaintAsText) {
    struct Case {
        const char* Text;
        const char* Drawn;
        int Bottom;
    };
    for (const Case c : {Case{"<x>a", "<x>a", 10}, Case{"a<p align=left>b", "a<p align=left>b", 10},
                         Case{"</p>a", "</p>a", 10}, Case{"<br >a", "<br >a", 10}, Case{"<bb>a", "<bb>a", 10},
                         Case{"</xb>a", "</xb>a", 10}, Case{"<>a", "<>a", 10}, Case{"</>a", "</>a", 10},
                         Case{"a>b", "a>b", 10}, Case{"<<b>", "<b>", 10}, Case{"a<", "a", 10},
                         Case{"<b", "b", 10}, Case{"<br/>a", "a", 2 + 10}, Case{"</font>a", "a", 10}}) {
        SCOPED_TRACE(c.Text);
        TRendered r;
        Render(r, c.Text);
        EXPECT_EQ(r.Canvas.AllText(), c.Drawn);
        EXPECT_EQ(r.R.Bottom, c.Bottom) << "an empty first line is 0 high";
        for (const TDrawn& d : r.Canvas.Drawn) EXPECT_EQ(d.Font, BaseFont());
    }
}

TEST(HtmlText, AnEmptyTextMeasuresNothing) {
    TRendered r;
    Render(r, "");
    EXPECT_TRUE(r.Canvas.Drawn.empty());
    EXPECT_EQ(r.R, Rect(0, 0, 0, 0));
}

TEST(HtmlText, ClosingFontTagsUnwindTheStackInOrder) {
    TRendered r;
    Render(r, "<font size=10>a<font color=red>b</font>c</font>d</font>e");
    ASSERT_EQ(r.Canvas.Drawn.size(), 5u);
    EXPECT_EQ(r.Canvas.Drawn[1].Font.Size, 10);
    EXPECT_EQ(r.Canvas.Drawn[1].Font.Color, 0x0000FFu);
    EXPECT_EQ(r.Canvas.Drawn[2].Font.Size, 10);
    EXPECT_EQ(r.Canvas.Drawn[2].Font.Color, 0u);
    EXPECT_EQ(r.Canvas.Drawn[3].Font, BaseFont());
    EXPECT_EQ(r.Canvas.Drawn[4].Font, BaseFont()) << "a closing tag too many changes nothing";
}

}  // namespace
}  // namespace kova::skin::test
