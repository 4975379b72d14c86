// Small window-free routines shared by the scan, the room adapters, the
// main window's tools and the calculator: a substring cut used to read
// window titles, the tournament-hand routines over THH and a running
// average. (The window ancestor and the folder chooser live with the
// window code.)
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tables/variables.h"

namespace kova::tables {

// From the first occurrence of startText (case-sensitive) skip `skip`
// characters and take everything up to, not including, the next character
// equal to the first character of endText (or to the end of s). Empty
// when startText does not occur.
// Example: ("Table 5 [ID=R123] x", "ID=", 3, "]") gives "R123".
std::string SubstringBetween(std::string_view s, std::string_view startText, int32_t skip, std::string_view endText);

// Seat (0 when none) / player number (1-based, 0 when none) of the first
// player in list order whose name occurs in text.
int32_t SeatOfNameInText(std::string_view text, const THH& hand);
int32_t PlayerIndexOfNameInText(std::string_view text, const THH& hand);
// Player number (1-based) of the first player at that seat; 0 when none.
int32_t SeatIndexOf(int32_t seat, const THH& hand);

// The next seat after `seat` (wrapping from seatCount to 1) whose player
// has chips; `seat` itself when no seat qualifies.
int32_t NextSeatWithChips(int32_t seat, const THH& hand, int32_t seatCount);

// Moves button and blinds to the next hand (dead button when the small
// blind busted; no small blind next hand when the big blind busted).
void MoveButtonAndBlinds(THH& hand, int32_t seatCount);

// Gives the players who busted in the hand their finishing places, the
// smallest stack before the hand the worst place (ties: the later player);
// when at most half the field is left to place, all others get place 1.
void AssignFinishingPlaces(TFinishingPlaces& places, const THH& after, const THH& before);

// Keeps, in order, only the players with chips.
void RemoveBustedPlayers(THH& hand);

// Adds a sample while fewer than ten are held and updates the average.
void AddAverageSample(TAverageSamples& samples, double value);

}  // namespace kova::tables
