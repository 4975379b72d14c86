// libFuzzer target: one of the skin's picture decoders (BMP or JPEG, chosen
// at build time) over arbitrary bytes. Whatever it accepts must be a
// picture whose every pixel can be read; everything else must be refused
// with the decoder's own error.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "skin/core/model/pictures.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    try {
        const kova::skin::TDecodedPicture p = KOVA_FUZZ_DECODER(bytes);
        if (p.Pixels.Empty()) __builtin_trap();
        std::uint32_t sum = 0;
        for (int y = 0; y < p.Pixels.Height(); ++y)
            for (int x = 0; x < p.Pixels.Width(); ++x) sum += p.Pixels.At(x, y);
        (void)sum;
    } catch (const kova::skin::EPictureError&) {
    }
    return 0;
}
