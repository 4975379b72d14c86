#include "skin/core/sysentries.h"

#include <array>

namespace kova::skin {

namespace {

// GetProcAddress gives a generic pointer; the cast through void* says that
// the entry has the type its name promises.
template <class Fn>
void Take(Fn& entry, HMODULE module, const char* name) {
    if (module) entry = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The libraries stay loaded while the table may be read, and are let go of
// when the program ends.
struct TLoadedEntries {
    TSystemEntries Entries;
    std::array<HMODULE, 5> Modules{};

    TLoadedEntries() {
        const char* names[] = {"user32.dll", "uxtheme.dll", "dwmapi.dll", "msimg32.dll", "kernel32.dll"};
        for (std::size_t i = 0; i < Modules.size(); ++i) Modules[i] = LoadLibraryA(names[i]);
        const auto [user32, uxtheme, dwmapi, msimg32, kernel32] = Modules;
        TSystemEntries& e = Entries;
        Take(e.UpdateLayeredWindow, user32, "UpdateLayeredWindow");
        Take(e.SetLayeredWindowAttributes, user32, "SetLayeredWindowAttributes");
        Take(e.GetScrollBarInfo, user32, "GetScrollBarInfo");
        Take(e.SetWindowTheme, uxtheme, "SetWindowTheme");
        Take(e.DwmIsCompositionEnabled, dwmapi, "DwmIsCompositionEnabled");
        Take(e.DwmSetWindowAttribute, dwmapi, "DwmSetWindowAttribute");
        Take(e.DwmEnableBlurBehindWindow, dwmapi, "DwmEnableBlurBehindWindow");
        Take(e.DwmSetIconicThumbnail, dwmapi, "DwmSetIconicThumbnail");
        Take(e.DwmSetIconicLivePreviewBitmap, dwmapi, "DwmSetIconicLivePreviewBitmap");
        Take(e.DwmInvalidateIconicBitmaps, dwmapi, "DwmInvalidateIconicBitmaps");
        Take(e.GradientFill, msimg32, "GradientFill");
        Take(e.IsDebuggerPresent, kernel32, "IsDebuggerPresent");
        Take(e.IsWow64Process, kernel32, "IsWow64Process");
    }
    ~TLoadedEntries() {
        for (HMODULE m : Modules)
            if (m) FreeLibrary(m);
    }
    TLoadedEntries(const TLoadedEntries&) = delete;
    TLoadedEntries& operator=(const TLoadedEntries&) = delete;
};

}  // namespace

const TSystemEntries& SystemEntries() {
    static const TLoadedEntries loaded;
    return loaded.Entries;
}

}  // namespace kova::skin
