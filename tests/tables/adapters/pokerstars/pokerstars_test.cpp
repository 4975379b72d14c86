// The PokerStars adapters against the simulated client in its PokerStars
// mode: tables adopted with their title facts and blinds, the level clock
// from hand-history files the client appends, tables closed when no longer
// played, and the lobby keeping the user registered in both clients'
// layouts.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/require.h"
#include "common/win32_testing.h"
#include "tables/engine/client_fixture.h"
#include "simclient_protocol.h"
#include "tables/adapters/pokerstars/pokerstars.h"
#include "tables/engine/adapter_factory.h"
#include "tables/engine/autoplace.h"

namespace kova::tables {
namespace {

using namespace kova::test;
using namespace kova::tables::testing;
using kova::sim::SendCommand;

constexpr const char* kClient = "kovapokerstarstest";

// An information panel that only remembers its labels.
class FakeHUD : public TTableHUD {
public:
    struct Label {
        std::string text;
        bool visible = true;
    };
    void CreateMyLabel(const std::string& name, int32_t, int32_t, const std::string& caption, const std::string&) override {
        if (!caption.empty()) labels[name] = Label{caption, true};
    }
    void LoadLayout(const std::string&) override {}
    void UpdateMenus() override {}
    void FollowTable() override {}
    void SetLabelText(const std::string& name, const std::string& text) override {
        if (labels.count(name)) labels[name].text = text;
    }
    void SetLabelVisible(const std::string& name, bool visible) override {
        if (labels.count(name)) labels[name].visible = visible;
    }
    std::string LabelText(const std::string& name) const override {
        auto it = labels.find(name);
        return it == labels.end() ? std::string() : it->second.text;
    }
    std::map<std::string, Label> labels;
};

class PokerStarsTest : public ClientTest {
protected:
    PokerStarsTest() : ClientTest(kClient) {}

