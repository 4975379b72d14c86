// Field tables of the binary data files.
//
// Every record layout is ONE table of (offset, field, codec) entries, and
// that table drives both the reader and the writer of the record: a field
// cannot be read from one place and written to another, and a new field is
// added in one line.
//
// The table of a fixed-size record is checked when it is compiled: its
// entries lie in offset order, each starts where the one before it ends (no
// overlap, no unexplained gap), and the last ends at the record's size.
// Bytes the engine does not interpret are entries too: a byte array of the
// record's own (padding, kept bytes), or a Kept range. A record may have
// Kept ranges only when it holds a copy of all its bytes (its Whole member):
// the reader fills the copy, the writer lays it down first and the fields
// overwrite their own places in it, so the Kept bytes come out as read.
//
// Records that mix fixed blocks with counted strings and lists (the configs
// and groups of the placement-config file) have a stream layout instead:
// their entries in file order, without offsets.
//
// Every value is converted byte by byte (little-endian int32, IEEE doubles)
// at its explicit offset, so the files are the same in 32- and 64-bit
// builds whatever the compiler does with the structures in memory.
#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "tables/files/byteio.h"
#include "tables/model/shortstring.h"

namespace kova::tables {

// The WideStr of the placement-config file: int32 count N, then N UTF-16
// code units; 8-bit text in memory, converted through the code page.
void WriteWideStr(TByteWriter& out, const std::string& text);
// False, with text untouched, when the count is negative or runs past the
// end.
bool ReadWideStr(TByteReader& in, std::string& text);

namespace layout {

// Specialised for every record that is stored in a file (recordcodec.h).
// A fixed layout has ByteSize and Fields (Field and Kept entries), and may
// have Whole; a stream layout has Name (for messages) and Fields (Next
// entries).
template <typename R>
struct LayoutOf;

template <typename L>
concept FixedLayout = requires {
    { L::ByteSize } -> std::convertible_to<std::size_t>;
};

template <typename L>
concept WithWhole = requires { L::Whole; };

inline constexpr std::size_t NoFault = static_cast<std::size_t>(-1);

template <typename R>
void GetRecord(const uint8_t* p, R& r);
template <typename R>
void PutRecord(uint8_t* p, const R& r);

// What a failed stream read reports: the record being read ("group") and
// the entry's label ("slot").
struct TWhere {
    const char* Record;
    const char* Field;
};

template <typename L, typename R>
bool ReadFields(TByteReader& in, R& r, std::string& why);
template <typename L, typename R>
void WriteFields(TByteWriter& out, const R& r);

// ---- codecs -----------------------------------------------------------------
// A fixed codec holds a Value in exactly Size bytes (Get, Put). A stream
// codec takes at least MinSize bytes of a stream (Read, Write).

template <typename C>
concept FixedCodec = requires {
    { C::Size } -> std::convertible_to<std::size_t>;
};

struct Int32Codec {
    using Value = int32_t;
    static constexpr std::size_t Size = 4;
    static void Get(const uint8_t* p, Value& v) { v = GetI32(p); }
    static void Put(uint8_t* p, const Value& v) { PutI32(p, v); }
};

struct ByteCodec {
    using Value = uint8_t;
    static constexpr std::size_t Size = 1;
    static void Get(const uint8_t* p, Value& v) { v = *p; }
    static void Put(uint8_t* p, const Value& v) { *p = v; }
};

struct Float64Codec {
    using Value = double;
    static constexpr std::size_t Size = 8;
    static void Get(const uint8_t* p, Value& v) { v = GetF64(p); }
    static void Put(uint8_t* p, const Value& v) { PutF64(p, v); }
};

// All N + 1 bytes, also those past the length.
template <std::size_t N>
struct ShortStringCodec {
    using Value = TShortString<N>;
    static constexpr std::size_t Size = N + 1;
    static void Get(const uint8_t* p, Value& v) { GetShort(p, v); }
    static void Put(uint8_t* p, const Value& v) { PutShort(p, v); }
};

template <std::size_t N>
struct RawBytesCodec {
    using Value = std::array<uint8_t, N>;
    static constexpr std::size_t Size = N;
    static void Get(const uint8_t* p, Value& v) { GetBytes(p, v); }
    static void Put(uint8_t* p, const Value& v) { PutBytes(p, v); }
};

// N values of codec C, one after the other.
template <typename C, std::size_t N>
struct ArrayCodec {
    using Value = std::array<typename C::Value, N>;
    static constexpr std::size_t Size = C::Size * N;
    static void Get(const uint8_t* p, Value& v) {
        for (std::size_t i = 0; i < N; ++i) C::Get(p + i * C::Size, v[i]);
    }
    static void Put(uint8_t* p, const Value& v) {
        for (std::size_t i = 0; i < N; ++i) C::Put(p + i * C::Size, v[i]);
    }
};

// A fixed record inside another, by its own table.
template <typename R>
struct RecordCodec {
    using Value = R;
    static constexpr std::size_t Size = LayoutOf<R>::ByteSize;
    static void Get(const uint8_t* p, Value& v) { GetRecord(p, v); }
    static void Put(uint8_t* p, const Value& v) { PutRecord(p, v); }
};

template <typename C>
constexpr std::size_t MinBytes() {
    if constexpr (FixedCodec<C>) {
        return C::Size;
    } else {
        return C::MinSize;
    }
}

template <typename L>
constexpr std::size_t StreamMinSize();

// One value of any codec from a stream / into a stream.
template <typename C>
bool ReadValue(TByteReader& in, typename C::Value& v, TWhere where, std::string& why) {
    if constexpr (FixedCodec<C>) {
        const uint8_t* p = in.Take(C::Size);
        if (!p) {
            why = std::string(where.Record) + " cut short";
            return false;
        }
        C::Get(p, v);
        return true;
    } else {
        return C::Read(in, v, where, why);
    }
}

template <typename C>
void WriteValue(TByteWriter& out, const typename C::Value& v) {
    if constexpr (FixedCodec<C>) {
        C::Put(out.Append(C::Size), v);
    } else {
        C::Write(out, v);
    }
}

struct WideStringCodec {
    using Value = std::string;
    static constexpr std::size_t MinSize = 4;
    static bool Read(TByteReader& in, Value& v, TWhere where, std::string& why) {
        if (ReadWideStr(in, v)) return true;
        why = std::string("bad ") + where.Field;
        return false;
    }
    static void Write(TByteWriter& out, const Value& v) { WriteWideStr(out, v); }
};

// True when count elements of at least minSize bytes each can lie in the
// bytes that remain: checked before anything is allocated for them.
inline bool CountFits(int32_t count, std::size_t remaining, std::size_t minSize) {
    return count >= 0 && static_cast<std::size_t>(count) <= remaining / minSize;
}

// int32 count N, then N values of codec C.
template <typename C>
struct CountedListCodec {
    using Value = std::vector<typename C::Value>;
    static constexpr std::size_t MinSize = 4;
    static bool Read(TByteReader& in, Value& v, TWhere where, std::string& why) {
        int32_t count = 0;
        if (!in.ReadI32(count)) {
            why = std::string(where.Record) + " cut short";
            return false;
        }
        if (!CountFits(count, in.Remaining(), MinBytes<C>())) {
            why = std::string("bad ") + where.Field + " count " + std::to_string(count);
            return false;
        }
        v.assign(static_cast<std::size_t>(count), typename C::Value{});
        for (auto& element : v) {
            if (!ReadValue<C>(in, element, where, why)) return false;
        }
        return true;
    }
    static void Write(TByteWriter& out, const Value& v) {
        out.WriteI32(static_cast<int32_t>(v.size()));
        for (const auto& element : v) WriteValue<C>(out, element);
    }
};

// A stream record inside another, by its own table.
template <typename R>
struct StreamRecordCodec {
    using Value = R;
    static constexpr std::size_t MinSize = StreamMinSize<LayoutOf<R>>();
    static bool Read(TByteReader& in, Value& v, TWhere, std::string& why) {
        return ReadFields<LayoutOf<R>>(in, v, why);
    }
    static void Write(TByteWriter& out, const Value& v) { WriteFields<LayoutOf<R>>(out, v); }
};

// ---- codec names used in the tables -------------------------------------------
// Each names a codec family; the field's type picks the member (the capacity
// of a short string, the length of an array), and a codec that does not hold
// the field's type does not compile.

namespace detail {
template <typename T>
struct ArrayParts;
template <typename E, std::size_t N>
struct ArrayParts<std::array<E, N>> {
    using Element = E;
    static constexpr std::size_t Count = N;
};
template <typename T>
struct ShortStringParts;
template <std::size_t N>
struct ShortStringParts<TShortString<N>> {
    static constexpr std::size_t Capacity = N;
};
}  // namespace detail

struct Int32Tag {
    template <typename T>
    using For = Int32Codec;
};
struct ByteTag {
    template <typename T>
    using For = ByteCodec;
};
struct Float64Tag {
    template <typename T>
    using For = Float64Codec;
};
struct ShortStringTag {
    template <typename T>
    using For = ShortStringCodec<detail::ShortStringParts<T>::Capacity>;
};
struct RawBytesTag {
    template <typename T>
    using For = RawBytesCodec<detail::ArrayParts<T>::Count>;
};
struct RecordTag {
    template <typename T>
    using For = std::conditional_t<FixedLayout<LayoutOf<T>>, RecordCodec<T>, StreamRecordCodec<T>>;
};
struct WideStringTag {
    template <typename T>
    using For = WideStringCodec;
};
template <typename Tag>
struct ArrayOfTag {
    template <typename T>
    using For = ArrayCodec<typename Tag::template For<typename detail::ArrayParts<T>::Element>,
                           detail::ArrayParts<T>::Count>;
};
template <typename Tag>
struct CountedListOfTag {
    template <typename T>
    using For = CountedListCodec<typename Tag::template For<typename T::value_type>>;
};

inline constexpr Int32Tag Int32{};              // little-endian int32
inline constexpr ByteTag Byte{};                // one byte
inline constexpr Float64Tag Float64{};          // IEEE double, little-endian
inline constexpr ShortStringTag ShortString{};  // length byte and capacity characters
inline constexpr RawBytesTag RawBytes{};        // bytes as they are
inline constexpr RecordTag Record{};            // a record by its own table
inline constexpr WideStringTag WideString{};    // int32 count and UTF-16 code units
template <typename Tag>
constexpr ArrayOfTag<Tag> ArrayOf(Tag) {  // a fixed number of values, one after the other
    return {};
}
template <typename Tag>
constexpr CountedListOfTag<Tag> CountedListOf(Tag) {  // int32 count and that many values
    return {};
}

// ---- table entries -------------------------------------------------------------

template <typename R, typename C>
struct TField {
    using Codec = C;
    std::size_t Offset;
    typename C::Value R::*Member;
    constexpr std::size_t End() const { return Offset + C::Size; }
};

struct TKept {
    std::size_t Offset;
    std::size_t Size;
    constexpr std::size_t End() const { return Offset + Size; }
};

template <typename R, typename C>
struct TNext {
    using Codec = C;
    typename C::Value R::*Member;
    const char* Label;
};

// The field `member` at `offset`, held by `codec`.
template <typename R, typename M, typename Tag>
constexpr auto Field(std::size_t offset, M R::*member, Tag) {
    using C = typename Tag::template For<M>;
    static_assert(std::is_same_v<typename C::Value, M>, "the codec does not hold the field's type");
    return TField<R, C>{offset, member};
}

// Bytes the engine leaves alone; they come back from the record's Whole copy.
constexpr TKept Kept(std::size_t offset, std::size_t size) { return TKept{offset, size}; }

// The next field of a stream record; label names it in messages.
template <typename R, typename M, typename Tag>
constexpr auto Next(M R::*member, Tag, const char* label = "") {
    using C = typename Tag::template For<M>;
    static_assert(std::is_same_v<typename C::Value, M>, "the codec does not hold the field's type");
    return TNext<R, C>{member, label};
}

// ---- checks of a fixed table ------------------------------------------------------

template <typename E>
inline constexpr bool IsKept = std::is_same_v<E, TKept>;

// The offset at which the entries stop tiling the record exactly (an entry
// that overlaps the one before it or leaves a gap after it, or the end of
// the last entry when that is not the record's size); NoFault when they
// tile it.
template <typename L>
constexpr std::size_t TilingFault() {
    std::size_t at = 0;
    bool tiled = true;
    auto step = [&](const auto& entry) {
        if (!tiled) return;
        if (entry.Offset != at) {
            tiled = false;
            return;
        }
        at = entry.End();
    };
    std::apply([&](const auto&... entries) { (step(entries), ...); }, L::Fields);
    return tiled && at == L::ByteSize ? NoFault : at;
}

template <typename L>
constexpr bool HasKeptRanges() {
    return std::apply([](const auto&... entries) { return (IsKept<std::decay_t<decltype(entries)>> || ...); },
                      L::Fields);
}

template <typename R>
constexpr bool CheckedLayout() {
    using L = LayoutOf<R>;
    static_assert(TilingFault<L>() == NoFault,
                  "the field table overlaps, leaves a gap or does not end at the record's size "
                  "(TilingFault gives the offset)");
    if constexpr (WithWhole<L>) {
        static_assert(std::is_same_v<std::remove_const_t<decltype(L::Whole)>, std::array<uint8_t, L::ByteSize> R::*>,
                      "Whole is the record's copy of all its bytes");
    } else {
        static_assert(!HasKeptRanges<L>(), "Kept bytes need the record's Whole copy, or they would be lost");
    }
    return true;
}

// The offset of a field in its record's table (NoFault when the table has no
// such field).
template <typename R, typename M>
constexpr std::size_t OffsetOf(M R::*member) {
    std::size_t found = NoFault;
    auto match = [&](const auto& entry) {
        if constexpr (requires { entry.Member == member; }) {
            if (entry.Member == member) found = entry.Offset;
        }
    };
    std::apply([&](const auto&... entries) { (match(entries), ...); }, LayoutOf<R>::Fields);
    return found;
}

// ---- fixed records ------------------------------------------------------------------

// Reads r from exactly LayoutOf<R>::ByteSize bytes at p.
template <typename R>
void GetRecord(const uint8_t* p, R& r) {
    using L = LayoutOf<R>;
    static_assert(CheckedLayout<R>());
    if constexpr (WithWhole<L>) std::memcpy((r.*L::Whole).data(), p, L::ByteSize);
    std::apply(
        [&](const auto&... entries) {
            auto get = [&](const auto& entry) {
                if constexpr (!IsKept<std::decay_t<decltype(entry)>>) {
                    using C = typename std::decay_t<decltype(entry)>::Codec;
                    C::Get(p + entry.Offset, r.*entry.Member);
                }
            };
            (get(entries), ...);
        },
        L::Fields);
}

// Writes exactly LayoutOf<R>::ByteSize bytes at p.
template <typename R>
void PutRecord(uint8_t* p, const R& r) {
    using L = LayoutOf<R>;
    static_assert(CheckedLayout<R>());
    if constexpr (WithWhole<L>) std::memcpy(p, (r.*L::Whole).data(), L::ByteSize);
    std::apply(
        [&](const auto&... entries) {
            auto put = [&](const auto& entry) {
                if constexpr (!IsKept<std::decay_t<decltype(entry)>>) {
                    using C = typename std::decay_t<decltype(entry)>::Codec;
                    C::Put(p + entry.Offset, r.*entry.Member);
                }
            };
            (put(entries), ...);
        },
        L::Fields);
}

// ---- stream records -------------------------------------------------------------------

template <typename L>
constexpr std::size_t StreamMinSize() {
    return std::apply(
        [](const auto&... entries) {
            return (std::size_t{0} + ... + MinBytes<typename std::decay_t<decltype(entries)>::Codec>());
        },
        L::Fields);
}

// Reads the entries of layout L in order; on failure says why (the stream
// position then lies inside the record).
template <typename L, typename R>
bool ReadFields(TByteReader& in, R& r, std::string& why) {
    return std::apply(
        [&](const auto&... entries) {
            auto read = [&](const auto& entry) {
                using C = typename std::decay_t<decltype(entry)>::Codec;
                return ReadValue<C>(in, r.*entry.Member, TWhere{L::Name, entry.Label}, why);
            };
            return (read(entries) && ...);
        },
        L::Fields);
}

template <typename L, typename R>
void WriteFields(TByteWriter& out, const R& r) {
    std::apply(
        [&](const auto&... entries) {
            auto write = [&](const auto& entry) {
                using C = typename std::decay_t<decltype(entry)>::Codec;
                WriteValue<C>(out, r.*entry.Member);
            };
            (write(entries), ...);
        },
        L::Fields);
}

}  // namespace layout
}  // namespace kova::tables
