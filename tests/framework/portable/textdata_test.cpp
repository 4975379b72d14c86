#include "framework/portable/datetime.h"
#include "framework/portable/numformat.h"
#include "framework/portable/streams.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace kova {
namespace {

TEST(NumFormat, IntegersParseStrictly) {
    struct Case {
        const char* text;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {"0", true, 0},         {"  42 ", true, 42},          {"-17", true, -17},
        {"+5", true, 5},        {"$FF", true, 255},           {"0x10", true, 16},
        {"$FFFFFFFF", true, -1}, {"2147483647", true, 2147483647}, {"2147483648", false, 0},
        {"", false, 0},         {"12a", false, 0},            {"1.5", false, 0},
        {"-", false, 0},
    };
    for (const Case& c : cases) {
        int v = -999;
        EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    EXPECT_EQ(StrToIntDef("x", 200), 200);
    EXPECT_THROW(StrToInt("x"), EConvertError);
}

TEST(NumFormat, FloatsUseDotWhateverTheLocale) {
    struct Case {
        double v;
        const char* text;
    };
    const Case cases[] = {{0.5, "0.5"}, {12, "12"}, {-3.25, "-3.25"}, {1e20, "1E20"}, {1e-5, "1E-5"}, {-0.0, "0"},
                          {0.1, "0.1"}};
    for (const Case& c : cases) EXPECT_EQ(FloatToStr(c.v), c.text);
    EXPECT_EQ(FloatToStrFixed(2.5, 2), "2.50");
    double d = 0;
    EXPECT_TRUE(TryStrToFloat(" 3.75 ", d));
    EXPECT_DOUBLE_EQ(d, 3.75);
    EXPECT_TRUE(TryStrToFloat("1e3", d));
    EXPECT_DOUBLE_EQ(d, 1000);
    EXPECT_FALSE(TryStrToFloat("3,75", d));
    EXPECT_FALSE(TryStrToFloat("", d));
    EXPECT_DOUBLE_EQ(StrToFloatDef("abc", 1.5), 1.5);
    EXPECT_EQ(Format("Fold Error = %d", 3), "Fold Error = 3");
    EXPECT_EQ(Format("Add Lobby: %s", "Lobby"), "Add Lobby: Lobby");
}

TEST(DateTime, DaysCountFrom18991230) {
    EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_DOUBLE_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_DOUBLE_EQ(EncodeDate(2000, 1, 1), 36526);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(OneSecond * 86400, 1.0);
    int y, m, d, h, mi, s, ms;
    DecodeDate(36526.75, y, m, d);
    DecodeTime(36526.75, h, mi, s, ms);
    EXPECT_EQ((std::vector<int>{y, m, d, h, mi, s, ms}), (std::vector<int>{2000, 1, 1, 18, 0, 0, 0}));
    DecodeDate(-1.25, y, m, d);
    DecodeTime(-1.25, h, mi, s, ms);
    EXPECT_EQ((std::vector<int>{y, m, d, h}), (std::vector<int>{1899, 12, 29, 6}));
    // 23:59:59.9996 rounds to the next day's midnight, not to 24:00.
    DecodeDate(36526 + 0.9999999999, y, m, d);
    DecodeTime(36526 + 0.9999999999, h, mi, s, ms);
    EXPECT_EQ((std::vector<int>{d, h, mi}), (std::vector<int>{2, 0, 0}));
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 9)), 4);  // a Wednesday
    EXPECT_FALSE(IsValidDate(2023, 2, 29));
    EXPECT_TRUE(IsValidDate(2024, 2, 29));
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", EncodeDate(2024, 3, 5) + EncodeTime(7, 8, 9, 10)),
              "2024-03-05 07:08:09.010");
    EXPECT_GT(Now(), EncodeDate(2020, 1, 1));
}

TEST(Streams, MemoryRoundTripLittleEndian) {
    TMemoryStream m;
    m.WriteU8(0xAB);
    m.WriteU16(0x1234);
    m.WriteI32(-2);
    m.WriteU64(0x0102030405060708ULL);
    m.WriteDouble(2.5);
    EXPECT_EQ(m.Size(), 1 + 2 + 4 + 8 + 8);
    EXPECT_EQ(m.Bytes()[1], 0x34);  // low byte first
    m.SetPosition(0);
    EXPECT_EQ(m.ReadU8(), 0xAB);
    EXPECT_EQ(m.ReadU16(), 0x1234);
    EXPECT_EQ(m.ReadI32(), -2);
    EXPECT_EQ(m.ReadU64(), 0x0102030405060708ULL);
    EXPECT_DOUBLE_EQ(m.ReadDouble(), 2.5);
    EXPECT_THROW(m.ReadU8(), EReadError);
    m.Seek(-100, soCurrent);
    EXPECT_EQ(m.Position(), 0);
}

TEST(Streams, FileRoundTripAndMissingFile) {
    std::string name = ::testing::TempDir() + "kova_stream_test.bin";
    {
        TFileStream f(name, fmCreate);
        f.WriteU32(0xDEADBEEF);
        f.WriteBuffer("abc", 3);
    }
    EXPECT_TRUE(FileExists(name));
    {
        TFileStream f(name, fmOpenReadWrite | fmShareExclusive);
        EXPECT_EQ(f.Size(), 7);
        EXPECT_EQ(f.ReadU32(), 0xDEADBEEFu);
        f.WriteU8('X');  // a write right after a read
        f.SetPosition(4);
        EXPECT_EQ(f.ReadU8(), 'X');
    }
#if defined(_WIN32)
    {
        // Share modes hold: a reader that denies writing keeps writers out.
        TFileStream reader(name, fmOpenRead | fmShareDenyWrite);
        EXPECT_THROW(TFileStream(name, fmOpenReadWrite | fmShareDenyNone), EFOpenError);
        TFileStream second(name, fmOpenRead | fmShareDenyNone);
        EXPECT_EQ(second.Size(), 7);
    }
#endif
    TMemoryStream m;
    m.LoadFromFile(name);
    EXPECT_EQ(m.Size(), 7);
    EXPECT_EQ(m.Bytes()[5], 'b');
    std::remove(name.c_str());
    EXPECT_FALSE(FileExists(name));
    EXPECT_THROW(TFileStream(name, fmOpenRead), EFOpenError);
}

}  // namespace
}  // namespace kova
