#include "tables/logic/engine_routines.h"

#include <algorithm>

namespace kova::tables {

std::string SubstringBetween(std::string_view s, std::string_view startText, int32_t skip, std::string_view endText) {
    if (startText.empty()) return std::string();
    const std::size_t p = s.find(startText);
    if (p == std::string_view::npos) return std::string();
    const int64_t from64 = static_cast<int64_t>(p) + skip;
    if (from64 >= static_cast<int64_t>(s.size())) return std::string();
    const std::size_t from = from64 < 0 ? 0 : static_cast<std::size_t>(from64);
    std::size_t to = s.size();
    if (!endText.empty()) {
        const std::size_t e = s.find(endText.front(), from);
        if (e != std::string_view::npos) to = e;
    }
    return std::string(s.substr(from, to - from));
}

void AddAverageSample(TAverageSamples& samples, double value) {
    if (samples.Count < 0 || samples.Count >= static_cast<int32_t>(samples.Samples.size())) return;
    samples.Samples[static_cast<std::size_t>(samples.Count)] = value;
    ++samples.Count;
    double sum = 0;
    for (int32_t i = 0; i < samples.Count; ++i) sum += samples.Samples[static_cast<std::size_t>(i)];
    samples.Average = sum / samples.Count;
}

}  // namespace kova::tables
