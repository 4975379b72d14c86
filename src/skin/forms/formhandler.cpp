#include "skin/forms/formhandler.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "framework/forms.h"
#include "framework/handles.h"
#include "framework/portable/scope.h"
#include "skin/core/dc/dcpaint.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinstate.h"
#include "skin/core/vclutils.h"
#include "skin/forms/autohook.h"
#include "skin/forms/borderform.h"
#include "skin/forms/captionmouse.h"
#include "skin/forms/ctrladapter.h"
#include "skin/forms/formhelpers.h"
#include "skin/forms/mdiform.h"
#include "skin/forms/framepaint.h"
#include "skin/forms/provider.h"

namespace kova::skin {

namespace {

// Sub-code a child asks its form's client offset with (x low word, y high).
constexpr int kClientOffsetQuery = 61;

// A page control's page changed (its controls' windows may be new).
constexpr UINT kPageChangedNotify = static_cast<UINT>(-551);

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

// A control and the windowed controls inside it (a page control's page
// shown the first time has just made its controls' windows).
void AdaptTree(TacCtrlAdapter& a, TWinControl* w) {
    if (!w->HandleAllocated()) return;
    if (a.IsControlSupported(w)) a.AddControl(w);
    for (int i = 0; i < w->ControlCount(); ++i)
        if (w->Controls(i)->IsWindowed()) AdaptTree(a, static_cast<TWinControl*>(w->Controls(i)));
}

bool SkinnedCommand(TsSkinProvider& p, TMessage& m) {
    switch (SkinSubCode(m.WParam)) {
        case scParentFormNotify: {
            // A new windowed control (in LParam), or windows made anew
            // somewhere on the form (none): the adapter takes them. The
            // adapter itself stays: a new one would free the adapters of
            // every control, the sender's among them, while it waits here.
            p.AdaptPending = false;
            if (p.Form->IsLoading() || !p.Adapter) return true;
            auto* a = static_cast<TacCtrlAdapter*>(p.Adapter.get());
            if (auto* c = dynamic_cast<TWinControl*>(reinterpret_cast<TControl*>(m.LParam))) {
                AdaptTree(*a, c);
            } else {
                a->AdaptChildren(nullptr);
            }
            return true;
        }
        case scHotLeave:
            p.SetHotButton(0, true);
            ButtonPressed = false;
            return true;
        case scEndParentUpdate:
            // The form's own parent has painted: the form's turn.
            if (p.SkinData->Updating) {
                p.SkinData->Updating = false;
                RedrawWindow(Wnd(p), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
            }
            return true;
        case scQueryUpdating:
            // A child waits only while the form's own background is held
            // back; a stale cache is rebuilt by the form's paint before the
            // children's (and they are told so with sub-code 6).
            m.Result = !FormAnimating && p.SkinData->RepaintsWithParent() && p.SkinData->Updating ? 1 : 0;
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
    if (p.BorderForm) {
        BorderNCPaint(p);
        p.RegionLocked = false;
        m.Result = 0;
        return;
    }
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

// The session ends: no new work that would show windows starts from now
// on, and the work under way gets a bounded time to finish (its messages
// run meanwhile). The form's own answer follows; the provider (and the
// form) may be gone after the wait.
void EndSession(TsSkinProvider& p, TMessage& m) {
    SkinShuttingDown = true;
    const HWND wnd = Wnd(p);
    if (!Application()->Terminated() && SkinBusyCount() > 0)
        WaitWithMessages(kEndSessionWaitMs, [&] { return SkinBusyCount() <= 0 || !ProviderStillOnForm(wnd, &p); });
    if (ProviderStillOnForm(wnd, &p)) {
        p.CallOldWndProc(m);
    } else {
        // The form's own procedure answers now that no provider stands in
        // front of it; a window gone has nothing to keep.
        m.Result = IsWindow(wnd) ? SendMessageA(wnd, WM_QUERYENDSESSION, m.WParam, m.LParam) : TRUE;
    }
}

// A new icon: the system repaints its own caption when it takes one, so
// its drawing is held off while it does, and the skinned caption is
// painted with the icon from a fresh cache. A form whose drawing somebody
// else holds off already is left so (our release would end their hold).
// False when the message is simply passed on.
bool SetIcon(TsSkinProvider& p, TMessage& m) {
    if (p.IsLoading() || p.Form->IsLoading() || m.LParam == 0 || FormAnimating || !FormShowing(p)) return false;
    p.TempBmp.reset();
    p.CaptionBmp.reset();
    const bool hold = !IsDwmCompositionEnabled() && p.RedrawLock == 0;
    if (hold) SendMessageA(Wnd(p), WM_SETREDRAW, FALSE, 0);
    p.CallOldWndProc(m);
    if (hold) SendMessageA(Wnd(p), WM_SETREDRAW, TRUE, 0);
    if (p.RedrawLock == 0) p.RepaintNonClient();
    return true;
}

// The wheel turned over a control of the form that does not hold the
// focus reaches the form (the focused control passes it up to its parents):
// it goes to the deepest control under the mouse instead. What that control
// passes up again is the form's own (the form scrolls then). True when the
// control under the mouse answered.
bool WheelToControlUnderMouse(TsSkinProvider& p, TMessage& m) {
    static bool routing = false;
    if (routing || !p.Form->HandleAllocated()) return false;
    const POINT screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    HWND target = nullptr;
    for (HWND at = Wnd(p);;) {
        POINT local = screen;
        ScreenToClient(at, &local);
        const HWND child = ChildWindowFromPointEx(at, local, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT);
        if (!child || child == at) break;
        target = at = child;
    }
    if (!target) return false;
    // The focused control (or one around it) had the wheel first.
    if (const HWND focus = GetFocus(); focus && (focus == target || IsChild(target, focus))) return false;
    const TFlagScope scope(routing, true);
    m.Result = SendMessageA(target, WM_MOUSEWHEEL, m.WParam, m.LParam);
    return true;
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

bool HasVisibleGraphicChild(TWinControl* w) {
    for (int i = 0; i < w->ControlCount(); ++i)
        if (!w->Controls(i)->IsWindowed() && w->Controls(i)->Visible()) return true;
    return false;
}

// An MDI child other than the maximised active one paints nothing of its
// own while one is maximised (the maximised one covers the area).
bool HiddenUnderMaximisedChild(TsSkinProvider& p) {
    TsSkinProvider* max = MaxChildProvider;
    return p.Form->FormStyle() == fsMDIChild && max && max != &p && max->Form && max->Form->HandleAllocated() &&
           IsZoomed(max->Form->Handle());
}

// The client part of the cache (the client rectangle moved by the client
// offset) into a DC whose origin is the client's top-left, around the
// form's windowless children (they paint themselves after).
void CopyClientPart(TsSkinProvider& p, HDC dc) {
    RECT client{};
    GetClientRect(Wnd(p), &client);
    const int ox = p.ClientOffsetX(), oy = p.ClientOffsetY();
    const RECT src{ox, oy, ox + client.right, oy + client.bottom};
    CopyCacheExcludingControls(p.Form, p.SkinData.get(), src, 0, 0, false, dc, client);
}

// The form's own painting on top of the skinned background: its OnPaint
// and its windowless children (the framework's paint with the DC given).
void PaintFormContent(TsSkinProvider& p, HDC dc) {
    if (p.PaintSuspended || (!p.Form->OnPaint && !HasVisibleGraphicChild(p.Form))) return;
    TMessage own{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    p.CallOldWndProc(own);
}

// WM_ERASEBKGND of a skinned form: the client background from the skin.
// True when answered.
bool EraseBackground(TsSkinProvider& p, TMessage& m) {
    if (!FormShowing(p)) return false;
    TsCommonData& d = *p.SkinData;
    // Held back: the paint that ends the update paints it.
    if (d.UpdateCount != 0 || d.Updating) return true;
    const HDC dc = reinterpret_cast<HDC>(m.WParam);
    m.Result = 1;
    if ((p.Form->ControlState() & csPaintCopy) || m.WParam == static_cast<WPARAM>(m.LParam)) {
        // A copy of what is painted already (printing, a child's request).
        if (dc && !d.BGChanged) {
            if (d.RepaintsWithParent() && d.CacheBmp) {
                CopyClientPart(p, dc);
            } else {
                RECT client{};
                GetClientRect(Wnd(p), &client);
                FillRectSolid(dc, client, static_cast<std::uint32_t>(d.BackgroundColorFor(0, Wnd(p))));
            }
        }
        return true;
    }
    const bool mdiMaxChild = p.Form->FormStyle() == fsMDIForm && MaxChildProvider && MaxChildProvider->Form &&
                             MaxChildProvider->Form->HandleAllocated() && IsZoomed(MaxChildProvider->Form->Handle());
    if (!d.RepaintsWithParent() || mdiMaxChild) {
        PaintToDC(p, dc);
        ChildCreatedMaximized = false;
        if (p.Form->FormStyle() == fsMDIChild) MaxChildProvider = &p;
    } else if (!d.BGChanged && d.CacheBmp && dc) {
        CopyClientPart(p, dc);
        BroadcastToChildControls(p.Form);
    }
    return true;
}

// WM_PAINT of a skinned form. A background that follows the skin's
// picture is copied from the cache here (rebuilt first when stale); a
// plain one was filled on the erase, which a stale cache asks for again.
bool Paint(TsSkinProvider& p, TMessage& m) {
    if (!FormShowing(p)) return false;
    TsCommonData& d = *p.SkinData;
    if (d.RepaintsWithParent()) {
        if (p.AnimPending || p.Form->IsDestroying()) {
            TPaintGuard empty(Wnd(p));
        } else {
            TPaintGuard paint(Wnd(p));
            if (const HDC dc = paint.DC()) {
                TSavedDC saved(dc);
                d.Updating = p.Form->Parent() ? d.IsUpdating() : false;
                if (!d.Updating && !HiddenUnderMaximisedChild(p)) PaintClientBg(p, dc, true);
                saved.Restore();
                PaintFormContent(p, dc);
            }
        }
        if (ChildCreatedMaximized) {
            ChildCreatedMaximized = false;
            if (p.Form->FormStyle() == fsMDIChild) SendMessageA(Wnd(p), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        }
    } else {
        // As above: a top-level form waits for nothing at its own paint (a
        // form whose frame the system draws is never told otherwise).
        d.Updating = p.Form->Parent() ? d.IsUpdating() : false;
        if (d.BGChanged && !p.Form->IsDestroying()) InvalidateRect(Wnd(p), nullptr, TRUE);
        TPaintGuard paint(Wnd(p));
        if (paint.DC()) PaintFormContent(p, paint.DC());
    }
    m.Result = 0;
    return true;
}

}  // namespace

bool ProviderStillOnForm(HWND wnd, const TsSkinProvider* p) {
    if (!IsWindow(wnd)) return false;
    auto* form = dynamic_cast<TCustomForm*>(TWinControl::FindControl(wnd));
    return form && ProviderOfForm(form) == p;
}

int SnapToEdge(int pos, int edge, int buffer, int size) {
    if (buffer > std::abs(pos + size - edge)) return edge - size;
    return pos;
}

void PaintClientBg(TsSkinProvider& p, HDC dc, bool notify) {
    TsCommonData& d = *p.SkinData;
    const bool mdiMain = p.Form->FormStyle() == fsMDIForm;
    if (d.PlainBackground()) {
        if (!mdiMain) {
            RECT client{};
            GetClientRect(Wnd(p), &client);
            FillRectSolid(dc, client, static_cast<std::uint32_t>(p.FormColor()));
        }
    } else {
        if (d.BGChanged || CacheSizeChanged(p)) p.PaintNonClientCache();
        if (!mdiMain) CopyClientPart(p, dc);
    }
    if (!notify) return;
    // The children paint over a finished background: those waiting for it
    // apply their parameters and paint now.
    BroadcastToChildControls(p.Form);
    TMessage done{SkinCommandMessage, SkinCommand(scEndParentUpdate), 0, 0};
    p.BroadcastToAdapter(done);
}

void PaintToDC(TsSkinProvider& p, HDC given) {
    TsCommonData& d = *p.SkinData;
    d.Updating = false;
    if (p.AnimPending || p.Form->IsDestroying() || HiddenUnderMaximisedChild(p)) return;
    std::optional<TWindowDC> own;
    const HDC dc = given ? given : own.emplace(Wnd(p)).Get();
    if (!dc) return;
    TSavedDC saved(dc);
    // The windowless children paint themselves on the paint that follows.
    ExcludeGraphicControls(dc, p.Form, 0, 0);
    PaintClientBg(p, dc, true);
    if (p.HasSizeGrip()) {
        TDCOriginShift shift(dc, -p.ClientOffsetX(), -p.ClientOffsetY());
        p.PaintSizeGrip(dc);
    }
}

bool HandleFormMessage(TsSkinProvider& p, TMessage& m) {
    if (p.Inactive || !p.Form) return false;
    if (IsSkinCommand(m)) {
        // The posted adaptation has arrived, whatever the form's state now:
        // the next new windows post again.
        if (SkinSubCode(m.WParam) == scParentFormNotify && m.LParam == 0) p.AdaptPending = false;
        if (AnyStateCommand(p, m)) return true;
        return FormSkinned(p) && SkinnedCommand(p, m);
    }
    // Skinned or not, the wheel goes where the mouse is.
    if (m.Msg == WM_MOUSEWHEEL && WheelToControlUnderMouse(p, m)) return true;
    if (!FormSkinned(p)) return false;
    if (m.Msg == WM_CREATE || m.Msg == WM_SHOWWINDOW) HandMDIRelativesToAutoSkinning(p.Form, m.Msg, m.WParam);
    switch (m.Msg) {
        case WM_CREATE:
            // A form loaded from its description gets its window after the
            // skin: the frame is made skinned before the window first shows.
            p.CallOldWndProc(m);
            if (p.Form->FormStyle() != fsMDIChild) p.PrepareForm();
            return true;
        case WM_PARENTNOTIFY:
            if (LOWORD(m.WParam) != WM_CREATE || p.IsLoading() || p.Form->IsLoading() || !p.Adapter) return false;
            p.CallOldWndProc(m);
            // A control's window made later (a page shown the first time
            // makes its controls' windows then) is adapted once its control
            // has finished making it (it is still being made now) and before
            // it first paints (a posted message comes before the paint): one
            // walk for all the windows made together.
            if (!p.AdaptPending) {
                p.AdaptPending = true;
                PostMessageA(Wnd(p), SkinCommandMessage, SkinCommand(scParentFormNotify), 0);
            }
            return true;
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
        case WM_ERASEBKGND:
            // A form with a border window is painted along with that window
            // (not made yet): left to the form.
            if (p.BorderForm) return false;
            return EraseBackground(p, m);
        case WM_PAINT:
            if (p.BorderForm) return false;
            return Paint(p, m);
        case WM_MOUSEMOVE:
            MouseMove(p, m);
            return true;
        case WM_CAPTURECHANGED:
            CaptureLost(p);
            return false;
        case WM_MOUSELEAVE:
        case CM_MOUSELEAVE:
            // The client area's leave can come after the mouse went on to a
            // title button and pressed it (Wine looks for the leave only
            // every hover time): a press holds the mouse and its release
            // ends it, so a quick click there is not lost.
            if (ButtonPressed && GetCapture() == p.Form->Handle()) return false;
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
        case WM_QUERYENDSESSION:
            EndSession(p, m);
            return true;
        case WM_SETREDRAW:
            // Counted, so that the skin's own holds know when somebody
            // else holds the form's drawing off.
            p.RedrawLock = m.WParam ? std::max(0, p.RedrawLock - 1) : p.RedrawLock + 1;
            return false;
        case WM_SETTINGCHANGE:
            // Metrics and colours the frame is made from may have changed.
            p.SkinData->BGChanged = true;
            return false;
        case WM_SETICON:
            return SetIcon(p, m);
        case WM_NOTIFY:
            p.CallOldWndProc(m);
            if (m.LParam && reinterpret_cast<const NMHDR*>(m.LParam)->code == kPageChangedNotify && p.Adapter)
                static_cast<TacCtrlAdapter*>(p.Adapter.get())->AdaptChildren(nullptr);
            return true;
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
            if (!p.BorderForm) return false;
            p.CallOldWndProc(m);
            BorderPositionChanged(p, reinterpret_cast<const WINDOWPOS*>(m.LParam));
            return true;
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
            if (!p.DrawNonClientArea) return false;
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
        case WM_DWMSENDICONICTHUMBNAIL: {
            // The shell asks for the thumbnail no larger than (high word,
            // low word); off, or asked for nothing, the system answers.
            const int maxWidth = HIWORD(m.LParam), maxHeight = LOWORD(m.LParam);
            if (!TaskbarPreviews || maxWidth == 0 || maxHeight == 0) return false;
            m.Result = p.SetIconicThumbnail(p.Form->Handle(), maxWidth, maxHeight) ? 1 : 0;
            return true;
        }
        case WM_DWMSENDICONICLIVEPREVIEWBITMAP:
            if (!TaskbarPreviews) return false;
            m.Result = p.SetIconicLivePreview(p.Form->Handle()) ? 1 : 0;
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
