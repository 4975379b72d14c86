#include "tables/files/recordcodec.h"

#include "tables/files/codepage.h"

namespace kova::tables {

void WriteWideStr(TByteWriter& out, const std::string& text) {
    const std::u16string wide = AnsiToUtf16(text);
    out.WriteI32(static_cast<int32_t>(wide.size()));
    uint8_t* p = out.Append(wide.size() * 2);
    for (char16_t u : wide) {
        *p++ = static_cast<uint8_t>(u);
        *p++ = static_cast<uint8_t>(u >> 8);
    }
}

bool ReadWideStr(TByteReader& in, std::string& text) {
    int32_t count = 0;
    if (!in.ReadI32(count)) return false;
    if (!layout::CountFits(count, in.Remaining(), 2)) return false;
    const uint8_t* p = in.Take(static_cast<std::size_t>(count) * 2);
    std::u16string wide(static_cast<std::size_t>(count), u'\0');
    for (int32_t i = 0; i < count; ++i) {
        wide[static_cast<std::size_t>(i)] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
    }
    text = Utf16ToAnsi(wide);
    return true;
}

}  // namespace kova::tables
