// The Ongame client's titles and hand histories as the adapters read them:
// the real files of the public test data and small hands that show each
// rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/require.h"
#include "tables/adapters/ongame/portable/ongame_text.h"

namespace kova::tables::ongame {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::vector<std::string> HandOf(const std::string& text, const std::string& mark = "History for hand") {
    std::istringstream in(text);
    return ReadHand(in, mark);
}

std::string TestFile(const std::string& name) {
    return ::kova::test::TestDataRoot() + "/handhistories/ongame/" + name;
}

std::vector<std::string> FirstHandOfFile(const std::string& name) {
    std::ifstream in(TestFile(name), std::ios::binary);
    return ReadHand(in, HandStartMark(std::string(), 0));
}

double Days(int h, int m, int s) { return (h * 3600.0 + m * 60.0 + s) / 86400.0; }

// A turbo double-or-nothing hand with an ante in which a player before the
// hero goes all in and busts.
const char* const kTurboHand =
    "***** History for hand T7-555-3 (TOURNAMENT: \"Turbo Double Up\", T7-555, buy-in: $5) *****\r\n"
    "Start hand: Mon Mar 01 10:00:00 GMT+0100 2010\r\n"
    "Table: Table #1 [555] (NO_LIMIT TEXAS_HOLDEM 50/100, ante: 10, TC)\r\n"
    "User: Hero\r\n"
    "Button: seat 2\r\n"
    "Players in round: 4\r\n"
    "Seat 3: Alice (900)\r\n"
    "Seat 5: Bob (1200)\r\n"
    "Seat 1: Hero (2000)\r\n"
    "Seat 2: Carol (1400)\r\n"
    "Alice posts small blind (50)\r\n"
    "Bob posts big blind (100)\r\n"
    "---\r\n"
    "Dealing pocket cards\r\n"
    "Dealing to Hero: [Ah, Kd]\r\n"
    "Carol raises 1390 to 1390 [all in]\r\n"
    "Hero calls 1390\r\n"
    "Alice folds\r\n"
    "---\r\n"
    "Summary:\r\n"
    "Main pot: 3000 won by Hero (3000)\r\n"
    "Seat 3: Alice (840)\r\n"
    "Seat 5: Bob (1090)\r\n"
    "Seat 1: Hero (3610)\r\n"
    "Seat 2: Carol (0)\r\n"
    "***** End of hand T7-555-3 *****\r\n";

// ---- titles -----------------------------------------------------------------------------

TEST(OngameTitles, CashTableIdAndStake) {
    struct Case {
        const char* title;
        const char* id;
        double stake;
    } cases[] = {
        {"Baguio (NL $0.50/$1) [ID=R5-362012167]", "R5-362012167", 1.0},
        {"Baguio (NL $1/$2.50) [ID=R9]", "R9", 2.5},
        {"Baguio (NL $1/$two) [ID=R9]", "R9", 0.0},  // no number: stake 0
        {"Baguio [ID=R9]", "R9", 0.0},
    };
    for (const Case& c : cases) {
        const TCashTitle t = ParseCashTitle(c.title);
        EXPECT_EQ(t.TableId, c.id) << c.title;
        EXPECT_DOUBLE_EQ(t.Stake, c.stake) << c.title;
    }
}

TEST(OngameTitles, HandNumberIsCutOutOfTheId) {
    struct Case {
        const char* id;
        int32_t number;
        const char* left;
    } cases[] = {
        {"T5-17631959-007", 7, "T5-17631959-"},
        {"T5-17631959-1", 1, "T5-17631959-"},
        {"T5-17631959-1234", 123, "T5-17631959-4"},
        {"T5-17631959", -1, "T5-17631959"},  // no second "-"
        {"T5-1-abc", -1, "T5-1-abc"},        // no number after it
    };
    for (const Case& c : cases) {
        std::string id = c.id;
        EXPECT_EQ(HandNumberOf(id), c.number) << c.id;
        EXPECT_EQ(id, c.left) << c.id;
    }
}

TEST(OngameTitles, TournamentTitleNamesItsHandHistoryFile) {
    const TTournamentTitle t = ParseTournamentTitle("Freeroll (SNG), 10/20 + 2 [ID=T5-17631959-007][hh123]");
    EXPECT_EQ(t.TournamentId, "T5-17631959-");
    EXPECT_EQ(t.HandNumber, 7);
    EXPECT_EQ(t.HistoryFile, "hh123.txt");
    EXPECT_EQ(ParseTournamentTitle("Freeroll [ID=T5-1-002]").HistoryFile, "");

    const TTitleBlinds b = ParseTitleBlinds("Freeroll (SNG), 10/20 + 2 [ID=T5-17631959-007][hh123]");
    EXPECT_EQ(b.SmallBlind, 10);
    EXPECT_EQ(b.Ante, "2");
    EXPECT_EQ(BlindsText(b.SmallBlind, b.Ante), " 10 / 20 / 2 ");
    EXPECT_EQ(BlindsText(25, ""), " 25 / 50 ");
    EXPECT_EQ(ParseTitleBlinds("Lobby").SmallBlind, 0);
    EXPECT_EQ(BlindsText(0, "2"), "");
}

// ---- reading a hand ---------------------------------------------------------------------

TEST(OngameHistory, ReadHandTakesTheLinesFromItsStartToItsEnd) {
    const std::string text = std::string("junk\r\n") + kTurboHand + "***** History for hand T7-555-4 *****\r\nmore\r\n";
    const std::vector<std::string> hand = HandOf(text);
    ASSERT_FALSE(hand.empty());
    EXPECT_EQ(hand.front().substr(0, 40), "***** History for hand T7-555-3 (TOURNAM");
    EXPECT_EQ(hand.back(), "***** End of hand T7-555-3 *****");  // line ends removed
    EXPECT_EQ(hand.size(), Lines(kTurboHand).size());

    // By tournament id and hand number: hand 1 is not the start of hand 12.
    const std::string two = "***** History for hand T7-555-12 *****\nA\n***** End of hand T7-555-12 *****\n"
                            "***** History for hand T7-555-1 *****\nB\n***** End of hand T7-555-1 *****\n";
    const std::vector<std::string> one = HandOf(two, HandStartMark("T7-555-", 1));
    ASSERT_EQ(one.size(), 3u);
    EXPECT_EQ(one[1], "B");
    EXPECT_EQ(HandOf(two, HandStartMark("T7-555-", 12))[1], "A");
    EXPECT_TRUE(HandOf(two, HandStartMark("T7-555-", 2)).empty());

    // A hand without its end runs to the end of the text; long lines are cut.
    const std::vector<std::string> open = HandOf("History for hand X\n" + std::string(500, 'x') + "\n");
    ASSERT_EQ(open.size(), 2u);
    EXPECT_EQ(open[1].size(), 200u);
    EXPECT_TRUE(HandOf("nothing here\n").empty());
}

TEST(OngameHistory, HandTimeReadsTheStartLine) {
    EXPECT_DOUBLE_EQ(HandTime("Start hand: Sat Dec 25 21:18:38 GMT+0100 2010"), 40537 + Days(21, 18, 38));
    EXPECT_DOUBLE_EQ(HandTime("Start hand: Mon Jan 06 19:34:00 CET 2014"), 41645 + Days(19, 34, 0));
    // An invalid date leaves the time of day; nothing readable gives 0.
    EXPECT_DOUBLE_EQ(HandTime("Start hand: Sat Feb 30 01:00:00 GMT 2010"), Days(1, 0, 0));
    EXPECT_DOUBLE_EQ(HandTime("Start hand: Sat Foo 25 21:18:38 GMT 2010"), Days(21, 18, 38));
    EXPECT_DOUBLE_EQ(HandTime("no colon"), 0.0);
    EXPECT_DOUBLE_EQ(HandTime("Start hand:"), 0.0);
    EXPECT_EQ(MonthNumber("Jan"), 1);
    EXPECT_EQ(MonthNumber("Dec"), 12);
    EXPECT_EQ(MonthNumber("dec"), 0);
}

// ---- the format ---------------------------------------------------------------------------

TEST(OngameHistory, GameFormatOfARegularAndATurboDoubleTournament) {
    KOVA_REQUIRE_TESTDATA("handhistories/ongame");
    TGameFormat f;
    ASSERT_TRUE(ReadGameFormat(FirstHandOfFile("R-274-69.tournament.txt"), f));
    EXPECT_TRUE(f.Tournament);
    EXPECT_EQ(f.FormatText, " SNG 10-max $0");  // the buy-in is in euros: no "$", stake 0
    EXPECT_EQ(f.Speed, 0);
    EXPECT_EQ(f.LevelMinutes, 8);
    EXPECT_DOUBLE_EQ(f.PaidPlaces, 3);
    EXPECT_DOUBLE_EQ(f.Payouts[0], 0.5);
    EXPECT_DOUBLE_EQ(f.Payouts[1], 0.3);
    EXPECT_DOUBLE_EQ(f.Payouts[2], 0.2);
    EXPECT_DOUBLE_EQ(f.Payouts[3], 0.0);
    EXPECT_EQ(f.TournamentId, "T5-17631959-");
    EXPECT_EQ(f.HandNumber, 1);
    EXPECT_DOUBLE_EQ(f.StartTime, 40537 + Days(21, 18, 38));
    EXPECT_EQ(f.SeatsPerTable, 10);

    TGameFormat t;
    ASSERT_TRUE(ReadGameFormat(HandOf(kTurboHand), t));
    EXPECT_EQ(t.FormatText, "Turbo DON 4-max $5");
    EXPECT_EQ(t.Speed, 1);
    EXPECT_EQ(t.LevelMinutes, 3);
    EXPECT_DOUBLE_EQ(t.PaidPlaces, 5);
    for (double share : t.Payouts) EXPECT_DOUBLE_EQ(share, 0.2);
    EXPECT_EQ(t.TournamentId, "T7-555-");
    EXPECT_EQ(t.HandNumber, 3);

    // A cash hand is no tournament; text without a hand is refused.
    TGameFormat cash;
    ASSERT_TRUE(ReadGameFormat(FirstHandOfFile("hhs-cash-NoLimitHoldem.txt"), cash));
    EXPECT_FALSE(cash.Tournament);
    EXPECT_TRUE(cash.FormatText.empty());
    EXPECT_FALSE(ReadGameFormat(Lines("Seat 1: A (10)\n"), cash));
}

// ---- parsing a hand -------------------------------------------------------------------------

TEST(OngameHistory, RealTournamentHandAndTheNextHandsSituation) {
    KOVA_REQUIRE_TESTDATA("handhistories/ongame");
    const std::vector<std::string> hand = FirstHandOfFile("R-274-69.tournament.txt");
    poker::TFinishingPlaces places;
    places.PlayerCount = places.NextPlace = 10;
    const auto p = ParseHand(hand, 10, places);
    ASSERT_TRUE(p);
    const poker::THH& h = p->Before;
    EXPECT_EQ(p->Hero, "besac025");
    EXPECT_EQ(h.HeroSeat, 9);
    EXPECT_EQ(h.Button, 8);
    EXPECT_EQ(h.SmallBlindSeat, 9);
    EXPECT_EQ(h.BigBlindSeat, 10);
    EXPECT_DOUBLE_EQ(h.SmallBlind, 10);
    EXPECT_DOUBLE_EQ(h.BigBlind, 20);
    EXPECT_DOUBLE_EQ(h.Ante, 0);
    EXPECT_DOUBLE_EQ(h.HandTime, 40537 + Days(21, 18, 38));
    ASSERT_EQ(h.PlayerCount, 10);
    // Seats and actions in the file's order: the players before the hero's
    // fold; the blinds after him never acted.
    const int32_t seats[] = {9, 10, 1, 2, 3, 4, 5, 6, 7, 8};
    const int32_t actions[] = {-1, -1, 1, 0, 0, 0, 1, 0, 0, 1};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(h.Players[i].Seat, seats[i]) << i;
        EXPECT_EQ(h.Action[i], actions[i]) << h.Players[i].Name;
        EXPECT_DOUBLE_EQ(h.Players[i].Stack, 1500);
    }

