#include "skin/controls/spanel.h"

#include <algorithm>

#include "framework/handles.h"
#include "framework/portable/formtext.h"
#include "skin/controls/portable/smallgeometry.h"
#include "skin/controls/smallctrls.h"
#include "skin/core/dc/dcpaint.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/model/skindata.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/skincommands.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinstate.h"
#include "skin/core/vclutils.h"

namespace kova::skin {


TsPanel::TsPanel(TComponent* owner) : TPanel(owner) {
    skinData_ = std::make_unique<TsCtrlSkinData>(this, true);
    skinData_->ControlCode = 51;
    lastBevelOuter_ = BevelOuter();
    // Made at run time with nothing read: the record finds its section and
    // the default manager at once.
    skinData_->Loaded();
}

TsPanel::~TsPanel() { skinData_.reset(); }

void TsPanel::Loaded() {
    TPanel::Loaded();
    skinData_->Loaded();
    lastBevelOuter_ = BevelOuter();
}

bool TsPanel::Skinned() const { return skinData_ && skinData_->IsSkinned(); }

void TsPanel::FollowBevel() {
    if (BevelOuter() == lastBevelOuter_) return;
    const std::string next =
        PanelSectionOnBevelChange(BevelOf(lastBevelOuter_), skinData_->SkinSection(), BevelOf(BevelOuter()));
    lastBevelOuter_ = BevelOuter();
    if (next != skinData_->SkinSection()) {
        skinData_->SetSkinSection(next);
        skinData_->ReadSkinIndexes();
        skinData_->BGChanged = true;
    }
}

RECT TsPanel::CaptionRect() const {
    const RECT c = ClientRect();
    const TRect r = PanelCaptionRect(TRect{c.left, c.top, c.right, c.bottom}, BorderWidth(), BevelWidth(),
                                     BevelOf(BevelOuter()), BevelOf(BevelInner()));
    return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

void TsPanel::PaintCaption(const RECT& r, TCanvas& canvas) {
    const std::string text = Caption();
    if (text.empty()) return;
    TsCommonData& d = *skinData_;
    TsSkinManager* m = d.GetSkinManager();
    if (!m) return;
    canvas.Font()->Assign(Font());
    const UINT flags = AlignmentToTextFlags(this, Alignment()) | DT_WORDBREAK;
    RECT calc = r;
    DrawTextA(canvas.Handle(), text.c_str(), -1, &calc, flags | DT_CALCRECT);
    const int th = calc.bottom - calc.top;
    RECT tr = r;
    tr.top = HalfUp((r.bottom - r.top) - th) + BorderWidth();
    tr.bottom = tr.top + th;
    TControlTextStyle style;
    style.Skin = &m->Model();
    style.Section = d.SkinIndex;
    style.HueOffset = d.HUEOffset;
    style.Saturation = d.Saturation;
    style.CustomFont = d.CustomFont();
    style.CustomFontColour = static_cast<TColor>(kova::ColorToRGB(Font()->Color()));
    PaintControlText(canvas, text, Enabled(), tr, flags, style);
}

void TsPanel::PrepareCache(const TsParentImageInfo& bg) {
    TsCommonData& d = *skinData_;
    const int w = Width(), h = Height();
    d.EnsureCacheBmp();
    if (d.CacheBmp->Width() != w || d.CacheBmp->Height() != h) d.CacheBmp->SetSize(w, h);
    // Over the parent's picture: partly transparent sections, textures
    // and gradients mix with it.
    PaintSkinDataItem(d, bg, 0, TRect{0, 0, w, h}, TPoint{0, 0}, d.CacheBmp->Pixels());
    PaintCaption(CaptionRect(), *d.CacheBmp->Canvas());
    if (OnPaint) OnPaint(this, d.CacheBmp->Canvas());
    d.BGChanged = false;
}

bool TsPanel::PaintSkinned(HDC dc, bool broadcast) {
    if (!HandleAllocated() || !Skinned() || !dc) return false;
    FollowBevel();
    TsCommonData& d = *skinData_;
    TsSkinManager* m = d.GetSkinManager();
    const TsGeneralData* sec = d.Section();
    if (!m || !sec) return false;
    const TsSkinModel& skin = m->Model();
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0) return true;
    d.Updating = d.IsUpdating();
    if (d.Updating) return true;
    const bool ownLook = !d.DependsOnParentBg() || d.CustomColor();
    TsParentImageInfo bg;
    d.ParentImageInfo(bg);
    if (ownLook && !PaintingSuspended()) {
        d.EnsureCacheBmp();
        if (d.CacheBmp->Width() != w || d.CacheBmp->Height() != h) d.CacheBmp->SetSize(w, h);
        PixelBuffer32& px = d.CacheBmp->Pixels();
        TCanvas& cacheCanvas = *d.CacheBmp->Canvas();
        // One fill colour: the section's (or the panel's own) mixed with
        // what the parent shows by the section's transparency.
        const std::uint32_t reference = static_cast<std::uint32_t>(
            d.CustomColor() ? kova::ColorToRGB(Color()) : skin.ColorToRGB(bg.FillColor)) & 0xFFFFFF;
        const std::uint32_t own =
            static_cast<std::uint32_t>(d.CustomColor() ? kova::ColorToRGB(Color()) : skin.ColorToRGB(sec->Color)) & 0xFFFFFF;
        const std::uint32_t fill = PanelFillColor(reference, own, sec->Transparency);
        GdiFlush();
        px.Fill(ColorToPixel(fill) | 0xFF000000u);
        if (sec->Transparency >= 100 && bg.Ready && bg.Bmp)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const int sx = bg.X + x, sy = bg.Y + y;
                    if (sx >= 0 && sy >= 0 && sx < bg.Bmp->Width() && sy < bg.Bmp->Height()) px.At(x, y) = bg.Bmp->At(sx, sy);
                }
        if (d.MaxBorderWidth() > 0) PaintControlBorder(d, 0);
        PaintCaption(CaptionRect(), cacheCanvas);
        if (OnPaint) OnPaint(this, &cacheCanvas);
        d.BGChanged = false;
    } else {
        // The cache is kept while nothing changed, unless the last paint
        // saw only part of the panel (its parent picture was cut there).
        const bool sized = d.CacheBmp && d.CacheBmp->Width() == w && d.CacheBmp->Height() == h;
        const bool rebuild = d.BGChanged || clippedLastPaint_ || !sized;
        if (d.DependsOnParentBg()) {
            RECT clip{};
            const int kind = GetClipBox(dc, &clip);
            clippedLastPaint_ = kind == NULLREGION || kind == ERROR || clip.right - clip.left != w ||
                                clip.bottom - clip.top != h;
        }
        if (rebuild) PrepareCache(bg);
    }
    GdiFlush();
    {
        const TSavedDC saved(dc);
        // The child windows paint themselves.
        CopyCacheExcludingWindows(Handle(), &d, RECT{0, 0, w, h}, 0, 0, false, dc, RECT{0, 0, w, h});
    }
    if (broadcast && !(ControlState() & csPaintCopy)) BroadcastToChildControls(this);
    return true;
}

