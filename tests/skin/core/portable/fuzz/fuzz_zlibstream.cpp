// libFuzzer target: the decompression stream over arbitrary bytes, with
// reads of varying sizes and the seeks it allows.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <vector>

#include "skin/core/portable/zlibstream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t mode = data[0];
    kova::TMemoryStream src(std::vector<std::uint8_t>(data + 1, data + size));
    try {
        kova::skin::TZDecompressionStream z(src);
        std::vector<std::uint8_t> buf(1 + mode * 97u);
        std::size_t total = 0;
        for (std::size_t n; (n = z.Read(buf.data(), buf.size())) != 0 && total < (1u << 24);) total += n;
        if (mode & 1) z.Seek(0, kova::soBeginning);
        if (mode & 2) z.Seek(0, kova::soEnd);
    } catch (const std::exception&) {
    }
    return 0;
}
