// The adapters of the Ongame network's client. Its tables carry their
// identity in the title after "ID=" ("ID=R..." cash, "ID=T..."
// tournament); the client lays a table out anew only after a drag of its
// resize corner, so a table whose size changed is nudged (see
// portable/ongame_logic.h). Rooms of type 2 have no colour point: their
// tables' turn is read from two points that are grey while the user has no
// action buttons.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tables/adapters/ongame/portable/ongame_logic.h"
#include "tables/adapters/ongame/portable/ongame_text.h"
#include "tables/engine/pokertable.h"

namespace kova::tables {

class TOngame : public TPokerTable {
public:
    TOngame(HWND wnd, int32_t groupIndex, const std::string& title);
    ~TOngame() override;
    void PlaceNormal() override;
    void PlaceTOI() override;

    const ongame::TNudgeState& Nudge() const { return nudge_; }

protected:
    // The turn test of the rooms without a colour point.
    void GreyPointTurnTest();
    // The calculator window back at its common place (tournaments).
    virtual void KeepCalculatorInPlace() {}

private:
    void PlaceOngame(bool toi);
    void NudgeStep();
    // Ends a nudge under way: a button already pressed on the corner is
    // released, so that the client is never left holding it.
    void EndNudge();

    ongame::TNudgeState nudge_;
    POINT corner_{};  // where the nudge grabs the resize corner (screen)
};

class TOngameCash : public TOngame {
public:
    TOngameCash(HWND wnd, int32_t groupIndex, const std::string& title);
    std::string TableId;
    double Stake = 0;
};

class TOngameCashUniversal : public TOngameCash {
public:
    using TOngameCash::TOngameCash;
    void CheckTurn() override { GreyPointTurnTest(); }
};

// Hand-history states of a tournament table.
enum : uint8_t {
    OngameLookingForFile = 0,
    OngameFollowingHand = 1,   // a new hand began: the one before it is read
    OngameWatchingTitle = 2,   // waiting for the title's next hand number
    OngameFirstHandRead = 3,   // nothing more to follow
};

class TOngameTournament : public TOngame {
public:
    TOngameTournament(HWND wnd, int32_t groupIndex, const std::string& title);
    ~TOngameTournament() override;

    void CreateHUDLabels() override;
    void ParseTitle() override;
    void Tick() override;
    void RefreshCalculator() override;

    // Loads hand n of the tournament (0: the first hand in the file) from
    // the hand-history file; false when the file or the hand is missing.
    bool ReadHistoryHand(int32_t n);
    void ReadGameFormat() override;
    // Parses the hand read last; false (logged) when it cannot be read.
    bool ParseLoadedHand();
    void ParseHand() override { ParseLoadedHand(); }

    // The hand-history file, absolute, in the Ongame hand-history folder.
    std::string HistoryPath() const;

    std::string TournamentId;
    int32_t HandNumber = -1;
    std::string HistoryFile;
    std::vector<std::string> HandLines;
    ongame::TGameFormat Format;
    poker::TTournamentInfo Tournament;
    ongame::TParsedHand Hand;
    int32_t ClickDone = 0;
    int32_t TitleSmallBlind = 0;
    std::string BlindsShown;
    std::unique_ptr<TTableCalculator> Calculator;

protected:
    void KeepCalculatorInPlace() override;

private:
    void OpenHistoryClick();
    void FollowHands();
    void ShowLevelTimer();
    std::string timerShown_;
    struct TFileStamp {
        std::uintmax_t Size = 0;
        std::filesystem::file_time_type Time{};
        int32_t Hand = 0;
        bool operator==(const TFileStamp&) const = default;
    };
    std::optional<TFileStamp> missed_;
};

class TOngameTourUniversal : public TOngameTournament {
public:
    using TOngameTournament::TOngameTournament;
    void CheckTurn() override { GreyPointTurnTest(); }
};

}  // namespace kova::tables
