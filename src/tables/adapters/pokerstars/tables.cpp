#include <cstdio>
#include <filesystem>

#include "tables/adapters/pokerstars/pokerstars.h"
#include "framework/windowtext.h"
#include "tables/engine/adapter_factory.h"
#include "tables/logic/engine_routines.h"
#include "tables/model/enginelog.h"

namespace kova::tables {

namespace ps = pokerstars;

namespace {

const TEngineOptions::TPokerStarsOptions& Options() { return EngineOptions.PokerStars; }

double SecondsSince(double then) { return (EngineNow() - then) * 86400.0; }

}  // namespace

namespace {

// The tournament tables' shared look at the hand-history folder.
struct TPokerStarsSession : TClientState {
    ps::THistoryFolder Folder;
    double LastLook = 0;  // day-based time the folder was read last
};

TPokerStarsSession& Session() { return ClientState<TPokerStarsSession>("PokerStars"); }

}  // namespace

ps::THistoryFolder& PokerStarsHistoryFolder() { return Session().Folder; }

// ---- common part --------------------------------------------------------------------

TPokerStars::TPokerStars(HWND wnd, int32_t groupIndex, const std::string& title) : TPokerTable(wnd, groupIndex, title) {
    Network = 4;
    RefWidth = 784;
    RefHeight = 540;
    MinWidth = 475;
    MinHeight = 327;
    Facts = ps::ReadTitleFacts(title);
    ++NewTablesSeen;
    AutoCloseTime = 0;
}

void TPokerStars::ParseTitle() {
    const ps::TBlinds blinds = ps::ReadBlinds(WindowText(Window()));
    if (blinds.SmallBlind != 0 && blinds.SmallBlind != SmallBlind) {
        SmallBlind = blinds.SmallBlind;
        if (IsValidGroup(GroupIndex) && RunningConfig.Groups[static_cast<size_t>(GroupIndex)].AutoSort) ResortPending = 1;
    }
    if (blinds.SmallBlind == 0) SmallBlind = 0;
    if (HUD && blinds.Text != BlindsText) {
        HUD->SetLabelText("Blinds", blinds.Text);
        BlindsText = blinds.Text;
    }
}

void TPokerStars::RunEventMacros(bool timeBank, bool imBack, bool infoTab) {
    if (timeBank) EventMacros(0);
    if (imBack) EventMacros(1);
    if (infoTab) EventMacros(2);
}

// ---- cash tables ----------------------------------------------------------------------

TPokerStarsCash::TPokerStarsCash(HWND wnd, int32_t groupIndex, const std::string& title) : TPokerStars(wnd, groupIndex, title) {
    Kind = KindCash;
    CashTickCountdown = 5;
}

void TPokerStarsCash::Tick() {
    TPokerTable::Tick();
    if (--CashTickCountdown <= 0) {
        CheckCashAutoClose();
        CashTickCountdown = 5;
    }
}

void TPokerStarsCash::CheckEventMacros() {
    RunEventMacros(Options().CashTimeBank, Options().CashImBack, Options().CashInfoTab);
}

void TPokerStarsCash::CheckCashAutoClose() {
    if (!Options().AutoCloseCash) return;
    const int32_t limit = Options().CloseTimeCash;
    const bool notPlayed = WindowText(Window()).find("Logged In") == std::string::npos;
    if (AutoCloseTime == 0) {
        if (notPlayed) AutoCloseTime = EngineNow();
        return;
    }
    if (SecondsSince(AutoCloseTime) <= limit) return;
    if (notPlayed && IsWindow(Window())) PostMessageA(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    AutoCloseTime = 0;
}

// ---- tournament tables ------------------------------------------------------------------

TPokerStarsTournament::TPokerStarsTournament(HWND wnd, int32_t groupIndex, const std::string& title)
    : TPokerStars(wnd, groupIndex, title) {
    Kind = KindTournament;
    TournamentId = SubstringBetween(title, "Tournament ", 11, " ");
}

void TPokerStarsTournament::CreateHUDLabels() {
    TPokerTable::CreateHUDLabels();
    if (!HUD) return;
    const int32_t t = CaptionY, l = BorderX;
    HUD->CreateMyLabel("Blinds", l, t, "Blinds", "");
    TimerText = ps::TimerText(Facts.LevelMinutes / 1440.0);
    HUD->CreateMyLabel("Timer", l, t + 20, TimerText, "");
    struct Hidden {
        const char* name;
        int32_t left, top;
        std::string text;
    };
    const Hidden hidden[] = {
        {"IDTour", l + 100, t - 25, " " + TournamentId + " "},
        {"Buyin", l, t + 60, Facts.BuyInText},
        {"Speed", l, t + 80, Facts.SpeedText},
        {"Max", l, t + 100, Facts.Seats > 0 ? " " + std::to_string(Facts.Seats) + "-Max " : std::string()},
        {"Players", l, t + 120, Facts.TotalPlayers > 0 ? " " + std::to_string(Facts.TotalPlayers) + " Players " : std::string()},
        {"GameFormat", l, t + 140, Facts.GameFormatText},
    };
    for (const Hidden& h : hidden) {
        if (h.text.empty()) continue;
        HUD->CreateMyLabel(h.name, h.left, h.top, h.text, "");
        HUD->SetLabelVisible(h.name, false);
    }
    BlindsText.clear();
    HUD->UpdateRegion();
}

void TPokerStarsTournament::Tick() {
    TPokerTable::Tick();
    TrackLevelClock();
    ShowLevelTimer();
    CheckFinishedTournament();
}

void TPokerStarsTournament::CheckEventMacros() {
    RunEventMacros(Options().TourTimeBank, Options().TourImBack, Options().TourInfoTab);
}

void TPokerStarsTournament::TrackLevelClock() {
    if (!Options().TimerEnabled || Options().HHDir.empty()) return;
    if (Clock.State == 2 && ClockOffsetSamples.Count >= 10) return;
    TPokerStarsSession& session = Session();
    ps::THistoryFolder& folder = session.Folder;
    // The folder is looked at once per scan (every table of the scan sees the
    // same moment), and only while a table still looks for its file.
    if (Clock.State == 0) {
        const double now = EngineNow();
        if (folder.Folder() != std::filesystem::path(Options().HHDir) || now - session.LastLook > 0.05 / 86400.0) {
            folder.Refresh(Options().HHDir);
            session.LastLook = now;
        }
        if (!folder.Exists()) return;
    }
    ps::TrackLevelClock(Clock, folder, TournamentId, LocalNow(), ClockOffsetSamples,
                        [](const std::string& line) { EngineLog(line); });
}

void TPokerStarsTournament::ShowLevelTimer() {
    const std::optional<double> remaining =
        ps::LevelRemaining(Clock.TournamentStart, ClockOffsetSamples, Facts.LevelMinutes, LocalNow());
    if (!remaining || !HUD) return;
    const std::string text = ps::TimerText(*remaining);
    if (text == TimerText) return;
    HUD->SetLabelText("Timer", text);
    TimerText = text;
}

namespace {

struct FinishedBoxSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindFinishedBox(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<FinishedBoxSearch*>(p);
    if (WindowClassName(h) != "#32770" || WindowText(h) != "PokerStars") return TRUE;
    if (s->owner && GetParent(h) != s->owner) return TRUE;
    if (!s->owner && !IsWindowVisible(h)) return TRUE;
    s->found = h;
    return FALSE;
}

HWND FinishedBoxButton(HWND box) {
    HWND b = FindChildByClassAndTitle(box, "Button", "Close");
    if (!b) b = FindChildByClassAndTitle(box, "PokerStarsButtonClass", "Close");
    if (!b) b = FindChildByClassAndTitle(box, "PokerStarsButtonClass", "OK");
    return b;
}

}  // namespace

void TPokerStarsTournament::CheckFinishedTournament() {
    if (!Options().AutoCloseTour) return;
    const int32_t limit = Options().CloseTimeTour;
    FinishedBoxSearch own{Window(), nullptr};
    EnumWindows(FindFinishedBox, reinterpret_cast<LPARAM>(&own));
    auto press = [this](HWND box) {
        if (!box || !IsWindowVisible(box)) return false;
        HWND button = FinishedBoxButton(box);
        if (!button || !IsWindowVisible(button)) return false;
        ClickWindowCentre(*this, button);
        return true;
    };
    if (AutoCloseTime == 0) {
        if (press(own.found)) AutoCloseTime = EngineNow();
        return;
    }
    if (own.found && IsWindowVisible(own.found)) {
        press(own.found);
        return;
    }
    FinishedBoxSearch any{nullptr, nullptr};
    EnumWindows(FindFinishedBox, reinterpret_cast<LPARAM>(&any));
    if (any.found) return;  // another table's box: wait until it is answered
    if (SecondsSince(AutoCloseTime) > limit) {
        PostMessageA(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        AutoCloseTime = 0;
    }
}

// ---- registration -----------------------------------------------------------------------

namespace {

std::unique_ptr<TPokerTable> MakeLobby(HWND wnd, const std::string& title, int32_t groupIndex) {
    if (EngineOptions.PokerStars.NewerClient) return MakeTableAdapter<TPokerStarsMain7>(wnd, groupIndex, title);
    return MakeTableAdapter<TPokerStarsMain>(wnd, groupIndex, title);
}

const TAdapterRegistration registration{TAdapterClient{
    .Name = "PokerStars",
    .RoomTypes = {RoomPokerStars},
    .MakeTable = [](HWND wnd, const std::string& title, const std::string&, int32_t, int32_t groupIndex)
        -> std::unique_ptr<TPokerTable> {
        if (title.empty()) return nullptr;
        std::unique_ptr<TPokerTable> made;
        if (title.find("Tournament") != std::string::npos)
            made = MakeTableAdapter<TPokerStarsTournament>(wnd, groupIndex, title);
        else
            made = MakeTableAdapter<TPokerStarsCash>(wnd, groupIndex, title);
        EngineLog("PokerStars added ");
        return made;
    },
    .Lobbies = {TLobbyRecognizer{
        .ClassPart = "#32770",
        .TitlePart = "PokerStars Lobby",
        .Wanted = &TEngineState::PokerStarsLobbyWanted,
        .Make = MakeLobby,
        .AdoptedLog = "PokerStarsMain2 added  %d ",
    }},
}};

}  // namespace

}  // namespace kova::tables
