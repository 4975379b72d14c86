// Free utility routines of the skinning units that need no windows:
// rectangle and integer arithmetic, word splitting by character sets and
// string replacement. Ini text is read with the framework's ini files.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
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

std::string AddTrailingBackslash(const std::string& s);

}  // namespace kova::skin
