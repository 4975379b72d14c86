#include "skin/core/commondata.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/windowtext.h"
#include "skin/core/dc/dcpaint.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/glow.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/paint/portable/surface.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/recordhelpers.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/vclutils.h"

namespace kova::skin {

using namespace record;

namespace {

std::string UpperCase(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool Destroying(const TObject* o) {
    const auto* c = dynamic_cast<const TComponent*>(o);
    return c != nullptr && c->IsDestroying();
}

// The state block of a section: the hot one for a hot state when the
// section has one.
const TsGenState& Block(const TsGeneralData& s, bool hot) { return s.Props[hot && s.States > 1 ? 1 : 0]; }

}  // namespace

TsCommonData::TsCommonData(TObject* owner, bool createCacheBmp) : OwnerObject(owner) {
    OwnerControl = dynamic_cast<TControl*>(owner);
    if (createCacheBmp) CacheBmp = std::make_unique<TBitmap>();
}

TsCommonData::~TsCommonData() {
    BorderIndex = SkinIndex = TextureIndex = HotTextureIndex = -1;
    OwnerControl = nullptr;
    OwnerObject = nullptr;
    skinManager_ = nullptr;
    HideShownGlow(GlowID);
}

TsSkinManager* TsCommonData::GetSkinManager() const { return skinManager_ ? skinManager_ : DefaultManager; }

const TsGeneralData* TsCommonData::Section() const {
    const TsSkinManager* m = GetSkinManager();
    if (!m || !m->SectionIndexValid(SkinIndex)) return nullptr;
    return &m->Model().Sections()[static_cast<std::size_t>(SkinIndex)];
}

HWND TsCommonData::OwnerHandle() const {
    if (TWinControl* w = Windowed(OwnerControl)) return w->HandleAllocated() ? w->Handle() : nullptr;
    if (providerOwned_) return providerForm_ && providerForm_->HandleAllocated() ? providerForm_->Handle() : nullptr;
    return nullptr;
}

void TsCommonData::SetIndexFor(TsSkinManager* manager) {
    if (!manager || manager->Model().Sections().empty())
        SkinIndex = -1;
    else
        ReadSkinIndexes();
}

void TsCommonData::TellOwner(TsSkinManager* manager) {
    const bool valid = manager && !manager->Model().Sections().empty() && manager->SectionIndexValid(SkinIndex);
    PerformCommand(OwnerControl, valid ? scRefresh : scSkinRemoved, reinterpret_cast<LPARAM>(manager));
}

void TsCommonData::SetSkinManager(TsSkinManager* value) {
    TsSkinManager* stored = value == DefaultManager ? nullptr : value;
    if (stored == skinManager_) return;
    skinManager_ = stored;
    if (OwnerControl && OwnerControl->IsLoading()) return;
    SetIndexFor(value);
    if (providerOwned_) return;
    if (OwnerControl && OwnerControl->Parent() && !OwnerControl->IsDestroying()) TellOwner(value);
}

void TsCommonData::SetSkinSection(const std::string& value) {
    if (value == skinSection_) return;
    skinSection_ = value.empty() ? std::string("UNKNOWN") : UpperCase(value);
    TsSkinManager* m = GetSkinManager();
    SetIndexFor(m);
    if (!OwnerControl || OwnerControl->IsLoading() || (OwnerControl->ComponentState() & csReading) ||
        !OwnerControl->Parent() || OwnerControl->IsDestroying()) {
        if (providerOwned_) BGChanged = true;
        return;
    }
    if (!Updating) TellOwner(m);
    HideShownGlow(GlowID);
}

void TsCommonData::DefineProps(TPropList& L) {
    L.For<TsCommonData>()
        .Bool("CustomColor", &TsCommonData::CustomColor, &TsCommonData::SetCustomColor)
        .Bool("CustomFont", &TsCommonData::CustomFont, &TsCommonData::SetCustomFont)
        .String("SkinSection", &TsCommonData::SkinSection, &TsCommonData::SetSkinSection);
}

void TsCommonData::SetCustomColor(bool value) {
    if (value == customColor_) return;
    customColor_ = value;
    if (!(OwnerControl && OwnerControl->IsLoading())) UpdateColors(true);
}

void TsCommonData::SetCustomFont(bool value) {
    if (value == customFont_) return;
    customFont_ = value;
    if (!(OwnerControl && OwnerControl->IsLoading())) UpdateColors(true);
}

bool TsCommonData::IsSkinned(bool checkActive) const {
    const TsSkinManager* m = GetSkinManager();
    return !skinSection_.empty() && m && !m->IsDestroying() && m->SectionIndexValid(SkinIndex) &&
           !Destroying(OwnerObject) && (!checkActive || m->Model().SkinData().Active);
}

void TsCommonData::ReadSkinIndexes() {
    BGChanged = true;
    TsSkinManager* m = GetSkinManager();
    SkinIndex = m && m->Active() ? m->IndexOfSection(skinSection_) : -1;
    UpdateOpaqueFlags();
    FlagsWord = 0;
    if (SkinIndex >= 0 && m) {
        const TsSkinModel& model = m->Model();
        BorderIndex = model.Sections()[static_cast<std::size_t>(SkinIndex)].BorderIndex;
        TextureIndex = model.IndexOfTexture(SkinIndex, skinSection_, "PATTERN");
        HotTextureIndex = model.IndexOfTexture(SkinIndex, skinSection_, "HOTPATTERN");
        UpdateBgFlags(false);
    } else {
        BorderIndex = TextureIndex = HotTextureIndex = -1;
    }
}

void TsCommonData::SetDefaultSection() {
    if (!skinSection_.empty()) {
        ReadSkinIndexes();
        return;
    }
    std::string name = DefaultSectionForCode(ControlCode);
    if (name.empty() && OwnerObject) name = OwnerObject->ClassName();
    SetSkinSection(name);
}

void TsCommonData::Loaded() {
    SetDefaultSection();
    if (IsSkinned() && OwnerControl && OwnerControl->Parent() && !OwnerControl->IsLoading()) {
        if (OwnerControl->IsWindowed()) NotifyParentFormOfControl(OwnerControl);
        UpdateColors(false);
    }
}

void TsCommonData::UpdateColors(bool repaint) {
    if (!IsSkinned() || !IsEditKind(ControlCode) || !OwnerControl) return;
    if (TWinControl* w = Windowed(OwnerControl); w && !w->HandleAllocated()) return;
    const TsGeneralData* s = Section();
    const TsSkinModel& model = GetSkinManager()->Model();
    auto recolour = [&](TsColor c) {
        auto v = static_cast<TColor>(model.ColorToRGB(c)) & 0xFFFFFF;
        if (HUEOffset != 0) v = ChangeColorHue(HUEOffset, v);
        return ChangeColorSaturationIf(v, Saturation);
    };
    if (!customColor_) {
        const auto c = static_cast<kova::TColor>(recolour(s->Color));
        if (OwnerControl->Color() != c) OwnerControl->SetColor(c);
    }
    if (!customFont_) {
        const auto c = static_cast<kova::TColor>(recolour(s->FontColors[0]));
        if (OwnerControl->Font()->Color() != c) OwnerControl->Font()->SetColor(c);
    }
    if (repaint) Invalidate();
}

namespace {
void SendUpdateCommand(TsCommonData& d, int subCode) {
    if (d.OwnerControl) {
        PerformCommand(d.OwnerControl, subCode, 0);
    } else if (TCustomForm* f = d.ProviderForm(); f && f->HandleAllocated()) {
        SendSkinCommand(f->Handle(), subCode, 0);
    }
}
}  // namespace

void TsCommonData::BeginUpdate() {
    ++UpdateCount;
    Updating = true;
    FlagsWord |= kInBeginUpdate;
    SendUpdateCommand(*this, scBeginUpdate);
}

void TsCommonData::EndUpdate(bool repaint) {
    --UpdateCount;
    Updating = false;
    FlagsWord &= static_cast<std::uint16_t>(~kInBeginUpdate);
    if (UpdateCount < 1) {
        SendUpdateCommand(*this, scEndUpdate);
        if (repaint) Invalidate();
    }
}

bool TsCommonData::IsUpdating() const {
    if (!GetSkinManager()) return false;
    if (!RepaintsWithParent()) return Updating;
    if (OwnerControl) {
        if (OwnerControl->IsDestroying()) return Updating;
        if (Updating) return true;
        return OwnerControl->Parent() && NotifyControl(OwnerControl->Parent(), scQueryUpdating) != 0;
    }
    if (Updating) return true;
    if (providerForm_ && providerForm_->Parent()) return NotifyControl(providerForm_->Parent(), scQueryUpdating) != 0;
    return false;
}

bool TsCommonData::RepaintsWithParent() const { return !PlainBackground() || IsActiveState(); }

bool TsCommonData::IsActiveState() const {
    if (!OwnerControl || OwnerControl->IsDestroying() || !OwnerControl->Enabled()) return false;
    if (FocusSet) return true;
    if (TWinControl* w = Windowed(OwnerControl);
        w && w->HandleAllocated() && GetFocus() == w->Handle() && !OwnerControl->Is<TPanel>())
        return true;
    return MouseAbove && !IsHotlessKind(ControlCode);
}

void TsCommonData::Invalidate() {
    constexpr UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME;
    if (OwnerControl) {
        if (OwnerControl->IsDestroying() || OwnerControl->IsLoading()) return;
        BGChanged = true;
        if (!CanPaintControl(OwnerControl)) return;
        if (TWinControl* w = Windowed(OwnerControl))
            RedrawWindow(w->Handle(), nullptr, nullptr, flags);
        else
            OwnerControl->Invalidate();
        return;
    }
    if (providerOwned_) {
        BGChanged = true;
        if (providerForm_ && providerForm_->HandleAllocated())
            RedrawWindow(providerForm_->Handle(), nullptr, nullptr, flags);
    }
}

bool TsCommonData::DependsOnParentBg() const {
    if (ParentDependent || !IsSkinned() || !OwnerControl || !OwnerControl->Enabled()) return true;
    TWinControl* parent = OwnerControl->Parent();
    if (Section()->Transparency < 1 || !parent || !parent->HandleAllocated()) return false;
    return SendSkinCommand(parent->Handle(), scQueryParentDependent, 0) != 0;
}

void TsCommonData::UpdateBgFlags(bool broadcast) {
    FlagsWord &= static_cast<std::uint16_t>(~kPlainBackground);
    if (OwnerControl) {
        if (OwnerControl->Is<TPanel>() || OwnerControl->Is<TScrollingWinControl>() ||
            OwnerControl->Is<TPageControl>()) {
            if (!HasComplexBackground()) FlagsWord |= kPlainBackground;
        }
        if (TWinControl* w = Windowed(OwnerControl); w && broadcast)
            for (int i = 0; i < w->ControlCount(); ++i) SendSkinCommandToControl(w->Controls(i), scControlFlags, 1);
    } else if (providerOwned_) {
        if (!HasComplexBackground() && !(providerForm_ && providerForm_->FormStyle() == fsMDIForm))
            FlagsWord |= kPlainBackground;
    }
}

bool TsCommonData::HasComplexBackground() const {
    const TsSkinManager* m = GetSkinManager();
    const TsGeneralData* s = Section();
    TComplexBgInput in;
    in.Skinned = m && SkinIndex >= 0 && s;
    if (in.Skinned) {
        const TsSkinModel& model = m->Model();
        if (model.MaskIndexValid(BorderIndex)) {
            const TsMaskData& b = model.Masks()[static_cast<std::size_t>(BorderIndex)];
            in.HasBorder = true;
            in.BorderDrawMode = b.DrawMode;
            in.MarginLeft = b.MarginLeft;
            in.MarginTop = b.MarginTop;
            in.MarginRight = b.MarginRight;
            in.MarginBottom = b.MarginBottom;
        }
        in.Transparency = s->Transparency;
        in.GradientPercent = s->GradientPercent;
        in.ImagePercent = s->ImagePercent;
        in.TextureDrawMode10 = model.MaskIndexValid(TextureIndex) &&
                               model.Masks()[static_cast<std::size_t>(TextureIndex)].DrawMode == 10;
        in.HasOwnerParent = OwnerControl && OwnerControl->Parent();
    }
    return skin::HasComplexBackground(in, [this] {
        const LRESULT flags = SendSkinCommandToControl(OwnerControl->Parent(), scControlFlags, 0);
        return (flags & kPlainBackground) != 0;
    });
}

void TsCommonData::UpdateOpaqueFlags() {
    const TsGeneralData* s = Section();
    if (!s) {
        OpaqueFlags = 0;
        return;
    }
    const int kind = s->GradientPercent != 0 && !s->GradientArray.empty() ? s->GradientArray.front().Mode : -1;
    OpaqueFlags = SectionOpaqueFlags(s->ImagePercent, kind);
}

void TsCommonData::EnsureCacheBmp() {
    if (!CacheBmp) CacheBmp = std::make_unique<TBitmap>();
    // The framework's bitmaps are always 32-bit device-independent sections.
    if (!OwnerControl) return;
    const int w = std::max(0, OwnerControl->Width()), h = std::max(0, OwnerControl->Height());
    if (CacheBmp->Width() != w || CacheBmp->Height() != h) CacheBmp->SetSize(w, h);
}

std::int32_t TsCommonData::MaxBorderWidth() const {
    TsSkinManager* m = GetSkinManager();
    if (BorderIndex < 0 || !m || !m->Model().MaskIndexValid(BorderIndex)) return 0;
    TsSkinModel& model = m->Model();
    if (model.Masks()[static_cast<std::size_t>(BorderIndex)].DrawMode & 2) return 0;
    return std::max({model.MaskMarginLeft(BorderIndex), model.MaskMarginTop(BorderIndex),
                     model.MaskMarginRight(BorderIndex), model.MaskMarginBottom(BorderIndex)});
}

void TsCommonData::UpdateGlow(bool reshow, HWND wnd) {
    TsSkinManager* m = GetSkinManager();
    const TsGeneralData* s = Section();
    if (!m || !m->AllowGlowing() || !s || s->Glow < 1) return;
    RECT r{}, clip{};
    HWND ownerWnd = nullptr;
    if (OwnerControl) {
        const bool pressed = (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
        if (!MouseAbove || pressed || (reshow && GlowID >= 0)) {
            if (!MouseAbove || pressed) HideShownGlow(GlowID);
            return;
        }
        if (TCustomForm* form = OwnerControl->ParentForm()) {
            if (form->Parent())
                ownerWnd = form->Parent()->Handle();
            else if (form->FormStyle() != fsMDIChild)
                ownerWnd = form->Handle();
            else if (Application()->MainForm())
                ownerWnd = Application()->MainForm()->Handle();
        }
        if (TWinControl* w = Windowed(OwnerControl)) {
            if (!w->HandleAllocated()) return;
            GetWindowRect(w->Handle(), &r);
            const TWindowDC dc(w->Handle(), TDCArea::Window);
            GetClipBox(dc.Get(), &clip);
        } else {
            TWinControl* parent = OwnerControl->Parent();
            if (!parent || !parent->HandleAllocated()) return;
            const POINT p = OwnerControl->ClientToScreen(POINT{0, 0});
            r = {p.x, p.y, p.x + OwnerControl->Width(), p.y + OwnerControl->Height()};
            RECT pc{};
            GetClipBox(TWindowDC(parent->Handle()).Get(), &pc);
            // The parent's visible part within the control, relative to it.
            const LONG l = OwnerControl->Left(), t = OwnerControl->Top();
            clip = {std::max<LONG>(pc.left - l, 0), std::max<LONG>(pc.top - t, 0),
                    std::min<LONG>(pc.right - l, OwnerControl->Width()),
                    std::min<LONG>(pc.bottom - t, OwnerControl->Height())};
        }
    } else if (wnd) {
        GetWindowRect(wnd, &r);
        GetClipBox(TWindowDC(wnd, TDCArea::Window).Get(), &clip);
        ownerWnd = GetTopParentWindow(wnd);
    } else {
        return;
    }
    HideShownGlow(GlowID);
    GlowID = ShowGlow(m->Model(), r, clip, skinSection_, "GLOW", s->GlowMargin, ownerWnd);
}

void TsCommonData::FillBackgroundInfo(TsBackgroundInfo& info, std::int32_t state, HWND wnd) {
    const TsGeneralData* s = IsSkinned() ? Section() : nullptr;
    TCustomForm* form = providerForm_;
    if (!s || customColor_) {
        info.BgType = 1;
        if (OwnerControl)
            info.Color = RGBOf(OwnerControl->Color());
        else if (form)
            info.Color = RGBOf(form->Color());
        else
            info.Color = RGBOf(clBtnFace);
        return;
    }
    const TsSkinModel& model = GetSkinManager()->Model();
    const bool hot = state != 0;
    const std::int32_t t = hot ? s->HotTransparency : s->Transparency;
    const std::int32_t g = hot ? s->HotGradientPercent : s->GradientPercent;
    const std::int32_t im = hot ? s->HotImagePercent : s->ImagePercent;
    auto fromCache = [&] {
        if (!CacheBmp) {
            info.BgType = 1;
            info.Color = clFuchsia;
            return;
        }
        info.BgType = 2;
        if (info.PleaseDraw && info.DrawDC) {
            BitBlt(static_cast<HDC>(info.DrawDC), info.R.Left, info.R.Top, info.R.Right - info.R.Left,
                   info.R.Bottom - info.R.Top, CacheBmp->Canvas()->Handle(), info.Offset.X, info.Offset.Y, SRCCOPY);
        } else {
            info.Bmp = &CacheBmp->Pixels();
            info.Offset = {0, 0};
        }
    };
    if (t == 0 && g < 1 && im < 1) {
        info.BgType = 1;
        info.Bmp = CacheBmp ? &CacheBmp->Pixels() : nullptr;
        info.Color = BackgroundColorFor(state, nullptr);
        if (info.PleaseDraw && info.DrawDC)
            FillRectSolid(static_cast<HDC>(info.DrawDC),
                          RECT{info.R.Left, info.R.Top, info.R.Right, info.R.Bottom}, info.Color);
        return;
    }
    if (t < 100) {
        if (t == 0) info.Color = static_cast<TColor>(model.ColorToRGB(model.GlobalInfoColor())) & 0xFFFFFF;
        fromCache();
        return;
    }
    if (!PlainBackground() && CacheBmp && !BGChanged) {
        fromCache();
        return;
    }
    TControl* parent = nullptr;
    POINT pos{};
    if (OwnerControl) {
        parent = OwnerControl->Parent();
        pos = {OwnerControl->Left(), OwnerControl->Top()};
    } else if (form) {
        parent = form->Parent();
        pos = {form->Left(), form->Top()};
    }
    if (parent) {
        QueryParentBackgroundInfo(info, parent, info.PleaseDraw);
        if (info.BgType == 2) {
            info.Offset.X += pos.x;
            info.Offset.Y += pos.y;
        }
        return;
    }
    if (!wnd) {
        info.BgType = 1;
        info.Color = DefaultManager
                         ? static_cast<TColor>(DefaultManager->Model().ColorToRGB(DefaultManager->Model().GlobalInfoColor())) & 0xFFFFFF
                         : RGBOf(clBtnFace);
        return;
    }
    HWND parentWnd = GetParent(wnd);
    QueryParentBackgroundInfoWnd(info, parentWnd, info.PleaseDraw);
    if (info.BgType == 2) {
        RECT wr{};
        GetWindowRect(wnd, &wr);
        POINT p{wr.left, wr.top};
        ScreenToClient(parentWnd, &p);
        info.Offset.X += p.x;
        info.Offset.Y += p.y;
    }
}

TColor TsCommonData::BackgroundColorFor(std::int32_t state, HWND wnd) const {
    const TsGeneralData* s = IsSkinned() ? Section() : nullptr;
    if (!s) {
        if (OwnerControl) return RGBOf(OwnerControl->Color());
        if (providerForm_) return RGBOf(providerForm_->Color());
        return RGBOf(clBtnFace);
    }
    const TsSkinModel& model = GetSkinManager()->Model();
    const TsGenState& b = Block(*s, state > 0);
    const TColor c = static_cast<TColor>(model.ColorToRGB(b.Color)) & 0xFFFFFF;
    if (b.Transparency < 1) return customColor_ && OwnerControl ? RGBOf(OwnerControl->Color()) : c;
    TColor parent;
    if (OwnerControl && OwnerControl->Parent())
        parent = GetControlColor(OwnerControl->Parent());
    else if (!OwnerControl && wnd && GetParent(wnd))
        parent = GetWindowColor(GetParent(wnd));
    else
        return RGBOf(clBtnFace);
    // A parent without a colour of its own ("none") shows nothing through:
    // the section's colour stands, never a mix with the "none" magenta.
    if (parent == clFuchsia) return c;
    if (b.Transparency >= 100) return parent;
    return MixColors(parent, c, b.Transparency / 100.0) & 0xFFFFFF;
}

void TsCommonData::ParentImageInfo(TsParentImageInfo& info) {
    if (IsSkinned() && OwnerControl) {
        TsBackgroundInfo bg;
        const RECT b = OwnerControl->BoundsRect();
        bg.R = {b.left, b.top, b.right, b.bottom};
        if (TWinControl* parent = OwnerControl->Parent()) {
            QueryParentBackgroundInfo(bg, parent, false);
            BackgroundInfoToImageInfo(bg, info);
            return;
        }
        if (TWinControl* w = Windowed(OwnerControl); w && w->HandleAllocated() && GetParent(w->Handle())) {
            QueryParentBackgroundInfoWnd(bg, GetParent(w->Handle()), false);
            BackgroundInfoToImageInfo(bg, info);
            return;
        }
    }
    info.Bmp = nullptr;
    info.X = info.Y = 0;
    info.FillColor = BackgroundColorFor(0, nullptr);
    info.Ready = false;
}

void TsCtrlSkinData::SetHUEOffset(std::int32_t value) {
    if (value == HUEOffset) return;
    HUEOffset = value;
    Loaded();
    Invalidate();
}

void TsCtrlSkinData::SetSaturation(std::int32_t value) {
    if (value == Saturation) return;
    Saturation = value;
    Loaded();
    Invalidate();
}

// ============================================================ free routines

void ParentImageInfoOfWnd(HWND wnd, TsParentImageInfo& info) {
    info = TsParentImageInfo{};
    info.FillColor = 0;
    HWND parent = wnd ? GetParent(wnd) : nullptr;
    if (!parent) return;
    TsBackgroundInfo bg;
    RECT wr{};
    GetWindowRect(wnd, &wr);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&wr), 2);
    bg.R = {wr.left, wr.top, wr.right, wr.bottom};
    QueryParentBackgroundInfoWnd(bg, parent, false);
    BackgroundInfoToImageInfo(bg, info);
}

std::int32_t ParentBgSectionIndex(TControl* control, std::int32_t defaultIndex, TsSkinManager* manager,
                                  std::int32_t state) {
    if (!control || !control->Parent() || !manager) return defaultIndex;
    TWinControl* parent = control->Parent();
    const TsSkinModel& model = manager->Model();
    const int wanted = state >= 1 ? 1 : 0;
    auto look = [&](std::int32_t index) {
        const TsGeneralData& s = model.Sections()[static_cast<std::size_t>(index)];
        const int st = std::max(0, std::min(wanted, s.States - 1));
        // A parent that mostly shows its own parent gives no font of its
        // own: look further up.
        if (s.Props[static_cast<std::size_t>(st)].Transparency > 50 && parent->Parent())
            return ParentBgSectionIndex(parent, defaultIndex, manager, 0);
        return s.GiveOwnFont ? index : defaultIndex;
    };
    auto* record = reinterpret_cast<TsCommonData*>(SendSkinCommandToControl(parent, scGetSkinData, 0));
    if (record && record->SkinIndex >= 0) {
        if (!model.SectionIndexValid(record->SkinIndex)) return defaultIndex;
        return look(record->SkinIndex);
    }
    if (!parent->HandleAllocated()) return defaultIndex;
    std::int32_t index = -1;
    SendSkinCommand(parent->Handle(), scQuerySkinIndex, reinterpret_cast<LPARAM>(&index));
    if (!model.SectionIndexValid(index)) return defaultIndex;
    return look(index);
}

void PaintControlBorder(TsCommonData& data, int state) {
    TsSkinManager* m = data.GetSkinManager();
    if (!m || !data.CacheBmp || !m->Model().MaskIndexValid(data.BorderIndex)) return;
    TControl* owner = data.OwnerControl;
    if (!owner) return;
    TsBackgroundInfo bg;
    const RECT b = owner->BoundsRect();
    bg.R = {b.left, b.top, b.right, b.bottom};
    if (owner->Parent()) {
        QueryParentBackgroundInfo(bg, owner->Parent(), false);
    } else if (TWinControl* w = Windowed(owner); w && w->HandleAllocated() && GetParent(w->Handle())) {
        QueryParentBackgroundInfoWnd(bg, GetParent(w->Handle()), false);
    } else {
        return;
    }
    TsParentImageInfo info;
    BackgroundInfoToImageInfo(bg, info);
    if (info.Ready) {
        // The painters take the background at the control's own place.
        info.X += owner->Left();
        info.Y += owner->Top();
    }
    Bitmap32& cache = data.CacheBmp->Pixels();
    PaintBorderOverBackground(cache, {0, 0, cache.Width(), cache.Height()}, info,
                              m->Model().Masks()[static_cast<std::size_t>(data.BorderIndex)], state);
}

TColor SectionFillColour(const TsCommonData& data) {
    if (!data.CustomColor()) return clFuchsia;
    if (data.OwnerControl) return RGBOf(data.OwnerControl->Color());
    if (TCustomForm* f = data.ProviderForm()) return RGBOf(f->Color());
    return clFuchsia;
}

void PaintSkinDataItem(TsCommonData& data, const TsParentImageInfo& bg, int state, TRect r, TPoint offset,
                       PixelBuffer32& dest) {
    const TsGeneralData* s = data.Section();
    if (!s) return;
    const TColor colour = SectionFillColour(data);
    const int st = std::max(0, std::min(state, s->States - 1));
    PaintSectionBackground(dest, data.GetSkinManager()->Model(), data.SkinIndex, bg, st, r, offset, data.TextureIndex,
                           data.HotTextureIndex, colour);
}

namespace {

void CopyCache(TsCommonData& data, const RECT& src, HDC dc, const RECT& dest) {
    BitBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, data.CacheBmp->Canvas()->Handle(),
           src.left, src.top, SRCCOPY);
}

}  // namespace

