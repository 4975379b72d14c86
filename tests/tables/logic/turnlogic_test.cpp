// The window-free turn handling: turn start and end from the Fold-button
// colour, alert stages by their delays, the tick countdown, event macro
// triggers, the choice of the table to activate, frame colours.
#include <gtest/gtest.h>

#include <vector>

#include "tables/logic/turnlogic.h"

namespace kova::tables {
namespace {

constexpr double kSecond = 1.0 / SecondsPerDay;
constexpr double kT0 = 46000.0;  // some day
constexpr uint32_t kRed = 0x001818C8;

TEST(TurnState, AMatchStartsTheTurnTwoMissesEndItOneMissIsForgiven) {
    TTableState t;
    t.Wnd = 7;
    uintptr_t active = 0;
    EXPECT_EQ(UpdateTurnState(t, 0x000000, kRed, 10, kT0, active), "");
    EXPECT_EQ(t.MyTurn, 0);
    // Within the tolerance in every channel: a turn at once (no turn ended before).
    EXPECT_EQ(UpdateTurnState(t, kRed + 0x0A0A0A, kRed, 10, kT0 + kSecond, active), "");
    EXPECT_EQ(t.MyTurn, 1);
    EXPECT_DOUBLE_EQ(t.TurnStart, kT0 + kSecond);
    active = 7;
    // One miss, then the colour again: logged with the count 1.
    EXPECT_EQ(UpdateTurnState(t, 0, kRed, 10, kT0 + 2 * kSecond, active), "");
    EXPECT_EQ(UpdateTurnState(t, kRed, kRed, 10, kT0 + 3 * kSecond, active), "Fold Error = 1");
    EXPECT_EQ(t.MyTurn, 1);
    EXPECT_EQ(t.ColourMisses, 0);
    // Two misses in a row end the turn and release the activated window.
    UpdateTurnState(t, 0, kRed, 10, kT0 + 4 * kSecond, active);
    UpdateTurnState(t, 0, kRed, 10, kT0 + 5 * kSecond, active);
    EXPECT_EQ(t.MyTurn, 0);
    EXPECT_EQ(t.TurnStart, 0);
    EXPECT_DOUBLE_EQ(t.TurnEnd, kT0 + 5 * kSecond);
    EXPECT_EQ(active, 0u);
}

TEST(TurnState, AColourBackWithinASecondOfTheEndWaitsAndAnUnreadablePixelChangesNothing) {
    TTableState t;
    uintptr_t active = 0;
    t.TurnEnd = kT0;
    UpdateTurnState(t, kRed, kRed, 0, kT0 + 0.5 * kSecond, active);
    EXPECT_EQ(t.MyTurn, 0);
    EXPECT_DOUBLE_EQ(t.TurnStart, kT0 + 0.5 * kSecond);
    UpdateTurnState(t, kRed, kRed, 0, kT0 + 1.5 * kSecond, active);
    EXPECT_EQ(t.MyTurn, 1);
    EXPECT_DOUBLE_EQ(t.TurnStart, kT0 + 0.5 * kSecond);  // the first sighting counts
    t.ColourMisses = 3;
    EXPECT_EQ(UpdateTurnState(t, InvalidColour, kRed, 0, kT0 + 2 * kSecond, active), "Color Error Num= 3");
    EXPECT_EQ(t.MyTurn, 1);
    // A difference beyond the tolerance in one channel is no match.
    TTableState u;
    UpdateTurnState(u, kRed + 0x000B00, kRed, 10, kT0, active);
    EXPECT_EQ(u.MyTurn, 0);
}

TEST(TurnAlert, StagesFollowTheirDelaysAndLeavingTheTurnStopsTheSound) {
    std::array<TTurnAlertStep, 4> steps{};
    steps[0] = {0, 1, 0, 0, 1};  // at once: top, frame green
    steps[1] = {2, 0, 1, 0, 1};  // after 2 s: flash, frame amber
    steps[2] = {4, 0, 0, 1, 1};  // after 4 s: sound, frame red
    steps[3] = {0, 1, 1, 1, 1};  // then: looping sound, top and flash every tick
    TTableState t;
    t.MyTurn = 1;
    t.TurnStart = kT0;
    struct Step {
        double at;
        int32_t stage, frame;
        bool top, flash, sound, loop;
    };
    const Step expected[] = {
        {0.0, 1, 1, true, false, false, false},
        {1.0, 1, 1, false, false, false, false},
        {2.0, 1, 1, false, false, false, false},  // equal to the delay: one more tick
        {2.5, 2, 1, false, true, false, false},
        {3.0, 2, 2, false, false, false, false},
        {4.5, 3, 2, false, false, true, false},
        {4.6, 4, 3, false, false, false, true},
        {4.8, 4, 3, true, true, false, false},
    };
    for (const Step& s : expected) {
        const TAlertActions a = StepAlert(t, steps, true, true, kT0 + s.at * kSecond);
        EXPECT_EQ(t.AlertStage, s.stage) << s.at;
        EXPECT_EQ(a.Frame, s.frame) << s.at;
        EXPECT_EQ(a.BringToTop, s.top) << s.at;
        EXPECT_EQ(a.Flash, s.flash) << s.at;
        EXPECT_EQ(a.Sound, s.sound) << s.at;
        EXPECT_EQ(a.LoopSound, s.loop) << s.at;
    }
    t.MyTurn = 0;
    const TAlertActions end = StepAlert(t, steps, true, true, kT0 + 5 * kSecond);
    EXPECT_TRUE(end.StopSound);
    EXPECT_EQ(end.Frame, 0);
    EXPECT_EQ(t.AlertStage, 0);

    // Without the sound option no sound ever starts; a table that is not the
    // activated one is not alerted.
    TTableState u;
    u.MyTurn = 1;
    u.TurnStart = kT0;
    for (double at : {0.0, 3.0, 5.0, 5.1, 5.2}) {
        const TAlertActions a = StepAlert(u, steps, true, false, kT0 + at * kSecond);
        EXPECT_FALSE(a.Sound || a.LoopSound) << at;
    }
    TTableState v;
    v.MyTurn = 1;
    v.TurnStart = kT0;
    EXPECT_EQ(StepAlert(v, steps, false, true, kT0 + 10 * kSecond).Frame, 0);
    EXPECT_EQ(v.AlertStage, 0);
}

TEST(Tick, EveryFifthTickRunsTheEventMacrosAndBetPotEveryTick) {
    TTableState t;
    std::vector<int> fifth;
    int betPot = 0;
    for (int tick = 1; tick <= 15; ++tick) {
        const TTickPlan p = StepTick(t, true);
        if (p.EventMacros) fifth.push_back(tick);
        betPot += p.BetPot;
    }
    EXPECT_EQ(fifth, (std::vector<int>{5, 10, 15}));
    EXPECT_EQ(betPot, 15);
    EXPECT_FALSE(StepTick(t, false).BetPot);
}

TEST(EventMacros, OnTurnClicksOnceAfterItsDelay) {
    TEventMacro m;
    m.Enabled = 1;
    m.OnTurn = 1;
    m.TurnDelayMin = 2;
    m.TurnDelayMax = 4;
    TEventState s;
    std::vector<std::string> log;
    TEventMacroWorld w;
    w.Uniform = [] { return 0.5; };
    w.Now = kT0;
    EXPECT_FALSE(StepEventMacro(s, m, 0, w, log));  // no turn: a fresh delay
    EXPECT_DOUBLE_EQ(s.Delay, 3.0);
    w.MyTurn = true;
    w.TurnStart = kT0;
    w.Now = kT0 + 2.9 * kSecond;
    EXPECT_FALSE(StepEventMacro(s, m, 0, w, log));  // not yet
    w.Now = kT0 + 3.2 * kSecond;
    m.OnlyActive = 1;
    EXPECT_FALSE(StepEventMacro(s, m, 0, w, log));  // not the activated table
    w.IsActive = true;
    EXPECT_TRUE(StepEventMacro(s, m, 0, w, log));
    EXPECT_FALSE(StepEventMacro(s, m, 0, w, log));  // once per turn
    m.Enabled = 0;
    s.Done = 0;
    EXPECT_FALSE(StepEventMacro(s, m, 0, w, log));
    EXPECT_TRUE(log.empty());
}

TEST(EventMacros, OnColourClicksAfterTheColourWasSeenAndItsDelay) {
    TEventMacro m;
    m.Enabled = 1;
    m.OnColour = 1;
    m.ColourDelayMin = 1;
    m.ColourDelayMax = 1;
    m.Colour = {200, 24, 24};
    m.Tolerance = 5;
    uint32_t pixel = 0;
    TEventState s;
    std::vector<std::string> log;
    TEventMacroWorld w;
    w.ReadPixel = [&] { return pixel; };
    w.Now = kT0;
    EXPECT_FALSE(StepEventMacro(s, m, 2, w, log));
    EXPECT_EQ(s.Seen, 0);
    pixel = kRed;
    EXPECT_FALSE(StepEventMacro(s, m, 2, w, log));
    EXPECT_EQ(s.Seen, 1);
    w.Now = kT0 + 0.5 * kSecond;
    EXPECT_FALSE(StepEventMacro(s, m, 2, w, log));
    w.Now = kT0 + 1.5 * kSecond;
    EXPECT_TRUE(StepEventMacro(s, m, 2, w, log));
    // Done: the next call reads the colour again; while it stays, the macro
    // runs again on the call after.
    EXPECT_FALSE(StepEventMacro(s, m, 2, w, log));
    EXPECT_EQ(s.Seen, 1);
    EXPECT_TRUE(StepEventMacro(s, m, 2, w, log));
    pixel = InvalidColour;
    EXPECT_FALSE(StepEventMacro(s, m, 2, w, log));
    s.Done = 0;
    EXPECT_FALSE(StepEventMacro(s, m, 2, w, log));
    EXPECT_EQ(log, (std::vector<std::string>{"EventMacros Color Error ", "EventMacros Color Error, Macros Num 2 "}));
}

TEST(Activation, TheEarliestTurnWinsTiesGoToTheLaterTable) {
    TTableState a, b, c;
    a.MyTurn = b.MyTurn = c.MyTurn = 1;
    a.TurnStart = kT0 + 2 * kSecond;
    b.TurnStart = kT0 + 1 * kSecond;
    c.TurnStart = kT0 + 1 * kSecond;
    EXPECT_EQ(ChooseTurnTable({&a, &b, &c}, kT0 + 5 * kSecond), 2);
    c.MyTurn = 0;
    EXPECT_EQ(ChooseTurnTable({&a, &b, &c}, kT0 + 5 * kSecond), 1);
    b.TurnStart = kT0 + 10 * kSecond;  // in the future: not chosen
    EXPECT_EQ(ChooseTurnTable({&a, &b, &c}, kT0 + 5 * kSecond), 0);
    EXPECT_EQ(ChooseTurnTable({}, kT0), -1);
    EXPECT_EQ(JumpPoint(TRect{100, 200, 503, 502}), (TPoint{100 + 302, 200 + 226}));
}

TEST(Frame, ColoursAndPenWidths) {
    EXPECT_EQ(FrameStateColour(1), 0x0014961Eu);
    EXPECT_EQ(FrameStateColour(2), 0x000AC0F4u);
    EXPECT_EQ(FrameStateColour(3), 0x000303BEu);
    EXPECT_EQ(FrameStateColour(0), InvalidColour);
    struct Case {
        const char* text;
        int32_t width;
    };
    for (const Case& c : {Case{"6", 12}, Case{"abc", 12}, Case{"", 12}, Case{"3", 6}, Case{"-4", 1}, Case{"99999", 100},
                          Case{"2x", 12}}) {
        EXPECT_EQ(FramePenWidth(c.text), c.width) << c.text;
    }
}

}  // namespace
}  // namespace kova::tables
