#include "skin/core/model/storedskins.h"

namespace kova::skin {

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
