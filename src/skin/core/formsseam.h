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

// The modal-dialog notifications the application wants around a skin
// message box (the box itself goes through the framework's dialog seam).
struct MsgBoxApplication {
    std::function<void()> ModalStarted;
    std::function<void()> ModalFinished;
};
MsgBoxApplication& MsgBoxApp();

}  // namespace kova::skin