    // The next hand is the file's second hand: slbseia (seat 5) is out in
    // tenth place, the button moves to the hero, the blinds to seats 10 and 1.
    const poker::THH& n = p->After;
    EXPECT_EQ(n.Button, 9);
    EXPECT_EQ(n.SmallBlindSeat, 10);
    EXPECT_EQ(n.BigBlindSeat, 1);
    EXPECT_EQ(places.Place[4], 10);
    EXPECT_EQ(places.NextPlace, 9);
    ASSERT_EQ(n.PlayerCount, 9);
    std::ifstream file(TestFile("R-274-69.tournament.txt"), std::ios::binary);
    const std::vector<std::string> second = ReadHand(file, HandStartMark("T5-17631959-", 2));
    ASSERT_FALSE(second.empty());
    for (int i = 0; i < n.PlayerCount; ++i) {
        const std::string line = "Seat " + std::to_string(n.Players[i].Seat) + ": " + n.Players[i].Name + " (" +
                                  NumberText(n.Players[i].Stack) + ")";
        EXPECT_NE(std::find(second.begin(), second.end(), line), second.end()) << line;
    }
    // Everyone from the player after the big blind up to the hero folds to him.
    const int32_t nextActions[] = {-1, -1, -1, 0, 0, 0, 0, 0, 0};  // besac025 Chanel777 sergio92 luciano12 ...
    for (int i = 0; i < 9; ++i) EXPECT_EQ(n.Action[i], nextActions[i]) << n.Players[i].Name;
}

