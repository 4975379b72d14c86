#include "skin/core/portable/utils.h"

#include <algorithm>
#include <cmath>

namespace kova::skin {

std::int32_t RectWidth(const TRect& r, bool checkNegative) {
    const std::int32_t w = r.Right - r.Left;
    return checkNegative && w < 0 ? 0 : w;
}
std::int32_t RectHeight(const TRect& r, bool checkNegative) {
    const std::int32_t h = r.Bottom - r.Top;
    return checkNegative && h < 0 ? 0 : h;
}
bool IsRectEmpty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }

bool RectsOverlap(const TRect& r1, const TRect& r2) {
    return r2.Bottom > r1.Top && r2.Right > r1.Left && r2.Left < r1.Right && r2.Top < r1.Bottom && !IsRectEmpty(r2);
}

bool RectContainsRect(const TRect& outer, const TRect& inner) {
    auto in = [&outer](std::int32_t x, std::int32_t y) {
        return x >= outer.Left && x <= outer.Right && y >= outer.Top && y <= outer.Bottom;
    };
    return in(inner.Left, inner.Top) && in(inner.Right, inner.Bottom);
}

std::uint8_t ClampToByte(std::int32_t value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

bool IsBetween(std::int32_t value, std::int32_t bound1, std::int32_t bound2) {
    return bound1 <= bound2 ? value >= bound1 && value <= bound2 : value >= bound2 && value <= bound1;
}

std::int32_t BlendPercent(std::int32_t value, std::int32_t percent) {
    return static_cast<std::int32_t>(std::nearbyint((100 - percent) * (value / 100.0) + percent));
}

void FillParentImageInfo(PixelBuffer32* bmp, std::int32_t x, std::int32_t y, TsParentImageInfo& info) {
    info.Bmp = bmp;
    info.X = x;
    info.Y = y;
    info.FillColor = clFuchsia;
    info.Ready = true;
}

std::int64_t HexTextToInt(const std::string& text) {
    if (text.empty()) return 0;
    std::string s = text.substr(0, 255);
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (!s.empty() && s.back() == 'H') s.pop_back();
    std::uint64_t value = 0;  // wraps like the 64-bit register it came from
    for (char c : s) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return 0;
        value = value * 16 + static_cast<std::uint64_t>(d);
    }
    return static_cast<std::int64_t>(value);
}

TCharSet CharSet(const std::string& chars) {
    TCharSet set;
    for (char c : chars) set.set(static_cast<unsigned char>(c));
    return set;
}

bool CharInCharSet(char c, const TCharSet& set) { return set.test(static_cast<unsigned char>(c)); }

int NthWordPos(int n, const std::string& s, const TCharSet& delims) {
    if (n <= 0) return 0;
    int count = 0;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && CharInCharSet(s[i], delims)) ++i;
        if (i >= s.size()) break;
        if (++count == n) return static_cast<int>(i) + 1;
        while (i < s.size() && !CharInCharSet(s[i], delims)) ++i;
    }
    return 0;
}

std::string NthWord(int n, const std::string& s, const TCharSet& delims) {
    const int pos = NthWordPos(n, s, delims);
    if (pos == 0) return "";
    std::size_t end = static_cast<std::size_t>(pos) - 1;
    while (end < s.size() && !CharInCharSet(s[end], delims)) ++end;
    return s.substr(static_cast<std::size_t>(pos) - 1, end - (static_cast<std::size_t>(pos) - 1));
}

int CountWords(const std::string& s, const TCharSet& delims) {
    int count = 0;
    bool inWord = false;
    for (char c : s) {
        const bool delim = CharInCharSet(c, delims);
        if (!delim && !inWord) ++count;
        inWord = !delim;
    }
    return count;
}

std::string RemoveChar(const std::string& s, char c) {
    std::string out;
    out.reserve(s.size());
    for (char ch : s)
        if (ch != c) out.push_back(ch);
    return out;
}

std::string ReplaceAll(const std::string& s, const std::string& oldText, const std::string& newText) {
    if (oldText.empty()) return s;
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = s.find(oldText, pos);
        if (hit == std::string::npos) break;
        out.append(s, pos, hit - pos);
        out += newText;
        pos = hit + oldText.size();
    }
    out.append(s, pos, std::string::npos);
    return out;
}

std::string AddTrailingBackslash(const std::string& s) {
    if (s.empty() || s.back() == '\\') return s;
    if (s.back() == '/') return s.substr(0, s.size() - 1) + "\\";
    if (s.size() == 1) return s + ":\\";
    return s + "\\";
}

}  // namespace kova::skin
