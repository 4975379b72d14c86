// A control's picture kept between repaints. Composing a skinned control
// (background, gradient, texture, corners, border, text) costs far more
// than copying it, and most repaints (an uncovered window, a neighbour's
// hover) find the control unchanged: those are served from the cache. The
// picture is composed again only when something it was made from changed:
// the skin (its tables were reloaded), the section, the state, the size, or
// whatever else the caller folds into the key's Extra (caption, focus,
// background position, hue ...).
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "skin/core/model/skinmodel.h"
#include "skin/core/portable/pixels.h"

namespace kova::skin {

struct TPaintKey {
    const TsSkinModel* Skin = nullptr;
    std::uint64_t SkinGeneration = 0;
    std::int32_t Section = -1;
    std::int32_t State = 0;
    std::int32_t Width = 0, Height = 0;
    std::uint64_t Extra = 0;
    bool operator==(const TPaintKey&) const = default;
};

// The key of a control of the given skin (its current generation).
TPaintKey MakePaintKey(const TsSkinModel& skin, int section, int state, int width, int height,
                       std::uint64_t extra = 0);
// 64-bit FNV-1a, to fold texts and other values into Extra.
std::uint64_t HashPaintValue(std::string_view bytes, std::uint64_t seed = 0xCBF29CE484222325ull);
std::uint64_t HashPaintValue(std::int64_t value, std::uint64_t seed = 0xCBF29CE484222325ull);

class TPaintCache {
public:
    // The picture for key: compose(bitmap) runs on a cleared buffer of the
    // key's size only when the key differs from the one the picture was
    // made for, or after Invalidate; otherwise the stored picture is
    // returned as it is. A compose that throws leaves the cache invalid.
    const Bitmap32& Get(const TPaintKey& key, const std::function<void(Bitmap32&)>& compose);
    // Forces the next Get to compose (the control changed in a way its key
    // does not show).
    void Invalidate() { valid_ = false; }
    bool Valid() const { return valid_; }
    bool Matches(const TPaintKey& key) const { return valid_ && key == key_; }
    const Bitmap32& Picture() const { return picture_; }
    // How often the picture was composed: repaints from the cache leave it.
    std::uint64_t Compositions() const { return compositions_; }
    // Drops the picture's memory (a hidden control).
    void Release();

private:
    Bitmap32 picture_;
    TPaintKey key_;
    bool valid_ = false;
    std::uint64_t compositions_ = 0;
};

}  // namespace kova::skin
