#include "skin/core/formimages.h"

#include <algorithm>

#include "skin/core/dc/dcpaint.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/providerbase.h"
#include "skin/core/skinmessage.h"
#include "skin/core/vclutils.h"

namespace kova::skin {

namespace {

// An MDI main form's client and its children are no framework controls of
// the form: the client is printed at its place in the form's window, then
// each child as a form of its own, the bottom one first.
void PrintMDIClient(HDC dc, TCustomForm* form) {
    const HWND client = form->ClientHandle();
    RECT fr{}, cr{};
    GetWindowRect(form->Handle(), &fr);
    GetWindowRect(client, &cr);
    const RECT inner = GetClientRectInWindow(client);
    TSavedDC saved(dc);
    {
        TDCOriginShift shift(dc, cr.left - fr.left, cr.top - fr.top);
        SendMessageA(client, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
        for (int i = form->MDIChildCount() - 1; i >= 0; --i) {
            TCustomForm* child = form->MDIChildren(i);
            if (!IsWindowVisible(child->Handle())) continue;
            RECT r{};
            GetWindowRect(child->Handle(), &r);
            MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&r), 2);
            TSavedDC childSaved(dc);
            {
                TDCOriginShift childShift(dc, inner.left + r.left, inner.top + r.top);
                PaintWindowedTree(dc, child);
            }
            childSaved.Restore();
        }
    }
    saved.Restore();
}

}  // namespace

void CopyParentBackground(TBitmap& bitmap, TControl* control, int x, TsSkinProviderBase* provider, int y) {
    if (!control) return;
    HDC dc = bitmap.Canvas()->Handle();
    if (!control->Visible() && control->Parent() && !provider) {
        TsBackgroundInfo bg;
        const RECT b = control->BoundsRect();
        bg.R = {b.left, b.top, b.right, b.bottom};
        QueryParentBackgroundInfo(bg, control->Parent(), false);
        const RECT dest{x, y, x + control->Width(), y + control->Height()};
        if (bg.BgType == 2 && bg.Bmp) {
            // The answer's image, from the control's place in it.
            CopyPixels(bitmap.Pixels(), dest, *bg.Bmp, {bg.Offset.X + control->Left(), bg.Offset.Y + control->Top()});
        } else {
            FillRectSolid(dc, dest, bg.Color);
        }
        return;
    }
    TSavedDC saved(dc);
    const bool border = provider && provider->BorderForm;
    if (!border) IntersectClipRect(dc, 0, 0, control->Width(), control->Height());
    if (control->IsWindowed()) {
        PaintWindowedTree(dc, static_cast<TWinControl*>(control));
        auto* form = dynamic_cast<TCustomForm*>(control);
        if (form && form->FormStyle() == fsMDIForm && form->ClientHandle() && form->HandleAllocated())
            PrintMDIClient(dc, form);
        if (border && provider->Form) {
            const RECT cr = provider->Form->ClientRect();
            const int ox = provider->ClientOffsetX(), oy = provider->ClientOffsetY();
            TRect r{cr.left + ox, cr.top + oy, cr.right + ox, std::min<std::int32_t>(cr.bottom + oy, bitmap.Height() - 1)};
            GdiFlush();
            FillAlphaRect(bitmap.Pixels(), r, 255, false);
        }
    } else {
        SendSkinCommandToControl(control, scSetLinkedObject, reinterpret_cast<LPARAM>(dc));
        control->Perform(WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        SendSkinCommandToControl(control, scSetLinkedObject, 0);
    }
    saved.Restore();
}

void CopyDialogImage(TacDialogWndBase* dialog, bool wholeWindow, TBitmap& bitmap) {
    if (!dialog || !dialog->CtrlHandle) return;
    const HWND h = dialog->CtrlHandle;
    const RECT cr = GetClientRectInWindow(h);
    const int ox = dialog->ClientOffsetX(), oy = dialog->ClientOffsetY();
    const TRect client{ox, oy, ox + cr.right - cr.left, oy + cr.bottom - cr.top};
    if (wholeWindow) {
        {
            const TWindowDC wdc(h, TDCArea::Window);
            const TSavedDC saved(wdc.Get());
            BitBlt(bitmap.Canvas()->Handle(), ox, oy, cr.right - cr.left, cr.bottom - cr.top, wdc.Get(), cr.left,
                   cr.top, SRCCOPY);
        }
        GdiFlush();
        FillAlphaRect(bitmap.Pixels(),
                      {client.Left, client.Top, std::min(client.Right, bitmap.Width()),
                       std::min(client.Bottom, bitmap.Height())},
                      255, false);
        return;
    }
    HDC dc = bitmap.Canvas()->Handle();
    TSavedDC saved(dc);
    {
        TDCOriginShift shift(dc, ox, oy);
        IntersectClipRect(dc, 0, 0, cr.right - cr.left, cr.bottom - cr.top);
        PaintChildWindows(h, dc);
    }
    saved.Restore();
    GdiFlush();
    if (!dialog->BorderForm)
        FillAlphaRect(bitmap.Pixels(), {0, 0, bitmap.Width(), bitmap.Height()}, 255, false);
    else
        FillAlphaRect(bitmap.Pixels(), client, 255, false);
}

}  // namespace kova::skin
