#include "framework/extctrls.h"

#include "framework/handles.h"
#include "framework/portable/streams.h"

#include <algorithm>

namespace kova {

// --- timer ----------------------------------------------------------------

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
    wnd_ = AllocateHWnd([this](UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_TIMER) {
            if (running_ && OnTimer) OnTimer(this);
            return 0;
        }
        return DefWindowProcA(wnd_, m, w, l);
    });
    Update();
}

TTimer::~TTimer() {
    if (running_) KillTimer(wnd_, 1);
    DeallocateHWnd(wnd_);
}

void TTimer::DefineProps(TPropList& L) {
    L.For<TTimer>()
        .Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
        .Int("Interval", &TTimer::Interval, &TTimer::SetInterval)
        .Event("OnTimer", &TTimer::OnTimer);
}

void TTimer::Update() {
    if (running_) {
        KillTimer(wnd_, 1);
        running_ = false;
    }
    // No ticks while a description is still being read, nor without a
    // handler (as Delphi's timer).
    if (enabled_ && interval_ > 0 && !IsLoading()) running_ = SetTimer(wnd_, 1, interval_, nullptr) != 0;
}

void TTimer::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Update();
}

void TTimer::SetInterval(unsigned ms) {
    if (ms == interval_) return;
    interval_ = ms;
    Update();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    Update();
}

// --- panel ----------------------------------------------------------------

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    controlStyle_ |= csAcceptsControls;
    StoreBounds(0, 0, 185, 41);
}

void TPanel::DefineProps(TPropList& L) {
    const std::vector<std::string> bevels{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
    L.For<TPanel>()
        .Enum("BevelInner", bevels, &TPanel::BevelInner, &TPanel::SetBevelInner)
        .Enum("BevelOuter", bevels, &TPanel::BevelOuter, &TPanel::SetBevelOuter)
        .Int("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth)
        .Int("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth)
        .Enum("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TPanel::Alignment, &TPanel::SetAlignment);
}

void TPanel::SetBevelInner(TBevelCut b) { bevelInner_ = b; Invalidate(); }
void TPanel::SetBevelOuter(TBevelCut b) { bevelOuter_ = b; Invalidate(); }
void TPanel::SetBevelWidth(int w) { bevelWidth_ = std::max(1, w); Invalidate(); }
void TPanel::SetBorderWidth(int w) { borderWidth_ = std::max(0, w); Invalidate(); }
void TPanel::SetAlignment(TAlignment a) { alignment_ = a; Invalidate(); }

void TPanel::Paint() {
    HDC dc = canvas_.Handle();
    RECT r = ClientRect();
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone) return;
        if (cut != bvSpace)
            for (int i = 0; i < bevelWidth_; ++i) {
                DrawEdge(dc, &r, cut == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
                InflateRect(&r, -1, -1);
            }
        else
            InflateRect(&r, -bevelWidth_, -bevelWidth_);
    };
    {
        TGdiObject<HBRUSH> b(CreateSolidBrush(ColorToRGB(color_)));
        FillRect(dc, &r, b.Get());
    }
    bevel(bevelOuter_);
    InflateRect(&r, -borderWidth_, -borderWidth_);
    bevel(bevelInner_);
    if (!text_.empty()) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(EffectiveEnabled() ? font_.Color() : clGrayText));
        TSelection fontSel(dc, font_.Handle());
        UINT f = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX |
                 (alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT);
        DrawTextA(dc, text_.c_str(), -1, &r, f);
    }
}

// --- image ----------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
    StoreBounds(0, 0, 105, 105);
    picture_.OnChange = [this](TObject*) { PictureChanged(); };
}

void TImage::DefineProps(TPropList& L) {
    L.For<TImage>()
        .Object("Picture", [](TImage* i) -> TObject* { return i->Picture(); },
                [](TImage* i, TObject* o) { i->Picture()->Assign(dynamic_cast<TPersistent*>(o)); })
        .Binary("Picture", [](TImage* i, const std::vector<std::uint8_t>& d) { i->Picture()->LoadFromData(d); })
        .Bool("Stretch", &TImage::Stretch, &TImage::SetStretch)
        .Bool("Center", &TImage::Center, &TImage::SetCenter)
        .Bool("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize);
}

void TImage::PictureChanged() {
    if (autoSize_ && picture_.Width() > 0) SetBounds(left_, top_, picture_.Width(), picture_.Height());
    Invalidate();
}
void TImage::SetStretch(bool v) { stretch_ = v; Invalidate(); }
void TImage::SetCenter(bool v) { center_ = v; Invalidate(); }
void TImage::SetAutoSize(bool v) {
    autoSize_ = v;
    PictureChanged();
}

std::uint32_t TImage::PixelAt(int x, int y) {
    auto* b = dynamic_cast<TBitmap*>(picture_.Graphic());
    if (!b || x < 0 || y < 0 || x >= b->Width() || y >= b->Height()) return 0;
    return b->Pixels().At(x, y);
}

void TImage::Paint() {
    TGraphic* g = picture_.Graphic();
    if (!g || g->Empty()) return;
    RECT r{0, 0, g->Width(), g->Height()};
    if (stretch_) {
        r = ClientRect();
    } else if (center_) {
        OffsetRect(&r, (width_ - g->Width()) / 2, (height_ - g->Height()) / 2);
    }
    g->Draw(&canvas_, r);
}

// --- speed button ---------------------------------------------------------

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), TButtonGlyph(this) { StoreBounds(0, 0, 23, 22); }

