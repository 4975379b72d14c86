#include "skin/controls/adapters.h"

#include <algorithm>

#include "framework/forms.h"
#include "framework/windowtext.h"
#include "skin/controls/editwnd.h"
#include "skin/controls/portable/bordercorners.h"
#include "skin/controls/scrollwnd.h"
#include "skin/core/dc/dcpaint.h"
#include "skin/core/glow.h"
#include "skin/core/paint/portable/maskpaint.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/paint/portable/surface.h"
#include "skin/core/portable/propsutils.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/providerbase.h"
#include "skin/core/skincommands.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/core/sysentries.h"

namespace kova::skin {

std::uint8_t InheritedInDialog = 0;

namespace {

// The provider whose record this is, when a provider owns it.
TsSkinProviderBase* ProviderOf(const TsCommonData* data) {
    if (!data || !data->ProviderOwned()) return nullptr;
    return dynamic_cast<TsSkinProviderBase*>(data->OwnerObject);
}

// Visual styles are switched off for every adapted window except a
// dialog's own and a form whose provider leaves the frame to the system.
bool ThemeSwitchable(const TsCommonData* data, const std::string& section) {
    if (!SystemEntries().SetWindowTheme || section == "DIALOG") return false;
    const TsSkinProviderBase* p = ProviderOf(data);
    return !p || p->DrawNonClientArea;
}

// Told when the record's owner control is freed: the record forgets it.
class TOwnerWatch : public TComponent {
public:
    TOwnerWatch(TsCommonData* data, TControl* owner) : TComponent(nullptr), data_(data), owner_(owner) {
        FreeNotification(owner);
    }
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op != TOperation::opRemove || c != owner_) return;
        owner_ = nullptr;
        if (data_->OwnerControl == c) data_->OwnerControl = nullptr;
        if (data_->OwnerObject == c) data_->OwnerObject = nullptr;
    }

private:
    TsCommonData* data_;
    TComponent* owner_;
};

}  // namespace

// ------------------------------------------------------------------ life

TacMainWnd::TacMainWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section) {
    WindowHandle = wnd;
    Manager = manager;
    if (skinData) {
        CommonData = skinData;
        if (!Manager) Manager = skinData->GetSkinManager();
    } else {
        OwnsCommonData = true;
        ownData_ = std::make_unique<TsCommonData>(nullptr, true);
        CommonData = ownData_.get();
        if (manager) CommonData->SetSkinManager(manager);
    }
    if (CommonData->SkinSection().empty()) CommonData->SetSkinSection(section);
    if (OwnsCommonData) CommonData->ReadSkinIndexes();
}

void TacMainWnd::Start(bool repaint) {
    // One adapter per window: a window that has one is left to it.
    if (!IsWindow(WindowHandle) || FindAdapter(WindowHandle)) {
        Detached = true;
        return;
    }
    if (!KeepsVisualStyles && ThemeSwitchable(CommonData, CommonData->SkinSection()) && IsWindow(WindowHandle)) {
        SystemEntries().SetWindowTheme(WindowHandle, L" ", L" ");
        themeSwitchedOff_ = true;
    }
    InDialog = InheritedInDialog != 0;
    if (TControl* c = CommonData->OwnerControl; c && !c->IsDestroying())
        ownerWatch_ = std::make_unique<TOwnerWatch>(CommonData, c);
    SaveStdParams();
    ParamsApplied = false;
    WindowText = kova::WindowText(WindowHandle);
    AttachTo(repaint);
    if (!Subclass.Attached()) {
        // The window could not be chained (it went meanwhile): nothing of
        // the adapter stays on it.
        Detached = true;
        Unhook();
        return;
    }
    if (TControl* c = CommonData->OwnerControl) {
        SavedControlStyle = c->ControlStyle();
        opaqueAdded_ = !(SavedControlStyle & csOpaque);
        c->SetControlStyle(SavedControlStyle | csOpaque);
    }
}

TacMainWnd::~TacMainWnd() {
    *alive_ = false;
    if (!Detached) Unhook();
    Detached = true;
    ownerWatch_.reset();
    CommonData = nullptr;
    ownData_.reset();
    Manager = nullptr;
}

void TacMainWnd::AttachTo(bool /*repaint*/) { AttachAdapter(*this, WindowHandle); }

