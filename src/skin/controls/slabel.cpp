#include "skin/controls/slabel.h"

#include <shellapi.h>

#include <algorithm>

#include "skin/controls/portable/weblink.h"
#include "skin/core/commondata.h"
#include "skin/core/dc/dcpaint.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinstate.h"

namespace kova::skin {

namespace {

// Paint changes the font, which tells the label that its font changed;
// that notice must not come back into painting.
bool InPaint = false;

TsSkinManager* ActiveDefault() {
    TsSkinManager* m = DefaultManager;
    return m && m->Active() ? m : nullptr;
}

// The skin's colour for a label's text: the section painting under it
// (index 0 counts: it is the first section, not none), else GLOBALINFO.
TColor SkinTextColour(TControl* label, TsSkinManager& m) {
    const int under = ParentBgSectionIndex(label, -1, &m, 0);
    if (m.Model().SectionIndexValid(under)) return m.Model().Sections()[static_cast<std::size_t>(under)].FontColors[0];
    return m.Model().GlobalInfoFontColor();
}

void TakeColour(TFont& font, TColor colour) {
    if (colour != clFuchsia && static_cast<TColor>(font.Color()) != colour)
        font.SetColor(static_cast<kova::TColor>(colour));
}

// A GLOBALINFO font colour by number, clFuchsia when the skin has none.
TColor GlobalFontColour(TsSkinManager& m, int n) {
    const int gi = m.Model().ConstData().GlobalInfo;
    if (!m.Model().SectionIndexValid(gi) || n < 0 || n > 4) return clFuchsia;
    return m.Model().Sections()[static_cast<std::size_t>(gi)].FontColors[static_cast<std::size_t>(n)];
}

}  // namespace

// ------------------------------------------------------------ TsCustomLabel

TsCustomLabel::TsCustomLabel(TComponent* owner) : TLabel(owner) { SetTransparent(true); }

void TsCustomLabel::SetSkinSection(const std::string& value) {
    if (value == skinSection_) return;
    skinSection_ = value;
    Invalidate();
}

TFont* TsCustomLabel::GetPaintFont() {
    if (TsSkinManager* m = ActiveDefault()) TakeColour(*Font(), SkinTextColour(this, *m));
    return Font();
}

std::string TsCustomLabel::PaintText(UINT flags) const {
    std::string text = Caption();
    if ((flags & DT_CALCRECT) && text.empty()) text = " ";
    return text;
}

void TsCustomLabel::Paint() {
    SectionIndex = -1;
    if (IsDestroying() || InPaint) {
        if (!IsDestroying()) TLabel::Paint();
        return;
    }
    InPaint = true;
    // The colours painting gives the font are the skin's, not a font of the
    // label's own: a label that follows its parent's font goes on doing so.
    const bool followsParent = parentFont_;
    TFont* f = GetPaintFont();
    if (f != Font()) Font()->Assign(f);
    TsSkinManager* m = ActiveDefault();
    if (m && !skinSection_.empty()) {
        const int index = m->IndexOfSection(skinSection_);
        if (m->Model().SectionIndexValid(index)) {
            SectionIndex = index;
            TakeColour(*Font(), m->Model().Sections()[static_cast<std::size_t>(index)].FontColors[0]);
        }
    }
    parentFont_ = followsParent;
    // The first section of a skin is a section like any other.
    if (m && SectionIndex >= 0 && Parent()) {
        TsBackgroundInfo info;
        const RECT b = BoundsRect();
        info.R = TRect{b.left, b.top, b.right, b.bottom};
        QueryParentBackgroundInfo(info, Parent(), false);
        TsParentImageInfo bg;
        BackgroundInfoToImageInfo(info, bg);
        PaintSkinItemToDC(Canvas()->Handle(), m->Model(), SectionIndex, bg, 0, ClientRect());
    }
    InPaint = false;
    TLabel::Paint();
    SectionIndex = -1;
}

void TsCustomLabel::DrawLabelText(RECT& r, UINT flags) {
    TsSkinManager* m = ActiveDefault();
    if (!m || EffectiveEnabled()) {
        TLabel::DrawLabelText(r, flags);
        return;
    }
    // Disabled on a skin: 40 % of the font colour, 60 % of what lies under.
    HDC dc = Canvas()->Handle();
    const std::string text = PaintText(flags);
    const TColor under = static_cast<TColor>(GetControlColor(Parent() ? static_cast<TControl*>(Parent()) : this));
    SetBkMode(dc, TRANSPARENT);
    TSelection fontSel(dc, Font()->Handle());
    SetTextColor(dc, ColorToRGB(MixColors(kova::ColorToRGB(Font()->Color()), kova::ColorToRGB(under), 0.4)));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

void TsCustomLabel::HandleMessage(TMessage& m) {
    if (m.Msg == CM_FONTCHANGED && !IsDestroying()) {
        if (InPaint) return;  // Paint's own colour change
        AdjustBounds();
        Invalidate();
        return;
    }
    if (m.Msg == CM_MOUSEENTER && OnMouseEnter) OnMouseEnter(this);
    if (IsSkinCommand(m) && SkinSubCode(m.WParam) == scSkinRemoved && !IsDestroying()) {
        if (Font()->Color() != clWindowText) Font()->SetColor(clWindowText);
    }
    TLabel::HandleMessage(m);
    if (m.Msg == CM_MOUSELEAVE && OnMouseLeave) OnMouseLeave(this);
}

// ------------------------------------------------------------ TsLabel

TsLabel::TsLabel(TComponent* owner) : TsCustomLabel(owner) {}

TFont* TsLabel::GetPaintFont() {
    if (UseSkinColor && !IsDestroying()) return TsCustomLabel::GetPaintFont();
    return Font();
}

void TsLabel::HandleMessage(TMessage& m) {
    if (IsSkinCommand(m) && SkinSubCode(m.WParam) == scSkinRemoved && !UseSkinColor) {
        TLabel::HandleMessage(m);
        return;
    }
    TsCustomLabel::HandleMessage(m);
}

// ------------------------------------------------------------ shadow, kind

void TsShadow::Changed() {
    if (owner_) owner_->Invalidate();
}
void TsShadow::SetBlurCount(int v) {
    if (v != blurCount_) blurCount_ = v, Changed();
}
void TsShadow::SetDistance(int v) {
    if (v != distance_) distance_ = v, Changed();
}
void TsShadow::SetColor(TColor v) {
    if (v != color_) color_ = v, Changed();
}
void TsShadow::SetMode(TsShadowMode v) {
    if (v != mode_) mode_ = v, Changed();
}
void TsKind::SetKindType(TsKindType v) {
    if (v != kindType_) {
        kindType_ = v;
        if (owner_) owner_->Invalidate();
    }
}
void TsKind::SetColor(TColor v) {
    if (v != color_) {
        color_ = v;
        if (owner_) owner_->Invalidate();
    }
}

// ------------------------------------------------------------ TsLabelFX

TsLabelFX::TsLabelFX(TComponent* owner) : TsCustomLabel(owner) {}

void TsLabelFX::DrawLabelText(RECT& r, UINT flags) {
    if (IsLoading() || (shadow_.Mode() == smNone && SectionIndex < 0)) {
        TsCustomLabel::DrawLabelText(r, flags);
        return;
    }
    TsSkinManager* m = ActiveDefault();
    TColor colour = shadow_.Color();
    int blur = shadow_.BlurCount(), offset = shadow_.Distance();
    if (shadow_.Mode() == smSkin1 && m && m->Model().SkinData().Shadow1Blur != -1) {
        colour = m->Model().SkinData().Shadow1Color;
        blur = m->Model().SkinData().Shadow1Blur;
        offset = m->Model().SkinData().Shadow1Offset;
    } else if (shadow_.Mode() == smNone) {
        blur = 0;
        offset = 0;
    }
    margins_ = ShadowMargins(offset, blur);
    HDC dc = Canvas()->Handle();
    const std::string text = PaintText(flags);
    TSelection fontSel(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    if (!EffectiveEnabled()) {
        // Engraved.
        RECT moved = r;
        OffsetRect(&moved, 1, 1);
        SetTextColor(dc, kova::ColorToRGB(clBtnHighlight));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &moved, flags);
        SetTextColor(dc, kova::ColorToRGB(clBtnShadow));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
        return;
    }
    TColor textColour = Font()->Color();
    switch (kind_.KindType()) {
        case ktStandard: textColour = Color(); break;
        case ktCustom: textColour = kind_.Color(); break;
        case ktSkin:
            if (!m) {
                textColour = kind_.Color();
            } else if (SectionIndex < 0) {
                const TColor g = GlobalFontColour(*m, 2);
                textColour = g != clFuchsia && g != 0 ? g : kind_.Color();
            }
            break;
    }
    SetTextColor(dc, kova::ColorToRGB(textColour));
    const bool valid = blur > 0 && colour != 0x1FFFFFFF;
    if ((flags & DT_CALCRECT) || !valid) {
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
        if ((flags & DT_CALCRECT) && valid) {
            r.right += margins_.RightBottom - margins_.LeftTop;
            r.bottom += margins_.RightBottom - margins_.LeftTop;
        }
        return;
    }
    // The shadow: the text white on black, blurred, mixed over the label.
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    PixelBuffer32 work;
    TGdiObject<HBITMAP> bmp = CreateDib32(w, h, work);
    TMemoryDC mem(CreateCompatibleDC(dc));
    if (!bmp || !mem) return;
    {
        TSelection bmpSel(mem.Get(), bmp.Get());
        TSelection memFont(mem.Get(), Font()->Handle());
        work.Fill(0xFF000000u);
        SetBkMode(mem.Get(), TRANSPARENT);
        SetTextColor(mem.Get(), RGB(255, 255, 255));
        RECT t{-margins_.LeftTop + offset, -margins_.LeftTop + offset, w - margins_.LeftTop + offset,
               h - margins_.LeftTop + offset};
        DrawTextA(mem.Get(), text.c_str(), static_cast<int>(text.size()), &t, flags);
        GdiFlush();
        plane_.Build(work, blur);
        if (Transparent()) {
            work = ReadDCToBuffer(dc, r);
        }
        ComposeShadow(work, plane_, kova::ColorToRGB(colour), Transparent(), kova::ColorToRGB(Color()));
        rebuild_ = false;
        CopyBufferToDC(dc, r.left, r.top, work, RECT{0, 0, w, h});
    }
    RECT textRect{r.left - margins_.LeftTop, r.top - margins_.LeftTop, r.right - margins_.RightBottom,
                  r.bottom - margins_.RightBottom};
    if (SectionIndex < 0 || !m) {
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect, flags);
    } else {
        PaintSkinTextCanvas(*Canvas(), text, true, textRect, flags, m->Model(), SectionIndex, false);
    }
}

// ------------------------------------------------------------ TsWebLabel

TsWebLabel::TsWebLabel(TComponent* owner) : TsLabel(owner) {
    SetCursor(crHandPoint);
    SetControlStyle(ControlStyle() | csOpaque);
    SetTransparent(true);
    Open = [](const std::string& url, int showMode) {
        ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, showMode);
    };
}

