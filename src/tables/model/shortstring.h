// Fixed-capacity 8-bit text with a leading length byte, as the data files
// store short names: capacity N, N + 1 bytes in all.
//
// All N + 1 bytes are kept, also those past the length: files carry
// whatever was in memory there, and a record read and written again must
// come out byte for byte the same.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace kova::tables {

template <std::size_t N>
struct TShortString {
    static_assert(N >= 1 && N <= 255, "a length byte holds at most 255");
    static constexpr std::size_t Capacity = N;
    static constexpr std::size_t ByteSize = N + 1;

    std::array<uint8_t, N + 1> Bytes{};

    TShortString() = default;
    TShortString(std::string_view text) { Assign(text); }  // NOLINT: implicit on purpose

    // The text; a stored length above the capacity counts as the capacity.
    std::string Str() const {
        return std::string(reinterpret_cast<const char*>(Bytes.data() + 1), Length());
    }
    std::size_t Length() const { return std::min<std::size_t>(Bytes[0], N); }
    bool Empty() const { return Length() == 0; }

    // Sets the text, cut to the capacity; bytes past the new length stay as
    // they were.
    void Assign(std::string_view text) {
        const std::size_t len = std::min(text.size(), N);
        Bytes[0] = static_cast<uint8_t>(len);
        if (len) std::memcpy(Bytes.data() + 1, text.data(), len);
    }
    TShortString& operator=(std::string_view text) {
        Assign(text);
        return *this;
    }

    // Byte-wise equality (the whole N + 1 bytes).
    bool operator==(const TShortString&) const = default;
};

}  // namespace kova::tables
