// The live handle counts that the skin window tests compare.
#pragma once

#include <sstream>
#include <string>

#include "framework/handles.h"

namespace kova::skin::test {

// The handles that painting, animating and hooking take and must give
// back, counted live: a skin window test ends with them where it began (a
// leak there would be a leak per repaint). Bitmaps, fonts and icons that
// caches keep are not among them. Empty when nothing changed.
inline std::string TransientHandlesChanged(const THandleCounts& before) {
    const THandleCounts now = LiveHandleCounts();
    std::ostringstream out;
    for (THandleKind k : {THandleKind::WindowDC, THandleKind::SavedDC, THandleKind::Paint, THandleKind::Hook,
                          THandleKind::Subclass}) {
        const auto i = static_cast<std::size_t>(k);
        if (now[i] != before[i]) out << HandleKindName(k) << ": " << before[i] << " -> " << now[i] << "; ";
    }
    return out.str();
}

}  // namespace kova::skin::test
