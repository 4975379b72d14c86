// Walking the control tree and painting controls into device contexts:
// finding a control's form, measuring windows, painting a control with its
// children into a bitmap, painting the windowless children of a parent
// without flicker, and the optional theme library.
#pragma once

#include <windows.h>

#include "framework/controls.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/portable/pixelbuffer.h"

namespace kova::skin {

// The mouse position in screen coordinates.
POINT CursorPos();
// False for nothing, a windowed control without its window, a control
// being read, loaded or destroyed, or one without a Parent.
bool CanPaintControl(TControl* control);
// The nearest form (frame) in the Owner chain, the control itself included;
// nullptr when there is none.
TCustomForm* GetParentCustomForm(TControl* control);
TCustomFrame* GetParentFrame(TControl* control);
// DrawText flags for an alignment (a TAlignment value), vertically centred
// with tabs expanded.
UINT AlignmentToTextFlags(TControl* control, int alignment);
// The client area of a window in window coordinates.
RECT GetClientRectInWindow(HWND wnd);
// The summed heights (alTop, alBottom) or widths (alLeft, alRight) of the
// visible children aligned so; windowless children only when asked; 0 for
// any other alignment.
int AlignedControlsSize(TWinControl* control, TAlign align, bool includeGraphic);
// The top-most ancestor of a window (the window itself when it has none).
HWND GetTopParentWindow(HWND wnd);
// Puts the control right after `after` in the parent's child order.
void PlaceAfterInParent(TWinControl* parent, TControl* control, TControl* after);
// A visible windowless control with an area, not being destroyed, whose
// bounds the DC shows.
bool IsGraphicControlVisibleInDC(TControl* control, HDC dc);
// The parent's windowless children painted into the DC through one
// off-screen buffer (no flicker), at their bounds plus offset. Re-entry
// does nothing; an empty clip box marks the parent's cache incomplete.
// A window with its visible child windows printed into the DC whose origin
// is the window's top left.
void PrintWindowTree(HWND wnd, HDC dc);
// The visible child windows of parent printed into the DC at their places
// in parent's client area, moved by (dx, dy); the bottom of the z-order
// first.
void PaintChildWindows(HWND parent, HDC dc, int dx = 0, int dy = 0);
void PaintGraphicControls(HDC dc, TWinControl* parent, bool onlyWhenVisible, POINT offset);

// A windowed control printed into the DC whose origin is its top left,
// then its visible windowed children at their places, recursively.
void PaintWindowedTree(HDC dc, TWinControl* w);
// Pixels of `from` starting at src copied into r of `to`, cut to both.
void CopyPixels(PixelBuffer32& to, RECT r, const PixelBuffer32& from, POINT src);

// Moves the DC's origin by (dx, dy) for as long as it lives.
class TDCOriginShift {
public:
    TDCOriginShift(HDC dc, int dx, int dy) : dc_(dc) {
        GetViewportOrgEx(dc_, &old_);
        SetViewportOrgEx(dc_, old_.x + dx, old_.y + dy, nullptr);
    }
    ~TDCOriginShift() { SetViewportOrgEx(dc_, old_.x, old_.y, nullptr); }
    TDCOriginShift(const TDCOriginShift&) = delete;
    TDCOriginShift& operator=(const TDCOriginShift&) = delete;

private:
    HDC dc_;
    POINT old_{};
};

}  // namespace kova::skin
