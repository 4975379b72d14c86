#include "skin/controls/editwnd.h"

#include <algorithm>

#include "framework/forms.h"
#include "framework/handles.h"
#include "framework/stdctrls.h"
#include "skin/core/commondata.h"
#include "skin/core/providerbase.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinstate.h"
#include "skin/core/portable/propsutils.h"
#include "skin/core/vclutils.h"

namespace kova::skin {

namespace {

bool ClipIsEmpty(HDC dc) {
    RECT r{};
    return GetClipBox(dc, &r) == NULLREGION;
}

TColor SectionFontColor(const TsGeneralData& s, int state) {
    return static_cast<TColor>(state ? s.HotFontColors[0] : s.FontColors[0]);
}

}  // namespace

// ------------------------------------------------------------ base adapter

void TacBaseWnd::WndProc(TMessage& m) {
    const bool live = !Detached && CommonData && CommonData->IsSkinned();
    if (live) {
        if (IsSkinCommand(m) && SkinSubCode(m.WParam) == scRefresh &&
            reinterpret_cast<TsSkinManager*>(m.LParam) == CommonData->GetSkinManager()) {
            const TLife life = Life();
            TacScrollWnd::WndProc(m);
            if (life.Alive() && IsWindowVisible(WindowHandle)) SendMessageA(WindowHandle, WM_NCPAINT, 0, 0);
            return;
        }
        if (IsSkinCommand(m) && SkinSubCode(m.WParam) == 23 && !InDialog)
            UpdateWndCache(*CommonData, WindowHandle, false);
        if (m.Msg == WM_SIZE || m.Msg == WM_EXITSIZEMOVE) CommonData->BGChanged = true;
        if (m.Msg == 0x2110) return;
    }
    const TLife life = Life();
    TacScrollWnd::WndProc(m);
    if (!live || !life.Alive() || Detached) return;
    switch (m.Msg) {
        case WM_SIZE:
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (!SelfChange) RefreshScrollBars(*this, true);
            break;
        case WM_ENABLE:
        case 0xB00C:
            if (IsWindowVisible(WindowHandle)) SendMessageA(WindowHandle, WM_NCPAINT, 0, 0);
            break;
        default:
            break;
    }
}

// ------------------------------------------------------------ edit adapter

TacEditWnd::TacEditWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacBaseWnd(wnd, skinData, manager, section.empty() ? "EDIT" : section) {
    CommonData->SetSkinSection(section.empty() ? "EDIT" : section);
    CommonData->ReadSkinIndexes();
}

TacEditWnd::~TacEditWnd() {
    if (!Detached) Detach(false);
}

void TacEditWnd::SaveStdParams() {
    TControl* c = CommonData ? CommonData->OwnerControl : nullptr;
    if (!c) return;
    // A window made anew while the control stays skinned shows the skin's
    // colours: the control's own are the ones its record kept.
    if (!CommonData->SavedStdColours) {
        TsCommonData::TStdColours own;
        own.Color = static_cast<TColor>(c->Color());
        own.FontColor = static_cast<TColor>(c->Font()->Color());
        own.FocusColor = PublishedPropExists(c, "FocusColor") ? GetColorProp(c, "FocusColor") : 0;
        CommonData->SavedStdColours = own;
    }
    SavedColor = CommonData->SavedStdColours->Color;
    SavedFontColor = CommonData->SavedStdColours->FontColor;
    SavedFocusColor = CommonData->SavedStdColours->FocusColor;
}

void TacEditWnd::RestoreStdParams() {
    if (IsWindow(WindowHandle) && IsWindowVisible(WindowHandle))
        SetWindowPos(WindowHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
    TControl* c = CommonData ? CommonData->OwnerControl : nullptr;
    if (!c || c->IsDestroying()) return;
    // Only the window goes: the adapter of the next one keeps the skin's
    // colours, and giving the control its own here would change its font
    // (which may remake the window again) for nothing.
    if (WindowGoing && CommonData->IsSkinned()) return;
    const TsCommonData::TStdColours own = CommonData->SavedStdColours.value_or(
        TsCommonData::TStdColours{SavedColor, SavedFontColor, SavedFocusColor});
    // Taken before the colours go back: a font change may remake the
    // window and make the next adapter save what the control shows then.
    CommonData->SavedStdColours.reset();
    c->SetColor(static_cast<kova::TColor>(own.Color));
    c->Font()->SetColor(static_cast<kova::TColor>(own.FontColor));
    if (PublishedPropExists(c, "FocusColor")) SetColorProp(c, "FocusColor", own.FocusColor);
}

void TacEditWnd::SetSkinParams() {
    if (inSetSkinParams_ || !CommonData) return;
    inSetSkinParams_ = true;
    TsCommonData& d = *CommonData;
    d.Updating = true;
    ParamsApplied = true;
    TsSkinManager* m = ActiveManager();
    const TsGeneralData* s = m ? d.Section() : nullptr;
    if (!s) {
        DialogColor = 0;
        d.Updating = false;
        inSetSkinParams_ = false;
        return;
    }
    const TLife life = Life();
    if (TControl* c = d.OwnerControl) {
        // Given back when the skin goes (a restore took them from the record).
        if (!d.SavedStdColours) SaveStdParams();
        const int state = d.IsActiveState() && s->States > 1 ? 1 : 0;
        if (!d.CustomColor()) {
            const auto colour = static_cast<kova::TColor>(d.BackgroundColorFor(state, WindowHandle));
            if (c->Color() != colour) c->SetColor(colour);
            if (PublishedPropExists(c, "FocusColor")) SetColorProp(c, "FocusColor", static_cast<TColor>(colour));
        }
        if (!life.Alive()) return;
        if (!d.CustomFont()) {
            const auto font = static_cast<kova::TColor>(m->Model().ColorToRGB(SectionFontColor(*s, state)));
            if (c->Font()->Color() != font) c->Font()->SetColor(font);
            // The font change may have recreated the window: this adapter
            // then no longer serves it.
            if (!life.Alive() || Detached) {
                if (life.Alive()) inSetSkinParams_ = false;
                return;
            }
        }
    } else if (!d.CustomColor()) {
        EditBgColor = InDialog ? static_cast<TColor>(GetSysColor(COLOR_WINDOW))
                               : static_cast<TColor>(m->Model().ColorToRGB(s->Props[0].Color));
    }
    DialogColor = static_cast<TColor>(m->Model().ColorToRGB(m->Model().ConstData().DialogColor));
    d.BGChanged = true;
    d.Updating = false;
    inSetSkinParams_ = false;
}

const RECT& TacEditWnd::ClientRect() {
    if (ClientRectInWnd.top == -1) ClientRectInWnd = GetClientRectInWindow(WindowHandle);
    return ClientRectInWnd;
}

void TacEditWnd::PaintFrame(HDC dc) {
    TsCommonData& d = *CommonData;
    if (d.BGChanged) {
        if (!ParamsApplied) SetSkinParams();
        ClientRectInWnd.top = -1;
        UpdateWndCache(d, WindowHandle, InDialog);
        if (!InDialog) FillBorderCorners(d, *this);
    }
    if (!d.CacheBmp || d.CacheBmp->Width() <= 0) return;
    const TSavedDC saved(dc);
    PaintScrollBars(*this, WindowHandle, dc);
    const RECT& cr = ClientRect();
    ExcludeClipRect(dc, cr.left, cr.top, cr.right, cr.bottom);
    // The bars were painted already: the cache must not cover them.
    RECT bar{};
    RECT wr{};
    GetWindowRect(WindowHandle, &wr);
    if (HBar && HBar->BarVisible) {
        GetHScrollRect(*this, WindowHandle, bar);
        ExcludeClipRect(dc, bar.left - wr.left, bar.top - wr.top, bar.right - wr.left, bar.bottom - wr.top);
    }
    if (VBar && VBar->BarVisible) {
        GetVScrollRect(*this, WindowHandle, bar);
        ExcludeClipRect(dc, bar.left - wr.left, bar.top - wr.top, bar.right - wr.left, bar.bottom - wr.top);
    }
    BitBlt(dc, 0, 0, d.CacheBmp->Width(), d.CacheBmp->Height(), d.CacheBmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TacEditWnd::PrintTo(TMessage& m) {
    const TLife life = Life();
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    // What the procedure below leaves in the DC (clipping, origin) is not
    // what the frame is drawn with.
    {
        const TSavedDC before(dc);
        CallPrevWndProc(m);
    }
    if (!life.Alive() || m.Result == 2 || !dc) return;
    TsCommonData& d = *CommonData;
    d.Updating = false;
    d.BGChanged = true;
    PaintFrame(dc);
    const RECT& cr = ClientRect();
    {
        const TSavedDC saved(dc);
        POINT old{};
        OffsetViewportOrgEx(dc, cr.left, cr.top, &old);
        IntersectClipRect(dc, 0, 0, cr.right - cr.left, cr.bottom - cr.top);
        // The client is printed into the DC it was given.
        SendMessageA(WindowHandle, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    }
    m.Result = 1;
}

bool TacEditWnd::HandleEditCommand(TMessage& m) {
    TsCommonData& d = *CommonData;
    switch (SkinSubCode(m.WParam)) {
        case scRefresh:
            if (reinterpret_cast<TsSkinManager*>(m.LParam) != d.GetSkinManager()) return false;
            {
                const TLife life = Life();
                TacBaseWnd::WndProc(m);
                if (life.Alive() && !Detached) SetSkinParams();
            }
            return true;
        case scQuerySupport:
            m.Result = 1;
            return true;
        case 23:
            ClientRectInWnd.top = -1;
            d.BGChanged = true;
            UpdateWndCache(d, WindowHandle, InDialog);
            FillBorderCorners(d, *this);
            return true;
        case scQuerySkinIndex:
            if (m.LParam) *reinterpret_cast<std::int32_t*>(m.LParam) = d.SkinIndex;
            return true;
        case scQueryBgInfo: {
            const TLife life = Life();
            TacBaseWnd::WndProc(m);
            if (!life.Alive()) return true;
            if (auto* info = reinterpret_cast<TsBackgroundInfo*>(m.LParam); info && info->BgType == 0 && d.CustomColor()) {
                info->Color = EditBgColor;
                info->BgType = 1;
            }
            return true;
        }
        default:
            return false;
    }
}

void TacEditWnd::WndProc(TMessage& m) {
    if (Detached || !CommonData || !CommonData->IsSkinned()) {
        TacBaseWnd::WndProc(m);
        return;
    }
    if (IsSkinCommand(m) && HandleEditCommand(m)) return;
    TsCommonData& d = *CommonData;
    switch (m.Msg) {
        case WM_NCPAINT: {
            if (!IsWindowVisible(WindowHandle) || InNcCalcSize) break;
            if (FormAnimating) return;
            d.Updating = d.IsUpdating();
            if (d.Updating) return;
            TWindowDC dc(WindowHandle, TDCArea::Window);
            if (ClipIsEmpty(dc.Get())) return;
            PaintFrame(dc.Get());
            m.Result = 0;
            return;
        }
        case WM_PAINT:
        case WM_ERASEBKGND:
            if (!IsWindowVisible(WindowHandle) || InNcCalcSize) break;
            if (m.WParam && ClipIsEmpty(reinterpret_cast<HDC>(m.WParam))) return;
            d.Updating = d.IsUpdating();
            if (d.Updating) {
                if (m.Msg == WM_PAINT) {
                    PAINTSTRUCT ps;
                    BeginPaint(WindowHandle, &ps);
                    EndPaint(WindowHandle, &ps);
                }
                return;
            }
            if (!ParamsApplied) SetSkinParams();
            break;
        case WM_NCCALCSIZE:
            ClientRectInWnd.top = -1;
            break;
        case WM_PRINT:
            PrintTo(m);
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            const TLife life = Life();
            TacBaseWnd::WndProc(m);
            if (!life.Alive() || Detached) return;
            auto* w = dynamic_cast<TWinControl*>(d.OwnerControl);
            if (HasHotState(d) && (!w || (w->CanFocus() && w->Showing()))) {
                d.BGChanged = true;
                d.FocusSet = m.Msg == WM_SETFOCUS;
                SendMessageA(WindowHandle, WM_NCPAINT, 0, 0);
            }
            return;
        }
        default:
            break;
    }
    const TLife life = Life();
    TacBaseWnd::WndProc(m);
    if (!life.Alive() || Detached) return;
    switch (m.Msg) {
        case LB_SETCURSEL:
        case EM_REPLACESEL:
        case LB_ADDSTRING:
        case LB_INSERTSTRING:
        case LB_SETTOPINDEX:
            RefreshScrollBars(*this, true);
            break;
        case WM_SETFONT:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_LBUTTONDOWN:
        case WM_CHAR:
        case 0xBD00:
        case 0xBD01:
            if (!SelfChange) RefreshScrollBars(*this, true);
            break;
        case WM_SIZE:
            if (IsWindowVisible(WindowHandle)) SendMessageA(WindowHandle, WM_NCPAINT, 0, 0);
            break;
        case LB_GETTOPINDEX:
            if (m.Result == 0 && d.OwnerControl && SendMessageA(WindowHandle, LB_GETCOUNT, 0, 0) == 0) m.Result = -1;
            break;
        case 0xB00E:
            if (!d.Updating) RedrawWindow(WindowHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
            break;
        default:
            break;
    }
}

// ------------------------------------------------------------- MDI client

TacMDIWnd::~TacMDIWnd() {
    FormSkinData = nullptr;
    FormProvider = nullptr;
}

void TacMDIWnd::PaintArea(HDC dc) {
    TsSkinManager* m = ActiveManager();
    RECT r{};
    GetClientRect(WindowHandle, &r);
    if (FormProvider && FormSkinData && FormSkinData->CacheBmp && MDIForm && MDIForm->HandleAllocated()) {
        // The part of the form's skinned image under the client: the client
        // area's place in the form's client area, moved by the caption and
        // borders before it in the cache.
        POINT at{0, 0};
        MapWindowPoints(WindowHandle, MDIForm->Handle(), &at, 1);
        TBitmap& cache = *FormSkinData->CacheBmp;
        GdiFlush();
        BitBlt(dc, 0, 0, r.right, r.bottom, cache.Canvas()->Handle(), FormProvider->ClientOffsetX() + at.x,
               FormProvider->ClientOffsetY() + at.y, SRCCOPY);
        return;
    }
    auto colour = MDIForm ? MDIForm->Color() : static_cast<kova::TColor>(GetSysColor(COLOR_APPWORKSPACE));
    if (m && m->IndexOfSection("MDIAREA") >= 0) {
        const auto& sections = m->Model().Sections();
        const int i = m->IndexOfSection("MDIAREA");
        colour = static_cast<kova::TColor>(m->Model().ColorToRGB(sections[static_cast<std::size_t>(i)].Props[0].Color));
    } else if (m) {
        colour = static_cast<kova::TColor>(m->Model().ColorToRGB(m->Model().GlobalInfoColor()));
    }
    TGdiObject<HBRUSH> brush(CreateSolidBrush(kova::ColorToRGB(colour)));
    FillRect(dc, &r, brush.Get());
}

void TacMDIWnd::ThumbScroll(TMessage& m) {
    const int kind = m.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(WindowHandle, kind, &si);
    // The client moves by the distance from the last position it took,
    // 8 pixels a step.
    const int step = (si.nPos - si.nMin) - LastTrackPos;
    LastTrackPos = si.nPos - si.nMin;
    if (kind == SB_HORZ)
        ScrollWindow(WindowHandle, -step * 8, 0, nullptr, nullptr);
    else
        ScrollWindow(WindowHandle, 0, -step * 8, nullptr, nullptr);
}

void TacMDIWnd::WndProc(TMessage& m) {
    if (Detached || !CommonData || !ActiveManager()) {
        TacBaseWnd::WndProc(m);
        return;
    }
    if (IsSkinCommand(m)) {
        switch (SkinSubCode(m.WParam)) {
            case scBeforeScroll: {
                const int code = LOWORD(m.LParam);
                m.Result = code == SB_THUMBPOSITION || code == SB_THUMBTRACK ? 1 : 0;
                return;
            }
            case scAfterScroll:
                RefreshScrollBars(*this, true);
                return;
            default:
                break;
        }
    }
    switch (m.Msg) {
        case WM_ERASEBKGND:
            if (m.WParam && !FormAnimating) {
                HDC dc = reinterpret_cast<HDC>(m.WParam);
                {
                    const TSavedDC saved(dc);
                    PaintArea(dc);
                }
                m.Result = 1;
                return;
            }
            break;
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (LOWORD(m.WParam) == SB_THUMBTRACK) return;
            if (LOWORD(m.WParam) == SB_THUMBPOSITION) {
                ThumbScroll(m);
                return;
            }
            break;
        default:
            break;
    }
    TacBaseWnd::WndProc(m);
}

}  // namespace kova::skin
