#include "tables/adapters/fulltilt/portable/ftp_registration.h"

#include <algorithm>
#include <charconv>

namespace kova::tables {

int32_t EditNumber(std::string_view text, int32_t fallback) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return fallback;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return fallback;
    return value;
}

TFullTiltSettings ReadFullTiltSettings(const TEngineOptions& options) {
    TFullTiltSettings s;
    s.KeepOpen = EditNumber(options.CurTourEditFTP, 8);
    s.TotalTournaments = EditNumber(options.TotalTourEditFTP, 16);
    s.LobbyRows = EditNumber(options.MaxTourEditFTP, 4);
    return s;
}

int32_t FullTiltAllowed(const TFullTiltSettings& s, int32_t liveTables, int32_t tablesSeen) {
    // In 64 bits: the edits take any number, and a difference must not wrap.
    const int64_t open = int64_t{s.KeepOpen} - liveTables;
    const int64_t left = int64_t{s.TotalTournaments} - tablesSeen;
    return static_cast<int32_t>(std::clamp<int64_t>(std::min(open, left), INT32_MIN, INT32_MAX));
}

int32_t FullTiltRegistrationLimit(int32_t allowed, int32_t lobbyRows) {
    if (allowed >= lobbyRows) return std::max(0, lobbyRows);
    return std::max(0, allowed);
}

int32_t NextLobbyRow(int32_t row, int32_t lobbyRows) {
    if (lobbyRows < 1) return 1;
    return row >= lobbyRows || row < 0 ? 1 : row + 1;
}

}  // namespace kova::tables
