// The live handle counts that the skin window tests compare.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "framework/handles.h"

namespace kova::skin::test {

// The handles that painting, animating and hooking take and must give
// back, counted live: a skin window test ends with them where it began (a
// leak there would be a leak per repaint). Bitmaps, fonts and icons that
// caches keep are not among them. Empty when nothing changed.
inline std::string TransientHandlesChanged(const THandleCounts& before) {
    const THandleCounts now = LiveHandleCounts();
    std::ostringstream out;
    for (THandleKind k : {THandleKind::WindowDC, THandleKind::SavedDC, THandleKind::Paint, THandleKind::Hook,
                          THandleKind::Subclass}) {
        const auto i = static_cast<std::size_t>(k);
        if (now[i] != before[i]) out << HandleKindName(k) << ": " << before[i] << " -> " << now[i] << "; ";
    }
    return out.str();
}

// The GDI objects this process holds now. Wine answers GetGuiResources
// with 0 whatever a process holds, so under Wine the live entries of the
// process' GDI handle table (the one the process block points to: 0x10000
// entries of 24 bytes, a live one with a type) are counted instead.
inline DWORD LiveGdiObjects() {
#ifdef _WIN64
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    using TQuery = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<TQuery>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info{};
    if (GetProcAddress(ntdll, "wine_get_version") && query &&
        query(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info, nullptr) == 0 &&
        info.PebBaseAddress) {
        struct TEntry {
            std::uint64_t object;
            std::uint32_t owner;
            std::uint16_t unique;
            std::uint8_t type;
            std::uint8_t flags;
            std::uint64_t user;
        };
        static_assert(sizeof(TEntry) == 24);
        const auto* peb = reinterpret_cast<const char*>(info.PebBaseAddress);
        const auto* table = *reinterpret_cast<const TEntry* const*>(peb + 0xF8);
        if (table) {
            DWORD live = 0;
            for (int i = 0; i < 0x10000; ++i)
                if (table[i].type != 0) ++live;
            return live;
        }
    }
#endif
    return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
}

namespace detail {
inline BOOL CALLBACK CountChildWindow(HWND, LPARAM p) {
    ++*reinterpret_cast<DWORD*>(p);
    return TRUE;
}
inline BOOL CALLBACK CountWindowAndChildren(HWND w, LPARAM p) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<DWORD*>(p);
    EnumChildWindows(w, CountChildWindow, p);
    return TRUE;
}
}  // namespace detail

// The windows this process has now: top-level ones (hidden ones too),
// message-only ones and all their children. Windows are the USER objects
// our code makes and must destroy; Wine answers GetGuiResources for USER
// objects with 0 as it does for GDI ones, so they are counted instead.
inline DWORD LiveOurWindows() {
    DWORD n = 0;
    EnumWindows(detail::CountWindowAndChildren, reinterpret_cast<LPARAM>(&n));
    for (HWND w = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
         w = FindWindowExA(HWND_MESSAGE, w, nullptr, nullptr))
        detail::CountWindowAndChildren(w, reinterpret_cast<LPARAM>(&n));
    return n;
}

// The process' GDI objects and windows, taken together and compared: the
// flat-count checks of the tests that must give back what they made.
struct TGuiCounts {
    DWORD gdi = LiveGdiObjects();
    DWORD windows = LiveOurWindows();

    // Empty when now is the same (or, with noMore, no more) as `this`.
    std::string ChangedTo(const TGuiCounts& now, bool noMore) const {
        std::ostringstream out;
        const auto check = [&](const char* what, DWORD was, DWORD is) {
            if (noMore ? is > was : is != was) out << what << ": " << was << " -> " << is << "; ";
        };
        check("GDI objects", gdi, now.gdi);
        check("windows", windows, now.windows);
        return out.str();
    }
};

// The handle counts taken when it is made, compared once a test has run its
// rounds of painting, skinning and freeing: a round that keeps a handle
// keeps one per round. The framework's live counts are compared whole, or
// only the transient kinds where caches keep bitmaps; the process' GDI
// objects and windows must be the same, or no more where the system may
// give back some of its own meanwhile.
class TFlatCounts {
public:
    enum TLive { AllLive, TransientOnly };
    enum TGui { GuiSame, GuiNoMore };

    TFlatCounts() : live_(LiveHandleCounts()) {}

    void ExpectKept(TLive live, TGui gui) const {
        if (live == AllLive) {
            EXPECT_EQ(LiveHandleCounts(), live_);
        }
        EXPECT_EQ(TransientHandlesChanged(live_), "");
        EXPECT_EQ(gui_.ChangedTo(TGuiCounts{}, gui == GuiNoMore), "");
    }

private:
    THandleCounts live_;
    TGuiCounts gui_;
};

}  // namespace kova::skin::test
