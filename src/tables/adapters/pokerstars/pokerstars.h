// The PokerStars client: its cash and tournament tables (facts from the
// window title, the blind-level clock from the hand-history files, event
// macros by the PokerStars page's own switches, closing of tables that are
// no longer played) and its lobby, which keeps the user registered in a
// set number of Sit & Go or Spin & Go tournaments and answers the client's
// dialogs, in the older client's layout and in the newer one's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "tables/adapters/pokerstars/portable/levelclock.h"
#include "tables/adapters/pokerstars/portable/title.h"
#include "tables/engine/pokertable.h"

namespace kova::tables {

class TPokerStars : public TPokerTable {
public:
    TPokerStars(HWND wnd, int32_t groupIndex, const std::string& title);
    void ParseTitle() override;

    pokerstars::TTitleFacts Facts;
    std::string BlindsText;      // last text given to the panel's "Blinds" label
    double AutoCloseTime = 0;    // day-based; 0 = not set

protected:
    // Event macros 0, 1, 2 by the page's switches.
    void RunEventMacros(bool timeBank, bool imBack, bool infoTab);
};

class TPokerStarsCash : public TPokerStars {
public:
    TPokerStarsCash(HWND wnd, int32_t groupIndex, const std::string& title);
    void Tick() override;
    void CheckEventMacros() override;
    void CheckCashAutoClose();

    int32_t CashTickCountdown = 5;
};

class TPokerStarsTournament : public TPokerStars {
public:
    TPokerStarsTournament(HWND wnd, int32_t groupIndex, const std::string& title);
    void CreateHUDLabels() override;
    void Tick() override;
    void CheckEventMacros() override;
    void TrackLevelClock();
    void ShowLevelTimer();
    void CheckFinishedTournament();

    std::string TournamentId;
    pokerstars::TLevelClock Clock;
    std::string TimerText;  // last text given to the panel's "Timer" label
};

// The shared index of the hand-history folder (one for all tables).
pokerstars::THistoryFolder& PokerStarsHistoryFolder();

// The lobby.
class TPokerStarsMain : public TPokerTable {
public:
    TPokerStarsMain(HWND wnd, int32_t groupIndex, const std::string& title);
    ~TPokerStarsMain() override;
    void CheckTurn() override { MyTurn = 0; }
    void Tick() override;
    void ClickAt(HWND wnd, int32_t x, int32_t y) override;  // posted, the cursor stays
    void RegisterSitAndGo();
    void RegisterSpinAndGo();
    virtual void ClickSitAndGoTab();
    virtual void ClickSpinAndGoTab();

    uint8_t& Mode = AdapterState;  // 0 counting, 2 registering
    int32_t Phase = 0;
    HWND RegisterButton = nullptr, UnregisterButton = nullptr, TargetButton = nullptr;
    HWND ListWnd = nullptr, FrameWnd = nullptr, Dialog = nullptr;
    HWND BuyInDialog = nullptr, AnswerDialog = nullptr, AnswerButton = nullptr;
    int32_t Row = 0;
    int32_t Registered = 0;
    int32_t KeepOpen = 8, TotalTournaments = 16, LobbyRows = 4;
    int32_t Allowed = 0, Limit = 0;
    int32_t LastRegistered = -1, LastLimit = -1;
    uint8_t Running = 0;
    uint8_t Refused = 0;
    double StepTimer = 0;
    int32_t RowHeight = 16;
    int32_t Action = 1;  // the newer layout: 1 register, 2 unregister

protected:
    // The newer client's lobby: other buttons, dialogs and time-outs.
    virtual bool NewerLayout() const { return false; }
    virtual void ClickSelectorTab(double fraction);
    double PhaseElapsedSeconds();
    HWND FindVisibleButton(HWND parent, int32_t which) const;
    HWND FindLobbyDialog(const char* title) const;
    HWND FindTournamentList() const;
    HWND FindSpinFrame() const;
    int32_t ClassifyRow(HWND list, int32_t x, int32_t y);
    void PressButton(HWND button);
    void SendLobbyToBottom();
    static bool IsRefusalBox(HWND dialog);
    void AnswerRegistrationDialogs();
    void AnswerSeatAvailable();
    // Phase 0 of registering: the limit and the tables that came.
    void UpdateLimit(bool spin);
    void ClickSelectorAt(HWND selector, int32_t x, int32_t y);
    void AnswerRegistrationResult();
};

// The lobby of the newer client: other tab positions, dialog buttons and
// time-outs.
class TPokerStarsMain7 : public TPokerStarsMain {
public:
    using TPokerStarsMain::TPokerStarsMain;
    void ClickSitAndGoTab() override;
    void ClickSpinAndGoTab() override;

protected:
    bool NewerLayout() const override { return true; }
    void ClickSelectorTab(double fraction) override;
};

// The n-th child (1-based) of a class whose text is `title` ("*": any).
HWND FindNthChild(HWND parent, const char* className, int32_t n, const std::string& title);

}  // namespace kova::tables
