// libFuzzer entry points for the binary data-file readers: one executable
// per reader, chosen by KOVA_FUZZ_READER at compile time. Whatever a
// reader accepts must write back and read again to the same records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "tables/files/calcfiles.h"
#include "tables/files/placeconfig_file.h"
#include "tables/files/pokerrooms_file.h"
#include "tables/files/userini.h"

namespace {

using namespace kova::tables;

void Require(bool condition) {
    if (!condition) std::abort();
}

[[maybe_unused]] void FuzzPlaceConfig(std::span<const uint8_t> bytes) {
    TConfigFileHeader header;
    std::vector<TPlaceConfig> configs;
    if (!DecodePlaceConfig(bytes, header, configs)) return;
    TConfigFileHeader header2;
    std::vector<TPlaceConfig> again;
    Require(DecodePlaceConfig(EncodePlaceConfig(header, header.SelectedIndex, configs), header2, again));
    Require(again == configs);
}

[[maybe_unused]] void FuzzPokerRooms(std::span<const uint8_t> bytes) {
    std::vector<TPokerRoom> rooms;
    DecodePokerRooms(bytes, rooms);
    std::vector<TPokerRoom> again;
    DecodePokerRooms(EncodePokerRooms(rooms), again);
    Require(again.size() == rooms.size());
    for (std::size_t i = 0; i < rooms.size(); ++i) Require(EncodePokerRoom(again[i]) == EncodePokerRoom(rooms[i]));
}

[[maybe_unused]] void FuzzUserIni(std::span<const uint8_t> bytes) {
    if (bytes.size() < TUserOptions::ByteSize) return;
    TUserOptions options;
    DecodeUserOptions(bytes.data(), options);
    Require(EncodeUserOptions(options) ==
            std::vector<uint8_t>(bytes.begin(), bytes.begin() + TUserOptions::ByteSize));
}

[[maybe_unused]] void FuzzCalcFiles(std::span<const uint8_t> bytes) {
    std::vector<TOpponentModel> models;
    DecodeModels(bytes, models);
    Require(EncodeModels(models) ==
            std::vector<uint8_t>(bytes.begin(), bytes.begin() + models.size() * TOpponentModel::ByteSize));
    std::vector<TModelAssignment> list;
    DecodeAssignments(bytes, list);
    Require(EncodeAssignments(list) ==
            std::vector<uint8_t>(bytes.begin(), bytes.begin() + list.size() * TModelAssignment::ByteSize));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
#if KOVA_FUZZ_READER == 1
    FuzzPlaceConfig(bytes);
#elif KOVA_FUZZ_READER == 2
    FuzzPokerRooms(bytes);
#elif KOVA_FUZZ_READER == 3
    FuzzUserIni(bytes);
#elif KOVA_FUZZ_READER == 4
    FuzzCalcFiles(bytes);
#else
#error "KOVA_FUZZ_READER selects the reader (1..4)"
#endif
    return 0;
}
