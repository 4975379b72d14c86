#include "tables/files/codepage.h"

namespace kova::tables {

namespace {

// 0x80..0x9F of Windows-1252; the five unassigned bytes map to the C1
// control of the same number, as the system conversion does.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

TAnsiCodec& Codec() {
    static TAnsiCodec codec;
    return codec;
}

}  // namespace

std::u16string Cp1252ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : static_cast<char16_t>(b));
    }
    return out;
}

std::string Utf16ToCp1252(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t u : text) {
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.push_back(static_cast<char>(u));
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i) {
            if (kHigh[i] == u) {
                mapped = static_cast<char>(0x80 + i);
                break;
            }
        }
        out.push_back(mapped);
    }
    return out;
}

TAnsiCodec SetAnsiCodec(TAnsiCodec codec) {
    TAnsiCodec previous = std::move(Codec());
    Codec() = std::move(codec);
    return previous;
}

std::u16string AnsiToUtf16(std::string_view text) {
    return Codec().ToUtf16 ? Codec().ToUtf16(text) : Cp1252ToUtf16(text);
}

std::string Utf16ToAnsi(std::u16string_view text) {
    return Codec().FromUtf16 ? Codec().FromUtf16(text) : Utf16ToCp1252(text);
}

}  // namespace kova::tables
