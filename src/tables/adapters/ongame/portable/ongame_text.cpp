#include "tables/adapters/ongame/portable/ongame_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tables/logic/engine_routines.h"

namespace kova::tables::ongame {

namespace {

bool Contains(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

// The start mark of a hand in a line; a mark ending in a hand number must
// not match the start of a longer number (hand 1 is not hand 12).
bool ContainsMark(std::string_view line, std::string_view mark) {
    if (mark.empty()) return false;
    const bool number = mark.back() >= '0' && mark.back() <= '9';
    for (size_t at = line.find(mark); at != std::string_view::npos; at = line.find(mark, at + 1)) {
        const size_t end = at + mark.size();
        if (!number || end >= line.size() || line[end] < '0' || line[end] > '9') return true;
    }
    return false;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A whole text as an integer (blanks around it allowed).
std::optional<int32_t> IntegerOf(std::string_view text) {
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int32_t v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

// A whole text as a decimal number (blanks around it allowed).
std::optional<double> NumberOf(std::string_view text) {
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::fixed);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

// The text after `start` up to the first character of `end`.
std::string After(std::string_view s, std::string_view start, std::string_view end) {
    return SubstringBetween(s, start, static_cast<int32_t>(start.size()), end);
}

// Days from 1899-12-30 to a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + 25569;  // 1970-01-01 is day 25569
}

bool ValidDate(int32_t y, int32_t m, int32_t d) {
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= kDays[m - 1] + (m == 2 && leap ? 1 : 0);
}

// "hh:mm:ss" (or "hh:mm") as a fraction of the day; nothing when it is no time.
std::optional<double> TimeOfDay(std::string_view text) {
    int32_t parts[3] = {0, 0, 0};
    int n = 0;
    while (n < 3) {
        const size_t colon = text.find(':');
        const auto v = IntegerOf(text.substr(0, colon));
        if (!v) return std::nullopt;
        parts[n++] = *v;
        if (colon == std::string_view::npos) break;
        text.remove_prefix(colon + 1);
        if (n == 3) return std::nullopt;
    }
    if (n < 2 || parts[0] < 0 || parts[0] > 23 || parts[1] < 0 || parts[1] > 59 || parts[2] < 0 || parts[2] > 59)
        return std::nullopt;
    return (parts[0] * 3600.0 + parts[1] * 60.0 + parts[2]) / 86400.0;
}

// Removes everything up to and including the first blank (all when none).
void DropWord(std::string& s) {
    const size_t blank = s.find(' ');
    s.erase(0, blank == std::string::npos ? s.size() : blank + 1);
}

std::string FirstWord(const std::string& s) { return s.substr(0, s.find(' ')); }

// A forward-only walk over the hand's lines: every search stops at the last
// line instead of running past it.
class TLineCursor {
public:
    explicit TLineCursor(const std::vector<std::string>& lines) : lines_(lines) {}
    // Moves to the first line at or after the cursor that contains `part`.
    bool SkipTo(std::string_view part) {
        while (i_ < lines_.size() && !Contains(lines_[i_], part)) ++i_;
        return i_ < lines_.size();
    }
    bool AtLineWith(std::string_view part) const { return i_ < lines_.size() && Contains(lines_[i_], part); }
    bool Valid() const { return i_ < lines_.size(); }
    const std::string& Line() const { return lines_[i_]; }
    void Next() { ++i_; }

private:
    const std::vector<std::string>& lines_;
    size_t i_ = 0;
};

}  // namespace

// ---- titles ---------------------------------------------------------------------------------

TCashTitle ParseCashTitle(std::string_view title) {
    TCashTitle t;
    t.TableId = After(title, "ID=", "]");
    t.Stake = NumberOf(After(title, "/$", ")")).value_or(0.0);
    return t;
}

int32_t HandNumberOf(std::string& id) {
    const size_t first = id.find('-');
    const size_t second = first == std::string::npos ? std::string::npos : id.find('-', first + 1);
    if (second == std::string::npos) return -1;
    const auto n = IntegerOf(std::string_view(id).substr(second + 1, 3));
    if (!n || *n < 0) return -1;
    id.erase(second + 1, 3);
    return *n;
}

TTournamentTitle ParseTournamentTitle(std::string_view title) {
    TTournamentTitle t;
    t.TournamentId = After(title, "ID=", "]");
    t.HandNumber = HandNumberOf(t.TournamentId);
    const std::string file = After(title, "][", "]");
    if (!file.empty()) t.HistoryFile = file + ".txt";
    return t;
}

TTitleBlinds ParseTitleBlinds(std::string_view title) {
    TTitleBlinds b;
    b.SmallBlind = IntegerOf(After(title, "), ", "/")).value_or(0);
    b.Ante = After(title, " + ", " ");
    return b;
}

std::string BlindsText(int32_t smallBlind, const std::string& ante) {
    if (smallBlind == 0) return std::string();
    std::string text = " " + std::to_string(smallBlind) + " / " + std::to_string(2 * static_cast<int64_t>(smallBlind)) + " ";
    if (!ante.empty()) text += "/ " + ante + " ";
    return text;
}

// ---- hand histories ----------------------------------------------------------------------

std::string HandStartMark(const std::string& tournamentId, int32_t n) {
    return n == 0 ? std::string("History for hand") : tournamentId + std::to_string(n);
}

std::vector<std::string> ReadHand(std::istream& in, std::string_view startMark) {
    constexpr size_t kLineLength = 200;
    std::vector<std::string> hand;
    bool started = false;
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        if (line.size() > kLineLength) line.resize(kLineLength);
        if (!started) {
            if (!ContainsMark(line, startMark)) continue;
            started = true;
        }
        const bool last = Contains(line, "End of hand");
        hand.push_back(std::move(line));
        if (last) break;
    }
    return hand;
}

int32_t MonthNumber(std::string_view name) {
    static constexpr std::string_view kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int32_t i = 0; i < 12; ++i)
        if (name == kMonths[i]) return i + 1;
    return 0;
}

double HandTime(std::string_view line) {
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) return 0;
    std::string s(line.substr(std::min(line.size(), colon + 2)));
    DropWord(s);                                   // the weekday
    const int32_t month = MonthNumber(std::string_view(s).substr(0, 3));
    s.erase(0, std::min<size_t>(4, s.size()));
    const auto day = IntegerOf(FirstWord(s));
    DropWord(s);
    const auto time = TimeOfDay(FirstWord(s));
    DropWord(s);
    DropWord(s);                                   // the time zone
    const auto year = IntegerOf(s.substr(0, std::min<size_t>(4, s.size())));
    const double t = time.value_or(0.0);
    if (!day || !year || !ValidDate(*year, month, *day)) return t;
    return static_cast<double>(DaysFromCivil(*year, month, *day)) + t;
}

