// libFuzzer entry point for the reading of iPoker window titles (any text a
// client may put there): it never fails, and a blind it reads is written in
// the title between " - " and "/".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tables/adapters/ipoker/portable/ipoker_title.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view title(reinterpret_cast<const char*>(data), size);
    const int32_t blind = kova::tables::IPokerSmallBlindOfTitle(title);
    if (blind != 0) {
        const size_t at = title.find(" - ");
        if (at == std::string_view::npos) std::abort();
        const std::string_view rest = title.substr(at + 3);
        const std::string digits = std::to_string(blind);
        if (rest.substr(0, rest.find('/')).find(digits.substr(blind < 0 ? 1 : 0)) == std::string_view::npos) std::abort();
    }
    return 0;
}
