#include "skin/core/sysentries.h"

#include <type_traits>

#include "framework/handles.h"

namespace kova::skin {

namespace {

// The entry of that name in the library (nullptr when either is missing).
template <class Fn>
void Take(Fn& entry, const TModuleHandle& module, const char* name) {
    entry = module.Proc<Fn>(name);
}

// The composition and gradient libraries serve painting after the window
// shows: each loads on the first call of one of its entries, not when the
// table is filled at start (every library loaded at start delays the main
// window under Wine). Entry Name of library Library() is called through
// Call, which answers failure when the library or entry is missing.
template <const TModuleHandle& (*Library)(), class Fn>
struct TOnFirstCall;
template <const TModuleHandle& (*Library)(), class R, class... A>
struct TOnFirstCall<Library, R(WINAPI*)(A...)> {
    template <const char* Name>
    static R WINAPI Call(A... args) {
        static const auto entry = Library().template Proc<R(WINAPI*)(A...)>(Name);
        if (entry) return entry(args...);
        if constexpr (std::is_same_v<R, HRESULT>) return E_NOTIMPL;
        else return R{};
    }
};

const TModuleHandle& Dwmapi() {
    static const TModuleHandle module("dwmapi.dll");
    return module;
}
const TModuleHandle& Msimg32() {
    static const TModuleHandle module("msimg32.dll");
    return module;
}
const TModuleHandle& Comctl32() {
    static const TModuleHandle module("comctl32.dll");
    return module;
}

constexpr char kDwmIsCompositionEnabled[] = "DwmIsCompositionEnabled";
constexpr char kDwmSetWindowAttribute[] = "DwmSetWindowAttribute";
constexpr char kDwmEnableBlurBehindWindow[] = "DwmEnableBlurBehindWindow";
constexpr char kDwmSetIconicThumbnail[] = "DwmSetIconicThumbnail";
constexpr char kDwmSetIconicLivePreviewBitmap[] = "DwmSetIconicLivePreviewBitmap";
constexpr char kDwmInvalidateIconicBitmaps[] = "DwmInvalidateIconicBitmaps";
constexpr char kGradientFill[] = "GradientFill";
constexpr char kInitializeFlatSB[] = "InitializeFlatSB";
constexpr char kUninitializeFlatSB[] = "UninitializeFlatSB";

template <const TModuleHandle& (*Library)(), const char* Name, class Fn>
void Defer(Fn& entry) {
    entry = &TOnFirstCall<Library, Fn>::template Call<Name>;
}

// The libraries stay loaded while the table may be read, and are let go of
// when the program ends.
struct TLoadedEntries {
    TSystemEntries Entries;
    // Loaded already in every program with windows; held all the same, so
    // that the entries stay valid for as long as the table lives.
    TModuleHandle User32{"user32.dll"}, Uxtheme{"uxtheme.dll"}, Kernel32{"kernel32.dll"};

    TLoadedEntries() {
        TSystemEntries& e = Entries;
        Take(e.UpdateLayeredWindow, User32, "UpdateLayeredWindow");
        Take(e.UpdateLayeredWindowIndirect, User32, "UpdateLayeredWindowIndirect");
        Take(e.SetLayeredWindowAttributes, User32, "SetLayeredWindowAttributes");
        Take(e.GetScrollBarInfo, User32, "GetScrollBarInfo");
        Take(e.SetWindowTheme, Uxtheme, "SetWindowTheme");
        Take(e.IsAppThemed, Uxtheme, "IsAppThemed");
        Take(e.IsDebuggerPresent, Kernel32, "IsDebuggerPresent");
        Take(e.IsWow64Process, Kernel32, "IsWow64Process");
        Defer<Dwmapi, kDwmIsCompositionEnabled>(e.DwmIsCompositionEnabled);
        Defer<Dwmapi, kDwmSetWindowAttribute>(e.DwmSetWindowAttribute);
        Defer<Dwmapi, kDwmEnableBlurBehindWindow>(e.DwmEnableBlurBehindWindow);
        Defer<Dwmapi, kDwmSetIconicThumbnail>(e.DwmSetIconicThumbnail);
        Defer<Dwmapi, kDwmSetIconicLivePreviewBitmap>(e.DwmSetIconicLivePreviewBitmap);
        Defer<Dwmapi, kDwmInvalidateIconicBitmaps>(e.DwmInvalidateIconicBitmaps);
        Defer<Msimg32, kGradientFill>(e.GradientFill);
        Defer<Comctl32, kInitializeFlatSB>(e.InitializeFlatSB);
        Defer<Comctl32, kUninitializeFlatSB>(e.UninitializeFlatSB);
    }
};

}  // namespace

const TSystemEntries& SystemEntries() {
    static const TLoadedEntries loaded;
    return loaded.Entries;
}

}  // namespace kova::skin
