#include "skin/controls/sedit.h"

#include <string>

#include "framework/handles.h"
#include "framework/portable/formtext.h"
#include "skin/controls/adapters.h"
#include "skin/controls/slabel.h"
#include "skin/core/dc/dcpaint.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/skincommands.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinstate.h"
#include "skin/core/vclutils.h"

namespace kova::skin {

TsEdit::TsEdit(TComponent* owner) : TEdit(owner) {
    skinData_ = std::make_unique<TsCtrlSkinData>(this, true);
    skinData_->ControlCode = 3;
    // Its caption label is the skinned edit label.
    UseSkinnedEditLabels();
    boundLabel_ = std::make_unique<TsBoundLabel>(skinData_.get());
    // Editors make their rows at run time, with nothing set: the record
    // finds its section and the default manager at once.
    skinData_->Loaded();
}

TsEdit::~TsEdit() {
    boundLabel_.reset();
    skinData_.reset();
}

void TsEdit::Loaded() {
    TEdit::Loaded();
    skinData_->Loaded();
}

void TsEdit::SetDisabledKind(TsDisabledKind value) {
    if (value == disabledKind_) return;
    disabledKind_ = value;
    skinData_->Invalidate();
}

bool TsEdit::Skinned() const { return skinData_ && skinData_->IsSkinned(); }

int TsEdit::FrameWidth() const {
    if (!HandleAllocated()) return 0;
    return GetClientRectInWindow(const_cast<TsEdit*>(this)->Handle()).left;
}

void TsEdit::PrepareCache() {
    TsCommonData& d = *skinData_;
    d.EnsureCacheBmp();
    const int w = Width(), h = Height();
    d.CacheBmp->SetSize(std::max(w, 0), std::max(h, 0));
    TsParentImageInfo bg;
    d.ParentImageInfo(bg);
    TsSkinManager* m = d.GetSkinManager();
    if (m && w > 0 && h > 0) {
        const int state = d.IsActiveState() ? 1 : 0;
        if (FrameWidth() > 0)
            PaintControlSkin(d.CacheBmp->Pixels(), m->Model(), d.SkinIndex, bg, state, TRect{0, 0, w, h}, TPoint{0, 0},
                             false, d.HUEOffset, d.Saturation, d.TextureIndex, d.HotTextureIndex);
        else
            PaintSkinDataItem(d, bg, state, TRect{0, 0, w, h}, TPoint{0, 0}, d.CacheBmp->Pixels());
        PaintText();
        if (!Enabled() && disabledKind_)
            PaintDisabledLook(d.CacheBmp->Pixels(), disabledKind_, static_cast<TColor>(kova::ColorToRGB(Color())), bg,
                              TPoint{Left(), Top()});
    }
    d.BGChanged = false;
}

void TsEdit::PaintText() {
    const std::string text = Text();
    if (text.empty()) return;
    TsCommonData& d = *skinData_;
    TsSkinManager* m = d.GetSkinManager();
    if (!m || !d.CacheBmp) return;
    TCanvas* canvas = d.CacheBmp->Canvas();
    canvas->Font()->Assign(Font());
    const int frame = FrameWidth();
    const int inset = frame + (frame > 0 ? 1 : 0);
    RECT r{inset, inset, Width() - inset, Height() - frame};
    const std::string shown = PasswordChar() ? std::string(text.size(), PasswordChar()) : text;
    TControlTextStyle style = RecordTextStyle(m->Model(), d, d.IsActiveState());
    style.CustomFont = d.CustomFont();
    style.CustomFontColour = static_cast<TColor>(kova::ColorToRGB(Font()->Color()));
    // Without a disabled look asked for, a disabled edit keeps its face.
    PaintControlText(*canvas, shown, Enabled() || disabledKind_ == 0, r, DT_SINGLELINE | DT_NOPREFIX, style);
}

void TsEdit::PaintFromCache(HDC given) {
    if (PaintingSuspended()) return;
    TsCommonData& d = *skinData_;
    PAINTSTRUCT ps{};
    HDC dc = given ? given : BeginPaint(Handle(), &ps);
    d.Updating = d.IsUpdating();
    if (!d.Updating) {
        bool invalid = d.BGChanged || partlyOutside_;
        if (Parent()) {
            invalid = invalid || NotifyControl(Parent(), 11) == 1;
            RECT pc{};
            GetClientRect(Parent()->Handle(), &pc);
            partlyOutside_ = Left() < pc.left || Top() < pc.top || Left() + Width() > pc.right ||
                             Top() + Height() > pc.bottom;
        }
        if (invalid || !d.CacheBmp || d.CacheBmp->Width() != Width()) PrepareCache();
        PaintControlBorder(d, 0);
        // The client area shows the face under the frame.
        const int frame = FrameWidth();
        BitBlt(dc, 0, 0, Width() - 2 * frame, Height() - 2 * frame, d.CacheBmp->Canvas()->Handle(), frame, frame,
               SRCCOPY);
    }
    if (!given) EndPaint(Handle(), &ps);
}

void TsEdit::PaintFrame() {
    TsCommonData& d = *skinData_;
    d.Updating = d.IsUpdating();
    if (d.Updating) return;
    TWindowDC dc(Handle(), TDCArea::Window);
    const TSavedDC saved(dc.Get());
    if (d.BGChanged || !d.CacheBmp || d.CacheBmp->Width() != Width()) PrepareCache();
    PaintControlBorder(d, 0);
    CopyBorderStrips(dc.Get(), 0, 0, Width(), Height(), d.CacheBmp->Canvas()->Handle(), 0, 0, FrameWidth());
}

void TsEdit::Repaint() {
    if (IsLoading() || PaintingSuspended() || !HandleAllocated()) return;
    skinData_->BGChanged = true;
    // A window not painted yet has all of itself to paint: the font, the
    // text and the size given while it is made need no picture each.
    if (!painted_) return;
    InvalidateRect(Handle(), nullptr, TRUE);
    SendMessageA(Handle(), WM_NCPAINT, 0, 0);
}

void TsEdit::WndProc(TMessage& m) {
    TsCommonData& d = *skinData_;
    if (m.Msg == WM_NCCREATE) painted_ = false;
    if (IsSkinCommand(m)) {
        auto* manager = reinterpret_cast<TsSkinManager*>(m.LParam);
        switch (SkinSubCode(m.WParam)) {
            case scQuerySupport:
                m.Result = 1;
                return;
            case scSkinApplied:
            case scSkinRemoved:
                if (manager == d.GetSkinManager()) {
                    HandleControlMessage(m, &d);
                    return;
                }
                break;
            case scRefresh:
                if (manager == d.GetSkinManager()) {
                    HandleControlMessage(m, &d);
                    if (!PaintingSuspended() && HandleAllocated() && IsWindowVisible(Handle()))
                        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
                    return;
                }
                break;
            case scQueryParentDependent:
                m.Result = 0;
                return;
            case scQueryBgColor:
                if (!Skinned()) {
                    m.Result = static_cast<LRESULT>(kova::ColorToRGB(Color()));
                    return;
                }
                break;
            case scGetApplication:
                m.Result = reinterpret_cast<LRESULT>(Application());
                return;
            default:
                break;
        }
    }
    if (!HandleAllocated() || !CanPaintControl(this) || !Skinned()) {
        TEdit::WndProc(m);
        return;
    }
    switch (m.Msg) {
        case WM_PAINT:
            d.Updating = d.IsUpdating();
            if (PaintingSuspended() || d.Updating) {
                PAINTSTRUCT ps;
                BeginPaint(Handle(), &ps);
                EndPaint(Handle(), &ps);
                return;
            }
            if (Enabled() && d.IsActiveState()) break;
            PaintFromCache(reinterpret_cast<HDC>(m.WParam));
            return;
        case WM_ERASEBKGND:
        case CN_DRAWITEM:
            if (PaintingSuspended() || d.IsUpdating()) return;
            if (Enabled()) break;
            m.Result = 1;
            return;
        case WM_NCPAINT:
            if (!PaintingSuspended()) {
                painted_ = true;
                PaintFrame();
            }
            return;
        case WM_PRINT: {
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            if (!dc) break;
            d.Updating = false;
            PrepareCache();
            PaintControlBorder(d, 0);
            const int frame = FrameWidth();
            CopyBorderStrips(dc, 0, 0, Width(), Height(), d.CacheBmp->Canvas()->Handle(), 0, 0, frame);
            BitBlt(dc, frame, frame, Width() - 2 * frame, Height() - 2 * frame, d.CacheBmp->Canvas()->Handle(), frame,
                   frame, SRCCOPY);
            m.Result = 1;
            return;
        }
        case CM_COLORCHANGED:
            if (d.CustomColor()) d.BGChanged = true;
            [[fallthrough]];
        default:
            if (HandleControlMessage(m, &d)) return;
            break;
    }
    TEdit::WndProc(m);
    AfterMessage(m);
}

void TsEdit::AfterMessage(TMessage& m) {
    TsCommonData& d = *skinData_;
    switch (m.Msg) {
        case WM_SETTEXT:
        case WM_SETFONT:
        case CM_VISIBLECHANGED:
        case CM_ENABLEDCHANGED:
        case CM_TEXTCHANGED:
            Repaint();
            break;
        case WM_SIZE:
            if (painted_)
                SendMessageA(Handle(), WM_NCPAINT, 0, 0);
            else
                d.BGChanged = true;
            break;
        case WM_SETFOCUS:
            // Edited now: the native edit paints the face.
            d.FocusSet = true;
            InvalidateRect(Handle(), nullptr, TRUE);
            break;
        case WM_KILLFOCUS:
        case CM_EXIT:
            d.FocusSet = false;
            d.MouseAbove = false;
            d.BGChanged = true;
            if (IsWindowVisible(Handle())) InvalidateRect(Handle(), nullptr, TRUE);
            break;
        default:
            break;
    }
    if (TLabel* label = boundLabel_ ? boundLabel_->Label() : nullptr) {
        switch (m.Msg) {
            case CM_VISIBLECHANGED:
                label->SetVisible(Visible());
                boundLabel_->PlaceLabel();
                break;
            case CM_ENABLEDCHANGED:
                label->SetEnabled(Enabled() || !(disabledKind_ & dkBlended));
                boundLabel_->PlaceLabel();
                break;
            case WM_SIZE:
            case WM_WINDOWPOSCHANGED:
                boundLabel_->PlaceLabel();
                break;
            default:
                break;
        }
    }
}

void RegisterEditClass() {
    if (!IsComponentClassRegistered(TsEdit::StaticClass().name)) RegisterComponentClass<TsEdit>();
}

}  // namespace kova::skin
