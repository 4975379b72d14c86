// hhdump ongame FILE: the file's first hand as the Ongame tournament table
// reads it: its format, the hand as dealt and the next hand's situation.
#include <cstdio>
#include <fstream>
#include <string>

#include "hhdump.h"
#include "tables/adapters/ongame/portable/ongame_text.h"

namespace kova::hhdump {
namespace {

using namespace kova::tables::ongame;

int DumpOngame(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "hhdump: cannot read %s\n", file.c_str());
    return 1;
  }
  const std::vector<std::string> hand = ReadHand(in, HandStartMark(std::string(), 0));
  TGameFormat format;
  if (hand.empty() || !ReadGameFormat(hand, format)) {
    std::fprintf(stderr, "hhdump: %s holds no Ongame hand (no \"History for hand\" line)\n", file.c_str());
    return 1;
  }
  if (!format.Tournament) {
    std::fprintf(stderr, "hhdump: %s: the first hand is a cash game hand; only tournament hands are read\n",
                 file.c_str());
    return 1;
  }
  poker::TFinishingPlaces places;
  places.PlayerCount = places.NextPlace = format.SeatsPerTable;
  const auto parsed = ParseHand(hand, format.SeatsPerTable, places);
  if (!parsed) {
    std::fprintf(stderr, "hhdump: %s: the first hand cannot be read (Error: GetPlayerInfo ID= %s NumHH= %d)\n",
                 file.c_str(), format.TournamentId.c_str(), format.HandNumber);
    return 1;
  }
  const poker::THH& h = parsed->Before;
  std::printf("format %s\n", format.FormatText.c_str());
  std::printf("blinds %s/%s ante %s\n", NumberText(h.SmallBlind).c_str(), NumberText(h.BigBlind).c_str(),
              NumberText(h.Ante).c_str());
  std::printf("button %d\n", h.Button);
  std::printf("hero %s seat %d\n", parsed->Hero.c_str(), h.HeroSeat);
  for (int32_t i = 0; i < h.PlayerCount; ++i) {
    const poker::TPlayerInfo& p = h.Players[static_cast<size_t>(i)];
    std::printf("player %d %s %s %d\n", p.Seat, p.Name.c_str(), NumberText(p.Stack).c_str(),
                h.Action[static_cast<size_t>(i)]);
  }
  const poker::THH& next = parsed->After;
  for (int32_t i = 0; i < next.PlayerCount; ++i) {
    const poker::TPlayerInfo& p = next.Players[static_cast<size_t>(i)];
    std::printf("next %d %s %s\n", p.Seat, p.Name.c_str(), NumberText(p.Stack).c_str());
  }
  return 0;
}

const THhdumpClient client("ongame", DumpOngame);

}  // namespace
}  // namespace kova::hhdump
