#include "tables/adapters/pokerstars/portable/history.h"

#include <cmath>
#include <cstdio>

namespace kova::tables::pokerstars {

namespace {

bool StartsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

// UTF-16 text (after its mark) as 8-bit: ASCII stays, the rest becomes '?'.
std::string NarrowUtf16(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
        const auto hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
        const unsigned unit = lo | (hi << 8);
        if (unit >= 0xDC00 && unit < 0xE000) continue;  // the second half of a pair: one '?' is enough
        out.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    }
    return out;
}

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;  // days since 1970-01-01
}

bool LeapYear(int32_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int32_t DaysInMonth(int32_t y, int32_t m) {
    static constexpr int32_t days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && LeapYear(y) ? 29 : days[m - 1];
}

// Reads 1..maxDigits digits at text[at]; false when there are none.
bool Digits(std::string_view text, std::size_t& at, std::size_t minDigits, std::size_t maxDigits, int32_t& value) {
    std::size_t n = 0;
    value = 0;
    while (at < text.size() && n < maxDigits && text[at] >= '0' && text[at] <= '9') {
        value = value * 10 + (text[at] - '0');
        ++at;
        ++n;
    }
    // More digits than allowed: no such field.
    if (at < text.size() && text[at] >= '0' && text[at] <= '9') return false;
    return n >= minDigits;
}

bool Expect(std::string_view text, std::size_t& at, char c) {
    if (at >= text.size() || text[at] != c) return false;
    ++at;
    return true;
}

}  // namespace

std::vector<std::string> HistoryLines(std::string_view bytes) {
    std::string converted;
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    } else if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
        converted = NarrowUtf16(bytes.substr(2), bytes[0] == '\xFE');
        bytes = converted;
    }
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = bytes.size();
        lines.emplace_back(bytes.substr(start, std::min(end - start, MaxHistoryLine)));
        if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ++end;
        start = end + 1;
    }
    return lines;
}

bool IsHandStartLine(std::string_view line) {
    return line.find("PokerStars Hand") != std::string_view::npos ||
           line.find("PokerStars Game #") != std::string_view::npos ||
           line.find("PokerStars Zoom Hand") != std::string_view::npos;
}

std::vector<std::string> ReadHand(const std::vector<std::string>& lines, int32_t n) {
    std::size_t found = lines.size();
    int32_t count = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!IsHandStartLine(lines[i])) continue;
        found = i;
        if (++count == n) break;
    }
    std::vector<std::string> hand;
    if (found == lines.size() || (n > 0 && count < n)) return hand;
    hand.push_back(lines[found]);
    for (std::size_t i = found + 1; i < lines.size() && !IsHandStartLine(lines[i]); ++i) hand.push_back(lines[i]);
    return hand;
}

int32_t CountHands(const std::vector<std::string>& lines) {
    int32_t count = 0;
    for (const std::string& line : lines)
        if (IsHandStartLine(line)) ++count;
    return count;
}

double DayBasedTime(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second) {
    const int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + 25569;
    return static_cast<double>(days) + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

std::string FormatDayBasedTime(double time) {
    if (!std::isfinite(time) || time < -693593.0 || time > 2958466.0) return "none";
    const long long seconds = std::llround(time * 86400.0);
    long long days = seconds / 86400, rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    // civil_from_days, with days counted from 1970-01-01
    int64_t z = days - 25569 + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const int64_t y = static_cast<int64_t>(yoe) + era * 400 + (m <= 2);
    char text[48];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02lld:%02lld:%02lld", static_cast<long long>(y), m, d, rest / 3600,
                  (rest / 60) % 60, rest % 60);
    return text;
}

std::optional<double> ParseHistoryDateTime(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    std::size_t at = 0;
    int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!Digits(text, at, 4, 4, year) || !Expect(text, at, '/') || !Digits(text, at, 1, 2, month) ||
        !Expect(text, at, '/') || !Digits(text, at, 1, 2, day) || !Expect(text, at, ' '))
        return std::nullopt;
    while (at < text.size() && text[at] == ' ') ++at;
    if (!Digits(text, at, 1, 2, hour) || !Expect(text, at, ':') || !Digits(text, at, 2, 2, minute)) return std::nullopt;
    if (at < text.size() && text[at] == ':' && !(++at, Digits(text, at, 2, 2, second))) return std::nullopt;
    // What follows the time is a time-zone word, or nothing.
    if (at < text.size() && text[at] != ' ') return std::nullopt;
    if (year < 1900 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59)
        return std::nullopt;
    return DayBasedTime(year, month, day, hour, minute, second);
}

std::optional<double> HandStartTime(const std::vector<std::string>& hand) {
    if (hand.empty() || hand.front().find("PokerStars") == std::string::npos) return std::nullopt;
    std::string_view line = hand.front();
    for (std::size_t dash; (dash = line.find(" - ")) != std::string_view::npos;) line.remove_prefix(dash + 3);
    if (const std::size_t bracket = line.find(" ["); bracket != std::string_view::npos) line = line.substr(0, bracket);
    return ParseHistoryDateTime(line);
}

}  // namespace kova::tables::pokerstars
