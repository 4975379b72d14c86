// The iPoker network's client: its main window, its tournament lobby and its
// tournament tables. The client throws pop-up windows at the user; the
// adapters click them away at fixed points, and close the lobby, which the
// client opens by itself.
#pragma once

#include "tables/engine/pokertable.h"

namespace kova::tables {

// The client's main window (the first captioned window of its process),
// attached once per request of IPokerMainWanted: it never has a turn and its
// tick only dismisses the window's pop-ups.
class TIPokerMain : public TPokerTable {
public:
    TIPokerMain(HWND wnd, int32_t groupIndex, const std::string& title);
    void CheckTurn() override { MyTurn = 0; }
    int32_t AlertTurn() override { return AlertStage; }
    void Tick() override;

    int32_t Phase = 0;
};

// A window whose title has "lobby" in it: its pop-ups are clicked away
// (the first, then a second one), then the lobby is closed.
class TIPokerLobby : public TPokerTable {
public:
    TIPokerLobby(HWND wnd, int32_t groupIndex, const std::string& title);
    void Tick() override;

    // AdapterState holds the mode: closing pop-ups, or closing the lobby.
    static constexpr uint8_t ClosingPopups = 0;
    static constexpr uint8_t ClosingLobby = 2;

    int32_t Phase = 0;
    double StepTimer = 0;  // day-based time; 0 = not started
    HWND FirstPopup = nullptr;
    HWND SecondPopup = nullptr;

private:
    double PhaseElapsedSeconds();
    void CloseLobby(HWND lobby);

    // Closing the lobby: whether the close comes next (else the click), and
    // since when the client is being waited for to take the step before.
    bool closeNext_ = false;
    bool awaitingClient_ = false;
    double awaitingSince_ = 0;
};

// Every other window of the room: a tournament table, placed and turn-tested
// as any table, which reads its small blind from the title and clicks its
// pop-ups away.
class TIPokerTournament : public TPokerTable {
public:
    TIPokerTournament(HWND wnd, int32_t groupIndex, const std::string& title);
    void ParseTitle() override;
    void Tick() override;

    std::string TournamentId;  // the whole title at creation

private:
    // The pop-up being clicked and which of its three points comes next.
    HWND popup_ = nullptr;
    int32_t nextPoint_ = 0;
};

}  // namespace kova::tables
