#include "skin/controls/portable/htmltext.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "skin/core/portable/pixels.h"
#include "skin/core/portable/utils.h"

namespace kova::skin {

namespace {

std::string UpperAscii(const std::string& s) {
    std::string u = s;
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return u;
}

bool IsWordBreak(char c) {
    return c == '\n' || c == '\r' || c == ' ' || c == '"' || c == '<' || c == '=' || c == '>';
}

std::vector<std::string> SplitWords(const std::string& tag) {
    std::vector<std::string> words;
    std::string word;
    for (char c : tag) {
        if (IsWordBreak(c)) {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

// A whole decimal number (no sign): false for anything else, so that a
// hint's SIZE word that is not a number leaves the size alone.
bool ParseCount(const std::string& s, std::int64_t& value) {
    if (s.empty() || s.size() > 9) return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size() && value >= 0;
}

struct TNamedColour {
    const char* Name;
    TColor Value;
};
constexpr TNamedColour kNamedColours[] = {
    {"AQUA", 0xFFFF00},   {"BLACK", 0x000000}, {"BLUE", 0xFF0000},  {"FUCHSIA", 0xFF00FF},
    {"GRAY", 0x808080},   {"GREEN", 0x008000}, {"LIME", 0x00FF00},  {"MAROON", 0x000080},
    {"NAVY", 0x800000},   {"OLIVE", 0x008080}, {"PURPLE", 0x800080}, {"RED", 0x0000FF},
    {"SILVER", 0xC0C0C0}, {"TEAL", 0x808000},  {"WHITE", 0xFFFFFF}, {"YELLOW", 0x00FFFF},
};

}  // namespace

bool HtmlColorValue(const std::string& word, TColor& colour) {
    std::string w = word;
    if (!w.empty() && w.front() == '#') w.erase(0, 1);
    for (const TNamedColour& n : kNamedColours)
        if (w == n.Name) {
            colour = n.Value;
            return true;
        }
    if (w.empty() || w.size() > 6 || w.find_first_not_of("0123456789ABCDEF") != std::string::npos) return false;
    colour = SwapRedBlue(static_cast<std::uint32_t>(HexTextToInt(w)));
    return true;
}

void TsHtml::Init(THtmlCanvas& canvas, const THtmlFont& baseFont, const std::string& text, TRect rect) {
    canvas_ = &canvas;
    font_ = baseFont;
    text_ = text;
    upperText_ = UpperAscii(text);
    fontStack_.clear();
    rect_ = rect;
    x_ = rect.Left;
    y_ = rect.Top;
    maxWidth_ = height_ = lineWidth_ = lineHeight_ = 0;
}

void TsHtml::Flush(std::size_t from, std::size_t to) {
    if (to <= from) return;
    std::string chunk;
    chunk.reserve(to - from);
    for (std::size_t k = from; k < to; ++k)
        if (text_[k] != '\r' && text_[k] != '\n') chunk += text_[k];
    if (chunk.empty()) return;
    canvas_->TextOut(font_, x_, y_, chunk);
    x_ += canvas_->TextExtent(font_, chunk).cx;
    lineWidth_ = x_;
    lineHeight_ = std::max(lineHeight_, canvas_->TextExtent(font_, "X").cy);
}

void TsHtml::NewLine() {
    x_ = rect_.Left;
    y_ += lineHeight_ + 2;
    maxWidth_ = std::max(maxWidth_, lineWidth_);
    lineWidth_ = 0;
    lineHeight_ = 0;
}

void TsHtml::ApplyFontAttributes(const std::string& tag) {
    const std::vector<std::string> words = SplitWords(tag);
    for (std::size_t w = 0; w < words.size(); ++w) {
        const bool hasNext = w + 1 < words.size();
        if (words[w] == "SIZE" && hasNext) {
            const std::string& v = words[w + 1];
            std::int64_t n = 0;
            std::int64_t size = font_.Size;
            if (!v.empty() && (v[0] == '-' || v[0] == '+')) {
                if (!ParseCount(v.substr(1), n)) continue;
                size = v[0] == '-' ? size - n : size + n;
            } else {
                if (!ParseCount(v, n)) continue;
                size = n;
            }
            font_.Size = static_cast<int>(std::clamp<std::int64_t>(size, kHtmlMinFontSize, kHtmlMaxFontSize));
        } else if (words[w] == "COLOR" && hasNext) {
            TColor c = 0;
            if (HtmlColorValue(words[w + 1], c)) font_.Color = c;
        } else if (words[w] == "FACE") {
            const std::size_t at = tag.find("FACE");
            const std::size_t q1 = tag.find('"', at);
            if (q1 == std::string::npos) continue;
            const std::size_t q2 = tag.find('"', q1 + 1);
            if (q2 == std::string::npos) continue;
            if (q2 > q1 + 1) font_.Name = tag.substr(q1 + 1, q2 - q1 - 1);
        }
    }
}

bool TsHtml::ApplyTag(const std::string& tag) {
    if (tag.size() >= 2 && tag[1] == '/') {
        // Known by the letters right after the slash: "</BIG>" ends bold
        // as "</B>" does, "</UL>" ends underline.
        if (tag.find('B') == 2) {
            font_.Bold = false;
        } else if (tag.find('I') == 2) {
            font_.Italic = false;
        } else if (tag.find('U') == 2) {
            font_.Underline = false;
        } else if (tag.find("FONT") == 2) {
            if (!fontStack_.empty()) {
                font_ = fontStack_.back();
                fontStack_.pop_back();
            }
        } else {
            return false;
        }
        return true;
    }
    if (tag == "<BR>" || tag == "<BR/>" || tag == "<P>") {
        NewLine();
    } else if (tag == "<B>") {
        font_.Bold = true;
    } else if (tag == "<I>") {
        font_.Italic = true;
    } else if (tag == "<U>") {
        font_.Underline = true;
    } else if (tag.find("FONT") != std::string::npos) {
        fontStack_.push_back(font_);
        ApplyFontAttributes(tag);
    } else {
        return false;
    }
    return true;
}

void TsHtml::Render(TRect& R) {
    const std::size_t n = upperText_.size();
    std::size_t i = 0, s = 0;
    while (i < n) {
        if (upperText_[i] != '<') {
            ++i;
            continue;
        }
        Flush(s, i);
        if (i + 1 < n && upperText_[i + 1] == '<') {
            // The second bracket starts the next chunk: one is shown.
            s = i + 1;
            i += 2;
            continue;
        }
        const std::size_t close = upperText_.find('>', i);
        if (close == std::string::npos) {
            s = i + 1;
            ++i;
            continue;
        }
        const std::string tag = upperText_.substr(i, close - i + 1);
        if (!ApplyTag(tag)) Flush(i, close + 1);
        s = close + 1;
        i = close + 1;
    }
    Flush(s, n);
    maxWidth_ = std::max(maxWidth_, lineWidth_);
    lineWidth_ = 0;
    height_ = y_ + lineHeight_;
    R = Rect(0, 0, maxWidth_, height_);
}

}  // namespace kova::skin
