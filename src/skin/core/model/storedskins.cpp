#include "skin/core/model/storedskins.h"

#include "skin/core/model/pictures.h"

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

bool TsStoredSkin::Assign(const TPersistent* Source) {
    if (const auto* other = dynamic_cast<const TsStoredSkin*>(Source)) {
        Assign(*other);
        return true;
    }
    return TPersistent::Assign(Source);
}

void TsStoredSkin::DefineProps(TPropList& L) {
    L.For<TsStoredSkin>()
        .String("Name", [](TsStoredSkin* s) { return s->Name; },
                [](TsStoredSkin* s, const std::string& v) { s->Name = v; })
        // The picture as a Windows bitmap file; none leaves it empty.
        .Binary("MasterBitmap",
                [](TsStoredSkin* s, const std::vector<std::uint8_t>& v) {
                    s->MasterBitmap = v.empty() ? Bitmap32() : DecodeBmp(v).Pixels;
                })
        .Color("Shadow1Color", [](TsStoredSkin* s) { return s->Shadow1Color; },
               [](TsStoredSkin* s, TsColor v) { s->Shadow1Color = v; })
        .Int("Shadow1Offset", [](TsStoredSkin* s) { return s->Shadow1Offset; },
             [](TsStoredSkin* s, std::int32_t v) { s->Shadow1Offset = v; })
        .Int("Shadow1Blur", [](TsStoredSkin* s) { return s->Shadow1Blur; },
             [](TsStoredSkin* s, std::int32_t v) { s->Shadow1Blur = v; })
        .Int("Shadow1Transparency", [](TsStoredSkin* s) { return s->Shadow1Transparency; },
             [](TsStoredSkin* s, std::int32_t v) { s->Shadow1Transparency = v; })
        .Color("BorderColor", [](TsStoredSkin* s) { return s->BorderColor; },
               [](TsStoredSkin* s, TsColor v) { s->BorderColor = v; })
        .Float("Version", [](TsStoredSkin* s) { return s->Version; }, [](TsStoredSkin* s, double v) { s->Version = v; })
        .String("Author", [](TsStoredSkin* s) { return s->Author; },
                [](TsStoredSkin* s, const std::string& v) { s->Author = v; })
        .String("Description", [](TsStoredSkin* s) { return s->Description; },
                [](TsStoredSkin* s, const std::string& v) { s->Description = v; })
        .Binary("Data", [](TsStoredSkin* s, const std::vector<std::uint8_t>& v) { s->Data = v; });
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

void TsStoredSkins::Read(std::size_t count, const TPropInfo::TFillItem& fill) {
    std::vector<TsStoredSkin> fresh(count);
    for (std::size_t i = 0; i < count; ++i) fill(&fresh[i], i);
    items_ = std::move(fresh);
    Changed();
}

void TsStoredSkins::Clear() {
    items_.clear();
    Changed();
}

}  // namespace kova::skin
