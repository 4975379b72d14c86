// What the skin manager's changes do to the program's windows: a skin
// applied to, removed from or repainted on every form (frozen around the
// change, animated where the skin says so), and the manager's hook of the
// application window. The top unit of the skin engine core: it may use
// every other unit, none of them uses it.
#pragma once

#include "skin/core/skinmanager.h"

namespace kova::skin {

void ApplySkinToAllForms(TsSkinManager* manager, bool allowAnimation);
void RemoveSkinFromAllForms(TsSkinManager* manager);
void RepaintAllForms(TsSkinManager* manager, bool allowAnimation);

}  // namespace kova::skin
