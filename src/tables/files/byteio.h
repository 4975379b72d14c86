// Little-endian value access and byte streams for the binary data files:
// the primitives under the field tables (recordlayout.h). Values are
// converted byte by byte, so the files never depend on structure layout.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "tables/model/shortstring.h"

namespace kova::tables {

inline int32_t GetI32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
}

inline void PutI32(uint8_t* p, int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    p[0] = static_cast<uint8_t>(u);
    p[1] = static_cast<uint8_t>(u >> 8);
    p[2] = static_cast<uint8_t>(u >> 16);
    p[3] = static_cast<uint8_t>(u >> 24);
}

inline double GetF64(const uint8_t* p) {
    uint64_t u = 0;
    for (int i = 7; i >= 0; --i) u = (u << 8) | p[i];
    return std::bit_cast<double>(u);
}

inline void PutF64(uint8_t* p, double v) {
    uint64_t u = std::bit_cast<uint64_t>(v);
    for (int i = 0; i < 8; ++i) {
        p[i] = static_cast<uint8_t>(u);
        u >>= 8;
    }
}

template <std::size_t N>
inline void GetShort(const uint8_t* p, TShortString<N>& s) {
    std::memcpy(s.Bytes.data(), p, N + 1);
}

template <std::size_t N>
inline void PutShort(uint8_t* p, const TShortString<N>& s) {
    std::memcpy(p, s.Bytes.data(), N + 1);
}

template <std::size_t N>
inline void GetBytes(const uint8_t* p, std::array<uint8_t, N>& a) {
    std::memcpy(a.data(), p, N);
}

template <std::size_t N>
inline void PutBytes(uint8_t* p, const std::array<uint8_t, N>& a) {
    std::memcpy(p, a.data(), N);
}

// Sequential reading of a byte stream; every read checks the bytes that
// remain and fails (returns false, consuming nothing) when they run out.
class TByteReader {
public:
    explicit TByteReader(std::span<const uint8_t> data) : data_(data) {}

    std::size_t Position() const { return pos_; }
    std::size_t Remaining() const { return data_.size() - pos_; }
    bool AtEnd() const { return pos_ >= data_.size(); }

    // A pointer to the next n bytes and advance past them; nullptr when
    // fewer remain.
    const uint8_t* Take(std::size_t n) {
        if (n > Remaining()) return nullptr;
        const uint8_t* p = data_.data() + pos_;
        pos_ += n;
        return p;
    }
    bool ReadI32(int32_t& v) {
        const uint8_t* p = Take(4);
        if (!p) return false;
        v = GetI32(p);
        return true;
    }
    bool ReadU8(uint8_t& v) {
        const uint8_t* p = Take(1);
        if (!p) return false;
        v = *p;
        return true;
    }

private:
    std::span<const uint8_t> data_;
    std::size_t pos_ = 0;
};

// Sequential writing into a growing buffer.
class TByteWriter {
public:
    std::vector<uint8_t>& Bytes() { return bytes_; }
    // Appends n zero bytes and returns a pointer to them (valid until the
    // next append).
    uint8_t* Append(std::size_t n) {
        const std::size_t at = bytes_.size();
        bytes_.resize(at + n);
        return bytes_.data() + at;
    }
    void WriteI32(int32_t v) { PutI32(Append(4), v); }
    void WriteU8(uint8_t v) { *Append(1) = v; }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace kova::tables
