// The iPoker adapters against the simulated client: the main window is
// attached once per request, tournament tables are placed, read their small
// blind and get their turns, pop-ups are clicked away, and the lobby is
// closed.
#include <chrono>

#include "tables/engine/client_fixture.h"
#include "clients/clients_protocol.h"
#include "tables/adapters/ipoker/ipoker.h"

namespace kova::tables {
namespace {

using namespace kova::tables::testing;
using namespace kova::sim;

constexpr const char* kTableClass = "iPokerTableFrame";

class IPokerTest : public ClientTest {
protected:
    IPokerTest() : ClientTest("kovaipokertest") {}

    void SetUp() override {
        ClientTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        // Tables and the lobby: every window of the client whose title has
        // "Tournament" in it.
        RunningConfig.Groups = {ClientGroup("iPoker", "Tournament", 3)};
        TPokerRoom& room = PokerRooms[0];
        room.RoomType = RoomIPoker;
        room.Name = "iPoker";
        room.Proportional = 1;
        room.ScaleRef = TScaleRef{800, 600, 0, 0};
        room.FoldPoint = TColourPoint{504, 543, 0, 0};  // the middle of the simulated Fold button
        room.FoldColour = TRGB{GetRValue(kFoldColour), GetGValue(kFoldColour), GetBValue(kFoldColour)};
        room.Tolerance = 10;
        IPokerMainWanted = 1;
    }

    std::vector<TIPokerMain*> Mains() {
        std::vector<TIPokerMain*> mains;
        for (const TOwnedTable& l : Lobbies)
            if (auto* m = dynamic_cast<TIPokerMain*>(l.get())) mains.push_back(m);
        return mains;
    }

    HWND Popup(const std::string& of, const char* ok = nullptr) {
        std::string cmd = "ipoker-popup of=" + of;
        if (ok) cmd += std::string(" ok=") + ok;
        return reinterpret_cast<HWND>(Send(cmd));
    }
};

TEST_F(IPokerTest, TablesAreAdoptedPlacedAndTheMainWindowIsAttachedOncePerRequest) {
    HWND main = reinterpret_cast<HWND>(Send("ipoker-main"));
    HWND a = Open(1, kTableClass, "Tournament 1111 - 50/100 NL Hold'em");
    HWND b = Open(2, kTableClass, "Tournament 2222 - 25/50 NL Hold'em");
    ASSERT_TRUE(main && a && b);
    ASSERT_EQ(Send("ipoker-raise"), 1);  // the client's first window
    ASSERT_TRUE(Scan());

    ASSERT_EQ(Tables.size(), 2u);
    for (HWND h : {a, b}) {
        auto* t = dynamic_cast<TIPokerTournament*>(TableOf(h));
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->Kind, KindTournament);
        EXPECT_EQ(t->Network, 2);
        EXPECT_EQ(t->RefWidth, 801);
        EXPECT_EQ(t->MinHeight, 360);
        EXPECT_TRUE(InSlot(h, RunningConfig.Groups[0].Slots[static_cast<size_t>(t->Slot)])) << t->Slot;
    }
    EXPECT_EQ(TableOf(a)->SmallBlind, 50);
    EXPECT_EQ(TableOf(b)->SmallBlind, 25);
    EXPECT_EQ(dynamic_cast<TIPokerTournament*>(TableOf(a))->TournamentId, "Tournament 1111 - 50/100 NL Hold'em");

    ASSERT_EQ(Mains().size(), 1u);
    EXPECT_EQ(Mains()[0]->Window(), main);
    EXPECT_EQ(Mains()[0]->GroupIndex, -1);
    EXPECT_EQ(Mains()[0]->Kind, KindMainLobby);
    EXPECT_EQ(IPokerMainWanted, 0);
    EXPECT_EQ(Logged("Add Main: iPoker Poker Client"), 1u);

    // Another table: the request was answered.
    ASSERT_TRUE(Open(3, kTableClass, "Tournament 3333 - 10/20"));
    ASSERT_EQ(Send("ipoker-raise"), 1);
    ASSERT_TRUE(Scan());
    EXPECT_EQ(Tables.size(), 3u);
    EXPECT_EQ(Mains().size(), 1u);

