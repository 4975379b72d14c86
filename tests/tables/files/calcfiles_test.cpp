// The calculator's model, player and start-default files.
#include "tables/files/calcfiles.h"

#include <gtest/gtest.h>

#include "tables_testutil.h"

namespace kova::tables {
namespace {

using test::MessageCapture;
using test::PokeF64;
using test::PokeI32;
using test::PokeShort;
using test::ReadBytes;
using test::ScratchFolder;
using test::WriteBytes;

// One model record written byte by byte from the layout.
std::vector<uint8_t> ModelFixture(const std::string& name, int32_t id, int seed) {
    std::vector<uint8_t> b(13552);
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 3 + seed);
    PokeShort(b, 0, name);
    PokeI32(b, 84, id);
    for (int level = 1; level <= 15; ++level) {
        for (int row = 0; row <= 10; ++row) {
            for (int column = 1; column <= 10; ++column) {
                PokeF64(b, 88 + (level - 1) * 880 + row * 80 + (column - 1) * 8, level * 100 + row * 10 + column);
            }
        }
    }
    PokeShort(b, 13504, "Turbo SNG 9-max $10");
    return b;
}

std::vector<uint8_t> AssignmentFixture(const std::string& name, int32_t model) {
    std::vector<uint8_t> b(48, 0x5C);
    PokeShort(b, 0, name);
    PokeI32(b, 44, model);
    return b;
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(CalcFiles, ModelFieldsAndRoundTrip) {
    ScratchFolder dir;
    const auto file = dir / ModelsFileName;
    const auto bytes = Join({ModelFixture("Tight", 0, 1), ModelFixture("Loose", 1, 2)});
    WriteBytes(file, bytes);
    std::vector<TOpponentModel> models;
    ASSERT_EQ(LoadModels(dir.Path(), models), TLoadStatus::Loaded);
    ASSERT_EQ(models.size(), 2u);
    EXPECT_EQ(models[1].Name.Str(), "Loose");
    EXPECT_EQ(models[1].ID, 1);
    EXPECT_EQ(models[0].Values[14][10][9], 1610.0);  // level 15, row 10, column 10
    EXPECT_EQ(models[0].Values[0][0][0], 101.0);
    EXPECT_EQ(models[0].TypeName(), "Turbo SNG 9-max $10");

    ASSERT_TRUE(SaveModel(dir.Path(), models, models[1]));
    EXPECT_EQ(ReadBytes(file), bytes);
}

TEST(CalcFiles, ModelIdIsTheRecordIndexWhateverTheFileSays) {
    ScratchFolder dir;
    WriteBytes(dir / ModelsFileName, Join({ModelFixture("A", 7, 1), ModelFixture("B", 7, 2)}));
    std::vector<TOpponentModel> models;
    LoadModels(dir.Path(), models);
    ASSERT_EQ(models.size(), 2u);
    EXPECT_EQ(models[0].ID, 0);
    EXPECT_EQ(models[1].ID, 1);
}

TEST(CalcFiles, AppendAndSaveInPlace) {
    ScratchFolder dir;
    std::vector<TOpponentModel> models;
    TOpponentModel m;
    m.Name = "First";
    m.SetTypeName("DON");
    ASSERT_TRUE(AppendModel(dir.Path(), models, m));
    m.Name = "Second";
    ASSERT_TRUE(AppendModel(dir.Path(), models, m));
    EXPECT_EQ(m.ID, 1);
    m.Values[3][2][1] = 42.5;
    ASSERT_TRUE(SaveModel(dir.Path(), models, m));
    std::vector<TOpponentModel> back;
    LoadModels(dir.Path(), back);
    EXPECT_EQ(back, models);
    EXPECT_EQ(back[1].Values[3][2][1], 42.5);
    EXPECT_EQ(back[0].TypeName(), "DON");

    MessageCapture messages;
    m.ID = 5;
    EXPECT_FALSE(SaveModel(dir.Path(), models, m));
    EXPECT_EQ(messages.Messages().size(), 1u);
}

// Deleting a model used to leave the assignments to later models with
// their old numbers, which then named the model that followed.
TEST(CalcFiles, DeletingAModelKeepsTheOtherAssignmentsOnTheirModels) {
    ScratchFolder dir;
    WriteBytes(dir / ModelsFileName, Join({ModelFixture("M0", 0, 1), ModelFixture("M1", 1, 2), ModelFixture("M2", 2, 3)}));
    WriteBytes(dir / RegPlayersFileName,
               Join({AssignmentFixture("alice", 0), AssignmentFixture("bob", 2), AssignmentFixture("carl", 1)}));
    WriteBytes(dir / StartDefaultsFileName, Join({AssignmentFixture("Turbo", 2)}));
    std::vector<TOpponentModel> models;
    std::vector<TModelAssignment> players, defaults;
    LoadModels(dir.Path(), models);
    LoadRegPlayers(dir.Path(), players);
    LoadStartDefaults(dir.Path(), defaults);

    ASSERT_TRUE(DeleteModel(dir.Path(), models, players, defaults, 0));
    ASSERT_EQ(models.size(), 2u);
    EXPECT_EQ(models[0].Name.Str(), "M1");
    EXPECT_EQ(models[1].ID, 1);
    EXPECT_EQ(ReadBytes(dir / ModelsFileName).size(), 2u * 13552);

    std::vector<TModelAssignment> reloaded;
    LoadRegPlayers(dir.Path(), reloaded);
    EXPECT_EQ(reloaded, players);
    ASSERT_EQ(players.size(), 2u);
    EXPECT_EQ(players[0].Name.Str(), "bob");
    EXPECT_EQ(models[static_cast<std::size_t>(players[0].ModelIndex)].Name.Str(), "M2");
    EXPECT_EQ(models[static_cast<std::size_t>(players[1].ModelIndex)].Name.Str(), "M1");
    LoadStartDefaults(dir.Path(), reloaded);
    ASSERT_EQ(reloaded.size(), 1u);
    EXPECT_EQ(reloaded[0].ModelIndex, 1);
}

TEST(CalcFiles, SavingAnAssignmentAppendsOnceThenRewritesInPlace) {
    ScratchFolder dir;
    const auto file = dir / RegPlayersFileName;
    WriteBytes(file, Join({AssignmentFixture("alice", 0)}));
    std::vector<TModelAssignment> list;
    LoadRegPlayers(dir.Path(), list);

    ASSERT_TRUE(SaveRegPlayer(dir.Path(), list, "Bob", 3));
    EXPECT_EQ(ReadBytes(file).size(), 96u);
    ASSERT_TRUE(SaveRegPlayer(dir.Path(), list, "Bob", 4));
    auto bytes = ReadBytes(file);
    ASSERT_EQ(bytes.size(), 96u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 48), AssignmentFixture("alice", 0));
    EXPECT_EQ(bytes[48], 3);
    EXPECT_EQ(bytes[48 + 44], 4);

    // Names differing only in case are two entries.
    ASSERT_TRUE(SaveRegPlayer(dir.Path(), list, "bob", 1));
    EXPECT_EQ(list.size(), 3u);
    // A long name is cut to 40 characters and then found again.
    const std::string longName(50, 'x');
    ASSERT_TRUE(SaveRegPlayer(dir.Path(), list, longName, 1));
    ASSERT_TRUE(SaveRegPlayer(dir.Path(), list, longName, 2));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[3].Name.Str(), std::string(40, 'x'));
    EXPECT_EQ(list[3].ModelIndex, 2);

    ASSERT_TRUE(DeleteRegPlayer(dir.Path(), list, 0));
    std::vector<TModelAssignment> back;
    LoadRegPlayers(dir.Path(), back);
    EXPECT_EQ(back, list);
    EXPECT_EQ(back[0].Name.Str(), "Bob");
}

TEST(CalcFiles, FileEndingInsideARecordKeepsTheWholeRecordsAndACopy) {
    ScratchFolder dir;
    MessageCapture messages;
    auto bytes = Join({AssignmentFixture("a", 0), AssignmentFixture("b", 1)});
    bytes.erase(bytes.end() - 3, bytes.end());
    WriteBytes(dir / StartDefaultsFileName, bytes);
    std::vector<TModelAssignment> list;
    EXPECT_EQ(LoadStartDefaults(dir.Path(), list), TLoadStatus::Damaged);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Name.Str(), "a");
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].find("\"StartDefault.dat\""), std::string::npos);
    EXPECT_EQ(ReadBytes(dir / "StartDefault.dat.damaged"), bytes);
}

}  // namespace
}  // namespace kova::tables
