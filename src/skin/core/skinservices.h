// The skin engine core's replaceable services in one place: where form and
// dialog skinning plugs in, the application's notifications around a skin
// message box, and the output of the animations. An empty member means the
// default behaviour, so a fresh TSkinServices is the program as it starts;
// form skinning installs its own functions when it starts, tests replace a
// member, and ResetSkinServices() puts every default back.
#pragma once

#include <windows.h>

#include <functional>

namespace kova::skin {

class TsSkinManager;
}  // namespace kova::skin
namespace kova {
class TPopupMenu;
}
namespace kova::skin {

// Until form skinning installs its own, the thread hook passes every
// notification on and skins nothing.
inline LRESULT CALLBACK PassOnDialogHook(int code, WPARAM w, LPARAM l) { return CallNextHookEx(nullptr, code, w, l); }

// Desktop composition (the DWM), the one way every caller reaches it. An
// empty member is the system's own call (through the optional entries:
// from Windows 6 and only when dwmapi has the function); a filled one
// replaces it, so tests can switch composition on where the system has
// none and record what would be sent. Unavailable calls answer
// E_NOTIMPL; "on" is false.
struct DesktopCompositionCalls {
    std::function<bool()> IsCompositionEnabled;
    std::function<HRESULT(HWND wnd, DWORD attribute, const void* value, DWORD size)> SetWindowAttribute;
    // `blurBehind` points to the system's blur-behind record.
    std::function<HRESULT(HWND wnd, const void* blurBehind)> EnableBlurBehindWindow;
    std::function<HRESULT(HWND wnd, HBITMAP bitmap, DWORD flags)> SetIconicThumbnail;
    std::function<HRESULT(HWND wnd, HBITMAP bitmap, POINT* client, DWORD flags)> SetIconicLivePreviewBitmap;
    std::function<HRESULT(HWND wnd)> InvalidateIconicBitmaps;
};

struct FormSkinningServices {
    DesktopCompositionCalls Composition;
    // The WH_CBT procedure through which the default skin manager's thread
    // hook skins new forms and dialogs of the GUI thread.
    HOOKPROC DialogHookProc = PassOnDialogHook;
    // Frees the adapters the hook attached to popup-menu windows; called
    // just before the hook is removed (empty: none to free).
    std::function<void()> FreeMenuWndAdapters;
    // The skinned menus: the shape of a popup-menu window that has just
    // shown (PopupMenuItemShownMessage with a menu item in LParam, or
    // PopupMenuWindowShownMessage with the window in LParam), and their
    // settings read again from the manager's skin. Empty: menus are plain.
    std::function<void(UINT msg, LPARAM l)> PopupMenuShown;
    std::function<void(TsSkinManager* manager)> MenusFromSkin;
    // SkinnedPopups changed: every form's menus hooked again by it.
    std::function<void(TsSkinManager* manager)> PopupsSwitched;
    // A control's popup menu made skinned (or plain) before it shows.
    std::function<void(TsSkinManager* manager, TPopupMenu* menu, bool active)> SetPopupMenuSkinned;
    // Frees every provider the hook made (and so the adapters each holds);
    // called once the hook is removed (empty: none to free).
    std::function<void()> FreeDialogProviders;
};

// The modal-dialog notifications the application wants around a skin
// message box (the box itself goes through the framework's dialog seam).
struct MsgBoxApplication {
    std::function<void()> ModalStarted;
    std::function<void()> ModalFinished;
};

// Every UpdateLayeredWindow and Sleep of the animations goes through here.
// Tests replace them (to record each frame's alpha, size, position and
// picture, and not to sleep); empty: the system's. A push given a dirty
// rectangle (picture coordinates; nullptr: the whole picture) takes over
// only that part of the picture (SystemUpdateLayered makes it so).
struct AnimationCalls {
    std::function<BOOL(HWND wnd, HDC screenDC, POINT* dest, SIZE* size, HDC sourceDC, POINT* sourcePoint,
                       COLORREF key, BLENDFUNCTION* blend, DWORD flags, const RECT* dirty)>
        UpdateLayeredWindow;
    std::function<void(DWORD ms)> Sleep;
    // The clock the fades keep to, milliseconds (empty: the system's).
    std::function<double()> Clock;
};

// What the system offers the skinning, as it sees it. Empty: the system's
// own answer; tests replace it to run the paths of a system without it.
struct SystemOffers {
    // Layered windows (UpdateLayeredWindow); without them hints, borders,
    // glows and animations take their paths over plain windows.
    std::function<bool()> LayeredWindows;
};

struct TSkinServices {
    FormSkinningServices FormSkinning;
    MsgBoxApplication MsgBoxApp;
    AnimationCalls AnimationOutput;
    SystemOffers System;
};

TSkinServices& SkinServices();
void ResetSkinServices();

// The members by their own names.
inline FormSkinningServices& FormSkinning() { return SkinServices().FormSkinning; }
inline MsgBoxApplication& MsgBoxApp() { return SkinServices().MsgBoxApp; }
inline AnimationCalls& AnimationOutput() { return SkinServices().AnimationOutput; }
inline SystemOffers& SystemOffered() { return SkinServices().System; }

// Desktop composition is on (Windows 6+ with the DWM active).
bool DwmCompositionEnabled();
// The other composition calls, through the same seam.
HRESULT DwmSetWindowAttributeCall(HWND wnd, DWORD attribute, const void* value, DWORD size);
HRESULT DwmEnableBlurBehindWindowCall(HWND wnd, const void* blurBehind);
HRESULT DwmSetIconicThumbnailCall(HWND wnd, HBITMAP bitmap, DWORD flags);
HRESULT DwmSetIconicLivePreviewBitmapCall(HWND wnd, HBITMAP bitmap, POINT* client, DWORD flags);
HRESULT DwmInvalidateIconicBitmapsCall(HWND wnd);

}  // namespace kova::skin
