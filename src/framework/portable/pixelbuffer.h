// A 32-bit pixel buffer with top-down rows: the window-free half of the
// framework's 32-bit bitmap. Pixels are stored blue, green, red, alpha in
// memory (read as a little-endian word: 0xAARRGGBB).
//
// The buffer either owns its memory (rows of Width pixels, no padding) or
// is a view of memory that somebody else owns, for example the bits of a
// DIB section; a view may have any stride, negative for bottom-up memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kova {

class PixelBuffer32 {
public:
    PixelBuffer32() = default;
    // An owning buffer of Width x Height pixels, all zero. Negative sizes
    // count as 0.
    PixelBuffer32(int width, int height);

    // A view of external memory: `line0` is the address of row 0 and
    // `strideBytes` the distance from row 0 to row 1 (negative for a
    // bottom-up DIB). The memory must outlive the view.
    static PixelBuffer32 View(void* line0, int width, int height, std::ptrdiff_t strideBytes);

    // Copying an owning buffer copies its pixels; copying a view gives
    // another view of the same memory.
    PixelBuffer32(const PixelBuffer32& other);
    PixelBuffer32& operator=(const PixelBuffer32& other);
    PixelBuffer32(PixelBuffer32&& other) noexcept;
    PixelBuffer32& operator=(PixelBuffer32&& other) noexcept;

    // Makes the buffer an owning one of the new size, all pixels zero.
    void Resize(int width, int height);
    // Deep copy into an owning buffer (also of a view).
    PixelBuffer32 Clone() const;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    bool OwnsMemory() const { return line0_ == nullptr || !storage_.empty(); }
    std::ptrdiff_t Stride() const { return stride_; }  // bytes, row 0 -> row 1

    std::uint8_t* Line0() { return line0_; }
    const std::uint8_t* Line0() const { return line0_; }
    std::uint32_t* ScanLine(int y) {
        return reinterpret_cast<std::uint32_t*>(line0_ + static_cast<std::ptrdiff_t>(y) * stride_);
    }
    const std::uint32_t* ScanLine(int y) const {
        return reinterpret_cast<const std::uint32_t*>(line0_ + static_cast<std::ptrdiff_t>(y) * stride_);
    }
    std::uint32_t& At(int x, int y) { return ScanLine(y)[x]; }
    std::uint32_t At(int x, int y) const { return ScanLine(y)[x]; }

    // Sets every pixel to the word.
    void Fill(std::uint32_t pixel);

private:
    std::vector<std::uint32_t> storage_;
    std::uint8_t* line0_ = nullptr;
    std::ptrdiff_t stride_ = 0;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace kova