TEST(OngameHistory, HandWithAnteAndTheHeroWhoActsAfterTheBigBlind) {
    poker::TFinishingPlaces places;
    places.PlayerCount = places.NextPlace = 4;
    const auto p = ParseHand(HandOf(kTurboHand), 6, places);
    ASSERT_TRUE(p);
    EXPECT_DOUBLE_EQ(p->Before.Ante, 10);
    EXPECT_DOUBLE_EQ(p->Before.SmallBlind, 50);
    EXPECT_DOUBLE_EQ(p->Before.BigBlind, 100);
    // Carol went in before the hero; the pass ends at the hero's line.
    EXPECT_EQ(p->Before.Action[3], 1);
    EXPECT_EQ(p->Before.Action[2], -1);
    EXPECT_EQ(p->Before.Action[0], -1);  // Alice folds after the hero: not read
    EXPECT_EQ(places.Place[1], 4);       // Carol, seat 2
    const poker::THH& n = p->After;
    ASSERT_EQ(n.PlayerCount, 3);
    EXPECT_EQ(n.Button, 3);  // seat 2 is out: the next seat with chips
    EXPECT_EQ(n.SmallBlindSeat, 5);
    EXPECT_EQ(n.BigBlindSeat, 1);
    // The hero is the big blind: both others fold to him.
    EXPECT_EQ(n.Action[0], 0);
    EXPECT_EQ(n.Action[1], 0);
    EXPECT_EQ(n.Action[2], -1);
}

