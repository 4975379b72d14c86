// PokerStars hand-history files: hands, start times, encodings, and the
// real files of the public test data.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/require.h"
#include "tables/adapters/pokerstars/portable/history.h"

namespace kova::tables::pokerstars {
namespace {

TEST(PokerStarsHistory, DateAndTimeAfterTheLastDash) {
    struct Case {
        const char* line;
        const char* start;  // "none": does not convert
    };
    const Case cases[] = {
        {"PokerStars Hand #1: Tournament #2, $1+$0.10 USD Hold'em No Limit - Level I (10/20) - 2012/02/16 22:26:13 ET",
         "2012-02-16 22:26:13"},
        {"PokerStars Game #2: Hold'em No Limit ($0.05/$0.10 USD) - 2005/08/22 2:26:06 ET", "2005-08-22 02:26:06"},
        {"PokerStars Hand #3: Tournament #4 - Level I (10/20) - 2010/06/05 18:20:59 WET [2010/06/05 13:20:59 ET]",
         "2010-06-05 18:20:59"},
        {"PokerStars Hand #4: x - 2011/4/5 4:00:18", "2011-04-05 04:00:18"},
        {"PokerStars Hand #5: x - 2021/03/22 20:02 UTC", "2021-03-22 20:02:00"},
        {"PokerStars Hand #6: x - 2012/02/30 22:26:13 ET", "none"},   // no such day
        {"PokerStars Hand #7: x - 2012/13/01 22:26:13 ET", "none"},
        {"PokerStars Hand #8: x - 2012/02/16 24:00:00 ET", "none"},
        {"PokerStars Hand #9: x - 2012/02/16 22:26:1", "none"},
        {"PokerStars Hand #10: x - 2012/02/16", "none"},
        {"PokerStars Hand #11: x - yesterday", "none"},
        {"PokerStars Hand #12: x - 2012/02/16 22:26:13ET", "none"},
        {"Full Tilt Hand #1: x - 2012/02/16 22:26:13 ET", "none"},       // not a PokerStars hand
        {"PokerStars Hand #13: x - 2012/02/16 22:26:13 ET - ", "none"},
        {"PokerStars Hand #14: 2000/01/01 00:00:00", "none"},             // no " - " before the time: not a date
        {"PokerStars Hand #15: x - 2000/02/29 23:59:59", "2000-02-29 23:59:59"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const std::optional<double> t = HandStartTime({c.line});
        EXPECT_EQ(t ? FormatDayBasedTime(*t) : std::string("none"), c.start);
    }
    EXPECT_FALSE(HandStartTime({}).has_value());
    EXPECT_DOUBLE_EQ(DayBasedTime(1899, 12, 30, 0, 0, 0), 0.0);
    EXPECT_DOUBLE_EQ(DayBasedTime(1970, 1, 1, 12, 0, 0), 25569.5);
}

TEST(PokerStarsHistory, HandsOfAFile) {
    const std::string text =
        "\xEF\xBB\xBFPokerStars Hand #1: a - 2012/02/16 22:26:13 ET\r\nline a\r\n\r\n"
        "PokerStars Game #2: b - 2012/02/16 22:27:13 ET\nline b\n"
        "PokerStars Zoom Hand #3: c - 2012/02/16 22:28:13 ET\rline c";
    const std::vector<std::string> lines = HistoryLines(text);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(CountHands(lines), 3);
    EXPECT_EQ(ReadHand(lines, 1), (std::vector<std::string>{"PokerStars Hand #1: a - 2012/02/16 22:26:13 ET", "line a", ""}));
    EXPECT_EQ(ReadHand(lines, 2).back(), "line b");
    EXPECT_EQ(ReadHand(lines, 0), ReadHand(lines, 3));  // 0: the last hand
    EXPECT_TRUE(ReadHand(lines, 4).empty());
    EXPECT_TRUE(ReadHand({"no hands", "here"}, 0).empty());

    // Long lines are cut; the time of a cut line does not convert.
    const std::string longLine = "PokerStars Hand #9: " + std::string(300, 'x') + " - 2012/02/16 22:26:13 ET";
    const std::vector<std::string> cut = HistoryLines(longLine);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].size(), MaxHistoryLine);
    EXPECT_FALSE(HandStartTime(cut).has_value());
}

TEST(PokerStarsHistory, Utf16Files) {
    // UTF-16 units of the text, the euro sign among them.
    std::u16string units = u"PokerStars Hand #1: \u20AC - 2012/02/16 22:26:13 ET\r\nx";
    for (bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (char16_t u : units) {
            const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
            bytes += bigEndian ? hi : lo;
            bytes += bigEndian ? lo : hi;
        }
        const std::vector<std::string> lines = HistoryLines(bytes);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], "PokerStars Hand #1: ? - 2012/02/16 22:26:13 ET");
        EXPECT_EQ(FormatDayBasedTime(*HandStartTime(ReadHand(lines, 1))), "2012-02-16 22:26:13");
    }
}

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every file the client wrote gives a start time for each of its hands;
// the files of other rooms have no PokerStars hand at all.
TEST(PokerStarsHistory, RealFiles) {
    for (const char* folder : {"handhistories/pokerstars-tournament", "handhistories/pokerstars-cash"}) {
        KOVA_REQUIRE_TESTDATA(folder);
        for (const auto& e : std::filesystem::directory_iterator(kova::test::TestDataPath(folder))) {
            SCOPED_TRACE(e.path().string());
            const std::vector<std::string> lines = HistoryLines(ReadAll(e.path()));
            const int32_t hands = CountHands(lines);
            EXPECT_GT(hands, 0);
            for (int32_t k = 1; k <= hands; ++k) EXPECT_TRUE(HandStartTime(ReadHand(lines, k)).has_value()) << "hand " << k;
        }
    }
    KOVA_REQUIRE_TESTDATA("handhistories/pokerstars-format-variants");
    for (const auto& e : std::filesystem::directory_iterator(kova::test::TestDataPath("handhistories/pokerstars-format-variants"))) {
        SCOPED_TRACE(e.path().string());
        EXPECT_EQ(CountHands(HistoryLines(ReadAll(e.path()))), 0);
    }
    // A file with a bracketed second time: the first one counts.
    const std::vector<std::string> lines =
        HistoryLines(ReadAll(kova::test::TestDataPath("handhistories/pokerstars-tournament/NLHE-Play-STT-20110405.txt")));
    EXPECT_EQ(FormatDayBasedTime(*HandStartTime(ReadHand(lines, 1))), "2011-04-05 04:00:18");
}

}  // namespace
}  // namespace kova::tables::pokerstars