void AttachAdapter(TacMainWnd& a, HWND wnd) {
    a.SelfChange = false;
    a.WindowHandle = wnd;
    SetPropA(wnd, kAdapterProp, &a);
    auto handler = [&a](TMessage& m) { a.WndProc(m); };
    if (TsSkinProviderBase* p = ProviderOf(a.CommonData); p && p->Form) {
        a.Subclass.Attach(p->Form, handler);
    } else if (a.CommonData->OwnerControl) {
        a.Subclass.Attach(a.CommonData->OwnerControl, handler);
    } else {
        a.Subclass.Attach(wnd, handler);
    }
}

void TacMainWnd::Unhook() {
    Subclass.Detach();
    if (IsWindow(WindowHandle) && GetPropA(WindowHandle, kAdapterProp) == this) RemovePropA(WindowHandle, kAdapterProp);
    RestoreStdParams();
    if (themeSwitchedOff_) {
        themeSwitchedOff_ = false;
        const bool keep = CommonData && CommonData->ControlCode == 10 && DwmCompositionEnabled();
        if (!keep && IsWindow(WindowHandle)) SystemEntries().SetWindowTheme(WindowHandle, nullptr, nullptr);
    }
    if (opaqueAdded_) {
        opaqueAdded_ = false;
        if (TControl* c = CommonData ? CommonData->OwnerControl : nullptr; c && !c->IsDestroying())
            c->SetControlStyle(c->ControlStyle() & ~csOpaque);
    }
}

void TacMainWnd::Detach(bool repaintFrame) {
    if (Detached) return;
    Detached = true;
    Unhook();
    if (IsWindow(WindowHandle) && IsWindowVisible(WindowHandle)) RefreshFrame(WindowHandle, repaintFrame);
}

// ------------------------------------------------------------- messages

LRESULT TacMainWnd::CallPrevWndProc(UINT msg, WPARAM w, LPARAM l) { return Subclass.CallPrevious(msg, w, l); }

void TacMainWnd::CallPrevWndProc(TMessage& m) { Subclass.CallPrevious(m); }

TsSkinManager* TacMainWnd::ActiveManager() const {
    if (!CommonData) return nullptr;
    TsSkinManager* m = CommonData->GetSkinManager();
    if (!m || m->IsDestroying() || !m->Active() || !m->Model().SkinData().Active) return nullptr;
    return m;
}

bool TacMainWnd::HandleRootMessage(TMessage& m) {
    switch (m.Msg) {
        case WM_DESTROY:
        case WM_NCDESTROY: {
            WindowGoing = true;
            if (CommonData && CommonData->GlowID != -1) {
                HideGlow(CommonData->GlowID);
                CommonData->GlowID = -1;
            }
            const TLife life = Life();
            CallPrevWndProc(m);
            // The window goes: the adapter lets go of it whatever the
            // window answered (its owner frees it later).
            if (life.Alive()) {
                try {
                    Detach(false);
                } catch (...) {
                }
            }
            return true;
        }
        case WM_SIZE:
            if (CommonData) CommonData->BGChanged = true;
            return false;
        case WM_SETTEXT: {
            const TLife life = Life();
            CallPrevWndProc(m);
            if (life.Alive()) WindowText = kova::WindowText(WindowHandle);
            return true;
        }
        case WM_UPDATEUISTATE:
            return true;
        case WM_CONTEXTMENU:
            // The control's own menu shows skinned (or plain without a skin).
            if (TControl* c = CommonData && CommonData->OwnerControl ? CommonData->OwnerControl
                                                                      : TWinControl::FindControl(WindowHandle);
                c && c->PopupMenu() && Manager && FormSkinning().SetPopupMenuSkinned)
                FormSkinning().SetPopupMenuSkinned(Manager, c->PopupMenu(), Manager->Active());
            return false;
        case WM_MOUSEMOVE:
            if (DefaultManager && IsWindowEnabled(WindowHandle) && DefaultManager->HotControl() != WindowHandle)
                DefaultManager->SetHotControl(WindowHandle);
            return false;
        case WM_PRINT:
            m.Result = SendMessageA(WindowHandle, WM_PAINT, m.WParam, m.LParam);
            return true;
        default:
            return false;
    }
}

