#include "tables/adapters/pokerstars/portable/title.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tables/logic/engine_routines.h"

namespace kova::tables::pokerstars {

namespace {

bool Has(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

// The whole text as a decimal number; 0 when it is not one.
double Decimal(const std::string& text) {
    if (text.empty()) return 0;
    const char* begin = text.c_str();
    char* end = nullptr;
    const double v = std::strtod(begin, &end);
    if (end == begin || *end != '\0' || !std::isfinite(v)) return 0;
    return v;
}

// The whole text as an integer; 0 when it is not one (or too large).
int32_t Integer(const std::string& text) {
    if (text.empty() || text.size() > 10) return 0;
    const char* begin = text.c_str();
    char* end = nullptr;
    const long long v = std::strtoll(begin, &end, 10);
    if (end == begin || *end != '\0' || v > INT32_MAX || v < INT32_MIN) return 0;
    return static_cast<int32_t>(v);
}

// Level minutes by speed: hyper, turbo, regular.
int32_t BySpeed(uint8_t speed, int32_t hyper, int32_t turbo, int32_t regular) {
    return speed == 2 ? hyper : speed == 1 ? turbo : regular;
}

}  // namespace

int32_t NumberBeforeWord(std::string_view word, std::string_view title) {
    if (word.empty()) return 0;
    const std::size_t at = title.find(word);
    if (at == std::string_view::npos) return 0;
    std::size_t from = at;
    while (from > 0 && title[from - 1] >= '0' && title[from - 1] <= '9') --from;
    return Integer(std::string(title.substr(from, at - from)));
}

TTitleFacts ReadTitleFacts(std::string_view title) {
    TTitleFacts f;
    if (title.empty()) return f;
    const bool tournament = Has(title, "Tournament");
    if (!tournament) {
        f.Kind = 0;
        f.GameTypeText = " Cash ";
        f.Stake = Has(title, "Play Money") ? 0 : Decimal(SubstringBetween(title, "/$", 2, " "));
    } else {
        f.Kind = 1;
        f.GameTypeText = Has(title, ":") ? " MTT " : " SNG ";
        f.TournamentId = SubstringBetween(title, "Tournament ", 11, " ");
    }

    f.Seats = NumberBeforeWord("-Max", title);
    if (f.Seats == 0 && (Has(title, "1 on 1") || Has(title, "HU"))) f.Seats = 2;
    f.TotalPlayers = NumberBeforeWord(" Players", title);
    if (Has(title, "Hyper-Turbo")) {
        f.Speed = 2;
        f.SpeedText = " Hyper-Turbo ";
    } else if (Has(title, "Turbo")) {
        f.Speed = 1;
        f.SpeedText = " Turbo ";
    }
    if (Has(title, " Sat: ")) {
        f.GameFormatText = " Satellite ";
        f.LevelMinutes = BySpeed(f.Speed, 3, 5, 10);
    } else if (Has(title, " Step ")) {
        f.GameFormatText = " Step ";
        f.LevelMinutes = BySpeed(f.Speed, 3, 5, 10);
    } else if (Has(title, "Fifty50")) {
        f.GameFormatText = " Fifty50 ";
        f.LevelMinutes = BySpeed(f.Speed, 0, 3, 6);
    } else {
        if (Has(title, "Knockout"))
            f.GameFormatText = " Knockout ";
        else if (Has(title, "Rebuy"))
            f.GameFormatText = " Rebuy ";
        else if (Has(title, "Step "))
            f.GameFormatText = " Step ";
        f.LevelMinutes = f.Seats == 2 ? BySpeed(f.Speed, 2, 3, 6) : BySpeed(f.Speed, 2, 5, f.TotalPlayers >= 90 ? 15 : 10);
    }
    if (!tournament) return f;  // a cash table's stake is its big blind

    if (Has(title, "Play Money")) {
        f.Stake = 0;
        f.BuyInText = " Play Money ";
    } else if (Has(title, " FPP ")) {
        f.Stake = 0;
        f.BuyInText = " " + std::to_string(NumberBeforeWord(" FPP", title)) + " FPP ";
    } else {
        std::string_view rest = title;
        if (const std::size_t colon = rest.find(':'); colon != std::string_view::npos) rest.remove_prefix(colon + 1);
        f.Stake = Decimal(SubstringBetween(rest, "$", 1, " "));
        if (f.Stake == 0) f.Stake = Decimal(SubstringBetween(rest, "$", 1, "+"));
        char text[64];
        std::snprintf(text, sizeof text, " $%.2f ", f.Stake);
        f.BuyInText = std::string(text).substr(0, 20);
    }
    if (Has(title, "Spin & Go")) f.LevelMinutes = 3;
    return f;
}

TBlinds ReadBlinds(std::string_view title) {
    const bool play = Has(title, "Play Money");
    const std::string small =
        play ? SubstringBetween(title, "Blinds ", 7, "/") : SubstringBetween(title, "Blinds $", 8, "/");
    const std::string ante = play ? SubstringBetween(title, "Ante ", 5, " ") : SubstringBetween(title, "Ante $", 6, " ");
    TBlinds b;
    b.SmallBlind = Integer(small);
    if (b.SmallBlind == 0) return b;
    b.Text = " " + std::to_string(b.SmallBlind) + " / " + std::to_string(2LL * b.SmallBlind) + " ";
    if (!ante.empty()) b.Text += "/ " + ante + " ";
    return b;
}

std::string TimerText(double days) {
    if (!std::isfinite(days) || days < 0) days = 0;
    const long long seconds = std::llround(days * 86400.0);
    char text[32];
    std::snprintf(text, sizeof text, " %02lld:%02lld ", (seconds / 60) % 60, seconds % 60);
    return text;
}

}  // namespace kova::tables::pokerstars
