// Reading PokerStars hand-history files: the text as lines (whatever the
// file's encoding: UTF-8 with or without a byte-order mark, 8-bit code
// pages, UTF-16 with its mark), the lines of one hand, and the time at
// which a hand started. Window-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kova::tables::pokerstars {

// Lines longer than this are cut (nothing the clock reads lies further on).
inline constexpr std::size_t MaxHistoryLine = 200;

// The file's bytes as 8-bit lines: a UTF-8 mark is dropped, UTF-16 text
// (by its mark) becomes 8-bit with '?' for what is not ASCII; line ends
// are CR LF, LF or CR.
std::vector<std::string> HistoryLines(std::string_view bytes);

// A line that starts a hand: "PokerStars Hand #...", "PokerStars Game
// #..." (older files) or "PokerStars Zoom Hand #...".
bool IsHandStartLine(std::string_view line);

// The lines of hand n (1 = the first; 0 = the last): its start line and
// every line up to the next start line. Empty when there is no such hand.
std::vector<std::string> ReadHand(const std::vector<std::string>& lines, int32_t n);

// The number of hands in the lines.
int32_t CountHands(const std::vector<std::string>& lines);

// Date and time "yyyy/mm/dd h:mm:ss" (one- or two-digit month, day and
// hour; the seconds may be missing), followed by nothing or by a blank and
// anything (a time-zone word such as "ET"), as a day-based time (days since
// 1899-12-30 and the fraction of the day). None when it is no such date.
std::optional<double> ParseHistoryDateTime(std::string_view text);

// When the hand started, read from its first line: the text after the
// last " - ", up to " [" (the second, bracketed time of newer files). None
// for an empty hand, a first line without "PokerStars" or a time that does
// not convert.
std::optional<double> HandStartTime(const std::vector<std::string>& hand);

// Day-based time of a calendar date and time of day (no checks).
double DayBasedTime(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second);

// "YYYY-MM-DD HH:MM:SS" of a day-based time (to the nearest second).
std::string FormatDayBasedTime(double time);

}  // namespace kova::tables::pokerstars