bool TacMainWnd::HandleRootCommand(TMessage& m) {
    TsCommonData& d = *CommonData;
    auto* fromManager = reinterpret_cast<TsSkinManager*>(m.LParam);
    const bool ours = fromManager == d.GetSkinManager();
    switch (SkinSubCode(m.WParam)) {
        case scSkinApplied:
            if (ours) {
                d.ReadSkinIndexes();
                d.BGChanged = true;
                PassCommandToChildren(d.OwnerControl, WindowHandle, m);
            }
            return false;
        case scSkinRemoved:
            if (ours) RestoreStdParams();
            return false;
        case scRefresh:
            if (!ours) return false;
            d.ReadSkinIndexes();
            d.BGChanged = true;
            d.Updating = false;
            if (IsWindowVisible(WindowHandle)) SendMessageA(WindowHandle, WM_PAINT, 0, 0);
            return true;
        case scEndParentUpdate:
            if (!d.Updating) return false;
            d.Updating = false;
            d.Updating = d.IsUpdating();
            if (!d.Updating)
                RedrawWindow(WindowHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
            return true;
        case scQuerySupport:
            m.Result = 1;
            return true;
        case scQueryUpdating:
            m.Result = d.Updating ? 1 : 0;
            return true;
        case scCopySection:
            if (auto* other = reinterpret_cast<TsCommonData*>(m.LParam)) d.SetSkinSection(other->SkinSection());
            return false;
        case scQueryParentDependent:
            return d.OwnerControl ? HandleSkinCommand(m, &d) : false;
        case scQueryBgColor: {
            // What lies below answers only when it is skinned itself: a
            // native procedure's 0 is no answer, a skinned one's 0 is black.
            const TLife life = Life();
            if (CallPrevWndProc(SkinCommandMessage, SkinCommand(scQuerySupport), 0) == 1) {
                if (!life.Alive()) return true;
                CallPrevWndProc(m);
                return true;
            }
            if (!life.Alive()) return true;
            m.Result = static_cast<LRESULT>(d.BackgroundColorFor(0, WindowHandle));
            return true;
        }
        case 23: {
            UpdateWndCache(d, WindowHandle, false);
            return false;
        }
        case scQueryBgInfo:
            if (m.LParam) d.FillBackgroundInfo(*reinterpret_cast<TsBackgroundInfo*>(m.LParam), 0, WindowHandle);
            return true;
        case scGetSkinData:
            m.Result = reinterpret_cast<LRESULT>(&d);
            return true;
        case scSetLinkedObject:
            if (m.LParam == 0)
                d.FlagsWord &= static_cast<std::uint16_t>(~kHasLinkedObject);
            else
                d.FlagsWord |= kHasLinkedObject;
            d.LinkedObject = reinterpret_cast<TObject*>(m.LParam);
            return false;
        case scGetApplication:
            m.Result = reinterpret_cast<LRESULT>(Application());
            return true;
        default:
            return false;
    }
}

void TacMainWnd::WndProc(TMessage& m) {
    if (HandleRootMessage(m)) return;
    if (!ActiveManager()) {
        CallPrevWndProc(m);
        return;
    }
    if (IsSkinCommand(m) && SkinSubCode(m.WParam) <= scMaxSubCode && HandleRootCommand(m)) return;
    CallPrevWndProc(m);
}

// ------------------------------------------------------------- routines

TacMainWnd* FindAdapter(HWND wnd) {
    return wnd ? static_cast<TacMainWnd*>(GetPropA(wnd, kAdapterProp)) : nullptr;
}

void SetColorProp(TObject* obj, const std::string& name, TColor value) {
    if (PublishedPropExists(obj, name)) SetOrdPropByName(obj, name, static_cast<std::int64_t>(value));
}

TColor GetColorProp(TObject* obj, const std::string& name) {
    if (!PublishedPropExists(obj, name)) return 0;
    return static_cast<TColor>(kova::ColorToRGB(static_cast<std::uint32_t>(OrdPropByName(obj, name))));
}

void PaintAllOnErase(HWND wnd) {
    InvalidateRect(wnd, nullptr, TRUE);
    PAINTSTRUCT ps{};
    BeginPaint(wnd, &ps);
    EndPaint(wnd, &ps);
}

void RefreshFrame(HWND wnd, bool useSetWindowPos) {
    if (useSetWindowPos)
        SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    else
        SendMessageA(wnd, WM_NCPAINT, 1, 0);
}

void GetWndGeometry(HWND wnd, HWND& parent, RECT& windowRect, POINT& posInParent, SIZE& windowSize,
                    RECT& parentWindowRect) {
    GetWindowRect(wnd, &windowRect);
    parent = GetParent(wnd);
    parentWindowRect = RECT{};
    if (parent) GetWindowRect(parent, &parentWindowRect);
    windowSize = SIZE{windowRect.right - windowRect.left, windowRect.bottom - windowRect.top};
    posInParent = POINT{windowRect.left, windowRect.top};
    if (parent) ScreenToClient(parent, &posInParent);
}

TGdiObject<HFONT> GetNonClientFont(int kind) {
    NONCLIENTMETRICSW ncm{};
    // The size without the padded-border field: accepted by every system.
    ncm.cbSize = 500;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) return {};
    const LOGFONTW* f = nullptr;
    switch (kind) {
        case 1: f = &ncm.lfCaptionFont; break;
        case 2: f = &ncm.lfSmCaptionFont; break;
        case 3: f = &ncm.lfMenuFont; break;
        case 4: f = &ncm.lfStatusFont; break;
        case 5: f = &ncm.lfMessageFont; break;
        default: return {};
    }
    return TGdiObject<HFONT>(CreateFontIndirectW(f));
}

