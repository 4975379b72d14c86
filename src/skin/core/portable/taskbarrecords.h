// The shell's task-bar tool-bar records as they arrive from the shell's
// memory, decoded apart from any window. The bytes come from another
// process and are not trusted: every decoder checks the length it is given
// and answers nothing for a record that is short or that no task bar could
// hold. The layouts follow the shell's bitness, not ours: a 32-bit shell
// (or one under WOW64) lays pointers out in 4 bytes, a 64-bit one in 8.
// Window-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kova::skin {

enum class TShellBitness : std::uint8_t { Bits32, Bits64 };

// The size of one tool-bar button record (iBitmap, idCommand, fsState,
// fsStyle, reserved padding, dwData, iString) and of the pointer-sized
// window handle that the button's data points to.
std::size_t TaskbarButtonRecordSize(TShellBitness bits);
std::size_t TaskbarHandleSize(TShellBitness bits);
// A task-bar button rectangle: four 32-bit ints, whatever the bitness.
inline constexpr std::size_t kTaskbarRectSize = 16;

// More buttons than this no task bar holds: such a count is not believed.
inline constexpr std::int64_t kMaxTaskbarButtons = 4096;
// No button is wider or taller than this.
inline constexpr int kMaxTaskbarButtonExtent = 4096;

struct TTaskbarButton {
    std::uint8_t State = 0;
    std::uint8_t Style = 0;
    // The address, in the shell, of the record whose first field is the
    // window the button stands for.
    std::uint64_t Data = 0;
    // A separator, a drop-down or a group heading, a hidden button and one
    // without data stand for no window.
    bool StandsForAWindow() const;
};

struct TTaskbarRect {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    friend bool operator==(const TTaskbarRect&, const TTaskbarRect&) = default;
};

bool TaskbarButtonCountBelievable(std::int64_t count);
std::optional<TTaskbarButton> DecodeTaskbarButton(std::span<const std::uint8_t> bytes, TShellBitness bits);
// The handle zero-extended from the shell's width.
std::optional<std::uint64_t> DecodeTaskbarHandle(std::span<const std::uint8_t> bytes, TShellBitness bits);
// Nothing for a rectangle no button can have (inverted or too large).
std::optional<TTaskbarRect> DecodeTaskbarRect(std::span<const std::uint8_t> bytes);

}  // namespace kova::skin
