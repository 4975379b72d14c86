// Pictures of skinned forms, dialogs and controls as they look now: what
// animations fade and overlays show in their place.
#pragma once

#include "framework/controls.h"
#include "framework/graphics.h"

namespace kova::skin {

class TsSkinProviderBase;
class TacDialogWndBase;

// A control with its children painted into the bitmap at (x, y); a hidden
// control gets what its parent shows under it instead.
void CopyParentBackground(TBitmap& bitmap, TControl* control, int x, TsSkinProviderBase* provider, int y);
// A skinned dialog's look (its whole window, or its client area with the
// child windows) into the bitmap at the dialog's client offset.
void CopyDialogImage(TacDialogWndBase* dialog, bool wholeWindow, TBitmap& bitmap);

}  // namespace kova::skin