    void SetUp() override {
        ClientTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ScanPaused = 1;  // the registrator's tests start the scan themselves
        RunningConfig.Name.clear();
        PokerRooms[0].RoomType = RoomPokerStars;
        PokerRooms[0].Name = "PokerStars";
        UserOptions.ShowHUD = 1;
        EngineServices.MakeHUD = [](TPokerTable&) -> std::unique_ptr<TTableHUD> { return std::make_unique<FakeHUD>(); };
    }
    HWND Open(const std::string& title, int id) {
        return reinterpret_cast<HWND>(Send("open id=" + std::to_string(id) + " class=PokerStarsTableFrameClass title=\"" + title + "\""));
    }
    // How often `what` appears in the client's log.
    int Count(const std::string& what) const {
        const std::string log = ClientLog();
        int n = 0;
        for (size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1)) ++n;
        return n;
    }
    // Ticks `t` every 50 ms until the condition holds or the time is up.
    bool TickUntil(TPokerTable& t, const std::function<bool()>& done, int ms) {
        return WaitUntil(
            [&] {
                t.Tick();
                Sleep(40);
                return done();
            },
            ms);
    }
};

TEST_F(PokerStarsTest, TheFactoryMakesTheAdapterByTitle) {
    HWND cash = Open("Altair II - $0.01/$0.02 USD - No Limit Hold'em", 1);
    HWND tour = Open("Tournament 123456789 Table 1 - $10+$1 NL Hold'em 9 Players - Blinds $25/$50 Ante $5", 2);
    ASSERT_TRUE(cash && tour);
    auto c = CreateTableAdapter(cash, "Altair II - $0.01/$0.02 USD - No Limit Hold'em", "PokerStarsTableFrameClass", 0, 0);
    auto t = CreateTableAdapter(tour, "Tournament 123456789 Table 1 - $10+$1 NL Hold'em 9 Players - Blinds $25/$50 Ante $5",
                                "PokerStarsTableFrameClass", 0, 0);
    ASSERT_TRUE(dynamic_cast<TPokerStarsCash*>(c.get()));
    auto* pt = dynamic_cast<TPokerStarsTournament*>(t.get());
    ASSERT_TRUE(pt);
    EXPECT_EQ(c->Network, 4);
    EXPECT_EQ(c->Kind, KindCash);
    EXPECT_EQ(pt->Kind, KindTournament);
    EXPECT_EQ(pt->TournamentId, "123456789");
    EXPECT_EQ(pt->SmallBlind, 25);
    EXPECT_EQ(pt->Facts.LevelMinutes, 10);
    EXPECT_EQ(NewTablesSeen, 2);
    EXPECT_EQ(std::count(logLines_.begin(), logLines_.end(), "PokerStars added "), 2);
    EXPECT_EQ(CreateTableAdapter(cash, "", "PokerStarsTableFrameClass", 0, 0), nullptr);  // no title: no adapter

    // The panel shows the title's facts; a change of the blinds reaches it
    // and re-sorts the tables of an Auto Sort group.
    RunningConfig.Groups.push_back(TGroupRec{});
    RunningConfig.Groups[0].AutoSort = 1;
    t->UpdateHUD();
    auto* hud = dynamic_cast<FakeHUD*>(t->HUD.get());
    ASSERT_TRUE(hud);
    EXPECT_EQ(hud->LabelText("Timer"), " 10:00 ");
    EXPECT_EQ(hud->LabelText("IDTour"), " 123456789 ");
    EXPECT_EQ(hud->LabelText("Buyin"), " $10.00 ");
    EXPECT_EQ(hud->LabelText("Players"), " 9 Players ");
    EXPECT_FALSE(hud->labels["Buyin"].visible);
    ResortPending = 0;
    t->ParseTitle();
    EXPECT_EQ(hud->LabelText("Blinds"), " 25 / 50 / 5 ");
    EXPECT_EQ(ResortPending, 0);
    ASSERT_EQ(Send("title 2 \"Tournament 123456789 Table 1 - $10+$1 NL Hold'em 9 Players - Blinds $50/$100 Ante $10\""), 1);
    t->ParseTitle();
    EXPECT_EQ(t->SmallBlind, 50);
    EXPECT_EQ(hud->LabelText("Blinds"), " 50 / 100 / 10 ");
    EXPECT_EQ(ResortPending, 1);
}

TEST_F(PokerStarsTest, TheLobbyAdapterFollowsTheClientChoice) {
    const HWND lobby = reinterpret_cast<HWND>(Send("pslobby"));
    ASSERT_TRUE(lobby);
    for (bool newer : {false, true}) {
        EngineOptions.PokerStars.NewerClient = newer;
        PokerStarsLobbyWanted = 1;
        auto made = CreateTableAdapter(lobby, "PokerStars Lobby - Logged in as Hero", "#32770", -1, 0);
        ASSERT_TRUE(made);
        EXPECT_EQ(made->Kind, KindMainLobby);
        EXPECT_EQ(dynamic_cast<TPokerStarsMain7*>(made.get()) != nullptr, newer);
        EXPECT_EQ(PokerStarsLobbyWanted, 0);
        made.reset();
        EXPECT_EQ(PokerStarsLobbyWanted, 1);  // wanted again once it is gone
    }
}

TEST_F(PokerStarsTest, TheLevelClockRunsFromTheHandHistory) {
    auto& o = EngineOptions.PokerStars;
    o.TimerEnabled = true;
    o.HHDir = dir_;
    const std::string title = "Tournament 424242 Table 1 - $1+$0.10 NL Hold'em 9 Players - Blinds $10/$20";
    HWND w = Open(title, 1);
    ASSERT_TRUE(w);
    auto t = CreateTableAdapter(w, title, "PokerStarsTableFrameClass", 0, 0);
    auto* pt = dynamic_cast<TPokerStarsTournament*>(t.get());
    ASSERT_TRUE(pt);
    t->UpdateHUD();
    auto* hud = dynamic_cast<FakeHUD*>(t->HUD.get());
    ASSERT_TRUE(hud);
    // A file of another tournament and a summary named like this one are
    // passed over.
    std::ofstream(dir_ + "\\HH T424241.txt") << "PokerStars Hand #1: x - 2012/02/16 22:00:00 ET\n";
    std::ofstream(dir_ + "\\HH T424242 - summary.txt") << "PokerStars Tournament #424242, No Limit Hold'em\n";
    t->Tick();
    EXPECT_EQ(pt->Clock.State, 0);

    const std::string hand = "pshand 1 dir=\"" + dir_ + "\"";
    ASSERT_EQ(Send(hand.c_str()), 1);
    ASSERT_TRUE(TickUntil(*t, [&] { return pt->Clock.State == 2; }, 5000));
    EXPECT_TRUE(Logged("Not a PokerStars hand history, passed over: HH T424242 - summary.txt"));
    EXPECT_NE(pt->Clock.TournamentStart, 0);
    // The start is the client's local time: within a minute of ours.
    EXPECT_NEAR((LocalNow() - pt->Clock.TournamentStart) * 1440.0, 0.0, 1.0);
    EXPECT_EQ(hud->LabelText("Timer"), " 10:00 ");  // no sample yet: nothing counts down

    ASSERT_EQ(Send(hand.c_str()), 1);
    ASSERT_TRUE(TickUntil(*t, [&] { return pt->Clock.LastGrowth != 0; }, 5000));
    ASSERT_EQ(Send(hand.c_str()), 1);
    ASSERT_TRUE(TickUntil(*t, [&] { return ClockOffsetSamples.Count == 1; }, 5000));
    t->Tick();
    const std::string timer = hud->LabelText("Timer");
    EXPECT_TRUE(timer == " 10:00 " || timer.rfind(" 09:", 0) == 0) << timer;
    EXPECT_NE(pt->TimerText, "");
    // The offset of two clocks on one computer is small.
    EXPECT_LT(std::abs(ClockOffsetSamples.Average) * 86400.0, 60.0);

    // The folder's listing is the session's: a reset forgets it with the
    // tables, and the engine is as at the program's start.
    EXPECT_EQ(PokerStarsHistoryFolder().Folder(), std::filesystem::path(dir_));
    t.reset();
    ResetEngine();
    EXPECT_TRUE(EngineState == TEngineState{});
    EXPECT_TRUE(PokerStarsHistoryFolder().Folder().empty());
}

TEST_F(PokerStarsTest, UnplayedCashTablesAreClosed) {
    auto& o = EngineOptions.PokerStars;
    o.AutoCloseCash = true;
    o.CloseTimeCash = 1;
    const std::string idle = "Altair II - $0.01/$0.02 USD - No Limit Hold'em";
    const std::string played = "Altair III - $0.01/$0.02 USD - No Limit Hold'em - Logged In as Hero";
    HWND a = Open(idle, 1), b = Open(played, 2);
    ASSERT_TRUE(a && b);
    auto ta = CreateTableAdapter(a, idle, "PokerStarsTableFrameClass", 0, 0);
    auto tb = CreateTableAdapter(b, played, "PokerStarsTableFrameClass", 0, 0);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(WaitUntil(
        [&] {
            ta->Tick();
            tb->Tick();
            Sleep(40);
            return !IsWindow(a);
        },
        8000));
    EXPECT_GT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_TRUE(IsWindow(b));
}

TEST_F(PokerStarsTest, FinishedTournamentsAreClosed) {
    auto& o = EngineOptions.PokerStars;
    o.AutoCloseTour = true;
    o.CloseTimeTour = 1;
    const std::string title = "Tournament 5 Table 1 - $1+$0.10 NL Hold'em 9 Players - Blinds $10/$20";
    HWND w = Open(title, 1);
    ASSERT_TRUE(w);
    auto t = CreateTableAdapter(w, title, "PokerStarsTableFrameClass", 0, 0);
    TickUntil(*t, [] { return false; }, 300);
    EXPECT_TRUE(IsWindow(w));  // no box: nothing
    ASSERT_NE(Send("psfinished 1"), 0);
    ASSERT_TRUE(TickUntil(*t, [&] { return !IsWindow(w); }, 8000));
    EXPECT_EQ(Count("psfinished close table=1"), 1);
}

// The lobby, ticked by the scan as the program does: it is collected while
// PokerStarsLobbyWanted asks, counts what is registered, then registers
// until the limit.
class PokerStarsLobbyTest : public PokerStarsTest, public ::testing::WithParamInterface<int> {
protected:
    void ScanFor(int ms, const std::function<bool()>& done = [] { return false; }) {
        WaitUntil(
            [&] {
                RunScan();
                Sleep(40);
                return done();
            },
            ms);
    }
    void StartRegistrator() {
        ScanPaused = 0;
        PokerStarsLobbyWanted = 1;
        AutoRegistratorRunning = 1;
    }
};

TEST_P(PokerStarsLobbyTest, KeepsTheSetNumberRegistered) {
    const int layout = GetParam();
    auto& o = EngineOptions.PokerStars;
    o.NewerClient = layout == 7;
    o.KeepOpen = 8;
    o.TotalTournaments = 13;  // 10 seen: 3 more in all
    o.LobbyRows = 4;
    o.AutoClosePopups = true;
    SessionStats.TablesSeen = 10;
    const std::string cmd = "pslobby layout=" + std::to_string(layout) + " rows=6 registered=1";
    ASSERT_NE(Send(cmd.c_str()), 0);
    StartRegistrator();
    ScanFor(40000, [&] { return Count("pslobby register row=") >= 2; });
    ScanFor(3000);  // and nothing more comes
    ASSERT_EQ(Lobbies.size(), 1u);
    EXPECT_EQ(Count("pslobby register row=2"), 1);
    EXPECT_EQ(Count("pslobby register row=3"), 1);
    EXPECT_EQ(Count("pslobby register row="), 2) << ClientLog() << [&] {
        std::string all;
        for (const std::string& l : logLines_) all += l + "\n";
        return all;
    }();
    EXPECT_EQ(Count("pslobby register row=1"), 0);  // already registered: counted, not registered again
    EXPECT_EQ(Count("pslobby unregister"), 0);
    auto* lobby = dynamic_cast<TPokerStarsMain*>(Lobbies[0].get());
    ASSERT_TRUE(lobby);
    EXPECT_EQ(lobby->Registered, 3);
    EXPECT_EQ(lobby->Limit, 3);
    EXPECT_TRUE(Logged("NumReg= 3, MaxReg= 3 "));

    // A new tournament table lowers the count: one more registration.
    NewTablesSeen = 1;
    o.TotalTournaments = 14;
    ScanFor(20000, [&] { return Count("pslobby register row=") >= 3; });
    EXPECT_EQ(Count("pslobby register row=4"), 1) << ClientLog();
}

TEST_P(PokerStarsLobbyTest, SpinAndGoRegistersOneAtATime) {
    const int layout = GetParam();
    auto& o = EngineOptions.PokerStars;
    o.NewerClient = layout == 7;
    o.SpinAndGo = true;
    o.AutoClosePopups = true;
    o.KeepOpen = 8;
    o.TotalTournaments = 16;
    const std::string cmd = "pslobby layout=" + std::to_string(layout);
    ASSERT_NE(Send(cmd.c_str()), 0);
    StartRegistrator();
    ScanFor(10000, [&] { return Count("pslobby spin confirmed") >= 1; });
    ScanFor(2000);
    EXPECT_GE(Count("pslobby tab spin"), 1);  // clicked until the frame shows
    EXPECT_EQ(Count("pslobby register spin="), 1) << ClientLog();
    // Its table came: the next one; the total reached: none.
    SessionStats.TablesSeen = 15;
    NewTablesSeen = 1;
    ScanFor(10000, [&] { return Count("pslobby register spin=") >= 2; });
    EXPECT_EQ(Count("pslobby register spin="), 2);
    SessionStats.TablesSeen = 16;
    NewTablesSeen = 1;
    ScanFor(3000);
    EXPECT_EQ(Count("pslobby register spin="), 2);
}

INSTANTIATE_TEST_SUITE_P(Layouts, PokerStarsLobbyTest, ::testing::Values(6, 7),
                         [](const ::testing::TestParamInfo<int>& i) { return "PokerStars" + std::to_string(i.param); });

TEST_F(PokerStarsLobbyTest, ARefusedRegistrationIsNotCounted) {
    auto& o = EngineOptions.PokerStars;
    o.LobbyRows = 2;
    o.AutoClosePopups = true;
    ASSERT_NE(Send("pslobby rows=3 refuse=1"), 0);
    StartRegistrator();
    ScanFor(30000, [&] { return Count("pslobby refused row=") >= 2; });
    ASSERT_EQ(Lobbies.size(), 1u);
    auto* lobby = dynamic_cast<TPokerStarsMain*>(Lobbies[0].get());
    ASSERT_TRUE(lobby);
    EXPECT_GE(Count("pslobby refused row="), 2);
    EXPECT_EQ(Count("pslobby register row="), 0);
    EXPECT_LT(lobby->Registered, 2);
}

// A group of a room of the user's own whose pattern takes the lobby window:
// the lobby joins the lobbies (ticked), gets no slot and is never moved.
TEST_F(PokerStarsLobbyTest, ALobbyTakenByAGroupIsNeverPlaced) {
    const HWND lobby = reinterpret_cast<HWND>(SendCommand(kClient, "pslobby"));
    ASSERT_TRUE(lobby);
    TPokerRoom own;
    own.Name = "My room";
    PokerRooms.push_back(own);
    TGroupRec g;
    g.Name = "Everything";
    g.RoomIndex = 1;
    g.ClassPattern = "#32770";
    g.Title = Title("PokerStars Lobby");
    g.AutoPlace = g.AutoSize = 1;
    g.Slots = {TSlotRec{5, 5, 300, 200, 5, 5, 300, 200}};
    RunningConfig.Groups = {g};
    const RECT before = WindowRect(lobby);
    ScanPaused = 0;
    ScanFor(600);
    ASSERT_EQ(Lobbies.size(), 1u);
    EXPECT_NE(dynamic_cast<TPokerStarsMain*>(Lobbies[0].get()), nullptr);
    EXPECT_TRUE(Tables.empty());
    const RECT after = WindowRect(lobby);
    EXPECT_TRUE(EqualRect(&before, &after)) << "the lobby was moved";
}

TEST_F(PokerStarsLobbyTest, TheSeatAvailableBoxIsAnsweredByTheSettings) {
    auto& o = EngineOptions.PokerStars;
    ASSERT_NE(Send("pslobby"), 0);
    ScanPaused = 0;
    PokerStarsLobbyWanted = 1;
    o.YesWaitList = true;
    ASSERT_NE(Send("psseat"), 0);
    ScanFor(5000, [&] { return Count("psseat ") >= 1; });
    EXPECT_EQ(Count("psseat yes"), 1);
    // At the maximum: "No".
    o.MaxWaitList = true;
    o.MaxWaitListNum = 0;
    o.NoWaitList = true;
    ASSERT_NE(Send("psseat"), 0);
    ScanFor(5000, [&] { return Count("psseat ") >= 2; });
    EXPECT_EQ(Count("psseat no"), 1);
}

}  // namespace
}  // namespace kova::tables
