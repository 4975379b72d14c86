#include "skin/core/formimages.h"

#include <algorithm>

#include "skin/core/dc/dcpaint.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/providerbase.h"
#include "skin/core/skinmessage.h"
#include "skin/core/vclutils.h"

namespace kova::skin {

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
