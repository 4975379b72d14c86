// "user.ini" and "startup.ini", and what the config save writes.
#include "tables/files/userini.h"

#include <gtest/gtest.h>

#include "tables/files/placeconfig_file.h"
#include "tables_testutil.h"

namespace kova::tables {
namespace {

using test::MessageCapture;
using test::PokeI32;
using test::ReadBytes;
using test::ScratchFolder;
using test::WriteBytes;

// One user.ini record written byte by byte from the layout.
std::vector<uint8_t> UserIniFixture() {
    std::vector<uint8_t> b(1212);
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 5 + 1);
    b[0] = 1;  // ShowHUD
    b[3] = 0;  // Sound
    b[4] = 1;  // Frame
    for (int k = 0; k < 20; ++k) {
        PokeI32(b, 8 + 60 * k, k);            // SharedNumber
        PokeI32(b, 8 + 60 * k + 52, 16 + k % 3);
        PokeI32(b, 8 + 60 * k + 56, 65 + k);
    }
    PokeI32(b, 8 + 60 * 12 + 56, 2);  // a shared binding on key 2
    PokeI32(b, 8 + 60 * 3 + 56, 2);   // a global hotkey on key 2
    b[1208] = 0;
    b[1209] = 1;
    return b;
}

TEST(UserIni, ReadsTheRecordAndWritesItBack) {
    ScratchFolder dir;
    const auto file = dir / UserIniFileName;
    WriteBytes(file, UserIniFixture());
    TUserOptions options;
    ASSERT_EQ(LoadUserIni(file, options), TUserIniState::Loaded);
    EXPECT_EQ(options.ShowHUD, 1);
    EXPECT_EQ(options.Sound, 0);
    EXPECT_EQ(options.Frame, 1);
    EXPECT_EQ(options.Bindings[7].SharedNumber, 7);
    EXPECT_EQ(options.Bindings[7].Modifier, 17);
    EXPECT_EQ(options.Bindings[7].Key, 72);
    EXPECT_EQ(options.UnderMouse, 0);
    EXPECT_EQ(options.ActiveTable, 1);
    // Key 2 becomes 11 in the shared bindings only.
    EXPECT_EQ(options.Bindings[12].Key, 11);
    EXPECT_EQ(options.Bindings[3].Key, 2);

    ASSERT_TRUE(SaveUserIni(file, options));
    auto expected = UserIniFixture();
    PokeI32(expected, 8 + 60 * 12 + 56, 11);
    EXPECT_EQ(ReadBytes(file), expected);
}

TEST(UserIni, MissingFileLoadsNothingAndIsNotSavedOnClose) {
    ScratchFolder dir;
    MessageCapture messages;
    TUserOptions options;
    options.Sound = 7;
    const TUserIniState state = LoadUserIni(dir / UserIniFileName, options);
    EXPECT_EQ(state, TUserIniState::NotFound);
    EXPECT_EQ(options.Sound, 7);
    EXPECT_FALSE(SaveOnClose(state));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(UserIni, ShortFileFailsWithTheMessageOnce) {
    ScratchFolder dir;
    MessageCapture messages;
    auto bytes = UserIniFixture();
    bytes.resize(1211);
    WriteBytes(dir / UserIniFileName, bytes);
    TUserOptions options;
    const TUserIniState state = LoadUserIni(dir / UserIniFileName, options);
    EXPECT_EQ(state, TUserIniState::Failed);
    EXPECT_FALSE(SaveOnClose(state));
    EXPECT_EQ(options, TUserOptions{});
    EXPECT_EQ(messages.Messages(), (std::vector<std::string>{
                                       "Error loading file \"user.ini\". Try to copy file \"user.ini\" to KOVA "
                                       "folder again!"}));
}

TEST(UserIni, LongerFileReadsItsFirstRecord) {
    ScratchFolder dir;
    auto bytes = UserIniFixture();
    bytes.resize(5000, 0xFF);
    WriteBytes(dir / UserIniFileName, bytes);
    TUserOptions options;
    EXPECT_EQ(LoadUserIni(dir / UserIniFileName, options), TUserIniState::Loaded);
    EXPECT_EQ(options.ActiveTable, 1);
}

// The config editors' save used to write "user.ini" from whatever was in
// memory, so a "user.ini" that failed to load was overwritten by defaults.
TEST(SavePlaceConfig, WritesUserIniOnlyWhenItDidNotFailToLoad) {
    struct Case {
        TUserIniState state;
        bool writesUserIni;
    };
    for (const Case c : {Case{TUserIniState::Loaded, true}, Case{TUserIniState::NotFound, true},
                         Case{TUserIniState::Failed, false}}) {
        ScratchFolder dir;
        MessageCapture messages;
        const std::vector<uint8_t> broken = {1, 2, 3};
        WriteBytes(dir / UserIniFileName, broken);
        TStartupSettings startup;
        startup.ScanningPeriod = 300;
        TUserOptions options;
        options.ShowHUD = 1;
        ASSERT_TRUE(SavePlaceConfig(dir.Path(), TConfigFileHeader{}, 0, {TPlaceConfig{}}, options, c.state, startup));
        EXPECT_TRUE(std::filesystem::exists(dir / PlaceConfigFileName));
        EXPECT_EQ(ReadBytes(dir / UserIniFileName) == broken, !c.writesUserIni) << static_cast<int>(c.state);
        TStartupSettings back;
        back.ScanningPeriod = 0;
        EXPECT_EQ(LoadStartupIni(dir / StartupIniFileName, back), TLoadStatus::Loaded);
        EXPECT_EQ(back.ScanningPeriod, 300);
    }
}

TEST(StartupIni, WithoutPokerStarsSectionTheNumbersTakeTheirDefaults) {
    ScratchFolder dir;
    const std::string text = "[Common]\r\nLeft=100\r\nScanningPeriod=150\r\nAutoRun=1\r\n";
    WriteBytes(dir / StartupIniFileName, std::vector<uint8_t>(text.begin(), text.end()));
    TStartupSettings s;
    s.Top = 77;              // the window's current top
    s.YesWaitList = true;    // a control's current state
    s.CurTournament = 99;
    ASSERT_EQ(LoadStartupIni(dir / StartupIniFileName, s), TLoadStatus::Loaded);
    EXPECT_EQ(s.Left, 100);
    EXPECT_EQ(s.Top, 77);
    EXPECT_EQ(s.ScanningPeriod, 150);
    EXPECT_TRUE(s.AutoRun);
    EXPECT_TRUE(s.YesWaitList);
    EXPECT_EQ(s.FrameThick, 6);
    EXPECT_EQ(s.CurTournament, 8);
    EXPECT_EQ(s.TotalTournament, 16);
    EXPECT_EQ(s.MaxTournament, 1);
    EXPECT_EQ(s.CloseTimeTour, 2);
    EXPECT_EQ(s.MaxWaitListNum, 8);
    EXPECT_EQ(s.CloseTimeCash, 10);
    EXPECT_EQ(s.OngameHHDir, "C:\\");
    EXPECT_EQ(s.PokerStarsHHDir, "C:\\");
}

TEST(StartupIni, WritesEveryKeyInItsSectionAndReadsItBack) {
    ScratchFolder dir;
    TStartupSettings s;
    s.Left = -5;
    s.ActivePage = 3;
    s.MouseDelay = 0.75;
    s.JumpMouse = true;
    s.OngameHHDir = "D:\\Hands\\Ongame";
    s.SNG_Spin = 2;
    ASSERT_TRUE(SaveStartupIni(dir / StartupIniFileName, s));

    TMemIniFile ini((dir / StartupIniFileName).string());
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Common", "Ongame", "PokerStars"}));
    const auto common = ini.ReadSection("Common");
    ASSERT_GE(common.size(), 4u);
    EXPECT_EQ(common[2], "ActivePage");
    EXPECT_EQ(common[3], "FrameThick");
    EXPECT_EQ(ini.ReadSection("Common").size() + ini.ReadSection("Ongame").size() +
                  ini.ReadSection("PokerStars").size(),
              41u);
    EXPECT_EQ(ini.ReadString("Common", "MouseDelay", ""), "0.75");
    EXPECT_EQ(ini.ReadString("Common", "JumpMouse", ""), "1");
    EXPECT_EQ(ini.ReadString("Common", "AutoRun", ""), "0");

    TStartupSettings back;
    ASSERT_EQ(LoadStartupIni(dir / StartupIniFileName, back), TLoadStatus::Loaded);
    EXPECT_EQ(back, s);
}

TEST(StartupIni, OversizedFileGivesDefaultsAndIsKept) {
    ScratchFolder dir;
    MessageCapture messages;
    const auto file = dir / StartupIniFileName;
    WriteBytes(file, std::vector<uint8_t>(TMemIniFile::MaxFileSize + 10, ';'));
    TStartupSettings s;
    EXPECT_EQ(LoadStartupIni(file, s), TLoadStatus::Damaged);
    EXPECT_EQ(s, TStartupSettings{});
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].find("\"startup.ini\""), std::string::npos);
    EXPECT_EQ(std::filesystem::file_size(dir / "startup.ini.damaged"), TMemIniFile::MaxFileSize + 10);
}

}  // namespace
}  // namespace kova::tables
