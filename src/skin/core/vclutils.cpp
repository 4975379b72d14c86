#include "skin/core/vclutils.h"

#include <algorithm>
#include <vector>

#include "framework/portable/scope.h"
#include "framework/comctrls.h"
#include "framework/stdctrls.h"
#include "skin/core/dc/dcpaint.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/skinmessage.h"

namespace kova::skin {

namespace {

bool paintingGraphicControls = false;

}  // namespace

void CopyPixels(PixelBuffer32& to, RECT r, const PixelBuffer32& from, POINT src) {
    for (int y = std::max<LONG>(r.top, 0); y < r.bottom && y < to.Height(); ++y) {
        const int sy = src.y + (y - r.top);
        if (sy < 0 || sy >= from.Height()) continue;
        for (int x = std::max<LONG>(r.left, 0); x < r.right && x < to.Width(); ++x) {
            const int sx = src.x + (x - r.left);
            if (sx >= 0 && sx < from.Width()) to.ScanLine(y)[x] = from.ScanLine(sy)[sx];
        }
    }
}

namespace {

TWinControl* Windowed(TControl* c) { return c != nullptr && c->IsWindowed() ? static_cast<TWinControl*>(c) : nullptr; }

void PrintWindowed(HDC dc, TWinControl* w) {
    if (!w->HandleAllocated()) return;
    const HWND h = w->Handle();
    // A skinned control's record knows the DC it is printed into while
    // printing. Framework controls print their client area as they paint
    // it, window-less children included.
    const bool skinned = SkinCommandAnswered(h, scQuerySupport);
    if (skinned) SendSkinCommand(h, scSetLinkedObject, reinterpret_cast<LPARAM>(dc));
    SendMessageA(h, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    if (skinned) SendSkinCommand(h, scSetLinkedObject, 0);
}

}  // namespace

void PaintWindowedTree(HDC dc, TWinControl* w) {
    PrintWindowed(dc, w);
    // The window is printed with its frame: children sit at the client
    // area's place in it (a caption and borders move them right and down).
    const RECT client = w->HandleAllocated() ? GetClientRectInWindow(w->Handle()) : RECT{};
    for (int i = 0; i < w->ControlCount(); ++i) {
        TWinControl* child = Windowed(w->Controls(i));
        if (!child || !child->Visible() || !child->HandleAllocated()) continue;
        TSavedDC saved(dc);
        {
            const bool moves = !(child->Is<TCustomForm>() && !child->Parent());
            TDCOriginShift shift(dc, moves ? client.left + child->Left() : 0, moves ? client.top + child->Top() : 0);
            PaintWindowedTree(dc, child);
        }
        saved.Restore();
    }
}

void PrintWindowTree(HWND wnd, HDC dc) {
    // Without PRF_CHILDREN: not every system prints children, so they are
    // walked here, the same way everywhere.
    SendMessageA(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    const RECT client = GetClientRectInWindow(wnd);
    PaintChildWindows(wnd, dc, client.left, client.top);
}

void PaintChildWindows(HWND parent, HDC dc, int dx, int dy) {
    HWND child = GetWindow(parent, GW_CHILD);
    if (!child) return;
    // Bottom of the z-order first, so that upper windows end on top.
    for (HWND c = GetWindow(child, GW_HWNDLAST); c; c = GetWindow(c, GW_HWNDPREV)) {
        if (!IsWindowVisible(c)) continue;
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        TSavedDC saved(dc);
        {
            TDCOriginShift shift(dc, dx + r.left, dy + r.top);
            PrintWindowTree(c, dc);
        }
        saved.Restore();
    }
}

POINT CursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

bool CanPaintControl(TControl* control) {
    if (!control) return false;
    if (TWinControl* w = Windowed(control); w && !w->HandleAllocated()) return false;
    if (control->ComponentState() & (csLoading | csReading | csDestroying)) return false;
    return control->Parent() != nullptr;
}

namespace {
template <class T>
T* NearestOwner(TControl* control) {
    for (TComponent* c = control; c; c = c->Owner())
        if (auto* found = dynamic_cast<T*>(c)) return found;
    return nullptr;
}
}  // namespace

TCustomForm* GetParentCustomForm(TControl* control) { return NearestOwner<TCustomForm>(control); }
TCustomFrame* GetParentFrame(TControl* control) { return NearestOwner<TCustomFrame>(control); }

UINT AlignmentToTextFlags(TControl*, int alignment) {
    // The framework has no right-to-left reading: the flags stay as they are.
    const UINT horizontal = alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
    return horizontal | DT_EXPANDTABS | DT_VCENTER;
}

RECT GetClientRectInWindow(HWND wnd) {
    RECT w{}, c{};
    GetWindowRect(wnd, &w);
    GetClientRect(wnd, &c);
    POINT p{0, 0};
    ClientToScreen(wnd, &p);
    OffsetRect(&c, p.x - w.left, p.y - w.top);
    return c;
}

int AlignedControlsSize(TWinControl* control, TAlign align, bool includeGraphic) {
    if (!control || (align != alTop && align != alBottom && align != alLeft && align != alRight)) return 0;
    int sum = 0;
    for (int i = 0; i < control->ControlCount(); ++i) {
        TControl* c = control->Controls(i);
        if (!c->Visible() || c->Align() != align || (!c->IsWindowed() && !includeGraphic)) continue;
        sum += align == alTop || align == alBottom ? c->Height() : c->Width();
    }
    return sum;
}

HWND GetTopParentWindow(HWND wnd) {
    for (HWND p = GetParent(wnd); p; p = GetParent(wnd)) wnd = p;
    return wnd;
}

void PlaceAfterInParent(TWinControl* parent, TControl* control, TControl* after) {
    if (!parent || !control || control->Parent() != parent || control == after) return;
    // The children that must stay behind the control, in their order.
    std::vector<TControl*> behind;
    bool found = after == nullptr;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (found && c != control) behind.push_back(c);
        if (c == after) found = true;
    }
    if (!found) return;
    control->BringToFront();
    for (TControl* c : behind) c->BringToFront();
}

bool IsGraphicControlVisibleInDC(TControl* control, HDC dc) {
    if (!control || control->IsWindowed() || !control->Visible() || control->Width() < 1 || control->Height() < 1 ||
        control->IsDestroying())
        return false;
    const RECT r = control->BoundsRect();
    return RectVisible(dc, &r) != FALSE;
}

void PaintGraphicControls(HDC dc, TWinControl* parent, bool onlyWhenVisible, POINT offset) {
    if (paintingGraphicControls || !parent) return;
    if (onlyWhenVisible && !parent->Visible()) return;
    const TFlagScope painting(paintingGraphicControls, true);
    if (parent->ControlCount() == 0) return;
    RECT clip{};
    if (GetClipBox(dc, &clip) == NULLREGION || clip.right <= clip.left || clip.bottom <= clip.top) {
        parent->Perform(SkinCommandMessage, SkinCommand(scSetCacheIncomplete), 0);
        return;
    }
    TsBackgroundInfo bg;
    bg.R = {0, 0, parent->Width(), parent->Height()};
    QueryParentBackgroundInfo(bg, parent, false);

    const int w = std::max(parent->Width(), 1), h = std::max(parent->Height(), 1);
    TBitmap buffer;
    std::vector<TControl*> painted;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* child = parent->Controls(i);
        if (!IsGraphicControlVisibleInDC(child, dc)) continue;
        HDC bdc = nullptr;
        if (painted.empty()) {
            buffer.SetSize(w, h);
            bdc = buffer.Canvas()->Handle();
            // What lies under every visible windowless child first.
            for (int j = 0; j < parent->ControlCount(); ++j) {
                TControl* c = parent->Controls(j);
                if (c->IsWindowed() || !c->Visible()) continue;
                const RECT b = c->BoundsRect();
                if (bg.BgType == 2 && bg.Bmp) {
                    GdiFlush();
                    CopyPixels(buffer.Pixels(), b, *bg.Bmp, {bg.Offset.X + b.left, bg.Offset.Y + b.top});
                } else {
                    FillRectSolid(bdc, b, bg.Color);
                }
            }
        }
        bdc = buffer.Canvas()->Handle();
        TSavedDC saved(bdc);
        const RECT b = child->BoundsRect();
        if (!RectVisible(bdc, &b)) SendSkinCommandToControl(child, scSetCacheIncomplete, 0);
        {
            TDCOriginShift shift(bdc, b.left, b.top);
            IntersectClipRect(bdc, 0, 0, child->Width(), child->Height());
            child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bdc), 0);
        }
        saved.Restore();
        painted.push_back(child);
    }
    if (painted.empty()) return;
    GdiFlush();
    HDC bdc = buffer.Canvas()->Handle();
    for (TControl* c : painted) {
        const RECT b = c->BoundsRect();
        // A child that left its corner in the key colour is transparent.
        if (b.left >= 0 && b.top >= 0 && b.left < w && b.top < h &&
            (buffer.Pixels().ScanLine(b.top)[b.left] & 0xFFFFFF) == 0xFF00FF)
            continue;
        BitBlt(dc, b.left + offset.x, b.top + offset.y, b.right - b.left, b.bottom - b.top, bdc, b.left, b.top,
               SRCCOPY);
    }
}

}  // namespace kova::skin
