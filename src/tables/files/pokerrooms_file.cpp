#include "tables/files/pokerrooms_file.h"

#include <cstring>

#include "framework/portable/safefile.h"
#include "tables/files/recordcodec.h"

namespace kova::tables {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kHotKeyCount = layout::OffsetOf(&TPokerRoom::HotKeyCount);
constexpr std::size_t kHotKeys = layout::OffsetOf(&TPokerRoom::HotKeys);
constexpr std::size_t kHotKeysSize = std::tuple_size_v<decltype(TPokerRoom::HotKeys)> * TRoomHotKey::ByteSize;

// Where the parts of an old record go in the new layout; every other byte
// of the new record is zero (no event macros).
struct TMove {
    std::size_t From, To, Size;
};
constexpr TMove kV109Moves[] = {
    {0, 0, kHotKeyCount},            // marker to alert steps: the same in both layouts
    {3308, kHotKeyCount, 4},         // HotKeyCount
    {3312, kHotKeys, kHotKeysSize},  // the 20 hotkeys
};
static_assert(3312 + kHotKeysSize <= OldPokerRoomSize);

}  // namespace

void DecodePokerRoom(const uint8_t* p, TPokerRoom& room) { layout::GetRecord(p, room); }

void EncodePokerRoom(const TPokerRoom& room, uint8_t* p) {
    layout::PutRecord(p, room);
    // Bytes 0-9 always carry the current marker; byte 10 stays as it was.
    p[0] = 9;
    std::memcpy(p + 1, PokerRoomMarker, 9);
}

std::vector<uint8_t> EncodePokerRoom(const TPokerRoom& room) {
    std::vector<uint8_t> bytes(TPokerRoom::ByteSize);
    EncodePokerRoom(room, bytes.data());
    return bytes;
}

void ConvertPokerRoomsV109(const uint8_t* old, TPokerRoom& room) {
    std::vector<uint8_t> record(TPokerRoom::ByteSize, 0);
    for (const TMove& m : kV109Moves) std::memcpy(record.data() + m.To, old + m.From, m.Size);
    DecodePokerRoom(record.data(), room);
}

bool IsOldPokerRoomsLayout(std::span<const uint8_t> bytes) {
    return bytes.size() >= 11 && bytes[0] == 9 && std::memcmp(bytes.data() + 1, OldPokerRoomMarker, 9) == 0;
}

TPokerRoomsDecodeResult DecodePokerRooms(std::span<const uint8_t> bytes, std::vector<TPokerRoom>& rooms) {
    TPokerRoomsDecodeResult result;
    result.OldLayout = IsOldPokerRoomsLayout(bytes);
    const std::size_t recordSize = result.OldLayout ? OldPokerRoomSize : TPokerRoom::ByteSize;
    result.Records = bytes.size() / recordSize;
    result.Complete = bytes.size() % recordSize == 0;
    rooms.clear();
    rooms.resize(result.Records);
    for (std::size_t i = 0; i < result.Records; ++i) {
        const uint8_t* p = bytes.data() + i * recordSize;
        if (result.OldLayout) {
            ConvertPokerRoomsV109(p, rooms[i]);
        } else {
            DecodePokerRoom(p, rooms[i]);
        }
    }
    return result;
}

std::vector<uint8_t> EncodePokerRooms(const std::vector<TPokerRoom>& rooms) {
    std::vector<uint8_t> bytes(rooms.size() * TPokerRoom::ByteSize);
    for (std::size_t i = 0; i < rooms.size(); ++i) EncodePokerRoom(rooms[i], bytes.data() + i * TPokerRoom::ByteSize);
    return bytes;
}

TLoadStatus LoadPokerRooms(const fs::path& file, std::vector<TPokerRoom>& rooms) {
    rooms.clear();
    TFileReadResult r = SafeReadFile(file, MaxPokerRoomsFileSize);
    if (r.Status == TFileReadStatus::Missing) return TLoadStatus::Missing;
    if (r.Status != TFileReadStatus::Ok) {
        ReportDamagedFile(file, r.Error);
        return TLoadStatus::Damaged;
    }
    const TPokerRoomsDecodeResult d = DecodePokerRooms(r.Bytes, rooms);
    if (d.OldLayout) ShowUserMessage(OldVersionMessage);
    if (!d.Complete) {
        ReportDamagedFile(file, "it ends inside a room record; " + std::to_string(d.Records) +
                                    " whole rooms were read");
        return TLoadStatus::Damaged;
    }
    return TLoadStatus::Loaded;
}

bool SavePokerRooms(const fs::path& file, const std::vector<TPokerRoom>& rooms) {
    return WriteDataFile(file, EncodePokerRooms(rooms));
}

}  // namespace kova::tables
