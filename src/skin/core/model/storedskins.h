// Skins stored with the program: packed skin data under a name, chosen like
// any skin folder or packed file. Window-free.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/portable/component.h"
#include "framework/portable/props.h"
#include "skin/core/model/skindata.h"

namespace kova::skin {

// Published so that a form description carries the skins it stores: each
// item's Name, the descriptive values and "Data", the packed file.
class TsStoredSkin : public TPersistent {
    KOVA_CLASS_PROPS(TsStoredSkin, TPersistent)
public:
    std::string Name;
    // Descriptive, like the values below: loading uses only Name and Data.
    Bitmap32 MasterBitmap;
    TsColor Shadow1Color = 0;
    std::int32_t Shadow1Offset = 0;
    std::int32_t Shadow1Blur = -1;
    std::int32_t Shadow1Transparency = 0;
    TsColor BorderColor = 0xFF00FF;
    double Version = 0;
    std::string Author;
    std::string Description;
    std::vector<std::uint8_t> Data;  // the whole packed skin file

    // Copies everything another stored skin holds (its picture deeply).
    void Assign(const TsStoredSkin& other);
    bool Assign(const TPersistent* Source) override;

private:
    static void DefineProps(TPropList& L);
};

class TsStoredSkins {
public:
    std::size_t Count() const { return items_.size(); }
    const TsStoredSkin& Items(std::size_t i) const { return items_[i]; }
    // Position of the first item of exactly that name; -1 when none.
    int IndexOf(const std::string& name) const;
    void Add(TsStoredSkin skin);
    void Delete(std::size_t i);
    void Clear();
    // Replaces the items by `count` new ones, each filled in order (a form
    // description's items); when filling throws the items stay as they were.
    // One change for the whole list.
    void Read(std::size_t count, const TPropInfo::TFillItem& fill);
    // Called after every change: the skin manager tells its
    // OnSkinListChanged, so that skin lists refresh themselves.
    std::function<void()> OnChange;

private:
    void Changed() {
        if (OnChange) OnChange();
    }
    std::vector<TsStoredSkin> items_;
};

}  // namespace kova::skin
