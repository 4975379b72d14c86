// The skins built into the program: our own light and dark skins, drawn by
// tools/skingen and packed with tools/skinpack. Window-free.
#pragma once

#include <cstdint>
#include <vector>

#include "skin/core/model/storedskins.h"

namespace kova::skin {

// "Linen (internal)" (light) and "Slate (internal)" (dark), in that order.
void AddInternalSkins(TsStoredSkins& skins);

// The packed bytes of one built-in skin by its folder name ("Linen").
const std::vector<std::uint8_t>& InternalSkinData(const char* name);

}  // namespace kova::skin
