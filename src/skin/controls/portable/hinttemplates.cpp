#include "skin/controls/portable/hinttemplates.h"

#include <algorithm>

#include "framework/portable/streams.h"
#include "skin/core/portable/png.h"

namespace kova::skin {

namespace {
// Set while an owner is being told of a border change, so that what it
// does in turn does not tell it again.
bool notifyingBorders = false;
}  // namespace

int TacBordersSizes::Get(int index) const {
    if (index < 0 || index > 3) return 0;
    return std::max(values_[static_cast<std::size_t>(index)], 0);
}

void TacBordersSizes::Set(int index, int value) {
    if (index < 0 || index > 3) return;
    const int w = owner_->ImageWidth(), h = owner_->ImageHeight();
    int& top = values_[0];
    int& left = values_[1];
    int& bottom = values_[2];
    int& right = values_[3];
    switch (index) {
        case 0:
            top = std::min(value, h - 1);
            bottom = std::min(bottom, h - top - 1);
            break;
        case 1:
            left = std::min(value, w - 1);
            right = std::min(right, w - left - 1);
            break;
        case 2:
            bottom = std::min(value, h - 1);
            top = std::min(top, h - bottom - 1);
            break;
        default:
            right = std::min(value, w - 1);
            left = std::min(left, w - right - 1);
            break;
    }
    if (owner_->owner_ && owner_->owner_->Collection() && !notifyingBorders) {
        notifyingBorders = true;
        try {
            owner_->Changed();
        } catch (...) {
            notifyingBorders = false;
            throw;
        }
        notifyingBorders = false;
    }
}

void TacBordersSizes::Assign(const TacBordersSizes& source) {
    for (int i = 0; i < 4; ++i) Set(i, source.values_[static_cast<std::size_t>(i)]);
}

void TacBorderDrawModes::Set(int index, TacBorderDrawMode mode) {
    if (index < 0 || index > 4) return;
    modes_[static_cast<std::size_t>(index)] = mode;
    if (owner_->owner_ && owner_->owner_->Collection()) owner_->Changed();
}

void TacBorderDrawModes::Assign(const TacBorderDrawModes& source) {
    for (int i = 0; i < 5; ++i) Set(i, source.modes_[static_cast<std::size_t>(i)]);
}

void TacHintImage::Changed() {
    if (owner_) owner_->Changed();
}

void TacHintImage::SetImage(const PixelBuffer32& straight) {
    image_ = straight.Clone();
    const int w = ImageWidth(), h = ImageHeight();
    for (TacBordersSizes* b : {&borders_, &margins_}) {
        b->values_[1] = b->values_[3] = (w - 1) / 2;
        b->values_[0] = b->values_[2] = (h - 1) / 2;
    }
    PremultiplyAlpha(image_);
    Changed();
}

void TacHintImage::LoadPng(const std::vector<std::uint8_t>& bytes) {
    TPNGGraphic png;
    TMemoryStream in(bytes);
    try {
        png.LoadFromStream(in);
    } catch (const std::exception&) {
        SetImage(PixelBuffer32());
        return;
    }
    SetImage(png.ToBitmap32());
}

void TacHintImage::Assign(const TacHintImage& source) {
    if (&source == this) return;
    image_ = source.image_.Clone();
    margins_.Assign(source.margins_);
    modes_.Assign(source.modes_);
    borders_.Assign(source.borders_);
    Changed();
}

TacHintTemplate& TacHintTemplates::Add() {
    items_.push_back(std::make_unique<TacHintTemplate>(this));
    return *items_.back();
}

void TacHintTemplate::Changed() {
    if (collection_ && !collection_->Loading && collection_->OnChange) collection_->OnChange();
}

void TacHintTemplate::SetFont(const THtmlFont& f) {
    font_ = f;
    Changed();
}

void TacHintTemplate::Assign(const TacHintTemplate& source) {
    if (&source == this) return;
    for (std::size_t i = 0; i < images_.size(); ++i) images_[i]->Assign(*source.images_[i]);
    font_ = source.font_;
    Name = source.Name;
    Changed();
}

std::unique_ptr<TacHintTemplate> MakeDefaultHintTemplate(const std::vector<std::uint8_t>& png) {
    auto t = std::make_unique<TacHintTemplate>();
    TacHintImage& img = t->ImageDefault();
    img.LoadPng(png);
    TacBordersSizes& b = img.BordersWidths();
    b.SetLeft(7);
    b.SetTop(7);
    b.SetRight(15);
    b.SetBottom(15);
    TacBordersSizes& m = img.ClientMargins();
    m.SetLeft(11);
    m.SetTop(7);
    m.SetRight(15);
    m.SetBottom(14);
    for (int i = 0; i < 5; ++i) img.BorderDrawModes().Set(i, dmStretch);
    return t;
}

}  // namespace kova::skin
