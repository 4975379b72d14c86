// What a PokerStars table's window title tells: stakes, blinds and ante,
// seats, field size, speed, blind-level length, game format, buy-in and
// tournament id. Window-free, so that every title format is tested as a
// table of cases.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kova::tables::pokerstars {

struct TTitleFacts {
    uint8_t Kind = 0;             // 0 cash, 1 tournament
    uint8_t Speed = 0;            // 0 regular, 1 turbo, 2 hyper-turbo
    std::string SpeedText;        // " Turbo ", " Hyper-Turbo " or empty
    std::string GameTypeText;     // " Cash ", " MTT " or " SNG "
    std::string GameFormatText;   // " Satellite ", " Step ", " Fifty50 ", " Knockout ", " Rebuy " or empty
    int32_t Seats = 0;            // per table, 0 when unknown
    int32_t TotalPlayers = 0;     // 0 when unknown
    int32_t LevelMinutes = 0;     // blind-level length; 0 = no known length
    double Stake = 0;             // tournament buy-in, or the cash table's big blind
    std::string BuyInText;        // at most 20 characters
    std::string TournamentId;     // tournaments only
    bool operator==(const TTitleFacts&) const = default;
};

// The digits right before the first occurrence of `word`, as a number; 0
// when the word does not occur or no digit stands before it.
int32_t NumberBeforeWord(std::string_view word, std::string_view title);

// The facts of a title as the table was adopted with it (empty: all unset).
TTitleFacts ReadTitleFacts(std::string_view title);

// The blinds of the current title: the small blind (0 when the title has
// none) and the panel's text, " 25 / 50 " or with an ante " 25 / 50 / 5 ".
struct TBlinds {
    int32_t SmallBlind = 0;
    std::string Text;
    bool operator==(const TBlinds&) const = default;
};
TBlinds ReadBlinds(std::string_view title);

// A day-based span as the panel's timer shows it: " mm:ss " (minutes of
// the hour, so ten minutes are " 10:00 ").
std::string TimerText(double days);

}  // namespace kova::tables::pokerstars