void TSpeedButton::DefineProps(TPropList& L) {
    L.For<TSpeedButton>()
        .Bool("Down", &TSpeedButton::Down, &TSpeedButton::SetDown)
        .Int("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex)
        .Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp)
        .Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat);
    DefineGlyphProps(L.For<TSpeedButton>());
}

void TSpeedButton::SetDown(bool v) {
    if (groupIndex_ == 0) v = false;
    if (v == down_) return;
    if (!v && !allowAllUp_) {
        // The last one down of a group stays down.
        bool other = false;
        if (parent_)
            for (int i = 0; i < parent_->ControlCount(); ++i)
                if (auto* b = dynamic_cast<TSpeedButton*>(parent_->Controls(i));
                    b && b != this && b->groupIndex_ == groupIndex_ && b->down_)
                    other = true;
        if (!other) return;
    }
    down_ = v;
    if (v && parent_)
        for (int i = 0; i < parent_->ControlCount(); ++i)
            if (auto* b = dynamic_cast<TSpeedButton*>(parent_->Controls(i));
                b && b != this && b->groupIndex_ == groupIndex_ && b->down_) {
                b->down_ = false;
                b->Invalidate();
            }
    Invalidate();
}

void TSpeedButton::Click() {
    if (groupIndex_ != 0) SetDown(!down_);
    TGraphicControl::Click();
}

void TSpeedButton::HandleMessage(TMessage& m) {
    if (m.Msg == WM_LBUTTONDOWN) {
        pressed_ = true;
        Invalidate();
    } else if (m.Msg == WM_LBUTTONUP) {
        pressed_ = false;
        Invalidate();
    } else if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
        if (flat_) Invalidate();
    }
    TGraphicControl::HandleMessage(m);
}