TEST(OngameHistory, AHandLackingALineIsRefusedWithoutReadingPastItsEnd) {
    const std::vector<std::string> hand = HandOf(kTurboHand);
    for (const char* part : {"Table:", "User:", "Dealing to", "Summary:", "Seat "}) {
        std::vector<std::string> cut;
        for (const std::string& line : hand)
            if (line.find(part) == std::string::npos) cut.push_back(line);
        poker::TFinishingPlaces places;
        places.NextPlace = 7;
        EXPECT_FALSE(ParseHand(cut, 6, places)) << part;
        EXPECT_EQ(places.NextPlace, 7) << part;  // nothing was given away
    }
    // Every cut of the hand is read or refused; none reads past its end
    // (the sanitizers would say so).
    for (size_t n = 0; n <= hand.size(); ++n) {
        poker::TFinishingPlaces places;
        const std::vector<std::string> prefix(hand.begin(), hand.begin() + static_cast<std::ptrdiff_t>(n));
        const auto p = ParseHand(prefix, 6, places);
        if (n < hand.size() - 5) {
            EXPECT_FALSE(p) << n;  // the summary's seats are not there yet
        }
    }
}

TEST(OngameHistory, NumbersThatAreNoNumbersRefuseTheHand) {
    KOVA_REQUIRE_TESTDATA("handhistories/ongame");
    poker::TFinishingPlaces places;
    // The cash hand's blinds are "$0.50": no tournament blinds.
    EXPECT_FALSE(ParseHand(FirstHandOfFile("hhs-cash-NoLimitHoldem.txt"), 10, places));
    std::string garbled = kTurboHand;
    garbled.replace(garbled.find("(1200)"), 6, "(12x0)");
    EXPECT_FALSE(ParseHand(HandOf(garbled), 6, places));
    // Eleven seats do not fit a hand record.
    std::string crowded = kTurboHand;
    std::string seats;
    for (int s = 1; s <= 11; ++s) seats += "Seat " + std::to_string(s) + ": P" + std::to_string(s) + " (100)\r\n";
    crowded.replace(crowded.find("Seat 3: Alice"), 0, seats);
    EXPECT_FALSE(ParseHand(HandOf(crowded), 10, places));
}

