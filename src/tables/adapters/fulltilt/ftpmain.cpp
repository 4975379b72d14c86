#include "tables/adapters/fulltilt/ftpmain.h"
#include "framework/windowtext.h"

#include <cmath>

#include "tables/engine/adapter_factory.h"
#include "tables/logic/placemath.h"
#include "tables/logic/turnlogic.h"
#include "tables/model/enginelog.h"

namespace kova::tables {

namespace {

int HandleNumber(HWND wnd) { return static_cast<int>(reinterpret_cast<intptr_t>(wnd)); }

bool Usable(HWND h) { return h && IsWindow(h) && IsWindowVisible(h); }

constexpr const char* kRegistrationTitle = "Tournament Registration";

}  // namespace

TFTPMain::TFTPMain(HWND wnd, int32_t groupIndex, const std::string& title) : TPokerTable(wnd, groupIndex, title) {
    Kind = KindMainLobby;
    FullTiltLobbyWanted = 0;
    Running = 0;
    StepTimer = 0;
    EngineLog("FTPMain started ");
}

TFTPMain::~TFTPMain() { FullTiltLobbyWanted = 1; }

void TFTPMain::Tick() {
    if (FullTiltRegistratorRunning != Running) {
        AdapterState = Counting;
        Phase = 0;
        Running = FullTiltRegistratorRunning;
    }
    Settings = ReadFullTiltSettings(EngineOptions);
    if (Running)
        RegisterFullTilt();
    else
        AnswerFullTiltDialogs();
}

// ---- windows of the lobby ---------------------------------------------------------------

double TFTPMain::PhaseElapsedSeconds() {
    const double now = EngineNow();
    if (StepTimer == 0) StepTimer = now;
    return (now - StepTimer) * SecondsPerDay;
}

void TFTPMain::SendLobbyToBottom() {
    if (!EngineOptions.PokerStars.SendToBottom) return;
    SetWindowPos(Window(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

HWND TFTPMain::FindLobbyDialog(const std::string& title) {
    const DWORD thread = GetWindowThreadProcessId(Window(), nullptr);
    if (!thread) return nullptr;
    for (HWND h = FindWindowExA(nullptr, nullptr, "#32770", nullptr); h; h = FindWindowExA(nullptr, h, "#32770", nullptr)) {
        if (GetWindowThreadProcessId(h, nullptr) != thread) continue;
        if (WindowText(h) == title) return h;
    }
    return nullptr;
}

HWND TFTPMain::FindNthChild(HWND parent, const char* className, int32_t n, const std::string& title) {
    if (!parent || n < 1) return nullptr;
    for (HWND child = FindWindowExA(parent, nullptr, className, nullptr); child;
         child = FindWindowExA(parent, child, className, nullptr)) {
        if (title != "*" && GetControlText(child) != title) continue;
        if (--n == 0) return child;
    }
    return nullptr;
}

void TFTPMain::ClickFullTiltSngTab() {
    HWND selector = FindChildByClassAndTitle(Window(), "FTPSelectorClass", "selector");
    RECT r;
    if (!selector || !GetWindowRect(selector, &r)) return;
    const int32_t w = r.right - r.left;
    ClickAt(selector, RoundHalfEven(w * 355.0 / 539.0), 15);
}

HWND TFTPMain::FindFullTiltList() {
    RECT lobby;
    if (!GetWindowRect(Window(), &lobby)) return nullptr;
    for (HWND child = FindWindowExA(Window(), nullptr, "FTPListClass", nullptr); child;
         child = FindWindowExA(Window(), child, "FTPListClass", nullptr)) {
        RECT r;
        if (!IsWindowVisible(child) || !GetControlText(child).empty() || !GetWindowRect(child, &r)) continue;
        if (r.left - lobby.left >= 50) continue;
        EngineLogF("ListWnd=  %d", HandleNumber(child));
        return child;
    }
    return nullptr;
}

// ---- registration ------------------------------------------------------------------------

void TFTPMain::RegisterFullTilt() {
    if (AdapterState == Counting) {
        ClickFullTiltSngTab();
        ListWnd = FindFullTiltList();
        if (!ListWnd) return;
        RegisterButton = FindChildByClassAndTitle(Window(), "FTPButtonClass", "Register");
        UnregisterButton = FindChildByClassAndTitle(Window(), "FTPButtonClass", "Unregister");
        AdapterState = Registering;
        Phase = 0;
        StepTimer = 0;
        Row = 0;
        Registered = 0;
        LiveTablesAtStart = SessionStats.LiveTables;
        EngineLogF("NumReg Start %d", Registered);
        return;
    }
    if (!Usable(ListWnd)) return;
    switch (Phase) {
        case 0: {
            const int32_t allowed = FullTiltAllowed(Settings, SessionStats.LiveTables, SessionStats.TablesSeen);
            if (NewTablesSeen > 0) {
                Registered -= NewTablesSeen;
                NewTablesSeen = 0;
                SendLobbyToBottom();
                EngineLog("Send lobby to bottom ");
            }
            Limit = FullTiltRegistrationLimit(allowed, Settings.LobbyRows);
            if (Registered < 0) {
                EngineLogF("ERROR!! NumReg= %d, MaxReg= %d ", Registered, Limit);
                Registered = 0;
            }
            if (Registered < Limit) {
                TargetButton = RegisterButton;
                Phase = 1;
            } else if (Registered > Limit) {
                TargetButton = UnregisterButton;
                Phase = 1;
            } else {
                TargetButton = nullptr;
            }
            if (Registered != LastRegistered || Limit != LastLimit) {
                EngineLogF("NumReg= %d, MaxReg= %d ", Registered, Limit);
                LastRegistered = Registered;
                LastLimit = Limit;
                StepTimer = 0;
            }
            break;
        }
        case 1:
            ClickFullTiltSngTab();
            StepTimer = 0;
            Phase = 2;
            break;
        case 2:
            Row = NextLobbyRow(Row, Settings.LobbyRows);
            ClickAt(ListWnd, FullTiltRowX, FullTiltRowY(Row));
            SendLobbyToBottom();
            Phase = 3;
            break;
        case 3:
            if (Usable(TargetButton)) {
                ClickWindowCentre(*this, TargetButton);
                Phase = 4;
            } else if (PhaseElapsedSeconds() > 2.0) {
                Phase = 1;
                StepTimer = 0;
            }
            break;
        case 4: {
            if (!EngineOptions.PokerStars.AutoClosePopups) {
                Dialog = nullptr;
                Phase = 5;
                break;
            }
            HWND dialog = FindLobbyDialog(kRegistrationTitle);
            if (!dialog) {
                if (PhaseElapsedSeconds() > 30.0) {
                    Dialog = nullptr;
                    Phase = 5;
                    StepTimer = 0;
                }
                break;
            }
            if (TargetButton == RegisterButton) {
                if (HWND confirm = FindNthChild(dialog, "Button", 2, "")) ClickWindowCentre(*this, confirm);
            }
            Dialog = dialog;
            Phase = 5;
            break;
        }
        case 5:
            if (!Usable(Dialog)) {
                if (TargetButton == RegisterButton) {
                    ++Registered;
                    Phase = 6;
                } else {
                    --Registered;
                    Phase = 8;
                }
            } else if (HWND ok = FindChildByClassAndTitle(Dialog, "Button", "OK")) {
                ClickWindowCentre(*this, ok);
            }
            break;
        case 6: {
            HWND dialog = FindLobbyDialog(kRegistrationTitle);
            if (!dialog) {
                if (PhaseElapsedSeconds() > 30.0) {
                    AnswerDialog = nullptr;
                    AnswerButton = nullptr;
                    Phase = 7;
                    StepTimer = 0;
                    SendLobbyToBottom();
                }
                break;
            }
            EngineLogF("TourReg %d", HandleNumber(dialog));
            HWND button = FindChildByClassAndTitle(dialog, "FTPButtonClass", "OK");
            if (!button) button = FindChildByClassAndTitle(dialog, "Button", "OK");
            if (!button) button = FindChildByClassAndTitle(dialog, "FTPButtonClass", "Close");
            if (Usable(button)) {
                EngineLogF("OkBtn %d", HandleNumber(button));
                Phase = 7;
                AnswerDialog = dialog;
                AnswerButton = button;
            }
            break;
        }
        case 7:
            if (!Usable(AnswerDialog)) {
                Phase = 8;
                SendLobbyToBottom();
            } else if (!Usable(AnswerButton)) {
                if (PhaseElapsedSeconds() > 30.0) {
                    Phase = 8;
                    StepTimer = 0;
                    SendLobbyToBottom();
                }
            } else {
                EngineLogF("OkBtn %d", HandleNumber(AnswerButton));
                ClickWindowCentre(*this, AnswerButton);
            }
            break;
        case 8:
            if (PhaseElapsedSeconds() > 2.0) {
                Phase = 0;
                SendLobbyToBottom();
                StepTimer = 0;
            }
            break;
        default:
            Phase = 0;
            break;
    }
}

void TFTPMain::AnswerFullTiltDialogs() {
    if (!EngineOptions.PokerStars.AutoClosePopups) return;
    HWND dialog = FindLobbyDialog(kRegistrationTitle);
    if (Usable(dialog)) {
        const bool wanted = SessionStats.LiveTables < Settings.KeepOpen && SessionStats.TablesSeen < Settings.TotalTournaments;
        if (HWND button = FindChildByClassAndTitle(dialog, "Button", wanted ? "OK" : "Cancel")) {
            ClickWindowCentre(*this, button);
            SendLobbyToBottom();
        }
    }
    dialog = FindLobbyDialog(kRegistrationTitle);
    if (Usable(dialog)) {
        HWND button = FindChildByClassAndTitle(dialog, "FTPButtonClass", "OK");
        if (!button) button = FindChildByClassAndTitle(dialog, "Button", "OK");
        if (button) {
            ClickWindowCentre(*this, button);
            SendLobbyToBottom();
        }
    }
}

// ---- the client ----------------------------------------------------------------------------

namespace {

// The lobby is recognised by its window wherever it turns up: collected by
// the scan while FullTiltLobbyWanted asks for one, or taken by a group of a
// room that no client claims.
const TAdapterRegistration registration{TAdapterClient{
    .Name = "Full Tilt Poker",
    .Lobbies = {TLobbyRecognizer{
        .ClassPart = "QWidget",
        .TitlePart = "Full Tilt Poker",
        .Wanted = &TEngineState::FullTiltLobbyWanted,
        .Make = [](HWND wnd, const std::string& title, int32_t groupIndex) -> std::unique_ptr<TPokerTable> {
            return MakeTableAdapter<TFTPMain>(wnd, groupIndex, title);
        },
        .AdoptedLog = "FTP lobby added  %d ",
        .CollectedLog = "FTP Lobby Num=  %d ",
    }},
}};

}  // namespace

}  // namespace kova::tables
