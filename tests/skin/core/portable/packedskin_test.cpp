#include "skin/core/portable/packedskin.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "pngbuilder.h"
#include "skin/core/portable/zlibstream.h"

namespace kova::skin {
namespace {

using test::Bytes;

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }
std::string S(const TMemoryStream& m) { return std::string(m.Bytes().begin(), m.Bytes().end()); }

std::unique_ptr<TacSkinConvertor> Unpack(const Bytes& archive, TMemoryStream& holder) {
    holder = TMemoryStream(archive);
    auto conv = std::make_unique<TacSkinConvertor>();
    conv->LendArchive(&holder);
    UnpackSkinData(conv);
    if (conv) conv->LendArchive(nullptr);
    return conv;
}

void ExpectRefused(const Bytes& archive, const char* message = kNotPackedSkinMessage) {
    TMemoryStream holder(archive);
    auto conv = std::make_unique<TacSkinConvertor>();
    conv->LendArchive(&holder);
    try {
        UnpackSkinData(conv);
        FAIL() << "archive accepted";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), message);
    }
    EXPECT_EQ(conv, nullptr);  // released, nothing half-read left behind
}

TEST(PackedSkin, ReadsIniAndImagesInOrder) {
    const Bytes archive = WritePackedSkin({{"Options.dat", B("[GENERAL]\nVersion=7\n")},
                                           {"Button.bmp", B("BM....")},
                                           {"glyph.PNG", B("\x89PNG")},
                                           {"a.BMP.png", B("x")},
                                           {"NOEXT", B("y")},
                                           {"dir.bmp\\x", B("z")},
                                           {"mIxEd.BmP", B("w")}});
    TMemoryStream holder;
    auto conv = Unpack(archive, holder);
    ASSERT_TRUE(conv);
    EXPECT_EQ(S(*conv->SkinIni), "[GENERAL]\nVersion=7\n");
    EXPECT_EQ(conv->ImageEntryCount, 6);
    ASSERT_EQ(conv->Entries.size(), 6u);
    const std::vector<std::pair<std::string, bool>> expected = {{"Button.bmp", true}, {"glyph.PNG", false},
                                                                {"a.BMP.png", false}, {"NOEXT", false},
                                                                {"dir.bmp\\x", false}, {"mIxEd.BmP", true}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(conv->Entries[i].EntryName, expected[i].first);
        EXPECT_EQ(conv->Entries[i].BmpImage, expected[i].second) << expected[i].first;
    }
    EXPECT_EQ(S(*conv->Entries[0].EntryData), "BM....");
    EXPECT_EQ(conv->Entries[0].EntryData->Position(), 6);  // left at its end
}

TEST(PackedSkin, IniNameIgnoresCase) {
    for (const char* name : {"OPTIONS.DAT", "options.dat"}) {
        TMemoryStream holder;
        auto conv = Unpack(WritePackedSkin({{"a.bmp", B("1")}, {name, B("ini")}}), holder);
        ASSERT_TRUE(conv);
        EXPECT_EQ(S(*conv->SkinIni), "ini");
        ASSERT_EQ(conv->Entries.size(), 1u);
        EXPECT_EQ(conv->Entries[0].EntryName, "a.bmp");
    }
}

TEST(PackedSkin, OnlyIni) {
    TMemoryStream holder;
    auto conv = Unpack(WritePackedSkin({{"Options.dat", B("x")}}), holder);
    ASSERT_TRUE(conv);
    EXPECT_EQ(conv->ImageEntryCount, 0);
    EXPECT_TRUE(conv->Entries.empty());
}

TEST(PackedSkin, EmptyEntryIsAnEmptyFile) {
    TMemoryStream holder;
    auto conv = Unpack(WritePackedSkin({{"Options.dat", B("")}, {"e.bmp", B("")}, {"f.png", B("after")}}), holder);
    ASSERT_TRUE(conv);
    EXPECT_EQ(conv->SkinIni->Bytes().size(), 0u);
    ASSERT_EQ(conv->Entries.size(), 2u);
    EXPECT_EQ(conv->Entries[0].EntryData->Bytes().size(), 0u);
    EXPECT_EQ(S(*conv->Entries[1].EntryData), "after");
}

TEST(PackedSkin, EntriesEndingMidBlockAndLargeEntries) {
    Bytes big(150000);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7 + i / 300);
    TMemoryStream holder;
    auto conv = Unpack(WritePackedSkin({{"Options.dat", B("ini")}, {"big.bmp", big}, {"small.png", B("s")},
                                        {"big2.bmp", big}}, 1),
                       holder);
    ASSERT_TRUE(conv);
    EXPECT_EQ(conv->Entries[0].EntryData->Bytes(), big);
    EXPECT_EQ(S(*conv->Entries[1].EntryData), "s");
    EXPECT_EQ(conv->Entries[2].EntryData->Bytes(), big);
}

