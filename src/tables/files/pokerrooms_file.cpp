#include "tables/files/pokerrooms_file.h"

#include <cstring>

#include "framework/portable/safefile.h"
#include "tables/files/byteio.h"
#include "tables/files/recordcodec.h"

namespace kova::tables {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kTitles = 102;
constexpr std::size_t kSizes = 2564;
constexpr std::size_t kAlertSteps = 3164;
constexpr std::size_t kHotKeyCount = 3196;
constexpr std::size_t kHotKeys = 3200;
constexpr std::size_t kEventMacros = 7688;
constexpr std::size_t kOldHotKeyCount = 3308;
constexpr std::size_t kOldHotKeys = 3312;

}  // namespace

void DecodePokerRoom(const uint8_t* p, TPokerRoom& r) {
    std::memcpy(r.KeptBytes.data(), p, TPokerRoom::ByteSize);
    GetShort(p, r.Marker);
    r.Listed = p[11];
    r.RoomType = GetI32(p + 16);
    GetShort(p + 20, r.Name);
    GetShort(p + 61, r.WindowClass);
    for (std::size_t i = 0; i < r.Titles.size(); ++i) GetTitleSpec(p + kTitles + i * TTitleSpec::ByteSize, r.Titles[i]);
    for (std::size_t i = 0; i < r.Sizes.size(); ++i) GetWindowSize(p + kSizes + i * TWindowSize::ByteSize, r.Sizes[i]);
    r.FoldButtonActivation = p[3084];
    r.FlashedSeatActivation = p[3085];
    r.Proportional = p[3086];
    GetScaleRef(p + 3108, r.ScaleRef);
    GetColourPoint(p + 3124, r.FoldPoint);
    r.FoldColour = GetRGB(p + 3140);
    r.FoldColour2 = GetRGB(p + 3143);
    r.Tolerance = GetI32(p + 3148);
    r.Tolerance2 = GetI32(p + 3152);
    r.TotalTimeBank = GetI32(p + 3156);
    r.CommonBringToTop = p[3160];
    r.CommonFlash = p[3161];
    r.CommonSound = p[3162];
    r.FrameOn = p[3163];
    for (std::size_t i = 0; i < r.AlertSteps.size(); ++i) {
        const uint8_t* s = p + kAlertSteps + 8 * i;
        r.AlertSteps[i] = TTurnAlertStep{GetI32(s), s[4], s[5], s[6], s[7]};
    }
    r.HotKeyCount = GetI32(p + kHotKeyCount);
    for (std::size_t i = 0; i < r.HotKeys.size(); ++i) GetRoomHotKey(p + kHotKeys + i * TRoomHotKey::ByteSize, r.HotKeys[i]);
    for (std::size_t i = 0; i < r.EventMacros.size(); ++i) {
        GetEventMacro(p + kEventMacros + i * TEventMacro::ByteSize, r.EventMacros[i]);
    }
}

void EncodePokerRoom(const TPokerRoom& r, uint8_t* p) {
    std::memcpy(p, r.KeptBytes.data(), TPokerRoom::ByteSize);
    PutShort(p, r.Marker);
    // Bytes 0-9 always carry the current marker; byte 10 stays as it was.
    p[0] = 9;
    std::memcpy(p + 1, PokerRoomMarker, 9);
    p[11] = r.Listed;
    PutI32(p + 16, r.RoomType);
    PutShort(p + 20, r.Name);
    PutShort(p + 61, r.WindowClass);
    for (std::size_t i = 0; i < r.Titles.size(); ++i) PutTitleSpec(p + kTitles + i * TTitleSpec::ByteSize, r.Titles[i]);
    for (std::size_t i = 0; i < r.Sizes.size(); ++i) PutWindowSize(p + kSizes + i * TWindowSize::ByteSize, r.Sizes[i]);
    p[3084] = r.FoldButtonActivation;
    p[3085] = r.FlashedSeatActivation;
    p[3086] = r.Proportional;
    PutScaleRef(p + 3108, r.ScaleRef);
    PutColourPoint(p + 3124, r.FoldPoint);
    PutRGB(p + 3140, r.FoldColour);
    PutRGB(p + 3143, r.FoldColour2);
    PutI32(p + 3148, r.Tolerance);
    PutI32(p + 3152, r.Tolerance2);
    PutI32(p + 3156, r.TotalTimeBank);
    p[3160] = r.CommonBringToTop;
    p[3161] = r.CommonFlash;
    p[3162] = r.CommonSound;
    p[3163] = r.FrameOn;
    for (std::size_t i = 0; i < r.AlertSteps.size(); ++i) {
        uint8_t* s = p + kAlertSteps + 8 * i;
        PutI32(s, r.AlertSteps[i].Delay);
        s[4] = r.AlertSteps[i].BringToTop;
        s[5] = r.AlertSteps[i].Flash;
        s[6] = r.AlertSteps[i].Sound;
        s[7] = r.AlertSteps[i].Frame;
    }
    PutI32(p + kHotKeyCount, r.HotKeyCount);
    for (std::size_t i = 0; i < r.HotKeys.size(); ++i) PutRoomHotKey(p + kHotKeys + i * TRoomHotKey::ByteSize, r.HotKeys[i]);
    for (std::size_t i = 0; i < r.EventMacros.size(); ++i) {
        PutEventMacro(p + kEventMacros + i * TEventMacro::ByteSize, r.EventMacros[i]);
    }
}

std::vector<uint8_t> EncodePokerRoom(const TPokerRoom& room) {
    std::vector<uint8_t> bytes(TPokerRoom::ByteSize);
    EncodePokerRoom(room, bytes.data());
    return bytes;
}

void ConvertPokerRoomsV109(const uint8_t* old, TPokerRoom& room) {
    std::vector<uint8_t> record(TPokerRoom::ByteSize, 0);
    std::memcpy(record.data(), old, kHotKeyCount);  // 0-3195 stay where they are
    std::memcpy(record.data() + kHotKeyCount, old + kOldHotKeyCount, 4);
    std::memcpy(record.data() + kHotKeys, old + kOldHotKeys, 20 * TRoomHotKey::ByteSize);
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
