// The shell's task-bar records decoded from bytes: both bitnesses' layouts,
// and bytes no shell would write (short, garbage, absurd counts and
// rectangles), which must give nothing rather than a read past the end.
#include "skin/core/portable/taskbarrecords.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace kova::skin {
namespace {

using Bytes = std::vector<std::uint8_t>;

template <class T>
void Put(Bytes& b, std::size_t at, T value) {
    std::memcpy(b.data() + at, &value, sizeof value);
}

// A button record as a shell of that bitness lays it out; the padding
// bytes are garbage, which the decoder must not read as data.
Bytes ButtonRecord(TShellBitness bits, std::uint8_t state, std::uint8_t style, std::uint64_t data) {
    const bool b32 = bits == TShellBitness::Bits32;
    Bytes b(b32 ? 20 : 32, 0xCC);
    Put<std::int32_t>(b, 0, 7);   // iBitmap
    Put<std::int32_t>(b, 4, 99);  // idCommand
    b[8] = state;
    b[9] = style;
    if (b32) Put<std::uint32_t>(b, 12, static_cast<std::uint32_t>(data));
    else Put<std::uint64_t>(b, 16, data);
    return b;
}

TEST(TaskbarRecords, SizesFollowTheShellsBitness) {
    EXPECT_EQ(TaskbarButtonRecordSize(TShellBitness::Bits32), 20u);
    EXPECT_EQ(TaskbarButtonRecordSize(TShellBitness::Bits64), 32u);
    EXPECT_EQ(TaskbarHandleSize(TShellBitness::Bits32), 4u);
    EXPECT_EQ(TaskbarHandleSize(TShellBitness::Bits64), 8u);
}

TEST(TaskbarRecords, ButtonsOfBothLayouts) {
    struct Case {
        std::string name;
        TShellBitness bits;
        std::uint8_t state, style;
        std::uint64_t data;
        bool window;
    };
    const std::vector<Case> cases = {
        {"32-bit plain", TShellBitness::Bits32, 0x04, 0x00, 0x00A1B2C3u, true},
        {"64-bit plain", TShellBitness::Bits64, 0x04, 0x00, 0x00007FF6A1B2C3D4ull, true},
        {"64-bit high data bits kept", TShellBitness::Bits64, 0, 0, 0xFFFF800000001000ull, true},
        {"32-bit separator", TShellBitness::Bits32, 0, 0x01, 0x1000, false},
        {"64-bit group", TShellBitness::Bits64, 0, 0x04, 0x1000, false},
        {"64-bit drop-down", TShellBitness::Bits64, 0, 0x08, 0x1000, false},
        {"32-bit check style still a window", TShellBitness::Bits32, 0, 0x02, 0x1000, true},
        {"32-bit hidden", TShellBitness::Bits32, 0x08, 0, 0x1000, false},
        {"64-bit no data", TShellBitness::Bits64, 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto b = DecodeTaskbarButton(ButtonRecord(c.bits, c.state, c.style, c.data), c.bits);
        ASSERT_TRUE(b);
        EXPECT_EQ(b->State, c.state);
        EXPECT_EQ(b->Style, c.style);
        EXPECT_EQ(b->Data, c.data);
        EXPECT_EQ(b->StandsForAWindow(), c.window);
    }
    // A 64-bit record read as a 32-bit one takes the padding, not the
    // pointer: the bitness decides the layout.
    const auto crossed =
        DecodeTaskbarButton(ButtonRecord(TShellBitness::Bits64, 0, 0, 0x1122334455667788ull), TShellBitness::Bits32);
    ASSERT_TRUE(crossed);
    EXPECT_EQ(crossed->Data, 0xCCCCCCCCu);
}

TEST(TaskbarRecords, HandlesAreZeroExtendedFromTheShellsWidth) {
    Bytes b(8);
    Put<std::uint64_t>(b, 0, 0xFFFFFFFF00012345ull);
    EXPECT_EQ(DecodeTaskbarHandle(b, TShellBitness::Bits32), 0x00012345u);
    EXPECT_EQ(DecodeTaskbarHandle(b, TShellBitness::Bits64), 0xFFFFFFFF00012345ull);
    const Bytes four(b.begin(), b.begin() + 4);
    EXPECT_EQ(DecodeTaskbarHandle(four, TShellBitness::Bits32), 0x00012345u);
    EXPECT_FALSE(DecodeTaskbarHandle(four, TShellBitness::Bits64)) << "half a 64-bit handle";
}

TEST(TaskbarRecords, RectanglesABarCanHave) {
    struct Case {
        std::string name;
        std::int32_t l, t, r, b;
        bool believed;
    };
    const std::vector<Case> cases = {
        {"a button", 40, 2, 200, 42, true},
        {"empty", 5, 5, 5, 5, true},
        {"negative origin", -100, -30, -20, 0, true},
        {"widest", 0, 0, kMaxTaskbarButtonExtent, 10, true},
        {"too wide", 0, 0, kMaxTaskbarButtonExtent + 1, 10, false},
        {"too tall", 0, 0, 10, kMaxTaskbarButtonExtent + 1, false},
        {"inverted", 200, 2, 40, 42, false},
        {"upside down", 0, 42, 10, 2, false},
        {"overflowing width", INT32_MIN, 0, INT32_MAX, 10, false},
        {"overflowing inverted", INT32_MAX, 0, INT32_MIN, 10, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes b(16);
        Put(b, 0, c.l);
        Put(b, 4, c.t);
        Put(b, 8, c.r);
        Put(b, 12, c.b);
        const auto r = DecodeTaskbarRect(b);
        ASSERT_EQ(r.has_value(), c.believed);
        if (r) {
            EXPECT_EQ(*r, (TTaskbarRect{c.l, c.t, c.r, c.b}));
        }
    }
}

TEST(TaskbarRecords, ShortRecordsGiveNothing) {
    for (TShellBitness bits : {TShellBitness::Bits32, TShellBitness::Bits64}) {
        const Bytes full = ButtonRecord(bits, 0, 0, 0x1000);
        for (std::size_t n = 0; n < full.size(); ++n) {
            const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
            EXPECT_FALSE(DecodeTaskbarButton(cut, bits)) << n;
            if (n < TaskbarHandleSize(bits)) {
                EXPECT_FALSE(DecodeTaskbarHandle(cut, bits)) << n;
            }
            if (n < kTaskbarRectSize) {
                EXPECT_FALSE(DecodeTaskbarRect(cut)) << n;
            }
        }
        EXPECT_TRUE(DecodeTaskbarButton(full, bits));
    }
    EXPECT_FALSE(DecodeTaskbarButton({}, TShellBitness::Bits64));
}

TEST(TaskbarRecords, CountsNoTaskBarHolds) {
    struct Case {
        std::int64_t count;
        bool believed;
    };
    for (const Case& c : {Case{1, true}, Case{40, true}, Case{kMaxTaskbarButtons, true}, Case{0, false},
                          Case{-1, false}, Case{kMaxTaskbarButtons + 1, false}, Case{INT64_MAX, false},
                          Case{INT64_MIN, false}})
        EXPECT_EQ(TaskbarButtonCountBelievable(c.count), c.believed) << c.count;
}

// Every length of every byte pattern decodes to something or to nothing,
// never past the bytes given (the sanitizers watch the reads).
TEST(TaskbarRecords, GarbageOfAnyLengthIsSafe) {
    std::uint32_t seed = 12345;
    for (std::size_t n = 0; n <= 40; ++n) {
        Bytes b(n);
        for (auto& x : b) x = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
        for (TShellBitness bits : {TShellBitness::Bits32, TShellBitness::Bits64}) {
            EXPECT_EQ(DecodeTaskbarButton(b, bits).has_value(), n >= TaskbarButtonRecordSize(bits)) << n;
            EXPECT_EQ(DecodeTaskbarHandle(b, bits).has_value(), n >= TaskbarHandleSize(bits)) << n;
        }
        if (const auto r = DecodeTaskbarRect(b)) {
            EXPECT_LE(r->Left, r->Right);
            EXPECT_LE(r->Top, r->Bottom);
        }
    }
}

}  // namespace
}  // namespace kova::skin
