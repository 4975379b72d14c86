#pragma once
// Helpers of the engine's tests against real windows.
#include <windows.h>

#include <string>

#include "common/win32_testing.h"
#include "simclient_protocol.h"
#include "tables/engine/autoplace.h"

#include "tables/engine/pokertable.h"
#include "tables/logic/titleexpr.h"
#include "tables/model/engineservices.h"
#include "tables/model/variables.h"

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
    for (const TOwnedTable& t : Tables)
        if (t->Window() == h) return t.get();
    return nullptr;
}

// The position of a table in Tables (Tables.size() when it is in none).
inline size_t IndexOf(const TPokerTable* table) {
    size_t i = 0;
    while (i < Tables.size() && Tables[i].get() != table) ++i;
    return i;
}

// Starts the client under `name`, logging its mouse messages to `log`; true
// once its control window answers.
inline bool StartSimClient(kova::test::ChildProcess& client, const char* name, const std::string& log) {
    return client.Start("\"" + kova::test::SimClientExe() + "\" --name " + name + " --log \"" + log + "\"") &&
           kova::test::WaitForWindow(kova::sim::kControlClass, name) != nullptr;
}

}  // namespace kova::tables::testing
