// The field-table machinery on small records of its own: the compile-time
// check of a table, kept bytes, and what a damaged stream record reports.
#include "tables/files/recordlayout.h"

#include <gtest/gtest.h>

#include "tables_testutil.h"

namespace kova::tables::layout_test {

struct TPair {
    int32_t A = 0;
    uint8_t B = 0;
    bool operator==(const TPair&) const = default;
};

// A record that keeps all its bytes: B lies between kept bytes.
struct TKeeping {
    static constexpr std::size_t ByteSize = 8;
    int32_t A = 0;
    uint8_t B = 0;
    std::array<uint8_t, ByteSize> KeptBytes{};
};

struct TEntry {
    std::string Name;
    std::vector<TPair> Pairs;
    bool operator==(const TEntry&) const = default;
};

}  // namespace kova::tables::layout_test

namespace kova::tables::layout {

using layout_test::TEntry;
using layout_test::TKeeping;
using layout_test::TPair;

template <>
struct LayoutOf<TPair> {
    static constexpr std::size_t ByteSize = 5;
    static constexpr auto Fields = std::tuple{Field(0, &TPair::A, Int32), Field(4, &TPair::B, Byte)};
};

template <>
struct LayoutOf<TKeeping> {
    static constexpr std::size_t ByteSize = TKeeping::ByteSize;
    static constexpr auto Whole = &TKeeping::KeptBytes;
    static constexpr auto Fields = std::tuple{Field(0, &TKeeping::A, Int32), Kept(4, 1), Field(5, &TKeeping::B, Byte),
                                              Kept(6, 2)};
};

template <>
struct LayoutOf<TEntry> {
    static constexpr const char* Name = "entry";
    static constexpr auto Fields = std::tuple{
        Next(&TEntry::Name, WideString, "entry name"),
        Next(&TEntry::Pairs, CountedListOf(Record), "pair"),
    };
};

// Tables that must not pass the check, with the offset it names.
template <std::size_t SecondOffset, std::size_t Size>
struct Tiling {
    static constexpr std::size_t ByteSize = Size;
    static constexpr auto Fields = std::tuple{Field(0, &TPair::A, Int32), Field(SecondOffset, &TPair::B, Byte)};
};
static_assert(TilingFault<Tiling<4, 5>>() == NoFault);
static_assert(TilingFault<Tiling<3, 5>>() == 4);  // overlap: the second field starts inside the first
static_assert(TilingFault<Tiling<6, 7>>() == 4);  // unexplained gap 4-5
static_assert(TilingFault<Tiling<4, 8>>() == 5);  // ends before the record does
static_assert(TilingFault<Tiling<4, 4>>() == 5);  // runs past it

struct OutOfOrder {
    static constexpr std::size_t ByteSize = 5;
    static constexpr auto Fields = std::tuple{Field(4, &TPair::B, Byte), Field(0, &TPair::A, Int32)};
};
static_assert(TilingFault<OutOfOrder>() == 0);

static_assert(HasKeptRanges<LayoutOf<TKeeping>>() && !HasKeptRanges<LayoutOf<TPair>>());
static_assert(OffsetOf(&TKeeping::B) == 5 && OffsetOf(&TPair::B) == 4);
static_assert(StreamMinSize<LayoutOf<TEntry>>() == 8);

}  // namespace kova::tables::layout

namespace kova::tables::layout_test {
namespace {

using test::Bytes;

TEST(RecordLayout, KeptBytesComeBackAroundTheFields) {
    const std::vector<uint8_t> bytes = {1, 0, 0, 0, 0xEE, 7, 0xDD, 0xCC};
    TKeeping r;
    layout::GetRecord(bytes.data(), r);
    EXPECT_EQ(r.A, 1);
    EXPECT_EQ(r.B, 7);
    r.A = -2;
    std::vector<uint8_t> written(8);
    layout::PutRecord(written.data(), r);
    EXPECT_EQ(written, (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF, 0xEE, 7, 0xDD, 0xCC}));
}

TEST(RecordLayout, StreamRecordsSayWhereTheyBreak) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* why;  // empty: read whole
    };
    const Case cases[] = {
        {"whole", Bytes().Wide(u"ab").I32(2).I32(5).U8(1).I32(-6).U8(2).Get(), ""},
        {"no pairs", Bytes().Wide(u"").I32(0).Get(), ""},
        {"name past the end", Bytes().I32(3).Zeros(4).Get(), "bad entry name"},
        {"negative name length", Bytes().I32(-1).I32(0).Get(), "bad entry name"},
        {"count missing", Bytes().Wide(u"a").Zeros(2).Get(), "entry cut short"},
        {"more pairs than bytes", Bytes().Wide(u"a").I32(3).Zeros(10).Get(), "bad pair count 3"},
        {"negative count", Bytes().Wide(u"a").I32(-1).Get(), "bad pair count -1"},
    };
    for (const Case& c : cases) {
        TByteReader in(c.bytes);
        TEntry entry;
        std::string why;
        const bool read = layout::ReadFields<layout::LayoutOf<TEntry>>(in, entry, why);
        EXPECT_EQ(read, *c.why == '\0') << c.what;
        EXPECT_EQ(why, c.why) << c.what;
        if (!read) continue;
        EXPECT_TRUE(in.AtEnd()) << c.what;
        TByteWriter out;
        layout::WriteFields<layout::LayoutOf<TEntry>>(out, entry);
        EXPECT_EQ(out.Bytes(), c.bytes) << c.what;
    }
}

}  // namespace
}  // namespace kova::tables::layout_test
