// Builds small PNG files chunk by chunk for the reader's tests.
#pragma once

#include <zlib.h>

#include "framework/portable/streams.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kova::skin::test {

using Bytes = std::vector<std::uint8_t>;

inline void Put32(Bytes& b, std::uint32_t v) {
    for (int i = 3; i >= 0; --i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline Bytes Deflate(const Bytes& raw, int level = 6) {
    uLongf n = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(n);
    compress2(out.data(), &n, raw.data(), static_cast<uLong>(raw.size()), level);
    out.resize(n);
    return out;
}

// The whole file, or nothing when it cannot be read.
inline bool ReadFileBytes(const std::string& path, Bytes& out) {
    try {
        TMemoryStream m;
        m.LoadFromFile(path);
        out = std::move(m.Bytes());
        return true;
    } catch (const EStreamError&) {
        return false;
    }
}

class PngBuilder {
public:
    PngBuilder() { bytes_ = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}; }

    PngBuilder& Chunk(const std::string& type, const Bytes& data, bool goodCrc = true) {
        Put32(bytes_, static_cast<std::uint32_t>(data.size()));
        Bytes typed(type.begin(), type.end());
        typed.insert(typed.end(), data.begin(), data.end());
        bytes_.insert(bytes_.end(), typed.begin(), typed.end());
        std::uint32_t crc = static_cast<std::uint32_t>(crc32(0L, typed.data(), static_cast<uInt>(typed.size())));
        Put32(bytes_, goodCrc ? crc : crc ^ 1u);
        return *this;
    }
    PngBuilder& Ihdr(std::uint32_t w, std::uint32_t h, int depth, int colourType, int interlace = 0,
                     const std::string& type = "IHDR", int compression = 0, int filter = 0) {
        Bytes d;
        Put32(d, w);
        Put32(d, h);
        d.push_back(static_cast<std::uint8_t>(depth));
        d.push_back(static_cast<std::uint8_t>(colourType));
        d.push_back(static_cast<std::uint8_t>(compression));
        d.push_back(static_cast<std::uint8_t>(filter));
        d.push_back(static_cast<std::uint8_t>(interlace));
        return Chunk(type, d);
    }
    // Rows already carry their filter bytes.
    PngBuilder& Idat(const Bytes& rawRows) { return Chunk("IDAT", Deflate(rawRows)); }
    PngBuilder& Iend() { return Chunk("IEND", {}); }
    Bytes Build() const { return bytes_; }
    Bytes& Raw() { return bytes_; }

private:
    Bytes bytes_;
};

}  // namespace kova::skin::test
