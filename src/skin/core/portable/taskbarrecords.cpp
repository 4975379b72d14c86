#include "skin/core/portable/taskbarrecords.h"

#include <cstring>

namespace kova::skin {

namespace {

// Byte offsets in the tool-bar button record: the two ints, then state
// and style, then the padding that aligns dwData to the pointer size.
constexpr std::size_t kStateOffset = 8, kStyleOffset = 9;
constexpr std::size_t kData32Offset = 12, kData64Offset = 16;

// Tool-bar button styles and state that stand for no window: separator
// (0x01), group (0x04) and drop-down (0x08); hidden (0x08 in the state).
constexpr std::uint8_t kNoWindowStyles = 0x0D;
constexpr std::uint8_t kHiddenState = 0x08;

template <class T>
T ReadAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

}  // namespace

std::size_t TaskbarButtonRecordSize(TShellBitness bits) { return bits == TShellBitness::Bits32 ? 20 : 32; }

std::size_t TaskbarHandleSize(TShellBitness bits) { return bits == TShellBitness::Bits32 ? 4 : 8; }

bool TTaskbarButton::StandsForAWindow() const {
    return !(Style & kNoWindowStyles) && !(State & kHiddenState) && Data != 0;
}

bool TaskbarButtonCountBelievable(std::int64_t count) { return count >= 1 && count <= kMaxTaskbarButtons; }

std::optional<TTaskbarButton> DecodeTaskbarButton(std::span<const std::uint8_t> bytes, TShellBitness bits) {
    if (bytes.size() < TaskbarButtonRecordSize(bits)) return std::nullopt;
    TTaskbarButton b;
    b.State = bytes[kStateOffset];
    b.Style = bytes[kStyleOffset];
    b.Data = bits == TShellBitness::Bits32 ? ReadAt<std::uint32_t>(bytes, kData32Offset)
                                           : ReadAt<std::uint64_t>(bytes, kData64Offset);
    return b;
}

std::optional<std::uint64_t> DecodeTaskbarHandle(std::span<const std::uint8_t> bytes, TShellBitness bits) {
    if (bytes.size() < TaskbarHandleSize(bits)) return std::nullopt;
    if (bits == TShellBitness::Bits32) return ReadAt<std::uint32_t>(bytes, 0);
    return ReadAt<std::uint64_t>(bytes, 0);
}

std::optional<TTaskbarRect> DecodeTaskbarRect(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kTaskbarRectSize) return std::nullopt;
    const TTaskbarRect r{ReadAt<std::int32_t>(bytes, 0), ReadAt<std::int32_t>(bytes, 4), ReadAt<std::int32_t>(bytes, 8),
                         ReadAt<std::int32_t>(bytes, 12)};
    // Widths in 64 bits: garbage corners must not overflow the check.
    const std::int64_t w = std::int64_t{r.Right} - r.Left, h = std::int64_t{r.Bottom} - r.Top;
    if (w < 0 || h < 0 || w > kMaxTaskbarButtonExtent || h > kMaxTaskbarButtonExtent) return std::nullopt;
    return r;
}

}  // namespace kova::skin
