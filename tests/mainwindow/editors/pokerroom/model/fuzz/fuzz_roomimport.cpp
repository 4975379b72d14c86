// libFuzzer entry point for the import of a room file: whatever the check
// accepts has a marker on every record and writes back to rooms that read
// the same; whatever it refuses gives no rooms and a message.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "mainwindow/editors/pokerroom/model/pokerroommodel.h"
#include "tables/files/pokerrooms_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace kova;
    const auto in = mainwindow::pokerroom::CheckRoomImport(std::span<const uint8_t>(data, size), "fuzz.kov");
    if (!in.Message.empty()) {
        if (!in.Rooms.empty()) std::abort();
        return 0;
    }
    if (in.Rooms.empty()) std::abort();
    const auto bytes = tables::EncodePokerRooms(in.Rooms);
    const auto again = mainwindow::pokerroom::CheckRoomImport(bytes, "again.kov");
    if (!again.Message.empty() || tables::EncodePokerRooms(again.Rooms) != bytes) std::abort();
    return 0;
}
