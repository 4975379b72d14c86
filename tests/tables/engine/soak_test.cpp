// Round after round of tables opening, being adopted with their panels,
// having turns (activation, the alert's frame) and closing, against the
// simulated poker client: the GDI and USER objects the program holds, as
// its handle guards count them, must come back to where they were. The
// system's own count of them cannot be read under Wine, so the guards'
// counts stand in for it; that they rise while tables are open shows the
// test sees the work it checks.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "common/require.h"
#include "common/win32_testing.h"
#include "client_fixture.h"
#include "framework/handles.h"
#include "simclient_protocol.h"
#include "tables/engine/autoplace.h"
#include "tables/model/enginelog.h"
#include "tables/overlays/hudtable.h"

namespace kova::tables {
namespace {

using namespace kova::test;
using namespace kova::tables::testing;

constexpr const char* kClient = "kovasoaktest";
constexpr const char* kTableClass = "KovaSoakTable";
constexpr int kTablesPerRound = 4;
constexpr int kRounds = 5;

std::string CountsDiff(const THandleCounts& before, const THandleCounts& after) {
    std::ostringstream out;
    for (std::size_t i = 0; i < kHandleKinds; ++i)
        if (before[i] != after[i])
            out << HandleKindName(static_cast<THandleKind>(i)) << ": " << before[i] << " -> " << after[i] << "; ";
    return out.str();
}

long CountOf(const THandleCounts& c, THandleKind k) { return c[static_cast<std::size_t>(k)]; }

class SoakTest : public ClientTest {
protected:
    SoakTest() : ClientTest(kClient, 60) {}

    void SetUp() override {
        ClientTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        RunningConfig.Name = "Soak";
        TGroupRec g;
        g.Name = "G";
        g.ClassPattern = kTableClass;
        g.Title = Title("Table");
        g.AutoPlace = g.AutoSize = g.AutoActivate = g.ActivateSize = 1;
        for (int i = 0; i < kTablesPerRound; ++i)
            g.Slots.push_back(TSlotRec{i * 330, 10, 320, 240, i * 330, 10, 400, 300});
        RunningConfig.Groups = {g};
        // A room that is not a custom one (those have no panel), its Fold
        // point on the client's Fold button, and an alert that frames the
        // table from the turn's start.
        TPokerRoom& room = PokerRooms[0];
        room.Name = "Generic";
        room.Proportional = 1;
        room.ScaleRef = {1000, 1000, 0, 0};
        room.FoldPoint = {575, 880, 0, 0};
        room.FoldColour = {GetRValue(kova::sim::kFoldColour), GetGValue(kova::sim::kFoldColour),
                           GetBValue(kova::sim::kFoldColour)};
        room.Tolerance = 8;
        room.FrameOn = 1;
        room.AlertSteps[0] = {0, 1, 1, 1, 1};
        room.AlertSteps[1] = {0, 0, 0, 0, 1};
        ProgramFolder = dir_;
        UserOptions.ShowHUD = 1;
        UserOptions.Frame = 1;
        UserOptions.Sound = 1;
        InstallTableOverlays();
        // Many rounds: nothing of theirs is kept.
        EngineServices.LogSink = [](const std::string&) {};
        EngineServices.SoundPlayer = [](const std::string&, bool) {};
        EngineServices.SyntheticInputSeam = [](int) {};
    }

    void TearDown() override {
        ClientTest::TearDown();
        ProgramFolder.clear();
    }

    HWND Open(int id) {
        return ClientTest::Open(id, kTableClass, "Table " + std::to_string(id), "300x200", "1400,700");
    }

    bool ScanUntil(const std::function<bool()>& condition, int scans = 80) { return ClientTest::ScanUntil(condition, scans); }

    bool AllAdoptedWithPanels(const std::vector<HWND>& windows) {
        for (HWND w : windows) {
            const TPokerTable* t = TableOf(w);
            if (!t || !t->HUDShown) return false;
        }
        return true;
    }

    // One round: the tables open and are adopted with their panels, two of
    // them have a turn (activated and framed) that ends, then every table
    // closes and is dropped. Returns the counts while everything was open.
    THandleCounts Round(int round) {
        SCOPED_TRACE("round " + std::to_string(round));
        THandleCounts open{};
        std::vector<int> ids;
        std::vector<HWND> windows;
        for (int i = 0; i < kTablesPerRound; ++i) {
            const int id = round * kTablesPerRound + i + 1;
            HWND w = Open(id);
            EXPECT_TRUE(w) << "table " << id << " did not open";
            if (!w) return open;
            ids.push_back(id);
            windows.push_back(w);
        }
        EXPECT_TRUE(ScanUntil([&] { return AllAdoptedWithPanels(windows); }));
        open = LiveHandleCounts();

        for (int k : {0, 2}) {
            const HWND w = windows[static_cast<size_t>(k)];
            EXPECT_TRUE(Command("turn " + std::to_string(ids[static_cast<size_t>(k)]) + " on"));
            EXPECT_TRUE(ScanUntil([&] {
                const TPokerTable* t = TableOf(w);
                return ActiveTableWnd == reinterpret_cast<uintptr_t>(w) && t && t->AlertStage >= 1 && t->Frame;
            })) << "no turn seen on table " << ids[static_cast<size_t>(k)];
            EXPECT_TRUE(Command("turn " + std::to_string(ids[static_cast<size_t>(k)]) + " off"));
            EXPECT_TRUE(ScanUntil([&] { return ActiveTableWnd == 0; }));
        }

        // Half the tables close between scans, the rest together.
        EXPECT_TRUE(Command("close " + std::to_string(ids[0])));
        EXPECT_TRUE(Command("close " + std::to_string(ids[1])));
        EXPECT_TRUE(ScanUntil([&] { return Tables.size() == static_cast<size_t>(kTablesPerRound - 2); }));
        for (size_t i = 2; i < ids.size(); ++i) EXPECT_TRUE(Command("close " + std::to_string(ids[i])));
        EXPECT_TRUE(ScanUntil([&] { return Tables.empty(); }));
        PumpFor(50);  // the panels' and frames' own closing messages
        return open;
    }
};

TEST_F(SoakTest, LiveHandleCountsComeBackFlatRoundAfterRound) {
    // One round first: what is made once and kept for the program's life
    // (cached fonts, the application's window) is then in the baseline.
    Round(0);
    ASSERT_FALSE(HasFailure());
    const THandleCounts baseline = LiveHandleCounts();

    for (int round = 1; round <= kRounds; ++round) {
        const THandleCounts open = Round(round);
        ASSERT_FALSE(HasFailure()) << "round " << round;
        // Every table's panel (a form with its labels' fonts) was alive.
        EXPECT_GE(CountOf(open, THandleKind::WindowBinding), CountOf(baseline, THandleKind::WindowBinding) + kTablesPerRound)
            << CountsDiff(baseline, open);
        EXPECT_GT(CountOf(open, THandleKind::Font), CountOf(baseline, THandleKind::Font)) << CountsDiff(baseline, open);
        const THandleCounts after = LiveHandleCounts();
        EXPECT_EQ(after, baseline) << "round " << round << ": " << CountsDiff(baseline, after);
    }
}

}  // namespace
}  // namespace kova::tables
