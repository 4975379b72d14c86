// Free utility routines of the skinning units that need no windows:
// rectangle and integer arithmetic, word splitting by character sets,
// string replacement and a small reader of ini-style text.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "skin/core/portable/skintypes.h"

namespace kova::skin {

std::int32_t RectWidth(const TRect& r, bool checkNegative = false);
std::int32_t RectHeight(const TRect& r, bool checkNegative = false);
bool IsRectEmpty(const TRect& r);
bool RectsOverlap(const TRect& r1, const TRect& r2);
bool RectContainsRect(const TRect& outer, const TRect& inner);
std::uint8_t ClampToByte(std::int32_t value);
bool IsBetween(std::int32_t value, std::int32_t bound1, std::int32_t bound2);
std::int32_t BlendPercent(std::int32_t value, std::int32_t percent);
inline std::int32_t MaxOf(std::int32_t a, std::int32_t b) { return a > b ? a : b; }
inline std::int32_t MinOf(std::int32_t a, std::int32_t b) { return a < b ? a : b; }
inline void SwapInts(std::int32_t& a, std::int32_t& b) { std::swap(a, b); }
inline const std::string& IfThenStr(bool cond, const std::string& a, const std::string& b) { return cond ? a : b; }
inline std::int32_t IfThenInt(bool cond, std::int32_t a, std::int32_t b) { return cond ? a : b; }

// The window-message record, with plain integer fields.
struct TMessage {
    std::uint32_t Msg = 0;
    std::int32_t WParam = 0;
    std::int32_t LParam = 0;
    std::int32_t Result = 0;
};
void FillMessageRec(std::uint32_t msg, std::int32_t wParam, std::int32_t lParam, std::int32_t result, TMessage& rec);
void FillParentImageInfo(PixelBuffer32* bmp, std::int32_t x, std::int32_t y, TsParentImageInfo& info);

std::int64_t HexTextToInt(const std::string& s);

using TCharSet = std::bitset<256>;
TCharSet CharSet(const std::string& chars);
bool CharInCharSet(char c, const TCharSet& set);
// Positions count from 1; 0 when there is no such word.
int NthWordPos(int n, const std::string& s, const TCharSet& delims);
std::string NthWord(int n, const std::string& s, const TCharSet& delims);
int CountWords(const std::string& s, const TCharSet& delims);
std::string RemoveChar(const std::string& s, char c);
std::string ReplaceAll(const std::string& s, const std::string& oldText, const std::string& newText);

// Sectioned ini text: section names with their "key=value" lines.
struct TIniSection {
    std::string Name;
    std::vector<std::string> Lines;
};
using TIniSections = std::vector<TIniSection>;
void ParseIniSections(const std::vector<std::string>& lines, TIniSections& sections);
std::string IniSectionValue(const TIniSections& sections, const std::string& section, const std::string& key,
                            const std::string& defaultValue);
std::int32_t IniSectionInt(const TIniSections& sections, const std::string& section, const std::string& key,
                           std::int32_t defaultValue);

std::string AddTrailingBackslash(const std::string& s);

}  // namespace kova::skin
