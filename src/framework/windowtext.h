// A window's text and class name, whatever their length. Header only, so
// that the engine's window scan, which does not link the framework, reads
// them the same way.
//
// WindowText is GetWindowTextA: for a window of another process it reads
// the caption the system keeps and sends that window no message (so a hung
// poker client cannot hang the scan). Texts that grow between the length
// query and the read are read again into a larger buffer.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

namespace kova {

namespace windowtext_detail {
// Reads with `read(buffer, size)` (which answers the characters copied,
// as GetWindowTextA and GetClassNameA do) into buffers that grow until the
// text fits with room to spare.
template <class Read>
std::string ReadGrowing(int guess, Read read) {
    int size = guess < 255 ? 256 : guess + 2;
    for (;;) {
        std::string s(static_cast<size_t>(size), '\0');
        const int got = read(s.data(), size);
        if (got <= 0) return std::string();
        if (got < size - 1 || size >= (1 << 24)) {
            s.resize(static_cast<size_t>(got));
            return s;
        }
        size *= 2;
    }
}
}  // namespace windowtext_detail

inline std::string WindowText(HWND wnd) {
    if (!wnd) return std::string();
    return windowtext_detail::ReadGrowing(GetWindowTextLengthA(wnd),
                                          [wnd](char* b, int n) { return GetWindowTextA(wnd, b, n); });
}

inline std::string WindowClassName(HWND wnd) {
    if (!wnd) return std::string();
    return windowtext_detail::ReadGrowing(0, [wnd](char* b, int n) { return GetClassNameA(wnd, b, n); });
}

// A text that a control hands out only into the caller's buffer, cut to
// fit, with no way to ask its length first (a tab's text, a header
// item's): fill(buffer, size) asks for it into size characters, the
// terminating zero included, and the buffer grows until the text fits.
template <class Fill>
std::string ItemText(Fill fill) {
    return windowtext_detail::ReadGrowing(0, [&fill](char* b, int n) {
        b[0] = '\0';
        fill(b, n);
        return static_cast<int>(strnlen(b, static_cast<size_t>(n)));
    });
}

}  // namespace kova
