// The Ongame adapters against the simulated client's Ongame tables: rooms
// of type 2 (grey-point turn test) and 3 (the room's colour point) adopt
// the client's windows by their titles, place them with the resize nudge
// (the client lays a table out anew only after a drag of its resize
// corner), detect the user's turn, and a tournament table reads its hands
// from the hand-history file its title names and shows them in its
// calculator.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "common/require.h"
#include "common/win32_testing.h"
#include "tables/engine/client_fixture.h"
#include "simclient_protocol.h"
#include "tables/adapters/ongame/ongame.h"
#include "tables/engine/autoplace.h"

namespace kova::tables {
namespace {

using namespace kova::test;
using namespace kova::tables::testing;

constexpr const char* kClient = "kovaongametest";
constexpr const char* kClass = "OngameTableWindow";

// Slot 0 at (20, 20), slot 1 beside it: smaller than the tables open.
TSlotRec SlotAt(int i) { return TSlotRec{20 + i * 700, 20, 660, 480, 20 + i * 700, 20, 660, 480}; }


// The calculator as the table sees it: it keeps the hands it is shown.
struct RecordingCalculator : TTableCalculator {
    explicit RecordingCalculator(std::vector<TCalculatorHand>* shown) : shown_(shown) {}
    void ShowHand(const TCalculatorHand& hand) override { shown_->push_back(hand); }
    std::vector<TCalculatorHand>* shown_;
};

class OngameTest : public ClientTest, public ::testing::WithParamInterface<int32_t> {
protected:
    OngameTest() : ClientTest(kClient, 150) {}

    void SetUp() override {
        ClientTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        RunningConfig.Name = "Ongame";
        TGroupRec g;
        g.Name = "Tables";
        g.RoomIndex = 0;
        g.ClassPattern = kClass;
        g.Title = Title("Sim");
        g.AutoPlace = g.AutoSize = g.AutoActivate = 1;
        g.Slots = {SlotAt(0), SlotAt(1)};
        RunningConfig.Groups = {g};
        TPokerRoom& room = PokerRooms[0];
        room.Name = "Ongame";
        room.RoomType = GetParam();
        room.ScaleRef = {781, 564, 512, 367};
        // Type 3 reads the turn from a colour point: the buttons' colour on
        // one of the two points the type-2 test reads as grey.
        room.FoldPoint = {260, 316, 386, 511};
        room.FoldColour = {GetRValue(kova::sim::kFoldColour), GetGValue(kova::sim::kFoldColour),
                           GetBValue(kova::sim::kFoldColour)};
        room.Tolerance = 8;
        ProgramFolder = dir_;
        EngineOptions.OngameHHDir = dir_;
        EngineServices.SyntheticInputSeam = [](int) {};
    }

    HWND Open(int id, const std::string& title, const char* pos = "900,500") {
        return ClientTest::Open(id, kClass, title, "720x520", pos);
    }

    bool ScanUntil(const std::function<bool()>& condition, int scans = 40) { return ClientTest::ScanUntil(condition, scans); }