void TSpeedButton::Paint() {
    HDC dc = canvas_.Handle();
    RECT r = ClientRect();
    bool sunk = down_ || pressed_;
    {
        TGdiObject<HBRUSH> b(CreateSolidBrush(ColorToRGB(down_ ? cl3DLight : color_)));
        FillRect(dc, &r, b.Get());
    }
    if (!flat_ || mouseInside_ || sunk) DrawEdge(dc, &r, sunk ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(EffectiveEnabled() ? font_.Color() : clGrayText));
    TSelection fontSel(dc, font_.Handle());
    // Glyph and caption side by side (or one above the other), the pair
    // centred unless Margin places the glyph.
    const int gw = glyph_.Width() / numGlyphs_, gh = glyph_.Height();
    const bool hasGlyph = gw > 0 && gh > 0;
    RECT t{0, 0, 0, 0};
    if (!text_.empty()) DrawTextA(dc, text_.c_str(), -1, &t, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const int tw = t.right, th = t.bottom;
    const int gap = hasGlyph && tw > 0 ? spacing_ : 0;
    const bool across = layout_ == blGlyphLeft || layout_ == blGlyphRight;
    const int room = across ? width_ - gw - gap - tw : height_ - gh - gap - th;
    const int lead = margin_ < 0 ? (room + 1) / 2 : margin_;
    int gx = (width_ - gw + 1) / 2, gy = (height_ - gh + 1) / 2;
    if (layout_ == blGlyphLeft) gx = lead;
    if (layout_ == blGlyphRight) gx = width_ - lead - gw;
    if (layout_ == blGlyphTop) gy = lead;
    if (layout_ == blGlyphBottom) gy = height_ - lead - gh;
    RECT tr = r;
    if (hasGlyph) {
        if (layout_ == blGlyphLeft) tr.left = gx + gw + gap, tr.right = tr.left + tw;
        if (layout_ == blGlyphRight) tr.right = gx - gap, tr.left = tr.right - tw;
        if (layout_ == blGlyphTop) tr.top = gy + gh + gap, tr.bottom = tr.top + th;
        if (layout_ == blGlyphBottom) tr.bottom = gy - gap, tr.top = tr.bottom - th;
        const int push = sunk ? 1 : 0;
        const int wanted = !EffectiveEnabled() ? 1 : down_ ? 3 : sunk ? 2 : 0;
        const int index = wanted < numGlyphs_ ? wanted : 0;
        // The image alone, its alpha cleared: the transparent copy compares
        // colours only.
        TBitmap image(gw, gh);
        GdiFlush();
        const PixelBuffer32& strip = glyph_.Pixels();
        PixelBuffer32& to = image.Pixels();
        for (int y = 0; y < gh; ++y)
            for (int x = 0; x < gw; ++x) to.At(x, y) = strip.At(index * gw + x, y) & 0xFFFFFFu;
        const std::uint32_t k = strip.At(0, gh - 1);
        GdiTransparentBlt(dc, gx + push, gy + push, gw, gh, image.Canvas()->Handle(), 0, 0, gw, gh,
                          RGB((k >> 16) & 0xFF, (k >> 8) & 0xFF, k & 0xFF));
    }
    if (sunk) OffsetRect(&tr, 1, 1);
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (hasGlyph && across ? DT_LEFT : DT_CENTER);
    if (hasGlyph && !across) flags = DT_SINGLELINE | DT_TOP | DT_CENTER | DT_NOPREFIX;
    DrawTextA(dc, text_.c_str(), -1, &tr, flags);
}

// --- radio group ----------------------------------------------------------

TRadioGroup::TRadioGroup(TComponent* AOwner) : TGroupBox(AOwner) {
    // Its buttons are its own: nothing else is placed on it.
    controlStyle_ &= ~csAcceptsControls;
    items_.SetSink(this);
}
TRadioGroup::~TRadioGroup() { items_.SetSink(nullptr); }

void TRadioGroup::DefineProps(TPropList& L) {
    L.For<TRadioGroup>()
        .Strings("Items", [](TRadioGroup* g) { return g->Items()->ToVector(); },
                 [](TRadioGroup* g, const std::vector<std::string>& v) { g->Items()->Assign(v); })
        .Int("ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex)
        .Int("Columns", &TRadioGroup::Columns, &TRadioGroup::SetColumns);
}

void TRadioGroup::Rebuild() {
    updating_ = true;
    for (TRadioButton* b : buttons_) b->Free();
    buttons_.clear();
    for (int i = 0; i < items_.Count(); ++i) {
        auto* b = new TRadioButton(nullptr);
        b->SetCaption(items_[i]);
        b->OnClick = [this, i](TObject*) {
            if (updating_) return;
            if (itemIndex_ != i) {
                itemIndex_ = i;
                Click();
            }
        };
        b->SetParent(this);
        buttons_.push_back(b);
    }
    if (itemIndex_ >= items_.Count()) itemIndex_ = -1;
    if (itemIndex_ >= 0) buttons_[static_cast<size_t>(itemIndex_)]->SetChecked(true);
    updating_ = false;
    ArrangeButtons();
}

void TRadioGroup::ArrangeButtons() {
    if (buttons_.empty()) return;
    RECT r = ClientRect();
    int cols = std::max(1, columns_);
    int rows = (static_cast<int>(buttons_.size()) + cols - 1) / cols;
    int cw = (r.right - r.left) / cols;
    int rh = std::max<int>(1, (r.bottom - r.top) / std::max(1, rows));
    for (size_t i = 0; i < buttons_.size(); ++i) {
        int c = static_cast<int>(i) / rows, row = static_cast<int>(i) % rows;
        buttons_[i]->SetBounds(r.left + 6 + c * cw, r.top + row * rh + (rh - 17) / 2, cw - 8, 17);
    }
}

void TRadioGroup::BoundsChanged() { ArrangeButtons(); }

void TRadioGroup::SetItemIndex(int i) {
    if (i < -1 || i >= items_.Count()) i = -1;
    itemIndex_ = i;
    updating_ = true;
    for (size_t k = 0; k < buttons_.size(); ++k) buttons_[k]->SetChecked(static_cast<int>(k) == i);
    updating_ = false;
}

void TRadioGroup::SetColumns(int c) {
    columns_ = std::clamp(c, 1, 16);
    ArrangeButtons();
}

void TRadioGroup::Loaded() {
    TGroupBox::Loaded();
    ArrangeButtons();
}

}  // namespace kova
