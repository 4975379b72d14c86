// The engine's state and services: one reset makes all of it as the
// program starts, and the old names reach the same object.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tables/files/datafiles.h"
#include "tables/model/enginelog.h"
#include "tables/model/engineservices.h"
#include "tables/model/variables.h"

namespace kova::tables {
namespace {

class EngineStateTest : public ::testing::Test {
protected:
    void SetUp() override { ResetEngine(); }
    void TearDown() override { ResetEngine(); }
};

// Each step changes one part of the state through its usual name; the
// tables and lobbies are adapters (Win32 code) and dirtied by the scan's
// tests.
const std::vector<std::pair<const char*, std::function<void()>>>& StateSteps() {
    static const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"PlaceConfigs", [] { PlaceConfigs.emplace_back().Name = "C"; }},
        {"PlaceConfigHeader", [] { PlaceConfigHeader.SelectedIndex = 3; }},
        {"RunningConfig", [] { RunningConfig.Groups.emplace_back(); }},
        {"PokerRooms", [] { PokerRooms.emplace_back(); }},
        {"OpponentModels", [] { OpponentModels.emplace_back(); }},
        {"RegPlayers", [] { RegPlayers.emplace_back(); }},
        {"StartDefaults", [] { StartDefaults.emplace_back(); }},
        {"UserOptions", [] { UserOptions.ShowHUD = 1; }},
        {"EngineOptions", [] { EngineOptions.FrameThickness = "9"; }},
        {"ActionQueue", [] { ActionQueue.Count = 1; }},
        {"SessionStats", [] { SessionStats.TablesSeen = 4; }},
        {"ScanPaused", [] { ScanPaused = 0; }},
        {"ScanBusy", [] { ScanBusy = 1; }},
        {"QueueBusy", [] { QueueBusy = 1; }},
        {"ResortPending", [] { ResortPending = 1; }},
        {"ForceRenumber", [] { ForceRenumber = 1; }},
        {"ModelsChanged", [] { ModelsChanged = 1; }},
        {"SyntheticClick", [] { SyntheticClick = 1; }},
        {"PokerStarsLobbyWanted", [] { PokerStarsLobbyWanted = 1; }},
        {"FullTiltLobbyWanted", [] { FullTiltLobbyWanted = 1; }},
        {"IPokerMainWanted", [] { IPokerMainWanted = 1; }},
        {"ActiveTableWnd", [] { ActiveTableWnd = 0x10; }},
        {"MouseOverWnd", [] { MouseOverWnd = 0x20; }},
        {"PlayedCashTables", [] { PlayedCashTables = 2; }},
        {"CalculatorPos", [] { CalculatorPos.X = 5; }},
        {"ProgramFolder", [] { ProgramFolder = "C:\\kova"; }},
        {"NewTablesSeen", [] { NewTablesSeen = 7; }},
        {"ClockOffsetSamples", [] { ClockOffsetSamples.Count = 1; }},
        {"AutoRegistratorRunning", [] { AutoRegistratorRunning = 1; }},
        {"FullTiltRegistratorRunning", [] { FullTiltRegistratorRunning = 1; }},
        {"DeferredActions", [] { EngineState.DeferredActions.emplace_back([] {}); }},
        {"WindowClasses", [] { EngineState.WindowClasses[0x30] = "Class"; }},
        {"ProtectedFiles", [] { EngineState.ProtectedFiles.insert("damaged.kov"); }},
        {"ClientStates", [] { ClientState<TClientState>("A client"); }},
        {"RandomEngine", [] { EngineState.RandomEngine.emplace(7u); }},
    };
    return steps;
}

TEST_F(EngineStateTest, EveryPartOfTheStateCountsAndOneResetMakesItFresh) {
    ASSERT_TRUE(EngineState == TEngineState{});
    for (const auto& [name, dirty] : StateSteps()) {
        dirty();
        EXPECT_FALSE(EngineState == TEngineState{}) << name << " is not part of the state";
        ResetEngineState();
        EXPECT_TRUE(EngineState == TEngineState{}) << name;
    }
    for (const auto& step : StateSteps()) step.second();
    ResetEngineState();
    EXPECT_TRUE(EngineState == TEngineState{});
    // As at the program's start: the scan paused.
    EXPECT_EQ(ScanPaused, 1);
}