    // A new request while the main window is attached adds nothing and stays.
    IPokerMainWanted = 1;
    ASSERT_TRUE(Open(4, kTableClass, "Tournament 4444 - 10/20"));
    ASSERT_EQ(Send("ipoker-raise"), 1);
    ASSERT_TRUE(Scan());
    EXPECT_EQ(Mains().size(), 1u);
    EXPECT_EQ(IPokerMainWanted, 1);
    EXPECT_EQ(Logged("Add Main: iPoker Poker Client"), 1u);
}

TEST_F(IPokerTest, AWindowThatIsTheClientsMainWindowBecomesTheMainAdapterItself) {
    // No other window of the client: the table is its process's first.
    HWND a = Open(1, kTableClass, "Tournament 1111 - 50/100");
    ASSERT_TRUE(a);
    ASSERT_TRUE(Scan());
    ASSERT_EQ(Tables.size(), 1u);
    EXPECT_NE(dynamic_cast<TIPokerMain*>(Tables[0].get()), nullptr);
    EXPECT_EQ(IPokerMainWanted, 0);
    EXPECT_TRUE(Lobbies.empty());
    // The next table of the client is a tournament table.
    HWND b = Open(2, kTableClass, "Tournament 2222 - 25/50");
    ASSERT_TRUE(b);
    ASSERT_TRUE(Scan());
    EXPECT_NE(dynamic_cast<TIPokerTournament*>(TableOf(b)), nullptr);
}

TEST_F(IPokerTest, ATitleWhoseBlindCannotBeReadKeepsTheLastOne) {
    IPokerMainWanted = 0;
    HWND a = Open(1, kTableClass, "Tournament 1111 - 50/100");
    ASSERT_TRUE(a);
    ASSERT_TRUE(Scan());
    ASSERT_NE(TableOf(a), nullptr);
    EXPECT_EQ(TableOf(a)->SmallBlind, 50);
    ASSERT_EQ(Send("title 1 \"Tournament 1111 - Break\""), 1);
    ASSERT_TRUE(Scan());
    EXPECT_EQ(TableOf(a)->SmallBlind, 50);
    ASSERT_EQ(Send("title 1 \"Tournament 1111 - 75/150\""), 1);
    ASSERT_TRUE(Scan());
    EXPECT_EQ(TableOf(a)->SmallBlind, 75);
}

TEST_F(IPokerTest, ATournamentTablesTurnIsDetectedFromItsFoldButton) {
    IPokerMainWanted = 0;
    RunningConfig.Groups[0].AutoActivate = 1;
    HWND a = Open(1, kTableClass, "Tournament 1111 - 50/100");
    ASSERT_TRUE(a);
    ASSERT_TRUE(Scan());
    ASSERT_NE(TableOf(a), nullptr);
    EXPECT_EQ(TableOf(a)->MyTurn, 0);
    ASSERT_EQ(Send("turn 1 on"), 1);
    ASSERT_TRUE(Scan());
    EXPECT_EQ(TableOf(a)->MyTurn, 1);
    EXPECT_EQ(ActiveTableWnd, reinterpret_cast<uintptr_t>(a));
    ASSERT_EQ(Send("turn 1 off"), 1);
    ASSERT_TRUE(Scan());
    ASSERT_TRUE(Scan());
    EXPECT_EQ(TableOf(a)->MyTurn, 0);
}

TEST_F(IPokerTest, ATournamentPopupIsClickedUntilItClosesAndNothingElseIsClicked) {
    IPokerMainWanted = 0;
    HWND a = Open(1, kTableClass, "Tournament 1111 - 50/100");
    ASSERT_TRUE(a);
    ASSERT_TRUE(Scan());
    ASSERT_NE(TableOf(a), nullptr);
    // Without a pop-up nothing is clicked.
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(Scan());
    EXPECT_EQ(ClientLogged("ipoker popup"), 0u);
    EXPECT_FALSE(LoggedStarting("Popup Tourn:"));

    // A pop-up that closes on the first click gets exactly one.
    HWND p = Popup("1");
    ASSERT_TRUE(p);
    ASSERT_TRUE(ScanWithin([&] { return !IsWindow(p); }, 5000));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(Scan());
    EXPECT_EQ(ClientLogged("ipoker popup 1 click"), 1u);

    // One whose button lies at the second point gets two.
    HWND q = Popup("1", "170,210,190,230");
    ASSERT_TRUE(q);
    ASSERT_TRUE(ScanWithin([&] { return !IsWindow(q); }, 5000));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(Scan());
    EXPECT_EQ(ClientLogged("ipoker popup 2 click"), 2u);
    EXPECT_TRUE(LoggedStarting("Popup Tourn:"));
    // No click went through to the table.
    EXPECT_TRUE(kova::sim::LeftClicksInLog(ClientLog()).empty());
}

TEST_F(IPokerTest, TheMainWindowsPopupIsClickedAway) {
    HWND main = reinterpret_cast<HWND>(Send("ipoker-main"));
    HWND a = Open(1, kTableClass, "Tournament 1111 - 50/100");
    ASSERT_TRUE(main && a);
    ASSERT_EQ(Send("ipoker-raise"), 1);
    ASSERT_TRUE(Scan());
    ASSERT_EQ(Mains().size(), 1u);
    HWND p = Popup("main");
    ASSERT_TRUE(p);
    ASSERT_TRUE(ScanWithin([&] { return !IsWindow(p); }, 5000));
    EXPECT_EQ(ClientLogged("ipoker popup 1 click"), 1u);
    EXPECT_GE(Logged("Popup Main: " + std::to_string(reinterpret_cast<intptr_t>(p))), 1u);
}

TEST_F(IPokerTest, TheLobbyIsClosedAfterItsPopupsAndAfterTwoSecondsWithoutOne) {
    IPokerMainWanted = 0;
    for (int popups : {0, 1, 2}) {
        SCOPED_TRACE(popups);
        const size_t popupLines = ClientLogged("ipoker popup"), lobbyClicks = ClientLogged("ipoker lobby click x=420 y=450");
        // A new lobby replaces the hidden one of the case before.
        HWND lobby = reinterpret_cast<HWND>(Send("ipoker-lobby popups=" + std::to_string(popups)));
        ASSERT_TRUE(lobby);
        ASSERT_TRUE(Scan());
        ASSERT_EQ(Lobbies.size(), 1u);
        EXPECT_NE(dynamic_cast<TIPokerLobby*>(Lobbies[0].get()), nullptr);
        EXPECT_TRUE(Tables.empty());
        EXPECT_EQ(Logged("Add Lobby: Tournament lobby"), static_cast<size_t>(popups + 1));
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(ScanWithin([&] { return !IsWindowVisible(lobby); }, 10000));
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        // Each pop-up opened, was clicked once and closed.
        EXPECT_EQ(ClientLogged("ipoker popup") - popupLines, static_cast<size_t>(3 * popups));
        if (popups == 0) {
            // Two seconds without a pop-up, then a click on the lobby and the close.
            EXPECT_GT(seconds, 1.9);
            EXPECT_EQ(ClientLogged("ipoker lobby click x=420 y=450") - lobbyClicks, 1u);
        } else {
            EXPECT_EQ(ClientLogged("ipoker lobby click x=420 y=450") - lobbyClicks, 0u);
        }
        // Hidden, it stays among the lobbies until its window goes.
        ASSERT_TRUE(Scan());
        EXPECT_EQ(Lobbies.size(), 1u);
    }
}

TEST_F(IPokerTest, ASlowClientTakesTheLobbyClickBeforeTheLobbyIsClosed) {
    IPokerMainWanted = 0;
    HWND lobby = reinterpret_cast<HWND>(Send("ipoker-lobby popups=0"));
    ASSERT_TRUE(lobby);
    ASSERT_TRUE(Scan());
    ASSERT_EQ(Lobbies.size(), 1u);
    auto* adapter = dynamic_cast<TIPokerLobby*>(Lobbies[0].get());
    ASSERT_NE(adapter, nullptr);
    ASSERT_TRUE(ScanWithin([&] { return adapter->AdapterState == TIPokerLobby::ClosingLobby; }, 5000));
    // The click activates the lobby, and the client then stops reading for
    // longer than any click waits for it: the click lies unread in its queue
    // while the adapter goes on.
    ASSERT_EQ(Send("ipoker-hold-lobby 1500"), 1);
    ASSERT_TRUE(ScanWithin([&] { return !IsWindowVisible(lobby); }, 10000));
    EXPECT_EQ(ClientLogged("ipoker lobby click x=420 y=450"), 1u);
    EXPECT_EQ(ClientLogged("ipoker lobby closed"), 1u);
    const std::string log = ClientLog();
    EXPECT_LT(log.find("ipoker lobby click"), log.find("ipoker lobby closed")) << log;
}

}  // namespace
}  // namespace kova::tables