void TsWebLabel::SetNormalFont(const TFont& f) {
    Font()->Assign(&f);
    normalFont_.Assign(&f);
    Invalidate();
}

TFont* TsWebLabel::GetPaintFont() {
    TsSkinManager* m = UseSkinColor ? ActiveDefault() : nullptr;
    if (hovered_) {
        TColor c = m ? GlobalFontColour(*m, 3) : hoverFont_.Color();
        if (c == static_cast<TColor>(-1) || c == 0xFFFFFFFF) c = 255;
        TakeColour(hoverFont_, c);
        return &hoverFont_;
    }
    if (m) {
        const int under = ParentBgSectionIndex(this, -1, m, 0);
        TColor c = m->Model().SectionIndexValid(under)
                       ? m->Model().Sections()[static_cast<std::size_t>(under)].FontColors[0]
                       : GlobalFontColour(*m, 4);
        TakeColour(normalFont_, c);
    }
    return &normalFont_;
}

void TsWebLabel::Loaded() {
    TsLabel::Loaded();
    // A form description sets the label's font: that is its normal font.
    normalFont_.Assign(Font());
}

void TsWebLabel::HandleMessage(TMessage& m) {
    if (m.Msg == CM_PARENTFONTCHANGED) {
        TsLabel::HandleMessage(m);
        if (ParentFont() && Parent()) {
            normalFont_.Assign(Parent()->Font());
            hoverFont_.SetName(Parent()->Font()->Name());
            hoverFont_.SetSize(Parent()->Font()->Size());
        }
        return;
    }
    if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
        TsLabel::HandleMessage(m);
        if (EffectiveEnabled()) hovered_ = m.Msg == CM_MOUSEENTER;
        AdjustBounds();
        Invalidate();
        return;
    }
    if (m.Msg == WM_ERASEBKGND) return;
    TsLabel::HandleMessage(m);
    if (m.Msg == WM_LBUTTONDOWN && !URL.empty() && IsOpenableWebAddress(URL) && Open) Open(URL, ShowMode);
}

// ------------------------------------------------------------ TsEditLabel

TsEditLabel::TsEditLabel(TComponent* owner, TsBoundLabel* boundLabel) : TsLabel(owner) { BoundLabel = boundLabel; }

void TsEditLabel::SetLinkUseSkinColor(bool value) {
    if (value == UseSkinColor) return;
    UseSkinColor = value;
    Invalidate();
}

void UseSkinnedEditLabels() {
    BoundLabelMaker() = [](TControl* owner, TsBoundLabel* boundLabel) -> TLabel* {
        return new TsEditLabel(owner, boundLabel);
    };
}

// ------------------------------------------------------------ plain labels

void AdaptPlainLabel(TLabel* label, bool componentsPass) {
    if (!label || label->Is<TsCustomLabel>()) return;
    if (componentsPass && label->Tag() == 98) return;
    // Straight into the style: the label repaints with its parent.
    label->SetControlStyle(label->ControlStyle() & ~csOpaque);
    if (TsSkinManager* m = DefaultManager)
        label->Font()->SetColor(static_cast<kova::TColor>(m->Model().ColorToRGB(m->Model().GlobalInfoFontColor())));
}

}  // namespace kova::skin
