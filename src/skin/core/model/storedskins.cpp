#include "skin/core/model/storedskins.h"

namespace kova::skin {

void TsStoredSkin::Assign(const TsStoredSkin& other) {
    if (&other == this) return;
    Name = other.Name;
    MasterBitmap = other.MasterBitmap.Clone();
    Shadow1Color = other.Shadow1Color;
    Shadow1Offset = other.Shadow1Offset;
    Shadow1Blur = other.Shadow1Blur;
    Shadow1Transparency = other.Shadow1Transparency;
    BorderColor = other.BorderColor;
    Version = other.Version;
    Author = other.Author;
    Description = other.Description;
    Data = other.Data;
}

int TsStoredSkins::IndexOf(const std::string& name) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].Name == name) return static_cast<int>(i);
    return -1;
}

void TsStoredSkins::Add(TsStoredSkin skin) {
    items_.push_back(std::move(skin));
    Changed();
}

void TsStoredSkins::Delete(std::size_t i) {
    if (i >= items_.size()) return;
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
    Changed();
}

void TsStoredSkins::Clear() {
    items_.clear();
    Changed();
}

}  // namespace kova::skin
