// Reading the iPoker client's tournament table titles, without windows:
// the titles are the client's text, so anything may stand in them.
#pragma once

#include <cstdint>
#include <string_view>

namespace kova::tables {

// The small blind of a tournament table's title: the whole number after
// " - " up to "/" (as in "Tournament 1234 - 50/100 NL Hold'em"); 0 when
// there is none or the text there is not a whole number.
int32_t IPokerSmallBlindOfTitle(std::string_view title);

}  // namespace kova::tables
