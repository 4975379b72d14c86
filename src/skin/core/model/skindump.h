// The loaded skin as text: the skin-wide values, every section with every
// key of the vocabulary (inheritance resolved), the image entries and the
// large textures. Nothing in it depends on where the skin was read from, so
// a folder and its packed file give the same text. Window-free.
#pragma once

#include <string>

#include "skin/core/model/skinmodel.h"

namespace kova::skin {

std::string DumpSkin(const TsSkinModel& model);

}  // namespace kova::skin
