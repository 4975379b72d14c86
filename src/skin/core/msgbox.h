// The skin engine's message box: a dialog type and a set of buttons (the
// framework's, framework/portable/msgdlg.h) shown through the framework's
// dialog seam, so that the whole program has one message-box path and tests
// answer skin messages with the same responder as every other box.
#pragma once

#include <cstdint>
#include <string>

#include "skin/core/portable/msgboxstyle.h"
#include "skin/core/skinstate.h"

namespace kova::skin {

// Results are the modal results (mrOk, mrYes ...).
int ShowMsgBox(const std::string& msg, int dlgType, std::uint32_t buttons, int helpCtx);
// caption may be nullptr: the type's default caption.
int ShowMsgBoxAt(const char* caption, const std::string& msg, int dlgType, int x, int y, int helpCtx,
                 std::uint32_t buttons);

}  // namespace kova::skin