    // The table is in its slot at the slot's size, and the client has laid
    // it out for that size.
    bool PlacedAndLaidOut(HWND h, int id, const TSlotRec& slot) {
        RECT c{};
        GetClientRect(h, &c);
        return InSlot(h, slot) && Send("ongame-layout " + std::to_string(id)) == c.right * 10000 + c.bottom;
    }
};

TEST_P(OngameTest, CashTablesAreAdoptedPlacedLaidOutAndGetTheirTurns) {
    HWND a = Open(1, "Sim Baguio (NL $0.50/$1) [ID=R5-362012167]");
    HWND lobby = Open(2, "Sim Lobby", "950,550");           // no "ID=": a plain table of the room
    HWND odd = Open(3, "Sim Odd [ID=X9]", "1000,600");      // neither cash nor tournament: not adopted
    ASSERT_TRUE(a && lobby && odd);

    ASSERT_TRUE(ScanUntil([&] { return TableOf(a) && PlacedAndLaidOut(a, 1, SlotAt(TableOf(a)->Slot)); }))
        << "the table was not placed at its slot's size and laid out for it";
    auto* cash = dynamic_cast<TOngameCash*>(TableOf(a));
    ASSERT_NE(cash, nullptr);
    EXPECT_EQ(dynamic_cast<TOngameCashUniversal*>(cash) != nullptr, GetParam() == RoomOngameNoColour);
    EXPECT_EQ(cash->Kind, KindCash);
    EXPECT_EQ(cash->Network, 1);
    EXPECT_EQ(cash->TableId, "R5-362012167");
    EXPECT_DOUBLE_EQ(cash->Stake, 1.0);
    ASSERT_NE(TableOf(lobby), nullptr);
    EXPECT_EQ(dynamic_cast<TOngame*>(TableOf(lobby)), nullptr);
    EXPECT_EQ(TableOf(lobby)->Kind, KindGeneric);
    EXPECT_EQ(TableOf(odd), nullptr);
    EXPECT_EQ(cash->Nudge().Busy, 0);

    // The user's turn: the action buttons cover the grey points.
    ASSERT_TRUE(Turn(1, true));
    EXPECT_TRUE(ScanUntil([&] { return cash->MyTurn && ActiveTableWnd == cash->Wnd; }));
    ASSERT_TRUE(Turn(1, false));
    EXPECT_TRUE(ScanUntil([&] { return !cash->MyTurn; }));

    // The user makes the table larger: it is set back, and laid out again.
    RECT r = WindowRect(a);
    SetWindowPos(a, nullptr, r.left, r.top, r.right - r.left + 60, r.bottom - r.top + 40, SWP_NOZORDER | SWP_NOACTIVATE);
    PumpFor(100);
    EXPECT_TRUE(ScanUntil([&] { return PlacedAndLaidOut(a, 1, SlotAt(cash->Slot)); }));
    ASSERT_TRUE(Turn(1, true));
    EXPECT_TRUE(ScanUntil([&] { return cash->MyTurn != 0; }));
}

// Once the nudge has pressed the button on the resize corner, whatever stops
// the placement (a drag by hand, Auto Place switched off, the slots gone,
// the table freed) releases it: the client is never left holding it.
TEST_P(OngameTest, ANudgeOncePressedAlwaysReleases) {
    struct Case {
        const char* what;
        std::function<void(OngameTest&, std::unique_ptr<TPokerTable>&)> stop;
    };
    const Case cases[] = {
        {"a drag begins", [](OngameTest&, std::unique_ptr<TPokerTable>& t) { t->Dragging = 1; }},
        {"Auto Place off", [](OngameTest&, std::unique_ptr<TPokerTable>&) { RunningConfig.Groups[0].AutoPlace = 0; }},
        {"the slots change", [](OngameTest&, std::unique_ptr<TPokerTable>&) { RunningConfig.Groups[0].Slots.clear(); }},
        {"the table is freed", [](OngameTest&, std::unique_ptr<TPokerTable>& t) { t.reset(); }},
    };
    HWND a = Open(1, "Sim Baguio (NL $0.50/$1) [ID=R5-362012167]");
    ASSERT_TRUE(a);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunningConfig.Groups[0].AutoPlace = 1;
        RunningConfig.Groups[0].Slots = {SlotAt(0), SlotAt(1)};
        // The table's own adapter, placed by hand as the scan would.
        std::unique_ptr<TPokerTable> table = MakeTableAdapter<TOngameCash>(a, 0, WindowText(a));
        table->Slot = 0;
        SetWindowPos(a, nullptr, 900, 500, 720, 520, SWP_NOZORDER | SWP_NOACTIVATE);
        PumpFor(50);
        auto* ongame = dynamic_cast<TOngame*>(table.get());
        bool pressed = false;
        for (int i = 0; i < 40 && !pressed; ++i) {
            table->Place();
            PumpFor(70);
            pressed = ongame->Nudge().Busy && ongame->Nudge().Step == 3 && Command("ongame-pressed 1") == 1;
        }
        ASSERT_TRUE(pressed) << "the nudge never pressed the corner";

        c.stop(*this, table);
        if (table) table->Place();
        EXPECT_TRUE(WaitUntil([&] { return Command("ongame-pressed 1") == 0; }, 2000)) << "the button is still held";
        if (table) {
            EXPECT_EQ(dynamic_cast<TOngame*>(table.get())->Nudge().Busy, 0);
        }
    }
}

TEST_P(OngameTest, TournamentTableReadsItsHandsAndShowsThemInItsCalculator) {
    std::vector<TCalculatorHand> shown;
    EngineServices.MakeCalculator = [&shown](TPokerTable&) -> std::unique_ptr<TTableCalculator> {
        return std::make_unique<RecordingCalculator>(&shown);
    };
    UserOptions.ShowHUD = 1;
    HWND t = Open(1, "Sim Sit & Go (SNG), 10/20 + 0 [ID=T5-100-002][hh42]");
    ASSERT_TRUE(t);
    ASSERT_TRUE(ScanUntil([&] { return TableOf(t) && PlacedAndLaidOut(t, 1, SlotAt(0)); }));
    auto* tour = dynamic_cast<TOngameTournament*>(TableOf(t));
    ASSERT_NE(tour, nullptr);
    EXPECT_EQ(dynamic_cast<TOngameTourUniversal*>(tour) != nullptr, GetParam() == RoomOngameNoColour);
    EXPECT_EQ(tour->TournamentId, "T5-100-");
    EXPECT_EQ(tour->HandNumber, 2);
    EXPECT_EQ(tour->SmallBlind, 10);
    EXPECT_EQ(std::filesystem::path(tour->HistoryPath()), std::filesystem::path(dir_) / "hh42.txt");

    // No file yet: the table waits, and has clicked once to open the
    // client's history, in the middle of its table.
    for (int i = 0; i < 5; ++i) ScanUntil([] { return false; }, 1);
    EXPECT_EQ(tour->AdapterState, OngameLookingForFile);
    RECT c{};
    GetClientRect(t, &c);
    const int x = static_cast<int>(std::lround((380 - 250) * (c.right - 512.0) / (781 - 512))) + 250;
    const int y = static_cast<int>(std::lround((360 - 260) * (c.bottom - 367.0) / (564 - 367))) + 260;
    std::ifstream in(log_);
    const std::string clientLog((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int opening = 0;
    for (const auto& click : kova::sim::LeftClicksInLog(clientLog))
        if (click.table == 1 && std::abs(click.x - x) <= 3 && std::abs(click.y - y) <= 3) ++opening;
    EXPECT_EQ(opening, 1) << clientLog;

    // The client writes the first hand: the table reads the tournament's
    // format and shows the hand's outcome as the situation of the next.
    ASSERT_EQ(Send("ongame-hand 1 \"" + dir_ + "\" 1"), 1);
    ASSERT_TRUE(ScanUntil([&] { return !shown.empty(); }));
    EXPECT_EQ(tour->Kind, KindTournament);
    EXPECT_EQ(tour->Format.FormatText, " SNG 4-max $5");
    EXPECT_EQ(tour->Format.LevelMinutes, 8);
    EXPECT_GT(tour->Tournament.StartTime, 0);
    const TCalculatorHand& first = shown.back();
    EXPECT_EQ(first.HandNumber, 1);
    EXPECT_EQ(first.TableType, " SNG 4-max $5");
    EXPECT_DOUBLE_EQ(first.Tournament.Payouts[0], 0.5);
    const poker::THH& h = first.Hand;
    EXPECT_EQ(h.Button, 1);
    EXPECT_EQ(h.SmallBlindSeat, 2);
    EXPECT_EQ(h.BigBlindSeat, 3);
    EXPECT_EQ(h.HeroSeat, 3);
    ASSERT_EQ(h.PlayerCount, 4);
    EXPECT_DOUBLE_EQ(h.Players[0].Stack, 1490);
    EXPECT_DOUBLE_EQ(h.Players[1].Stack, 1510);
    // Everyone after the big blind folds round to the hero.
    EXPECT_EQ(h.Action[3], 0);
    EXPECT_EQ(h.Action[0], 0);
    EXPECT_EQ(h.Action[1], 0);
    EXPECT_EQ(h.Action[2], -1);
    EXPECT_FALSE(first.Lines.empty());

    // The next hand begins: the one before it is shown.
    const size_t before = shown.size();
    ASSERT_EQ(Send("ongame-hand 1 \"" + dir_ + "\" 2"), 1);
    ASSERT_EQ(Send("title 1 \"Sim Sit & Go (SNG), 15/30 + 0 [ID=T5-100-003][hh42]\""), 1);
    ASSERT_TRUE(ScanUntil([&] { return shown.size() > before; }));
    EXPECT_EQ(shown.back().HandNumber, 2);
    EXPECT_EQ(tour->SmallBlind, 15);
}

INSTANTIATE_TEST_SUITE_P(RoomTypes, OngameTest, ::testing::Values(RoomOngameNoColour, RoomOngame),
                         [](const auto& info) { return info.param == RoomOngameNoColour ? std::string("Grey") : std::string("Colour"); });

}  // namespace
}  // namespace kova::tables
