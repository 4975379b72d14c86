// The frame and caption metrics of skinned windows, desktop composition
// (through the skin services' one seam), task-bar thumbnails and live
// previews, layered windows and window snapshots: what the provider, its
// message handler, the caption painter, the border window, the animations
// and the dialog adapter share.
#pragma once

#include <windows.h>

#include "framework/forms.h"
#include "framework/graphics.h"
#include "skin/core/providerbase.h"

namespace kova::skin {

class TsSkinProvider;
class TsSkinManager;

// ---------------------------------------------------------------- metrics

// With checkSkin the skin's border width when the window has a border
// window and the skin gives one; otherwise the system frame of a sizeable
// window, the dialog frame of a bordered one, else 0.
int GetBorderWidth(HWND wnd, TacBorderForm* borderForm, bool checkSkin);
// The system's part of the border: 0 when a border window draws it.
int VisibleSysBorderWidth(HWND wnd, TacBorderForm* borderForm, bool checkSkin);
// The system caption height for the form (the small one of a tool window
// that is not iconic); read once.
int GetSysCaptionHeight(TCustomForm* form);
// The skin's title height and border width for a window with a border
// window; SkinBorderWidth is 0 without one (or without a manager).
int SkinTitleHeight(TacBorderForm* borderForm);
int SkinBorderWidth(TacBorderForm* borderForm);
// How much taller the skinned caption and wider the skinned border are
// than the system's (0 without a border window).
int ExtendedTitleDiff(TacBorderForm* borderForm);
int ExtendedBorderDiff(TacBorderForm* borderForm);
bool HasThickFrame(HWND wnd);
// True for a negative index or a mask of exactly one image.
bool MaskHasSingleImage(int index, TsSkinManager* manager);
int WindowWidth(HWND wnd);
int WindowHeight(HWND wnd);
int ClientWidth(HWND wnd);
int ClientHeight(HWND wnd);

// ---------------------------------------------------- desktop composition

// Every call reports "unavailable" (false, or E_NOTIMPL) where the system
// has no composition; the seam is the skin services' Composition calls.
bool IsDwmCompositionEnabled();
HRESULT SetDwmWindowAttribute(HWND wnd, DWORD attribute, const void* value, DWORD size);
// Transitions force-disabled (attribute 3) while composition is on.
void SetDwmTransitionsDisabled(HWND wnd, bool disable);
// Blur behind the window (over the region when one is given).
HRESULT EnableBlurBehind(HWND wnd, bool enable, HRGN region);
void InvalidateIconicBitmaps(HWND wnd);
// The thumbnail size of a source of w x h within the maxima (aspect ratio
// kept); zero sizes when either is empty.
SIZE IconicThumbnailSize(int w, int h, int maxWidth, int maxHeight);
// Answers the shell's request for a task-bar thumbnail with the provider's
// look; true when handed over.
bool SetIconicThumbnail(HWND wnd, TsSkinProvider* provider, int maxWidth, int maxHeight);
// Answers the shell's request for a peek preview; true when handed over.
bool SetIconicLivePreview(HWND wnd, TsSkinProvider* provider);
// With the task-bar previews on (TaskbarPreviews), tells the shell that the
// window brings its own pictures (or no longer does) and that those it
// holds are stale; nothing while they are off.
void SetIconicBitmapMode(HWND wnd, bool on);

// ------------------------------------------------------ layered windows

// A borderless, topmost, never activated form over the window showing the
// window's current image (printed from the window, so a covered window
// gives its own pixels), layered at full alpha; the caller frees it.
TForm* ShowWindowSnapshotForm(HWND wnd);
// On (with layered windows): a window not yet layered becomes layered at
// alpha 1 (true). Off, or without layered windows: the window loses its
// visible style bit (without being hidden) and its layered style (false).
bool MakeWindowTransparent(HWND wnd, bool on);
HWND FindTrayWindow();

}  // namespace kova::skin
