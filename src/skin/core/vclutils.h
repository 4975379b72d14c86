// Walking the control tree and painting controls into device contexts:
// finding a control's form or frame, measuring windows, painting a control
// with its children into a bitmap, painting the windowless children of a
// parent without flicker, and the optional theme library.
#pragma once

#include <windows.h>

#include "framework/controls.h"
#include "framework/forms.h"
#include "framework/graphics.h"

namespace kova::skin {

class TsSkinProvider;
class TacDialogWnd;

using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
// SetWindowTheme of the theme library; nullptr without one.
SetWindowThemeFn SetWindowThemeProc();

POINT CursorPos();
bool CanPaintControl(TControl* control);
TCustomForm* GetParentCustomForm(TControl* control);
UINT AlignmentToTextFlags(TControl* control, int alignment);
RECT GetClientRectInWindow(HWND wnd);
int AlignedControlsSize(TWinControl* control, TAlign align, bool includeGraphic);
HWND GetTopParentWindow(HWND wnd);
void PlaceAfterInParent(TWinControl* parent, TControl* control, TControl* after);
bool IsGraphicControlVisibleInDC(TControl* control, HDC dc);
// A control with its children painted into the bitmap at (x, y).
void CopyParentBackground(TBitmap& bitmap, TControl* control, int x, TsSkinProvider* provider, int y);
void CopyDialogImage(TacDialogWnd* dialog, bool wholeWindow, TBitmap& bitmap);
void PaintGraphicControls(HDC dc, TWinControl* parent, bool onlyWhenVisible, POINT offset);

}  // namespace kova::skin
