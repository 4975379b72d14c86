// Small steps the skin record and its command dispatch share: internal to
// the skin engine core.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/controls.h"
#include "skin/core/glow.h"
#include "skin/core/portable/skintypes.h"
#include "skin/core/skinmessage.h"

namespace kova::skin::record {

// Control colours are framework colours (system colours 0x80000000 + index).
inline TColor RGBOf(kova::TColor c) { return static_cast<TColor>(kova::ColorToRGB(c)); }

inline LRESULT PerformCommand(TControl* c, int subCode, LPARAM lParam, int low = 0) {
    return c->Perform(SkinCommandMessage, SkinCommand(subCode, low), lParam);
}

inline TWinControl* Windowed(TControl* c) {
    return c != nullptr && c->IsWindowed() ? static_cast<TWinControl*>(c) : nullptr;
}

inline void HideShownGlow(std::int32_t& glowID) {
    if (glowID == -1) return;
    HideGlow(glowID);
    glowID = -1;
}

}  // namespace kova::skin::record
