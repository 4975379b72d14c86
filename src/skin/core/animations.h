// Skinned forms and dialogs appear, disappear and change skin with short
// animations: the window's finished look is painted into a 32-bit picture
// and shown in a layered overlay that fades (and, in the aero mode, grows
// or shrinks) before the real window takes its place. Show and skin-change
// animations run to completion inside the call; a hide animation is driven
// by a window timer and outlives its call.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "framework/forms.h"
#include "framework/graphics.h"
#include "skin/core/model/effects.h"

namespace kova::skin {

class TsSkinProviderBase;
class TacDialogWndBase;

void AnimateFormShow(TsSkinProviderBase* provider, std::uint16_t time, std::uint8_t maxAlpha, TacAnimType mode);
void AnimateDialogShow(TacDialogWndBase* dialog, std::uint16_t time, std::uint8_t maxAlpha, TacAnimType mode);
// True when it left the control repainted whole (the caller need not
// redraw it again).
bool AnimateFormSkinChange(TControl* control, std::uint16_t time, std::uint8_t maxAlpha, TacAnimType mode);
void AnimateFormHide(TsSkinProviderBase* provider);
void AnimateDialogHide(TacDialogWndBase* dialog);
// Takes the window (a form, freed at the end) and the picture.
void StartHideAnimation(TForm* window, std::unique_ptr<TBitmap> image, std::uint16_t time, TacAnimType mode,
                        std::uint8_t maxAlpha);
// True while a hide animation still fades its window.
bool HideAnimationRunning();

// A borderless, topmost, never activated form over the window (tag of the
// skinning units' own windows), not yet shown; the caller owns it.
TForm* CreateWindowSnapshotForm(HWND wnd);
// Makes the window layered when needed and shows the bitmap (32-bit, its
// own alpha) with the constant alpha, at the point or where it is. With a
// dirty rectangle (bitmap coordinates) only that part is taken over and the
// rest of the window's picture stays: the bitmap must be of the window's
// size, and the push costs the rectangle's pixels instead of the whole.
void UpdateLayeredBitmap(HWND wnd, TBitmap* bitmap, std::uint8_t alpha, const POINT* dest,
                         const RECT* dirty = nullptr);
// The system's push (the indirect entry when a dirty rectangle is given and
// the system has it; else the whole picture): what the animations' output
// does when no one replaced it.
BOOL SystemUpdateLayered(HWND wnd, HDC screenDC, POINT* dest, SIZE* size, HDC sourceDC, POINT* sourcePoint,
                         COLORREF key, BLENDFUNCTION* blend, DWORD flags, const RECT* dirty);

}  // namespace kova::skin
