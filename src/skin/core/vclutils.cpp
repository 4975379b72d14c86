// A first cut: enough for the animations to build on. The rest follows.
#include "skin/core/vclutils.h"

#include "skin/core/provider.h"

namespace kova::skin {

POINT CursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return p;
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

HWND GetTopParentWindow(HWND wnd) {
    for (HWND p = GetParent(wnd); p; p = GetParent(wnd)) wnd = p;
    return wnd;
}

void CopyParentBackground(TBitmap& bitmap, TControl* control, int x, TsSkinProvider*, int y) {
    auto* win = dynamic_cast<TWinControl*>(control);
    if (!win || !win->HandleAllocated()) return;
    HDC dc = bitmap.Canvas()->Handle();
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, x, y, nullptr);
    SendMessageA(win->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    RestoreDC(dc, saved);
}

}  // namespace kova::skin