TEST(PackedSkin, WrongMagicIsRefused) {
    Bytes a = WritePackedSkin({{"Options.dat", B("x")}});
    a[3] = 'F';  // "ASZF"
    ExpectRefused(a);
    ExpectRefused(B("AS"));
    ExpectRefused({});
}

// Every count and size is checked against the bytes that remain.
TEST(PackedSkin, CountsAndSizesBeyondTheDataAreRefused) {
    const Bytes good = WritePackedSkin({{"Options.dat", B("hello")}, {"x.bmp", B("abc")}});
    auto with32 = [&good](std::size_t at, std::uint32_t v) {
        Bytes a = good;
        for (int i = 0; i < 4; ++i) a[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        return a;
    };
    ExpectRefused(with32(4, 0x7FFFFFFF));          // entry count
    ExpectRefused(with32(4, 0xFFFFFFFF));          // negative count
    ExpectRefused(with32(4, 0));                   // no entries
    ExpectRefused(with32(8, 0x7FFFFFF0));          // name length
    ExpectRefused(with32(8, 0xFFFFFFFF));          // negative name length
    ExpectRefused(with32(8 + 4 + 11, 0x7FFFFFFF)); // entry size
    ExpectRefused(with32(8 + 4 + 11, 0x80000000)); // negative size
}

TEST(PackedSkin, SizeMismatchesAreRefused) {
    Bytes a = WritePackedSkin({{"Options.dat", B("hello")}});
    a[8 + 4 + 11] = 9;  // says 9 bytes, stream holds 5
    ExpectRefused(a, "Stream read error");
    a[8 + 4 + 11] = 3;  // says 3 bytes, stream holds 5
    ExpectRefused(a);
}

TEST(PackedSkin, ArchiveEndingEarlyIsReadError) {
    Bytes a = WritePackedSkin({{"Options.dat", B("hello")}, {"x.bmp", B("abc")}});
    a.resize(a.size() - 8);
    TMemoryStream holder(a);
    auto conv = std::make_unique<TacSkinConvertor>();
    conv->LendArchive(&holder);
    EXPECT_ANY_THROW(UnpackSkinData(conv));
    EXPECT_EQ(conv, nullptr);
}

TEST(PackedSkin, DamagedEntryGivesZlibMessage) {
    Bytes a = WritePackedSkin({{"Options.dat", B("hello hello hello")}});
    a[8 + 4 + 11 + 4] = 0x00;  // zlib header byte
    ExpectRefused(a, "data error");
}

TEST(PackedSkin, ExactlyOneOptionsEntry) {
    ExpectRefused(WritePackedSkin({{"a.bmp", B("1")}, {"b.bmp", B("2")}}));
    ExpectRefused(WritePackedSkin({{"Options.dat", B("1")}, {"OPTIONS.DAT", B("2")}}));
}

TEST(PackedSkin, LoadFromFileDropsArchiveAndKeepsConvertorWhenMissing) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "kova_packedskin_test";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "Test.asz").string();
    {
        const Bytes a = WritePackedSkin({{"Options.dat", B("ini")}, {"p.png", B("img")}});
        std::ofstream f(path, std::ios::binary);
        f.write(reinterpret_cast<const char*>(a.data()), static_cast<std::streamsize>(a.size()));
    }
    std::unique_ptr<TacSkinConvertor> conv;
    LoadPackedSkin((dir / "Missing.asz").string(), conv, true);
    EXPECT_EQ(conv, nullptr);
    LoadPackedSkin(path, conv, true);
    ASSERT_TRUE(conv);
    EXPECT_EQ(conv->ArchiveData(), nullptr);
    EXPECT_EQ(S(*conv->SkinIni), "ini");
    // Loading again into the same convertor clears it first.
    TacSkinConvertor* same = conv.get();
    LoadPackedSkin(path, conv, false);
    EXPECT_EQ(conv.get(), same);
    EXPECT_NE(conv->ArchiveData(), nullptr);
    EXPECT_EQ(conv->Entries.size(), 1u);
    ClearSkinConvertor(*conv);
    EXPECT_TRUE(conv->Entries.empty());
    EXPECT_EQ(conv->SkinIni, nullptr);
    EXPECT_EQ(conv->ImageEntryCount, 1);  // kept
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kova::skin
