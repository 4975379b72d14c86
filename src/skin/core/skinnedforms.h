// The forms that own a skin provider, in order of registration, and what
// the skin manager does with all of them together around a skin change:
// freeze their repainting so that no half-skinned window is ever seen,
// then unfreeze and repaint (or animate) them, and deliver broadcasts.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/forms.h"
#include "skin/core/skinstate.h"

namespace kova::skin {

class TsSkinManager;

// Before a skin is loaded: the manager's visible top-level forms keep a
// picture of their current look and count as animating.
void FreezeFormsForSkinChange(TsSkinManager* manager);
// Stops the repainting of the manager's forms.
void LockFormsRepaint(TsSkinManager* manager);
// Switches repainting back on for the forms that were locked, repainting
// (or animating) them with repaint set.
void UnlockFormsRepaint(TsSkinManager* manager, bool repaint);

// The message to every form of the program that is not skinned (with its
// controls), then to the skinned forms.
void BroadcastToAllForms(TMessage& m);
// The message to every skinned form with its controls, then to the visible
// dialogs skinned through the thread hook.
void BroadcastToSkinnedForms(TMessage& m);

// The small and the large shell icon of the program's executable, for
// captions of forms without an icon of their own; nullptr when the shell
// gives none. Loaded on first use, released at the end of the program.
HICON AppIconSmall();
HICON AppIconLarge();

}  // namespace kova::skin
