// Where the form and dialog skinning plugs into the skin engine core. The
// core units call only these; form skinning installs its own functions when
// it starts. Until then the defaults below answer.
#pragma once

#include <windows.h>

#include <functional>

namespace kova::skin {

// Until form skinning installs its own, the thread hook passes every
// notification on and skins nothing.
inline LRESULT CALLBACK PassOnDialogHook(int code, WPARAM w, LPARAM l) { return CallNextHookEx(nullptr, code, w, l); }

struct FormSkinningServices {
    // True when desktop composition is on (Windows 6+ with the DWM active).
    std::function<bool()> IsDwmCompositionEnabled;
    // The WH_CBT procedure through which the default skin manager's thread
    // hook skins new forms and dialogs of the GUI thread.
    HOOKPROC DialogHookProc = PassOnDialogHook;
    // Frees the adapters the hook attached to popup-menu windows; called
    // just before the hook is removed.
    std::function<void()> FreeMenuWndAdapters = [] {};
};

// The installed services (defaults: composition off).
FormSkinningServices& FormSkinning();

// The modal-dialog notifications the application wants around a skin
// message box (the box itself goes through the framework's dialog seam).
struct MsgBoxApplication {
    std::function<void()> ModalStarted;
    std::function<void()> ModalFinished;
};
MsgBoxApplication& MsgBoxApp();

}  // namespace kova::skin
