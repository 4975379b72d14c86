// PokerStars window titles as the table adapters read them.
#include <gtest/gtest.h>

#include "tables/adapters/pokerstars/portable/title.h"

namespace kova::tables::pokerstars {
namespace {

TEST(PokerStarsTitle, FactsOfTitles) {
    struct Case {
        const char* title;
        uint8_t kind, speed;
        const char* gameType;
        const char* format;
        int32_t seats, players, minutes;
        double stake;
        const char* buyIn;
        const char* id;
    };
    const Case cases[] = {
        {"Altair II - $0.01/$0.02 USD - No Limit Hold'em - Logged In as Hero", 0, 0, " Cash ", "", 0, 0, 10, 0.02, "", ""},
        {"Aalen IV 6-Max - $0.50/$1 - No Limit Hold'em", 0, 0, " Cash ", "", 6, 0, 10, 1, "", ""},
        {"Play Money table - 25/50 Play Money - No Limit Hold'em", 0, 0, " Cash ", "", 0, 0, 10, 0, "", ""},
        {"Tournament 123456789 Table 1 - $10+$1 NL Hold'em 9 Players - Blinds $25/$50 Ante $5", 1, 0, " SNG ", "", 0, 9,
         10, 10, " $10.00 ", "123456789"},
        {"$5.50 NLHE Turbo: Tournament 987654 Table 12 - Blinds $100/$200 180 Players", 1, 1, " MTT ", "", 0, 180, 5,
         0, " $0.00 ", "987654"},
        {"Tournament 555 Table 1 - $10+$1 Hold'em No Limit 180 Players - Blinds $10/$20", 1, 0, " SNG ", "", 0, 180, 15,
         10, " $10.00 ", "555"},
        {"Tournament 7 Table 1 - $20+$1 Heads-Up 1 on 1 Turbo - Blinds $10/$20", 1, 1, " SNG ", "", 2, 0, 3, 20,
         " $20.00 ", "7"},
        {"Tournament 8 Table 1 - $7+$0.50 HU Hyper-Turbo - Blinds $10/$20", 1, 2, " SNG ", "", 2, 0, 2, 7, " $7.00 ", "8"},
        {"Tournament 9 Table 1 - $3.50 Spin & Go Hyper-Turbo 3-Max - Blinds $10/$20", 1, 2, " SNG ", "", 3, 0, 3, 3.5,
         " $3.50 ", "9"},
        {"Tournament 10 Table 1 - $6.50 Fifty50 Hyper-Turbo 10-Max - Blinds $10/$20", 1, 2, " SNG ", " Fifty50 ", 10, 0,
         0, 6.5, " $6.50 ", "10"},
        {"Tournament 11 Table 1 - $6.50 Fifty50 Turbo - Blinds $10/$20", 1, 1, " SNG ", " Fifty50 ", 0, 0, 3, 6.5,
         " $6.50 ", "11"},
        {"Tournament 12 Table 1 - $30 Sat: Sunday Million Turbo", 1, 1, " MTT ", " Satellite ", 0, 0, 5, 0, " $0.00 ",
         "12"},
        {"Tournament 13 Table 1 - $2.20 Step 1 9-Max", 1, 0, " SNG ", " Step ", 9, 0, 10, 2.2, " $2.20 ", "13"},
        {"Tournament 14 Table 1 - $5+$0.50 Knockout 45 Players", 1, 0, " SNG ", " Knockout ", 0, 45, 10, 5, " $5.00 ",
         "14"},
        {"Tournament 15 Table 1 - $1+$0.10 Rebuy Turbo", 1, 1, " SNG ", " Rebuy ", 0, 0, 5, 1, " $1.00 ", "15"},
        {"Tournament 16 Table 1 - 100 FPP Hold'em", 1, 0, " SNG ", "", 0, 0, 10, 0, " 100 FPP ", "16"},
        {"Tournament 17 Table 1 - Play Money 1500 - Blinds 10/20", 1, 0, " SNG ", "", 0, 0, 10, 0, " Play Money ", "17"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const TTitleFacts f = ReadTitleFacts(c.title);
        EXPECT_EQ(f.Kind, c.kind);
        EXPECT_EQ(f.Speed, c.speed);
        EXPECT_EQ(f.GameTypeText, c.gameType);
        EXPECT_EQ(f.GameFormatText, c.format);
        EXPECT_EQ(f.Seats, c.seats);
        EXPECT_EQ(f.TotalPlayers, c.players);
        EXPECT_EQ(f.LevelMinutes, c.minutes);
        EXPECT_DOUBLE_EQ(f.Stake, c.stake);
        EXPECT_EQ(f.BuyInText, c.buyIn);
        EXPECT_EQ(f.TournamentId, c.id);
    }
    EXPECT_EQ(ReadTitleFacts(""), TTitleFacts{});
}

TEST(PokerStarsTitle, NumberBeforeWord) {
    EXPECT_EQ(NumberBeforeWord("-Max", "Table 6-Max x"), 6);
    EXPECT_EQ(NumberBeforeWord(" Players", "45 Players"), 45);
    EXPECT_EQ(NumberBeforeWord(" Players", "Players only"), 0);   // at the start: nothing before
    EXPECT_EQ(NumberBeforeWord(" Players", "x Players"), 0);
    EXPECT_EQ(NumberBeforeWord("-Max", "no such word"), 0);
    EXPECT_EQ(NumberBeforeWord("-Max", "99999999999-Max"), 0);    // too large: not a number
}

TEST(PokerStarsTitle, Blinds) {
    struct Case {
        const char* title;
        int32_t small;
        const char* text;
    };
    const Case cases[] = {
        {"Tournament 1 Table 1 - Blinds $25/$50 Ante $5 - x", 25, " 25 / 50 / 5 "},
        {"Tournament 1 Table 1 - Blinds $25/$50 - x", 25, " 25 / 50 "},
        {"Tournament 1 Table 1 - Play Money - Blinds 100/200 Ante 25 - x", 100, " 100 / 200 / 25 "},
        {"Tournament 1 Table 1 - Play Money - Blinds $100/$200", 0, ""},   // play money reads without "$"
        {"Tournament 1 Table 1 - no blinds here", 0, ""},
        {"Tournament 1 Table 1 - Blinds $0.5/$1", 0, ""},                   // not a whole number
        {"Blinds $", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const TBlinds b = ReadBlinds(c.title);
        EXPECT_EQ(b.SmallBlind, c.small);
        EXPECT_EQ(b.Text, c.text);
    }
}

TEST(PokerStarsTitle, TimerText) {
    EXPECT_EQ(TimerText(10 / 1440.0), " 10:00 ");
    EXPECT_EQ(TimerText(0), " 00:00 ");
    EXPECT_EQ(TimerText(75.0 / 86400.0), " 01:15 ");
    EXPECT_EQ(TimerText(-1), " 00:00 ");
}

}  // namespace
}  // namespace kova::tables::pokerstars
