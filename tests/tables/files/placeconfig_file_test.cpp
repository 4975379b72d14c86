// "PlaceConfig.cnfg": layout, round trips, older files and damaged files.
#include "tables/files/placeconfig_file.h"
#include "tables/logic/titleexpr.h"

#include <gtest/gtest.h>

#include "tables_testutil.h"

namespace kova::tables {
namespace {

using test::Bytes;
using test::MessageCapture;
using test::ReadBytes;
using test::ScratchFolder;
using test::WriteBytes;

Bytes& Header(Bytes& b, const std::string& marker, int32_t selected) {
    b.Short(marker, 9).Fill(14, 0xAB).I32(selected).U8(0).Fill(3, 0xCD);
    return b;
}

Bytes& Group(Bytes& b) {
    b.I32(2).Short("PokerStars", 40, 0x11).Wide(u"Cash");
    b.Short("Table and not Tourn", 100).Short("Table", 40).Short("Tourn", 40).Short("", 40);
    b.Short("and not", 10).Short("", 10);
    b.Wide(u"PokerStarsTableFrameClass");
    for (uint8_t v : {1, 0, 1, 0, 1, 1, 0, 0, 1, 0}) b.U8(v);
    b.Short("Big", 40).Fill(3, 0x77).I32(800).I32(600);
    b.Short("Small", 40).Zeros(3).I32(400).I32(300);
    b.I32(2);
    for (int32_t v = 1; v <= 16; ++v) b.I32(v * 10);
    return b;
}

// Written byte by byte from the file layout: two configs, the first with
// one group of two slots, the second empty with a non-ASCII name.
std::vector<uint8_t> Fixture() {
    Bytes b;
    Header(b, "KOVAv2.05", 1).I32(2);
    b.Wide(u"Main").I32(3).I32(1).U8(1).U8(0).U8(1).U8(0x5A).I32(4).I32(200).I32(1);
    Group(b);
    b.Wide(u"Empty \u00e9\u20ac").Zeros(20).I32(0);
    return b.Get();
}

TEST(PlaceConfigFile, ReadsEveryFieldFromItsPlace) {
    TConfigFileHeader header;
    std::vector<TPlaceConfig> configs;
    std::string error;
    ASSERT_TRUE(DecodePlaceConfig(Fixture(), header, configs, &error)) << error;
    EXPECT_EQ(header.SelectedIndex, 1);
    ASSERT_EQ(configs.size(), 2u);
    const TPlaceConfig& c = configs[0];
    EXPECT_EQ(c.Name, "Main");
    EXPECT_EQ(c.TOI, (TTOIConfig{3, 1, 1, 0, 1, 0x5A, 4, 200}));
    ASSERT_EQ(c.Groups.size(), 1u);
    const TGroupRec& g = c.Groups[0];
    EXPECT_EQ(g.RoomIndex, 2);
    EXPECT_EQ(g.RoomName.Str(), "PokerStars");
    EXPECT_EQ(g.Name, "Cash");
    EXPECT_EQ(g.Title.Text.Str(), "Table and not Tourn");
    EXPECT_EQ(g.Title.Operand2.Str(), "Tourn");
    EXPECT_EQ(g.Title.Operator1.Str(), "and not");
    EXPECT_EQ(g.ClassPattern, "PokerStarsTableFrameClass");
    EXPECT_EQ(g.AutoPlace, 1);
    EXPECT_EQ(g.AutoSort, 0);
    EXPECT_EQ(g.AutoActivate, 1);
    EXPECT_EQ(g.AllowChange, 1);
    EXPECT_EQ(g.SharedSlot, 1);
    EXPECT_EQ(g.TOIStyle, 0);
    EXPECT_EQ(g.Size1.Name.Str(), "Big");
    EXPECT_EQ(g.Size1.Width, 800);
    EXPECT_EQ(g.Size2.Height, 300);
    ASSERT_EQ(g.Slots.size(), 2u);
    EXPECT_EQ(g.Slots[0], (TSlotRec{10, 20, 30, 40, 50, 60, 70, 80}));
    EXPECT_EQ(g.Slots[1].ActHeight, 160);
    EXPECT_EQ(configs[1].Name, "Empty \xe9\x80");  // Windows-1252
    EXPECT_TRUE(configs[1].Groups.empty());
}

TEST(PlaceConfigFile, ReadAndWrittenAgainIsByteIdentical) {
    ScratchFolder dir;
    const auto file = dir / PlaceConfigFileName;
    WriteBytes(file, Fixture());
    TConfigFileHeader header;
    std::vector<TPlaceConfig> configs;
    ASSERT_EQ(LoadPlaceConfig(file, header, configs), TLoadStatus::Loaded);
    ASSERT_TRUE(WritePlaceConfig(file, header, header.SelectedIndex, configs));
    EXPECT_EQ(ReadBytes(file), Fixture());
}

TEST(PlaceConfigFile, WrittenAndReadGivesTheSameConfigs) {
    TPlaceConfig config;
    config.Name = "Tiles";
    config.TOI.GridMinBB = 50;
    TGroupRec g;
    g.Name = "Sit & Go";
    g.ClassPattern = "*";
    g.Title.Text = "x or y";
    DecodeTitle(g.Title);
    g.Slots = {TSlotRec{1, 2, 3, 4, 5, 6, 7, 8}};
    config.Groups = {g, TGroupRec{}};
    const std::vector<TPlaceConfig> configs = {config, TPlaceConfig{}};

    TConfigFileHeader header;
    std::vector<TPlaceConfig> back;
    ASSERT_TRUE(DecodePlaceConfig(EncodePlaceConfig(TConfigFileHeader{}, 0, configs), header, back));
    EXPECT_EQ(back, configs);
    EXPECT_EQ(header.SelectedIndex, 0);
    EXPECT_EQ(header.Marker.Str(), PlaceConfigMarker);
}

TEST(PlaceConfigFile, OlderFilesHaveNoTOIBlock) {
    Bytes b;
    Header(b, "KOVAv2.01", 0).I32(1).Wide(u"Old").I32(1);
    Group(b);
    TConfigFileHeader header;
    std::vector<TPlaceConfig> configs;
    ASSERT_TRUE(DecodePlaceConfig(b.Get(), header, configs));
    ASSERT_EQ(configs.size(), 1u);
    EXPECT_EQ(configs[0].TOI, TTOIConfig{});
    EXPECT_EQ(configs[0].Groups[0].Slots.size(), 2u);
    // Written back in the current layout, with the marker and a TOI block.
    const auto written = EncodePlaceConfig(header, 0, configs);
    EXPECT_EQ(written.size(), b.Size() + TTOIConfig::ByteSize);
    EXPECT_EQ(std::string(written.begin() + 1, written.begin() + 10), "KOVAv2.05");
}

TEST(PlaceConfigFile, FurtherHeaderReplacesTheListReadBeforeIt) {
    Bytes b;
    Header(b, "KOVAv2.05", 0).I32(1).Wide(u"First").Zeros(20).I32(0);
    Header(b, "KOVAv2.05", 7).I32(1).Wide(u"Second").Zeros(20).I32(0);
    TConfigFileHeader header;
    std::vector<TPlaceConfig> configs;
    ASSERT_TRUE(DecodePlaceConfig(b.Get(), header, configs));
    ASSERT_EQ(configs.size(), 1u);
    EXPECT_EQ(configs[0].Name, "Second");
    EXPECT_EQ(header.SelectedIndex, 7);
}

TEST(PlaceConfigFile, ActiveIndexPastTheLastConfigSelectsTheFirst) {
    TConfigFileHeader header;
    header.SelectedIndex = 5;
    EXPECT_EQ(ActiveConfigIndex(header, 3), 0);
    header.SelectedIndex = 2;
    EXPECT_EQ(ActiveConfigIndex(header, 3), 2);
    header.SelectedIndex = -1;
    EXPECT_EQ(ActiveConfigIndex(header, 3), 0);
    EXPECT_EQ(ActiveConfigIndex(header, 0), -1);
}

TEST(PlaceConfigFile, MissingFileIsAnEmptyListWithoutMessage) {
    ScratchFolder dir;
    MessageCapture messages;
    TConfigFileHeader header;
    std::vector<TPlaceConfig> configs(1);
    EXPECT_EQ(LoadPlaceConfig(dir / PlaceConfigFileName, header, configs), TLoadStatus::Missing);
    EXPECT_TRUE(configs.empty());
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(PlaceConfigFile, BadCountsAndLengthsAreRefused) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases;
    {
        Bytes b;
        Header(b, "KOVAv2.05", 0).I32(0x7FFFFFFF);
        cases.push_back({"huge config count", b.Get()});
    }
    {
        Bytes b;
        Header(b, "KOVAv2.05", 0).I32(-1);
        cases.push_back({"negative config count", b.Get()});
    }
    {
        Bytes b;
        Header(b, "KOVAv2.05", 0).I32(1).I32(0x40000000).Zeros(40);
        cases.push_back({"name longer than the file", b.Get()});
    }
    {
        Bytes b;
        Header(b, "KOVAv2.05", 0).I32(1).Wide(u"A").Zeros(20).I32(1000000);
        cases.push_back({"huge group count", b.Get()});
    }
    {
        Bytes b;
        Header(b, "KOVAv2.05", 0).I32(1).Wide(u"A").Zeros(20).I32(1);
        Group(b);
        auto bytes = b.Get();
        test::PokeI32(bytes, bytes.size() - 16 * 4 - 4, 3);  // 3 slots, 2 present
        cases.push_back({"slot count past the end", bytes});
    }
    {
        auto bytes = Fixture();
        bytes.resize(20);
        cases.push_back({"short header", bytes});
    }
    for (const Case& c : cases) {
        TConfigFileHeader header;
        header.SelectedIndex = 42;
        std::vector<TPlaceConfig> configs(1);
        std::string error;
        EXPECT_FALSE(DecodePlaceConfig(c.bytes, header, configs, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_EQ(header.SelectedIndex, 42) << c.what;  // outputs untouched
        EXPECT_EQ(configs.size(), 1u) << c.what;
    }
}

// The fault this guards against: a damaged file loaded as an empty list
// and then saved over, losing every config of the user.
TEST(PlaceConfigFile, DamagedFileIsKeptBesideTheNewOne) {
    ScratchFolder dir;
    MessageCapture messages;
    const auto file = dir / PlaceConfigFileName;
    auto damaged = Fixture();
    damaged.erase(damaged.end() - 7, damaged.end());
    WriteBytes(file, damaged);

    TConfigFileHeader header;
    std::vector<TPlaceConfig> configs;
    EXPECT_EQ(LoadPlaceConfig(file, header, configs), TLoadStatus::Damaged);
    EXPECT_TRUE(configs.empty());
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].find("\"PlaceConfig.cnfg\""), std::string::npos) << messages.Messages()[0];
    EXPECT_NE(messages.Messages()[0].find("PlaceConfig.cnfg.damaged"), std::string::npos);
    EXPECT_EQ(ReadBytes(dir / "PlaceConfig.cnfg.damaged"), damaged);

    // Saving the empty list now is harmless: the damaged file stays beside it.
    ASSERT_TRUE(WritePlaceConfig(file, header, -1, configs));
    EXPECT_EQ(ReadBytes(dir / "PlaceConfig.cnfg.damaged"), damaged);

    // Loading the same damaged bytes again does not pile up copies; other
    // damaged bytes get a copy of their own.
    WriteBytes(file, damaged);
    LoadPlaceConfig(file, header, configs);
    EXPECT_FALSE(std::filesystem::exists(dir / "PlaceConfig.cnfg.damaged2"));
    damaged.pop_back();
    WriteBytes(file, damaged);
    LoadPlaceConfig(file, header, configs);
    EXPECT_EQ(ReadBytes(dir / "PlaceConfig.cnfg.damaged2"), damaged);
}

TEST(PlaceConfigFile, DamagedFileThatCannotBeCopiedIsNeverOverwritten) {
    ScratchFolder dir;
    MessageCapture messages;
    const auto file = dir / PlaceConfigFileName;
    // Every copy name is taken by other bytes.
    WriteBytes(dir / "PlaceConfig.cnfg.damaged", {1});
    for (int n = 2; n <= 99; ++n) WriteBytes(dir / ("PlaceConfig.cnfg.damaged" + std::to_string(n)), {1});
    const std::vector<uint8_t> damaged = {9, 'K', 'O'};
    WriteBytes(file, damaged);

    TConfigFileHeader header;
    std::vector<TPlaceConfig> configs;
    EXPECT_EQ(LoadPlaceConfig(file, header, configs), TLoadStatus::Damaged);
    EXPECT_FALSE(WritePlaceConfig(file, header, -1, configs));
    EXPECT_EQ(ReadBytes(file), damaged);
    EXPECT_EQ(messages.Messages().size(), 2u);
}

TEST(PlaceConfigFile, WriteReplacesTheFileWhole) {
    ScratchFolder dir;
    const auto file = dir / PlaceConfigFileName;
    WriteBytes(file, std::vector<uint8_t>(5000, 0xEE));
    ASSERT_TRUE(WritePlaceConfig(file, TConfigFileHeader{}, -1, {}));
    const auto bytes = ReadBytes(file);
    EXPECT_EQ(bytes.size(), 36u);  // header and count only
    EXPECT_EQ(bytes[28], 0);
    EXPECT_EQ(test::Bytes().I32(-1).Get(), std::vector<uint8_t>(bytes.begin() + 24, bytes.begin() + 28));
    EXPECT_FALSE(std::filesystem::exists(dir / "PlaceConfig.cnfg.tmp"));
}

TEST(PlaceConfigFile, FailedWriteLeavesTheOldFileAndTellsTheUser) {
    ScratchFolder dir;
    MessageCapture messages;
    const auto file = dir / PlaceConfigFileName;
    WriteBytes(file, Fixture());
    // The temporary file cannot be created: a folder of that name is there.
    std::filesystem::create_directory(dir / "PlaceConfig.cnfg.tmp");
    EXPECT_FALSE(WritePlaceConfig(file, TConfigFileHeader{}, -1, {}));
    EXPECT_EQ(ReadBytes(file), Fixture());
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].find("\"PlaceConfig.cnfg\""), std::string::npos) << messages.Messages()[0];
}

}  // namespace
}  // namespace kova::tables
