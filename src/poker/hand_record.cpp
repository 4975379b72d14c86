#include "poker/hand_record.h"

#include <algorithm>

namespace kova::poker {

namespace {

// Player entries in use; a garbled count never reaches past the array.
int32_t Used(const THH& hand) { return std::clamp(hand.PlayerCount, 0, THH::MaxPlayers); }

// Stack of the player at a seat; a seat nobody sits at counts as empty.
double StackAtSeat(int32_t seat, const THH& hand) {
    const int32_t k = SeatIndexOf(seat, hand);
    return k > 0 ? hand.Players[static_cast<std::size_t>(k - 1)].Stack : 0.0;
}

}  // namespace

int32_t SeatOfNameInText(std::string_view text, const THH& hand) {
    const int32_t k = PlayerIndexOfNameInText(text, hand);
    return k > 0 ? hand.Players[static_cast<std::size_t>(k - 1)].Seat : 0;
}

int32_t PlayerIndexOfNameInText(std::string_view text, const THH& hand) {
    for (int32_t i = 0; i < Used(hand); ++i) {
        const std::string& name = hand.Players[static_cast<std::size_t>(i)].Name;
        if (!name.empty() && text.find(name) != std::string_view::npos) return i + 1;
    }
    return 0;
}

int32_t SeatIndexOf(int32_t seat, const THH& hand) {
    for (int32_t i = 0; i < Used(hand); ++i) {
        if (hand.Players[static_cast<std::size_t>(i)].Seat == seat) return i + 1;
    }
    return 0;
}

int32_t NextSeatWithChips(int32_t seat, const THH& hand, int32_t seatCount) {
    int32_t s = seat;
    // Callers promise a player with chips; without one, stop after a round.
    for (int32_t step = 0; step < seatCount; ++step) {
        s = (s >= seatCount || s < 0) ? 1 : s + 1;
        if (StackAtSeat(s, hand) > 0) return s;
    }
    return seat;
}

void MoveButtonAndBlinds(THH& hand, int32_t seatCount) {
    if (hand.SmallBlindSeat > 0 && StackAtSeat(hand.SmallBlindSeat, hand) > 0) {
        hand.Button = NextSeatWithChips(hand.Button, hand, seatCount);
    }
    if (StackAtSeat(hand.BigBlindSeat, hand) <= 0) {
        hand.BigBlindSeat = NextSeatWithChips(hand.Button, hand, seatCount);
        hand.SmallBlindSeat = 0;
    } else {
        hand.SmallBlindSeat = NextSeatWithChips(hand.Button, hand, seatCount);
        hand.BigBlindSeat = NextSeatWithChips(hand.SmallBlindSeat, hand, seatCount);
    }
}

void AssignFinishingPlaces(TFinishingPlaces& places, const THH& after, const THH& before) {
    const int32_t n = std::min(Used(after), Used(before));
    std::array<bool, THH::MaxPlayers> placed{};
    for (;;) {
        int32_t best = -1;
        for (int32_t i = 0; i < n; ++i) {
            const TPlayerInfo& p = after.Players[static_cast<std::size_t>(i)];
            if (placed[static_cast<std::size_t>(i)] || p.Stack > 0) continue;
            if (p.Seat < 1 || p.Seat > THH::MaxPlayers) continue;
            if (places.Place[static_cast<std::size_t>(p.Seat - 1)] != 0) continue;
            // On equal stacks the later player takes the worse place.
            if (best < 0 || before.Players[static_cast<std::size_t>(i)].Stack <=
                                before.Players[static_cast<std::size_t>(best)].Stack) {
                best = i;
            }
        }
        if (best < 0) break;
        placed[static_cast<std::size_t>(best)] = true;
        places.Place[static_cast<std::size_t>(after.Players[static_cast<std::size_t>(best)].Seat - 1)] =
            places.NextPlace;
        --places.NextPlace;
    }
    if (places.PlayerCount >= 1 && places.NextPlace <= places.PlayerCount / 2) {
        const int32_t seats = std::min(places.PlayerCount, THH::MaxPlayers);
        for (int32_t s = 0; s < seats; ++s) {
            if (places.Place[static_cast<std::size_t>(s)] == 0) places.Place[static_cast<std::size_t>(s)] = 1;
        }
    }
}

void RemoveBustedPlayers(THH& hand) {
    if (hand.PlayerCount < 1) {
        hand.PlayerCount = 0;
        return;
    }
    const int32_t n = Used(hand);
    int32_t kept = 0;
    for (int32_t i = 0; i < n; ++i) {
        TPlayerInfo& p = hand.Players[static_cast<std::size_t>(i)];
        if (p.Stack > 0) {
            if (kept != i) hand.Players[static_cast<std::size_t>(kept)] = std::move(p);
            ++kept;
        }
    }
    for (int32_t i = kept; i < n; ++i) hand.Players[static_cast<std::size_t>(i)] = TPlayerInfo{};
    hand.PlayerCount = kept;
}

}  // namespace kova::poker
