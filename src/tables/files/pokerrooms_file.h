// "PokerRooms.kov": fixed 10968-byte TPokerRoom records, one per room, in
// list order. Files of the older layout (first record's marker "KOVAv1.09",
// 9292-byte records) are converted when read. Room export files use the
// same record layout.
//
// The record's layout is the field table of TPokerRoom (recordcodec.h):
// every byte the engine does not read is kept as read, so a room read and
// written again comes out byte for byte the same, but for bytes 0-9, which
// always carry the current marker. The four event macros are 0 time bank,
// 1 I'm back, 2 info tab, 3 betpot.
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

// An old 9292-byte record turned into the new layout: everything before the
// hotkey count stays where it is, the hotkey count moves from 3308 and the
// 20 hotkeys from 3312 to their places in the new layout; every other byte
// is zero (no event macros).
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
