// The arithmetic of the Full Tilt Poker lobby's tournament registration,
// without windows: the registrator's settings as the user typed them, how
// many tournaments may be registered, and the walk over the lobby's rows.
#pragma once

#include <cstdint>
#include <string_view>

#include "tables/model/variables.h"

namespace kova::tables {

struct TFullTiltSettings {
    int32_t KeepOpen = 8;           // tournaments open at once
    int32_t TotalTournaments = 16;  // tournaments in the whole session
    int32_t LobbyRows = 4;          // rows of the lobby's list to register from
};

// A whole number as typed in an edit (surrounding blanks allowed), else
// `fallback`.
int32_t EditNumber(std::string_view text, int32_t fallback);

// The settings from the engine's copy of the Full Tilt page.
TFullTiltSettings ReadFullTiltSettings(const TEngineOptions& options);

// How many more tournaments the session allows: the smaller of the open
// tables still missing and the tournaments still to play.
int32_t FullTiltAllowed(const TFullTiltSettings& s, int32_t liveTables, int32_t tablesSeen);

// How many tournaments the lobby keeps registered: what the session allows,
// never below 0 nor above the lobby's rows. (The page's batch edit never
// raises it above what is allowed, nor holds it below.)
int32_t FullTiltRegistrationLimit(int32_t allowed, int32_t lobbyRows);

// The row after `row` in the round-robin walk over rows 1..lobbyRows.
int32_t NextLobbyRow(int32_t row, int32_t lobbyRows);

// Where a row of the lobby's list is clicked (13 pixels a row), in the
// list's client coordinates.
constexpr int32_t FullTiltRowHeight = 13;
constexpr int32_t FullTiltRowX = 10;
constexpr int32_t FullTiltRowY(int32_t row) { return FullTiltRowHeight * row - 6; }

}  // namespace kova::tables
