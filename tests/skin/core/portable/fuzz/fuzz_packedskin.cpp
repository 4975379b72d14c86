// libFuzzer target: the packed skin reader over arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>

#include "skin/core/portable/packedskin.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kova::TMemoryStream archive(std::vector<std::uint8_t>(data, data + size));
    auto conv = std::make_unique<kova::skin::TacSkinConvertor>();
    conv->LendArchive(&archive);
    try {
        kova::skin::UnpackSkinData(conv);
    } catch (const std::exception&) {
    }
    if (conv) conv->LendArchive(nullptr);
    return 0;
}
