// A frame painted from its section: opaque frames get their colour and the
// section's border, frames that follow their parent the section over the
// parent's picture, kept in the record's cache.
#include "skin/forms/frameadapter.h"

#include <algorithm>
#include <cstddef>

#include "framework/menus.h"
#include "skin/controls/scrollwnd.h"
#include "skin/core/dc/dcpaint.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/skincommands.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/core/vclutils.h"

namespace kova::skin {

namespace {

constexpr std::int32_t kFrameControlCode = 226;
constexpr TColor kNoSolidColour = 0xFF00FF;

TCustomFrame* FrameOf(TComponent* owner) {
    auto* frame = dynamic_cast<TCustomFrame*>(owner);
    if (!frame) throw EFrameAdapter("TsFrameAdapter adapter must be placed on the handled frame");
    return frame;
}

std::uint8_t Channel(TColor c, int shift) { return static_cast<std::uint8_t>((c >> shift) & 0xFF); }

}  // namespace

TsFrameAdapter::TsFrameAdapter(TComponent* owner) : TComponent(owner) {
    Frame = FrameOf(owner);
    SkinData = std::make_unique<TsCommonData>(this, true);
    SkinData->SetSkinSection("GROUPBOX");
    SkinData->ControlCode = kFrameControlCode;
    SkinData->OwnerControl = Frame;
    proc_.Attach(Frame, [this](TMessage& m) { FrameWndProc(m); });
    if (!Frame->HandleAllocated() || SkinCommandAnswered(Frame->Handle(), scQuerySupport)) SkinData->ReadSkinIndexes();
}

TsFrameAdapter::~TsFrameAdapter() {
    ScrollAdapter.reset();
    proc_.Detach();
    Frame = nullptr;
    SkinData.reset();
}

// The frame's own popup menus follow the skin like the form's: a frame made
// without the form as its owner is not reached by the form's menu walk.
void TsFrameAdapter::SkinPopupMenus() {
    TsSkinManager* manager = SkinData ? SkinData->GetSkinManager() : nullptr;
    if (!manager || !Frame || !FormSkinning().SetPopupMenuSkinned) return;
    for (int i = 0; i < Frame->ComponentCount(); ++i)
        if (auto* popup = dynamic_cast<TPopupMenu*>(Frame->Components(i)))
            FormSkinning().SetPopupMenuSkinned(manager, popup, manager->Active());
}

void TsFrameAdapter::Loaded() {
    TComponent::Loaded();
    if (!SkinData->GetSkinManager()) return;
    SkinData->ReadSkinIndexes();
    if (SkinData->GetSkinManager()->Active()) SkinPopupMenus();
    if (Skinned() && (SkinData->GetSkinManager()->SkinningRules & srThirdParty)) NotifyParentFormOfControl(Frame);
}

bool TsFrameAdapter::Skinned() const {
    const TsSkinManager* m = SkinData ? SkinData->GetSkinManager() : nullptr;
    return m && m->Active() && SkinData->IsSkinned();
}

void TsFrameAdapter::Broadcast(TMessage& m) {
    TMessage copy = m;
    BroadcastToAllControls(Frame, copy);
}

TColor TsFrameAdapter::BackgroundColorForChildren() {
    if (!Skinned()) return static_cast<TColor>(kova::ColorToRGB(Frame->Color()));
    if (!Opaque()) return kNoSolidColour;
    const TsSkinModel& model = SkinData->GetSkinManager()->Model();
    const TsGeneralData* s = SkinData->Section();
    const TColor own = static_cast<TColor>(model.ColorToRGB(s->Color)) & 0xFFFFFF;
    const int transparency = std::clamp<int>(s->Transparency, 0, 100);
    if (transparency == 0) return own;
    TColor parent = static_cast<TColor>(kova::ColorToRGB(Frame->Color()));
    if (TWinControl* p = Frame->Parent()) {
        const LRESULT answer =
            p->HandleAllocated() ? SendSkinCommand(p->Handle(), scQueryBgColor, kNoSolidColour) : kNoSolidColour;
        parent = static_cast<TColor>(answer) == kNoSolidColour ? static_cast<TColor>(kova::ColorToRGB(p->Color()))
                                                               : static_cast<TColor>(answer);
    }
    if (transparency == 100) return parent & 0xFFFFFF;
    // Channel by channel: the parent's share is the transparency.
    TColor mixed = 0;
    for (int shift : {0, 8, 16}) {
        const int v = (Channel(parent, shift) * transparency + Channel(own, shift) * (100 - transparency)) / 100;
        mixed |= static_cast<TColor>(std::clamp(v, 0, 255)) << shift;
    }
    return mixed;
}

void TsFrameAdapter::PrepareFrameCache() {
    if (!Opaque() && Skinned() && Frame->HandleAllocated()) {
        const int w = Frame->Width(), h = Frame->Height();
        SkinData->EnsureCacheBmp();
        TBitmap& bitmap = *SkinData->CacheBmp;
        if (bitmap.Width() != w || bitmap.Height() != h) bitmap.SetSize(w, h);
        if (w > 0 && h > 0) {
            GdiFlush();
            const RECT bounds{Frame->Left(), Frame->Top(), Frame->Left() + w, Frame->Top() + h};
            PaintControlSkinOnParent(bitmap.Pixels(), SkinData->GetSkinManager()->Model(), SkinData->SkinIndex,
                                     Frame->Parent(), bounds, 0, TRect{0, 0, w, h}, TPoint{0, 0}, false,
                                     SkinData->HUEOffset, SkinData->Saturation);
        }
    }
    SkinData->BGChanged = false;
}

void TsFrameAdapter::PaintFrame(HDC dc) {
    if (!dc || !Skinned() || !Frame->HandleAllocated()) return;
    const int w = Frame->Width(), h = Frame->Height();
    if (w <= 0 || h <= 0) return;
    const TsSkinModel& model = SkinData->GetSkinManager()->Model();
    TSavedDC saved(dc);
    if (Opaque()) {
        SkinData->Updating = false;
        const int bw = SkinData->MaxBorderWidth();
        const TColor colour = SkinData->BackgroundColorFor(0, Frame->Handle());
        ExcludeGraphicControls(dc, Frame, 0, 0);
        const RECT r{0, 0, w, h};
        if (bw <= 0) {
            FillRectSolid(dc, r, static_cast<std::uint32_t>(colour));
        } else {
            TBitmap border(w, h);
            const RECT inner{bw, bw, std::max(bw, w - bw), std::max(bw, h - bw)};
            FillRectSolid(dc, inner, static_cast<std::uint32_t>(colour));
            TsParentImageInfo bg;
            PaintSkinBorder(dc, r, bw, colour, 0, model, SkinData->BorderIndex, border.Pixels(), bg);
        }
    } else {
        if (SkinData->BGChanged || !SkinData->CacheBmp || SkinData->CacheBmp->Width() != w ||
            SkinData->CacheBmp->Height() != h)
            PrepareFrameCache();
        if (!SkinData->CacheBmp) return;
        // The windowed children paint themselves.
        for (int i = 0; i < Frame->ControlCount(); ++i) {
            auto* c = dynamic_cast<TWinControl*>(Frame->Controls(i));
            if (c && c->Visible() && c->HandleAllocated())
                ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
        }
        GdiFlush();
        CopyBufferToDC(dc, 0, 0, SkinData->CacheBmp->Pixels(), RECT{0, 0, w, h});
    }
    saved.Restore();
    PaintGraphicControls(dc, Frame, true, POINT{0, 0});
}

void TsFrameAdapter::FrameWndProc(TMessage& m) {
    TsSkinManager* manager = SkinData ? SkinData->GetSkinManager() : nullptr;
    if (IsSkinCommand(m)) {
        const auto* from = reinterpret_cast<TsSkinManager*>(m.LParam);
        switch (SkinSubCode(m.WParam)) {
            case scSkinApplied:
                if (from != manager) break;
                Broadcast(m);
                HandleControlMessage(m, SkinData.get());
                SkinPopupMenus();
                return;
            case scSkinRemoved:
                if (from != manager) break;
                ScrollAdapter.reset();
                HandleControlMessage(m, SkinData.get());
                Broadcast(m);
                if (Frame->HandleAllocated()) {
                    SetWindowPos(Frame->Handle(), nullptr, 0, 0, 0, 0,
                                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
                    RedrawWindow(Frame->Handle(), nullptr, nullptr,
                                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
                }
                return;
            case scRefresh:
                if (from != manager) break;
                HandleControlMessage(m, SkinData.get());
                SkinData->ReadSkinIndexes();
                Broadcast(m);
                if (Frame->HandleAllocated())
                    RedrawWindow(Frame->Handle(), nullptr, nullptr,
                                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
                return;
            case scQuerySupport:
                m.Result = 1;
                return;
            case scQueryBgColor:
                m.Result = static_cast<LRESULT>(BackgroundColorForChildren());
                return;
            case scBeforeRepaintAll:
                Broadcast(m);
                break;
            case scQuerySkinIndex:
                if (m.LParam) *reinterpret_cast<std::int32_t*>(m.LParam) = SkinData->SkinIndex;
                return;
            default:
                break;
        }
    }
    if (Frame->IsDestroying() || IsDestroying() || !Skinned()) {
        proc_.CallPrevious(m);
        return;
    }
    if (IsSkinCommand(m)) {
        switch (SkinSubCode(m.WParam)) {
            case scEndParentUpdate:
                if (SkinData->Updating || Opaque()) {
                    SkinData->Updating = false;
                    if (Frame->HandleAllocated())
                        RedrawWindow(Frame->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                }
                BroadcastToChildControls(Frame);
                return;
            case scSetUpdating:
                SkinData->Updating = LOWORD(m.WParam) != 0;
                Broadcast(m);
                return;
            case scQueryUpdating:
                m.Result = (Opaque() || !SkinData->Updating) ? 0 : 1;
                return;
            case scQueryParentDependent: {
                const TsGeneralData* s = SkinData->Section();
                m.Result = s && (s->GradientPercent + s->ImagePercent >= 1 || SkinData->DependsOnParentBg()) ? 1 : 0;
                return;
            }
            case scQueryBgInfo:
                if (SkinData->BGChanged && !SkinData->Updating && !Opaque()) PrepareFrameCache();
                HandleControlMessage(m, SkinData.get());
                return;
            default:
                HandleControlMessage(m, SkinData.get());
                return;
        }
    }
    switch (m.Msg) {
        case WM_PAINT: {
            if (!Frame->Parent()) break;
            PAINTSTRUCT ps;
            HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(Frame->Handle(), &ps);
            if (!Opaque()) {
                SkinData->Updating = SkinData->IsUpdating();
                if (!SkinData->Updating) PaintFrame(dc);
            }
            if (!m.WParam) EndPaint(Frame->Handle(), &ps);
            m.Result = 0;
            return;
        }
        case WM_ERASEBKGND:
            if (!Frame->Showing()) break;
            if (!PaintingSuspended()) {
                SkinData->Updating = SkinData->IsUpdating();
                if (!SkinData->Updating && Opaque()) PaintFrame(reinterpret_cast<HDC>(m.WParam));
            }
            m.Result = 1;
            return;
        case WM_NCPAINT:
            SkinData->Updating = SkinData->IsUpdating();
            m.Result = 0;
            return;
        case WM_MOVE:
        case WM_SIZE: {
            SkinData->BGChanged = SkinData->BGChanged || m.Msg == WM_SIZE || SkinData->DependsOnParentBg();
            if (SkinData->BGChanged) {
                TMessage invalidate{SkinCommandMessage, SkinCommand(scInvalidateBg, 1), 0, 0};
                Broadcast(invalidate);
            }
            if (m.Msg == WM_SIZE && Frame->HandleAllocated()) InvalidateRect(Frame->Handle(), nullptr, FALSE);
            break;
        }
        case WM_PRINT:
            SkinData->Updating = false;
            if (CanPaintControl(Frame)) {
                PaintFrame(reinterpret_cast<HDC>(m.WParam));
                m.Result = 0;
                return;
            }
            break;
        default:
            break;
    }
    proc_.CallPrevious(m);
}

}  // namespace kova::skin