void CopyCacheExcludingControls(TWinControl* parent, TsCommonData* data, const RECT& src, int dy, int dx,
                                bool paintBorder, HDC dc, const RECT& dest) {
    if (!data || !data->CacheBmp) return;
    if (paintBorder) PaintControlBorder(*data, 0);
    TSavedDC saved(dc);
    IntersectClipRect(dc, dest.left, dest.top, dest.right, dest.bottom);
    // Windowed children paint themselves over what is copied here; the
    // windowless ones are painted afterwards and must not flicker.
    for (int i = 0; parent && i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!c->Visible() || c->IsWindowed()) continue;
        RECT b = c->BoundsRect(), both{};
        if (!IntersectRect(&both, &b, &dest)) continue;
        ExcludeClipRect(dc, b.left + dx, b.top + dy, b.right + dx, b.bottom + dy);
    }
    CopyCache(*data, src, dc, dest);
    saved.Restore();
}

void CopyCacheExcludingWindows(HWND parent, TsCommonData* data, const RECT& src, int dy, int dx, bool paintBorder,
                               HDC dc, const RECT& dest) {
    if (!data || !data->CacheBmp) return;
    if (paintBorder) PaintControlBorder(*data, 0);
    TSavedDC saved(dc);
    IntersectClipRect(dc, dest.left, dest.top, dest.right, dest.bottom);
    RECT pr{};
    GetWindowRect(parent, &pr);
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT r{};
        GetWindowRect(child, &r);
        OffsetRect(&r, -pr.left - dx, -pr.top - dy);
        const auto style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
        const auto exStyle = static_cast<DWORD>(GetWindowLongA(child, GWL_EXSTYLE));
        const bool groupBox = (style & 7) == BS_GROUPBOX && lstrcmpiA(WindowClassName(child).c_str(), "Button") == 0;
        if (!groupBox || (exStyle & WS_EX_CLIENTEDGE)) {
            ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
            continue;
        }
        // A group box shows its parent through: only its frame is its own.
        if (!DefaultManager) continue;
        TsSkinModel& model = DefaultManager->Model();
        const int section = model.IndexOfSection("GROUPBOX");
        const int mask = section >= 0 ? model.IndexOfMask(section, "GROUPBOX", "BORDERSMASK") : -1;
        const int caption = static_cast<int>(SendSkinCommand(child, scGroupBoxCaptionHeight, 0));
        const int ml = mask >= 0 ? model.MaskMarginLeft(mask) : 0;
        const int mr = mask >= 0 ? model.MaskMarginRight(mask) : 0;
        const int mb = mask >= 0 ? model.MaskMarginBottom(mask) : 0;
        ExcludeClipRect(dc, r.left, r.top, r.right, r.top + caption);
        ExcludeClipRect(dc, r.left, r.top, r.left + ml, r.bottom);
        ExcludeClipRect(dc, r.right - mr, r.top, r.right, r.bottom);
        ExcludeClipRect(dc, r.left, r.bottom - mb, r.right, r.bottom);
    }
    CopyCache(*data, src, dc, dest);
    saved.Restore();
}

}  // namespace kova::skin
