// Icons made from decoded PNG pictures (for the alpha image list).
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/handles.h"
#include "skin/core/portable/png.h"

namespace kova::skin {

// An icon whose mask hides every pixel of the colour of pixel (0, 0) when
// forceColourKey is set or the picture has no alpha channel; otherwise the
// picture's alpha carries the transparency.
TIconHandle MakeMaskIcon(const TPNGGraphic& picture, bool forceColourKey);
// A 32-bit icon: pictures without alpha get alpha 0 on key-colour (magenta)
// pixels and 255 elsewhere; the mask is opaque where alpha is not 0.
TIconHandle MakeAlphaIcon(const TPNGGraphic& picture, std::uint32_t backColour);

}  // namespace kova::skin
