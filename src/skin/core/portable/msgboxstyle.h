// The default captions of the skin engine's message boxes. The types and
// buttons are the framework's (framework/portable/msgdlg.h).
#pragma once

#include <string>

#include "framework/portable/msgdlg.h"

namespace kova::skin {

// "Warning", "Error", "Information", "Confirm"; empty for other types.
std::string MsgBoxDefaultCaption(int dlgType);

}  // namespace kova::skin
