// Small window-free routines shared by the scan, the room adapters and the
// main window's tools: a substring cut used to read window titles and a
// running average. (The hand routines live with the hand records in
// poker/hand_record.h; the window ancestor and the folder chooser with the
// window code.)
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tables/model/variables.h"

namespace kova::tables {

// From the first occurrence of startText (case-sensitive) skip `skip`
// characters and take everything up to, not including, the next character
// equal to the first character of endText (or to the end of s). Empty
// when startText does not occur.
// Example: ("Table 5 [ID=R123] x", "ID=", 3, "]") gives "R123".
std::string SubstringBetween(std::string_view s, std::string_view startText, int32_t skip, std::string_view endText);

// Adds a sample while fewer than ten are held and updates the average.
void AddAverageSample(TAverageSamples& samples, double value);

}  // namespace kova::tables
