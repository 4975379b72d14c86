// libFuzzer target: the PNG reader over arbitrary bytes, and the 32-bit
// conversion of whatever it accepts.
#include <cstddef>
#include <cstdint>
#include <exception>

#include "skin/core/portable/png.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kova::TMemoryStream in(std::vector<std::uint8_t>(data, data + size));
    kova::skin::TPNGGraphic png;
    try {
        png.LoadFromStream(in);
        kova::PixelBuffer32 px = png.ToBitmap32();
        (void)px;
    } catch (const std::exception&) {
    }
    kova::TMemoryStream again(std::vector<std::uint8_t>(data, data + size));
    (void)png.ReadPNGHeader(again);
    return 0;
}
