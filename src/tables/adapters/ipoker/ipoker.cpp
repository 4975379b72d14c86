#include "tables/adapters/ipoker/ipoker.h"
#include "framework/windowtext.h"

#include <array>

#include "tables/adapters/ipoker/portable/ipoker_title.h"
#include "tables/engine/adapter_factory.h"
#include "tables/logic/turnlogic.h"
#include "tables/model/enginelog.h"

namespace kova::tables {

namespace {

int HandleNumber(HWND wnd) { return static_cast<int>(reinterpret_cast<intptr_t>(wnd)); }

bool Usable(HWND h) { return h && IsWindow(h) && IsWindowVisible(h); }

// A pop-up of `owner`: the window it last activated, when that is not itself.
HWND PopupOf(HWND owner) {
    HWND p = GetLastActivePopup(owner);
    return p == owner ? nullptr : p;
}

// The adapter's own click, told to the hook library as such.
void ClickPopup(TPokerTable& table, HWND popup, int32_t x, int32_t y) {
    TSyntheticInputScope synthetic;
    ClickWithCursor(table, popup, x, y);
}

bool LobbyHasWindow(HWND wnd) {
    const auto key = reinterpret_cast<uintptr_t>(wnd);
    for (const TOwnedTable& l : Lobbies)
        if (l && l->Wnd == key) return true;
    return false;
}

}  // namespace

// ---- main window ---------------------------------------------------------------------

TIPokerMain::TIPokerMain(HWND wnd, int32_t groupIndex, const std::string& title)
    : TPokerTable(wnd, groupIndex, title) {
    Kind = KindMainLobby;
}

void TIPokerMain::Tick() {
    HWND p = PopupOf(Window());
    if (!p) return;
    if (Usable(p)) EngineLogF("Popup Main: %d", HandleNumber(p));
    // 200, 240 from the pop-up's top-left corner, whatever its frame.
    ClickPopup(*this, p, 200 - BorderX, 240 - CaptionY);
}

// ---- lobby -----------------------------------------------------------------------------

TIPokerLobby::TIPokerLobby(HWND wnd, int32_t groupIndex, const std::string& title)
    : TPokerTable(wnd, groupIndex, title) {
    Kind = KindLobby;
}

double TIPokerLobby::PhaseElapsedSeconds() {
    const double now = EngineNow();
    if (StepTimer == 0) StepTimer = now;
    return (now - StepTimer) * SecondsPerDay;
}

void TIPokerLobby::Tick() {
    HWND lobby = Window();
    if (!Usable(lobby)) return;
    if (AdapterState == ClosingLobby) {
        CloseLobby(lobby);
        return;
    }
    EngineLogF("Phase: %d", Phase);
    switch (Phase) {
        case 0:
            Phase = 1;
            StepTimer = 0;
            break;
        case 1: {
            HWND p = GetLastActivePopup(lobby);
            FirstPopup = p;
            if (p == lobby) {
                // No pop-up came: the lobby can go.
                if (PhaseElapsedSeconds() > 2.0) {
                    AdapterState = ClosingLobby;
                    Phase = 0;
                    StepTimer = 0;
                }
            } else {
                ClickPopup(*this, p, 200, 240);
                Phase = 2;
            }
            break;
        }
        case 2:
            if (Usable(FirstPopup)) {
                ClickPopup(*this, FirstPopup, 200, 240);
            } else {
                Phase = 3;
                StepTimer = 0;
            }
            break;
        case 3: {
            HWND p = GetLastActivePopup(lobby);
            SecondPopup = p;
            if (p != lobby) {
                ClickPopup(*this, p, 200, 240);
                Phase = 4;
            } else if (PhaseElapsedSeconds() > 2.0) {
                // A client that shows a single pop-up would otherwise keep
                // its lobby open for good.
                Phase = 5;
            }
            break;
        }
        case 4:
            if (Usable(SecondPopup))
                ClickPopup(*this, SecondPopup, 200, 240);
            else
                Phase = 5;
            break;
        case 5:
            if (IsWindowVisible(lobby)) {
                PostMessageA(lobby, WM_SYSCOMMAND, SC_CLOSE, 0);
            } else {
                Phase = 0;
                AdapterState = ClosingLobby;
            }
            break;
        default:
            Phase = 0;
            break;
    }
}

void TIPokerLobby::CloseLobby(HWND lobby) {
    // Click and close take turns, each once the client has taken the one
    // before: it reads posted messages before input, so a close posted
    // behind a click it has not read yet would hide the lobby first, and the
    // click would land on whatever lies beneath. Bounded, for a client that
    // never paints the pixel asked for.
    if (awaitingClient_ && !RepaintMarkDone(lobby) && (EngineNow() - awaitingSince_) * SecondsPerDay < 5.0) return;
    if (closeNext_) {
        PostMessageA(lobby, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
        ClickPopup(*this, lobby, 420, 450);
    }
    closeNext_ = !closeNext_;
    RECT r{};
    GetWindowRect(lobby, &r);
    awaitingClient_ = AskRepaintMark(lobby, POINT{r.left + 420 + BorderX, r.top + 450 + CaptionY});
    awaitingSince_ = EngineNow();
}

// ---- tournament tables ----------------------------------------------------------------

TIPokerTournament::TIPokerTournament(HWND wnd, int32_t groupIndex, const std::string& title)
    : TPokerTable(wnd, groupIndex, title) {
    Kind = KindTournament;
    Network = 2;
    RefWidth = 801;
    RefHeight = 600;
    MinWidth = 480;
    MinHeight = 360;
    TournamentId = title;
}

void TIPokerTournament::ParseTitle() {
    const std::string title = IsWindow(Window()) ? WindowText(Window()) : Title;
    const int32_t blind = IPokerSmallBlindOfTitle(title);
    // An unreadable title keeps the blind read last.
    if (blind == 0 || blind == SmallBlind) return;
    SmallBlind = blind;
    if (IsValidGroup(GroupIndex) && RunningConfig.Groups[static_cast<size_t>(GroupIndex)].AutoSort) ResortPending = 1;
}

void TIPokerTournament::Tick() {
    TPokerTable::Tick();
    HWND p = PopupOf(Window());
    if (!p) {
        popup_ = nullptr;
        return;
    }
    EngineLogF("Popup Tourn: %d", HandleNumber(p));
    if (p != popup_) {
        popup_ = p;
        nextPoint_ = 0;
    }
    // Three points where the client's pop-ups have their button, one per
    // tick: a pop-up that closed on the click before is seen gone by the
    // next tick, so no click ever lands on the table behind it.
    static constexpr std::array<POINT, 3> points{POINT{200, 240}, POINT{180, 220}, POINT{210, 240}};
    if (!Usable(p)) return;
    const POINT at = points[static_cast<size_t>(nextPoint_)];
    nextPoint_ = (nextPoint_ + 1) % static_cast<int32_t>(points.size());
    ClickPopup(*this, p, at.x, at.y);
}

// ---- the client ----------------------------------------------------------------------------

namespace {

std::unique_ptr<TPokerTable> MakeIPokerAdapter(HWND wnd, const std::string& title, int32_t groupIndex) {
    HWND main = FindProcessMainWindow(wnd);
    std::unique_ptr<TPokerTable> made;
    if (IPokerMainWanted && wnd == main) {
        made = MakeTableAdapter<TIPokerMain>(wnd, groupIndex, title);
        IPokerMainWanted = 0;
    } else if (title.find("lobby") != std::string::npos) {
        made = MakeTableAdapter<TIPokerLobby>(wnd, groupIndex, title);
    } else {
        made = MakeTableAdapter<TIPokerTournament>(wnd, groupIndex, title);
    }
    // The main window joins the lobbies once per request, through the first
    // window of the client that the scan adopts.
    if (IPokerMainWanted && main && wnd != main && !LobbyHasWindow(main)) {
        const std::string mainTitle = WindowText(main);
        std::unique_ptr<TPokerTable> m = MakeTableAdapter<TIPokerMain>(main, -1, mainTitle);
        m->GroupIndex = -1;
        m->Slot = 0;
        Lobbies.push_back(std::move(m));
        IPokerMainWanted = 0;
        EngineLogF("Add Main: %s", mainTitle.c_str());
    }
    return made;
}

const TAdapterRegistration registration{TAdapterClient{
    .Name = "iPoker",
    .RoomTypes = {RoomIPoker},
    .MakeTable = [](HWND wnd, const std::string& title, const std::string&, int32_t, int32_t groupIndex) {
        return MakeIPokerAdapter(wnd, title, groupIndex);
    },
}};

}  // namespace

}  // namespace kova::tables