void TsPanel::PaintWindow(HDC dc) {
    if ((ControlState() & csPaintCopy) && Skinned() && PaintSkinned(dc, true)) return;
    TPanel::PaintWindow(dc);
}

void TsPanel::Paint() {
    if (PaintSkinned(canvas_.Handle(), true)) return;
    TPanel::Paint();
    if (OnPaint && Showing()) OnPaint(this, &canvas_);
}

void TsPanel::WndProc(TMessage& m) {
    TsCommonData& d = *skinData_;
    if (IsSkinCommand(m)) {
        auto* manager = reinterpret_cast<TsSkinManager*>(m.LParam);
        const bool ours = manager == d.GetSkinManager();
        switch (SkinSubCode(m.WParam)) {
            case scQuerySupport:
                m.Result = 1;
                return;
            case scSkinApplied:
                SetControlStyle(ControlStyle() & ~csOpaque);
                if (ours) HandleControlMessage(m, &d);
                return;
            case scSkinRemoved:
                SetControlStyle(ControlStyle() & ~csOpaque);
                if (ours) {
                    HandleControlMessage(m, &d);
                    Invalidate();
                }
                return;
            case scRefresh:
                if (ours) {
                    HandleControlMessage(m, &d);
                    if (HandleAllocated() && !IsLoading() && Visible())
                        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
                }
                return;
            case scQueryBgInfo:
                if (m.LParam && Skinned() && d.Section()) {
                    auto& info = *reinterpret_cast<TsBackgroundInfo*>(m.LParam);
                    d.FillBackgroundInfo(info, 0, HandleAllocated() ? Handle() : nullptr);
                    // A picture handed out for the whole panel: a child in
                    // the client area sits inside the bevels and the border.
                    if (info.BgType == 2 && info.Offset.X == 0 && info.Offset.Y == 0 && ClientWidth() != Width()) {
                        const int bevels = (BevelOuter() != bvNone ? 1 : 0) + (BevelInner() != bvNone ? 1 : 0);
                        const int shift = bevels * BevelWidth() + BorderWidth();
                        info.Offset.X += shift;
                        info.Offset.Y += shift;
                    }
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
    if (!CanPaintControl(this) || !Skinned()) {
        // OnPaint draws over the whole panel: nothing is erased under it.
        if (m.Msg == WM_ERASEBKGND && OnPaint) {
            m.Result = 1;
            return;
        }
        TPanel::WndProc(m);
        return;
    }
    if (IsSkinCommand(m) && SkinSubCode(m.WParam) == scEndParentUpdate) {
        // The parent's background is ready: a panel that waited for it
        // paints now, then passes the word on to its own children.
        if (d.Updating) {
            d.Updating = false;
            d.Updating = d.IsUpdating();
            if (!d.Updating)
                RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        }
        BroadcastToChildControls(this);
        m.Result = 0;
        return;
    }
    switch (m.Msg) {
        case WM_ERASEBKGND:
            // All of it is painted with the client area.
            m.Result = 1;
            return;
        case WM_SIZE:
        case CM_TEXTCHANGED:
        case CM_ENABLEDCHANGED:
            d.BGChanged = true;
            break;
        default:
            break;
    }
    TPanel::WndProc(m);
}

// The description sets the record's own properties (a panel that shows a
// status by its colour keeps it: SkinData.CustomColor).
void TsPanel::DefineProps(TPropList& L) {
    L.For<TsPanel>().Object("SkinData", [](TsPanel* p) -> TObject* { return p->SkinData(); });
}

void RegisterPanelClass() {
    if (!IsComponentClassRegistered(TsPanel::StaticClass().name)) RegisterComponentClass<TsPanel>();
}

}  // namespace kova::skin
