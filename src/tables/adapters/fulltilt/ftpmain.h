// The Full Tilt Poker lobby (a "QWidget" window titled "Full Tilt Poker"):
// keeps the user registered in a set number of Sit & Go tournaments by
// selecting the lobby's rows and pressing its Register button and the
// buttons of the registration dialogs, one step per tick, and unregisters
// when more tournaments are registered than the settings allow. It is never
// placed and never has a turn.
#pragma once

#include "tables/adapters/fulltilt/portable/ftp_registration.h"
#include "tables/engine/pokertable.h"

namespace kova::tables {

class TFTPMain : public TPokerTable {
public:
    TFTPMain(HWND wnd, int32_t groupIndex, const std::string& title);
    ~TFTPMain() override;

    void CheckTurn() override { MyTurn = 0; }
    void Place() override {}
    void PlaceNormal() override {}
    void PlaceTOI() override {}
    void Tick() override;

    // One step of the registration while the registrator runs; the
    // answering of registration dialogs while it is stopped.
    void RegisterFullTilt();
    void AnswerFullTiltDialogs();
    void ClickFullTiltSngTab();
    HWND FindFullTiltList();

    void SendLobbyToBottom();
    // The first top-level "#32770" window of the lobby's thread with exactly
    // that title.
    HWND FindLobbyDialog(const std::string& title);
    // The n-th (1-based) child of that class whose text is `title` ("*": any).
    static HWND FindNthChild(HWND parent, const char* className, int32_t n, const std::string& title);
    double PhaseElapsedSeconds();

    // AdapterState holds the mode.
    static constexpr uint8_t Counting = 0;
    static constexpr uint8_t Registering = 2;

    int32_t Phase = 0;
    HWND RegisterButton = nullptr, UnregisterButton = nullptr, TargetButton = nullptr;
    HWND ListWnd = nullptr;
    HWND Dialog = nullptr;
    HWND AnswerDialog = nullptr, AnswerButton = nullptr;
    int32_t Row = 0;
    int32_t Registered = 0;
    int32_t Limit = 0;
    int32_t LastRegistered = -1, LastLimit = -1;  // the pair of the last "NumReg=" line
    uint8_t Running = 0;
    double StepTimer = 0;  // day-based time; 0 = not started
    int32_t LiveTablesAtStart = 0;
    TFullTiltSettings Settings;
};

}  // namespace kova::tables
