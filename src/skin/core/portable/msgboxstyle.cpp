#include "skin/core/portable/msgboxstyle.h"

namespace kova::skin {

std::string MsgBoxDefaultCaption(int dlgType) {
    switch (dlgType) {
        case mtWarning: return "Warning";
        case mtError: return "Error";
        case mtInformation: return "Information";
        case mtConfirmation: return "Confirm";
        default: return "";
    }
}

}  // namespace kova::skin
