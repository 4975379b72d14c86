#include "skin/core/boundlabel.h"

#include <utility>

namespace kova::skin {

TsEditLabel::TsEditLabel(TComponent* owner, TsBoundLabel* boundLabel) : TLabel(owner), BoundLabel(boundLabel) {}

TsEditLabel::~TsEditLabel() {
    if (BoundLabel && BoundLabel->label_ == this) BoundLabel->label_ = nullptr;
}

TsBoundLabel::TsBoundLabel(TsCommonData* owner) : owner_(owner) {}

TsBoundLabel::~TsBoundLabel() { FreeLabel(); }

void TsBoundLabel::FreeLabel() {
    TsEditLabel* label = std::exchange(label_, nullptr);
    if (!label) return;
    label->BoundLabel = nullptr;
    label->Free();
}

TControl* TsBoundLabel::BoundControl() const { return owner_ ? owner_->OwnerControl : nullptr; }

TFont* TsBoundLabel::Font() { return label_ ? label_->Font() : &font_; }

void TsBoundLabel::SetFont(TFont* value) {
    if (!value) return;
    font_.Assign(value);
    if (!label_) return;
    label_->Font()->Assign(value);
    if (TControl* c = BoundControl()) label_->SetParent(c->Parent());
    PlaceLabel();
}

void TsBoundLabel::SetCaption(const std::string& value) {
    if (value == caption_) return;
    caption_ = value;
    if (active_ && label_) {
        label_->SetCaption(caption_);
        PlaceLabel();
    }
}

void TsBoundLabel::SetIndent(std::int32_t value) {
    if (value == indent_) return;
    indent_ = value;
    if (active_) PlaceLabel();
}

void TsBoundLabel::SetMaxWidth(std::int32_t value) {
    if (value == maxWidth_) return;
    maxWidth_ = value;
    if (active_) PlaceLabel();
}

namespace {
TAlignment ToAlignment(TsCaptionLayout layout) {
    switch (BoundLabelAlignment(layout)) {
        case TLabelAlign::Right: return taRightJustify;
        case TLabelAlign::Center: return taCenter;
        default: return taLeftJustify;
    }
}
}  // namespace

void TsBoundLabel::SetLayout(TsCaptionLayout value) {
    layout_ = value;
    if (label_) label_->SetAlignment(ToAlignment(value));
    if (active_) PlaceLabel();
}

void TsBoundLabel::SetUseSkinColor(bool value) {
    if (label_) label_->UseSkinColor = value;
}

void TsBoundLabel::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    TControl* c = BoundControl();
    if (!value || !c) {
        FreeLabel();
        return;
    }
    if (!label_) {
        label_ = new TsEditLabel(c, this);
        label_->Font()->Assign(&font_);
    }
    label_->Hide();
    label_->SetParent(c->Parent());
    label_->SetAlignment(ToAlignment(layout_));
    if (!c->Name().empty()) label_->SetName(c->Name() + "Label");
    if (caption_.empty()) caption_ = c->Name();
    label_->SetAutoSize(true);
    label_->SetCaption(caption_);
    label_->SetEnabled(c->Enabled());
    label_->SetVisible(c->Visible());
    PlaceLabel();
}

void TsBoundLabel::PlaceLabel() {
    TControl* c = BoundControl();
    if (!label_ || !label_->Visible() || !c) return;
    // The framework's labels have no size constraints: a label wider than
    // MaxWidth is cut to it and wraps.
    if (maxWidth_ != 0 && label_->Width() > maxWidth_) label_->SetWidth(maxWidth_);
    const RECT b = c->BoundsRect();
    const TPoint p =
        BoundLabelPosition(layout_, {b.left, b.top, b.right, b.bottom}, label_->Width(), label_->Height(), indent_);
    label_->SetBounds(p.X, p.Y, label_->Width(), label_->Height());
    if (label_->Parent() != c->Parent()) label_->SetParent(c->Parent());
    if (maxWidth_ != 0) label_->SetWordWrap(label_->Width() >= maxWidth_ - 4);
}

}  // namespace kova::skin

