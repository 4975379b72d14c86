// What the Ongame adapters read from the client's window titles and
// hand-history files, without a window: the cash and tournament titles,
// one hand of a hand-history text, the tournament's format, a hand parsed
// into the hand record and moved on to the next hand's situation, and the
// blind-level clock.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "poker/hand_record.h"

namespace kova::tables::ongame {

// ---- titles ------------------------------------------------------------------------

// A cash table: "... (NL $0.50/$1) [ID=R5-362012167]".
struct TCashTitle {
    std::string TableId;  // after "ID=" up to "]"
    double Stake = 0;     // after "/$" up to ")"; 0 when that is no number
};
TCashTitle ParseCashTitle(std::string_view title);

// Cuts the hand number out of a tournament id: the three characters after
// the second "-" are the hand number and leave the id; -1 (and the id
// untouched) without a second "-" or when they are no number.
int32_t HandNumberOf(std::string& id);

// A tournament table: "... (SNG), 10/20 + 2 [ID=T5-17631959-007][hh123]".
struct TTournamentTitle {
    std::string TournamentId;  // after "ID=" up to "]", the hand number cut out
    int32_t HandNumber = -1;
    std::string HistoryFile;   // after "][" up to "]", plus ".txt"; empty when the title names none
};
TTournamentTitle ParseTournamentTitle(std::string_view title);

// The blinds of a tournament title: small blind after "), " up to "/",
// ante after " + " up to the next blank.
struct TTitleBlinds {
    int32_t SmallBlind = 0;  // 0 when not a number
    std::string Ante;
};
TTitleBlinds ParseTitleBlinds(std::string_view title);

// The panel's blinds text: " 25 / 50 " and, with an ante, "/ 5 " after it;
// empty for a small blind of 0.
std::string BlindsText(int32_t smallBlind, const std::string& ante);

// ---- hand histories ---------------------------------------------------------------

// The line that starts hand n of a tournament: "History for hand" for n 0
// (the first hand in the file), else the tournament id followed by n.
std::string HandStartMark(const std::string& tournamentId, int32_t n);

// One hand of a hand-history text: the first line containing startMark and
// every line after it up to and including the first one containing "End of
// hand" (or the end of the text); empty without a start line. Lines are
// cut to 200 characters, their line ends removed.
std::vector<std::string> ReadHand(std::istream& in, std::string_view startMark);

// A day-based time (days since 1899-12-30) from a "Start hand:" line such as
// "Start hand: Sat Dec 25 21:18:38 GMT+0100 2010"; the time of day alone
// when the date is not valid, 0 when nothing can be read.
double HandTime(std::string_view line);
// 1..12 for "Jan".."Dec", 0 otherwise.
int32_t MonthNumber(std::string_view name);
// From the first line containing "Seat ", the number of consecutive lines
// that contain it.
int32_t SeatCount(const std::vector<std::string>& hand);

// The tournament's format, read from a hand's first lines.
struct TGameFormat {
    bool Tournament = false;  // the table's kind: 1 tournament, 0 cash
    std::string FormatText;   // "Turbo" " DON"/" SNG", seats "-max $" buy-in; at most 40 characters
    uint8_t Speed = 0;        // 1 turbo
    int32_t LevelMinutes = 8;
    double PaidPlaces = 0;
    std::array<double, 5> Payouts{};
    double Stake = 0;
    std::string TournamentId;
    int32_t HandNumber = -1;
    double StartTime = 0;     // day-based, of the hand read
    int32_t SeatsPerTable = 0;
};
// False when the hand has no "History for hand" line; a hand that is no
// tournament gives Tournament false and nothing else.
bool ReadGameFormat(const std::vector<std::string>& hand, TGameFormat& format);

// A hand parsed for the calculator: the hand as it was dealt, with the
// actions before the hero's, and the situation of the next hand.
struct TParsedHand {
    std::string Hero;
    poker::THH Before;  // players, stacks, button, blinds, actions
    poker::THH After;   // the next hand: stacks after the hand, button and blinds moved, busted players gone
};

// Parses a hand; places receives the finishing places of the players who
// busted in it. Nothing (and places untouched) when a line the parse needs
// is missing or a number cannot be read.
std::optional<TParsedHand> ParseHand(const std::vector<std::string>& hand, int32_t seatsPerTable,
                                     poker::TFinishingPlaces& places);

// ---- the level clock --------------------------------------------------------------------

// " nn:ss ": the time left of the current blind level, the levels counted
// from the tournament's start (day-based times); empty without a start or a
// level length.
std::string LevelTimerText(double tournamentStart, double now, int32_t levelMinutes);

// The shortest plain decimal text of a number, never in exponent form:
// integers without a fraction, 100000 as "100000".
std::string NumberText(double value);

}  // namespace kova::tables::ongame
