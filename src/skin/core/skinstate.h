// The skin engine core's own state: what every unit of the core and of the
// form and control skinning shares for the run of the program.
#pragma once

#include <vector>

#include "framework/forms.h"

namespace kova::skin {

// The forms that own a skin provider, in order of registration; entries may
// be nullptr only transiently.
std::vector<TCustomForm*>& SkinnedForms();
void AddSkinnedForm(TCustomForm* form);
// Each entry equal to the form takes the last entry's place.
void RemoveSkinnedForm(TCustomForm* form);

}  // namespace kova::skin
