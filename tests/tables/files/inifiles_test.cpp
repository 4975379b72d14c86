// The ini-file classes that "startup.ini" and the panel layouts use.
#include "framework/portable/inifiles.h"

#include <gtest/gtest.h>

#include <clocale>

#include "tables_testutil.h"

namespace kova {
namespace {

using tables::test::ReadBytes;
using tables::test::ScratchFolder;
using tables::test::WriteBytes;

TEST(MemIniFile, ReadsSectionsAndKeysWithoutRegardToCase) {
    TMemIniFile ini;
    ini.SetText("; settings\r\n[Common]\r\n  Left = 12 \r\nName=a=b\r\n\r\n[pokerstars]\nHHDir=C:\\\n");
    EXPECT_EQ(ini.ReadInteger("common", "LEFT", 0), 12);
    EXPECT_EQ(ini.ReadString("Common", "name", ""), "a=b");
    EXPECT_EQ(ini.ReadString("PokerStars", "HHDir", ""), "C:\\");
    EXPECT_EQ(ini.ReadString("PokerStars", "Missing", "dflt"), "dflt");
    EXPECT_TRUE(ini.SectionExists("POKERSTARS"));
    EXPECT_FALSE(ini.ValueExists("Common", "Top"));
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Common", "pokerstars"}));
}

TEST(MemIniFile, CaseSensitiveVariantKeepsNamesApart) {
    TMemIniFile ini;
    ini.SetCaseSensitive(true);
    ini.SetText("[A]\nkey=1\nKey=2\n");
    EXPECT_EQ(ini.ReadInteger("A", "key", 0), 1);
    EXPECT_EQ(ini.ReadInteger("A", "Key", 0), 2);
    EXPECT_EQ(ini.ReadInteger("a", "key", 0), 0);
}

TEST(MemIniFile, TypedValues) {
    struct Case {
        const char* text;
        int32_t asInt;     // default 7 when not an integer
        bool asBool;       // default true
        double asFloat;    // default 0.25
    };
    const Case cases[] = {
        {"42", 42, true, 42.0},
        {"-5", -5, true, -5.0},
        {"0", 0, false, 0.0},
        {"$1F", 31, true, 0.25},
        {"0x10", 16, true, 0.25},
        {"$FFFFFFFF", -1, true, 0.25},
        {"2147483648", 7, true, 2147483648.0},
        {"1.5", 7, true, 1.5},
        {"1,5", 7, true, 0.25},
        {"", 7, true, 0.25},
        {"abc", 7, true, 0.25},
        {"1e3", 7, true, 1000.0},
    };
    for (const Case& c : cases) {
        TMemIniFile ini;
        ini.WriteString("S", "K", c.text);
        EXPECT_EQ(ini.ReadInteger("S", "K", 7), c.asInt) << c.text;
        EXPECT_EQ(ini.ReadBool("S", "K", true), c.asBool) << c.text;
        EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "K", 0.25), c.asFloat) << c.text;
    }
}

TEST(MemIniFile, WritesBooleansAsDigitsAndFloatsWithPointWhateverTheLocale) {
    // A locale with a decimal comma, when the system has one.
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    for (const char* name : {"de_DE.UTF-8", "de_DE", "fr_FR.UTF-8", "German"}) {
        if (std::setlocale(LC_NUMERIC, name)) break;
    }
    TMemIniFile ini;
    ini.WriteBool("S", "On", true);
    ini.WriteBool("S", "Off", false);
    ini.WriteFloat("S", "Delay", 0.5);
    ini.WriteFloat("S", "Tiny", 0.1);
    EXPECT_EQ(ini.ReadString("S", "On", ""), "1");
    EXPECT_EQ(ini.ReadString("S", "Off", ""), "0");
    EXPECT_EQ(ini.ReadString("S", "Delay", ""), "0.5");
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "Tiny", 0), 0.1);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(MemIniFile, UpdateKeepsCommentsOtherKeysAndOrder) {
    ScratchFolder dir;
    const auto file = dir / "startup.ini";
    const std::string original = "; keep me\r\n[Common]\r\nLeft=1\r\nOther=x\r\n\r\n[Extra]\r\nA=b\r\n";
    WriteBytes(file, std::vector<uint8_t>(original.begin(), original.end()));
    TMemIniFile ini(file.string());
    ASSERT_EQ(ini.LoadStatus(), TIniLoadStatus::Loaded);
    ini.WriteInteger("common", "Left", 5);
    ini.WriteInteger("Common", "Top", 6);
    ini.WriteString("New", "K", "v");
    ASSERT_TRUE(ini.UpdateFile());
    const auto bytes = ReadBytes(file);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              "; keep me\r\n[Common]\r\nLeft=5\r\nOther=x\r\nTop=6\r\n\r\n[Extra]\r\nA=b\r\n\r\n[New]\r\nK=v\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "startup.ini.tmp"));
}

TEST(MemIniFile, UnchangedFileWritesBackAsItWas) {
    TMemIniFile ini;
    const std::string text = "[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny = 2\r\n";
    ini.SetText(text);
    // Keys are rewritten without the blanks around "="; everything else stays.
    EXPECT_EQ(ini.GetText(), "[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny=2\r\n");
}

TEST(MemIniFile, EraseSectionAndDeleteKey) {
    TMemIniFile ini;
    ini.SetText("[A]\nx=1\ny=2\n[B]\nz=3\n");
    ini.DeleteKey("a", "X");
    ini.EraseSection("b");
    EXPECT_EQ(ini.ReadSection("A"), (std::vector<std::string>{"y"}));
    EXPECT_FALSE(ini.SectionExists("B"));
}

TEST(MemIniFile, MissingAndOversizedFiles) {
    ScratchFolder dir;
    TMemIniFile missing((dir / "none.ini").string());
    EXPECT_EQ(missing.LoadStatus(), TIniLoadStatus::NoFile);
    EXPECT_EQ(missing.ReadInteger("A", "B", 3), 3);

    WriteBytes(dir / "big.ini", std::vector<uint8_t>(TMemIniFile::MaxFileSize + 1, 'x'));
    TMemIniFile big((dir / "big.ini").string());
    EXPECT_EQ(big.LoadStatus(), TIniLoadStatus::TooLarge);
    EXPECT_TRUE(big.ReadSections().empty());
    // Nothing of it was read, so it is never replaced by what is in memory.
    big.WriteString("A", "B", "c");
    EXPECT_FALSE(big.UpdateFile());
    EXPECT_EQ(std::filesystem::file_size(dir / "big.ini"), TMemIniFile::MaxFileSize + 1);
}

TEST(IniFile, WritesThroughAtOnce) {
    ScratchFolder dir;
    const auto file = dir / "a.ini";
    {
        TIniFile ini(file.string());
        ini.WriteInteger("S", "N", 9);
        TMemIniFile reader(file.string());
        EXPECT_EQ(reader.ReadInteger("S", "N", 0), 9);
    }
    TIniFile bad((dir / "no_such_dir" / "a.ini").string());
    EXPECT_THROW(bad.WriteString("S", "K", "v"), EIniFileException);
}

}  // namespace
}  // namespace kova
