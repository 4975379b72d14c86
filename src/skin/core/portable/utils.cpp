#include "skin/core/portable/utils.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

void FillMessageRec(std::uint32_t msg, std::int32_t wParam, std::int32_t lParam, std::int32_t result, TMessage& rec) {
    rec.Msg = msg;
    rec.WParam = wParam;
    rec.LParam = lParam;
    rec.Result = result;
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

namespace {
bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}
}  // namespace

void ParseIniSections(const std::vector<std::string>& lines, TIniSections& sections) {
    sections.clear();
    TIniSection* current = nullptr;
    for (const std::string& line : lines) {
        if (line.empty() || line[0] == ';') continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            sections.push_back({line.substr(1, line.size() - 2), {}});
            current = &sections.back();
            continue;
        }
        if (current) current->Lines.push_back(line);
    }
}

std::string IniSectionValue(const TIniSections& sections, const std::string& section, const std::string& key,
                            const std::string& defaultValue) {
    for (const TIniSection& s : sections) {
        if (!SameText(s.Name, section)) continue;
        for (const std::string& line : s.Lines) {
            const std::size_t eq = line.find('=');
            if (eq != std::string::npos && SameText(line.substr(0, eq), key)) return line.substr(eq + 1);
        }
        return defaultValue;
    }
    return defaultValue;
}

std::int32_t IniSectionInt(const TIniSections& sections, const std::string& section, const std::string& key,
                           std::int32_t defaultValue) {
    const std::string text = IniSectionValue(sections, section, key, "");
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::int64_t v = 0;
        for (std::size_t i = 2; i < text.size(); ++i) {
            const char c = text[i];
            int d;
            if (c >= '0' && c <= '9') d = c - '0';
            else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
            else return defaultValue;
            v = v * 16 + d;
            if (v > 0xFFFFFFFFll) return defaultValue;
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    }
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i >= text.size()) return defaultValue;
    std::int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return defaultValue;
        v = v * 10 + (text[i] - '0');
        if (v > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1) return defaultValue;
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<std::int32_t>::max()) return defaultValue;
    return static_cast<std::int32_t>(v);
}

std::string AddTrailingBackslash(const std::string& s) {
    if (s.empty() || s.back() == '\\') return s;
    if (s.back() == '/') return s.substr(0, s.size() - 1) + "\\";
    if (s.size() == 1) return s + ":\\";
    return s + "\\";
}

}  // namespace kova::skin
