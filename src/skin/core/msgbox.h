// The skin engine's message box: a dialog type and a set of buttons mapped
// onto the platform's indirect message box, owned by the application window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "skin/core/portable/msgboxstyle.h"

namespace kova::skin {

// Requested position of the box while it is shown (-1 when unset); the form
// skinning reads them when it skins the system message box.
extern int MsgBoxPosX;
extern int MsgBoxPosY;

// The call that shows the box. Tests and headless runs replace it so that
// nothing ever waits on a modal box; nullptr restores MessageBoxIndirectA.
using MsgBoxShowFunc = std::function<int(const MSGBOXPARAMSA&)>;
void SetMsgBoxShowFunc(MsgBoxShowFunc f);

int ShowMsgBox(const std::string& msg, int dlgType, std::uint32_t buttons, int helpCtx);
// caption may be nullptr: the type's default caption.
int ShowMsgBoxAt(const char* caption, const std::string& msg, int dlgType, int x, int y, int helpCtx,
                 std::uint32_t buttons);

}  // namespace kova::skin