TEST(OngameHistory, NobodyWithChipsDoesNotHangTheMoveToTheNextHand) {
    std::string broke = kTurboHand;
    for (const char* s : {"(840)", "(1090)", "(3610)"}) broke.replace(broke.find(s), std::string(s).size(), "(0)");
    poker::TFinishingPlaces places;
    places.PlayerCount = places.NextPlace = 4;
    const auto p = ParseHand(HandOf(broke), 6, places);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->After.PlayerCount, 0);
}

// ---- the level clock ------------------------------------------------------------------------

TEST(OngameLevelTimer, CountsDownTheCurrentLevel) {
    const double now = 40537.5;
    const double second = 1.0 / 86400;
    EXPECT_EQ(LevelTimerText(now - 100 * second, now, 8), " 06:17 ");  // 103 s into a level of 8 minutes
    EXPECT_EQ(LevelTimerText(now - 100 * second, now, 3), " 01:17 ");
    EXPECT_EQ(LevelTimerText(now - 3600 * second, now, 8), " 03:57 ");  // the eighth level began 3 s early
    EXPECT_EQ(LevelTimerText(0, now, 8), "");
    EXPECT_EQ(LevelTimerText(now, now, 0), "");
}

TEST(OngameNumbers, IntegersPrintWithoutAFraction) {
    EXPECT_EQ(NumberText(1500), "1500");
    EXPECT_EQ(NumberText(0.5), "0.5");
    EXPECT_EQ(NumberText(2.25), "2.25");
}

TEST(OngameNumbers, NumbersArePlainDecimalsNeverExponents) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {100000, "100000"}, {50000, "50000"}, {1e6, "1000000"}, {2.5e7, "25000000"},
        {0.0001, "0.0001"}, {1e21, "1000000000000000000000"}, {-200000, "-200000"}, {0, "0"},
    };
    for (const Case& c : cases) EXPECT_EQ(NumberText(c.value), c.text) << c.value;
    EXPECT_EQ(NumberText(1.7976931348623157e308).size(), 309u);
    EXPECT_EQ(NumberText(5e-324).rfind("0.", 0), 0u);
}

}  // namespace
}  // namespace kova::tables::ongame
