#include "skin/forms/formhandler.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

#include "framework/handles.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinstate.h"
#include "skin/core/vclutils.h"
#include "skin/forms/captionmouse.h"
#include "skin/forms/formhelpers.h"
#include "skin/forms/mdiform.h"
#include "skin/forms/framepaint.h"
#include "skin/forms/provider.h"

namespace kova::skin {

namespace {

// Sub-code a child asks its form's client offset with (x low word, y high).
constexpr int kClientOffsetQuery = 61;

HWND Wnd(TsSkinProvider& p) { return p.Form->Handle(); }

bool FormSkinned(TsSkinProvider& p) {
    return p.Form && !p.Form->IsDestroying() && p.Form->HandleAllocated() && p.SkinData &&
           p.SkinData->IsSkinned(true);
}

bool FormShowing(TsSkinProvider& p) {
    return p.Form && p.Form->HandleAllocated() && p.Form->Showing() && IsWindowVisible(Wnd(p));
}

// The answer to sub-code 34: what lies under a child of the form.
void BackgroundInfo(TsSkinProvider& p, TsBackgroundInfo& info) {
    info.Offset = {0, 0};
    TsCommonData& d = *p.SkinData;
    if (d.BGChanged && (!d.Updating || p.PaintSuspended) && d.RepaintsWithParent()) p.PaintNonClientCache();
    const int ox = p.ClientOffsetX(), oy = p.ClientOffsetY();
    if (info.PleaseDraw) {
        info.Offset.X += ox;
        info.Offset.Y += oy;
    }
    const TsGeneralData* s = d.Section();
    const int state = s ? std::min(p.FormActive ? 1 : 0, std::max(s->States - 1, 0)) : 0;
    d.FillBackgroundInfo(info, state, p.Form->HandleAllocated() ? Wnd(p) : nullptr);
    if (info.BgType == 2 && !info.PleaseDraw && !info.Bmp) {
        p.PaintNonClientCache();
        if (d.CacheBmp) info.Bmp = &d.CacheBmp->Pixels();
    }
    info.Offset.X += ox;
    info.Offset.Y += oy;
}

// Answers of the skin command that hold in every state of the form; true
// when answered.
bool AnyStateCommand(TsSkinProvider& p, TMessage& m) {
    switch (SkinSubCode(m.WParam)) {
        case scQueryBgInfo:
            if (!p.SkinData || !p.Form) return false;
            if (m.LParam) BackgroundInfo(p, *reinterpret_cast<TsBackgroundInfo*>(m.LParam));
            return true;
        case kClientOffsetQuery:
            if (!p.Form || !p.Form->HandleAllocated()) return false;
            m.Result = static_cast<LRESULT>(static_cast<std::uint32_t>(MAKELONG(p.ClientOffsetX(), p.ClientOffsetY())));
            return true;
        default:
            return false;
    }
}

bool SkinnedCommand(TsSkinProvider& p, TMessage& m) {
    switch (SkinSubCode(m.WParam)) {
        case scParentFormNotify:
            // A new windowed control: the child adapter takes it (with child
            // adaptation; until then there is no adapter and nothing to do).
            if (!p.Form->IsLoading() && p.Adapter) p.CreateCtrlAdapter();
            return true;
        case scHotLeave:
            p.SetHotButton(0, true);
            ButtonPressed = false;
            return true;
        default:
            return false;
    }
}

// Moves that come from the user or the program snap to the work area's
// edges when the provider asks for it.
void SnapPosition(TsSkinProvider& p, TMessage& m) {
    auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
    if (!wp || !p.Form || IsZoomed(Wnd(p)) || (wp->flags & SWP_NOMOVE) || (wp->x == 0 && wp->y == 0)) return;
    if (!p.ScreenSnap || !FormShowing(p)) return;
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoA(MonitorFromWindow(Wnd(p), MONITOR_DEFAULTTONEAREST), &mi);
    const RECT& w = mi.rcWork;
    int d = 0, top = 0;
    if (p.BorderForm) {
        TsSkinManager* manager = p.SkinData->GetSkinManager();
        const int align = manager ? manager->Model().SkinData().AlignOffset : 0;
        d = ExtendedBorderDiff(p.BorderForm) + align;
        top = -(ExtendedTitleDiff(p.BorderForm) + align);
    }
    const int width = (wp->flags & SWP_NOSIZE) ? WindowWidth(Wnd(p)) : wp->cx;
    const int height = (wp->flags & SWP_NOSIZE) ? WindowHeight(Wnd(p)) : wp->cy;
    wp->x = SnapToEdge(wp->x, w.right, p.SnapBuffer, width + d);
    wp->y = SnapToEdge(wp->y, w.bottom, p.SnapBuffer, height + d);
    wp->x = SnapToEdge(wp->x, w.left, p.SnapBuffer, -d);
    wp->y = SnapToEdge(wp->y, w.top, p.SnapBuffer, top);
}

// The frame painted from the skin instead of the system's: the cache's
// strips around the client area on the window DC. Whenever the form is in a
// state that must not show a half-made frame, nothing is painted and the
// system's painting is kept out too (it would draw its own frame over ours).
void NCPaint(TsSkinProvider& p, TMessage& m) {
    if (!p.SystemMenu) p.PrepareForm();
    TsCommonData& d = *p.SkinData;
    if (d.UpdateCount != 0 || (p.FormState & 0x200)) return;
    if (IsIconic(Wnd(p))) d.BGChanged = true;
    if (p.AnimPending || !FormShowing(p) || p.IsLoading() || p.Form->IsLoading() || p.Form->IsDestroying() ||
        !p.SystemMenu)
        return;
    if (!p.Adapter) p.CreateCtrlAdapter();
    TsSkinManager* manager = d.GetSkinManager();
    if (!d.CacheBmp && manager) p.UpdateBorderForm(manager->ExtendedBorders());
    if (!p.RegionLocked && p.RegionChanged) {
        if (!p.BorderForm) p.InitRegionRects();
        p.UpdateRegion(false);
    }
    d.Updating = false;
    if (!d.CacheBmp) d.BGChanged = true;
    {
        TWindowDC dc(Wnd(p), TDCArea::Window);
        TSavedDC saved(dc.Get());
        PaintFrameStrips(p, dc.Get());
    }
    p.RegionLocked = false;
    m.Result = 0;
}

// Activation: the state and the frame follow at once, and the system's
// activation handling runs without drawing its own frame (-1 in LParam).
void NCActivate(TsSkinProvider& p, TMessage& m) {
    if (!p.SystemMenu) p.PrepareForm();
    p.FormState |= 0x8000;
    const bool active = m.WParam != 0;
    if (!(p.FormState & 0x80)) {
        if (active != p.FormActive) {
            p.SkinData->BGChanged = true;
            p.MenuLineCount = -1;
        }
        p.FormActive = active;
    }
    p.SkinData->BGChanged = true;
    p.SkinData->Updating = false;
    TMessage quiet{m.Msg, m.WParam, static_cast<LPARAM>(-1), 0};
    p.CallOldWndProc(quiet);
    // Refusing would keep the form from losing the activation.
    m.Result = TRUE;
    p.FormState &= ~0x8000;
    if (FormShowing(p)) {
        TMessage paint{WM_NCPAINT, 0, 0, 0};
        NCPaint(p, paint);
    }
}

// A new caption: the system would draw its own caption with the text, so
// the top of the frame is covered while it does, then painted from a fresh
// cache.
void SetText(TsSkinProvider& p, TMessage& m) {
    p.TempBmp.reset();
    p.CaptionBmp.reset();
    p.SkinData->BGChanged = true;
    p.ShowMenuCover(false);
    p.CallOldWndProc(m);
    p.HideMenuCover();
    p.SkinData->BGChanged = true;
    SendMessageA(Wnd(p), WM_NCPAINT, 0, 0);
}

// A picture of the window: the frame from the cache, the rest printed as
// the form prints it.
void Print(TsSkinProvider& p, TMessage& m) {
    const HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (dc && (m.LParam & PRF_NONCLIENT) && (!(m.LParam & PRF_CHECKVISIBLE) || IsWindowVisible(Wnd(p)))) {
        TSavedDC saved(dc);
        PaintFrameStrips(p, dc);
    }
    TMessage rest{m.Msg, m.WParam, m.LParam & ~static_cast<LPARAM>(PRF_NONCLIENT), 0};
    // Asked without the frame, the system prints the client area at the
    // DC's origin: the origin moves to the client area's place first.
    const RECT client = dc && (m.LParam & PRF_NONCLIENT) ? GetClientRectInWindow(Wnd(p)) : RECT{};
    {
        const TDCOriginShift shift(dc, client.left, client.top);
        p.CallOldWndProc(rest);
    }
    m.Result = rest.Result;
}

}  // namespace

int SnapToEdge(int pos, int edge, int buffer, int size) {
    if (buffer > std::abs(pos + size - edge)) return edge - size;
    return pos;
}

bool HandleFormMessage(TsSkinProvider& p, TMessage& m) {
    if (p.Inactive || !p.Form) return false;
    if (IsSkinCommand(m)) {
        if (AnyStateCommand(p, m)) return true;
        return FormSkinned(p) && SkinnedCommand(p, m);
    }
    if (!FormSkinned(p)) return false;
    switch (m.Msg) {
        case WM_NCHITTEST:
            CaptionHitTestMsg(p, m);
            return true;
        case WM_NCMOUSEMOVE:
            NCMouseMove(p, m);
            return true;
        case WM_NCLBUTTONDOWN:
            NCButtonDown(p, m);
            return true;
        case WM_NCLBUTTONUP:
        case WM_LBUTTONUP:
            NCButtonUp(p, m);
            return true;
        case WM_NCLBUTTONDBLCLK:
            NCDoubleClick(p, m);
            return true;
        case WM_NCRBUTTONDOWN:
            if (m.WParam == HTCAPTION || m.WParam == HTSYSMENU) return true;
            return false;
        case WM_NCRBUTTONUP: {
            if (!p.HasBorder()) return false;
            const POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
            m.WParam = static_cast<WPARAM>(FormHitTest(p, at));
            if (m.WParam == HTCAPTION || m.WParam == HTSYSMENU) {
                p.SetHotButton(0, true);
                ButtonPressed = false;
                p.ShowSysMenuAt(at.x, at.y);
                return true;
            }
            return false;
        }
        case WM_SYSCOMMAND:
            SysCommand(p, m);
            return true;
        case WM_INITMENUPOPUP:
            // Size is greyed in a system menu popup; the form's own popup
            // handling still runs (a swallowed message would leave its
            // menus without their update).
            if (HIWORD(m.LParam) && p.SkinData->GetSkinManager() && p.SkinData->GetSkinManager()->SkinnedPopups())
                EnableMenuItem(reinterpret_cast<HMENU>(m.WParam), SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
            p.CallOldWndProc(m);
            return true;
        case WM_ENTERIDLE:
            m.Result = 0;
            return true;
        case WM_PRINTCLIENT:
            return true;
        case WM_MOUSEMOVE:
            MouseMove(p, m);
            return true;
        case WM_CAPTURECHANGED:
            CaptureLost(p);
            return false;
        case WM_MOUSELEAVE:
        case CM_MOUSELEAVE:
            p.SetHotButton(0, true);
            ButtonPressed = false;
            return false;
        case 0x313: {  // the task bar asks for the window menu
            POINT at;
            GetCursorPos(&at);
            p.ShowSysMenuAt(at.x, at.y);
            return true;
        }
        case WM_MOVE:
            p.FreeButtonCaches();
            return false;
        case WM_SIZE:
            p.TempBmp.reset();
            p.CaptionBmp.reset();
            p.MenuLineCount = -1;
            p.CallOldWndProc(m);
            // The region follows the new size at once: one of the old size
            // would cut a maximised form down to where it was.
            if (p.DrawNonClientArea && p.HasBorder() && FormShowing(p) && !p.RegionLocked) {
                p.RegionChanged = true;
                p.SkinData->BGChanged = true;
                p.InitRegionRects();
                p.UpdateRegion(false);
                p.RepaintNonClient();
            }
            return true;
        case WM_WINDOWPOSCHANGING:
            if (!p.RegionLocked && !p.IsLoading()) SnapPosition(p, m);
            return false;
        case WM_WINDOWPOSCHANGED:
            if (p.DrawNonClientArea) {
                TsSkinManager* manager = p.SkinData->GetSkinManager();
                const TsSkinData& s = manager->Model().SkinData();
                const int maxHeight = s.MaxHeight != 0 ? s.MaxHeight : s.TitleHeight;
                p.UseSysCaption = p.BorderForm && IsZoomed(Wnd(p)) && maxHeight < GetSysCaptionHeight(p.Form) + 4;
            }
            return false;
        case WM_MDIACTIVATE:
            if (p.Form->FormStyle() != fsMDIChild) return false;
            p.CallOldWndProc(m);
            MDIChildActivated(p, m);
            return true;
        case WM_ACTIVATE:
            p.CallOldWndProc(m);
            if (FormShowing(p) && LOWORD(m.WParam) != WA_INACTIVE && p.SystemMenu) p.SystemMenu->RefreshItems(false);
            return true;
        case WM_NCACTIVATE:
            if (!p.DrawNonClientArea) return false;
            NCActivate(p, m);
            return true;
        case WM_NCPAINT:
            // With extended borders the border window shows the frame.
            if (!p.DrawNonClientArea || p.BorderForm) return false;
            NCPaint(p, m);
            return true;
        case WM_SETTEXT:
            if (!p.DrawNonClientArea || !FormShowing(p) || (p.Form->ControlState() & csCreating)) return false;
            SetText(p, m);
            return true;
        case WM_PRINT:
            if (!p.DrawNonClientArea) return false;
            Print(p, m);
            return true;
        default:
            return false;
    }
}

void RefreshMDIMainFrame(bool repaint) {
    // A child maximised, restored, minimised, activated or closed changes
    // the frame's menu bar (the child's icon and buttons come and go) and
    // what of the MDI area shows: the menu line is counted again, the frame
    // composed afresh and the client repainted from it.
    TsSkinProvider* mdi = MDIProvider;
    if (!mdi || mdi->IsDestroying() || !mdi->Form || mdi->Form->IsDestroying() || !mdi->Form->HandleAllocated())
        return;
    if (auto* form = dynamic_cast<TsMDIForm*>(mdi->MDIForm.get())) form->ConnectToClient();
    mdi->MenuLineCount = -1;
    mdi->FullRepaint = true;
    mdi->SkinData->BGChanged = true;
    if (!repaint) return;
    SendMessageA(mdi->Form->Handle(), WM_NCPAINT, 0, 0);
    if (const HWND client = mdi->Form->ClientHandle())
        RedrawWindow(client, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

}  // namespace kova::skin
