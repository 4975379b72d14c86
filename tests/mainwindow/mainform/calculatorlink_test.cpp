// A tournament table of the simulated client, read by the Ongame adapter
// from a real hand history (in place), opens its calculator window through
// the main window's link: the hero sits in frame 8, the models chosen when
// they change, both look-ahead depths give the solver's answer, and the
// window goes with its table.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/require.h"
#include "common/testdata.h"
#include "common/win32_testing.h"
#include "engine_testing.h"
#include "framework/forms.h"
#include "mainwindow/mainform/calculatorlink.h"
#include "model/calcfixtures.h"
#include "pushfold/forms/calcform.h"
#include "pushfold/logic/situation.h"
#include "simclient_protocol.h"
#include "tables/adapters/ongame/ongame.h"
#include "tables/engine/autoplace.h"
#include "tables/files/calcfiles.h"

namespace kova::mainwindow {
namespace {

namespace pf = kova::pushfold::forms;
using namespace kova::tables;
using namespace kova::tables::testing;
using namespace kova::test;

constexpr const char* kClient = "kovacalclinktest";
constexpr const char* kClass = "OngameTableWindow";

class CalculatorLink : public ::testing::Test {
protected:
    void SetUp() override {
        KOVA_REQUIRE_TESTDATA("handhistories/ongame/R-274-69.tournament.txt");
        KOVA_REQUIRE_SIMCLIENT();
        kova::RegisterFrameworkClasses();
        dir_ = TempDir();
        ASSERT_TRUE(StartSimClient(client_, kClient, dir_ + "\\clicks.log"));

        ResetEngine();
        ScanPaused = 0;
        RunningConfig.Name = "Ongame";
        TGroupRec g;
        g.Name = "Tables";
        g.RoomIndex = 0;
        g.ClassPattern = kClass;
        g.Title = Title("Sim");
        g.Slots = {TSlotRec{20, 20, 660, 480, 20, 20, 660, 480}};
        RunningConfig.Groups = {g};
        PokerRooms.assign(1, TPokerRoom{});
        PokerRooms[0].Name = "Ongame";
        PokerRooms[0].RoomType = RoomOngame;
        PokerRooms[0].ScaleRef = {781, 564, 512, 367};
        ProgramFolder = dir_;
        EngineOptions.OngameHHDir = TestDataPath("handhistories/ongame");
        UserOptions.ShowHUD = 1;
        EngineServices.LogSink = [](const std::string&) {};
        EngineServices.SyntheticInputSeam = [](int) {};
        EngineServices.MakeCalculator = [](TPokerTable& table) { return MakeTableCalculator(table); };
    }

    void TearDown() override {
        if (!client_.Id()) return;
        FreeAllTables();
        pf::CloseAllCalculators();
        kova::sim::SendCommand(kClient, "quit");
        client_.WaitForExit(5000);
        ResetEngine();
        ModelsChanged = 0;
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    bool ScanUntil(const std::function<bool()>& condition, int scans = 40) {
        for (int i = 0; i < scans; ++i) {
            RunScan();
            PumpMessages();
            if (condition()) return true;
            PumpFor(150);
        }
        return false;
    }

    static bool Finish(pf::TForm2* form) {
        return WaitUntil([form] { return !form->Calculating(); }, 20000);
    }

    // The solver's answer for the form's hand and depth, every player on
    // `model` and acting as the hand history says, the hero being the
    // player in frame 8.
    static int SolverHands(const pf::TForm2& form, const TOpponentModel& model, int depth) {
        const poker::THH& h = form.Hand();
        std::vector<pushfold::TSeatInput> seats(static_cast<size_t>(h.PlayerCount));
        int hero = -1;
        for (int k = 0; k < h.PlayerCount; ++k) {
            seats[static_cast<size_t>(k)].Model = pf::ValuesOf(model);
            seats[static_cast<size_t>(k)].Action = h.Action[k];
            if (form.SeatFrameIndex(h.Players[k].Seat) == 8) hero = k;
        }
        pushfold::TSituationOptions o;
        o.Edge = 0.004;
        o.Depth = depth;
        pushfold::TSituation s(form.Tournament(), h, hero, seats, o);
        return s.SolveHero(s.HeroPosition());
    }

    ChildProcess client_;
    std::string dir_;
};

TEST_F(CalculatorLink, TournamentHandOpensTheCalculatorWithTheSolversAnswerAndClosesWithItsTable) {
    const std::string cmd = std::string("open id=1 class=") + kClass +
                            " title=\"Sim Sit & Go (SNG), 10/20 + 0 [ID=T5-17631959-002][R-274-69.tournament]\""
                            " size=720x520 pos=900,500";
    HWND t = reinterpret_cast<HWND>(kova::sim::SendCommand(kClient, cmd.c_str()));
    ASSERT_TRUE(t);
    ASSERT_TRUE(ScanUntil([&] { return TableOf(t) != nullptr; }));
    auto* tour = dynamic_cast<TOngameTournament*>(TableOf(t));
    ASSERT_NE(tour, nullptr);
    ASSERT_TRUE(ScanUntil([&] { return pf::CalculatorOf(tour) != nullptr; }));
    pf::TForm2* form = pf::CalculatorOf(tour);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(tour->Kind, KindTournament);
    ASSERT_GT(form->Hand().PlayerCount, 1);
    EXPECT_EQ(form->Frame(8)->PlayerName->Caption(), "besac025");
    ASSERT_TRUE(Finish(form));

    // The first model of the table's type appears: the scan's models-changed
    // step has the calculator choose it.
    EXPECT_NE(form->DefaultModel().Name.Str(), "Model0");
    TOpponentModel added = pf::test::MakeModel("Model0", tour->Format.FormatText, 1);
    ASSERT_TRUE(AppendModel(dir_, OpponentModels, added));
    ModelsChanged = 1;
    RunScan();
    EXPECT_EQ(form->DefaultModel().Name.Str(), "Model0");
    EXPECT_EQ(form->Frame(8)->LModel->Caption(), "Model0");

    const TOpponentModel model = OpponentModels[0];
    for (int depth : {0, 1}) {
        SCOPED_TRACE(depth);
        form->EditDepth->SetText(std::to_string(depth));
        form->CalculateClick();
        ASSERT_TRUE(Finish(form));
        const int n = SolverHands(*form, model, depth);
        EXPECT_FALSE(form->LastResult().Cancelled);
        EXPECT_EQ(form->LastResult().Hands, n);
        EXPECT_EQ(form->Answer->Caption(), pf::AnswerText(n));
    }

    // Browsing reads the table's other hands through the adapter.
    form->Edit1->SetText("3");
    form->GoClick();
    EXPECT_EQ(tour->HandLines.empty() ? std::string() : tour->HandLines.front().substr(0, 40),
              "***** History for hand T5-17631959-3 (TO");
    ASSERT_TRUE(Finish(form));

    // The table goes, and its calculator with it.
    FreeAllTables();
    EXPECT_EQ(pf::CalculatorOf(tour), nullptr);
}

}  // namespace
}  // namespace kova::mainwindow
