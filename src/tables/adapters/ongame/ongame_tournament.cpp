#include <filesystem>
#include <fstream>

#include "tables/adapters/ongame/ongame.h"
#include "framework/windowtext.h"
#include "tables/logic/engine_routines.h"
#include "tables/model/enginelog.h"

namespace kova::tables {

namespace {

namespace fs = std::filesystem;

bool HeroStillIn(const poker::TTournamentInfo& tournament, const poker::THH& hand) {
    const int32_t seat = hand.HeroSeat;
    if (seat < 1 || seat > poker::THH::MaxPlayers) return true;
    return tournament.Places.Place[static_cast<size_t>(seat - 1)] < 1;
}


}  // namespace

TOngameTournament::TOngameTournament(HWND wnd, int32_t groupIndex, const std::string& title)
    : TOngame(wnd, groupIndex, title) {
    const ongame::TTournamentTitle t = ongame::ParseTournamentTitle(title);
    TournamentId = t.TournamentId;
    HandNumber = t.HandNumber;
    HistoryFile = t.HistoryFile;
    ClickDone = 0;
}

TOngameTournament::~TOngameTournament() { Calculator.reset(); }

void TOngameTournament::CreateHUDLabels() {
    TPokerTable::CreateHUDLabels();
    if (!HUD) return;
    HUD->CreateMyLabel("Timer", BorderX, CaptionY + 20, " 00:00 ", "");
    HUD->CreateMyLabel("Blinds", BorderX, CaptionY, "Blinds", "");
    timerShown_.clear();
    BlindsShown.clear();
}

void TOngameTournament::ParseTitle() {
    const ongame::TTitleBlinds b = ongame::ParseTitleBlinds(WindowText(Window()));
    if (b.SmallBlind != 0 && b.SmallBlind != SmallBlind) {
        SmallBlind = b.SmallBlind;
        if (IsValidGroup(GroupIndex) && RunningConfig.Groups[static_cast<size_t>(GroupIndex)].AutoSort) ResortPending = 1;
    } else if (b.SmallBlind == 0) {
        SmallBlind = 0;
    }
    const std::string text = ongame::BlindsText(b.SmallBlind, b.Ante);
    if (HUD && text != BlindsShown) {
        HUD->SetLabelText("Blinds", text);
        BlindsShown = text;
    }
}

std::string TOngameTournament::HistoryPath() const {
    if (EngineOptions.OngameHHDir.empty() || HistoryFile.empty()) return std::string();
    fs::path path = fs::path(EngineOptions.OngameHHDir) / HistoryFile;
    // Never the process's current folder: a relative folder is the program's.
    if (path.is_relative()) path = fs::path(ProgramFolder) / path;
    return path.string();
}

bool TOngameTournament::ReadHistoryHand(int32_t n) {
    HandLines.clear();
    const std::string path = HistoryPath();
    if (path.empty()) return false;
    // A hand looked for in vain is looked for again only once the file changed.
    std::error_code ec;
    const TFileStamp stamp{fs::file_size(fs::path(path), ec), fs::last_write_time(fs::path(path), ec), n};
    if (ec) return false;
    if (missed_ && *missed_ == stamp) return false;
    std::ifstream in(fs::path(path), std::ios::binary);
    if (!in) return false;
    HandLines = ongame::ReadHand(in, ongame::HandStartMark(TournamentId, n));
    if (HandLines.empty()) missed_ = stamp;
    else missed_.reset();
    return !HandLines.empty();
}

void TOngameTournament::ReadGameFormat() {
    ongame::TGameFormat f;
    if (!ongame::ReadGameFormat(HandLines, f)) return;
    if (!f.Tournament) {
        Kind = KindCash;
        return;
    }
    Kind = KindTournament;
    Format = f;
    if (!f.TournamentId.empty()) {
        TournamentId = f.TournamentId;
        HandNumber = f.HandNumber;
    }
    Tournament.LevelMinutes = f.LevelMinutes;
    Tournament.StartTime = f.StartTime;
    Tournament.PaidPlaces = f.PaidPlaces;
    for (size_t i = 0; i < Tournament.Payouts.size(); ++i) Tournament.Payouts[i] = f.Payouts[i];
    if (f.SeatsPerTable > 0) {
        Tournament.SeatCount = f.SeatsPerTable;
        if (Tournament.Places.PlayerCount == 0) {
            Tournament.Places.PlayerCount = f.SeatsPerTable;
            Tournament.Places.NextPlace = f.SeatsPerTable;
        }
    }
}

bool TOngameTournament::ParseLoadedHand() {
    auto parsed = ongame::ParseHand(HandLines, Tournament.SeatCount, Tournament.Places);
    if (!parsed) {
        EngineLogF("Error: GetPlayerInfo ID= %s NumHH= %d", TournamentId.c_str(), HandNumber);
        return false;
    }
    Hand = std::move(*parsed);
    return true;
}

void TOngameTournament::OpenHistoryClick() {
    if (ClickDone != 0) return;
    // The client writes a table's hand history once its history pane was
    // opened: one click there, once per table.
    BringWindowToTop(Window());
    {
        TSyntheticInputScope synthetic;
        ClickWithCursor(*this, Window(), ScaleX(*this, 380, 250), ScaleY(*this, 360, 260));
    }
    ++ClickDone;
}

void TOngameTournament::Tick() {
    TPokerTable::Tick();
    if (!IsWindow(Window())) return;
    if (AdapterState == OngameLookingForFile) OpenHistoryClick();
    std::error_code ec;
    if (!EngineOptions.OngameHHDir.empty() && fs::is_directory(fs::path(HistoryPath()).parent_path(), ec)) {
        if (AdapterState == OngameLookingForFile) {
            if (ReadHistoryHand(1)) {
                ReadGameFormat();
                ParseLoadedHand();
                // The first hand is read; from here the table follows its
                // hands for the calculator, one per new hand in the title.
                AdapterState = OngameWatchingTitle;
            }
        } else {
            FollowHands();
        }
    }
    ShowLevelTimer();
}

void TOngameTournament::FollowHands() {
    if (AdapterState == OngameWatchingTitle) {
        std::string id = SubstringBetween(WindowText(Window()), "ID=", 3, "]");
        const int32_t n = ongame::HandNumberOf(id);
        if (n != HandNumber && n >= 0) {
            HandNumber = n;
            AdapterState = OngameFollowingHand;
        }
    }
    if (AdapterState != OngameFollowingHand) return;
    if (HandNumber < 2) {
        AdapterState = OngameWatchingTitle;
        return;
    }
    if (!ReadHistoryHand(HandNumber - 1)) return;  // not written yet: the next tick looks again
    if (!ParseLoadedHand()) {
        AdapterState = OngameWatchingTitle;
        return;
    }
    if (!HeroStillIn(Tournament, Hand.After)) {
        AdapterState = OngameFirstHandRead;  // the hero is out: nothing more to follow
        return;
    }
    AdapterState = OngameWatchingTitle;
    if (!UserOptions.ShowHUD) {
        if (Calculator) Calculator->SetShown(false);
        return;
    }
    if (!Calculator && EngineServices.MakeCalculator) Calculator = EngineServices.MakeCalculator(*this);
    if (!Calculator) return;
    TCalculatorHand shown;
    shown.HandNumber = HandNumber - 1;
    shown.TableType = Format.FormatText;
    shown.Tournament = Tournament;
    shown.Hand = Hand.After;
    shown.Lines = HandLines;
    Calculator->SetShown(true);
    Calculator->ShowHand(shown);
}

void TOngameTournament::ShowLevelTimer() {
    if (Kind != KindTournament || Tournament.StartTime <= 0 || !HUD) return;
    const std::string text = ongame::LevelTimerText(Tournament.StartTime, LocalNow(), Format.LevelMinutes);
    if (text.empty() || text == timerShown_) return;
    HUD->SetLabelText("Timer", text);
    timerShown_ = text;
}

void TOngameTournament::RefreshCalculator() {
    if (Calculator) Calculator->RefreshModels();
}

void TOngameTournament::KeepCalculatorInPlace() {
    if (!UserOptions.ShowHUD || !Calculator) return;
    int32_t left = 0, top = 0;
    if (Calculator->Position(left, top) && (left != CalculatorPos.X || top != CalculatorPos.Y))
        Calculator->MoveTo(CalculatorPos.X, CalculatorPos.Y);
}

}  // namespace kova::tables
