#include "skin/core/skinservices.h"

#include "skin/core/sysentries.h"

namespace kova::skin {

TSkinServices& SkinServices() {
    static TSkinServices services;
    return services;
}

void ResetSkinServices() { SkinServices() = TSkinServices{}; }

bool LayeredWindowsAvailable() {
    if (const auto& offered = SkinServices().System.LayeredWindows) return offered();
    return SystemEntries().UpdateLayeredWindow != nullptr;
}

namespace {

// The composition calls exist from Windows 6 on.
bool SystemHasComposition() { return LOBYTE(LOWORD(GetVersion())) >= 6; }

const DesktopCompositionCalls& Composition() { return FormSkinning().Composition; }

// The seam's call when set, else the system's entry (E_NOTIMPL without it).
template <class Seam, class Entry, class... Args>
HRESULT Call(const Seam& seam, Entry entry, Args... args) {
    if (seam) return seam(args...);
    if (!SystemHasComposition() || !entry) return E_NOTIMPL;
    return entry(args...);
}

}  // namespace

bool DwmCompositionEnabled() {
    if (const auto& f = Composition().IsCompositionEnabled) return f();
    DwmIsCompositionEnabledFn fn = SystemEntries().DwmIsCompositionEnabled;
    BOOL on = FALSE;
    return SystemHasComposition() && fn && SUCCEEDED(fn(&on)) && on;
}

HRESULT DwmSetWindowAttributeCall(HWND wnd, DWORD attribute, const void* value, DWORD size) {
    return Call(Composition().SetWindowAttribute, SystemEntries().DwmSetWindowAttribute, wnd, attribute, value, size);
}

HRESULT DwmEnableBlurBehindWindowCall(HWND wnd, const void* blurBehind) {
    return Call(Composition().EnableBlurBehindWindow, SystemEntries().DwmEnableBlurBehindWindow, wnd, blurBehind);
}

HRESULT DwmSetIconicThumbnailCall(HWND wnd, HBITMAP bitmap, DWORD flags) {
    return Call(Composition().SetIconicThumbnail, SystemEntries().DwmSetIconicThumbnail, wnd, bitmap, flags);
}

HRESULT DwmSetIconicLivePreviewBitmapCall(HWND wnd, HBITMAP bitmap, POINT* client, DWORD flags) {
    return Call(Composition().SetIconicLivePreviewBitmap, SystemEntries().DwmSetIconicLivePreviewBitmap, wnd, bitmap,
                client, flags);
}

HRESULT DwmInvalidateIconicBitmapsCall(HWND wnd) {
    return Call(Composition().InvalidateIconicBitmaps, SystemEntries().DwmInvalidateIconicBitmaps, wnd);
}

}  // namespace kova::skin
