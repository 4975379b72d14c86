// The Full Tilt Poker lobby against the simulated one: it is collected by
// the scan (or taken by a group), registers one step per tick up to the
// limit, unregisters above it, and answers the registration dialogs while
// the registrator is stopped.
#include "tables/engine/client_fixture.h"
#include "clients/clients_protocol.h"
#include "tables/adapters/fulltilt/ftpmain.h"

namespace kova::tables {
namespace {

using namespace kova::tables::testing;
using namespace kova::sim;

class FullTiltTest : public ClientTest {
protected:
    FullTiltTest() : ClientTest("kovafulltilttest") {}

    void SetUp() override {
        ClientTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        PokerRooms[0].Name = "My room";
        EngineOptions.PokerStars.SendToBottom = false;
        EngineOptions.PokerStars.AutoClosePopups = true;
    }

    // The registered rows of the simulated lobby, as a bit set.
    LRESULT Registered() { return Send("ftp-state") & ~kFullTiltStateBase; }

    TFTPMain* Lobby() { return Lobbies.empty() ? nullptr : dynamic_cast<TFTPMain*>(Lobbies[0].get()); }
};

TEST_F(FullTiltTest, TheLobbyIsCollectedWhileWantedOrTakenByAGroupAndNeverPlaced) {
    HWND lobby = reinterpret_cast<HWND>(Send("ftp-lobby"));
    ASSERT_TRUE(lobby);
    const RECT before = WindowRect(lobby);

    // Not wanted: left alone.
    ASSERT_TRUE(Scan());
    EXPECT_TRUE(Lobbies.empty());

    FullTiltLobbyWanted = 1;
    ASSERT_TRUE(Scan());
    ASSERT_NE(Lobby(), nullptr);
    EXPECT_EQ(Lobby()->Window(), lobby);
    EXPECT_EQ(Lobby()->GroupIndex, -1);
    EXPECT_EQ(FullTiltLobbyWanted, 0);
    EXPECT_EQ(Logged("FTPMain started "), 1u);
    EXPECT_EQ(Logged("FTP Lobby Num=  0 "), 1u);
    ASSERT_TRUE(Scan());
    EXPECT_EQ(Lobbies.size(), 1u);

    // Freed with its window: the next lobby is wanted again.
    FreeAllTables();
    EXPECT_EQ(FullTiltLobbyWanted, 1);

    // A group of a room no client claims takes the window as the lobby too.
    FullTiltLobbyWanted = 0;
    RunningConfig.Groups = {ClientGroup("QWidget", "Full Tilt", 2)};
    RunningConfig.Groups[0].AutoActivate = 1;
    ASSERT_TRUE(Scan());
    // It joins the lobbies: no slot of the group is taken by it.
    EXPECT_TRUE(Tables.empty());
    ASSERT_NE(Lobby(), nullptr);
    EXPECT_EQ(Lobby()->GroupIndex, 0);
    EXPECT_EQ(Logged("FTP lobby added  " + std::to_string(reinterpret_cast<intptr_t>(lobby)) + " "), 1u);
    ASSERT_TRUE(Scan());
    EXPECT_EQ(Lobbies.size(), 1u);
    const RECT after = WindowRect(lobby);
    EXPECT_TRUE(EqualRect(&before, &after));  // never placed
    EXPECT_EQ(Lobby()->MyTurn, 0);
}

TEST_F(FullTiltTest, RegistersUpToTheAllowanceAndUnregistersAboveIt) {
    HWND lobby = reinterpret_cast<HWND>(Send("ftp-lobby rows=6"));
    ASSERT_TRUE(lobby);
    FullTiltLobbyWanted = 1;
    ASSERT_TRUE(Scan());
    ASSERT_NE(Lobby(), nullptr);

    // Two tournaments may be open, of three rows.
    EngineOptions.CurTourEditFTP = "2";
    EngineOptions.TotalTourEditFTP = "16";
    EngineOptions.MaxTourEditFTP = "3";
    FullTiltRegistratorRunning = 1;

    // One phase per tick: the machine never skips a step within a scan.
    int32_t lastPhase = Lobby()->Phase;
    bool onePhasePerTick = true;
    ASSERT_TRUE(ScanWithin(
        [&] {
            const int32_t phase = Lobby()->Phase;
            if (phase > lastPhase + 1 && !(lastPhase == 5 && phase == 8)) onePhasePerTick = false;
            lastPhase = phase;
            return Registered() == 0b11 && Lobby()->Phase == 0;
        },
        20000));
    EXPECT_TRUE(onePhasePerTick);
    EXPECT_EQ(Lobby()->Registered, 2);
    EXPECT_EQ(Lobby()->Limit, 2);
    EXPECT_EQ(Logged("NumReg Start 0"), 1u);
    EXPECT_EQ(ClientLogged("ftp tab sng"), ClientLogged("ftp tab"));  // always the Sit & Go tab
    EXPECT_EQ(ClientLogged("ftp decoy list clicked"), 0u);
    // The limit holds: nothing more is registered.
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(Scan());
    EXPECT_EQ(Registered(), 0b11);
    EXPECT_EQ(ClientLogged("ftp press Register"), 2u);
    EXPECT_EQ(Logged("NumReg= 2, MaxReg= 2 "), 1u);

    // One tournament fewer allowed: one row is unregistered.
    EngineOptions.CurTourEditFTP = "1";
    ASSERT_TRUE(ScanWithin([&] { return Lobby()->Registered == 1 && Lobby()->Phase == 0; }, 20000));
    EXPECT_EQ(ClientLogged("ftp press Unregister"), 1u);
    EXPECT_EQ(__builtin_popcountll(static_cast<unsigned long long>(Registered())), 1);
}

TEST_F(FullTiltTest, WhileStoppedADialogIsAnsweredByTheLimits) {
    HWND lobby = reinterpret_cast<HWND>(Send("ftp-lobby"));
    ASSERT_TRUE(lobby);
    FullTiltLobbyWanted = 1;
    ASSERT_TRUE(Scan());
    ASSERT_NE(Lobby(), nullptr);
    struct Case {
        const char* keepOpen;
        const char* answer;
    };
    for (const Case c : {Case{"8", "ftp buy-in not accepted"}, Case{"0", "ftp dialog cancelled"}}) {
        SCOPED_TRACE(c.keepOpen);
        EngineOptions.CurTourEditFTP = c.keepOpen;
        HWND dialog = reinterpret_cast<HWND>(Send("ftp-dialog"));
        ASSERT_TRUE(dialog);
        ASSERT_TRUE(ScanWithin([&] { return !IsWindow(dialog); }, 5000));
        EXPECT_EQ(ClientLogged(c.answer), 1u);
    }
    // Without "Automatically close all popups" a dialog stays.
    EngineOptions.PokerStars.AutoClosePopups = false;
    HWND dialog = reinterpret_cast<HWND>(Send("ftp-dialog"));
    ASSERT_TRUE(dialog);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(Scan());
    EXPECT_TRUE(IsWindow(dialog));
}

}  // namespace
}  // namespace kova::tables
