// libFuzzer entry point for the Ongame readers: any text as a hand-history
// file and as a window title. Whatever a hand parses to must be a hand
// record the calculator can take.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "tables/adapters/ongame/portable/ongame_text.h"

namespace {

using namespace kova::tables::ongame;

void Require(bool condition) {
    if (!condition) std::abort();
}

void CheckHand(const kova::poker::THH& h) {
    Require(h.PlayerCount >= 0 && h.PlayerCount <= kova::poker::THH::MaxPlayers);
    for (int32_t a : h.Action) Require(a >= -1 && a <= 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    std::string firstLine = text.substr(0, text.find('\n'));
    ParseCashTitle(firstLine);
    ParseTournamentTitle(firstLine);
    ParseTitleBlinds(firstLine);
    HandNumberOf(firstLine);
    HandTime(firstLine);

    for (int32_t n : {0, 1}) {
        std::istringstream in(text);
        const auto hand = ReadHand(in, HandStartMark("T5-17631959-", n));
        TGameFormat format;
        if (!ReadGameFormat(hand, format)) continue;
        Require(format.FormatText.size() <= 40);
        kova::poker::TFinishingPlaces places;
        places.PlayerCount = places.NextPlace = format.SeatsPerTable;
        if (const auto parsed = ParseHand(hand, format.SeatsPerTable, places)) {
            CheckHand(parsed->Before);
            CheckHand(parsed->After);
            Require(parsed->After.PlayerCount <= parsed->Before.PlayerCount);
        }
        LevelTimerText(format.StartTime, format.StartTime + 1.5, format.LevelMinutes);
    }
    return 0;
}
