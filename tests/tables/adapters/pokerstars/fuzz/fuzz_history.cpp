// libFuzzer entry point: a hand-history file's bytes through everything the
// level clock and hhdump read from it, and a title through the title
// readers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tables/adapters/pokerstars/portable/history.h"
#include "tables/adapters/pokerstars/portable/title.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace ps = kova::tables::pokerstars;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = ps::HistoryLines(bytes);
    for (const std::string& line : lines)
        if (line.size() > ps::MaxHistoryLine) std::abort();
    const int32_t hands = ps::CountHands(lines);
    for (int32_t k = 0; k <= hands && k < 50; ++k) {
        const std::vector<std::string> hand = ps::ReadHand(lines, k);
        if (k > 0 && (hand.empty() || !ps::IsHandStartLine(hand.front()))) std::abort();
        if (const std::optional<double> t = ps::HandStartTime(hand)) ps::FormatDayBasedTime(*t);
    }
    const std::string_view title = bytes.substr(0, 300);
    ps::ReadTitleFacts(title);
    ps::ReadBlinds(title);
    return 0;
}
