// libFuzzer target: the shell's task-bar records from arbitrary bytes, in
// both bitnesses' layouts; a decoded rectangle is one a button can have.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "skin/core/portable/taskbarrecords.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kova::skin;
    const std::span<const std::uint8_t> bytes(data, size);
    for (TShellBitness bits : {TShellBitness::Bits32, TShellBitness::Bits64}) {
        if (const auto b = DecodeTaskbarButton(bytes, bits)) (void)b->StandsForAWindow();
        (void)DecodeTaskbarHandle(bytes, bits);
    }
    if (const auto r = DecodeTaskbarRect(bytes)) {
        if (r->Right < r->Left || r->Bottom < r->Top) std::abort();
        if (std::int64_t{r->Right} - r->Left > kMaxTaskbarButtonExtent) std::abort();
    }
    return 0;
}
