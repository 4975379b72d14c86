// "PokerRooms.kov": record layout, kept bytes, the old layout, damage.
#include "tables/files/pokerrooms_file.h"

#include <gtest/gtest.h>

#include "tables_testutil.h"

namespace kova::tables {
namespace {

using test::MessageCapture;
using test::Pattern;
using test::PokeF64;
using test::PokeI32;
using test::PokeShort;
using test::ReadBytes;
using test::ScratchFolder;
using test::WriteBytes;

// One room record written byte by byte from the layout; every byte the
// engine does not read carries a pattern, so losing one shows.
std::vector<uint8_t> RoomFixture(int seed = 0) {
    auto r = Pattern(TPokerRoom::ByteSize, seed);
    PokeShort(r, 0, "KOVAv3.08");
    r[11] = 1;
    PokeI32(r, 16, 1);
    PokeShort(r, 20, "PokerStars");
    PokeShort(r, 61, "PokerStarsTableFrameClass");
    PokeShort(r, 102 + 3 * 246, "Table");         // title 4: Text
    PokeShort(r, 102 + 3 * 246 + 101, "Table");   // Operand1
    PokeShort(r, 2564 + 52, "Small");             // size 2
    PokeI32(r, 2564 + 52 + 44, 483);
    PokeI32(r, 2564 + 52 + 48, 333);
    r[3084] = 1;
    r[3085] = 0;
    r[3086] = 1;
    PokeI32(r, 3108, 792);
    PokeI32(r, 3112, 546);
    PokeI32(r, 3116, 483);
    PokeI32(r, 3120, 333);
    PokeI32(r, 3124, 500);
    PokeI32(r, 3128, 400);
    PokeI32(r, 3132, 300);
    PokeI32(r, 3136, 250);
    r[3140] = 200, r[3141] = 10, r[3142] = 20;
    PokeI32(r, 3148, 15);
    r[3163] = 1;
    PokeI32(r, 3164 + 16, 12);  // alert step T2
    r[3164 + 16 + 4] = 1, r[3164 + 16 + 5] = 0, r[3164 + 16 + 6] = 1, r[3164 + 16 + 7] = 0;
    PokeI32(r, 3196, 2);
    const std::size_t hk = 3200 + 224;  // hotkey 2
    PokeI32(r, hk, 1);
    PokeI32(r, hk + 52, 17);
    PokeI32(r, hk + 56, 70);
    PokeI32(r, hk + 60, 3);
    PokeI32(r, hk + 64 + 20, 1);
    PokeI32(r, hk + 64 + 24, 11);
    PokeI32(r, hk + 64 + 28, 22);
    PokeI32(r, hk + 64 + 32, 33);
    PokeI32(r, hk + 64 + 36, 44);
    const std::size_t em = 7688 + 3 * 328;  // event macro 3 (betpot)
    r[em + 41] = 1, r[em + 42] = 0, r[em + 43] = 1, r[em + 45] = 1;
    PokeF64(r, em + 88, 2.5);
    PokeI32(r, em + 112, 100);
    PokeI32(r, em + 128, 7);
    r[em + 144] = 1, r[em + 145] = 2, r[em + 146] = 3;
    PokeI32(r, em + 156, 9);
    PokeI32(r, em + 168, 1);
    PokeI32(r, em + 172, 55);
    return r;
}

TEST(PokerRoomsFile, ReadsEveryFieldFromItsPlace) {
    const auto bytes = RoomFixture();
    TPokerRoom room;
    DecodePokerRoom(bytes.data(), room);
    EXPECT_EQ(room.Listed, 1);
    EXPECT_EQ(room.RoomType, 1);
    EXPECT_EQ(room.Name.Str(), "PokerStars");
    EXPECT_EQ(room.WindowClass.Str(), "PokerStarsTableFrameClass");
    EXPECT_EQ(room.Titles[3].Text.Str(), "Table");
    EXPECT_EQ(room.Titles[3].Operand1.Str(), "Table");
    EXPECT_EQ(room.Sizes[1].Name.Str(), "Small");
    EXPECT_EQ(room.Sizes[1].Width, 483);
    EXPECT_EQ(room.Sizes[1].Height, 333);
    EXPECT_EQ(room.FoldButtonActivation, 1);
    EXPECT_EQ(room.Proportional, 1);
    EXPECT_EQ(room.ScaleRef, (TScaleRef{792, 546, 483, 333}));
    EXPECT_EQ(room.FoldPoint, (TColourPoint{500, 400, 300, 250}));
    EXPECT_EQ(room.FoldColour, (TRGB{200, 10, 20}));
    EXPECT_EQ(room.Tolerance, 15);
    EXPECT_EQ(room.FrameOn, 1);
    EXPECT_EQ(room.AlertSteps[2], (TTurnAlertStep{12, 1, 0, 1, 0}));
    EXPECT_EQ(room.HotKeyCount, 2);
    const TRoomHotKey& hk = room.HotKeys[1];
    EXPECT_EQ(hk.Binding.SharedNumber, 1);
    EXPECT_EQ(hk.Binding.Modifier, 17);
    EXPECT_EQ(hk.Binding.Key, 70);
    EXPECT_EQ(hk.ClickCount, 3);
    EXPECT_EQ(hk.Clicks[1], (TMacroClick{1, 11, 22, 33, 44}));
    const TEventMacro& em = room.EventMacros[3];
    EXPECT_EQ(em.Enabled, 1);
    EXPECT_EQ(em.OnTurn, 0);
    EXPECT_EQ(em.OnColour, 1);
    EXPECT_EQ(em.OnlyActive, 1);
    EXPECT_EQ(em.ColourDelayMax, 2.5);
    EXPECT_EQ(em.ScaleRef.W, 100);
    EXPECT_EQ(em.Point.X, 7);
    EXPECT_EQ(em.Colour, (TRGB{1, 2, 3}));
    EXPECT_EQ(em.Tolerance, 9);
    EXPECT_EQ(em.Click.Enabled, 1);
    EXPECT_EQ(em.Click.X, 55);
}

TEST(PokerRoomsFile, RecordSurvivesLoadAndSaveByteForByte) {
    ScratchFolder dir;
    const auto file = dir / PokerRoomsFileName;
    auto bytes = RoomFixture(0);
    const auto second = RoomFixture(1);
    bytes.insert(bytes.end(), second.begin(), second.end());
    WriteBytes(file, bytes);
    std::vector<TPokerRoom> rooms;
    ASSERT_EQ(LoadPokerRooms(file, rooms), TLoadStatus::Loaded);
    ASSERT_EQ(rooms.size(), 2u);
    ASSERT_TRUE(SavePokerRooms(file, rooms));
    EXPECT_EQ(ReadBytes(file), bytes);
}

TEST(PokerRoomsFile, ChangedFieldsLandInTheirPlacesAndTheMarkerIsRewritten) {
    auto bytes = RoomFixture();
    PokeShort(bytes, 0, "KOVAv2.99");
    TPokerRoom room;
    DecodePokerRoom(bytes.data(), room);
    room.Tolerance = 40;
    room.HotKeys[19].Clicks[7].YMin = -3;
    room.EventMacros[0].TurnDelayMin = 1.25;
    const auto written = EncodePokerRoom(room);
    auto expected = bytes;
    PokeShort(expected, 0, "KOVAv3.08");
    PokeI32(expected, 3148, 40);
    PokeI32(expected, 3200 + 19 * 224 + 64 + 7 * 20 + 16, -3);
    PokeF64(expected, 7688 + 64, 1.25);
    EXPECT_EQ(written, expected);
}

TEST(PokerRoomsFile, NewRoomIsZeroButForTheMarker) {
    const auto bytes = EncodePokerRoom(TPokerRoom{});
    std::vector<uint8_t> expected(TPokerRoom::ByteSize, 0);
    PokeShort(expected, 0, "KOVAv3.08");
    EXPECT_EQ(bytes, expected);
}

std::vector<uint8_t> OldRecord(int seed) {
    auto r = Pattern(OldPokerRoomSize, seed);
    PokeShort(r, 0, "KOVAv1.09");
    PokeI32(r, 3308, 5);
    return r;
}

TEST(PokerRoomsFile, OldLayoutIsConvertedRecordByRecord) {
    ScratchFolder dir;
    MessageCapture messages;
    const auto file = dir / PokerRoomsFileName;
    std::vector<uint8_t> old;
    for (int i = 0; i < 3; ++i) {
        const auto r = OldRecord(i);
        old.insert(old.end(), r.begin(), r.end());
    }
    WriteBytes(file, old);

    std::vector<TPokerRoom> rooms;
    ASSERT_EQ(LoadPokerRooms(file, rooms), TLoadStatus::Loaded);
    EXPECT_EQ(messages.Messages(), (std::vector<std::string>{"Old Version"}));
    ASSERT_EQ(rooms.size(), 3u);
    EXPECT_EQ(ReadBytes(file), old);  // rewritten only when next saved
    for (int i = 0; i < 3; ++i) {
        const auto src = OldRecord(i);
        std::vector<uint8_t> expected(TPokerRoom::ByteSize, 0);
        std::copy(src.begin(), src.begin() + 3196, expected.begin());
        std::copy(src.begin() + 3308, src.begin() + 3312, expected.begin() + 3196);
        std::copy(src.begin() + 3312, src.begin() + 3312 + 20 * 224, expected.begin() + 3200);
        PokeShort(expected, 0, "KOVAv3.08");
        EXPECT_EQ(EncodePokerRoom(rooms[static_cast<std::size_t>(i)]), expected) << "room " << i;
        EXPECT_EQ(rooms[static_cast<std::size_t>(i)].HotKeyCount, 5);
        EXPECT_EQ(rooms[static_cast<std::size_t>(i)].EventMacros[2], TEventMacro{});
    }
}

TEST(PokerRoomsFile, EmptyAndMissingFilesGiveAnEmptyList) {
    ScratchFolder dir;
    MessageCapture messages;
    std::vector<TPokerRoom> rooms(2);
    EXPECT_EQ(LoadPokerRooms(dir / PokerRoomsFileName, rooms), TLoadStatus::Missing);
    EXPECT_TRUE(rooms.empty());
    WriteBytes(dir / PokerRoomsFileName, {});
    EXPECT_EQ(LoadPokerRooms(dir / PokerRoomsFileName, rooms), TLoadStatus::Loaded);
    EXPECT_TRUE(rooms.empty());
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(PokerRoomsFile, FileEndingInsideARecordKeepsTheWholeRoomsAndACopy) {
    ScratchFolder dir;
    MessageCapture messages;
    const auto file = dir / PokerRoomsFileName;
    auto bytes = RoomFixture(0);
    const auto second = RoomFixture(1);
    bytes.insert(bytes.end(), second.begin(), second.begin() + 100);
    WriteBytes(file, bytes);

    std::vector<TPokerRoom> rooms;
    EXPECT_EQ(LoadPokerRooms(file, rooms), TLoadStatus::Damaged);
    ASSERT_EQ(rooms.size(), 1u);
    EXPECT_EQ(rooms[0].Name.Str(), "PokerStars");
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].find("\"PokerRooms.kov\""), std::string::npos);
    EXPECT_EQ(ReadBytes(dir / "PokerRooms.kov.damaged"), bytes);
}

}  // namespace
}  // namespace kova::tables
