// Hint text with a few HTML-like tags (B, I, U, BR, P, FONT with SIZE,
// COLOR and FACE; "<<" for "<"), measured and drawn through a canvas that
// the caller supplies, so the walk over the text stays window-free. Lines
// end only at the break tags: there is no word wrapping.
#pragma once

#include <string>
#include <vector>

#include "skin/core/portable/skintypes.h"

namespace kova::skin {

// The font the text is drawn in at one point of the walk.
struct THtmlFont {
    std::string Name;
    int Size = 8;  // points
    TColor Color = 0;
    bool Bold = false, Italic = false, Underline = false;
    bool operator==(const THtmlFont&) const = default;
};

// Where the text goes: a device context on Windows, a recorder in tests.
class THtmlCanvas {
public:
    virtual ~THtmlCanvas() = default;
    virtual TSize TextExtent(const THtmlFont& font, const std::string& text) = 0;
    virtual void TextOut(const THtmlFont& font, int x, int y, const std::string& text) = 0;
};

// Sizes a FONT tag may set; a tag asking for more is held to these.
inline constexpr int kHtmlMinFontSize = 1;
inline constexpr int kHtmlMaxFontSize = 500;

class TsHtml {
public:
    // The base font is the font in use when Render starts.
    void Init(THtmlCanvas& canvas, const THtmlFont& baseFont, const std::string& text, TRect rect);
    // Draws the text from the pen position; R becomes (0, 0, MaxWidth,
    // Height): the right end of the widest line and the bottom of the last.
    void Render(TRect& R);

    // The font in use (after Render: the one the text ended in).
    const THtmlFont& Font() const { return font_; }
    int MaxWidth() const { return maxWidth_; }
    int Height() const { return height_; }

private:
    void Flush(std::size_t from, std::size_t to);
    void NewLine();
    bool ApplyTag(const std::string& tag);
    void ApplyFontAttributes(const std::string& tag);

    THtmlCanvas* canvas_ = nullptr;
    THtmlFont font_;
    int x_ = 0, y_ = 0;
    std::string text_, upperText_;
    std::vector<THtmlFont> fontStack_;
    TRect rect_;
    int maxWidth_ = 0, height_ = 0;
    int lineWidth_ = 0, lineHeight_ = 0;
};

// The colour value (red in the low byte) of a FONT tag's COLOR word, upper
// case, with or without a leading "#": one of the named colours or one to
// six hexadecimal digits RRGGBB. False for anything else.
bool HtmlColorValue(const std::string& word, TColor& colour);

}  // namespace kova::skin
