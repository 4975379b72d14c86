// "PokerRooms.kov": fixed 10968-byte TPokerRoom records, one per room, in
// list order. Files of the older layout (first record's marker "KOVAv1.09",
// 9292-byte records) are converted when read. Room export files use the
// same record layout.
//
// Record layout (little-endian int32, IEEE doubles):
//   0-10 Marker String[10]; 11 Listed; 12-15 kept; 16-19 RoomType;
//   20-60 Name; 61-101 WindowClass; 102-2561 10 titles of 246 bytes;
//   2562-2563 kept; 2564-3083 10 sizes of 52 bytes; 3084 fold-button
//   activation; 3085 flashed-seat activation; 3086 Proportional; 3087-3107
//   kept; 3108-3123 TScaleRef; 3124-3139 fold point; 3140-3142 fold colour;
//   3143-3145 colour 2; 3146-3147 kept; 3148 Tolerance; 3152 Tolerance2;
//   3156 TotalTimeBank; 3160-3162 common bring-to-top, flash, sound;
//   3163 FrameOn; 3164-3195 four alert steps of 8 bytes; 3196 HotKeyCount;
//   3200-7679 20 hotkeys of 224 bytes; 7680-7687 kept; 7688-8999 4 event
//   macros of 328 bytes; 9000-10967 kept.
// Event macro: 41 Enabled, 42 OnTurn, 43 OnColour, 44 SameClick,
//   45 OnlyActive, 64/72/80/88 TurnDelayMin, ColourDelayMin, TurnDelayMax,
//   ColourDelayMax, 112-127 TScaleRef, 128-143 TColourPoint, 144-146
//   colour, 147-149 colour 2, 156 Tolerance, 160 Tolerance2, 168-187 click;
//   every other byte kept.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "tables/files/datafiles.h"
#include "tables/model/variables.h"

namespace kova::tables {

inline constexpr char PokerRoomsFileName[] = "PokerRooms.kov";
inline constexpr char PokerRoomMarker[] = "KOVAv3.08";
inline constexpr char OldPokerRoomMarker[] = "KOVAv1.09";
inline constexpr char OldVersionMessage[] = "Old Version";
inline constexpr std::size_t OldPokerRoomSize = 9292;

// One record from exactly TPokerRoom::ByteSize bytes.
void DecodePokerRoom(const uint8_t* p, TPokerRoom& room);
// One record; bytes 0-9 always carry the length byte 9 and "KOVAv3.08".
std::vector<uint8_t> EncodePokerRoom(const TPokerRoom& room);
void EncodePokerRoom(const TPokerRoom& room, uint8_t* p);

// An old 9292-byte record turned into the new layout: bytes 0-3195 stay,
// the hotkey count moves from 3308 to 3196, the 20 hotkeys from 3312 to
// 3200; every other byte is zero (no event macros).
void ConvertPokerRoomsV109(const uint8_t* oldRecord, TPokerRoom& room);

// True when the first 11 bytes are the length-prefixed "KOVAv1.09".
bool IsOldPokerRoomsLayout(std::span<const uint8_t> bytes);

struct TPokerRoomsDecodeResult {
    bool OldLayout = false;
    bool Complete = true;      // false: the file ends inside a record
    std::size_t Records = 0;   // whole records decoded
};

// Decodes every whole record; rooms receives them.
TPokerRoomsDecodeResult DecodePokerRooms(std::span<const uint8_t> bytes, std::vector<TPokerRoom>& rooms);
std::vector<uint8_t> EncodePokerRooms(const std::vector<TPokerRoom>& rooms);

// No file: empty list. Old layout: shows "Old Version" and converts. A file
// that ends inside a record keeps the whole records before it; it is copied
// beside itself and the user told. Unreadable or oversized: empty list,
// reported and copied.
TLoadStatus LoadPokerRooms(const std::filesystem::path& file, std::vector<TPokerRoom>& rooms);
bool SavePokerRooms(const std::filesystem::path& file, const std::vector<TPokerRoom>& rooms);

}  // namespace kova::tables
