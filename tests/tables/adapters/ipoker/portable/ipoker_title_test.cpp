#include <gtest/gtest.h>

#include <string>

#include "tables/adapters/ipoker/portable/ipoker_title.h"

namespace kova::tables {
namespace {

TEST(IPokerTitle, TheSmallBlindIsTheWholeNumberBetweenTheDashAndTheSlash) {
    struct Case {
        const char* title;
        int32_t blind;
    };
    const Case cases[] = {
        {"Tournament 1234 - 50/100 NL Hold'em", 50},
        {"Tournament 1234 - 1500/3000", 1500},
        {"Turbo - 10/20 - Table 3", 10},       // the first " - " counts
        {"Tournament 1234 - 25", 25},          // no slash: to the end
        {"Tournament 1234 - +30/60", 30},
        {"Tournament 1234 - 1,000/2,000", 0},  // not a whole number
        {"Tournament 1234 - 50 /100", 0},
        {"Tournament 1234 - /100", 0},
        {"Tournament 1234 - Break", 0},
        {"Tournament 1234 -50/100", 0},        // no " - "
        {"Tournament 1234 - 99999999999/1", 0},  // beyond 32 bits
        {"Tournament 1234 - -5/10", -5},
        {"", 0},
        {" - ", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(IPokerSmallBlindOfTitle(c.title), c.blind) << c.title;
}

}  // namespace
}  // namespace kova::tables
