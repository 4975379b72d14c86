#include "skin/core/paint/portable/paintcache.h"

#include <algorithm>

namespace kova::skin {

TPaintKey MakePaintKey(const TsSkinModel& skin, int section, int state, int width, int height, std::uint64_t extra) {
    return {&skin, skin.Generation(), section, state, std::max(width, 0), std::max(height, 0), extra};
}

std::uint64_t HashPaintValue(std::string_view bytes, std::uint64_t seed) {
    std::uint64_t h = seed;
    for (const char c : bytes) {
        h ^= static_cast<std::uint8_t>(c);
        h *= 0x100000001B3ull;
    }
    return h;
}

std::uint64_t HashPaintValue(std::int64_t value, std::uint64_t seed) {
    std::uint64_t h = seed;
    for (int i = 0; i < 8; ++i) {
        h ^= static_cast<std::uint64_t>(value >> (8 * i)) & 0xFF;
        h *= 0x100000001B3ull;
    }
    return h;
}

const Bitmap32& TPaintCache::Get(const TPaintKey& key, const std::function<void(Bitmap32&)>& compose) {
    if (Matches(key)) return picture_;
    valid_ = false;
    if (picture_.Width() != key.Width || picture_.Height() != key.Height)
        picture_.Resize(key.Width, key.Height);
    else
        picture_.Fill(0);
    if (compose) compose(picture_);
    key_ = key;
    valid_ = true;
    ++compositions_;
    return picture_;
}

void TPaintCache::Release() {
    picture_ = Bitmap32();
    valid_ = false;
}

}  // namespace kova::skin
