// Windows bitmap files built byte by byte for tests and fuzz seeds: any
// header size, depth, compression and colour count, with a palette or bit
// masks after the header and the rows as given.
#pragma once

#include <cstdint>
#include <vector>

namespace kova::test {

inline void PutLe(std::vector<std::uint8_t>& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline std::vector<std::uint8_t> BmpFile(int width, int height, int bpp, std::uint32_t compression,
                                         const std::vector<std::uint8_t>& extra, const std::vector<std::uint8_t>& rows,
                                         std::uint32_t headerSize = 40, std::uint32_t colorsUsed = 0) {
    std::vector<std::uint8_t> b = {'B', 'M'};
    const std::uint32_t off = 14 + headerSize + static_cast<std::uint32_t>(extra.size());
    PutLe(b, off + static_cast<std::uint32_t>(rows.size()), 4);
    PutLe(b, 0, 4);
    PutLe(b, off, 4);
    PutLe(b, headerSize, 4);
    PutLe(b, static_cast<std::uint32_t>(width), 4);
    PutLe(b, static_cast<std::uint32_t>(height), 4);
    PutLe(b, 1, 2);
    PutLe(b, static_cast<std::uint32_t>(bpp), 2);
    PutLe(b, compression, 4);
    PutLe(b, static_cast<std::uint32_t>(rows.size()), 4);
    PutLe(b, 0, 4);
    PutLe(b, 0, 4);
    PutLe(b, colorsUsed, 4);
    PutLe(b, 0, 4);
    b.resize(14 + headerSize, 0);
    b.insert(b.end(), extra.begin(), extra.end());
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

}  // namespace kova::test
