#include <gtest/gtest.h>

#include "tables/adapters/fulltilt/portable/ftp_registration.h"

namespace kova::tables {
namespace {

TEST(FullTiltRegistration, TheLimitIsTheAllowanceWithinZeroAndTheLobbyRows) {
    struct Case {
        int32_t allowed, rows, limit;
    };
    const Case cases[] = {
        {2, 4, 2},    // never more than allowed
        {5, 4, 4},    // never more than the lobby's rows
        {8, 4, 4},
        {3, 4, 3},
        {0, 4, 0},
        {-3, 4, 0},   // more open than wanted: nothing to register
        {1, 4, 1},
        {4, 4, 4},
        {3, -1, 0},   // a lobby row count below 0 registers nothing
    };
    for (const Case& c : cases)
        EXPECT_EQ(FullTiltRegistrationLimit(c.allowed, c.rows), c.limit) << c.allowed << " " << c.rows;
}

TEST(FullTiltRegistration, TheAllowanceIsWhatTheOpenTablesAndTheSessionLeave) {
    TFullTiltSettings s;  // keep open 8, total 16
    EXPECT_EQ(FullTiltAllowed(s, 3, 10), 5);
    EXPECT_EQ(FullTiltAllowed(s, 3, 14), 2);
    EXPECT_EQ(FullTiltAllowed(s, 9, 0), -1);
    s.KeepOpen = INT32_MAX;
    s.TotalTournaments = INT32_MIN;
    EXPECT_EQ(FullTiltAllowed(s, -1, 1), INT32_MIN);  // clamped, not wrapped
}

TEST(FullTiltRegistration, SettingsAreReadFromTheEditsWithTheirDefaults) {
    TEngineOptions o;
    TFullTiltSettings s = ReadFullTiltSettings(o);
    EXPECT_EQ(s.KeepOpen, 8);
    EXPECT_EQ(s.TotalTournaments, 16);
    EXPECT_EQ(s.LobbyRows, 4);

    o.CurTourEditFTP = " 3 ";
    o.TotalTourEditFTP = "x";
    o.MaxTourEditFTP = "2";
    s = ReadFullTiltSettings(o);
    EXPECT_EQ(s.KeepOpen, 3);
    EXPECT_EQ(s.TotalTournaments, 16);
    EXPECT_EQ(s.LobbyRows, 2);

    EXPECT_EQ(EditNumber("", 7), 7);
    EXPECT_EQ(EditNumber("12a", 7), 7);
    EXPECT_EQ(EditNumber("+4", 7), 4);
    EXPECT_EQ(EditNumber("-4", 7), -4);
    EXPECT_EQ(EditNumber("99999999999", 7), 7);
}

TEST(FullTiltRegistration, RowsAreWalkedRoundRobin) {
    int32_t row = 0;
    std::vector<int32_t> walked;
    for (int i = 0; i < 7; ++i) walked.push_back(row = NextLobbyRow(row, 3));
    EXPECT_EQ(walked, (std::vector<int32_t>{1, 2, 3, 1, 2, 3, 1}));
    EXPECT_EQ(NextLobbyRow(5, 3), 1);  // the rows were made fewer
    EXPECT_EQ(NextLobbyRow(0, 0), 1);
    EXPECT_EQ(FullTiltRowY(1), 7);
    EXPECT_EQ(FullTiltRowY(4), 46);
}

}  // namespace
}  // namespace kova::tables