void PassCommandToChildren(TControl* control, HWND wnd, TMessage& m) {
    if (control) {
        if (control->IsWindowed()) BroadcastToAllControls(static_cast<TWinControl*>(control), m);
        return;
    }
    if (wnd) SendToChildWindows(wnd, m);
}

bool HasHotState(const TsCommonData& data) {
    const TsSkinManager* m = data.GetSkinManager();
    if (!m || data.SkinIndex < 0 || data.BorderIndex < 0) return false;
    const TsSkinModel& model = m->Model();
    if (model.MaskIndexValid(data.BorderIndex) && model.Masks()[static_cast<std::size_t>(data.BorderIndex)].ColumnCount > 1)
        return true;
    const TsGeneralData* s = data.Section();
    return s && s->States >= 2;
}

void NotifyTopWindow(HWND wnd) {
    HWND top = wnd;
    while (top && GetParent(top)) top = GetParent(top);
    if (top) SendSkinCommand(top, scParentFormNotify, 0);
}

void UpdateWndCache(TsCommonData& data, HWND wnd, bool inDialog) {
    if (!data.BGChanged || !wnd) return;
    RECT wr{};
    GetWindowRect(wnd, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    TsParentImageInfo bg;
    TsBackgroundInfo info;
    if (HWND parent = GetParent(wnd)) {
        POINT p{wr.left, wr.top};
        ScreenToClient(parent, &p);
        info.R = TRect{p.x, p.y, p.x + w, p.y + h};
        QueryParentBackgroundInfoWnd(info, parent, false);
        if (info.BgType == 3) {
            data.Updating = true;
            return;
        }
        BackgroundInfoToImageInfo(info, bg);
    }
    if (!data.CacheBmp) data.CacheBmp = std::make_unique<TBitmap>();
    data.CacheBmp->SetSize(std::max(w, 0), std::max(h, 0));
    TsSkinManager* m = data.GetSkinManager();
    const TsColor dialogColour = m ? m->Model().ConstData().DialogColor : clFuchsia;
    if (w > 0 && h > 0 && m) {
        PixelBuffer32& px = data.CacheBmp->Pixels();
        if (!inDialog || dialogColour == clFuchsia) {
            if (data.IsSkinned()) {
                const int state = (data.FocusSet || data.MouseAbove) && HasHotState(data) ? 1 : 0;
                PaintControlSkin(px, m->Model(), data.SkinIndex, bg, state, TRect{0, 0, w, h}, TPoint{0, 0},
                                 false, data.HUEOffset, data.Saturation, data.TextureIndex, data.HotTextureIndex);
            }
        } else {
            px.Fill(0xFF000000u | (static_cast<std::uint32_t>(m->Model().ColorToRGB(dialogColour)) & 0xFFFFFF));
        }
    }
    data.BGChanged = false;
}

void FillBorderCorners(TsCommonData& data, TacMainWnd& adapter) {
    TsSkinManager* m = data.GetSkinManager();
    if (!m || adapter.InDialog || !data.CacheBmp || !m->Model().MaskIndexValid(data.BorderIndex)) return;
    const int w = data.CacheBmp->Width(), h = data.CacheBmp->Height();
    if (w <= 1 || h <= 1) return;
    const TsMaskData& mask = m->Model().Masks()[static_cast<std::size_t>(data.BorderIndex)];
    const Bitmap32* source = MaskSourceBitmap(mask);
    if (!source) return;
    // What lies under the window: a control's parent control, else the
    // window's parent window.
    TsParentImageInfo bg;
    if (data.OwnerControl)
        data.ParentImageInfo(bg);
    else
        ParentImageInfoOfWnd(adapter.WindowHandle, bg);
    TBorderCornerSource corners;
    corners.Mask = source;
    corners.Image = MaskStateRect(mask, 0);
    corners.Borders = MaskBorderWidths(mask);
    corners.Background = bg.Ready && bg.Bmp ? bg.Bmp : nullptr;
    corners.BackgroundAt = TPoint{bg.X, bg.Y};
    corners.Colour = static_cast<std::uint32_t>(m->Model().ColorToRGB(bg.FillColor));
    FillTransparentBorderPixels(data.CacheBmp->Pixels(), corners);
}

// ------------------------------------------------------ keeping in step

namespace {

// comctl32's flat scroll bars (a system without them answers FALSE).
void FlatScrollBars(HWND wnd, bool on) {
    if (!wnd) return;
    const TSystemEntries& e = SystemEntries();
    (on ? e.InitializeFlatSB : e.UninitializeFlatSB)(wnd);
}

}  // namespace

void UpdateScrollAdapter(TsCommonData& data, std::unique_ptr<TacScrollWnd>& adapter) {
    TControl* c = data.OwnerControl;
    if (!c || c->IsLoading() || c->IsDestroying() || !c->IsWindowed()) return;
    auto* w = static_cast<TWinControl*>(c);
    if (data.IsSkinned()) {
        FlatScrollBars(w->Handle(), false);
        if (adapter && adapter->Detached) adapter.reset();
        if (!adapter) adapter = CreateAdapter<TacScrollWnd>(w->Handle(), &data, data.SkinManager(), data.SkinSection());
    } else {
        adapter.reset();
        if (w->HandleAllocated()) FlatScrollBars(w->Handle(), true);
    }
}

TEditAdapterMaker& EditAdapterMaker() {
    static TEditAdapterMaker maker = [](TsCommonData& data) -> std::unique_ptr<TacScrollWnd> {
        auto* w = static_cast<TWinControl*>(data.OwnerControl);
        return CreateAdapter<TacEditWnd>(w->Handle(), &data, data.SkinManager(), data.SkinSection());
    };
    return maker;
}

void UpdateEditAdapter(TsCommonData& data, std::unique_ptr<TacScrollWnd>& adapter) {
    TControl* c = data.OwnerControl;
    if (!c || !c->IsWindowed()) return;
    if (data.IsSkinned()) {
        if (adapter && adapter->Detached) adapter.reset();
        if (!adapter && EditAdapterMaker()) adapter = EditAdapterMaker()(data);
    } else {
        adapter.reset();
    }
}

void FillFromParentBackground(Bitmap32& dest, const RECT& r, POINT origin, const TsParentImageInfo& bg,
                              const TsSkinModel& skin) {
    const std::uint32_t fill = 0xFF000000u | ColorToPixel(static_cast<std::uint32_t>(
                                                 skin.ColorToRGB(bg.FillColor == clFuchsia ? skin.GlobalInfoColor() : bg.FillColor)));
    for (int y = std::max(0L, r.top); y < std::min<long>(r.bottom, dest.Height()); ++y)
        for (int x = std::max(0L, r.left); x < std::min<long>(r.right, dest.Width()); ++x) {
            const int sx = bg.X + origin.x + x, sy = bg.Y + origin.y + y;
            dest.At(x, y) = bg.Ready && bg.Bmp && sx >= 0 && sy >= 0 && sx < bg.Bmp->Width() && sy < bg.Bmp->Height()
                                ? bg.Bmp->At(sx, sy)
                                : fill;
        }
}

TControlTextStyle RecordTextStyle(const TsSkinModel& skin, const TsCommonData& data, bool hot) {
    TControlTextStyle style;
    style.Skin = &skin;
    style.Section = data.SkinIndex;
    style.Hot = hot;
    style.HueOffset = data.HUEOffset;
    style.Saturation = data.Saturation;
    return style;
}

}  // namespace kova::skin
