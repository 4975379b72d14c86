#include "skin/core/boundlabel.h"

#include <utility>

namespace kova::skin {

TBoundLabelLink::~TBoundLabelLink() {
    if (BoundLabel && BoundLabel->link_ == this) {
        BoundLabel->label_ = nullptr;
        BoundLabel->link_ = nullptr;
    }
}

namespace {
// The label made while no skinned label class has filled the maker.
class TPlainBoundLabel : public TLabel, public TBoundLabelLink {
    KOVA_CLASS(TPlainBoundLabel, TLabel)
public:
    using TLabel::TLabel;
    bool LinkUseSkinColor() const override { return useSkinColor_; }
    void SetLinkUseSkinColor(bool value) override { useSkinColor_ = value; }

private:
    bool useSkinColor_ = true;
};
}  // namespace

TBoundLabelMaker& BoundLabelMaker() {
    static TBoundLabelMaker maker = [](TControl* owner, TsBoundLabel*) -> TLabel* {
        return new TPlainBoundLabel(owner);
    };
    return maker;
}

TsBoundLabel::TsBoundLabel(TsCommonData* owner) : owner_(owner) {}

TsBoundLabel::~TsBoundLabel() { FreeLabel(); }

void TsBoundLabel::FreeLabel() {
    TLabel* label = std::exchange(label_, nullptr);
    if (TBoundLabelLink* link = std::exchange(link_, nullptr)) link->BoundLabel = nullptr;
    if (label) label->Free();
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
    useSkinColor_ = value;
    if (link_) link_->SetLinkUseSkinColor(value);
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
        label_ = BoundLabelMaker()(c, this);
        if (!label_) return;
        link_ = dynamic_cast<TBoundLabelLink*>(label_);
        if (link_) {
            link_->BoundLabel = this;
            link_->SetLinkUseSkinColor(useSkinColor_);
        }
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