int32_t SeatCount(const std::vector<std::string>& hand) {
    TLineCursor c(hand);
    if (!c.SkipTo("Seat ")) return 0;
    int32_t n = 0;
    for (; c.AtLineWith("Seat "); c.Next()) ++n;
    return n;
}

bool ReadGameFormat(const std::vector<std::string>& hand, TGameFormat& f) {
    TLineCursor c(hand);
    if (!c.SkipTo("History for hand")) return false;
    const std::string& first = c.Line();
    if (!Contains(first, "TOURNAMENT")) {
        f.Tournament = false;
        return true;
    }
    f.Tournament = true;
    f.FormatText.clear();
    if (Contains(first, "Turbo")) {
        f.Speed = 1;
        f.LevelMinutes = 3;
        f.FormatText = "Turbo";
    } else {
        f.Speed = 0;
        f.LevelMinutes = 8;
    }
    f.Payouts = {};
    if (Contains(first, "Double")) {
        f.PaidPlaces = 5;
        f.Payouts = {0.2, 0.2, 0.2, 0.2, 0.2};
        f.FormatText += " DON";
    } else {
        f.PaidPlaces = 3;
        f.Payouts = {0.5, 0.3, 0.2, 0, 0};
        f.FormatText += " SNG";
    }
    f.Stake = NumberOf(After(first, "$", ")")).value_or(0.0);
    f.TournamentId = After(first, "hand ", " ");
    f.HandNumber = HandNumberOf(f.TournamentId);
    c.Next();
    f.StartTime = c.Valid() ? HandTime(c.Line()) : 0.0;
    f.SeatsPerTable = SeatCount(hand);
    f.FormatText += " " + std::to_string(f.SeatsPerTable) + "-max $" + NumberText(f.Stake);
    if (f.FormatText.size() > 40) f.FormatText.resize(40);
    return true;
}

