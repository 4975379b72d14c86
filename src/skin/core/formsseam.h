// Where the form and dialog skinning plugs into the skin engine core. The
// core units call only these; form skinning installs its own functions when
// it starts. Until then the defaults below answer.
#pragma once

#include <windows.h>

#include <functional>

namespace kova::skin {

struct FormSkinningServices {
    // True when desktop composition is on (Windows 6+ with the DWM active).
    std::function<bool()> IsDwmCompositionEnabled;
};

// The installed services (defaults: composition off).
FormSkinningServices& FormSkinning();

// What the message box needs of the application: its window (the owner of
// the box), the modal-dialog notifications and the help system.
struct MsgBoxApplication {
    std::function<HWND()> ApplicationWindow;
    std::function<void()> ModalStarted;
    std::function<void()> ModalFinished;
    std::function<void(DWORD helpContext)> ShowHelp;
};
MsgBoxApplication& MsgBoxApp();

}  // namespace kova::skin
