#pragma once
// Helpers of the engine's tests against real windows.
#include <windows.h>

#include <string>

#include "tables/pokertable.h"
#include "tables/titleexpr.h"
#include "tables/variables.h"

namespace kova::tables::testing {

inline TTitleSpec Title(const std::string& text) {
    TTitleSpec t;
    t.Text = text;
    DecodeTitle(t);
    return t;
}

inline RECT WindowRect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

// a lies above b in the z-order.
inline bool IsAbove(HWND a, HWND b) {
    for (HWND h = GetWindow(a, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT))
        if (h == b) return true;
    return false;
}

inline TPokerTable* TableOf(HWND h) {
    for (TPokerTable* t : Tables)
        if (t->Window() == h) return t;
    return nullptr;
}

}  // namespace kova::tables::testing
