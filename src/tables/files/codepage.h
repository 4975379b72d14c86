// Conversion between the engine's 8-bit strings and the UTF-16 strings of
// the placement-config file. The program converts through the system code
// page; this window-free code defaults to Windows-1252 and lets the Win32
// side install the real conversion.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kova::tables {

struct TAnsiCodec {
    std::function<std::u16string(std::string_view)> ToUtf16;
    std::function<std::string(std::u16string_view)> FromUtf16;  // unrepresentable -> '?'
};

// Installs a codec (empty functions restore Windows-1252); returns the
// previous one.
TAnsiCodec SetAnsiCodec(TAnsiCodec codec);

std::u16string AnsiToUtf16(std::string_view text);
std::string Utf16ToAnsi(std::u16string_view text);

// The built-in Windows-1252 conversion.
std::u16string Cp1252ToUtf16(std::string_view text);
std::string Utf16ToCp1252(std::u16string_view text);

}  // namespace kova::tables
