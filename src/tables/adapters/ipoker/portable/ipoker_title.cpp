#include "tables/adapters/ipoker/portable/ipoker_title.h"

#include <charconv>
#include <string>

#include "tables/logic/engine_routines.h"

namespace kova::tables {

int32_t IPokerSmallBlindOfTitle(std::string_view title) {
    const std::string text = SubstringBetween(title, " - ", 3, "/");
    if (text.empty()) return 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (*first == '+') ++first;  // a sign the client never writes, but a number all the same
    int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    // The whole text must be the number: "1,000" or "50 " is not one.
    if (error != std::errc() || end != last) return 0;
    return value;
}

}  // namespace kova::tables