std::optional<TParsedHand> ParseHand(const std::vector<std::string>& hand, int32_t seatsPerTable,
                                     poker::TFinishingPlaces& places) {
    using poker::THH;
    TParsedHand p;
    THH& h = p.Before;
    // The time of the hand, for the calculator's blind level.
    if (TLineCursor start(hand); start.SkipTo("History for hand")) {
        start.Next();
        if (start.Valid()) h.HandTime = HandTime(start.Line());
    }
    TLineCursor c(hand);

    // 1. The blinds.
    if (!c.SkipTo("Table:")) return std::nullopt;
    const auto sb = IntegerOf(After(c.Line(), "HOLDEM ", "/"));
    const auto bb = IntegerOf(After(c.Line(), "/", ","));
    if (!sb || !bb) return std::nullopt;
    h.SmallBlind = *sb;
    h.BigBlind = *bb;
    if (Contains(c.Line(), " ante")) {
        const auto ante = IntegerOf(After(c.Line(), "ante: ", ","));
        if (!ante) return std::nullopt;
        h.Ante = *ante;
    }

    // 2. The hero and the button.
    if (!c.SkipTo("User:")) return std::nullopt;
    p.Hero = After(c.Line(), ": ", " ");
    c.Next();
    if (!c.Valid()) return std::nullopt;
    const auto button = IntegerOf(After(c.Line(), "seat ", " "));
    if (!button) return std::nullopt;
    h.Button = *button;
    c.Next();

    // 3. The players.
    if (!c.SkipTo("Seat")) return std::nullopt;
    for (; c.AtLineWith("Seat"); c.Next()) {
        if (h.PlayerCount >= THH::MaxPlayers) return std::nullopt;
        const auto seat = IntegerOf(After(c.Line(), "Seat ", ":"));
        const auto stack = NumberOf(After(c.Line(), " (", ")"));
        if (!seat || !stack) return std::nullopt;
        poker::TPlayerInfo& player = h.Players[static_cast<size_t>(h.PlayerCount++)];
        player.Seat = *seat;
        player.Name = After(c.Line(), ": ", " (");
        player.Stack = *stack;
    }

    // 4. The blinds' seats.
    for (; c.AtLineWith(" posts "); c.Next()) {
        if (Contains(c.Line(), " small blind ")) h.SmallBlindSeat = poker::SeatOfNameInText(c.Line(), h);
        if (Contains(c.Line(), " big blind ")) h.BigBlindSeat = poker::SeatOfNameInText(c.Line(), h);
    }

    // 5. What the players before the hero did: folded, or went in.
    if (!c.SkipTo("Dealing to")) return std::nullopt;
    h.Action.fill(-1);
    for (c.Next(); c.Valid() && !Contains(c.Line(), "---"); c.Next()) {
        const int32_t k = poker::PlayerIndexOfNameInText(c.Line(), h);
        if (k == 0 || h.Players[static_cast<size_t>(k - 1)].Name == p.Hero) break;
        h.Action[static_cast<size_t>(k - 1)] = Contains(c.Line(), " folds") ? 0 : 1;
    }

    // 6. The hero's seat.
    for (int32_t i = 0; i < h.PlayerCount; ++i)
        if (h.Players[static_cast<size_t>(i)].Name == p.Hero) h.HeroSeat = h.Players[static_cast<size_t>(i)].Seat;

    // 7. The stacks after the hand, player by player in the same order.
    THH after = h;
    if (!c.SkipTo("Summary:") || !c.SkipTo("Seat")) return std::nullopt;
    after.PlayerCount = 0;
    for (; c.AtLineWith("Seat") && after.PlayerCount < h.PlayerCount; c.Next()) {
        const auto stack = NumberOf(After(c.Line(), " (", ")"));
        if (!stack) return std::nullopt;
        after.Players[static_cast<size_t>(after.PlayerCount++)].Stack = *stack;
    }

    // 8. On to the next hand: button and blinds move, busted players get
    // their places and leave; everyone before the hero folds to him.
    poker::TFinishingPlaces placed = places;
    poker::MoveButtonAndBlinds(after, seatsPerTable);
    poker::AssignFinishingPlaces(placed, after, h);
    poker::RemoveBustedPlayers(after);
    after.Action.fill(-1);
    const int32_t n = after.PlayerCount;
    const int32_t bigBlind = poker::SeatIndexOf(after.BigBlindSeat, after);  // 1-based, 0 when none
    for (int32_t step = 1; step <= n; ++step) {
        const int32_t k = (bigBlind + step - 1) % n;  // 0-based: from the player after the big blind round the table
        if (after.Players[static_cast<size_t>(k)].Name == p.Hero) break;
        after.Action[static_cast<size_t>(k)] = 0;
    }
    p.After = after;
    places = placed;
    return p;
}

// ---- the level clock ------------------------------------------------------------------------

std::string LevelTimerText(double tournamentStart, double now, int32_t levelMinutes) {
    if (tournamentStart <= 0 || levelMinutes <= 0) return std::string();
    const double level = levelMinutes / 1440.0;
    double remaining = tournamentStart - now - 3.0 / 86400.0;
    if (remaining < 0) remaining += std::ceil(-remaining / level) * level;
    if (!std::isfinite(remaining) || remaining < 0) remaining = 0;
    const int64_t seconds = static_cast<int64_t>(std::floor(remaining * 86400.0 + 1e-3));
    char text[32];
    std::snprintf(text, sizeof text, " %02lld:%02lld ", static_cast<long long>((seconds / 60) % 60),
                  static_cast<long long>(seconds % 60));
    return text;
}

std::string NumberText(double value) {
    // Room for the longest fixed form: the largest double's 309 digits, or
    // the smallest one's 324 places after the point.
    char text[400];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    if (ec != std::errc()) return "0";
    return std::string(text, end);
}

}  // namespace kova::tables::ongame
