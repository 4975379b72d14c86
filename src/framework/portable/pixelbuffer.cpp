#include "framework/portable/pixelbuffer.h"

#include <algorithm>
#include <cstring>

namespace kova {

PixelBuffer32::PixelBuffer32(int width, int height) { Resize(width, height); }

PixelBuffer32 PixelBuffer32::View(void* line0, int width, int height, std::ptrdiff_t strideBytes) {
    PixelBuffer32 b;
    if (line0 == nullptr || width <= 0 || height <= 0) return b;
    b.line0_ = static_cast<std::uint8_t*>(line0);
    b.width_ = width;
    b.height_ = height;
    b.stride_ = strideBytes;
    return b;
}

void PixelBuffer32::Resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    storage_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
    width_ = width;
    height_ = height;
    stride_ = static_cast<std::ptrdiff_t>(width) * 4;
    line0_ = storage_.empty() ? nullptr : reinterpret_cast<std::uint8_t*>(storage_.data());
}

PixelBuffer32 PixelBuffer32::Clone() const {
    PixelBuffer32 c(width_, height_);
    for (int y = 0; y < height_; ++y)
        std::memcpy(c.ScanLine(y), ScanLine(y), static_cast<std::size_t>(width_) * 4);
    return c;
}

PixelBuffer32::PixelBuffer32(const PixelBuffer32& other) {
    *this = other;
}

PixelBuffer32& PixelBuffer32::operator=(const PixelBuffer32& other) {
    if (this == &other) return *this;
    if (other.OwnsMemory()) {
        *this = other.Clone();
    } else {
        storage_.clear();
        line0_ = other.line0_;
        stride_ = other.stride_;
        width_ = other.width_;
        height_ = other.height_;
    }
    return *this;
}

PixelBuffer32::PixelBuffer32(PixelBuffer32&& other) noexcept { *this = std::move(other); }

PixelBuffer32& PixelBuffer32::operator=(PixelBuffer32&& other) noexcept {
    if (this == &other) return *this;
    storage_ = std::move(other.storage_);
    line0_ = other.line0_;
    stride_ = other.stride_;
    width_ = other.width_;
    height_ = other.height_;
    other.storage_.clear();
    other.line0_ = nullptr;
    other.stride_ = 0;
    other.width_ = other.height_ = 0;
    return *this;
}

void PixelBuffer32::Fill(std::uint32_t pixel) {
    for (int y = 0; y < height_; ++y) std::fill_n(ScanLine(y), width_, pixel);
}

}  // namespace kova