TEST_F(EngineStateTest, EveryServiceCountsAndOneResetRestoresTheDefaults) {
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"LogSink", [] { EngineServices.LogSink = [](const std::string&) {}; }},
        {"UserMessageSink", [] { EngineServices.UserMessageSink = [](const std::string&) {}; }},
        {"SyntheticInputSeam", [] { EngineServices.SyntheticInputSeam = [](int) {}; }},
        {"SoundPlayer", [] { EngineServices.SoundPlayer = [](const std::string&, bool) {}; }},
        {"RandomSource", [] { EngineServices.RandomSource = [] { return 0.5; }; }},
        {"MakeHUD", [] { EngineServices.MakeHUD = [](TPokerTable&) { return std::unique_ptr<TTableHUD>(); }; }},
        {"MakeFrame", [] { EngineServices.MakeFrame = [](TPokerTable&) { return std::unique_ptr<TTableFrame>(); }; }},
        {"WheelUpStep", [] { EngineServices.WheelUpStep = [](int32_t) {}; }},
        {"WheelDownStep", [] { EngineServices.WheelDownStep = [](int32_t) {}; }},
        {"ActivateTurnTableStep", [] { EngineServices.ActivateTurnTableStep = [] {}; }},
    };
    ASSERT_TRUE(EngineServices == TEngineServices{});
    for (const auto& [name, dirty] : steps) {
        dirty();
        EXPECT_FALSE(EngineServices == TEngineServices{}) << name << " is not part of the services";
        ResetEngineServices();
        EXPECT_TRUE(EngineServices == TEngineServices{}) << name;
    }
    for (const auto& step : steps) step.second();
    ResetEngine();
    EXPECT_TRUE(EngineServices == TEngineServices{});
    EXPECT_TRUE(EngineState == TEngineState{});
}

// The services in use: what a test installs is called, and a reset brings
// back the default path (standard error for both sinks).
TEST_F(EngineStateTest, LogLinesAndUserMessagesGoToTheInstalledSinksUntilTheReset) {
    std::vector<std::string> seen;
    EngineServices.LogSink = [&](const std::string& line) { seen.push_back("log " + line); };
    EngineServices.UserMessageSink = [&](const std::string& text) { seen.push_back("user " + text); };
    EngineLogF("Fold Error = %d", 3);
    ShowUserMessage("Hello");
    EXPECT_EQ(seen, (std::vector<std::string>{"log Fold Error = 3", "user Hello"}));
    ResetEngine();
    ::testing::internal::CaptureStderr();
    EngineLog("to standard error");
    ShowUserMessage("also there");
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_NE(err.find("to standard error"), std::string::npos);
    EXPECT_NE(err.find("also there"), std::string::npos);
}

void PlainStep() {}
void OtherStep() {}

TEST(Callback, EqualWhenBothAreEmptyOrHoldTheSamePlainFunction) {
    struct Case {
        const char* name;
        TCallback<void()> a, b;
        bool equal;
    };
    const Case cases[] = {
        {"both empty", nullptr, nullptr, true},
        {"the same function", PlainStep, PlainStep, true},
        {"two functions", PlainStep, OtherStep, false},
        {"a function and nothing", PlainStep, nullptr, false},
        {"a lambda and nothing", [] {}, nullptr, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.a == c.b, c.equal) << c.name;
        EXPECT_EQ(c.b == c.a, c.equal) << c.name;
    }
    TCallback<void()> copied = PlainStep;
    const TCallback<void()> copy = copied;
    EXPECT_TRUE(copy == copied);
    EXPECT_TRUE(TCallback<void()>() == nullptr);
}

}  // namespace
}  // namespace kova::tables
