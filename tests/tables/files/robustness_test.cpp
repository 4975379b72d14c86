// Damaged data files must never crash a reader or make it allocate
// without bound: valid files, truncated and garbled at random, go through
// every reader (natively under the address and undefined-behaviour
// sanitizers). Whatever a reader accepts must also write back and read
// again to the same records. Bounded in iterations and time.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <random>

#include "framework/portable/inifiles.h"
#include "tables/files/calcfiles.h"
#include "tables/files/placeconfig_file.h"
#include "tables/files/pokerrooms_file.h"
#include "tables/logic/titleexpr.h"
#include "tables/files/userini.h"

namespace kova::tables {
namespace {

constexpr int kIterations = 4000;
constexpr auto kTimeLimit = std::chrono::seconds(3);

std::vector<uint8_t> Mutate(const std::vector<uint8_t>& seed, std::mt19937& rng) {
    std::vector<uint8_t> b = seed;
    auto pick = [&](std::size_t n) { return n ? std::uniform_int_distribution<std::size_t>(0, n - 1)(rng) : 0; };
    const int rounds = 1 + static_cast<int>(pick(4));
    for (int r = 0; r < rounds; ++r) {
        switch (pick(5)) {
        case 0:  // truncate
            b.resize(pick(b.size() + 1));
            break;
        case 1:  // flip bits
            for (int i = 0; i < 8 && !b.empty(); ++i) b[pick(b.size())] ^= static_cast<uint8_t>(1u << pick(8));
            break;
        case 2:  // an extreme 32-bit value where counts and lengths live
            if (b.size() >= 4) {
                static const uint32_t values[] = {0x7FFFFFFF, 0xFFFFFFFF, 0x80000000, 0x40000000, 0x10000, 255};
                const uint32_t v = values[pick(std::size(values))];
                const std::size_t at = pick(b.size() - 3);
                for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
            }
            break;
        case 3:  // random bytes inserted
            b.insert(b.begin() + static_cast<std::ptrdiff_t>(pick(b.size() + 1)), pick(64),
                     static_cast<uint8_t>(pick(256)));
            break;
        default:  // random byte overwritten
            if (!b.empty()) b[pick(b.size())] = static_cast<uint8_t>(pick(256));
            break;
        }
    }
    return b;
}

void Fuzz(const std::vector<std::vector<uint8_t>>& seeds, const std::function<void(const std::vector<uint8_t>&)>& check) {
    std::mt19937 rng(20240613);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kIterations; ++i) {
        check(Mutate(seeds[static_cast<std::size_t>(i) % seeds.size()], rng));
        if (::testing::Test::HasFatalFailure()) return;
        if (std::chrono::steady_clock::now() - start > kTimeLimit) break;
    }
}

std::vector<TPlaceConfig> SampleConfigs() {
    TPlaceConfig c;
    c.Name = "Main";
    c.TOI.StackSlot = 2;
    for (int g = 0; g < 2; ++g) {
        TGroupRec group;
        group.Name = "Group " + std::to_string(g);
        group.ClassPattern = "PokerStarsTableFrameClass";
        group.Title.Text = "Table and not Tournament";
        DecodeTitle(group.Title);
        group.Slots.assign(3, TSlotRec{1, 2, 3, 4, 5, 6, 7, 8});
        c.Groups.push_back(group);
    }
    return {c, TPlaceConfig{}};
}

TEST(Robustness, PlaceConfigReader) {
    const auto valid = EncodePlaceConfig(TConfigFileHeader{}, 0, SampleConfigs());
    auto old = valid;
    old[5] = '1';  // another marker: read without TOI blocks
    Fuzz({valid, old}, [](const std::vector<uint8_t>& bytes) {
        TConfigFileHeader header;
        std::vector<TPlaceConfig> configs;
        if (!DecodePlaceConfig(bytes, header, configs)) return;
        TConfigFileHeader header2;
        std::vector<TPlaceConfig> again;
        ASSERT_TRUE(DecodePlaceConfig(EncodePlaceConfig(header, header.SelectedIndex, configs), header2, again));
        ASSERT_EQ(again, configs);
    });
}

TEST(Robustness, PokerRoomsReader) {
    TPokerRoom room;
    room.Name = "Custom";
    room.HotKeyCount = 3;
    room.EventMacros[1].TurnDelayMax = 4.5;
    std::vector<uint8_t> valid = EncodePokerRooms({room, TPokerRoom{}});
    std::vector<uint8_t> old(OldPokerRoomSize * 2, 0x21);
    old[0] = 9;
    std::memcpy(old.data() + 1, OldPokerRoomMarker, 9);
    Fuzz({valid, old}, [](const std::vector<uint8_t>& bytes) {
        std::vector<TPokerRoom> rooms;
        const TPokerRoomsDecodeResult r = DecodePokerRooms(bytes, rooms);
        ASSERT_EQ(rooms.size(), r.Records);
        std::vector<TPokerRoom> again;
        DecodePokerRooms(EncodePokerRooms(rooms), again);
        ASSERT_EQ(again.size(), rooms.size());
        for (std::size_t i = 0; i < rooms.size(); ++i) {
            ASSERT_EQ(EncodePokerRoom(again[i]), EncodePokerRoom(rooms[i]));
        }
        for (const TPokerRoom& room : rooms) {
            for (const TTitleSpec& t : room.Titles) MatchTitleExpression(t, "Table 1 - Hold'em");
        }
    });
}

TEST(Robustness, UserIniAndCalculatorReaders) {
    TUserOptions options;
    options.Bindings[4].Key = 65;
    TOpponentModel model;
    model.Name = "Tight";
    const std::vector<uint8_t> user = EncodeUserOptions(options);
    const std::vector<uint8_t> models = EncodeModels({model, model});
    TModelAssignment a;
    a.Name = "alice";
    const std::vector<uint8_t> assignments = EncodeAssignments({a, a, a});
    Fuzz({user, models, assignments}, [](const std::vector<uint8_t>& bytes) {
        if (bytes.size() >= TUserOptions::ByteSize) {
            TUserOptions o;
            DecodeUserOptions(bytes.data(), o);
            ASSERT_EQ(EncodeUserOptions(o), std::vector<uint8_t>(bytes.begin(), bytes.begin() + TUserOptions::ByteSize));
        }
        std::vector<TOpponentModel> m;
        const bool whole = DecodeModels(bytes, m);
        ASSERT_EQ(whole, bytes.size() % TOpponentModel::ByteSize == 0);
        ASSERT_EQ(EncodeModels(m), std::vector<uint8_t>(bytes.begin(), bytes.begin() + m.size() * TOpponentModel::ByteSize));
        std::vector<TModelAssignment> l;
        DecodeAssignments(bytes, l);
        ASSERT_EQ(EncodeAssignments(l),
                  std::vector<uint8_t>(bytes.begin(), bytes.begin() + l.size() * TModelAssignment::ByteSize));
    });
}

TEST(Robustness, StartupIniReader) {
    TMemIniFile sample;
    WriteStartupSettings(sample, TStartupSettings{});
    const std::string text = sample.GetText();
    Fuzz({std::vector<uint8_t>(text.begin(), text.end())}, [](const std::vector<uint8_t>& bytes) {
        TMemIniFile ini;
        ini.SetText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        TStartupSettings s;
        ReadStartupSettings(ini, s);
        TMemIniFile again;
        again.SetText(ini.GetText());
        TStartupSettings s2;
        ReadStartupSettings(again, s2);
        ASSERT_EQ(s, s2);
    });
}

}  // namespace
}  // namespace kova::tables
