#include "skin/core/portable/zlibstream.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <string>
#include <vector>

#include "common/require.h"
#include "pngbuilder.h"

namespace kova::skin {
namespace {

using test::Bytes;
using test::Deflate;

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Pseudo(std::size_t n, std::uint32_t seed) {
    Bytes b(n);
    for (auto& v : b) {
        seed = seed * 1103515245u + 12345u;
        v = static_cast<std::uint8_t>((seed >> 16) % 7);  // compressible
    }
    return b;
}

Bytes ReadAll(TStream& s) {
    Bytes out;
    std::uint8_t buf[1000];
    for (std::size_t n; (n = s.Read(buf, sizeof buf)) != 0;) out.insert(out.end(), buf, buf + n);
    return out;
}

TEST(ZDecompressionStream, BackToBackStreamsLeaveSourceOnSecond) {
    // Small ones share one 64 KiB block; large ones end mid-block of a later read.
    for (std::size_t size : {10u, 100000u}) {
        const Bytes a = Pseudo(size, 1), b = Pseudo(size / 2 + 3, 2);
        Bytes archive = Deflate(a);
        const std::size_t secondAt = archive.size();
        const Bytes zb = Deflate(b);
        archive.insert(archive.end(), zb.begin(), zb.end());
        archive.push_back(0x55);
        TMemoryStream src(archive);
        {
            TZDecompressionStream z(src);
            EXPECT_EQ(ReadAll(z), a);
        }
        EXPECT_EQ(src.Position(), static_cast<std::int64_t>(secondAt)) << size;
        TZDecompressionStream z2(src);
        EXPECT_EQ(ReadAll(z2), b);
        EXPECT_EQ(src.Position(), static_cast<std::int64_t>(archive.size() - 1));
    }
}

TEST(ZDecompressionStream, ReadsOnlyWhatTheStreamHolds) {
    TMemoryStream src(Deflate(Text("hello world")));
    TZDecompressionStream z(src);
    char buf[64] = {};
    EXPECT_EQ(z.Read(buf, sizeof buf), 11u);
    EXPECT_EQ(std::string(buf), "hello world");
    EXPECT_EQ(z.Read(buf, sizeof buf), 0u);
}

TEST(ZDecompressionStream, SeekEndGivesSizeAndSeekZeroRestarts) {
    const Bytes data = Pseudo(30000, 7);
    TMemoryStream src(Deflate(data));
    TZDecompressionStream z(src);
    EXPECT_EQ(z.Seek(0, soEnd), 30000);
    EXPECT_EQ(z.Seek(0, soBeginning), 0);
    EXPECT_EQ(ReadAll(z), data);
}

TEST(ZDecompressionStream, ForwardSeeksSkipAndBackwardSeeksFail) {
    const Bytes data = Pseudo(20000, 9);
    TMemoryStream src(Deflate(data));
    TZDecompressionStream z(src);
    EXPECT_EQ(z.Seek(10000, soCurrent), 10000);
    EXPECT_EQ(z.Seek(15000, soBeginning), 15000);
    std::uint8_t b = 0;
    ASSERT_EQ(z.Read(&b, 1), 1u);
    EXPECT_EQ(b, data[15000]);
    for (auto [off, origin] : {std::pair{std::int64_t{5}, soBeginning}, std::pair{std::int64_t{-1}, soCurrent},
                               std::pair{std::int64_t{3}, soEnd}}) {
        try {
            z.Seek(off, origin);
            FAIL() << "seek should fail";
        } catch (const EZDecompressionError& e) {
            EXPECT_STREQ(e.what(), "Invalid ZStream operation!");
            EXPECT_EQ(e.ZLibCode(), 0);
        }
    }
    // Past the end: the skipped block must arrive in full.
    EXPECT_THROW(z.Seek(100000, soCurrent), EReadError);
}

TEST(ZDecompressionStream, WriteIsRefused) {
    TMemoryStream src(Deflate(Text("x")));
    TZDecompressionStream z(src);
    try {
        z.Write("a", 1);
        FAIL();
    } catch (const EZDecompressionError& e) {
        EXPECT_STREQ(e.what(), "Invalid ZStream operation!");
    }
}

TEST(ZDecompressionStream, BadHeaderIsDataError) {
    TMemoryStream src(Text("this is not zlib data at all"));
    TZDecompressionStream z(src);
    char buf[16];
    try {
        z.Read(buf, sizeof buf);
        FAIL();
    } catch (const EZDecompressionError& e) {
        EXPECT_STREQ(e.what(), "data error");
        EXPECT_EQ(e.ZLibCode(), Z_DATA_ERROR);
    }
}

TEST(ZDecompressionStream, DamagedChecksumIsDataError) {
    Bytes z = Deflate(Text("some text to check"));
    z.back() ^= 0xFF;
    TMemoryStream src(z);
    TZDecompressionStream d(src);
    char buf[64];
    EXPECT_THROW(ReadAll(d), EZDecompressionError);
    (void)buf;
}

TEST(ZDecompressionStream, TruncatedSourceReturnsShortAndReadBufferFails) {
    const Bytes data = Pseudo(5000, 3);
    Bytes z = Deflate(data);
    z.resize(z.size() / 2);
    TMemoryStream src(z);
    TZDecompressionStream d(src);
    Bytes out(5000);
    EXPECT_LT(d.Read(out.data(), out.size()), 5000u);
    TMemoryStream src2(z);
    TZDecompressionStream d2(src2);
    EXPECT_THROW(d2.ReadBuffer(out.data(), out.size()), EReadError);
}

TEST(ZDecompressionStream, MessagesForEveryCode) {
    const std::vector<std::pair<int, std::string>> table = {
        {2, "need dictionary"}, {1, "stream end"}, {0, "ok"}, {-1, "file error"}, {-2, "stream error"},
        {-3, "data error"}, {-4, "insufficient memory"}, {-5, "buffer error"}, {-6, "incompatible version"},
        {-7, ""}};
    for (const auto& [code, msg] : table) {
        EZDecompressionError e(code);
        EXPECT_EQ(std::string(e.what()), msg) << code;
        EXPECT_EQ(e.ZLibCode(), code);
    }
}

TEST(ZDecompressionStream, BlockReadEventAndSourceMovedBetweenReads) {
    const Bytes data = Pseudo(200000, 5);
    TMemoryStream src(Deflate(data, 0));  // stored: bigger than one block
    TZDecompressionStream z(src);
    int blocks = 0;
    z.OnBlockRead = [&blocks](TCustomZStream&) { ++blocks; };
    Bytes out(1000);
    ASSERT_EQ(z.Read(out.data(), out.size()), 1000u);
    src.SetPosition(3);  // somebody else moved the shared source
    Bytes rest = ReadAll(z);
    out.insert(out.end(), rest.begin(), rest.end());
    EXPECT_EQ(out, data);
    EXPECT_GE(blocks, 3);
}

// A stream that asks for a preset dictionary cannot go on: the read stops
// instead of spinning on the "need dictionary" answer.
TEST(ZDecompressionStream, PresetDictionaryStopsTheRead) {
    z_stream zs{};
    ASSERT_EQ(deflateInit(&zs, 6), Z_OK);
    const Bytes dict = Text("dictionary words");
    deflateSetDictionary(&zs, dict.data(), static_cast<uInt>(dict.size()));
    Bytes in = Text("dictionary words again"), out(256);
    zs.next_in = in.data();
    zs.avail_in = static_cast<uInt>(in.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    ASSERT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    TMemoryStream src(out);
    TZDecompressionStream z(src);
    std::uint8_t buf[64];
    EXPECT_EQ(z.Read(buf, sizeof buf), 0u);
    EXPECT_THROW(z.ReadBuffer(buf, 4), EReadError);
}

// Raw deflate streams of the public corpus, wrapped into zlib streams.
TEST(ZDecompressionStream, PublicDeflateCorpus) {
    KOVA_REQUIRE_TESTDATA("zlib-deflate");
    for (const char* name : {"huffman-null-max", "huffman-pi", "huffman-rand-1k", "huffman-rand-limit",
                             "huffman-rand-max", "huffman-shifts", "huffman-text-shift", "huffman-text",
                             "huffman-zero"}) {
        Bytes golden, expected;
        ASSERT_TRUE(test::ReadFileBytes(kova::test::TestDataPath(std::string("zlib-deflate/") + name + ".golden"), golden));
        ASSERT_TRUE(test::ReadFileBytes(kova::test::TestDataPath(std::string("zlib-deflate/") + name + ".in"), expected));
        // None of these sets the final-block flag: the stream ends with the
        // source, so Read returns what was inflated so far without error.
        Bytes z = {0x78, 0x01};
        z.insert(z.end(), golden.begin(), golden.end());
        TMemoryStream src(z);
        TZDecompressionStream d(src);
        EXPECT_EQ(ReadAll(d), expected) << name;
    }
}

}  // namespace
}  // namespace kova::skin
